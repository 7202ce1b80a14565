#pragma once
/// What the print dialog host does to set a session up (not part of the platform's API; on
/// the platform the print dialog itself does this).
///
/// A printer comes from a description given by the host (name, PPD file, device URI) or from
/// a CUPS queue. Reading a queue asks the CUPS server named by the usual client settings
/// (CUPS_SERVER, client.conf) for the destination and downloads its PPD into a temporary
/// file, which the printer owns and deletes when it is destroyed. A server that cannot be
/// reached, or a queue it does not have, is answered with a status; nothing waits forever
/// beyond the connection time-out.

#include <PrintCore/PMCore.h>

#ifdef __cplusplus
extern "C" {
#endif

/// A printer as the host describes it. Only `name` is required.
typedef struct {
    CFStringRef name;         ///< display name
    CFStringRef printerID;    ///< queue name; NULL: the name
    CFStringRef ppdPath;      ///< file-system path of the PPD file, or NULL
    CFStringRef deviceURI;    ///< device URI text ("ipp://host/printers/q"), or NULL
    CFStringRef makeAndModel; ///< or NULL
    Boolean supportsColor;
} PMHostPrinterDescription;

/// A printer from `description` (the caller releases it); kPMInvalidParameter without a name,
/// or for a path or URI that cannot be made into a URL.
OSStatus PMHostCreatePrinter(const PMHostPrinterDescription* description, PMPrinter* printer);
/// A printer from CUPS queue `queueName` (NULL: the default destination); the caller releases
/// it. kPMServerNotFound when no CUPS server accepts a connection within 10 seconds,
/// kPMQueueNotFound (kPMNoDefaultPrinter for NULL) when it has no such queue,
/// kPMServerCommunicationFailed when it fails otherwise or the PPD cannot be fetched. A queue
/// without a PPD gives a printer without one.
OSStatus PMHostCreatePrinterFromQueue(CFStringRef queueName, PMPrinter* printer);
/// A new session (PMCreateSession) whose current printer is `printer`.
OSStatus PMHostCreateSession(PMPrinter printer, PMPrintSession* session);
/// Makes `ticket` (retained) the session's ticket under `key` (kPDE_PMPrintSettingsRef, for
/// example with a ticket read from the user's saved settings), releasing the one it replaces.
OSStatus PMHostSetSessionTicket(PMPrintSession session, CFStringRef key, PMTicketRef ticket);
/// Locks or unlocks the whole ticket, as the print system does with printer information.
OSStatus PMHostSetTicketLocked(PMTicketRef ticket, Boolean locked);

#ifdef __cplusplus
}
#endif
