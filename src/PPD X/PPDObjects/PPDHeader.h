//===- PPDHeader.h - A PPD read for its header only -------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDHEADER_H
#define PIGMENTOR_PPDX_PPDHEADER_H

#include "PPDX.h"

/// A PPD read for its signature and header keywords only, without building a model of its
/// options: what a printer list needs to show and check a PPD cheaply.
///
/// The signature must be "*PPD-Adobe" with "4.3" (else error 28, fatal); a file that cannot be
/// read gives error 18 (fatal). A line of 255 characters or more, or a last line without a
/// line end, ends the reading, as it ends a full parse.
class PPDHeader : public PPDX {
public:
    /// Checks the *PCFileName against `acceptedNames` (may be null) and, when accepted, reads.
    PPDHeader(CFURLRef url, CFArrayRef acceptedNames);
    PPDHeader(const FSSpec& fsSpec, CFArrayRef acceptedNames);

    void Parse() override;
};

#endif // PIGMENTOR_PPDX_PPDHEADER_H
