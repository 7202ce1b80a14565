// XML property lists.
#include "CFTestSupport.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

std::string TextOf(CFDataRef data) {
    return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                       static_cast<size_t>(CFDataGetLength(data)));
}

CFNumberRef Int(SInt64 v) {
    return CFNumberCreate(nullptr, kCFNumberSInt64Type, &v);
}

std::string Plist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body +
           "</plist>";
}

// Every type, in an order the XML must keep: the tree of the checked-in AllTypes.plist.
CFDictionaryRef AllTypes() {
    CFMutableDictionaryRef d = CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                                         &kCFTypeDictionaryValueCallBacks);
    auto put = [d](const char* key, CFTypeRef value) {
        CFDictionarySetValue(d, CFOwned<CFStringRef>(Str(key)), value);
        CFRelease(value);
    };
    put("string", Str("Grüße <&> \"x\""));
    put("integer", Int(-42));
    put("largest", Int(INT64_MAX));
    put("smallest", Int(INT64_MIN));
    double real = 0.5;
    put("real", CFNumberCreate(nullptr, kCFNumberFloat64Type, &real));
    put("yes", CFRetain(kCFBooleanTrue));
    put("no", CFRetain(kCFBooleanFalse));
    const UInt8 bytes[] = {0, 1, 2, 0xFE, 0xFF};
    put("data", CFDataCreate(nullptr, bytes, sizeof bytes));
    put("empty data", CFDataCreate(nullptr, nullptr, 0));
    put("date", CFDateCreate(nullptr, 86400.0 * 365)); // 2002-01-01T00:00:00Z
    const void* items[] = {CFSTR("a"), CFSTR("")};
    put("array", CFArrayCreate(nullptr, items, 2, &kCFTypeArrayCallBacks));
    const void* keys[] = {CFSTR("inner")};
    const void* values[] = {CFSTR("value")};
    put("dict", CFDictionaryCreate(nullptr, keys, values, 1, &kCFTypeDictionaryKeyCallBacks,
                                   &kCFTypeDictionaryValueCallBacks));
    return d;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

CFPropertyListRef Read(const std::string& text, CFOptionFlags options, std::string* error) {
    CFOwned<CFDataRef> data(DataOf(text));
    CFStringRef reason = nullptr;
    CFPropertyListRef plist = CFPropertyListCreateFromXMLData(nullptr, data, options, &reason);
    if (error)
        *error = reason ? PMCFStringCopyUTF8(reason) : "";
    if (reason)
        CFRelease(reason);
    return plist;
}

TEST(CFPropertyList, WritesThePlatformXMLExactly) {
    CFOwned<CFDictionaryRef> tree(AllTypes());
    CFOwned<CFDataRef> xml(CFPropertyListCreateXMLData(nullptr, tree));
    ASSERT_NE(xml.get(), nullptr);
    std::string expected = ReadFile(PIGMENTOR_SOURCE_DIR "/tests/platform/CoreFoundation/data/"
                                                         "AllTypes.plist");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(TextOf(xml), expected);
}

TEST(CFPropertyList, EveryTypeSurvivesARoundTrip) {
    CFOwned<CFDictionaryRef> tree(AllTypes());
    CFOwned<CFDataRef> xml(
        CFPropertyListCreateData(nullptr, tree, kCFPropertyListXMLFormat_v1_0, 0, nullptr));
    CFPropertyListFormat format = 0;
    CFErrorRef error = nullptr;
    CFOwned<CFPropertyListRef> back(
        CFPropertyListCreateWithData(nullptr, xml, kCFPropertyListImmutable, &format, &error));
    ASSERT_NE(back.get(), nullptr);
    EXPECT_EQ(error, nullptr);
    EXPECT_EQ(format, kCFPropertyListXMLFormat_v1_0);
    EXPECT_TRUE(CFEqual(back, tree));
    CFDictionaryRef d = static_cast<CFDictionaryRef>(back.get());
    CFNumberRef smallest = static_cast<CFNumberRef>(CFDictionaryGetValue(d, CFSTR("smallest")));
    EXPECT_EQ(CFNumberGetType(smallest), kCFNumberSInt64Type);
    CFNumberRef real = static_cast<CFNumberRef>(CFDictionaryGetValue(d, CFSTR("real")));
    EXPECT_EQ(CFNumberGetType(real), kCFNumberFloat64Type);
    EXPECT_EQ(CFDictionaryGetValue(d, CFSTR("yes")), kCFBooleanTrue);
    CFDateRef date = static_cast<CFDateRef>(CFDictionaryGetValue(d, CFSTR("date")));
    EXPECT_EQ(CFDateGetAbsoluteTime(date), 86400.0 * 365);
    // Entries come back in the order written.
    std::vector<const void*> keys(CFDictionaryGetCount(d));
    CFDictionaryGetKeysAndValues(d, keys.data(), nullptr);
    EXPECT_EQ(PMCFStringCopyUTF8(static_cast<CFStringRef>(keys[0])), "string");
    EXPECT_EQ(PMCFStringCopyUTF8(static_cast<CFStringRef>(keys.back())), "dict");
}

TEST(CFPropertyList, PythonPlistlibReadsWhatWeWrite) {
    CFOwned<CFDictionaryRef> tree(AllTypes());
    CFOwned<CFDataRef> xml(CFPropertyListCreateXMLData(nullptr, tree));
    char path[] = "/tmp/pigmentor-plist-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, CFDataGetBytePtr(xml), CFDataGetLength(xml)), CFDataGetLength(xml));
    close(fd);
    const char* script =
        "import plistlib, sys, datetime\n"
        "d = plistlib.load(open(sys.argv[1], 'rb'))\n"
        "assert list(d) == ['string', 'integer', 'largest', 'smallest', 'real', 'yes', 'no',"
        " 'data', 'empty data', 'date', 'array', 'dict'], list(d)\n"
        "assert d['string'] == 'Grüße <&> \"x\"'\n"
        "assert d['integer'] == -42 and d['largest'] == 2**63 - 1 and d['smallest'] == -2**63\n"
        "assert d['real'] == 0.5 and d['yes'] is True and d['no'] is False\n"
        "assert d['data'] == bytes([0, 1, 2, 254, 255]) and d['empty data'] == b''\n"
        "assert d['date'] == datetime.datetime(2002, 1, 1), d['date']\n"
        "assert d['array'] == ['a', ''] and d['dict'] == {'inner': 'value'}\n";
    std::string scriptPath = std::string(path) + ".py";
    std::ofstream(scriptPath) << script;
    std::string command = std::string(PIGMENTOR_PYTHON) + " " + scriptPath + " " + path;
    EXPECT_EQ(std::system(command.c_str()), 0);
    unlink(scriptPath.c_str());
    unlink(path);
}

TEST(CFPropertyList, MutabilityOptionsAreHonoured) {
    const std::string text = Plist("<array><string>s</string><data>AAE=</data></array>");
    struct Case {
        CFOptionFlags options;
        bool arrayGrows, stringGrows, dataGrows;
    } cases[] = {{kCFPropertyListImmutable, false, false, false},
                 {kCFPropertyListMutableContainers, true, false, false},
                 {kCFPropertyListMutableContainersAndLeaves, true, true, true}};
    for (const Case& c : cases) {
        CFOwned<CFPropertyListRef> plist(Read(text, c.options, nullptr));
        ASSERT_NE(plist.get(), nullptr);
        auto array = static_cast<CFMutableArrayRef>(const_cast<void*>(plist.get()));
        auto string =
            static_cast<CFMutableStringRef>(const_cast<void*>(CFArrayGetValueAtIndex(array, 0)));
        auto data =
            static_cast<CFMutableDataRef>(const_cast<void*>(CFArrayGetValueAtIndex(array, 1)));
        CFArrayAppendValue(array, kCFBooleanTrue);
        CFStringAppend(string, CFSTR("+"));
        CFDataIncreaseLength(data, 1);
        EXPECT_EQ(CFArrayGetCount(array), c.arrayGrows ? 3 : 2) << c.options;
        EXPECT_EQ(CFStringGetLength(string), c.stringGrows ? 2 : 1) << c.options;
        EXPECT_EQ(CFDataGetLength(data), c.dataGrows ? 3 : 2) << c.options;
    }
    EXPECT_EQ(Read(text, 3, nullptr), nullptr); // no such option
}

TEST(CFPropertyList, MalformedOrHostileTextGivesNullAndAReason) {
    std::string nest300, nest100000;
    for (int i = 0; i < 300; ++i)
        nest300 += "<array>";
    for (int i = 0; i < 100000; ++i)
        nest100000 += "<dict><key>k</key>";
    const std::string cases[] = {
        "",
        "not xml at all",
        Plist("<array><string>cut"),                         // truncated
        Plist("<array><string>a</array></string>"),          // wrong nesting
        Plist("<dict><key>a</key></dict>"),                  // key without value
        Plist("<dict><string>a</string></dict>"),            // value without key
        Plist("<key>a</key>"),                               // key outside a dict
        Plist("<integer>9223372036854775808</integer>"),     // 2^63
        Plist("<integer>-9223372036854775809</integer>"),    // below -2^63
        Plist("<integer>99999999999999999999999</integer>"), // far too large
        Plist("<integer>010</integer>"),                     // octal or decimal?
        Plist("<integer></integer>"),                        // empty
        Plist("<integer>0x1FFFFFFFFFFFFFFFF</integer>"),     // hex too large
        Plist("<real>1e999</real>"),                         // not finite
        Plist("<real>nan</real>"),                           // not a number
        Plist("<date>2002-02-30T00:00:00Z</date>"),          // no such day
        Plist("<date>2150-01-01T00:00:00Z</date>"),          // beyond 32-bit seconds
        Plist("<data>!!!!</data>"),                          // not base64
        Plist("<true>yes</true>"),                           // boolean with content
        Plist("<string>\xC3\x28</string>"),                  // not UTF-8
        Plist("<unknown/>"),                                 // not a plist element
        Plist("<string>a<b/></string>"),                     // element inside a value
        Plist(nest300),                                      // too deep
        Plist(nest100000),                                   // deep enough to crash
        "bplist00\x01\x02",                                  // binary, cut short
        Plist("</>"),                                        // end tag without a name
        Plist("<array></></array>"),
    };
    for (const std::string& text : cases) {
        std::string error;
        CFPropertyListRef plist = Read(text, kCFPropertyListImmutable, &error);
        EXPECT_EQ(plist, nullptr) << text.substr(0, 80);
        EXPECT_FALSE(error.empty()) << text.substr(0, 80);
        if (plist)
            CFRelease(plist);
    }
    std::string huge(kPMCFPropertyListMaxBytes + 1, ' ');
    std::string error;
    EXPECT_EQ(Read(huge, 0, &error), nullptr);
    EXPECT_EQ(error, "property list too large");
}

// The `width` bytes of `value`, big-endian.
std::string BigEndian(uint64_t value, int width) {
    std::string out;
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        out += static_cast<char>(value >> shift);
    return out;
}

// A binary list of the given objects (each its encoded bytes, references `refSize` bytes wide)
// with object `top` at the root; offsets are 2 bytes.
std::string Binary(const std::vector<std::string>& objects, int refSize = 1, unsigned top = 0) {
    std::string out = "bplist00";
    std::vector<size_t> offsets;
    for (const std::string& object : objects) {
        offsets.push_back(out.size());
        out += object;
    }
    const size_t table = out.size();
    for (size_t offset : offsets)
        out += BigEndian(offset, 2);
    return out + std::string(6, '\0') + '\2' + static_cast<char>(refSize) +
           BigEndian(objects.size(), 8) + BigEndian(top, 8) + BigEndian(table, 8);
}

// `count` arrays, each holding the next one `refs` times, and a true at the end.
std::vector<std::string> Nested(int count, int refs) {
    std::vector<std::string> objects;
    for (int i = 0; i < count; ++i) {
        std::string array(1, static_cast<char>(0xA0 | refs));
        for (int r = 0; r < refs; ++r)
            array += BigEndian(static_cast<uint64_t>(i + 1), 2);
        objects.push_back(array);
    }
    objects.push_back("\x09");
    return objects;
}

TEST(CFPropertyList, BinaryListsReadAsTheirXMLTwin) {
    std::string binary = ReadFile(PIGMENTOR_SOURCE_DIR "/tests/platform/CoreFoundation/data/"
                                                       "AllTypes.bplist");
    ASSERT_FALSE(binary.empty());
    CFOwned<CFDataRef> data(DataOf(binary));
    CFPropertyListFormat format = 0;
    CFOwned<CFPropertyListRef> plist(
        CFPropertyListCreateWithData(nullptr, data, kCFPropertyListImmutable, &format, nullptr));
    ASSERT_NE(plist.get(), nullptr);
    EXPECT_EQ(format, kCFPropertyListBinaryFormat_v1_0);
    CFOwned<CFDictionaryRef> tree(AllTypes());
    EXPECT_TRUE(CFEqual(plist, tree));

    const std::string oneTrue = "\x09";
    CFOwned<CFPropertyListRef> small(Read(Binary({"\xA1\x01", oneTrue}), 0, nullptr));
    ASSERT_NE(small.get(), nullptr);
    EXPECT_EQ(CFArrayGetValueAtIndex(static_cast<CFArrayRef>(small.get()), 0), kCFBooleanTrue);
}

TEST(CFPropertyList, HostileBinaryListsGiveNullAndAReason) {
    std::string truncated = Binary({"\x09"});
    truncated.resize(truncated.size() - 1);
    const std::string badTop = Binary({"\x09"}, 1, 5);
    const std::string cases[] = {
        "bplist00",                                           // no trailer
        truncated,                                            // trailer cut
        badTop,                                               // root beyond the objects
        Binary({std::string("\xA1\x00", 2)}),                 // array holding itself
        Binary({"\xA1\x05"}),                                 // reference beyond the objects
        Binary({"\xA3\x01"}),                                 // references run past the data
        Binary({"\x13\x01"}),                                 // integer cut short
        Binary({std::string("\x14") + std::string(16, '\1')}), // 128-bit integer
        Binary({std::string("\x23\x7F\xF0\0\0\0\0\0\0", 9)}), // infinity
        Binary({std::string("\x33\x42\x00\0\0\0\0\0\0", 9)}), // date far beyond 32-bit seconds
        Binary({"\x5F\x10\x7F" "abc"}),                       // length beyond the data
        Binary({std::string("\xD1\x01\x02", 3), "\x10\x01", "\x09"}), // number as a key
        Binary({"\x80\x01"}),                                 // a UID, no property-list type
        Binary({"\x00"}),                                     // null
        Binary({"\x52\xC3\x28"}),                             // not UTF-8
        Binary({std::string("\xD1\x01\x02", 3), std::string("\x52" "a\0", 3), "\x09"}), // NUL key
        Binary({std::string("\x61\xD8\x00", 3)}),             // a lone surrogate
        Binary(Nested(kPMCFPropertyListMaxDepth + 1, 1), 2),  // too deep
        Binary(Nested(40, 2), 2),                             // 2^40 nodes once copied
        "bplist01" + Binary({"\x09"}).substr(8),              // another version
    };
    for (const std::string& bytes : cases) {
        std::string error;
        CFPropertyListRef plist = Read(bytes, kCFPropertyListImmutable, &error);
        EXPECT_EQ(plist, nullptr) << testing::PrintToString(bytes.substr(0, 24));
        EXPECT_FALSE(error.empty());
        if (plist)
            CFRelease(plist);
    }
    CFOwned<CFPropertyListRef> deepest(Read(Binary(Nested(kPMCFPropertyListMaxDepth, 1), 2), 0, nullptr));
    EXPECT_NE(deepest.get(), nullptr); // the limit itself is admitted
}

TEST(CFPropertyList, LimitsAdmitTheirBoundaries) {
    std::string nest, unnest;
    for (int i = 0; i < kPMCFPropertyListMaxDepth; ++i) {
        nest += "<array>";
        unnest += "</array>";
    }
    const std::string cases[] = {
        Plist(nest + unnest),
        Plist("<integer>9223372036854775807</integer>"),
        Plist("<integer> -9223372036854775808 </integer>"),
        Plist("<integer>0x7FFFFFFFFFFFFFFF</integer>"),
        Plist("<date>1933-12-14T00:00:00Z</date>"),
        Plist("<dict><!-- a comment --><key>k</key><string><![CDATA[<x>]]></string></dict>"),
    };
    for (const std::string& text : cases) {
        CFOwned<CFPropertyListRef> plist(Read(text, 0, nullptr));
        EXPECT_NE(plist.get(), nullptr) << text.substr(0, 80);
    }
    CFOwned<CFPropertyListRef> cdata(Read(cases[5], 0, nullptr));
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(static_cast<CFDictionaryRef>(cdata.get()), CFSTR("k")),
                        CFSTR("<x>")));
}

TEST(CFPropertyList, WritingRefusesWhatXMLCannotHold) {
    CFOwned<CFURLRef> url(CFURLCreateWithString(nullptr, CFSTR("ipp://h/q"), nullptr));
    const UniChar withNul[] = {'a', 0, 'b'};
    CFOwned<CFStringRef> nul(CFStringCreateWithCharacters(nullptr, withNul, 3));
    double nan = std::nan("");
    CFOwned<CFNumberRef> notANumber(CFNumberCreate(nullptr, kCFNumberFloat64Type, &nan));
    CFOwned<CFDateRef> farFuture(CFDateCreate(nullptr, 1e10));
    CFOwned<CFMutableDictionaryRef> numberKey(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue(numberKey, CFOwned<CFNumberRef>(Int(1)), CFSTR("v"));
    CFOwned<CFMutableArrayRef> cycle(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    CFArrayAppendValue(cycle, cycle);
    for (CFTypeRef bad : {CFTypeRef(url.get()), CFTypeRef(nul.get()), CFTypeRef(notANumber.get()),
                          CFTypeRef(farFuture.get()), CFTypeRef(numberKey.get()),
                          CFTypeRef(cycle.get()), CFTypeRef(nullptr)}) {
        CFErrorRef error = nullptr;
        EXPECT_EQ(CFPropertyListCreateData(nullptr, bad, kCFPropertyListXMLFormat_v1_0, 0, &error),
                  nullptr);
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(CFErrorGetCode(error), kCFPropertyListWriteStreamError);
        EXPECT_TRUE(CFEqual(CFErrorGetDomain(error), kCFErrorDomainCocoa));
        CFRelease(error);
    }
    EXPECT_FALSE(CFPropertyListIsValid(url, kCFPropertyListXMLFormat_v1_0));
    EXPECT_FALSE(CFPropertyListIsValid(numberKey, kCFPropertyListXMLFormat_v1_0));
    EXPECT_FALSE(CFPropertyListIsValid(cycle, kCFPropertyListXMLFormat_v1_0));
    CFArrayRemoveAllValues(cycle); // break the cycle so that the array can go
    EXPECT_EQ(
        CFPropertyListCreateData(nullptr, CFSTR("x"), kCFPropertyListBinaryFormat_v1_0, 0, nullptr),
        nullptr);
}

TEST(CFPropertyList, ReadErrorsComeAsCocoaErrors) {
    CFOwned<CFDataRef> data(DataOf(Plist("<integer>1.5</integer>")));
    CFErrorRef error = nullptr;
    EXPECT_EQ(CFPropertyListCreateWithData(nullptr, data, 0, nullptr, &error), nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(CFErrorGetCode(error), kCFPropertyListReadCorruptError);
    CFOwned<CFStringRef> text(CFErrorCopyDescription(error));
    EXPECT_EQ(PMCFStringCopyUTF8(text), "integer out of range or malformed");
    CFRelease(error);
}

TEST(CFPropertyList, DeepCopiesTakeTheMutabilityAsked) {
    CFOwned<CFDictionaryRef> tree(AllTypes());
    CFOwned<CFPropertyListRef> copy(
        CFPropertyListCreateDeepCopy(nullptr, tree, kCFPropertyListMutableContainers));
    EXPECT_TRUE(CFEqual(copy, tree));
    auto d = static_cast<CFMutableDictionaryRef>(const_cast<void*>(copy.get()));
    auto inner =
        static_cast<CFMutableArrayRef>(const_cast<void*>(CFDictionaryGetValue(d, CFSTR("array"))));
    CFArrayAppendValue(inner, CFSTR("more"));
    EXPECT_EQ(CFArrayGetCount(inner), 3);
    CFDictionaryRemoveValue(d, CFSTR("string"));
    EXPECT_EQ(CFDictionaryGetCount(d), 11);
    EXPECT_EQ(CFDictionaryGetCount(tree), 12); // the original is untouched
    EXPECT_TRUE(CFPropertyListIsValid(tree, kCFPropertyListXMLFormat_v1_0));
    EXPECT_FALSE(CFPropertyListIsValid(tree, kCFPropertyListOpenStepFormat));
}

} // namespace
