// The fast JSON event reader against the JSON library's own strict event parser: for every
// text both must accept or refuse alike and report the same events, also when a receiver
// stops them part way.
#include <JsonEventLog.h>
#include <JsonEvents.h>

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace {

using tovrane::JsonEventLog;

struct Outcome {
    bool accepted;
    std::string log;
};

Outcome Library(const std::string& text, size_t stopAt) {
    Outcome out;
    JsonEventLog log(out.log, stopAt);
    out.accepted = nlohmann::json::sax_parse(text.begin(), text.end(), &log,
                                             nlohmann::json::input_format_t::json, true);
    return out;
}

Outcome Fast(const std::string& text, size_t stopAt) {
    Outcome out;
    JsonEventLog log(out.log, stopAt);
    out.accepted = tovrane::ParseJsonEvents(text, log);
    return out;
}

void ExpectSame(const std::string& text) {
    for (size_t stopAt : {0, 1, 2, 3}) {
        Outcome library = Library(text, stopAt);
        Outcome fast = Fast(text, stopAt);
        EXPECT_EQ(library.accepted, fast.accepted) << "text: " << text << " stop " << stopAt;
        // Events up to a fault too: both read a whole token before reporting it.
        EXPECT_EQ(library.log, fast.log) << "text: " << text << " stop " << stopAt;
    }
}

const std::vector<std::string> kTexts = {
    // Accepted shapes.
    R"({"status":0,"strings":[{"context":null,"key":"K","text":"T"}]})",
    " \t\r\n{ \"a\" : [ 1 , -2 , 3.5 , true , false , null , { } , [ ] ] } \n",
    "[]", "{}", "0", "-0", "\"x\"", "true", "null", "[[[[1]]]]",
    R"({"a":1,"a":2})",
    // Numbers at and past the 64-bit edges, exponents, floats that underflow or overflow.
    "18446744073709551615", "18446744073709551616", "-9223372036854775808",
    "-9223372036854775809", "9223372036854775807", "1e2", "1E+2", "-1.5e-3", "0.1",
    "1e400", "-1e400", "1e-400", "123456789012345678901234567890",
    std::string(400, '9'), "[1.7976931348623157e308]", "[1.8e308]",
    // Malformed numbers.
    "01", "-", "+1", "1.", ".5", "1e", "1e+", "--1", "1.e3", "0x10", "[1,]", "NaN", "Infinity",
    // Strings: escapes, surrogates, UTF-8 edges.
    R"(["\"\\\/\b\f\n\r\t"])", R"(["\u0041\u00e9\u20AC\uD83D\uDE00"])", R"(["\u0000"])",
    R"(["\uD800"])", R"(["\uDC00"])", R"(["\uD800\u0041"])", R"(["\uD800x"])", R"(["\u12"])",
    R"(["\u12G4"])", R"(["\x"])", "[\"a\x01\"]", "[\"a\x7F\"]",
    "[\"\xC2\x80\"]", "[\"\xC1\xBF\"]", "[\"\xDF\xBF\"]", "[\"\xE0\xA0\x80\"]",
    "[\"\xE0\x9F\xBF\"]", "[\"\xED\x9F\xBF\"]", "[\"\xED\xA0\x80\"]", "[\"\xEF\xBF\xBF\"]",
    "[\"\xF0\x90\x80\x80\"]", "[\"\xF0\x8F\xBF\xBF\"]", "[\"\xF4\x8F\xBF\xBF\"]",
    "[\"\xF4\x90\x80\x80\"]", "[\"\xF5\x80\x80\x80\"]", "[\"\x80\"]", "[\"\xC2\"]",
    "[\"\xE2\x82\"]", "[\"\xE2\x28\xA1\"]", "[\"abc", "\"",
    // Byte order marks, NUL bytes and what may follow the value.
    "\xEF\xBB\xBF{}", "\xEF\xBB{}", "\xEF{}", " \xEF\xBB\xBF{}", std::string("{}\0junk", 7),
    std::string("{} \0", 4), std::string("[\0]", 3), std::string("\0", 1), "", "   ",
    "{} {}", "{}x", "[1 2]", "{\"a\" 1}", "{\"a\":}", "{1:2}", "{\"a\":1,}", "[", "]", "}",
    "tru", "truex", "nul", "fals", "[true false]", "{\"a\":1 \"b\":2}", "// c\n{}",
};

TEST(JsonEvents, AcceptsRefusesAndReportsAsTheLibrary) {
    for (const std::string& text : kTexts)
        ExpectSame(text);
}

// Plain bytes are skipped a word at a time: every byte value, and every lead byte of a valid
// sequence, must stop (or not stop) the skip wherever it falls in a word.
TEST(JsonEvents, EveryByteAtEveryPlaceInAString) {
    for (size_t offset = 0; offset < 18; ++offset) {
        for (int byte = 1; byte < 256; ++byte) {
            std::string text = "[\"" + std::string(offset, 'a');
            text.push_back(static_cast<char>(byte));
            ExpectSame(text + "bcdefghijklmnop\"]");
        }
        for (const char* sequence : {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\\n"})
            ExpectSame("[\"" + std::string(offset, 'a') + sequence + "bcdefghijk\"]");
    }
}

TEST(JsonEvents, ReadsDecimalPointsWhateverTheLocale) {
    // A locale with a decimal comma must not change how "1.5" or a too large number reads.
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    ExpectSame("[1.5, 2.5e3, 1.5e400]");
    Outcome fast = Fast("[1.5]", 0);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_NE(fast.log.find("float 1.5"), std::string::npos) << fast.log;
}

TEST(JsonEvents, DeepNestingDoesNotRecurse) {
    // A receiver that bounds nothing still gets a million nested arrays without the stack
    // growing per level.
    std::string deep(1000000, '[');
    deep.append(1000000, ']');
    std::string log;
    JsonEventLog events(log);
    EXPECT_TRUE(tovrane::ParseJsonEvents(deep, events));
    EXPECT_EQ(log.size(), 4000000u);
}

} // namespace
