// The element and control base: names, visibility, flags, reserved keywords and the PostScript
// framing and placeholder injection every control kind builds on.
#include "ControlTestSupport.h"
#include "PPDXRangeControl.h"

#include <gtest/gtest.h>

#include <string>

TEST(PPDXElement, CopiesANonEmptyKeyword) {
    char keyword[] = "*PageSize";
    PlainControl control(keyword, Flags({}));
    keyword[1] = 'X';
    EXPECT_STREQ(control.Keyword(), "*PageSize");
    EXPECT_TRUE(control.IsOrphan());
    EXPECT_TRUE(control.IsVisible());

    PlainControl empty("", Flags({}));
    EXPECT_EQ(empty.Keyword(), nullptr);
    PlainControl none(nullptr, Flags({}));
    EXPECT_EQ(none.Keyword(), nullptr);
    EXPECT_FALSE(none == empty); // elements without keywords never compare equal
    EXPECT_FALSE(none == "");

    EXPECT_EQ(control.ParentKeyword(), nullptr);
    control.SetParentKeyword(keyword);
    keyword[1] = 'Y';
    EXPECT_STREQ(control.ParentKeyword(), "*XageSize");
    control.ClearParentKeyword();
    EXPECT_EQ(control.ParentKeyword(), nullptr);
}

TEST(PPDXElement, UserNameIsTheSystemEncodingTextAndIsKept) {
    Str name("Größe");
    CFIndex before = CFGetRetainCount(name);
    PointerList flags;
    PPDXElement* element = new PPDXRangeControl("*K", name, flags, nullptr, 0, 0, 1, 1, 0, true);
    EXPECT_EQ(CFGetRetainCount(name), before + 1); // retained, not copied
    EXPECT_EQ(element->CFStringUserName(), static_cast<CFStringRef>(name));
    const char* user = element->UserName();
    EXPECT_STREQ(user, "Gr\xC3\xB6\xC3\x9F"
                       "e");              // o-umlaut and sharp s in UTF-8
    EXPECT_EQ(element->UserName(), user); // the cache, not a new conversion
    delete element;
    EXPECT_EQ(CFGetRetainCount(name), before);

    PPDXRangeControl nameless("*K", nullptr, flags, nullptr, 0, 0, 1, 1, 0, true);
    EXPECT_EQ(nameless.UserName(), nullptr);
    EXPECT_EQ(nameless.CFStringUserName(), nullptr);
}

TEST(PPDXElement, OkayToDisplayByOptions) {
    PlainControl parent("*Group", Flags({}));
    PlainControl visibleChild("*A", Flags({}), nullptr, kNoControlType, true);
    PlainControl hiddenChild("*B", Flags({}), nullptr, kNoControlType, false);
    PlainControl visibleOrphan("*C", Flags({}), nullptr, kNoControlType, true);
    PlainControl hiddenOrphan("*D", Flags({}), nullptr, kNoControlType, false);
    visibleChild.SetParent(&parent);
    hiddenChild.SetParent(&parent);
    EXPECT_EQ(visibleChild.GetParent(), &parent);
    EXPECT_FALSE(visibleChild.IsOrphan());
    EXPECT_TRUE(visibleOrphan.IsOrphan());
    EXPECT_FALSE(hiddenChild.IsVisible());

    // Columns: visible child, hidden child, visible orphan, hidden orphan.
    const struct {
        _DISPLAY_OPTIONS_ options;
        bool shown[4];
    } rows[] = {{0, {true, false, false, false}},
                {1, {true, false, true, false}},
                {2, {true, true, false, false}},
                {3, {true, true, true, true}},
                {8, {true, true, true, true}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.options);
        EXPECT_EQ(visibleChild.OkayToDisplay(row.options), row.shown[0]);
        EXPECT_EQ(hiddenChild.OkayToDisplay(row.options), row.shown[1]);
        EXPECT_EQ(visibleOrphan.OkayToDisplay(row.options), row.shown[2]);
        EXPECT_EQ(hiddenOrphan.OkayToDisplay(row.options), row.shown[3]);
    }
}

TEST(PPDXControl, FlagWordsAreWalkedAndMatchedExactly) {
    PlainControl control("*K", Flags({"Setup", "MacTJN", "MacIS"}));
    EXPECT_EQ(control.Type(), kNoControlType);
    EXPECT_EQ(control.Order(), 0);
    EXPECT_EQ(control.ControlFlagCount(), 3u);
    EXPECT_STREQ(control.FirstControlFlag(), "Setup");
    EXPECT_STREQ(control.NextControlFlag(), "MacTJN");
    EXPECT_STREQ(control.NextControlFlag(), "MacIS");
    EXPECT_EQ(control.NextControlFlag(), nullptr);
    EXPECT_EQ(control.NextControlFlag(), nullptr);
    EXPECT_STREQ(control.FirstControlFlag(), "Setup");

    EXPECT_TRUE(control.IsSetup());
    EXPECT_TRUE(control.IsMacTJN());
    EXPECT_TRUE(control.IsMacImgShift());
    EXPECT_FALSE(control.IsCommand());
    EXPECT_FALSE(control.IsSpooler());
    EXPECT_FALSE(control.FindControlFlag("setup"));
    EXPECT_FALSE(control.FindControlFlag("Set"));
    EXPECT_FALSE(control.FindControlFlag(nullptr));

    PlainControl bare("*K", Flags({}));
    EXPECT_EQ(bare.FirstControlFlag(), nullptr);
    EXPECT_EQ(bare.NextControlFlag(), nullptr);
}

TEST(PPDXControl, ValidKeywordRejectsOnlyTheReservedColourKeywords) {
    EXPECT_FALSE(PPDXControl::ValidKeyword(nullptr));
    for (const char* reserved :
         {"*QVPigmentor", "*QV_PROP_COLORMODE", "*QV_PROP_PG_CRD_TEXT_HT",
          "*QV_LOCAL_PROP_BACKPAGEMEDIA", "*QV_PROP_WATERMARK", "*QV_PROP_LOCAL_QVLANDSCAPE"})
        EXPECT_FALSE(PPDXControl::ValidKeyword(reserved)) << reserved;
    for (const char* free : {"*PageSize", "QVPigmentor", "*qvpigmentor", "*QV_PROP_WATERMARKS",
                             "*QV_PROP_PG_CRD_", ""})
        EXPECT_TRUE(PPDXControl::ValidKeyword(free)) << free;
}

TEST(PPDXControl, DefaultPostScriptIsTheOwnCodeUnframed) {
    PlainControl withCode("*K", Flags({}), "1 dict dup /X 2 put\n");
    EXPECT_EQ(WrittenPostScript(withCode), "1 dict dup /X 2 put\n");
    EXPECT_EQ(withCode.PSLength(), 20);

    PlainControl without("*K", Flags({}));
    EXPECT_EQ(without.PostScript(nullptr), 0);
    EXPECT_EQ(WrittenPostScript(without), "");
}

TEST(PPDXControl, GeneratePSOutputDataFramesTheCode) {
    PlainControl control("*Collate", Flags({}));
    unsigned char code[] = "true setcollate\n";
    std::string out(128, '#');
    auto* buf = reinterpret_cast<unsigned char*>(&out[0]);

    long n = control.GeneratePSOutputData(nullptr, code, 16, "True", true);
    EXPECT_EQ(n, 16 + 8 + 1 + 4 + 1 + 16 + 13);
    EXPECT_EQ(control.GeneratePSOutputData(buf, code, 16, "True", true), n);
    EXPECT_EQ(out.substr(0, n + 1),
              "%%BeginFeature: *Collate True\ntrue setcollate\n%%EndFeature\n#");

    n = control.GeneratePSOutputData(buf, code, 0, "False", true);
    EXPECT_EQ(out.substr(0, n), "%%BeginFeature: *Collate False\n\n%%EndFeature\n");
    n = control.GeneratePSOutputData(buf, nullptr, 5, "X", true);
    EXPECT_EQ(out.substr(0, n), "%%BeginFeature: *Collate X\n\n%%EndFeature\n");

    EXPECT_EQ(control.GeneratePSOutputData(nullptr, code, 4, "True", false), 4);
    n = control.GeneratePSOutputData(buf, nullptr, 0, "True", false);
    EXPECT_EQ(out.substr(0, n), "\n");
}

// Every placeholder of the keyword is replaced whatever its case; backslashes in the value are
// doubled; other bytes stay; the code is read up to its length or a NUL, and a placeholder cut by
// the length is not one.
TEST(PPDXControl, Inject) {
    const struct {
        const char* keyword;
        std::string code;
        long length; // -1: the whole code
        const char* value;
        std::string expected;
    } cases[] = {
        {"*Density", "<*density> setdensity <*DENSITY> pop <*Dens>\n", -1, "18",
         "18 setdensity 18 pop <*Dens>\n"},
        {"*Name", "(<*Name>) \xE4 show", -1, "a\\b\xC3", "(a\\\\b\xC3) \xE4 show"},
        {"*X", std::string("A<*X>\0BC", 8), -1, "1", "A1"},
        {"*X", std::string("A<*X>\0BC", 8), 4, "1", "A<*X"},
    };
    for (const auto& c : cases) {
        unsigned char* result = nullptr;
        auto code = reinterpret_cast<const unsigned char*>(c.code.data());
        long length = c.length < 0 ? static_cast<long>(c.code.size()) : c.length;
        long n = PPDXControl::Inject(c.keyword, code, length, c.value, result);
        ASSERT_NE(result, nullptr) << c.code;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(result), n), c.expected);
        EXPECT_EQ(result[n], '\0');
        std::free(result);
    }
    unsigned char* result = nullptr;
    long n = PPDXControl::Inject("*X", nullptr, 10, "1", result);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(result[0], '\0');
    std::free(result);
}
