// The print-ticket reader on arbitrary bytes, as a saved ticket file or a ticket item from the
// print settings is read. A ticket it accepts writes out and reads back to the same XML.
#include <PrintCore/PMTicket.h>

#include <cstdint>
#include <cstdlib>

namespace {

bool SameBytes(CFDataRef a, CFDataRef b) {
    return a && b && CFEqual(a, b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CFDataRef bytes = CFDataCreate(nullptr, data, static_cast<CFIndex>(size));
    if (!bytes)
        return 0;
    PMTicketRef ticket = nullptr;
    CFStringRef reason = nullptr;
    if (PMXMLToTicket(nullptr, bytes, &ticket, &reason) == noErr) {
        CFDataRef xml = nullptr, again = nullptr;
        PMTicketRef copy = nullptr;
        if (PMTicketToXML(ticket, &xml) != noErr || PMXMLToTicket(nullptr, xml, &copy, nullptr) ||
            PMTicketToXML(copy, &again) != noErr || !SameBytes(xml, again))
            std::abort();
        CFRelease(again);
        CFRelease(xml);
        PMTicketRelease(copy);
        PMTicketRelease(ticket);
    } else if (ticket || !reason) {
        std::abort(); // a refusal leaves no ticket and says why
    }
    if (reason)
        CFRelease(reason);
    CFRelease(bytes);
    return 0;
}
