#include <CarbonCore/TextEncodingConverter.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

const TextEncoding kUTF8 =
    CreateTextEncoding(kTextEncodingUnicodeDefault, kUnicodeNoSubset, kUnicodeUTF8Format);
const TextEncoding kUTF16 =
    CreateTextEncoding(kTextEncodingUnicodeDefault, kUnicodeNoSubset, kUnicode16BitFormat);

std::string bytesOf(const std::u16string& s) {
    return std::string(reinterpret_cast<const char*>(s.data()), s.size() * sizeof(char16_t));
}

struct Converter {
    TECObjectRef ref = nullptr;
    OSStatus created;
    Converter(TextEncoding from, TextEncoding to) : created(TECCreateConverter(&ref, from, to)) {}
    ~Converter() {
        if (ref != nullptr)
            TECDisposeConverter(ref);
    }
    // One call; returns the status and appends what it wrote to *out.
    OSStatus convert(const std::string& in, size_t outSize, ByteCount* used, std::string* out) {
        std::vector<UInt8> buffer(outSize + 1);
        ByteCount produced = 0;
        OSStatus status = TECConvertText(ref, reinterpret_cast<ConstTextPtr>(in.data()), in.size(),
                                         used, buffer.data(), outSize, &produced);
        out->append(reinterpret_cast<const char*>(buffer.data()), produced);
        return status;
    }
    // The caller's loop: convert, and on a full buffer go on where it stopped with more room.
    std::string convertAll(const std::string& in, size_t outSize) {
        std::string out;
        size_t pos = 0;
        OSStatus status = kTECOutputBufferFullStatus;
        while (status == kTECOutputBufferFullStatus) {
            ByteCount used = 0;
            size_t before = out.size();
            status = convert(in.substr(pos), outSize, &used, &out);
            if (used == 0 && out.size() == before)
                ++outSize; // no progress: the next character needs more room
            pos += used;
        }
        EXPECT_EQ(status, noErr);
        EXPECT_EQ(pos, in.size());
        return out;
    }
};

TEST(CarbonCoreTextCommon, ScriptsUpgradeToMacEncodings) {
    TextEncoding e = 0xDEAD;
    EXPECT_EQ(UpgradeScriptInfoToTextEncoding(smSystemScript, kTextLanguageDontCare,
                                              kTextRegionDontCare, nullptr, &e),
              noErr);
    EXPECT_EQ(e, TextEncoding(kTextEncodingMacRoman));
    EXPECT_EQ(UpgradeScriptInfoToTextEncoding(1, 0, 0, nullptr, &e), noErr);
    EXPECT_EQ(e, 1u);
    EXPECT_EQ(UpgradeScriptInfoToTextEncoding(33, 0, 0, nullptr, &e), paramErr);
    EXPECT_EQ(UpgradeScriptInfoToTextEncoding(smRoman, 0, 0, nullptr, nullptr), paramErr);
    EXPECT_EQ(GetApplicationTextEncoding(), 0x08000100u); // UTF-8, as kCFStringEncodingUTF8
}

struct Sample {
    TextEncoding encoding;
    std::string bytes;
    std::string utf8;
    std::u16string utf16;
};

TEST(CarbonCoreTEC, EveryEncodingRoundTripsThroughUTF8AndUTF16) {
    const Sample samples[] = {
        {kTextEncodingMacRoman, "Caf\x8E \xA9\xDB", "Caf\xC3\xA9 \xC2\xA9\xE2\x82\xAC", u"Café ©€"},
        {kTextEncodingISOLatin1, "Caf\xE9", "Caf\xC3\xA9", u"Café"},
        {kTextEncodingISOLatin2, "\xE8\xB1", "\xC4\x8D\xC4\x85", u"čą"},
        {kTextEncodingISOLatin5, "\xF0\xFD", "\xC4\x9F\xC4\xB1", u"ğı"},
        {kTextEncodingWindowsLatin1, "\x80\x93", "\xE2\x82\xAC\xE2\x80\x9C", u"€“"},
        {kTextEncodingShiftJIS, "A\x82\xA0", "A\xE3\x81\x82", u"Aあ"},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.encoding);
        Converter toUTF8(s.encoding, kUTF8), toUTF16(s.encoding, kUTF16);
        Converter fromUTF8(kUTF8, s.encoding), fromUTF16(kUTF16, s.encoding);
        ASSERT_EQ(toUTF8.created, noErr);
        ASSERT_EQ(fromUTF16.created, noErr);
        EXPECT_EQ(toUTF8.convertAll(s.bytes, 64), s.utf8);
        EXPECT_EQ(toUTF16.convertAll(s.bytes, 64), bytesOf(s.utf16));
        EXPECT_EQ(fromUTF8.convertAll(s.utf8, 64), s.bytes);
        EXPECT_EQ(fromUTF16.convertAll(bytesOf(s.utf16), 64), s.bytes);
    }
    Converter toUTF32(kUTF8,
                      CreateTextEncoding(kTextEncodingUnicodeDefault, 0, kUnicode32BitFormat));
    std::u32string expected = U"a😀";
    EXPECT_EQ(toUTF32.convertAll("a\xF0\x9F\x98\x80", 64),
              std::string(reinterpret_cast<const char*>(expected.data()), 8));
}

TEST(CarbonCoreTEC, FullOutputStopsOnACharacterAndResumes) {
    Converter c(kTextEncodingMacRoman, kUTF8);
    std::string out;
    ByteCount used = 99;
    EXPECT_EQ(c.convert("A\x8E"
                        "B",
                        1, &used, &out),
              kTECOutputBufferFullStatus);
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(out, "A");
    EXPECT_EQ(c.convert("\x8E"
                        "B",
                        1, &used, &out),
              kTECOutputBufferFullStatus);
    EXPECT_EQ(used, 0u); // é needs two bytes
    EXPECT_EQ(out, "A");
    EXPECT_EQ(c.convert("\x8E"
                        "B",
                        3, &used, &out),
              noErr);
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(out, "A\xC3\xA9"
                   "B");

    EXPECT_EQ(c.convertAll("x\x8E\xA9yz", 1), "x\xC3\xA9\xC2\xA9yz");
    Converter wide(kTextEncodingMacRoman, kUTF16);
    out.clear();
    EXPECT_EQ(wide.convert("ABC", 3, &used, &out), kTECOutputBufferFullStatus);
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(out, bytesOf(u"A"));
    EXPECT_EQ(wide.convertAll("ABC\x8E", 3), bytesOf(u"ABCé"));
    Converter sjis(kUTF8, kTextEncodingShiftJIS);
    EXPECT_EQ(sjis.convertAll("\xE3\x81\x82\xE3\x81\x84", 3), "\x82\xA0\x82\xA2");
}

TEST(CarbonCoreTEC, CutOffCharacterIsFinishedByTheNextCall) {
    Converter c(kUTF8, kTextEncodingISOLatin1);
    std::string out;
    ByteCount used = 0;
    EXPECT_EQ(c.convert("a\xC3", 8, &used, &out), noErr);
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(out, "a");
    EXPECT_EQ(c.convert("\xA9z", 8, &used, &out), noErr);
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(out, "a\xE9z");

    Converter pair(kUTF16, kUTF8);
    std::string surrogates = bytesOf(u"😀");
    out.clear();
    EXPECT_EQ(pair.convert(surrogates.substr(0, 3), 8, &used, &out), noErr);
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(pair.convert(surrogates.substr(3), 3, &used, &out), kTECOutputBufferFullStatus);
    EXPECT_EQ(used, 0u); // still pending: four UTF-8 bytes do not fit in three
    EXPECT_EQ(pair.convert(surrogates.substr(3), 4, &used, &out), noErr);
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(out, "\xF0\x9F\x98\x80");
}

TEST(CarbonCoreTEC, FlushReportsAndDropsACutOffCharacter) {
    Converter c(kTextEncodingShiftJIS, kUTF8);
    std::string out;
    ByteCount used = 0, flushed = 9;
    EXPECT_EQ(c.convert("\x82", 8, &used, &out), noErr);
    EXPECT_EQ(used, 1u);
    UInt8 sink[4];
    EXPECT_EQ(TECFlushText(c.ref, sink, sizeof sink, &flushed), kTECPartialCharErr);
    EXPECT_EQ(flushed, 0u);
    EXPECT_EQ(TECFlushText(c.ref, sink, sizeof sink, &flushed), noErr);
    EXPECT_EQ(c.convert("\x82", 8, &used, &out), noErr);
    EXPECT_EQ(TECClearConverterContextInfo(c.ref), noErr);
    EXPECT_EQ(c.convert("B", 8, &used, &out), noErr);
    EXPECT_EQ(out, "B");
}

TEST(CarbonCoreTEC, BadEncodingsInputsAndConvertersAreReported) {
    TECObjectRef ref = reinterpret_cast<TECObjectRef>(1);
    EXPECT_EQ(TECCreateConverter(&ref, kTextEncodingUnknown, kUTF8), kTextUnsupportedEncodingErr);
    EXPECT_EQ(ref, nullptr);
    EXPECT_EQ(TECCreateConverter(&ref, kUTF8, CreateTextEncoding(0x100, 0, kUnicodeUTF7Format)),
              kTextUnsupportedEncodingErr);
    EXPECT_EQ(TECCreateConverter(&ref, CreateTextEncoding(kTextEncodingMacRoman, 1, 0), kUTF8),
              kTextUnsupportedEncodingErr);

    std::string out;
    ByteCount used = 0;
    Converter malformed(kUTF8, kUTF16);
    EXPECT_EQ(malformed.convert("A\xFF"
                                "B",
                                16, &used, &out),
              kTextMalformedInputErr);
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(out, bytesOf(u"A"));
    EXPECT_EQ(malformed.convert("x", 1, &used, &out), kTECBufferBelowMinimumSizeErr);

    Converter unmappable(kUTF8, kTextEncodingISOLatin1);
    out.clear();
    EXPECT_EQ(unmappable.convert("a\xE2\x82\xAC", 16, &used, &out), kTECUnmappableElementErr);
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(out, "a");

    Converter gone(kUTF8, kUTF8);
    TECObjectRef stale = gone.ref;
    EXPECT_EQ(TECDisposeConverter(stale), noErr);
    gone.ref = nullptr;
    EXPECT_EQ(TECDisposeConverter(stale), kTECCorruptConverterErr);
    ByteCount produced = 0;
    UInt8 buffer[4];
    EXPECT_EQ(TECConvertText(stale, buffer, 0, &used, buffer, 4, &produced),
              kTECCorruptConverterErr);
    EXPECT_EQ(TECConvertText(malformed.ref, nullptr, 3, &used, buffer, 4, &produced), paramErr);
}

// Long texts go through in runs; every stop must still fall exactly where one character at a
// time would put it, past the first run, and write nothing beyond what it reports.
TEST(CarbonCoreTEC, LongTextsStopExactlyAtTheOffendingCharacter) {
    std::string latin2;
    for (int i = 0; i < 300; ++i)
        latin2 += i % 2 ? "\xB1" : "a";
    Converter wide(kTextEncodingISOLatin2, kUTF16);
    std::vector<UInt8> buffer(502, 0xEE);
    ByteCount used = 0, produced = 0;
    EXPECT_EQ(TECConvertText(wide.ref, reinterpret_cast<ConstTextPtr>(latin2.data()), latin2.size(),
                             &used, buffer.data(), 501, &produced),
              kTECOutputBufferFullStatus);
    EXPECT_EQ(used, 250u);
    EXPECT_EQ(produced, 500u);
    EXPECT_EQ(buffer[499], 0x01); // the high byte of U+0105
    EXPECT_EQ(buffer[500], 0xEE);

    std::string out;
    Converter unmappable(kUTF8, kTextEncodingISOLatin1);
    EXPECT_EQ(unmappable.convert(std::string(400, 'a') + "\xE2\x82\xAC" + "b", 1000, &used, &out),
              kTECUnmappableElementErr);
    EXPECT_EQ(used, 400u);
    EXPECT_EQ(out, std::string(400, 'a'));

    out.clear();
    Converter malformed(kUTF8, kUTF16);
    EXPECT_EQ(malformed.convert(std::string(300, 'a') + "\xFF", 1000, &used, &out),
              kTextMalformedInputErr);
    EXPECT_EQ(used, 300u);
    EXPECT_EQ(out, bytesOf(std::u16string(300, u'a')));

    out.clear();
    Converter cut(kUTF8, kTextEncodingISOLatin1);
    EXPECT_EQ(cut.convert(std::string(300, 'a') + "\xC3", 1000, &used, &out), noErr);
    EXPECT_EQ(used, 301u);
    EXPECT_EQ(cut.convert("\xA9", 1000, &used, &out), noErr);
    EXPECT_EQ(out, std::string(300, 'a') + "\xE9");
}

// A converter made on one thread converts on another.
TEST(CarbonCoreTEC, ConverterMovesBetweenThreads) {
    Converter c(kTextEncodingShiftJIS, kUTF8);
    ASSERT_EQ(c.created, noErr);
    std::string out;
    OSStatus status = -1;
    std::thread([&] {
        ByteCount used = 0;
        status = c.convert("A\x82\xA0", 16, &used, &out);
    }).join();
    EXPECT_EQ(status, noErr);
    EXPECT_EQ(out, "A\xE3\x81\x82");
}

} // namespace
