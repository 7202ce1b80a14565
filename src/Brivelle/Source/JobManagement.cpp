//===- JobManagement.cpp - The server's job-management service ------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "JobManagement.h"

#include "AsyncTicket.h"

JobManagement::JobManagement(Brivelle* owner) : SessionBasedClass(owner) {}

JobManagement::~JobManagement() {
    if (mOpen)
        CloseSession();
}

long JobManagement::OpenSession() {
    return WaitAndDelete(OpenSessionAsync(), 0);
}

AsyncTicket* JobManagement::OpenSessionAsync() {
    AsyncTicket* ticket = NewTicket();
    if (!ticket)
        return nullptr;
    ticket->SetRefused(JOBM_openSession(Handle(), &mSession, ticket->GetTicket()));
    mState = kStateOpenPending;
    return ticket;
}

long JobManagement::CloseSession() {
    t10_status status = JOBM_closeSession(&mSession, nullptr);
    mOpen = false;
    return status;
}

void JobManagement::AsyncCompletion(AsyncTicket*) {
    mOpen = true;
    mState = kStateIdle;
}

int JobManagement::GetJobCount() {
    int32_t count = 0;
    JOBM_getNumJobs(&mSession, &count, nullptr);
    return count;
}
