//===- PPDXErrorFunctions.h - Flat functions over parse errors --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXERRORFUNCTIONS_H
#define PIGMENTOR_PPDX_PPDXERRORFUNCTIONS_H

#include <cstdint>

class PPDXErrorObj;
class PPDXErrors;

/// The exported plain functions over a model's error list and its error objects, for code
/// that holds only opaque pointers.
///
/// Each forwards to the member of the same meaning. A null object does nothing and gives
/// null, 0, false, or true for the emptiness test. Texts returned belong to the error (the
/// description is in the resource file's encoding). The names are C names, unmangled.
extern "C" {

/// PPDXErrors::First and Next, or null.
PPDXErrorObj* FirstError(PPDXErrors* errors);
PPDXErrorObj* NextError(PPDXErrors* errors);
/// PPDXErrors::Empty, or true.
bool ErrorListIsEmpty(PPDXErrors* errors);
/// PPDXErrors::Count, or 0.
uint32_t ErrorCount(PPDXErrors* errors);
/// PPDXErrorObj::Keyword and Description, or null (also for an empty one).
const char* GetErrorKeyword(PPDXErrorObj* error);
const char* GetErrorDescription(PPDXErrorObj* error);
/// PPDXErrorObj::IsFatal, or false.
bool IsErrorFatal(PPDXErrorObj* error);

} // extern "C"

#endif // PIGMENTOR_PPDX_PPDXERRORFUNCTIONS_H
