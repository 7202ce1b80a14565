//===- PigmentorSettings.cpp - A snapshot of a list's values --------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorSettings.h"

#include "PigmentorItem.h"
#include "PigmentorItemList.h"

#include <cstring>
#include <new>

PigmentorSettings::PigmentorSettings(PigmentorItemList* list)
    : mEntries(nullptr), mValid(false), mSaved(false), mCount(0) {
    mValid = save(list);
}

PigmentorSettings::~PigmentorSettings() {
    clear();
}

void PigmentorSettings::clear() {
    if (mEntries) {
        for (int i = 0; i < kEntryCount; ++i)
            delete[] mEntries[i].keyword;
        delete[] mEntries;
    }
    mEntries = nullptr;
    mCount = 0;
}

bool PigmentorSettings::save(PigmentorItemList* list) {
    if (!list || !list->isValid())
        return false;
    clear();
    mEntries = new (std::nothrow) Entry[kEntryCount];
    if (!mEntries)
        return false;
    for (PigmentorItem* item = list->firstItem(); item; item = PigmentorItemList::nextItem(item)) {
        const int index = item->getIndex();
        if (index < 0 || index >= kEntryCount)
            continue;
        Entry& entry = mEntries[index];
        if (!entry.item)
            ++mCount;
        delete[] entry.keyword;
        entry.item = item;
        entry.value = item->getValue();
        entry.keyword = nullptr;
        if (const char* keyword = item->getNthKeyword(static_cast<int>(entry.value))) {
            const size_t length = std::strlen(keyword);
            entry.keyword = new (std::nothrow) char[length + 1];
            if (entry.keyword)
                std::memcpy(entry.keyword, keyword, length + 1);
        }
    }
    mSaved = true;
    return true;
}

bool PigmentorSettings::restore(PigmentorItemList* list) {
    if (!mValid || !list || !mEntries)
        return false;
    for (PigmentorItem* item = list->firstItem(); item; item = PigmentorItemList::nextItem(item)) {
        const int index = item->getIndex();
        if (index < 0 || index >= kEntryCount)
            continue;
        const Entry& entry = mEntries[index];
        if (entry.item == item && entry.keyword)
            item->setValue(static_cast<unsigned long>(item->getValueByKeyword(entry.keyword)));
    }
    mSaved = false;
    return true;
}

const PigmentorSettings::Entry* PigmentorSettings::entry(int index) const {
    return mEntries && index >= 0 && index < kEntryCount ? &mEntries[index] : nullptr;
}
