#include "TestPPD.h"
#include "TextConverter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

int HeaderPPD::sDestroyed = 0;

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
    HeaderPPD* other = parse("*PPD-Adobe: \"4.2\"\n");
    EXPECT_FALSE(other->IsValidPPD());
    other->Release();

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

TEST(PPDX, ReferenceCounting) {
    HeaderPPD::sDestroyed = 0;
    HeaderPPD* ppd = parse(kHeader);
    EXPECT_TRUE(ppd->Release()); // a new model has a count of 0
    EXPECT_EQ(HeaderPPD::sDestroyed, 1);

    ppd = parse(kHeader);
    EXPECT_EQ(ppd->Retain(), ppd);
    EXPECT_FALSE(ppd->Release());
    EXPECT_EQ(HeaderPPD::sDestroyed, 1);
    EXPECT_TRUE(ppd->Release());
    EXPECT_EQ(HeaderPPD::sDestroyed, 2);
}

TEST(PCFileName, AcceptedNamesAreFoundInTheWindow) {
    CFArrayRef names = CreateNames({"TRVM200.PPD", "TRVC5000"});
    HeaderPPD* ppd = parse(kHeader, names);
    EXPECT_TRUE(ppd->IsValidPrinterName());
    ppd->Release();

    CFArrayRef others = CreateNames({"OTHER.PPD", "trvc5000.ppd"});
    HeaderPPD* refused = parse(kHeader, others);
    EXPECT_FALSE(refused->IsValidPrinterName());
    EXPECT_FALSE(refused->IsValidPPD()); // never parsed
    EXPECT_EQ(refused->ModelName(), nullptr);
    refused->Release();

    // Blanks after the keyword are skipped before the 32-byte window starts.
    HeaderPPD* spaced = parse("*PPD-Adobe: \"4.3\"\n*PCFileName:" + std::string(40, ' ') +
                                  "\"TRVC5000.PPD\"\n",
                              names);
    EXPECT_TRUE(spaced->IsValidPrinterName());
    spaced->Release();

    // The name must begin within 32 bytes of the value's start.
    HeaderPPD* far = parse("*PCFileName: \"" + std::string(40, 'z') + "TRVC5000.PPD\"\n", names);
    EXPECT_FALSE(far->IsValidPrinterName());
    far->Release();
    CFRelease(names);
    CFRelease(others);
}

TEST(PCFileName, OnlyTheFirst4096BytesCount) {
    CFArrayRef names = CreateNames({"TRVC5000.PPD"});
    std::string padding = "*% " + std::string(4100, '-') + "\n";
    HeaderPPD* late = parse("*PPD-Adobe: \"4.3\"\n" + padding + "*PCFileName: \"TRVC5000.PPD\"\n",
                            names);
    EXPECT_FALSE(late->IsValidPrinterName());
    late->Release();

    // The keyword at the very end of the head: the window is cut, never read past.
    std::string edge = std::string(4096 - 12, '-') + "*PCFileName: \"TRVC5000.PPD\"";
    HeaderPPD* cut = parse(edge, names);
    EXPECT_FALSE(cut->IsValidPrinterName());
    cut->Release();

    HeaderPPD* absent = parse("*PPD-Adobe: \"4.3\"\n", names);
    EXPECT_FALSE(absent->IsValidPrinterName());
    absent->Release();
    CFRelease(names);
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

TEST(PPDHeader, SignatureErrorsAreFatalAndRecordedOnce) {
    HeaderPPD* other = parse("*PPD-Adobe: \"4.2\"\n*ModelName: \"never read\"\n");
    ASSERT_EQ(other->GetErrors()->Count(), 1u);
    EXPECT_TRUE(*other->GetErrors()->First() == 28);
    EXPECT_TRUE(other->GetErrors()->First()->IsFatal());
    EXPECT_EQ(other->ModelName(), nullptr);
    other->Release();

    HeaderPPD* empty = parse("");
    ASSERT_EQ(empty->GetErrors()->Count(), 1u);
    EXPECT_TRUE(*empty->GetErrors()->First() == 18);
    empty->Release();

    HeaderPPD* noSignature = parse("*ModelName: \"x\"\n");
    EXPECT_FALSE(noSignature->IsValidPPD());
    EXPECT_EQ(noSignature->GetErrors()->Count(), 1u);
    noSignature->Release();
}
