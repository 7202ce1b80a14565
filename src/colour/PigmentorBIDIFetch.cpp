//===- PigmentorBIDIFetch.cpp - The two-way list's exchange with the server ===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorBIDIItemList.h"

#include "Brivelle.h"
#include "BrivelleText.h"
#include "ColourText.h"
#include "ColrSession.h"
#include "DeviceLinkItem.h"
#include "DeviceLinkList.h"
#include "ExpertColorKeywords.h"
#include "HostAddress.h"
#include "Localization.h"
#include "PPDXControls.h"
#include "PPDXPopupControl.h"
#include "PigmentorErrors.h"
#include "PigmentorItem.h"
#include "PigmentorSession.h"
#include "ProgressHandler.h"
#include "ServerFeatures.h"
#include "ServerInfo.h"
#include "StPigmentorToPPDManager.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

/// A destination keyword's profile id, looked up once per device-link walk.
struct ProfileIdSlot {
    enum State { kUnknown, kMapped, kFailed };
    State state = kUnknown;
    char id[kBrivelleTextBufferSize];
};

/// Destinations whose ids a device-link walk keeps on the stack; more go to the heap.
constexpr size_t kUsualDestinations = 8;

} // namespace

unsigned long PigmentorBIDIItemList::setServerName(const char* name) {
    if (!name)
        return kPigmentorServerNameErr;
    const size_t length = std::strlen(name);
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (!copy)
        return kPigmentorMemoryErr;
    std::memcpy(copy, name, length + 1);
    std::free(mServerName);
    mServerName = copy;
    return setBrivelleServerName();
}

unsigned long PigmentorBIDIItemList::setBrivelleServerName() {
    if (!mServerName)
        return kPigmentorServerNameErr;
    const char* address = mServerName;
    char resolved[16];
    if (InetToAddr(mServerName) == INADDR_NONE && ResolveHostToAddrString(mServerName, resolved))
        address = resolved;
    if (mConnection)
        mConnection->SetTargetServer(address);
    else
        mConnection = new (std::nothrow) Brivelle(address, 0);
    return mConnection ? kPigmentorNoErr : kPigmentorBrivelleInitErr;
}

unsigned long PigmentorBIDIItemList::getBrivelleData() {
    if (int stop = updateProgress(kProgressStateConnecting, nullptr))
        return static_cast<unsigned long>(stop);
    if (!mConnection || !mConnection->ConnectToServer(false, false))
        return kPigmentorConnErr;

    if (int stop = updateProgress(kProgressStateInitializing, nullptr))
        return static_cast<unsigned long>(stop);
    if (unsigned long code = initPigmentorFeatures())
        return code;
    if (unsigned long code = setDeviceName())
        return code;

    if (int stop = updateProgress(kProgressStateGettingFeatures, nullptr))
        return static_cast<unsigned long>(stop);
    if (unsigned long code = getPigmentorData())
        return code;

    if (int stop = updateProgress(kProgressStateProcessingData, nullptr))
        return static_cast<unsigned long>(stop);
    updateModel();
    return kPigmentorNoErr;
}

unsigned long PigmentorBIDIItemList::refreshBrivelleData() {
    getPigmentorData();
    updateModel();
    return kPigmentorNoErr;
}

unsigned long PigmentorBIDIItemList::initPigmentorFeatures() {
    ServerFeatures* features = mConnection ? mConnection->GetFeaturesObject() : nullptr;
    if (features && features->GetFeatureCount() > 0 && !features->SupportsPigmentor())
        return kPigmentorNotSupportedErr;
    return kPigmentorNoErr;
}

unsigned long PigmentorBIDIItemList::setDeviceName() {
    ServerInfo* info = mConnection ? mConnection->GetServerInfoObject() : nullptr;
    if (!info)
        return kPigmentorTovraneFeaturesErr;
    const char* first = info->GetPrettyNames() && info->CountPrettyNames() > 0
                            ? info->GetPrettyNameIndex(0)
                            : nullptr;
    if (!first || !first[0])
        return kPigmentorDeviceErr;
    ColourText::Copy(mDeviceName, sizeof mDeviceName, first);
    mConnection->GetEncodings();
    mConnection->GetLanguages();
    return kPigmentorNoErr;
}

// The open statuses are not checked: a session that did not open makes the read fail, and
// that failure is what counts.
unsigned long PigmentorBIDIItemList::getPigmentorData() {
    PigmentorSession* session = mConnection ? mConnection->GetPigmentorObject(mDeviceName) : nullptr;
    if (!session)
        return kPigmentorSesssionErr;
    session->OpenSession(mDeviceName);
    mConnection->GetServerInfoObject();
    Localization* localization = mConnection->GetLocalizationObject();
    if (localization) {
        localization->OpenSession(0);
        localization->CacheStrings();
    }
    const long status = session->GetColorSettings();
    if (localization)
        localization->CloseSession();
    session->CloseSession();
    return status == 0 ? kPigmentorNoErr : kPigmentorServerErr;
}

void PigmentorBIDIItemList::verifyPigmentorKeywords(QRVPPD* model, bool& hasAny, bool& hasBidi) {
    hasAny = hasBidi = false;
    if (model != mModel)
        setPPD(model);
    PPDXControls* controls = getPPDControlList();
    if (!controls)
        return;
    for (PPDXPopupControl* popup = controls->FirstPopupControl(); popup;
         popup = controls->NextPopupControl()) {
        const bool bidi = isBidiKeyword(popup->Keyword());
        if (bidi || ExpertColorKeywords::isPigmentorKeyword(popup->Keyword()))
            hasAny = true;
        if (bidi)
            hasBidi = true;
    }
}

// The new popups go into the colour roll-down actually found, so that a PPD whose roll-down
// is "TPColor" sees them too (and the next fetch reconciles them instead of adding more).
void PigmentorBIDIItemList::updateModel() {
    PigmentorSession* session = mConnection ? mConnection->GetPigmentorObject(mDeviceName) : nullptr;
    if (!session || !mModel)
        return;
    bool hasAny = false, hasBidi = false;
    verifyPigmentorKeywords(mModel, hasAny, hasBidi);
    if (!hasBidi) {
        const char* group = getColourGroupKeyword();
        StPigmentorToPPDManager writer(session, mModel, group ? group : "TPPigmentor");
    } else {
        StResyncPigmentorToPPDManager resync(session, mModel);
    }
}

void PigmentorBIDIItemList::InitializeDeviceLinks() {
    ColrSession* session = mConnection ? mConnection->GetColrObject(mDeviceName) : nullptr;
    if (!session)
        return;
    session->OpenSession(mDeviceName);
    PigmentorItem* rgb = findByKeyword(ExpertColorKeywords::keyword(ExpertColorKeywords::kRGBOverride));
    PigmentorItem* sim = findByKeyword(ExpertColorKeywords::keyword(ExpertColorKeywords::kSimulation));
    PigmentorItem* out = findByKeyword(ExpertColorKeywords::keyword(ExpertColorKeywords::kOutProfile));
    if (rgb && out) {
        delete mDeviceLinks;
        mDeviceLinks = new (std::nothrow) DeviceLinkList();
        if (!mDeviceLinks) {
            setPigmentorErr(kPigmentorMemoryErr);
        } else {
            if (unsigned long code = gatherDeviceLinks(session, rgb, out, DeviceLinkItem::kRGBLink))
                setPigmentorErr(code);
            if (sim)
                if (unsigned long code =
                        gatherDeviceLinks(session, sim, out, DeviceLinkItem::kCMYKLink))
                    setPigmentorErr(code);
        }
    }
    session->CloseSession();
}

unsigned long PigmentorBIDIItemList::gatherDeviceLinks(ColrSession* session, PigmentorItem* source,
                                                       PigmentorItem* destination, int type) {
    if (!source->getPPDXControl() || !destination->getPPDXControl())
        return kPigmentorParamErr;
    // Both walks use the items' own cursors; each control has its own, so they nest.
    char sourceKeyword[kColourTextSize];
    char destinationKeyword[kColourTextSize];
    char linkName[kColourTextSize];
    char sourceId[kBrivelleTextBufferSize];
    // Each keyword is mapped to its profile once, not once per pair: a destination's id is
    // kept by position, mapped when the first source that maps reaches it, so the server is
    // asked in the same order as pair by pair.
    size_t destinations = 0;
    for (const char* d = destination->getFirstKeyword(destinationKeyword, nullptr); d;
         d = destination->getNextKeyword(destinationKeyword, nullptr))
        ++destinations;
    if (destinations == 0)
        return kPigmentorNoErr;
    // The usual handful of destinations fits on the stack: a heap array of this size is a
    // large allocation, which makes the allocator sweep its free lists first.
    ProfileIdSlot usualIds[kUsualDestinations];
    std::unique_ptr<ProfileIdSlot[]> moreIds;
    ProfileIdSlot* destinationIds = usualIds;
    if (destinations > kUsualDestinations) {
        moreIds.reset(new (std::nothrow) ProfileIdSlot[destinations]);
        if (!moreIds)
            return kPigmentorMemoryErr;
        destinationIds = moreIds.get();
    }
    int i = 1;
    for (const char* s = source->getFirstKeyword(sourceKeyword, nullptr); s;
         s = source->getNextKeyword(sourceKeyword, nullptr), ++i) {
        if (!session->DescriptionToProfileID(sourceKeyword, sourceId))
            continue; // no link from this source
        int j = 1;
        for (const char* d = destination->getFirstKeyword(destinationKeyword, nullptr);
             d && static_cast<size_t>(j) <= destinations;
             d = destination->getNextKeyword(destinationKeyword, nullptr), ++j) {
            ProfileIdSlot& slot = destinationIds[static_cast<size_t>(j - 1)];
            if (slot.state == ProfileIdSlot::kUnknown)
                slot.state = session->DescriptionToProfileID(destinationKeyword, slot.id)
                                 ? ProfileIdSlot::kMapped
                                 : ProfileIdSlot::kFailed;
            if (slot.state != ProfileIdSlot::kMapped)
                continue;
            CFStringRef display = nullptr;
            linkName[0] = '\0';
            if (!session->GetDeviceLinkNameByProfileID(sourceId, slot.id, linkName, &display))
                continue;
            // A link without a localised name shows its own name.
            CFStringRef name = display ? display : ColourText::Create(linkName);
            DeviceLinkItem* link = new (std::nothrow) DeviceLinkItem(i, j, type, name);
            if (!link) {
                if (name)
                    CFRelease(name);
                return kPigmentorMemoryErr;
            }
            if (!mDeviceLinks->add(link)) {
                delete link;
                return kPigmentorMemoryErr;
            }
        }
    }
    return kPigmentorNoErr;
}
