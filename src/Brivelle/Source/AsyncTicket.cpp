//===- AsyncTicket.cpp - A non-blocking SDK request -----------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "AsyncTicket.h"

#include "SessionBasedClass.h"

AsyncTicket::AsyncTicket(SessionBasedClass* owner)
    : mTicket(static_cast<tovrane_ticket*>(tovrane_malloc(sizeof(tovrane_ticket)))), mLastResult(0),
      mOwner(owner) {}

AsyncTicket::~AsyncTicket() {
    if (mTicket)
        NB_destroy(mTicket);
}

tovrane_ticket* AsyncTicket::GetTicket() {
    return mTicket;
}

long AsyncTicket::GetLastResult() {
    return mLastResult;
}

void AsyncTicket::IsDone(float* percent) {
    float done = 0.0f;
    int32_t reserved = 0;
    t10_status result = 0;
    // A failed check (no request on the ticket) reports 0 percent: nothing completes.
    NB_checkTicket(mTicket, &done, &reserved, &result);
    if (percent)
        *percent = done;
    if (done >= 100.0f) {
        mLastResult = result;
        if (mOwner)
            mOwner->AsyncCompletion(this);
    }
}

void AsyncTicket::BlockUntilDone() {
    NB_block(mTicket);
    IsDone(nullptr);
}

void AsyncTicket::SetRefused(long status) {
    if (status != 0)
        mLastResult = static_cast<short>(status);
}
