/// The ticket calls: life cycle, items and sub-tickets. Each call holds the ticket lock for
/// its whole duration, so a call sees and leaves every ticket consistent.

#include "PMInternal.h"

#include <cmath>
#include <cstdint>

using namespace pmprint;

namespace {

using Guard = std::lock_guard<std::mutex>;

bool IsText(CFStringRef s) {
    return CFGetTypeID(s) == CFStringGetTypeID() && CFStringGetLength(s) > 0;
}

// The checks every change of an item makes, in the order the statuses rank.
OSStatus CheckChange(const Ticket* t, CFStringRef client, CFStringRef key) {
    if (t == nullptr)
        return kPMInvalidTicket;
    if (t->locked)
        return kPMTicketIsLocked;
    if (!IsText(key) || IsReservedKey(key))
        return kPMInvalidKey;
    return IsText(client) ? OSStatus(noErr) : OSStatus(kPMInvalidParameter);
}

OSStatus Set(PMTicketRef ref, CFStringRef client, CFStringRef key, CFTypeRef value,
             Boolean locked) {
    Guard guard(TicketLock());
    Ticket* t = FindTicket(ref);
    if (OSStatus status = CheckChange(t, client, key))
        return status;
    if (value == nullptr)
        return kPMInvalidItem;
    auto found = t->items.find(TextOf(key));
    if (found != t->items.end() && found->second.locked)
        return kPMItemIsLocked;
    return StoreItem(*t, client, key, value, locked);
}

// Set with a value made for the call, which is released afterwards.
OSStatus SetMade(PMTicketRef ref, CFStringRef client, CFStringRef key, CFTypeRef made,
                 Boolean locked) {
    if (made == nullptr)
        return kPMAllocationFailure;
    OSStatus status = Set(ref, client, key, made, locked);
    CFRelease(made);
    return status;
}

// The stored value of an item (lock held by the caller).
OSStatus Lookup(PMTicketRef ref, UInt32 node1, UInt32 node2, CFStringRef key, CFTypeRef& value) {
    Ticket* t = FindTicket(ref);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (node1 != kPMTopLevel || node2 != kPMTopLevel)
        return kPMInvalidIndex;
    if (!IsText(key))
        return kPMInvalidKey;
    auto found = t->items.find(TextOf(key));
    if (found == t->items.end())
        return kPMKeyNotFound;
    value = found->second.value;
    return noErr;
}

template <class T>
OSStatus GetTyped(PMTicketRef ref, UInt32 node1, UInt32 node2, CFStringRef key, CFTypeID type,
                  T* item) {
    if (item)
        *item = nullptr;
    Guard guard(TicketLock());
    CFTypeRef value = nullptr;
    if (OSStatus status = Lookup(ref, node1, node2, key, value))
        return status;
    if (CFGetTypeID(value) != type)
        return kPMInvalidType;
    if (item)
        *item = static_cast<T>(value);
    return noErr;
}

// Runs `read` on the number stored under `key` (kPMInvalidValue when it answers false).
template <class Read>
OSStatus GetNumber(PMTicketRef ref, UInt32 node1, UInt32 node2, CFStringRef key, Read read) {
    Guard guard(TicketLock());
    CFTypeRef value = nullptr;
    if (OSStatus status = Lookup(ref, node1, node2, key, value))
        return status;
    if (CFGetTypeID(value) != CFNumberGetTypeID())
        return kPMInvalidType;
    return read(static_cast<CFNumberRef>(value)) ? OSStatus(noErr) : OSStatus(kPMInvalidValue);
}

// Changes the item's state under the usual checks; `change` returns the status.
template <class Change>
OSStatus ChangeItem(PMTicketRef ref, CFStringRef client, CFStringRef key, Change change) {
    Guard guard(TicketLock());
    Ticket* t = FindTicket(ref);
    if (OSStatus status = CheckChange(t, client, key))
        return status;
    auto found = t->items.find(TextOf(key));
    if (found == t->items.end())
        return kPMKeyNotFound;
    return change(*t, found);
}

OSStatus RemoveItem(Ticket& t, std::map<std::u16string, TicketItem>::iterator found) {
    if (found->second.locked)
        return kPMItemIsLocked;
    TicketItem item = found->second;
    t.items.erase(found);
    CFRelease(item.key);
    CFRelease(item.client);
    CFRelease(item.value);
    return noErr;
}

// Sub-tickets nest no deeper than this, so that copying and writing them stay bounded.
constexpr int kMaxNesting = 32;

PMTicketRef CopyTicket(const Ticket& source, int depth) {
    if (depth > kMaxNesting)
        return nullptr;
    auto copy = std::make_unique<Ticket>();
    copy->type = CFStringCreateCopy(nullptr, source.type);
    for (const auto& entry : source.items) {
        // Stored values are immutable: the copy shares them.
        TicketItem item = entry.second;
        CFRetain(item.key);
        CFRetain(item.client);
        CFRetain(item.value);
        copy->items.emplace(entry.first, item);
    }
    for (const auto& sub : source.subTickets) {
        const Ticket* s = FindTicket(sub.second);
        PMTicketRef subCopy = s ? CopyTicket(*s, depth + 1) : nullptr;
        if (subCopy == nullptr) {
            for (auto& made : copy->subTickets)
                ReleaseTicket(made.second);
            return nullptr;
        }
        copy->subTickets.emplace(sub.first, subCopy);
    }
    return AddTicket(std::move(copy));
}

} // namespace

extern "C" {

// --- Life cycle -----------------------------------------------------------------------

OSStatus PMTicketCreate(CFAllocatorRef, CFStringRef ticketType, PMTicketRef* newTicket) {
    if (newTicket == nullptr)
        return kPMInvalidParameter;
    *newTicket = nullptr;
    if (!IsText(ticketType))
        return kPMInvalidParameter;
    auto ticket = std::make_unique<Ticket>();
    ticket->type = CFStringCreateCopy(nullptr, ticketType);
    Guard guard(TicketLock());
    *newTicket = AddTicket(std::move(ticket));
    return *newTicket ? OSStatus(noErr) : OSStatus(kPMAllocationFailure);
}

OSStatus PMTicketCopy(CFAllocatorRef, PMTicketRef sourceTicket, PMTicketRef* destinationTicket) {
    if (destinationTicket == nullptr)
        return kPMInvalidParameter;
    *destinationTicket = nullptr;
    Guard guard(TicketLock());
    const Ticket* source = FindTicket(sourceTicket);
    if (source == nullptr)
        return kPMInvalidTicket;
    *destinationTicket = CopyTicket(*source, 0);
    return *destinationTicket ? OSStatus(noErr) : OSStatus(kPMInvalidSubTicket);
}

OSStatus PMTicketGetRetainCount(PMTicketRef ticket, CFIndex* retainCount) {
    Guard guard(TicketLock());
    const Ticket* t = FindTicket(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (retainCount == nullptr)
        return kPMInvalidParameter;
    *retainCount = t->refs;
    return noErr;
}

OSStatus PMTicketRetain(PMTicketRef ticket) {
    Guard guard(TicketLock());
    Ticket* t = FindTicket(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    ++t->refs;
    return noErr;
}

OSStatus PMTicketRelease(PMTicketRef ticket) {
    Guard guard(TicketLock());
    if (FindTicket(ticket) == nullptr)
        return kPMInvalidTicket;
    ReleaseTicket(ticket);
    return noErr;
}

OSStatus PMTicketReleaseAndClear(PMTicketRef* ticket) {
    if (ticket == nullptr)
        return kPMInvalidParameter;
    OSStatus status = PMTicketRelease(*ticket);
    *ticket = nullptr;
    return status;
}

OSStatus PMTicketConfirmTicket(PMTicketRef ticket) {
    Guard guard(TicketLock());
    return FindTicket(ticket) ? OSStatus(noErr) : OSStatus(kPMInvalidTicket);
}

OSStatus PMTicketGetLockedState(PMTicketRef ticket, Boolean* lockedState) {
    Guard guard(TicketLock());
    const Ticket* t = FindTicket(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (lockedState == nullptr)
        return kPMInvalidParameter;
    *lockedState = t->locked;
    return noErr;
}

OSStatus PMTicketGetType(PMTicketRef ticket, CFStringRef* ticketType) {
    Guard guard(TicketLock());
    const Ticket* t = FindTicket(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (ticketType == nullptr)
        return kPMInvalidParameter;
    *ticketType = t->type;
    return noErr;
}

OSStatus PMTicketGetAPIVersion(PMTicketRef ticket, CFStringRef* apiVersion) {
    if (apiVersion == nullptr)
        return kPMInvalidParameter;
    *apiVersion = nullptr;
    if (PMTicketConfirmTicket(ticket) != noErr)
        return kPMInvalidTicket;
    *apiVersion = CFSTR("00.20");
    return noErr;
}

OSStatus PMHostSetTicketLocked(PMTicketRef ticket, Boolean locked) {
    Guard guard(TicketLock());
    Ticket* t = FindTicket(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    t->locked = locked;
    return noErr;
}

// --- Setting items --------------------------------------------------------------------

OSStatus PMTicketSetItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, CFTypeRef item,
                         Boolean locked) {
    return Set(ticket, clientID, key, item, locked);
}

OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFStringRef item, Boolean locked) {
    if (item && CFGetTypeID(item) != CFStringGetTypeID())
        return kPMInvalidType;
    return Set(ticket, clientID, key, item, locked);
}

OSStatus PMTicketSetCString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            const char* value, Boolean locked) {
    if (value == nullptr)
        return kPMInvalidItem;
    CFStringRef made = CFStringCreateWithCString(nullptr, value, kCFStringEncodingUTF8);
    return made ? SetMade(ticket, clientID, key, made, locked)
                : OSStatus(kPMStringConversionFailure);
}

OSStatus PMTicketSetCFNumber(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFNumberRef item, Boolean locked) {
    if (item && CFGetTypeID(item) != CFNumberGetTypeID())
        return kPMInvalidType;
    return Set(ticket, clientID, key, item, locked);
}

OSStatus PMTicketSetSInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, SInt32 value,
                           Boolean locked) {
    return SetMade(ticket, clientID, key, CFNumberCreate(nullptr, kCFNumberSInt32Type, &value),
                   locked);
}

OSStatus PMTicketSetUInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, UInt32 value,
                           Boolean locked) {
    SInt64 wide = value;
    return SetMade(ticket, clientID, key, CFNumberCreate(nullptr, kCFNumberSInt64Type, &wide),
                   locked);
}

OSStatus PMTicketSetDouble(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, double value,
                           Boolean locked) {
    return SetMade(ticket, clientID, key, CFNumberCreate(nullptr, kCFNumberFloat64Type, &value),
                   locked);
}

OSStatus PMTicketSetCFData(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDataRef item, Boolean locked) {
    if (item && CFGetTypeID(item) != CFDataGetTypeID())
        return kPMInvalidType;
    return Set(ticket, clientID, key, item, locked);
}

OSStatus PMTicketSetBytes(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                          const UInt8* data, UInt32 size, Boolean locked) {
    if (data == nullptr && size > 0)
        return kPMInvalidItem;
    return SetMade(ticket, clientID, key, CFDataCreate(nullptr, data, CFIndex(size)), locked);
}

OSStatus PMTicketSetCFBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                              CFBooleanRef item, Boolean locked) {
    if (item && CFGetTypeID(item) != CFBooleanGetTypeID())
        return kPMInvalidType;
    return Set(ticket, clientID, key, item, locked);
}

OSStatus PMTicketSetBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            Boolean value, Boolean locked) {
    return Set(ticket, clientID, key, value ? kCFBooleanTrue : kCFBooleanFalse, locked);
}

OSStatus PMTicketSetCFDate(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDateRef item, Boolean locked) {
    if (item && CFGetTypeID(item) != CFDateGetTypeID())
        return kPMInvalidType;
    return Set(ticket, clientID, key, item, locked);
}

OSStatus PMTicketSetCFArray(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            CFArrayRef item, Boolean locked) {
    if (item && CFGetTypeID(item) != CFArrayGetTypeID())
        return kPMInvalidType;
    return Set(ticket, clientID, key, item, locked);
}

OSStatus PMTicketSetCFDictionary(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                 CFDictionaryRef item, Boolean locked) {
    if (item && CFGetTypeID(item) != CFDictionaryGetTypeID())
        return kPMInvalidType;
    return Set(ticket, clientID, key, item, locked);
}

OSStatus PMTicketCopyItem(PMTicketRef sourceTicket, PMTicketRef destTicket, CFStringRef clientID,
                          CFStringRef key, Boolean locked) {
    CFTypeRef value = nullptr;
    {
        Guard guard(TicketLock());
        if (OSStatus status = Lookup(sourceTicket, kPMTopLevel, kPMTopLevel, key, value))
            return status;
        // Kept alive across the unlocked gap, in case the source item changes meanwhile.
        CFRetain(value);
    }
    return SetMade(destTicket, clientID, key, value, locked);
}

// --- Item state -----------------------------------------------------------------------

OSStatus PMTicketIsItemLocked(PMTicketRef ticket, CFStringRef key, Boolean* locked) {
    Guard guard(TicketLock());
    Ticket* t = FindTicket(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (!IsText(key))
        return kPMInvalidKey;
    if (locked == nullptr)
        return kPMInvalidParameter;
    auto found = t->items.find(TextOf(key));
    if (found == t->items.end())
        return kPMKeyNotFound;
    *locked = found->second.locked;
    return noErr;
}

OSStatus PMTicketLockItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key) {
    return ChangeItem(ticket, clientID, key, [clientID](Ticket&, auto found) {
        TicketItem& item = found->second;
        if (item.locked)
            return OSStatus(kPMItemIsLocked);
        CFRelease(item.client);
        item.client = CFStringCreateCopy(nullptr, clientID);
        item.locked = true;
        return OSStatus(noErr);
    });
}

OSStatus PMTicketUnlockItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key) {
    return ChangeItem(ticket, clientID, key, [clientID](Ticket&, auto found) {
        TicketItem& item = found->second;
        if (item.locked && !CFEqual(item.client, clientID))
            return OSStatus(kPMItemIsLocked);
        item.locked = false;
        return OSStatus(noErr);
    });
}

OSStatus PMTicketDeleteItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key) {
    return ChangeItem(ticket, clientID, key, RemoveItem);
}

OSStatus PMTicketReleaseItem(PMTicketRef ticket, CFStringRef key) {
    // The client plays no part in releasing; any name passes the shared checks.
    return ChangeItem(ticket, CFSTR("-"), key, RemoveItem);
}

// --- Getting items --------------------------------------------------------------------

Boolean PMTicketContainsItem(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key) {
    Guard guard(TicketLock());
    CFTypeRef value = nullptr;
    return Lookup(ticket, nodeIndex1, nodeIndex2, key, value) == noErr;
}

OSStatus PMTicketGetItem(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                         CFTypeRef* item) {
    if (item)
        *item = nullptr;
    Guard guard(TicketLock());
    CFTypeRef value = nullptr;
    OSStatus status = Lookup(ticket, nodeIndex1, nodeIndex2, key, value);
    if (status == noErr && item)
        *item = value;
    return status;
}

OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFStringRef* item) {
    return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFStringGetTypeID(), item);
}

OSStatus PMTicketGetCString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, UInt32 bufferSize, CFStringEncoding encoding,
                            char* value) {
    if (value == nullptr || bufferSize == 0)
        return kPMInvalidParameter;
    value[0] = '\0';
    Guard guard(TicketLock());
    CFTypeRef item = nullptr;
    if (OSStatus status = Lookup(ticket, nodeIndex1, nodeIndex2, key, item))
        return status;
    if (CFGetTypeID(item) != CFStringGetTypeID())
        return kPMInvalidType;
    if (!CFStringGetCString(static_cast<CFStringRef>(item), value, CFIndex(bufferSize), encoding))
        return kPMStringConversionFailure;
    return noErr;
}

OSStatus PMTicketGetCFNumber(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFNumberRef* item) {
    return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFNumberGetTypeID(), item);
}

OSStatus PMTicketGetSInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, SInt32* value) {
    if (value == nullptr)
        return kPMInvalidParameter;
    return GetNumber(ticket, nodeIndex1, nodeIndex2, key, [value](CFNumberRef n) {
        SInt32 v = 0;
        if (!CFNumberGetValue(n, kCFNumberSInt32Type, &v))
            return false;
        *value = v;
        return true;
    });
}

OSStatus PMTicketGetUInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, UInt32* value) {
    if (value == nullptr)
        return kPMInvalidParameter;
    return GetNumber(ticket, nodeIndex1, nodeIndex2, key, [value](CFNumberRef n) {
        SInt64 v = 0;
        if (!CFNumberGetValue(n, kCFNumberSInt64Type, &v) || v < 0 || v > SInt64(UINT32_MAX))
            return false;
        *value = static_cast<UInt32>(v);
        return true;
    });
}

OSStatus PMTicketGetDouble(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, double* value) {
    if (value == nullptr)
        return kPMInvalidParameter;
    return GetNumber(ticket, nodeIndex1, nodeIndex2, key, [value](CFNumberRef n) {
        // Any number reads as a double; a very large integer only rounds.
        CFNumberGetValue(n, kCFNumberFloat64Type, value);
        return true;
    });
}

OSStatus PMTicketGetCFData(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDataRef* item) {
    return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFDataGetTypeID(), item);
}

OSStatus PMTicketGetCFBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                              CFStringRef key, CFBooleanRef* item) {
    return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFBooleanGetTypeID(), item);
}

OSStatus PMTicketGetBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, Boolean* value) {
    if (value == nullptr)
        return kPMInvalidParameter;
    CFBooleanRef item = nullptr;
    OSStatus status = PMTicketGetCFBoolean(ticket, nodeIndex1, nodeIndex2, key, &item);
    if (status == noErr)
        *value = CFBooleanGetValue(item);
    return status;
}

OSStatus PMTicketGetCFDate(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDateRef* item) {
    return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFDateGetTypeID(), item);
}

OSStatus PMTicketGetCFArray(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, CFArrayRef* item) {
    return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFArrayGetTypeID(), item);
}

OSStatus PMTicketGetCFDictionary(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                 CFStringRef key, CFDictionaryRef* item) {
    return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFDictionaryGetTypeID(), item);
}

// --- Sub-tickets ----------------------------------------------------------------------

OSStatus PMTicketSetTicket(PMTicketRef ticket, PMTicketRef ticketToAdd, UInt32 index) {
    Guard guard(TicketLock());
    Ticket* t = FindTicket(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (t->locked)
        return kPMTicketIsLocked;
    Ticket* sub = FindTicket(ticketToAdd);
    if (sub == nullptr)
        return kPMInvalidTicket;
    if (TicketContains(ticketToAdd, ticket))
        return kPMInvalidSubTicket;
    ++sub->refs;
    auto slot = std::make_pair(TextOf(sub->type), index);
    auto found = t->subTickets.find(slot);
    if (found != t->subTickets.end()) {
        PMTicketRef old = found->second;
        found->second = ticketToAdd;
        ReleaseTicket(old);
    } else {
        t->subTickets.emplace(slot, ticketToAdd);
    }
    return noErr;
}

OSStatus PMTicketContainsTicket(PMTicketRef ticket, CFStringRef requestedType, UInt32 index,
                                Boolean* exists) {
    if (exists == nullptr)
        return kPMInvalidParameter;
    PMTicketRef sub = nullptr;
    OSStatus status = PMTicketGetTicket(ticket, requestedType, index, &sub);
    *exists = status == noErr;
    return status == kPMSubTicketNotFound ? OSStatus(noErr) : status;
}

OSStatus PMTicketGetTicket(PMTicketRef ticket, CFStringRef requestedType, UInt32 index,
                           PMTicketRef* retrievedTicket) {
    if (retrievedTicket == nullptr)
        return kPMInvalidParameter;
    *retrievedTicket = nullptr;
    Guard guard(TicketLock());
    const Ticket* t = FindTicket(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (!IsText(requestedType))
        return kPMInvalidParameter;
    auto found = t->subTickets.find(std::make_pair(TextOf(requestedType), index));
    if (found == t->subTickets.end())
        return kPMSubTicketNotFound;
    *retrievedTicket = found->second;
    return noErr;
}

OSStatus PMTicketRemoveTicket(PMTicketRef ticket, CFStringRef typeToRemove, UInt32 index) {
    Guard guard(TicketLock());
    Ticket* t = FindTicket(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (t->locked)
        return kPMTicketIsLocked;
    if (!IsText(typeToRemove))
        return kPMInvalidParameter;
    auto found = t->subTickets.find(std::make_pair(TextOf(typeToRemove), index));
    if (found == t->subTickets.end())
        return kPMSubTicketNotFound;
    PMTicketRef old = found->second;
    t->subTickets.erase(found);
    ReleaseTicket(old);
    return noErr;
}

} // extern "C"
