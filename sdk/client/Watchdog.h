//===- Watchdog.h - Calls an action once a deadline has passed --------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_WATCHDOG_H
#define TOVRANE_CLIENT_WATCHDOG_H

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <pthread.h>

namespace tovrane::client {

/// A thread that waits for a deadline and then calls `expire`, again every 20 ms until
/// stopped, so that a blocked request can be broken off from outside however it is stuck.
/// The owner starts it, does its work, then stops it (which joins the thread) before the
/// action's targets go away. `expire` runs on the watchdog's thread.
class Watchdog {
public:
    Watchdog(std::chrono::steady_clock::time_point deadline, std::function<void()> expire);
    /// Stops the thread if it is still running.
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    /// Starts the thread; false when no thread could be made.
    bool Start();
    /// Stops and joins the thread; `expire` is not called afterwards.
    void Stop();
    /// True once `expire` has been called.
    bool Fired();

private:
    static void* Main(void* self);
    void Run();

    std::chrono::steady_clock::time_point mDeadline;
    std::function<void()> mExpire;
    std::mutex mMutex;
    std::condition_variable mWake;
    bool mStopping = false;
    bool mFired = false;
    bool mStarted = false;
    pthread_t mThread{};
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_WATCHDOG_H
