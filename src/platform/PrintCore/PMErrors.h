#pragma once
/// Status codes of the print system, with the platform's values. Every PrintCore call returns
/// one of these (or a Carbon code such as paramErr or memFullErr); nothing is thrown.

#include <CarbonCore/MacErrors.h>

enum {
    kPMNoError = noErr,
    kPMGeneralError = -30870,       ///< internal printing error
    kPMOutOfScope = -30871,         ///< the call is out of scope
    kPMInvalidParameter = paramErr, ///< a required parameter is missing or invalid
    kPMNoDefaultPrinter = -30872,   ///< no default printer
    kPMNotImplemented = -30873,     ///< this call is not supported
    kPMNoSuchEntry = -30874,        ///< no such entry (e.g. a printer without a PPD)
    kPMInvalidPrintSettings = -30875,
    kPMInvalidPageFormat = -30876,
    kPMValueOutOfRange = -30877,
    kPMLockIgnored = -30878,
    kPMInvalidPrintSession = -30879, ///< not a live print session
    kPMInvalidPrinter = -30880,      ///< not a live printer
    kPMObjectInUse = -30881,
};

// General codes shared by the printing modules.
enum {
    kPMAllocationFailure = memFullErr,
    kPMInternalError = kPMGeneralError,
    kPMInvalidIndex = -30882,            ///< an index other than kPMTopLevel, or out of range
    kPMStringConversionFailure = -30883, ///< a string does not fit or convert
    kPMXMLParseError = -30884,           ///< XML that is not a ticket
    kPMInvalidJobTemplate = -30885,
    kPMInvalidPrinterInfo = -30886,
    kPMInvalidConnection = -30887,
    kPMInvalidKey = -30888,   ///< NULL, empty or reserved ticket key
    kPMInvalidValue = -30889, ///< a value that cannot be converted as asked
    kPMInvalidAllocator = -30890,
    kPMInvalidTicket = -30891, ///< not a live ticket
    kPMInvalidItem = -30892,   ///< a NULL item
    kPMInvalidType = -30893,   ///< the item is of another type than asked
    kPMInvalidReply = -30894,
    kPMInvalidFileType = -30895,
    kPMInvalidObject = -30896,
};

// Printing dialog extensions.
enum {
    kPMNoDefaultItem = -9500,
    kPMNoDefaultSettings = -9501,
    kPMInvalidPDEContext = -9530, ///< invalid printing dialog extension context
    kPMDontSwitchPDEError = -9531,
    kPMUnableToFindProcess = -9532,
};

// Job tickets.
enum {
    kPMTicketTypeNotFound = -9580,
    kPMUpdateTicketFailed = -9581,
    kPMValidateTicketFailed = -9582,
    kPMSubTicketNotFound = -9583, ///< no sub-ticket of that type and index
    kPMInvalidSubTicket = -9584,  ///< the sub-ticket cannot be added (it would make a cycle)
    kPMDeleteSubTicketFailed = -9585,
    kPMItemIsLocked = -9586,   ///< the item is locked
    kPMTicketIsLocked = -9587, ///< the ticket is locked
    kPMTemplateIsLocked = -9588,
    kPMKeyNotFound = -9589, ///< no item (or session data) under the key
    kPMKeyNotUnique = -9590,
    kPMUnknownDataType = -9591, ///< the value is not a property-list type
};

// Print servers, queues and I/O.
enum {
    kPMCreateMessageFailed = -9620,
    kPMServerCommunicationFailed = -9621, ///< the print server could not be reached
    kPMKeyOrValueNotFound = -9623,
    kPMMessagingError = -9624,
    kPMServerNotFound = -9630,
    kPMQueueNotFound = -9638, ///< the print server has no such queue
    kPMOpenFailed = -9781,    ///< a file could not be opened
    kPMReadFailed = -9782,    ///< a file could not be read
    kPMWriteFailed = -9783,   ///< a file could not be written
};
