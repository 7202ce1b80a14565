//===- QRVPPDPersistence.cpp - The whole model in a Settings archive ------===//
//
// Saving writes the header (PPDXPersistence.cpp), then each container with its count and its
// objects under consecutive ids. Rebuilding reads them back in the same order; each element
// knows its parent only by keyword until ResolveHeirarchy links them (QRVPPDGroups.cpp).
//
//===----------------------------------------------------------------------===//
#include "QRVPPD.h"

#include "PPDXArchiveItems.h"
#include "PPDXControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXGroup.h"
#include "PPDXGroups.h"
#include "PPDXProperties.h"
#include "PPDXShortcuts.h"

#include <new>

namespace {

using namespace PPDXArchive;

/// Gives `groups` counters that see the parents: elements are added to the model's containers
/// before their parents are linked, so every one of them was counted as an orphan. On failure
/// the old container stays.
void recount(PPDXGroups*& groups) {
    if (!groups)
        return;
    PPDXGroups* fresh = new (std::nothrow) PPDXGroups;
    if (!fresh)
        return;
    const PointerList& list = groups->List();
    for (ConstPointerListItr it = list.Begin(); it != list.End(); ++it)
        fresh->Add(static_cast<PPDXGroup*>(const_cast<void*>(*it)));
    if (fresh->List().Size() != list.Size()) {
        delete fresh;
        return;
    }
    delete groups;
    groups = fresh;
}

/// The same for the controls; the caller shows every element (display options 3).
void recount(PPDXControls*& controls) {
    if (!controls)
        return;
    PPDXControls* fresh = new (std::nothrow) PPDXControls;
    if (!fresh)
        return;
    CNTL_TYPE type;
    long before = 0;
    for (PPDXControl* c = controls->First(type); c; c = controls->Next(type), ++before)
        fresh->Add(c);
    long after = 0;
    for (PPDXControl* c = fresh->First(type); c; c = fresh->Next(type))
        ++after;
    if (after != before) {
        delete fresh;
        return;
    }
    delete controls;
    controls = fresh;
}

} // namespace

// An archive holds every element, hidden ones and orphans too: the options that keep all.
QRVPPD::QRVPPD(Settings& settings, CFURLRef ppdURL, CFArrayRef acceptedNames)
    : PPDX(settings, ppdURL, acceptedNames), mParseOptions(kShowAll) {
    // The header is read; the rest only when there was one and its name is accepted.
    if (HasModel(settings) && IsValidPrinterName())
        BuildFromSettings(settings);
}

void QRVPPD::BuildFromSettings(Settings& settings) {
    delete mExtensionFileVersion;
    delete mExtensionVersion;
    mExtensionFileVersion = GetText(settings, kExtensionTag, kExtensionFileVersionId);
    mExtensionVersion = GetText(settings, kExtensionTag, kExtensionVersionId);

    ScopedDisplayOptions seeEverything(kShowAll);
    mProperties = new (std::nothrow) PPDXProperties(settings);
    mGroups = new (std::nothrow) PPDXGroups(settings);
    mControls = new (std::nothrow) PPDXControls(settings);
    mShortcuts = new (std::nothrow) PPDXShortcuts(settings, mControls);
    ResolveHeirarchy();
    recount(mGroups);
    recount(mControls);
    mValid = mProperties && mGroups && mControls && mShortcuts;
}

bool QRVPPD::Save(Settings& settings) {
    if (!PPDX::Save(settings))
        return false;
    if (PutText(settings, kExtensionTag, kExtensionFileVersionId, ExtensionFileVersion()) ||
        PutText(settings, kExtensionTag, kExtensionVersionId, ExtensionVersion()))
        return false;
    // A model that was never built has nothing of its own to keep.
    if (!mProperties || !mGroups || !mControls)
        return false;
    ScopedDisplayOptions seeEverything(kShowAll);
    if (mProperties->Save(settings) || mGroups->Save(settings) || mControls->Save(settings))
        return false;
    if (mShortcuts)
        return mShortcuts->Save(settings) == 0;
    return PutNumber(settings, kShortcutsTag, kShortcutCountId, 0) == 0;
}

bool QRVPPD::Restore(Settings& settings) {
    ScopedDisplayOptions seeEverything(kShowAll);
    if (!mControls)
        return true;
    return mControls->Restore(settings) == 0;
}
