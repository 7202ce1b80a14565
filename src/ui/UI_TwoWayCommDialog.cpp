//===- UI_TwoWayCommDialog.cpp - The print server's address ---------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_TwoWayCommDialog.h"

#include "ControlUtils.h"
#include "PDEBundle.h"
#include "UI_QRVAlert.h"

#include <CarbonCore/SysBeep.h>

#include <algorithm>
#include <cstring>

namespace {

/// Copies at most size - 1 bytes, cutting before a partial UTF-8 sequence.
void CopyText(char* out, size_t size, const char* text) {
    if (out == nullptr || size == 0)
        return;
    size_t n = text ? std::strlen(text) : 0;
    if (n >= size) {
        n = size - 1;
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    }
    if (n)
        std::memcpy(out, text, n);
    out[n] = '\0';
}

CFStringRef Bidi(CFStringRef key) { return PDEBundle::GetLocalizedCFStringFromFile(key, CFSTR("BidiStrings")); }

} // namespace

UI_TwoWayCommDialog::UI_TwoWayCommDialog(WindowRef parent, const char* server, CFStringRef printer,
                                         bool acceptEmpty)
    : UI_DialogWait(parent), mAcceptEmpty(acceptEmpty) {
    CopyText(mServerName, sizeof mServerName, server);
    mPrinterName = printer ? static_cast<CFStringRef>(CFRetain(printer))
                           : CFStringCreateWithCString(nullptr, "", kCFStringEncodingUTF8);
    mValid = InitializeUI();
}

UI_TwoWayCommDialog::~UI_TwoWayCommDialog() {
    if (mPrinterName)
        CFRelease(mPrinterName);
    if (mNib)
        DisposeNibReference(mNib);
}

bool UI_TwoWayCommDialog::InitializeUI() {
    CFBundleRef bundle = PDEBundle::GetBundle();
    if (bundle == nullptr || mWindow != nullptr)
        return false;
    if (CreateNibReferenceWithCFBundle(bundle, CFSTR("BidiUI"), &mNib) != noErr) {
        mNib = nullptr;
        return false;
    }
    if (CreateWindowFromNib(mNib, CFSTR("Two Way Communcations"), &mWindow) != noErr) {
        mWindow = nullptr;
        return false;
    }
    setStandardButtonTitles();
    mAddressField = findControl(kTwoWayAddressField, 0);
    mPrinterField = findControl(kTwoWayPrinterField, 0);
    if (mAddressField == nullptr || mPrinterField == nullptr)
        return false;
    if (CFStringRef title = Bidi(CFSTR("TWO_WAY_TITLE"))) {
        SetWindowTitleWithCFString(mWindow, title);
        CFRelease(title);
    }
    if (installEventHandler(mWindow) != noErr)
        return false;
    const struct {
        OSType signature;
        CFStringRef key;
        short size;
    } texts[] = {{'pncp', CFSTR("PRINTER_NAME"), -1},  {'pacp', CFSTR("PRINTER_ADDR"), -1},
                 {'pdcp', CFSTR("IP_OR_DNS_NAME"), 11}, {'ptit', CFSTR("ENTER_TWO_WAY"), -1},
                 {'pres', CFSTR("NO_IP_ADDRESS"), 11}};
    for (const auto& t : texts) {
        ControlRef control = findControl(t.signature, 0);
        if (control == nullptr)
            continue;
        if (t.size > 0)
            setFontInfo(control, -1, t.size, -1);
        if (CFStringRef text = Bidi(t.key)) {
            ControlUtils::SetControlTitle(control, text);
            CFRelease(text);
        }
    }
    // The texts that may wrap, from the top down (each moves what lies below it).
    for (OSType signature : {OSType('ptit'), OSType('pdcp'), OSType('pres')})
        fitTextHeight(findControl(signature, 0));
    return true;
}

void UI_TwoWayCommDialog::setServerName(const char* server) {
    CopyText(mServerName, sizeof mServerName, server);
    if (mAddressField && IsWindowVisible(mWindow)) {
        CFStringRef text = CFStringCreateWithCString(nullptr, mServerName, kCFStringEncodingUTF8);
        if (text) {
            SetControlData(mAddressField, kControlEntireControl, kControlEditTextCFStringTag, sizeof text, &text);
            CFRelease(text);
        }
    }
}

void UI_TwoWayCommDialog::show() {
    if (!mValid)
        return;
    if (mPrinterName)
        ControlUtils::SetControlTitle(mPrinterField, mPrinterName);
    // A name that is not UTF-8 (it never should be) shows as an empty field to type into.
    CFStringRef server = CFStringCreateWithCString(nullptr, mServerName, kCFStringEncodingUTF8);
    if (server == nullptr)
        server = static_cast<CFStringRef>(CFRetain(CFSTR("")));
    SetControlData(mAddressField, kControlEntireControl, kControlEditTextCFStringTag, sizeof server, &server);
    CFRelease(server);
    ActivateControl(mAddressField);
    SetKeyboardFocus(mWindow, mAddressField, kControlEditTextPart);
    UI_DialogWait::show();
}

bool UI_TwoWayCommDialog::readAddress(char* out, size_t size) const {
    out[0] = '\0';
    Size length = 0;
    if (GetControlDataSize(mAddressField, kControlEntireControl, kControlEditTextTextTag, &length) != noErr)
        return true;
    if (length < 0 || static_cast<size_t>(length) >= size)
        return false;
    Size got = 0;
    if (GetControlData(mAddressField, kControlEntireControl, kControlEditTextTextTag, length, out, &got) != noErr)
        got = 0;
    out[std::min<size_t>(static_cast<size_t>(got), size - 1)] = '\0';
    return true;
}

bool UI_TwoWayCommDialog::validateAddress(const char* text) {
    if (text == nullptr)
        return false;
    // Host names and dotted addresses alike: ASCII letters, digits, hyphens and dots. Not
    // isalnum, whose answer for bytes above 127 depends on the locale.
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '-' || c == '.';
        if (!ok)
            return false;
    }
    return true;
}

int UI_TwoWayCommDialog::validateInput() {
    char address[256];
    // Longer than any host name can be: refused like any other malformed address.
    const bool fits = readAddress(address, sizeof address);
    if (fits && address[0] != '\0' && validateAddress(address))
        return 1;
    if (fits && address[0] == '\0') {
        if (mAcceptEmpty)
            return 1;
        SysBeep(1);
    }
    CFStringRef text = Bidi(fits && address[0] == '\0' ? CFSTR("IP_NOT_CONFIG") : CFSTR("INVALID_IP_ADDRESS"));
    CFStringRef hint = Bidi(CFSTR("PRESS_OKAY"));
    const unsigned long answer = UI_QRVAlert::TellUser(text, hint, 514, mWindow);
    if (text)
        CFRelease(text);
    if (hint)
        CFRelease(hint);
    if (answer == kHICommandCancel)
        return -1;
    if (mAddressField)
        SetKeyboardFocus(mWindow, mAddressField, kControlEditTextPart);
    return 0;
}

void UI_TwoWayCommDialog::onOK() {
    mResult = kHICommandOK;
    char address[256];
    if (readAddress(address, sizeof address))
        CopyText(mServerName, sizeof mServerName, address);
    UI_DialogWait::onOK();
}

void UI_TwoWayCommDialog::onCancel() {
    mResult = kHICommandCancel;
    UI_DialogWait::onCancel();
}

unsigned long UI_TwoWayCommDialog::waitforResults(char* out, size_t outSize) {
    if (!mValid)
        return 0;
    show();
    waitForUser();
    if (mResult == kHICommandOK)
        CopyText(out, outSize, mServerName);
    return mResult;
}

bool UI_TwoWayCommDialog::ShowTwoWayCommDialog(const char* server, CFStringRef printer, char* out,
                                               WindowRef parent, bool acceptEmpty, size_t outSize) {
    UI_TwoWayCommDialog dialog(parent, server, printer, acceptEmpty);
    if (!dialog.isValid())
        return false;
    return dialog.waitforResults(out, outSize) == kHICommandOK;
}
