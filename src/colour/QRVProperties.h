//===- QRVProperties.h - Which colour control a PPD control is --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_QRVPROPERTIES_H
#define PIGMENTOR_COLOUR_QRVPROPERTIES_H

class PPDXControl;

/// Classifies PPD controls by main keyword (compared exactly, case included) against the
/// colour keyword table: the print mode and the four pane controls the colour data controller
/// keeps. A null control, or one without keyword, is none of them. Any thread; no state.
class QRVProperties {
public:
    /// "*QVColorMode".
    static bool isColorMode(const PPDXControl* control);
    /// "*QVSeparations".
    static bool isColorSeparation(const PPDXControl* control);
    /// "*QVBrightness".
    static bool isBrightness(const PPDXControl* control);
    /// "*QVImageSmooth".
    static bool isImageSmoothing(const PPDXControl* control);
    /// "*QVSubstColors".
    static bool isColorSubst(const PPDXControl* control);
};

#endif // PIGMENTOR_COLOUR_QRVPROPERTIES_H
