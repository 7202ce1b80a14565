// Groups, roll-downs, scroll panes, property pages and their containers.
#include "GroupName.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXGroups.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXRollDown.h"
#include "PPDXScrollPane.h"

#include <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// A string of its own (the groups retain and release it).
CFStringRef MakeString(const char* text) {
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingMacRoman);
}

/// Seven groups of the four kinds the counters tell apart, so that every option gives a
/// different count: visible with parent (x3), visible orphan (x2), hidden with parent, hidden
/// orphan. Options 0..3 show 3, 5, 4 and 7 groups.
struct MixedGroups {
    MixedGroups() : translation(MakeString("Group")), page("*Page", translation, true, true, true) {
        const struct {
            const char* keyword;
            bool visible, parent;
        } kinds[] = {{"*Colour", true, true}, {"*Orphan", true, false}, {"*Hidden", false, true},
                     {"*Lost", false, false}, {"*Quality", true, true}, {"*Stray", true, false},
                     {"*Finish", true, true}};
        for (const auto& kind : kinds) {
            PPDXGroup* group = new PPDXGroup(kind.keyword, translation, kind.visible);
            if (kind.parent)
                group->SetParent(&page);
            made.push_back(group);
            groups.Add(group);
        }
    }
    ~MixedGroups() {
        for (PPDXGroup* group : made)
            delete group;
        CFRelease(translation);
    }
    /// The keywords that a First/Next walk shows, joined by blanks.
    std::string Walk() {
        std::string seen;
        for (PPDXGroup* g = groups.First(); g; g = groups.Next())
            seen += std::string(seen.empty() ? "" : " ") + g->Keyword();
        return seen;
    }

    CFStringRef translation;
    PPDXProperty page;
    std::vector<PPDXGroup*> made;
    PPDXGroups groups;
};

} // namespace

TEST(GroupName, TranslationTextAndEmptyParts) {
    GroupName name("*TPColor", CFSTR("Farbe"), true);
    EXPECT_STREQ(name.TranslationText(), "Farbe");
    GroupName bare("", nullptr, false);
    EXPECT_EQ(bare.Keyword(), nullptr);
    EXPECT_EQ(bare.TranslationText(), nullptr);
}

TEST(Groups, CountAndWalkFollowTheDisplayOptions) {
    MixedGroups mixed;
    const struct {
        _DISPLAY_OPTIONS_ options;
        uint32_t count;
        const char* walk;
    } cases[] = {{0, 3, "*Colour *Quality *Finish"},
                 {1, 5, "*Colour *Orphan *Quality *Stray *Finish"},
                 {2, 4, "*Colour *Hidden *Quality *Finish"},
                 {3, 7, "*Colour *Orphan *Hidden *Lost *Quality *Stray *Finish"}};
    for (const auto& c : cases) {
        ScopedDisplayOptions options(c.options);
        EXPECT_EQ(mixed.groups.Count(), c.count) << "options " << c.options;
        EXPECT_FALSE(mixed.groups.Empty());
        EXPECT_EQ(mixed.Walk(), c.walk) << "options " << c.options;
    }
}

TEST(Groups, CountersAreTakenWhenAGroupIsAdded) {
    MixedGroups mixed;
    ScopedDisplayOptions options(0);
    mixed.made[1]->SetParent(&mixed.page); // "*Orphan" gets a parent after it was added
    EXPECT_EQ(mixed.groups.Count(), 3u);
    EXPECT_EQ(mixed.Walk(), "*Colour *Orphan *Quality *Finish");

    PPDXGroups onlyHidden;
    onlyHidden.Add(mixed.made[2]);
    onlyHidden.Add(nullptr);
    EXPECT_EQ(onlyHidden.Count(), 0u);
    EXPECT_TRUE(onlyHidden.Empty());
    EXPECT_EQ(onlyHidden.List().Size(), 1u);
}

TEST(Groups, FindSeesEveryGroupAndLeavesTheCursor) {
    MixedGroups mixed;
    ScopedDisplayOptions options(0);
    EXPECT_EQ(mixed.groups.First(), mixed.made[0]);
    EXPECT_EQ(mixed.groups.Find("*Lost", true), mixed.made[3]); // hidden orphan
    EXPECT_EQ(mixed.groups.Find("Lo", true), nullptr);
    EXPECT_EQ(mixed.groups.Find("Lo", false), mixed.made[3]);
    EXPECT_EQ(mixed.groups.Find("o", false), mixed.made[0]); // first in order
    EXPECT_EQ(mixed.groups.Find("*lost", false), nullptr);   // case counts
    EXPECT_EQ(mixed.groups.Find(nullptr, false), nullptr);
    EXPECT_EQ(mixed.groups.Next(), mixed.made[4]);
}

TEST(Groups, CursorIsNullBeforeFirstAndStaysNullAfterTheEnd) {
    MixedGroups mixed;
    ScopedDisplayOptions options(3);
    EXPECT_EQ(mixed.groups.Next(), nullptr);
    for (PPDXGroup* g = mixed.groups.First(); g; g = mixed.groups.Next()) {
    }
    EXPECT_EQ(mixed.groups.Next(), nullptr);
    PPDXGroups empty;
    EXPECT_EQ(empty.First(), nullptr);
    EXPECT_EQ(empty.Next(), nullptr);
    EXPECT_TRUE(empty.Empty());
}

TEST(Properties, WalkShowsEveryPageAndFindMovesTheCursor) {
    CFStringRef translation = MakeString("Page");
    PPDXProperty shown("*Main", translation, true, true, true);
    PPDXProperty hidden("*Hidden", translation, false, false, true); // an orphan too
    PPDXProperty last("*Layout", translation, true, true, true);
    PPDXProperties pages;
    EXPECT_TRUE(pages.Empty());
    EXPECT_EQ(pages.Next(), nullptr);
    pages.Add(&shown);
    pages.Add(nullptr);
    pages.Add(&hidden);
    pages.Add(&last);
    EXPECT_EQ(pages.Count(), 3u);
    EXPECT_FALSE(pages.Empty());

    ScopedDisplayOptions options(0);
    EXPECT_EQ(pages.First(), &shown);
    EXPECT_EQ(pages.Next(), &hidden);
    EXPECT_EQ(pages.Next(), &last);
    EXPECT_EQ(pages.Next(), nullptr);
    EXPECT_EQ(pages.Next(), nullptr);

    EXPECT_EQ(pages.Find("*Hidden", true), &hidden);
    EXPECT_EQ(pages.Next(), &last); // Find walked the cursor to "*Hidden"
    EXPECT_EQ(pages.Find("Lay", false), &last);
    EXPECT_EQ(pages.Find("Lay", true), nullptr);
    EXPECT_EQ(pages.Find(nullptr, true), nullptr);
    CFRelease(translation);
}

TEST(Groups, DestroyingContainersLeavesTheElements) {
    CFStringRef translation = MakeString("Colour");
    PPDXScrollPane* pane = new PPDXScrollPane("*Pane", translation, true);
    PPDXRollDown* rollDown = new PPDXRollDown("*TPColor", translation, true);
    PPDXProperty* page = new PPDXProperty("*Page", translation, true, true, true);
    PPDXGroups* all = new PPDXGroups;
    PPDXProperties* pages = new PPDXProperties;
    all->Add(pane);
    all->Add(rollDown);
    pane->RollDowns()->Add(rollDown);
    pages->Add(page);
    page->SetScrollDown(pane);

    delete all;
    delete pages;
    delete pane; // takes its roll-down list, not the roll-down
    EXPECT_STREQ(rollDown->Keyword(), "*TPColor");
    EXPECT_STREQ(page->Keyword(), "*Page");
    delete rollDown;
    delete page;
    CFRelease(translation);
}
