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

TEST(CError, CopiesOwnTheirDescription) {
    CError error(28, CString("not a PPD"), true);
    CError copy = error;
    copy.Description("changed");
    EXPECT_STREQ(error.Description(), "not a PPD");
    EXPECT_STREQ(copy.Description(), "changed");
    copy.Description("");
    EXPECT_EQ(copy.Description(), nullptr);
}

// Which codes the bundle's table describes is checked with the resource layer; here, that an
// error finds its text in the current resource file and leaves that file current.
TEST_F(BundleResources, ARecordedCodeTakesItsDescriptionFromTheCurrentFile) {
    short current = CurResFile();
    for (short code : {18, 28}) {
        PPDXErrorObj error(code, false);
        ASSERT_NE(error.Description(), nullptr) << code;
        EXPECT_GT(std::string(error.Description()).size(), 5u) << code;
    }
    EXPECT_EQ(CurResFile(), current); // the look-up leaves the current file alone

    PPDXErrorObj unlisted(2, true);
    EXPECT_EQ(unlisted.Description(), nullptr);
    EXPECT_TRUE(unlisted.IsFatal());
}

TEST_F(BundleResources, ErrorCopiesCarryKeywordAndDescription) {
    PPDXErrorObj error(23, CString("*QVColorMode"), false);
    PPDXErrorObj copy(error);
    EXPECT_STREQ(copy.Keyword(), "*QVColorMode");
    EXPECT_STREQ(copy.Description(), error.Description());

    PPDXErrorObj plain;
    plain = error;
    EXPECT_STREQ(plain.Keyword(), "*QVColorMode");
}

TEST(PPDXErrorObj, NoResourceFileLeavesTheDescriptionEmpty) {
    EXPECT_EQ(PPDXErrorObj(28, true).Description(), nullptr);
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
