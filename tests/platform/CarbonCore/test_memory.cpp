#include <CarbonCore/MacMemory.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct CarbonCoreMemory : ::testing::Test {
    void TearDown() override {
        PigmentorMemTestFailNextAllocations(kPigmentorMemPoolApplication, 0);
        PigmentorMemTestFailNextAllocations(kPigmentorMemPoolTemporary, 0);
    }
};

TEST_F(CarbonCoreMemory, HandleSizesAreCheckedAndReported) {
    Handle h = NewHandleClear(16);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_NE(*h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ((*h)[i], 0);
    DisposeHandle(h);

    Handle empty = NewHandle(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_NE(*empty, nullptr);
    EXPECT_EQ(GetHandleSize(empty), 0);
    DisposeHandle(empty);

    EXPECT_EQ(NewHandle(-1), nullptr);
    EXPECT_EQ(MemError(), paramErr);
    EXPECT_EQ(NewHandle(Size(1) << 40), nullptr);
    EXPECT_EQ(MemError(), memFullErr);
    OSErr err = noErr;
    EXPECT_EQ(TempNewHandle(-1, &err), nullptr);
    EXPECT_EQ(err, paramErr);
}

TEST_F(CarbonCoreMemory, PtrToHandCopiesIntoANewHandle) {
    const char bytes[] = "archive";
    Handle h = nullptr;
    ASSERT_EQ(PtrToHand(bytes, &h, sizeof bytes), noErr);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetHandleSize(h), Size(sizeof bytes));
    EXPECT_EQ(std::memcmp(*h, bytes, sizeof bytes), 0);
    DisposeHandle(h);

    ASSERT_EQ(PtrToHand(nullptr, &h, 0), noErr); // an empty block needs no source
    EXPECT_EQ(GetHandleSize(h), 0);
    DisposeHandle(h);

    Handle untouched = reinterpret_cast<Handle>(&h);
    EXPECT_EQ(PtrToHand(nullptr, &untouched, 4), paramErr);
    EXPECT_EQ(untouched, nullptr);
    EXPECT_EQ(PtrToHand(bytes, &h, -1), paramErr);
    EXPECT_EQ(PtrToHand(bytes, nullptr, 4), paramErr);
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolApplication, 1);
    EXPECT_EQ(PtrToHand(bytes, &h, sizeof bytes), memFullErr);
    EXPECT_EQ(h, nullptr);
}

TEST_F(CarbonCoreMemory, SetHandleSizeKeepsContentsAndRespectsLocks) {
    Handle h = NewHandle(4);
    ASSERT_NE(h, nullptr);
    std::memcpy(*h, "abcd", 4);

    SetHandleSize(h, 1000);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(GetHandleSize(h), 1000);
    EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);

    SetHandleSize(h, 2);
    EXPECT_EQ(GetHandleSize(h), 2);
    EXPECT_EQ(std::memcmp(*h, "ab", 2), 0);

    SetHandleSize(h, -5);
    EXPECT_EQ(MemError(), paramErr);
    EXPECT_EQ(GetHandleSize(h), 2);

    HLock(h);
    Ptr pinned = *h;
    SetHandleSize(h, 64);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(*h, pinned);
    EXPECT_EQ(GetHandleSize(h), 2);
    HUnlock(h);
    SetHandleSize(h, 64);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(GetHandleSize(h), 64);
    EXPECT_EQ(std::memcmp(*h, "ab", 2), 0);
    DisposeHandle(h);
}

TEST_F(CarbonCoreMemory, InjectedFailuresHitOnlyTheirPoolAndCount) {
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolTemporary, 1);
    OSErr err = noErr;
    EXPECT_EQ(TempNewHandle(8, &err), nullptr);
    EXPECT_EQ(err, memFullErr);
    Handle fallback = NewHandle(8); // the caller's fall-back to application memory
    ASSERT_NE(fallback, nullptr);
    Handle again = TempNewHandle(8, &err);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(err, noErr);

    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolApplication, 2);
    std::memcpy(*fallback, "12345678", 8);
    Ptr before = *fallback;
    SetHandleSize(fallback, 100);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(*fallback, before);
    EXPECT_EQ(GetHandleSize(fallback), 8);
    EXPECT_EQ(std::memcmp(*fallback, "12345678", 8), 0);
    EXPECT_EQ(NewPtr(4), nullptr);
    EXPECT_EQ(MemError(), memFullErr);
    Ptr third = NewPtr(4);
    EXPECT_NE(third, nullptr);

    DisposePtr(third);
    DisposeHandle(fallback);
    DisposeHandle(again);
}

TEST_F(CarbonCoreMemory, BadHandlesAndPointersAreRefused) {
    EXPECT_EQ(GetHandleSize(nullptr), 0);
    EXPECT_EQ(MemError(), nilHandleErr);
    Handle h = NewHandle(4);
    DisposeHandle(h);
    DisposeHandle(h);
    EXPECT_EQ(MemError(), memWZErr);
    EXPECT_EQ(GetHandleSize(h), 0);
    EXPECT_EQ(MemError(), memWZErr);

    char local[8];
    Ptr foreign = local;
    Handle foreignHandle = &foreign;
    SetHandleSize(foreignHandle, 16);
    EXPECT_EQ(MemError(), memWZErr);
    DisposePtr(local);
    EXPECT_EQ(MemError(), memWZErr);
}

TEST_F(CarbonCoreMemory, PointersHaveSizes) {
    Ptr p = NewPtrClear(12);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GetPtrSize(p), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(p[i], 0);
    DisposePtr(p);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(GetPtrSize(p), 0);
    EXPECT_EQ(MemError(), memWZErr);
    EXPECT_EQ(NewPtr(-3), nullptr);
    EXPECT_EQ(MemError(), paramErr);
}

// A large block handed back may serve the next handle of its size; that must not show: a
// cleared handle is zeros, another size gets its own block, and injected failures still hit.
TEST_F(CarbonCoreMemory, LargeHandlesAfterDisposalBehaveAsNew) {
    const Size size = 10000;
    Handle first = TempNewHandle(size, nullptr);
    ASSERT_NE(first, nullptr);
    std::memset(*first, 0xAB, size_t(size));
    DisposeHandle(first);
    Handle cleared = NewHandleClear(size);
    ASSERT_NE(cleared, nullptr);
    EXPECT_EQ(GetHandleSize(cleared), size);
    for (Size i = 0; i < size; ++i)
        ASSERT_EQ((*cleared)[i], 0) << i;
    DisposeHandle(cleared);

    Handle larger = NewHandle(size + 1);
    ASSERT_NE(larger, nullptr);
    EXPECT_EQ(GetHandleSize(larger), size + 1);
    (*larger)[size] = 1;
    DisposeHandle(larger);

    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolTemporary, 1);
    OSErr error = noErr;
    EXPECT_EQ(TempNewHandle(size + 1, &error), nullptr);
    EXPECT_EQ(error, memFullErr);
    Handle again = TempNewHandle(size + 1, &error);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PigmentorMemTestHandlePool(again), kPigmentorMemPoolTemporary);
    DisposeHandle(again);
}

TEST_F(CarbonCoreMemory, BlockMoveHandlesOverlap) {
    char buffer[] = "abcdef";
    BlockMove(buffer, buffer + 2, 4);
    EXPECT_STREQ(buffer, "ababcd");
    BlockMoveData(buffer + 2, buffer, 4);
    EXPECT_STREQ(buffer, "abcdcd");
    BlockMove(buffer, buffer + 1, -1); // ignored
    EXPECT_STREQ(buffer, "abcdcd");
}

} // namespace
