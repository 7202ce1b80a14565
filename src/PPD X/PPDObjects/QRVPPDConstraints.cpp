//===- QRVPPDConstraints.cpp - UI constraints and their queries -----------===//
//
// Constraint lines name keywords and option keywords; the maps hold them as ids of the
// model's string set, so that a query compares integers once the strings are looked up.
//
//===----------------------------------------------------------------------===//
#include "QRVPPD.h"

#include "ConstraintForest.h"
#include "CStringSoup.h"
#include "KeywordTo_PPDControl.h"
#include "PPDXBooleanControl.h"
#include "PPDXPopupControl.h"
#include "SharedConstraintRec.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

CStringSoup* gConstraintStrings = nullptr;
unsigned long gProcessedConstraints = 0;
unsigned long gProcessedRequires = 0;

namespace {

/// The 1-based position of the first item of `popup` with `keyword`, or 0.
unsigned long itemPosition(PPDXPopupControl* popup, const char* keyword) {
    unsigned long position = 1;
    for (_PopupItem* item = popup->FirstItem(); item; item = popup->NextItem(), ++position)
        if (item->HasKeyword(keyword))
            return position;
    return 0;
}

/// The keyword of item `position` (1-based) of `popup`, or null past its end.
const char* itemKeyword(PPDXPopupControl* popup, unsigned long position) {
    unsigned long at = 1;
    for (_PopupItem* item = popup->FirstItem(); item; item = popup->NextItem(), ++at)
        if (at == position)
            return item->Keyword();
    return nullptr;
}

} // namespace

PPDXErrorObj* QRVPPD::ParseUIConstraint(PPDStream& line, bool requires) {
    char key1[PPDStream::kLineBufferSize] = "";
    char option1[PPDStream::kLineBufferSize] = "";
    char key2[PPDStream::kLineBufferSize] = "";
    char option2[PPDStream::kLineBufferSize] = "";
    line.SkipWhiteSpace();
    if (!NextToken(line, key1, kBlankDelimiters, true) || key1[0] == '\0')
        return nullptr;
    line.SkipWhiteSpace();
    if (!NextToken(line, option1, kBlankDelimiters, true) || option1[0] == '\0')
        return nullptr;
    if (option1[0] == '*') {
        // Two keywords without a first option.
        std::memcpy(key2, option1, sizeof key2);
        option1[0] = '\0';
    } else {
        line.SkipWhiteSpace();
        NextToken(line, key2, kBlankDelimiters, true);
    }
    if (key2[0] == '\0')
        return new (std::nothrow) PPDXErrorObj(36, false);
    line.SkipWhiteSpace();
    NextToken(line, option2, kBlankDelimiters, true);

    ConstraintForest* forest = requires ? mRequires : mConstraints;
    if (!forest || !mConstraintStrings)
        return nullptr;
    long option2Id = mConstraintStrings->Insert(option2);
    long key2Id = mConstraintStrings->Insert(key2);
    long option1Id = mConstraintStrings->Insert(option1);
    long key1Id = mConstraintStrings->Insert(key1);
    if (option2Id < 0 || key2Id < 0 || option1Id < 0 || key1Id < 0)
        return nullptr; // out of memory: the line is lost, the parse goes on
    if (forest->insert(key1Id, option1Id, key2Id, option2Id))
        ++(requires ? gProcessedRequires : gProcessedConstraints);
    return nullptr;
}

long QRVPPD::GetConstraintList(PPDXControl* control, long item, SharedConstraintRec** records) {
    return CommonGetForestList(control, item, records, mConstraints);
}

long QRVPPD::GetRequiresList(PPDXControl* control, SharedConstraintRec** records) {
    return CommonGetForestList(control, 0, records, mRequires);
}

void QRVPPD::ReleaseConstraintList(SharedConstraintRec*& records) {
    std::free(records);
    records = nullptr;
}

void QRVPPD::ReleaseRequiresList(SharedConstraintRec*& records) {
    std::free(records);
    records = nullptr;
}

long QRVPPD::CommonGetForestList(PPDXControl* control, long item, SharedConstraintRec** records,
                                 ConstraintForest* forest) {
    // The caller's pointer is always set, so that an answer of 0 never leaves it dangling.
    if (records)
        *records = nullptr;
    if (!control || !forest || !mConstraintStrings || !mKeywordIndex)
        return 0;
    const char* keyword = mKeywordIndex->Lookup(control);
    long keyId = keyword ? mConstraintStrings->Find(keyword) : -1;
    if (keyId < 0)
        return 0;

    const char* chosen = "";
    if (PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(control)) {
        // Item 0 asks for the first item; a negative one, like one past the end, for none.
        chosen = item >= 0 ? itemKeyword(popup, item == 0 ? 1 : static_cast<unsigned long>(item))
                           : nullptr;
    } else if (dynamic_cast<PPDXBooleanControl*>(control)) {
        chosen = item ? "True" : "False";
    }
    ItemConstraintList* specific = nullptr;
    if (chosen) {
        long optionId = mConstraintStrings->Find(chosen);
        if (optionId >= 0)
            specific = forest->GetConstraintList(keyId, optionId);
    }
    ItemConstraintList* general = forest->GetConstraintList(keyId, -1);

    unsigned long specificCount = specific ? specific->size() : 0;
    unsigned long generalCount = general ? general->size() : 0;
    unsigned long total = specificCount + generalCount;
    if (total > 0 && records) {
        SharedConstraintRec* array = total <= SIZE_MAX / sizeof(SharedConstraintRec)
                                         ? static_cast<SharedConstraintRec*>(
                                               std::malloc(total * sizeof(SharedConstraintRec)))
                                         : nullptr;
        if (array) {
            ProcessConstraintList(specific, array, 0, specificCount);
            ProcessConstraintList(general, array, specificCount, generalCount);
            *records = array;
        } else {
            total = 0; // no records to hand out: report none rather than a count without them
        }
    }
    delete specific;
    delete general;
    return static_cast<long>(total);
}

void QRVPPD::ProcessConstraintList(const ItemConstraintList* list, SharedConstraintRec* records,
                                   unsigned long first, unsigned long count) {
    if (!list || !records)
        return;
    for (unsigned long i = 0; i < count && i < list->size(); ++i) {
        ItemConstraintList::Pair pair = (*list)[i];
        const char* keyword = mConstraintStrings ? mConstraintStrings->Find(pair.first) : nullptr;
        const char* option = mConstraintStrings ? mConstraintStrings->Find(pair.second) : nullptr;
        PPDXControl* control = keyword && mKeywordIndex ? mKeywordIndex->Lookup(keyword) : nullptr;

        uint16_t item = kAnyConstraintItem;
        if (option && option[0]) {
            if (PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(control)) {
                unsigned long position = itemPosition(popup, option);
                if (position > 0 && position < kAnyConstraintItem)
                    item = static_cast<uint16_t>(position);
            } else if (dynamic_cast<PPDXBooleanControl*>(control)) {
                // A boolean's choice is given the way a query names it: 1 True, 0 False.
                if (std::strcmp(option, "True") == 0)
                    item = 1;
                else if (std::strcmp(option, "False") == 0)
                    item = 0;
            }
        }
        records[first + i].control = control;
        records[first + i].item = item;
    }
}

void QRVPPD::DeleteConstraintMaps() {
    delete mConstraints;
    mConstraints = nullptr;
    if (gConstraintStrings == mConstraintStrings)
        gConstraintStrings = nullptr;
    delete mConstraintStrings;
    mConstraintStrings = nullptr;
}
