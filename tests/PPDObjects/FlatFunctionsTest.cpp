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

#include <gtest/gtest.h>

#include <string>

namespace {

/// A boolean *Collate-like block (default True) placed in the roll-down "TPColor".
std::string collateBlock(const std::string& keyword) {
    return "*%QRVFlags " + keyword +
           ": Spooler|MacTJN\n"
           "*%QRVGroup " +
           keyword +
           ": TPColor/Color\n"
           "*OpenUI " +
           keyword +
           "/Collate: Boolean\n"
           "*Default" +
           keyword.substr(1) + ": True\n" + keyword +
           " True/Collated: \"<</Collate true>>setpagedevice\"\n" + keyword +
           " False/Uncollated: \"<</Collate false>>setpagedevice\"\n"
           "*CloseUI: " +
           keyword + "\n";
}

std::string rangeBlock() {
    return "*%QRVFlags *Density: MacIS|Command\n"
           "*%QRVGroup *Density TPColor/Color\n"
           "*%QRVRange *Density/Density: (0;100;5;50) \"<*Density> setdensity\"\n";
}

} // namespace

TEST(FlatFunctions, NullObjectsGiveNeutralValues) {
    EXPECT_EQ(Keyword(nullptr), nullptr);
    EXPECT_EQ(UserName(nullptr), nullptr);
    EXPECT_FALSE(IsVisible(nullptr));
    EXPECT_TRUE(IsOrphan(nullptr));
    EXPECT_EQ(GetParent(nullptr), nullptr);
    EXPECT_FALSE(EqualsElement(nullptr, nullptr));
    EXPECT_FALSE(EqualsKeyWord(nullptr, "*A"));
    EXPECT_EQ(GetControlFlagCount(nullptr), 0u);
    EXPECT_EQ(GetFirstControlFlag(nullptr), nullptr);
    EXPECT_EQ(GetNextControlFlag(nullptr), nullptr);
    EXPECT_FALSE(IsCommandControl(nullptr));
    EXPECT_FALSE(IsSpoolerControl(nullptr));
    EXPECT_FALSE(IsSetupControl(nullptr));
    EXPECT_FALSE(IsMacTJNControl(nullptr));
    EXPECT_FALSE(IsMacImgShiftControl(nullptr));
    EXPECT_FALSE(IsValidControlKeyword(nullptr, "*PageSize"));
    unsigned char out[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(GetPostScript(nullptr, out), 0);
    EXPECT_EQ(BooleanPostScript(nullptr, out), 0);
    EXPECT_EQ(PopupPostScript(nullptr, out), 0);
    EXPECT_EQ(RangePostScript(nullptr, out), 0);
    EXPECT_EQ(GetKeywordPSData(nullptr, "A4", out), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 4), "####");
    ResetControlToDefault(nullptr);

    EXPECT_FALSE(IsTrue(nullptr));
    EXPECT_FALSE(DefaultState(nullptr));
    SetValue(nullptr, true);
    EXPECT_EQ(TrueDisplayText(nullptr), nullptr);
    EXPECT_EQ(FalseDisplayText(nullptr), nullptr);
    EXPECT_FALSE(CanSelectMultipleItems(nullptr));
    EXPECT_EQ(GetDefaultKeyword(nullptr), nullptr);
    EXPECT_EQ(GetKeywordLocalName(nullptr, "A4"), nullptr);
    EXPECT_FALSE(IsKeywordSelected(nullptr, "A4"));
    EXPECT_FALSE(SetKeywordSelect(nullptr, "A4", true));
    EXPECT_EQ(PopupItemCount(nullptr), 0u);
    EXPECT_EQ(GetPopupValue(nullptr), 0);
    EXPECT_EQ(GetPopupDefaultValue(nullptr), 0);
    SetPopupValue(nullptr, 1);
    PopupItemInfo info = {"stale", CFSTR("stale")};
    EXPECT_FALSE(FirstItem(nullptr, &info));
    EXPECT_EQ(info.keyword, nullptr);
    EXPECT_EQ(info.displayName, nullptr);
    EXPECT_FALSE(NextItem(nullptr, &info));
    EXPECT_EQ(GetRangeValue(nullptr), 0);
    EXPECT_EQ(GetRangeMinimum(nullptr), 0);
    EXPECT_EQ(GetRangeMaximum(nullptr), 0);
    EXPECT_EQ(GetRangeIncrement(nullptr), 0);
    EXPECT_EQ(GetRangeDefaultVal(nullptr), 0);
    SetRangeValue(nullptr, 5);

    EXPECT_EQ(GetControlCount(nullptr), 0u);
    EXPECT_EQ(GetPopupCount(nullptr), 0u);
    EXPECT_EQ(GetBooleanCount(nullptr), 0u);
    EXPECT_EQ(GetRangeCount(nullptr), 0u);
    EXPECT_EQ(GetJobnoteCount(nullptr), 0u);
    EXPECT_TRUE(GetEmpty(nullptr));
    EXPECT_TRUE(GetNoPopups(nullptr));
    EXPECT_TRUE(GetNoBooleanControls(nullptr));
    EXPECT_TRUE(GetNoRangeControls(nullptr));
    EXPECT_TRUE(GetNoJobNotes(nullptr));
    CNTL_TYPE type = kPopupType;
    EXPECT_EQ(Find(nullptr, "*A", type, true), nullptr);
    EXPECT_EQ(GetFirst(nullptr, type), nullptr);
    EXPECT_EQ(GetNext(nullptr, type), nullptr);
    EXPECT_EQ(type, kPopupType); // untouched
    EXPECT_EQ(GetFirstPopupControl(nullptr), nullptr);
    EXPECT_EQ(GetNextPopupControl(nullptr), nullptr);
    EXPECT_EQ(GetFirstBooleanControl(nullptr), nullptr);
    EXPECT_EQ(GetNextBooleanControl(nullptr), nullptr);
    EXPECT_EQ(GetFirstRangeControl(nullptr), nullptr);
    EXPECT_EQ(GetNextRangeControl(nullptr), nullptr);
    EXPECT_EQ(GetFirstJobNote(nullptr), nullptr);
    EXPECT_EQ(GetNextJobNote(nullptr), nullptr);
    EXPECT_EQ(GetFindPopup(nullptr, "*A", true), nullptr);
    EXPECT_EQ(GetFindBoolean(nullptr, "*A", true), nullptr);
    EXPECT_EQ(GetFindRangeControl(nullptr, "*A", true), nullptr);
    EXPECT_EQ(GetFindJobNote(nullptr, "*A", true), nullptr);

    EXPECT_EQ(FirstError(nullptr), nullptr);
    EXPECT_EQ(NextError(nullptr), nullptr);
    EXPECT_TRUE(ErrorListIsEmpty(nullptr));
    EXPECT_EQ(ErrorCount(nullptr), 0u);
    EXPECT_EQ(GetErrorKeyword(nullptr), nullptr);
    EXPECT_EQ(GetErrorDescription(nullptr), nullptr);
    EXPECT_FALSE(IsErrorFatal(nullptr));
}

TEST(FlatFunctions, ElementsAndControlsOfAParsedModel) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() + collateBlock("*Collate") + rangeBlock());
    PPDXControls* controls = ppd->GetControls();
    EXPECT_EQ(ErrorCount(ppd->GetErrors()), 0u);
    EXPECT_TRUE(ErrorListIsEmpty(ppd->GetErrors()));
    EXPECT_EQ(FirstError(ppd->GetErrors()), nullptr);

    PPDXPopupControl* mode = GetFindPopup(controls, "*QVColorMode", true);
    ASSERT_NE(mode, nullptr);
    EXPECT_STREQ(Keyword(mode), "*QVColorMode");
    EXPECT_STREQ(UserName(mode), "Print Mode");
    EXPECT_TRUE(IsVisible(mode));
    EXPECT_FALSE(IsOrphan(mode));
    EXPECT_STREQ(Keyword(GetParent(mode)), "TPColor");
    EXPECT_TRUE(EqualsKeyWord(mode, "*QVColorMode"));
    EXPECT_FALSE(EqualsKeyWord(mode, "*QVColor"));
    EXPECT_TRUE(EqualsElement(mode, mode));
    EXPECT_FALSE(EqualsElement(mode, GetParent(mode)));
    EXPECT_FALSE(EqualsElement(mode, nullptr));
    EXPECT_EQ(GetControlFlagCount(mode), 2u);
    EXPECT_STREQ(GetFirstControlFlag(mode), "Command");
    EXPECT_STREQ(GetNextControlFlag(mode), "Setup");
    EXPECT_EQ(GetNextControlFlag(mode), nullptr);
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
    ResetControlToDefault(collate);
    EXPECT_EQ(BooleanPostScript(collate, nullptr), 74);

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
    EXPECT_EQ(GetNextPopupControl(controls), nullptr);
    EXPECT_EQ(GetFirstBooleanControl(controls), collate);
    EXPECT_EQ(GetNextBooleanControl(controls), nullptr);
    EXPECT_EQ(GetFirstRangeControl(controls), density);
    EXPECT_EQ(GetNextRangeControl(controls), nullptr);
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
