//===- PPDXOptionFunctions.cpp - Flat functions over booleans, popups, ranges ===//
//
// Callers hold opaque pointers and may hand over null at any time, so every function checks
// its control before it forwards.
//
//===----------------------------------------------------------------------===//
#include "PPDXOptionFunctions.h"

#include "PPDXBooleanControl.h"
#include "PPDXPopupControl.h"
#include "PPDXRangeControl.h"

namespace {

/// Fills `info` from `item`; false when there is no item.
bool describe(_PopupItem* item, PopupItemInfo* info) {
    if (!item)
        return false;
    info->keyword = item->Keyword();
    info->displayName = item->mLocalName;
    return true;
}

} // namespace

extern "C" {

bool IsTrue(PPDXBooleanControl* control) {
    return control ? control->IsTrue() : false;
}

bool DefaultState(PPDXBooleanControl* control) {
    return control ? control->DefaultState() : false;
}

void SetValue(PPDXBooleanControl* control, const bool& value) {
    if (control)
        control->SetValue(value);
}

const char* TrueDisplayText(PPDXBooleanControl* control) {
    return control ? control->TrueDisplayText() : nullptr;
}

const char* FalseDisplayText(PPDXBooleanControl* control) {
    return control ? control->FalseDisplayText() : nullptr;
}

bool CanSelectMultipleItems(PPDXPopupControl* popup) {
    return popup ? popup->CanSelectMultipleItems() : false;
}

const char* GetDefaultKeyword(PPDXPopupControl* popup) {
    return popup ? popup->GetDefaultKeyword() : nullptr;
}

const char* GetKeywordLocalName(PPDXPopupControl* popup, const char* keyword) {
    return popup ? popup->GetKeywordLocalName(keyword) : nullptr;
}

long GetKeywordPSData(PPDXPopupControl* popup, const char* keyword, unsigned char* out) {
    return popup ? popup->GetKeywordPSData(keyword, out) : 0;
}

bool IsKeywordSelected(PPDXPopupControl* popup, const char* keyword) {
    return popup ? popup->IsKeywordSelected(keyword) : false;
}

bool SetKeywordSelect(PPDXPopupControl* popup, const char* keyword, const bool& select) {
    return popup ? popup->SetKeywordSelect(keyword, select) : false;
}

uint32_t PopupItemCount(PPDXPopupControl* popup) {
    return popup ? popup->ItemCount() : 0;
}

long GetPopupValue(PPDXPopupControl* popup) {
    return popup ? popup->GetValue() : 0;
}

long GetPopupDefaultValue(PPDXPopupControl* popup) {
    return popup ? popup->DefaultValue() : 0;
}

void SetPopupValue(PPDXPopupControl* popup, long position) {
    if (popup)
        popup->SetValue(position);
}

bool FirstItem(PPDXPopupControl* popup, PopupItemInfo* info) {
    if (!info)
        return false;
    info->keyword = nullptr;
    info->displayName = nullptr;
    return popup ? describe(popup->FirstItem(), info) : false;
}

bool NextItem(PPDXPopupControl* popup, PopupItemInfo* info) {
    if (!info)
        return false;
    info->keyword = nullptr;
    info->displayName = nullptr;
    return popup ? describe(popup->NextItem(), info) : false;
}

long GetRangeValue(PPDXRangeControl* range) {
    return range ? range->GetValue() : 0;
}

long GetRangeMinimum(PPDXRangeControl* range) {
    return range ? range->MinVal() : 0;
}

long GetRangeMaximum(PPDXRangeControl* range) {
    return range ? range->MaxVal() : 0;
}

long GetRangeIncrement(PPDXRangeControl* range) {
    return range ? range->Increment() : 0;
}

long GetRangeDefaultVal(PPDXRangeControl* range) {
    return range ? range->DefaultValue() : 0;
}

void SetRangeValue(PPDXRangeControl* range, const long& value) {
    if (range)
        range->SetValue(value);
}

} // extern "C"
