// The control container (kind lists, counts under the display options, walks and look-ups)
// and the keyword index.
#include "ControlTestSupport.h"
#include "KeywordTo_PPDControl.h"
#include "PPDXBooleanControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXFloatRangeControl.h"
#include "PPDXJobNote.h"
#include "PPDXPopupControl.h"
#include "PPDXRangeControl.h"
#include "PPDXSpecialOption.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

/// One control of each kind, parented or not and visible or not as asked; owns them.
struct Model {
    PlainControl group{"*Group", Flags({})};
    std::vector<std::unique_ptr<PPDXControl>> owned;
    PPDXControls controls;

    template <class C> C* Add(C* control, bool orphan = false) {
        if (!orphan)
            control->SetParent(&group);
        owned.emplace_back(control);
        controls.Add(control);
        return control;
    }
    PPDXPopupControl* Popup(const char* keyword, bool visible = true, bool orphan = false) {
        PointerList flags, items;
        return Add(new PPDXPopupControl(keyword, CFSTR("P"), flags, visible, false, items, nullptr),
                   orphan);
    }
    PPDXBooleanControl* Boolean(const char* keyword, bool visible = true, bool orphan = false) {
        PointerList flags;
        return Add(new PPDXBooleanControl(keyword, CFSTR("B"), flags, visible, nullptr, nullptr, 0,
                                          nullptr, nullptr, 0, false),
                   orphan);
    }
    PPDXRangeControl* Range(const char* keyword) {
        PointerList flags;
        return Add(new PPDXRangeControl(keyword, CFSTR("R"), flags, nullptr, 0, 0, 9, 1, 0, true));
    }
    PPDXFloatRangeControl* Float(const char* keyword) {
        PointerList flags;
        return Add(
            new PPDXFloatRangeControl(keyword, CFSTR("F"), flags, nullptr, 0, 0, 9, 1, 0, true));
    }
    PPDXJobNote* JobNote(const char* keyword, bool visible, bool orphan) {
        PointerList flags;
        return Add(new PPDXJobNote(keyword, CFSTR("N"), flags, nullptr, 0, nullptr, nullptr,
                                   visible, 32, 0, 0),
                   orphan);
    }
    PPDXSpecialOption* Special(const char* keyword, bool visible, bool orphan) {
        PointerList flags;
        char value[] = "True";
        return Add(new PPDXSpecialOption(keyword, CFSTR("S"), flags, value, nullptr, 0, visible),
                   orphan);
    }
    PlainControl* Plain(const char* keyword, CNTL_TYPE type, bool visible, bool orphan) {
        return Add(new PlainControl(keyword, Flags({}), nullptr, type, visible), orphan);
    }
};

/// The keywords that First/Next show, joined by spaces.
std::string Shown(PPDXControls& controls) {
    std::string s;
    CNTL_TYPE type;
    for (PPDXControl* c = controls.First(type); c; c = controls.Next(type))
        s += std::string(s.empty() ? "" : " ") + c->Keyword();
    return s;
}

} // namespace

TEST(PPDXControls, SortsControlsIntoTheirKindLists) {
    Model m;
    m.controls.Add(nullptr);
    PPDXPopupControl* popup = m.Popup("*PageSize");
    PPDXBooleanControl* boolean = m.Boolean("*Collate");
    PPDXFloatRangeControl* real = m.Float("*Gamma");
    PPDXRangeControl* range = m.Range("*Density");
    PPDXJobNote* note = m.JobNote("*Notes1", true, false);
    PPDXSpecialOption* special = m.Special("*DeviceLink", false, true);
    PlainControl* untyped = m.Plain("*Odd", kNoControlType, true, false);
    m.Plain("*FakeNote", kJobNoteType, true, false); // the kind alone does not make a job note

    ScopedDisplayOptions all(kShowAll);
    EXPECT_EQ(Shown(m.controls),
              "*PageSize *Collate *Gamma *Density *Notes1 *DeviceLink *Odd *FakeNote");
    EXPECT_EQ(m.controls.FirstPopupControl(), popup);
    EXPECT_EQ(m.controls.NextPopupControl(), nullptr);
    EXPECT_EQ(m.controls.NextPopupControl(), nullptr);
    EXPECT_EQ(m.controls.FirstBooleanControl(), boolean);
    EXPECT_EQ(m.controls.FirstRangeControl(), range); // never the floating-point range
    EXPECT_EQ(m.controls.NextRangeControl(), nullptr);
    EXPECT_EQ(m.controls.FirstJobNote(), note);
    EXPECT_EQ(m.controls.NextJobNote(), nullptr);
    EXPECT_EQ(m.controls.FirstSpecialOption(), special);
    EXPECT_EQ(m.controls.ControlCount(), 4u);
    EXPECT_EQ(m.controls.RangeCount(), 1u);
    CNTL_TYPE type;
    EXPECT_EQ(m.controls.Find("*Gamma", type, true), real);
    EXPECT_EQ(type, kRangeType);
    EXPECT_EQ(m.controls.Find("*Odd", type, true), untyped);
    EXPECT_EQ(type, kNoControlType);
}

TEST(PPDXControls, CountsFollowTheDisplayOptions) {
    Model m;
    m.Popup("*P1");                // visible child
    m.Popup("*P2", false);         // hidden child
    m.Popup("*P3", true, true);    // visible orphan
    m.Popup("*P4", false, true);   // hidden orphan
    m.Boolean("*B1", false, true); // hidden orphan
    const uint32_t expected[] = {1, 2, 2, 4, 0};
    const _DISPLAY_OPTIONS_ options[] = {0, 1, 2, 3, 4};
    const char* shown[] = {"*P1", "*P1 *P3", "*P1 *P2", "*P1 *P2 *P3 *P4 *B1",
                           "*P1 *P2 *P3 *P4 *B1"}; // unknown options: counted as 0, all shown
    for (int i = 0; i < 5; ++i) {
        ScopedDisplayOptions scoped(options[i]);
        SCOPED_TRACE(options[i]);
        EXPECT_EQ(m.controls.PopupCount(), expected[i]);
        EXPECT_EQ(m.controls.BooleanCount(), options[i] == 3 ? 1u : 0u);
        EXPECT_EQ(m.controls.NoPopups(), expected[i] == 0);
        EXPECT_EQ(m.controls.ControlCount(), expected[i] + m.controls.BooleanCount());
        EXPECT_EQ(Shown(m.controls), shown[i]);
    }
    CountArray counts;
    PlainControl hiddenOrphan("*X", Flags({}), nullptr, kNoControlType, false);
    PPDXControls::Increment(&hiddenOrphan, counts);
    EXPECT_EQ(counts.total, 1u);
    EXPECT_EQ(counts.orphans, 1u);
    EXPECT_EQ(counts.hidden, 1u);
    EXPECT_EQ(counts.hiddenOrphans, 1u);
}

TEST(PPDXControls, JobNotesAndSpecialOptionsAreCountedUnderFixedOptions) {
    Model m;
    m.JobNote("*Notes1", true, true);   // visible orphan: counted
    m.JobNote("*Notes2", false, false); // hidden: not counted
    m.Special("*Link", false, true);
    ScopedDisplayOptions none(0);
    EXPECT_EQ(m.controls.JobNoteCount(), 1u);
    EXPECT_EQ(m.controls.SpecialOptionsCount(), 1u);
    EXPECT_EQ(PPDXDisplay::Get(), 0u); // put back
    EXPECT_FALSE(m.controls.NoJobNotes());
    EXPECT_FALSE(m.controls.NoSpecialOptions());
    EXPECT_FALSE(m.controls.Empty());
    EXPECT_EQ(m.controls.ControlCount(), 1u);

    PPDXControls empty;
    EXPECT_TRUE(empty.Empty());
    CNTL_TYPE type = kPopupType;
    EXPECT_EQ(empty.First(type), nullptr);
    EXPECT_EQ(type, kNoControlType);
    EXPECT_EQ(empty.Next(type), nullptr);
}

TEST(PPDXControls, FindExactOrBySubstringAmongShownControls) {
    Model m;
    PPDXPopupControl* pageSize = m.Popup("*PageSize");
    PPDXPopupControl* hidden = m.Popup("*HiddenSize", false);
    m.Boolean(nullptr);
    PPDXBooleanControl* collate = m.Boolean("*Collate");
    ScopedDisplayOptions visibleOnly(0);
    CNTL_TYPE type;
    EXPECT_EQ(m.controls.Find("Size", type, false), pageSize);
    EXPECT_EQ(type, kPopupType);
    EXPECT_EQ(m.controls.Find("Size", type, true), nullptr);
    EXPECT_EQ(m.controls.Find("*HiddenSize", type, true), nullptr);
    EXPECT_EQ(m.controls.Find(nullptr, type, false), nullptr);
    EXPECT_EQ(m.controls.Find("late", type, false), collate);
    EXPECT_EQ(type, kBooleanType);

    // The kind look-ups do not filter.
    EXPECT_EQ(m.controls.FindPopup("*HiddenSize", true), hidden);
    EXPECT_EQ(m.controls.FindPopup("Hidden", false), hidden);
    EXPECT_EQ(m.controls.FindPopup("*Collate", true), nullptr);
    EXPECT_EQ(m.controls.FindBoolean("*Collate", true), collate);
    EXPECT_EQ(m.controls.FindRangeControl("*Collate", false), nullptr);
    EXPECT_EQ(m.controls.FindJobNote("*Collate", false), nullptr);
    EXPECT_EQ(m.controls.FindSpecialOption(nullptr, false), nullptr);
}

TEST(KeywordTo_PPDControl, SortedLookupFindsOnlyEqualKeywords) {
    PlainControl a("*A", Flags({})), b("*B", Flags({})), c("*C", Flags({}));
    KeywordTo_PPDControl index;
    EXPECT_TRUE(index.IsSorted());
    EXPECT_TRUE(index.insert("*C", &c));
    char keyword[] = "*A";
    EXPECT_TRUE(index.insert(keyword, &a));
    keyword[1] = 'Z'; // the index keeps its own copy
    EXPECT_FALSE(index.insert(nullptr, &b));
    EXPECT_FALSE(index.IsSorted());
    EXPECT_EQ(index.Lookup("*A"), &a); // unsorted: still found
    index.EndInsertion();
    EXPECT_TRUE(index.IsSorted());
    EXPECT_EQ(index.size(), 2ul);
    EXPECT_STREQ(index[0ul]->keyword, "*A");
    EXPECT_EQ(index[1ul]->control, &c);
    EXPECT_EQ(index[2ul], nullptr);

    EXPECT_EQ(index.Lookup("*A"), &a);
    EXPECT_EQ(index["*C"], &c);
    EXPECT_EQ(index.Lookup("*B"), nullptr);
    EXPECT_EQ(index.Lookup("*D"), nullptr);
    EXPECT_EQ(index.Lookup(""), nullptr);
    EXPECT_EQ(index.Lookup(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_STREQ(index.Lookup(&c), "*C");
    EXPECT_EQ(index.Lookup(&b), nullptr);
}

TEST(KeywordTo_PPDControl, EqualKeywordsKeepTheirInsertionOrder) {
    PlainControl first("*K", Flags({})), second("*K", Flags({}));
    KeywordTo_PPDControl index;
    index.insert("*Z", &second);
    index.insert("*K", &first);
    index.insert("*K", &second);
    index.EndInsertion();
    EXPECT_EQ(index.Lookup("*K"), &first);
    EXPECT_STREQ(index.Lookup(&second), "*K");
}

TEST(KeywordTo_PPDControl, ALargeIndexFindsEveryKeywordAndNoOther) {
    std::vector<std::unique_ptr<PlainControl>> controls;
    KeywordTo_PPDControl index;
    for (int i = 0; i < 300; ++i) { // inserted out of order
        std::string keyword = "*K" + std::to_string((i * 7919) % 300);
        controls.emplace_back(new PlainControl(keyword.c_str(), Flags({})));
        index.insert(keyword.c_str(), controls.back().get());
    }
    index.EndInsertion();
    for (const auto& c : controls) {
        ASSERT_EQ(index.Lookup(c->Keyword()), c.get()) << c->Keyword();
        ASSERT_STREQ(index.Lookup(c.get()), c->Keyword());
    }
    for (const char* absent : {"*K", "*K300", "*K-1", "*J0", "*L0", "*K00"})
        EXPECT_EQ(index.Lookup(absent), nullptr) << absent;
}
