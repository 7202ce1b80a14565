//===- PrinterListFile.cpp - The bundle's list of accepted PPDs -----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PrinterListFile.h"

PrinterListFile::PrinterListFile(CFURLRef contentsFolder, CFPropertyListMutabilityOptions options)
    : PropertyListFile(contentsFolder, CFSTR("PrinterList.plist"), false, options) {
    CFPropertyListRef root = PropertyListFile::Get();
    if (root == nullptr || CFGetTypeID(root) != CFDictionaryGetTypeID())
        return;
    CFTypeRef names = CFDictionaryGetValue(static_cast<CFDictionaryRef>(root), CFSTR("PCFILENAME"));
    if (names && CFGetTypeID(names) == CFArrayGetTypeID())
        mPCFileNames = static_cast<CFArrayRef>(names);
}
