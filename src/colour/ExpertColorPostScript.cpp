//===- ExpertColorPostScript.cpp - The expert features' code for the job --===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ExpertColorFeatures.h"

#include "ExpertColorKeywords.h"
#include "PPDXControls.h"
#include "PPDXPopupControl.h"
#include "PigmentorBIDIItem.h"
#include "PigmentorBIDIItemList.h"
#include "QRVPPD.h"

#include <climits>
#include <cstring>

// A feature without code (no value chosen, or a two-way feature the PPD has no control for)
// is passed over: 0 is kept for "no further feature", which ends the job's expert output.
int ExpertColorFeatures::getPostscriptFeatureData(unsigned char* buf, int size, bool advance) {
    if (!getExpertColorFeatures())
        return 0;
    int result = 0;
    while (result == 0) {
        PigmentorItem* item = getCurrentExpertColorItem();
        if (!item)
            return 0;
        auto* bidi = dynamic_cast<PigmentorBIDIItem*>(item);
        const char* keyword = item->getFeatureKeyword();
        if (bidi && isBidiKeyword(bidi->getBidiFeatureKeyword()) && !bidi->isSpecialBidiKeyword())
            result = plainControlCode(item, buf, size);
        else if (!bidi || !keyword ||
                 std::strcmp(keyword, ExpertColorKeywords::keyword(ExpertColorKeywords::kOutProfile)))
            result = item->getFeaturePostScript(buf, size);
        else
            result = outProfileCode(item, buf, size);
    }
    if (result < 0 && !advance)
        PrevItem();
    return result;
}

// The server's choice written as the PPD's own option, so that the print filter sees the
// code it knows; the plain control's own choice is left as it was.
int ExpertColorFeatures::plainControlCode(PigmentorItem* item, unsigned char* buf, int size) {
    auto* list = dynamic_cast<PigmentorBIDIItemList*>(getExpertColorFeatures());
    PPDXControl* control = list ? list->getIndexPPDControl(item->getIndex()) : nullptr;
    if (!control)
        return 0;
    PigmentorPPDItem plain(control);
    const long remembered = plain.getValue();
    const long position = plain.getValueByKeyword(item->getValueKeyword());
    if (position <= 0)
        return plain.getFeaturePostScript(buf, size);
    plain.setValue(static_cast<unsigned long>(position));
    const int result = plain.getFeaturePostScript(buf, size);
    plain.setValue(static_cast<unsigned long>(remembered));
    return result;
}

// "Media defined" is the PPD's own choice: with the PPD offering both media-defined options
// and one of them chosen, the PPD's code for it is written instead of the dynamic option.
int ExpertColorFeatures::outProfileCode(PigmentorItem* item, unsigned char* buf, int size) {
    const char* outKeyword = ExpertColorKeywords::keyword(ExpertColorKeywords::kOutProfile);
    PPDXPopupControl* popup =
        mModel && mModel->GetControls() ? mModel->GetControls()->FindPopup(outKeyword, true) : nullptr;
    const char* chosen = item->getValueKeyword();
    if (popup && chosen && popup->HasItemWithKeyword("DEFAULT_MEDIA") &&
        popup->HasItemWithKeyword("QVOutProfileDEF") &&
        (std::strcmp(chosen, "DEFAULT_MEDIA") == 0 || std::strcmp(chosen, "QVOutProfileDEF") == 0)) {
        const long length = popup->GetKeywordPSData(chosen, nullptr);
        if (length <= 0 || length > INT_MAX)
            return 0;
        if (!buf)
            return -static_cast<int>(length);
        if (size >= length)
            popup->GetKeywordPSData(chosen, buf);
        return static_cast<int>(length);
    }
    return item->getFeaturePostScript(buf, size);
}
