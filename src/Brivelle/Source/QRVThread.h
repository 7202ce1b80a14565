//===- QRVThread.h - A worker thread behind a start gate --------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_QRVTHREAD_H
#define PIGMENTOR_BRIVELLE_QRVTHREAD_H

#include "QRVMutex.h"

#include <pthread.h>

/// One POSIX worker thread that waits at a start gate until its creator calls `run()`, then
/// runs `threadProc(argument)` and `threadDone(argument)` and ends.
///
/// The gate is the only lock: it orders everything the creator did before `run()` before the
/// worker's first step, so a subclass stores what the worker needs, then calls `run()`. The
/// creator (one thread, usually the main one) makes, runs, cancels and joins; the worker only
/// runs the two procedures. `argument` is not owned. A subclass's destructor must end the
/// worker (`cancel()` or `teardown`) before its own members go: this destructor does not wait
/// for a worker that was released, since its procedures belong to the subclass.
///
/// `autoRun` true releases the worker inside this constructor, before any subclass
/// constructor has run, so the worker may reach the subclass's procedures before they exist;
/// subclasses therefore pass false and call `run()` once they are complete.
class QRVThread {
public:
    /// Closes the gate and creates the thread; `run()` at once when `autoRun`. When creation
    /// fails nothing runs, ever, and `isCreated()` stays false.
    QRVThread(void* argument, bool autoRun);
    QRVThread(const QRVThread&) = delete;
    QRVThread& operator=(const QRVThread&) = delete;

    /// Opens the gate: the worker starts its procedures. Later calls do nothing.
    virtual void run();
    /// The work, on the worker thread.
    virtual void threadProc(void* argument) = 0;
    /// Asks the work to stop; on the creator's thread, before the join of `cancel()`.
    virtual void cancelProc() = 0;
    /// `teardown(true)`.
    virtual void cancel();
    /// Runs on the worker right after `threadProc`.
    virtual void threadDone(void* argument) = 0;
    /// Waits for the worker to end (when one is created and not yet joined); `result`, when not
    /// null, is a `void**` that receives the worker's result (always null). A worker never
    /// released is let go without running its procedures, so this never waits forever.
    virtual void join(void* result);
    /// Nothing without a created thread; else `cancelProc()` when `cancel`, then `join(null)`.
    virtual void teardown(bool cancel);
    /// Destroys the gate; ends (without running anything) a worker that was never released.
    virtual ~QRVThread();

    /// True while a created thread has not been joined.
    bool isCreated() const { return mCreated; }

private:
    static void* StartRoutine(void* self);
    /// Opens the gate once; `abandon` makes the worker skip its procedures.
    void openGate(bool abandon);

    pthread_t mThread;
    void* mArgument;
    QRVMutex mStartGate;
    bool mCreated;
    bool mGateOpen;  // creator's thread only
    bool mAbandoned; // written before the gate opens, read by the worker after it passed it
};

#endif // PIGMENTOR_BRIVELLE_QRVTHREAD_H
