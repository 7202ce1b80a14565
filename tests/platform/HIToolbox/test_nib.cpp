// NIB files: reading good and damaged files, windows made from them, the bundle's status codes.
#include "HIToolboxTestSupport.h"

#include <HIToolbox/HIDump.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

OSStatus Read(const std::string& xml, IBNibRef* nib = nullptr) {
    IBNibRef ref = nullptr;
    OSStatus err = HICreateNibReferenceFromBytes(xml.data(), xml.size(), &ref);
    if (nib)
        *nib = ref;
    else
        DisposeNibReference(ref);
    return err;
}

std::string LastError() {
    CFStringRef s = HINibCopyLastError();
    std::string out = PMCFStringCopyUTF8(s);
    CFRelease(s);
    return out;
}

std::string Wrap(const std::string& window) { return "<nib version=\"1\">" + window + "</nib>"; }

} // namespace

TEST(Nib, AWindowWithEveryKindOfControl) {
    IBNibRef nib = nullptr;
    ASSERT_EQ(Read(Wrap(R"(<window name="W" class="sheet" title="T &amp; U" bounds="0 0 100 200">
        <control kind="popup" signature="PGSE" id="201" bounds="1 2 21 150" title="Source:" command="0x51564665" value="2" fontsize="11">
          <item title="sRGB"/><item title="Adobe RGB" command="adob"/><item title="None" enabled="false"/>
        </control>
        <control kind="groupbox" signature="BoxC" id="101" bounds="30 0 90 200" title="Mode" enabled="false">
          <control kind="statictext" signature="capt" id="1" bounds="32 4 48 190" text="Waiting"/>
        </control>
      </window>)"), &nib), noErr);
    EXPECT_EQ(HINibCountWindows(nib), 1u);
    WindowRef w = nullptr;
    EXPECT_EQ(CreateWindowFromNib(nib, Str("Missing"), &w), kIBCarbonRuntimeCantFindObject);
    ASSERT_EQ(CreateWindowFromNib(nib, Str("W"), &w), noErr);
    WindowClass c = 0;
    GetWindowClass(w, &c);
    EXPECT_EQ(c, static_cast<WindowClass>(kSheetWindowClass));
    EXPECT_FALSE(IsWindowVisible(w));
    ControlID id{'PGSE', 201};
    ControlRef popup = nullptr;
    ASSERT_EQ(GetControlByID(w, &id, &popup), noErr);
    EXPECT_EQ(GetControl32BitValue(popup), 2);
    EXPECT_EQ(GetControl32BitMaximum(popup), 3);
    EXPECT_EQ(CountMenuItems(GetControlPopupMenuRef(popup)), 3);
    UInt32 command = 0;
    GetControlCommandID(popup, &command);
    EXPECT_EQ(command, static_cast<UInt32>('QVFe'));
    ControlFontStyleRec style{};
    GetControlData(popup, 0, kControlFontStyleTag, sizeof style, &style, nullptr);
    EXPECT_EQ(style.size, 11);
    id = ControlID{'capt', 1};
    ControlRef caption = nullptr;
    GetControlByID(w, &id, &caption);
    EXPECT_EQ(Text(caption), "Waiting");
    EXPECT_FALSE(IsControlEnabled(caption)); // its group box is disabled
    ControlRef parent = nullptr;
    GetSuperControl(caption, &parent);
    EXPECT_EQ(Title(parent), "Mode");
    // Two windows of one NIB are independent.
    WindowRef again = nullptr;
    ASSERT_EQ(CreateWindowFromNib(nib, Str("W"), &again), noErr);
    EXPECT_NE(again, w);
    DisposeWindow(again);
    DisposeWindow(w);
    DisposeNibReference(nib);
}

TEST(Nib, DamagedFilesAreRejectedWithAReason) {
    struct Case {
        std::string xml;
        const char* reason;
    } cases[] = {
        {"", "empty"},
        {"<nib version=\"1\"><window", "line 1"},
        {"<nob version=\"1\"/>", "root element"},
        {"<nib version=\"2\"/>", "version"},
        {Wrap("<window name=\"W\"/>"), "bounds"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10\"/>"), "four integers"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 99999\"/>"), "four integers"},
        {Wrap("<window name=\"W\" bounds=\"10 0 0 10\"/>"), "bottom"},
        {Wrap("<window name=\"W\" class=\"huge\" bounds=\"0 0 10 10\"/>"), "window class"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 10\" colour=\"red\"/>"), "unknown attribute"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 10\"/><window name=\"W\" bounds=\"0 0 10 10\"/>"), "two windows"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 10\"><control kind=\"knob\" bounds=\"0 0 1 1\"/></window>"), "kind"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 10\"><control kind=\"push\" signature=\"abc\" bounds=\"0 0 1 1\"/></window>"), "four characters"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 10\"><control kind=\"push\" id=\"12x\" bounds=\"0 0 1 1\"/></window>"), "integer"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 10\"><control kind=\"push\" visible=\"yes\" bounds=\"0 0 1 1\"/></window>"), "true or false"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 10\"><control kind=\"push\" bounds=\"0 0 1 1\"><item title=\"x\"/></control></window>"), "only a popup"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 10\"><control kind=\"push\" bounds=\"0 0 1 1\"><control kind=\"push\" bounds=\"0 0 1 1\"/></control></window>"), "cannot hold"},
        {Wrap("<window name=\"W\" bounds=\"0 0 10 10\">text</window>"), "text is not allowed"},
        {"<!DOCTYPE nib [<!ENTITY a \"aaaa\">]><nib version=\"1\"/>", "document type"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.xml), coreFoundationUnknownErr) << c.xml;
        EXPECT_NE(LastError().find(c.reason), std::string::npos) << c.xml << " -> " << LastError();
    }
    // Nesting beyond the limit.
    std::string deep;
    for (int i = 0; i < 20; ++i)
        deep += "<control kind=\"userpane\" bounds=\"0 0 1 1\">";
    for (int i = 0; i < 20; ++i)
        deep += "</control>";
    EXPECT_EQ(Read(Wrap("<window name=\"W\" bounds=\"0 0 10 10\">" + deep + "</window>")),
              coreFoundationUnknownErr);
    EXPECT_NE(LastError().find("deeper"), std::string::npos);
}

TEST(Nib, BundleLookupAndStatusCodes) {
    IBNibRef nib = nullptr;
    EXPECT_EQ(CreateNibReferenceWithCFBundle(nullptr, Str("X"), &nib), paramErr);
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(PIGMENTOR_BUNDLE_DIR), std::strlen(PIGMENTOR_BUNDLE_DIR), true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(CreateNibReferenceWithCFBundle(bundle, Str("NoSuchNib"), &nib), kIBCarbonRuntimeCantFindNibFile);
    EXPECT_EQ(nib, nullptr);
    EXPECT_EQ(CreateNibReferenceWithCFBundle(bundle, Str("../Info"), &nib), kIBCarbonRuntimeCantFindNibFile);
    CFRelease(bundle);
    EXPECT_EQ(HICreateNibReferenceFromFile("/nonexistent/x.nib", &nib), kIBCarbonRuntimeCantFindNibFile);
    EXPECT_EQ(HICreateNibReferenceFromFile("/", &nib), kIBCarbonRuntimeCantFindNibFile);
    WindowRef w = nullptr;
    EXPECT_EQ(CreateWindowFromNib(nullptr, Str("W"), &w), paramErr);
}
