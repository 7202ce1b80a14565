//===- PigmentorDataOutput.cpp - The print mode and colour code into the job ===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorData.h"

#include "ExpertColorFeatures.h"
#include "PigmentorItem.h"
#include "PigmentorItemList.h"

#include "PPDXPopupControl.h"

#include "PDEIdentity.h"
#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"

#include <cstdlib>
#include <cstring>

namespace {

/// The filter drops the system's own code for the keywords given here.
const PostScriptInjectionSite kSuppressSite = -9;
/// The filter puts the colour feature code given here into the job's setup.
const PostScriptInjectionSite kFeatureSite = 81;

/// Feature code up to this many bytes is fetched into a buffer on the stack.
const int kFixedFeatureBuffer = 1024;

bool AddKeyword(QRVJobTicket& ticket, const char* keyword) {
    if (!keyword)
        return true; // nothing to suppress
    return ticket.Add(kSuppressSite, const_cast<char*>(keyword), std::strlen(keyword));
}

using ItemStep = PigmentorItem* (ExpertColorFeatures::*)();

/// Walks one item list of `features` from `first` to its end with `next`, handing each item
/// to `add` until one add fails; true when none failed. The walk always reaches the end, even
/// after a failed add, so that the list's cursor ends where it started (null) and a later walk
/// (the summary's) is not disturbed.
template <class Add>
bool AddEachItem(ExpertColorFeatures& features, ItemStep first, ItemStep next, Add add) {
    bool added = true;
    for (PigmentorItem* item = (features.*first)(); item; item = (features.*next)())
        if (added && !add(item))
            added = false;
    return added;
}

/// AddEachItem over the pane items; true when there are none.
template <class Add> bool AddEachPaneItem(ExpertColorFeatures& features, Add add) {
    return !features.getPigmentorPaneItemList() ||
           AddEachItem(features, &ExpertColorFeatures::FirstPigmentorItem,
                       &ExpertColorFeatures::NextPigmentorItem, add);
}

CFStringRef CreateColorModeKey() {
    return CreateClientIdentifier(CFSTR(".ColorMode"));
}

} // namespace

bool PigmentorData::SaveSettingsToJobTicket(PrintSettingsTicket* ticket, CFStringRef clientID) {
    if (mColorModeValue < 0 || !ticket)
        return false;
    CFStringRef key = CreateColorModeKey();
    if (!key)
        return false;
    OSStatus status = ticket->Set(clientID, key, static_cast<long>(mColorModeValue), false);
    CFRelease(key);
    return status == noErr;
}

OSStatus PigmentorData::RestoreSettingsFromJobTicket(PrintSettingsTicket* ticket) {
    if (!ticket)
        return paramErr;
    CFStringRef key = CreateColorModeKey();
    if (!key)
        return memFullErr;
    long value = 0;
    OSStatus status = ticket->GetInt(key, value);
    CFRelease(key);
    if (status == noErr)
        mColorModeValue = static_cast<int>(value);
    return status;
}

OSStatus PigmentorData::SupressApplePostscript(QRVJobTicket& ticket) {
    if (mColorMode && !AddKeyword(ticket, mColorMode->Keyword()))
        return noErr;
    if (!mExpertColorFeatures)
        return noErr;
    ExpertColorFeatures& features = *mExpertColorFeatures;
    const bool paneAdded = AddEachPaneItem(features, [&ticket](PigmentorItem* item) {
        PPDXControl* control = item->getPPDXControl();
        return control == nullptr || AddKeyword(ticket, control->Keyword());
    });
    if (!paneAdded || !features.getExpertColorFeatures())
        return noErr;
    AddEachItem(features, &ExpertColorFeatures::FirstExpertColorItem,
                &ExpertColorFeatures::NextExpertColorItem, [&ticket](PigmentorItem* item) {
                    return AddKeyword(ticket, item->getFeatureKeyword());
                });
    return noErr;
}

OSStatus PigmentorData::OutPostscriptData(QRVJobTicket& ticket) {
    SupressApplePostscript(ticket);
    if (!ticket.Add(kFeatureSite, mColorMode))
        return noErr;
    if (!mExpertColorFeatures)
        return noErr;
    ExpertColorFeatures& features = *mExpertColorFeatures;
    if (!AddEachPaneItem(features, [&ticket](PigmentorItem* item) {
            return ticket.Add(kFeatureSite, item->getPPDXControl());
        }))
        return noErr;
    // One expert feature per round: a size query that keeps the cursor, then the fetch that
    // advances it. The answer's magnitude is the size whatever its sign.
    for (;;) {
        int answer = features.getPostscriptFeatureData(nullptr, 0, false);
        if (answer == 0)
            break;
        int length = answer < 0 ? -answer : answer;
        unsigned char fixed[kFixedFeatureBuffer];
        unsigned char* buffer = fixed;
        if (length > kFixedFeatureBuffer) {
            buffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(length)));
            if (!buffer)
                break;
        }
        int written = features.getPostscriptFeatureData(buffer, length, true);
        // A feature whose code changed between the two calls is not trusted with the bytes.
        bool added = written == length && ticket.Add(kFeatureSite, buffer,
                                                     static_cast<unsigned long>(length));
        if (buffer != fixed)
            std::free(buffer);
        if (!added)
            break;
    }
    return noErr;
}
