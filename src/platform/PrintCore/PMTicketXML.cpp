/// The XML form of tickets: conversion to and from property lists, and the file calls.

#include "PMInternal.h"

#include <CoreFoundation/PMCFUtilities.h>

#include <climits>
#include <cstring>
#include <vector>

using namespace pmprint;

namespace {

using Guard = std::lock_guard<std::mutex>;

#define TICKET_KEY(name) CFSTR("com.apple.print.ticket." name)
const CFStringRef kTypeKey = TICKET_KEY("type");
const CFStringRef kVersionKey = TICKET_KEY("APIVersion");
const CFStringRef kLockKey = TICKET_KEY("privateLock");
const CFStringRef kSubTicketsKey = TICKET_KEY("subTickets");
const CFStringRef kIndexKey = TICKET_KEY("index");
const CFStringRef kTicketKey = TICKET_KEY("ticket");
const CFStringRef kCreatorKey = TICKET_KEY("creator");
const CFStringRef kItemArrayKey = TICKET_KEY("itemArray");
const CFStringRef kClientKey = TICKET_KEY("client");
const CFStringRef kStateKey = TICKET_KEY("stateFlag");

// Sub-tickets nest no deeper than this, both ways.
constexpr int kMaxNesting = 32;

CFMutableDictionaryRef NewDictionary() {
    return CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

CFNumberRef NewNumber(SInt64 value) {
    return CFNumberCreate(nullptr, kCFNumberSInt64Type, &value);
}

// Sets `key` to `value` in `dict` and releases `value`.
void Put(CFMutableDictionaryRef dict, CFStringRef key, CFTypeRef value) {
    CFDictionarySetValue(dict, key, value);
    CFRelease(value);
}

CFDictionaryRef ItemToPropertyList(const TicketItem& item) {
    CFMutableDictionaryRef entry = NewDictionary();
    CFDictionarySetValue(entry, item.key, item.value);
    CFDictionarySetValue(entry, kClientKey, item.client);
    Put(entry, kStateKey, NewNumber(item.locked ? 1 : 0));
    CFMutableArrayRef entries = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    CFArrayAppendValue(entries, entry);
    CFRelease(entry);
    CFMutableDictionaryRef out = NewDictionary();
    CFDictionarySetValue(out, kCreatorKey, item.client);
    Put(out, kItemArrayKey, entries);
    return out;
}

CFDictionaryRef ToPropertyList(const Ticket& ticket, int depth) {
    if (depth > kMaxNesting)
        return nullptr;
    CFMutableDictionaryRef out = NewDictionary();
    for (const auto& entry : ticket.items)
        Put(out, entry.second.key, ItemToPropertyList(entry.second));
    Put(out, kVersionKey, CFStringCreateCopy(nullptr, CFSTR("00.20")));
    CFDictionarySetValue(out, kLockKey, ticket.locked ? kCFBooleanTrue : kCFBooleanFalse);
    if (!ticket.subTickets.empty()) {
        CFMutableArrayRef subs = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
        for (const auto& sub : ticket.subTickets) {
            const Ticket* s = FindTicket(sub.second);
            CFDictionaryRef inner = s ? ToPropertyList(*s, depth + 1) : nullptr;
            if (inner == nullptr) {
                CFRelease(subs);
                CFRelease(out);
                return nullptr;
            }
            CFMutableDictionaryRef slot = NewDictionary();
            Put(slot, kIndexKey, NewNumber(sub.first.second));
            Put(slot, kTicketKey, inner);
            CFArrayAppendValue(subs, slot);
            CFRelease(slot);
        }
        Put(out, kSubTicketsKey, subs);
    }
    CFDictionarySetValue(out, kTypeKey, ticket.type);
    return out;
}

template <class T> const T* As(CFTypeRef value, CFTypeID type) {
    return CFGetTypeID(value) == type ? static_cast<const T*>(value) : nullptr;
}

/// Builds a ticket from a parsed XML form; every fault is reported, nothing half made kept.
class Loader {
public:
    explicit Loader(std::string& error) : error_(error) {}

    PMTicketRef load(CFTypeRef plist, int depth) {
        CFDictionaryRef root = static_cast<CFDictionaryRef>(plist);
        if (CFGetTypeID(root) != CFDictionaryGetTypeID())
            return fail("the root is not a dictionary");
        if (depth > kMaxNesting)
            return fail("sub-tickets nested too deeply");
        CFTypeRef type = CFDictionaryGetValue(root, kTypeKey);
        if (CFGetTypeID(type) != CFStringGetTypeID() ||
            CFStringGetLength(static_cast<CFStringRef>(type)) == 0)
            return fail("the ticket has no type");
        auto ticket = std::make_unique<Ticket>();
        ticket->type = CFStringCreateCopy(nullptr, static_cast<CFStringRef>(type));
        CFTypeRef lock = CFDictionaryGetValue(root, kLockKey);
        if (lock && CFGetTypeID(lock) != CFBooleanGetTypeID())
            return discard(std::move(ticket), "the ticket lock is not a boolean");
        ticket->locked = CFBooleanGetValue(static_cast<CFBooleanRef>(lock));

        CFIndex count = CFDictionaryGetCount(root);
        std::vector<const void*> keys(count), values(count);
        CFDictionaryGetKeysAndValues(root, keys.data(), values.data());
        for (CFIndex i = 0; i < count; ++i) {
            CFStringRef key = static_cast<CFStringRef>(keys[i]);
            bool ok = true;
            if (CFEqual(key, kSubTicketsKey))
                ok = subTickets(*ticket, values[i], depth);
            else if (!IsReservedKey(key))
                ok = item(*ticket, key, values[i]);
            // Other bookkeeping keys (such as modification dates) carry nothing needed here.
            if (!ok)
                return discard(std::move(ticket), nullptr);
        }
        PMTicketRef ref = AddTicket(std::move(ticket));
        return ref ? ref : fail("out of ticket numbers");
    }

private:
    PMTicketRef fail(const char* reason) {
        if (error_.empty())
            error_ = reason;
        return nullptr;
    }

    bool reject(const char* reason) {
        fail(reason);
        return false;
    }

    // Drops a ticket that was never listed, with the sub-tickets it holds a reference of.
    PMTicketRef discard(std::unique_ptr<Ticket> ticket, const char* reason) {
        for (auto& sub : ticket->subTickets)
            ReleaseTicket(sub.second);
        return reason ? fail(reason) : nullptr;
    }

    bool item(Ticket& ticket, CFStringRef key, CFTypeRef value) {
        const CFDictionaryRef wrapper = static_cast<CFDictionaryRef>(value);
        CFArrayRef entries =
            static_cast<CFArrayRef>(CFGetTypeID(wrapper) == CFDictionaryGetTypeID()
                                        ? CFDictionaryGetValue(wrapper, kItemArrayKey)
                                        : nullptr);
        if (CFGetTypeID(entries) != CFArrayGetTypeID() || CFArrayGetCount(entries) == 0)
            return reject("an item has no entries");
        // The last entry is the item's current state; earlier ones are its history.
        CFDictionaryRef entry = static_cast<CFDictionaryRef>(
            CFArrayGetValueAtIndex(entries, CFArrayGetCount(entries) - 1));
        CFTypeRef stored = CFGetTypeID(entry) == CFDictionaryGetTypeID()
                               ? CFDictionaryGetValue(entry, key)
                               : nullptr;
        if (stored == nullptr)
            return reject("an item entry has no value");
        CFTypeRef client = CFDictionaryGetValue(entry, kClientKey);
        if (client == nullptr)
            client = CFDictionaryGetValue(wrapper, kCreatorKey);
        if (CFGetTypeID(client) != CFStringGetTypeID() ||
            CFStringGetLength(static_cast<CFStringRef>(client)) == 0)
            return reject("an item has no client");
        SInt64 state = 0;
        CFTypeRef flag = CFDictionaryGetValue(entry, kStateKey);
        if (flag &&
            (CFGetTypeID(flag) != CFNumberGetTypeID() ||
             !CFNumberGetValue(static_cast<CFNumberRef>(flag), kCFNumberSInt64Type, &state) ||
             (state != 0 && state != 1)))
            return reject("an item's state is not 0 or 1");
        if (StoreItem(ticket, static_cast<CFStringRef>(client), key, stored, state == 1) != noErr)
            return reject("an item's value is not a property list");
        return true;
    }

    bool subTickets(Ticket& ticket, CFTypeRef value, int depth) {
        CFArrayRef slots = static_cast<CFArrayRef>(value);
        if (CFGetTypeID(slots) != CFArrayGetTypeID())
            return reject("sub-tickets are not an array");
        for (CFIndex i = 0; i < CFArrayGetCount(slots); ++i) {
            CFDictionaryRef slot = static_cast<CFDictionaryRef>(CFArrayGetValueAtIndex(slots, i));
            if (CFGetTypeID(slot) != CFDictionaryGetTypeID())
                return reject("a sub-ticket entry is not a dictionary");
            CFTypeRef number = CFDictionaryGetValue(slot, kIndexKey);
            SInt64 index = -1;
            if (CFGetTypeID(number) != CFNumberGetTypeID() ||
                !CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt64Type, &index) ||
                index < 0 || index > SInt64(UINT32_MAX))
                return reject("a sub-ticket index is not a 32-bit number");
            PMTicketRef sub = load(CFDictionaryGetValue(slot, kTicketKey), depth + 1);
            if (sub == nullptr)
                return false;
            auto key = std::make_pair(TextOf(FindTicket(sub)->type), UInt32(index));
            if (!ticket.subTickets.emplace(key, sub).second) {
                ReleaseTicket(sub);
                return reject("two sub-tickets share a type and index");
            }
        }
        return true;
    }

    std::string& error_;
};

CFStringRef Reason(const std::string& text) {
    return PMCFStringCreateWithUTF8(text);
}

CFURLRef URLForPath(const char* path) {
    return CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path),
                                                   CFIndex(std::strlen(path)), false);
}

} // namespace

namespace pmprint {

CFDictionaryRef TicketToPropertyList(const Ticket& ticket) {
    return ToPropertyList(ticket, 0);
}

PMTicketRef TicketFromPropertyList(CFTypeRef plist, std::string& error, int depth) {
    return Loader(error).load(plist, depth);
}

} // namespace pmprint

extern "C" {

OSStatus PMTicketToXML(PMTicketRef ticket, CFDataRef* anXMLTicket) {
    if (anXMLTicket == nullptr)
        return kPMInvalidParameter;
    *anXMLTicket = nullptr;
    CFDictionaryRef plist = nullptr;
    {
        Guard guard(TicketLock());
        const Ticket* t = FindTicket(ticket);
        if (t == nullptr)
            return kPMInvalidTicket;
        plist = TicketToPropertyList(*t);
    }
    if (plist == nullptr)
        return kPMInvalidSubTicket;
    *anXMLTicket = CFPropertyListCreateXMLData(nullptr, plist);
    CFRelease(plist);
    return *anXMLTicket ? OSStatus(noErr) : OSStatus(kPMAllocationFailure);
}

OSStatus PMXMLToTicket(CFAllocatorRef, CFDataRef anXMLTicket, PMTicketRef* ticket,
                       CFStringRef* conversionError) {
    if (conversionError)
        *conversionError = nullptr;
    if (ticket == nullptr)
        return kPMInvalidParameter;
    *ticket = nullptr;
    CFStringRef parseError = nullptr;
    CFPropertyListRef plist = CFPropertyListCreateFromXMLData(
        nullptr, anXMLTicket, kCFPropertyListImmutable, conversionError ? &parseError : nullptr);
    if (plist == nullptr) {
        if (conversionError)
            *conversionError = parseError;
        return kPMXMLParseError;
    }
    std::string error;
    {
        Guard guard(TicketLock());
        *ticket = TicketFromPropertyList(plist, error, 0);
    }
    CFRelease(plist);
    if (*ticket)
        return noErr;
    if (conversionError)
        *conversionError = Reason(error);
    return kPMXMLParseError;
}

OSStatus PMTicketToXMLURL(PMTicketRef ticket, CFURLRef anXMLFileURL, CFPropertyListFormat format,
                          CFStringRef* errorString) {
    if (errorString)
        *errorString = nullptr;
    if (anXMLFileURL == nullptr || format != kCFPropertyListXMLFormat_v1_0)
        return kPMInvalidParameter;
    CFDataRef xml = nullptr;
    if (OSStatus status = PMTicketToXML(ticket, &xml))
        return status;
    SInt32 error = 0;
    bool written = CFURLWriteDataAndPropertiesToResource(anXMLFileURL, xml, nullptr, &error);
    CFRelease(xml);
    if (written)
        return noErr;
    if (errorString)
        *errorString = CFStringCreateWithFormat(
            nullptr, nullptr, CFSTR("the file could not be written (%d)"), int(error));
    return kPMWriteFailed;
}

OSStatus PMXMLURLToTicket(CFAllocatorRef allocator, CFURLRef anXMLURL, PMTicketRef* ticket,
                          CFPropertyListFormat* format, CFStringRef* errorString) {
    if (errorString)
        *errorString = nullptr;
    if (ticket == nullptr || anXMLURL == nullptr)
        return kPMInvalidParameter;
    *ticket = nullptr;
    CFDataRef xml = nullptr;
    SInt32 error = 0;
    if (!CFURLCreateDataAndPropertiesFromResource(nullptr, anXMLURL, &xml, nullptr, nullptr,
                                                  &error)) {
        if (errorString)
            *errorString = CFStringCreateWithFormat(
                nullptr, nullptr, CFSTR("the file could not be read (%d)"), int(error));
        return error == kCFURLUnknownError ? kPMReadFailed : kPMOpenFailed;
    }
    OSStatus status = PMXMLToTicket(allocator, xml, ticket, errorString);
    // The reader takes the binary form as well; tell the caller which one the file had.
    const bool binary = CFDataGetLength(xml) >= 6 &&
                        std::memcmp(CFDataGetBytePtr(xml), "bplist", 6) == 0;
    CFRelease(xml);
    if (status == noErr && format)
        *format = binary ? kCFPropertyListBinaryFormat_v1_0 : kCFPropertyListXMLFormat_v1_0;
    return status;
}

OSStatus PMTicketWriteXMLToFile(PMTicketRef ticket, const char* path) {
    if (path == nullptr || *path == '\0')
        return kPMInvalidParameter;
    CFURLRef url = URLForPath(path);
    if (url == nullptr)
        return kPMInvalidParameter;
    OSStatus status = PMTicketToXMLURL(ticket, url, kCFPropertyListXMLFormat_v1_0, nullptr);
    CFRelease(url);
    return status;
}

OSStatus PMTicketReadXMLFromFile(CFAllocatorRef allocator, const char* path, PMTicketRef* ticket,
                                 CFStringRef* errorString) {
    if (errorString)
        *errorString = nullptr;
    if (ticket)
        *ticket = nullptr;
    if (path == nullptr || *path == '\0')
        return kPMInvalidParameter;
    CFURLRef url = URLForPath(path);
    if (url == nullptr)
        return kPMInvalidParameter;
    OSStatus status = PMXMLURLToTicket(allocator, url, ticket, nullptr, errorString);
    CFRelease(url);
    return status;
}

} // extern "C"
