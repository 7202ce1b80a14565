//===- AsyncTicket.h - A non-blocking SDK request ---------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_ASYNCTICKET_H
#define PIGMENTOR_BRIVELLE_ASYNCTICKET_H

#include <t10.h>

class SessionBasedClass;

/// One non-blocking request of a service object: the SDK's 8-byte ticket block (from
/// `tovrane_malloc(8)`, released with `NB_destroy`, which also abandons a request still
/// pending) and the request's status once it completed.
///
/// Ownership: the object owns its block; whoever receives the object deletes it. The owner
/// (a service object) is not owned and must outlive the ticket while a request is pending;
/// its `AsyncCompletion` runs when a check sees the request done. The block may be null when
/// memory ran out (`GetTicket()` then answers null and no request may be started on it).
///
/// Virtual slots, in order: destructor, GetTicket(), GetLastResult().
class AsyncTicket {
public:
    /// Allocates the block; last result 0.
    explicit AsyncTicket(SessionBasedClass* owner);
    /// Abandons a pending request and frees the block.
    virtual ~AsyncTicket();
    AsyncTicket(const AsyncTicket&) = delete;
    AsyncTicket& operator=(const AsyncTicket&) = delete;

    /// The ticket block (null when it could not be allocated).
    virtual tovrane_ticket* GetTicket();
    /// The request's status (0 until completion), sign-extended.
    virtual long GetLastResult();

    /// Checks the request: `percent` (may be null) gets its progress; at 100 the result is
    /// kept and the owner's completion runs.
    void IsDone(float* percent);
    /// Waits for the request, then checks it once so that the completion has run.
    void BlockUntilDone();
    /// Records `status` (non-zero) as the result of a request the SDK refused at once: such a
    /// request never completes on the ticket, and its refusal must not read as success.
    void SetRefused(long status);

private:
    tovrane_ticket* mTicket;
    short mLastResult;
    SessionBasedClass* mOwner;
};

#endif // PIGMENTOR_BRIVELLE_ASYNCTICKET_H
