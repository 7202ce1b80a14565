// The colour data controller two-way on a real tovrane-server: the expert list it ends with,
// and what it does while the background fetch is still running (also under ThreadSanitizer).
#include "ColourDataSupport.h"
#include "TestServer.h"

#include "PigmentorBIDIItemList.h"
#include "PigmentorItem.h"
#include "PigmentorPPDItemList.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

/// Points the SDK's clients at `server` for the scope.
class ServerPort {
public:
    explicit ServerPort(const TestServer& server)
        : mPort("TOVRANE_SERVER_PORT", std::to_string(server.Port())) {}

private:
    ScopedEnv mPort;
};

} // namespace

TEST(ColourDataTwoWay, TheFetchedListIsTheServersAndItsCodeTheDynamicOption) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    ServerPort port(server);
    ColourDataHarness h;
    PigmentorData& data = h.Open(ExamplePPD("Tarvo-C5000.ppd"), true, "127.0.0.1");
    ASSERT_TRUE(data.Valid());
    EXPECT_EQ(data.GetPigmentorErr(), 0u);
    auto* list = dynamic_cast<PigmentorBIDIItemList*>(data.GetExpertColorFeaturesList());
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isValid());

    data.OutPostscriptData(h.Ticket());
    int dynamic = 0;
    for (const Injection& e : Injections(h.Ticket()))
        dynamic += e.site == 81 && e.data.find("XJXsetDynamicOption") != std::string::npos;
    // RGB source, rendering and simulation; the output profile starts at the media-defined
    // "QVOutProfileDEF", which the PPD's own code carries.
    EXPECT_EQ(dynamic, 3);
}

TEST(ColourDataTwoWay, TheSummaryGivesEachFeatureOnceWithTheValueTheDialogEdits) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    ServerPort port(server);
    ColourDataHarness h;
    PigmentorData& data = h.Open(ExamplePPD("Tarvo-C5000.ppd"), true, "127.0.0.1");
    auto* list = dynamic_cast<PigmentorBIDIItemList*>(data.GetExpertColorFeaturesList());
    ASSERT_NE(list, nullptr);
    // The server's gamma item is the list's last of that feature; set it apart from the plain
    // PPD item that comes before it.
    PigmentorItem* last = nullptr;
    for (PigmentorItem* item = list->firstItem(); item; item = PigmentorItemList::nextItem(item))
        if (std::string(item->getFeatureKeyword()) == "*QVRGBOtherGamma")
            last = item;
    ASSERT_NE(last, nullptr);
    ASSERT_NE(list->findByKeyword("*QVRGBOtherGamma"), last) << "no plain item beside it";
    last->setValue(1);
    const std::string chosen = last->getNthItemName(1);

    data.SetPrintModeTitle(CFSTR("Print Mode"));
    data.SetColorModeValue(CFSTR("Standard Color"), kPrintModeStandard);
    Owned<CFMutableStringRef> title(CFStringCreateMutable(nullptr, 0));
    Owned<CFMutableStringRef> value(CFStringCreateMutable(nullptr, 0));
    bool enabled = false;
    std::map<std::string, int> seen;
    std::string gamma;
    for (int i = 0; i < 100 && data.GetSummaryLine(title, value, enabled); ++i) {
        ++seen[UTF8(title)];
        if (UTF8(title) == "Gamma")
            gamma = UTF8(value);
    }
    for (const auto& [line, count] : seen)
        EXPECT_EQ(count, 1) << line;
    for (const char* feature : {"Gamma", "White Point", "Phosphors", "CMYK Simulation"})
        EXPECT_EQ(seen.count(feature), 1u) << feature;
    EXPECT_EQ(gamma, chosen);
}

TEST(ColourDataTwoWay, WhileTheFetchRunsTheOutputLeavesTheExpertListOutAndDeletingJoins) {
    // 16 requests at 40 ms each: the fetch outlasts everything the main thread does below.
    TestServer server({"--latency-ms", "40"});
    ASSERT_TRUE(server.Started());
    ServerPort port(server);
    ColourDataHarness h;
    PigmentorData& data = h.Open(ExamplePPD("Tarvo-C5000.ppd"), true, "127.0.0.1", false);
    ASSERT_TRUE(data.Valid());
    ASSERT_TRUE(data.GetExpertColorFeatures()->isFetching());
    EXPECT_EQ(data.GetExpertColorFeaturesList(), nullptr);

    data.OutPostscriptData(h.Ticket());
    std::vector<Injection> entries = Injections(h.Ticket());
    ASSERT_EQ(entries.size(), 2u * (1 + 7)); // print mode and pane only, each suppressed and written
    EXPECT_EQ(entries[0], (Injection{-9, "*QVColorMode"}));
    EXPECT_EQ(entries[8].site, 81);

    Owned<CFMutableStringRef> title(CFStringCreateMutable(nullptr, 0));
    Owned<CFMutableStringRef> value(CFStringCreateMutable(nullptr, 0));
    bool enabled = false;
    data.SetPrintModeTitle(CFSTR("Print Mode"));
    data.SetColorModeValue(CFSTR("Standard Color"), kPrintModeStandard);
    int lines = 0;
    while (data.GetSummaryLine(title, value, enabled) && lines < 100)
        ++lines;
    EXPECT_EQ(lines, 1 + 7);

    // Deleting the controller (and so the features) waits for the worker, which is still
    // working on the model; the model goes only after.
    h.Close();
}
