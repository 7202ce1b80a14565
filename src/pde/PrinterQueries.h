//===- PrinterQueries.h - The session's current printer ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PRINTERQUERIES_H
#define PIGMENTOR_PDE_PRINTERQUERIES_H

#include <CarbonCore/Files.h>
#include <PrintCore/PMCore.h>

/// Questions about the current printer of a print session: its name, its PPD file and how it
/// is connected. A null or stale session is answered with null or a status, never followed.
/// "Get" results are not retained; "Copy" results are released by the caller.

/// The current printer's display name (not retained), or null.
CFStringRef GetCurrentPrinterName(PMPrintSession session);
/// `url` = the current printer's PPD file (the caller releases it) and `ref` its file
/// reference; fnfErr (-43) when the file cannot be referenced, else the print system's
/// status. On any failure `url` is null.
OSStatus GetPPDFile(PMPrintSession session, CFURLRef& url, FSRef& ref);
/// The scheme of the current printer's device URI ("usb", "ipp", ...), or null.
CFStringRef CopyPrinterConnectionType(PMPrintSession session);
/// The device URI's scheme is exactly "usb" (case-sensitive).
bool isUSBPrinterConnection(PMPrintSession session);
/// The device URI's scheme is exactly "pap".
bool isAppleTalkPrinterConnection(PMPrintSession session);
/// The device URI's scheme is exactly "ipp".
bool isIPPrinterConnection(PMPrintSession session);

#endif // PIGMENTOR_PDE_PRINTERQUERIES_H
