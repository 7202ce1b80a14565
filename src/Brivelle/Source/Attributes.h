//===- Attributes.h - The server's attribute service ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_ATTRIBUTES_H
#define PIGMENTOR_BRIVELLE_ATTRIBUTES_H

#include "SessionBasedClass.h"

#include <CoreFoundation/CoreFoundation.h>

/// The server's attribute service: named attributes per scope (a device index, or -1 for the
/// server), read as the first value's text, a localised text or a decimal number.
///
/// Ownership: owned by the device that reads through it, which opens the session when it is
/// made and closes it before deleting it. Attribute names are ASCII; values are zero-terminated
/// texts of the server. CFString results are new (the caller releases them).
class Attributes : public SessionBasedClass {
public:
    explicit Attributes(Brivelle* owner);
    /// Closes a session that is still open.
    ~Attributes() override;

    /// Opens the session through a ticket and waits; the ticket's result, -1 without a ticket.
    long OpenSession() override;
    /// Starts `ATTR_openSession` on a new ticket (null when none could be made).
    AsyncTicket* OpenSessionAsync() override;
    /// `ATTR_closeSession`, open or not; its status.
    long CloseSession() override;
    /// A pending open completes: the session counts as open.
    void AsyncCompletion(AsyncTicket* ticket) override;

    /// The first value of `name` in `scope`; with `localise`, its text localised within the
    /// attribute name's context when the server has one. Null when the attribute is missing.
    CFStringRef GetAttributeSingleAsCFString(const char* name, int scope, bool localise);
    /// The decimal value of the first value of `name` in `scope`; 0 when there is none.
    int GetAttributeSingleAsInt(const char* name, int scope);
    /// The number of input trays of device `scope` ("vidInputNumOfTrays").
    int GetTrayCount(int scope);
    /// Diagnostic: writes every attribute of `scope` as "key\t\tvalue" to the debug console.
    void CheckScopes(int scope);
    /// After the owner connected anew: a session opened over an earlier handle is closed and
    /// opened again over the current one.
    void Rebind();

private:
    /// The handle the session was last opened over.
    tovrane_server* mBoundTo = nullptr;
};

#endif // PIGMENTOR_BRIVELLE_ATTRIBUTES_H
