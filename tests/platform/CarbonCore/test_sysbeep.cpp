#include <CarbonCore/SysBeep.h>

#include <gtest/gtest.h>

namespace {

short gLastDuration = -1;
int gForwarded = 0;
void RecordBeep(short duration) {
    gLastDuration = duration;
    ++gForwarded;
}

TEST(SysBeep, CountsEveryBeepAndForwardsOnlyToAnInstalledHandler) {
    const UInt32 before = GetSysBeepCount();
    SysBeep(1); // no handler: counted only
    EXPECT_EQ(SetSysBeepHandler(RecordBeep), nullptr);
    SysBeep(7);
    EXPECT_EQ(gForwarded, 1);
    EXPECT_EQ(gLastDuration, 7);
    EXPECT_EQ(SetSysBeepHandler(nullptr), RecordBeep);
    SysBeep(2);
    EXPECT_EQ(gForwarded, 1);
    EXPECT_EQ(GetSysBeepCount(), before + 3);
}

} // namespace
