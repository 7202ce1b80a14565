//===- CFBoolean.h - The two boolean objects -------------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFBOOLEAN_H
#define PIGMENTOR_CF_CFBOOLEAN_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/// A CFBoolean is one of two immortal objects, kCFBooleanTrue and kCFBooleanFalse: there are
/// no others, so booleans may be compared by pointer. Retain and release leave them alone.
/// They exist before any static initialiser runs.
typedef const struct __CFBoolean* CFBooleanRef;

/// The true object.
CF_EXPORT const CFBooleanRef kCFBooleanTrue;
/// The false object.
CF_EXPORT const CFBooleanRef kCFBooleanFalse;

/// Type id of both booleans.
CF_EXPORT CFTypeID CFBooleanGetTypeID(void);
/// True for kCFBooleanTrue; false for kCFBooleanFalse, NULL and anything that is no boolean.
CF_EXPORT Boolean CFBooleanGetValue(CFBooleanRef boolean);

CF_EXTERN_C_END

#endif
