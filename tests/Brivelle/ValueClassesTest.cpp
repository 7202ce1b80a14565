// The record classes on their own: trays, keyword containers and their settings.
#include "BrivelleTest.h"

#include <KeywordContainer.h>
#include <MenuItemsTriplet.h>
#include <TrayInfo.h>

#include <string>

namespace {

CFStringRef Make(const char* text) {
    return PMCFStringCreateWithUTF8(text);
}

} // namespace

// The limiting message and the levels read from a server are checked in ServerInfoTest.
TEST(TrayInfo, LevelsAreLimitedToTheCapacityAndNeverNegative) {
    TrayInfo tray(nullptr, nullptr, nullptr, 100);
    testing::internal::CaptureStderr();
    tray.SetTrayLevel(120);
    tray.SetTrayLevel(-1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(tray.GetCurrentLevel(), 100); // -1 left it unchanged
    tray.SetTrayLevel(0);
    EXPECT_EQ(tray.GetCurrentLevel(), 0);
    CFStringRef media = Make("Coated");
    tray.SetMediaName(media); // the tray keeps its own reference
    CFRelease(media);
    EXPECT_EQ(Text(tray.GetMediaName()), "Coated");

    TrayInfo negative(nullptr, nullptr, nullptr, -5);
    testing::internal::CaptureStderr();
    negative.SetTrayLevel(3);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(negative.GetCurrentLevel(), 0); // every level is above a negative capacity
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
    EXPECT_STREQ(it->GetKeyword(), "SWOPCOATED");
    EXPECT_EQ(Text(it->GetDisplayName()), "SWOP-Coated");
    EXPECT_STREQ(it->GetValue(), "SWOPCOATED");
    ++it;
    EXPECT_STREQ(it->GetKeyword(), "NONE");
    EXPECT_EQ(Text(it->GetDisplayName()), "NONE"); // no display name: the keyword
    EXPECT_STREQ(it->GetValue(), "none-value");
    EXPECT_EQ(++it, container.EndSetting());
}

TEST(KeywordContainer, SettingsKeepTheirTextsWhenTheListGrows) {
    // Past the room made at first the settings move: texts kept in the setting itself, shared
    // between keyword and value, or on the heap must all come along (ASan: nothing freed twice).
    KeywordContainer container("*QVRGBOverride");
    const std::string longKeyword(40, 'L');
    for (int i = 0; i < 20; ++i) {
        const std::string keyword = (i % 2 ? longKeyword : "K") + std::to_string(i);
        const std::string value = i % 3 ? keyword : "value" + std::to_string(i);
        CFStringRef display = i % 4 ? Make(("Name " + std::to_string(i)).c_str()) : nullptr;
        ASSERT_TRUE(container.AddSettingString(keyword.c_str(), display, value.c_str()));
        if (display)
            CFRelease(display);
    }
    ASSERT_EQ(container.GetSettingsCount(), 20);
    int i = 0;
    for (auto it = container.FirstSetting(); it != container.EndSetting(); ++it, ++i) {
        const std::string keyword = (i % 2 ? longKeyword : "K") + std::to_string(i);
        EXPECT_EQ(std::string(it->GetKeyword()), keyword);
        EXPECT_EQ(std::string(it->GetValue()), i % 3 ? keyword : "value" + std::to_string(i));
        EXPECT_EQ(Text(it->GetDisplayName()), i % 4 ? "Name " + std::to_string(i) : keyword);
    }
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
