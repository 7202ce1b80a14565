//===- PrinterQueries.cpp - The session's current printer -----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PrinterQueries.h"

namespace {

PMPrinter CurrentPrinter(PMPrintSession session) {
    PMPrinter printer = nullptr;
    if (PMSessionGetCurrentPrinter(session, &printer) != noErr)
        return nullptr;
    return printer;
}

bool SchemeIs(PMPrintSession session, CFStringRef wanted) {
    CFStringRef scheme = CopyPrinterConnectionType(session);
    if (scheme == nullptr)
        return false;
    bool same = CFStringCompare(scheme, wanted, 0) == kCFCompareEqualTo;
    CFRelease(scheme);
    return same;
}

} // namespace

CFStringRef GetCurrentPrinterName(PMPrintSession session) {
    PMPrinter printer = CurrentPrinter(session);
    return printer ? PMPrinterGetName(printer) : nullptr;
}

OSStatus GetPPDFile(PMPrintSession session, CFURLRef& url, FSRef& ref) {
    url = nullptr;
    PMPrinter printer = nullptr;
    OSStatus status = PMSessionGetCurrentPrinter(session, &printer);
    if (status != noErr)
        return status;
    status = PMPrinterCopyDescriptionURL(printer, kPMPPDDescriptionType, &url);
    if (status != noErr) {
        url = nullptr;
        return status;
    }
    if (url == nullptr)
        return kPMNoSuchEntry;
    if (!CFURLGetFSRef(url, &ref)) {
        CFRelease(url);
        url = nullptr;
        return fnfErr;
    }
    return noErr;
}

CFStringRef CopyPrinterConnectionType(PMPrintSession session) {
    PMPrinter printer = CurrentPrinter(session);
    if (printer == nullptr)
        return nullptr;
    CFURLRef uri = nullptr;
    if (PMPrinterCopyDeviceURI(printer, &uri) != noErr || uri == nullptr)
        return nullptr;
    CFStringRef scheme = CFURLCopyScheme(uri);
    CFRelease(uri);
    return scheme;
}

bool isUSBPrinterConnection(PMPrintSession session) {
    return SchemeIs(session, CFSTR("usb"));
}

bool isAppleTalkPrinterConnection(PMPrintSession session) {
    return SchemeIs(session, CFSTR("pap"));
}

bool isIPPrinterConnection(PMPrintSession session) {
    return SchemeIs(session, CFSTR("ipp"));
}
