// The record classes on their own: trays, colorants, keyword containers and their settings.
#include "BrivelleTest.h"

#include <DeviceColorInfo.h>
#include <KeywordContainer.h>
#include <MenuItemsTriplet.h>
#include <TrayInfo.h>

#include <string>

namespace {

CFStringRef Make(const char* text) {
    return PMCFStringCreateWithUTF8(text);
}

} // namespace

TEST(TrayInfo, LevelsAreLimitedToTheCapacityAndNeverNegative) {
    CFStringRef name = Make("Tray 1");
    CFStringRef media = Make("Plain Paper");
    TrayInfo tray(name, media, nullptr, 100);
    CFRelease(name);
    CFRelease(media);
    EXPECT_EQ(Text(tray.GetTrayName()), "Tray 1");
    EXPECT_EQ(Text(tray.GetMediaName()), "Plain Paper");
    EXPECT_EQ(tray.GetMediaType(), nullptr);
    EXPECT_EQ(tray.GetMaxCapacity(), 100);
    EXPECT_EQ(tray.GetCurrentLevel(), 0);

    testing::internal::CaptureStderr();
    tray.SetTrayLevel(120);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "TrayInfo::SetTrayLevel currentLevel 120 > mMaxCapacity 100, limiting\n");
    EXPECT_EQ(tray.GetCurrentLevel(), 100);

    testing::internal::CaptureStderr();
    tray.SetTrayLevel(100);
    tray.SetTrayLevel(-1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(tray.GetCurrentLevel(), 100); // -1 left it unchanged
    tray.SetTrayLevel(0);
    EXPECT_EQ(tray.GetCurrentLevel(), 0);

    CFStringRef other = Make("Coated");
    tray.SetMediaName(other);
    CFRelease(other);
    EXPECT_EQ(Text(tray.GetMediaName()), "Coated");
}

TEST(TrayInfo, ANegativeCapacityIgnoresEveryLevelAboveIt) {
    TrayInfo tray(nullptr, nullptr, nullptr, -5);
    testing::internal::CaptureStderr();
    tray.SetTrayLevel(3);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(tray.GetCurrentLevel(), 0);
}

TEST(DeviceColorInfo, KeepsWhatTheServerSaid) {
    CFStringRef name = Make("Black");
    DeviceColorInfo color(name, 100, 104);
    CFRelease(name);
    EXPECT_EQ(Text(color.GetColorName()), "Black");
    EXPECT_EQ(color.GetMaxCapacity(), 100);
    EXPECT_EQ(color.GetCurrentLevel(), 104); // supplies are not limited
    color.SetCurrentLevel(7);
    EXPECT_EQ(color.GetCurrentLevel(), 7);
}

TEST(KeywordContainer, CopiesAreBoundedAndNamesFallBackToKeywords) {
    KeywordContainer container("*QVSimulation");
    EXPECT_STREQ(container.GetKeyword(), "*QVSimulation");
    EXPECT_STREQ(container.GetDefaultItem(), "");
    EXPECT_EQ(container.GetLocalizedName(), nullptr);
    EXPECT_EQ(container.GetSettingsCount(), 0);

    container.SetLocalizedName(nullptr);
    EXPECT_EQ(Text(container.GetLocalizedName()), "*QVSimulation");
    CFStringRef name = Make("CMYK Simulation");
    container.SetLocalizedName(name);
    CFRelease(name);
    EXPECT_EQ(Text(container.GetLocalizedName()), "CMYK Simulation");

    std::string longValue(300, 'v');
    container.SetDefaultItem(longValue.c_str());
    EXPECT_EQ(std::string(container.GetDefaultItem()), std::string(255, 'v'));
    KeywordContainer longKeyword(std::string(400, 'k').c_str());
    EXPECT_EQ(std::string(longKeyword.GetKeyword()), std::string(255, 'k'));

    CFStringRef display = Make("SWOP-Coated");
    EXPECT_TRUE(container.AddSettingString("SWOPCOATED", display, "SWOPCOATED"));
    CFRelease(display);
    EXPECT_TRUE(container.AddSettingString("NONE", nullptr, "none-value"));
    ASSERT_EQ(container.GetSettingsCount(), 2);
    auto it = container.FirstSetting();
    EXPECT_STREQ((*it)->GetKeyword(), "SWOPCOATED");
    EXPECT_EQ(Text((*it)->GetDisplayName()), "SWOP-Coated");
    EXPECT_STREQ((*it)->GetValue(), "SWOPCOATED");
    ++it;
    EXPECT_STREQ((*it)->GetKeyword(), "NONE");
    EXPECT_EQ(Text((*it)->GetDisplayName()), "NONE"); // no display name: the keyword
    EXPECT_STREQ((*it)->GetValue(), "none-value");
    EXPECT_EQ(++it, container.EndSetting());
}

TEST(MenuItemsTriplet, OwnsCopiesAndAllowsNulls) {
    char keyword[] = "ON";
    char value[] = "on";
    MenuItemsTriplet triplet(keyword, nullptr, value);
    keyword[0] = 'X';
    value[0] = 'X';
    EXPECT_STREQ(triplet.GetKeyword(), "ON");
    EXPECT_STREQ(triplet.GetValue(), "on");
    EXPECT_EQ(triplet.GetDisplayName(), nullptr);
    MenuItemsTriplet empty(nullptr, nullptr, nullptr);
    EXPECT_EQ(empty.GetKeyword(), nullptr);
    EXPECT_EQ(empty.GetValue(), nullptr);
}
