//===- PigmentorPPDItemList.cpp - Colour items of a PPD model -------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorPPDItemList.h"

#include "ExpertColorKeywords.h"
#include "PPDXControls.h"
#include "PPDXGroups.h"
#include "PPDXPopupControl.h"
#include "PPDXRollDown.h"
#include "PigmentorErrors.h"
#include "PigmentorPPDItem.h"
#include "ProgressHandler.h"
#include "QRVPPD.h"

#include <cstring>
#include <new>

PigmentorPPDItemList::PigmentorPPDItemList(QRVPPD* model, bool buildNow, ProgressHandler* handler)
    : mModel(model), mHasItems(false), mError(kPigmentorNoErr), mHandler(handler),
      mCursor(nullptr), mColourGroup(nullptr) {
    if (mModel)
        ExpertColorKeywords::initializePigmentor();
    if (buildNow)
        mValid = initialize();
}

PigmentorPPDItemList::~PigmentorPPDItemList() = default;

unsigned long PigmentorPPDItemList::getPigmentorErr() {
    return mError;
}

void PigmentorPPDItemList::setPigmentorErr(unsigned long code) {
    mError = code;
}

bool PigmentorPPDItemList::setToDefaults() {
    for (PigmentorItem* item = firstItem(); item; item = nextItem(item))
        item->setValue(static_cast<unsigned long>(item->getDefaultValue()));
    return true;
}

void PigmentorPPDItemList::setPPD(QRVPPD* model) {
    mModel = model;
    resetFeatureList();
}

void PigmentorPPDItemList::resetFeatureList() {
    mCursor = nullptr;
    PigmentorItemList::resetFeatureList();
}

PPDXControls* PigmentorPPDItemList::getPPDControlList() {
    mError = kPigmentorNoErr;
    mColourGroup = nullptr;
    if (!mModel) {
        setPigmentorErr(kPigmentorPPDInitErr);
        return nullptr;
    }
    PPDXGroups* groups = mModel->GetGroups();
    if (!groups || groups->List().Empty()) {
        setPigmentorErr(kPigmentorRolldownNotFoundErr);
        return nullptr;
    }
    PPDXGroup* group = groups->Find("TPPigmentor", true);
    if (!group)
        group = groups->Find("TPColor", true);
    PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(group);
    if (!rollDown || !rollDown->Controls()) {
        setPigmentorErr(kPigmentorNotSupportedErr);
        return nullptr;
    }
    mColourGroup = rollDown->Keyword();
    return rollDown->Controls();
}

// A rebuild replaces the items rather than appending a second set.
bool PigmentorPPDItemList::initialize() {
    resetFeatureList();
    PPDXControls* controls = getPPDControlList();
    initializeProgress();
    if (controls) {
        for (PPDXPopupControl* popup = controls->FirstPopupControl(); popup;
             popup = controls->NextPopupControl()) {
            const int index = ExpertColorKeywords::findPigmentorKeywordIdx(popup->Keyword());
            if (index <= 0)
                continue;
            PigmentorPPDItem* item = new (std::nothrow) PigmentorPPDItem(popup);
            if (!item || !addItem(item)) {
                setPigmentorErr(kPigmentorMemoryErr);
                mHasItems = false;
                return false;
            }
            item->setIndex(index);
        }
    }
    mHasItems = count() > 0;
    setPigmentorErr(mHasItems ? kPigmentorNoErr : kPigmentorNotSupportedErr);
    return mHasItems;
}

bool PigmentorPPDItemList::hasExpertControls() {
    bool found = false;
    if (PPDXControls* controls = getPPDControlList()) {
        for (PPDXPopupControl* popup = controls->FirstPopupControl(); popup && !found;
             popup = controls->NextPopupControl())
            found = ExpertColorKeywords::findPigmentorKeywordIdx(popup->Keyword()) > 0;
    }
    setPigmentorErr(found ? kPigmentorNoErr : kPigmentorNotSupportedErr);
    return found;
}

PigmentorItem* PigmentorPPDItemList::getFirstFeature() {
    mCursor = firstItem();
    return mCursor;
}

PigmentorItem* PigmentorPPDItemList::getNextFeature() {
    mCursor = nextItem(mCursor);
    return mCursor;
}

namespace {

int TextLength(const char* text) {
    return text ? static_cast<int>(strnlen(text, 4096)) : 0;
}

void* Text(const char* text) {
    return const_cast<char*>(text);
}

} // namespace

int PigmentorPPDItemList::initializeProgress() {
    return mHandler ? mHandler->initProgress() : 0;
}

int PigmentorPPDItemList::updateProgress(unsigned long state, const char* text) {
    return mHandler ? mHandler->updateProgress(state, Text(text), TextLength(text)) : 0;
}

int PigmentorPPDItemList::startProgress(unsigned long state, const char* text) {
    return mHandler ? mHandler->startProgress(state, Text(text), TextLength(text)) : 0;
}

int PigmentorPPDItemList::endProgress(unsigned long state, const char* text) {
    return mHandler ? mHandler->endProgress(state, Text(text), TextLength(text)) : 0;
}

int PigmentorPPDItemList::reportError(unsigned long error, unsigned long state, const char* text) {
    return mHandler ? mHandler->reportError(error, state, Text(text), TextLength(text)) : 0;
}
