//===- PPDXTypes.h - Option bit sets and control kinds of the model -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXTYPES_H
#define PIGMENTOR_PPDX_PPDXTYPES_H

#include <cstdint>

/// Which elements a walk over the model's containers shows: bit 0 orphans (elements without a
/// parent), bit 1 hidden elements. 0 shows visible elements that have a parent, 3 shows all.
typedef uint32_t _DISPLAY_OPTIONS_;
/// Which elements a parse keeps at all, with the same bits: bit 0 orphans, bit 1 hidden ones.
typedef uint32_t _PARSE_OPTIONS_;
/// The extension level that job-note flag words are checked against.
typedef uint32_t _EXTENSIONS_SUPPORT_;

enum : uint32_t {
    kShowOrphans = 1,     ///< display and parse option bit 0
    kShowHidden = 2,      ///< display and parse option bit 1
    kShowAll = 3,
};

/// The kind of a control, as stored in its type field.
enum CNTL_TYPE : uint32_t {
    kNoControlType = 0,
    kJobNoteType = 1,
    kRangeType = 2, ///< integer and floating-point ranges alike
    kBooleanType = 3,
    kPopupType = 4,
    kSpecialOptionType = 5,
};

#endif // PIGMENTOR_PPDX_PPDXTYPES_H
