//===- CFRunLoop.h - Run loops and their sources ----------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFRUNLOOP_H
#define PIGMENTOR_CF_CFRUNLOOP_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDate.h>

CF_EXTERN_C_BEGIN

/// A run loop: one per thread, made on first use and never destroyed (retain and release leave
/// it alone). It waits for its sources to be signalled or for a wake-up and performs the
/// signalled sources on its own thread. The main run loop belongs to the process's first thread.
///
/// Thread rules: `CFRunLoopSourceSignal`, `CFRunLoopWakeUp`, `CFRunLoopStop` and adding or
/// removing sources may be called from any thread; `CFRunLoopRun` and `CFRunLoopRunInMode` run
/// the calling thread's own loop. Perform routines run without any lock held.
typedef struct __CFRunLoop* CFRunLoopRef;
/// A version-0 source: signalled by hand, performed by the loop it is added to.
typedef struct __CFRunLoopSource* CFRunLoopSourceRef;

/// Mode names: the default mode, and the pseudo-mode naming every mode marked common (the
/// default mode is one).
CF_EXPORT const CFStringRef kCFRunLoopDefaultMode;
CF_EXPORT const CFStringRef kCFRunLoopCommonModes;

/// Results of CFRunLoopRunInMode.
enum {
    kCFRunLoopRunFinished = 1,     ///< the mode has no sources
    kCFRunLoopRunStopped = 2,      ///< CFRunLoopStop was called
    kCFRunLoopRunTimedOut = 3,     ///< the time ran out (or a wake-up came without a source)
    kCFRunLoopRunHandledSource = 4 ///< a source was performed and the caller asked to return
};

/// Callbacks of a version-0 source; every pointer may be NULL. `perform` runs on the loop's
/// thread when the source was signalled; `schedule` and `cancel` when it is added to or removed
/// from a loop's mode.
typedef struct {
    CFIndex version; ///< 0: the only version supported
    void* info;
    const void* (*retain)(const void* info);
    void (*release)(const void* info);
    CFStringRef (*copyDescription)(const void* info);
    Boolean (*equal)(const void* info1, const void* info2);
    CFHashCode (*hash)(const void* info);
    void (*schedule)(void* info, CFRunLoopRef rl, CFStringRef mode);
    void (*cancel)(void* info, CFRunLoopRef rl, CFStringRef mode);
    void (*perform)(void* info);
} CFRunLoopSourceContext;

CF_EXPORT CFTypeID CFRunLoopGetTypeID(void);
CF_EXPORT CFTypeID CFRunLoopSourceGetTypeID(void);

/// The calling thread's run loop (not retained).
CF_EXPORT CFRunLoopRef CFRunLoopGetCurrent(void);
/// The main thread's run loop (not retained); any thread may ask.
CF_EXPORT CFRunLoopRef CFRunLoopGetMain(void);

/// Runs the current thread's loop in the default mode until stopped or out of sources.
CF_EXPORT void CFRunLoopRun(void);
/// Runs the current thread's loop in `mode` for at most `seconds` (0: perform what is signalled
/// and return); see the kCFRunLoopRun* results.
CF_EXPORT SInt32 CFRunLoopRunInMode(CFStringRef mode, CFTimeInterval seconds,
                                    Boolean returnAfterSourceHandled);
/// Makes a waiting (or the next) run of `rl` return kCFRunLoopRunStopped.
CF_EXPORT void CFRunLoopStop(CFRunLoopRef rl);
/// Makes a waiting (or the next) wait of `rl` look at its sources again at once.
CF_EXPORT void CFRunLoopWakeUp(CFRunLoopRef rl);
/// True while the loop's thread is blocked waiting.
CF_EXPORT Boolean CFRunLoopIsWaiting(CFRunLoopRef rl);
/// Marks `mode` as one of the common modes of `rl`.
CF_EXPORT void CFRunLoopAddCommonMode(CFRunLoopRef rl, CFStringRef mode);

/// A new source (caller releases) with `context`'s callbacks; NULL for another version.
CF_EXPORT CFRunLoopSourceRef CFRunLoopSourceCreate(CFAllocatorRef allocator, CFIndex order,
                                                   CFRunLoopSourceContext* context);
/// Adds `source` to `rl` in `mode` (the loop retains it); adding it twice changes nothing.
CF_EXPORT void CFRunLoopAddSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFStringRef mode);
/// Removes `source` from `rl`'s `mode`.
CF_EXPORT void CFRunLoopRemoveSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFStringRef mode);
/// True when `source` is in `rl` in `mode` (or in the common modes for a common mode).
CF_EXPORT Boolean CFRunLoopContainsSource(CFRunLoopRef rl, CFRunLoopSourceRef source,
                                          CFStringRef mode);
/// Marks `source` as ready: the loops it is in perform it on their next pass.
CF_EXPORT void CFRunLoopSourceSignal(CFRunLoopSourceRef source);
/// Removes `source` from every loop; it is never performed again.
CF_EXPORT void CFRunLoopSourceInvalidate(CFRunLoopSourceRef source);
CF_EXPORT Boolean CFRunLoopSourceIsValid(CFRunLoopSourceRef source);
CF_EXPORT CFIndex CFRunLoopSourceGetOrder(CFRunLoopSourceRef source);
/// Copies the source's context (with its info pointer) into `context`.
CF_EXPORT void CFRunLoopSourceGetContext(CFRunLoopSourceRef source, CFRunLoopSourceContext* context);

/// Of our own, for a user-interface back end whose thread waits in another event loop: `hook`
/// is called (from the waking thread) on every CFRunLoopWakeUp and CFRunLoopStop of `rl`, so
/// the back end can wake its own loop and then run `rl` with a zero timeout. NULL removes it.
CF_EXPORT void _CFRunLoopSetWakeUpHook(CFRunLoopRef rl, void (*hook)(void* info), void* info);

CF_EXTERN_C_END

#endif
