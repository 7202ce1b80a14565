#include <CarbonCore/Gestalt.h>
#include <CarbonCore/MacErrors.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Packs a four-character code as the platform's 'abcd' literals do.
constexpr OSType FourCharCode(const char (&c)[5]) {
    return OSType(UInt8(c[0])) << 24 | OSType(UInt8(c[1])) << 16 | OSType(UInt8(c[2])) << 8 |
           OSType(UInt8(c[3]));
}

// Selectors of this file only: the registry is process-wide.
constexpr OSType kShared = FourCharCode("tGsA");
constexpr OSType kOther = FourCharCode("tGsB");

TEST(Gestalt, RegisterFindReplaceDelete) {
    long value = 99;
    EXPECT_EQ(Gestalt(kShared, &value), gestaltUndefSelectorErr);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(NewGestaltValue(kShared, 1), noErr);
    EXPECT_EQ(NewGestaltValue(kShared, 2), gestaltDupSelectorErr);
    EXPECT_EQ(Gestalt(kShared, &value), noErr);
    EXPECT_EQ(value, 1); // the duplicate changed nothing
    EXPECT_EQ(ReplaceGestaltValue(kShared, 3), noErr);
    EXPECT_EQ(ReplaceGestaltValue(kOther, 3), gestaltUndefSelectorErr);
    EXPECT_EQ(Gestalt(kOther, &value), gestaltUndefSelectorErr);
    EXPECT_EQ(DeleteGestaltValue(kShared), noErr);
    EXPECT_EQ(DeleteGestaltValue(kShared), gestaltUndefSelectorErr);
    EXPECT_EQ(Gestalt(kShared, nullptr), paramErr);
    // Set registers or replaces, and a value holds a whole pointer.
    const long address = reinterpret_cast<long>(&value);
    EXPECT_EQ(SetGestaltValue(kOther, 5), noErr);
    EXPECT_EQ(SetGestaltValue(kOther, address), noErr);
    EXPECT_EQ(Gestalt(kOther, &value), noErr);
    EXPECT_EQ(value, address);
    EXPECT_EQ(DeleteGestaltValue(kOther), noErr);
}

TEST(Gestalt, ConcurrentRegistrationsAdmitExactlyOne) {
    std::vector<std::thread> threads;
    std::vector<OSErr> results(8);
    for (size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&results, i] { results[i] = NewGestaltValue(kShared, long(i)); });
    for (auto& t : threads)
        t.join();
    int winners = 0;
    for (OSErr r : results) {
        winners += r == noErr;
        EXPECT_TRUE(r == noErr || r == gestaltDupSelectorErr);
    }
    EXPECT_EQ(winners, 1);
    EXPECT_EQ(DeleteGestaltValue(kShared), noErr);
}

} // namespace
