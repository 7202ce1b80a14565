//===- PigmentorItemList.cpp - A list of colour items ---------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorItemList.h"

#include "PigmentorItem.h"
#include "PigmentorSettings.h"

#include <cstring>
#include <new>

PigmentorItemList::PigmentorItemList() : mValid(false), mSnapshot(nullptr) {}

PigmentorItemList::~PigmentorItemList() {
    delete mSnapshot;
}

void PigmentorItemList::dumpEntireList(char*) {}

PigmentorItem* PigmentorItemList::firstItem() const {
    return static_cast<PigmentorItem*>(first());
}

PigmentorItem* PigmentorItemList::nextItem(PigmentorItem* item) {
    return item ? static_cast<PigmentorItem*>(item->next()) : nullptr;
}

PigmentorItem* PigmentorItemList::prevItem(PigmentorItem* item) {
    return item ? static_cast<PigmentorItem*>(item->prev()) : nullptr;
}

namespace {

bool Same(const char* a, const char* b) {
    return a && b && std::strcmp(a, b) == 0;
}

} // namespace

PigmentorItem* PigmentorItemList::findByItemName(const char* name) {
    for (PigmentorItem* item = firstItem(); item; item = nextItem(item))
        if (Same(item->getFeatureDisplayName(), name))
            return item;
    return nullptr;
}

PigmentorItem* PigmentorItemList::findByKeyword(const char* keyword) {
    for (PigmentorItem* item = firstItem(); item; item = nextItem(item))
        if (Same(item->getFeatureKeyword(), keyword))
            return item;
    return nullptr;
}

bool PigmentorItemList::featureIsAvailable(const char* keyword) {
    return findByKeyword(keyword) != nullptr;
}

bool PigmentorItemList::isValid() {
    return mValid;
}

const char* PigmentorItemList::Keyword(const char* keyword) {
    return keyword;
}

bool PigmentorItemList::initialize() {
    return false;
}

void PigmentorItemList::setPPD(QRVPPD*) {}

bool PigmentorItemList::rebuildFeatureList() {
    return initialize();
}

void PigmentorItemList::resetFeatureList() {
    deleteAll();
}

int PigmentorItemList::initializeProgress() {
    return 0;
}

int PigmentorItemList::updateProgress(unsigned long, const char*) {
    return 0;
}

int PigmentorItemList::startProgress(unsigned long, const char*) {
    return 0;
}

int PigmentorItemList::endProgress(unsigned long, const char*) {
    return 0;
}

int PigmentorItemList::reportError(unsigned long, unsigned long, const char*) {
    return 0;
}

void PigmentorItemList::setPigmentorErr(unsigned long) {}

bool PigmentorItemList::addItem(PigmentorItem* item) {
    if (!item)
        return false;
    if (!add(item)) {
        delete item;
        return false;
    }
    return true;
}

bool PigmentorItemList::saveSettings() {
    delete mSnapshot;
    mSnapshot = new (std::nothrow) PigmentorSettings(this);
    if (mSnapshot && !mSnapshot->isValid()) {
        delete mSnapshot;
        mSnapshot = nullptr;
    }
    return mSnapshot != nullptr;
}

bool PigmentorItemList::restoreSettings() {
    return mSnapshot && mSnapshot->restore(this);
}
