/// The table of live tickets and the item storage shared by the ticket calls.

#include "PMInternal.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace pmprint {

namespace {

// Numbers start well above 0 so that a zero or small integer is never a live ticket, and stay
// below 2^31 so that every reference fits the SInt32 numbers of session data.
constexpr uintptr_t kFirstTicket = 0x10000;
constexpr uintptr_t kLastTicket = 0x7FFFFFFF;

// Never freed: tickets may be released from static destructors.
std::unordered_map<uintptr_t, Ticket*>& Table() {
    static auto* table = new std::unordered_map<uintptr_t, Ticket*>;
    return *table;
}
uintptr_t gNextTicket = kFirstTicket;

uintptr_t NumberOf(PMTicketRef ref) {
    return reinterpret_cast<uintptr_t>(ref);
}

} // namespace

Ticket::~Ticket() {
    for (auto& entry : items) {
        CFRelease(entry.second.key);
        CFRelease(entry.second.client);
        CFRelease(entry.second.value);
    }
    if (type)
        CFRelease(type);
}

std::mutex& TicketLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

Ticket* FindTicket(PMTicketRef ref) {
    auto found = Table().find(NumberOf(ref));
    return found == Table().end() ? nullptr : found->second;
}

PMTicketRef AddTicket(std::unique_ptr<Ticket> ticket) {
    if (gNextTicket > kLastTicket)
        return nullptr;
    uintptr_t number = gNextTicket++;
    Table().emplace(number, ticket.release());
    return reinterpret_cast<PMTicketRef>(number);
}

void ReleaseTicket(PMTicketRef ref) {
    // A worklist rather than recursion: sub-tickets nest as deep as a loaded file says.
    std::vector<PMTicketRef> pending = {ref};
    while (!pending.empty()) {
        PMTicketRef next = pending.back();
        pending.pop_back();
        auto found = Table().find(NumberOf(next));
        if (found == Table().end() || --found->second->refs > 0)
            continue;
        Ticket* dead = found->second;
        Table().erase(found);
        for (auto& sub : dead->subTickets)
            pending.push_back(sub.second);
        delete dead;
    }
}

bool TicketContains(PMTicketRef outer, PMTicketRef inner) {
    std::vector<PMTicketRef> pending = {outer};
    // Sub-tickets never form a cycle (PMTicketSetTicket refuses one), so this ends.
    while (!pending.empty()) {
        PMTicketRef next = pending.back();
        pending.pop_back();
        if (next == inner)
            return true;
        if (Ticket* t = FindTicket(next))
            for (auto& sub : t->subTickets)
                pending.push_back(sub.second);
    }
    return false;
}

bool IsReservedKey(CFStringRef key) {
    return CFStringHasPrefix(key, CFSTR("com.apple.print.ticket."));
}

OSStatus StoreItem(Ticket& ticket, CFStringRef client, CFStringRef key, CFTypeRef value,
                   bool locked) {
    CFTypeRef copy = CFPropertyListCreateDeepCopy(nullptr, value, kCFPropertyListImmutable);
    if (copy == nullptr)
        return kPMUnknownDataType;
    std::u16string text = TextOf(key);
    auto found = ticket.items.find(text);
    if (found != ticket.items.end()) {
        TicketItem& item = found->second;
        CFRelease(item.value);
        CFRelease(item.client);
        item.value = copy;
        item.client = CFStringCreateCopy(nullptr, client);
        item.locked = locked;
        return noErr;
    }
    TicketItem item;
    item.key = CFStringCreateCopy(nullptr, key);
    item.client = CFStringCreateCopy(nullptr, client);
    item.value = copy;
    item.locked = locked;
    ticket.items.emplace(std::move(text), item);
    return noErr;
}

} // namespace pmprint
