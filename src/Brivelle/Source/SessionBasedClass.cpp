//===- SessionBasedClass.cpp - Base of the server's service objects -------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "SessionBasedClass.h"

#include "AsyncTicket.h"
#include "Brivelle.h"

#include <new>

SessionBasedClass::SessionBasedClass(Brivelle* owner)
    : mOwner(owner), mTicket(), mSession(0), mLastError(0), mOpen(false), mState(kStateIdle) {}

SessionBasedClass::~SessionBasedClass() {
    // A request still pending on the inline ticket would write into this object later.
    if (mState != kStateIdle)
        NB_cancel(&mTicket);
}

tovrane_server* SessionBasedClass::Handle() const {
    return mOwner ? mOwner->GetServerHandle() : nullptr;
}

AsyncTicket* SessionBasedClass::NewTicket() {
    AsyncTicket* ticket = new (std::nothrow) AsyncTicket(this);
    if (ticket && !ticket->GetTicket()) {
        delete ticket;
        ticket = nullptr;
    }
    return ticket;
}

long SessionBasedClass::WaitAndDelete(AsyncTicket* ticket, long withoutTicket) {
    if (!ticket)
        return withoutTicket;
    ticket->BlockUntilDone();
    long result = ticket->GetLastResult();
    delete ticket;
    return result;
}

bool SessionBasedClass::IsDone(float* percent, long* error) {
    float ignoredPercent = 0.0f;
    long ignoredError = 0;
    if (!percent)
        percent = &ignoredPercent;
    if (!error)
        error = &ignoredError;
    if (mState == kStateIdle) {
        *percent = 100.0f;
        *error = mLastError;
        return true;
    }
    float done = 0.0f;
    int32_t reserved = 0;
    t10_status result = 0;
    t10_status status = NB_checkTicket(&mTicket, &done, &reserved, &result);
    if (status != 0) {
        *percent = 0.0f;
        *error = status;
        return false;
    }
    *percent = done;
    *error = result;
    if (done < 100.0f)
        return false;
    // Idle before the completion runs, as the completion of a ticketed request expects; an
    // open through the inline ticket that succeeded then counts as open, so that
    // CloseSession closes it (the open request is what left state 2 behind).
    bool openPending = mState == kStateOpenPending;
    mState = kStateIdle;
    AsyncCompletion(nullptr);
    if (openPending && result == 0)
        mOpen = true;
    return true;
}

void SessionBasedClass::AsyncCompletion(AsyncTicket*) {
    mState = kStateIdle;
}
