/// Printers made from a host's description, and the printer calls.

#include "PMInternal.h"

#include <unistd.h>

using namespace pmprint;

namespace pmprint {

Printer::Printer() : Object(Kind::Printer) {}

Printer::~Printer() {
    for (CFTypeRef owned : {CFTypeRef(id), CFTypeRef(name), CFTypeRef(makeAndModel), CFTypeRef(ppd),
                            CFTypeRef(deviceURI)})
        if (owned)
            CFRelease(owned);
    if (!temporaryPPD.empty())
        unlink(temporaryPPD.c_str());
}

} // namespace pmprint

namespace {

CFStringRef CopyOrNull(CFStringRef s) {
    return s ? CFStringCreateCopy(nullptr, s) : nullptr;
}

bool IsStringOrNull(CFStringRef s) {
    return s == nullptr || CFGetTypeID(s) == CFStringGetTypeID();
}

} // namespace

extern "C" {

OSStatus PMHostCreatePrinter(const PMHostPrinterDescription* description, PMPrinter* printer) {
    if (printer == nullptr)
        return kPMInvalidParameter;
    *printer = nullptr;
    if (description == nullptr || CFGetTypeID(description->name) != CFStringGetTypeID() ||
        CFStringGetLength(description->name) == 0 || !IsStringOrNull(description->printerID) ||
        !IsStringOrNull(description->ppdPath) || !IsStringOrNull(description->deviceURI) ||
        !IsStringOrNull(description->makeAndModel))
        return kPMInvalidParameter;
    CFURLRef ppd = nullptr, uri = nullptr;
    if (description->ppdPath) {
        ppd = CFURLCreateWithFileSystemPath(nullptr, description->ppdPath, kCFURLPOSIXPathStyle,
                                            false);
        if (ppd == nullptr)
            return kPMInvalidParameter;
    }
    if (description->deviceURI) {
        uri = CFURLCreateWithString(nullptr, description->deviceURI, nullptr);
        CFStringRef scheme = CFURLCopyScheme(uri);
        // A device URI names its back end; text without a scheme is no URI.
        if (scheme == nullptr) {
            if (uri)
                CFRelease(uri);
            if (ppd)
                CFRelease(ppd);
            return kPMInvalidParameter;
        }
        CFRelease(scheme);
    }
    Printer* p = new Printer;
    p->name = CFStringCreateCopy(nullptr, description->name);
    p->id = CopyOrNull(description->printerID ? description->printerID : description->name);
    p->makeAndModel = CopyOrNull(description->makeAndModel);
    p->ppd = ppd;
    p->deviceURI = uri;
    p->supportsColor = description->supportsColor;
    *printer = reinterpret_cast<PMPrinter>(static_cast<Object*>(p));
    return noErr;
}

CFStringRef PMPrinterGetName(PMPrinter printer) {
    Printer* p = FindPrinter(printer);
    return p ? p->name : nullptr;
}

CFStringRef PMPrinterGetID(PMPrinter printer) {
    Printer* p = FindPrinter(printer);
    return p ? p->id : nullptr;
}

OSStatus PMPrinterGetMakeAndModelName(PMPrinter printer, CFStringRef* makeAndModel) {
    if (makeAndModel == nullptr)
        return kPMInvalidParameter;
    *makeAndModel = nullptr;
    Printer* p = FindPrinter(printer);
    if (p == nullptr)
        return kPMInvalidPrinter;
    *makeAndModel = p->makeAndModel;
    return noErr;
}

OSStatus PMPrinterCopyDescriptionURL(PMPrinter printer, CFStringRef descriptionType,
                                     CFURLRef* fileURL) {
    if (fileURL == nullptr)
        return kPMInvalidParameter;
    *fileURL = nullptr;
    Printer* p = FindPrinter(printer);
    if (p == nullptr)
        return kPMInvalidPrinter;
    if (!CFEqual(descriptionType, kPMPPDDescriptionType))
        return kPMInvalidParameter;
    if (p->ppd == nullptr)
        return kPMNoSuchEntry;
    *fileURL = static_cast<CFURLRef>(CFRetain(p->ppd));
    return noErr;
}

OSStatus PMPrinterCopyDeviceURI(PMPrinter printer, CFURLRef* deviceURI) {
    if (deviceURI == nullptr)
        return kPMInvalidParameter;
    *deviceURI = nullptr;
    Printer* p = FindPrinter(printer);
    if (p == nullptr)
        return kPMInvalidPrinter;
    if (p->deviceURI == nullptr)
        return kPMNoSuchEntry;
    *deviceURI = static_cast<CFURLRef>(CFRetain(p->deviceURI));
    return noErr;
}

} // extern "C"
