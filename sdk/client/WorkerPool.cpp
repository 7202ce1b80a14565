//===- WorkerPool.cpp - Threads that take work its submitter did not claim ===//
#include "WorkerPool.h"

#include <pthread.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace tovrane::client {

namespace {

// Most ticketed calls are waited for at once: the caller claims its task a few microseconds
// after submitting it, so even a caller preempted for a scheduler slice claims it well within
// a millisecond. A task nobody waits for starts that much later, far below anything a
// progress display polling every few tens of milliseconds or a network request would show.
constexpr int64_t kGraceNs = 1'000'000;
constexpr std::chrono::seconds kIdleThreadLife{10};

struct Waiting {
    std::shared_ptr<PoolTask> task;
    int64_t due; ///< CLOCK_MONOTONIC nanoseconds at which a thread takes it
};

struct Pool {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Waiting> waiting;                 ///< in order of `due`
    std::deque<std::shared_ptr<PoolTask>> ready; ///< handed over, for the workers
    size_t idle = 0;
    int timer = -1;     ///< the dispatcher's timerfd, -1 while there is no dispatcher
    bool armed = false; ///< the dispatcher will look at `waiting` (a pending tick counts)
    size_t handOvers = 0;
};

Pool& Workers() {
    static Pool* pool = new Pool;
    return *pool;
}

int64_t Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

/// Sets the timer to expire at `due`. Called with the pool locked; a tick pending from before
/// is reset, which is harmless because the dispatcher reads `waiting` after every tick.
bool SetTimer(Pool& pool, int64_t due) {
    itimerspec value{};
    value.it_value.tv_sec = static_cast<time_t>(due / 1'000'000'000);
    value.it_value.tv_nsec = static_cast<long>(due % 1'000'000'000);
    if (timerfd_settime(pool.timer, TFD_TIMER_ABSTIME, &value, nullptr) != 0)
        return false;
    pool.armed = true;
    return true;
}

bool StartThread(void* (*main)(void*)) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    int created = pthread_create(&thread, &attributes, main, nullptr);
    pthread_attr_destroy(&attributes);
    return created == 0;
}

void* WorkerMain(void*) {
    Pool& pool = Workers();
    std::unique_lock<std::mutex> lock(pool.mutex);
    for (;;) {
        if (pool.ready.empty()) {
            ++pool.idle;
            bool woken =
                pool.wake.wait_for(lock, kIdleThreadLife, [&] { return !pool.ready.empty(); });
            --pool.idle;
            if (!woken)
                return nullptr;
        }
        std::shared_ptr<PoolTask> task = std::move(pool.ready.front());
        pool.ready.pop_front();
        lock.unlock();
        // A caller that waited for its task after the hand-over has run it already.
        if (task->Claim())
            task->Run(T10_OK);
        task.reset(); // the task's state goes before the lock is taken again
        lock.lock();
    }
}

/// Hands every task due by `now` to a worker; tasks for which no thread could be had go to
/// `refused`, to be ended outside the lock.
void HandOverDue(Pool& pool, int64_t now, std::vector<std::shared_ptr<PoolTask>>& refused) {
    while (!pool.waiting.empty() && pool.waiting.front().due <= now) {
        std::shared_ptr<PoolTask> task = std::move(pool.waiting.front().task);
        pool.waiting.pop_front();
        pool.ready.push_back(task);
        ++pool.handOvers;
        // A busy worker would make the task wait for another's end: make one instead.
        if (pool.ready.size() > pool.idle && !StartThread(&WorkerMain) && pool.idle == 0) {
            pool.ready.pop_back();
            refused.push_back(std::move(task));
            continue;
        }
        pool.wake.notify_one();
    }
}

/// Ends tasks no thread could be had for, as a call that could not start.
void Refuse(std::vector<std::shared_ptr<PoolTask>>& refused) {
    for (auto& task : refused)
        if (task->Claim())
            task->Run(T10_ERR_NO_MEMORY);
    refused.clear();
}

void* DispatcherMain(void*) {
    Pool& pool = Workers();
    int timer;
    {
        std::lock_guard<std::mutex> lock(pool.mutex);
        timer = pool.timer;
    }
    std::vector<std::shared_ptr<PoolTask>> refused;
    for (;;) {
        uint64_t ticks = 0;
        ssize_t got = read(timer, &ticks, sizeof ticks);
        if (got < 0 && errno == EINTR)
            continue;
        bool broken = got != static_cast<ssize_t>(sizeof ticks);
        {
            std::lock_guard<std::mutex> lock(pool.mutex);
            if (broken) {
                // A timer that cannot be read would spin this loop: hand over everything
                // and leave the next submit to make a new dispatcher.
                HandOverDue(pool, INT64_MAX, refused);
                pool.timer = -1;
                pool.armed = false;
            } else {
                HandOverDue(pool, Now(), refused);
                if (!pool.waiting.empty() && !SetTimer(pool, pool.waiting.front().due))
                    HandOverDue(pool, INT64_MAX, refused);
                // With nothing waiting the one-shot timer has expired or been stopped: the
                // next submit arms it again.
                if (pool.waiting.empty())
                    pool.armed = false;
            }
        }
        Refuse(refused);
        if (broken) {
            close(timer);
            return nullptr;
        }
    }
}

/// Makes the timer and the dispatcher thread on first need.
bool HaveDispatcher(Pool& pool) {
    if (pool.timer >= 0)
        return true;
    pool.timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    if (pool.timer < 0)
        return false;
    if (!StartThread(&DispatcherMain)) {
        close(pool.timer);
        pool.timer = -1;
        return false;
    }
    return true;
}

} // namespace

bool SubmitTask(std::shared_ptr<PoolTask> task) {
    Pool& pool = Workers();
    std::vector<std::shared_ptr<PoolTask>> refused;
    {
        std::lock_guard<std::mutex> lock(pool.mutex);
        if (!HaveDispatcher(pool))
            return false;
        int64_t due = Now() + kGraceNs;
        pool.waiting.push_back({std::move(task), due});
        // Arming an unarmed timer is one system call and no context switch; an armed one
        // already expires no later than this task is due.
        if (!pool.armed && !SetTimer(pool, due))
            HandOverDue(pool, INT64_MAX, refused); // without a timer, at once
    }
    Refuse(refused);
    return true;
}

void WithdrawTask(const PoolTask& task) {
    Pool& pool = Workers();
    std::lock_guard<std::mutex> lock(pool.mutex);
    for (auto it = pool.waiting.begin(); it != pool.waiting.end(); ++it) {
        if (it->task.get() != &task)
            continue;
        // The caller still holds the task: it is not destroyed here. The timer is left as
        // it is: it wakes the dispatcher at most once for nothing (the dispatcher sets it
        // again for what still waits), and the calls that follow within the grace period
        // find it armed and make no system call at all. Stopping it here cost a system call
        // on every waited-for call, and those calls come in runs.
        pool.waiting.erase(it);
        return;
    }
}

size_t HandOverCount() {
    Pool& pool = Workers();
    std::lock_guard<std::mutex> lock(pool.mutex);
    return pool.handOvers;
}

} // namespace tovrane::client
