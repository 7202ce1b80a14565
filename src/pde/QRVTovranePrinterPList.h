//===- QRVTovranePrinterPList.h - Per-user print server addresses -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_QRVTOVRANEPRINTERPLIST_H
#define PIGMENTOR_PDE_QRVTOVRANEPRINTERPLIST_H

#include "PropertyListFile.h"

/// The user's list of print server addresses, one entry per printer, in
/// $HOME/Library/Preferences/QRV.TovranePrinter.plist: a flat array of triples (printer name,
/// server address, two-way-by-address flag as a boolean) in the order added.
///
/// The object owns a mutable copy of the array. A missing or malformed file, a root that is
/// not an array, or one holding what cannot be written back, gives an empty list (and the
/// file is kept beside the next one Save writes); an incomplete triple at the end is dropped
/// so that entries added later stay aligned; a triple whose elements have the wrong types is
/// kept but never matches (name) or reads as absent (address, false flag). Printer names are
/// compared without regard to case. Changes stay in memory until Save, which creates the
/// missing Library/Preferences folders and replaces the file atomically. One thread at a time.
class QRVTovranePrinterPList : public PropertyListFile {
public:
    /// Reads the user's file.
    QRVTovranePrinterPList();
    ~QRVTovranePrinterPList() override;

    /// The index of the triple of `printer` (found true), or -1 (found false) when no complete
    /// triple names it.
    CFIndex Exists(CFStringRef printer, bool& found) const;
    /// The address stored for `printer` (not retained), or null.
    CFStringRef Find(CFStringRef printer) const;
    /// Stores copies of `printer` and `address` with the flag: replaces the listed printer's
    /// address and flag, else appends a triple. False when a copy could not be made.
    bool Add(CFStringRef printer, CFStringRef address, bool ipEnabled);
    /// Sets the flag of a listed printer; false (nothing changed) when it is not listed.
    bool setIPEnabled(CFStringRef printer, bool flag);
    /// The flag of `printer`; false when it is not listed.
    bool getIPEnabled(CFStringRef printer) const;
    /// Writes the whole list; false (LastError says why) on failure.
    bool Save();
    /// Whether the list exists.
    bool Valid() const { return mValid; }
    /// Whether the list was changed since it was read or saved.
    bool Changed() const { return mChanged; }
    /// The list (not retained).
    CFArrayRef Printers() const { return mPrinters; }

    /// The file's path below $HOME.
    static const char* const kRelativePath;

private:
    CFMutableArrayRef mPrinters = nullptr;
    bool mChanged = false;
    bool mValid = false;
};

#endif // PIGMENTOR_PDE_QRVTOVRANEPRINTERPLIST_H
