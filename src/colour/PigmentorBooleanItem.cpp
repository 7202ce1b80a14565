//===- PigmentorBooleanItem.cpp - A colour item over a True/False option --===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorBooleanItem.h"

#include "ColourText.h"
#include "PPDXBooleanControl.h"
#include "PigmentorPPDItem.h"

PigmentorBooleanItem::PigmentorBooleanItem(PPDXControl* control)
    : mKeywordIteration(false), mItemIteration(false),
      mControl(dynamic_cast<PPDXBooleanControl*>(control)) {}

PigmentorBooleanItem::~PigmentorBooleanItem() = default;

long PigmentorBooleanItem::getValue() {
    return mControl && mControl->IsTrue() ? 1 : 0;
}

long PigmentorBooleanItem::getDefaultValue() {
    return mControl && mControl->DefaultState() ? 1 : 0;
}

void PigmentorBooleanItem::setDefaultValue() {
    if (mControl)
        mControl->ResetToDefaultValue();
}

const char* PigmentorBooleanItem::getFeatureDisplayName() {
    return mControl ? mControl->UserName() : nullptr;
}

const char* PigmentorBooleanItem::getFeatureKeyword() {
    return mControl ? mControl->Keyword() : nullptr;
}

void PigmentorBooleanItem::setValue(unsigned long value) {
    if (mControl)
        mControl->SetValue(value != 0);
}

int PigmentorBooleanItem::getFeaturePostScript(unsigned char* buf, int size) {
    return ControlFeaturePostScript(mControl, buf, size);
}

// A PPD may leave a side untranslated; the menu still needs a text for it.
const char* PigmentorBooleanItem::getNthItemName(int n) {
    if (!mControl)
        return nullptr;
    if (n == 0)
        return mControl->FalseDisplayText() ? mControl->FalseDisplayText() : "False";
    if (n == 1)
        return mControl->TrueDisplayText() ? mControl->TrueDisplayText() : "True";
    return nullptr;
}

const char* PigmentorBooleanItem::getFirstItem() {
    mItemIteration = mControl != nullptr;
    return getNthItemName(0);
}

const char* PigmentorBooleanItem::getNextItem() {
    if (!mItemIteration)
        return nullptr;
    mItemIteration = false;
    return getNthItemName(1);
}

PPDXControl* PigmentorBooleanItem::getPPDXControl() {
    return mControl;
}

const char* PigmentorBooleanItem::getFirstKeyword(char* keyword, char* name) {
    if (!mControl || !mControl->Keyword())
        return nullptr;
    mKeywordIteration = true;
    if (keyword)
        ColourText::Copy(keyword, kColourTextSize, mControl->Keyword());
    if (name)
        ColourText::Copy(name, kColourTextSize, mControl->UserName());
    return mControl->Keyword();
}

const char* PigmentorBooleanItem::getNextKeyword(char*, char*) {
    mKeywordIteration = false;
    return nullptr;
}

long PigmentorBooleanItem::itemCount() {
    return mControl ? 2 : 0;
}
