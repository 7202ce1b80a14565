#pragma once
/// The system alert sound.
///
/// `SysBeep` always counts (tests read the count) and then forwards to the sound hook that the
/// user-interface back end installs (the desktop's beep under GTK); with no hook installed the
/// count is all that happens. Any thread may call these; the count is atomic and the hook is
/// read atomically, so installing it while another thread beeps is safe.

#include <CarbonCore/MacTypes.h>

#ifdef __cplusplus
extern "C" {
#endif

/// What a back end does for a beep; `duration` is the caller's, in ticks (unused by most).
typedef void (*SysBeepHandler)(short duration);

/// Sounds the alert: counts it, then calls the installed handler, if any.
void SysBeep(short duration);
/// How many times `SysBeep` was called in this process.
UInt32 GetSysBeepCount(void);
/// Installs `handler` (NULL removes it) and returns the one it replaces.
SysBeepHandler SetSysBeepHandler(SysBeepHandler handler);

#ifdef __cplusplus
}
#endif
