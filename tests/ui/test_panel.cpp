// The colour pane over the C5000's PPD, headless, driven by simulated input: its layout in the
// print dialog's pane, the print-mode buttons and commands, the pane's own colour controls, the
// clicks swallowed while the expert settings are off, and the fetch that 'QVFe' ends.
#include "PanelTestSupport.h"

#include "UI_ExpertColor.h"
#include "UI_IPAddressPanel.h"
#include "UI_PigmentorControls.h"

#include <CarbonCore/SysBeep.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Command(WindowRef window, UInt32 id) {
    HICommand command{};
    command.commandID = id;
    SendCommandToTarget(&command, GetWindowEventTarget(window));
}

void Click(WindowRef window, OSType signature, SInt32 id) {
    const ControlID cid{signature, id};
    HISimulateClick(window, &cid);
    HIProcessPendingEvents();
}

void Choose(WindowRef window, SInt32 id, MenuItemIndex item) {
    const ControlID cid{'Cntl', id};
    HISimulateChoosePopupItem(window, &cid, item);
    HIProcessPendingEvents();
}

} // namespace

TEST(PanelLayout, TheNibControlsLandInThePaneInAColumnWithTheTwoWayPanelBelow) {
    PanelHarness h;
    UI_Panel& panel = h.Build();
    ASSERT_TRUE(panel.Valid());
    // The print-mode box spans the pane 10 pixels in from each side, its Settings button 20
    // pixels inside its right edge, on the Expert Color row.
    const Rect box = Bounds(panel.getGroupBox());
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, PanelHarness::kPaneWidth - 10);
    EXPECT_EQ(TitleOf(panel.getGroupBox()), "Print Mode");
    const Rect button = Bounds(panel.getSettingsButton());
    EXPECT_EQ(button.right, box.right - 20);
    EXPECT_EQ(TitleOf(panel.getSettingsButton()), "Settings…");
    EXPECT_EQ(TitleOf(panel.getRadioButton(UI_Panel::kModeStandard)), "Standard Color");
    EXPECT_EQ(TitleOf(panel.getRadioButton(UI_Panel::kModeExpert)), "Expert Color");
    EXPECT_EQ(TitleOf(panel.getRadioButton(UI_Panel::kModeGrayscale)), "Grayscale");
    const Rect expert = Bounds(panel.getRadioButton(UI_Panel::kModeExpert));
    EXPECT_LT(expert.right, button.left);
    EXPECT_LE(std::abs((button.top + button.bottom) - (expert.top + expert.bottom)), 2);

    // The C5000's pane options: three popups (items 0 to 2), then four check boxes (3 to 6),
    // one row each, titled from the PPD; the popups' titles right-aligned from the two-way
    // panel's left edge, their menus and the check boxes in one column after them.
    const int column = 12 + 8 * int(std::strlen("Color Substitution: "));
    const struct {
        SInt32 id;
        const char* title;
    } options[] = {{103, "Brightness: "},          {104, "Image Smoothing: "},
                   {105, "Color Substitution: "},  {306, "Combine Separations"},
                   {307, "Black Detection"},       {308, "Composite Overprint"},
                   {309, "Auto Trapping"}};
    int lastBottom = box.bottom;
    for (const auto& option : options) {
        ControlRef c = h.Control('Cntl', option.id);
        ASSERT_NE(c, nullptr) << option.id;
        EXPECT_EQ(GetControlOwner(c), h.Window());
        EXPECT_EQ(TitleOf(c), option.title);
        const Rect r = Bounds(c);
        const int title = option.id < 300 ? 8 * int(std::strlen(option.title)) : 0;
        EXPECT_EQ(r.left + title, column) << option.id;
        EXPECT_EQ(r.right, 360) << option.id;
        EXPECT_GE(r.top, lastBottom + 6) << option.id;
        lastBottom = r.bottom;
    }
    // Controls of unused places went with the NIB window.
    EXPECT_EQ(h.Control('Cntl', 106), nullptr);
    EXPECT_EQ(h.Control('Cntl', 303), nullptr);
    // The two-way panel 10 pixels below the last option, as wide as the box; the progress
    // indicator under it; everything inside the pane.
    const Rect address = Bounds(h.Control('User', 101));
    EXPECT_EQ(address.top, lastBottom + 10);
    EXPECT_EQ(address.left, box.left);
    EXPECT_EQ(address.right, box.right);
    ASSERT_NE(panel.getIPAddressPanel(), nullptr);
    EXPECT_TRUE(panel.getIPAddressPanel()->isInitialized());
    EXPECT_EQ(Bounds(panel.getIPAddressPanel()->getCheckBox()).left, 12);
    const Rect arrows = Bounds(h.Control('arro', 0));
    EXPECT_GE(arrows.top, address.bottom);
    EXPECT_LE(arrows.bottom, PanelHarness::kPaneHeight);
}

TEST(PanelLayout, ANibWithoutThePaneWindowOrAControllerBuildsNothing) {
    PanelHarness h;
    EXPECT_FALSE(UI_Panel(nullptr, h.Pane(), &h.Data()).Valid());
    EXPECT_FALSE(UI_Panel(h.Nib(), nullptr, &h.Data()).Valid());
    EXPECT_FALSE(UI_Panel(h.Nib(), h.Pane(), nullptr).Valid());
    IBNibRef other = nullptr;
    const char kNib[] = "<nib version=\"1\"><window name=\"Other\" bounds=\"0 0 10 10\"/></nib>";
    ASSERT_EQ(HICreateNibReferenceFromBytes(kNib, sizeof kNib - 1, &other), noErr);
    UI_Panel panel(other, h.Pane(), &h.Data());
    EXPECT_FALSE(panel.Valid());
    EXPECT_EQ(panel.LastStatus(), kIBCarbonRuntimeCantFindObject);
    DisposeNibReference(other);

    // Without the bundle's texts the two-way panel cannot be made: what was moved into the
    // print dialog's pane goes again.
    CFBundleRef bundle = PDEBundle::GetBundle();
    CFRetain(bundle);
    PDEBundle::InitBundle(nullptr);
    {
        UI_Panel failed(h.Nib(), h.Pane(), &h.Data());
        EXPECT_FALSE(failed.Valid());
        UInt16 count = 99;
        CountSubControls(h.Pane(), &count);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(h.Control('Cntl', 103), nullptr);
    }
    PDEBundle::InitBundle(bundle);
    CFRelease(bundle);
}

TEST(PanelPrintMode, CommandsAndRadioHitsSetTheModeAndThePrintModeOption) {
    PanelHarness h;
    UI_Panel& panel = h.ShowAndWait();
    ASSERT_TRUE(panel.CanHandle());
    EXPECT_EQ(h.PrintModeValue(), UI_Panel::kModeStandard);
    // Expert colour prints through CMYK; Standard keeps what the option had.
    const struct {
        UInt32 command;
        SInt32 radio;
        int mode;
        const char* colorMode;
        const char* title; // of the stored mode, where checked
    } steps[] = {{'GryR', 0, UI_Panel::kModeGrayscale, "Grayscale", "Grayscale"},
                 {0, 302, UI_Panel::kModeExpert, "CMYK", "Expert Color"},
                 {0, 303, UI_Panel::kModeGrayscale, "Grayscale", nullptr},
                 {0, 301, UI_Panel::kModeStandard, "CMYK", nullptr},
                 {'ExpR', 0, UI_Panel::kModeExpert, "CMYK", nullptr},
                 {'StdR', 0, UI_Panel::kModeStandard, "CMYK", nullptr}};
    for (const auto& step : steps) {
        step.command ? Command(h.Window(), step.command) : Click(h.Window(), 'sRd1', step.radio);
        EXPECT_EQ(h.PrintModeValue(), step.mode) << step.radio;
        EXPECT_EQ(h.PopupKeyword("*QVColorMode"), step.colorMode) << step.radio;
        for (int mode : {UI_Panel::kModeStandard, UI_Panel::kModeExpert, UI_Panel::kModeGrayscale})
            EXPECT_EQ(GetControl32BitValue(panel.getRadioButton(mode)), mode == step.mode) << step.radio;
        if (step.title) {
            EXPECT_EQ(UTF8(h.Data().GetColorModeValueTitle()), step.title);
        }
    }
    // A command of no meaning here is left to others.
    EXPECT_EQ(panel.SetColorModeRadioButtons(4), eventNotHandledErr);
    HICommand other{};
    other.commandID = 'zzzz';
    EXPECT_EQ(UI_Panel::ProcessCommandEvent(other, &panel), eventNotHandledErr);
}

TEST(PanelPrintMode, GrayscaleTurnsCompositeOverprintOffAndLocksItStandardFreesIt) {
    PanelHarness h;
    h.ShowAndWait();
    ControlRef overprint = h.Control('Cntl', 308);
    ASSERT_NE(overprint, nullptr);
    Click(h.Window(), 'Cntl', 308);
    ASSERT_TRUE(h.BooleanOn("*QVCompOverprint"));
    ASSERT_EQ(GetControl32BitValue(overprint), 1);

    Click(h.Window(), 'sRd1', 303);
    EXPECT_FALSE(h.BooleanOn("*QVCompOverprint")); // its first value
    EXPECT_EQ(GetControl32BitValue(overprint), 0);
    EXPECT_FALSE(IsControlEnabled(overprint));
    Click(h.Window(), 'Cntl', 308); // a disabled box ignores the click
    EXPECT_FALSE(h.BooleanOn("*QVCompOverprint"));

    Click(h.Window(), 'sRd1', 301);
    EXPECT_TRUE(IsControlEnabled(overprint));
    Click(h.Window(), 'Cntl', 308);
    EXPECT_TRUE(h.BooleanOn("*QVCompOverprint"));
    // Expert Color leaves it free too.
    Click(h.Window(), 'sRd1', 302);
    EXPECT_TRUE(IsControlEnabled(overprint));
    EXPECT_TRUE(h.BooleanOn("*QVCompOverprint"));
}

TEST(PanelPrintMode, TheStoredModeOrTheCurrentOptionSelectsTheButtonAtSetUp) {
    {
        PanelHarness h;
        h.Data().SetColorModeValue(CFSTR("Expert Color"), UI_Panel::kModeExpert);
        UI_Panel& panel = h.Build();
        EXPECT_EQ(GetControl32BitValue(panel.getRadioButton(UI_Panel::kModeExpert)), 1);
        EXPECT_EQ(GetControl32BitValue(panel.getRadioButton(UI_Panel::kModeStandard)), 0);
        EXPECT_EQ(h.PrintModeValue(), UI_Panel::kModeExpert);
    }
    {
        // Nothing stored: the option's display text ("Standard Color") is no print-mode
        // keyword, so the default mode, Standard, is taken.
        PanelHarness h;
        ASSERT_EQ(h.PrintModeValue(), -1);
        UI_Panel& panel = h.Build();
        EXPECT_EQ(GetControl32BitValue(panel.getRadioButton(UI_Panel::kModeStandard)), 1);
        EXPECT_EQ(h.PrintModeValue(), UI_Panel::kModeStandard);
    }
}

TEST(PanelEvents, PaneControlsChangeTheModelAndTrappingLocksCombinedSeparations) {
    PanelHarness h;
    h.ShowAndWait();
    Choose(h.Window(), 103, 1); // through the popup's command
    EXPECT_EQ(h.PopupKeyword("*QVBrightness"), "85");
    Choose(h.Window(), 105, 3);
    EXPECT_EQ(h.PopupKeyword("*QVSubstColors"), "ON");
    Click(h.Window(), 'Cntl', 306); // through the box's command
    EXPECT_TRUE(h.BooleanOn("*QVSeparations"));
    Click(h.Window(), 'Cntl', 307); // through the hit itself
    EXPECT_TRUE(h.BooleanOn("*QVHPBlack"));

    ControlRef separations = h.Control('Cntl', 306);
    Click(h.Window(), 'Cntl', 309);
    EXPECT_TRUE(h.BooleanOn("*QVTrapping"));
    EXPECT_FALSE(h.BooleanOn("*QVSeparations"));
    EXPECT_EQ(GetControl32BitValue(separations), 0);
    EXPECT_FALSE(IsControlEnabled(separations));
    Click(h.Window(), 'Cntl', 309);
    EXPECT_FALSE(h.BooleanOn("*QVTrapping"));
    EXPECT_TRUE(IsControlEnabled(separations));
}

TEST(PanelEvents, AClickWhileTheExpertSettingsAreOffBeepsAndIsSwallowed) {
    PanelHarness h;
    UI_Panel& panel = h.ShowAndWait();
    panel.EnableExpertSettings(false);
    EXPECT_FALSE(IsControlEnabled(panel.getSettingsButton()));
    const UInt32 beeps = GetSysBeepCount();
    Click(h.Window(), 'Cntl', 306);
    EXPECT_EQ(GetSysBeepCount(), beeps + 1);
    EXPECT_EQ(GetControl32BitValue(h.Control('Cntl', 306)), 0);
    EXPECT_FALSE(h.BooleanOn("*QVSeparations"));
    Choose(h.Window(), 103, 1);
    EXPECT_EQ(GetSysBeepCount(), beeps + 2);
    EXPECT_EQ(h.PopupKeyword("*QVBrightness"), "100");
    Click(h.Window(), 'sRd1', 303); // the print mode waits for the list too
    EXPECT_EQ(GetSysBeepCount(), beeps + 3);
    EXPECT_EQ(h.PrintModeValue(), UI_Panel::kModeStandard);

    panel.EnableExpertSettings(true);
    Click(h.Window(), 'Cntl', 306);
    EXPECT_EQ(GetSysBeepCount(), beeps + 3);
    EXPECT_TRUE(h.BooleanOn("*QVSeparations"));
}

// The Settings button opens the expert dialog as a sheet, in Expert mode. A new fetch closes
// that window at once (its controls point at the items being replaced), turns the settings off
// and lets go of the list until 'QVFe' brings the new one to the dialog.
TEST(PanelFetch, ANewFetchClosesTheDialogUntilFeaturesDoneBringsTheNewList) {
    PanelHarness h;
    UI_Panel& panel = h.ShowAndWait();
    ASSERT_TRUE(panel.CanHandle());
    auto dialogHasTheList = [&] {
        auto* list = static_cast<PigmentorItemList*>(h.Data().GetExpertColorFeaturesList());
        return list != nullptr && panel.getExpertColorDialog()->getItemList() == list;
    };
    EXPECT_TRUE(dialogHasTheList());
    const UInt32 beeps = GetSysBeepCount();
    Click(h.Window(), 'Cntl', 108);
    EXPECT_EQ(GetSysBeepCount(), beeps);
    EXPECT_EQ(h.PrintModeValue(), UI_Panel::kModeExpert);
    EXPECT_EQ(GetControl32BitValue(panel.getRadioButton(UI_Panel::kModeExpert)), 1);
    WindowRef dialog = FrontWindow();
    ASSERT_NE(dialog, nullptr);
    WindowRef parent = nullptr;
    EXPECT_EQ(GetSheetWindowParent(dialog, &parent), noErr);
    EXPECT_EQ(parent, h.Window());

    panel.SettingsChanged();
    EXPECT_FALSE(IsValidWindowPtr(dialog));
    EXPECT_FALSE(panel.CanHandle());
    EXPECT_FALSE(IsControlEnabled(panel.getSettingsButton()));
    EXPECT_EQ(panel.getExpertColorDialog()->getItemList(), nullptr);
    EXPECT_NE(panel.getProgressHandler(), nullptr);
    Command(h.Window(), 'EClr');
    EXPECT_EQ(GetSysBeepCount(), beeps + 1);
    ASSERT_TRUE(RunUntil([&] { return panel.CanHandle(); }));
    EXPECT_EQ(panel.getProgressHandler(), nullptr);
    EXPECT_TRUE(IsControlEnabled(panel.getSettingsButton()));
    EXPECT_TRUE(dialogHasTheList());
    Command(h.Window(), 'EClr');
    EXPECT_EQ(GetSysBeepCount(), beeps + 1);
    ASSERT_NE(FrontWindow(), nullptr);
    EXPECT_EQ(GetSheetWindowParent(FrontWindow(), &parent), noErr);
}

TEST(PanelFetch, ResetUIBindsTheControlsToANewControllerAndKeepsTheModelsMode) {
    PanelHarness h;
    UI_Panel& panel = h.ShowAndWait();
    Click(h.Window(), 'sRd1', 303);
    ASSERT_EQ(h.PopupKeyword("*QVColorMode"), "Grayscale");

    // A loading sync: a new controller without a stored mode over the same model. The model's
    // current print-mode text ("Grayscale") names the grayscale keyword, so Grayscale is kept,
    // with Composite Overprint locked on the new items.
    PigmentorData& fresh = h.NewData();
    ASSERT_EQ(panel.ResetUI(&fresh), 0);
    EXPECT_FALSE(panel.CanHandle()); // a fetch for the new controller
    ASSERT_TRUE(RunUntil([&] { return panel.CanHandle() && panel.getProgressHandler() == nullptr; }));
    int mode = 0;
    fresh.GetColorModeValue(mode);
    EXPECT_EQ(mode, UI_Panel::kModeGrayscale);
    EXPECT_EQ(GetControl32BitValue(panel.getRadioButton(UI_Panel::kModeGrayscale)), 1);
    EXPECT_FALSE(IsControlEnabled(h.Control('Cntl', 308)));
    EXPECT_EQ(panel.getPigmentorUIPane()->getItemList(), fresh.GetPigmentorPaneItemList());
    Click(h.Window(), 'Cntl', 306);
    EXPECT_TRUE(h.BooleanOn("*QVSeparations"));
    EXPECT_EQ(panel.getExpertColorDialog()->getItemList(),
              static_cast<PigmentorItemList*>(fresh.GetExpertColorFeaturesList()));
    ASSERT_NE(panel.getIPAddressPanel(), nullptr);
    EXPECT_TRUE(panel.getIPAddressPanel()->isInitialized());
}
