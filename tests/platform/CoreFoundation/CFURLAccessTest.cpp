// Reading and writing file URLs.
#include "CFTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Read(CFURLRef url, SInt32* error) {
    CFDataRef data = nullptr;
    CFDictionaryRef properties = reinterpret_cast<CFDictionaryRef>(1);
    if (!CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, &properties, nullptr, error))
        return "<failed>";
    EXPECT_EQ(properties, nullptr);
    std::string text(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                     static_cast<size_t>(CFDataGetLength(data)));
    CFRelease(data);
    return text;
}

bool Write(CFURLRef url, const std::string& text, SInt32* error) {
    CFOwned<CFDataRef> data(DataOf(text));
    return CFURLWriteDataAndPropertiesToResource(url, data, nullptr, error);
}

size_t EntriesIn(const std::string& folder) {
    size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++n;
    }
    return n;
}

TEST(CFURLAccess, WriteCreatesThenReplacesKeepingTheMode) {
    Scratch dir;
    CFOwned<CFURLRef> url(dir.URL("settings.plist"));
    SInt32 error = 1;
    ASSERT_TRUE(Write(url, "first", &error));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(Read(url, &error), "first");
    chmod((dir / "settings.plist").c_str(), 0640);
    ASSERT_TRUE(Write(url, "second, longer", &error));
    EXPECT_EQ(Read(url, &error), "second, longer");
    struct stat info;
    ASSERT_EQ(stat((dir / "settings.plist").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(EntriesIn(dir.path), 1u); // no temporary file left beside it
}

TEST(CFURLAccess, WriteNeverFollowsOrReplacesALink) {
    Scratch dir;
    dir.Write("victim", "untouched");
    ASSERT_EQ(symlink((dir / "victim").c_str(), (dir / "link").c_str()), 0);
    CFOwned<CFURLRef> link(dir.URL("link"));
    SInt32 error = 0;
    EXPECT_FALSE(Write(link, "evil", &error));
    EXPECT_EQ(error, kCFURLResourceAccessViolationError);
    CFOwned<CFURLRef> victim(dir.URL("victim"));
    EXPECT_EQ(Read(victim, &error), "untouched");
    struct stat info;
    EXPECT_EQ(lstat((dir / "link").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(EntriesIn(dir.path), 2u);
}

TEST(CFURLAccess, FailuresReportThePlatformCodes) {
    Scratch dir;
    SInt32 error = 0;
    CFOwned<CFURLRef> missing(dir.URL("missing"));
    EXPECT_EQ(Read(missing, &error), "<failed>");
    EXPECT_EQ(error, kCFURLResourceNotFoundError);
    CFOwned<CFURLRef> folder(dir.URL("", true));
    EXPECT_EQ(Read(folder, &error), "<failed>");
    EXPECT_EQ(error, kCFURLResourceAccessViolationError);
    CFOwned<CFURLRef> inMissingFolder(dir.URL("no/such/file"));
    EXPECT_FALSE(Write(inMissingFolder, "x", &error));
    EXPECT_EQ(error, kCFURLResourceNotFoundError);
    CFOwned<CFURLRef> device(CFURLCreateWithString(nullptr, CFSTR("ipp://host/q"), nullptr));
    EXPECT_EQ(Read(device, &error), "<failed>");
    EXPECT_EQ(error, kCFURLUnknownSchemeError);
    EXPECT_FALSE(Write(device, "x", &error));
    EXPECT_EQ(error, kCFURLUnknownSchemeError);
    EXPECT_FALSE(CFURLWriteDataAndPropertiesToResource(missing, nullptr, nullptr, &error));
    EXPECT_EQ(error, kCFURLImproperArgumentsError);
}

TEST(CFURLAccess, ReadingStopsAtTheSizeLimit) {
    Scratch dir;
    {
        std::ofstream big(dir / "big", std::ios::binary);
        big.seekp(kPMCFURLMaxResourceBytes);
        big.put('x'); // a sparse file one byte past the limit
    }
    CFOwned<CFURLRef> url(dir.URL("big"));
    SInt32 error = 0;
    EXPECT_EQ(Read(url, &error), "<failed>");
    EXPECT_EQ(error, kCFURLResourceAccessViolationError);
}

} // namespace
