// Shortcuts (bound to controls when the parse ends, reached by name or walk, also through the
// flat functions) and special options (hidden name-value controls).
#include "ControlTestSupport.h"
#include "ParseTestSupport.h"

#include "KeywordTo_PPDControl.h"
#include "PPDXGroups.h"
#include "PPDXPopupControl.h"
#include "PPDXShortcutFunctions.h"
#include "PPDXShortcuts.h"
#include "PPDXSpecialOption.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Codes = std::vector<int>;

std::vector<std::string> walk(PPDXShortcuts* shortcuts) {
    std::vector<std::string> keywords;
    for (PPDXPopupControl* p = FirstShortcut(shortcuts); p; p = NextShortcut(shortcuts))
        keywords.push_back(p->Keyword());
    return keywords;
}

} // namespace

TEST(Shortcuts, BoundInLineOrderWhereverTheirBlocksStand) {
    QRVPPD* ppd = parsePPD("*%QVShortcut *QVDuplex\n" // before its block
                           "*%QVShortcut *Collate\n"  // a boolean: counted, never returned
                           "*%QVShortcut\n" +         // no keyword: nothing
                           ppdLayout() +
                           popupBlock("*PageSize") + popupBlock("*QVDuplex") +
                           popupBlock("*QV_PAPER_ORIENTATION") + popupBlock("*InputSlot") +
                           booleanBlock("*Collate") +
                           "*%QVShortcut *PageSize\n"
                           "*%QVShortcut *QVDuplex\n"); // twice: the control twice
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXShortcuts* shortcuts = ppd->GetShortcuts();
    ASSERT_NE(shortcuts, nullptr);
    EXPECT_EQ(GetShortcutCount(shortcuts), 4u);
    EXPECT_FALSE(IsShortcutsListEmpty(shortcuts));
    EXPECT_EQ(walk(shortcuts), (std::vector<std::string>{"*QVDuplex", "*PageSize", "*QVDuplex"}));
    EXPECT_EQ(NextShortcut(shortcuts), nullptr); // stays at the end

    EXPECT_EQ(GetPageSizeShortcut(shortcuts), control(ppd, "*PageSize"));
    EXPECT_EQ(GetDuplexShortcut(shortcuts), control(ppd, "*QVDuplex"));
    // Only controls named by shortcut lines are found, whatever the model holds.
    EXPECT_EQ(GetInputSlotShortcut(shortcuts), nullptr);
    EXPECT_EQ(GetOrientationShortcut(shortcuts), nullptr);
    EXPECT_EQ(GetMediaSourceShortcut(shortcuts), nullptr);
    EXPECT_EQ(GetPigmentorShortcut(shortcuts), nullptr);
    EXPECT_EQ(FindShortcut(shortcuts, "Page", false), control(ppd, "*PageSize"));
    EXPECT_EQ(FindShortcut(shortcuts, "Page", true), nullptr);
    EXPECT_EQ(FindShortcut(shortcuts, "*Collate", true), nullptr);
    EXPECT_EQ(FindShortcut(shortcuts, nullptr, true), nullptr);
    ppd->Release();

    QRVPPD* all =
        parsePPD(ppdLayout() + popupBlock("*QV_PAPER_ORIENTATION") + popupBlock("*InputSlot") +
                 "*%QVShortcut *QV_PAPER_ORIENTATION\n"
                 "*%QVShortcut *InputSlot\n");
    EXPECT_EQ(GetOrientationShortcut(all->GetShortcuts()), control(all, "*QV_PAPER_ORIENTATION"));
    EXPECT_EQ(GetInputSlotShortcut(all->GetShortcuts()), control(all, "*InputSlot"));
    all->Release();
}

TEST(Shortcuts, ReservedAndUnboundKeywordsRecordError19) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() +
                           "*%QVShortcut *Nowhere\n"           // 19 when the parse ends
                           "*%QVShortcut *QV_PROP_COLORMODE\n" // 19 at once: reserved
                           "*%QVShortcut *QVColorMode\n");
    EXPECT_EQ(errorCodes(ppd), (Codes{19, 19}));
    EXPECT_STREQ(ppd->GetErrors()->First()->Keyword(), "*QV_PROP_COLORMODE");
    EXPECT_STREQ(ppd->GetErrors()->Next()->Keyword(), "*Nowhere");
    EXPECT_FALSE(findError(ppd, 19)->IsFatal());
    EXPECT_EQ(GetShortcutCount(ppd->GetShortcuts()), 1u);
    EXPECT_EQ(FirstShortcut(ppd->GetShortcuts()), control(ppd, "*QVColorMode"));
    ppd->Release();

    // Bound among the controls the display options show: an orphan under options 0 is not.
    std::string orphan = "*%QRVFlags *Orphan: Setup\n"
                         "*OpenUI *Orphan/O: PickOne\n*DefaultOrphan: A\n"
                         "*Orphan A/A: \"a\"\n*CloseUI: *Orphan\n"
                         "*%QVShortcut *Orphan\n";
    QRVPPD* hidden = parsePPD(ppdLayout() + popupBlock() + orphan);
    EXPECT_EQ(errorCodes(hidden), (Codes{29, 19}));
    EXPECT_TRUE(IsShortcutsListEmpty(hidden->GetShortcuts()));
    hidden->Release();
    ScopedDisplayOptions everything(kShowAll);
    QRVPPD* shown = parsePPD(ppdLayout() + popupBlock() + orphan);
    EXPECT_EQ(errorCodes(shown), Codes{29});
    EXPECT_EQ(FirstShortcut(shown->GetShortcuts()), control(shown, "*Orphan"));
    shown->Release();
}

TEST(Shortcuts, ListWithoutPopups) {
    // Null entries and other controls are counted and skipped.
    PlainControl plain("*PageSize", Flags({}));
    PointerList controls;
    controls.PushBack(nullptr);
    controls.PushBack(&plain);
    PPDXShortcuts list(controls);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_FALSE(list.Empty());
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.PageSize(), nullptr);

    // A model that was never parsed has no list yet.
    QRVPPD unparsed(kShowAll);
    EXPECT_EQ(unparsed.GetShortcuts(), nullptr);
}

TEST(SpecialOptions, HiddenOrphanNameValueControls) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() +
                           "*%QRVSpecialOption *DeviceLink: True\n"
                           "*%QRVSpecialOption *QVColorServer:  Tovrane CS-50 \n"
                           "*%QRVSpecialOption *NoValue:\n" // dropped
                           "*%QRVSpecialOption :Value\n"    // dropped
                           "*%QRVSpecialOption\n");         // dropped
    EXPECT_EQ(errorCodes(ppd), Codes{}); // no orphan error although orphans are parsed
    PPDXControls* controls = ppd->GetControls();
    EXPECT_EQ(controls->SpecialOptionsCount(), 2u);
    PPDXSpecialOption* server = controls->FindSpecialOption("*QVColorServer", true);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(controls->FirstSpecialOption(), controls->FindSpecialOption("*DeviceLink", true));
    EXPECT_EQ(server->Type(), kSpecialOptionType);
    EXPECT_STREQ(*server->GetValue(), "Tovrane CS-50");
    EXPECT_STREQ(server->UserName(), "*QVColorServer");
    EXPECT_FALSE(server->IsVisible());
    EXPECT_TRUE(server->IsOrphan());
    EXPECT_EQ(server->ControlFlagCount(), 0u);
    EXPECT_EQ(ppd->GetKeywordIndex()->Lookup("*QVColorServer"), nullptr);
    EXPECT_EQ(WrittenPostScript(*server), "");

    EXPECT_EQ(Take(server->GetCurrentControlValueString()), "Tovrane CS-50");
    server->SetCurrentControlWithCFString(CFSTR("changed"));
    EXPECT_STREQ(*server->GetValue(), "Tovrane CS-50");
    server->ResetToDefaultValue();
    EXPECT_STREQ(*server->GetValue(), "");
    EXPECT_EQ(Take(server->GetCurrentControlValueString()), "");

    CNTL_TYPE type;
    for (_DISPLAY_OPTIONS_ options : {0u, 1u, 2u}) {
        ScopedDisplayOptions scoped(options);
        EXPECT_EQ(controls->Find("*DeviceLink", type, true), nullptr) << options;
    }
    ScopedDisplayOptions all(kShowAll);
    EXPECT_NE(controls->Find("*DeviceLink", type, true), nullptr);
    EXPECT_EQ(type, kSpecialOptionType);
    ppd->Release();
}

TEST(SpecialOptions, InsideInstallableOptionsTheyJoinItsRollDown) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() +
                               "*OpenGroup: InstallableOptions/Options Installed\n"
                               "*%QRVSpecialOption *Tray3: Installed\n"
                               "*CloseGroup: InstallableOptions\n",
                           0);
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXControl* tray = control(ppd, "*Tray3");
    ASSERT_NE(tray, nullptr);
    ASSERT_NE(tray->GetParent(), nullptr);
    EXPECT_STREQ(tray->GetParent()->Keyword(), "InstallableOptions");
    ppd->Release();
}
