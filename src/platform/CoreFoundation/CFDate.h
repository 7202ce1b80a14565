//===- CFDate.h - Points in time --------------------------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFDATE_H
#define PIGMENTOR_CF_CFDATE_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/// Seconds, as a double.
typedef double CFTimeInterval;
/// Seconds since 1 January 2001 00:00:00 UTC (the reference date); earlier times are negative.
typedef CFTimeInterval CFAbsoluteTime;

/// Seconds from 1 January 1970 to the reference date.
#define kCFAbsoluteTimeIntervalSince1970 978307200.0

/// A CFDate is an immutable point in time (a CFAbsoluteTime); only what property lists need.
/// Two dates are CFEqual when their times are. Functions return 0 for NULL dates.
typedef const struct __CFDate* CFDateRef;

/// The current time.
CF_EXPORT CFAbsoluteTime CFAbsoluteTimeGetCurrent(void);
/// Type id of dates.
CF_EXPORT CFTypeID CFDateGetTypeID(void);
/// A date for `at`.
CF_EXPORT CFDateRef CFDateCreate(CFAllocatorRef allocator, CFAbsoluteTime at);
/// The date's time.
CF_EXPORT CFAbsoluteTime CFDateGetAbsoluteTime(CFDateRef theDate);
/// Orders two dates in time (NULL before any date).
CF_EXPORT CFComparisonResult CFDateCompare(CFDateRef theDate, CFDateRef otherDate, void* context);

CF_EXTERN_C_END

#endif
