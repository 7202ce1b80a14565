#include "ParseTestSupport.h"

#include "PPDXBooleanControl.h"
#include "PPDXPopupControl.h"
#include "PPDXRangeControl.h"

#include <gtest/gtest.h>

#include <cstring>

using Codes = std::vector<int>;

namespace {

/// A block of `lines` announced for `keyword` and placed in the roll-down "TPColor".
std::string block(const std::string& keyword, const std::string& openLine, const std::string& lines) {
    return "*%QRVFlags " + keyword + ": Command\n*%QRVGroup " + keyword + ": TPColor/x\n" +
           openLine + "\n" + lines;
}

std::string codeOf(PPDXPopupControl* popup, const char* option) {
    for (_PopupItem* item = popup->FirstItem(); item; item = popup->NextItem())
        if (item->HasKeyword(option))
            return std::string(reinterpret_cast<const char*>(item->mPSData),
                               static_cast<size_t>(item->PSLength()));
    return "(none)";
}

} // namespace

TEST(PopupBlock, ItemsTranslationsAndMultiLineCode) {
    std::string lines = "*OrderDependency: 50 AnySetup *QVSimulation\n"
                        "*DefaultQVSimulation: SEPSIM\n"
                        "*QVSimulation NONE/None: \"\"\n"
                        "*QVSimulation SEPSIM/Separation Simulation: \"\n"
                        "  /SepSim XJXsetcolorfeature\n"
                        "*%% procset comment\n"
                        "  true\"\n"
                        "*End\n"
                        "*QVSimulation OTHER: \"/Other XJXsetcolorfeature\"\n"
                        "*QVSimulationEx Long/Longer Keyword: \"x\"\n"
                        "*CloseUI: *QVSimulation\n";
    QRVPPD* ppd = parsePPD(ppdLayout() + block("*QVSimulation", "*OpenUI *QVSimulation/Simulation: PickOne", lines));
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(control(ppd, "*QVSimulation"));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->ItemCount(), 4u); // the longer keyword is an option line of this block too
    EXPECT_STREQ(popup->GetDefaultKeyword(), "SEPSIM");
    EXPECT_EQ(popup->GetValue(), 2);
    EXPECT_FALSE(popup->CanSelectMultipleItems());
    EXPECT_EQ(codeOf(popup, "NONE"), "");
    EXPECT_EQ(codeOf(popup, "SEPSIM"), "\n  /SepSim XJXsetcolorfeature\n% procset comment\n  true\n");
    EXPECT_EQ(codeOf(popup, "OTHER"), "/Other XJXsetcolorfeature\n");
    EXPECT_STREQ(popup->GetKeywordLocalName("SEPSIM"), "Separation Simulation");
    EXPECT_STREQ(popup->GetKeywordLocalName("OTHER"), ""); // an empty translation
    ppd->Release();
}

TEST(PopupBlock, PickManyAndTheLongDefaultForm) {
    std::string lines = "*Default: *QVSpots/Blue\n"
                        "*QVSpots Red/Red: \"r\"\n*QVSpots Blue/Blue: \"b\"\n*EndUI: *QVSpots\n";
    QRVPPD* ppd = parsePPD(ppdLayout() + block("*QVSpots", "*BeginUI *QVSpots/Spots: PickMany", lines));
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(control(ppd, "*QVSpots"));
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->CanSelectMultipleItems());
    EXPECT_STREQ(popup->GetDefaultKeyword(), "Blue");
    ppd->Release();
}

TEST(PopupBlock, SecondDefaultIsFatalAndLeavesNoControl) {
    std::string lines = "*DefaultQVX: A\n*DefaultQVX: B\n*QVX A/A: \"a\"\n*QVX B/B: \"b\"\n*CloseUI: *QVX\n";
    QRVPPD* ppd = parsePPD(ppdLayout() + block("*QVX", "*OpenUI *QVX/X: PickOne", lines) + popupBlock());
    EXPECT_EQ(errorCodes(ppd), (Codes{11, 27}));
    EXPECT_TRUE(findError(ppd, 11)->IsFatal());
    EXPECT_EQ(control(ppd, "*QVX"), nullptr);
    EXPECT_EQ(control(ppd, "*QVColorMode"), nullptr); // the parse stopped there
    EXPECT_FALSE(ppd->IsValidPPD());
    ppd->Release();
}

TEST(PopupBlock, MissingDefaultAndMissingEnd) {
    std::string lines = "*QVX A/A: \"a\"\n*QVX B/B: \"b\"\n*CloseUI: *QVX\n";
    QRVPPD* ppd = parsePPD(ppdLayout() + block("*QVX", "*OpenUI *QVX/X: PickOne", lines));
    EXPECT_EQ(errorCodes(ppd), Codes{33});
    EXPECT_FALSE(findError(ppd, 33)->IsFatal());
    PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(control(ppd, "*QVX"));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetValue(), 0);
    ppd->Release();

    QRVPPD* cut = parsePPD(ppdLayout() + block("*QVX", "*OpenUI *QVX/X: PickOne", "*DefaultQVX: A\n*QVX A/A: \"a\"\n"));
    EXPECT_EQ(errorCodes(cut), (Codes{11, 27}));
    EXPECT_TRUE(findError(cut, 11)->IsFatal());
    cut->Release();
}

TEST(OpenUILine, MissingOptionKeywordAndUnknownType) {
    QRVPPD* noOption = parsePPD(ppdLayout() + block("*QVX", "*OpenUI :", "") + popupBlock());
    EXPECT_EQ(errorCodes(noOption), Codes{8});
    EXPECT_STREQ(findError(noOption, 8)->Keyword(), "*QVX");
    noOption->Release();

    QRVPPD* unknown = parsePPD(ppdLayout() + block("*QVX", "*OpenUI *QVX/X: PickSome", "") + popupBlock());
    EXPECT_EQ(errorCodes(unknown), Codes{31});
    unknown->Release();
}

TEST(BooleanBlock, DefaultsAndSides) {
    auto booleanPPD = [](const std::string& defaults) {
        std::string lines = defaults + "*QVB True/Yes: \"<</B true>> setpagedevice\"\n"
                                       "*QVB False/No: \"<</B false>> setpagedevice\"\n*CloseUI: *QVB\n";
        return parsePPD(ppdLayout() + block("*QVB", "*OpenUI *QVB/Bee: Boolean", lines));
    };
    QRVPPD* onlyFalse = booleanPPD("*DefaultQVB: False\n");
    PPDXBooleanControl* b = dynamic_cast<PPDXBooleanControl*>(control(onlyFalse, "*QVB"));
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(b->DefaultState());
    EXPECT_FALSE(b->IsTrue());
    EXPECT_STREQ(b->TrueDisplayText(), "Yes");
    EXPECT_STREQ(b->FalseDisplayText(), "No");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b->TruePSData()), static_cast<size_t>(b->TruePSLength())),
              "<</B true>> setpagedevice\n");
    EXPECT_EQ(errorCodes(onlyFalse), Codes{});
    onlyFalse->Release();

    QRVPPD* thenTrue = booleanPPD("*DefaultQVB: False\n*DefaultQVB: True\n");
    EXPECT_TRUE(dynamic_cast<PPDXBooleanControl*>(control(thenTrue, "*QVB"))->DefaultState());
    thenTrue->Release();

    QRVPPD* trueThenFalse = booleanPPD("*DefaultQVB: True\n*DefaultQVB: False\n");
    EXPECT_TRUE(dynamic_cast<PPDXBooleanControl*>(control(trueThenFalse, "*QVB"))->DefaultState());
    trueThenFalse->Release();

    QRVPPD* none = booleanPPD("");
    EXPECT_EQ(errorCodes(none), Codes{33});
    EXPECT_NE(control(none, "*QVB"), nullptr);
    none->Release();
}

TEST(BooleanBlock, AnOptionOtherThanTrueOrFalseDropsTheBlock) {
    std::string lines = "*DefaultQVB: True\n*QVB Maybe/Maybe: \"m\"\n*QVB True/Yes: \"t\"\n"
                        "*%QRVFlags *Inside: Command\n*CloseUI: *QVB\n";
    QRVPPD* ppd = parsePPD(ppdLayout() + block("*QVB", "*OpenUI *QVB/Bee: Boolean", lines) + popupBlock());
    EXPECT_EQ(errorCodes(ppd), Codes{9});
    EXPECT_FALSE(findError(ppd, 9)->IsFatal());
    EXPECT_EQ(control(ppd, "*QVB"), nullptr);
    EXPECT_NE(control(ppd, "*QVColorMode"), nullptr); // the parse goes on after the block
    ppd->Release();

    // A file that ends inside a boolean block makes nothing and records nothing.
    QRVPPD* cut = parsePPD(ppdLayout() + popupBlock() + block("*QVB", "*OpenUI *QVB/Bee: Boolean", "*DefaultQVB: True\n"));
    EXPECT_EQ(errorCodes(cut), Codes{});
    EXPECT_EQ(control(cut, "*QVB"), nullptr);
    cut->Release();
}

TEST(RangeLine, NumbersAndCode) {
    QRVPPD* ppd = parsePPD(ppdLayout() +
                           block("*QVDensity", "*%QRVRange *QVDensity/Toner Density: (-3;3;1;0) \"<*QVDensity> setdensity\"", "") +
                           block("*QVShift", "*%QRVUnitRange *QVShift/Shift: ( -36 ; 36 ; 2 ; 4 ) \"<*QVShift> shift\"", ""));
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXRangeControl* density = dynamic_cast<PPDXRangeControl*>(control(ppd, "*QVDensity"));
    ASSERT_NE(density, nullptr);
    EXPECT_EQ(density->MinVal(), -3);
    EXPECT_EQ(density->MaxVal(), 3);
    EXPECT_EQ(density->Increment(), 1);
    EXPECT_EQ(density->DefaultValue(), 0);
    EXPECT_EQ(density->GetValue(), 0);
    EXPECT_STREQ(density->UserName(), "Toner Density");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(density->PSData()), static_cast<size_t>(density->PSLength())),
              "<*QVDensity> setdensity\n");
    PPDXRangeControl* shift = dynamic_cast<PPDXRangeControl*>(control(ppd, "*QVShift"));
    ASSERT_NE(shift, nullptr);
    EXPECT_EQ(shift->MinVal(), -36);
    EXPECT_EQ(shift->DefaultValue(), 4);
    EXPECT_EQ(shift->GetParent(), density->GetParent());
    ppd->Release();
}

TEST(RangeLine, MalformedLinesAndMissingCode) {
    const char* malformed[] = {
        "*%QRVRange *QVDensity/Density: (-3;3;1) \"c\"",       // three numbers
        "*%QRVRange *QVOther/Density: (-3;3;1;0) \"c\"",       // not the block's keyword
        "*%QRVRange *QVDensity/Density: -3;3;1;0) \"c\"",      // no opening bracket
        "*%QRVRange *QVDensity/Density: (-3;x;1;0) \"c\"",     // not a number
    };
    for (const char* line : malformed) {
        QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() + block("*QVDensity", line, ""));
        EXPECT_EQ(errorCodes(ppd), Codes{7}) << line;
        EXPECT_EQ(control(ppd, "*QVDensity"), nullptr) << line;
        ppd->Release();
    }

    QRVPPD* noCode = parsePPD(ppdLayout() + block("*QVDensity", "*%QRVRange *QVDensity/Density: (-3;3;1;0)", ""));
    EXPECT_EQ(errorCodes(noCode), Codes{35});
    PPDXRangeControl* range = dynamic_cast<PPDXRangeControl*>(control(noCode, "*QVDensity"));
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->PSLength(), 0);
    noCode->Release();

    QRVPPD* noTranslation = parsePPD(ppdLayout() + popupBlock() + block("*QVDensity", "*%QRVRange *QVDensity", ""));
    EXPECT_EQ(errorCodes(noTranslation), Codes{});
    EXPECT_EQ(control(noTranslation, "*QVDensity"), nullptr);
    noTranslation->Release();
}
