//===- PDEBundle.h - Localised strings of the plug-in's bundle --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PDEBUNDLE_H
#define PIGMENTOR_PDE_PDEBUNDLE_H

#include <CoreFoundation/CoreFoundation.h>

/// Localised texts of the plug-in's string tables: the default table ("Localizable") and named
/// ones ("PigmentorErr", "BidiStrings", "Dialogs"), in the user's language as the bundle
/// chooses it. Every call takes an optional bundle; null means the default bundle set by
/// InitBundle, which is retained until it is replaced. CFString results are new (the caller
/// releases them). Byte results are in the application's text encoding (Mac Roman),
/// NUL-terminated, cut to the caller's buffer size. Process-wide state, not locked: the print
/// dialog's main thread only.
class PDEBundle {
public:
    /// Makes `bundle` (retained; null clears it) the default bundle.
    static void InitBundle(CFBundleRef bundle);
    /// The default bundle (not retained), or null.
    static CFBundleRef GetBundle();
    /// The text of `key` in the default table (the key itself when no table has it); null
    /// without a bundle.
    static CFStringRef GetLocalizedCFString(CFStringRef key, CFBundleRef bundle = nullptr);
    /// The text of `key` in the table `table` (the key itself when missing); null without a
    /// bundle.
    static CFStringRef GetLocalizedCFStringFromFile(CFStringRef key, CFStringRef table,
                                                    CFBundleRef bundle = nullptr);
    /// The text of `key` in the default table into `buffer` of `size` bytes; its length, 0
    /// (and an empty buffer) without a bundle or when it cannot be converted.
    static long GetLocalizedString(CFStringRef key, char* buffer, long size,
                                   CFBundleRef bundle = nullptr);
    /// `string` into `buffer` of `size` bytes in the application's encoding (UTF-8); its
    /// length. A text too long for the buffer is cut after the last whole character that fits;
    /// 0 (and an empty buffer) when it does not convert.
    static long ConvertCFString(CFStringRef string, char* buffer, long size);
};

/// The text of `key` in the host application's default table (the key itself when missing)
/// into `buffer`, only when it is shorter than `size` bytes; its length, else 0 and an empty
/// buffer.
long GetLocalizedString(CFStringRef key, char* buffer, long size);

#endif // PIGMENTOR_PDE_PDEBUNDLE_H
