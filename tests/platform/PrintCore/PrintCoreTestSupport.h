#pragma once
// Helpers shared by the PrintCore tests: ticket numbers (scopes and text from TestScopes.h).

#include <PrintCore/PMCore.h>
#include <PrintCore/PMHost.h>

#include <CoreFoundation/PMCFUtilities.h>

#include "TestScopes.h"

#include <cstdint>
#include <string>

/// The ticket a session data item designates, converted as the extensions convert it.
inline PMTicketRef TicketFromNumber(CFTypeRef number) {
    SInt32 value = 0;
    if (CFGetTypeID(number) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt32Type, &value))
        return nullptr;
    return reinterpret_cast<PMTicketRef>(static_cast<intptr_t>(value));
}
