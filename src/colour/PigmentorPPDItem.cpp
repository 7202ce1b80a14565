//===- PigmentorPPDItem.cpp - A colour item over a popup control ----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorPPDItem.h"

#include "ColourText.h"
#include "PPDXPopupControl.h"

#include <climits>

PigmentorPPDItem::PigmentorPPDItem(PPDXControl* control)
    : mControl(dynamic_cast<PPDXPopupControl*>(control)) {}

PigmentorPPDItem::~PigmentorPPDItem() = default;

long PigmentorPPDItem::getValue() {
    return mControl ? mControl->GetValue() : 0;
}

long PigmentorPPDItem::getDefaultValue() {
    return mControl ? mControl->DefaultValue() : 0;
}

void PigmentorPPDItem::setDefaultValue() {
    if (mControl)
        mControl->ResetToDefaultValue();
}

const char* PigmentorPPDItem::getFeatureDisplayName() {
    return mControl ? mControl->UserName() : nullptr;
}

const char* PigmentorPPDItem::getFeatureKeyword() {
    return mControl ? mControl->Keyword() : nullptr;
}

void PigmentorPPDItem::setValue(unsigned long value) {
    // Positions beyond a long cannot name an item; they deselect, as 0 does.
    if (mControl)
        mControl->SetValue(value > LONG_MAX ? 0 : static_cast<long>(value));
}

int PigmentorPPDItem::getFeaturePostScript(unsigned char* buf, int size) {
    return ControlFeaturePostScript(mControl, buf, size);
}

const char* PigmentorPPDItem::getFirstItem() {
    if (!mControl)
        return nullptr;
    _PopupItem* item = mControl->FirstItem();
    return item ? item->displayName() : nullptr;
}

const char* PigmentorPPDItem::getNextItem() {
    if (!mControl)
        return nullptr;
    _PopupItem* item = mControl->NextItem();
    return item ? item->displayName() : nullptr;
}

PPDXControl* PigmentorPPDItem::getPPDXControl() {
    return mControl;
}

namespace {

const char* CopyOut(_PopupItem* item, char* keyword, char* name) {
    if (!item)
        return nullptr;
    if (keyword)
        ColourText::Copy(keyword, kColourTextSize, item->Keyword());
    if (name)
        ColourText::Copy(name, kColourTextSize, item->displayName());
    return item->Keyword();
}

} // namespace

const char* PigmentorPPDItem::getFirstKeyword(char* keyword, char* name) {
    return mControl ? CopyOut(mControl->FirstItem(), keyword, name) : nullptr;
}

const char* PigmentorPPDItem::getNextKeyword(char* keyword, char* name) {
    return mControl ? CopyOut(mControl->NextItem(), keyword, name) : nullptr;
}

long PigmentorPPDItem::itemCount() {
    return mControl ? static_cast<long>(mControl->ItemCount()) : 0;
}

int ControlFeaturePostScript(PPDXControl* control, unsigned char* buf, int size) {
    if (!control)
        return 0;
    const long length = control->PostScript(nullptr);
    if (length <= 0 || length > INT_MAX)
        return 0;
    if (!buf)
        return -static_cast<int>(length);
    if (size >= length)
        control->PostScript(buf);
    return static_cast<int>(length);
}
