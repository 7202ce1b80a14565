#pragma once
/// Internal to the PrintCore library: the objects behind sessions, printers and tickets.

#include <PrintCore/PMCore.h>
#include <PrintCore/PMHost.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace pmprint {

// --- Sessions and printers -------------------------------------------------------------

/// Base of sessions and printers: a kind and a reference count. Objects are listed in a
/// process-wide registry while alive, and every call checks a pointer against it before use.
class Object {
public:
    enum class Kind { Session, Printer };
    explicit Object(Kind kind);
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    const Kind kind;
    long refs = 1; // guarded by the registry's lock
};

/// `object` when it is a live object of `kind`, else nullptr. Never dereferences a pointer
/// that is not in the registry.
Object* Find(const void* object, Object::Kind kind);
/// Adds a reference; false when `object` is not live.
bool Retain(const void* object);
/// Drops a reference and deletes the object at zero; false when `object` is not live.
bool Release(const void* object);

/// A printer: immutable once made. Owns its strings and URLs, and the temporary PPD file
/// downloaded for it, if any.
class Printer final : public Object {
public:
    Printer();
    ~Printer() override;

    CFStringRef id = nullptr;
    CFStringRef name = nullptr;
    CFStringRef makeAndModel = nullptr;
    CFURLRef ppd = nullptr;
    CFURLRef deviceURI = nullptr;
    bool supportsColor = false;
    std::string temporaryPPD; // deleted with the printer when not empty
};

/// A session: its data items (each key and value retained), its current printer (retained)
/// and the tickets designated in its data, of which it owns one reference each.
class Session final : public Object {
public:
    Session();
    ~Session() override;

    std::map<std::u16string, std::pair<CFStringRef, CFTypeRef>> data; // by key's text
    std::map<std::u16string, PMTicketRef> tickets;                    // by data key's text
    Printer* printer = nullptr;
    OSStatus error = noErr;
};

inline Printer* FindPrinter(PMPrinter p) {
    return static_cast<Printer*>(Find(p, Object::Kind::Printer));
}
inline Session* FindSession(PMPrintSession s) {
    return static_cast<Session*>(Find(s, Object::Kind::Session));
}

/// The text of a string, or empty for NULL.
std::u16string TextOf(CFStringRef string);

// --- Tickets ---------------------------------------------------------------------------

/// One item: key, client and value (all owned; the value an immutable property list).
struct TicketItem {
    CFStringRef key = nullptr;
    CFStringRef client = nullptr;
    CFTypeRef value = nullptr;
    bool locked = false;
};

/// A ticket: type, count, whole-ticket lock, items by key and sub-tickets by (type, index),
/// each holding one reference of its sub-ticket. Guarded by TicketLock().
struct Ticket {
    Ticket() = default;
    ~Ticket();
    Ticket(const Ticket&) = delete;
    Ticket& operator=(const Ticket&) = delete;

    CFStringRef type = nullptr;
    long refs = 1;
    bool locked = false;
    std::map<std::u16string, TicketItem> items;
    std::map<std::pair<std::u16string, UInt32>, PMTicketRef> subTickets;
};

/// The lock of every ticket. Held by each public ticket call for its whole duration.
std::mutex& TicketLock();
/// The live ticket `ref` names, or nullptr (lock held).
Ticket* FindTicket(PMTicketRef ref);
/// Lists a new ticket and returns its reference (lock held); nullptr when numbers ran out.
PMTicketRef AddTicket(std::unique_ptr<Ticket> ticket);
/// Drops one reference of `ref`, destroying it and its sub-tickets at zero (lock held).
void ReleaseTicket(PMTicketRef ref);
/// True when `inner` is `outer` or one of its sub-tickets at any depth (lock held).
bool TicketContains(PMTicketRef outer, PMTicketRef inner);
/// Stores an item, the checks done (lock held): `value` is deep-copied.
OSStatus StoreItem(Ticket& ticket, CFStringRef client, CFStringRef key, CFTypeRef value,
                   bool locked);
/// True for a key the ticket's bookkeeping reserves.
bool IsReservedKey(CFStringRef key);

/// The property list of a ticket's XML form (lock held; the caller releases it).
CFDictionaryRef TicketToPropertyList(const Ticket& ticket);
/// A new listed ticket from the property list of its XML form (lock held), or nullptr and a
/// reason.
PMTicketRef TicketFromPropertyList(CFTypeRef plist, std::string& error, int depth);

} // namespace pmprint
