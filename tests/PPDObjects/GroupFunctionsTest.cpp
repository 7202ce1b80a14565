// The exported flat functions over groups, roll-downs, scroll panes and property pages.
#include "PPDXDisplayOptions.h"
#include "PPDXGroupFunctions.h"
#include "PPDXGroups.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXRollDown.h"
#include "PPDXScrollPane.h"

#include <gtest/gtest.h>

TEST(GroupFunctions, KindTestsTellTheClassesApart) {
    PPDXGroup group("*Group", CFSTR("Group"), true);
    PPDXRollDown rollDown("*RollDown", CFSTR("Roll"), true);
    PPDXScrollPane pane("*Pane", CFSTR("Pane"), true);
    PPDXProperty page("*Page", CFSTR("Page"), true, true, true);
    PPDXElement* elements[] = {&group, &rollDown, &pane, &page};
    const bool rollDowns[] = {false, true, false, false};
    const bool panes[] = {false, false, true, false};
    const bool pages[] = {false, false, false, true};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(IsRollDown(elements[i]), rollDowns[i]) << elements[i]->Keyword();
        EXPECT_EQ(IsScrollPane(elements[i]), panes[i]) << elements[i]->Keyword();
        EXPECT_EQ(IsPropertyPage(elements[i]), pages[i]) << elements[i]->Keyword();
    }
}

TEST(GroupFunctions, ForwardToTheMembers) {
    PPDXProperty page("*Page", CFSTR("Page"), true, false, true);
    PPDXScrollPane pane("*Pane", CFSTR("Pane"), true);
    PPDXRollDown colour("*TPColor", CFSTR("Colour"), true);
    PPDXRollDown hidden("*TPHidden", CFSTR("Hidden"), false);
    pane.SetParent(&page);
    colour.SetParent(&pane);
    hidden.SetParent(&pane);
    PPDXGroups* rollDowns = GetScrollPaneRollDowns(&pane);
    ASSERT_EQ(rollDowns, pane.RollDowns());
    rollDowns->Add(&colour);
    rollDowns->Add(&hidden);
    EXPECT_EQ(GetRollDownControlList(&colour), colour.Controls());

    ScopedDisplayOptions options(0);
    EXPECT_EQ(GroupCount(rollDowns), 1u);
    EXPECT_FALSE(IsGrouPointerListEmpty(rollDowns));
    EXPECT_EQ(FirstGroup(rollDowns), &colour);
    EXPECT_EQ(NextGroup(rollDowns), nullptr);
    EXPECT_EQ(FindGroup(rollDowns, "Hid", false), &hidden);
    EXPECT_EQ(FindGroup(rollDowns, "Hid", true), nullptr);
    PPDXDisplay::Set(3);
    EXPECT_EQ(GroupCount(rollDowns), 2u);

    PPDXProperties pages;
    EXPECT_TRUE(IsPropertyListEmpty(&pages));
    pages.Add(&page);
    EXPECT_EQ(PropertyCount(&pages), 1u);
    EXPECT_FALSE(IsPropertyListEmpty(&pages));
    EXPECT_EQ(FirstProperty(&pages), &page);
    EXPECT_EQ(NextProperty(&pages), nullptr);
    EXPECT_EQ(FindProperty(&pages, "Pa", false), &page);
    EXPECT_FALSE(ShowPropInPrintProp(&page));
    EXPECT_TRUE(ShowPropInApp(&page));

    SetPropertyScrollDown(&page, &pane);
    EXPECT_EQ(GetPropertyScrollDown(&page), &pane);
    SetPropertyScrollDown(&page, nullptr); // needs both: the link stays
    EXPECT_EQ(GetPropertyScrollDown(&page), &pane);
}
