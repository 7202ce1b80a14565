#include "TestPPD.h"

#include <CarbonCore/MacMemory.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Read {
    std::vector<std::string> lines;
    std::vector<bool> ended;
};

/// Every line of `bytes` as the file stream gives it, in the chunked or the whole-file mode.
Read readAll(const std::string& bytes, bool chunked) {
    TempFile file(bytes);
    CFURLRef url = file.CreateURL();
    PPDFile ppd(url);
    CFRelease(url);
    PPDFileStream stream(&ppd, chunked);
    Read read;
    char line[PPDStream::kLineBufferSize];
    for (int guard = 0; guard < 100000; ++guard) {
        bool ended = stream.GetLine(line);
        if (!ended && line[0] == '\0')
            break;
        read.lines.push_back(line);
        read.ended.push_back(ended);
        if (!ended)
            break;
    }
    return read;
}

/// A file whose lines of varying length straddle several 10000-byte chunk boundaries.
std::string manyLines(const char* lineEnd) {
    std::string text;
    for (int i = 0; text.size() < 35000; ++i)
        text += "*Line" + std::to_string(i) + ": \"" + std::string(static_cast<size_t>(i % 90), 'x') +
                "\"" + lineEnd;
    return text;
}

} // namespace

TEST(PPDFileStream, ChunkedAndWholeFileGiveTheSameLines) {
    for (const char* lineEnd : {"\n", "\r\n", "\r"}) {
        std::string text = manyLines(lineEnd);
        Read chunked = readAll(text, true);
        Read whole = readAll(text, false);
        EXPECT_EQ(chunked.lines, whole.lines);
        EXPECT_EQ(chunked.ended, whole.ended);
        ASSERT_GT(chunked.lines.size(), 500u);
        EXPECT_EQ(chunked.lines[1], "*Line1: \"x\"");
    }
}

TEST(PPDFileStream, LineEndSplitAcrossAChunkBoundary) {
    // The CR of a CR LF pair is the last byte of the first chunk, its LF the first of the next.
    std::string text;
    while (text.size() < static_cast<size_t>(PPDFileStream::kChunkSize) - 40)
        text += "*Filler: \"0123456789\"\r\n";
    text += std::string(static_cast<size_t>(PPDFileStream::kChunkSize) - 1 - text.size(), 'a');
    text += "\r\n*After: \"yes\"\r\n";
    ASSERT_EQ(text[PPDFileStream::kChunkSize - 1], '\r');
    Read chunked = readAll(text, true);
    Read whole = readAll(text, false);
    EXPECT_EQ(chunked.lines, whole.lines);
    ASSERT_GE(chunked.lines.size(), 2u);
    EXPECT_EQ(chunked.lines.back(), "*After: \"yes\"");
}

TEST(PPDFileStream, LongLinesAcrossABoundaryStayTooLong) {
    std::string text;
    while (text.size() < static_cast<size_t>(PPDFileStream::kChunkSize) - 100)
        text += "*Filler: \"0123456789\"\n";
    text += std::string(255, 'L') + "\n*After: x\n"; // 255 bytes straddling the boundary
    Read chunked = readAll(text, true);
    Read whole = readAll(text, false);
    EXPECT_EQ(chunked.lines, whole.lines);
    EXPECT_EQ(chunked.ended.back(), false);
    EXPECT_EQ(chunked.lines.back().size(), 255u);
}

TEST(PPDFileStream, EmptyMissingAndUnterminatedFiles) {
    TempFile empty("");
    CFURLRef url = empty.CreateURL();
    PPDFile file(url);
    CFRelease(url);
    PPDFileStream chunked(&file, true);
    EXPECT_TRUE(chunked.Bad());
    PPDFileStream whole(&file, false);
    char line[PPDStream::kLineBufferSize];
    EXPECT_FALSE(whole.GetLine(line));

    PPDFileStream none(nullptr, true);
    EXPECT_TRUE(none.Bad());

    FSSpec nothing = {};
    PPDFile missing(nothing);
    PPDFileStream unreadable(&missing, true);
    EXPECT_TRUE(unreadable.Bad());

    Read last = readAll("*A: x\n*B: y", true);
    ASSERT_EQ(last.lines.size(), 2u);
    EXPECT_FALSE(last.ended[1]);
}

TEST(PPDFileStream, ClosesTheForkItOpened) {
    TempFile text("*A: x\n");
    CFURLRef url = text.CreateURL();
    PPDFile file(url);
    CFRelease(url);
    {
        PPDFileStream stream(&file, true);
        EXPECT_TRUE(file.dataForkOpen());
    }
    EXPECT_FALSE(file.dataForkOpen());
}
