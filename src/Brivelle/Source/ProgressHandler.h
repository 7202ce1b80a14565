//===- ProgressHandler.h - Receiver of a server fetch's progress -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_PROGRESSHANDLER_H
#define PIGMENTOR_BRIVELLE_PROGRESSHANDLER_H

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/MacWindows.h>

#include <atomic>

/// Progress states of a server fetch, reported with each step; 5 (the end) has no text.
enum : unsigned long {
    kProgressStateConnecting = 1,
    kProgressStateInitializing = 2,
    kProgressStateGettingFeatures = 3,
    kProgressStateProcessingData = 4,
    kProgressStateDone = 5,
    kProgressStateAborting = 6,
    kProgressStateCleanUp = 7,
    kProgressStateProcessingStatus = 8,
};

/// The status a progress call answers once the user has cancelled.
constexpr int kProgressUserCancelled = 1001;

/// Abstract receiver of a server fetch's progress. The fetch calls `initProgress` once, then
/// `startProgress`/`updateProgress`/`endProgress` for its steps, and stops as soon as one of
/// them answers non-zero; subclasses do the work in the five *Imp functions. Once cancelled
/// (`user_cancel`), every progress call answers 1001 without calling its *Imp, until `reset`
/// (which `initProgress` does first); `reportError` always reaches `errorImp`. The progress
/// calls run on the fetch's worker thread while `user_cancel` and `abort` may come from the
/// main thread: the two flags are atomic, nothing else is locked. The window (not owned, may be
/// null) receives a subclass's events; user data and timer are stored only. `text` arguments
/// are opaque to this class and passed through with their `length`.
class ProgressHandler {
public:
    /// Timer 0, flags clear; `window` and `userData` are kept, not owned.
    ProgressHandler(WindowRef window, void* userData);
    ProgressHandler(const ProgressHandler&) = delete;
    ProgressHandler& operator=(const ProgressHandler&) = delete;
    virtual ~ProgressHandler();

    /// Stores `timer`.
    virtual void setTimer(unsigned long timer);
    /// Marks the fetch cancelled by the user: later progress calls answer 1001.
    virtual void user_cancel();
    /// Marks the fetch aborted (recorded only).
    virtual void abort();
    /// 1001 when cancelled; else `reset()` and the result of `initImp()`.
    virtual int initProgress();
    /// 1001 when cancelled; else the result of `updateImp` with the same arguments.
    virtual int updateProgress(unsigned long state, void* text, int length);
    /// 1001 when cancelled; else the result of `startImp` with the same arguments.
    virtual int startProgress(unsigned long state, void* text, int length);
    /// 1001 when cancelled; else the result of `endImp` with the same arguments.
    virtual int endProgress(unsigned long state, void* text, int length);
    /// The result of `errorImp` with the same arguments, cancelled or not.
    virtual int reportError(unsigned long error, unsigned long state, void* text, int length);
    /// Clears the cancelled and aborted flags.
    virtual void reset();

    /// True once `user_cancel` was called and no `reset` since.
    bool isCancelled() const;
    /// True once `abort` was called and no `reset` since.
    bool isAborted() const;
    /// The window given at construction (not owned), or null.
    WindowRef getWindow() const { return mWindow; }
    /// The user data given at construction.
    void* getUserData() const { return mUserData; }
    /// The value last given to `setTimer`, 0 before.
    unsigned long getTimer() const { return mTimer; }

    /// The text of `state` from the plug-in bundle's "BidiStrings" table (the key itself when
    /// the table or the bundle has none); null for a state without a key. The caller releases.
    static CFStringRef getProgressString(unsigned long state);

protected:
    virtual int updateImp(unsigned long state, void* text, int length) = 0;
    virtual int startImp(unsigned long state, void* text, int length) = 0;
    virtual int endImp(unsigned long state, void* text, int length) = 0;
    virtual int errorImp(unsigned long error, unsigned long state, void* text, int length) = 0;
    virtual int initImp() = 0;

private:
    unsigned long mTimer;
    WindowRef mWindow;
    std::atomic<bool> mCancelled;
    std::atomic<bool> mAborted;
    void* mUserData;
};

#endif // PIGMENTOR_BRIVELLE_PROGRESSHANDLER_H
