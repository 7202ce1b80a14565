//===- SetupPPD.cpp - The PPD model of the current printer ----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "SetupPPD.h"

#include "PDEBundleAccess.h"
#include "PrinterListFile.h"
#include "PrinterQueries.h"

#include "QRVPPD.h"

#include <new>

QRVPPD* SetupPPD(PMPrintSession session, CFStringRef identifier) {
    CFURLRef url = nullptr;
    FSRef ref;
    if (GetPPDFile(session, url, ref) != noErr)
        return nullptr;
    CFURLRef contents = CreatePDEContentsURL(identifier);
    if (contents == nullptr) {
        CFRelease(url);
        return nullptr;
    }
    QRVPPD* model = nullptr;
    {
        PrinterListFile printers(contents, kCFPropertyListImmutable);
        if (printers.Valid()) {
            model = new (std::nothrow) QRVPPD(url, kShowAll, printers.Get());
            if (model && (!model->IsValidPrinterName() || !model->IsValidPPD())) {
                model->Release();
                model = nullptr;
            }
        }
    }
    CFRelease(url);
    CFRelease(contents);
    return model;
}
