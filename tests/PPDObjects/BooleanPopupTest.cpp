// Boolean and popup controls: values, selection rules, text forms and their feature blocks.
#include "ControlTestSupport.h"
#include "PPDXBooleanControl.h"
#include "PPDXPopupControl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kCollateTrue[] = "<</Collate true>>setpagedevice\n";

PPDXBooleanControl* Collate(bool defaultValue) {
    PointerList flags = Flags({"Setup"});
    return new PPDXBooleanControl("*Collate", CFSTR("Collate"), flags, true, new CString("On"),
                                  Block(kCollateTrue), 31, new CString("Off"),
                                  Block("<</Collate false>>setpagedevice\n"), 32, defaultValue);
}

/// A popup over keywords A, B, C (names "Name A"...; B has code) with the given default.
PPDXPopupControl* ABC(bool pickMany, const char* defaultKeyword) {
    PointerList flags, items;
    items.PushBack(Item("A", "Name A"));
    items.PushBack(Item("B", "Name B", "/B setx\n"));
    items.PushBack(Item("C", "Name C"));
    return new PPDXPopupControl("*Letters", CFSTR("Letters"), flags, true, pickMany, items,
                                defaultKeyword ? new CString(defaultKeyword) : nullptr);
}

/// The selected flags of every item, as a string of 0 and 1.
std::string Selection(PPDXPopupControl& popup) {
    std::string s;
    for (_PopupItem* item = popup.FirstItem(); item; item = popup.NextItem())
        s += item->mSelected ? '1' : '0';
    return s;
}

} // namespace

TEST(PPDXBooleanControl, StartsAtTheDefaultAndResetsToIt) {
    PPDXBooleanControl* control = Collate(true);
    EXPECT_TRUE(control->IsTrue());
    EXPECT_EQ(control->PSData(), nullptr); // the base code stays empty
    control->SetValue(false);
    EXPECT_FALSE(control->IsTrue());
    control->ResetToDefaultValue();
    EXPECT_TRUE(control->IsTrue());
    delete control;

    PointerList flags;
    PPDXBooleanControl bare("*B", CFSTR("B"), flags, true, nullptr, nullptr, 0, nullptr, nullptr,
                            -4, false);
    EXPECT_EQ(bare.TrueDisplayText(), nullptr);
    EXPECT_EQ(bare.FalsePSLength(), 0);
}

TEST(PPDXBooleanControl, WritesTheFramedCodeOfTheCurrentSide) {
    PPDXBooleanControl* control = Collate(true);
    std::string expected =
        "%%BeginFeature: *Collate True\n" + std::string(kCollateTrue) + "%%EndFeature\n";
    EXPECT_EQ(control->PostScript(nullptr), 74);
    EXPECT_EQ(WrittenPostScript(*control), expected);

    control->SetValue(false);
    EXPECT_EQ(WrittenPostScript(*control), "%%BeginFeature: *Collate False\n"
                                           "<</Collate false>>setpagedevice\n%%EndFeature\n");
    delete control;

    PointerList flags;
    PPDXBooleanControl noCode("*Staple", CFSTR("S"), flags, true, nullptr, nullptr, 0, nullptr,
                              nullptr, 0, true);
    EXPECT_EQ(WrittenPostScript(noCode), "%%BeginFeature: *Staple True\n\n%%EndFeature\n");
    PPDXBooleanControl noKeyword(nullptr, CFSTR("S"), flags, true, nullptr, Block("x"), 1, nullptr,
                                 nullptr, 0, true);
    EXPECT_EQ(noKeyword.PostScript(nullptr), 0);
}

TEST(PPDXBooleanControl, TextFormsUseTheFirstFourCharactersIgnoringCase) {
    PPDXBooleanControl* control = Collate(false);
    EXPECT_EQ(Take(control->GetCurrentControlValueString()), "False");
    for (const char* yes : {"true", "TRUE", "Trueish"}) {
        control->SetValue(false);
        control->SetCurrentControlWithCFString(Str(yes));
        EXPECT_TRUE(control->IsTrue()) << yes;
    }
    EXPECT_EQ(Take(control->GetCurrentControlValueString()), "True");
    for (const char* no : {"yes", "Tru", "", " true", "False"}) {
        control->SetValue(true);
        control->SetCurrentControlWithCFString(Str(no));
        EXPECT_FALSE(control->IsTrue()) << no;
    }
    control->SetValue(true);
    control->SetCurrentControlWithCFString(nullptr);
    EXPECT_FALSE(control->IsTrue());
    delete control;
}

TEST(PPDXPopupControl, SelectsTheDefaultAndCountsPositionsFromOne) {
    PPDXPopupControl* popup = ABC(false, "B");
    EXPECT_EQ(popup->Type(), kPopupType);
    EXPECT_EQ(popup->ItemCount(), 3u);
    EXPECT_FALSE(popup->CanSelectMultipleItems());
    EXPECT_STREQ(popup->GetDefaultKeyword(), "B");
    EXPECT_EQ(Selection(*popup), "010");
    EXPECT_EQ(popup->GetValue(), 2);
    EXPECT_EQ(popup->DefaultValue(), 2);
    EXPECT_STREQ(popup->CurrentItem()->Keyword(), "B");
    EXPECT_TRUE(popup->IsKeywordSelected("B"));
    EXPECT_FALSE(popup->IsKeywordSelected("A"));

    popup->SetValue(3);
    EXPECT_EQ(Selection(*popup), "001");
    EXPECT_STREQ(popup->CurrentItem()->Keyword(), "C");
    popup->SetValue(4); // outside: all deselected, the current item stays
    EXPECT_EQ(Selection(*popup), "000");
    EXPECT_EQ(popup->GetValue(), 0);
    EXPECT_STREQ(popup->CurrentItem()->Keyword(), "C");
    popup->ResetToDefaultValue();
    EXPECT_EQ(Selection(*popup), "010");
    delete popup;

    PPDXPopupControl* noDefault = ABC(false, nullptr);
    EXPECT_EQ(noDefault->GetValue(), 0);
    EXPECT_EQ(noDefault->CurrentItem(), nullptr);
    EXPECT_EQ(noDefault->GetDefaultKeyword(), nullptr);
    delete noDefault;
}

TEST(PPDXPopupControl, ADefaultNamingNoItemResetsToNothingSelected) {
    PPDXPopupControl* popup = ABC(false, "Z");
    EXPECT_EQ(popup->DefaultValue(), 0);
    popup->SetValue(1);
    popup->ResetToDefaultValue();
    EXPECT_EQ(Selection(*popup), "000");
    delete popup;
}

TEST(PPDXPopupControl, KeywordSelectionWithAndWithoutPickMany) {
    PPDXPopupControl* one = ABC(false, "B");
    EXPECT_TRUE(one->SetKeywordSelect("C", true));
    EXPECT_EQ(Selection(*one), "001");
    EXPECT_STREQ(one->CurrentItem()->Keyword(), "C");
    EXPECT_TRUE(one->SetKeywordSelect("C", false));
    EXPECT_EQ(Selection(*one), "000");
    // An unknown keyword: the walk still deselects every item, and the answer is false.
    one->SetValue(2);
    EXPECT_FALSE(one->SetKeywordSelect("Q", true));
    EXPECT_EQ(Selection(*one), "000");
    one->SetValue(2);
    EXPECT_FALSE(one->SetKeywordSelect(nullptr, true));
    EXPECT_EQ(Selection(*one), "000");
    delete one;

    PPDXPopupControl* many = ABC(true, "B");
    EXPECT_TRUE(many->CanSelectMultipleItems());
    EXPECT_TRUE(many->SetKeywordSelect("C", true));
    EXPECT_EQ(Selection(*many), "011");
    EXPECT_EQ(many->GetValue(), 2);
    EXPECT_STREQ(many->CurrentItem()->Keyword(), "C");
    EXPECT_TRUE(many->SetKeywordSelect("B", false));
    EXPECT_EQ(Selection(*many), "001");
    EXPECT_FALSE(many->SetKeywordSelect("Q", true)); // others keep their state
    EXPECT_EQ(Selection(*many), "001");
    delete many;
}

TEST(PPDXPopupControl, WritesTheCurrentItemsFramedCode) {
    PointerList flags, items;
    items.PushBack(Item("A4", "A4"));
    items.PushBack(Item("Letter", "Letter", "<</PageSize [612 792]>>setpagedevice\n"));
    PPDXPopupControl popup("*PageSize", CFSTR("Page Size"), flags, true, false, items,
                           new CString("A4"));
    EXPECT_EQ(popup.PostScript(nullptr), 43);
    EXPECT_EQ(WrittenPostScript(popup), "%%BeginFeature: *PageSize A4\n\n%%EndFeature\n");
    popup.SetKeywordSelect("Letter", true);
    EXPECT_EQ(WrittenPostScript(popup), "%%BeginFeature: *PageSize Letter\n"
                                        "<</PageSize [612 792]>>setpagedevice\n%%EndFeature\n");
    EXPECT_EQ(popup.GetKeywordPSData("A4", nullptr), 43);
    EXPECT_EQ(popup.GetKeywordPSData("Legal", nullptr), 0);
    EXPECT_EQ(popup.GetKeywordPSData(nullptr, nullptr), 0);

    PPDXPopupControl* none = ABC(false, nullptr);
    EXPECT_EQ(none->PostScript(nullptr), 0);
    delete none;
}

TEST(PPDXPopupControl, ANegativeItemCodeLengthCountsAsNone) {
    PointerList flags, items;
    items.PushBack(new _PopupItem("X", nullptr, Block("junk"), -7));
    items.PushBack(new _PopupItem(nullptr, nullptr, nullptr, 0));
    PPDXPopupControl popup("*K", CFSTR("K"), flags, true, false, items, new CString("X"));
    EXPECT_EQ(WrittenPostScript(popup), "%%BeginFeature: *K X\n\n%%EndFeature\n");
    popup.SetValue(2); // an item without keyword writes nothing
    EXPECT_EQ(popup.PostScript(nullptr), 0);
    EXPECT_EQ(Take(popup.GetCurrentControlValueString()), "<null>");

    PointerList noItems;
    PPDXPopupControl noKeyword(nullptr, CFSTR("K"), flags, true, false, noItems, nullptr);
    noKeyword.AppendPopupItem(Item("X"));
    noKeyword.AppendPopupItem(nullptr);
    EXPECT_EQ(noKeyword.ItemCount(), 1u);
    EXPECT_EQ(noKeyword.GetKeywordPSData("X", nullptr), 0);
}

TEST(PPDXPopupControl, LocalNamesOfTheLastItemWithTheKeyword) {
    PointerList flags, items;
    items.PushBack(Item("A", "Erste"));
    items.PushBack(Item("A", "Zweite Größe"));
    items.PushBack(Item("N"));
    PPDXPopupControl popup("*K", CFSTR("K"), flags, true, false, items, nullptr);
    EXPECT_STREQ(popup.GetKeywordLocalName("A"), "Zweite Gr\xC3\xB6\xC3\x9F"
                                                 "e");
    EXPECT_EQ(PMCFStringCopyUTF8(popup.GetKeywordCFLocalName("A")), "Zweite Größe");
    EXPECT_EQ(popup.GetKeywordLocalName("N"), nullptr);
    EXPECT_EQ(popup.GetKeywordLocalName("Q"), nullptr);
    EXPECT_EQ(popup.GetKeywordCFLocalName(nullptr), nullptr);
    _PopupItem* first = popup.FirstItem();
    EXPECT_STREQ(first->displayName(), "Erste");
    EXPECT_EQ(first->displayName(), first->displayName());
}

TEST(PPDXPopupControl, TextFormIsTheCurrentKeyword) {
    PPDXPopupControl* popup = ABC(false, "A");
    EXPECT_EQ(Take(popup->GetCurrentControlValueString()), "A");
    popup->SetCurrentControlWithCFString(Str("C"));
    EXPECT_EQ(Selection(*popup), "001");
    popup->SetCurrentControlWithCFString(Str("c")); // no match: unchanged
    popup->SetCurrentControlWithCFString(nullptr);
    EXPECT_EQ(Selection(*popup), "001");
    EXPECT_EQ(Take(popup->GetCurrentControlValueString()), "C");
    delete popup;
}

TEST(PPDXPopupControl, RebuildKeepsTheCurrentKeyword) {
    PPDXPopupControl* popup = ABC(false, "A");
    popup->SetKeywordSelect("C", true);
    PointerList items;
    items.PushBack(Item("C", "New C"));
    items.PushBack(nullptr); // dropped, not an item
    items.PushBack(Item("D", "New D"));
    EXPECT_TRUE(popup->Rebuild("Renamed", items, new CString("D")));
    EXPECT_TRUE(items.Empty()); // the nodes moved over with the items
    EXPECT_EQ(popup->ItemCount(), 2u);
    EXPECT_EQ(Selection(*popup), "10");
    EXPECT_STREQ(popup->CurrentItem()->Keyword(), "C");
    EXPECT_STREQ(popup->GetDefaultKeyword(), "D");
    EXPECT_STREQ(popup->UserName(), "Renamed");
    EXPECT_EQ(PMCFStringCopyUTF8(popup->CFStringUserName()), "Renamed");

    // The remembered keyword is gone: the new default stays selected.
    PointerList others;
    others.PushBack(Item("E"));
    others.PushBack(Item("F"));
    EXPECT_TRUE(popup->Rebuild("Renamed", others, new CString("F")));
    EXPECT_EQ(Selection(*popup), "01");
    EXPECT_STREQ(popup->CurrentItem()->Keyword(), "F");
    delete popup;
}

TEST(PPDXPopupControl, RebuildWithoutCurrentItemChangesNothing) {
    PPDXPopupControl* popup = ABC(false, nullptr);
    PointerList items;
    _PopupItem* kept = Item("X");
    items.PushBack(kept);
    CString* defaultKeyword = new CString("X");
    EXPECT_FALSE(popup->Rebuild("Other", items, defaultKeyword));
    EXPECT_EQ(popup->ItemCount(), 3u);
    EXPECT_STREQ(popup->UserName(), "Letters");
    delete kept; // still the caller's
    delete defaultKeyword;
    delete popup;
}
