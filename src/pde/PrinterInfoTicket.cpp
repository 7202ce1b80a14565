//===- PrinterInfoTicket.cpp - A session's printer information ------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PrinterInfoTicket.h"

#define INFO_KEY(name) CFSTR("com.apple.print.PrinterInfo." name)

namespace {

bool IsString(CFTypeRef item) {
    return item && CFGetTypeID(item) == CFStringGetTypeID();
}

bool IsNumber(CFTypeRef item) {
    return item && CFGetTypeID(item) == CFNumberGetTypeID();
}

// A 32-bit value of a number item; -1 when it has none.
long Int32Of(CFTypeRef item) {
    SInt32 value = 0;
    if (!IsNumber(item) ||
        !CFNumberGetValue(static_cast<CFNumberRef>(item), kCFNumberSInt32Type, &value))
        return -1;
    return value;
}

} // namespace

PrinterInfoTicket::PrinterInfoTicket(PMPrintSession session)
    : JobTicket(session, kPDE_PMPrinterInfoRef) {}

CFTypeRef PrinterInfoTicket::Item(CFStringRef key) {
    CFTypeRef item = nullptr;
    if (mTicket == nullptr) {
        mInfoStatus = kPMInvalidTicket;
        return nullptr;
    }
    mInfoStatus = PMTicketGetItem(mTicket, kPMTopLevel, kPMTopLevel, key, &item);
    return mInfoStatus == noErr ? item : nullptr;
}

CFStringRef PrinterInfoTicket::StringItem(CFStringRef key) {
    CFTypeRef item = Item(key);
    return IsString(item) ? static_cast<CFStringRef>(item) : nullptr;
}

bool PrinterInfoTicket::StringItem(CFStringRef key, CString& out) {
    CFStringRef text = StringItem(key);
    if (text == nullptr)
        return false;
    out = text;
    return true;
}

bool PrinterInfoTicket::IsTrue(CFStringRef key) {
    CFTypeRef item = Item(key);
    return item && CFGetTypeID(item) == CFBooleanGetTypeID() &&
           CFBooleanGetValue(static_cast<CFBooleanRef>(item));
}

long PrinterInfoTicket::Number(CFStringRef key) {
    CFTypeRef item = Item(key);
    long value = Int32Of(item);
    return value == -1 && !IsNumber(item) ? 0 : value;
}

CFStringRef PrinterInfoTicket::GetFullPrinterTypeName() {
    return StringItem(INFO_KEY("PMPrinterLongName"));
}

bool PrinterInfoTicket::GetFullPrinterTypeName(CString& name) {
    return StringItem(INFO_KEY("PMPrinterLongName"), name);
}

CFStringRef PrinterInfoTicket::GetPrinterMakeAndModel() {
    return StringItem(INFO_KEY("PMMakeAndModelName"));
}

bool PrinterInfoTicket::GetPrinterMakeAndModel(CString& name) {
    return StringItem(INFO_KEY("PMMakeAndModelName"), name);
}

CFStringRef PrinterInfoTicket::GetPrinterAddress() {
    return StringItem(INFO_KEY("PMPrinterAddress"));
}

bool PrinterInfoTicket::GetPrinterAddress(CString& address) {
    return StringItem(INFO_KEY("PMPrinterAddress"), address);
}

bool PrinterInfoTicket::SupportColor() {
    return IsTrue(INFO_KEY("PMSupportsColor"));
}

bool PrinterInfoTicket::SupportCopies() {
    return IsTrue(INFO_KEY("PMDoesCopies"));
}

bool PrinterInfoTicket::SupportCopiesAndCollate() {
    return IsTrue(INFO_KEY("PMDoesCopyCollate"));
}

bool PrinterInfoTicket::SupportReversePrintingOrder() {
    return IsTrue(INFO_KEY("PMDoesReverseOrder"));
}

CFTypeRef PrinterInfoTicket::InputFileList() {
    return Item(INFO_KEY("PMInputFileTypeList"));
}

CFTypeRef PrinterInfoTicket::OutputTypeList() {
    return Item(INFO_KEY("PMOutputTypeList"));
}

long PrinterInfoTicket::TrueTypeFontRasterizer() {
    return Number(INFO_KEY("PMPSTTRasterizer"));
}

long PrinterInfoTicket::MemoryInstalled() {
    return Number(INFO_KEY("PMTotalMemInstalled"));
}

CFStringRef PrinterInfoTicket::PPDFile() {
    return StringItem(INFO_KEY("PMDescriptionFile"));
}

bool PrinterInfoTicket::PPDFile(CString& path) {
    path = "";
    return StringItem(INFO_KEY("PMDescriptionFile"), path);
}

CFStringRef PrinterInfoTicket::GetColorDeviceUUID() {
    return StringItem(INFO_KEY("PMColorDeviceID"));
}

bool PrinterInfoTicket::GetColorDeviceUUID(CString& uuid) {
    uuid = "";
    return StringItem(INFO_KEY("PMColorDeviceID"), uuid);
}

bool PrinterInfoTicket::PostscriptVersion(CFNumberRef* level, CFStringRef* version,
                                          CFNumberRef* revision) {
    bool any = false;
    if (level) {
        CFTypeRef item = Item(INFO_KEY("PMPostScriptLevel"));
        *level = IsNumber(item) ? static_cast<CFNumberRef>(item) : nullptr;
        any |= *level != nullptr;
    }
    if (version) {
        *version = StringItem(INFO_KEY("PMPSVersion"));
        any |= *version != nullptr;
    }
    if (revision) {
        CFTypeRef item = Item(INFO_KEY("PMPSRevision"));
        *revision = IsNumber(item) ? static_cast<CFNumberRef>(item) : nullptr;
        any |= *revision != nullptr;
    }
    return any;
}

bool PrinterInfoTicket::PostscriptVersion(long* level, CString* version, long* revision) {
    bool any = false;
    if (level) {
        if (CFTypeRef item = Item(INFO_KEY("PMPostScriptLevel"))) {
            *level = Int32Of(item);
            any |= *level != -1;
        }
    }
    if (version)
        any |= StringItem(INFO_KEY("PMPSVersion"), *version);
    if (revision) {
        if (CFTypeRef item = Item(INFO_KEY("PMPSRevision"))) {
            *revision = Int32Of(item);
            any |= *revision != -1;
        }
    }
    return any;
}
