//===- PrintSettingsTicket.h - A session's print settings ticket -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PRINTSETTINGSTICKET_H
#define PIGMENTOR_PDE_PRINTSETTINGSTICKET_H

#include "JobTicket.h"

/// The print settings ticket of a print session (owned by the session, which must outlive
/// this object): the session data item "PMPrintSettingsTicket". Valid when it was found.
class PrintSettingsTicket : public JobTicket {
public:
    explicit PrintSettingsTicket(PMPrintSession session);
    ~PrintSettingsTicket() override = default;
};

#endif // PIGMENTOR_PDE_PRINTSETTINGSTICKET_H
