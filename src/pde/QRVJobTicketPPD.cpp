//===- QRVJobTicketPPD.cpp - The PPD model kept in the print settings -----===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "QRVJobTicket.h"

#include "PDEBundleAccess.h"
#include "PrintSettingsTicket.h"
#include "PrinterListFile.h"

#include "CFDataStream.h"
#include "QRVPPD.h"
#include "Settings.h"

#include <new>

bool QRVJobTicket::SavePPD(QRVPPD* model, CFStringRef clientID, CFURLRef /*ppdURL*/) {
    if (clientID == nullptr || model == nullptr || mPrintSettings == nullptr)
        return false;
    Settings archive;
    if (!archive.Valid() || !model->Save(archive))
        return false;
    CFDataStream stream;
    if (archive.Save(&stream) != 0 || stream.getCFData() == nullptr)
        return false;
    // The archive travels as a property list whose root is its bytes, so that the ticket's
    // XML form carries it like any other item.
    CFDataRef xml = CFPropertyListCreateXMLData(kCFAllocatorDefault, stream.getCFData());
    if (xml == nullptr) {
        mJobStatus = memFullErr;
        return false;
    }
    bool saved = mPrintSettings->Set(clientID, clientID, xml, false) == noErr;
    CFRelease(xml);
    return saved;
}

QRVPPD* QRVJobTicket::RestorePPD(CFStringRef clientID, CFURLRef ppdURL) {
    if (clientID == nullptr || mPrintSettings == nullptr)
        return nullptr;
    CFDataRef xml = nullptr;
    if (mPrintSettings->Get(clientID, xml) != noErr || xml == nullptr)
        return nullptr;
    // The item is untrusted: its root must be data, and the archive reader checks the rest.
    CFPropertyListRef root = CFPropertyListCreateFromXMLData(kCFAllocatorDefault, xml,
                                                             kCFPropertyListImmutable, nullptr);
    if (root == nullptr)
        return nullptr;
    QRVPPD* model = nullptr;
    if (CFGetTypeID(root) == CFDataGetTypeID()) {
        CFDataStream stream(static_cast<CFDataRef>(root));
        Settings archive;
        CFURLRef contents = CreatePDEContentsURL(clientID);
        if (contents) {
            PrinterListFile printers(contents, kCFPropertyListImmutable);
            if (printers.Valid() && archive.Read(&stream, 0) == 0) {
                model = new (std::nothrow) QRVPPD(archive, ppdURL, printers.Get());
                if (model && (!model->IsValidPrinterName() || !model->IsValidPPD())) {
                    model->Release();
                    model = nullptr;
                }
            }
            CFRelease(contents);
        }
    }
    CFRelease(root);
    return model;
}
