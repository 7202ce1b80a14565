#include "ParseTestSupport.h"

#include "KeywordTo_PPDControl.h"
#include "PPDXBooleanControl.h"
#include "PPDXGroups.h"
#include "PPDXPopupControl.h"
#include "PPDXProperties.h"
#include "PPDXRollDown.h"

#include <gtest/gtest.h>

using Codes = std::vector<int>;

TEST(ParseDriver, ABlockBecomesAControlInItsRollDown) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() + "*%QVFileVersion: 2.0.3\n*%QVVersion: 5.1\n");
    EXPECT_TRUE(ppd->IsValidPPD());
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXPopupControl* mode = dynamic_cast<PPDXPopupControl*>(control(ppd, "*QVColorMode"));
    ASSERT_NE(mode, nullptr);
    EXPECT_STREQ(mode->UserName(), "Print Mode");
    EXPECT_TRUE(mode->IsCommand());
    EXPECT_TRUE(mode->IsSetup());
    EXPECT_EQ(mode->ControlFlagCount(), 2u);
    EXPECT_EQ(mode->ItemCount(), 2u);
    EXPECT_STREQ(mode->GetDefaultKeyword(), "CMYK");
    EXPECT_EQ(mode->GetValue(), 1);
    ASSERT_NE(mode->GetParent(), nullptr);
    EXPECT_STREQ(mode->GetParent()->Keyword(), "TPColor");
    PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(mode->GetParent());
    ASSERT_NE(rollDown, nullptr);
    EXPECT_EQ(rollDown->Controls()->PopupCount(), 1u);
    EXPECT_EQ((*ppd->GetKeywordIndex())[const_cast<char*>("*QVColorMode")], mode);
    EXPECT_STREQ(ppd->ExtensionFileVersion(), "2.0.3");
    EXPECT_STREQ(ppd->ExtensionVersion(), "5.1");
    ppd->Release();
}

TEST(ParseDriver, SignatureOtherThan43IsFatalButResolutionStillRuns) {
    std::string body = "*PPD-Adobe: \"4.2\"\n*ModelName: \"never read\"\n"
                       "*%QRVGroupName TPLost/Lost: True\n" + popupBlock();
    QRVPPD* ppd = parsePPD(body, kShowAll, false);
    EXPECT_FALSE(ppd->IsValidPPD());
    const PPDXErrorObj* signature = findError(ppd, 28);
    ASSERT_NE(signature, nullptr);
    EXPECT_TRUE(signature->IsFatal());
    EXPECT_EQ(control(ppd, "*QVColorMode"), nullptr); // nothing after the signature is read
    EXPECT_EQ(ppd->ModelName(), nullptr);
    EXPECT_EQ(errorCodes(ppd), (Codes{28, 25, 26, 27}));
    ppd->Release();

    QRVPPD* missing = parsePPD("*ModelName: \"x\"\n", kShowAll, false);
    EXPECT_EQ(errorCodes(missing), (Codes{28, 25, 26, 27}));
    missing->Release();

    QRVPPD* empty = parsePPD("", kShowAll, false);
    EXPECT_EQ(errorCodes(empty), (Codes{18, 25, 26, 27}));
    EXPECT_TRUE(findError(empty, 18)->IsFatal());
    empty->Release();
}

TEST(ParseDriver, PlainOpenUIBlocksAreNotModelled) {
    QRVPPD* ppd = parsePPD(ppdLayout() +
                           "*OpenUI *PageRegion/Region: PickOne\n*DefaultPageRegion: A4\n"
                           "*PageRegion A4/A4: \"<</PageSize [595 842]>> setpagedevice\"\n"
                           "*CloseUI: *PageRegion\n");
    EXPECT_EQ(errorCodes(ppd), Codes{27});
    EXPECT_FALSE(findError(ppd, 27)->IsFatal());
    EXPECT_TRUE(ppd->IsValidPPD());
    ppd->Release();
}

TEST(ParseDriver, FlagsLineErrors) {
    QRVPPD* noKeyword = parsePPD(ppdLayout() + "*%QRVFlags \n" + popupBlock());
    EXPECT_EQ(errorCodes(noKeyword), Codes{16});
    EXPECT_EQ(findError(noKeyword, 16)->Keyword(), nullptr);
    EXPECT_NE(control(noKeyword, "*QVColorMode"), nullptr);
    noKeyword->Release();

    QRVPPD* notABlock = parsePPD(ppdLayout() + "*%QRVFlags *QVThing: Command\n*Other: x\n" + popupBlock());
    EXPECT_EQ(errorCodes(notABlock), Codes{16});
    EXPECT_STREQ(findError(notABlock, 16)->Keyword(), "*QVThing");
    notABlock->Release();

    QRVPPD* twice = parsePPD(ppdLayout() + popupBlock() + popupBlock());
    EXPECT_EQ(errorCodes(twice), Codes{23});
    EXPECT_STREQ(findError(twice, 23)->Keyword(), "*QVColorMode");
    EXPECT_EQ(twice->GetControls()->PopupCount(), 1u);
    twice->Release();
}

// A repeated keyword is found whatever kind of control first had it, and an orphan's only while
// the display options show orphans; a keyword that only contains an earlier one is no repeat.
TEST(ParseDriver, RepeatedKeywordsOfAnyControlKind) {
    const std::string range = "*%QRVFlags *QVDensity: Command\n*%QRVGroup *QVDensity: TPColor/x\n"
                              "*%QRVRange *QVDensity/Density: (-3;3;1;0) \"<*QVDensity> d\"\n";
    QRVPPD* ppd =
        parsePPD(ppdLayout() + range + popupBlock("*QVDensityX") + popupBlock("*QVDensity"));
    EXPECT_EQ(errorCodes(ppd), Codes{23});
    EXPECT_STREQ(findError(ppd, 23)->Keyword(), "*QVDensity");
    EXPECT_NE(control(ppd, "*QVDensityX"), nullptr);
    ppd->Release();

    const std::string orphan =
        "*%QRVFlags *QVLone: Command\n"
        "*OpenUI *QVLone/Lone: Boolean\n*DefaultQVLone: True\n"
        "*QVLone True/On: \"t\"\n*QVLone False/Off: \"f\"\n*CloseUI: *QVLone\n";
    QRVPPD* hidden = parsePPD(ppdLayout() + orphan + orphan);
    EXPECT_EQ(errorCodes(hidden), (Codes{29, 29}));
    hidden->Release();
    ScopedDisplayOptions seeOrphans(kShowAll);
    QRVPPD* shown = parsePPD(ppdLayout() + orphan + orphan);
    EXPECT_EQ(errorCodes(shown), (Codes{29, 23}));
    EXPECT_STREQ(findError(shown, 23)->Keyword(), "*QVLone");
    shown->Release();
}

TEST(ParseDriver, ControlOutsideARollDownIsAnOrphanWithError29) {
    std::string body = ppdLayout() +
                       "*%QRVGroupName TPPlain/Plain: True\n"
                       "*%QRVFlags *QVInPane: Command\n*%QRVGroup *QVInPane: TPSColor/x\n"
                       "*OpenUI *QVInPane/In Pane: Boolean\n*DefaultQVInPane: True\n"
                       "*QVInPane True/On: \"t\"\n*QVInPane False/Off: \"f\"\n*CloseUI: *QVInPane\n"
                       "*%QRVFlags *QVInPlain: Command\n*%QRVGroup *QVInPlain: TPPlain/x\n"
                       "*OpenUI *QVInPlain/In Plain: Boolean\n*DefaultQVInPlain: False\n"
                       "*QVInPlain True/On: \"t\"\n*QVInPlain False/Off: \"f\"\n*CloseUI: *QVInPlain\n";
    QRVPPD* ppd = parsePPD(body);
    EXPECT_EQ(errorCodes(ppd), (Codes{29, 29}));
    PPDXControl* inPane = control(ppd, "*QVInPane");
    ASSERT_NE(inPane, nullptr);
    EXPECT_TRUE(inPane->IsOrphan());
    PPDXControl* inPlain = control(ppd, "*QVInPlain");
    ASSERT_NE(inPlain, nullptr);
    EXPECT_TRUE(inPlain->IsOrphan());
    // The plain group was made from its declared name when the control asked for it.
    ASSERT_NE(ppd->GetGroups()->Find("TPPlain", true), nullptr);
    EXPECT_EQ(dynamic_cast<PPDXRollDown*>(ppd->GetGroups()->Find("TPPlain", true)), nullptr);
    ppd->Release();
}

TEST(ParseDriver, InstallableOptionsCatchBlocksWithoutAGroup) {
    std::string block = "*%QRVFlags *OptionTray3: Setup\n"
                        "*OpenUI *OptionTray3/Tray 3: Boolean\n*DefaultOptionTray3: False\n"
                        "*OptionTray3 True/Installed: \"\"\n*OptionTray3 False/Not Installed: \"\"\n"
                        "*CloseUI: *OptionTray3\n";
    std::string body = ppdLayout() + popupBlock() +
                       "*OpenGroup: InstallableOptions/Options Installed\n" + block +
                       "*CloseGroup: InstallableOptions\n";
    QRVPPD* ppd = parsePPD(body);
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXGroup* installable = ppd->GetGroups()->Find("InstallableOptions", true);
    ASSERT_NE(installable, nullptr);
    EXPECT_STREQ(installable->UserName(), "Options Installed");
    EXPECT_TRUE(installable->IsOrphan());
    PPDXControl* tray = control(ppd, "*OptionTray3");
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->GetParent(), installable);
    ppd->Release();

    // Without orphans the block has no group at all and is refused.
    QRVPPD* strict = parsePPD(body, kShowHidden);
    EXPECT_EQ(errorCodes(strict), Codes{21});
    EXPECT_EQ(control(strict, "*OptionTray3"), nullptr);
    strict->Release();

    // Outside the group, with orphans parsed, the same block is an orphan without a parent.
    QRVPPD* outside = parsePPD(ppdLayout() + popupBlock() + block);
    PPDXControl* orphan = control(outside, "*OptionTray3");
    ASSERT_NE(orphan, nullptr);
    EXPECT_TRUE(orphan->IsOrphan());
    EXPECT_EQ(errorCodes(outside), Codes{29});
    outside->Release();
}

TEST(ParseDriver, LongLineEndsTheParseSilently) {
    std::string body = ppdLayout() + popupBlock() + "*% " + std::string(300, 'x') + "\n" +
                       popupBlock("*QVLater");
    QRVPPD* ppd = parsePPD(body);
    EXPECT_EQ(errorCodes(ppd), Codes{});
    EXPECT_NE(control(ppd, "*QVColorMode"), nullptr);
    EXPECT_EQ(control(ppd, "*QVLater"), nullptr);
    EXPECT_TRUE(ppd->IsValidPPD());
    ppd->Release();
}

TEST(ParseDriver, ModelWithoutAFileAndAcceptedNames) {
    QRVPPD bare(kShowAll);
    EXPECT_NE(bare.GetControls(), nullptr);
    EXPECT_NE(bare.GetGroups(), nullptr);
    EXPECT_NE(bare.GetProperties(), nullptr);
    EXPECT_FALSE(bare.IsValidPPD());
    EXPECT_EQ(bare.GetErrors()->Count(), 0u);
    FSSpec none;
    EXPECT_FALSE(bare.GetFileSpec(none));

    TempFile file(ppdHeader() + ppdLayout() + popupBlock());
    CFURLRef url = file.CreateURL();
    CFArrayRef others = CreateNames({"OTHER.PPD"});
    QRVPPD* refused = new QRVPPD(url, kShowAll, others);
    EXPECT_FALSE(refused->IsValidPrinterName());
    EXPECT_FALSE(refused->IsValidPPD());
    EXPECT_EQ(refused->GetControls(), nullptr); // never built
    CFArrayRef names = CreateNames({"TEST.PPD"});
    QRVPPD* accepted = new QRVPPD(url, kShowAll, names);
    QRVPPD* again = new QRVPPD(url, kShowAll, nullptr);
    EXPECT_TRUE(accepted->IsValidPPD());
    EXPECT_TRUE(*accepted == *again);
    EXPECT_FALSE(*accepted == bare);
    accepted->Release();
    again->Release();
    refused->Release();
    CFRelease(names);
    CFRelease(others);
    CFRelease(url);
}

TEST(ParseDriver, CreateAndReconcilePopupMenus) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock());
    auto items = [](std::initializer_list<const char*> keywords) {
        PointerList list;
        for (const char* k : keywords)
            list.PushBack(new _PopupItem(k,
                                         CFStringCreateWithCString(nullptr, k, kCFStringEncodingMacRoman),
                                         nullptr, 0));
        return list;
    };
    PointerList first = items({"FAST", "BETR"});
    CString* fast = new CString("FAST");
    PPDXControl* made = ppd->PPDCreatePopupMenu("TPColor", "*QVServerSpeed", "Speed", first, fast);
    first.MakeEmpty();
    ASSERT_NE(made, nullptr);
    EXPECT_STREQ(made->GetParent()->Keyword(), "TPColor");
    EXPECT_EQ((*ppd->GetKeywordIndex())[const_cast<char*>("*QVServerSpeed")], nullptr);
    PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(made);
    popup->SetKeywordSelect("BETR", true);

    PointerList second = items({"NONE", "BETR", "S4X4"});
    EXPECT_TRUE(ppd->PPDReconcilePopupMenu("*QVServerSpeed", "Server Speed", second, new CString("NONE")));
    second.MakeEmpty();
    EXPECT_EQ(popup->ItemCount(), 3u);
    EXPECT_TRUE(popup->IsKeywordSelected("BETR"));
    EXPECT_STREQ(popup->UserName(), "Server Speed");

    PointerList none;
    EXPECT_FALSE(ppd->PPDReconcilePopupMenu("*QVMissing", "x", none, nullptr));
    EXPECT_EQ(ppd->PPDCreatePopupMenu(nullptr, "*X", "x", none, nullptr), nullptr);
    ppd->Release();
}
