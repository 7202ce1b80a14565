#pragma once
/// The Gestalt selector registry: a process-wide table from four-character selectors to values.
///
/// Only values are kept (no selector functions), and no selector is built in: the table holds
/// what the process registered. Any thread may call these; one mutex guards the table. A value
/// is a `long`, which holds a pointer here: the system shares objects between code modules of
/// one process by registering their address under a selector, as it did when these calls took
/// `long*` (the platform later narrowed the value to 32 bits, which no longer fits a pointer).
/// Whoever registers a pointer owns what it points to; the registry never dereferences it.

#include <CarbonCore/MacTypes.h>

// Gestalt Manager status codes, with the platform's values.
enum {
    gestaltUnknownErr = -5550,       ///< could not obtain the response
    gestaltUndefSelectorErr = -5551, ///< the selector is not registered
    gestaltDupSelectorErr = -5552,   ///< the selector is already registered
    gestaltLocationErr = -5553,      ///< selector function not in the system heap (unused here)
};

#ifdef __cplusplus
extern "C" {
#endif

/// `*response` = the value of `selector`; gestaltUndefSelectorErr (and 0) when it is not
/// registered, paramErr for a NULL `response`.
OSErr Gestalt(OSType selector, long* response);
/// Registers `selector` with `newValue`; gestaltDupSelectorErr when it is registered already.
OSErr NewGestaltValue(OSType selector, long newValue);
/// Changes the value of a registered `selector`; gestaltUndefSelectorErr when it is not.
OSErr ReplaceGestaltValue(OSType selector, long replacementValue);
/// Registers `selector`, or changes its value when registered already.
OSErr SetGestaltValue(OSType selector, long newValue);
/// Unregisters `selector`; gestaltUndefSelectorErr when it is not registered.
OSErr DeleteGestaltValue(OSType selector);

#ifdef __cplusplus
}
#endif
