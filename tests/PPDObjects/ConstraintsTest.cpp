// UI constraints: the maps over the string set, the parse of the three constraint keywords,
// and the queries with their records (specific records first, then the keyword's general ones).
#include "ParseTestSupport.h"

#include "ConstraintForest.h"
#include "CStringSoup.h"
#include "PPDXBooleanControl.h"
#include "PPDXPopupControl.h"
#include "SharedConstraintRec.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Codes = std::vector<int>;
using Pairs = std::vector<std::pair<long, long>>;
/// A record as (keyword of its control or "null", item).
using Records = std::vector<std::pair<std::string, int>>;

Pairs pairsOf(const ItemConstraintList* list) {
    Pairs pairs;
    for (unsigned long i = 0; list && i < list->size(); ++i)
        pairs.push_back((*list)[i]);
    return pairs;
}

/// A popup *QVSimSpeed with FAST and BETR, and a range *QVCopies, in "TPColor".
std::string moreControls() {
    return "*%QRVFlags *QVSimSpeed: Setup\n"
           "*%QRVGroup *QVSimSpeed: TPColor/Color\n"
           "*OpenUI *QVSimSpeed/Speed: PickOne\n*DefaultQVSimSpeed: FAST\n"
           "*QVSimSpeed FAST/Fast: \"1\"\n*QVSimSpeed BETR/Better: \"2\"\n"
           "*CloseUI: *QVSimSpeed\n"
           "*%QRVFlags *QVCopies: Setup\n"
           "*%QRVGroup *QVCopies TPColor/Color\n"
           "*%QRVRange *QVCopies/Copies: (1;99;1;1) \"<*QVCopies> copies\"\n";
}

/// The records of a query, read field by field (packed fields cannot be referenced).
Records query(QRVPPD* ppd, PPDXControl* control, long item, bool requires = false) {
    SharedConstraintRec* records = reinterpret_cast<SharedConstraintRec*>(1);
    long count = requires ? ppd->GetRequiresList(control, &records)
                          : ppd->GetConstraintList(control, item, &records);
    long measured = requires ? ppd->GetRequiresList(control, nullptr)
                             : ppd->GetConstraintList(control, item, nullptr);
    EXPECT_EQ(count, measured);
    EXPECT_EQ(records == nullptr, count == 0);
    Records result;
    for (long i = 0; i < count; ++i) {
        PPDXControl* c = records[i].control;
        int itemIndex = records[i].item;
        result.emplace_back(c ? c->Keyword() : "null", itemIndex);
    }
    if (requires)
        QRVPPD::ReleaseRequiresList(records);
    else
        QRVPPD::ReleaseConstraintList(records);
    EXPECT_EQ(records, nullptr);
    return result;
}

const int kAny = kAnyConstraintItem;

} // namespace

TEST(ConstraintForest, ListsPerKeywordAndOptionInAscendingOrder) {
    ConstraintForest forest;
    EXPECT_TRUE(forest.insert(1, 7, 10, 11));
    EXPECT_TRUE(forest.insert(1, 3, std::make_pair(20L, 21L)));
    EXPECT_TRUE(forest.insert(1, 7, 10, 11)); // kept twice
    EXPECT_TRUE(forest.insert(2, 3, 30, 31));
    EXPECT_EQ(forest.Count(), 4u);
    EXPECT_EQ(forest.KeyCount(), 2u);

    ItemConstraintList* specific = forest.GetConstraintList(1, 7);
    EXPECT_EQ(pairsOf(specific), (Pairs{{10, 11}, {10, 11}}));
    EXPECT_EQ(specific->Option(), 7);
    ItemConstraintList* general = forest.GetConstraintList(1, -1);
    EXPECT_EQ(pairsOf(general), (Pairs{{20, 21}, {10, 11}, {10, 11}})); // option 3, then 7
    ItemConstraintList* none = forest.GetConstraintList(1, 5);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->size(), 0u);
    EXPECT_EQ(forest.GetConstraintList(9, -1), nullptr);

    ItemConstraintList joined = *specific + *general;
    EXPECT_EQ(joined.size(), 5u);
    EXPECT_EQ(joined.Option(), 7);
    EXPECT_EQ(joined[4], std::make_pair(10L, 11L));
    EXPECT_EQ(joined[5], std::make_pair(-1L, -1L));
    ItemConstraintList copy(joined);
    copy = *none;
    EXPECT_EQ(copy.size(), 0u);
    EXPECT_EQ(copy.Option(), 5);
    delete specific;
    delete general;
    delete none;
}

TEST(UIConstraints, TheThreeKeywordsFillTheirMaps) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() +
                           "*UIConstraints: *A x *B y\n"
                           "*%QRVUIConstraints: *A\t*B\n" // no options: both empty
                           "*%QRVUIRequires:  *C z *D\n"
                           "*UIConstraints: *A x\n" // 36: no second keyword
                           "*UIConstraints: *A\n"   // nothing after the keyword
                           "*UIConstraints:\n");    // nothing at all
    EXPECT_EQ(errorCodes(ppd), Codes{36});
    EXPECT_FALSE(findError(ppd, 36)->IsFatal());
    EXPECT_EQ(ppd->GetConstraints()->Count(), 2u);
    EXPECT_EQ(ppd->GetRequires()->Count(), 1u);
    EXPECT_EQ(gProcessedConstraints, 2u);
    EXPECT_EQ(gProcessedRequires, 1u);

    // Strings enter the set second option first, first keyword last.
    CStringSoup* strings = ppd->GetConstraintStrings();
    ASSERT_EQ(strings, gConstraintStrings);
    std::vector<std::string> inserted;
    for (long i = 0; i < strings->size(); ++i)
        inserted.push_back(strings->Find(i));
    EXPECT_EQ(inserted, (std::vector<std::string>{"y", "*B", "x", "*A", "", "*D", "z", "*C"}));
    ItemConstraintList* fromA = ppd->GetConstraints()->GetConstraintList(3, -1);
    EXPECT_EQ(pairsOf(fromA), (Pairs{{1, 0}, {1, 4}})); // option "x" (2), then "" (4)
    ItemConstraintList* fromC = ppd->GetRequires()->GetConstraintList(7, 6);
    EXPECT_EQ(pairsOf(fromC), (Pairs{{5, 4}}));
    delete fromA;
    delete fromC;
    ppd->Release();
}

TEST(UIConstraints, PopupQueriesGiveSpecificRecordsFirst) {
    QRVPPD* ppd =
        parsePPD(ppdLayout() + popupBlock() + booleanBlock("*QVSeparations") + moreControls() +
                 "*%QRVUIConstraints: *QVColorMode Grayscale *QVSeparations True\n"
                 "*%QRVUIConstraints: *QVColorMode Grayscale *QVTrapping\n"
                 "*%QRVUIConstraints: *QVColorMode CMYK *QVSimSpeed BETR\n"
                 "*%QRVUIConstraints: *QVColorMode CMYK *QVSimSpeed NOPE\n"
                 "*UIConstraints: *QVSeparations True *QVColorMode Grayscale\n"
                 "*UIConstraints: *QVCopies *QVColorMode\n"
                 "*%QRVUIRequires: *QVSimSpeed *QVColorMode CMYK\n");
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXControl* colorMode = control(ppd, "*QVColorMode");
    const Records grayscale = {{"*QVSeparations", 1}, {"null", kAny}};
    const Records cmyk = {{"*QVSimSpeed", 2}, {"*QVSimSpeed", kAny}};
    Records general = grayscale;
    general.insert(general.end(), cmyk.begin(), cmyk.end()); // option ids: Grayscale < CMYK

    Records expected = grayscale;
    expected.insert(expected.end(), general.begin(), general.end());
    EXPECT_EQ(query(ppd, colorMode, 2), expected);
    expected = cmyk;
    expected.insert(expected.end(), general.begin(), general.end());
    EXPECT_EQ(query(ppd, colorMode, 1), expected);
    EXPECT_EQ(query(ppd, colorMode, 0), expected); // item 0 is the first item
    EXPECT_EQ(query(ppd, colorMode, 3), general);  // past the last item
    EXPECT_EQ(query(ppd, colorMode, -1), general);

    // A boolean's choice is "True" for a non-zero item, "False" for 0.
    PPDXControl* separations = control(ppd, "*QVSeparations");
    EXPECT_EQ(query(ppd, separations, 1), (Records{{"*QVColorMode", 2}, {"*QVColorMode", 2}}));
    EXPECT_EQ(query(ppd, separations, 0), (Records{{"*QVColorMode", 2}}));
    // Any other control chooses the empty option: the same record twice.
    EXPECT_EQ(query(ppd, control(ppd, "*QVCopies"), 7),
              (Records{{"*QVColorMode", kAny}, {"*QVColorMode", kAny}}));
    // No constraints, no control.
    EXPECT_EQ(query(ppd, control(ppd, "*QVSimSpeed"), 1), Records{});
    EXPECT_EQ(query(ppd, nullptr, 1), Records{});

    // Requirements are asked for item 0: the first item has no line of its own here.
    EXPECT_EQ(query(ppd, control(ppd, "*QVSimSpeed"), 0, true), (Records{{"*QVColorMode", 1}}));
    EXPECT_EQ(query(ppd, colorMode, 0, true), Records{});
    ppd->Release();
}

TEST(UIConstraints, EachModelKeepsItsOwnStrings) {
    QRVPPD* first = parsePPD(ppdLayout() + popupBlock() + booleanBlock("*QVSeparations") +
                             "*UIConstraints: *QVColorMode Grayscale *QVSeparations True\n");
    CStringSoup* firstStrings = first->GetConstraintStrings();
    EXPECT_EQ(gConstraintStrings, firstStrings);
    QRVPPD* second = parsePPD("*UIConstraints: *Other One *Thing Two\n*UIConstraints: *X *Y\n");
    EXPECT_EQ(gConstraintStrings, second->GetConstraintStrings());
    EXPECT_NE(gConstraintStrings, firstStrings);
    EXPECT_EQ(gProcessedConstraints, 2u); // the counters follow the model built last

    const Records expected = {{"*QVSeparations", 1}, {"*QVSeparations", 1}};
    EXPECT_EQ(query(first, control(first, "*QVColorMode"), 2), expected);
    second->Release();
    EXPECT_EQ(gConstraintStrings, nullptr);
    EXPECT_EQ(query(first, control(first, "*QVColorMode"), 2), expected);
    first->DeleteConstraintMaps();
    EXPECT_EQ(first->GetConstraints(), nullptr);
    EXPECT_EQ(query(first, control(first, "*QVColorMode"), 2), Records{});
    first->Release();
}
