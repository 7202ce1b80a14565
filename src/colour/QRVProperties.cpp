//===- QRVProperties.cpp - Which colour control a PPD control is ----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "QRVProperties.h"

#include "ExpertColorKeywords.h"
#include "PPDXControl.h"

namespace {

// Positions of the pane's own controls in the colour keyword table.
enum { kColorModeIndex = 19, kSeparationsIndex = 20, kBrightnessIndex = 21,
       kImageSmoothIndex = 22, kSubstColorsIndex = 23 };

bool hasIndex(const PPDXControl* control, int index) {
    const char* keyword = control ? control->Keyword() : nullptr;
    return keyword && ExpertColorKeywords::getPigmentorKeywordIdx(keyword) == index;
}

} // namespace

bool QRVProperties::isColorMode(const PPDXControl* control) {
    return hasIndex(control, kColorModeIndex);
}

bool QRVProperties::isColorSeparation(const PPDXControl* control) {
    return hasIndex(control, kSeparationsIndex);
}

bool QRVProperties::isBrightness(const PPDXControl* control) {
    return hasIndex(control, kBrightnessIndex);
}

bool QRVProperties::isImageSmoothing(const PPDXControl* control) {
    return hasIndex(control, kImageSmoothIndex);
}

bool QRVProperties::isColorSubst(const PPDXControl* control) {
    return hasIndex(control, kSubstColorsIndex);
}
