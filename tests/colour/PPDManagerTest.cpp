// The server's colour keywords into the model: the popups the first fetch makes are in the
// state a reconcile with the same data would leave them in (so reconciling them again right
// away may be skipped), and an older popup of the same keyword is still the one the reconcile
// reaches.
#include "BrivelleTest.h"
#include "ColourTestSupport.h"

#include "ExpertColorKeywords.h"
#include "KeywordContainer.h"
#include "PPDXControls.h"
#include "PigmentorSession.h"
#include "StPigmentorToPPDManager.h"
#include "_PopupItem.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace colourtest;

namespace {

/// Everything a reconcile can change in the model's popups whose keyword ends in "Bidi", as
/// text: name (both forms), default, each item's keyword, name and selection, the current
/// item and the value.
std::vector<std::string> BidiPopupStates(QRVPPD* model) {
    std::vector<std::string> states;
    PPDXControls* controls = model->GetControls();
    for (PPDXPopupControl* p = controls->FirstPopupControl(); p; p = controls->NextPopupControl()) {
        if (!isBidiKeyword(p->Keyword()))
            continue;
        std::string state = std::string(p->Keyword()) + " name=" + Text(p->CFStringUserName()) +
                            " user=" + (p->UserName() ? p->UserName() : "(null)") +
                            " default=" + (p->GetDefaultKeyword() ? p->GetDefaultKeyword() : "-") +
                            " value=" + std::to_string(p->GetValue()) + " current=" +
                            (p->CurrentItem() ? p->CurrentItem()->Keyword() : "-") + " items:";
        for (_PopupItem* item = p->FirstItem(); item; item = p->NextItem())
            state += std::string(" ") + item->Keyword() + "/" + Text(item->mLocalName) +
                     (item->mSelected ? "*" : "") + (item->PSLength() ? "+code" : "");
        states.push_back(state);
    }
    return states;
}

} // namespace

class PPDManager : public ServerTest {
protected:
    /// The colour defaults of the example device, read with localised names.
    PigmentorSession* ReadDefaults() {
        Connect();
        OpenLocalization();
        PigmentorSession* defaults = mConnection->GetPigmentorObject(nullptr);
        if (!defaults || defaults->OpenSession(kC5000) != 0 || defaults->GetColorSettings() != 0) {
            ADD_FAILURE() << "the colour defaults were not read";
            return nullptr;
        }
        defaults->CloseSession();
        return defaults;
    }
};

TEST_F(PPDManager, NewPopupsAreWhatAReconcileWithTheSameDataMakesOfThem) {
    TempBundle bundle("ja_JP"); // names outside Latin-1 must keep their bytes through a rename
    StartServer();
    PigmentorSession* defaults = ReadDefaults();
    ASSERT_NE(defaults, nullptr);
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    { StPigmentorToPPDManager create(defaults, model.get()); }
    const std::vector<std::string> created = BidiPopupStates(model.get());
    ASSERT_EQ(created.size(), 18u);
    EXPECT_NE(created.front().find("user=黒オーバープリント"), std::string::npos) << created.front();

    { StResyncPigmentorToPPDManager resync(defaults, model.get()); }
    EXPECT_EQ(BidiPopupStates(model.get()), created);
}

TEST_F(PPDManager, PopupNamesAreTheirTextFormsEvenWhenTooLongOrOutsideTheBasicPlane) {
    std::ifstream file(TestServer::ExamplePath());
    std::string description((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string longName;
    for (int i = 0; i < 130; ++i)
        longName += "Ä"; // 260 bytes: a name is cut to whole characters within 255
    for (auto [from, to] : {std::pair<std::string, std::string>{"\"CMYK Simulation\"",
                                                                 "\"" + longName + "\""},
                            {"\"Rendering Style\"", "\"Stil \U0001F600\""}}) {
        const size_t at = description.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        description.replace(at, from.size(), to);
    }
    TempFile server(description);
    StartServer({}, server.Path());
    PigmentorSession* defaults = ReadDefaults();
    ASSERT_NE(defaults, nullptr);
    Model model(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
    { StPigmentorToPPDManager create(defaults, model.get()); }

    PPDXControls* controls = model->GetControls();
    PPDXPopupControl* simulation = controls->FindPopup("*QVSimulationBidi", true);
    PPDXPopupControl* rendering = controls->FindPopup("*QVColorRendDictBidi", true);
    ASSERT_TRUE(simulation && rendering);
    EXPECT_EQ(Text(simulation->CFStringUserName()), longName.substr(0, 254));
    EXPECT_EQ(Text(rendering->CFStringUserName()), "Stil \U0001F600");
}

TEST_F(PPDManager, AnOlderPopupOfTheSameKeywordIsStillReconciled) {
    StartServer();
    PigmentorSession* defaults = ReadDefaults();
    ASSERT_NE(defaults, nullptr);
    KeywordContainer* simulation = defaults->GetKeywordObject("*QVSimulation");
    ASSERT_NE(simulation, nullptr);
    size_t offered = 0;
    for (auto it = simulation->FirstSetting(); it != simulation->EndSetting(); ++it)
        ++offered;

    // A popup of that keyword already in the roll-down (say from an earlier server): the
    // reconcile finds it before the one made now, and that one must be brought up to date.
    Model model(Layout() + PopupBlock("*QVOutProfile", "Out", {{"PLAIN", "Plain", "/p"}}));
    PPDXPopupControl* older = AddServerPopup(model.get(), "TPPigmentor", "*QVSimulationBidi", "Old",
                                             {{"OLDONLY", "Old only"}}, "OLDONLY");
    ASSERT_NE(older, nullptr);
    { StPigmentorToPPDManager create(defaults, model.get()); }

    EXPECT_EQ(older->ItemCount(), offered);
    EXPECT_FALSE(older->HasItemWithKeyword("OLDONLY"));
    EXPECT_TRUE(older->HasItemWithKeyword("MATCHCOPY"));
    EXPECT_STREQ(older->UserName(), "CMYK Simulation");
}
