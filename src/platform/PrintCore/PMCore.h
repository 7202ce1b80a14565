#pragma once
/// Print sessions and printers.
///
/// A print session carries what a print dialog and its extensions share: the current printer
/// and session data items, CF objects stored under string keys. The print system keeps its
/// tickets there as numbers: the data item "PMPrintSettingsTicket" (kPDE_PMPrintSettingsRef)
/// is a CFNumber (kCFNumberSInt32Type) holding the PMTicketRef of the session's print
/// settings ticket, and "PMPrinterInfoTicket" (kPDE_PMPrinterInfoRef) that of the printer
/// information ticket, which the session fills from its current printer and locks. Converting
/// the number back, (PMTicketRef)(intptr_t)number, gives a reference the ticket calls accept.
/// The session owns both tickets; they live as long as it does, or until it replaces them.
/// Other extensions may put any CF object under keys of their own; the session retains it.
///
/// A printer is an immutable description: its id (the queue name), its display name, the
/// file URL of its PPD, its device URI, make and model, and whether it prints colour. Hosts
/// make printers from a description or from a CUPS queue (PMHost.h). Session and printer
/// calls may come from any thread, but one object is not to be used by two threads at once.
/// "Get" results are not retained; "Copy" and "Create" results are released by the caller.

#include <PrintCore/PMDefinitions.h>
#include <PrintCore/PMTicket.h>

#ifdef __cplusplus
extern "C" {
#endif

/// Session data keys of the print settings and printer information tickets.
#define kPDE_PMPrintSettingsRef CFSTR("PMPrintSettingsTicket")
#define kPDE_PMPageFormatRef CFSTR("PMPageFormatTicket")
#define kPDE_PMJobTemplateRef CFSTR("PMJobTemplateTicket")
#define kPDE_PMPrinterInfoRef CFSTR("PMPrinterInfoTicket")

/// Adds a reference to a session or printer (kPMInvalidParameter for anything else).
OSStatus PMRetain(PMObject object);
/// Drops a reference; the last one destroys the object (kPMInvalidParameter for NULL).
OSStatus PMRelease(PMObject object);

/// A new session with an empty print settings ticket and no current printer.
OSStatus PMCreateSession(PMPrintSession* printSession);
/// The status recorded by the last failed call on the session, or set by PMSessionSetError.
OSStatus PMSessionError(PMPrintSession printSession);
/// Records a status on the session.
OSStatus PMSessionSetError(PMPrintSession printSession, OSStatus printError);
/// The data item under `key` (not retained); kPMKeyNotFound when there is none.
OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key, CFTypeRef* data);
/// Stores `data` (retained) under `key`, replacing any item; the two ticket keys are the
/// print system's and refused (kPMInvalidKey).
OSStatus PMSessionSetDataInSession(PMPrintSession printSession, CFStringRef key, CFTypeRef data);
/// The ticket designated by the number stored under `key` (not retained).
OSStatus PMSessionGetTicketFromSession(PMPrintSession session, CFStringRef key,
                                       PMTicketRef* theTicket);
/// The current printer (not retained); kPMInvalidPrinter when the session has none.
OSStatus PMSessionGetCurrentPrinter(PMPrintSession printSession, PMPrinter* currentPrinter);
/// Makes `printer` (retained) the current printer and rebuilds the printer information ticket.
OSStatus PMSessionSetCurrentPMPrinter(PMPrintSession session, PMPrinter printer);

/// The printer of CUPS queue `printerID` (the caller releases it), or NULL.
PMPrinter PMPrinterCreateFromPrinterID(CFStringRef printerID);
/// The display name (not retained).
CFStringRef PMPrinterGetName(PMPrinter printer);
/// The id: the queue name (not retained).
CFStringRef PMPrinterGetID(PMPrinter printer);
/// The make and model (not retained; NULL when unknown).
OSStatus PMPrinterGetMakeAndModelName(PMPrinter printer, CFStringRef* makeAndModel);
/// The URL of the printer's description file of `descriptionType`, which must be
/// kPMPPDDescriptionType; kPMNoSuchEntry when the printer has no PPD.
OSStatus PMPrinterCopyDescriptionURL(PMPrinter printer, CFStringRef descriptionType,
                                     CFURLRef* fileURL);
/// The device URI; kPMNoSuchEntry when the printer has none.
OSStatus PMPrinterCopyDeviceURI(PMPrinter printer, CFURLRef* deviceURI);

#ifdef __cplusplus
}
#endif
