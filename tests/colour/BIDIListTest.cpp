// The two-way item list against a real tovrane-server on loopback: the first fetch puts the
// server's colour keywords into the model, the next reconciles them; device links; the
// server's texts and odd option keywords; refusals, a server that is down, cancellation.
#include "BrivelleTest.h"
#include "ColourTestSupport.h"
#include "RecordingProgressHandler.h"

#include "DeviceLinkItem.h"
#include "ExpertColorKeywords.h"
#include "DeviceLinkList.h"
#include "PPDXControls.h"
#include "PPDXGroups.h"
#include "PPDXRollDown.h"
#include "PigmentorBIDIItem.h"
#include "PigmentorBIDIItemList.h"
#include "PigmentorErrors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace colourtest;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/// The example server description with the value list of the colour key `key` (of its first
/// device) replaced by `values` (a JSON array).
std::string ExampleWithValues(const std::string& key, const std::string& values) {
    std::string text = ReadFile(TestServer::ExamplePath());
    const size_t at = text.find("\"key\": \"" + key + "\"");
    const size_t from = at == std::string::npos ? at : text.find("\"values\": [", at);
    const size_t to = from == std::string::npos ? from : text.find(']', from);
    EXPECT_NE(to, std::string::npos) << key;
    if (to != std::string::npos)
        text.replace(from, to + 1 - from, "\"values\": " + values);
    return text;
}

/// The popups of the colour roll-down whose keyword ends in "Bidi".
std::vector<PPDXPopupControl*> BidiPopups(QRVPPD* model) {
    std::vector<PPDXPopupControl*> popups;
    PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(model->GetGroups()->Find("TPPigmentor", true));
    if (!rollDown)
        rollDown = dynamic_cast<PPDXRollDown*>(model->GetGroups()->Find("TPColor", true));
    if (!rollDown)
        return popups;
    PPDXControls* controls = rollDown->Controls();
    for (PPDXPopupControl* p = controls->FirstPopupControl(); p; p = controls->NextPopupControl())
        if (isBidiKeyword(p->Keyword()))
            popups.push_back(p);
    return popups;
}

PPDXPopupControl* Popup(QRVPPD* model, const char* keyword) {
    CNTL_TYPE type;
    return dynamic_cast<PPDXPopupControl*>(model->GetControls()->Find(keyword, type, true));
}

std::vector<std::string> Links(const PigmentorBIDIItemList& list) {
    std::vector<std::string> links;
    DeviceLinkList* all = list.getDeviceLinks();
    for (DeviceLinkItem* l = all ? all->firstLink() : nullptr; l; l = DeviceLinkList::nextLink(l))
        links.push_back(std::to_string(l->getType()) + " " + std::to_string(l->getSource()) + " " +
                        std::to_string(l->getDestination()) + " " + Text(l->getName()));
    return links;
}

int BidiItemCount(PigmentorItemList& list) {
    int n = 0;
    for (PigmentorItem* item = list.firstItem(); item; item = PigmentorItemList::nextItem(item))
        n += dynamic_cast<PigmentorBIDIItem*>(item) != nullptr;
    return n;
}

/// Cancels (as the user would) when the fetch reports the state `atState`.
class CancellingHandler : public RecordingProgressHandler {
public:
    explicit CancellingHandler(unsigned long atState) : mAtState(atState) {}

protected:
    int updateImp(unsigned long state, void* text, int length) override {
        int answer = RecordingProgressHandler::updateImp(state, text, length);
        if (state == mAtState)
            user_cancel();
        return answer;
    }

private:
    unsigned long mAtState;
};

const std::string kLongKey = "*" + std::string(251, 'L'); // 252 bytes: 256 with "Bidi"

const std::string kOddValuesServerTemplate = R"json({
  "server": {"name": "Odd"},
  "features": [{"name": "Pigmentor", "value": "1"}],
  "locales": {"default": "en_US", "list": ["en_US"]},
  "encodings": {"default": "UTF-8", "list": ["UTF-8"]},
  "devices": [
    {"name": "Odd Device", "colour_defaults": [
      {"key": "*QVOutProfile", "default": "A(1)", "values": ["A(1)", "B\\C", "L\nF"]},
      {"key": "*QVSimSpeed", "values": ["FAST", "BETR"]},
      {"key": "LONGKEY", "values": ["X"]}
    ]}
  ]
})json";

const char* const kRefusingServer = R"({
  "server": {"name": "Plain"},
  "features": [{"name": "Pigmentor", "value": "0"}, {"name": "TwoWay", "value": "1"}],
  "locales": {"default": "en_US", "list": ["en_US"]},
  "encodings": {"default": "UTF-8", "list": ["UTF-8"]},
  "devices": [{"name": "Plain Device"}]
})";

} // namespace

class BidiList : public ServerTest {};

TEST_F(BidiList, FirstFetchPutsTheServersKeywordsIntoTheModel) {
    StartServer();
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    ASSERT_TRUE(BidiPopups(model.get()).empty());
    RecordingProgressHandler handler;
    auto list = std::make_unique<PigmentorBIDIItemList>(model.get(), "localhost", &handler, true);
    EXPECT_TRUE(list->isValid());
    EXPECT_EQ(list->getPigmentorErr(), 0u);
    EXPECT_STREQ(list->getDeviceName(), kC5000);
    EXPECT_EQ(handler.calls,
              (std::vector<std::string>{"init", "start 4 len 15 Initalizing... ", "update 1 len 0",
                                        "update 2 len 0", "update 3 len 0", "update 4 len 0",
                                        "update 4 len 0", "end 5 len 5 Done "}));

    // 18 server keywords became popups of the colour roll-down, named and filled by the server.
    EXPECT_EQ(BidiPopups(model.get()).size(), 18u);
    PPDXPopupControl* simulation = Popup(model.get(), "*QVSimulationBidi");
    ASSERT_NE(simulation, nullptr);
    EXPECT_STREQ(simulation->UserName(), "CMYK Simulation");
    EXPECT_GE(simulation->ItemCount(), 7u);
    EXPECT_TRUE(simulation->HasItemWithKeyword("MATCHCOPY"));
    EXPECT_STREQ(simulation->CurrentItem()->Keyword(), "QVSimulationDEF");
    EXPECT_STREQ(simulation->GetKeywordLocalName("SWOPCOATED"), "SWOP-Coated");

    // One two-way item per server keyword, plus the plain gamma, white point and phosphors.
    EXPECT_EQ(BidiItemCount(*list), 18);
    EXPECT_EQ(list->count(), 21);
    PigmentorItem* sim = list->findByKeyword("*QVSimulation");
    ASSERT_NE(dynamic_cast<PigmentorBIDIItem*>(sim), nullptr);
    EXPECT_EQ(sim->getIndex(), 3);
    EXPECT_EQ(sim->getPPDXControl(), simulation);
    EXPECT_TRUE(list->itemIsAvailable("*QVSimulationBidi"));
    EXPECT_EQ(list->getIndexPPDControl(3), Popup(model.get(), "*QVSimulation"));
    EXPECT_EQ(list->getIndexPPDControl(19), nullptr);
}

TEST_F(BidiList, DeviceLinksForEverySourceAndOutputPair) {
    StartServer();
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    auto list = std::make_unique<PigmentorBIDIItemList>(model.get(), "127.0.0.1", nullptr, true);
    ASSERT_TRUE(list->isValid());
    EXPECT_EQ(Links(*list), (std::vector<std::string>{
                                "1 2 3 sRGB to C5000 Plain", "1 2 4 sRGB to C5000 Coated",
                                "2 2 3 SWOP to C5000 Plain", "2 3 4 Euroscale to C5000 Coated",
                                "2 4 4 ISO Coated to C5000 Coated"}));
    PigmentorItem* rgb = list->findByKeyword("*QVRGBOverride");
    PigmentorItem* sim = list->findByKeyword("*QVSimulation");
    PigmentorItem* out = list->findByKeyword("*QVOutProfile");
    rgb->setValue(rgb->getValueByKeyword("SRGB"));
    out->setValue(out->getValueByKeyword("TRVC5COATED"));
    EXPECT_EQ(Text(list->RGBDeviceLinkExists(rgb, out)), "sRGB to C5000 Coated");
    EXPECT_EQ(list->CMYKDeviceLinkExists(sim, out), nullptr); // the server default: no link
    sim->setValue(sim->getValueByKeyword("ISOCOATED"));
    EXPECT_EQ(Text(list->CMYKDeviceLinkExists(sim, out)), "ISO Coated to C5000 Coated");

    // Without device links asked for, none are gathered.
    auto plain = std::make_unique<PigmentorBIDIItemList>(model.get(), "127.0.0.1", nullptr, false);
    EXPECT_TRUE(plain->isValid());
    EXPECT_EQ(plain->getDeviceLinks(), nullptr);
    EXPECT_EQ(plain->RGBDeviceLinkExists(rgb, out), nullptr);
}

TEST_F(BidiList, SecondFetchReconcilesTheControlsAndKeepsTheChoice) {
    StartServer();
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    {
        PigmentorBIDIItemList first(model.get(), "127.0.0.1", nullptr, false);
        ASSERT_TRUE(first.isValid());
        PigmentorItem* sim = first.findByKeyword("*QVSimulation");
        sim->setValue(sim->getValueByKeyword("EUROSCALE"));
    }
    PPDXPopupControl* simulation = Popup(model.get(), "*QVSimulationBidi");
    ASSERT_NE(simulation, nullptr);

    // The server now offers fewer simulations, with the chosen one among them.
    TempFile changed(
        ExampleWithValues("*QVSimulation", R"(["QVSimulationDEF", "EUROSCALE", "NONE"])"));
    mServer.reset();
    StartServer({}, changed.Path());
    PigmentorBIDIItemList second(model.get(), "127.0.0.1", nullptr, false);
    EXPECT_TRUE(second.isValid());
    EXPECT_EQ(BidiPopups(model.get()).size(), 18u); // reconciled, not added again
    EXPECT_EQ(Popup(model.get(), "*QVSimulationBidi"), simulation);
    EXPECT_EQ(simulation->ItemCount(), 3u);
    EXPECT_STREQ(simulation->CurrentItem()->Keyword(), "EUROSCALE");
    EXPECT_EQ(BidiItemCount(second), 18);
}

TEST_F(BidiList, ServerTextsInAnyLanguageAndOddKeywordsReachTheItems) {
    TempBundle bundle("ja_JP");
    StartServer();
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd")); // a Latin-1 PPD
    {
        PigmentorBIDIItemList list(model.get(), "127.0.0.1", nullptr, false);
        ASSERT_TRUE(list.isValid());
        PigmentorItem* sim = list.findByKeyword("*QVSimulation");
        ASSERT_NE(sim, nullptr);
        EXPECT_STREQ(sim->getFeatureDisplayName(), "CMYKシミュレーション");
        CFStringRef title = nullptr, value = nullptr;
        bool enabled = false;
        EXPECT_TRUE(sim->getFeatureSummaryInfo(title, value, enabled));
        EXPECT_EQ(TakeText(title), "CMYKシミュレーション");
        EXPECT_NE(TakeText(value), "(null)");
    }

    std::string description = kOddValuesServerTemplate;
    description.replace(description.find("LONGKEY"), 7, kLongKey);
    TempFile odd(description);
    mServer.reset();
    StartServer({}, odd.Path());
    Model small(Layout() + PopupBlock("*QVOutProfile", "Out", {{"PLAIN", "Plain", "/p"}}));
    PigmentorBIDIItemList list(small.get(), "127.0.0.1", nullptr, false);
    ASSERT_TRUE(list.isValid());
    PigmentorItem* out = list.findByKeyword("*QVOutProfile");
    ASSERT_NE(out, nullptr);
    EXPECT_STREQ(out->getValueKeyword(), "A(1)");
    unsigned char code[512];
    int length = out->getFeaturePostScript(code, sizeof code);
    ASSERT_GT(length, 0);
    EXPECT_NE(std::string(reinterpret_cast<char*>(code), length).find("(*QVOutProfile) (A\\(1\\))"),
              std::string::npos);
    out->setValue(out->getValueByKeyword("L\nF"));
    length = out->getFeaturePostScript(code, sizeof code);
    EXPECT_NE(std::string(reinterpret_cast<char*>(code), length).find("(L\\012F)"), std::string::npos);
    // A keyword without a server default selects its first value.
    EXPECT_STREQ(list.findByKeyword("*QVSimSpeed")->getValueKeyword(), "FAST");
    // A server keyword with no room left for "Bidi" in a PPD keyword is passed over.
    EXPECT_EQ(BidiPopups(small.get()).size(), 2u);
}

TEST_F(BidiList, ServerWithoutColourFeaturesGivesNotSupported) {
    TempFile refusing(kRefusingServer);
    StartServer({}, refusing.Path());
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    RecordingProgressHandler handler;
    PigmentorBIDIItemList list(model.get(), "127.0.0.1", &handler, true);
    EXPECT_FALSE(list.isValid());
    EXPECT_EQ(list.getPigmentorErr(), kPigmentorNotSupportedErr);
    EXPECT_EQ(handler.calls.back(), "error 6 0 len 0");
    EXPECT_TRUE(BidiPopups(model.get()).empty());
    EXPECT_EQ(list.count(), 0);
}

TEST_F(BidiList, ServerThatIsDownGivesConnectionErrorWithinTheTimeout) {
    setenv("TOVRANE_SERVER_PORT", std::to_string(UnusedPort()).c_str(), 1);
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    const auto start = std::chrono::steady_clock::now();
    PigmentorBIDIItemList list(model.get(), "127.0.0.1", nullptr, true);
    EXPECT_LT(ElapsedMs(start), 15000); // the SDK's default timeout
    EXPECT_FALSE(list.isValid());
    EXPECT_EQ(list.getPigmentorErr(), kPigmentorConnErr);
}

TEST_F(BidiList, CancellingThroughTheHandlerStopsWithUserCancel) {
    StartServer();
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    CancellingHandler handler(2);
    PigmentorBIDIItemList list(model.get(), "127.0.0.1", &handler, true);
    EXPECT_FALSE(list.isValid());
    EXPECT_EQ(list.getPigmentorErr(), kPigmentorUserCancelErr);
    EXPECT_EQ(handler.calls.back(), "error 1001 0 len 0");
    EXPECT_TRUE(BidiPopups(model.get()).empty()); // stopped before the model changed

    // A handler cancelled before the fetch stops it at once.
    RecordingProgressHandler cancelled;
    cancelled.user_cancel();
    PigmentorBIDIItemList early(model.get(), "127.0.0.1", &cancelled, true);
    EXPECT_EQ(early.getPigmentorErr(), kPigmentorUserCancelErr);
}

TEST_F(BidiList, MissingModelOrServerNameBuildsNothing) {
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    PigmentorBIDIItemList noModel(nullptr, "127.0.0.1", nullptr, true);
    EXPECT_FALSE(noModel.isValid());
    EXPECT_EQ(noModel.getPigmentorErr(), kPigmentorPPDInitErr);
    PigmentorBIDIItemList noName(model.get(), nullptr, nullptr, true);
    EXPECT_FALSE(noName.isValid());
    EXPECT_EQ(noName.getPigmentorErr(), kPigmentorServerNameErr);
    EXPECT_EQ(noName.getConnection(), nullptr);
    EXPECT_STREQ(noName.Keyword("*QVSimulationBidi"), "*QVSimulation");
    EXPECT_STREQ(noName.Keyword("ab"), "");
}
