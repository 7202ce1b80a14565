#include "CError.h"
#include "PPDXErrors.h"

#include <CarbonCore/Files.h>
#include <CarbonCore/Resources.h>

#include <gtest/gtest.h>

#include <string>

namespace {

/// Makes the plug-in bundle's resource file current for one test, as the plug-in does.
class BundleResources : public ::testing::Test {
protected:
    void SetUp() override {
        std::string path =
            std::string(PIGMENTOR_BUNDLE_DIR) + "/Contents/Resources/en.lproj/Pigmentor.rsrc";
        FSRef ref;
        ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr)
            << path;
        mSaved = CurResFile();
        mFile = FSOpenResFile(&ref, fsRdPerm);
        ASSERT_NE(mFile, -1);
        UseResFile(mFile);
    }
    void TearDown() override {
        if (mFile != -1)
            CloseResFile(mFile);
        UseResFile(mSaved);
    }
    short mFile = -1;
    short mSaved = -1;
};

} // namespace

TEST(CError, ValueSemantics) {
    CError none;
    EXPECT_TRUE(none == 0);
    EXPECT_EQ(none.Description(), nullptr);
    EXPECT_FALSE(none.IsFatal());

    CError error(28, CString("not a PPD"), true);
    EXPECT_TRUE(error == 28);
    EXPECT_TRUE(error != 27);
    EXPECT_STREQ(error.Description(), "not a PPD");
    EXPECT_TRUE(error.IsFatal());

    CError copy = error;
    copy.Description("changed");
    EXPECT_STREQ(error.Description(), "not a PPD");
    EXPECT_STREQ(copy.Description(), "changed");
    copy.Description("");
    EXPECT_EQ(copy.Description(), nullptr);
}

TEST_F(BundleResources, EveryRecordedCodeHasADescription) {
    const short codes[] = {1,  4,  5,  6,  7,  8,  9,  11, 12, 14, 15, 16, 18,
                           19, 21, 23, 25, 26, 27, 28, 29, 31, 32, 33, 35, 36};
    short current = CurResFile();
    for (short code : codes) {
        PPDXErrorObj error(code, false);
        ASSERT_NE(error.Description(), nullptr) << code;
        EXPECT_GT(std::string(error.Description()).size(), 5u) << code;
    }
    EXPECT_EQ(CurResFile(), current); // the look-up leaves the current file alone

    PPDXErrorObj unlisted(2, true);
    EXPECT_EQ(unlisted.Description(), nullptr);
    EXPECT_TRUE(unlisted.IsFatal());
}

TEST_F(BundleResources, ErrorObjectCarriesItsKeyword) {
    PPDXErrorObj error(23, CString("*QVColorMode"), false);
    EXPECT_TRUE(error == 23);
    EXPECT_STREQ(error.Keyword(), "*QVColorMode");
    EXPECT_FALSE(error.IsFatal());

    PPDXErrorObj copy(error);
    EXPECT_STREQ(copy.Keyword(), "*QVColorMode");
    EXPECT_STREQ(copy.Description(), error.Description());

    PPDXErrorObj plain;
    EXPECT_TRUE(plain == 0);
    EXPECT_EQ(plain.Keyword(), nullptr);
    plain = error;
    EXPECT_STREQ(plain.Keyword(), "*QVColorMode");
}

TEST(PPDXErrorObj, NoResourceFileLeavesTheDescriptionEmpty) {
    PPDXErrorObj error(28, true);
    EXPECT_TRUE(error == 28);
    EXPECT_EQ(error.Description(), nullptr);
    EXPECT_TRUE(error.IsFatal());
}

TEST(PPDXErrors, KeepsOrderAndWalksWithACursor) {
    PPDXErrors errors;
    EXPECT_TRUE(errors.Empty());
    EXPECT_EQ(errors.First(), nullptr);
    EXPECT_EQ(errors.Next(), nullptr);

    PPDXErrorObj a(16, false), b(23, CString("*X"), false);
    errors.Add(&a);
    errors.Add(&b);
    EXPECT_EQ(errors.Count(), 2u);
    EXPECT_EQ(errors.First(), &a);
    EXPECT_EQ(errors.Next(), &b);
    EXPECT_EQ(errors.Next(), nullptr);
    EXPECT_EQ(errors.Next(), nullptr);
    EXPECT_EQ(errors.First(), &a);
}
