// Each element class in a Settings archive: the items it writes (tags, ids, order, content),
// what the archive constructor reads back, and what Restore takes into a parsed control.
#include "ControlTestSupport.h"
#include "PersistenceTestSupport.h"

#include <CarbonCore/Collections.h>
#include <CarbonCore/MacErrors.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Keys_ = std::vector<std::string>;

PPDXBooleanControl* NewBoolean(bool defaultValue) {
    PointerList flags = Flags({"Setup"});
    return new PPDXBooleanControl("*QVTrap", Str("Trapping"), flags, true, new CString("On"),
                                  Block("<</T true>>"), 11, new CString("Off"),
                                  Block("<</T false>>"), 12, defaultValue);
}

PPDXPopupControl* NewPopup(bool many = false) {
    PointerList items;
    items.PushBack(Item("A4", "A4 é", "a4 code"));
    items.PushBack(Item("Letter", nullptr, "letter code"));
    items.PushBack(Item("Legal", "Legal"));
    PointerList flags;
    return new PPDXPopupControl("*PageSize", Str("Page Size"), flags, true, many, items,
                                new CString("Letter"));
}

} // namespace

TEST(PersistElement, ElementItemsInOrderThenTheKindMarker) {
    Str name("Farbe é");
    PPDXScrollPane pane("TPSColor", Str("Pane"), true);
    PPDXGroup group("TPColor", name, false);
    group.SetParent(&pane);
    Settings s;
    ASSERT_EQ(group.Save(s, 4003), 0);
    EXPECT_EQ(Keys(s), (Keys_{"KyWd/4003", "LcNm/4003", "LcCF/4003", "isVs/4003", "PrNm/4003",
                              "gGrp/4003"}));
    EXPECT_EQ(Bytes(s, 'KyWd', 4003), "TPColor");
    EXPECT_EQ(Bytes(s, 'LcNm', 4003), "Farbe \xC3\xA9"); // the system encoding, UTF-8
    EXPECT_EQ(Number(s, 'isVs', 4003), 0);
    EXPECT_EQ(Bytes(s, 'PrNm', 4003), "TPSColor");
    EXPECT_EQ(Bytes(s, 'gGrp', 4003).size(), 1u);

    PPDXGroup rebuilt(s, 4003);
    EXPECT_STREQ(rebuilt.Keyword(), "TPColor");
    EXPECT_EQ(Utf8(rebuilt.CFStringUserName()), "Farbe é");
    EXPECT_FALSE(rebuilt.IsVisible());
    EXPECT_TRUE(rebuilt.IsOrphan());
    EXPECT_STREQ(rebuilt.ParentKeyword(), "TPSColor");
}

TEST(PersistElement, RollDownsAndScrollPanesWriteOnlyTheirOwnMarker) {
    PPDXRollDown rollDown("TPJob", nullptr, true);
    PPDXScrollPane pane("TPSJob", nullptr, true);
    Settings s;
    ASSERT_EQ(rollDown.Save(s, 4001), 0);
    ASSERT_EQ(pane.Save(s, 4002), 0);
    // No name, no parent: neither text nor UTF-16 name nor parent keyword.
    EXPECT_EQ(Keys(s), (Keys_{"KyWd/4001", "isVs/4001", "RlDn/4001", "KyWd/4002", "isVs/4002",
                              "ScPn/4002"}));
    PPDXRollDown rebuiltRollDown(s, 4001);
    ASSERT_NE(rebuiltRollDown.Controls(), nullptr);
    EXPECT_EQ(rebuiltRollDown.CFStringUserName(), nullptr);
    EXPECT_EQ(rebuiltRollDown.ParentKeyword(), nullptr);
    PPDXScrollPane rebuiltPane(s, 4002);
    ASSERT_NE(rebuiltPane.RollDowns(), nullptr);
    EXPECT_STREQ(rebuiltPane.Keyword(), "TPSJob");
}

TEST(PersistElement, PagesKeepWhereTheyShowAndStopReadingAtTheFirstGap) {
    PPDXProperty page("PPColor", Str("Color"), true, true, false);
    Settings s;
    ASSERT_EQ(page.Save(s, 3001), 0);
    EXPECT_EQ(Keys(s), (Keys_{"KyWd/3001", "LcNm/3001", "LcCF/3001", "isVs/3001", "SPPg/3001",
                              "SApp/3001"}));
    PPDXProperty rebuilt(s, 3001);
    EXPECT_TRUE(rebuilt.ShowInPrintProp());
    EXPECT_FALSE(rebuilt.ShowInApp());
    EXPECT_EQ(rebuilt.GetScrollDown(), nullptr);

    s.Remove('SPPg', 3001);
    PPDXProperty gap(s, 3001); // SApp is there, but reading stopped before it
    EXPECT_TRUE(gap.ShowInPrintProp());
    EXPECT_TRUE(gap.ShowInApp());
}

TEST(PersistElement, ControlFlagsAreBarTerminatedWordsAndOrderTwoBytes) {
    PlainControl control("*QVMode", Flags({"Setup", "MacTJN"}), "mode code");
    Settings s;
    ASSERT_EQ(control.Save(s, 5001), 0);
    EXPECT_EQ(Keys(s), (Keys_{"KyWd/5001", "LcNm/5001", "LcCF/5001", "isVs/5001", "Ordr/5001",
                              "PSDt/5001", "CFlg/5001"}));
    EXPECT_EQ(Bytes(s, 'CFlg', 5001), "Setup|MacTJN|");
    EXPECT_EQ(Bytes(s, 'Ordr', 5001).size(), 2u);
    EXPECT_EQ(Bytes(s, 'PSDt', 5001), "mode code");

    PutText(s, 'CFlg', 5001, "||Setup||MacTJN");
    int16_t order = 7;
    s.Add('Ordr', 5001, &order, sizeof order);
    PPDXRangeControl rebuilt(s, 5001); // any concrete control reads the base items alike
    EXPECT_EQ(rebuilt.Order(), 7);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(rebuilt.PSData()),
                          static_cast<size_t>(rebuilt.PSLength())),
              "mode code");
    ASSERT_EQ(rebuilt.ControlFlagCount(), 2u);
    EXPECT_STREQ(rebuilt.FirstControlFlag(), "Setup");
    EXPECT_STREQ(rebuilt.NextControlFlag(), "MacTJN");
}

TEST(PersistElement, BooleanSavesValueTextsAndCodesAndRestoresTheValue) {
    std::unique_ptr<PPDXBooleanControl> b(NewBoolean(false));
    b->SetValue(true);
    Settings s;
    ASSERT_EQ(b->Save(s, 5002), 0);
    Keys_ keys = Keys(s);
    EXPECT_EQ(Keys_(keys.begin() + 6, keys.end()),
              (Keys_{"BlnC/5002", "BCcV/5002", "BCdV/5002", "BCtT/5002", "BCfT/5002", "BtPT/5002",
                     "BfPT/5002"}));
    EXPECT_EQ(Number(s, 'BCcV', 5002), 1);
    EXPECT_EQ(Number(s, 'BCdV', 5002), 0);

    PPDXBooleanControl rebuilt(s, 5002);
    EXPECT_EQ(rebuilt.Type(), kBooleanType);
    EXPECT_TRUE(rebuilt.IsTrue());
    EXPECT_FALSE(rebuilt.DefaultState());
    EXPECT_STREQ(rebuilt.TrueDisplayText(), "On");
    EXPECT_STREQ(rebuilt.FalseDisplayText(), "Off");
    EXPECT_EQ(Code(rebuilt.TruePSData(), rebuilt.TruePSLength()), "[<</T true>>]");
    EXPECT_EQ(Code(rebuilt.FalsePSData(), rebuilt.FalsePSLength()), "[<</T false>>]");
    EXPECT_TRUE(rebuilt.IsSetup());

    std::unique_ptr<PPDXBooleanControl> parsed(NewBoolean(false));
    EXPECT_EQ(parsed->Restore(s, 5002), 0);
    EXPECT_TRUE(parsed->IsTrue());
    s.Remove('BCcV', 5002);
    parsed->SetValue(false);
    EXPECT_EQ(parsed->Restore(s, 5002), collectionItemNotFoundErr);
    EXPECT_FALSE(parsed->IsTrue());
}

TEST(PersistElement, PopupItemsSitUnderControlIdTimesHundred) {
    std::unique_ptr<PPDXPopupControl> popup(NewPopup());
    popup->SetValue(3);
    Settings s;
    ASSERT_EQ(popup->Save(s, 5004), 0);
    Keys_ keys = Keys(s);
    EXPECT_EQ(Keys_(keys.begin() + 4, keys.end()),
              (Keys_{"Ordr/5004", "PopC/5004", "PCMS/5004", "PCDK/5004", "PCIC/5004", "PCIK/500400",
                     "PCFN/500400", "PCIP/500400", "PCIS/500400", "PCIK/500401", "PCIP/500401",
                     "PCIS/500401", "PCIK/500402", "PCFN/500402", "PCIS/500402"}));
    EXPECT_EQ(Number(s, 'PCIC', 5004), 3);
    EXPECT_EQ(Bytes(s, 'PCDK', 5004), "Letter");
    EXPECT_EQ(Number(s, 'PCIS', 500402), 1);

    PPDXPopupControl rebuilt(s, 5004);
    EXPECT_EQ(rebuilt.Type(), kPopupType);
    EXPECT_FALSE(rebuilt.CanSelectMultipleItems());
    EXPECT_STREQ(rebuilt.GetDefaultKeyword(), "Letter");
    ASSERT_EQ(rebuilt.ItemCount(), 3u);
    _PopupItem* a4 = rebuilt.FirstItem();
    EXPECT_EQ(Text(a4->Keyword()) + Utf8(a4->mLocalName) + Code(a4->mPSData, a4->PSLength()),
              "'A4'A4 é[a4 code]");
    _PopupItem* letter = rebuilt.NextItem();
    EXPECT_EQ(letter->mLocalName, nullptr);
    EXPECT_EQ(rebuilt.GetValue(), 3);
    ASSERT_NE(rebuilt.CurrentItem(), nullptr);
    EXPECT_STREQ(rebuilt.CurrentItem()->Keyword(), "Legal");
}

TEST(PersistElement, PopupWithoutItemsOrOverlongItemCounts) {
    PointerList none, flags;
    PPDXPopupControl empty("*Empty", Str("E"), flags, true, false, none, nullptr);
    Settings s;
    ASSERT_EQ(empty.Save(s, 5001), 0);
    EXPECT_EQ(Bytes(s, 'PCIC', 5001), "<missing>");
    PPDXPopupControl rebuiltEmpty(s, 5001);
    EXPECT_EQ(rebuiltEmpty.ItemCount(), 0u);
    EXPECT_EQ(rebuiltEmpty.CurrentItem(), nullptr);

    // A count beyond the saved items ends at the first id with nothing under it.
    std::unique_ptr<PPDXPopupControl> popup(NewPopup());
    Settings t;
    ASSERT_EQ(popup->Save(t, 5002), 0);
    PutInt(t, 'PCIC', 5002, 1000000);
    PPDXPopupControl damaged(t, 5002);
    EXPECT_EQ(damaged.ItemCount(), 3u);
    EXPECT_STREQ(damaged.CurrentItem()->Keyword(), "Letter"); // the default, selected again

    // More items than ids between two controls: the rest under tags of their own.
    PointerList many;
    for (int i = 0; i < 101; ++i)
        many.PushBack(Item(("K" + std::to_string(i)).c_str()));
    PPDXPopupControl big("*Big", Str("B"), flags, true, false, many, nullptr);
    Settings u;
    EXPECT_EQ(big.Save(u, 5003), 0);
    EXPECT_EQ(Bytes(u, 'PCIK', 500399), "K99");
    EXPECT_EQ(Bytes(u, 'PCIK', 500400), "<missing>"); // the next control's first item
    EXPECT_EQ(Bytes(u, 'PXIK', 500300100), "K100");
}

TEST(PersistElement, PopupItemNameFallsBackToSystemEncodingText) {
    Settings s;
    PutText(s, 'PopC', 5001, "x");
    PutInt(s, 'PCIC', 5001, 1);
    PutText(s, 'PCIK', 500100, "A4");
    PutText(s, 'PCIN', 500100, "A4 \xC3\xA9"); // UTF-8, the system encoding
    // An archive of the time the system encoding was Mac Roman still reads.
    PutText(s, 'PCIK', 500101, "A5");
    PutText(s, 'PCIN', 500101, "A5 \x8E");
    PutInt(s, 'PCIC', 5001, 2);
    PPDXPopupControl rebuilt(s, 5001);
    ASSERT_EQ(rebuilt.ItemCount(), 2u);
    EXPECT_EQ(Utf8(rebuilt.FirstItem()->mLocalName), "A4 é");
    EXPECT_FALSE(rebuilt.FirstItem()->mSelected);
    EXPECT_EQ(Utf8(rebuilt.NextItem()->mLocalName), "A5 é");
}

TEST(PersistElement, PopupRestoreMatchesByPositionAndStopsAtAMissingSelection) {
    std::unique_ptr<PPDXPopupControl> saved(NewPopup(true));
    saved->SetKeywordSelect("A4", true); // multiple selection: A4 and Letter selected
    Settings s;
    ASSERT_EQ(saved->Save(s, 5001), 0);

    std::unique_ptr<PPDXPopupControl> parsed(NewPopup(true));
    EXPECT_EQ(parsed->Restore(s, 5001), 0);
    EXPECT_TRUE(parsed->IsKeywordSelected("A4"));
    EXPECT_TRUE(parsed->IsKeywordSelected("Letter"));
    EXPECT_FALSE(parsed->IsKeywordSelected("Legal"));
    EXPECT_STREQ(parsed->CurrentItem()->Keyword(), "Letter"); // the last one found selected

    s.Remove('PCIS', 500101);
    std::unique_ptr<PPDXPopupControl> cut(NewPopup(false));
    EXPECT_EQ(cut->Restore(s, 5001), collectionItemNotFoundErr);
    EXPECT_STREQ(cut->CurrentItem()->Keyword(), "A4"); // first item was read before the gap
    EXPECT_FALSE(cut->IsKeywordSelected("Letter"));
}

TEST(PersistElement, RangesKeepTheirNumbersAsSavedAndFloatRangesTheirKind) {
    PointerList flags;
    PPDXRangeControl range("*QVDensity", Str("Density"), flags, Block("<keyword> d"), 11, -3, 3, 1,
                           0, true);
    range.SetCurrentControlWithCFString(Str("99")); // unclamped, as the user interface may
    Settings s;
    ASSERT_EQ(range.Save(s, 5001), 0);
    Keys_ keys = Keys(s);
    EXPECT_EQ(Keys_(keys.begin() + 6, keys.end()), (Keys_{"RngC/5001", "RCVl/5001", "RCMn/5001",
                                                          "RCMx/5001", "RCIn/5001", "RCDf/5001"}));
    PPDXRangeControl rebuilt(s, 5001);
    EXPECT_EQ(rebuilt.Type(), kRangeType);
    EXPECT_EQ(std::to_string(rebuilt.GetValue()) + " " + std::to_string(rebuilt.MinVal()) + " " +
                  std::to_string(rebuilt.MaxVal()) + " " + std::to_string(rebuilt.Increment()) +
                  " " + std::to_string(rebuilt.DefaultValue()),
              "99 -3 3 1 0");

    PPDXRangeControl parsed("*QVDensity", Str("Density"), flags, nullptr, 0, -3, 3, 1, 0, true);
    EXPECT_EQ(parsed.Restore(s, 5001), 0);
    EXPECT_EQ(parsed.GetValue(), 99);
    s.Remove('RCVl', 5001);
    EXPECT_EQ(parsed.Restore(s, 5001), collectionItemNotFoundErr);

    PPDXFloatRangeControl real("*QVGamma", Str("Gamma"), flags, nullptr, 0, 0, 2, 1, 1, true);
    real.SetCurrentControlWithCFString(Str("1.25"));
    Settings f;
    ASSERT_EQ(real.Save(f, 5001), 0);
    PutInt(f, 5000, 5002, 1); // the count the model's save writes before its controls
    EXPECT_EQ(Bytes(f, 'RnFl', 5001).size(), 1u);
    PPDXControls controls(f); // the container decides the class by the markers
    CNTL_TYPE type;
    ScopedDisplayOptions all(kShowAll);
    auto* floatRange = dynamic_cast<PPDXFloatRangeControl*>(controls.First(type));
    ASSERT_NE(floatRange, nullptr);
    EXPECT_FLOAT_EQ(floatRange->GetValue(), 1.25f);
    EXPECT_FLOAT_EQ(floatRange->MaxVal(), 2.0f);
    delete floatRange;
}

TEST(PersistElement, JobNoteKeepsItsDeclarationAndRestoresOnlyTheText) {
    PointerList flags;
    CString encoding("ISOLatin1");
    PPDXJobNote note("*Notes1", Str("Notes"), flags, Block("(<*Notes1>) show"), 16,
                     new CString("Draft"), &encoding, true, 32, kJobNoteAlpha | kJobNoteNumeric, 4);
    note.SetNotes("Room 5");
    note.SetNotesOnValue(true);
    Settings s;
    ASSERT_EQ(note.Save(s, 5003), 0);
    Keys_ keys = Keys(s);
    EXPECT_EQ(Keys_(keys.begin() + 6, keys.end()),
              (Keys_{"JbNt/5003", "jNtT/5003", "jNDT/5003", "jMxL/5003", "jMnL/5003", "jNtF/5003",
                     "jNOn/5003"}));
    CString other("ISOLatin2");
    PPDXJobNote rebuilt(s, 5003, &other);
    EXPECT_EQ(rebuilt.Type(), kJobNoteType);
    EXPECT_EQ(Text(rebuilt.GetNotes()) + Text(rebuilt.GetDefaultNotes()) +
                  Text(rebuilt.LanguageEncoding()),
              "'Room 5''Draft''ISOLatin2'");
    EXPECT_EQ(rebuilt.MaxLength(), 32);
    EXPECT_EQ(rebuilt.MinLength(), 4);
    EXPECT_EQ(rebuilt.Flags(), kJobNoteAlpha | kJobNoteNumeric);
    EXPECT_TRUE(rebuilt.GetNotesOnValue());

    note.SetNotes(nullptr);
    Settings empty;
    ASSERT_EQ(note.Save(empty, 5003), 0);
    EXPECT_EQ(Bytes(empty, 'jNtT', 5003), "<missing>");
    EXPECT_EQ(rebuilt.Restore(empty, 5003), 0); // never fails: no saved text, no text
    EXPECT_EQ(rebuilt.GetNotes(), nullptr);
    EXPECT_EQ(rebuilt.Restore(s, 5003), 0);
    EXPECT_STREQ(rebuilt.GetNotes(), "Room 5");
}

TEST(PersistElement, SpecialOptionKeepsItsValueUnlessTheArchiveHasNone) {
    PointerList flags;
    char value[] = "Tovrane CS-50";
    PPDXSpecialOption option("*QVColorServer", Str("*QVColorServer"), flags, value, nullptr, 0,
                             false);
    Settings s;
    ASSERT_EQ(option.Save(s, 5001), 0);
    Keys_ keys = Keys(s);
    EXPECT_EQ(Keys_(keys.begin() + 4, keys.end()), (Keys_{"Ordr/5001", "soCN/5001", "soVl/5001"}));
    PPDXSpecialOption rebuilt(s, 5001);
    EXPECT_EQ(rebuilt.Type(), kSpecialOptionType);
    EXPECT_STREQ(*rebuilt.GetValue(), "Tovrane CS-50");
    EXPECT_FALSE(rebuilt.IsVisible());

    PutText(s, 'soVl', 5001, "Other");
    EXPECT_EQ(option.Restore(s, 5001), 0);
    EXPECT_STREQ(*option.GetValue(), "Other");
    s.Remove('soVl', 5001);
    EXPECT_EQ(option.Restore(s, 5001), 0);
    EXPECT_STREQ(*option.GetValue(), "Other");
}
