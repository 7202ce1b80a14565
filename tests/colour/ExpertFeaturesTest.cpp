// The expert colour features over PPD-only lists: construction, cursors and the job's feature
// code by size query and fetch (the summary walks are checked through the data controller).
#include "ColourTestSupport.h"

#include "ExpertColorFeatures.h"
#include "PigmentorErrors.h"
#include "PigmentorItem.h"
#include "PigmentorPPDItemList.h"
#include "PigmentorPaneItemList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace colourtest;

TEST(ExpertFeatures, ModelWithoutExpertControlsBuildsNothing) {
    ExpertColorFeatures none(nullptr, false, nullptr, true, false, nullptr);
    EXPECT_EQ(none.getPigmentorErr(), kPigmentorPPDInitErr);
    EXPECT_FALSE(none.isValid());

    Model model(Layout() + BooleanBlock("*QVTrapping", "Trapping"));
    EXPECT_EQ(ExpertColorFeatures::verifyExpertColor(model.get()), kPigmentorNotSupportedErr);
    ExpertColorFeatures features(model.get(), false, nullptr, true, false, nullptr);
    EXPECT_EQ(features.getPigmentorErr(), kPigmentorNotSupportedErr);
    EXPECT_EQ(features.getPigmentorPaneItemList(), nullptr);
    EXPECT_EQ(features.getExpertColorFeatures(), nullptr);
    EXPECT_EQ(features.getPostscriptFeatureData(nullptr, 0, false), 0);
}

TEST(ExpertFeatures, BuildsBothListsFromThePPDAndKnowsAboutDeviceLinks) {
    Model c5000(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    ExpertColorFeatures features(c5000.get(), true, nullptr, true, false, nullptr);
    EXPECT_TRUE(features.isValid());
    EXPECT_EQ(features.getPigmentorErr(), 0u);
    ASSERT_NE(features.getExpertColorFeatures(), nullptr);
    EXPECT_EQ(features.getExpertColorFeatures()->count(), 18);
    EXPECT_EQ(features.getPigmentorPaneItemList()->count(), 7);
    EXPECT_TRUE(features.DeviceLinkIsAvailable());
    EXPECT_EQ(features.getServerName(), nullptr); // two-way without a name: none
    EXPECT_TRUE(features.setFeaturesToDefaults());

    Model m200(Model::FromFile{}, Example("Tarvo-M200.ppd"));
    ExpertColorFeatures small(m200.get(), false, "10.0.0.1", true, false, nullptr);
    EXPECT_EQ(small.getServerName(), nullptr); // not two-way: the name is not kept
    EXPECT_EQ(small.getExpertColorFeatures()->count(), 4);
    EXPECT_FALSE(small.DeviceLinkIsAvailable());

    // Without refresh there is no expert list yet; a refresh makes it.
    ExpertColorFeatures later(c5000.get(), false, nullptr, false, false, nullptr);
    EXPECT_FALSE(later.isValid());
    EXPECT_FALSE(later.setFeaturesToDefaults());
    EXPECT_NE(later.refreshFeatures(nullptr), nullptr);
    EXPECT_TRUE(later.isValid());
    later.resetFeatures();
    EXPECT_EQ(later.getExpertColorFeatures(), nullptr);
    later.refreshFeatures(nullptr);
    later.setServerName("10.0.0.1");
    EXPECT_EQ(later.getExpertColorFeatures(), nullptr); // a server name drops the PPD's list
    EXPECT_STREQ(later.getServerName(), "10.0.0.1");
    later.setServerName(nullptr);
    later.refreshFeatures(nullptr);
    later.setPPD(m200.get());
    EXPECT_EQ(later.getExpertColorFeatures(), nullptr);
    EXPECT_EQ(later.getPDD(), m200.get());
    EXPECT_EQ(later.getPigmentorPaneItemList()->count(), 2); // the new model's pane
}

TEST(ExpertFeatures, CursorsWalkBothWaysAndStopAtTheEnds) {
    Model model(Model::FromFile{}, Example("Tarvo-M200.ppd"));
    ExpertColorFeatures features(model.get(), false, nullptr, true, false, nullptr);
    PigmentorPPDItemList* list = features.getExpertColorFeatures();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(features.CurrentExpertColorItem(), nullptr);
    EXPECT_EQ(features.NextExpertColorItem(), nullptr); // null stays null
    EXPECT_EQ(features.PrevItem(), nullptr);
    EXPECT_EQ(features.getCurrentExpertColorItem(), list->firstItem());
    EXPECT_EQ(features.NextExpertColorItem(), list->index(1));
    EXPECT_EQ(features.PrevItem(), list->firstItem());
    EXPECT_EQ(features.FirstExpertColorItem(), list->firstItem());
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(features.getCurrentExpertColorItem(), list->index(static_cast<unsigned short>(i)));
    EXPECT_EQ(features.getCurrentExpertColorItem(), nullptr);
    EXPECT_EQ(features.getCurrentExpertColorItem(), list->firstItem()); // starts over

    EXPECT_EQ(features.CurrentPigmentorItem(), nullptr);
    EXPECT_STREQ(features.getCurrentPigmentorItem()->getFeatureKeyword(), "*QVBrightness");
    EXPECT_STREQ(features.NextPigmentorItem()->getFeatureKeyword(), "*QVImageSmooth");
    EXPECT_EQ(features.NextPigmentorItem(), nullptr);
    EXPECT_EQ(features.NextPigmentorItem(), nullptr);
    EXPECT_STREQ(features.FirstPigmentorItem()->getFeatureKeyword(), "*QVBrightness");
}

TEST(ExpertFeatures, SizeQueryThenFetchGivesEachFeatureOnce) {
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    ExpertColorFeatures features(model.get(), false, nullptr, true, false, nullptr);
    // A size query does not move on: it answers the same feature again.
    const int first = features.getPostscriptFeatureData(nullptr, 0, false);
    EXPECT_LT(first, 0);
    EXPECT_EQ(features.getPostscriptFeatureData(nullptr, 0, false), first);
    const std::vector<std::string> codes = JobCode(features);
    ASSERT_EQ(codes.size(), 18u);
    EXPECT_EQ(codes.front().rfind("%%BeginFeature: *QVRGBOverride QVRGBOverrideDEF\n", 0), 0u);
    EXPECT_EQ(codes.back().rfind("%%BeginFeature: *QVKOnlyGrayCMYK OFF\n", 0), 0u);
    EXPECT_EQ(static_cast<int>(codes.front().size()), -first);
    // The walk has ended; the next one starts again.
    EXPECT_EQ(JobCode(features).size(), 18u);
}
