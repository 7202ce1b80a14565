// The expert and pane lists of small PPDs and of every example PPD, and snapshots.
#include "ColourTestSupport.h"

#include "PigmentorBooleanItem.h"
#include "PigmentorErrors.h"
#include "PigmentorPPDItem.h"
#include "PigmentorPPDItemList.h"
#include "PigmentorPaneItemList.h"
#include "PigmentorSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace colourtest;

namespace {

std::vector<std::string> Keywords(PigmentorItemList& list) {
    std::vector<std::string> keywords;
    for (PigmentorItem* item = list.firstItem(); item; item = PigmentorItemList::nextItem(item))
        keywords.push_back(item->getFeatureKeyword() ? item->getFeatureKeyword() : "(null)");
    return keywords;
}

std::vector<int> Indexes(PigmentorItemList& list) {
    std::vector<int> indexes;
    for (PigmentorItem* item = list.firstItem(); item; item = PigmentorItemList::nextItem(item))
        indexes.push_back(item->getIndex());
    return indexes;
}

std::string SmallColourPPD(const std::string& group = "TPPigmentor") {
    return Layout(group) +
           PopupBlock("*QVColorMode", "Print Mode", {{"CMYK", "Color", ""}, {"Grayscale", "Gray", ""}},
                      "", group) +
           BooleanBlock("*QVTrapping", "Trapping", false, group) +
           PopupBlock("*QVSimulation", "Sim", {{"SWOP", "SWOP", "s"}, {"EURO", "Euro", "e"}}, "",
                      group) +
           PopupBlock("*QVBrightness", "Brightness", {{"90", "90", "b"}, {"100", "100", "c"}}, "100",
                      group) +
           PopupBlock("*QVRGBOverride", "RGB", {{"SRGB", "sRGB", "r"}, {"NONE", "None", "n"}}, "",
                      group);
}

} // namespace

TEST(ExpertList, ExpertPopupsOfTheColourRollDownInItsOrder) {
    Model model(SmallColourPPD());
    PigmentorPPDItemList list(model.get(), true, nullptr);
    EXPECT_TRUE(list.isValid());
    EXPECT_EQ(list.getPigmentorErr(), 0u);
    EXPECT_EQ(Keywords(list), (std::vector<std::string>{"*QVSimulation", "*QVRGBOverride"}));
    EXPECT_EQ(Indexes(list), (std::vector<int>{3, 1}));
    EXPECT_STREQ(list.getColourGroupKeyword(), "TPPigmentor");
    ASSERT_NE(list.findByKeyword("*QVRGBOverride"), nullptr);
    EXPECT_EQ(list.findByItemName("Sim"), list.firstItem());
    EXPECT_EQ(list.findByKeyword("*QVBrightness"), nullptr);
    EXPECT_FALSE(list.featureIsAvailable("*QVOutProfile"));
    EXPECT_EQ(list.getFirstFeature(), list.firstItem());
    EXPECT_STREQ(list.getNextFeature()->getFeatureKeyword(), "*QVRGBOverride");
    EXPECT_EQ(list.getNextFeature(), nullptr);

    // A rebuild replaces the items; defaults come back.
    list.firstItem()->setValue(2);
    EXPECT_TRUE(list.rebuildFeatureList());
    EXPECT_EQ(list.count(), 2);
    EXPECT_TRUE(list.setToDefaults());
    EXPECT_EQ(list.firstItem()->getValue(), 1);
}

TEST(ExpertList, MissingModelRollDownOrExpertControlsAreErrors) {
    PigmentorPPDItemList none(nullptr, true, nullptr);
    EXPECT_FALSE(none.isValid());
    EXPECT_EQ(none.getPigmentorErr(), kPigmentorNotSupportedErr); // build ends with no items
    EXPECT_EQ(none.getPPDControlList(), nullptr);
    EXPECT_EQ(none.getPigmentorErr(), kPigmentorPPDInitErr);

    Model noGroups(PopupBlock("*QVSimulation", "Sim", {{"A", "A", ""}}));
    PigmentorPPDItemList withoutGroups(noGroups.get(), false, nullptr);
    EXPECT_EQ(withoutGroups.getPPDControlList(), nullptr);
    EXPECT_EQ(withoutGroups.getPigmentorErr(), kPigmentorRolldownNotFoundErr);

    Model otherRollDown(SmallColourPPD("TPImage"));
    PigmentorPPDItemList other(otherRollDown.get(), true, nullptr);
    EXPECT_FALSE(other.isValid());
    EXPECT_EQ(other.getPigmentorErr(), kPigmentorNotSupportedErr);

    Model noExpert(Layout() + BooleanBlock("*QVTrapping", "Trapping"));
    PigmentorPPDItemList empty(noExpert.get(), true, nullptr);
    EXPECT_FALSE(empty.isValid());
    EXPECT_FALSE(empty.hasItems());
    EXPECT_EQ(empty.getPigmentorErr(), kPigmentorNotSupportedErr);
}

TEST(PaneList, PopupsThenBooleansSkippingExpertModeAndTwoWay) {
    Model model(SmallColourPPD());
    AddServerPopup(model.get(), "TPPigmentor", "*QVSimulationBidi", "Sim", {{"A", "A"}}, "A");
    PigmentorPaneItemList list(model.get());
    EXPECT_TRUE(list.isValid());
    EXPECT_EQ(Keywords(list), (std::vector<std::string>{"*QVBrightness", "*QVTrapping"}));
    EXPECT_EQ(Indexes(list), (std::vector<int>{-1, -1}));
    EXPECT_NE(dynamic_cast<PigmentorBooleanItem*>(list.findByKeyword("*QVTrapping")), nullptr);

    Model onlyExpert(Layout() + PopupBlock("*QVSimulation", "Sim", {{"A", "A", ""}}));
    PigmentorPaneItemList empty(onlyExpert.get());
    EXPECT_FALSE(empty.isValid());
}

struct ExampleLists {
    const char* file;
    const char* group;
    std::vector<int> expertIndexes;
    std::vector<std::string> pane;
};

class ExamplePPDLists : public ::testing::TestWithParam<ExampleLists> {};

TEST_P(ExamplePPDLists, ExpertAndPaneListsMatchTheFile) {
    const ExampleLists& want = GetParam();
    Model model(Model::FromFile{}, Example(want.file));
    ASSERT_TRUE(model->IsValidPPD());
    PigmentorPPDItemList expert(model.get(), true, nullptr);
    EXPECT_TRUE(expert.isValid());
    EXPECT_STREQ(expert.getColourGroupKeyword(), want.group);
    EXPECT_EQ(Indexes(expert), want.expertIndexes);
    for (PigmentorItem* item = expert.firstItem(); item; item = PigmentorItemList::nextItem(item)) {
        EXPECT_NE(item->getFeatureDisplayName(), nullptr);
        EXPECT_GT(item->itemCount(), 0);
        EXPECT_GT(item->getValue(), 0) << item->getFeatureKeyword();
        EXPECT_LT(item->getFeaturePostScript(nullptr, 0), 0) << item->getFeatureKeyword();
    }
    PigmentorPaneItemList pane(model.get());
    EXPECT_TRUE(pane.isValid());
    EXPECT_EQ(Keywords(pane), want.pane);
}

namespace {

std::vector<int> AllEighteen() {
    std::vector<int> all;
    for (int i = 1; i <= 18; ++i)
        all.push_back(i);
    return all;
}

const std::vector<std::string> kC5000Pane = {"*QVBrightness", "*QVImageSmooth",  "*QVSubstColors",
                                             "*QVSeparations", "*QVHPBlack", "*QVCompOverprint",
                                             "*QVTrapping"};

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Examples, ExamplePPDLists,
    ::testing::Values(ExampleLists{"Tarvo-C5000.ppd", "TPPigmentor", AllEighteen(), kC5000Pane},
                      ExampleLists{"Tarvo-C5000-de.ppd", "TPPigmentor", AllEighteen(), kC5000Pane},
                      ExampleLists{"Tarvo-C5000-pl.ppd", "TPPigmentor", AllEighteen(), kC5000Pane},
                      ExampleLists{"Tarvo-C5000-ja.ppd", "TPPigmentor", AllEighteen(), kC5000Pane},
                      ExampleLists{"Tarvo-M200.ppd", "TPColor", {1, 3, 4, 8},
                                   {"*QVBrightness", "*QVImageSmooth"}}));

TEST(Snapshot, RestoresByKeywordAfterTheValueOrderChanged) {
    Model model(SmallColourPPD());
    // A server-made popup whose items are later rebuilt in another order.
    PPDXPopupControl* popup = AddServerPopup(model.get(), "TPPigmentor", "*QVOutProfile", "Out",
                                             {{"A", "A"}, {"B", "B"}, {"C", "C"}}, "A");
    ASSERT_NE(popup, nullptr);
    PigmentorPPDItemList list(model.get(), true, nullptr);
    ASSERT_TRUE(list.isValid());
    PigmentorItem* out = list.findByKeyword("*QVOutProfile");
    ASSERT_NE(out, nullptr);
    out->setValue(2); // "B"
    list.findByKeyword("*QVSimulation")->setValue(2);
    ASSERT_TRUE(list.saveSettings());
    EXPECT_EQ(list.getSnapshot()->count(), 3);
    EXPECT_STREQ(list.getSnapshot()->entry(4)->keyword, "B");

    PointerList reordered;
    for (const char* k : {"C", "B", "A"})
        reordered.PushBack(new _PopupItem(k, nullptr, nullptr, 0));
    ASSERT_TRUE(model->PPDReconcilePopupMenu("*QVOutProfile", "Out", reordered, new CString("A")));
    out->setValue(3);
    list.findByKeyword("*QVSimulation")->setValue(1);
    EXPECT_TRUE(list.restoreSettings());
    EXPECT_EQ(out->getValue(), 2);
    EXPECT_STREQ(out->getValueKeyword(), "B");
    EXPECT_STREQ(list.findByKeyword("*QVSimulation")->getValueKeyword(), "EURO");
    EXPECT_FALSE(list.getSnapshot()->isSaved());
}

TEST(Snapshot, RefusesInvalidListsAndRestoresOnlyItsOwnItems) {
    PigmentorPPDItemList invalid(nullptr, false, nullptr);
    EXPECT_FALSE(invalid.saveSettings());
    EXPECT_EQ(invalid.getSnapshot(), nullptr);
    EXPECT_FALSE(invalid.restoreSettings());

    Model model(SmallColourPPD());
    PigmentorPPDItemList list(model.get(), true, nullptr);
    ASSERT_TRUE(list.saveSettings());
    PigmentorSettings snapshot(&list);
    EXPECT_TRUE(snapshot.isValid());
    // The same model's items in another list are not the items saved.
    PigmentorPPDItemList other(model.get(), true, nullptr);
    other.firstItem()->setValue(2);
    EXPECT_TRUE(snapshot.restore(&other));
    EXPECT_EQ(other.firstItem()->getValue(), 2);
    EXPECT_FALSE(snapshot.restore(nullptr));
}
