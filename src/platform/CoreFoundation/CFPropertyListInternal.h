//===- CFPropertyListInternal.h - Property list conversions -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// Internal to the CoreFoundation library: the checks and conversions between CF objects,
// libplist trees and XML text behind CFPropertyList.h and the bundle's property-list files.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFPROPERTYLISTINTERNAL_H
#define PIGMENTOR_CF_CFPROPERTYLISTINTERNAL_H

#include <CoreFoundation/CFPropertyList.h>

#include <locale.h>
#include <string>
#include <string_view>

namespace pmcf {

/// Makes the C locale current for this thread while alive: libplist reads and writes reals
/// with the C library's locale-dependent functions, and a host may have set another locale.
class ScopedCLocale {
public:
    ScopedCLocale()
        : c_(newlocale(LC_ALL_MASK, "C", nullptr)), old_(c_ ? uselocale(c_) : nullptr) {}
    ~ScopedCLocale() {
        if (c_) {
            uselocale(old_);
            freelocale(c_);
        }
    }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t c_;
    locale_t old_;
};

/// Checks XML text against the reading limits of CFPropertyList.h before libplist parses it.
/// True when it passes; otherwise false and a short English reason in `error`.
bool CheckPropertyListText(std::string_view xml, std::string& error);

/// Whether `bytes` claim the binary form (they begin "bplist").
bool IsBinaryPropertyList(std::string_view bytes);

/// Checks the structure of a binary property list against the same limits before libplist
/// reads it (references in bounds, no cycles, depth, element count, value ranges, string keys).
/// True when it passes; otherwise false and a short English reason in `error`.
bool CheckBinaryPropertyList(std::string_view bytes, std::string& error);

/// Reads XML text or a binary property list into a new CF tree with the given mutability;
/// NULL and `error` on failure. `format` (may be NULL) gets the form that was read.
CFPropertyListRef ReadPropertyList(std::string_view bytes, CFOptionFlags mutability,
                                   std::string& error, CFPropertyListFormat* format = nullptr);

/// Writes a CF tree as XML text; false and `error` when it is not a writable property list.
bool WritePropertyList(CFPropertyListRef plist, std::string& xml, std::string& error);

/// Seconds since 2001-01-01 for a date that libplist can hold (whole seconds in 32 bits).
bool DateFitsPropertyList(double absoluteTime);

} // namespace pmcf

#endif
