// The colour data controller: the PPD check and the print mode, the print-mode item of the
// print settings ticket, the colour output with its injection sites and order, the summary
// cursor and the per-printer two-way address.
#include "ColourDataSupport.h"

#include "PigmentorItem.h"
#include "PigmentorPPDItemList.h"
#include "PigmentorPaneItemList.h"

#include "PPDXPopupControl.h"
#include "_PopupItem.h"

#include <gtest/gtest.h>

namespace {

std::string CurrentKeyword(PigmentorData& data) {
    PPDXPopupControl* mode = data.GetColorModePPDControl();
    _PopupItem* item = mode ? mode->CurrentItem() : nullptr;
    return item && item->Keyword() ? item->Keyword() : "<none>";
}

Owned<CFStringRef> Text(const char* text) {
    return Owned<CFStringRef>(PMCFStringCreateWithUTF8(text));
}

} // namespace

TEST(ColourData, PrintModeItemsDecideTheControllersValidity) {
    ColourDataHarness h;
    ColourPPD ppd;

    // CMYK and Grayscale only: no expert item, so the expert mode prints with CMYK.
    {
        PigmentorData& data = h.OpenText(ppd.Text());
        ASSERT_TRUE(data.Valid());
        EXPECT_FALSE(data.ExpertColorDefinedInPPD());
        EXPECT_STREQ(data.GetGrayscaleColorKeyword(), "Grayscale");
        data.SetColorMode(kColorModeGrayscale);
        EXPECT_EQ(CurrentKeyword(data), "Grayscale");
        data.SetColorMode(kColorModeExpert);
        EXPECT_EQ(CurrentKeyword(data), "CMYK");
        data.SetColorMode(kColorModeGrayscale);
        data.SetColorMode(static_cast<ColorModeValues>(7)); // unknown: nothing changes
        EXPECT_EQ(CurrentKeyword(data), "Grayscale");
        char name[256] = "";
        EXPECT_EQ(data.GetColorModeValueKeyword(name), 2);
        EXPECT_STREQ(name, "Gray");
    }
    // CMYK and GRAY: the grayscale mode selects GRAY.
    ppd.modes = {{"CMYK", "Color"}, {"GRAY", "Black and White"}};
    {
        PigmentorData& data = h.OpenText(ppd.Text());
        ASSERT_TRUE(data.Valid());
        data.SetColorMode(kColorModeGrayscale);
        EXPECT_EQ(CurrentKeyword(data), "GRAY");
        data.SetColorMode(kColorModeStandard);
        EXPECT_EQ(CurrentKeyword(data), "CMYK");
    }
    // With an Expert item the expert mode selects it.
    ppd.modes = {{"CMYK", "Color"}, {"Grayscale", "Gray"}, {"Expert", "Expert Color"}};
    {
        PigmentorData& data = h.OpenText(ppd.Text());
        ASSERT_TRUE(data.ExpertColorDefinedInPPD());
        data.SetColorMode(kColorModeExpert);
        EXPECT_EQ(CurrentKeyword(data), "Expert");
    }
    // An unknown item (RGB) rejects the print mode and the controller...
    ppd.modes = {{"CMYK", "Color"}, {"RGB", "RGB"}, {"Grayscale", "Gray"}};
    EXPECT_FALSE(h.OpenText(ppd.Text()).Valid());
    // ...unless *Pigmentor keeps the pane, which then has no print-mode control or keywords.
    ppd.specialOptions = {"*Pigmentor"};
    {
        PigmentorData& data = h.OpenText(ppd.Text());
        EXPECT_TRUE(data.Valid());
        EXPECT_EQ(data.GetColorModePPDControl(), nullptr);
        EXPECT_STREQ(data.GetStandardColorKeyword(), "");
        EXPECT_STREQ(data.GetGrayscaleColorKeyword(), "");
        char name[256] = "unchanged";
        EXPECT_EQ(data.GetColorModeValueKeyword(name), 0);
    }
    // One item, or no grayscale item, is not a print mode.
    ppd.specialOptions.clear();
    ppd.modes = {{"CMYK", "Color"}};
    EXPECT_FALSE(h.OpenText(ppd.Text()).Valid());
    ppd.modes = {{"CMYK", "Color"}, {"QVColorModeDEF", "Printer Default"}};
    EXPECT_FALSE(h.OpenText(ppd.Text()).Valid());
    ppd.modes = {{"CMYK", "Color"}, {"QVColorModeDEF", "Printer Default"}, {"GRAY", "Gray"}};
    {
        PigmentorData& data = h.OpenText(ppd.Text());
        EXPECT_TRUE(data.Valid());
        EXPECT_STREQ(data.GetDefaultColorKeyword(), "QVColorModeDEF");
    }
    // Keywords are compared as written.
    ppd.modes = {{"cmyk", "Color"}, {"Grayscale", "Gray"}};
    EXPECT_FALSE(h.OpenText(ppd.Text()).Valid());
}

TEST(ColourData, ARejectedPrintModeEndsTheSearchForThePaneControls) {
    ColourDataHarness h;
    PigmentorData& m200 = h.Open(ExamplePPD("Tarvo-M200.ppd"));
    ASSERT_TRUE(m200.Valid());
    ASSERT_NE(m200.GetBrightnessPPDControl(), nullptr);
    EXPECT_EQ(m200.GetBrightNess(), 2); // "100", the second of three
    ASSERT_NE(m200.GetImageSmoothingPPDControl(), nullptr);
    EXPECT_EQ(m200.GetColorSubstPPDControl(), nullptr);
    EXPECT_EQ(m200.GetSubstColor(), 0);
    Owned<CFMutableStringRef> title(CFStringCreateMutable(nullptr, 0));
    Owned<CFMutableStringRef> value(CFStringCreateMutable(nullptr, 0));
    EXPECT_TRUE(m200.ReportColorBrightness(title, value));
    EXPECT_EQ(UTF8(title) + "=" + UTF8(value), "Brightness=100% Normal");
    EXPECT_FALSE(m200.ReportColorSubst(title, value));

    // The M210's print mode (with RGB) comes before its pane controls: they are not found,
    // though *Pigmentor keeps the controller.
    PigmentorData& m210 = h.Open(ExamplePPD("Tarvo-M210.ppd"));
    ASSERT_TRUE(m210.Valid());
    EXPECT_EQ(m210.GetBrightnessPPDControl(), nullptr);
    EXPECT_EQ(m210.GetImageSmoothingPPDControl(), nullptr);
}

TEST(ColourData, ThePrintPageAndAColourRollDownAreRequired) {
    ColourDataHarness h;
    ColourPPD ppd;
    ppd.page = "QVPPTarvoOther";
    EXPECT_FALSE(h.OpenText(ppd.Text()).Valid());

    ppd = ColourPPD();
    ppd.group = "TPColor"; // the fallback name
    EXPECT_TRUE(h.OpenText(ppd.Text()).Valid());
    ppd.group = "TPColour"; // neither name
    EXPECT_FALSE(h.OpenText(ppd.Text()).Valid());

    // Without a print page the special option does not help.
    ppd = ColourPPD();
    ppd.page = "QVPPTarvoOther";
    ppd.specialOptions = {"*Pigmentor"};
    EXPECT_FALSE(h.OpenText(ppd.Text()).Valid());
}

TEST(ColourData, ThePrintModeReachesTheTicketOnlyOnceSet) {
    ColourDataHarness h;
    PigmentorData& data = h.Open(ExamplePPD("Tarvo-C5000.ppd"));
    ASSERT_TRUE(data.Valid());
    int value = 0;
    data.GetColorModeValue(value);
    EXPECT_EQ(value, kPrintModeNotSet);
    Owned<CFMutableStringRef> key(CreateClientIdentifier(CFSTR(".ColorMode")));
    Owned<CFStringRef> client(CreateClientIdentifier());
    EXPECT_FALSE(data.SaveSettingsToJobTicket(&h.Settings(), client));
    long stored = 0;
    EXPECT_NE(h.Settings().GetInt(key, stored), noErr);

    data.SetColorModeValue(nullptr, kPrintModeGrayscale); // no title: nothing changes
    EXPECT_FALSE(data.SaveSettingsToJobTicket(&h.Settings(), client));
    data.SetColorModeValue(Text("Grayscale"), kPrintModeGrayscale);
    EXPECT_TRUE(data.SaveSettingsToJobTicket(&h.Settings(), client));
    ASSERT_EQ(h.Settings().GetInt(key, stored), noErr);
    EXPECT_EQ(stored, kPrintModeGrayscale);

    // The next controller on the same session starts from the ticket's value.
    PigmentorData& again = h.Open(ExamplePPD("Tarvo-C5000.ppd"));
    again.GetColorModeValue(value);
    EXPECT_EQ(value, kPrintModeGrayscale);
}

TEST(ColourData, OutputSuppressesThenWritesPrintModePaneAndExpertCodeInOrder) {
    ColourDataHarness h;
    PigmentorData& data = h.Open(ExamplePPD("Tarvo-C5000.ppd"));
    ASSERT_TRUE(data.Valid());
    ASSERT_NE(data.GetExpertColorFeaturesList(), nullptr);
    data.SetColorMode(kColorModeGrayscale);

    const std::vector<std::string> pane = {"*QVBrightness",   "*QVImageSmooth", "*QVSubstColors",
                                           "*QVSeparations",  "*QVHPBlack",     "*QVCompOverprint",
                                           "*QVTrapping"};
    const std::vector<std::string> expert = {
        "*QVRGBOverride",  "*QVColorRendDict", "*QVSimulation",   "*QVOutProfile",
        "*QVRGBSep",       "*QVSimSpeed",      "*QVSpotColors",   "*QVPureBlack",
        "*QVBlkOvpStyle",  "*QVBlkOverprint",  "*QVPaperSim",     "*QVBlkOvpCtrl",
        "*QVProofProfile", "*QVRGBOtherGamma", "*QVRGBOtherWtPt", "*QVRGBOtherPhos",
        "*QVKOnlyGrayRGB", "*QVKOnlyGrayCMYK"};
    std::vector<Injection> expected = {{-9, "*QVColorMode"}};
    for (const auto& k : pane)
        expected.push_back({-9, k});
    for (const auto& k : expert)
        expected.push_back({-9, k});
    expected.push_back({81, CodeOf(ControlOf(h.Model(), "*QVColorMode"))});
    for (const auto& k : pane)
        expected.push_back({81, CodeOf(ControlOf(h.Model(), k.c_str()))});
    for (const auto& k : expert)
        expected.push_back({81, CodeOf(ControlOf(h.Model(), k.c_str()))});
    EXPECT_NE(expected[26].data.find("Grayscale"), std::string::npos);

    EXPECT_EQ(data.OutPostscriptData(h.Ticket()), noErr);
    EXPECT_EQ(Injections(h.Ticket()), expected);

    // The walk leaves the cursors at their start: the same output again, and the summary
    // still starts with the pane's first feature after the print-mode line.
    QRVJobTicket& second = h.NewTicket();
    data.OutPostscriptData(second);
    EXPECT_EQ(Injections(second), expected);
}

TEST(ColourData, ExpertCodeEitherSideOfTheFixedBufferArrivesWhole) {
    ColourDataHarness h;
    ColourPPD ppd;
    // Code lengths chosen so that the framed feature code is 1023, 1024, 1025 and 3000 bytes.
    ppd.experts = {{"*QVRGBSep", 100}, {"*QVSimSpeed", 100}, {"*QVSpotColors", 100},
                   {"*QVPureBlack", 100}};
    h.OpenText(ppd.Text());
    const long targets[] = {1023, 1024, 1025, 3000};
    for (size_t i = 0; i < 4; ++i) {
        // The frame around the code names the keyword, so each has its own length.
        long frame =
            static_cast<long>(CodeOf(ControlOf(h.Model(), ppd.experts[i].first.c_str())).size()) -
            100;
        ppd.experts[i].second = static_cast<size_t>(targets[i] - frame);
    }
    PigmentorData& data = h.OpenText(ppd.Text());
    ASSERT_TRUE(data.Valid());
    ASSERT_NE(data.GetExpertColorFeaturesList(), nullptr);

    std::vector<std::string> codes;
    for (const auto& [keyword, length] : ppd.experts) {
        codes.push_back(CodeOf(ControlOf(h.Model(), keyword.c_str())));
        ASSERT_EQ(static_cast<long>(codes.back().size()), targets[codes.size() - 1]) << keyword;
    }
    data.OutPostscriptData(h.Ticket());
    std::vector<Injection> entries = Injections(h.Ticket());
    ASSERT_GE(entries.size(), 4u);
    std::vector<std::string> written;
    for (size_t i = entries.size() - 4; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].site, 81);
        written.push_back(entries[i].data);
    }
    EXPECT_EQ(written, codes);
}

TEST(ColourData, SummaryWalksModePaneExpertAndStartsAgain) {
    ColourDataHarness h;
    PigmentorData& data = h.Open(ExamplePPD("Tarvo-C5000.ppd"));
    ASSERT_NE(data.GetExpertColorFeaturesList(), nullptr);
    Owned<CFMutableStringRef> title(CFStringCreateMutable(nullptr, 0));
    Owned<CFMutableStringRef> value(CFStringCreateMutable(nullptr, 0));
    bool enabled = false;

    // Without the print-mode titles the summary has nothing, and starts over each time.
    EXPECT_FALSE(data.GetSummaryLine(title, value, enabled));
    EXPECT_TRUE(enabled);
    data.SetPrintModeTitle(Text("Print Mode"));
    EXPECT_FALSE(data.GetSummaryLine(title, value, enabled));
    data.SetColorModeValue(Text("Expert Color"), kPrintModeExpert);

    for (int round = 0; round < 2; ++round) {
        std::vector<std::string> titles;
        while (data.GetSummaryLine(title, value, enabled) && titles.size() < 100)
            titles.push_back(UTF8(title));
        ASSERT_EQ(titles.size(), 1u + 7u + 18u) << "round " << round;
        EXPECT_EQ(titles[0], "Print Mode");
        EXPECT_EQ(titles[1], "Brightness");
        EXPECT_EQ(titles[8], UTF8(ControlOf(h.Model(), "*QVRGBOverride")->CFStringUserName()));
        EXPECT_EQ(titles.back(),
                  UTF8(ControlOf(h.Model(), "*QVKOnlyGrayCMYK")->CFStringUserName()));
    }
    ASSERT_TRUE(data.GetSummaryLine(title, value, enabled));
    EXPECT_EQ(UTF8(value), "Expert Color");
    // The cursor belongs to the process: walk to the end so that the next summary starts over.
    for (int i = 0; i < 100 && data.GetSummaryLine(title, value, enabled); ++i) {
    }
}

TEST(ColourData, TheTwoWayAddressIsKeptPerPrinter) {
    ColourDataHarness h;
    PigmentorData& data = h.Open(ExamplePPD("Tarvo-C5000.ppd"));
    ASSERT_NE(data.GetCurrentPrinterName(), nullptr);
    EXPECT_EQ(data.GetTwoWayAddress(), nullptr);
    EXPECT_FALSE(data.SetIPAddressEnabled(true)); // not listed yet
    CString address("print-server.example");
    EXPECT_TRUE(data.SetTovranePrinterAddress(nullptr, &address, false));
    EXPECT_FALSE(data.SetTovranePrinterAddress(nullptr, nullptr, false));
    EXPECT_TRUE(data.SetIPAddressEnabled(true));

    // A new controller for the same printer finds it; another printer name finds nothing.
    PigmentorData& again = h.Open(ExamplePPD("Tarvo-C5000.ppd"));
    EXPECT_EQ(UTF8(again.GetTwoWayAddress()), "print-server.example");
    bool enabled = false;
    Owned<CFStringRef> upper(Text("TARVO C5000"));
    EXPECT_EQ(UTF8(again.GetTovranePrinterAddress(upper, &enabled)), "print-server.example");
    EXPECT_TRUE(enabled);
    Owned<CFStringRef> other(Text("Another Printer"));
    enabled = false;
    EXPECT_EQ(again.GetTovranePrinterAddress(other, &enabled), nullptr);
    EXPECT_EQ(again.GetTwoWayAddress(), nullptr);
    EXPECT_FALSE(enabled);
}
