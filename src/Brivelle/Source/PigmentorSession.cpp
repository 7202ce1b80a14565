//===- PigmentorSession.cpp - A device's colour defaults ------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorSession.h"

#include "AsyncTicket.h"
#include "Brivelle.h"
#include "KeywordContainer.h"
#include "Localization.h"

#include <tqrv_color.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

/// The SDK's walks end by themselves; these bounds only guarantee it against a faulty one.
constexpr int kMaxKeys = 4096;
constexpr int kMaxValuesPerKey = 4096;

} // namespace

PigmentorSession::PigmentorSession(Brivelle* owner, const char* deviceName)
    : SessionBasedClass(owner), mDeviceName(nullptr) {
    ReplaceName(mDeviceName, deviceName);
}

PigmentorSession::~PigmentorSession() {
    // A subclass has closed its own kind of session already; this closes only ours.
    if (mOpen)
        PigmentorSession::CloseSession();
    for (auto& entry : mKeywords)
        delete entry.second;
    std::free(mDeviceName);
}

void PigmentorSession::ReplaceName(char*& name, const char* fresh) {
    if (!fresh)
        return;
    char* copy = strdup(fresh);
    if (!copy)
        return;
    std::free(name);
    name = copy;
}

long PigmentorSession::OpenSession() {
    return OpenSession(nullptr);
}

AsyncTicket* PigmentorSession::OpenSessionAsync() {
    return OpenSessionAsync(nullptr);
}

long PigmentorSession::OpenSession(const char* deviceName) {
    ReplaceName(mDeviceName, deviceName);
    tqrv_status status =
        CLDF_openSession(Handle(), mDeviceName, "", "", "", "", 2, &mSession, nullptr);
    if (status == 0)
        mOpen = true;
    return status;
}

AsyncTicket* PigmentorSession::OpenSessionAsync(const char* deviceName) {
    ReplaceName(mDeviceName, deviceName);
    tqrv_status status =
        CLDF_openSession(Handle(), mDeviceName, "", "", "", "", 2, &mSession, &mTicket);
    if (status == 0)
        mState = kStateOpenPending;
    return new (std::nothrow) AsyncTicket(this);
}

long PigmentorSession::CloseSession() {
    if (!mOpen)
        return 0;
    tqrv_status status = CLDF_closeSession(&mSession, nullptr);
    mOpen = false;
    return status;
}

void PigmentorSession::AsyncCompletion(AsyncTicket*) {
    if (mState == kStateOpenPending)
        mOpen = true;
    mState = kStateIdle;
}

long PigmentorSession::GetColorSettings() {
    Localization* localization = mOwner ? mOwner->GetLocalizationObject() : nullptr;
    tqrv_status status = CLDF_setNextKey(&mSession, nullptr);
    for (int keys = 0; status == 0 && keys < kMaxKeys; ++keys) {
        const char* key = nullptr;
        status = CLDF_getCurrentKey(&mSession, &key, nullptr);
        if (status != 0 || !key)
            return status;
        // The key text belongs to the session and changes with the next step: copy it now.
        std::string keyword(key);
        KeywordContainer* container = new (std::nothrow) KeywordContainer(keyword.c_str());
        if (!container)
            return -108; // memFullErr
        CFStringRef name =
            localization ? localization->GetKeywordString(keyword.c_str(), nullptr) : nullptr;
        container->SetLocalizedName(name);
        if (name)
            CFRelease(name);

        char* value = nullptr;
        CLDF_getDefaultValue(&mSession, &value, nullptr);
        if (value)
            container->SetDefaultItem(value);
        tovrane_free(value);

        for (int values = 0; values < kMaxValuesPerKey; ++values) {
            value = nullptr;
            if (CLDF_getNextValue(&mSession, &value, nullptr) != 0) {
                tovrane_free(value);
                break;
            }
            if (!value)
                continue;
            CFStringRef display =
                localization ? localization->GetOptionString(keyword.c_str(), value) : nullptr;
            container->AddSettingString(value, display, value);
            if (display)
                CFRelease(display);
            tovrane_free(value);
        }

        auto found = mKeywords.find(keyword);
        if (found != mKeywords.end()) {
            delete found->second;
            found->second = container;
        } else {
            mKeywords.emplace(keyword, container);
        }
        status = CLDF_setNextKey(&mSession, nullptr);
    }
    return status;
}

KeywordContainer* PigmentorSession::GetKeywordObject(const char* keyword) const {
    if (!keyword)
        return nullptr;
    auto found = mKeywords.find(keyword);
    return found == mKeywords.end() ? nullptr : found->second;
}
