// The expert colour dialog over the example PPD's expert items (PPD mode), driven by simulated
// input on the headless toolbox: the window it loads and the errors when it cannot, popup
// titles, OK and Cancel with the custom RGB dialog, media-defined profiles, print gray as
// black, the rendering-style check box, special constraints and the diagram's segments.
#include "ExpertTestSupport.h"

#include "PPDXPopupControl.h"
#include "PigmentorPaneItemList.h"
#include "UI_CustomRGBDialog.h"

#include <HIToolbox/HIDump.h>
#include <CarbonCore/SysBeep.h>

#include <nlohmann/json.hpp>
#include <gtest/gtest.h>


using namespace colourtest;
using namespace experttest;

namespace {

class ExpertDialog : public ::testing::Test, protected ExpertDialogParts {
protected:
    void Open(const std::string& ppd = ExampleText(), WindowRef parent = nullptr) {
        mModel = std::make_unique<Model>(ppd, "");
        ASSERT_NE(mModel->get(), nullptr);
        mList = std::make_unique<PigmentorPPDItemList>(mModel->get(), true, nullptr);
        ASSERT_TRUE(mList->isValid());
        mDialog = std::make_unique<UI_ExpertColor>(mList.get(), parent ? parent : mParent.w);
        mPerson = std::make_unique<Person>(*mDialog);
    }
    void Show() {
        mDialog->show();
        ASSERT_NE(window(), nullptr);
        ASSERT_TRUE(IsWindowVisible(window()));
    }
    /// Every expert item's value keyword, by index.
    std::map<int, std::string> Values() {
        std::map<int, std::string> values;
        for (int n = 1; n <= 18; ++n)
            if (PigmentorItem* i = item(n))
                values[n] = ValueKeyword(i);
        return values;
    }
    void TearDown() override {
        Release();
    }
};

/// A colour item with a fixed display name, for title tests.
class NamedItem : public PigmentorItem {
public:
    explicit NamedItem(const char* name) : mName(name) {}
    long getValue() override { return 1; }
    long getDefaultValue() override { return 1; }
    void setDefaultValue() override {}
    const char* getFeatureDisplayName() override { return mName; }
    const char* getFeatureKeyword() override { return "*QVTest"; }
    void setValue(unsigned long) override {}
    int getFeaturePostScript(unsigned char*, int) override { return 0; }
    const char* getFirstItem() override { return nullptr; }
    const char* getNextItem() override { return nullptr; }
    PPDXControl* getPPDXControl() override { return nullptr; }
    const char* getFirstKeyword(char*, char*) override { return nullptr; }
    const char* getNextKeyword(char*, char*) override { return nullptr; }
    long itemCount() override { return 0; }

private:
    const char* mName;
};

} // namespace

// The window comes from the NIB "Pigmentor": "PigmentorUICTP" when the PPD's special option
// "*Pigmentor" is "CTP", else "PigmentorUI"; each failure has its code.
TEST_F(ExpertDialog, LoadsTheWindowThePPDAsksForOrSaysWhyNot) {
    Open(Replace(ExampleText(), "*%QRVSpecialOption *DeviceLink: True\n",
                 "*%QRVSpecialOption *DeviceLink: True\n*%QRVSpecialOption *Pigmentor: CTP\n"));
    EXPECT_STREQ(mDialog->windowName(), "PigmentorUICTP");
    EXPECT_EQ(mDialog->getError(), 0u);
    Show();
    EXPECT_TRUE(Visible(control(1)));

    Open(Replace(ExampleText(), "*%QRVSpecialOption *DeviceLink: True\n",
                 "*%QRVSpecialOption *DeviceLink: True\n*%QRVSpecialOption *Pigmentor: CTPX\n"));
    EXPECT_STREQ(mDialog->windowName(), "PigmentorUI");

    // No parent window: 8; a pane list is no expert list: 15.
    UI_ExpertColor orphan(mList.get(), nullptr);
    EXPECT_EQ(orphan.initializeUI(), 8u);
    EXPECT_EQ(orphan.getWindow(), nullptr);
    PigmentorPaneItemList pane(mModel->get());
    EXPECT_EQ(mDialog->setExpertColorItemsList(&pane), 15u);
    EXPECT_EQ(mDialog->getItemList(), mList.get());

    // A dialog that cannot be built beeps when shown.
    const UInt32 beeps = GetSysBeepCount();
    orphan.show();
    EXPECT_EQ(GetSysBeepCount(), beeps + 1);
    EXPECT_EQ(FrontWindow(), nullptr);
}

TEST(ExpertDialogBundle, NoBundleIsCode1AndNoNIBCode7) {
    Model model(ExampleText(), "");
    PigmentorPPDItemList list(model.get(), true, nullptr);
    ParentWindow parent;
    {
        UI_ExpertColor dialog(&list, parent.w);
        EXPECT_EQ(dialog.initializeUI(), 1u);
    }
    Scratch scratch;
    BundleScope bundle("en", BundleWithout(scratch, "Pigmentor.nib"));
    UI_ExpertColor dialog(&list, parent.w);
    EXPECT_EQ(dialog.initializeUI(), 7u);
    EXPECT_EQ(dialog.getWindow(), nullptr);
}

// Outside two-way mode there is no Update button; feature controls are the 'PGSE' ones, each
// titled with its item's name and one colon, the menu filled with the item's values.
TEST_F(ExpertDialog, ShowsEveryItemWithItsTitleAndValues) {
    Open();
    Show();
    EXPECT_FALSE(mDialog->isTwoWay());
    EXPECT_FALSE(Visible(find('upda', 0)));
    EXPECT_TRUE(Visible(find('defs', 0)));
    EXPECT_EQ(TitleOf(find('PGSE', 101)), "RGB Source:");
    EXPECT_EQ(TitleOf(find('PGSE', 503)), "Spot");
    EXPECT_EQ(TitleOf(find('ok  ', 0)), "OK");
    MenuRef menu = GetControlPopupMenuRef(control(3));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(CountMenuItems(menu), item(3)->itemCount());
    EXPECT_EQ(GetControl32BitMaximum(control(3)), item(3)->itemCount());
    for (int n : {1, 2, 3, 5, 6, 7, 8, 9, 10, 12, 13, 17, 18}) {
        EXPECT_TRUE(Visible(control(n))) << n;
        EXPECT_EQ(GetControl32BitValue(control(n)), item(n)->getValue()) << n;
        EXPECT_EQ(GetControlReference(control(n)), item(n)) << n;
    }
}

TEST_F(ExpertDialog, PopupTitlesGetExactlyOneColon) {
    Open();
    Show();
    ControlRef title = find('PGSE', 101);
    NamedItem withColon("Gamma:"), without("Gamma"), empty("");
    mDialog->setPigmentorControlTitle(title, &withColon, true);
    EXPECT_EQ(TitleOf(title), "Gamma:");
    mDialog->setPigmentorControlTitle(title, &without, true);
    EXPECT_EQ(TitleOf(title), "Gamma:");
    mDialog->setPigmentorControlTitle(title, &without, false);
    EXPECT_EQ(TitleOf(title), "Gamma");
    mDialog->setPigmentorControlTitle(title, &empty, true);
    EXPECT_EQ(TitleOf(title), ":");
}

// Cancel after changes puts every item back, the custom RGB values included, and closes the
// window (OK keeping them: PendingCustomItemGoesBackOnCancelOnly, ShowModalRunsUntilOK).
TEST_F(ExpertDialog, CancelRestoresEveryItem) {
    Open();
    Show();
    const auto before = Values();
    mPerson->chooseKeyword(1, "OTHER");
    mPerson->chooseKeyword(3, "EUROSCALE");
    mPerson->chooseKeyword(5, "SEPSIM");
    mPerson->chooseKeyword(7, "OFF");
    mPerson->chooseKeyword(8, "BLACKRICHON");
    mPerson->chooseKeyword(13, "PROOFCOATED");
    // The custom RGB dialog, opened by its button, takes a gamma of 1.8 with OK.
    FrontWindowPerson later;
    mPerson->click('cust', 0, false);
    later.act([&](WindowRef front) {
        ASSERT_NE(front, window());
        const ControlID gamma{'RGBs', 201};
        ControlRef popup = nullptr;
        ASSERT_EQ(GetControlByID(front, &gamma, &popup), noErr);
        HIPerformChoosePopupItem(popup, static_cast<MenuItemIndex>(item(14)->getValueByKeyword("1.8")));
    });
    later.act([&](WindowRef front) { HISimulatePressButton(front, kHICommandOK); });
    HIProcessPendingEvents();
    EXPECT_EQ(ValueKeyword(item(14)), "1.8");
    EXPECT_TRUE(mDialog->isChanged());
    EXPECT_NE(Values(), before);

    mPerson->press(kHICommandCancel);
    EXPECT_EQ(Values(), before);
    EXPECT_EQ(window(), nullptr);
}

// The custom RGB dialog edits gamma and white point live; Cancel puts back what they were when
// it opened and leaves the expert dialog unchanged; a list without a white point leaves those
// controls unbound while gamma works.
TEST_F(ExpertDialog, CustomRGBDialogCancelsItsOwnEdits) {
    Open(WithoutBlock(ExampleText(), "*QVRGBOtherWtPt"));
    Show();
    mPerson->chooseKeyword(1, "OTHER");
    ASSERT_TRUE(Visible(find('cust', 0)));
    EXPECT_EQ(item(15), nullptr);
    mDialog->setChanged(false);
    FrontWindowPerson later;
    std::string seenGamma;
    bool whitePointShown = true;
    mPerson->click('cust', 0, false);
    later.act([&](WindowRef front) {
        ControlRef gamma = Find(front, 'RGBs', 201);
        ASSERT_NE(gamma, nullptr);
        EXPECT_EQ(GetControlReference(gamma), item(14));
        EXPECT_EQ(GetControlReference(Find(front, 'RGBs', 202)), nullptr);
        whitePointShown = Visible(Find(front, 'RGBs', 202));
        HIPerformChoosePopupItem(gamma, static_cast<MenuItemIndex>(item(14)->getValueByKeyword("1.0")));
        seenGamma = ValueKeyword(item(14));
    });
    later.act([&](WindowRef front) { HISimulatePressButton(front, kHICommandCancel); });
    HIProcessPendingEvents();
    EXPECT_EQ(seenGamma, "1.0");
    EXPECT_FALSE(whitePointShown);
    EXPECT_EQ(ValueKeyword(item(14)), "2.2");
    ASSERT_NE(mDialog->getCustomRGBDialog(), nullptr);
    EXPECT_EQ(mDialog->getCustomRGBDialog()->getResult(), 0);
    EXPECT_FALSE(mDialog->isChanged());
}

// The PPD's output profile offers "DEFAULT_MEDIA" and "QVOutProfileDEF": those two become the
// first two radio buttons and the popup shows the rest (popup index = value - 2).
TEST_F(ExpertDialog, MediaDefinedProfilesOutsideTwoWayMode) {
    Open();
    Show();
    ControlRef group = find('mdpr', 100);
    ControlRef out = control(4);
    ASSERT_TRUE(Visible(group));
    EXPECT_TRUE(mDialog->mediaDefinedProfilesAdded());
    EXPECT_EQ(CountMenuItems(GetControlPopupMenuRef(out)), item(4)->itemCount() - 2);
    EXPECT_EQ(Bounds(mDialog->titleControl(4)).top, Bounds(group).top - 18);
    // The default, the server's, is radio button 2 with the popup disabled.
    EXPECT_EQ(ValueKeyword(item(4)), "QVOutProfileDEF");
    EXPECT_EQ(GetControl32BitValue(group), 2);
    EXPECT_FALSE(Enabled(out));

    mPerson->clickRadio('mdpr', 100, 3);
    EXPECT_TRUE(Enabled(out));
    EXPECT_EQ(item(4)->getValue(), GetControl32BitValue(out) + 2);
    mPerson->choose(4, 2);
    EXPECT_EQ(item(4)->getValue(), 4);
    EXPECT_EQ(ValueKeyword(item(4)), "TRVC5COATED");
    mPerson->clickRadio('mdpr', 100, 1);
    EXPECT_EQ(ValueKeyword(item(4)), "DEFAULT_MEDIA");
    EXPECT_FALSE(Enabled(out));

    // Defaults puts every item to its default, keeps the dialog open and does not take two more
    // items away.
    mPerson->chooseKeyword(2, "PHOTOGRAPHIC");
    mPerson->press('rvrt');
    ASSERT_NE(window(), nullptr);
    for (int n = 1; n <= 18; ++n) {
        if (PigmentorItem* i = item(n)) {
            EXPECT_EQ(i->getValue(), i->getDefaultValue()) << n;
        }
    }
    EXPECT_EQ(GetControl32BitValue(control(2)), item(2)->getDefaultValue());
    EXPECT_EQ(CountMenuItems(GetControlPopupMenuRef(out)), item(4)->itemCount() - 2);
    EXPECT_EQ(GetControl32BitValue(group), 2);
    // A value of 3 or more shows in the popup, two places up, when the dialog opens.
    mPerson->press(kHICommandCancel);
    item(4)->setValue(5);
    Show();
    EXPECT_EQ(GetControl32BitValue(find('mdpr', 100)), 3);
    EXPECT_EQ(GetControl32BitValue(control(4)), 3);
    EXPECT_TRUE(Enabled(control(4)));
}

TEST_F(ExpertDialog, WithoutMediaProfilesTheGroupIsHiddenAndThePopupWhole) {
    Open(Replace(ExampleText(), "*QVOutProfile QVOutProfileDEF/", "*QVOutProfile QVOutProfileSRV/"));
    Show();
    EXPECT_FALSE(Visible(find('mdpr', 100)));
    EXPECT_FALSE(mDialog->mediaDefinedProfilesAdded());
    EXPECT_EQ(CountMenuItems(GetControlPopupMenuRef(control(4))), item(4)->itemCount());
    mPerson->choose(4, 2);
    EXPECT_EQ(item(4)->getValue(), 2);
    EXPECT_GT(Bounds(control(4)).top, Bounds(mDialog->titleControl(4)).bottom - 1);
}

// Print gray as black shows only the features the PPD has.
TEST_F(ExpertDialog, PrintGrayAsBlackOnlyWhenThePPDHasIt) {
    Open(WithoutBlock(ExampleText(), "*QVKOnlyGrayRGB"));
    Show();
    EXPECT_FALSE(Visible(find('PGSE', 217)));
    EXPECT_FALSE(Visible(find('PGSE', 117)));
    EXPECT_TRUE(Visible(find('PGSE', 218)));
    EXPECT_TRUE(Visible(find('PGSE', 118)));
}

// A two-value paper simulation with "ABSOLUTE" is a check box (the alternative control takes
// the id 211); without the feature its title and control are hidden.
TEST_F(ExpertDialog, PaperSimulationBecomesACheckBox) {
    Open();
    Show();
    ControlRef box = find('PGSE', 211);
    ControlKind kind{0, 0};
    GetControlKind(box, &kind);
    EXPECT_EQ(kind.kind, kControlKindCheckBox);
    EXPECT_EQ(find('PGSE', 2111), nullptr);
    ControlRef gone = find('bye1', 0);
    ASSERT_NE(gone, nullptr);
    EXPECT_FALSE(Visible(gone));
    EXPECT_TRUE(Visible(box));
    mPerson->chooseKeyword(6, "S4X4"); // "Quick" leaves no paper simulation to switch
    mPerson->click('PGSE', 211);
    EXPECT_EQ(ValueKeyword(item(11)), "ABSOLUTE");
    mPerson->click('PGSE', 211);
    EXPECT_EQ(ValueKeyword(item(11)), "RELATIVE");

    Open(WithoutBlock(ExampleText(), "*QVPaperSim"));
    Show();
    EXPECT_FALSE(Visible(find('PGSE', 211)));
    EXPECT_FALSE(Visible(find('PGSE', 111)));
    EXPECT_FALSE(Visible(find('PGSE', 2111)));
}

// With combined separations on, black overprint control is at its default and locked, and
// spot colour matching offers only its default and "On".
TEST_F(ExpertDialog, SeparationsOnLockTheOverprintControl) {
    Open(Replace(ExampleText(), "*DefaultQVSeparations: False", "*DefaultQVSeparations: True"));
    item(12)->setValue(3);
    Show();
    EXPECT_EQ(item(12)->getValue(), item(12)->getDefaultValue());
    EXPECT_EQ(EnabledItems(control(12)), std::vector<int>{static_cast<int>(item(12)->getDefaultValue())});
    const std::vector<int> spot = EnabledItems(control(7));
    EXPECT_EQ(spot.size(), 1u); // the default is "ON" itself
    EXPECT_EQ(spot.front(), item(7)->getValueByKeyword("ON"));
    EXPECT_FALSE(mDialog->blackOverprintOn());
}

// The diagram: each arrow leaves its feature 4 pixels to its right; segments are drawn solid,
// dimmed (grey) or not at all as the features flow.
TEST_F(ExpertDialog, DiagramSegmentsFollowTheFlow) {
    Open();
    Show();
    EXPECT_EQ(Bounds(find('Line', 2)).left, Bounds(control(1)).right + 4);
    EXPECT_EQ(Bounds(find('Line', 19)).left, Bounds(control(8)).right + 4);
    EXPECT_EQ(Bounds(find('Line', 20)).left, Bounds(control(10)).right + 4);
    EXPECT_EQ(Bounds(find('Line', 21)).left, Bounds(control(12)).right + 4);
    auto drawing = [&](int id) {
        auto json = nlohmann::json::parse(HICopyWindowJSON(window()));
        for (auto& c : json["controls"])
            if (c["signature"] == "Line" && c["id"] == id)
                return c["drawing"];
        return nlohmann::json();
    };
    auto hasGrey = [](const nlohmann::json& d) {
        for (auto& op : d)
            if (op.dump().find("46080") != std::string::npos) // 0xB400, the dimmed ink
                return true;
        return false;
    };
    // The bypass of unconverted RGB exists only for the source "NONE".
    EXPECT_TRUE(drawing(5).empty());
    EXPECT_FALSE(drawing(2).empty());
    EXPECT_FALSE(hasGrey(drawing(2)));
    mPerson->chooseKeyword(1, "NONE");
    EXPECT_FALSE(drawing(5).empty());
    EXPECT_TRUE(hasGrey(drawing(2)));
    // Separating RGB through the simulation draws that path and dims the direct one.
    mPerson->chooseKeyword(1, "SRGB");
    EXPECT_EQ(mDialog->lineStyle(8), UI_ExpertColor::kLineDimmed);
    mPerson->chooseKeyword(5, "SEPSIM");
    EXPECT_EQ(mDialog->lineStyle(8), UI_ExpertColor::kLineSolid);
    EXPECT_EQ(mDialog->lineStyle(4), UI_ExpertColor::kLineDimmed);
    EXPECT_FALSE(hasGrey(drawing(10)));
    // The join: its vertical line and the arrow into the output profile.
    EXPECT_GE(drawing(14).size(), 4u);
}

// A colour-model error is told in an alert over the print dialog: the server-error title over
// the code's own text, or the numbered general text for a code without one; no Cancel.
TEST_F(ExpertDialog, ErrorsAreToldInAnAlert) {
    Open();
    FrontWindowPerson person;
    EXPECT_FALSE(mDialog->handlePigmentorError(0));
    EXPECT_TRUE(person.seen.empty());
    person.press(kHICommandOK);
    EXPECT_TRUE(mDialog->handlePigmentorError(4));
    person.press(kHICommandOK);
    EXPECT_TRUE(mDialog->handlePigmentorError(77));
    ASSERT_EQ(person.seen.size(), 2u);
    EXPECT_EQ(person.seen[0].alertText, Localized("kPigmentorServerErr", "PigmentorErr"));
    EXPECT_EQ(person.seen[0].secondText, Localized("kPigmentorConnErr", "PigmentorErr"));
    EXPECT_EQ(person.seen[0].secondTextSize, 11);
    EXPECT_FALSE(person.seen[0].cancelVisible);
    EXPECT_EQ(person.seen[0].sheetParent, mParent.w);
    EXPECT_EQ(person.seen[1].secondText, "An error occurred (77).");
}

// In German the buttons grow to their texts and still keep their order and gaps, and every
// visible text stays inside the window.
TEST(ExpertDialogGerman, ButtonsKeepTheirPlacesWhenTheyGrow) {
    BundleScope bundle("de");
    ParentWindow parent;
    Model model(ExampleText("Tarvo-C5000-de.ppd"), "");
    PigmentorPPDItemList list(model.get(), true, nullptr);
    UI_ExpertColor dialog(&list, parent.w);
    dialog.show();
    WindowRef w = dialog.getWindow();
    ASSERT_NE(w, nullptr);
    const Rect defaults = Bounds(Find(w, 'defs', 0)), update = Bounds(Find(w, 'upda', 0));
    const Rect cancel = Bounds(Find(w, 'canc', 0)), ok = Bounds(Find(w, 'ok  ', 0));
    EXPECT_EQ(TitleOf(Find(w, 'defs', 0)), "Standardwerte");
    EXPECT_EQ(update.left, defaults.right + 12);
    EXPECT_EQ(cancel.right + 12, ok.left);
    Rect port{};
    GetWindowPortBounds(w, &port);
    auto json = nlohmann::json::parse(HICopyWindowJSON(w));
    for (auto& c : json["controls"]) {
        if (c["visible"] == true && c["kind"] != "upan") {
            EXPECT_LE(c["bounds"][3].get<int>(), port.right) << c.dump();
        }
    }
}

// An item the pane changed for the custom setup before the dialog ran gets its value back on
// Cancel and keeps the new one on OK.
TEST_F(ExpertDialog, PendingCustomItemGoesBackOnCancelOnly) {
    Open();
    Show();
    mDialog->setPendingItem(item(1), 2);
    mPerson->press(kHICommandCancel);
    EXPECT_EQ(ValueKeyword(item(1)), "SRGB");
    Show();
    mPerson->chooseKeyword(1, "OTHER");
    mDialog->setPendingItem(item(1), 2);
    mPerson->press(kHICommandOK);
    EXPECT_EQ(ValueKeyword(item(1)), "OTHER");
    Show();
    mPerson->press(kHICommandCancel);
    EXPECT_EQ(ValueKeyword(item(1)), "OTHER");
}

// Run modally, the dialog is a sheet over the print dialog until OK ends its loop.
TEST_F(ExpertDialog, ShowModalRunsUntilOK) {
    Open();
    FrontWindowPerson later;
    WindowRef sheetParent = nullptr;
    bool wasModal = false;
    later.act([&](WindowRef front) {
        GetSheetWindowParent(front, &sheetParent);
        wasModal = mDialog->isModal();
        ControlRef popup = Find(front, 'PGSE', 203);
        HIPerformChoosePopupItem(popup, static_cast<MenuItemIndex>(item(3)->getValueByKeyword("EUROSCALE")));
        HISimulatePressButton(front, kHICommandOK);
    });
    mDialog->showmodal();
    EXPECT_EQ(sheetParent, mParent.w);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(mDialog->isModal());
    EXPECT_EQ(window(), nullptr);
    EXPECT_EQ(ValueKeyword(item(3)), "EUROSCALE");
}
