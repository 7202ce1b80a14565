//===- PPDXElementFunctions.cpp - Flat functions over elements and controls ===//
//
// Callers hold opaque pointers and may hand over null at any time, so every function checks
// its object before it forwards.
//
//===----------------------------------------------------------------------===//
#include "PPDXElementFunctions.h"

#include "PPDXControl.h"

extern "C" {

const char* Keyword(PPDXElement* element) {
    return element ? element->Keyword() : nullptr;
}

const char* UserName(PPDXElement* element) {
    return element ? element->UserName() : nullptr;
}

bool IsVisible(PPDXElement* element) {
    return element ? element->IsVisible() : false;
}

bool IsOrphan(PPDXElement* element) {
    return element ? element->IsOrphan() : true;
}

PPDXElement* GetParent(PPDXElement* element) {
    return element ? element->GetParent() : nullptr;
}

bool EqualsElement(PPDXElement* a, PPDXElement* b) {
    return a && b && *a == *b;
}

bool EqualsKeyWord(PPDXElement* element, const char* keyword) {
    return element ? *element == keyword : false;
}

uint32_t GetControlFlagCount(PPDXControl* control) {
    return control ? control->ControlFlagCount() : 0;
}

const char* GetFirstControlFlag(PPDXControl* control) {
    return control ? control->FirstControlFlag() : nullptr;
}

const char* GetNextControlFlag(PPDXControl* control) {
    return control ? control->NextControlFlag() : nullptr;
}

bool IsCommandControl(PPDXControl* control) {
    return control ? control->IsCommand() : false;
}

bool IsSpoolerControl(PPDXControl* control) {
    return control ? control->IsSpooler() : false;
}

bool IsSetupControl(PPDXControl* control) {
    return control ? control->IsSetup() : false;
}

bool IsMacTJNControl(PPDXControl* control) {
    return control ? control->IsMacTJN() : false;
}

bool IsMacImgShiftControl(PPDXControl* control) {
    return control ? control->IsMacImgShift() : false;
}

bool IsValidControlKeyword(PPDXControl* control, const char* keyword) {
    return control ? PPDXControl::ValidKeyword(keyword) : false;
}

long GetPostScript(PPDXControl* control, unsigned char* out) {
    return control ? control->PostScript(out) : 0;
}

long BooleanPostScript(PPDXControl* control, unsigned char* out) {
    return control ? control->PostScript(out) : 0;
}

long PopupPostScript(PPDXControl* control, unsigned char* out) {
    return control ? control->PostScript(out) : 0;
}

long RangePostScript(PPDXControl* control, unsigned char* out) {
    return control ? control->PostScript(out) : 0;
}

void ResetControlToDefault(PPDXControl* control) {
    if (control)
        control->ResetToDefaultValue();
}

} // extern "C"
