// Helpers of the colour pane's tests: a print dialog's window with the extension's user pane, a
// controller over a print session for a PPD, the panel built over the bundle's NIB, and a run
// of the main loop until a condition holds.
#ifndef PIGMENTOR_TESTS_UI_PANELTESTSUPPORT_H
#define PIGMENTOR_TESTS_UI_PANELTESTSUPPORT_H

#include "DialogTestSupport.h"

#include "ExpertColorFeatures.h"
#include "PDEIdentity.h"
#include "PPDXBooleanControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXPopupControl.h"
#include "PigmentorData.h"
#include "PigmentorPPDItemList.h"
#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"
#include "QRVPPD.h"
#include "_PopupItem.h"
#include "UI_Panel.h"

#include <HIToolbox/HIToolbox.h>
#include <PrintCore/PMHost.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

/// Runs the main loop until `done` holds or `seconds` passed; whether it holds.
inline bool RunUntil(const std::function<bool()>& done, double seconds = 20) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        RunCurrentEventLoop(0.02);
    }
    return true;
}

/// The example PPD `name` of the source tree.
inline std::string Example(const char* name) {
    return std::string(PIGMENTOR_SOURCE_DIR) + "/examples/" + name;
}

/// The print dialog around the pane: a print session for a PPD, the model, the job ticket, the
/// colour data controller, a window with the extension's user pane and the panel in it. $HOME
/// is a scratch folder (the two-way address list lives there).
class PanelHarness {
public:
    static constexpr short kPaneWidth = 525, kPaneHeight = 372;

    explicit PanelHarness(const std::string& ppd = Example("Tarvo-C5000.ppd"),
                          const char* language = "en")
        : mBundle(language), mHome("HOME", mScratch.path) {
        Owned<CFStringRef> name(PMCFStringCreateWithUTF8("Tarvo C5000"));
        Owned<CFStringRef> path(PMCFStringCreateWithUTF8(ppd.c_str()));
        PMHostPrinterDescription description = {name, nullptr, path, nullptr, nullptr, true};
        if (PMHostCreatePrinter(&description, &mPrinter) == noErr)
            PMHostCreateSession(mPrinter, &mSession);
        Owned<CFURLRef> url(FileURL(ppd));
        mModel = new QRVPPD(url, kShowAll, nullptr); // the first Release deletes it
        mSettings = std::make_unique<PrintSettingsTicket>(mSession);
        Owned<CFStringRef> key(CreatePostscriptDataFileKey());
        mTicket = std::make_unique<QRVJobTicket>(mSettings.get(), key);
        mData = std::make_unique<PigmentorData>(mSession, mModel, *mTicket, false, nullptr);
        Rect bounds{60, 60, static_cast<short>(60 + kPaneHeight), static_cast<short>(60 + kPaneWidth)};
        CreateNewWindow(kDocumentWindowClass, 0, &bounds, &mWindow);
        Rect pane{0, 0, kPaneHeight, kPaneWidth};
        CreateUserPaneControl(mWindow, &pane, kControlSupportsEmbedding, &mPane);
        Owned<CFStringRef> nibName(PMCFStringCreateWithUTF8("Pigmentor"));
        CreateNibReferenceWithCFBundle(mBundle.get(), nibName, &mNib);
    }
    ~PanelHarness() {
        mPanel.reset();
        mNewData.reset();
        mData.reset();
        mTicket.reset();
        mSettings.reset();
        if (mModel)
            mModel->Release();
        if (mNib)
            DisposeNibReference(mNib);
        DisposeWindow(mWindow);
        if (mSession)
            PMRelease(mSession);
        if (mPrinter)
            PMRelease(mPrinter);
    }
    PanelHarness(const PanelHarness&) = delete;
    PanelHarness& operator=(const PanelHarness&) = delete;

    /// Builds the panel (once).
    UI_Panel& Build() {
        if (!mPanel)
            mPanel = std::make_unique<UI_Panel>(mNib, mPane, mData.get());
        return *mPanel;
    }
    /// Builds and shows the panel and waits for the first fetch to finish.
    UI_Panel& ShowAndWait() {
        UI_Panel& panel = Build();
        panel.Show();
        RunUntil([&] { return panel.CanHandle() && panel.getProgressHandler() == nullptr; });
        return panel;
    }

    /// A second controller over the same session and model, as a loading sync makes it
    /// (kept until the panel is gone).
    PigmentorData& NewData() {
        mNewData = std::make_unique<PigmentorData>(mSession, mModel, *mTicket, false, nullptr);
        return *mNewData;
    }

    ControlRef Control(OSType signature, SInt32 id) const {
        const ControlID cid{signature, id};
        ControlRef c = nullptr;
        GetControlByID(mWindow, &cid, &c);
        return c;
    }
    /// The model's control `keyword`, whatever the display options.
    PPDXControl* PPD(const char* keyword) const {
        ScopedDisplayOptions all(kShowAll);
        CNTL_TYPE type;
        return mModel->GetControls()->Find(keyword, type, true);
    }
    bool BooleanOn(const char* keyword) const {
        auto* b = dynamic_cast<PPDXBooleanControl*>(PPD(keyword));
        return b && b->IsTrue();
    }
    /// The keyword of the popup's current item ("" when none).
    std::string PopupKeyword(const char* keyword) const {
        auto* popup = dynamic_cast<PPDXPopupControl*>(PPD(keyword));
        if (popup == nullptr)
            return "";
        _PopupItem* item = popup->GetValue() > 0 ? popup->CurrentItem() : nullptr;
        return item && item->Keyword() ? item->Keyword() : "";
    }
    int PrintModeValue() const {
        int value = -2;
        mData->GetColorModeValue(value);
        return value;
    }

    WindowRef Window() const { return mWindow; }
    ControlRef Pane() const { return mPane; }
    IBNibRef Nib() const { return mNib; }
    PigmentorData& Data() { return *mData; }

private:
    BundleScope mBundle;
    Scratch mScratch;
    ScopedEnv mHome;
    PMPrinter mPrinter = nullptr;
    PMPrintSession mSession = nullptr;
    QRVPPD* mModel = nullptr;
    std::unique_ptr<PrintSettingsTicket> mSettings;
    std::unique_ptr<QRVJobTicket> mTicket;
    std::unique_ptr<PigmentorData> mData;
    std::unique_ptr<PigmentorData> mNewData;
    WindowRef mWindow = nullptr;
    ControlRef mPane = nullptr;
    IBNibRef mNib = nullptr;
    std::unique_ptr<UI_Panel> mPanel;
};

#endif // PIGMENTOR_TESTS_UI_PANELTESTSUPPORT_H
