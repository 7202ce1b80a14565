/// Printers read from a CUPS server through libcups.

#include "PMInternal.h"

#include <CoreFoundation/PMCFUtilities.h>

#include <cstdlib>
#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

using namespace pmprint;

namespace {

// How long to wait for the CUPS server to accept the connection.
constexpr int kConnectMilliseconds = 10000;

/// Closes the connection and frees the destination that libcups handed out.
struct CUPSOwner {
    http_t* http = nullptr;
    cups_dest_t* dest = nullptr;
    ~CUPSOwner() {
        if (dest)
            cupsFreeDests(1, dest);
        if (http)
            httpClose(http);
    }
};

const char* Option(const cups_dest_t* dest, const char* name) {
    return cupsGetOption(name, dest->num_options, dest->options);
}

// A string from libcups's UTF-8 text; NULL for none or text that is not UTF-8.
CFStringRef StringOf(const char* text) {
    return text && *text ? PMCFStringCreateWithUTF8(text) : nullptr;
}

bool PrintsColour(const cups_dest_t* dest) {
    const char* type = Option(dest, "printer-type");
    if (type == nullptr)
        return false;
    char* end = nullptr;
    unsigned long bits = std::strtoul(type, &end, 10);
    return end != type && (bits & CUPS_PRINTER_COLOR) != 0;
}

// Downloads the queue's PPD into a temporary file owned by `printer`.
OSStatus FetchPPD(http_t* http, const cups_dest_t* dest, Printer& printer) {
    char path[1024] = "";
    time_t modified = 0;
    // cupsGetPPD3 is marked deprecated, yet the CUPS 2.4 client has no other call that fetches
    // a queue's PPD, which is what the printer description is made of.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    http_status_t status = cupsGetPPD3(http, dest->name, &modified, path, sizeof path);
#pragma GCC diagnostic pop
    if (status == HTTP_STATUS_NOT_FOUND)
        return noErr; // a queue without a PPD (a raw or driverless one)
    if (status != HTTP_STATUS_OK || path[0] == '\0') {
        if (path[0] != '\0')
            unlink(path);
        return kPMServerCommunicationFailed;
    }
    printer.temporaryPPD = path;
    printer.ppd = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path), CFIndex(printer.temporaryPPD.size()), false);
    return printer.ppd ? OSStatus(noErr) : OSStatus(kPMServerCommunicationFailed);
}

} // namespace

extern "C" {

OSStatus PMHostCreatePrinterFromQueue(CFStringRef queueName, PMPrinter* printer) {
    if (printer == nullptr)
        return kPMInvalidParameter;
    *printer = nullptr;
    if (queueName &&
        (CFGetTypeID(queueName) != CFStringGetTypeID() || CFStringGetLength(queueName) == 0))
        return kPMInvalidParameter;
    std::string queue = queueName ? PMCFStringCopyUTF8(queueName) : "";
    // Connect first: cupsGetNamedDest reports an unreachable server as a missing queue.
    CUPSOwner owner;
    owner.http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              kConnectMilliseconds, nullptr);
    if (owner.http == nullptr)
        return kPMServerNotFound;
    owner.dest = cupsGetNamedDest(owner.http, queueName ? queue.c_str() : nullptr, nullptr);
    if (owner.dest == nullptr) {
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND || cupsLastError() == IPP_STATUS_OK)
            return queueName ? OSStatus(kPMQueueNotFound) : OSStatus(kPMNoDefaultPrinter);
        return kPMServerCommunicationFailed;
    }
    const cups_dest_t* dest = owner.dest;
    Printer* p = new Printer;
    p->id = StringOf(dest->name);
    p->name = StringOf(Option(dest, "printer-info"));
    if (p->name == nullptr && p->id)
        p->name = static_cast<CFStringRef>(CFRetain(p->id));
    p->makeAndModel = StringOf(Option(dest, "printer-make-and-model"));
    CFStringRef uri = StringOf(Option(dest, "device-uri"));
    if (uri) {
        p->deviceURI = CFURLCreateWithString(nullptr, uri, nullptr);
        CFRelease(uri);
    }
    p->supportsColor = PrintsColour(dest);
    OSStatus status = p->id ? FetchPPD(owner.http, dest, *p) : OSStatus(kPMInvalidPrinter);
    if (status != noErr) {
        Release(static_cast<Object*>(p));
        return status;
    }
    *printer = reinterpret_cast<PMPrinter>(static_cast<Object*>(p));
    return noErr;
}

PMPrinter PMPrinterCreateFromPrinterID(CFStringRef printerID) {
    PMPrinter printer = nullptr;
    if (printerID == nullptr || PMHostCreatePrinterFromQueue(printerID, &printer) != noErr)
        return nullptr;
    return printer;
}

} // extern "C"
