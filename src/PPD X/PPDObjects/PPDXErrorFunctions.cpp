//===- PPDXErrorFunctions.cpp - Flat functions over parse errors ----------===//
//
// Callers hold opaque pointers and may hand over null at any time, so every function checks
// its object before it forwards.
//
//===----------------------------------------------------------------------===//
#include "PPDXErrorFunctions.h"

#include "PPDXErrorObj.h"
#include "PPDXErrors.h"

extern "C" {

PPDXErrorObj* FirstError(PPDXErrors* errors) {
    return errors ? errors->First() : nullptr;
}

PPDXErrorObj* NextError(PPDXErrors* errors) {
    return errors ? errors->Next() : nullptr;
}

bool ErrorListIsEmpty(PPDXErrors* errors) {
    return errors ? errors->Empty() : true;
}

uint32_t ErrorCount(PPDXErrors* errors) {
    return errors ? errors->Count() : 0;
}

const char* GetErrorKeyword(PPDXErrorObj* error) {
    return error ? error->Keyword() : nullptr;
}

const char* GetErrorDescription(PPDXErrorObj* error) {
    return error ? error->Description() : nullptr;
}

bool IsErrorFatal(PPDXErrorObj* error) {
    return error ? error->IsFatal() : false;
}

} // extern "C"
