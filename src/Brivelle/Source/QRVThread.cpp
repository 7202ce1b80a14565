//===- QRVThread.cpp - A worker thread behind a start gate ----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "QRVThread.h"

QRVThread::QRVThread(void* argument, bool autoRun)
    : mThread(), mArgument(argument), mCreated(false), mGateOpen(false), mAbandoned(false) {
    if (mStartGate.lock() != 0)
        return; // without a closed gate the worker could start half-built: make none
    if (pthread_create(&mThread, nullptr, StartRoutine, this) != 0)
        return;
    if (autoRun)
        run();
    mCreated = true;
}

QRVThread::~QRVThread() {
    // A worker still at the gate would wait on a destroyed mutex: let it go without work.
    if (mCreated && !mGateOpen)
        join(nullptr);
    // The gate must be unlocked to be destroyed; this thread holds it only while it is shut.
    if (!mGateOpen && mStartGate.islocked())
        mStartGate.unlock();
}

void* QRVThread::StartRoutine(void* self) {
    auto* thread = static_cast<QRVThread*>(self);
    // Passing the gate is all the worker needs: it lets it go at once, so that the gate is
    // unlocked (and can be destroyed) whenever the worker has ended.
    thread->mStartGate.lock();
    thread->mStartGate.unlock();
    if (!thread->mAbandoned) {
        thread->threadProc(thread->mArgument);
        thread->threadDone(thread->mArgument);
    }
    return nullptr;
}

void QRVThread::openGate(bool abandon) {
    if (mGateOpen)
        return;
    mAbandoned = abandon;
    mGateOpen = true;
    mStartGate.unlock();
}

void QRVThread::run() {
    openGate(false);
}

void QRVThread::cancel() {
    teardown(true);
}

void QRVThread::teardown(bool cancel) {
    if (!mCreated)
        return;
    if (cancel)
        cancelProc();
    join(nullptr);
}

void QRVThread::join(void* result) {
    if (!mCreated)
        return;
    openGate(true); // does nothing once run() opened it
    pthread_join(mThread, static_cast<void**>(result));
    mCreated = false;
}
