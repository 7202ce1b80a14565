#include <CarbonCore/Resources.h>

#include "CarbonCoreTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

std::string indString(short list, short index) {
    Str255 s;
    std::memset(s, 0xEE, sizeof s);
    GetIndString(s, list, index);
    return FromPStr(s);
}

struct CarbonCoreResources : ::testing::Test {
    ScratchDir dir;
    ResFileRefNum openText(const std::string& leaf, const std::string& contents) {
        std::ofstream(dir / leaf, std::ios::binary) << contents;
        FSSpec fsSpec;
        FSMakeFSSpec(kPigmentorVolumeRefNum, dir.id, PStr(leaf), &fsSpec);
        return FSpOpenResFile(&fsSpec, fsRdPerm);
    }
};

TEST_F(CarbonCoreResources, BundleDescribesEveryParseError) {
    std::string path = PIGMENTOR_BUNDLE_DIR "/Contents/Resources/en.lproj/Pigmentor.rsrc";
    FSRef ref;
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr);
    ResFileRefNum file = FSOpenResFile(&ref, fsRdPerm);
    ASSERT_NE(file, kResFileNotOpened) << ResError();
    EXPECT_EQ(CurResFile(), file);
    const std::set<short> described = {1,  4,  5,  6,  7,  8,  9,  11, 12, 14, 15, 16, 18,
                                       19, 21, 23, 25, 26, 27, 28, 29, 31, 32, 33, 35, 36};
    for (short code = 1; code <= 36; ++code) {
        SCOPED_TRACE(code);
        std::string text = indString(-8900, code);
        EXPECT_EQ(ResError(), noErr);
        EXPECT_EQ(!text.empty(), described.count(code) == 1);
        for (char c : text)
            EXPECT_TRUE(c >= 0x20 && c < 0x7F);
    }
    EXPECT_NE(indString(-8900, 28).find("not a printer description"), std::string::npos);
    EXPECT_EQ(indString(-8900, 37), "");
    EXPECT_EQ(ResError(), resNotFound);
    CloseResFile(file);
    EXPECT_EQ(ResError(), noErr);
}

TEST_F(CarbonCoreResources, TextFormatEscapesGapsAndLimits) {
    ResFileRefNum file = openText("f.rsrc", "# comment\r\n"
                                            "STR# 200\n"
                                            "1 back\\\\slash\\nnext \\xA9 \r\n"
                                            "# a comment inside the list\n"
                                            "3\n"
                                            "5 " +
                                                std::string(300, 'x') +
                                                "\n"
                                                "6 " +
                                                std::string(254, 'y') + "\\xC3\\xA4 tail\n"
                                                "STR# -1  \n"
                                                "2 other\n");
    ASSERT_NE(file, kResFileNotOpened) << ResError();
    EXPECT_EQ(indString(200, 1), "back\\slash\nnext \xA9 ");
    EXPECT_EQ(indString(200, 2), ""); // gap
    EXPECT_EQ(ResError(), noErr);
    EXPECT_EQ(indString(200, 3), "");
    EXPECT_EQ(indString(200, 5), std::string(255, 'x'));
    EXPECT_EQ(indString(200, 6), std::string(254, 'y')); // never half a UTF-8 character
    EXPECT_EQ(indString(-1, 2), "other");
    EXPECT_EQ(indString(-1, 1), "");
    EXPECT_EQ(ResError(), noErr);
    CloseResFile(file);
}

TEST_F(CarbonCoreResources, MalformedFilesAreRejectedWhole) {
    const std::string cases[] = {
        "1 entry outside any list\n",
        "STR# abc\n1 x\n",
        "STR# 40000\n1 x\n",
        "STR# 1\n0 index zero\n",
        "STR# 1\n-2 negative\n",
        "STR# 1\n1 a\n1 twice\n",
        "STR# 1\n1 a\n\nSTR# 1\n2 b\n",
        "STR# 1\n1 bad \\q escape\n",
        "STR# 1\n1 cut \\x4\n",
        "STR# 1\n1 trailing \\\n",
        "STR# 1\n1x no space\n",
        std::string("STR# 1\n1 nul\0byte\n", 18),
        "STR# 1\n1 " + std::string(5000, 'y') + "\n",
        "STR# 1\n1 ok\n\n2 after the list ended\n",
        "STR# 1\n99999999999999999999 big\n",
    };
    for (const std::string& contents : cases) {
        SCOPED_TRACE(contents.substr(0, 40));
        EXPECT_EQ(openText("bad.rsrc", contents), kResFileNotOpened);
        EXPECT_EQ(ResError(), mapReadErr);
    }
    EXPECT_EQ(openText("huge.rsrc", "# " + std::string(1 << 20, 'z') + "\n"), kResFileNotOpened);
    EXPECT_EQ(ResError(), mapReadErr);
    EXPECT_EQ(CurResFile(), kResFileNotOpened);
}

TEST_F(CarbonCoreResources, ChainSearchesCurrentThenOlderFiles) {
    ResFileRefNum a = openText("a.rsrc", "STR# 128\n1 from A\n\nSTR# 129\n1 only in A\n");
    ResFileRefNum b = openText("b.rsrc", "STR# 128\n1 from B\n2 B two\n");
    ASSERT_NE(a, kResFileNotOpened);
    ASSERT_NE(b, kResFileNotOpened);
    EXPECT_NE(a, b);
    EXPECT_EQ(CurResFile(), b);
    EXPECT_EQ(indString(128, 1), "from B");
    EXPECT_EQ(indString(129, 1), "only in A");

    ResFileRefNum saved = CurResFile();
    UseResFile(a);
    EXPECT_EQ(ResError(), noErr);
    EXPECT_EQ(CurResFile(), a);
    EXPECT_EQ(indString(128, 1), "from A");
    EXPECT_EQ(indString(128, 2), ""); // newer files are not searched
    EXPECT_EQ(ResError(), resNotFound);
    UseResFile(saved);
    EXPECT_EQ(CurResFile(), b);

    UseResFile(4242);
    EXPECT_EQ(ResError(), resFNotFound);
    EXPECT_EQ(CurResFile(), b);

    CloseResFile(b);
    EXPECT_EQ(CurResFile(), a);
    CloseResFile(b);
    EXPECT_EQ(ResError(), resFNotFound);
    CloseResFile(a);
    EXPECT_EQ(CurResFile(), kResFileNotOpened);
}

TEST_F(CarbonCoreResources, MissingListsIndicesAndFiles) {
    ResFileRefNum file = openText("s.rsrc", "STR# 7\n1 one\n2 two\n");
    ASSERT_NE(file, kResFileNotOpened);
    for (short index : {0, -1, 3}) {
        EXPECT_EQ(indString(7, index), "");
        EXPECT_EQ(ResError(), resNotFound);
    }
    EXPECT_EQ(indString(8, 1), "");
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(indString(7, 2), "two");
    CloseResFile(file);
    EXPECT_EQ(indString(7, 2), "");
    EXPECT_EQ(ResError(), resNotFound);

    FSSpec missing;
    FSMakeFSSpec(kPigmentorVolumeRefNum, dir.id, PStr("missing.rsrc"), &missing);
    EXPECT_EQ(FSpOpenResFile(&missing, fsRdPerm), kResFileNotOpened);
    EXPECT_EQ(ResError(), fnfErr);
    ResFileRefNum empty = openText("p.rsrc", ""); // no lists at all is a valid file
    EXPECT_NE(empty, kResFileNotOpened);
    CloseResFile(empty);
    FSSpec ok;
    FSMakeFSSpec(kPigmentorVolumeRefNum, dir.id, PStr("p.rsrc"), &ok);
    EXPECT_EQ(FSpOpenResFile(&ok, 9), kResFileNotOpened);
    EXPECT_EQ(ResError(), paramErr);
}

} // namespace
