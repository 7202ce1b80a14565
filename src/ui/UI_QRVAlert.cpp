//===- UI_QRVAlert.cpp - One- and two-line alerts -------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_QRVAlert.h"

#include "ControlUtils.h"
#include "PDEBundle.h"
#include "PDEDebug.h"

#include <algorithm>

namespace {

CFStringRef Retained(CFStringRef s) { return s ? static_cast<CFStringRef>(CFRetain(s)) : nullptr; }

CFStringRef FromUTF8(const char* text) {
    return text ? CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8) : nullptr;
}

struct UTF8Strings {
    CFStringRef s[4] = {};
    ~UTF8Strings() {
        for (CFStringRef each : s)
            if (each)
                CFRelease(each);
    }
};

} // namespace

UI_QRVAlert::UI_QRVAlert(CFStringRef text, CFStringRef secondText, unsigned long flags,
                         WindowRef parent, CFStringRef okTitle, CFStringRef cancelTitle)
    : UI_DialogWait(parent), mText(Retained(text)), mSecondText(Retained(secondText)), mFlags(flags) {
    construct(okTitle, cancelTitle);
}

UI_QRVAlert::UI_QRVAlert(const char* text, const char* secondText, unsigned long flags,
                         WindowRef parent, const char* okTitle, const char* cancelTitle)
    : UI_DialogWait(parent), mText(FromUTF8(text)), mSecondText(FromUTF8(secondText)), mFlags(flags) {
    UTF8Strings titles;
    titles.s[0] = FromUTF8(okTitle);
    titles.s[1] = FromUTF8(cancelTitle);
    construct(titles.s[0], titles.s[1]);
}

void UI_QRVAlert::construct(CFStringRef okTitle, CFStringRef cancelTitle) {
    if (mText != nullptr)
        mInitialized = initRefs(okTitle, cancelTitle);
}

UI_QRVAlert::~UI_QRVAlert() {
    if (mText)
        CFRelease(mText);
    if (mSecondText)
        CFRelease(mSecondText);
    if (mNib)
        DisposeNibReference(mNib);
}

bool UI_QRVAlert::initRefs(CFStringRef okTitle, CFStringRef cancelTitle) {
    CFBundleRef bundle = PDEBundle::GetBundle();
    if (bundle == nullptr || mText == nullptr || mWindow != nullptr)
        return false;
    if (mNib == nullptr && CreateNibReferenceWithCFBundle(bundle, CFSTR("AlertUI"), &mNib) != noErr) {
        mNib = nullptr;
        return false;
    }
    WindowClass parentClass = 0;
    const bool sheet = mParent != nullptr && GetWindowClass(mParent, &parentClass) == noErr &&
                       parentClass != kSheetWindowClass;
    CFStringRef name = nullptr;
    if (sheet) {
        name = mSecondText ? CFSTR("Two Line Sheet") : CFSTR("One Line Sheet");
        MyDebugMessage("initRefs: IT'S A SHEET", 0);
    } else {
        name = mSecondText ? CFSTR("Two Line") : CFSTR("One Line");
        MyDebugMessage("initRefs: IT'S A DIALOG", 0);
    }
    if (CreateWindowFromNib(mNib, name, &mWindow) != noErr) {
        mWindow = nullptr;
        return false;
    }
    if (installEventHandler(mWindow) != noErr)
        return false;
    setUpButtons(okTitle, cancelTitle);

    ControlRef first = findControl('alrt', 1);
    if (first == nullptr)
        return false;
    if (mFlags & kQRVAlertSmallFirstText)
        setFontInfo(first, -1, 11, -1);
    ControlUtils::SetControlTitle(first, mText);
    fitText(first);
    if (mSecondText) {
        ControlRef second = findControl('alrt', 2);
        if (second == nullptr)
            return false;
        if (mFlags & kQRVAlertSmallSecondText)
            setFontInfo(second, -1, 11, -1);
        ControlUtils::SetControlTitle(second, mSecondText);
        fitText(second);
    }
    return true;
}

void UI_QRVAlert::setUpButtons(CFStringRef okTitle, CFStringRef cancelTitle) {
    setStandardButtonTitles();
    ControlRef ok = findControl(kUIOKButtonSignature, 0);
    ControlRef cancel = findControl(kUICancelButtonSignature, 0);
    if (cancel && (mFlags & kQRVAlertNoCancel))
        HideControl(cancel);
    if (ok && okTitle) {
        ControlUtils::SetControlTitle(ok, okTitle);
        ControlUtils::SizeControl(ok, mWindow, false);
    }
    if (cancel && cancelTitle) {
        ControlUtils::SetControlTitle(cancel, cancelTitle);
        ControlUtils::SizeControl(cancel, mWindow, false);
    }
}

void UI_QRVAlert::fitText(ControlRef text) {
    // The NIB's height suits a usual message; a short one would leave a hole above the buttons
    // and a long one would be cut, so the window is fitted to the words it shows.
    CFStringRef string = nullptr;
    Size got = 0;
    if (GetControlData(text, kControlEntireControl, kControlStaticTextCFStringTag, sizeof string,
                       &string, &got) != noErr || string == nullptr)
        return;
    ControlFontStyleRec style{};
    GetControlData(text, kControlEntireControl, kControlFontStyleTag, sizeof style, &style, nullptr);
    const bool small = (style.flags & kControlUseSizeMask) && style.size == 11;
    Rect bounds;
    GetControlBounds(text, &bounds);
    Point size{0, static_cast<SInt16>(bounds.right - bounds.left)};
    GetThemeTextDimensions(string, small ? kThemeSmallSystemFont : kThemeSystemFont,
                           kThemeStateActive, true, &size, nullptr);
    CFRelease(string);
    const int needed = std::clamp<int>(size.v, 1, 1000);
    const int delta = needed - (bounds.bottom - bounds.top);
    if (delta == 0)
        return;
    const SInt16 oldBottom = bounds.bottom;
    bounds.bottom = static_cast<SInt16>(bounds.top + needed);
    SetControlBounds(text, &bounds);
    ControlRef root = nullptr;
    UInt16 count = 0;
    GetRootControl(mWindow, &root);
    CountSubControls(root, &count);
    for (UInt16 i = 1; i <= count; ++i) {
        ControlRef each = nullptr;
        Rect r;
        if (GetIndexedSubControl(root, i, &each) != noErr || each == text)
            continue;
        GetControlBounds(each, &r);
        if (r.top >= oldBottom)
            MoveControl(each, r.left, static_cast<SInt16>(r.top + delta));
    }
    Rect window;
    GetWindowBounds(mWindow, kWindowContentRgn, &window);
    window.bottom = static_cast<SInt16>(window.bottom + delta);
    SetWindowBounds(mWindow, kWindowContentRgn, &window);
}

unsigned long UI_QRVAlert::TellUser(CFStringRef text, unsigned long flags, WindowRef parent,
                                    CFStringRef okTitle, CFStringRef cancelTitle) {
    return TellUser(text, nullptr, flags, parent, okTitle, cancelTitle);
}

unsigned long UI_QRVAlert::TellUser(CFStringRef text, CFStringRef secondText, unsigned long flags,
                                    WindowRef parent, CFStringRef okTitle, CFStringRef cancelTitle) {
    UI_QRVAlert alert(text, secondText, flags, parent, okTitle, cancelTitle);
    if (!alert.isInitialized())
        return kUICancelButtonSignature;
    alert.show();
    alert.waitForUser();
    return alert.getResult();
}

unsigned long UI_QRVAlert::TellUser(const char* text, unsigned long flags, WindowRef parent,
                                    const char* okTitle, const char* cancelTitle) {
    return TellUser(text, nullptr, flags, parent, okTitle, cancelTitle);
}

unsigned long UI_QRVAlert::TellUser(const char* text, const char* secondText, unsigned long flags,
                                    WindowRef parent, const char* okTitle, const char* cancelTitle) {
    UI_QRVAlert alert(text, secondText, flags, parent, okTitle, cancelTitle);
    if (!alert.isInitialized())
        return kUICancelButtonSignature;
    alert.show();
    alert.waitForUser();
    return alert.getResult();
}
