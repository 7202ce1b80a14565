#pragma once
/// Job tickets: typed dictionaries of items that carry print settings and printer
/// information between the print system and its dialog extensions.
///
/// A ticket has a type (kPMPrintSettingsTicket, ...), a reference count (one at creation,
/// PMTicketRetain/PMTicketRelease), a whole-ticket lock set by the print system (a locked
/// ticket refuses every change with kPMTicketIsLocked), items and sub-tickets.
///
/// An item is a value stored under a string key, together with the client identifier of
/// whoever set it last and a locked flag. Values must be property-list objects (string,
/// number, boolean, data, date, array, dictionary); the ticket keeps an immutable deep copy,
/// so a caller may change what it passed in afterwards. Get calls return the stored object
/// without retaining it: it stays valid until the item is changed or removed, or the ticket
/// is destroyed. A locked item refuses to be set, deleted or released (kPMItemIsLocked) until
/// the client that locked it unlocks it. Keys beginning "com.apple.print.ticket." belong to
/// the ticket's own bookkeeping and are refused (kPMInvalidKey). Only the top level is
/// addressed: the node indexes of the get calls must be kPMTopLevel (else kPMInvalidIndex).
///
/// A ticket reference is a small number, not an address: the print system hands tickets to
/// extensions as 32-bit numbers in session data (see PMCore.h), and every call looks the
/// number up in a process-wide table under a lock. A released or made-up reference gives
/// kPMInvalidTicket; numbers are never reused. Calls may come from any thread.
///
/// The XML form (PMTicketToXML, the file calls) is an XML property list: a dictionary with
/// the ticket's type, API version and lock, each item as a dictionary holding its creator and
/// an array of one entry (the value under the item's key, the client, the locked state as
/// stateFlag 0 or 1), and the sub-tickets. Reading checks all of it and makes no ticket from
/// a document that is not one (kPMXMLParseError and a reason). Files are written atomically
/// and never through a symbolic link.

#include <PrintCore/PMDefinitions.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaquePMTicketRef* PMTicketRef;

/// Used as the item pointer of a get call to ask only whether the item exists.
#define kPMDontFetchItem NULL
/// The only node index supported: the ticket itself.
#define kPMTopLevel ((UInt32)0)

/// Ticket types.
#define kPMJobTicket CFSTR("com.apple.print.JobTicket")
#define kPMDocumentTicket CFSTR("com.apple.print.DocumentTicket")
#define kPMPageTicket CFSTR("com.apple.print.PageTicket")
#define kPMPageFormatTicket CFSTR("com.apple.print.PageFormatTicket")
#define kPMPrintSettingsTicket CFSTR("com.apple.print.PrintSettingsTicket")
#define kPMPrinterInfoTicket CFSTR("com.apple.print.PrinterInfoTicket")
#define kPMPaperInfoTicket CFSTR("com.apple.print.PaperInfoTicket")
#define kPMTicketList CFSTR("com.apple.print.TicketList")

/// Printer-information items that the print system fills from the current printer.
#define kPMPrinterInfoPrelude "com.apple.print.PrinterInfo."
#define kPMPrinterLongNameKey CFSTR(kPMPrinterInfoPrelude "PMPrinterLongName")
#define kPMMakeAndModelNameKey CFSTR(kPMPrinterInfoPrelude "PMMakeAndModelName")
#define kPMPrinterAddressKey CFSTR(kPMPrinterInfoPrelude "PMPrinterAddress")
#define kPMSupportsColorKey CFSTR(kPMPrinterInfoPrelude "PMSupportsColor")
#define kPMDescriptionFileKey CFSTR(kPMPrinterInfoPrelude "PMDescriptionFile")
#define kPMCompiledPPDKey CFSTR(kPMPrinterInfoPrelude "PMCompiledPPD")
/// Print-settings item of the number of copies.
#define kPMCopiesKey CFSTR("com.apple.print.PrintSettings.PMCopies")

// --- Life cycle -----------------------------------------------------------------------

/// A new, empty, unlocked ticket of `ticketType` with one reference.
OSStatus PMTicketCreate(CFAllocatorRef allocator, CFStringRef ticketType, PMTicketRef* newTicket);
/// A new ticket with the type, items and (copied) sub-tickets of `sourceTicket`, unlocked.
OSStatus PMTicketCopy(CFAllocatorRef allocator, PMTicketRef sourceTicket,
                      PMTicketRef* destinationTicket);
/// The reference count.
OSStatus PMTicketGetRetainCount(PMTicketRef ticket, CFIndex* retainCount);
/// Adds a reference.
OSStatus PMTicketRetain(PMTicketRef ticket);
/// Drops a reference; the last one destroys the ticket and releases its sub-tickets.
OSStatus PMTicketRelease(PMTicketRef ticket);
/// PMTicketRelease, then sets `*ticket` to NULL.
OSStatus PMTicketReleaseAndClear(PMTicketRef* ticket);
/// noErr for a live ticket, else kPMInvalidTicket.
OSStatus PMTicketConfirmTicket(PMTicketRef ticket);
/// Whether the print system locked the whole ticket.
OSStatus PMTicketGetLockedState(PMTicketRef ticket, Boolean* lockedState);
/// The ticket's type (not retained).
OSStatus PMTicketGetType(PMTicketRef ticket, CFStringRef* ticketType);
/// The version of the ticket format, "00.20" (not retained).
OSStatus PMTicketGetAPIVersion(PMTicketRef ticket, CFStringRef* apiVersion);

// --- XML form -------------------------------------------------------------------------

/// The XML form of the ticket (the caller releases it).
OSStatus PMTicketToXML(PMTicketRef ticket, CFDataRef* anXMLTicket);
/// A new ticket from its XML form (the binary property-list form is read too); on failure
/// kPMXMLParseError and, when asked, a reason (the caller releases it).
OSStatus PMXMLToTicket(CFAllocatorRef allocator, CFDataRef anXMLTicket, PMTicketRef* ticket,
                       CFStringRef* conversionError);
/// Writes the XML form to the file at `path`, replacing it (kPMWriteFailed on failure).
OSStatus PMTicketWriteXMLToFile(PMTicketRef ticket, const char* path);
/// Reads a ticket from the file at `path` (kPMOpenFailed, kPMReadFailed, kPMXMLParseError).
OSStatus PMTicketReadXMLFromFile(CFAllocatorRef allocator, const char* path, PMTicketRef* ticket,
                                 CFStringRef* errorString);
/// Writes the XML form to a file URL; only kCFPropertyListXMLFormat_v1_0 is supported.
OSStatus PMTicketToXMLURL(PMTicketRef ticket, CFURLRef anXMLFileURL, CFPropertyListFormat format,
                          CFStringRef* errorString);
/// Reads a ticket from a file URL; `*format` (when given) receives the form the file had.
OSStatus PMXMLURLToTicket(CFAllocatorRef allocator, CFURLRef anXMLURL, PMTicketRef* ticket,
                          CFPropertyListFormat* format, CFStringRef* errorString);

// --- Setting items (clientID and key must be non-empty strings) -----------------------

/// Sets any property-list value.
OSStatus PMTicketSetItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, CFTypeRef item,
                         Boolean locked);
/// Sets a string.
OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFStringRef item, Boolean locked);
/// Sets a string given as a NUL-terminated UTF-8 C string.
OSStatus PMTicketSetCString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            const char* value, Boolean locked);
/// Sets a number.
OSStatus PMTicketSetCFNumber(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFNumberRef item, Boolean locked);
/// Sets a 32-bit signed integer (a CFNumber).
OSStatus PMTicketSetSInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, SInt32 value,
                           Boolean locked);
/// Sets a 32-bit unsigned integer (a CFNumber, kept as SInt64).
OSStatus PMTicketSetUInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, UInt32 value,
                           Boolean locked);
/// Sets a double (a CFNumber).
OSStatus PMTicketSetDouble(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, double value,
                           Boolean locked);
/// Sets data.
OSStatus PMTicketSetCFData(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDataRef item, Boolean locked);
/// Sets data given as `size` bytes.
OSStatus PMTicketSetBytes(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                          const UInt8* data, UInt32 size, Boolean locked);
/// Sets a boolean object.
OSStatus PMTicketSetCFBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                              CFBooleanRef item, Boolean locked);
/// Sets a boolean (kCFBooleanTrue or kCFBooleanFalse).
OSStatus PMTicketSetBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            Boolean value, Boolean locked);
/// Sets a date.
OSStatus PMTicketSetCFDate(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDateRef item, Boolean locked);
/// Sets an array of property-list values.
OSStatus PMTicketSetCFArray(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            CFArrayRef item, Boolean locked);
/// Sets a dictionary of property-list values under string keys.
OSStatus PMTicketSetCFDictionary(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                 CFDictionaryRef item, Boolean locked);
/// Copies the item `key` of `sourceTicket` into `destTicket` under `clientID` and `locked`.
OSStatus PMTicketCopyItem(PMTicketRef sourceTicket, PMTicketRef destTicket, CFStringRef clientID,
                          CFStringRef key, Boolean locked);

// --- Item state -----------------------------------------------------------------------

/// Whether the item is locked (kPMKeyNotFound when there is none).
OSStatus PMTicketIsItemLocked(PMTicketRef ticket, CFStringRef key, Boolean* locked);
/// Locks the item; `clientID` becomes its client and the only one that may unlock it.
OSStatus PMTicketLockItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key);
/// Unlocks the item; kPMItemIsLocked when `clientID` is not the client that locked it.
OSStatus PMTicketUnlockItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key);
/// Removes an unlocked item (no history of it is kept).
OSStatus PMTicketDeleteItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key);
/// Removes an unlocked item.
OSStatus PMTicketReleaseItem(PMTicketRef ticket, CFStringRef key);

// --- Getting items (results not retained; see above) ----------------------------------

/// True when the ticket holds the item.
Boolean PMTicketContainsItem(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key);
/// The item of any type.
OSStatus PMTicketGetItem(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                         CFTypeRef* item);
/// The string item (kPMInvalidType for another type).
OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFStringRef* item);
/// The string in `encoding`, NUL-terminated, in a buffer of `bufferSize` bytes
/// (kPMStringConversionFailure when it does not fit or convert).
OSStatus PMTicketGetCString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, UInt32 bufferSize, CFStringEncoding encoding,
                            char* value);
/// The number item.
OSStatus PMTicketGetCFNumber(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFNumberRef* item);
/// The number as SInt32 (kPMInvalidValue when it does not fit exactly).
OSStatus PMTicketGetSInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, SInt32* value);
/// The number as UInt32 (kPMInvalidValue when it does not fit exactly).
OSStatus PMTicketGetUInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, UInt32* value);
/// The number as a double.
OSStatus PMTicketGetDouble(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, double* value);
/// The data item.
OSStatus PMTicketGetCFData(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDataRef* item);
/// The boolean item.
OSStatus PMTicketGetCFBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                              CFStringRef key, CFBooleanRef* item);
/// The boolean item as a Boolean.
OSStatus PMTicketGetBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, Boolean* value);
/// The date item.
OSStatus PMTicketGetCFDate(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDateRef* item);
/// The array item.
OSStatus PMTicketGetCFArray(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, CFArrayRef* item);
/// The dictionary item.
OSStatus PMTicketGetCFDictionary(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                 CFStringRef key, CFDictionaryRef* item);

// --- Sub-tickets ----------------------------------------------------------------------

/// Stores `ticketToAdd` (retained) as the sub-ticket of its type at `index`, replacing any;
/// kPMInvalidSubTicket when that would put a ticket inside itself.
OSStatus PMTicketSetTicket(PMTicketRef ticket, PMTicketRef ticketToAdd, UInt32 index);
/// Whether a sub-ticket of `requestedType` exists at `index`.
OSStatus PMTicketContainsTicket(PMTicketRef ticket, CFStringRef requestedType, UInt32 index,
                                Boolean* exists);
/// The sub-ticket of `requestedType` at `index` (not retained); kPMSubTicketNotFound if none.
OSStatus PMTicketGetTicket(PMTicketRef ticket, CFStringRef requestedType, UInt32 index,
                           PMTicketRef* retrievedTicket);
/// Removes (and releases) the sub-ticket of `typeToRemove` at `index`.
OSStatus PMTicketRemoveTicket(PMTicketRef ticket, CFStringRef typeToRemove, UInt32 index);

#ifdef __cplusplus
}
#endif
