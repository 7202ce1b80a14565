//===- PigmentorDataAddresses.cpp - The two-way server address per printer ===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorData.h"

#include "ColourText.h"
#include "QRVTovranePrinterPList.h"

bool PigmentorData::ResetTovranePrinterList() {
    delete mPrinterList;
    mPrinterList = new QRVTovranePrinterPList();
    return mPrinterList->Valid();
}

CFStringRef PigmentorData::GetTovranePrinterAddress(CFStringRef printer, bool* ipEnabled) {
    if (!mPrinterList)
        return nullptr;
    CFStringRef found = printer ? mPrinterList->Find(printer) : nullptr;
    // A copy of our own: the list's entry goes with the next reread or change of the list.
    CFStringRef copy = found ? CFStringCreateCopy(kCFAllocatorDefault, found) : nullptr;
    if (mTwoWayAddress)
        CFRelease(mTwoWayAddress);
    mTwoWayAddress = copy;
    if (copy && ipEnabled)
        *ipEnabled = mPrinterList->getIPEnabled(printer);
    return mTwoWayAddress;
}

bool PigmentorData::SetTovranePrinterAddress(CFStringRef printer, CString* address,
                                             bool ipEnabled) {
    if (!printer)
        printer = mPrinterName;
    if (!mPrinterList || !printer || !address || static_cast<const char*>(*address) == nullptr)
        return false;
    CFStringRef text = ColourText::Create(*address);
    if (!text)
        return false;
    bool saved = mPrinterList->Add(printer, text, ipEnabled) && mPrinterList->Save();
    CFRelease(text);
    return saved;
}

bool PigmentorData::SetIPAddressEnabled(bool enabled) {
    if (!mPrinterList || !mPrinterName)
        return false;
    return mPrinterList->setIPEnabled(mPrinterName, enabled) && mPrinterList->Save();
}
