//===- PigmentorDataSummary.cpp - The colour lines of the print summary ---===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorData.h"

#include "ExpertColorFeatures.h"
#include "PigmentorItem.h"
#include "PigmentorItemList.h"

#include <cstring>

namespace {

/// Where the summary walk stands: the print mode line, the pane lines, the expert lines.
enum SummaryState { kSummaryColorMode = 0, kSummaryPane = 1, kSummaryExpert = 2 };

/// One cursor for the whole process: the print dialog asks one pane at a time, on its main
/// thread, for lines until the answer is false.
SummaryState sSummaryState = kSummaryColorMode;

/// Whether an item after `item` in its list is of the same feature. The two-way list holds a
/// plain PPD item beside the server's item for gamma, white point and phosphors; the summary
/// gives each feature once, with the last item's value: the one the expert dialog edits and
/// whose code goes last into the job.
bool FeatureFollows(PigmentorItem* item) {
    const char* keyword = item ? item->getFeatureKeyword() : nullptr;
    if (keyword == nullptr || *keyword == '\0')
        return false;
    for (PigmentorItem* later = PigmentorItemList::nextItem(item); later;
         later = PigmentorItemList::nextItem(later)) {
        const char* other = later->getFeatureKeyword();
        if (other && std::strcmp(other, keyword) == 0)
            return true;
    }
    return false;
}

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
        if (sSummaryState == kSummaryExpert) {
            do
                answer = mExpertColorFeatures &&
                         mExpertColorFeatures->getExpertColorFeatureInfo(title, value, enabled);
            while (answer && FeatureFollows(mExpertColorFeatures->CurrentExpertColorItem()));
        }
    }
    if (!answer)
        sSummaryState = kSummaryColorMode;
    return answer;
}
