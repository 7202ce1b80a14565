//===- ExpertColorFeaturesThread.h - The background colour fetch -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_EXPERTCOLORFEATURESTHREAD_H
#define PIGMENTOR_BRIVELLE_EXPERTCOLORFEATURESTHREAD_H

#include "QRVThread.h"

#include <atomic>

class ExpertColorFeatures;
class PigmentorProgressHandler;

/// The worker that rebuilds the expert colour list in the background: its body runs
/// `ExpertColorFeatures::refreshFeatures(handler)` (with a server named, the whole server
/// fetch), then hands a recorded error to the features object and posts the features-done
/// command through the handler.
///
/// Created with its gate closed; the creator stores the object and then calls `run()`, so the
/// fetch cannot end before its owner knows it. Ownership: owned by the features object; the
/// features object and the handler are not owned and must outlive the thread (deleting the
/// thread joins it). The fetching flag is written by the worker and read by the main thread
/// without locks (atomic); the join orders everything else. Deleting a running thread marks
/// the fetch stopped and waits for the worker to end; server calls under way are not
/// interrupted.
class ExpertColorFeaturesThread : public QRVThread {
public:
    /// The thread for `features`, reporting to `handler` (may be null); not started yet. A
    /// thread that could not be created is not fetching.
    ExpertColorFeaturesThread(ExpertColorFeatures* features, PigmentorProgressHandler* handler);
    /// Cancels (stops and joins) the worker.
    ~ExpertColorFeaturesThread() override;

    /// Clears the handler's error and rebuilds the features' expert list (worker thread).
    void threadProc(void* features) override;
    /// Marks the fetch stopped (creator's thread).
    void cancelProc() override;
    /// Hands the handler's error to the features object, posts 'QVFe' and ends the fetching
    /// state (worker thread).
    void threadDone(void* features) override;

    /// True from construction until the fetch has finished or was cancelled.
    bool isExpertThreadRunning() const { return mFetching; }
    /// The handler this fetch reports to (null without one).
    PigmentorProgressHandler* handler() const { return mHandler; }

private:
    std::atomic<bool> mFetching;
    PigmentorProgressHandler* mHandler;
};

#endif // PIGMENTOR_BRIVELLE_EXPERTCOLORFEATURESTHREAD_H
