//===- ColrSession.cpp - A device's colour profiles and device links ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ColrSession.h"

#include "AsyncTicket.h"
#include "Brivelle.h"
#include "BrivelleText.h"
#include "KeywordContainer.h"
#include "Localization.h"

#include <tqrv_color.h>

#include <cstdlib>
#include <new>

ColrSession::ColrSession(Brivelle* owner, const char* deviceName)
    : PigmentorSession(owner, deviceName), mColrDeviceName(nullptr) {}

ColrSession::~ColrSession() {
    // Before the base destructor runs, which would close the session as colour defaults.
    if (mOpen)
        ColrSession::CloseSession();
    for (auto& entry : mColrKeywords)
        delete entry.second;
    mColrKeywords.clear();
    std::free(mColrDeviceName);
}

const char* ColrSession::CurrentLocale() const {
    Localization* localization = mOwner ? mOwner->GetLocalizationObject() : nullptr;
    return localization ? localization->GetCurrentLocale() : "";
}

long ColrSession::OpenSession() {
    return OpenSession(nullptr);
}

AsyncTicket* ColrSession::OpenSessionAsync() {
    return OpenSessionAsync(nullptr);
}

long ColrSession::OpenSession(const char* deviceName) {
    ReplaceName(mColrDeviceName, deviceName);
    tqrv_status status = COLR_openSession(Handle(), mColrDeviceName, "CSET", "GUEST",
                                          CurrentLocale(), "MacBrivelle", "", &mSession, nullptr);
    if (status == 0)
        mOpen = true;
    return status;
}

AsyncTicket* ColrSession::OpenSessionAsync(const char* deviceName) {
    ReplaceName(mColrDeviceName, deviceName);
    tqrv_status status = COLR_openSession(Handle(), mColrDeviceName, "CSET", "GUEST",
                                          CurrentLocale(), "MacBrivelle", "", &mSession, &mTicket);
    if (status == 0)
        mState = kStateOpenPending;
    return new (std::nothrow) AsyncTicket(this);
}

long ColrSession::CloseSession() {
    if (!mOpen)
        return 0;
    tqrv_status status = COLR_closeSession(&mSession, nullptr);
    mOpen = false;
    return status;
}

void ColrSession::AsyncCompletion(AsyncTicket*) {
    if (mState == kStateOpenPending)
        mOpen = true;
    mState = kStateIdle;
}

bool ColrSession::DescriptionToProfileID(const char* description, char* profileId) {
    char* id = nullptr;
    tqrv_status status = ICCM_mapDescriptionToProfile(&mSession, description, &id, nullptr);
    if (status == 0 && id) {
        CopyBounded(profileId, kBrivelleTextBufferSize, id);
        tovrane_free(id);
        return true;
    }
    tovrane_free(id);
    CopyBounded(profileId, kBrivelleTextBufferSize, "");
    return status == 0;
}

bool ColrSession::GetDeviceLinkNameByProfileID(const char* sourceId, const char* destinationId,
                                               char* linkName, CFStringRef* displayName) {
    CopyBounded(linkName, kBrivelleTextBufferSize, "");
    if (displayName)
        *displayName = nullptr;
    char* name = nullptr;
    tqrv_status status = ICCM_doesDeviceLinkProfileExist(&mSession, sourceId, destinationId,
                                                         0x7fffffff, &name, nullptr);
    if (status != 0 || !name) {
        tovrane_free(name);
        return false;
    }
    CopyBounded(linkName, kBrivelleTextBufferSize, name);
    tovrane_free(name);
    if (displayName) {
        Localization* localization = mOwner ? mOwner->GetLocalizationObject() : nullptr;
        *displayName = localization ? localization->GetKeywordString(linkName, nullptr) : nullptr;
    }
    return true;
}

bool ColrSession::GetDeviceLinkNameByKeywords(const char* sourceDescription,
                                              const char* destinationDescription, char* linkName,
                                              CFStringRef* displayName) {
    char sourceId[kBrivelleTextBufferSize];
    char destinationId[kBrivelleTextBufferSize];
    if (!DescriptionToProfileID(sourceDescription, sourceId) ||
        !DescriptionToProfileID(destinationDescription, destinationId))
        return false;
    return GetDeviceLinkNameByProfileID(sourceId, destinationId, linkName, displayName);
}
