// Each item kind over real controls of a small PPD: values, names, keywords, summaries and the
// feature code by measure-then-write, including the two-way dynamic-option form.
#include "ColourTestSupport.h"

#include "ColourText.h"
#include "PPDXBooleanControl.h"
#include "PPDXControls.h"
#include "PigmentorBIDIItem.h"
#include "PigmentorBooleanItem.h"
#include "PigmentorPPDItem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace colourtest;

namespace {

std::string Body() {
    return Layout() +
           PopupBlock("*QVSimulation", "CMYK Simulation",
                 {{"SWOP", "SWOP Coated", "/swop sim"},
                  {"EURO", "Euroscale", "/euro sim"},
                  {"NONE", "None", "/none sim"}},
                 "EURO") +
           BooleanBlock("*QVTrapping", "Trapping");
}

PPDXControl* Find(QRVPPD* model, const char* keyword) {
    CNTL_TYPE type;
    return model->GetControls()->Find(keyword, type, true);
}

/// Measure, then write into a buffer of exactly the measured size; the text written.
std::string Code(PigmentorItem& item) {
    int size = -item.getFeaturePostScript(nullptr, 0);
    if (size <= 0)
        return "";
    std::string buffer(static_cast<size_t>(size), '\0');
    EXPECT_EQ(item.getFeaturePostScript(reinterpret_cast<unsigned char*>(&buffer[0]), size), size);
    return buffer;
}

} // namespace

TEST(PopupItem, ValuesNamesAndKeywordsFollowTheControl) {
    Model model(Body());
    PigmentorPPDItem item(Find(model.get(), "*QVSimulation"));
    ASSERT_NE(item.getPPDXControl(), nullptr);
    EXPECT_STREQ(item.getFeatureKeyword(), "*QVSimulation");
    EXPECT_STREQ(item.getFeatureDisplayName(), "CMYK Simulation");
    EXPECT_EQ(item.itemCount(), 3);
    EXPECT_EQ(item.getValue(), 2);
    EXPECT_EQ(item.getDefaultValue(), 2);
    EXPECT_STREQ(item.getValueKeyword(), "EURO");
    EXPECT_STREQ(item.getNthItemName(1), "SWOP Coated");
    EXPECT_STREQ(item.getNthItemName(3), "None");
    EXPECT_EQ(item.getNthItemName(4), nullptr);
    EXPECT_EQ(item.getNthItemName(0), nullptr);
    EXPECT_EQ(item.getValueByKeyword("NONE"), 3);
    EXPECT_EQ(item.getValueByKeyword("none"), 0);
    EXPECT_EQ(item.getValueByKeyword(nullptr), 0);

    char keyword[kColourTextSize], name[kColourTextSize];
    EXPECT_STREQ(item.getFirstKeyword(keyword, name), "SWOP");
    EXPECT_STREQ(name, "SWOP Coated");
    EXPECT_STREQ(item.getNextKeyword(keyword, nullptr), "EURO");
    EXPECT_STREQ(keyword, "EURO");
    EXPECT_STREQ(item.getNextKeyword(nullptr, nullptr), "NONE");
    EXPECT_EQ(item.getNextKeyword(keyword, name), nullptr);

    item.setValue(3);
    EXPECT_STREQ(item.getValueKeyword(), "NONE");
    EXPECT_EQ(Take(item.getValueKeywordCFString()), "NONE");
    char value[kColourTextSize] = "";
    EXPECT_STREQ(item.getValueItemName(value), "None");
    EXPECT_STREQ(value, "None");
    item.setDefaultValue();
    EXPECT_EQ(item.getValue(), 2);
}

TEST(PopupItem, SummaryFollowsTheValueAndTheEnabledFlag) {
    Model model(Body());
    PigmentorPPDItem item(Find(model.get(), "*QVSimulation"));
    char title[kColourTextSize], value[kColourTextSize];
    bool enabled = false;
    EXPECT_TRUE(item.getFeatureSummaryInfo(title, value, enabled));
    EXPECT_STREQ(title, "CMYK Simulation");
    EXPECT_STREQ(value, "Euroscale");
    EXPECT_TRUE(enabled);

    item.setFeatureDisabled();
    CFStringRef cfTitle = nullptr, cfValue = nullptr;
    EXPECT_TRUE(item.getFeatureSummaryInfo(cfTitle, cfValue, enabled));
    EXPECT_EQ(Take(cfTitle), "CMYK Simulation");
    EXPECT_EQ(Take(cfValue), "Euroscale");
    EXPECT_FALSE(enabled);

    // No value selected: no summary line.
    item.setValue(0);
    EXPECT_FALSE(item.getFeatureSummaryInfo(cfTitle, cfValue, enabled));
    EXPECT_EQ(cfTitle, nullptr);
    EXPECT_EQ(cfValue, nullptr);
}

TEST(PopupItem, CodeIsMeasuredThenWrittenAndATooSmallBufferStaysUntouched) {
    Model model(Body());
    PigmentorPPDItem item(Find(model.get(), "*QVSimulation"));
    EXPECT_EQ(Code(item), "%%BeginFeature: *QVSimulation EURO\n/euro sim\n%%EndFeature\n");
    const int length = -item.getFeaturePostScript(nullptr, 0);
    ASSERT_GT(length, 0);
    std::string small(static_cast<size_t>(length - 1), '#');
    EXPECT_EQ(item.getFeaturePostScript(reinterpret_cast<unsigned char*>(&small[0]), length - 1),
              length);
    EXPECT_EQ(small, std::string(static_cast<size_t>(length - 1), '#'));
}

TEST(PopupItem, ItemOverAnotherKindOfControlHasNothing) {
    Model model(Body());
    PigmentorPPDItem item(Find(model.get(), "*QVTrapping"));
    EXPECT_EQ(item.getPPDXControl(), nullptr);
    EXPECT_EQ(item.getValue(), 0);
    EXPECT_EQ(item.itemCount(), 0);
    EXPECT_EQ(item.getFeatureKeyword(), nullptr);
    EXPECT_EQ(item.getFirstItem(), nullptr);
    EXPECT_EQ(item.getFeaturePostScript(nullptr, 0), 0);
    CFStringRef name = nullptr;
    EXPECT_FALSE(item.getFeatureDisplayName(name));
}

TEST(BooleanItem, ValuesCountFromZeroAndTheOnlyKeywordIsTheControls) {
    Model model(Body());
    PigmentorBooleanItem item(Find(model.get(), "*QVTrapping"));
    ASSERT_NE(item.getPPDXControl(), nullptr);
    EXPECT_EQ(item.getValue(), 0);
    EXPECT_EQ(item.itemCount(), 2);
    EXPECT_STREQ(item.getNthItemName(0), "Off");
    EXPECT_STREQ(item.getNthItemName(1), "On");
    EXPECT_EQ(item.getNthItemName(2), nullptr);
    EXPECT_STREQ(item.getFirstItem(), "Off");
    EXPECT_STREQ(item.getNextItem(), "On");
    EXPECT_EQ(item.getNextItem(), nullptr);
    char keyword[kColourTextSize];
    EXPECT_STREQ(item.getFirstKeyword(keyword, nullptr), "*QVTrapping");
    EXPECT_STREQ(keyword, "*QVTrapping");
    EXPECT_EQ(item.getNextKeyword(keyword, nullptr), nullptr);
    EXPECT_EQ(item.getNextKeyword(nullptr, nullptr), nullptr);

    item.setValue(7);
    EXPECT_EQ(item.getValue(), 1);
    char value[kColourTextSize];
    EXPECT_STREQ(item.getValueItemName(value), "On");
    EXPECT_EQ(Code(item), "%%BeginFeature: *QVTrapping True\nQVTrapping on\n%%EndFeature\n");
    item.setDefaultValue();
    EXPECT_EQ(item.getValue(), 0);
    EXPECT_EQ(item.getDefaultValue(), 0);
}

TEST(ItemRefCon, TwelveSlotsAndTheRestIgnored) {
    PigmentorPPDItem item(nullptr);
    item.SetRefCon(0, 10);
    item.SetRefCon(11, 21);
    item.SetRefCon(12, 99);
    item.SetRefCon(-1, 99);
    EXPECT_EQ(item.GetRefCon(0), 10u);
    EXPECT_EQ(item.GetRefCon(11), 21u);
    EXPECT_EQ(item.GetRefCon(5), 0u);
    EXPECT_EQ(item.GetRefCon(12), 0u);
    EXPECT_EQ(item.GetRefCon(-1), 0u);
    EXPECT_EQ(item.getIndex(), -1);
    EXPECT_TRUE(item.featureIsEnabled());
}

class BidiItem : public ::testing::Test {
protected:
    void SetUp() override {
        mModel = std::make_unique<Model>(Body());
        // Keywords as a server may send them: parentheses, a backslash, a line feed.
        mOut = AddServerPopup(mModel->get(), "TPPigmentor", "*QVOutProfileBidi", "Output Profile",
                              {{"PLAIN", "Plain"}, {"A(1)", "Paren"}, {"B\\C", "Slash"},
                               {"L\nF", "Line"}},
                              "PLAIN");
        mSpeed = AddServerPopup(mModel->get(), "TPPigmentor", "*QVSimSpeedBidi", "Method",
                                {{"FAST", "Quick"}}, "FAST");
        ASSERT_NE(mOut, nullptr);
        ASSERT_NE(mSpeed, nullptr);
    }
    std::unique_ptr<Model> mModel;
    PPDXPopupControl* mOut = nullptr;
    PPDXPopupControl* mSpeed = nullptr;
};

TEST_F(BidiItem, KeywordLosesItsSuffixAndOnlyTheFirstFourAreSpecial) {
    PigmentorBIDIItem out(mOut);
    EXPECT_STREQ(out.getFeatureKeyword(), "*QVOutProfile");
    EXPECT_STREQ(out.getBidiFeatureKeyword(), "*QVOutProfileBidi");
    EXPECT_TRUE(out.isSpecialBidiKeyword());
    PigmentorBIDIItem speed(mSpeed);
    EXPECT_STREQ(speed.getFeatureKeyword(), "*QVSimSpeed");
    EXPECT_FALSE(speed.isSpecialBidiKeyword());
    // Not special: the popup's own form (the server's items carry no code).
    EXPECT_EQ(Code(speed), "%%BeginFeature: *QVSimSpeedBidi FAST\n\n%%EndFeature\n");
}

TEST_F(BidiItem, DynamicOptionEscapesTheValueAsAPostScriptString) {
    PigmentorBIDIItem out(mOut);
    EXPECT_EQ(Code(out),
              "%%BeginFeature: *QVOutProfile PLAIN\n /XJXsetDynamicOption where\n"
              "        { pop (*QVOutProfile) (PLAIN) XJXsetDynamicOption } if\n%%EndFeature\n");
    out.setValue(2);
    EXPECT_NE(Code(out).find("(*QVOutProfile) (A\\(1\\)) XJX"), std::string::npos);
    out.setValue(3);
    EXPECT_NE(Code(out).find("(*QVOutProfile) (B\\\\C) XJX"), std::string::npos);
    out.setValue(4);
    const std::string code = Code(out);
    EXPECT_NE(code.find("(*QVOutProfile) (L\\012F) XJX"), std::string::npos) << code;
    EXPECT_EQ(code.rfind("%%BeginFeature: *QVOutProfile L\nF\n", 0), 0u);
}

TEST_F(BidiItem, OneByteTooSmallAnswersTheNegativeLengthAndWritesNothing) {
    PigmentorBIDIItem out(mOut);
    const int length = -out.getBidiPostScript(nullptr, 0);
    ASSERT_GT(length, 0);
    std::string buffer(static_cast<size_t>(length), '#');
    auto* bytes = reinterpret_cast<unsigned char*>(&buffer[0]);
    EXPECT_EQ(out.getBidiPostScript(bytes, length - 1), -length);
    EXPECT_EQ(buffer, std::string(static_cast<size_t>(length), '#'));
    EXPECT_EQ(out.getBidiPostScript(bytes, length), length);
    EXPECT_EQ(buffer.back(), '\n');
}

TEST_F(BidiItem, NoValueOrAValueTooLongForTheWorkBufferGivesNoCode) {
    PigmentorBIDIItem out(mOut);
    out.setValue(0);
    EXPECT_EQ(out.getBidiPostScript(nullptr, 0), 0);
    std::string lines(200, '\n'); // 800 bytes escaped: beyond the 512-byte buffer
    PPDXPopupControl* huge = AddServerPopup(mModel->get(), "TPPigmentor", "*QVSimulationBidi",
                                            "Sim", {{lines, "Many"}}, lines.c_str());
    ASSERT_NE(huge, nullptr);
    PigmentorBIDIItem simulation(huge);
    EXPECT_EQ(simulation.getFeaturePostScript(nullptr, 0), 0);
}

TEST(ColourText, CopiesAreCutAtACharacterBoundary) {
    char out[6];
    EXPECT_EQ(ColourText::Copy(out, sizeof out, "ab\xE3\x81\x82"), 5u); // fits exactly
    EXPECT_STREQ(out, "ab\xE3\x81\x82");
    EXPECT_EQ(ColourText::Copy(out, sizeof out, "abc\xE3\x81\x82"), 3u);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(ColourText::Copy(out, sizeof out, nullptr), 0u);
    EXPECT_STREQ(out, "");
    Owned<CFStringRef> text(CFStringCreateWithCString(nullptr, "ab\xE3\x81\x82\xE3\x81\x84",
                                                      kCFStringEncodingUTF8));
    EXPECT_TRUE(ColourText::Get(text, out, sizeof out));
    EXPECT_STREQ(out, "ab\xE3\x81\x82");
}
