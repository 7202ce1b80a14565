//===- UI_QRVAlert.cpp - One- and two-line alerts -------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_QRVAlert.h"

#include "ControlUtils.h"
#include "PDEBundle.h"
#include "PDEDebug.h"

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

/// Shows `alert` modally and answers the button that ended it; Cancel when it could not be
/// made.
unsigned long RunAlert(UI_QRVAlert&& alert) {
    if (!alert.isInitialized())
        return kUICancelButtonSignature;
    alert.show();
    alert.waitForUser();
    return alert.getResult();
}

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

    // Fills the alert's text line `index` (false when the NIB lacks it).
    auto placeText = [this](SInt32 index, CFStringRef text, bool small) {
        ControlRef line = findControl('alrt', index);
        if (line == nullptr)
            return false;
        if (small)
            setFontInfo(line, -1, 11, -1);
        ControlUtils::SetControlTitle(line, text);
        fitTextHeight(line);
        return true;
    };
    if (!placeText(1, mText, mFlags & kQRVAlertSmallFirstText))
        return false;
    return mSecondText == nullptr || placeText(2, mSecondText, mFlags & kQRVAlertSmallSecondText);
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

unsigned long UI_QRVAlert::TellUser(CFStringRef text, unsigned long flags, WindowRef parent,
                                    CFStringRef okTitle, CFStringRef cancelTitle) {
    return TellUser(text, nullptr, flags, parent, okTitle, cancelTitle);
}

unsigned long UI_QRVAlert::TellUser(CFStringRef text, CFStringRef secondText, unsigned long flags,
                                    WindowRef parent, CFStringRef okTitle, CFStringRef cancelTitle) {
    return RunAlert(UI_QRVAlert(text, secondText, flags, parent, okTitle, cancelTitle));
}

unsigned long UI_QRVAlert::TellUser(const char* text, unsigned long flags, WindowRef parent,
                                    const char* okTitle, const char* cancelTitle) {
    return TellUser(text, nullptr, flags, parent, okTitle, cancelTitle);
}

unsigned long UI_QRVAlert::TellUser(const char* text, const char* secondText, unsigned long flags,
                                    WindowRef parent, const char* okTitle, const char* cancelTitle) {
    return RunAlert(UI_QRVAlert(text, secondText, flags, parent, okTitle, cancelTitle));
}
