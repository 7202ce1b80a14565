//===- CFNumber.h - Boxed integers and floating-point values ----*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFNUMBER_H
#define PIGMENTOR_CF_CFNUMBER_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/// A CFNumber is an immutable integer (kept as SInt64) or floating-point value (Float32 or
/// Float64). Its type is the storage type (creating with kCFNumberIntType gives
/// kCFNumberSInt32Type). Numbers compare by value across types. Functions return 0/false for
/// NULL numbers. Reading a value as another type converts it: integers wrap as a C cast does,
/// floating values are truncated toward zero and clamped to the target's range, NaN becomes 0;
/// the conversion reports false whenever the value read differs from the number's.
typedef const struct __CFNumber* CFNumberRef;

typedef CFIndex CFNumberType;
enum {
    kCFNumberSInt8Type = 1,
    kCFNumberSInt16Type = 2,
    kCFNumberSInt32Type = 3,
    kCFNumberSInt64Type = 4,
    kCFNumberFloat32Type = 5,
    kCFNumberFloat64Type = 6,
    kCFNumberCharType = 7,
    kCFNumberShortType = 8,
    kCFNumberIntType = 9,
    kCFNumberLongType = 10,
    kCFNumberLongLongType = 11,
    kCFNumberFloatType = 12,
    kCFNumberDoubleType = 13,
    kCFNumberCFIndexType = 14,
    kCFNumberNSIntegerType = 15,
    kCFNumberCGFloatType = 16,
    kCFNumberMaxType = 16
};

/// Type id of numbers.
CF_EXPORT CFTypeID CFNumberGetTypeID(void);
/// A number holding `*valuePtr` read as `theType`; NULL for an unknown type or NULL pointer.
CF_EXPORT CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType theType,
                                     const void* valuePtr);
/// The storage type: SInt8/16/32/64 for integers, Float32/Float64 for floating point.
CF_EXPORT CFNumberType CFNumberGetType(CFNumberRef number);
/// Size in bytes of the storage type.
CF_EXPORT CFIndex CFNumberGetByteSize(CFNumberRef number);
/// True for Float32/Float64 numbers.
CF_EXPORT Boolean CFNumberIsFloatType(CFNumberRef number);
/// Stores the value converted to `theType` in `*valuePtr`; false when the conversion lost anything.
CF_EXPORT Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr);
/// Orders two numbers by value (NaN sorts below everything, equal to NaN).
CF_EXPORT CFComparisonResult CFNumberCompare(CFNumberRef number, CFNumberRef otherNumber,
                                             void* context);

CF_EXTERN_C_END

#endif
