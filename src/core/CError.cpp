//===- CError.cpp - Error code with description and fatal flag ------------===//
#include "CError.h"

CError::CError(const short& code, const CString& description, const bool& fatal)
    : mCode(code), mDescription(description), mFatal(fatal) {}
