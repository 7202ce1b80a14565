// The exported flat functions: neutral answers for null objects, and the members' answers for
// objects of a parsed model.
#include "ControlTestSupport.h"
#include "ParseTestSupport.h"

#include "PPDXBooleanControl.h"
#include "PPDXControlsFunctions.h"
#include "PPDXElementFunctions.h"
#include "PPDXErrorFunctions.h"
#include "PPDXJobNote.h"
#include "PPDXOptionFunctions.h"
#include "PPDXPopupControl.h"
#include "PPDXRangeControl.h"
#include "PPDXGroupFunctions.h"
#include "PPDXScrollPane.h"
#include "PPDXShortcutFunctions.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

/// A boolean *Collate-like block (default True) placed in the roll-down "TPColor".
std::string collateBlock(const std::string& keyword) {
    return "*%QRVFlags " + keyword + ": Spooler|MacTJN\n*%QRVGroup " + keyword +
           ": TPColor/Color\n*OpenUI " + keyword + "/Collate: Boolean\n*Default" +
           keyword.substr(1) + ": True\n" + keyword +
           " True/Collated: \"<</Collate true>>setpagedevice\"\n" + keyword +
           " False/Uncollated: \"<</Collate false>>setpagedevice\"\n*CloseUI: " + keyword + "\n";
}

std::string rangeBlock() {
    return "*%QRVFlags *Density: MacIS|Command\n"
           "*%QRVGroup *Density TPColor/Color\n"
           "*%QRVRange *Density/Density: (0;100;5;50) \"<*Density> setdensity\"\n";
}

} // namespace

// Every exported function on a null object: no crash, and the neutral answer.
TEST(FlatFunctions, NullObjectsGiveNeutralValues) {
    unsigned char out[4] = {'#', '#', '#', '#'};
    CNTL_TYPE type = kPopupType;
    PopupItemInfo info = {"stale", CFSTR("stale")};
    PPDXScrollPane pane("*Pane", CFSTR("Pane"), true);
#define NEUTRAL(call, value)                                                                       \
    { #call, (call) == (value) }
    const std::pair<const char*, bool> answers[] = {
        NEUTRAL(Keyword(nullptr), nullptr), NEUTRAL(UserName(nullptr), nullptr),
        NEUTRAL(IsVisible(nullptr), false), NEUTRAL(IsOrphan(nullptr), true),
        NEUTRAL(GetParent(nullptr), nullptr), NEUTRAL(EqualsElement(nullptr, nullptr), false),
        NEUTRAL(EqualsKeyWord(nullptr, "*A"), false), NEUTRAL(GetControlFlagCount(nullptr), 0u),
        NEUTRAL(GetFirstControlFlag(nullptr), nullptr),
        NEUTRAL(GetNextControlFlag(nullptr), nullptr), NEUTRAL(IsCommandControl(nullptr), false),
        NEUTRAL(IsSpoolerControl(nullptr), false), NEUTRAL(IsSetupControl(nullptr), false),
        NEUTRAL(IsMacTJNControl(nullptr), false), NEUTRAL(IsMacImgShiftControl(nullptr), false),
        NEUTRAL(IsValidControlKeyword(nullptr, "*PageSize"), false),
        NEUTRAL(GetPostScript(nullptr, out), 0), NEUTRAL(BooleanPostScript(nullptr, out), 0),
        NEUTRAL(PopupPostScript(nullptr, out), 0), NEUTRAL(RangePostScript(nullptr, out), 0),
        NEUTRAL(GetKeywordPSData(nullptr, "A4", out), 0), NEUTRAL(IsTrue(nullptr), false),
        NEUTRAL(DefaultState(nullptr), false), NEUTRAL(TrueDisplayText(nullptr), nullptr),
        NEUTRAL(FalseDisplayText(nullptr), nullptr),
        NEUTRAL(CanSelectMultipleItems(nullptr), false),
        NEUTRAL(GetDefaultKeyword(nullptr), nullptr),
        NEUTRAL(GetKeywordLocalName(nullptr, "A4"), nullptr),
        NEUTRAL(IsKeywordSelected(nullptr, "A4"), false),
        NEUTRAL(SetKeywordSelect(nullptr, "A4", true), false), NEUTRAL(PopupItemCount(nullptr), 0u),
        NEUTRAL(GetPopupValue(nullptr), 0), NEUTRAL(GetPopupDefaultValue(nullptr), 0),
        NEUTRAL(FirstItem(nullptr, &info), false), NEUTRAL(info.keyword, nullptr),
        NEUTRAL(info.displayName, nullptr), NEUTRAL(NextItem(nullptr, &info), false),
        NEUTRAL(GetRangeValue(nullptr), 0), NEUTRAL(GetRangeMinimum(nullptr), 0),
        NEUTRAL(GetRangeMaximum(nullptr), 0), NEUTRAL(GetRangeIncrement(nullptr), 0),
        NEUTRAL(GetRangeDefaultVal(nullptr), 0), NEUTRAL(GetControlCount(nullptr), 0u),
        NEUTRAL(GetPopupCount(nullptr), 0u), NEUTRAL(GetBooleanCount(nullptr), 0u),
        NEUTRAL(GetRangeCount(nullptr), 0u), NEUTRAL(GetJobnoteCount(nullptr), 0u),
        NEUTRAL(GetEmpty(nullptr), true), NEUTRAL(GetNoPopups(nullptr), true),
        NEUTRAL(GetNoBooleanControls(nullptr), true), NEUTRAL(GetNoRangeControls(nullptr), true),
        NEUTRAL(GetNoJobNotes(nullptr), true), NEUTRAL(Find(nullptr, "*A", type, true), nullptr),
        NEUTRAL(GetFirst(nullptr, type), nullptr), NEUTRAL(GetNext(nullptr, type), nullptr),
        NEUTRAL(type, kPopupType), // untouched
        NEUTRAL(GetFirstPopupControl(nullptr), nullptr),
        NEUTRAL(GetNextPopupControl(nullptr), nullptr),
        NEUTRAL(GetFirstBooleanControl(nullptr), nullptr),
        NEUTRAL(GetNextBooleanControl(nullptr), nullptr),
        NEUTRAL(GetFirstRangeControl(nullptr), nullptr),
        NEUTRAL(GetNextRangeControl(nullptr), nullptr), NEUTRAL(GetFirstJobNote(nullptr), nullptr),
        NEUTRAL(GetNextJobNote(nullptr), nullptr),
        NEUTRAL(GetFindPopup(nullptr, "*A", true), nullptr),
        NEUTRAL(GetFindBoolean(nullptr, "*A", true), nullptr),
        NEUTRAL(GetFindRangeControl(nullptr, "*A", true), nullptr),
        NEUTRAL(GetFindJobNote(nullptr, "*A", true), nullptr),
        NEUTRAL(FirstError(nullptr), nullptr), NEUTRAL(NextError(nullptr), nullptr),
        NEUTRAL(ErrorListIsEmpty(nullptr), true), NEUTRAL(ErrorCount(nullptr), 0u),
        NEUTRAL(GetErrorKeyword(nullptr), nullptr), NEUTRAL(GetErrorDescription(nullptr), nullptr),
        NEUTRAL(IsErrorFatal(nullptr), false),
        // Groups, pages and shortcuts.
        NEUTRAL(FirstGroup(nullptr), nullptr), NEUTRAL(NextGroup(nullptr), nullptr),
        NEUTRAL(FindGroup(nullptr, "*Pane", true), nullptr),
        NEUTRAL(IsGrouPointerListEmpty(nullptr), true), NEUTRAL(GroupCount(nullptr), 0u),
        NEUTRAL(GetRollDownControlList(nullptr), nullptr), NEUTRAL(IsRollDown(nullptr), false),
        NEUTRAL(GetScrollPaneRollDowns(nullptr), nullptr), NEUTRAL(IsScrollPane(nullptr), false),
        NEUTRAL(FirstProperty(nullptr), nullptr), NEUTRAL(NextProperty(nullptr), nullptr),
        NEUTRAL(FindProperty(nullptr, "*Page", true), nullptr),
        NEUTRAL(IsPropertyListEmpty(nullptr), true), NEUTRAL(PropertyCount(nullptr), 0u),
        NEUTRAL(ShowPropInPrintProp(nullptr), false), NEUTRAL(ShowPropInApp(nullptr), false),
        NEUTRAL(GetPropertyScrollDown(nullptr), nullptr), NEUTRAL(IsPropertyPage(nullptr), false),
        NEUTRAL(IsShortcutsListEmpty(nullptr), true), NEUTRAL(GetShortcutCount(nullptr), 0u),
        NEUTRAL(GetPageSizeShortcut(nullptr), nullptr),
        NEUTRAL(GetInputSlotShortcut(nullptr), nullptr),
        NEUTRAL(GetDuplexShortcut(nullptr), nullptr),
        NEUTRAL(GetOrientationShortcut(nullptr), nullptr),
        NEUTRAL(GetPigmentorShortcut(nullptr), nullptr),
        NEUTRAL(GetMediaSourceShortcut(nullptr), nullptr),
        NEUTRAL(FindShortcut(nullptr, "*PageSize", true), nullptr),
        NEUTRAL(FirstShortcut(nullptr), nullptr), NEUTRAL(NextShortcut(nullptr), nullptr)};
#undef NEUTRAL
    for (const auto& [call, neutral] : answers)
        EXPECT_TRUE(neutral) << call;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 4), "####");
    ResetControlToDefault(nullptr);
    SetValue(nullptr, true);
    SetPopupValue(nullptr, 1);
    SetRangeValue(nullptr, 5);
    SetPropertyScrollDown(nullptr, &pane);
}

TEST(FlatFunctions, ElementsAndControlsOfAParsedModel) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() + collateBlock("*Collate") + rangeBlock());
    PPDXControls* controls = ppd->GetControls();

    PPDXPopupControl* mode = GetFindPopup(controls, "*QVColorMode", true);
    ASSERT_NE(mode, nullptr);
    EXPECT_STREQ(Keyword(mode), "*QVColorMode");
    EXPECT_STREQ(UserName(mode), "Print Mode");
    EXPECT_TRUE(IsVisible(mode));
    EXPECT_FALSE(IsOrphan(mode));
    EXPECT_STREQ(Keyword(GetParent(mode)), "TPColor");
    EXPECT_TRUE(EqualsKeyWord(mode, "*QVColorMode"));
    EXPECT_TRUE(EqualsElement(mode, mode));
    EXPECT_FALSE(EqualsElement(mode, GetParent(mode)));
    EXPECT_EQ(GetControlFlagCount(mode), 2u);
    EXPECT_STREQ(GetFirstControlFlag(mode), "Command");
    EXPECT_STREQ(GetNextControlFlag(mode), "Setup");
    EXPECT_TRUE(IsCommandControl(mode));
    EXPECT_TRUE(IsSetupControl(mode));
    EXPECT_FALSE(IsSpoolerControl(mode));
    EXPECT_FALSE(IsValidControlKeyword(mode, "*QV_PROP_COLORMODE"));

    EXPECT_FALSE(CanSelectMultipleItems(mode));
    EXPECT_STREQ(GetDefaultKeyword(mode), "CMYK");
    EXPECT_STREQ(GetKeywordLocalName(mode, "Grayscale"), "Grayscale");
    EXPECT_EQ(PopupItemCount(mode), 2u);
    EXPECT_EQ(GetPopupValue(mode), 1);
    EXPECT_EQ(GetPopupDefaultValue(mode), 1);
    SetPopupValue(mode, 2);
    EXPECT_TRUE(IsKeywordSelected(mode, "Grayscale"));
    EXPECT_TRUE(SetKeywordSelect(mode, "CMYK", true));
    EXPECT_FALSE(SetKeywordSelect(mode, "Nope", true));
    const std::string block = "%%BeginFeature: *QVColorMode CMYK\n/CMYK setmode\n%%EndFeature\n";
    EXPECT_EQ(PopupPostScript(mode, nullptr), static_cast<long>(block.size()));
    EXPECT_EQ(GetKeywordPSData(mode, "CMYK", nullptr), static_cast<long>(block.size()));
    std::string out(block.size(), '\0');
    EXPECT_EQ(GetPostScript(mode, reinterpret_cast<unsigned char*>(&out[0])),
              static_cast<long>(block.size()));
    EXPECT_EQ(out, block);
    SetPopupValue(mode, 2);
    ResetControlToDefault(mode);
    EXPECT_EQ(GetPopupValue(mode), 1);
    PopupItemInfo info;
    ASSERT_TRUE(FirstItem(mode, &info));
    EXPECT_STREQ(info.keyword, "CMYK");
    EXPECT_EQ(Take(static_cast<CFStringRef>(CFRetain(info.displayName))), "Standard Color");
    ASSERT_TRUE(NextItem(mode, &info));
    EXPECT_STREQ(info.keyword, "Grayscale");
    EXPECT_FALSE(NextItem(mode, &info));
    EXPECT_EQ(info.keyword, nullptr);
    EXPECT_FALSE(FirstItem(mode, nullptr));

    PPDXBooleanControl* collate = GetFindBoolean(controls, "*Collate", true);
    ASSERT_NE(collate, nullptr);
    EXPECT_TRUE(IsTrue(collate));
    EXPECT_TRUE(DefaultState(collate));
    EXPECT_STREQ(TrueDisplayText(collate), "Collated");
    EXPECT_STREQ(FalseDisplayText(collate), "Uncollated");
    EXPECT_TRUE(IsSpoolerControl(collate));
    EXPECT_TRUE(IsMacTJNControl(collate));
    SetValue(collate, false);
    EXPECT_FALSE(IsTrue(collate));
    const std::string off =
        "%%BeginFeature: *Collate False\n<</Collate false>>setpagedevice\n%%EndFeature\n";
    std::string written(off.size(), '\0');
    EXPECT_EQ(BooleanPostScript(collate, reinterpret_cast<unsigned char*>(&written[0])),
              static_cast<long>(off.size()));
    EXPECT_EQ(written, off);

    PPDXRangeControl* density = GetFindRangeControl(controls, "*Density", true);
    ASSERT_NE(density, nullptr);
    EXPECT_TRUE(IsMacImgShiftControl(density));
    EXPECT_EQ(GetRangeValue(density), 50);
    EXPECT_EQ(GetRangeMinimum(density), 0);
    EXPECT_EQ(GetRangeMaximum(density), 100);
    EXPECT_EQ(GetRangeIncrement(density), 5);
    EXPECT_EQ(GetRangeDefaultVal(density), 50);
    SetRangeValue(density, 42);
    EXPECT_EQ(GetRangeValue(density), 40);

    EXPECT_EQ(GetPopupCount(controls), 1u);
    EXPECT_EQ(GetBooleanCount(controls), 1u);
    EXPECT_EQ(GetRangeCount(controls), 1u);
    EXPECT_EQ(GetJobnoteCount(controls), 0u);
    EXPECT_EQ(GetControlCount(controls), 3u);
    EXPECT_FALSE(GetEmpty(controls));
    EXPECT_FALSE(GetNoPopups(controls));
    EXPECT_FALSE(GetNoBooleanControls(controls));
    EXPECT_FALSE(GetNoRangeControls(controls));
    EXPECT_TRUE(GetNoJobNotes(controls));
    CNTL_TYPE type;
    EXPECT_EQ(GetFirst(controls, type), mode);
    EXPECT_EQ(type, kPopupType);
    EXPECT_EQ(GetNext(controls, type), collate);
    EXPECT_EQ(type, kBooleanType);
    EXPECT_EQ(Find(controls, "Dens", type, false), density);
    EXPECT_EQ(type, kRangeType);
    EXPECT_EQ(GetFirstPopupControl(controls), mode);
    EXPECT_EQ(GetFirstBooleanControl(controls), collate);
    EXPECT_EQ(GetFirstRangeControl(controls), density);
    EXPECT_EQ(GetFirstJobNote(controls), nullptr);
    EXPECT_EQ(GetNextJobNote(controls), nullptr);
    EXPECT_EQ(GetFindJobNote(controls, "*Density", true), nullptr);
    ppd->Release();
}

TEST(FlatFunctions, JobNotesAndErrors) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() +
                           "*%QRVJobNote *Notes1/Notes 1: 32|Alpha\n"
                           "*%QVShortcut *QV_PROP_COLORMODE\n");
    PPDXErrors* errors = ppd->GetErrors();
    EXPECT_EQ(ErrorCount(errors), 1u);
    EXPECT_FALSE(ErrorListIsEmpty(errors));
    PPDXErrorObj* error = FirstError(errors);
    ASSERT_NE(error, nullptr);
    EXPECT_STREQ(GetErrorKeyword(error), "*QV_PROP_COLORMODE");
    EXPECT_FALSE(IsErrorFatal(error));
    EXPECT_EQ(NextError(errors), nullptr);

    PPDXControls* controls = ppd->GetControls();
    PPDXJobNote* notes = GetFindJobNote(controls, "*Notes1", true);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(GetFirstJobNote(controls), notes);
    EXPECT_EQ(GetJobnoteCount(controls), 1u);
    EXPECT_FALSE(GetNoJobNotes(controls));
    EXPECT_EQ(GetControlCount(controls), 2u);
    EXPECT_TRUE(IsOrphan(notes)); // no notes group in this layout
    ppd->Release();
}
