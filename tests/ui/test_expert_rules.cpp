// The expert colour dialog's dependency rules in both modes: over the example PPD's own items
// and over a two-way list fetched from a real tovrane-server on loopback (whose colour keywords
// are the PPD's). Also what only two-way mode has: the Update button, the black overprint
// style's radio group, media-defined profiles written to the PPD, and device-link notices.
#include "BrivelleTest.h"
#include "ExpertTestSupport.h"

#include "PPDXPopupControl.h"
#include "ExpertColorFeatures.h"
#include "PigmentorBIDIItemList.h"

#include <CarbonCore/SysBeep.h>

#include <gtest/gtest.h>

using namespace colourtest;
using namespace experttest;

namespace {

class ExpertRules : public ServerTest,
                    public ::testing::WithParamInterface<bool>,
                    protected ExpertDialogParts {
protected:
    bool twoWay() const { return GetParam(); }
    void Open(const std::string& ppd = ExampleText()) {
        mDialog.reset();
        mList.reset();
        mModel = std::make_unique<Model>(ppd, "");
        if (twoWay()) {
            if (!mServer)
                StartServer();
            mList = std::make_unique<PigmentorBIDIItemList>(mModel->get(), "127.0.0.1", nullptr, true);
        } else {
            mList = std::make_unique<PigmentorPPDItemList>(mModel->get(), true, nullptr);
        }
        ASSERT_TRUE(mList->isValid());
        mDialog = std::make_unique<UI_ExpertColor>(mList.get(), mParent.w);
        mDialog->setPaneHook([this](const char* keyword, bool enable) {
            mPane.push_back(std::string(keyword) + (enable ? " on" : " off"));
        });
        mPerson = std::make_unique<Person>(*mDialog);
        mDialog->show();
        ASSERT_NE(window(), nullptr);
        ASSERT_EQ(mDialog->isTwoWay(), twoWay());
    }
    void TearDown() override {
        Release();
        ServerTest::TearDown();
    }
    std::vector<int> all(int n) {
        std::vector<int> items;
        for (int i = 1; i <= item(n)->itemCount(); ++i)
            items.push_back(i);
        return items;
    }

    std::vector<std::string> mPane;
};

std::string Mode(const ::testing::TestParamInfo<bool>& info) { return info.param ? "TwoWay" : "PPD"; }

} // namespace

INSTANTIATE_TEST_SUITE_P(Modes, ExpertRules, ::testing::Bool(), Mode);

// 1: "OTHER" shows and enables the custom setup button and enables the custom RGB settings;
// any other source hides and disables them; "NONE" is remembered for the diagram.
TEST_P(ExpertRules, RGBSourceOtherOffersTheCustomSetup) {
    Open();
    ControlRef custom = find('cust', 0);
    EXPECT_FALSE(Visible(custom));
    // The custom source's gamma, white point and phosphors stay in view, usable only for "OTHER".
    for (int n : {14, 15, 16}) {
        EXPECT_TRUE(Visible(control(n))) << n;
        EXPECT_FALSE(Enabled(control(n))) << n;
        EXPECT_TRUE(Visible(mDialog->titleControl(n))) << n;
    }
    mPerson->chooseKeyword(1, "OTHER");
    EXPECT_TRUE(Visible(custom));
    EXPECT_TRUE(Enabled(custom));
    EXPECT_TRUE(item(14)->featureIsEnabled());
    for (int n : {14, 15, 16})
        EXPECT_TRUE(Enabled(control(n))) << n;
    mPerson->chooseKeyword(1, "NONE");
    EXPECT_FALSE(Visible(custom));
    EXPECT_FALSE(item(14)->featureIsEnabled());
    for (int n : {14, 15, 16})
        EXPECT_FALSE(Enabled(control(n))) << n;
    EXPECT_TRUE(mDialog->rgbSourceNone());
    mPerson->chooseKeyword(1, "SRGB");
    EXPECT_FALSE(mDialog->rgbSourceNone());
    // The PPD can hide the custom setup for good.
    Open(Replace(ExampleText(), "*QVHideClrCstm: False", "*QVHideClrCstm: true"));
    EXPECT_TRUE(mDialog->isCustomHidden());
    mPerson->chooseKeyword(1, "OTHER");
    EXPECT_FALSE(Visible(find('cust', 0)));
}

// 3: "MATCHCOPY" and "NONE" put the simulation method to its default and lock it (two-way:
// disable it); another simulation undoes that.
TEST_P(ExpertRules, MatchCopyLocksTheSimulationSpeed) {
    Open();
    mPerson->chooseKeyword(6, "S4X4");
    for (const char* locking : {"MATCHCOPY", "NONE"}) {
        mPerson->chooseKeyword(3, locking);
        EXPECT_TRUE(mDialog->simulationIsNone());
        EXPECT_EQ(item(6)->getValue(), item(6)->getDefaultValue()) << locking;
        EXPECT_EQ(GetControl32BitValue(control(6)), item(6)->getDefaultValue());
        if (twoWay()) {
            EXPECT_FALSE(Enabled(control(6))) << locking;
        } else {
            EXPECT_TRUE(Enabled(control(6)));
            EXPECT_EQ(EnabledItems(control(6)), std::vector<int>{static_cast<int>(item(6)->getDefaultValue())});
        }
        mPerson->chooseKeyword(3, "ISOCOATED");
        EXPECT_FALSE(mDialog->simulationIsNone());
        EXPECT_TRUE(Enabled(control(6)));
        EXPECT_EQ(EnabledItems(control(6)), all(6));
        mPerson->chooseKeyword(6, "BETR");
        EXPECT_EQ(ValueKeyword(item(6)), "BETR");
    }
}

// 5: separating RGB through the simulation disables print RGB gray as black (outside two-way
// mode also putting it back to its default); separating to the output enables it again.
TEST_P(ExpertRules, RGBSeparationToSimulationDisablesRGBGrayAsBlack) {
    Open();
    mPerson->chooseKeyword(17, "ON");
    mPerson->chooseKeyword(5, "SEPSIM");
    EXPECT_TRUE(mDialog->separateToSimulation());
    EXPECT_FALSE(mDialog->separateToOutput());
    EXPECT_FALSE(Enabled(control(17)));
    EXPECT_EQ(ValueKeyword(item(17)), twoWay() ? "ON" : "OFF");
    mPerson->chooseKeyword(5, "SEPOUT");
    EXPECT_TRUE(mDialog->separateToOutput());
    EXPECT_TRUE(Enabled(control(17)));
}

// 6: "Quick" and "Full (source)" switch paper simulation off and disable it; "Full (output)"
// enables it.
TEST_P(ExpertRules, QuickSimulationSwitchesPaperSimulationOff) {
    Open();
    mPerson->chooseKeyword(6, "S4X4");
    EXPECT_TRUE(Enabled(control(11)));
    item(11)->setValue(static_cast<unsigned long>(item(11)->getValueByKeyword("ABSOLUTE")));
    for (const char* speed : {"FAST", "BETR"}) {
        mPerson->chooseKeyword(6, speed);
        EXPECT_FALSE(Enabled(control(11))) << speed;
        EXPECT_EQ(ValueKeyword(item(11)), "RELATIVE");
        EXPECT_EQ(mDialog->lineStyle(13), UI_ExpertColor::kLineDimmed);
    }
    mPerson->chooseKeyword(6, "S4X4");
    EXPECT_TRUE(Enabled(control(11)));
    EXPECT_EQ(mDialog->lineStyle(13), UI_ExpertColor::kLineSolid);
}

// 7: spot colours on shorten line 15 by 15 pixels and enable the pane's separations box; off
// give the line back its rectangle and disable the box.
TEST_P(ExpertRules, SpotColoursDriveThePaneSeparationsBox) {
    Open();
    ControlRef line = find('Line', 15);
    const Rect on = Bounds(line);
    mPane.clear();
    mPerson->chooseKeyword(7, "OFF");
    EXPECT_FALSE(mDialog->spotOn());
    EXPECT_EQ(mPane, std::vector<std::string>{"*QVSeparations off"});
    EXPECT_EQ(Bounds(line).right, on.right + 15);
    mPerson->chooseKeyword(7, "ON");
    EXPECT_TRUE(mDialog->spotOn());
    EXPECT_EQ(mPane.back(), "*QVSeparations on");
    EXPECT_EQ(Bounds(line).right, on.right);
    EXPECT_EQ(mDialog->lineStyle(16), UI_ExpertColor::kLineSolid);
}

// 8: pure or rich black sets the PPD's black overprint control to "OFF" and lets it offer
// nothing else; a normal black gives it all its values back.
TEST_P(ExpertRules, PureBlackTurnsTheOverprintControlOff) {
    Open();
    for (const char* black : {"BLACKRICHON", "BLACKNORMAL"}) {
        mPerson->chooseKeyword(8, black);
        EXPECT_TRUE(mDialog->pureBlackHandled()) << black;
        EXPECT_TRUE(popup("*QVBlkOvpCtrl")->IsKeywordSelected("OFF"));
        EXPECT_EQ(ValueKeyword(item(12)), "OFF");
        EXPECT_EQ(EnabledItems(control(12)), std::vector<int>{static_cast<int>(item(12)->getValueByKeyword("OFF"))});
        EXPECT_EQ(mDialog->lineStyle(19), UI_ExpertColor::kLineDimmed);
    }
    mPerson->chooseKeyword(8, "OFF");
    EXPECT_FALSE(mDialog->pureBlackHandled());
    EXPECT_EQ(EnabledItems(control(12)), all(12));
    EXPECT_EQ(ValueKeyword(item(12)), "OFF");
    mPerson->chooseKeyword(12, "TEXTONLY");
    EXPECT_EQ(ValueKeyword(item(12)), "TEXTONLY");
}

// 10 and 12 with the PPD's separations box: the overprint style is enabled only while the
// overprint control is at its default or off.
TEST_P(ExpertRules, OverprintStyleFollowsTheOverprintControl) {
    Open();
    mPerson->chooseKeyword(12, "TEXTONLY");
    EXPECT_FALSE(Enabled(control(9)));
    mPerson->chooseKeyword(12, "OFF");
    EXPECT_TRUE(Enabled(control(9)));
    // Two-way mode reads black overprint's first value as on, the PPD any value but off.
    twoWay() ? mPerson->choose(10, 1) : mPerson->chooseKeyword(10, "ON");
    EXPECT_TRUE(mDialog->blackOverprintOn());
}

// 10 and 12 without a separations box: the style is enabled while black overprint is on
// (two-way: its first value).
TEST_P(ExpertRules, OverprintStyleFollowsBlackOverprint) {
    Open(WithoutBlock(ExampleText(), "*QVSeparations"));
    mPerson->chooseKeyword(10, "OFF");
    EXPECT_FALSE(mDialog->blackOverprintOn());
    EXPECT_FALSE(Enabled(control(9)));
    EXPECT_EQ(mDialog->lineStyle(20), UI_ExpertColor::kLineDimmed);
    mPerson->choose(10, 1);
    EXPECT_TRUE(mDialog->blackOverprintOn());
    EXPECT_TRUE(Enabled(control(9)));
    EXPECT_EQ(mDialog->lineStyle(20), UI_ExpertColor::kLineSolid);
}

// In two-way mode the overprint style, black overprint and spot colours are radio groups, one
// button per value carrying its index, whose clicks ('bid2', 'bid3') set the item and run its
// rule; the PPD dialog shows popups there. With combined separations on, spot colours offer
// only the default and "On".
TEST_P(ExpertRules, TwoWayRadioGroupsSetTheirItems) {
    Open();
    if (!twoWay()) {
        for (SInt32 id : {209, 210, 207}) {
            EXPECT_FALSE(Visible(find('BIDI', id))) << id;
            EXPECT_TRUE(Visible(find('PGSE', id))) << id;
        }
        return;
    }
    for (int n : {9, 10, 7}) {
        ASSERT_EQ(control(n), find('BIDI', 200 + n)) << n;
        EXPECT_TRUE(Visible(control(n))) << n;
        EXPECT_FALSE(Visible(find('PGSE', 200 + n))) << n;
    }
    EXPECT_EQ(GetControl32BitValue(control(9)), item(9)->getValue());
    EXPECT_EQ(TitleOf(find('BIDI', 109)), item(9)->getFeatureDisplayName());
    mPerson->click('BIDI', 2092);
    EXPECT_EQ(item(9)->getValue(), 2);
    EXPECT_EQ(ValueKeyword(item(9)), "KPLUSCMY");
    EXPECT_FALSE(Visible(find('BIDI', 2093))); // two values, two buttons
    EXPECT_TRUE(Visible(find('BIDI', 2072)));
    mPane.clear();
    mPerson->click('BIDI', 2072);
    EXPECT_EQ(ValueKeyword(item(7)), "OFF");
    EXPECT_EQ(mPane, std::vector<std::string>{"*QVSeparations off"});
    // Button k of feature n's group ('BIDI' 20n0 + k) sets value k; the first is "on".
    for (int n : {7, 10}) {
        for (int k : {2, 1}) {
            mPerson->click('BIDI', 2000 + 10 * n + k);
            EXPECT_EQ(item(n)->getValue(), k) << n;
            EXPECT_EQ(n == 7 ? mDialog->spotOn() : mDialog->blackOverprintOn(), k == 1) << n;
        }
    }
    EXPECT_TRUE(mDialog->isChanged());

    Open(Replace(ExampleText(), "*DefaultQVSeparations: False", "*DefaultQVSeparations: True"));
    const long on = item(7)->getValueByKeyword("ON");
    for (UInt16 i = 1; i <= 2; ++i) {
        ControlRef button = nullptr;
        ASSERT_EQ(GetIndexedSubControl(find('BIDI', 207), i, &button), noErr);
        EXPECT_EQ(Enabled(button), i == on || i == item(7)->getDefaultValue()) << i;
    }
}

// The Update button exists only in two-way mode; it rereads the server's data and applies the
// defaults.
TEST_P(ExpertRules, UpdateButtonOnlyInTwoWayMode) {
    Open();
    EXPECT_EQ(Visible(find('upda', 0)), twoWay());
    if (!twoWay())
        return;
    mPerson->chooseKeyword(2, "PHOTOGRAPHIC");
    mPerson->press('upda');
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(item(2)->getValue(), item(2)->getDefaultValue());
    EXPECT_EQ(GetControl32BitValue(control(2)), item(2)->getDefaultValue());
}

// Media-defined profiles in two-way mode: the group starts at the output profile and writes
// each choice to the PPD's popup; the popup keeps all the server's profiles.
TEST_P(ExpertRules, MediaDefinedProfilesInTwoWayMode) {
    if (!twoWay())
        GTEST_SKIP() << "outside two-way mode: test_ui_expert";
    Open();
    ControlRef group = find('mdpr', 100);
    ControlRef out = control(4);
    ASSERT_TRUE(Visible(group));
    EXPECT_EQ(GetControl32BitValue(group), 3);
    EXPECT_EQ(popup("*QVOutProfile")->GetValue(), 3);
    EXPECT_EQ(CountMenuItems(GetControlPopupMenuRef(out)), item(4)->itemCount());
    mPerson->clickRadio('mdpr', 100, 1);
    EXPECT_FALSE(Enabled(out));
    EXPECT_EQ(item(4)->getValue(), 1);
    EXPECT_EQ(popup("*QVOutProfile")->GetValue(), 1);
    mPerson->clickRadio('mdpr', 100, 3);
    EXPECT_TRUE(Enabled(out));
    EXPECT_EQ(popup("*QVOutProfile")->GetValue(), 3);
    EXPECT_EQ(item(4)->getValue(), GetControl32BitValue(out));
    mPerson->choose(4, 3);
    EXPECT_EQ(item(4)->getValue(), 3); // no shift in two-way mode
}

// Device links: while the server links the chosen RGB source (or CMYK simulation) to the chosen
// output profile, its notice shows and the steps the link replaces are hidden.
TEST_P(ExpertRules, DeviceLinkNoticesReplaceTheirSteps) {
    if (!twoWay())
        GTEST_SKIP() << "device links come from the server";
    Open();
    ControlRef rgbNotice = find('dev1', 0);
    ControlRef cmykNotice = find('dev2', 0);
    EXPECT_FALSE(Visible(rgbNotice));
    mPerson->clickRadio('mdpr', 100, 3);
    mPerson->chooseKeyword(4, "TRVC5COATED");
    mPerson->chooseKeyword(1, "SRGB");
    EXPECT_TRUE(mDialog->rgbLinkInUse());
    EXPECT_TRUE(Visible(rgbNotice));
    EXPECT_EQ(TitleOf(rgbNotice), Localized("DevLinkInUse", "Localizable"));
    for (int n : {2, 5, 17})
        EXPECT_FALSE(Visible(control(n))) << n;
    EXPECT_TRUE(Visible(control(6)));
    mPerson->chooseKeyword(1, "EBU");
    EXPECT_FALSE(Visible(rgbNotice));
    for (int n : {2, 5, 17})
        EXPECT_TRUE(Visible(control(n))) << n;

    mPerson->chooseKeyword(3, "EUROSCALE");
    EXPECT_TRUE(mDialog->cmykLinkInUse());
    EXPECT_TRUE(Visible(cmykNotice));
    for (int n : {6, 11, 18})
        EXPECT_FALSE(Visible(control(n))) << n;
    mPerson->chooseKeyword(4, "TRVC5PLAIN");
    EXPECT_FALSE(Visible(cmykNotice));
    EXPECT_TRUE(Visible(control(6)));
    EXPECT_TRUE(Visible(control(11)));
}

// Built from the expert colour features object: its current list decides the mode, and it
// answers the device-link questions.
TEST_P(ExpertRules, BuiltFromTheFeaturesObject) {
    if (twoWay() && !mServer)
        StartServer();
    Model model(ExampleText(), "");
    {
        ExpertColorFeatures features(model.get(), twoWay(), twoWay() ? "127.0.0.1" : nullptr, true,
                                     false, nullptr);
        ASSERT_TRUE(features.isValid());
        UI_ExpertColor dialog(&features, mParent.w);
        EXPECT_EQ(dialog.getItemList(), features.getExpertColorFeatures());
        EXPECT_EQ(dialog.isTwoWay(), twoWay());
        dialog.show();
        ASSERT_NE(dialog.getWindow(), nullptr);
        Person person(dialog);
        if (twoWay()) {
            person.clickRadio('mdpr', 100, 3);
            person.chooseKeyword(4, "TRVC5COATED");
            person.chooseKeyword(1, "SRGB");
        }
        EXPECT_EQ(dialog.rgbLinkInUse(), twoWay());
        EXPECT_EQ(Visible(Find(dialog.getWindow(), 'dev1', 0)), twoWay());

        // Without features nothing is taken (the pane's tests cover the swap during a fetch).
        EXPECT_EQ(dialog.setExpertColorFeatures(nullptr), 6u);
        EXPECT_EQ(dialog.getItemList(), features.getExpertColorFeatures());
    }
}
