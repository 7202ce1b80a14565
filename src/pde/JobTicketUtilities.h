//===- JobTicketUtilities.h - Ticket look-up and job-ticket files -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_JOBTICKETUTILITIES_H
#define PIGMENTOR_PDE_JOBTICKETUTILITIES_H

#include <PrintCore/PMCore.h>

/// Helpers of the job tickets: finding a session's ticket, naming and writing the job-ticket
/// file that the print server's filter reads. Any thread.

/// The size of the path buffer that CreateRandomFileName fills, terminator included.
enum { kJobTicketPathSize = 256 };

/// A new string (the caller releases it): `prefix` (may be null) followed by a new random UUID
/// in its standard upper-case form. When `path` is given (kJobTicketPathSize bytes) it receives
/// the same text in UTF-8, NUL-terminated. Null (and an empty `path`) when it cannot be made or
/// does not fit.
CFStringRef CreateRandomFileName(const char* prefix, char* path);
/// `*ticket` = the ticket designated by the 32-bit number stored in the session under `key`;
/// kPMInvalidValue (-30889) when the item is no such number, the session's status when there
/// is no item, paramErr without `ticket`.
OSStatus MyGetTicket(PMPrintSession session, CFStringRef key, PMTicketRef* ticket);
/// Creates the new file `path` (never an existing one, never through a symbolic link), writes
/// `data` and gives it mode `mode` whatever the umask. On failure nothing is left behind and
/// the status is the errno-based reason (dupFNErr when the name exists, ioErr otherwise).
OSStatus WriteNewFile(const char* path, CFDataRef data, unsigned mode);

#endif // PIGMENTOR_PDE_JOBTICKETUTILITIES_H
