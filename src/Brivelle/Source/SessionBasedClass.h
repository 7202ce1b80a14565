//===- SessionBasedClass.h - Base of the server's service objects -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_SESSIONBASEDCLASS_H
#define PIGMENTOR_BRIVELLE_SESSIONBASEDCLASS_H

#include <t10.h>

#include <cstdint>

class AsyncTicket;
class Brivelle;

/// The abstract base of every service object of a server connection (attributes, jobs, server
/// information, features, localisation, colour defaults, colour profiles): one SDK session,
/// opened synchronously or through a non-blocking ticket, and closed by the subclass.
///
/// Ownership: the owning connection (`Brivelle`) is not owned and outlives the object. The
/// session word and the inline ticket live inside the object; the SDK writes them while an
/// open is pending, so the object must not move and outlives any request it started.
/// `AsyncTicket`s returned by the open calls belong to the caller. No locks: one thread uses
/// an object at a time.
///
/// Virtual slots, in order: destructor, OpenSession(), OpenSessionAsync(), CloseSession(),
/// IsDone(float*, long*), AsyncCompletion(AsyncTicket*).
class SessionBasedClass {
public:
    /// Stores `owner`; last error 0, idle (state -1), not open.
    explicit SessionBasedClass(Brivelle* owner);
    virtual ~SessionBasedClass();
    SessionBasedClass(const SessionBasedClass&) = delete;
    SessionBasedClass& operator=(const SessionBasedClass&) = delete;

    /// Opens the session and waits; the SDK status (0 success).
    virtual long OpenSession() = 0;
    /// Starts opening the session; a ticket to poll (the caller deletes it), or null.
    virtual AsyncTicket* OpenSessionAsync() = 0;
    /// Closes the session; the SDK status (0 success).
    virtual long CloseSession() = 0;
    /// Progress of an open through the inline ticket: true (percent 100, the last error) when
    /// nothing is pending or the open has just completed (a successful open then counts as
    /// open).
    virtual bool IsDone(float* percent, long* error);
    /// Completion of a ticketed request: returns to idle (subclasses mark the session open).
    virtual void AsyncCompletion(AsyncTicket* ticket);

    /// The owning connection (not owned).
    Brivelle* GetOwner() const { return mOwner; }
    /// Whether the session counts as open.
    bool IsOpen() const { return mOpen; }
    /// The status of the last request that records one.
    long GetLastError() const { return mLastError; }
    /// -1 idle, 2 an open request is pending.
    int GetState() const { return mState; }
    /// The SDK session word (0 when the SDK has none open for this object).
    tovrane_session GetSession() const { return mSession; }

    /// The state values.
    enum { kStateIdle = -1, kStateOpenPending = 2 };

protected:
    /// The connection's server handle, or null when there is no owner.
    tovrane_server* Handle() const;
    /// A new ticket reporting to this object, or null when it or its block could not be had.
    AsyncTicket* NewTicket();
    /// The synchronous form of a ticketed open: waits for `ticket`'s request, deletes the
    /// ticket and returns its result; `withoutTicket` when `ticket` is null.
    static long WaitAndDelete(AsyncTicket* ticket, long withoutTicket);

    Brivelle* mOwner;
    tovrane_ticket mTicket;
    tovrane_session mSession;
    int16_t mLastError;
    bool mOpen;
    int mState;
};

#endif // PIGMENTOR_BRIVELLE_SESSIONBASEDCLASS_H
