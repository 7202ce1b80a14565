// The colour pane's two-way fetch against a tovrane-server on a loopback port: switching
// two-way on starts the fetch on its worker, the progress captions follow the posted events
// beside the chasing arrows, and 'QVFe' brings the server's list into the expert dialog.
// Also run under ThreadSanitizer (scripts/tsan-tests).
#include "BrivelleTest.h"
#include "PanelTestSupport.h"

#include "PigmentorBIDIItemList.h"
#include "PigmentorErrors.h"
#include "PigmentorProgressHandler.h"
#include "UI_ChasingArrows.h"
#include "UI_ExpertColor.h"
#include "UI_IPAddressPanel.h"

#include <HIToolbox/HIBackend.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

/// The headless back end, noting every text a static text control shows in turn.
class CaptionRecorder : public HIBackend {
public:
    CaptionRecorder() { HISetBackend(this); }
    ~CaptionRecorder() override { HISetBackend(nullptr); }
    void controlChanged(ControlRef c) override {
        ControlKind kind{0, 0};
        GetControlKind(c, &kind);
        ControlID id{0, 0};
        GetControlID(c, &id);
        if (id.signature == 'Cntl' && id.id == 108 && !IsControlEnabled(c))
            settingsWereOff = true;
        if (kind.kind != kControlKindStaticText || !IsControlVisible(c))
            return;
        CFStringRef text = nullptr;
        GetControlData(c, 0, kControlStaticTextCFStringTag, sizeof text, &text, nullptr);
        std::string caption = Take(text);
        if (!caption.empty() && (captions.empty() || captions.back() != caption))
            captions.push_back(caption);
    }
    std::vector<std::string> captions;
    bool settingsWereOff = false;
};

bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class PanelFetch : public ServerTest {
protected:
    void TearDown() override {
        mHarness.reset(); // the panel stops its fetch before the server goes
        ServerTest::TearDown();
    }
    std::unique_ptr<PanelHarness> mHarness;
};

} // namespace

TEST_F(PanelFetch, TwoWayOnFetchesFromTheServerWithProgressCaptions) {
    StartServer({"--latency-ms", "5"});
    mHarness = std::make_unique<PanelHarness>();
    PanelHarness& h = *mHarness;
    UI_Panel& panel = h.ShowAndWait();
    ASSERT_TRUE(panel.CanHandle());
    EXPECT_FALSE(panel.getExpertColorDialog()->isTwoWay());

    // A person ticks two-way and, asked for the server, types its address.
    CaptionRecorder recorder;
    FrontWindowPerson person;
    const ControlID bidi{'bidi', 10};
    HISimulateClick(h.Window(), &bidi);
    person.type("127.0.0.1");
    person.press(kHICommandOK);
    ASSERT_TRUE(RunUntil(
        [&] {
            return dynamic_cast<PigmentorBIDIItemList*>(h.Data().GetExpertColorFeaturesList()) &&
                   panel.CanHandle() && panel.getProgressHandler() == nullptr;
        },
        60));
    // The Settings button was off while the worker fetched.
    EXPECT_TRUE(recorder.settingsWereOff);

    // The worker's reports, turned into captions on the main thread.
    EXPECT_TRUE(Has(recorder.captions, Localized("kProgressConnecting", "BidiStrings")))
        << ::testing::PrintToString(recorder.captions);
    EXPECT_TRUE(Has(recorder.captions, Localized("kProgressGettingFeatures", "BidiStrings")));
    EXPECT_TRUE(Has(recorder.captions, Localized("kProgressProcessingData", "BidiStrings")));
    // The list is the server's.
    EXPECT_EQ(h.Data().GetPigmentorErr(), 0u);
    ASSERT_NE(dynamic_cast<PigmentorBIDIItemList*>(h.Data().GetExpertColorFeaturesList()), nullptr);
    EXPECT_TRUE(panel.getExpertColorDialog()->isTwoWay());
    EXPECT_TRUE(panel.BIDIEnabled());
    EXPECT_STREQ(panel.GetHostName(), "127.0.0.1");
    // The address and the two-way flag are kept for the printer.
    ASSERT_EQ(person.seen.size(), 1u);
    bool ipEnabled = false;
    h.Data().ResetTovranePrinterList();
    EXPECT_EQ(UTF8(h.Data().GetTovranePrinterAddress(h.Data().GetCurrentPrinterName(), &ipEnabled)),
              "127.0.0.1");
    EXPECT_TRUE(ipEnabled);
}

TEST_F(PanelFetch, AServerWithoutColourFeaturesIsReportedAndThePaneFallsBackToThePPD) {
    TempFile refusing(kPigmentorOffServer);
    StartServer({}, refusing.Path());
    mHarness = std::make_unique<PanelHarness>();
    PanelHarness& h = *mHarness;
    UI_Panel& panel = h.ShowAndWait();
    panel.getIPAddressPanel()->setIPAddress("127.0.0.1");
    panel.getIPAddressPanel()->setCheckBoxState(true);
    RunCurrentEventLoop(kEventDurationNoWait); // 'IPcb': the two-way fetch starts
    ASSERT_TRUE(panel.BIDIEnabled());
    FrontWindowPerson person;
    person.answerAlert();
    // 'QVFe' brings the server's refusal: the user is told, two-way goes off and the PPD's
    // own list is fetched instead.
    ASSERT_TRUE(RunUntil([&] {
        return !person.seen.empty() && !panel.BIDIEnabled() && panel.CanHandle() &&
               panel.getProgressHandler() == nullptr && h.Data().GetExpertColorFeaturesList();
    }));
    EXPECT_EQ(person.seen[0].alertText, Take(PigmentorErrors::PigmentorErrorString(kPigmentorServerErr)));
    EXPECT_EQ(person.seen[0].secondText, Take(PigmentorErrors::PigmentorErrorString(kPigmentorNotSupportedErr)));
    EXPECT_EQ(dynamic_cast<PigmentorBIDIItemList*>(h.Data().GetExpertColorFeaturesList()), nullptr);
    EXPECT_EQ(GetControl32BitValue(panel.getIPAddressPanel()->getCheckBox()), 0);
    EXPECT_FALSE(panel.getExpertColorDialog()->isTwoWay());
    EXPECT_EQ(panel.getExpertColorDialog()->getItemList(),
              static_cast<PigmentorItemList*>(h.Data().GetExpertColorFeaturesList()));
}

TEST_F(PanelFetch, ThePaneGoingAwayDuringAFetchStopsItsWorkerFirst) {
    StartServer({"--latency-ms", "40"});
    mHarness = std::make_unique<PanelHarness>();
    UI_Panel& panel = mHarness->ShowAndWait();
    panel.getIPAddressPanel()->setIPAddress("127.0.0.1");
    panel.getIPAddressPanel()->setCheckBoxState(true);
    RunCurrentEventLoop(kEventDurationNoWait); // 'IPcb': the fetch starts
    ASSERT_NE(panel.getProgressHandler(), nullptr);
    EXPECT_FALSE(panel.CanHandle());
    RunCurrentEventLoop(0.05); // the worker is between exchanges with the server
    mHarness.reset();          // joins it; TearDown checks that the SDK was left clean
}
