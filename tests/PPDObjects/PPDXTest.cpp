#include "TestPPD.h"
#include "TextConverter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kHeader[] = "*PPD-Adobe: \"4.3\"\n"
                       "*FormatVersion: \"4.3\"\n"
                       "*FileVersion: \"1.2\"\n"
                       "*PCFileName: \"TRVC5000.PPD\"\n"
                       "*LanguageVersion: English\n"
                       "*LanguageEncoding: ISOLatin1\n"
                       "*ModelName: \"Tarvo C5000\"\n";

/// Parses `text` with the given accepted names (none: every name is accepted).
HeaderPPD* parse(const std::string& text, CFArrayRef names = nullptr) {
    TempFile file(text);
    CFURLRef url = file.CreateURL();
    HeaderPPD* ppd = new HeaderPPD(url, names);
    CFRelease(url);
    return ppd;
}

} // namespace

TEST(PPDX, ReadsTheHeaderKeywords) {
    HeaderPPD* ppd = parse(kHeader);
    EXPECT_TRUE(ppd->IsValidPPD());
    EXPECT_TRUE(ppd->IsValidPrinterName());
    EXPECT_STREQ(ppd->FormatVersion(), "4.3");
    EXPECT_STREQ(ppd->FileVersion(), "1.2");
    EXPECT_STREQ(ppd->PCFileName(), "TRVC5000.PPD");
    EXPECT_STREQ(ppd->LanguageVersion(), "English");
    EXPECT_STREQ(ppd->LanguageEncoding(), "ISOLatin1");
    EXPECT_STREQ(ppd->ModelName(), "Tarvo C5000");
    ASSERT_NE(ppd->GetTextConverter(), nullptr);
    EXPECT_EQ(ppd->GetStringTextEncoding(), 0u); // converts into Mac Roman
    EXPECT_EQ(ppd->GetTextConverter()->GetSourceEncoding(), 513u);
    EXPECT_EQ(PPDX::PPDXManagerVersion(), 9);
    ppd->Release();
}

TEST(PPDX, LaterValuesReplaceEarlierOnesAndUnreadableOnesAreIgnored) {
    HeaderPPD* ppd = parse(std::string(kHeader) + "*ModelName: \"Second\"\n*FileVersion: \"\"\n"
                                                  "*LanguageEncoding: JIS83-RKSJ\n");
    EXPECT_STREQ(ppd->ModelName(), "Second");
    EXPECT_STREQ(ppd->FileVersion(), "1.2");
    EXPECT_EQ(ppd->GetTextConverter()->GetSourceEncoding(), 2561u);
    ppd->Release();

    HeaderPPD* bare = parse("*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n");
    EXPECT_EQ(bare->GetTextConverter(), nullptr); // no encoding yet
    EXPECT_EQ(bare->GetStringTextEncoding(), 0u);
    EXPECT_EQ(bare->PCFileName(), nullptr);
    bare->Release();
}

TEST(PPDX, ValidityFollowsSignatureAndErrors) {
    HeaderPPD* ppd = parse(kHeader);
    ppd->Record(27, false);
    EXPECT_TRUE(ppd->IsValidPPD());
    ppd->AllErrorsFatal(true);
    EXPECT_FALSE(ppd->IsValidPPD());
    ppd->AllErrorsFatal(false);
    ppd->Record(18, true);
    EXPECT_FALSE(ppd->IsValidPPD());
    EXPECT_EQ(ppd->GetErrors()->Count(), 2u);
    ppd->Release();
}

// The accepted names are looked for in a 32-byte window that starts after the blanks behind
// "*PCFileName:", and only within the file's first 4096 bytes.
TEST(PCFileName, AcceptedNamesAreFoundInTheWindowOfTheHead) {
    const std::string padding = "*% " + std::string(4100, '-') + "\n";
    const struct {
        const char* what;
        std::string text;
        bool accepted;
    } cases[] = {
        {"listed", kHeader, true},
        {"blanks before the window", "*PPD-Adobe: \"4.3\"\n*PCFileName:" + std::string(40, ' ') +
                                         "\"TRVC5000.PPD\"\n", true},
        {"beyond the window", "*PCFileName: \"" + std::string(40, 'z') + "TRVC5000.PPD\"\n", false},
        {"after the head", "*PPD-Adobe: \"4.3\"\n" + padding + "*PCFileName: \"TRVC5000.PPD\"\n",
         false},
        {"window cut by the head", std::string(4096 - 12, '-') + "*PCFileName: \"TRVC5000.PPD\"",
         false},
        {"absent", "*PPD-Adobe: \"4.3\"\n", false}};
    CFArrayRef names = CreateNames({"TRVM200.PPD", "TRVC5000"});
    for (const auto& c : cases) {
        HeaderPPD* ppd = parse(c.text, names);
        EXPECT_EQ(ppd->IsValidPrinterName(), c.accepted) << c.what;
        ppd->Release();
    }
    CFRelease(names);

    CFArrayRef others = CreateNames({"OTHER.PPD", "trvc5000.ppd"}); // names compare exactly
    HeaderPPD* refused = parse(kHeader, others);
    EXPECT_FALSE(refused->IsValidPrinterName());
    EXPECT_FALSE(refused->IsValidPPD()); // never parsed
    EXPECT_EQ(refused->ModelName(), nullptr);
    refused->Release();
    CFRelease(others);
}

TEST(PCFileName, ValidateFileName) {
    TempFile file(kHeader);
    CFURLRef url = file.CreateURL();
    CFArrayRef names = CreateNames({"TRVC5000.PPD"});
    CFArrayRef others = CreateNames({"NOPE.PPD"});
    EXPECT_TRUE(PPDX::ValidateFileName(url, nullptr, nullptr));
    EXPECT_TRUE(PPDX::ValidateFileName(url, names, nullptr));
    EXPECT_FALSE(PPDX::ValidateFileName(url, others, nullptr));
    PPDFile ppdFile(url);
    EXPECT_TRUE(PPDX::ValidateFileName(nullptr, names, &ppdFile));
    EXPECT_FALSE(PPDX::ValidateAgainstPCFilename(names, nullptr));

    CFURLRef missing = CFURLCreateWithFileSystemPath(kCFAllocatorDefault, CFSTR("/nonexistent/x.ppd"),
                                                     kCFURLPOSIXPathStyle, false);
    EXPECT_FALSE(PPDX::ValidateFileName(missing, names, nullptr));
    CFRelease(missing);
    CFRelease(url);
    CFRelease(names);
    CFRelease(others);
}

TEST(PPDX, BadFilesNeverCrash) {
    HeaderPPD* empty = parse("");
    EXPECT_FALSE(empty->IsValidPPD());
    empty->Release();

    std::string binary;
    for (int i = 0; i < 30000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    HeaderPPD* noise = parse(binary);
    EXPECT_FALSE(noise->IsValidPPD());
    noise->Release();

    HeaderPPD* unterminated = parse("*PPD-Adobe: \"4.3\n*ModelName: \"x\n");
    EXPECT_FALSE(unterminated->IsValidPPD());
    unterminated->Release();

    HeaderPPD* longLine = parse(std::string(kHeader) + std::string(5000, 'q') + "\n*ModelName: \"late\"\n");
    EXPECT_STREQ(longLine->ModelName(), "Tarvo C5000");
    longLine->Release();
}

TEST(TextConverterOfAPPD, EightBitTextOutsideTheListedLanguagesIsMacRoman) {
    // An English PPD that declares ISO Latin 1 but carries 8-bit bytes is read as Mac Roman.
    HeaderPPD* english = parse(kHeader);
    TextConverter* converter = english->GetTextConverter();
    ASSERT_TRUE(converter->ValidConverter());
    char text[16] = "Gr\x8An";
    EXPECT_EQ(converter->Convert(text, sizeof text), noErr);
    EXPECT_EQ(converter->GetSourceEncoding(), 0u); // switched for good
    EXPECT_STREQ(text, "Gr\x8An");
    english->Release();

    std::string japaneseHeader = "*PPD-Adobe: \"4.3\"\n*LanguageVersion: Japanese\n"
                                 "*LanguageEncoding: ISOLatin1\n";
    HeaderPPD* japanese = parse(japaneseHeader);
    converter = japanese->GetTextConverter();
    char latin[16] = "Gr\xE4n";
    EXPECT_EQ(converter->Convert(latin, sizeof latin), noErr);
    EXPECT_EQ(converter->GetSourceEncoding(), 513u);
    EXPECT_STREQ(latin, "Gr\x8An"); // a-umlaut from ISO Latin 1 into Mac Roman
    japanese->Release();
}
