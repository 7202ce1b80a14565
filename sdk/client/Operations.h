//===- Operations.h - Calls run now or on a thread of their own -------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_OPERATIONS_H
#define TOVRANE_CLIENT_OPERATIONS_H

#include "Connection.h"
#include "Progress.h"

#include <t10.h>

#include <cstddef>
#include <functional>
#include <memory>

namespace tovrane::client {

/// One call's work, split so that a ticketed call can be abandoned safely: `run` does the
/// requests and keeps what it learnt in state the two functions share (never in caller
/// memory); `publish` writes the outputs into the caller's memory and returns the call's
/// final status. `publish` runs only when the call is not cancelled, under the ticket's lock.
struct Work {
    std::function<t10_status(Progress&)> run;
    std::function<t10_status(t10_status)> publish;
};

/// Runs `work`: at once on this thread when `ticket` is null (returning the final status),
/// else in the background, whose progress the ticket tracks (returning T10_OK when it was
/// queued, T10_ERR_NO_MEMORY when the pool cannot work). Unless a caller blocks on the
/// ticket within the pool's short grace period (and so runs the work itself, waking no
/// thread), a pooled thread of its own takes it (see WorkerPool.h); should none be had,
/// the ticket ends with T10_ERR_NO_MEMORY. A ticket that still names an
/// earlier operation is taken over: that operation is cancelled. `connection` (may be null)
/// ties the record to a connection so that `ReapOperations` can drop it once that is retired.
t10_status Perform(tovrane_ticket* ticket, std::shared_ptr<Connection> connection, Work work);

/// NB_checkTicket's work.
t10_status CheckTicket(const tovrane_ticket* ticket, float* percent, int32_t* state,
                       t10_status* result);
/// Waits until the operation is done or cancelled (running it here when no thread has
/// taken it yet).
t10_status BlockTicket(const tovrane_ticket* ticket);
/// Marks the operation cancelled and forgets it; one no thread has taken yet never runs.
t10_status CancelTicket(tovrane_ticket* ticket);
/// Forgets every finished operation that a check has seen done and whose connection is
/// retired or unknown (a connect names none).
void ReapOperations();

/// Operations that have not yet ended (including abandoned ones).
size_t RunningOperationCount();
/// Operations a ticket still names.
size_t TicketRecordCount();

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_OPERATIONS_H
