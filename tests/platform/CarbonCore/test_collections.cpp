#include "CollectionFormBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace formbuilder;

namespace {

constexpr CollectionTag kKyWd = 0x4B795764; // 'KyWd'
constexpr CollectionTag kOrdr = 0x4F726472; // 'Ordr'

OSErr AddText(Collection c, CollectionTag tag, SInt32 id, const char* text) {
    return AddCollectionItem(c, tag, id, SInt32(std::strlen(text)), text);
}

std::string ItemText(Collection c, CollectionTag tag, SInt32 id) {
    char buffer[64] = {};
    SInt32 size = sizeof buffer;
    if (GetCollectionItem(c, tag, id, &size, buffer) != noErr)
        return "<missing>";
    return std::string(buffer, size_t(size));
}

struct Info {
    CollectionTag tag = 0;
    SInt32 id = 0, size = -1, attributes = 0;
};

Info At(Collection c, SInt32 index) {
    Info info;
    EXPECT_EQ(
        GetIndexedCollectionItemInfo(c, index, &info.tag, &info.id, &info.size, &info.attributes),
        noErr);
    return info;
}

} // namespace

TEST(Collections, ItemsKeepFirstInsertionOrderAndAreReplacedInPlace) {
    Owned o;
    ASSERT_EQ(AddText(o.c, kKyWd, 5001, "*ColorModel"), noErr);
    ASSERT_EQ(AddText(o.c, kOrdr, 5001, "ab"), noErr);
    ASSERT_EQ(AddText(o.c, kKyWd, -7, ""), noErr);
    ASSERT_EQ(AddText(o.c, kKyWd, 5001, "*Resolution"), noErr); // replaces, keeps position
    EXPECT_EQ(CountCollectionItems(o.c), 3);
    EXPECT_EQ(CountCollectionTags(o.c), 2);
    const UInt32 plain = kCollectionDefaultAttributes;
    EXPECT_EQ(Items(o.c), (std::vector<Item>{{kKyWd, 5001, plain, Text("*Resolution")},
                                             {kOrdr, 5001, plain, Text("ab")},
                                             {kKyWd, -7, plain, {}}}));

    SInt32 index = 0, size = 0, attributes = 0;
    EXPECT_EQ(GetCollectionItemInfo(o.c, kOrdr, 5001, &index, &size, &attributes), noErr);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(attributes, kCollectionDefaultAttributes);
}

TEST(Collections, GetCopiesAtMostTheGivenSizeAndReportsTheWholeSize) {
    Owned o;
    ASSERT_EQ(AddText(o.c, kKyWd, 1, "abcdef"), noErr);
    char buffer[8] = "-------";
    SInt32 size = 3;
    EXPECT_EQ(GetCollectionItem(o.c, kKyWd, 1, &size, buffer), noErr);
    EXPECT_EQ(size, 6);
    EXPECT_STREQ(buffer, "abc----");
    size = 0;
    EXPECT_EQ(GetCollectionItem(o.c, kKyWd, 1, &size, nullptr), noErr); // size only
    EXPECT_EQ(size, 6);
    EXPECT_EQ(GetCollectionItem(o.c, kKyWd, 1, nullptr, buffer), noErr); // whole item
    EXPECT_STREQ(buffer, "abcdef-");
    size = -1;
    EXPECT_EQ(GetCollectionItem(o.c, kKyWd, 1, &size, buffer), paramErr);
    size = 42;
    EXPECT_EQ(GetCollectionItem(o.c, kKyWd, 2, &size, buffer), collectionItemNotFoundErr);
    EXPECT_EQ(size, 42);
    size = 2;
    EXPECT_EQ(GetIndexedCollectionItem(o.c, 1, &size, buffer), noErr);
    EXPECT_EQ(size, 6);
}

TEST(Collections, BadArgumentsAndIndexesGiveTheirCodes) {
    Owned o;
    ASSERT_EQ(AddText(o.c, kKyWd, 1, "x"), noErr);
    EXPECT_EQ(AddCollectionItem(o.c, kKyWd, 2, -1, "x"), paramErr);
    EXPECT_EQ(AddCollectionItem(o.c, kKyWd, 2, 4, nullptr), paramErr);
    EXPECT_EQ(AddCollectionItem(o.c, kKyWd, 2, 0, nullptr), noErr);
    EXPECT_EQ(AddCollectionItem(nullptr, kKyWd, 2, 0, nullptr), paramErr);
    EXPECT_EQ(GetIndexedCollectionItemInfo(o.c, 0, nullptr, nullptr, nullptr, nullptr),
              collectionIndexRangeErr);
    EXPECT_EQ(GetIndexedCollectionItem(o.c, 3, nullptr, nullptr), collectionIndexRangeErr);
    EXPECT_EQ(ReplaceIndexedCollectionItem(o.c, 3, 0, nullptr), collectionIndexRangeErr);
    EXPECT_EQ(ReplaceIndexedCollectionItem(o.c, 1, -2, "x"), paramErr);
    EXPECT_EQ(RemoveCollectionItem(o.c, kOrdr, 1), collectionItemNotFoundErr);
    EXPECT_EQ(SetCollectionItemInfo(o.c, kOrdr, 1, -1, 0), collectionItemNotFoundErr);
    EXPECT_EQ(GetCollectionItemInfo(o.c, kOrdr, 1, nullptr, nullptr, nullptr),
              collectionItemNotFoundErr);
    EXPECT_EQ(CountCollectionItems(nullptr), 0);
    EXPECT_EQ(CopyCollection(o.c, nullptr), nullptr);
}

TEST(Collections, LockedItemsCanBeNeitherReplacedNorRemovedUntilUnlocked) {
    Owned o;
    ASSERT_EQ(AddText(o.c, kKyWd, 1, "old"), noErr);
    ASSERT_EQ(SetCollectionItemInfo(o.c, kKyWd, 1, kCollectionLockMask, kCollectionLockMask),
              noErr);
    EXPECT_EQ(At(o.c, 1).attributes, kCollectionLockMask | kCollectionDefaultAttributes);
    EXPECT_EQ(AddText(o.c, kKyWd, 1, "new"), collectionItemLockedErr);
    EXPECT_EQ(ReplaceIndexedCollectionItem(o.c, 1, 3, "new"), collectionItemLockedErr);
    EXPECT_EQ(RemoveCollectionItem(o.c, kKyWd, 1), collectionItemLockedErr);
    EXPECT_EQ(ItemText(o.c, kKyWd, 1), "old");

    ASSERT_EQ(SetCollectionItemInfo(o.c, kKyWd, 1, kCollectionLockMask, 0), noErr);
    EXPECT_EQ(ReplaceIndexedCollectionItem(o.c, 1, 3, "new"), noErr);
    EXPECT_EQ(ItemText(o.c, kKyWd, 1), "new");
    EXPECT_EQ(RemoveCollectionItem(o.c, kKyWd, 1), noErr);

    ASSERT_EQ(AddText(o.c, kKyWd, 2, "kept?"), noErr);
    SetCollectionItemInfo(o.c, kKyWd, 2, kCollectionLockMask, kCollectionLockMask);
    EmptyCollection(o.c); // takes locked items too
    EXPECT_EQ(CountCollectionItems(o.c), 0);
}

TEST(Collections, RemovalKeepsTheOrderAndTheLookUpsOfTheOthers) {
    Owned o;
    for (SInt32 id = 1; id <= 4; ++id)
        ASSERT_EQ(AddCollectionItem(o.c, kOrdr, id, 4, &id), noErr);
    ASSERT_EQ(RemoveCollectionItem(o.c, kOrdr, 2), noErr);
    EXPECT_EQ(CountCollectionItems(o.c), 3);
    SInt32 index = 0;
    EXPECT_EQ(GetCollectionItemInfo(o.c, kOrdr, 4, &index, nullptr, nullptr), noErr);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(At(o.c, 2).id, 3);
    ASSERT_EQ(AddCollectionItem(o.c, kOrdr, 2, 0, nullptr), noErr); // back, at the end
    EXPECT_EQ(At(o.c, 4).id, 2);
}

TEST(Collections, AttributesDefaultsAndCopies) {
    Owned o, copy;
    SetCollectionDefaultAttributes(o.c, kCollectionUserAttributes, 0x0005);
    EXPECT_EQ(GetCollectionDefaultAttributes(o.c), kCollectionDefaultAttributes | 0x0005);
    ASSERT_EQ(AddText(o.c, kKyWd, 1, "a"), noErr);
    ASSERT_EQ(SetCollectionItemInfo(o.c, kKyWd, 1, 0x0003, 0x0002), noErr); // bit 0 off, 1 on
    EXPECT_EQ(At(o.c, 1).attributes, kCollectionDefaultAttributes | 0x0006);

    ASSERT_EQ(AddText(copy.c, kOrdr, 9, "gone"), noErr);
    ASSERT_EQ(CopyCollection(o.c, copy.c), copy.c);
    EXPECT_EQ(CountCollectionItems(copy.c), 1);
    EXPECT_EQ(At(copy.c, 1).attributes, kCollectionDefaultAttributes | 0x0006);
    EXPECT_EQ(GetCollectionDefaultAttributes(copy.c), kCollectionDefaultAttributes | 0x0005);
    ASSERT_EQ(AddText(o.c, kKyWd, 1, "changed"), noErr);
    EXPECT_EQ(ItemText(copy.c, kKyWd, 1), "a"); // the copy owns its bytes
}
