//===- PigmentorPaneItemList.cpp - The colour pane's own controls ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorPaneItemList.h"

#include "ExpertColorKeywords.h"
#include "PPDXControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PigmentorBooleanItem.h"
#include "PigmentorErrors.h"
#include "PigmentorPPDItem.h"

#include <initializer_list>
#include <new>

PigmentorPaneItemList::PigmentorPaneItemList(QRVPPD* model)
    : PigmentorPPDItemList(model, false, nullptr) {
    mValid = initialize();
}

PigmentorPaneItemList::~PigmentorPaneItemList() = default;

namespace {

bool IsPaneControl(const char* keyword) {
    if (!keyword || isBidiKeyword(keyword))
        return false;
    // One search: neither an expert feature nor the print mode.
    const int index = ExpertColorKeywords::getPigmentorKeywordIdx(keyword);
    return !(index >= 1 && index <= ExpertColorKeywords::kLastExpert) &&
           index != ExpertColorKeywords::kColorMode;
}

} // namespace

bool PigmentorPaneItemList::initialize() {
    resetFeatureList();
    PPDXControls* controls = getPPDControlList();
    if (controls) {
        // Hidden pane controls and orphans count too; the walk shows everything meanwhile.
        ScopedDisplayOptions showAll(kShowAll);
        for (CNTL_TYPE wanted : {kPopupType, kBooleanType}) {
            CNTL_TYPE type;
            for (PPDXControl* control = controls->First(type); control;
                 control = controls->Next(type)) {
                if (type != wanted || !IsPaneControl(control->Keyword()))
                    continue;
                PigmentorItem* item = nullptr;
                if (type == kPopupType)
                    item = new (std::nothrow) PigmentorPPDItem(control);
                else
                    item = new (std::nothrow) PigmentorBooleanItem(control);
                if (!item || !addItem(item)) {
                    setPigmentorErr(kPigmentorMemoryErr);
                    mHasItems = false;
                    return false;
                }
            }
        }
    }
    mHasItems = count() > 0;
    return mHasItems;
}
