//===- SetupPPD.h - The PPD model of the current printer --------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_SETUPPPD_H
#define PIGMENTOR_PDE_SETUPPPD_H

#include <PrintCore/PMCore.h>

class QRVPPD;

/// Parses the current printer's PPD (parse options 3: orphans and hidden elements kept) when
/// its *PCFileName is one that the bundle `identifier`'s PrinterList.plist accepts. Returns a
/// new model holding one reference (the caller releases it with QRVPPD::Release), or null when
/// the printer has no PPD file, the bundle or its printer list is missing, the name is not
/// accepted or the PPD is not valid. Main thread (it reads the cached plug-in bundle).
QRVPPD* SetupPPD(PMPrintSession session, CFStringRef identifier);

#endif // PIGMENTOR_PDE_SETUPPPD_H
