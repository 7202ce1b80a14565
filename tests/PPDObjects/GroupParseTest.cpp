#include "ParseTestSupport.h"

#include "PPDXGroups.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXRollDown.h"
#include "PPDXScrollPane.h"

#include <gtest/gtest.h>

using Codes = std::vector<int>;

TEST(GroupParse, PagesPanesAndRollDownsLinkUp) {
    QRVPPD* ppd = parsePPD(ppdLayout() + "*%QRVPropPage PPJob/Job: True|App\n" + popupBlock());
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXProperty* color = ppd->GetProperties()->Find("PPColor", true);
    ASSERT_NE(color, nullptr);
    EXPECT_TRUE(color->IsVisible());
    EXPECT_TRUE(color->ShowInPrintProp());
    EXPECT_TRUE(color->ShowInApp());
    PPDXProperty* job = ppd->GetProperties()->Find("PPJob", true);
    ASSERT_NE(job, nullptr);
    EXPECT_FALSE(job->ShowInPrintProp());
    EXPECT_EQ(job->GetScrollDown(), nullptr);

    PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(ppd->GetGroups()->Find("TPSColor", true));
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->GetParent(), color);
    EXPECT_EQ(color->GetScrollDown(), pane);
    EXPECT_STREQ(pane->UserName(), "Color Pane");
    PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(ppd->GetGroups()->Find("TPColor", true));
    ASSERT_NE(rollDown, nullptr);
    EXPECT_EQ(rollDown->GetParent(), pane);
    EXPECT_EQ(pane->RollDowns()->Find("TPColor", true), rollDown);
    ppd->Release();
}

TEST(GroupParse, PageFlagsAndHiddenPages) {
    QRVPPD* ppd = parsePPD("*%QRVPropPage PPA/A: True|Prop\n*%QRVPropPage PPHidden/H: Prop\n" + ppdLayout() + popupBlock());
    PPDXProperty* a = ppd->GetProperties()->Find("PPA", true);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->IsVisible());
    EXPECT_TRUE(a->ShowInPrintProp());
    EXPECT_FALSE(a->ShowInApp());
    ASSERT_NE(ppd->GetProperties()->Find("PPHidden", true), nullptr);
    EXPECT_FALSE(ppd->GetProperties()->Find("PPHidden", true)->IsVisible());
    ppd->Release();

    QRVPPD* visibleOnly = parsePPD("*%QRVPropPage PPHidden/H: Prop\n" + ppdLayout() + popupBlock(), kShowOrphans);
    EXPECT_EQ(visibleOnly->GetProperties()->Find("PPHidden", true), nullptr);
    visibleOnly->Release();
}

TEST(GroupParse, DeclarationErrors) {
    QRVPPD* ppd = parsePPD(ppdLayout() + popupBlock() +
                           "*%QRVPropPage \n"                        // 4: no keyword
                           "*%QRVPropPage PPColor/Again: True\n"     // 23: page twice
                           "*%QRVGroupName :\n"                      // 12: no keyword
                           "*%QRVGroupName TPColor/Again: True\n"    // 23: group exists
                           "*%QRVParent \n"                          // 15: no child
                           "*%QRVParent TPColor\n"                   // 15: no parent
                           "*%QRVGroupName TPRoll/Roll: True\n"
                           "*%QRVParent TPRoll/PPColor: True|Rolldown\n"   // 14: parent is a page
                           "*%QRVGroupName TPPane/Pane: True\n"
                           "*%QRVParent TPPane/PPNowhere: True|Scrollpane\n" // 14: no such page
                           "*%QRVParent TPUndeclared/TPSColor: True|Rolldown\n" // nothing
                           "*%QRVGroupName TPKindless/K: True\n"
                           "*%QRVParent TPKindless/TPSColor: True\n");      // nothing
    EXPECT_EQ(errorCodes(ppd), (Codes{4, 23, 12, 23, 15, 15, 14, 14}));
    EXPECT_STREQ(findError(ppd, 14)->Keyword(), "PPColor");
    EXPECT_EQ(ppd->GetGroups()->Find("TPUndeclared", true), nullptr);
    // Declared but never placed: plain groups without a parent once orphans are parsed.
    PPDXGroup* kindless = ppd->GetGroups()->Find("TPKindless", true);
    ASSERT_NE(kindless, nullptr);
    EXPECT_TRUE(kindless->IsOrphan());
    EXPECT_EQ(dynamic_cast<PPDXRollDown*>(kindless), nullptr);
    ppd->Release();
}

TEST(GroupParse, OrphanGroupsOnlyWhenOrphansAreParsed) {
    std::string body = ppdLayout() + "*%QRVGroupName TPLonely/Lonely: True\n" + popupBlock();
    QRVPPD* withOrphans = parsePPD(body, kShowAll);
    EXPECT_NE(withOrphans->GetGroups()->Find("TPLonely", true), nullptr);
    {
        ScopedDisplayOptions strict(0);
        EXPECT_EQ(withOrphans->GetGroups()->Count(), 2u);
    }
    {
        ScopedDisplayOptions all(kShowAll);
        EXPECT_EQ(withOrphans->GetGroups()->Count(), 3u);
    }
    withOrphans->Release();

    QRVPPD* without = parsePPD(body, kShowHidden);
    EXPECT_EQ(without->GetGroups()->Find("TPLonely", true), nullptr);
    without->Release();
}

TEST(GroupParse, GroupLineErrors) {
    QRVPPD* noKeyword = parsePPD(ppdLayout() + "*%QRVFlags *QVX: Command\n*%QRVGroup \n" + popupBlock());
    EXPECT_EQ(errorCodes(noKeyword), Codes{5});
    noKeyword->Release();

    QRVPPD* notABlock = parsePPD(ppdLayout() + "*%QRVFlags *QVX: Command\n*%QRVGroup *QVX: TPColor/x\n*Other: y\n" + popupBlock());
    EXPECT_EQ(errorCodes(notABlock), Codes{5});
    EXPECT_STREQ(findError(notABlock, 5)->Keyword(), "*QVX");
    notABlock->Release();

    // A group line for another keyword drops the announcement; the block is then ignored.
    QRVPPD* other = parsePPD(ppdLayout() + "*%QRVFlags *QVX: Command\n*%QRVGroup *QVY: TPColor/x\n" +
                             "*OpenUI *QVX/X: PickOne\n*DefaultQVX: A\n*QVX A/A: \"a\"\n*CloseUI: *QVX\n" + popupBlock());
    EXPECT_EQ(errorCodes(other), Codes{});
    EXPECT_EQ(control(other, "*QVX"), nullptr);
    other->Release();
}
