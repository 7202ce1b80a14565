//===- PigmentorDataSummary.cpp - The colour lines of the print summary ---===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorData.h"

#include "ExpertColorFeatures.h"

namespace {

/// Where the summary walk stands: the print mode line, the pane lines, the expert lines.
enum SummaryState { kSummaryColorMode = 0, kSummaryPane = 1, kSummaryExpert = 2 };

/// One cursor for the whole process: the print dialog asks one pane at a time, on its main
/// thread, for lines until the answer is false.
SummaryState sSummaryState = kSummaryColorMode;

} // namespace

bool PigmentorData::ReportColorMode(CFMutableStringRef title, CFMutableStringRef value) {
    if (title && mPrintModeTitle)
        CFStringReplaceAll(title, mPrintModeTitle);
    if (value && mColorModeValueTitle)
        CFStringReplaceAll(value, mColorModeValueTitle);
    return mPrintModeTitle && mColorModeValueTitle;
}

bool PigmentorData::GetSummaryLine(CFMutableStringRef title, CFMutableStringRef value,
                                   bool& enabled) {
    enabled = true;
    bool answer = false;
    if (sSummaryState == kSummaryColorMode) {
        answer = ReportColorMode(title, value);
        sSummaryState = kSummaryPane;
    } else {
        if (sSummaryState == kSummaryPane) {
            answer = mExpertColorFeatures &&
                     mExpertColorFeatures->getPigmentorPaneFeatureInfo(title, value, enabled);
            if (!answer)
                sSummaryState = kSummaryExpert;
        }
        if (sSummaryState == kSummaryExpert)
            answer = mExpertColorFeatures &&
                     mExpertColorFeatures->getExpertColorFeatureInfo(title, value, enabled);
    }
    if (!answer)
        sSummaryState = kSummaryColorMode;
    return answer;
}
