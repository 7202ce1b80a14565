//===- PrinterInfoTicket.h - A session's printer information ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PRINTERINFOTICKET_H
#define PIGMENTOR_PDE_PRINTERINFOTICKET_H

#include "JobTicket.h"

#include "CString.h"

/// The printer information ticket of a print session (the data item "PMPrinterInfoTicket",
/// owned by the session, which must outlive this object), with one getter per item the pane
/// reads. Getters answer null, 0 or false when the item is missing or of another type; CF
/// results are not retained. CString results are in the application's text encoding. Valid
/// when the ticket was found.
class PrinterInfoTicket : public JobTicket {
public:
    explicit PrinterInfoTicket(PMPrintSession session);
    ~PrinterInfoTicket() override = default;

    /// "PMPrinterLongName".
    CFStringRef GetFullPrinterTypeName();
    bool GetFullPrinterTypeName(CString& name);
    /// "PMMakeAndModelName".
    CFStringRef GetPrinterMakeAndModel();
    bool GetPrinterMakeAndModel(CString& name);
    /// "PMPrinterAddress".
    CFStringRef GetPrinterAddress();
    bool GetPrinterAddress(CString& address);
    /// "PMSupportsColor" is the true boolean.
    bool SupportColor();
    /// "PMDoesCopies" is the true boolean.
    bool SupportCopies();
    /// "PMDoesCopyCollate" is the true boolean.
    bool SupportCopiesAndCollate();
    /// "PMDoesReverseOrder" is the true boolean.
    bool SupportReversePrintingOrder();
    /// "PMInputFileTypeList", of any type.
    CFTypeRef InputFileList();
    /// "PMOutputTypeList", of any type.
    CFTypeRef OutputTypeList();
    /// "PMPSTTRasterizer" as a 32-bit integer.
    long TrueTypeFontRasterizer();
    /// "PMTotalMemInstalled" as a 32-bit integer.
    long MemoryInstalled();
    /// "PMDescriptionFile".
    CFStringRef PPDFile();
    /// Empties `path` first.
    bool PPDFile(CString& path);
    /// "PMColorDeviceID".
    CFStringRef GetColorDeviceUUID();
    /// Empties `uuid` first.
    bool GetColorDeviceUUID(CString& uuid);
    /// The level, version and revision items of the non-null arguments (each null when its
    /// item is missing or of another type); whether any was found.
    bool PostscriptVersion(CFNumberRef* level, CFStringRef* version, CFNumberRef* revision);
    /// The same converted into the non-null arguments only (a number that does not convert
    /// gives -1; a missing item leaves its argument alone); whether any value was obtained.
    bool PostscriptVersion(long* level, CString* version, long* revision);

    /// The status of the last getter.
    OSStatus InfoStatus() const { return mInfoStatus; }

private:
    CFTypeRef Item(CFStringRef key);
    CFStringRef StringItem(CFStringRef key);
    bool StringItem(CFStringRef key, CString& out);
    bool IsTrue(CFStringRef key);
    long Number(CFStringRef key);

    OSStatus mInfoStatus = noErr;
};

#endif // PIGMENTOR_PDE_PRINTERINFOTICKET_H
