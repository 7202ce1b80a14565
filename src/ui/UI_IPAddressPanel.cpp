//===- UI_IPAddressPanel.cpp - Two-way check box and server address -------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_IPAddressPanel.h"

#include "ControlUtils.h"
#include "PDEBundle.h"
#include "UI_TwoWayCommDialog.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

enum : OSType { kBidiSignature = 'bidi', kConfigureSignature = 'conf' };
enum : SInt32 { kPanelControlID = 10 };
enum : UInt32 { kCommandAddressEdited = 'IPcm', kCommandBidiSwitched = 'IPcb' };

/// Row geometry inside the user pane: a 20-pixel row, a separator, another 20-pixel row.
constexpr short kRowHeight = 20;
constexpr short kSeparatorTop = 23;
constexpr short kSecondRowTop = 26;
constexpr short kTextInset = 2; // static text (17 pixels high) sits 2 pixels into its row
constexpr short kGap = 8;

CFStringRef Bidi(CFStringRef key) { return PDEBundle::GetLocalizedCFStringFromFile(key, CFSTR("BidiStrings")); }

Rect MakeRect(int top, int left, int bottom, int right) {
    return Rect{static_cast<SInt16>(top), static_cast<SInt16>(left), static_cast<SInt16>(bottom),
                static_cast<SInt16>(right)};
}

void SetEnabled(ControlRef control, bool enabled) {
    if (control)
        enabled ? EnableControl(control) : DisableControl(control);
}

} // namespace

UI_IPAddressPanel::UI_IPAddressPanel(WindowRef window, ControlRef parent, Rect bounds,
                                     const char* address, CFStringRef printer, bool twoWayOn,
                                     bool visible, bool withCheckBox)
    : mTwoWayOn(twoWayOn && address && *address), mWindow(window), mWithCheckBox(withCheckBox) {
    storeAddress(address);
    setPrinterName(printer);
    if (window == nullptr)
        return;
    Rect inner = bounds;
    InsetRect(&inner, 2, 2);
    if (CreateUserPaneControl(window, &inner, kControlSupportsEmbedding, &mUserPane) != noErr) {
        mUserPane = nullptr;
        return;
    }
    if (parent)
        EmbedControl(mUserPane, parent);
    SetControlVisibility(mUserPane, false, false);
    const bool built = initialize();
    if (built) {
        setIPAddress(address);
        setPrinterName(printer);
    }
    visible ? show() : hide();
    mInitialized = built;
}

UI_IPAddressPanel::~UI_IPAddressPanel() {
    delete mDialog;
    if (mUserPane && IsValidControlHandle(mUserPane))
        DisposeControl(mUserPane);
    std::free(mAddress);
    if (mPrinterName)
        CFRelease(mPrinterName);
}

bool UI_IPAddressPanel::initialize() {
    if (mCheckBox)
        return true; // built already
    if (PDEBundle::GetBundle() == nullptr || mUserPane == nullptr)
        return false;
    Rect r;
    GetControlBounds(mUserPane, &r);
    // The pane is the bounds inset by 2, so the bounds' minimum is the pane's plus 4.
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width + 4 < kMinimumWidth || height + 4 < kMinimumHeight)
        return false;

    CFStringRef useBidi = Bidi(CFSTR("USE_BIDI"));
    CFStringRef addressLabel = Bidi(CFSTR("PRINTER_ADDR"));
    CFStringRef configure = Bidi(CFSTR("CONFIG_BTN"));
    CFStringRef empty = CFStringCreateWithCString(nullptr, "", kCFStringEncodingUTF8);

    const Rect row1 = MakeRect(r.top, r.left, r.top + kRowHeight, r.left + width / 2);
    if (mWithCheckBox) {
        CreateCheckBoxControl(mWindow, &row1, useBidi, mTwoWayOn ? 1 : 0, true, &mCheckBox);
        const ControlID id{kBidiSignature, kPanelControlID};
        SetControlID(mCheckBox, &id);
        SetControlCommandID(mCheckBox, kBidiSignature);
    } else {
        const Rect label = MakeRect(row1.top + kTextInset, row1.left, row1.bottom, row1.right);
        CreateStaticTextControl(mWindow, &label, useBidi, nullptr, &mCheckBox);
    }
    const Rect line = MakeRect(r.top + kSeparatorTop, r.left, r.top + kSeparatorTop + 2, r.right);
    CreateSeparatorControl(mWindow, &line, &mSeparator);

    const int top = r.top + kSecondRowTop;
    const int labelRight = r.left + width / 3;
    const int buttonLeft = r.right - kButtonColumn;
    const Rect labelRect = MakeRect(top + kTextInset, r.left, top + kRowHeight, labelRight);
    CreateStaticTextControl(mWindow, &labelRect, addressLabel, nullptr, &mAddressLabel);
    const Rect textRect = MakeRect(top + kTextInset, labelRight + kGap, top + kRowHeight, buttonLeft - kGap);
    CreateStaticTextControl(mWindow, &textRect, empty, nullptr, &mAddressText);
    const Rect buttonRect = MakeRect(top, buttonLeft, top + kRowHeight, r.right);
    CreatePushButtonControl(mWindow, &buttonRect, configure, &mConfigureButton);
    const ControlID buttonID{kConfigureSignature, kPanelControlID};
    SetControlID(mConfigureButton, &buttonID);
    SetControlCommandID(mConfigureButton, kConfigureSignature);

    for (CFStringRef s : {useBidi, addressLabel, configure, empty})
        if (s)
            CFRelease(s);
    for (ControlRef c : {mCheckBox, mSeparator, mAddressLabel, mAddressText, mConfigureButton})
        if (c)
            EmbedControl(c, mUserPane);
    if (!mCheckBox || !mSeparator || !mAddressLabel || !mAddressText || !mConfigureButton)
        return false;
    handleBiDi();
    return true;
}

void UI_IPAddressPanel::storeAddress(const char* text) {
    std::free(mAddress);
    mAddress = nullptr;
    if (text == nullptr || *text == '\0')
        return;
    // At most 255 bytes, as the dialog holds them, cut before a partial UTF-8 sequence.
    size_t n = std::strlen(text);
    if (n > 255) {
        n = 255;
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    }
    mAddress = static_cast<char*>(std::malloc(n + 1));
    if (mAddress) {
        std::memcpy(mAddress, text, n);
        mAddress[n] = '\0';
    }
}

void UI_IPAddressPanel::setIPAddress(const char* text) {
    if (text == nullptr || *text == '\0')
        return;
    if (text != mAddress)
        storeAddress(text);
    if (mAddressText && mAddress)
        ControlUtils::SetControlTitle(mAddressText, mAddress);
    if (mDialog && mAddress)
        mDialog->setServerName(mAddress);
}

void UI_IPAddressPanel::setPrinterName(CFStringRef printer) {
    if (printer == mPrinterName)
        return;
    if (printer)
        CFRetain(printer);
    if (mPrinterName)
        CFRelease(mPrinterName);
    mPrinterName = printer;
}

void UI_IPAddressPanel::postCommand(UInt32 command) const {
    if (mWindow == nullptr)
        return;
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, GetCurrentEventTime(),
                    kEventAttributeUserEvent, &event) != noErr)
        return;
    HICommand hiCommand{};
    hiCommand.commandID = command;
    EventTargetRef target = GetWindowEventTarget(mWindow);
    SetEventParameter(event, kEventParamDirectObject, typeHICommand, sizeof hiCommand, &hiCommand);
    SetEventParameter(event, kEventParamPostTarget, typeEventTargetRef, sizeof target, &target);
    // Posted, not sent: the owner reacts once the click that caused it has been handled.
    PostEventToQueue(GetMainEventQueue(), event, kEventPriorityStandard);
    ReleaseEvent(event);
}

unsigned long UI_IPAddressPanel::ShowTwoWayCommuncationsDialog() { return runDialog(!mTwoWayOn); }

unsigned long UI_IPAddressPanel::runDialog(bool acceptEmpty) {
    if (mDialog) {
        // Already open further up the stack: it only learns the current address.
        mDialog->setServerName(mAddress ? mAddress : "");
        return kHICommandCancel;
    }
    mDialog = new UI_TwoWayCommDialog(mWindow, mAddress, mPrinterName, acceptEmpty);
    unsigned long result = kHICommandCancel;
    if (mDialog->isValid()) {
        char address[256] = {};
        if (mDialog->waitforResults(address, sizeof address) == kHICommandOK) {
            result = kHICommandOK;
            storeAddress(address);
            if (mAddressText)
                ControlUtils::SetControlTitle(mAddressText, mAddress ? mAddress : "");
            mChanged |= kAddressChanged;
            postCommand(kCommandAddressEdited);
        }
    }
    delete mDialog;
    mDialog = nullptr;
    return result;
}

bool UI_IPAddressPanel::switchBidiMode(bool on) {
    if (on && mInitialized && mAddress == nullptr) {
        if (runDialog(false) != kHICommandOK || mAddress == nullptr) {
            on = false;
            if (mWithCheckBox && mCheckBox)
                SetControl32BitValue(mCheckBox, 0);
        }
    }
    const bool switched = on != mTwoWayOn;
    mTwoWayOn = on;
    SetEnabled(mAddressText, on);
    SetEnabled(mAddressLabel, on);
    if (switched)
        postCommand(kCommandBidiSwitched);
    return switched;
}

void UI_IPAddressPanel::handleBiDi() {
    const bool on = mWithCheckBox ? (mCheckBox && GetControl32BitValue(mCheckBox) != 0) : true;
    if (switchBidiMode(on))
        mChanged |= kBidiModeChanged;
}

bool UI_IPAddressPanel::IPAddressHasChanged(char* out, size_t outSize) {
    const bool changed = (mChanged & kAddressChanged) != 0;
    if (changed && out && outSize) {
        const size_t n = mAddress ? std::min(std::strlen(mAddress), outSize - 1) : 0;
        if (n)
            std::memcpy(out, mAddress, n);
        out[n] = '\0';
    }
    mChanged = 0;
    return changed;
}

void UI_IPAddressPanel::setCheckBoxState(bool on) {
    if (!mWithCheckBox || mCheckBox == nullptr)
        return;
    SetControl32BitValue(mCheckBox, on ? 1 : 0);
    handleBiDi();
}

void UI_IPAddressPanel::enableBidiUI(bool enable) { SetEnabled(mUserPane, enable); }

void UI_IPAddressPanel::show() {
    mVisible = true;
    if (mUserPane)
        SetControlVisibility(mUserPane, true, true);
}

void UI_IPAddressPanel::hide() {
    mVisible = false;
    if (mUserPane)
        SetControlVisibility(mUserPane, false, true);
}

OSStatus UI_IPAddressPanel::HandleIPAddressPanelEvent(EventHandlerCallRef, EventRef event) {
    if (!mVisible || !mInitialized || event == nullptr || GetEventClass(event) != kEventClassControl)
        return eventNotHandledErr;
    const EventKind kind = GetEventKind(event);
    if (kind != kEventControlClick && kind != kEventControlHit)
        return eventNotHandledErr;
    ControlRef control = nullptr;
    if (GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                          nullptr, &control) != noErr || control == nullptr)
        return eventNotHandledErr;
    ControlID id{};
    GetControlID(control, &id);
    const bool isBox = mWithCheckBox && control == mCheckBox;
    const bool isButton = control == mConfigureButton;
    if (id.id != kPanelControlID || !(isBox || isButton))
        return eventNotHandledErr;
    if (kind == kEventControlClick) {
        ControlPartCode part = isBox ? kControlCheckBoxPart : kControlButtonPart;
        GetEventParameter(event, kEventParamControlPart, typeControlPartCode, nullptr, sizeof part,
                          nullptr, &part);
        HiliteControl(control, part);
        const ControlPartCode released = TrackControl(control, Point{0, 0}, nullptr);
        HiliteControl(control, kControlNoPart);
        if (released == kControlNoPart)
            return noErr; // let go outside: no hit
        if (isBox)
            SetControl32BitValue(control, GetControl32BitValue(control) ? 0 : 1);
    }
    if (isBox)
        handleBiDi();
    else
        ShowTwoWayCommuncationsDialog();
    return noErr;
}
