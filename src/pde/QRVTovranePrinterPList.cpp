//===- QRVTovranePrinterPList.cpp - Per-user print server addresses -------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "QRVTovranePrinterPList.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

const char* const QRVTovranePrinterPList::kRelativePath =
    "/Library/Preferences/QRV.TovranePrinter.plist";

namespace {

const CFIndex kTriple = 3;

bool IsString(CFTypeRef value) {
    return value && CFGetTypeID(value) == CFStringGetTypeID();
}

// The user's Library/Preferences is not a given outside the platform the list was made for;
// without it there would be nowhere to save. Existing entries (links included) are left alone.
void MakePreferencesFolders() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0')
        return;
    std::string library = std::string(home) + "/Library";
    for (const std::string& folder : {library, library + "/Preferences"})
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return;
}

} // namespace

QRVTovranePrinterPList::QRVTovranePrinterPList()
    : PropertyListFile(kRelativePath, false, kCFPropertyListImmutable) {
    CFArrayRef stored = GetAsArray();
    mPrinters = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    // A list holding what cannot be written back (a text with a NUL, say) could never be saved
    // again: it is set aside whole, kept beside the new file by the next Save.
    if (stored && !CFPropertyListIsValid(stored, kCFPropertyListXMLFormat_v1_0)) {
        stored = nullptr;
        KeepOldFileOnSave();
    }
    if (stored) {
        CFIndex whole = CFArrayGetCount(stored) / kTriple * kTriple;
        if (mPrinters)
            CFArrayAppendArray(mPrinters, stored, CFRangeMake(0, whole));
        // What this list drops (an incomplete triple) must not vanish with the next Save.
        if (whole != CFArrayGetCount(stored))
            KeepOldFileOnSave();
    } else if (Get()) {
        KeepOldFileOnSave(); // a readable file whose root is not a list
    }
    mValid = mPrinters != nullptr;
}

QRVTovranePrinterPList::~QRVTovranePrinterPList() {
    if (mPrinters)
        CFRelease(mPrinters);
}

CFIndex QRVTovranePrinterPList::Exists(CFStringRef printer, bool& found) const {
    found = false;
    if (mPrinters == nullptr || printer == nullptr)
        return -1;
    CFIndex count = CFArrayGetCount(mPrinters);
    for (CFIndex i = 0; i + kTriple <= count; i += kTriple) {
        CFTypeRef name = CFArrayGetValueAtIndex(mPrinters, i);
        if (IsString(name) && CFStringCompare(static_cast<CFStringRef>(name), printer,
                                              kCFCompareCaseInsensitive) == kCFCompareEqualTo) {
            found = true;
            return i;
        }
    }
    return -1;
}

CFStringRef QRVTovranePrinterPList::Find(CFStringRef printer) const {
    bool found = false;
    CFIndex at = Exists(printer, found);
    if (!found)
        return nullptr;
    CFTypeRef address = CFArrayGetValueAtIndex(mPrinters, at + 1);
    return IsString(address) ? static_cast<CFStringRef>(address) : nullptr;
}

bool QRVTovranePrinterPList::Add(CFStringRef printer, CFStringRef address, bool ipEnabled) {
    if (mPrinters == nullptr || printer == nullptr || address == nullptr)
        return false;
    CFStringRef name = CFStringCreateCopy(kCFAllocatorDefault, printer);
    CFStringRef where = CFStringCreateCopy(kCFAllocatorDefault, address);
    if (name == nullptr || where == nullptr) {
        if (name)
            CFRelease(name);
        if (where)
            CFRelease(where);
        return false;
    }
    CFBooleanRef flag = ipEnabled ? kCFBooleanTrue : kCFBooleanFalse;
    bool found = false;
    CFIndex at = Exists(printer, found);
    if (found) {
        CFArraySetValueAtIndex(mPrinters, at + 1, where);
        CFArraySetValueAtIndex(mPrinters, at + 2, flag);
    } else {
        CFArrayAppendValue(mPrinters, name);
        CFArrayAppendValue(mPrinters, where);
        CFArrayAppendValue(mPrinters, flag);
    }
    CFRelease(name);
    CFRelease(where);
    mChanged = true;
    return true;
}

bool QRVTovranePrinterPList::setIPEnabled(CFStringRef printer, bool flag) {
    bool found = false;
    CFIndex at = Exists(printer, found);
    if (!found)
        return false;
    CFArraySetValueAtIndex(mPrinters, at + 2, flag ? kCFBooleanTrue : kCFBooleanFalse);
    mChanged = true;
    return true;
}

bool QRVTovranePrinterPList::getIPEnabled(CFStringRef printer) const {
    bool found = false;
    CFIndex at = Exists(printer, found);
    if (!found)
        return false;
    CFTypeRef flag = CFArrayGetValueAtIndex(mPrinters, at + 2);
    return flag && CFGetTypeID(flag) == CFBooleanGetTypeID() &&
           CFBooleanGetValue(static_cast<CFBooleanRef>(flag));
}

bool QRVTovranePrinterPList::Save() {
    if (mPrinters == nullptr)
        return false;
    MakePreferencesFolders();
    if (!PropertyListFile::Save(mPrinters))
        return false;
    mChanged = false;
    return true;
}
