//===- JobTicket.cpp - Typed items of a print-system ticket ---------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "JobTicket.h"

#include "JobTicketUtilities.h"

#include <climits>

JobTicket::JobTicket(CFStringRef ticketType) {
    mValid = Record(PMTicketCreate(kCFAllocatorDefault, ticketType, &mTicket)) == noErr &&
             mTicket != nullptr;
    mOwnsTicket = mValid;
    if (!mValid)
        mTicket = nullptr;
}

JobTicket::JobTicket(PMPrintSession session) : mSession(session) {
    if (session)
        Record(MyGetTicket(session, kPDE_PMPrintSettingsRef, &mTicket));
    mValid = session != nullptr;
}

JobTicket::JobTicket(PMPrintSession session, CFStringRef sessionKey) : mSession(session) {
    if (session)
        Record(MyGetTicket(session, sessionKey, &mTicket));
    mValid = mTicket != nullptr;
}

JobTicket::~JobTicket() {
    if (mOwnsTicket && mTicket)
        PMTicketReleaseAndClear(&mTicket);
}

OSStatus JobTicket::Get(CFStringRef key, long& value) {
    value = 0;
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    CFTypeRef data = nullptr;
    SInt32 number = 0;
    if (PMSessionGetDataFromSession(mSession, key, &data) != noErr || data == nullptr ||
        CFGetTypeID(data) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &number) ||
        number == 0)
        return Record(kPMInvalidPrintSettings);
    value = number;
    return Record(noErr);
}

OSStatus JobTicket::Get(CFStringRef key, CFDataRef& value) {
    value = nullptr;
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    return Record(PMTicketGetCFData(mTicket, kPMTopLevel, kPMTopLevel, key, &value));
}

OSStatus JobTicket::Get(CFStringRef key, CFStringRef& value) {
    value = nullptr;
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    return Record(PMTicketGetCFString(mTicket, kPMTopLevel, kPMTopLevel, key, &value));
}

OSStatus JobTicket::Get(CFStringRef key, CFDictionaryRef& value) {
    value = nullptr;
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    return Record(PMTicketGetCFDictionary(mTicket, kPMTopLevel, kPMTopLevel, key, &value));
}

OSStatus JobTicket::GetInt(CFStringRef key, long& value) {
    value = 0;
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    SInt32 number = 0;
    OSStatus status = PMTicketGetSInt32(mTicket, kPMTopLevel, kPMTopLevel, key, &number);
    if (status == noErr)
        value = number;
    return Record(status);
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, CFArrayRef value, bool locked) {
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    return Record(PMTicketSetCFArray(mTicket, clientID, key, value, locked));
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, CFStringRef value, bool locked) {
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    return Record(PMTicketSetCFString(mTicket, clientID, key, value, locked));
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, CFDataRef value, bool locked) {
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    return Record(PMTicketSetCFData(mTicket, clientID, key, value, locked));
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, CFDictionaryRef value, bool locked) {
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    return Record(PMTicketSetCFDictionary(mTicket, clientID, key, value, locked));
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, long value, bool locked) {
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    // The item is a 32-bit integer; a wider long would be cut silently otherwise.
    if (value < INT32_MIN || value > INT32_MAX)
        return Record(paramErr);
    return Record(PMTicketSetSInt32(mTicket, clientID, key, static_cast<SInt32>(value), locked));
}

OSStatus JobTicket::Release(CFStringRef key) {
    if (mTicket == nullptr)
        return Record(kPMInvalidTicket);
    return Record(PMTicketReleaseItem(mTicket, key));
}
