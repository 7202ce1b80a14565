//===- HostDialog.h - The headless print dialog ----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDEHOST_HOSTDIALOG_H
#define PIGMENTOR_PDEHOST_HOSTDIALOG_H

#include "HostActions.h"
#include "HostExtension.h"

#include <HIToolbox/HIToolbox.h>
#include <nlohmann/json.hpp>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

/// The print dialog's window: a window with a user pane of the extension's size, in which the
/// extension builds its pane, and the person's actions performed on it in order.
///
/// Actions run one at a time from the main event queue: each posts the next before it acts, so
/// that an action which opens a modal dialog finds the following ones dispatched inside that
/// dialog's loop. Input (click, choose, type, ok, cancel, command) is queued as a person's would
/// be, into the front window at the time the action runs; ok and cancel press the OK or Cancel
/// button of the dialog in front of the pane, an application-modal dialog or a sheet. The pane
/// sends its window the event 'QVFs' 1 when it starts a background fetch and the fetch ends with
/// the command 'QVFe': wait-fetch lets the events already queued run (low priority), then
/// ends at once when no fetch is running (none started since the last 'QVFe'), else holds the
/// following actions back until the pane's window has processed 'QVFe' and the queue has
/// settled again with no fetch running, at most the time-out. An action whose control is not found ends the run
/// with an error; a dialog or sheet left open at the end is cancelled. Main thread.
class HostDialog {
public:
    HostDialog(HostExtension& extension, PMPrintSession session);
    ~HostDialog();
    HostDialog(const HostDialog&) = delete;
    HostDialog& operator=(const HostDialog&) = delete;

    /// Makes the window titled `title` with the pane, shown when `show`; false when it cannot
    /// be made.
    bool Build(const std::string& title, bool show = true);
    /// Grows the pane, and the window with it, to hold every control the extension put in it
    /// (a pane may be laid out taller than the size its prologue reported, as a print dialog's
    /// tab grows with its content); never shrinks either.
    void FitPaneToContent();
    /// After the actions, Run waits for the person (EndByPerson) instead of ending.
    void WaitForPerson() { mWaitForPerson = true; }
    /// The person closed the dialog: with Print (`print` true) or Cancel. Main thread.
    void EndByPerson(bool print);
    /// `hook` runs once the actions are done, while the pane is still open (a screenshot).
    void BeforeEnd(std::function<void()> hook) { mBeforeEnd = std::move(hook); }
    /// Whether the person chose Print (true when nobody was waited for).
    bool Printed() const { return mPrinted; }
    /// Opens the pane and performs `actions`; errors are added to `errors`, the summary lines of
    /// summary actions and the windows of dump actions to `log`. False when an action failed.
    bool Run(const std::vector<HostAction>& actions, double timeout, nlohmann::json& log,
             std::vector<std::string>& errors);

    WindowRef Window() const { return mWindow; }
    ControlRef Pane() const { return mPane; }

private:
    enum : UInt32 { kHostClass = 'pdeH', kNext = 1, kTimeout = 2, kFinish = 3, kSettle = 4 };

    static OSStatus HandleHost(EventHandlerCallRef, EventRef event, void* self);
    static OSStatus ObserveCommand(EventHandlerCallRef, EventRef event, void* self);
    void Post(UInt32 kind);
    void PostNext();
    void Perform(const HostAction& action);
    void Fail(const std::string& message);
    WindowRef Front() const;
    void InstallObserver();
    void StartWatchdog(double seconds);
    void StopWatchdog();

    HostExtension& mExtension;
    PMPrintSession mSession;
    WindowRef mWindow = nullptr;
    ControlRef mPane = nullptr;
    EventHandlerUPP mHostUPP = nullptr, mObserverUPP = nullptr;
    EventHandlerRef mHostHandler = nullptr, mObserver = nullptr;

    const std::vector<HostAction>* mActions = nullptr;
    size_t mNext = 0;
    double mTimeout = 60;
    nlohmann::json* mLog = nullptr;
    std::vector<std::string>* mErrors = nullptr;
    bool mFailed = false, mWaiting = false;
    bool mWaitForPerson = false, mPrinted = true;
    bool mFetchRunning = false; // the pane started a fetch whose end was not seen yet
    UInt32 mSimulationFailures = 0;
    int mCancelTries = 0;
    std::string mPending;
    std::function<void()> mBeforeEnd; // the queued input action whose target is checked next

    std::thread mWatchdog;
    std::mutex mWatchLock;
    std::condition_variable mWatchWake;
    bool mWatchStop = false;
};

#endif
