//===- PPDXControlsFunctions.cpp - Flat functions over a control list -----===//
//
// Callers hold opaque pointers and may hand over null at any time, so every function checks
// its container before it forwards.
//
//===----------------------------------------------------------------------===//
#include "PPDXControlsFunctions.h"

#include "PPDXControls.h"

extern "C" {

uint32_t GetControlCount(PPDXControls* controls) {
    return controls ? controls->ControlCount() : 0;
}

uint32_t GetPopupCount(PPDXControls* controls) {
    return controls ? controls->PopupCount() : 0;
}

uint32_t GetBooleanCount(PPDXControls* controls) {
    return controls ? controls->BooleanCount() : 0;
}

uint32_t GetRangeCount(PPDXControls* controls) {
    return controls ? controls->RangeCount() : 0;
}

uint32_t GetJobnoteCount(PPDXControls* controls) {
    return controls ? controls->JobNoteCount() : 0;
}

bool GetEmpty(PPDXControls* controls) {
    return controls ? controls->Empty() : true;
}

bool GetNoPopups(PPDXControls* controls) {
    return controls ? controls->NoPopups() : true;
}

bool GetNoBooleanControls(PPDXControls* controls) {
    return controls ? controls->NoBooleanControls() : true;
}

bool GetNoRangeControls(PPDXControls* controls) {
    return controls ? controls->NoRangeControls() : true;
}

bool GetNoJobNotes(PPDXControls* controls) {
    return controls ? controls->NoJobNotes() : true;
}

PPDXControl* Find(PPDXControls* controls, const char* keyword, CNTL_TYPE& type, const bool& exact) {
    return controls ? controls->Find(keyword, type, exact) : nullptr;
}

PPDXControl* GetFirst(PPDXControls* controls, CNTL_TYPE& type) {
    return controls ? controls->First(type) : nullptr;
}

PPDXControl* GetNext(PPDXControls* controls, CNTL_TYPE& type) {
    return controls ? controls->Next(type) : nullptr;
}

PPDXPopupControl* GetFirstPopupControl(PPDXControls* controls) {
    return controls ? controls->FirstPopupControl() : nullptr;
}

PPDXPopupControl* GetNextPopupControl(PPDXControls* controls) {
    return controls ? controls->NextPopupControl() : nullptr;
}

PPDXBooleanControl* GetFirstBooleanControl(PPDXControls* controls) {
    return controls ? controls->FirstBooleanControl() : nullptr;
}

PPDXBooleanControl* GetNextBooleanControl(PPDXControls* controls) {
    return controls ? controls->NextBooleanControl() : nullptr;
}

PPDXRangeControl* GetFirstRangeControl(PPDXControls* controls) {
    return controls ? controls->FirstRangeControl() : nullptr;
}

PPDXRangeControl* GetNextRangeControl(PPDXControls* controls) {
    return controls ? controls->NextRangeControl() : nullptr;
}

PPDXJobNote* GetFirstJobNote(PPDXControls* controls) {
    return controls ? controls->FirstJobNote() : nullptr;
}

PPDXJobNote* GetNextJobNote(PPDXControls* controls) {
    return controls ? controls->NextJobNote() : nullptr;
}

PPDXPopupControl* GetFindPopup(PPDXControls* controls, const char* keyword, const bool& exact) {
    return controls ? controls->FindPopup(keyword, exact) : nullptr;
}

PPDXBooleanControl* GetFindBoolean(PPDXControls* controls, const char* keyword, const bool& exact) {
    return controls ? controls->FindBoolean(keyword, exact) : nullptr;
}

PPDXRangeControl* GetFindRangeControl(PPDXControls* controls, const char* keyword,
                                      const bool& exact) {
    return controls ? controls->FindRangeControl(keyword, exact) : nullptr;
}

PPDXJobNote* GetFindJobNote(PPDXControls* controls, const char* keyword, const bool& exact) {
    return controls ? controls->FindJobNote(keyword, exact) : nullptr;
}

} // extern "C"
