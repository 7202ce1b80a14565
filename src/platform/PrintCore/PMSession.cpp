/// Print sessions: data items, the current printer and the tickets designated in the data.

#include "PMInternal.h"

#include <cstdint>

using namespace pmprint;

namespace {

// The client identifier under which the print system itself sets ticket items.
const CFStringRef kPrintSystemClient = CFSTR("com.apple.print.PrintCore");

PMPrintSession HandleOf(Session* session) {
    return reinterpret_cast<PMPrintSession>(static_cast<Object*>(session));
}

bool IsTicketKey(CFStringRef key) {
    return CFEqual(key, kPDE_PMPrintSettingsRef) || CFEqual(key, kPDE_PMPrinterInfoRef);
}

// Stores `value` (retained) under `key`, releasing what it replaces.
void PutData(Session& s, CFStringRef key, CFTypeRef value) {
    auto& slot = s.data[TextOf(key)];
    CFStringRef oldKey = slot.first;
    CFTypeRef oldValue = slot.second;
    slot = {CFStringCreateCopy(nullptr, key), CFRetain(value)};
    if (oldKey)
        CFRelease(oldKey);
    if (oldValue)
        CFRelease(oldValue);
}

// Makes `ticket` the session's ticket under `key`: the session takes over one reference of
// it and designates it by number in its data.
OSStatus InstallTicket(Session& s, CFStringRef key, PMTicketRef ticket) {
    // Ticket numbers stay below 2^31 (PMTicketStore.cpp), so the SInt32 holds them exactly.
    SInt32 number = static_cast<SInt32>(reinterpret_cast<uintptr_t>(ticket));
    CFNumberRef designator = CFNumberCreate(nullptr, kCFNumberSInt32Type, &number);
    if (designator == nullptr)
        return kPMAllocationFailure;
    PutData(s, key, designator);
    CFRelease(designator);
    PMTicketRef& owned = s.tickets[TextOf(key)];
    PMTicketRef old = owned;
    owned = ticket;
    if (old)
        PMTicketRelease(old);
    return noErr;
}

// Sets a locked item of the print system; a NULL value sets nothing.
void SetInfo(PMTicketRef ticket, CFStringRef key, CFTypeRef value) {
    if (value)
        PMTicketSetItem(ticket, kPrintSystemClient, key, value, kPMLocked);
}

// The printer information ticket of `printer`, locked as the print system's.
OSStatus MakePrinterInfo(const Printer& printer, PMTicketRef* ticket) {
    if (OSStatus status = PMTicketCreate(nullptr, kPMPrinterInfoTicket, ticket))
        return status;
    SetInfo(*ticket, kPMPrinterLongNameKey, printer.name);
    SetInfo(*ticket, kPMMakeAndModelNameKey, printer.makeAndModel);
    SetInfo(*ticket, kPMSupportsColorKey, printer.supportsColor ? kCFBooleanTrue : kCFBooleanFalse);
    if (printer.deviceURI) {
        CFStringRef host = CFURLCopyHostName(printer.deviceURI);
        SetInfo(*ticket, kPMPrinterAddressKey, host);
        if (host)
            CFRelease(host);
    }
    if (printer.ppd) {
        // The compiled form of the PPD is not modelled: its presence says the printer is
        // PPD-based, and the description file names the PPD.
        CFStringRef path = CFURLCopyFileSystemPath(printer.ppd, kCFURLPOSIXPathStyle);
        SetInfo(*ticket, kPMDescriptionFileKey, path);
        if (path)
            CFRelease(path);
        CFDictionaryRef compiled =
            CFDictionaryCreate(nullptr, nullptr, nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                               &kCFTypeDictionaryValueCallBacks);
        SetInfo(*ticket, kPMCompiledPPDKey, compiled);
        CFRelease(compiled);
    }
    return PMHostSetTicketLocked(*ticket, true);
}

OSStatus Record(Session& s, OSStatus status) {
    if (status != noErr)
        s.error = status;
    return status;
}

} // namespace

namespace pmprint {

Session::Session() : Object(Kind::Session) {}

Session::~Session() {
    for (auto& entry : data) {
        CFRelease(entry.second.first);
        CFRelease(entry.second.second);
    }
    for (auto& entry : tickets)
        PMTicketRelease(entry.second);
    if (printer)
        Release(static_cast<Object*>(printer));
}

} // namespace pmprint

extern "C" {

OSStatus PMCreateSession(PMPrintSession* printSession) {
    if (printSession == nullptr)
        return kPMInvalidParameter;
    *printSession = nullptr;
    PMTicketRef settings = nullptr;
    if (OSStatus status = PMTicketCreate(nullptr, kPMPrintSettingsTicket, &settings))
        return status;
    Session* session = new Session;
    if (OSStatus status = InstallTicket(*session, kPDE_PMPrintSettingsRef, settings)) {
        PMTicketRelease(settings);
        Release(static_cast<Object*>(session));
        return status;
    }
    *printSession = HandleOf(session);
    return noErr;
}

OSStatus PMSessionError(PMPrintSession printSession) {
    Session* s = FindSession(printSession);
    return s ? s->error : OSStatus(kPMInvalidPrintSession);
}

OSStatus PMSessionSetError(PMPrintSession printSession, OSStatus printError) {
    Session* s = FindSession(printSession);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    s->error = printError;
    return noErr;
}

OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key,
                                     CFTypeRef* data) {
    if (data)
        *data = nullptr;
    Session* s = FindSession(printSession);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (CFGetTypeID(key) != CFStringGetTypeID() || data == nullptr)
        return Record(*s, kPMInvalidParameter);
    auto found = s->data.find(TextOf(key));
    if (found == s->data.end())
        return Record(*s, kPMKeyNotFound);
    *data = found->second.second;
    return noErr;
}

OSStatus PMSessionSetDataInSession(PMPrintSession printSession, CFStringRef key, CFTypeRef data) {
    Session* s = FindSession(printSession);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (CFGetTypeID(key) != CFStringGetTypeID() || CFStringGetLength(key) == 0 || data == nullptr)
        return Record(*s, kPMInvalidParameter);
    if (IsTicketKey(key))
        return Record(*s, kPMInvalidKey);
    PutData(*s, key, data);
    return noErr;
}

OSStatus PMSessionGetTicketFromSession(PMPrintSession session, CFStringRef key,
                                       PMTicketRef* theTicket) {
    if (theTicket == nullptr)
        return kPMInvalidParameter;
    *theTicket = nullptr;
    CFTypeRef data = nullptr;
    if (OSStatus status = PMSessionGetDataFromSession(session, key, &data))
        return status;
    SInt32 number = 0;
    if (CFGetTypeID(data) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &number))
        return kPMInvalidValue;
    PMTicketRef ticket = reinterpret_cast<PMTicketRef>(static_cast<intptr_t>(number));
    if (PMTicketConfirmTicket(ticket) != noErr)
        return kPMInvalidTicket;
    *theTicket = ticket;
    return noErr;
}

OSStatus PMSessionGetCurrentPrinter(PMPrintSession printSession, PMPrinter* currentPrinter) {
    if (currentPrinter)
        *currentPrinter = nullptr;
    Session* s = FindSession(printSession);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (currentPrinter == nullptr)
        return Record(*s, kPMInvalidParameter);
    if (s->printer == nullptr)
        return Record(*s, kPMInvalidPrinter);
    *currentPrinter = reinterpret_cast<PMPrinter>(static_cast<Object*>(s->printer));
    return noErr;
}

OSStatus PMSessionSetCurrentPMPrinter(PMPrintSession session, PMPrinter printer) {
    Session* s = FindSession(session);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    Printer* p = FindPrinter(printer);
    if (p == nullptr)
        return Record(*s, kPMInvalidPrinter);
    PMTicketRef info = nullptr;
    if (OSStatus status = MakePrinterInfo(*p, &info)) {
        if (info)
            PMTicketRelease(info);
        return Record(*s, status);
    }
    if (OSStatus status = InstallTicket(*s, kPDE_PMPrinterInfoRef, info)) {
        PMTicketRelease(info);
        return Record(*s, status);
    }
    Retain(static_cast<Object*>(p));
    if (s->printer)
        Release(static_cast<Object*>(s->printer));
    s->printer = p;
    return noErr;
}

OSStatus PMHostCreateSession(PMPrinter printer, PMPrintSession* session) {
    if (session == nullptr)
        return kPMInvalidParameter;
    *session = nullptr;
    if (FindPrinter(printer) == nullptr)
        return kPMInvalidPrinter;
    PMPrintSession made = nullptr;
    if (OSStatus status = PMCreateSession(&made))
        return status;
    if (OSStatus status = PMSessionSetCurrentPMPrinter(made, printer)) {
        PMRelease(made);
        return status;
    }
    *session = made;
    return noErr;
}

OSStatus PMHostSetSessionTicket(PMPrintSession session, CFStringRef key, PMTicketRef ticket) {
    Session* s = FindSession(session);
    if (s == nullptr)
        return kPMInvalidPrintSession;
    if (CFGetTypeID(key) != CFStringGetTypeID() || CFStringGetLength(key) == 0)
        return Record(*s, kPMInvalidParameter);
    if (OSStatus status = PMTicketRetain(ticket))
        return Record(*s, status);
    if (OSStatus status = InstallTicket(*s, key, ticket)) {
        PMTicketRelease(ticket);
        return Record(*s, status);
    }
    return noErr;
}

} // extern "C"
