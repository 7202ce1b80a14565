//===- ExpertColorCursors.cpp - Walks over the pane's colour item lists ---===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ExpertColorFeatures.h"

#include "ColourText.h"
#include "PigmentorBIDIItemList.h"
#include "PigmentorItem.h"
#include "PigmentorPaneItemList.h"

// Every expert walk asks for the list first: while a fetch runs there is none, and the cursor
// (which the fetch resets) is not touched.

PigmentorItem* ExpertColorFeatures::FirstExpertColorItem() {
    PigmentorPPDItemList* list = getExpertColorFeatures();
    if (!list)
        return nullptr;
    mExpertCursor = list->firstItem();
    return mExpertCursor;
}

PigmentorItem* ExpertColorFeatures::NextExpertColorItem() {
    if (!getExpertColorFeatures())
        return nullptr;
    mExpertCursor = PigmentorItemList::nextItem(mExpertCursor);
    return mExpertCursor;
}

PigmentorItem* ExpertColorFeatures::PrevItem() {
    if (!getExpertColorFeatures())
        return nullptr;
    mExpertCursor = PigmentorItemList::prevItem(mExpertCursor);
    return mExpertCursor;
}

PigmentorItem* ExpertColorFeatures::CurrentExpertColorItem() const {
    return getExpertColorFeatures() ? mExpertCursor : nullptr;
}

PigmentorItem* ExpertColorFeatures::getCurrentExpertColorItem() {
    PigmentorPPDItemList* list = getExpertColorFeatures();
    if (!list)
        return nullptr;
    mExpertCursor = mExpertCursor ? PigmentorItemList::nextItem(mExpertCursor) : list->firstItem();
    return mExpertCursor;
}

PigmentorItem* ExpertColorFeatures::FirstPigmentorItem() {
    mPaneCursor = mPaneList ? mPaneList->firstItem() : nullptr;
    return mPaneCursor;
}

PigmentorItem* ExpertColorFeatures::NextPigmentorItem() {
    mPaneCursor = PigmentorItemList::nextItem(mPaneCursor);
    return mPaneCursor;
}

PigmentorItem* ExpertColorFeatures::CurrentPigmentorItem() const {
    return mPaneCursor;
}

PigmentorItem* ExpertColorFeatures::getCurrentPigmentorItem() {
    if (!mPaneList)
        return nullptr;
    mPaneCursor = mPaneCursor ? PigmentorItemList::nextItem(mPaneCursor) : mPaneList->firstItem();
    return mPaneCursor;
}

namespace {

void Replace(CFMutableStringRef target, CFStringRef text) {
    if (!target)
        return;
    if (text)
        CFStringReplaceAll(target, text);
    else
        CFStringReplaceAll(target, CFSTR(""));
}

} // namespace

// An item without a current value still has its line (with an empty value): the walk goes on.
bool ExpertColorFeatures::fillInfo(PigmentorItem* item, CFMutableStringRef title,
                                   CFMutableStringRef value, bool& enabled) {
    CFStringRef itemTitle = nullptr, itemValue = nullptr;
    if (!item->getFeatureSummaryInfo(itemTitle, itemValue, enabled)) {
        item->getFeatureDisplayName(itemTitle);
        enabled = item->featureIsEnabled();
    }
    Replace(title, itemTitle);
    Replace(value, itemValue);
    if (itemTitle)
        CFRelease(itemTitle);
    if (itemValue)
        CFRelease(itemValue);
    return true;
}

bool ExpertColorFeatures::getExpertColorFeatureInfo(CFMutableStringRef title,
                                                    CFMutableStringRef value, bool& enabled) {
    PigmentorItem* item = getCurrentExpertColorItem();
    return item && fillInfo(item, title, value, enabled);
}

bool ExpertColorFeatures::getPigmentorPaneFeatureInfo(CFMutableStringRef title,
                                                      CFMutableStringRef value, bool& enabled) {
    PigmentorItem* item = getCurrentPigmentorItem();
    return item && fillInfo(item, title, value, enabled);
}

const char* ExpertColorFeatures::RGBSeparationDeviceLinkExists(PigmentorItem* rgb,
                                                               PigmentorItem* out) {
    static char name[kColourTextSize];
    auto* list = dynamic_cast<PigmentorBIDIItemList*>(getExpertColorFeatures());
    if (!list || !rgb || !out)
        return nullptr;
    return ColourText::Get(list->RGBDeviceLinkExists(rgb, out), name, sizeof name) ? name : nullptr;
}

const char* ExpertColorFeatures::CYMKSimulationDeviceLinkExists(PigmentorItem* sim,
                                                                PigmentorItem* out) {
    static char name[kColourTextSize];
    auto* list = dynamic_cast<PigmentorBIDIItemList*>(getExpertColorFeatures());
    if (!list || !sim || !out)
        return nullptr;
    return ColourText::Get(list->CMYKDeviceLinkExists(sim, out), name, sizeof name) ? name : nullptr;
}
