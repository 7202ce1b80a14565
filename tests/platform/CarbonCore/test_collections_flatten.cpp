#include "CollectionFormBuilder.h"

#include <CarbonCore/Collections.h>
#include <CarbonCore/MacMemory.h>

#include <gtest/gtest.h>

#include <vector>

using namespace formbuilder;

namespace {

constexpr CollectionTag kKyWd = 0x4B795764; // 'KyWd'
constexpr SInt32 kLocked = kCollectionLockMask | kCollectionPersistenceMask;

struct OwnedHandle {
    Handle h;
    explicit OwnedHandle(Handle handle) : h(handle) {}
    explicit OwnedHandle(const std::vector<UInt8>& bytes) : h(NewHandleWith(bytes)) {}
    ~OwnedHandle() { DisposeHandle(h); }
};

std::vector<UInt8> Flattened(Collection c) {
    OwnedHandle out(NewHandle(0));
    EXPECT_EQ(FlattenCollectionToHdl(c, out.h), noErr);
    return HandleBytes(out.h);
}

OSErr Unflatten(Collection c, const std::vector<UInt8>& bytes) {
    OwnedHandle in(bytes);
    return UnflattenCollectionFromHdl(c, in.h);
}

// One item of each kind: a number, text, an empty item, a locked item with user bits, and data
// longer than one 64 KiB read run.
const std::vector<Item>& Sample() {
    static const std::vector<Item> items = {
        {3000, 3002, UInt32(kCollectionDefaultAttributes), Number(7, 4, !kHostIsLittleEndian)},
        {kKyWd, 5001, UInt32(kCollectionDefaultAttributes), Text("*ColorModel")},
        {kKyWd, -1, UInt32(kCollectionDefaultAttributes), {}},
        {1000, 1001, UInt32(kLocked | 0x0102), Number(1024, 4, !kHostIsLittleEndian)},
        {0xFFFFFFFF, 0x7FFFFFFF, UInt32(kCollectionDefaultAttributes),
         std::vector<UInt8>(70000, 0xA5)},
    };
    return items;
}

void Fill(Collection c, const std::vector<Item>& items) {
    for (const Item& item : items) {
        ASSERT_EQ(
            AddCollectionItem(c, item.tag, item.id, SInt32(item.data.size()), item.data.data()),
            noErr);
        SetCollectionItemInfo(c, item.tag, item.id, -1, SInt32(item.attributes));
    }
}

OSErr AppendTo(SInt32 size, void* data, void* refCon) {
    auto* out = static_cast<std::vector<UInt8>*>(refCon);
    out->insert(out->end(), static_cast<UInt8*>(data), static_cast<UInt8*>(data) + size);
    return noErr;
}

struct Source {
    std::vector<UInt8> bytes;
    size_t position = 0;
    size_t limit = SIZE_MAX; // bytes it will hand out before failing with ioErr
};

OSErr ReadFrom(SInt32 size, void* data, void* refCon) {
    auto* source = static_cast<Source*>(refCon);
    if (source->position + size_t(size) > std::min(source->bytes.size(), source->limit))
        return ioErr;
    std::copy_n(source->bytes.begin() + std::ptrdiff_t(source->position), size,
                static_cast<UInt8*>(data));
    source->position += size_t(size);
    return noErr;
}

} // namespace

// An empty collection is the header alone.
TEST(CollectionForm, FlattensToTheDocumentedBytesAndBackWithEveryField) {
    for (const std::vector<Item>& items : {Sample(), std::vector<Item>{}}) {
        Owned o, back;
        Fill(o.c, items);
        std::vector<UInt8> bytes = Flattened(o.c);
        EXPECT_EQ(bytes, Build(items, !kHostIsLittleEndian));
        ASSERT_EQ(Unflatten(back.c, bytes), noErr);
        EXPECT_EQ(Items(back.c), items);
        EXPECT_EQ(GetCollectionDefaultAttributes(back.c), kCollectionDefaultAttributes);
    }
}

TEST(CollectionForm, ABigEndianMachinesBlockReadsWithItsDataUntouched) {
    if (!kHostIsLittleEndian)
        GTEST_SKIP() << "written for a little-endian host";
    std::vector<Item> items = {
        {3000, 3002, UInt32(kCollectionDefaultAttributes), Number(7, 4, true)},
        {kKyWd, 5001, UInt32(kLocked), Text("*ColorModel")},
    };
    Owned o;
    ASSERT_EQ(Unflatten(o.c, Build(items, true)), noErr);
    EXPECT_EQ(Items(o.c), items); // tags, ids and attributes right; data as written
    SInt32 pages = 0, size = 4;
    ASSERT_EQ(GetCollectionItem(o.c, 3000, 3002, &size, &pages), noErr);
    EXPECT_EQ(pages, 117440512); // 7, big-endian: swapping numbers is the archive's business
}

TEST(CollectionForm, OnlyPersistentItemsAreFlattened) {
    Owned o, back;
    Fill(o.c, Sample());
    SetCollectionItemInfo(o.c, kKyWd, 5001, kCollectionPersistenceMask, 0);
    ASSERT_EQ(Unflatten(back.c, Flattened(o.c)), noErr);
    EXPECT_EQ(CountCollectionItems(back.c), 4);
    EXPECT_EQ(GetCollectionItemInfo(back.c, kKyWd, 5001, nullptr, nullptr, nullptr),
              collectionItemNotFoundErr);
}

TEST(CollectionForm, ABlockCutAnywhereIsRefusedAndChangesNothing) {
    Owned whole, o;
    Fill(whole.c, Sample());
    std::vector<UInt8> bytes = Flattened(whole.c);
    ASSERT_EQ(AddCollectionItem(o.c, kKyWd, 5001, 1, "x"), noErr);
    // The long item's data is cut every 4 KiB: checking each of its bytes adds nothing.
    for (size_t cut = 0; cut < bytes.size(); cut += cut < 400 ? 1 : 4093) {
        std::vector<UInt8> part(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut));
        ASSERT_EQ(Unflatten(o.c, part), eofErr) << "cut at " << cut;
    }
    ASSERT_EQ(CountCollectionItems(o.c), 1);
    SInt32 size = 0;
    GetCollectionItem(o.c, kKyWd, 5001, &size, nullptr);
    EXPECT_EQ(size, 1);
}

TEST(CollectionForm, ForeignOrInconsistentBlocksGiveTheirCodes) {
    const bool be = !kHostIsLittleEndian;
    std::vector<Item> two = {{1, 1, 0x40000000, Text("ab")}, {1, 2, 0x40000000, Text("cd")}};
    const std::vector<UInt8> good = Build(two, be);
    struct Case {
        const char* what;
        size_t offset;
        UInt32 value;
        OSErr expected;
    };
    const Case cases[] = {
        {"magic", 0, 0x12345678, collectionVersionErr},
        {"version", 4, 2, collectionVersionErr},
        {"count beyond what fits", 8, 0x40000000, collectionVersionErr},
        {"count one too many", 8, 3, collectionVersionErr},
        {"count one too few", 8, 1, collectionVersionErr},
        {"length past the block", 12, UInt32(good.size() + 1), eofErr},
        {"length short of the block", 12, UInt32(good.size() - 1), collectionVersionErr},
        {"length below a header", 12, 15, collectionVersionErr},
        {"item length past the end", 16 + 12, 0xFFFFFFF0, eofErr},
        {"last item length one short", 34 + 12, 1, collectionVersionErr},
        {"repeated key", 34 + 4, 1, collectionVersionErr},
    };
    for (const Case& c : cases) {
        std::vector<UInt8> bytes = good;
        Store32(bytes, c.offset, c.value, be);
        Owned o;
        EXPECT_EQ(Unflatten(o.c, bytes), c.expected) << c.what;
        EXPECT_EQ(CountCollectionItems(o.c), 0) << c.what;
    }
    std::vector<UInt8> trailing = good;
    trailing.push_back(0);
    Owned o;
    EXPECT_EQ(Unflatten(o.c, trailing), collectionVersionErr);
    EXPECT_EQ(Unflatten(o.c, Text("<?xml")), collectionVersionErr); // foreign, short
    EXPECT_EQ(Unflatten(o.c, {}), eofErr);
    EXPECT_EQ(UnflattenCollectionFromHdl(o.c, nullptr), nilHandleErr);
    EXPECT_EQ(UnflattenCollectionFromHdl(nullptr, nullptr), paramErr);
    EXPECT_EQ(CountCollectionItems(o.c), 0);
}

TEST(CollectionForm, UnflatteningMergesAllOrNothing) {
    Owned o;
    ASSERT_EQ(AddCollectionItem(o.c, 1, 1, 3, "old"), noErr);
    ASSERT_EQ(AddCollectionItem(o.c, 1, 9, 4, "mine"), noErr);
    const bool be = !kHostIsLittleEndian;
    std::vector<UInt8> bytes = Build({{1, 2, 0x40000000, Text("new")}, {1, 1, 0x40000003, {}}}, be);
    ASSERT_EQ(Unflatten(o.c, bytes), noErr);
    std::vector<Item> expected = {{1, 1, 0x40000003, {}},
                                  {1, 9, UInt32(kCollectionDefaultAttributes), Text("mine")},
                                  {1, 2, 0x40000000, Text("new")}};
    EXPECT_EQ(Items(o.c), expected);

    SetCollectionItemInfo(o.c, 1, 2, kCollectionLockMask, kCollectionLockMask);
    EXPECT_EQ(Unflatten(o.c, Build({{1, 7, 0, {}}, {1, 2, 0, {}}}, be)), collectionItemLockedErr);
    EXPECT_EQ(CountCollectionItems(o.c), 3);
}

TEST(CollectionForm, ProcFormsMatchTheHandleFormAndStopOnTheProcsError) {
    Owned o, back;
    Fill(o.c, Sample());
    std::vector<UInt8> streamed;
    ASSERT_EQ(FlattenCollection(o.c, AppendTo, &streamed), noErr);
    EXPECT_EQ(streamed, Flattened(o.c));

    Source source{streamed, 0};
    source.bytes.push_back(0xEE); // never asked for: the form says where it ends
    ASSERT_EQ(UnflattenCollection(back.c, ReadFrom, &source), noErr);
    EXPECT_EQ(source.position, streamed.size());
    EXPECT_EQ(Items(back.c), Sample());

    Owned failed;
    Source cut{streamed, 0, 40};
    EXPECT_EQ(UnflattenCollection(failed.c, ReadFrom, &cut), ioErr);
    EXPECT_EQ(CountCollectionItems(failed.c), 0);
    EXPECT_EQ(FlattenCollection(o.c, nullptr, nullptr), paramErr);
}

TEST(CollectionForm, AHandleThatCannotGrowIsLeftAlone) {
    Owned o;
    Fill(o.c, Sample());
    OwnedHandle out(Text("keep"));
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolApplication, 1);
    EXPECT_EQ(FlattenCollectionToHdl(o.c, out.h), memFullErr);
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolApplication, 0);
    EXPECT_EQ(HandleBytes(out.h), Text("keep"));
    EXPECT_EQ(FlattenCollectionToHdl(o.c, nullptr), nilHandleErr);
}
