//===- PPDXElementFunctions.h - Flat functions over elements and controls -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXELEMENTFUNCTIONS_H
#define PIGMENTOR_PPDX_PPDXELEMENTFUNCTIONS_H

#include <cstdint>

class PPDXControl;
class PPDXElement;

/// The exported plain functions over any element of a model and over what every control
/// has (flag words, PostScript, reset), for code that holds only opaque pointers.
///
/// Each forwards to the member of the same meaning. A null object does nothing and gives the
/// value named: null, 0 or false, and true for IsOrphan. Texts returned belong to the element.
/// PostScript follows measure-then-write (null `out` measures). The names are C names,
/// unmangled.
extern "C" {

/// PPDXElement::Keyword, or null.
const char* Keyword(PPDXElement* element);
/// PPDXElement::UserName, or null.
const char* UserName(PPDXElement* element);
/// PPDXElement::IsVisible, or false.
bool IsVisible(PPDXElement* element);
/// PPDXElement::IsOrphan, or true.
bool IsOrphan(PPDXElement* element);
/// PPDXElement::GetParent, or null.
PPDXElement* GetParent(PPDXElement* element);
/// Both given and `*a == *b` (both keywords present and equal); false when either is null.
bool EqualsElement(PPDXElement* a, PPDXElement* b);
/// `*element == keyword`, or false.
bool EqualsKeyWord(PPDXElement* element, const char* keyword);

/// PPDXControl::ControlFlagCount, or 0.
uint32_t GetControlFlagCount(PPDXControl* control);
/// PPDXControl::FirstControlFlag, or null.
const char* GetFirstControlFlag(PPDXControl* control);
/// PPDXControl::NextControlFlag, or null.
const char* GetNextControlFlag(PPDXControl* control);
/// PPDXControl::IsCommand, IsSpooler, IsSetup, IsMacTJN, IsMacImgShift; false for null.
bool IsCommandControl(PPDXControl* control);
bool IsSpoolerControl(PPDXControl* control);
bool IsSetupControl(PPDXControl* control);
bool IsMacTJNControl(PPDXControl* control);
bool IsMacImgShiftControl(PPDXControl* control);
/// PPDXControl::ValidKeyword(keyword), or false for a null control.
bool IsValidControlKeyword(PPDXControl* control, const char* keyword);
/// The control's virtual PostScript(out), or 0; the four names are one operation.
long GetPostScript(PPDXControl* control, unsigned char* out);
long BooleanPostScript(PPDXControl* control, unsigned char* out);
long PopupPostScript(PPDXControl* control, unsigned char* out);
long RangePostScript(PPDXControl* control, unsigned char* out);
/// The control's virtual ResetToDefaultValue; nothing for null.
void ResetControlToDefault(PPDXControl* control);

} // extern "C"

#endif // PIGMENTOR_PPDX_PPDXELEMENTFUNCTIONS_H
