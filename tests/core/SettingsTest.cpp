#include "CFDataStream.h"
#include "Settings.h"

#include "../platform/CarbonCore/CollectionFormBuilder.h"

#include <CarbonCore/MacMemory.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace formbuilder;

namespace {

constexpr unsigned long kKyWd = 0x4B795764; // 'KyWd'
constexpr unsigned long kOrdr = 0x4F726472; // 'Ordr'
constexpr unsigned long kLcCF = 0x4C634346; // 'LcCF'
constexpr long kLockBit = 0x80000000L;

// "Aé" as the UTF-16 external representation: byte-order mark, then units, in `bigEndian`.
std::vector<UInt8> Utf16(bool bigEndian) {
    std::vector<UInt8> bytes;
    for (UInt32 unit : {0xFEFFu, 0x0041u, 0x00E9u}) {
        std::vector<UInt8> two = Number(unit, 2, bigEndian);
        bytes.insert(bytes.end(), two.begin(), two.end());
    }
    return bytes;
}

std::vector<UInt8> FileSpec(bool bigEndian) {
    std::vector<UInt8> bytes = Number(0xFFFF, 2, bigEndian); // volume -1
    std::vector<UInt8> dir = Number(123456, 4, bigEndian);
    bytes.insert(bytes.end(), dir.begin(), dir.end());
    bytes.resize(70, 'n');
    bytes[6] = 3; // length of the name
    return bytes;
}

// What a saved model's archive holds, as the machine of `bigEndian` writes it.
std::vector<Item> ModelItems(bool bigEndian) {
    const UInt32 persistent = 0x40000000;
    return {
        {1000, 1001, persistent, Number(1024, 4, bigEndian)},
        {1000, 1002, persistent, FileSpec(bigEndian)},
        {1000, 1005, persistent, Text("QRVCOL.PPD")},
        {3000, 3002, persistent, Number(7, 4, bigEndian)},
        {kOrdr, 5001, persistent | 0x80000000, Number(12, 2, bigEndian)},
        {kLcCF, 5001, persistent, Utf16(bigEndian)},
        {kKyWd, 5001, persistent, {}},
    };
}

void Fill(Settings& s, const std::vector<Item>& items) {
    for (const Item& item : items) {
        std::vector<UInt8> data = item.data;
        ASSERT_EQ(s.Add(item.tag, item.id, data.data(), long(data.size())), noErr);
        if (item.attributes & 0x80000000) {
            ASSERT_EQ(s.Lock(item.tag, item.id), noErr);
        }
    }
}

// Every item through First/Next, checked field by field against `items`.
void ExpectItems(Settings& s, const std::vector<Item>& items) {
    unsigned long tag;
    long id, size, attributes;
    short err = s.First(tag, id, size, attributes);
    for (const Item& item : items) {
        ASSERT_EQ(err, noErr);
        EXPECT_EQ(tag, item.tag);
        EXPECT_EQ(id, item.id);
        EXPECT_EQ(size, long(item.data.size()));
        EXPECT_EQ(attributes, long(item.attributes));
        std::vector<UInt8> data(item.data.size() + 1, 0xEE);
        long got = long(item.data.size());
        EXPECT_EQ(s.Get(tag, id, data.data(), got, false), noErr);
        data.pop_back();
        EXPECT_EQ(data, item.data) << tag << "/" << id;
        err = s.Next(tag, id, size, attributes);
    }
    EXPECT_EQ(err, Settings::kNoMoreItems);
    EXPECT_EQ(tag, 0u);
    EXPECT_EQ(id | size | attributes, 0);
}

long Number4(Settings& s, unsigned long tag, long id, short* err) {
    SInt32 value = 0;
    long size = 4;
    *err = s.Get(tag, id, &value, size, true);
    return value;
}

} // namespace

TEST(Settings, EveryKindOfItemRoundTripsThroughACFDataStream) {
    Settings saved;
    Fill(saved, ModelItems(!kHostIsLittleEndian));
    CFDataStream out;
    ASSERT_EQ(saved.Save(&out), noErr);
    EXPECT_EQ(out.dataSize(), Build(ModelItems(!kHostIsLittleEndian), !kHostIsLittleEndian).size());

    CFDataStream in(out.getCFData());
    Settings restored;
    ASSERT_EQ(restored.Read(&in, 0), noErr);
    EXPECT_EQ(restored.Count(), 7);
    ExpectItems(restored, ModelItems(!kHostIsLittleEndian));
}

TEST(Settings, HandlesRoundTripAndForeignBlocksReadAsNoArchive) {
    Settings saved;
    Fill(saved, ModelItems(!kHostIsLittleEndian));
    char** flat = nullptr;
    ASSERT_EQ(saved.GetSettingsHandle(&flat), noErr);
    ASSERT_NE(flat, nullptr);
    Settings restored(flat);
    EXPECT_TRUE(restored.Valid());
    EXPECT_EQ(restored.LastError(), noErr);
    ExpectItems(restored, ModelItems(!kHostIsLittleEndian));

    (*flat)[0] ^= 1; // no longer our magic
    Settings foreign(flat);
    DisposeHandle(flat);
    EXPECT_FALSE(foreign.Valid());
    EXPECT_EQ(foreign.LastError(), collectionVersionErr);
    EXPECT_TRUE(foreign.Empty());

    Settings none(static_cast<char**>(nullptr));
    EXPECT_FALSE(none.Valid());
    EXPECT_EQ(none.LastError(), paramErr);
}

TEST(Settings, ABigEndianArchiveGivesItsNumbersBackAndLeavesTexts) {
    if (!kHostIsLittleEndian)
        GTEST_SKIP() << "written for a little-endian host";
    Handle block = NewHandleWith(Build(ModelItems(true), true));
    Settings s(block);
    DisposeHandle(block);
    ASSERT_TRUE(s.Valid());
    ExpectItems(s, ModelItems(true)); // keys and attributes right, data as written

    short err;
    long size = 4;
    SInt32 raw = 0;
    EXPECT_EQ(s.Get(3000, 3002, &raw, size, false), noErr);
    EXPECT_EQ(raw, 117440512);
    EXPECT_EQ(Number4(s, 3000, 3002, &err), 7);
    EXPECT_EQ(Number4(s, 1000, 1001, &err), 1024);
    EXPECT_EQ(err, noErr);
    SInt16 order = 0;
    size = 2;
    EXPECT_EQ(s.Get(kOrdr, 5001, &order, size, true), noErr);
    EXPECT_EQ(order, 12);
    UInt8 savedSpec[70];
    size = 70;
    EXPECT_EQ(s.Get(1000, 1002, savedSpec, size, true), noErr);
    EXPECT_EQ(savedSpec[0] | savedSpec[1] << 8, 0xFFFF);
    EXPECT_EQ(savedSpec[2] | savedSpec[3] << 8 | savedSpec[4] << 16 | savedSpec[5] << 24, 123456);
    EXPECT_EQ(savedSpec[6], 3);
    std::unique_ptr<CString> name(GetSettingsString(s, 1000, 1005));
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(*name, "QRVCOL.PPD");
    CFStringRef display = GetSettingsCFString(s, kLcCF, 5001);
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(CFEqual(display, CFSTR("A\u00e9")));
    CFRelease(display);
}

TEST(Settings, ByteOrderFixTakesOnlyNumberSizes) {
    Settings s;
    UInt32 pages = 7;
    ASSERT_EQ(s.Add(3000, 3002, &pages, 4), noErr);
    char text[3] = {'a', 'b', 'c'};
    ASSERT_EQ(s.Add(kKyWd, 1, text, 3), noErr);
    long size = 3;
    EXPECT_EQ(s.Get(kKyWd, 1, text, size, true), Settings::kUnfixableSize);
    EXPECT_EQ(s.LastError(), Settings::kUnfixableSize);
    short err;
    EXPECT_EQ(Number4(s, 3000, 3002, &err), 7); // this machine's order: nothing to do
    EXPECT_EQ(err, noErr);
    pages = 0x07000000; // the same count from the other byte order
    ASSERT_EQ(s.Set(3000, 3002, &pages, 4), noErr);
    EXPECT_EQ(Number4(s, 3000, 3002, &err), 7);
    size = 3;
    EXPECT_EQ(s.Get(kKyWd, 1, text, size, true), Settings::kUnfixableSize);
    EXPECT_EQ(std::memcmp(text, "abc", 3), 0);
}

TEST(Settings, GetReportsSizesAndCopiesAtMostTheBuffer) {
    Settings s;
    ASSERT_EQ(s.Add(kKyWd, 7, const_cast<char*>("*Resolution"), 11), noErr);
    long size = -5;
    EXPECT_EQ(s.Get(kKyWd, 7, nullptr, size, true), noErr);
    EXPECT_EQ(size, 11);
    char buffer[8] = "-------";
    size = 4;
    EXPECT_EQ(s.Get(kKyWd, 7, buffer, size, false), noErr);
    EXPECT_EQ(size, 11);
    EXPECT_STREQ(buffer, "*Res---");
    size = 99;
    EXPECT_EQ(s.Get(kKyWd, 8, nullptr, size, false), collectionItemNotFoundErr);
    EXPECT_EQ(size, 99);
    EXPECT_EQ(s.Get(0x100000000ul, 7, nullptr, size, false), paramErr);
    EXPECT_EQ(s.Add(kKyWd, 0x80000000L, buffer, 1), paramErr);
    EXPECT_EQ(s.Add(kKyWd, 7, buffer, -1), paramErr);
}

TEST(Settings, EditingLockingAndIterationCodes) {
    Settings s;
    unsigned long tag = 1;
    long id = 1, size = 1, attributes = 1;
    EXPECT_EQ(s.First(tag, id, size, attributes), Settings::kEmptyArchive);
    EXPECT_EQ(tag + id + size + attributes, 0u);
    char a = 'a', b = 'b';
    EXPECT_EQ(s.Set(kKyWd, 1, &a, 1), collectionItemNotFoundErr);
    ASSERT_EQ(s.Add(kKyWd, 1, &a, 1), noErr);
    ASSERT_EQ(s.Lock(kKyWd, 1), noErr);
    EXPECT_EQ(s.Set(kKyWd, 1, &b, 1), collectionItemLockedErr);
    EXPECT_EQ(s.Add(kKyWd, 1, &b, 1), collectionItemLockedErr);
    EXPECT_EQ(s.Remove(kKyWd, 1), collectionItemLockedErr);
    ASSERT_EQ(s.First(tag, id, size, attributes), noErr);
    EXPECT_EQ(attributes, 0xC0000000L);
    EXPECT_EQ(s.Unlock(kKyWd, 1), noErr);
    EXPECT_EQ(s.SetAttribute(kKyWd, 1, 0x0003, true), noErr);
    EXPECT_EQ(s.SetAttribute(kKyWd, 1, 0x0001, false), noErr);
    ASSERT_EQ(s.First(tag, id, size, attributes), noErr);
    EXPECT_EQ(attributes, 0x40000002L);
    EXPECT_EQ(s.Set(kKyWd, 1, &b, 1), noErr);
    EXPECT_EQ(s.Next(tag, id, size, attributes), Settings::kNoMoreItems);
    ASSERT_EQ(s.Add(kKyWd, 2, &a, 1), noErr); // added after the end: Next finds it
    EXPECT_EQ(s.Next(tag, id, size, attributes), noErr);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(s.Remove(kKyWd, 1), noErr);
    EXPECT_EQ(s.Remove(kKyWd, 1), collectionItemNotFoundErr);
    EXPECT_EQ(s.Count(), 1);
}

TEST(Settings, AnArchiveWithoutCollectionAnswers1000ToEverything) {
    Collection none = nullptr;
    Settings s(none);
    unsigned long tag;
    long id, size = 0, attributes;
    char** flat = reinterpret_cast<char**>(&tag);
    CFDataStream stream;
    EXPECT_FALSE(s.Valid());
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.Add(1, 1, &tag, 1), 1000);
    EXPECT_EQ(s.Get(1, 1, nullptr, size, false), 1000);
    EXPECT_EQ(s.Set(1, 1, &tag, 1), 1000);
    EXPECT_EQ(s.Remove(1, 1), 1000);
    EXPECT_EQ(s.Lock(1, 1), 1000);
    EXPECT_EQ(s.First(tag, id, size, attributes), 1000);
    EXPECT_EQ(s.Next(tag, id, size, attributes), 1000);
    EXPECT_EQ(s.Save(&stream), 1000);
    EXPECT_EQ(s.Read(&stream, 0), 1000);
    EXPECT_EQ(s.GetSettingsHandle(&flat), 1000);
    EXPECT_EQ(flat, nullptr);
    EXPECT_EQ(stream.dataSize(), 0u);

    Collection taken = NewCollection();
    Settings owner(taken);
    EXPECT_EQ(taken, nullptr);
    EXPECT_TRUE(owner.Valid());
}

TEST(Settings, CopiesAreIndependent) {
    Settings a;
    char x = 'x', y = 'y';
    ASSERT_EQ(a.Add(1, 1, &x, 1), noErr);
    Settings b(a);
    ASSERT_EQ(b.Add(1, 1, &y, 1), noErr);
    Settings c;
    ASSERT_EQ(c.Add(2, 2, &y, 1), noErr);
    c = a;
    ASSERT_EQ(a.Add(1, 2, &y, 1), noErr);
    char got = 0;
    long size = 1;
    EXPECT_EQ(a.Get(1, 1, &got, size, false), noErr);
    EXPECT_EQ(got, 'x');
    EXPECT_EQ(b.Get(1, 1, &got, size, false), noErr);
    EXPECT_EQ(got, 'y');
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.Get(2, 2, nullptr, size, false), collectionItemNotFoundErr);
}

TEST(Settings, StreamsAndMemoryFailuresGiveTheirCodes) {
    Settings s;
    char x = 'x';
    ASSERT_EQ(s.Add(1, 1, &x, 1), noErr);
    CFDataRef empty = CFDataCreate(nullptr, nullptr, 0);
    CFDataStream invalid(empty);
    CFRelease(empty);
    EXPECT_EQ(s.Save(nullptr), Settings::kBadStream);
    EXPECT_EQ(s.Save(&invalid), Settings::kBadStream);
    EXPECT_EQ(s.Read(nullptr, 0), Settings::kBadStream);

    CFDataStream out;
    ASSERT_EQ(s.Save(&out), noErr);
    CFDataStream shortStream(out.getCFData());
    EXPECT_EQ(s.Read(&shortStream, out.dataSize() + 1), eofErr);
    CFDataStream nothing;
    EXPECT_EQ(s.Read(&nothing, 0), noErr); // valid, but holds nothing to read

    char** flat = nullptr;
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolApplication, 1);
    ASSERT_EQ(s.GetSettingsHandle(&flat), noErr); // from the temporary pool instead
    EXPECT_EQ(PigmentorMemTestHandlePool(flat), kPigmentorMemPoolTemporary);
    DisposeHandle(flat);
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolApplication, 1);
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolTemporary, 1);
    EXPECT_EQ(s.GetSettingsHandle(&flat), memFullErr);
    EXPECT_EQ(flat, nullptr);
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolApplication, 1);
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolTemporary, 1);
    EXPECT_EQ(s.Save(&out), memFullErr);
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolApplication, 0);
    PigmentorMemTestFailNextAllocations(kPigmentorMemPoolTemporary, 0);
}

TEST(Settings, ADamagedArchiveReadLeavesTheArchiveAsItWas) {
    Settings saved;
    Fill(saved, ModelItems(!kHostIsLittleEndian));
    CFDataStream out;
    ASSERT_EQ(saved.Save(&out), noErr);
    const UInt8* bytes = CFDataGetBytePtr(out.getCFData());
    Settings target;
    char x = 'x';
    ASSERT_EQ(target.Add(kKyWd, 5001, &x, 1), noErr);
    for (unsigned long cut = 1; cut < out.dataSize(); ++cut) {
        CFDataRef part = CFDataCreate(nullptr, bytes, CFIndex(cut));
        CFDataStream in(part);
        CFRelease(part);
        ASSERT_EQ(target.Read(&in, 0), eofErr) << "cut at " << cut;
    }
    EXPECT_EQ(target.Count(), 1);
    std::unique_ptr<CString> text(GetSettingsString(target, kKyWd, 5001));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(*text, "x");
}

TEST(Settings, StringItemsComeBackAsStringsOrNull) {
    Settings s;
    ASSERT_EQ(s.Add(kKyWd, 1, const_cast<char*>("Setup|MacTJN|"), 13), noErr);
    ASSERT_EQ(s.Add(kKyWd, 2, nullptr, 0), noErr);
    std::vector<UInt8> utf16 = Utf16(true); // either order, the mark says which
    ASSERT_EQ(s.Add(kLcCF, 1, utf16.data(), long(utf16.size())), noErr);

    std::unique_ptr<CString> flags(GetSettingsString(s, kKyWd, 1));
    ASSERT_NE(flags, nullptr);
    EXPECT_STREQ(*flags, "Setup|MacTJN|");
    EXPECT_EQ(flags->Size(), 13u);
    EXPECT_EQ(GetSettingsString(s, kKyWd, 2), nullptr);
    EXPECT_EQ(GetSettingsString(s, kKyWd, 3), nullptr);
    CFStringRef name = GetSettingsCFString(s, kLcCF, 1);
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(CFEqual(name, CFSTR("A\u00e9")));
    CFRelease(name);
    EXPECT_EQ(GetSettingsCFString(s, kKyWd, 2), nullptr);
    EXPECT_EQ(GetSettingsCFString(s, kLcCF, 9), nullptr);
}

TEST(CFDataStream, ReadsAllOrNothingFromItsOwnCopy) {
    UInt8 bytes[] = {1, 2, 3, 4, 5};
    CFMutableDataRef data = CFDataCreateMutable(nullptr, 0);
    CFDataAppendBytes(data, bytes, 5);
    CFDataStream stream(data);
    CFDataSetLength(data, 0); // the stream kept its own copy
    CFRelease(data);
    EXPECT_TRUE(stream.valid());
    EXPECT_TRUE(stream.dataExists());
    EXPECT_EQ(stream.dataSize(), 5u);
    UInt8 got[5] = {};
    unsigned long read = 9;
    short error = 9;
    EXPECT_TRUE(stream.in(got, 3, &read, &error));
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(error, noErr);
    EXPECT_EQ(got[2], 3);
    EXPECT_FALSE(stream.in(got, 3, &read, &error)); // only 2 left
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(error, eofErr);
    EXPECT_EQ(stream.position(), 3u);
    EXPECT_TRUE(stream.in(got, 2, &read, &error));
    EXPECT_EQ(got[1], 5);

    CFDataStream none(nullptr);
    EXPECT_FALSE(none.valid());
    EXPECT_FALSE(none.in(got, 1, &read, &error));
    EXPECT_FALSE(none.out(got, 1));
}

TEST(CFDataStream, WritesAppend) {
    CFDataStream stream;
    EXPECT_TRUE(stream.valid());
    EXPECT_FALSE(stream.dataExists());
    char ab[] = "ab";
    EXPECT_TRUE(stream.out(ab, 2));
    EXPECT_TRUE(stream.out(ab, 1));
    EXPECT_TRUE(stream.out(nullptr, 0));
    EXPECT_FALSE(stream.out(nullptr, 1));
    EXPECT_EQ(stream.dataSize(), 3u);
    EXPECT_EQ(std::memcmp(CFDataGetBytePtr(stream.getCFData()), "aba", 3), 0);
}
