#include "PPDKeyword.h"
#include "ParseTestSupport.h"
#include "TestPPD.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

/// A stream over `text`, which must outlive it (a temporary is refused at compile time).
PPDStream over(const std::string& text) { return PPDStream(text.data(), static_cast<long>(text.size())); }
PPDStream over(const std::string&& text) = delete;
PPDStream over(const char* text) { return PPDStream(text, static_cast<long>(std::strlen(text))); }

/// Every token NextToken gives until it answers false.
std::vector<std::string> tokens(const std::string& text, const char* delimiters, bool strip = false) {
    PPDStream stream = over(text);
    std::vector<std::string> result;
    char token[PPDStream::kLineBufferSize];
    while (PPDX::NextToken(stream, token, delimiters, strip))
        result.push_back(token);
    return result;
}

/// A HeaderPPD-free way to call the quoted-value readers: a model with no file.
class Reader : public PPDX {
public:
    Reader() = default;
    void Parse() override {}
    void Continue(PPDStream* stream) { mStream = stream; }
};

using Strings = std::vector<std::string>;

} // namespace

TEST(PPDStream, SetupAndCharacters) {
    PPDStream none;
    EXPECT_TRUE(none.Bad());
    none.Setup(nullptr, 5);
    EXPECT_TRUE(none.Bad());
    none.Setup("x", 0);
    EXPECT_TRUE(none.Bad());

    std::string text = "a \tb";
    PPDStream s = over(text);
    EXPECT_TRUE(s.Good());
    char c;
    EXPECT_TRUE(s.GetChar(c));
    EXPECT_EQ(c, 'a');
    s.SkipWhiteSpace();
    EXPECT_EQ(s.PeekChar(), 'b');
    EXPECT_TRUE(s.GetChar(c));
    EXPECT_EQ(s.PeekChar(), static_cast<char>(-1));
    EXPECT_FALSE(s.GetChar(c));
    EXPECT_EQ(c, static_cast<char>(-1));
    EXPECT_TRUE(s.EndOfFile());

    PPDStream copy(s);
    EXPECT_TRUE(copy.EndOfFile());
}

// Line ends, the 255-byte limits and the 0xFF stop are checked against the byte-by-byte readers
// further down.
TEST(NextToken, DelimitersEndTokensAndEmptyFieldsEndLists) {
    EXPECT_EQ(tokens("*Key:word", PPDX::kKeywordDelimiters), (Strings{"*Key", "word"}));
    EXPECT_EQ(tokens("one  two", PPDX::kKeywordDelimiters), (Strings{"one"}));
    EXPECT_EQ(tokens("A||B", PPDX::kFlagDelimiters), (Strings{"A"}));
    EXPECT_EQ(tokens("\"Command|Setup\"", PPDX::kFlagDelimiters), Strings{});
    EXPECT_EQ(tokens("Command|Setup\"", PPDX::kFlagDelimiters), (Strings{"Command", "Setup"}));
    EXPECT_EQ(tokens("A4/A4 Paper: \"x\"", PPDX::kOptionDelimiters),
              (Strings{"A4", "A4 Paper", " \"x\""}));
    EXPECT_EQ(tokens("PickOne;(1;2)", PPDX::kUITypeDelimiters), (Strings{"PickOne"}));
    EXPECT_EQ(tokens("1;100;5;50)", PPDX::kUITypeDelimiters), (Strings{"1", "100", "5", "50"}));
    EXPECT_EQ(tokens("no delimiters at all", nullptr), (Strings{"no delimiters at all"}));
    EXPECT_EQ(tokens("  padded \t", PPDX::kColonDelimiters, true), (Strings{"padded"}));
    EXPECT_EQ(tokens("   ", PPDX::kColonDelimiters, true), (Strings{""})); // blank but true

    PPDStream s = over("x");
    EXPECT_FALSE(PPDX::NextToken(s, nullptr, nullptr, false));
}

TEST(StripWhiteSpace, LeadingAndTrailing) {
    char a[] = " \t lead";
    PPDX::StripLeadingWhiteSpace(a);
    EXPECT_STREQ(a, "lead");
    char b[] = "trail \t ";
    PPDX::StripTrailingWhiteSpace(b);
    EXPECT_STREQ(b, "trail");
    char c[] = " ";
    PPDX::StripTrailingWhiteSpace(c); // the first character always stays
    EXPECT_STREQ(c, " ");
    char d[] = "";
    PPDX::StripTrailingWhiteSpace(d);
    PPDX::StripLeadingWhiteSpace(d);
    EXPECT_STREQ(d, "");
}

TEST(GetQuotedString, SingleLineValues) {
    Reader reader;
    char out[256];
    PPDStream s = over(" \"4.3\"");
    EXPECT_EQ(reader.GetQuotedString(s, out, sizeof out), 4);
    EXPECT_STREQ(out, "4.3");

    PPDStream empty = over(" \"\"");
    EXPECT_EQ(reader.GetQuotedString(empty, out, sizeof out), 0);

    PPDStream bare = over(" English");
    EXPECT_EQ(reader.GetQuotedString(bare, out, sizeof out), 0);

    std::string twenty = "\"" + std::string(20, 'v') + "\"";
    PPDStream longValue = over(twenty);
    char small[8];
    EXPECT_EQ(reader.GetQuotedString(longValue, small, sizeof small), 7);
    EXPECT_STREQ(small, "vvvvvvv");
}

TEST(GetQuotedString, ContinuesOverFileLines) {
    Reader reader;
    std::string file = "\nsecond line\"\n*Next: x\n";
    PPDStream rest = over(file);
    reader.Continue(&rest);
    PPDStream first = over("*Key: \"first");
    char out[256];
    long count = reader.GetQuotedString(first, out, sizeof out);
    EXPECT_EQ(count, 5 + 1 + 11 + 1);
    EXPECT_STREQ(out, "first"); // a NUL separates the lines
    EXPECT_EQ(std::string(out + 6), "second line");

    std::string unclosed = "more\n*Next: x\n";
    PPDStream rest2 = over(unclosed);
    reader.Continue(&rest2);
    PPDStream start = over("*Key: \"open");
    count = reader.GetQuotedString(start, out, sizeof out);
    EXPECT_EQ(count, 4 + 1 + 4 + 1); // up to the separator before the "*" line
    EXPECT_STREQ(out, "open");

    PPDStream ended;
    reader.Continue(&ended);
    PPDStream last = over("*Key: \"dangling");
    EXPECT_EQ(reader.GetQuotedString(last, out, sizeof out), 0);
}

TEST(GetPostscriptString, JoinsLinesWithLineFeeds) {
    Reader reader;
    char out[256];
    std::string file = "b\"\n";
    PPDStream rest = over(file);
    reader.Continue(&rest);
    PPDStream first = over("*QVDuplex None: \"a");
    ASSERT_EQ(reader.GetPostscriptString(first, out, sizeof out), 4);
    EXPECT_EQ(std::string(out, 4), "a\nb\n");

    PPDStream single = over("*X Y: \"<< /Duplex false >> setpagedevice\"");
    long count = reader.GetPostscriptString(single, out, sizeof out);
    EXPECT_EQ(std::string(out, static_cast<size_t>(count)), "<< /Duplex false >> setpagedevice\n");

    PPDStream empty = over("*X Y: \"\"");
    EXPECT_EQ(reader.GetPostscriptString(empty, out, sizeof out), 0);
    PPDStream none = over("*X Y: bare");
    EXPECT_EQ(reader.GetPostscriptString(none, out, sizeof out), 0);
}

TEST(GetPostscriptString, CommentsAndKeywordsInsideCode) {
    Reader reader;
    char out[256];
    std::string file = "\n*% keep this\nend\"\n";
    PPDStream rest = over(file);
    reader.Continue(&rest);
    PPDStream first = over("*X Y: \"start");
    long count = reader.GetPostscriptString(first, out, sizeof out);
    EXPECT_EQ(std::string(out, static_cast<size_t>(count)), "start\n keep this\nend\n");

    std::string broken = "*DefaultX: Y\n";
    PPDStream rest2 = over(broken);
    reader.Continue(&rest2);
    PPDStream open = over("*X Y: \"code");
    count = reader.GetPostscriptString(open, out, sizeof out);
    EXPECT_EQ(std::string(out, static_cast<size_t>(count)), "code\n\n");

    PPDStream ended;
    reader.Continue(&ended);
    PPDStream last = over("*X Y: \"tail");
    count = reader.GetPostscriptString(last, out, sizeof out);
    EXPECT_EQ(std::string(out, static_cast<size_t>(count)), "tail\n");
}

TEST(GetPostscriptString, CapacityEndsTheCode) {
    Reader reader;
    char out[6];
    PPDStream s = over("*X Y: \"abcdefgh\"");
    ASSERT_EQ(reader.GetPostscriptString(s, out, sizeof out), 6);
    EXPECT_EQ(std::string(out, 6), "abcde\n");
}

// A buffer that fills exactly at the end of a continuation line is full: the next file line
// must stay unread for the driver, not be swallowed.
TEST(QuotedValues, FullAtALineEndLeavesTheNextLineUnread) {
    Reader reader;
    std::string file = "bcd\n*Next: x\n";
    PPDStream rest = over(file);
    reader.Continue(&rest);
    char out[6]; // "a" + separator + "bcd" fill the 5 characters
    PPDStream first = over("*Key: \"a");
    EXPECT_EQ(reader.GetQuotedString(first, out, sizeof out), 5);
    EXPECT_EQ(std::string(out, 6), std::string("a\0bcd\0", 6));
    char line[PPDStream::kLineBufferSize];
    ASSERT_TRUE(rest.GetLine(line));
    EXPECT_STREQ(line, "*Next: x");

    PPDStream rest2 = over(file);
    reader.Continue(&rest2);
    PPDStream code = over("*X Y: \"a");
    EXPECT_EQ(reader.GetPostscriptString(code, out, sizeof out), 6);
    EXPECT_EQ(std::string(out, 6), "a\nbcd\n");
    ASSERT_TRUE(rest2.GetLine(line));
    EXPECT_STREQ(line, "*Next: x");
}

// The same boundary through the whole parse: code of exactly 4095 bytes ending at a line end,
// and a model name filling 255 bytes over two lines, must not cost the following lines.
TEST(QuotedValues, ExactlyFullValuesInAWholePPD) {
    std::string codeLine(99, 'x');
    std::string code;
    while (code.size() + codeLine.size() + 1 <= 4095 - 1)
        code += codeLine + "\n";
    code += std::string(4095 - 1 - code.size(), 'y'); // 4095 with the LF that joins the next line
    std::string body = ppdLayout() +
                       "*%QRVFlags *QVBig: Setup\n*%QRVGroup *QVBig: TPColor/Color\n"
                       "*OpenUI *QVBig/Big: PickOne\n*DefaultQVBig: A\n"
                       "*QVBig A/A: \"" + code + "\n\"\n*CloseUI: *QVBig\n" +
                       popupBlock("*QVSecond");
    QRVPPD* ppd = parsePPD(body);
    EXPECT_TRUE(ppd->IsValidPPD());
    ASSERT_NE(ppd->GetControls(), nullptr);
    EXPECT_EQ(ppd->GetControls()->PopupCount(), 2u);
    ppd->Release();

    std::string head = "*PPD-Adobe: \"4.3\"\n*ModelName: \"" + std::string(100, 'm') + "\n" +
                       std::string(154, 'n') + "\n*FileVersion: \"1.0\"\n";
    QRVPPD* named = parsePPD(head, kShowAll, false);
    ASSERT_NE(named->FileVersion(), nullptr);
    EXPECT_STREQ(named->FileVersion(), "1.0");
    named->Release();
}

// The readers scan whole runs of bytes; reading byte by byte through GetChar, as below, is what
// they must match exactly: results, statuses and where the stream stands after each call.
namespace {

namespace bytewise {

bool NextToken(PPDStream& stream, char* token, const char* delimiters, bool strip) {
    int stored = 0;
    bool endedAtLF = false;
    char c;
    while (stored < PPDStream::kMaxLineLength && stream.GetChar(c)) {
        if (c == '\n') {
            endedAtLF = true;
            break;
        }
        if (c == '\r' && stream.PeekChar() != '\n')
            break;
        if (delimiters && c != '\0' && std::strchr(delimiters, c))
            break;
        token[stored++] = c;
    }
    if (endedAtLF && stored > 0 && token[stored - 1] == '\r')
        --stored;
    token[stored] = '\0';
    if (stored == 0)
        return false;
    if (strip) {
        PPDX::StripLeadingWhiteSpace(token);
        PPDX::StripTrailingWhiteSpace(token);
    }
    return true;
}

bool GetLine(PPDStream& stream, char* line) {
    int stored = 0;
    char c;
    while (stored < PPDStream::kMaxLineLength && stream.GetChar(c)) {
        if (c == static_cast<char>(0xFF))
            break;
        if (c == '\n' || c == '\r') {
            if (c == '\r' && stream.PeekChar() == '\n')
                stream.GetChar(c);
            line[stored] = '\0';
            return true;
        }
        line[stored++] = c;
    }
    line[stored] = '\0';
    return false;
}

PPDStream::CopyEnd CopyUntil(PPDStream& stream, char stop, char* out, long room, long* copied) {
    *copied = 0;
    char c;
    while (stream.GetChar(c)) {
        if (c == stop)
            return PPDStream::CopyEnd::Stop;
        if (*copied >= room)
            return PPDStream::CopyEnd::Full;
        out[(*copied)++] = c;
    }
    return PPDStream::CopyEnd::EndOfData;
}

} // namespace bytewise

/// Texts built from the bytes the readers treat specially, with runs long enough to reach the
/// 255-byte limits.
std::vector<std::string> trickyTexts() {
    const char alphabet[] = {'a', 'b',  ' ',  '\t', ':',
                             '/', '|',  '"',  ';',  '(',
                             ')', '\r', '\n', '\0', static_cast<char>(0xFF),
                             '*', '%'};
    std::vector<std::string> texts = {"",
                                      "\r",
                                      "\n",
                                      "\r\n",
                                      "a\r",
                                      std::string(1, '\0'),
                                      std::string(300, 'k'),
                                      std::string(255, 'k') + "\r\n"};
    unsigned seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int n = 0; n < 300; ++n) {
        std::string text;
        size_t length = next() % 80;
        for (size_t i = 0; i < length; ++i) {
            if (next() % 40 == 0)
                text.append(240 + next() % 30, 'x');
            text.push_back(alphabet[next() % sizeof alphabet]);
        }
        texts.push_back(text);
    }
    return texts;
}

/// The bytes a stream has not read yet, read from a copy.
std::string rest(const PPDStream& stream) {
    PPDStream copy(stream);
    std::string bytes;
    char c;
    while (copy.GetChar(c))
        bytes.push_back(c);
    return bytes;
}

} // namespace

TEST(LexicalScans, NextTokenMatchesReadingByteByByte) {
    const char* sets[] = {PPDX::kKeywordDelimiters,
                          PPDX::kLineEndDelimiters,
                          PPDX::kOptionDelimiters,
                          PPDX::kColonDelimiters,
                          PPDX::kUITypeDelimiters,
                          PPDX::kFlagDelimiters,
                          PPDX::kBlankDelimiters,
                          "x\r",
                          nullptr};
    for (const std::string& text : trickyTexts())
        for (const char* delimiters : sets)
            for (bool strip : {false, true}) {
                PPDStream fast = over(text), slow = over(text);
                for (int call = 0; call < 40; ++call) {
                    char a[PPDStream::kLineBufferSize], b[PPDStream::kLineBufferSize];
                    bool gotFast = PPDX::NextToken(fast, a, delimiters, strip);
                    bool gotSlow = bytewise::NextToken(slow, b, delimiters, strip);
                    ASSERT_EQ(gotFast, gotSlow) << call;
                    ASSERT_STREQ(a, b) << call;
                    ASSERT_EQ(fast.Status(), slow.Status()) << call;
                    ASSERT_EQ(rest(fast), rest(slow)) << call;
                }
            }
}

TEST(LexicalScans, GetLineMatchesReadingByteByByte) {
    for (const std::string& text : trickyTexts()) {
        PPDStream fast = over(text), slow = over(text);
        for (int call = 0; call < 40; ++call) {
            char a[PPDStream::kLineBufferSize], b[PPDStream::kLineBufferSize];
            ASSERT_EQ(fast.GetLine(a), bytewise::GetLine(slow, b)) << call;
            ASSERT_STREQ(a, b) << call;
            ASSERT_EQ(fast.Status(), slow.Status()) << call;
            ASSERT_EQ(rest(fast), rest(slow)) << call;
        }
    }
}

TEST(LexicalScans, CopyUntilMatchesReadingByteByByte) {
    for (const std::string& text : trickyTexts())
        for (long room : {0L, 1L, 3L, 254L, 255L, 4095L}) {
            PPDStream fast = over(text), slow = over(text);
            for (int call = 0; call < 6; ++call) {
                std::vector<char> a(4096, 0), b(4096, 0);
                long copiedFast = -1, copiedSlow = -1;
                ASSERT_EQ(fast.CopyUntil('"', a.data(), room, &copiedFast),
                          bytewise::CopyUntil(slow, '"', b.data(), room, &copiedSlow));
                ASSERT_EQ(copiedFast, copiedSlow);
                ASSERT_EQ(a, b);
                ASSERT_EQ(fast.Status(), slow.Status());
                ASSERT_EQ(rest(fast), rest(slow));
            }
            PPDStream skipFast = over(text), skipSlow = over(text);
            char c = 0;
            bool found = false;
            while (!found && skipSlow.GetChar(c))
                found = c == '"';
            ASSERT_EQ(skipFast.SkipPast('"'), found);
            ASSERT_EQ(skipFast.Status(), skipSlow.Status());
            ASSERT_EQ(rest(skipFast), rest(skipSlow));
        }
}

TEST(PPDKeyword, EqualExactlyWhenStrcmpSaysSo) {
    const char* tokens[] = {"",
                            "*",
                            "*U",
                            "*UI",
                            "*UIConstraints",
                            "*UIConstraintsX",
                            "*uiconstraints",
                            "*UIConstraint",
                            "UIConstraints",
                            "*%QRVFlags"};
    for (const char* token : tokens) {
        const PPDKeyword key(token);
        EXPECT_EQ(key.Is("*UIConstraints"), std::strcmp(token, "*UIConstraints") == 0) << token;
        EXPECT_EQ(key.Is("*%QRVFlags"), std::strcmp(token, "*%QRVFlags") == 0) << token;
        EXPECT_EQ(key.Is("*UI"), std::strcmp(token, "*UI") == 0) << token;
    }
    EXPECT_FALSE(PPDKeyword(nullptr).Is("*UI"));
}
