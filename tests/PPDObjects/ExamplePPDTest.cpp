// The example PPDs parse into the models their readers expect.
#include "ParseTestSupport.h"

#include "PPDXBooleanControl.h"
#include "PPDXGroups.h"
#include "PPDXPopupControl.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXRangeControl.h"
#include "PPDXRollDown.h"
#include "PPDXScrollPane.h"

#include <CoreFoundation/PMCFUtilities.h>

#include <gtest/gtest.h>

#include <string>

namespace {

PPDXPopupControl* popup(QRVPPD* ppd, const char* keyword) {
    return dynamic_cast<PPDXPopupControl*>(control(ppd, keyword));
}

std::string utf8(CFStringRef s) { return s ? PMCFStringCopyUTF8(s) : "(null)"; }

std::string itemName(QRVPPD* ppd, const char* keyword, const char* option) {
    PPDXPopupControl* p = popup(ppd, keyword);
    return p ? utf8(p->GetKeywordCFLocalName(option)) : "(no control)";
}

const char* const kExpertKeywords[] = {
    "*QVRGBOverride", "*QVColorRendDict", "*QVSimulation",  "*QVOutProfile",   "*QVRGBSep",
    "*QVSimSpeed",    "*QVSpotColors",    "*QVPureBlack",   "*QVBlkOvpStyle",  "*QVBlkOverprint",
    "*QVPaperSim",    "*QVBlkOvpCtrl",    "*QVProofProfile", "*QVRGBOtherGamma", "*QVRGBOtherWtPt",
    "*QVRGBOtherPhos", "*QVKOnlyGrayRGB", "*QVKOnlyGrayCMYK"};

} // namespace

TEST(ExamplePPDs, C5000HeaderPagesAndGroups) {
    QRVPPD* ppd = openExample("Tarvo-C5000.ppd");
    EXPECT_TRUE(ppd->IsValidPPD());
    EXPECT_EQ(errorCodes(ppd), std::vector<int>{});
    EXPECT_STREQ(ppd->PCFileName(), "TRVC5000.PPD");
    EXPECT_STREQ(ppd->ModelName(), "Tarvo C5000 Color Server");
    EXPECT_STREQ(ppd->FileVersion(), "2.0");
    EXPECT_STREQ(ppd->ExtensionFileVersion(), "2.0.3");
    EXPECT_STREQ(ppd->ExtensionVersion(), "5.1");

    ScopedDisplayOptions all(kShowAll);
    EXPECT_EQ(ppd->GetProperties()->Count(), 3u);
    PPDXProperty* print = ppd->GetProperties()->Find("QVPPTarvoPrint", true);
    ASSERT_NE(print, nullptr);
    EXPECT_STREQ(print->UserName(), "Color");
    EXPECT_TRUE(print->ShowInPrintProp());
    EXPECT_FALSE(print->ShowInApp());
    ASSERT_NE(print->GetScrollDown(), nullptr);
    EXPECT_STREQ(print->GetScrollDown()->Keyword(), "TPSPrint");

    EXPECT_EQ(ppd->GetGroups()->Count(), 10u);
    PPDXRollDown* colour = dynamic_cast<PPDXRollDown*>(ppd->GetGroups()->Find("TPPigmentor", true));
    ASSERT_NE(colour, nullptr);
    EXPECT_STREQ(colour->GetParent()->Keyword(), "TPSPrint");
    EXPECT_EQ(colour->Controls()->PopupCount(), 1u + 18u + 3u); // print mode, expert, pane
    EXPECT_EQ(colour->Controls()->BooleanCount(), 4u);
    PPDXGroup* installable = ppd->GetGroups()->Find("InstallableOptions", true);
    ASSERT_NE(installable, nullptr);
    EXPECT_TRUE(installable->IsOrphan());
    {
        ScopedDisplayOptions strict(0);
        EXPECT_EQ(ppd->GetGroups()->Count(), 9u);
    }
    ppd->Release();
}

TEST(ExamplePPDs, C5000Controls) {
    QRVPPD* ppd = openExample("Tarvo-C5000.ppd");
    ScopedDisplayOptions all(kShowAll);
    EXPECT_EQ(ppd->GetControls()->PopupCount(), 30u);
    EXPECT_EQ(ppd->GetControls()->BooleanCount(), 8u);
    EXPECT_EQ(ppd->GetControls()->RangeCount(), 4u);

    PPDXPopupControl* mode = popup(ppd, "*QVColorMode");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->ItemCount(), 3u);
    EXPECT_STREQ(mode->GetDefaultKeyword(), "CMYK");
    CFStringRef value = mode->GetCurrentControlValueString();
    EXPECT_EQ(utf8(value), "CMYK");
    CFRelease(value);
    EXPECT_STREQ(mode->GetParent()->Keyword(), "TPPigmentor");
    EXPECT_EQ(itemName(ppd, "*QVColorMode", "Grayscale"), "Grayscale");

    for (const char* keyword : kExpertKeywords) {
        PPDXPopupControl* feature = popup(ppd, keyword);
        ASSERT_NE(feature, nullptr) << keyword;
        EXPECT_STREQ(feature->GetParent()->Keyword(), "TPPigmentor") << keyword;
        EXPECT_GT(feature->GetValue(), 0) << keyword; // its default is one of its items
    }
    PPDXPopupControl* profile = popup(ppd, "*QVOutProfile");
    _PopupItem* first = profile->FirstItem();
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->Keyword(), "DEFAULT_MEDIA");
    EXPECT_STREQ(profile->NextItem()->Keyword(), "QVOutProfileDEF");
    EXPECT_STREQ(popup(ppd, "*QVSimSpeed")->GetDefaultKeyword(), "FAST");
    EXPECT_STREQ(popup(ppd, "*PageSize")->GetDefaultKeyword(), "Letter");
    EXPECT_EQ(popup(ppd, "*PageSize")->ItemCount(), 9u);

    PPDXBooleanControl* collate = dynamic_cast<PPDXBooleanControl*>(control(ppd, "*Collate"));
    ASSERT_NE(collate, nullptr);
    EXPECT_TRUE(collate->DefaultState());
    EXPECT_STREQ(collate->GetParent()->Keyword(), "TPFinish");

    PPDXRangeControl* shift = dynamic_cast<PPDXRangeControl*>(control(ppd, "*QVImageShiftX"));
    ASSERT_NE(shift, nullptr);
    EXPECT_EQ(shift->MinVal(), -36);
    EXPECT_EQ(shift->MaxVal(), 36);
    EXPECT_TRUE(shift->IsMacImgShift());
    PPDXRangeControl* copies = dynamic_cast<PPDXRangeControl*>(control(ppd, "*QVCopies"));
    ASSERT_NE(copies, nullptr);
    EXPECT_EQ(copies->MaxVal(), 999);
    EXPECT_EQ(copies->DefaultValue(), 1);

    PPDXControl* tray = control(ppd, "*OptionTray3");
    ASSERT_NE(tray, nullptr);
    EXPECT_STREQ(tray->GetParent()->Keyword(), "InstallableOptions");
    ppd->Release();
}

// That every example reads without errors is checked with its extension families.
TEST(ExamplePPDs, TranslationsInEveryEncoding) {
    QRVPPD* german = openExample("Tarvo-C5000-de.ppd");
    EXPECT_STREQ(popup(german, "*PageSize")->GetDefaultKeyword(), "A4");
    EXPECT_EQ(utf8(control(german, "*QVRGBOtherWtPt")->CFStringUserName()).find("Wei\u00DFpunkt") !=
                  std::string::npos,
              true);
    german->Release();

    QRVPPD* polish = openExample("Tarvo-C5000-pl.ppd");
    EXPECT_EQ(utf8(control(polish, "*InputSlot")->CFStringUserName()), "\u0179r\u00F3d\u0142o papieru");
    polish->Release();

    QRVPPD* japanese = openExample("Tarvo-C5000-ja.ppd");
    EXPECT_EQ(utf8(control(japanese, "*QVColorMode")->CFStringUserName()), "\u5370\u5237\u30E2\u30FC\u30C9");
    EXPECT_EQ(itemName(japanese, "*QVColorMode", "CMYK"), "\u6A19\u6E96\u30AB\u30E9\u30FC");
    japanese->Release();
}

// Display names reach menus as char* in the system encoding (UTF-8): every name of every page,
// group, control and popup item of the translated examples survives that form and back.
TEST(ExamplePPDs, EveryDisplayNameSurvivesTheSystemEncoding) {
    auto same = [](CFStringRef name, const char* bytes) {
        if (!name)
            return true;
        if (!bytes)
            return false;
        CFStringRef back =
            CFStringCreateWithCString(kCFAllocatorDefault, bytes, CFStringGetSystemEncoding());
        bool equal = back && CFStringCompare(back, name, 0) == kCFCompareEqualTo;
        if (back)
            CFRelease(back);
        return equal;
    };
    for (const char* file : {"Tarvo-C5000-ja.ppd", "Tarvo-C5000-pl.ppd", "Tarvo-C5000-de.ppd"}) {
        QRVPPD* ppd = openExample(file);
        ScopedDisplayOptions all(kShowAll);
        int names = 0, nonASCII = 0;
        auto check = [&](PPDXElement* e) {
            ++names;
            const char* bytes = e->UserName();
            EXPECT_TRUE(same(e->CFStringUserName(), bytes)) << file << " " << e->Keyword();
            for (const char* p = bytes; p && *p; ++p)
                if (static_cast<unsigned char>(*p) >= 0x80) {
                    ++nonASCII;
                    break;
                }
        };
        for (PPDXProperty* page = ppd->GetProperties()->First(); page;
             page = ppd->GetProperties()->Next())
            check(page);
        for (PPDXGroup* group = ppd->GetGroups()->First(); group; group = ppd->GetGroups()->Next())
            check(group);
        CNTL_TYPE type;
        PPDXControls* controls = ppd->GetControls();
        for (PPDXControl* c = controls->First(type); c; c = controls->Next(type)) {
            check(c);
            auto* p = dynamic_cast<PPDXPopupControl*>(c);
            for (_PopupItem* item = p ? p->FirstItem() : nullptr; item; item = p->NextItem()) {
                EXPECT_TRUE(same(p->GetKeywordCFLocalName(item->Keyword()),
                                 p->GetKeywordLocalName(item->Keyword())))
                    << file << " " << c->Keyword() << " " << item->Keyword();
            }
        }
        EXPECT_GT(names, 20) << file;
        EXPECT_GT(nonASCII, 5) << file; // the translations really are in their language
        ppd->Release();
    }
}

TEST(ExamplePPDs, M200) {
    QRVPPD* ppd = openExample("Tarvo-M200.ppd");
    EXPECT_STREQ(ppd->PCFileName(), "TRVM200.PPD");
    ScopedDisplayOptions all(kShowAll);
    EXPECT_EQ(ppd->GetGroups()->Count(), 6u);
    PPDXGroup* finish = ppd->GetGroups()->Find("TPFinish", true);
    ASSERT_NE(finish, nullptr);
    EXPECT_TRUE(finish->IsOrphan());
    EXPECT_EQ(dynamic_cast<PPDXRollDown*>(finish), nullptr);
    PPDXPopupControl* mode = popup(ppd, "*QVColorMode");
    ASSERT_NE(mode, nullptr);
    EXPECT_TRUE(mode->SetKeywordSelect("GRAY", true));
    EXPECT_FALSE(mode->IsKeywordSelected("CMYK"));
    EXPECT_STREQ(mode->GetParent()->Keyword(), "TPColor");
    ppd->Release();
}
