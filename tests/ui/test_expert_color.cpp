// The expert colour dialog over the example PPD's expert items (PPD mode), driven by simulated
// input on the headless toolbox: the window it loads, titles, OK and Cancel, the dependency
// rules, media-defined profiles, print gray as black, the rendering-style check box, special
// constraints and the diagram's segments.
#include "ExpertTestSupport.h"

#include "PPDXPopupControl.h"
#include "PigmentorPaneItemList.h"
#include "UI_CustomRGBDialog.h"

#include <HIToolbox/HIDump.h>
#include <CarbonCore/SysBeep.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace colourtest;
using namespace experttest;

namespace {

/// The example PPD with `replace` applied (each pair: text found -> replacement).
std::string ExampleText(std::initializer_list<std::pair<std::string, std::string>> replace = {}) {
    std::ifstream in(Example("Tarvo-C5000.ppd"));
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    for (const auto& r : replace) {
        const size_t at = s.find(r.first);
        EXPECT_NE(at, std::string::npos) << r.first;
        if (at != std::string::npos)
            s.replace(at, r.first.size(), r.second);
    }
    return s;
}

class ExpertDialog : public ::testing::Test {
protected:
    void Open(const std::string& ppd = ExampleText()) {
        mModel = std::make_unique<Model>(ppd, "");
        ASSERT_NE(mModel->get(), nullptr);
        mList = std::make_unique<PigmentorPPDItemList>(mModel->get(), true, nullptr);
        ASSERT_TRUE(mList->isValid());
        mDialog = std::make_unique<UI_ExpertColor>(mList.get(), mParent.w);
        mPerson = std::make_unique<Person>(*mDialog);
        mDialog->setPaneHook([this](const char* keyword, bool enable) {
            mPaneCalls.push_back(std::string(keyword) + (enable ? " on" : " off"));
        });
    }
    PigmentorItem* item(int n) { return mDialog->itemAt(n); }
    ControlRef control(int n) { return mDialog->featureControl(n); }
    PPDXPopupControl* popup(const char* keyword) {
        return mModel->get()->GetControls()->FindPopup(keyword, true);
    }
    void TearDown() override {
        mPerson.reset();
        mDialog.reset();
        mList.reset();
        mModel.reset();
    }

    BundleScope mBundle;
    ParentWindow mParent;
    std::unique_ptr<Model> mModel;
    std::unique_ptr<PigmentorPPDItemList> mList;
    std::unique_ptr<UI_ExpertColor> mDialog;
    std::unique_ptr<Person> mPerson;
    std::vector<std::string> mPaneCalls;
};

} // namespace

TEST_F(ExpertDialog, Smoke) {
    Open();
    EXPECT_EQ(mDialog->getError(), 0u);
    mDialog->show();
    ASSERT_NE(mDialog->getWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(mDialog->getWindow()));
    std::cout << HICopyWindowJSON(mDialog->getWindow(), -1).substr(0, 3000) << "\n";
}
