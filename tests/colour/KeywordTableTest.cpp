// The keyword table: indexes, the expert range, hashes and the two-way suffix.
#include "ExpertColorKeywords.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

TEST(KeywordTable, ExpertLookUpCoversOnlyTheEighteenFeatures) {
    // The ends of the expert range; the whole table is walked below.
    EXPECT_EQ(ExpertColorKeywords::findPigmentorKeywordIdx("*QVRGBOverride"), 1);
    EXPECT_EQ(ExpertColorKeywords::findPigmentorKeywordIdx("*QVKOnlyGrayCMYK"), 18);
    EXPECT_EQ(ExpertColorKeywords::findPigmentorKeywordIdx("*QVColorMode"), -1);
    EXPECT_EQ(ExpertColorKeywords::findPigmentorKeywordIdx("*QVHPBlack"), -1);
    EXPECT_TRUE(ExpertColorKeywords::isPigmentorKeyword("*QVPaperSim"));
    EXPECT_FALSE(ExpertColorKeywords::isPigmentorKeyword("*QVSeparations"));
    // Case, a missing star, a Bidi suffix, the empty string of index 0 and null are not found.
    EXPECT_EQ(ExpertColorKeywords::getPigmentorKeywordIdx("*qvrgboverride"), -1);
    EXPECT_EQ(ExpertColorKeywords::getPigmentorKeywordIdx("QVRGBOverride"), -1);
    EXPECT_EQ(ExpertColorKeywords::getPigmentorKeywordIdx("*QVRGBOverrideBidi"), -1);
    EXPECT_EQ(ExpertColorKeywords::getPigmentorKeywordIdx(""), -1);
    EXPECT_EQ(ExpertColorKeywords::getPigmentorKeywordIdx(nullptr), -1);
}

TEST(KeywordTable, EveryEntryIsFoundAtItsOwnIndexEvenWhenHashesCollide) {
    for (int i = 1; i <= ExpertColorKeywords::kCount; ++i)
        EXPECT_EQ(ExpertColorKeywords::getPigmentorKeywordIdx(ExpertColorKeywords::keyword(i)), i)
            << ExpertColorKeywords::keyword(i);
    // Same bytes in another order: same hash, different keyword.
    EXPECT_EQ(ExpertColorKeywords::hash("*QVPaperSim"), ExpertColorKeywords::hash("*QVPaperMis"));
    EXPECT_EQ(ExpertColorKeywords::getPigmentorKeywordIdx("*QVPaperMis"), -1);
    EXPECT_STREQ(ExpertColorKeywords::keyword(0), "");
    EXPECT_EQ(ExpertColorKeywords::keyword(25), nullptr);
    EXPECT_EQ(ExpertColorKeywords::keyword(-1), nullptr);
}

TEST(KeywordTable, HashSumsBytesAsSignedChars) {
    EXPECT_EQ(ExpertColorKeywords::hash("AB"), 65 + 66);
    EXPECT_EQ(ExpertColorKeywords::hash("\xC3\xA9"), -61 + -87);
    EXPECT_EQ(ExpertColorKeywords::hash(nullptr), 0);
}

TEST(KeywordTable, IndexIsFilledOnceFromSeveralThreads) {
    std::thread a([] { ExpertColorKeywords::findPigmentorKeywordIdx("*QVSimulation"); });
    std::thread b([] { ExpertColorKeywords::initializePigmentor(); });
    a.join();
    b.join();
    EXPECT_TRUE(ExpertColorKeywords::isInitialized());
}

TEST(KeywordTable, BidiSuffixNeedsFiveBytes) {
    EXPECT_FALSE(isBidiKeyword("Bidi"));
    EXPECT_TRUE(isBidiKeyword("xBidi"));
    EXPECT_TRUE(isBidiKeyword((std::string("*QVSimulation") + "Bidi").c_str()));
    EXPECT_FALSE(isBidiKeyword("*QVSimulationbidi"));
    EXPECT_FALSE(isBidiKeyword("*QVSimulation"));
    EXPECT_FALSE(isBidiKeyword(nullptr));
}
