//===- PMCFUtilities.h - C++ conveniences over Core Foundation -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// Helpers of our own, not part of the platform API, for tools and tests written in C++.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_PMCFUTILITIES_H
#define PIGMENTOR_CF_PMCFUTILITIES_H

#include <CoreFoundation/CFString.h>

#include <string>
#include <string_view>

/// The text of `string` as UTF-8; "" for NULL. Unpaired surrogates become U+FFFD.
std::string PMCFStringCopyUTF8(CFStringRef string);
/// A new string from UTF-8 text (caller releases); NULL when `utf8` is not valid UTF-8.
CFStringRef PMCFStringCreateWithUTF8(std::string_view utf8);

#endif
