// Status codes to their keys and the bundle's texts.
#include "TestScopes.h"

#include "PDEBundle.h"
#include "PigmentorErrors.h"

#include <gtest/gtest.h>

TEST(PigmentorErrors, EveryCodeHasItsKeyAndOthersNone) {
    EXPECT_EQ(UTF8(PigmentorErrors::PigmentorErrorKey(0)), "kPigmentorNoErr");
    EXPECT_EQ(UTF8(PigmentorErrors::PigmentorErrorKey(4)), "kPigmentorConnErr");
    EXPECT_EQ(UTF8(PigmentorErrors::PigmentorErrorKey(14)), "kPigmentorSesssionErr");
    EXPECT_EQ(UTF8(PigmentorErrors::PigmentorErrorKey(24)), "kPigmentorServerErr");
    EXPECT_EQ(UTF8(PigmentorErrors::PigmentorErrorKey(1001)), "kPigmentorUserCancelErr");
    EXPECT_EQ(UTF8(PigmentorErrors::PigmentorErrorKey(1002)), "kPigmentorGeneralErr");
    EXPECT_EQ(PigmentorErrors::PigmentorErrorKey(25), nullptr);
    EXPECT_EQ(PigmentorErrors::PigmentorErrorKey(1000), nullptr);
    EXPECT_EQ(PigmentorErrors::PigmentorErrorString(25), nullptr);
}

TEST(PigmentorErrors, TextsComeFromTheBundlesTable) {
    PDEBundle::InitBundle(nullptr);
    EXPECT_EQ(PigmentorErrors::PigmentorErrorString(4), nullptr); // no bundle, no text
    Owned<CFURLRef> url(FileURL(PIGMENTOR_BUNDLE_DIR, true));
    Owned<CFBundleRef> bundle(CFBundleCreate(nullptr, url));
    ASSERT_NE(bundle.get(), nullptr);
    PDEBundle::InitBundle(bundle);
    const std::string text = Take(PigmentorErrors::PigmentorErrorString(4));
    EXPECT_NE(text, "<null>");
    EXPECT_NE(text, "kPigmentorConnErr"); // the table has a text for it
    EXPECT_EQ(Take(PigmentorErrors::PigmentorErrorString(CFSTR("kNoSuchKey"))), "kNoSuchKey");
    EXPECT_EQ(PigmentorErrors::PigmentorErrorString(CFStringRef(nullptr)), nullptr);
    PDEBundle::InitBundle(nullptr);
}
