// The PPD model kept in the print settings ticket as a Settings archive, and rebuilt from it.
#include "PDETestSupport.h"

#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"
#include "SetupPPD.h"

#include "PPDXControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "QRVPPD.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string Value(QRVPPD* model, const char* keyword) {
    ScopedDisplayOptions all(kShowAll);
    CNTL_TYPE type;
    PPDXControl* control = model->GetControls()->Find(keyword, type, true);
    return control ? UTF8(Owned<CFStringRef>(control->GetCurrentControlValueString())) : "<none>";
}

// The C5000's model, parsed for a session of its own, with a changed brightness.
class SavedModelTest : public testing::Test {
protected:
    void SetUp() override {
        mModel = SetupPPD(mSession, GetBundleID());
        ASSERT_NE(mModel, nullptr);
        ScopedDisplayOptions all(kShowAll);
        CNTL_TYPE type;
        mModel->GetControls()
            ->Find("*QVBrightness", type, true)
            ->SetCurrentControlWithCFString(CFSTR("110"));
        ASSERT_EQ(Value(mModel, "*QVBrightness"), "110");
    }
    void TearDown() override {
        if (mModel)
            mModel->Release();
    }

    OpenBundle mBundle;
    TestSession mSession{ExamplePPD("Tarvo-C5000.ppd")};
    PrintSettingsTicket mSettings{mSession};
    Owned<CFStringRef> mKey{CreatePostscriptDataFileKey()};
    Owned<CFURLRef> mURL{FileURL(ExamplePPD("Tarvo-C5000.ppd"))};
    QRVPPD* mModel = nullptr;
};

TEST_F(SavedModelTest, RoundTripThroughTheTicket) {
    QRVJobTicket ticket(&mSettings, mKey);
    EXPECT_FALSE(ticket.SavePPD(mModel, nullptr, mURL));
    ASSERT_TRUE(ticket.SavePPD(mModel, GetBundleID(), mURL));
    // The item is the XML form of a property list whose root is the archive's bytes.
    CFDataRef item = nullptr;
    ASSERT_EQ(mSettings.Get(GetBundleID(), item), noErr);
    Owned<CFPropertyListRef> root(CFPropertyListCreateFromXMLData(nullptr, item, 0, nullptr));
    ASSERT_EQ(CFGetTypeID(root), CFDataGetTypeID());
    EXPECT_GT(CFDataGetLength(static_cast<CFDataRef>(root.ref)), 100);

    QRVPPD* restored = ticket.RestorePPD(GetBundleID(), mURL);
    ASSERT_NE(restored, nullptr);
    EXPECT_TRUE(restored->IsValidPPD() && restored->IsValidPrinterName());
    EXPECT_EQ(Value(restored, "*QVBrightness"), "110");
    EXPECT_TRUE(restored->Release());
}

TEST_F(SavedModelTest, TicketSavedToAFileRestoresTheModelInANewSession) {
    QRVJobTicket ticket(&mSettings, mKey);
    ASSERT_TRUE(ticket.SavePPD(mModel, GetBundleID(), mURL));
    char path[] = "/tmp/pigmentor-settings-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_EQ(PMTicketWriteXMLToFile(mSettings.Ticket(), path), noErr);

    // A later print dialog: a new session whose settings come from the saved file.
    TestSession later(ExamplePPD("Tarvo-C5000.ppd"));
    PMTicketRef loaded = nullptr;
    ASSERT_EQ(PMTicketReadXMLFromFile(nullptr, path, &loaded, nullptr), noErr);
    unlink(path);
    ASSERT_EQ(PMHostSetSessionTicket(later, kPDE_PMPrintSettingsRef, loaded), noErr);
    PMRelease(loaded);
    PrintSettingsTicket laterSettings(later);
    QRVJobTicket laterTicket(&laterSettings, mKey);
    QRVPPD* restored = laterTicket.RestorePPD(GetBundleID(), mURL);
    ASSERT_NE(restored, nullptr);

    // Every control comes back with the value it had, the changed one included.
    ScopedDisplayOptions all(kShowAll);
    CNTL_TYPE type;
    std::vector<std::string> keywords; // Find moves the walk's cursor: collect first
    for (PPDXControl* c = mModel->GetControls()->First(type); c; c = mModel->GetControls()->Next(type))
        if (c->Keyword())
            keywords.push_back(c->Keyword());
    EXPECT_GT(keywords.size(), 40u);
    for (const std::string& keyword : keywords)
        EXPECT_EQ(Value(restored, keyword.c_str()), Value(mModel, keyword.c_str())) << keyword;
    EXPECT_EQ(Value(restored, "*QVBrightness"), "110");
    restored->Release();
}

TEST_F(SavedModelTest, BadOrMissingArchivesGiveNoModel) {
    QRVJobTicket ticket(&mSettings, mKey);
    EXPECT_EQ(ticket.RestorePPD(nullptr, mURL), nullptr);
    EXPECT_EQ(ticket.RestorePPD(GetBundleID(), mURL), nullptr); // nothing saved
    const char* const items[] = {
        "not xml at all",                                           // not a property list
        "<plist version=\"1.0\"><string>x</string></plist>",        // root is no data
        "<plist version=\"1.0\"><data>AAECAwQFBgc=</data></plist>", // data, but no archive
        "<plist version=\"1.0\"><data></data></plist>"};
    for (const char* text : items) {
        Owned<CFDataRef> item(
            CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(text), CFIndex(strlen(text))));
        ASSERT_EQ(mSettings.Set(GetBundleID(), GetBundleID(), static_cast<CFDataRef>(item), false),
                  noErr);
        EXPECT_EQ(ticket.RestorePPD(GetBundleID(), mURL), nullptr) << text;
    }
}

TEST_F(SavedModelTest, RestoringNeedsThePrinterList) {
    QRVJobTicket ticket(&mSettings, mKey);
    ASSERT_TRUE(ticket.SavePPD(mModel, GetBundleID(), mURL));
    Scratch scratch;
    OpenBundle withoutList(CopyBundle(scratch, {"PrinterList.plist"}));
    EXPECT_EQ(ticket.RestorePPD(GetBundleID(), mURL), nullptr);
}

} // namespace
