//===- PrintSettingsTicket.cpp - A session's print settings ticket --------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PrintSettingsTicket.h"

PrintSettingsTicket::PrintSettingsTicket(PMPrintSession session)
    : JobTicket(session, kPDE_PMPrintSettingsRef) {}
