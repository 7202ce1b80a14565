//===- PigmentorProgressHandler.h - Fetch progress as window events -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_PIGMENTORPROGRESSHANDLER_H
#define PIGMENTOR_BRIVELLE_PIGMENTORPROGRESSHANDLER_H

#include "ProgressHandler.h"

#include <HIToolbox/CarbonEvents.h>

#include <atomic>

class UI_ChasingArrows;

/// The progress event: posted to the handler's window, its direct object an HICommand whose
/// attributes carry the message code and whose command id is kProgressCommandID; parameter
/// 'kcod' (UInt32) the state and, for errors, 'kerc' (UInt32) the error code.
enum : UInt32 {
    kPigmentorProgressEventClass = 'QVCl',
    kPigmentorProgressEventKind = 'QVTy',
    kProgressCommandID = 'tApp',
    kProgressParamState = 'kcod',
    kProgressParamError = 'kerc',
};
/// Message codes of the progress event.
enum : UInt32 {
    kProgressMessageStart = 100,
    kProgressMessageEnd = 101,
    kProgressMessageUpdate = 102,
    kProgressMessageError = 103,
};
/// The command posted to the window when the fetch has finished.
enum : UInt32 { kFeaturesDoneCommand = 'QVFe' };
/// The window's control that holds the busy indicator: {'arro', 0}.
enum : OSType { kChasingArrowsSignature = 'arro' };

/// The progress handler of the background fetch: turns the fetch's reports (on the worker
/// thread) into progress events posted to the pane's window, and shows them (on the main
/// thread) as a caption beside chasing arrows in the window's {'arro', 0} control.
///
/// Threads: construction, destruction, the event handler, `ProcessProgressEvent` and
/// `StopProgress` run on the main thread; the progress calls, `setError`, `getError` and
/// `done` on the worker, which only posts events. The window is not owned and must outlive the
/// handler; the handler owns its event handler and its arrows. Without a window nothing is
/// posted, every report answers 0 and no error is recorded. The worker must be joined before
/// the handler is deleted.
class PigmentorProgressHandler : public ProgressHandler {
public:
    /// With a window: installs the progress event handler on it and makes the arrows.
    PigmentorProgressHandler(WindowRef window, void* userData);
    /// Removes the event handler and deletes the arrows.
    ~PigmentorProgressHandler() override;

    /// Clears the error and the cancel flags.
    void reset() override;

    /// Makes the arrows in the window's {'arro', 0} control. True when made or the window has
    /// no such control; false without a window or when they could not be made.
    bool InitializeChasingArrows();
    /// The fetch's last error.
    void setError(unsigned long error) { mError = error; }
    unsigned long getError() const { return mError; }
    /// Posts the features-done command 'QVFe' to the window (nothing without one).
    void done();
    /// Hides the arrows.
    void StopProgress();
    /// Shows one progress event: caption and visibility of the arrows by its message code.
    void ProcessProgressEvent(HICommand* command, EventRef event);
    /// The arrows (owned), null when there are none.
    UI_ChasingArrows* getChasingArrows() const { return mArrows; }

    /// The window's handler of progress events; `handler` is the PigmentorProgressHandler.
    /// eventNotHandledErr for a command that is not a progress message.
    static OSStatus PigmentorProgressEventHandler(EventHandlerCallRef callRef, EventRef event,
                                                  void* handler);

protected:
    int updateImp(unsigned long state, void* text, int length) override;
    int startImp(unsigned long state, void* text, int length) override;
    int endImp(unsigned long state, void* text, int length) override;
    int errorImp(unsigned long error, unsigned long state, void* text, int length) override;
    int initImp() override;

private:
    /// Posts one progress event; `error` is added only for the error message.
    void postProgress(UInt32 message, unsigned long state, const unsigned long* error);

    EventHandlerRef mEventHandler;
    EventHandlerUPP mEventHandlerUPP;
    UI_ChasingArrows* mArrows;
    std::atomic<unsigned long> mError;
};

#endif // PIGMENTOR_BRIVELLE_PIGMENTORPROGRESSHANDLER_H
