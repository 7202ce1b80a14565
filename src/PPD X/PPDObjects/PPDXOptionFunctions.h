//===- PPDXOptionFunctions.h - Flat functions over booleans, popups, ranges -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXOPTIONFUNCTIONS_H
#define PIGMENTOR_PPDX_PPDXOPTIONFUNCTIONS_H

#include <CoreFoundation/CFString.h>

#include <cstdint>

class PPDXBooleanControl;
class PPDXPopupControl;
class PPDXRangeControl;

/// One popup item as FirstItem and NextItem report it: its option keyword (owned by the item)
/// and its display name (not retained); each null when the item has none.
struct PopupItemInfo {
    const char* keyword;
    CFStringRef displayName;
};

/// The exported plain functions over boolean, popup and range controls, for code that holds
/// only opaque pointers into a model.
///
/// Each forwards to the member of the same meaning. A null control does nothing and gives
/// null, 0 or false. Texts returned belong to the control. PostScript follows
/// measure-then-write (null `out` measures). The names are C names, unmangled.
extern "C" {

/// PPDXBooleanControl::IsTrue, or false.
bool IsTrue(PPDXBooleanControl* control);
/// PPDXBooleanControl::DefaultState, or false.
bool DefaultState(PPDXBooleanControl* control);
/// PPDXBooleanControl::SetValue; nothing for null.
void SetValue(PPDXBooleanControl* control, const bool& value);
/// PPDXBooleanControl::TrueDisplayText and FalseDisplayText, or null.
const char* TrueDisplayText(PPDXBooleanControl* control);
const char* FalseDisplayText(PPDXBooleanControl* control);

/// PPDXPopupControl::CanSelectMultipleItems, or false.
bool CanSelectMultipleItems(PPDXPopupControl* popup);
/// PPDXPopupControl::GetDefaultKeyword, or null.
const char* GetDefaultKeyword(PPDXPopupControl* popup);
/// PPDXPopupControl::GetKeywordLocalName, or null.
const char* GetKeywordLocalName(PPDXPopupControl* popup, const char* keyword);
/// PPDXPopupControl::GetKeywordPSData, or 0.
long GetKeywordPSData(PPDXPopupControl* popup, const char* keyword, unsigned char* out);
/// PPDXPopupControl::IsKeywordSelected, or false.
bool IsKeywordSelected(PPDXPopupControl* popup, const char* keyword);
/// PPDXPopupControl::SetKeywordSelect, or false.
bool SetKeywordSelect(PPDXPopupControl* popup, const char* keyword, const bool& select);
/// PPDXPopupControl::ItemCount, or 0.
uint32_t PopupItemCount(PPDXPopupControl* popup);
/// PPDXPopupControl::GetValue and DefaultValue, or 0.
long GetPopupValue(PPDXPopupControl* popup);
long GetPopupDefaultValue(PPDXPopupControl* popup);
/// PPDXPopupControl::SetValue; nothing for null.
void SetPopupValue(PPDXPopupControl* popup, long position);
/// Clears both fields of `info` (when given), then fills them from PPDXPopupControl::FirstItem
/// (NextItem); false for a null popup or `info`, or when there is no further item.
bool FirstItem(PPDXPopupControl* popup, PopupItemInfo* info);
bool NextItem(PPDXPopupControl* popup, PopupItemInfo* info);

/// PPDXRangeControl::GetValue, MinVal, MaxVal, Increment and DefaultValue, or 0.
long GetRangeValue(PPDXRangeControl* range);
long GetRangeMinimum(PPDXRangeControl* range);
long GetRangeMaximum(PPDXRangeControl* range);
long GetRangeIncrement(PPDXRangeControl* range);
long GetRangeDefaultVal(PPDXRangeControl* range);
/// PPDXRangeControl::SetValue; nothing for null.
void SetRangeValue(PPDXRangeControl* range, const long& value);

} // extern "C"

#endif // PIGMENTOR_PPDX_PPDXOPTIONFUNCTIONS_H
