//===- UI_Panel.cpp - Building, laying out and tearing down the pane ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_Panel.h"

#include "CString.h"
#include "ExpertColorFeatures.h"
#include "PDEBundle.h"
#include "PigmentorData.h"
#include "PigmentorProgressHandler.h"
#include "UI_ExpertColor.h"
#include "UI_IPAddressPanel.h"
#include "UI_PigmentorControls.h"

#include <algorithm>
#include <string>

namespace {

// Where the two-way pane was found when a panel was built; ResetUI builds it there again.
Rect gAddressBounds{0, 0, 0, 0};

CFStringRef Localized(CFStringRef key) {
    CFStringRef text = PDEBundle::GetLocalizedCFString(key);
    return text ? text : static_cast<CFStringRef>(CFRetain(key));
}

std::string UTF8(CFStringRef text) {
    char buffer[256];
    return text && PDEBundle::ConvertCFString(text, buffer, sizeof buffer) > 0 ? buffer : "";
}

int Width(const Rect& r) { return r.right - r.left; }
int Height(const Rect& r) { return r.bottom - r.top; }

} // namespace

UI_Panel::UI_Panel(IBNibRef nib, ControlRef parentUserPane, PigmentorData* data)
    : mData(data), mParentPane(parentUserPane), mAddress(new CString("")) {
    mStandardTitle = Localized(CFSTR("Standard Color"));
    mExpertTitle = Localized(CFSTR("Expert Color"));
    mGrayscaleTitle = Localized(CFSTR("Grayscale"));
    mPrintModeTitle = Localized(CFSTR("Print Mode"));
    if (nib == nullptr || parentUserPane == nullptr || data == nullptr ||
        data->GetCurrentPrinterName() == nullptr)
        return;
    mWindow = GetControlOwner(parentUserPane);
    if (mWindow == nullptr)
        return;
    mPrinterName = static_cast<CFStringRef>(CFRetain(data->GetCurrentPrinterName()));
    mValid = BuildUI(nib) && mLastStatus == noErr;
}

UI_Panel::~UI_Panel() {
    // The worker uses the progress handler until it ends: stop it before anything goes.
    StopFetch();
    delete mExpertDialog; // its pane hook points at the pane controls
    delete mPaneControls;
    delete mAddressPanel;
    RemoveHandlers();
    if (mLastEvent)
        ReleaseEvent(mLastEvent);
    for (CFStringRef s : {mPrinterName, mStandardTitle, mExpertTitle, mGrayscaleTitle, mPrintModeTitle})
        if (s)
            CFRelease(s);
    delete mAddress;
}

ControlRef UI_Panel::FindControl(OSType signature, SInt32 id) const {
    // The print dialog's window holds controls of its own: look in the group box first.
    std::vector<ControlRef> stack;
    if (mGroupBox)
        stack.push_back(mGroupBox);
    while (!stack.empty()) {
        ControlRef c = stack.back();
        stack.pop_back();
        ControlID cid{0, 0};
        GetControlID(c, &cid);
        if (cid.signature == signature && cid.id == id)
            return c;
        UInt16 count = 0;
        CountSubControls(c, &count);
        for (UInt16 i = count; i >= 1; --i) {
            ControlRef sub = nullptr;
            if (GetIndexedSubControl(c, i, &sub) == noErr)
                stack.push_back(sub);
        }
    }
    const ControlID cid{signature, id};
    ControlRef control = nullptr;
    return GetControlByID(mWindow, &cid, &control) == noErr ? control : nullptr;
}

ControlRef UI_Panel::getRadioButton(unsigned short mode) const {
    switch (mode) {
    case kModeStandard:
        return mStandardButton;
    case kModeExpert:
        return mExpertButton;
    case kModeGrayscale:
        return mGrayscaleButton;
    default:
        return nullptr;
    }
}

bool UI_Panel::CreateParts() {
    mPaneItemList = mData->GetPigmentorPaneItemList();
    if (mPaneControls == nullptr)
        mPaneControls = new UI_PigmentorControls(mPaneItemList);
    mExpertDialog = new UI_ExpertColor(mPaneControls, mWindow);
    // The dialog reaches the pane's "*QVSeparations" box through this hook.
    UI_PigmentorControls* pane = mPaneControls;
    mExpertDialog->setPaneHook([pane](const char* keyword, bool enable) {
        pane->DisablePigmentorControl(keyword, !enable);
    });
    return mExpertDialog->getError() == 0;
}

bool UI_Panel::BuildUI(IBNibRef nib) {
    Rect paneBounds;
    GetControlBounds(mParentPane, &paneBounds);
    WindowRef window = nullptr;
    mLastStatus = CreateWindowFromNib(nib, CFSTR("PDEMain"), &window);
    if (mLastStatus != noErr)
        return false;
    bool built = false;
    do {
        mPaneItemList = mData->GetPigmentorPaneItemList();
        mPaneControls = new UI_PigmentorControls(mPaneItemList);
        Rect bounds{0, 0, 0, 0};
        if (!MergeEmbedUI(window, mParentPane, bounds))
            break;
        GetControlBounds(mAddressPane, &gAddressBounds);
        mAddressPanel = new UI_IPAddressPanel(mWindow, mAddressPane, gAddressBounds, *mAddress,
                                              mPrinterName, false, true, true);
        if (!mAddressPanel->isInitialized())
            break;
        if (!CreateParts())
            break;
        if (!SetupColorMode())
            break;
        SetControlBounds(mParentPane, &paneBounds);
        built = true;
    } while (false);
    // The controls that were wanted now live in the parent pane; the rest go with the window.
    DisposeWindow(window);
    if (!built)
        RemoveMergedControls();
    return built;
}

void UI_Panel::RemoveMergedControls() {
    // A pane that could not be built leaves nothing behind in the print dialog's pane.
    delete mAddressPanel;
    mAddressPanel = nullptr;
    std::vector<ControlRef> merged;
    UInt16 count = 0;
    CountSubControls(mParentPane, &count);
    for (UInt16 i = 1; i <= count; ++i) {
        ControlRef c = nullptr;
        ControlID id{0, 0};
        if (GetIndexedSubControl(mParentPane, i, &c) == noErr && GetControlID(c, &id) == noErr &&
            ((id.signature == 'BoxC' && id.id == 101) || (id.signature == 'User' && id.id == 101) ||
             (id.signature == 'arro' && id.id == 0) ||
             (id.signature == UI_PigmentorControls::kControlSignature &&
              mPaneControls && mPaneControls->findItem(c))))
            merged.push_back(c);
    }
    for (ControlRef c : merged)
        DisposeControl(c);
    mGroupBox = mRadioGroup = mStandardButton = mGrayscaleButton = mExpertButton = nullptr;
    mSettingsButton = mAddressPane = nullptr;
    mSeparationPopup = mBrightnessPopup = mImageSmoothingPopup = mSubstColorPopup = nullptr;
}

bool UI_Panel::MergeEmbedUI(WindowRef window, ControlRef pane, Rect& bounds) {
    Rect windowRect, paneRect;
    GetWindowPortBounds(window, &windowRect);
    GetControlBounds(pane, &paneRect);
    const ControlID boxID{'BoxC', 101};
    mLastStatus = GetControlByID(window, &boxID, &mGroupBox);
    if (mLastStatus != noErr)
        return false;
    WidenControl(windowRect, paneRect, mGroupBox, 0);
    mLastStatus = EmbedControl(mGroupBox, pane);
    if (mLastStatus != noErr)
        return false;
    Rect r;
    GetControlBounds(mGroupBox, &r);
    UnionRect(&bounds, &r, &bounds);

    mLastStatus = mPaneControls->MergeEmbedUI(window, pane, bounds);
    if (mLastStatus != noErr)
        return false;

    const ControlID userID{'User', 101};
    mLastStatus = GetControlByID(window, &userID, &mAddressPane);
    if (mLastStatus != noErr)
        return false;
    // The union's height is taken from the top of the layout in the pane (not from the union's
    // own top, the box's margin), so that the two-way pane lies 10 pixels below the union.
    const int layoutTop =
        paneRect.top + std::max(0, (Height(paneRect) - Height(windowRect)) / 2);
    const int unionHeight = bounds.bottom - layoutTop;
    GetControlBounds(mAddressPane, &r);
    const int dy = -(r.top - unionHeight - 10);
    WidenControl(windowRect, paneRect, mAddressPane, dy);
    mLastStatus = EmbedControl(mAddressPane, pane);
    if (mLastStatus != noErr)
        return false;
    const ControlID arrowsID{'arro', 0};
    ControlRef arrows = nullptr;
    if (GetControlByID(window, &arrowsID, &arrows) == noErr) {
        AdjustSubControl(windowRect, paneRect, arrows, dy);
        mLastStatus = EmbedControl(arrows, pane);
    }
    return mLastStatus == noErr;
}

void UI_Panel::WidenControl(const Rect& window, const Rect& pane, ControlRef control, int dy) {
    Rect r;
    GetControlBounds(control, &r);
    const int target = Width(pane) - 20;
    if (target > Width(r)) {
        r.left = static_cast<short>(r.left - 20);
        r.right = static_cast<short>(r.left + target);
    }
    const int dh = pane.left + std::max(0, (Width(pane) - target) / 2);
    const int dv = pane.top + std::max(0, (Height(pane) - Height(window)) / 2) + dy;
    // Moving carries the sub-controls along; the new width is then set on the control alone.
    MoveControl(control, static_cast<SInt16>(r.left + dh), static_cast<SInt16>(r.top + dv));
    SizeControl(control, static_cast<SInt16>(Width(r)), static_cast<SInt16>(Height(r)));
}

void UI_Panel::AdjustSubControl(const Rect& window, const Rect& pane, ControlRef control, int dy) {
    Rect r;
    GetControlBounds(control, &r);
    const int dh = pane.left + std::max(0, (Width(pane) - Width(window)) / 2);
    const int dv = pane.top + std::max(0, (Height(pane) - Height(window)) / 2) + dy;
    MoveControl(control, static_cast<SInt16>(r.left + dh), static_cast<SInt16>(r.top + dv));
}

void UI_Panel::InstallHandler(EventTargetRef target) {
    static const EventTypeSpec kTypes[] = {{kEventClassCommand, kEventCommandProcess},
                                           {kEventClassControl, kEventControlClick},
                                           {kEventClassControl, kEventControlHit}};
    if (target == nullptr)
        return;
    EventHandlerRef handler = nullptr;
    if (InstallEventHandler(target, mHandlerUPP, 3, kTypes, this, &handler) == noErr)
        mHandlers.push_back(handler);
}

void UI_Panel::RemoveHandlers() {
    for (EventHandlerRef handler : mHandlers)
        RemoveEventHandler(handler);
    mHandlers.clear();
    if (mHandlerUPP)
        DisposeEventHandlerUPP(mHandlerUPP);
    mHandlerUPP = nullptr;
}

void UI_Panel::Show() {
    if (!mValid)
        return;
    RemoveHandlers();
    mHandlerUPP = NewEventHandlerUPP(EventHandler);
    InstallHandler(GetWindowEventTarget(mWindow));
    InstallHandler(GetControlEventTarget(mGroupBox));
    for (SInt32 id : {103, 104, 105, 106, 107, 303, 304, 305, 306, 307})
        if (ControlRef c = FindControl('Cntl', id))
            InstallHandler(GetControlEventTarget(c));
    if (ControlRef bidi = FindControl('bidi', 10))
        InstallHandler(GetControlEventTarget(bidi));

    bool ipEnabled = false;
    mData->ResetTovranePrinterList();
    CFStringRef address = mData->GetTovranePrinterAddress(mPrinterName, &ipEnabled);
    *mAddress = UTF8(address).c_str();
    if (mAddressPanel) {
        mAddressPanel->setIPAddress(*mAddress);
        if (ipEnabled && !mAddress->Empty())
            mAddressPanel->setCheckBoxState(true);
    }
    InitializeExpertColorList();
}

void UI_Panel::Hide() {
    RemoveHandlers();
}

OSStatus UI_Panel::ResetUI(PigmentorData* data) {
    StopFetch();
    delete mExpertDialog;
    mExpertDialog = nullptr;
    delete mPaneControls;
    mPaneControls = nullptr;
    delete mAddressPanel;
    mAddressPanel = nullptr;
    if (data)
        mData = data;
    mPaneItemList = mData->GetPigmentorPaneItemList();
    CreateParts();
    // The controls are bound to the new items before the print mode is applied, so that the
    // mode's locks (Composite Overprint in Grayscale) reach them.
    mPaneControls->RefreshUIControls(mWindow, mPaneItemList);
    SetupColorMode();
    mAddressPanel = new UI_IPAddressPanel(mWindow, mAddressPane, gAddressBounds, *mAddress,
                                          mPrinterName, false, true, true);
    SettingsChanged();
    return 0;
}

bool UI_Panel::BIDIEnabled() const {
    return mAddressPanel && mAddressPanel->isBidiMode();
}

const char* UI_Panel::GetHostName() const {
    return mAddressPanel ? mAddressPanel->getIPAddress() : nullptr;
}

void UI_Panel::StopFetch() {
    if (mProgressHandler == nullptr)
        return;
    if (mData)
        if (ExpertColorFeatures* features = mData->GetExpertColorFeatures()) {
            features->cancelExpertColorFeaturesAsync();
            // The features must not keep a handler that is about to go.
            mData->AddProgressHandler(nullptr, true);
        }
    delete mProgressHandler;
    mProgressHandler = nullptr;
}
