//===- Watchdog.cpp - Calls an action once a deadline has passed ----------===//
#include "Watchdog.h"

namespace tovrane::client {

Watchdog::Watchdog(std::chrono::steady_clock::time_point deadline, std::function<void()> expire)
    : mDeadline(deadline), mExpire(std::move(expire)) {}

Watchdog::~Watchdog() {
    Stop();
}

bool Watchdog::Start() {
    // pthread rather than std::thread: a failure to create it is a status, not an exception.
    mStarted = pthread_create(&mThread, nullptr, &Watchdog::Main, this) == 0;
    return mStarted;
}

void Watchdog::Stop() {
    if (!mStarted)
        return;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStopping = true;
    }
    mWake.notify_all();
    pthread_join(mThread, nullptr);
    mStarted = false;
}

bool Watchdog::Fired() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mFired;
}

void* Watchdog::Main(void* self) {
    static_cast<Watchdog*>(self)->Run();
    return nullptr;
}

void Watchdog::Run() {
    std::unique_lock<std::mutex> lock(mMutex);
    if (mWake.wait_until(lock, mDeadline, [this] { return mStopping; }))
        return;
    // The action is repeated: one call may land in a moment (say, between connecting and
    // reading) where there is nothing yet to break off.
    while (!mStopping) {
        mFired = true;
        lock.unlock();
        mExpire();
        lock.lock();
        mWake.wait_for(lock, std::chrono::milliseconds(20), [this] { return mStopping; });
    }
}

} // namespace tovrane::client
