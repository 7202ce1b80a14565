//===- JobManagement.h - The server's job-management service ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_JOBMANAGEMENT_H
#define PIGMENTOR_BRIVELLE_JOBMANAGEMENT_H

#include "SessionBasedClass.h"

/// The server's job-management service; it tells how many jobs the server holds.
///
/// Ownership: owned by the server-information object, which creates it on first use and opens
/// its session synchronously. The destructor closes an open session.
class JobManagement : public SessionBasedClass {
public:
    explicit JobManagement(Brivelle* owner);
    ~JobManagement() override;

    /// Opens the session through a ticket and waits; the ticket's result, 0 without a ticket.
    long OpenSession() override;
    /// Starts `JOBM_openSession` on a new ticket (null when none could be made).
    AsyncTicket* OpenSessionAsync() override;
    /// `JOBM_closeSession`, open or not; its status.
    long CloseSession() override;
    /// A ticketed request completes: the session counts as open, whatever the state.
    void AsyncCompletion(AsyncTicket* ticket) override;

    /// The server's job count (0 when it cannot be read).
    int GetJobCount();
};

#endif // PIGMENTOR_BRIVELLE_JOBMANAGEMENT_H
