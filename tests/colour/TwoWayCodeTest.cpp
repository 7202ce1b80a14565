// The job's code of two-way expert features, built against a real server (synchronously).
#include "BrivelleTest.h"
#include "ColourTestSupport.h"

#include "ExpertColorFeatures.h"
#include "PigmentorBIDIItemList.h"
#include "PigmentorItem.h"
#include "PigmentorPPDItem.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace colourtest;

namespace {

/// Keyword of each feature block's "%%BeginFeature:" line, to its whole block.
std::map<std::string, std::string> CodeByKeyword(ExpertColorFeatures& features) {
    std::map<std::string, std::string> codes;
    const size_t start = std::string("%%BeginFeature: ").size();
    for (const std::string& block : JobCode(features))
        codes[block.substr(start, block.find(' ', start) - start)] += block;
    return codes;
}

} // namespace

class TwoWayCode : public ServerTest {
protected:
    void SetUp() override {
        StartServer();
        mModel = std::make_unique<Model>(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
        mFeatures = std::make_unique<ExpertColorFeatures>(mModel->get(), true, "127.0.0.1", true,
                                                          false, nullptr);
        ASSERT_TRUE(mFeatures->isValid());
        mList = dynamic_cast<PigmentorBIDIItemList*>(mFeatures->getExpertColorFeatures());
        ASSERT_NE(mList, nullptr);
    }
    void TearDown() override {
        mFeatures.reset();
        mModel.reset();
        ServerTest::TearDown();
    }
    std::unique_ptr<Model> mModel;
    std::unique_ptr<ExpertColorFeatures> mFeatures;
    PigmentorBIDIItemList* mList = nullptr;
};

TEST_F(TwoWayCode, MediaDefinedOutputProfileWritesThePPDsOwnCode) {
    PigmentorItem* out = mList->findByKeyword("*QVOutProfile");
    ASSERT_NE(out, nullptr);
    out->setValue(out->getValueByKeyword("DEFAULT_MEDIA"));
    std::map<std::string, std::string> codes = CodeByKeyword(*mFeatures);
    ASSERT_EQ(codes.count("*QVOutProfile"), 1u);
    EXPECT_EQ(codes["*QVOutProfile"].rfind("%%BeginFeature: *QVOutProfile DEFAULT_MEDIA\n", 0), 0u);
    EXPECT_EQ(codes["*QVOutProfile"].find("XJXsetDynamicOption"), std::string::npos);

    // Any other profile is the server's dynamic option.
    out->setValue(out->getValueByKeyword("TRVC5COATED"));
    codes = CodeByKeyword(*mFeatures);
    EXPECT_NE(codes["*QVOutProfile"].find("{ pop (*QVOutProfile) (TRVC5COATED) XJXsetDynamicOption }"),
              std::string::npos);
    // The other three special features are dynamic options too.
    EXPECT_NE(codes["*QVSimulation"].find("XJXsetDynamicOption"), std::string::npos);
}

TEST_F(TwoWayCode, OtherTwoWayFeaturesWriteThePlainControlsCodeForTheServersChoice) {
    PigmentorItem* speed = mList->findByKeyword("*QVSimSpeed");
    ASSERT_NE(speed, nullptr);
    PPDXControl* plain = mList->getIndexPPDControl(speed->getIndex());
    ASSERT_NE(plain, nullptr);
    PigmentorPPDItem plainItem(plain);
    const long plainValue = plainItem.getValue();
    speed->setValue(speed->getValueByKeyword("S4X4"));
    std::map<std::string, std::string> codes = CodeByKeyword(*mFeatures);
    EXPECT_EQ(codes["*QVSimSpeed"].rfind("%%BeginFeature: *QVSimSpeed S4X4\n", 0), 0u)
        << codes["*QVSimSpeed"];
    EXPECT_EQ(plainItem.getValue(), plainValue); // the PPD's own choice is left alone
    // Gamma, white point and phosphors come twice: as two-way and as plain items.
    EXPECT_EQ(codes.size(), 18u);
    EXPECT_EQ(codes.count("*QVRGBOtherGammaBidi"), 0u);
}

TEST_F(TwoWayCode, DeviceLinkNamesForTheCurrentValues) {
    PigmentorItem* rgb = mList->findByKeyword("*QVRGBOverride");
    PigmentorItem* sim = mList->findByKeyword("*QVSimulation");
    PigmentorItem* out = mList->findByKeyword("*QVOutProfile");
    rgb->setValue(rgb->getValueByKeyword("SRGB"));
    out->setValue(out->getValueByKeyword("TRVC5PLAIN"));
    EXPECT_STREQ(mFeatures->RGBSeparationDeviceLinkExists(rgb, out), "sRGB to C5000 Plain");
    EXPECT_EQ(mFeatures->CYMKSimulationDeviceLinkExists(sim, out), nullptr);
    sim->setValue(sim->getValueByKeyword("SWOPCOATED"));
    EXPECT_STREQ(mFeatures->CYMKSimulationDeviceLinkExists(sim, out), "SWOP to C5000 Plain");
    EXPECT_EQ(mFeatures->RGBSeparationDeviceLinkExists(nullptr, out), nullptr);
}

class TwoWaySmallPPD : public ServerTest {};

TEST_F(TwoWaySmallPPD, ControlsGoIntoTheColorRollDownAndFeaturesWithoutCodeArePassedOver) {
    StartServer();
    Model model(Model::FromFile{}, Example("Tarvo-M200.ppd")); // roll-down "TPColor"
    for (int fetch = 0; fetch < 2; ++fetch) {
        ExpertColorFeatures features(model.get(), true, "127.0.0.1", true, false, nullptr);
        ASSERT_TRUE(features.isValid()) << fetch;
        auto* list = dynamic_cast<PigmentorBIDIItemList*>(features.getExpertColorFeatures());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->count(), 18) << fetch; // the second fetch reconciles, adds nothing
        std::map<std::string, std::string> codes = CodeByKeyword(features);
        // The four special features as dynamic options, and the one other feature the PPD
        // has a control for, with the PPD's current choice (the server's is not offered).
        EXPECT_EQ(codes.size(), 5u);
        EXPECT_NE(codes["*QVColorRendDict"].find("XJXsetDynamicOption"), std::string::npos);
        EXPECT_EQ(codes["*QVPureBlack"].rfind("%%BeginFeature: *QVPureBlack BLACKNORMAL\n", 0), 0u);
    }
}
