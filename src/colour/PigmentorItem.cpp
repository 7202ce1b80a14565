//===- PigmentorItem.cpp - One colour feature as the pane sees it ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorItem.h"

#include "ColourText.h"

#include <cstring>

PigmentorItem::PigmentorItem() : mRefCon{}, mEnabled(true), mIndex(-1) {}

PigmentorItem::~PigmentorItem() = default;

void PigmentorItem::SetRefCon(int slot, unsigned long value) {
    if (slot >= 0 && slot < kRefConCount)
        mRefCon[slot] = value;
}

unsigned long PigmentorItem::GetRefCon(int slot) const {
    return slot >= 0 && slot < kRefConCount ? mRefCon[slot] : 0;
}

void PigmentorItem::setFeatureEnabled() {
    mEnabled = true;
}

void PigmentorItem::setFeatureDisabled() {
    mEnabled = false;
}

bool PigmentorItem::getFeatureDisplayName(CFStringRef& name) {
    name = ColourText::Create(getFeatureDisplayName());
    return name != nullptr;
}

bool PigmentorItem::getFeatureKeyword(CFStringRef& keyword) {
    keyword = ColourText::Create(getFeatureKeyword());
    return keyword != nullptr;
}

const char* PigmentorItem::getNthItemName(int n) {
    int position = 1;
    for (const char* name = getFirstItem(); name; name = getNextItem(), ++position)
        if (position == n)
            return name;
    return nullptr;
}

const char* PigmentorItem::getNthKeyword(int n) {
    int position = 1;
    for (const char* keyword = getFirstKeyword(nullptr, nullptr); keyword;
         keyword = getNextKeyword(nullptr, nullptr), ++position)
        if (position == n)
            return keyword;
    return nullptr;
}

long PigmentorItem::getValueByKeyword(const char* keyword) {
    if (!keyword)
        return 0;
    long position = 1;
    for (const char* mine = getFirstKeyword(nullptr, nullptr); mine;
         mine = getNextKeyword(nullptr, nullptr), ++position)
        if (std::strcmp(mine, keyword) == 0)
            return position;
    return 0;
}

const char* PigmentorItem::getValueKeyword() {
    return getNthKeyword(static_cast<int>(getValue()));
}

CFStringRef PigmentorItem::getValueKeywordCFString() {
    return ColourText::Create(getValueKeyword());
}

const char* PigmentorItem::getValueItemName(char* buf) {
    const char* name = getNthItemName(static_cast<int>(getValue()));
    if (name && buf)
        ColourText::Copy(buf, kColourTextSize, name);
    return name;
}

bool PigmentorItem::getFeatureSummaryInfo(char* title, char* value, bool& enabled) {
    enabled = featureIsEnabled();
    const char* name = getFeatureDisplayName();
    const char* current = getValueItemName(nullptr);
    if (!name || !current)
        return false;
    ColourText::Copy(title, kColourTextSize, name);
    ColourText::Copy(value, kColourTextSize, current);
    return true;
}

bool PigmentorItem::getFeatureSummaryInfo(CFStringRef& title, CFStringRef& value,
                                          bool& enabled) {
    enabled = featureIsEnabled();
    title = value = nullptr;
    const char* name = getFeatureDisplayName();
    const char* current = getValueItemName(nullptr);
    if (!name || !current)
        return false;
    title = ColourText::Create(name);
    value = ColourText::Create(current);
    if (title && value)
        return true;
    if (title)
        CFRelease(title);
    if (value)
        CFRelease(value);
    title = value = nullptr;
    return false;
}
