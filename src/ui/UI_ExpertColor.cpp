//===- UI_ExpertColor.cpp - The expert colour dialog: window and commands -===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_ExpertColor.h"

#include "ControlUtils.h"
#include "ExpertColorFeatures.h"
#include "ExpertColorKeywords.h"
#include "PDEBundle.h"
#include "PPDXControls.h"
#include "PPDXSpecialOption.h"
#include "PigmentorBIDIItem.h"
#include "PigmentorBIDIItemList.h"
#include "PigmentorErrors.h"
#include "PigmentorItem.h"
#include "PigmentorPPDItemList.h"
#include "PigmentorPaneItemList.h"
#include "QRVPPD.h"
#include "UI_CustomRGBDialog.h"
#include "UI_DialogWindow.h"
#include "UI_QRVAlert.h"

#include <CarbonCore/SysBeep.h>

#include <cstring>
#include <strings.h>

namespace {

constexpr OSType kFeatureSignature = 'PGSE';
constexpr OSType kBidiSignature = 'BIDI';
constexpr UInt32 kAlertFlags = 513;

/// Window controls titled from the default string table by their key.
const struct {
    OSType signature;
    SInt32 id;
    CFStringRef key;
} kLocalizedControls[] = {
    {kFeatureSignature, 501, CFSTR("RGB")},     {kFeatureSignature, 502, CFSTR("CMYK")},
    {kFeatureSignature, 503, CFSTR("SPOT")},    {kFeatureSignature, 504, CFSTR("BLACK")},
    {'cust', 0, CFSTR("CustomSetup")},          {'defs', 0, CFSTR("Defaults")},
    {'upda', 0, CFSTR("Update")},
};

} // namespace

UI_ExpertColor::UI_ExpertColor(PigmentorItemList* list, WindowRef parent)
    : UI_PigmentorDialogBase(parent) {
    mList = list;
    construct();
}

UI_ExpertColor::UI_ExpertColor(ExpertColorFeatures* features, WindowRef parent)
    : UI_PigmentorDialogBase(parent), mFeatures(features) {
    mList = features ? features->getExpertColorFeatures() : nullptr;
    construct();
}

UI_ExpertColor::UI_ExpertColor(UI_PigmentorControls* pane, WindowRef parent)
    : UI_PigmentorDialogBase(parent), mPane(pane) {
    construct();
}

void UI_ExpertColor::construct() {
    if (mList == nullptr)
        return;
    if (PigmentorItemList* list = mList) {
        mList = nullptr;
        mError = setExpertColorItemsList(list);
    }
}

UI_ExpertColor::~UI_ExpertColor() {
    destroyWindow();
    if (mLineProc)
        DisposeControlUserPaneDrawUPP(mLineProc);
    if (mNib)
        DisposeNibReference(mNib);
}

QRVPPD* UI_ExpertColor::model() const {
    auto* list = dynamic_cast<PigmentorPPDItemList*>(mList);
    return list ? list->getPPD() : nullptr;
}

const char* UI_ExpertColor::windowName() const {
    QRVPPD* ppd = model();
    PPDXControls* controls = ppd ? ppd->GetControls() : nullptr;
    PPDXSpecialOption* option = controls ? controls->FindSpecialOption("*Pigmentor", true) : nullptr;
    const CString* value = option ? option->GetValue() : nullptr;
    if (value && static_cast<const char*>(*value) && strcmp(*value, "CTP") == 0)
        return "PigmentorUICTP";
    return "PigmentorUI";
}

unsigned long UI_ExpertColor::setExpertColorItemsList(PigmentorItemList* list) {
    auto* bidi = dynamic_cast<PigmentorBIDIItemList*>(list);
    // The pane's own list is a PPD list too, but never the expert one.
    if ((bidi == nullptr && dynamic_cast<PigmentorPPDItemList*>(list) == nullptr) ||
        dynamic_cast<PigmentorPaneItemList*>(list) != nullptr)
        return kPigmentorInvalidItemsListErr;
    mList = list;
    mBidiList = bidi;
    mTwoWay = bidi != nullptr;
    if (mWindow == nullptr)
        initializeUI();
    InitializeSpecialOptions();
    InitializeSpecialKeywords();
    return InitializeUIFromPPD();
}

unsigned long UI_ExpertColor::setExpertColorFeatures(ExpertColorFeatures* features) {
    PigmentorItemList* list = features ? features->getExpertColorFeatures() : nullptr;
    if (list == nullptr)
        return kPigmentorNotSupportedErr;
    // The controls are built with the features' device links in view.
    mFeatures = features;
    const unsigned long error = setExpertColorItemsList(list);
    if (error != 0)
        mFeatures = nullptr;
    mError = error;
    return error;
}

void UI_ExpertColor::resetExpertColorItemsList() {
    // The window's controls point at the old items: they go with it.
    destroyWindow();
    mList = nullptr;
    mBidiList = nullptr;
    mFeatures = nullptr;
    mHasItems = false;
    mTwoWay = false;
    mPendingItem = nullptr;
}

void UI_ExpertColor::InitializeSpecialOptions() {
    QRVPPD* ppd = model();
    PPDXControls* controls = ppd ? ppd->GetControls() : nullptr;
    PPDXSpecialOption* option = controls ? controls->FindSpecialOption("*QVHideClrCstm", true) : nullptr;
    const CString* value = option ? option->GetValue() : nullptr;
    const char* text = value ? static_cast<const char*>(*value) : nullptr;
    mHideCustom = text && (strcmp(text, "True") == 0 || strcmp(text, "true") == 0);
    if (ControlRef button = getControlByID('cust', 0))
        mHideCustom ? HideControl(button) : ShowControl(button);
}

void UI_ExpertColor::InitializeSpecialKeywords() {
    const struct {
        int slot;
        int item;
        const char* first;
        const char* second;
    } table[] = {
        {kSepOut, 5, "SEPOUT", "Output"},           {kSepSim, 5, "SEPSIM", "Simulation"},
        {kSpeedQuick, 6, "FAST", "Quick"},          {kSpeedFullSource, 6, "BETR", "FullSource"},
        {kSpeedFullOutput, 6, "S4X4", "FullOutput"}, {kOvpTextOnly, 12, "TEXTONLY", "TextOnly"},
        {kOvpTextGraphics, 12, "TEXTGRAPHICS", "TextGraphics"},
    };
    for (const auto& entry : table) {
        char* slot = mKeywords[entry.slot];
        slot[0] = '\0';
        PigmentorItem* item = itemAt(entry.item);
        if (item && findItemKeyword(item, entry.first, slot) == 0)
            findItemKeyword(item, entry.second, slot);
    }
}

unsigned long UI_ExpertColor::initializeUI() {
    if (mList == nullptr || mWindow != nullptr)
        return 0;
    if (mParent == nullptr)
        return kPigmentorWindowErr;
    CFBundleRef bundle = PDEBundle::GetBundle();
    if (bundle == nullptr)
        return kPigmentorNoBundleErr;
    if (mNib == nullptr && CreateNibReferenceWithCFBundle(bundle, CFSTR("Pigmentor"), &mNib) != noErr) {
        mNib = nullptr;
        return kPigmentorNIBErr;
    }
    CFStringRef name = CFStringCreateWithCString(nullptr, windowName(), kCFStringEncodingUTF8);
    OSStatus err = CreateWindowFromNib(mNib, name, &mWindow);
    CFRelease(name);
    if (err != noErr || mWindow == nullptr) {
        mWindow = nullptr;
        return kPigmentorWindowErr;
    }
    SetWRefCon(mWindow, this);
    mWindowUsable = true;
    mMediaProfilesAdded = false;
    mCustomMoved = false;
    if (ControlRef popup = getControlByID(kFeatureSignature, 204))
        GetControlBounds(popup, &mOutputPopupRect);
    setStandardButtonTitles();
    installLineHandlers();
    const EventTypeSpec types[] = {{kEventClassCommand, kEventCommandProcess},
                                   {kEventClassControl, kEventControlClick}};
    installEventHandler(WindowEventHandler, 2, types);
    localizeStrings();
    return 0;
}

void UI_ExpertColor::localizeStrings() {
    if (CFStringRef title = PDEBundle::GetLocalizedCFString(CFSTR("ExpertColor"))) {
        SetWindowTitleWithCFString(mWindow, title);
        CFRelease(title);
    }
    for (const auto& c : kLocalizedControls) {
        ControlRef control = getControlByID(c.signature, c.id);
        CFStringRef text = control ? PDEBundle::GetLocalizedCFString(c.key) : nullptr;
        if (text == nullptr)
            continue;
        ControlUtils::SetControlTitle(control, text);
        CFRelease(text);
        // Buttons keep their left edge: they sit at the left of the dialog or of a column.
        ControlKind kind{0, 0};
        GetControlKind(control, &kind);
        if (kind.kind == kControlKindPushButton)
            ControlUtils::SizeControl(control, mWindow, true);
    }
    // Update follows Defaults, however wide the language made it.
    ControlRef defaults = getControlByID('defs', 0);
    ControlRef update = getControlByID('upda', 0);
    if (defaults && update) {
        Rect d{}, u{};
        GetControlBounds(defaults, &d);
        GetControlBounds(update, &u);
        MoveControl(update, static_cast<SInt16>(d.right + 12), u.top);
    }
}

void UI_ExpertColor::setStandardButtonTitles() {
    UI_PigmentorDialogBase::setStandardButtonTitles();
    // OK sits at the right edge; Cancel keeps a fixed gap to its left however OK grew.
    ControlRef ok = getControlByID('ok  ', 0);
    ControlRef cancel = getControlByID('canc', 0);
    if (ok && cancel) {
        Rect okBounds{}, cancelBounds{};
        GetControlBounds(ok, &okBounds);
        GetControlBounds(cancel, &cancelBounds);
        const SInt16 width = cancelBounds.right - cancelBounds.left;
        cancelBounds.right = okBounds.left - 12;
        cancelBounds.left = cancelBounds.right - width;
        SetControlBounds(cancel, &cancelBounds);
    }
}

unsigned long UI_ExpertColor::createPigmentorWindow() {
    unsigned long err = initializeUI();
    if (err != 0)
        return err;
    if (mWindow == nullptr)
        return kPigmentorWindowErr;
    if (mHandler == nullptr) {
        const EventTypeSpec types[] = {{kEventClassCommand, kEventCommandProcess},
                                       {kEventClassControl, kEventControlClick}};
        installEventHandler(WindowEventHandler, 2, types);
    }
    InitializeSpecialOptions();
    InitializeSpecialKeywords();
    return InitializeUIFromPPD();
}

void UI_ExpertColor::show() {
    if (!mWindowUsable || !mHasItems || mList == nullptr) {
        SysBeep(1);
        return;
    }
    mList->saveSettings();
    mChanged = false;
    if (createPigmentorWindow() != 0 || mWindow == nullptr) {
        SysBeep(1);
        return;
    }
    setStandardButtonTitles();
    initializeMediaDefinedProfiles(false);
    initializePrintGrayAsBlack();
    initializeCMYKRenderingStyle();
    initializeSpecialConstraints();
    UI_PigmentorDialogBase::show();
}

void UI_ExpertColor::showmodal() {
    if (mList == nullptr || !mHasItems) {
        SysBeep(1);
        return;
    }
    show();
    if (mWindow && IsWindowVisible(mWindow))
        waitForResponse();
}

void UI_ExpertColor::onOK() {
    UI_PigmentorDialogBase::onOK();
    mPendingItem = nullptr;
}

void UI_ExpertColor::onCancel() {
    hide();
    if (mList)
        mList->restoreSettings();
    if (mCustomRGB)
        mCustomRGB->revertUserSettings();
    // Show the restored values (the window goes on being used when Cancel came from code).
    for (int n = 1; n <= ExpertColorKeywords::kLastExpert; ++n) {
        PigmentorItem* item = itemAt(n);
        ControlRef control = featureControl(n);
        if (item && control && mWindow)
            setPigmentorControl(control, item, item->getValue(), false);
    }
    endModal();
    if (mPendingItem) {
        mPendingItem->setValue(static_cast<unsigned long>(mPendingValue));
        mPendingItem = nullptr;
    }
}

void UI_ExpertColor::onRevert() { setExpertColorDefaults(); }

void UI_ExpertColor::setExpertColorDefaults() {
    if (mList == nullptr)
        return;
    mList->setToDefaults();
    if (mCustomRGB)
        mCustomRGB->restoreDefaults();
    for (int n = 1; n <= ExpertColorKeywords::kLastExpert; ++n) {
        PigmentorItem* item = itemAt(n);
        ControlRef control = featureControl(n);
        if (item && control)
            setPigmentorControl(control, item, item->getValue(), false);
    }
    mMediaChoice = 3;
    initializeMediaDefinedProfiles(true);
    initializeSpecialConstraints();
    mChanged = true;
}

void UI_ExpertColor::destroyWindow() {
    removeEventHandler();
    delete mCustomRGB;
    mCustomRGB = nullptr;
    if (mWindow && IsValidWindowPtr(mWindow)) {
        hide();
        DisposeWindow(mWindow);
    }
    mWindow = nullptr;
    delete[] mLineRects;
    mLineRects = nullptr;
    mLastControl = nullptr;
    mLastItem = nullptr;
}

bool UI_ExpertColor::handlePigmentorError(unsigned long code) {
    if (code == 0)
        return false;
    CFStringRef text = PigmentorErrors::PigmentorErrorString(code);
    if (text == nullptr) {
        // No text of its own: the general numbered message.
        CFStringRef format = PigmentorErrors::PigmentorErrorString(CFSTR("kPigmentorErrorNumber"));
        if (format) {
            text = CFStringCreateWithFormat(nullptr, nullptr, format, static_cast<long>(code));
            CFRelease(format);
        }
    }
    CFStringRef title = PigmentorErrors::PigmentorErrorString(kPigmentorServerErr);
    if (title && text)
        UI_QRVAlert::TellUser(title, text, kAlertFlags, mParent);
    else if (text)
        UI_QRVAlert::TellUser(text, kAlertFlags, mParent);
    const bool told = text != nullptr;
    if (text)
        CFRelease(text);
    if (title)
        CFRelease(title);
    return told;
}

void UI_ExpertColor::ShowCustomRGBDialog() {
    if (mWindow == nullptr)
        return;
    if (mCustomRGB == nullptr)
        mCustomRGB = new UI_CustomRGBDialog(mNib, this, mWindow);
    if (!mCustomRGB->isInitialized())
        return;
    mCustomRGB->show();
    if (mCustomRGB->getResult() == 1)
        mChanged = true;
}

ControlRef UI_ExpertColor::featureControl(int n) const {
    if (mTwoWay)
        if (ControlRef control = getControlByID(kBidiSignature, 200 + n))
            return control;
    return getControlByID(kFeatureSignature, 200 + n);
}

ControlRef UI_ExpertColor::titleControl(int n) const {
    if (mTwoWay && n != 8 && n != 12)
        if (ControlRef control = getControlByID(kBidiSignature, 100 + n))
            return control;
    return getControlByID(kFeatureSignature, 100 + n);
}

PigmentorItem* UI_ExpertColor::itemAt(int n) const {
    if (mList == nullptr)
        return nullptr;
    // A two-way list holds the custom RGB settings twice: the server's and the PPD's own. The
    // PPD's is the one the custom RGB dialog edits, so the dialog shows and rules it too.
    const bool custom = n >= ExpertColorKeywords::kRGBOtherGamma && n <= ExpertColorKeywords::kRGBOtherPhos;
    PigmentorItem* first = nullptr;
    for (PigmentorItem* item = mList->firstItem(); item; item = PigmentorItemList::nextItem(item)) {
        if (item->getIndex() != n)
            continue;
        if (!custom || dynamic_cast<PigmentorBIDIItem*>(item) == nullptr)
            return item;
        if (first == nullptr)
            first = item;
    }
    return first;
}

void UI_ExpertColor::resetControls() {
    for (int n = 1; n <= ExpertColorKeywords::kLastExpert; ++n) {
        for (OSType signature : {kFeatureSignature, kBidiSignature}) {
            for (SInt32 id : {100 + n, 200 + n}) {
                if (ControlRef control = getControlByID(signature, id)) {
                    SetControlReference(control, nullptr);
                    HideControl(control);
                    EnableControl(control);
                }
            }
        }
    }
    for (OSType notice : {OSType('dev1'), OSType('dev2')})
        if (ControlRef control = getControlByID(notice, 0))
            HideControl(control);
    if (ControlRef update = getControlByID('upda', 0))
        mTwoWay ? ShowControl(update) : HideControl(update);
}

unsigned long UI_ExpertColor::InitializeUIFromPPD() {
    mHasItems = false;
    if (mList == nullptr || mWindow == nullptr)
        return kPigmentorNotSupportedErr;
    resetControls();
    mRGBLinkInUse = mCMYKLinkInUse = false;
    if (deviceLinksAvailable() && !mCustomMoved) {
        if (ControlRef button = getControlByID('cust', 0)) {
            Rect r{};
            GetControlBounds(button, &r);
            MoveControl(button, r.left, r.top + 12);
        }
        mCustomMoved = true;
    }
    for (PigmentorItem* item = mList->firstItem(); item; item = PigmentorItemList::nextItem(item)) {
        const int n = item->getIndex();
        if (n < 1 || n > ExpertColorKeywords::kLastExpert || item != itemAt(n))
            continue;
        ControlRef control = featureControl(n);
        if (ControlRef title = titleControl(n)) {
            setPigmentorControlFontInfo(title, -1, 11, -1);
            setPigmentorControlTitle(title, item, kindOf(control) == kControlKindPopupButton);
        }
        setPigmentorControlData(control, item);
        mHasItems = true;
    }
    if (!mHasItems)
        return kPigmentorNotSupportedErr;
    for (PigmentorItem* item = mList->firstItem(); item; item = PigmentorItemList::nextItem(item)) {
        const int n = item->getIndex();
        if (n < 1 || n > ExpertColorKeywords::kLastExpert || item != itemAt(n))
            continue;
        ControlRef control = featureControl(n);
        setPigmentorControl(control, item, item->getValue(), false);
        initializeUIControl(item, control);
    }
    adjustHiddenControls();
    return 0;
}

void UI_ExpertColor::initializeUIControl(PigmentorItem* item, ControlRef control) {
    if (control == nullptr || item == nullptr)
        return;
    ControlUtils::SizeControl(control, mWindow, true);
    const int n = item->getIndex();
    const struct {
        int feature;
        int line;
        bool ppdOnly;
    } arrows[] = {{1, 2, false},  {2, 3, false},  {3, 12, true},  {6, 13, false},
                  {7, 16, false}, {8, 19, false}, {10, 20, false}, {12, 20, false}};
    for (const auto& a : arrows)
        if (a.feature == n && !(a.ppdOnly && mTwoWay))
            adjustArrowWidth(control, a.line);
    // The overprint control's own arrow, into print gray as black, leaves it the same way.
    if (n == 12)
        adjustArrowWidth(control, 21);
}

void UI_ExpertColor::adjustHiddenControls() {
    if (ControlRef update = getControlByID('upda', 0))
        mTwoWay ? ShowControl(update) : HideControl(update);
    if (mHideCustom)
        if (ControlRef button = getControlByID('cust', 0))
            HideControl(button);
}

OSStatus UI_ExpertColor::WindowEventHandler(EventHandlerCallRef, EventRef event, void* data) {
    auto* self = static_cast<UI_ExpertColor*>(data);
    if (GetEventClass(event) == kEventClassControl) {
        ControlRef control = nullptr;
        GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                          nullptr, &control);
        // A radio button stands for its group, which holds the item.
        ControlKind kind{0, 0};
        GetControlKind(control, &kind);
        ControlRef parent = nullptr;
        if (kind.kind == kControlKindRadioButton && GetSuperControl(control, &parent) == noErr)
            control = parent;
        self->mLastControl = control;
        self->mLastItem = control ? static_cast<PigmentorItem*>(GetControlReference(control)) : nullptr;
        return eventNotHandledErr;
    }
    HICommand command{};
    if (!UI_DialogWindow::GetCommand(event, command))
        return eventNotHandledErr;
    return self->handleCommand(command.commandID, command.attributes, command.menu.menuItemIndex);
}

OSStatus UI_ExpertColor::handleCommand(UInt32 commandID, UInt32 attributes, MenuItemIndex menuItem) {
    if (mWindow)
        SetPortWindowPort(mWindow);
    switch (commandID) {
    case 'ok  ':
        onOK();
        destroyWindow();
        return noErr;
    case 'not!':
        onCancel();
        destroyWindow();
        return noErr;
    case 'rvrt':
        onRevert();
        return noErr;
    case 'upda':
        if (mBidiList) {
            handlePigmentorError(mBidiList->refreshBrivelleData());
            onRevert();
        }
        return noErr;
    case 'cust':
        ShowCustomRGBDialog();
        return noErr;
    // Check boxes. No control of our windows sends 'ovrp' or 'simu': black overprint offers the
    // server's default beside on and off, and the CMYK simulation is a list of profiles, so
    // both are popups (radio groups in two-way mode); a check box would hide a value. The
    // commands stay for a window that shows such a feature as a box.
    case 'ovrp':
    case 'simu':
        setPPDFromControl(mLastControl, mLastItem, 0);
        return noErr;
    // The paper-simulation box and the two-way radio groups: overprint style ('bid1'), black
    // overprint ('bid2') and spot colours ('bid3'). 'bid4' has no group: the other two-way
    // features keep popups, whose menus the locks of the dependencies narrow.
    case 'psim':
    case 'bid1':
    case 'bid2':
    case 'bid3':
    case 'bid4':
        if (mLastControl)
            setPPDFromControl(mLastControl, mLastItem, GetControl32BitValue(mLastControl));
        return noErr;
    case 'mdpr':
        if (mLastControl)
            setMediaDefinedProfile(GetControl32BitValue(mLastControl));
        return noErr;
    default:
        break;
    }
    if ((attributes & kHICommandFromMenu) == 0 || mLastControl == nullptr || mLastItem == nullptr)
        return eventNotHandledErr;
    long value = menuItem;
    const char* keyword = mLastItem->getFeatureKeyword();
    if (!mTwoWay && mMediaProfilesAdded && keyword && strcmp(keyword, "*QVOutProfile") == 0)
        value += 2;
    setPPDFromControl(mLastControl, mLastItem, value);
    return noErr;
}

void UI_ExpertColor::InitializeRadioGroups(PigmentorItem* item, ControlRef group) {
    if (item == nullptr || group == nullptr)
        return;
    UInt16 count = 0;
    CountSubControls(group, &count);
    const long value = item->getValue();
    UInt16 index = 1;
    for (const char* name = item->getFirstItem(); name && *name && index <= count;
         name = item->getNextItem(), ++index) {
        ControlRef button = nullptr;
        if (GetIndexedSubControl(group, index, &button) != noErr)
            break;
        ControlUtils::SetControlTitle(button, name);
        SetControlReference(button, reinterpret_cast<SRefCon>(static_cast<uintptr_t>(index)));
        ShowControl(button);
        // Every value is offered again, as a popup's menu is when it is set.
        EnableControl(button);
    }
    for (UInt16 i = index; i <= count; ++i)
        ControlUtils::HideRadioButton(group, i);
    if (value >= 1 && value < index)
        SetControl32BitValue(group, static_cast<SInt32>(value));
}
