//===- PPDXControlsFunctions.h - Flat functions over a control list -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXCONTROLSFUNCTIONS_H
#define PIGMENTOR_PPDX_PPDXCONTROLSFUNCTIONS_H

#include "PPDXTypes.h"

#include <cstdint>

class PPDXBooleanControl;
class PPDXControl;
class PPDXControls;
class PPDXJobNote;
class PPDXPopupControl;
class PPDXRangeControl;

/// The exported plain functions over a container of controls (the model's, or a roll-down's),
/// for code that holds only opaque pointers into a model.
///
/// Each forwards to the PPDXControls member of the same meaning, so counts and the walk over
/// all controls follow the display options as the members do. A null container does nothing
/// and gives null, 0, or true for the emptiness tests. Nothing returned is owned by the
/// caller. The names are C names, unmangled.
extern "C" {

/// ControlCount, PopupCount, BooleanCount, RangeCount, JobNoteCount; 0 for null.
uint32_t GetControlCount(PPDXControls* controls);
uint32_t GetPopupCount(PPDXControls* controls);
uint32_t GetBooleanCount(PPDXControls* controls);
uint32_t GetRangeCount(PPDXControls* controls);
uint32_t GetJobnoteCount(PPDXControls* controls);
/// Empty, NoPopups, NoBooleanControls, NoRangeControls, NoJobNotes; true for null.
bool GetEmpty(PPDXControls* controls);
bool GetNoPopups(PPDXControls* controls);
bool GetNoBooleanControls(PPDXControls* controls);
bool GetNoRangeControls(PPDXControls* controls);
bool GetNoJobNotes(PPDXControls* controls);
/// PPDXControls::Find, or null (`type` then untouched).
PPDXControl* Find(PPDXControls* controls, const char* keyword, CNTL_TYPE& type, const bool& exact);
/// PPDXControls::First and Next, or null (`type` then untouched).
PPDXControl* GetFirst(PPDXControls* controls, CNTL_TYPE& type);
PPDXControl* GetNext(PPDXControls* controls, CNTL_TYPE& type);
/// The walks over one kind, or null.
PPDXPopupControl* GetFirstPopupControl(PPDXControls* controls);
PPDXPopupControl* GetNextPopupControl(PPDXControls* controls);
PPDXBooleanControl* GetFirstBooleanControl(PPDXControls* controls);
PPDXBooleanControl* GetNextBooleanControl(PPDXControls* controls);
PPDXRangeControl* GetFirstRangeControl(PPDXControls* controls);
PPDXRangeControl* GetNextRangeControl(PPDXControls* controls);
PPDXJobNote* GetFirstJobNote(PPDXControls* controls);
PPDXJobNote* GetNextJobNote(PPDXControls* controls);
/// FindPopup, FindBoolean, FindRangeControl, FindJobNote; null for null.
PPDXPopupControl* GetFindPopup(PPDXControls* controls, const char* keyword, const bool& exact);
PPDXBooleanControl* GetFindBoolean(PPDXControls* controls, const char* keyword, const bool& exact);
PPDXRangeControl* GetFindRangeControl(PPDXControls* controls, const char* keyword,
                                      const bool& exact);
PPDXJobNote* GetFindJobNote(PPDXControls* controls, const char* keyword, const bool& exact);

} // extern "C"

#endif // PIGMENTOR_PPDX_PPDXCONTROLSFUNCTIONS_H
