//===- PrinterListFile.h - The bundle's list of accepted PPDs ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PRINTERLISTFILE_H
#define PIGMENTOR_PDE_PRINTERLISTFILE_H

#include "PropertyListFile.h"

/// "PrinterList.plist" of the plug-in bundle's Contents folder: a dictionary whose
/// "PCFILENAME" array holds the PC file names a printer's PPD must carry to be served. The
/// list is valid only when the file was read, its root is a dictionary and "PCFILENAME" is an
/// array; its entries are checked by whoever compares them (non-strings never match).
class PrinterListFile : public PropertyListFile {
public:
    /// Reads "PrinterList.plist" in `contentsFolder`.
    PrinterListFile(CFURLRef contentsFolder, CFPropertyListMutabilityOptions options);
    ~PrinterListFile() override = default;

    /// Whether the file gave a "PCFILENAME" array.
    bool Valid() const { return mPCFileNames != nullptr; }
    /// The "PCFILENAME" array (owned by the file's root, not retained), or null.
    CFArrayRef Get() const { return mPCFileNames; }

private:
    CFArrayRef mPCFileNames = nullptr;
};

#endif // PIGMENTOR_PDE_PRINTERLISTFILE_H
