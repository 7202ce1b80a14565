//===- JobTicket.h - Typed items of a print-system ticket -------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_JOBTICKET_H
#define PIGMENTOR_PDE_JOBTICKET_H

#include <PrintCore/PMCore.h>

/// Reads and writes typed top-level items of one print-system ticket: either a new ticket that
/// this object creates and releases, or a ticket of a print session, which the session owns.
///
/// Every operation stores its status (LastStatus) and returns it; without a ticket each
/// returns kPMInvalidTicket (-30891) and does nothing. Items read are not retained: they stay
/// valid until the item changes or the ticket goes. Item values come from other extensions
/// and are checked for their type. The session, when given, must outlive this object. One
/// thread at a time.
class JobTicket {
public:
    /// A new ticket of `ticketType`, owned; valid when it was created.
    explicit JobTicket(CFStringRef ticketType);
    /// The print settings ticket of `session` (not owned); valid whenever a session is given.
    explicit JobTicket(PMPrintSession session);
    JobTicket(const JobTicket&) = delete;
    JobTicket& operator=(const JobTicket&) = delete;
    virtual ~JobTicket();

    /// The session data item `key` as a 32-bit number; a missing item, another type or the
    /// value 0 gives kPMInvalidPrintSettings (-30875).
    OSStatus Get(CFStringRef key, long& value);
    /// The data item `key` of the ticket (null first; null unless it is data).
    OSStatus Get(CFStringRef key, CFDataRef& value);
    /// The string item `key` (null first).
    OSStatus Get(CFStringRef key, CFStringRef& value);
    /// The dictionary item `key` (null first).
    OSStatus Get(CFStringRef key, CFDictionaryRef& value);
    /// The number item `key` as a 32-bit integer (0 first).
    OSStatus GetInt(CFStringRef key, long& value);
    /// Sets the item `key` for client `clientID`.
    OSStatus Set(CFStringRef clientID, CFStringRef key, CFArrayRef value, bool locked);
    OSStatus Set(CFStringRef clientID, CFStringRef key, CFStringRef value, bool locked);
    OSStatus Set(CFStringRef clientID, CFStringRef key, CFDataRef value, bool locked);
    OSStatus Set(CFStringRef clientID, CFStringRef key, CFDictionaryRef value, bool locked);
    /// Sets a 32-bit integer; values outside that range give paramErr.
    OSStatus Set(CFStringRef clientID, CFStringRef key, long value, bool locked);
    /// Removes the unlocked item `key`.
    OSStatus Release(CFStringRef key);

    bool Valid() const { return mValid; }
    OSStatus LastStatus() const { return mLastStatus; }
    /// The ticket (not retained), or null.
    PMTicketRef Ticket() const { return mTicket; }
    /// The session, or null for a free-standing ticket.
    PMPrintSession Session() const { return mSession; }

protected:
    /// The ticket of `session` designated by its data item `sessionKey` (not owned); valid
    /// when it was found.
    JobTicket(PMPrintSession session, CFStringRef sessionKey);
    /// Stores and returns `status`.
    OSStatus Record(OSStatus status) { return mLastStatus = status; }

    PMPrintSession mSession = nullptr;
    PMTicketRef mTicket = nullptr;
    bool mOwnsTicket = false;
    OSStatus mLastStatus = noErr;
    bool mValid = false;
};

#endif // PIGMENTOR_PDE_JOBTICKET_H
