//===- SharedConstraintRec.h - One answer of a constraint query -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_SHAREDCONSTRAINTREC_H
#define PIGMENTOR_PPDX_SHAREDCONSTRAINTREC_H

#include <cstdint>

class PPDXControl;

/// `item` of a record that names any choice of its control, or a choice that is not one.
constexpr uint16_t kAnyConstraintItem = 0xFFFF;

/// One answer of QRVPPD::GetConstraintList or GetRequiresList: the constrained control (null
/// when no control has the keyword) and which of its choices: the 1-based position of a popup
/// item, 1 or 0 for the True or False choice of a boolean, or kAnyConstraintItem.
///
/// Records are packed, the pointer and then the 16-bit index with no padding, and handed out
/// in one array (6 bytes a record where pointers are 4 bytes wide, 10 on 64-bit builds). The
/// control is not owned. Read the fields by value: packed fields cannot be referenced.
#pragma pack(push, 1)
struct SharedConstraintRec {
    PPDXControl* control;
    uint16_t item;
};
#pragma pack(pop)

static_assert(sizeof(SharedConstraintRec) == sizeof(PPDXControl*) + sizeof(uint16_t),
              "constraint records are packed");

#endif // PIGMENTOR_PPDX_SHAREDCONSTRAINTREC_H
