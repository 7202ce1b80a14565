//===- PPDXKeywordMatch.h - Keyword test of the containers' Find -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXKEYWORDMATCH_H
#define PIGMENTOR_PPDX_PPDXKEYWORDMATCH_H

#include "PPDXElement.h"

#include <cstring>

/// Whether `element`'s keyword equals `keyword` (`exact`) or contains it, byte for byte, case
/// included. False when either has no keyword.
inline bool PPDXKeywordMatches(const PPDXElement& element, const char* keyword, bool exact) {
    const char* mine = element.Keyword();
    if (!mine || !keyword)
        return false;
    return exact ? std::strcmp(mine, keyword) == 0 : std::strstr(mine, keyword) != nullptr;
}

#endif // PIGMENTOR_PPDX_PPDXKEYWORDMATCH_H
