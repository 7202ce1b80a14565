// Immutable and mutable byte buffers.
#include "CFTestSupport.h"

#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<UInt8>;
const UInt8 kABC[] = {'a', 'b', 'c'};

TEST(CFData, CreateCopiesAndComparesBytes) {
    UInt8 source[] = {1, 2, 3};
    CFOwned<CFDataRef> d(CFDataCreate(nullptr, source, 3));
    source[0] = 9;
    EXPECT_EQ(BytesOf(d), (Bytes{1, 2, 3}));
    CFOwned<CFDataRef> same(CFDataCreate(nullptr, kABC, 3));
    CFOwned<CFDataRef> other(CFDataCreate(nullptr, kABC, 3));
    EXPECT_TRUE(CFEqual(same, other));
    EXPECT_EQ(CFHash(same), CFHash(other));
    EXPECT_FALSE(CFEqual(d, same));
    EXPECT_EQ(CFDataCreate(nullptr, nullptr, 2), nullptr);
    EXPECT_EQ(CFDataCreate(nullptr, kABC, -1), nullptr);
}

TEST(CFData, NoCopyHonoursTheDeallocator) {
    UInt8 stack[] = {1, 2};
    CFDataRef borrowed = CFDataCreateWithBytesNoCopy(nullptr, stack, 2, kCFAllocatorNull);
    EXPECT_EQ(CFDataGetBytePtr(borrowed), stack);
    CFRelease(borrowed); // freeing a stack buffer would be reported by the sanitizer build

    UInt8* heap = static_cast<UInt8*>(std::malloc(2));
    heap[0] = 7, heap[1] = 8;
    CFDataRef owned = CFDataCreateWithBytesNoCopy(nullptr, heap, 2, kCFAllocatorMalloc);
    EXPECT_EQ(BytesOf(owned), (Bytes{7, 8}));
    CFRelease(owned); // a leak here would be reported too
}

TEST(CFData, CopiesOfBorrowedBytesAreIndependent) {
    UInt8 buffer[] = {1, 2};
    CFOwned<CFDataRef> borrowed(CFDataCreateWithBytesNoCopy(nullptr, buffer, 2, kCFAllocatorNull));
    CFOwned<CFDataRef> copy(CFDataCreateCopy(nullptr, borrowed));
    buffer[0] = 5;
    EXPECT_EQ(BytesOf(copy), (Bytes{1, 2}));
    CFOwned<CFDataRef> plain(CFDataCreate(nullptr, buffer, 2));
    CFOwned<CFDataRef> shared(CFDataCreateCopy(nullptr, plain));
    EXPECT_EQ(shared.get(), plain.get());
}

TEST(CFData, MutableEdits) {
    CFOwned<CFMutableDataRef> m(CFDataCreateMutable(nullptr, 0));
    CFDataAppendBytes(m, kABC, 3);
    CFDataIncreaseLength(m, 2);
    EXPECT_EQ(BytesOf(m), (Bytes{'a', 'b', 'c', 0, 0}));
    CFDataSetLength(m, 2);
    CFDataAppendBytes(m, CFDataGetBytePtr(m), 2); // from itself
    EXPECT_EQ(BytesOf(m), (Bytes{'a', 'b', 'a', 'b'}));
    CFDataReplaceBytes(m, CFRangeMake(1, 2), kABC, 3);
    EXPECT_EQ(BytesOf(m), (Bytes{'a', 'a', 'b', 'c', 'b'}));
    CFDataDeleteBytes(m, CFRangeMake(0, 2));
    EXPECT_EQ(BytesOf(m), (Bytes{'b', 'c', 'b'}));
    CFDataGetMutableBytePtr(m)[0] = 'x';
    EXPECT_EQ(BytesOf(m), (Bytes{'x', 'c', 'b'}));
}

TEST(CFData, InvalidEditsChangeNothing) {
    CFOwned<CFMutableDataRef> m(CFDataCreateMutable(nullptr, 4));
    CFDataAppendBytes(m, kABC, 3);
    CFDataAppendBytes(m, kABC, 3);                     // past capacity
    CFDataReplaceBytes(m, CFRangeMake(2, 5), kABC, 1); // range past the end
    CFDataDeleteBytes(m, CFRangeMake(-1, 1));
    CFDataSetLength(m, -3);
    CFDataIncreaseLength(m, LONG_MAX);
    EXPECT_EQ(BytesOf(m), (Bytes{'a', 'b', 'c'}));
    CFOwned<CFDataRef> fixed(CFDataCreate(nullptr, kABC, 3));
    CFMutableDataRef cheat = const_cast<CFMutableDataRef>(fixed.get());
    CFDataAppendBytes(cheat, kABC, 3);
    EXPECT_EQ(CFDataGetMutableBytePtr(cheat), nullptr);
    EXPECT_EQ(CFDataGetLength(fixed), 3);
    EXPECT_EQ(CFDataCreateMutableCopy(nullptr, 2, fixed), nullptr);
}

TEST(CFData, GetBytesCopiesOnlyValidRanges) {
    CFOwned<CFDataRef> d(CFDataCreate(nullptr, kABC, 3));
    UInt8 out[3] = {0, 0, 0};
    CFDataGetBytes(d, CFRangeMake(1, 2), out);
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{'b', 'c', 0}));
    CFDataGetBytes(d, CFRangeMake(2, 2), out);
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{'b', 'c', 0}));
    EXPECT_EQ(CFDataGetLength(nullptr), 0);
}

} // namespace
