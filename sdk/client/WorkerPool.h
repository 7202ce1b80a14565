//===- WorkerPool.h - Threads that take work its submitter did not claim ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_WORKERPOOL_H
#define TOVRANE_CLIENT_WORKERPOOL_H

#include <t10.h>

#include <cstddef>
#include <memory>

namespace tovrane::client {

/// A piece of work the pool may hand to a thread of its own. The submitter, other callers
/// and a pool thread may race to run it: `Claim` decides, synchronised by the task itself.
class PoolTask {
public:
    virtual ~PoolTask() = default;
    /// Takes the task to run it; false when another thread already has.
    virtual bool Claim() = 0;
    /// Runs a task this thread has claimed to its end. A `refused` other than T10_OK ends it
    /// with that status without running its work (no thread could be had for it).
    virtual void Run(t10_status refused) = 0;
};

/// The pool holds each submitted task for a short grace period and hands it to a thread (an
/// idle one, or a new one when none is idle, so tasks never wait for each other) only when
/// nobody claimed it meanwhile: a caller that waits for its task at once runs it itself,
/// and no thread is woken for it. One dispatcher thread, blocked on a kernel timer that is
/// armed while tasks wait (and until its next expiry after the last was claimed), does the
/// handing over. Threads and tables are never destroyed (an abandoned task may still be
/// finishing while the process exits); an idle worker ends after a while. All functions are
/// thread-safe.

/// Queues `task` (shared with the pool until it is claimed or handed over). False, with
/// nothing queued, when the pool cannot work: no timer or dispatcher thread could be made.
bool SubmitTask(std::shared_ptr<PoolTask> task);
/// Forgets a task its caller has claimed, so that no thread is handed it (the timer, when
/// armed, stays armed: the next calls within the grace period then need no system call).
void WithdrawTask(const PoolTask& task);
/// Tasks handed to a pool thread so far (each woke or made one): for tests.
size_t HandOverCount();

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_WORKERPOOL_H
