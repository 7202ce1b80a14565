// Helpers of the dialog tests: the built bundle as the strings' default in a chosen language,
// and a person's answers to windows that do not exist yet when the test queues them.
#ifndef PIGMENTOR_TESTS_UI_DIALOGTESTSUPPORT_H
#define PIGMENTOR_TESTS_UI_DIALOGTESTSUPPORT_H

#include "PDEBundle.h"
#include "TestScopes.h"

#include <HIToolbox/HIToolbox.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

/// The bundle at `path` (the built one by default) as PDEBundle's default, in `language`.
class BundleScope {
public:
    explicit BundleScope(const char* language = "en", const std::string& path = PIGMENTOR_BUNDLE_DIR)
        : mLanguage("LANGUAGE", std::string(language)), mAll("LC_ALL", std::nullopt),
          mMessages("LC_MESSAGES", std::nullopt), mLang("LANG", std::nullopt) {
        Owned<CFURLRef> url(FileURL(path, true));
        mBundle = CFBundleCreate(nullptr, url);
        PDEBundle::InitBundle(mBundle);
    }
    ~BundleScope() {
        PDEBundle::InitBundle(nullptr);
        if (mBundle)
            CFRelease(mBundle);
    }
    CFBundleRef get() const { return mBundle; }

private:
    ScopedEnv mLanguage, mAll, mMessages, mLang;
    CFBundleRef mBundle = nullptr;
};

/// A document window, disposed at scope exit.
struct TestWindow {
    WindowRef w = nullptr;
    explicit TestWindow(Rect r = Rect{100, 100, 500, 700}) { CreateNewWindow(kDocumentWindowClass, 0, &r, &w); }
    ~TestWindow() { DisposeWindow(w); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
};

/// The control `signature`/`id` of `w`, or null.
inline ControlRef Find(WindowRef w, OSType signature, SInt32 id) {
    const ControlID cid{signature, id};
    ControlRef c = nullptr;
    return w && GetControlByID(w, &cid, &c) == noErr ? c : nullptr;
}

inline Rect Bounds(ControlRef c) {
    Rect r{};
    if (c)
        GetControlBounds(c, &r);
    return r;
}

/// A static text's text, or any other control's title.
inline std::string TitleOf(ControlRef c) {
    CFStringRef s = nullptr;
    ControlKind kind{0, 0};
    GetControlKind(c, &kind);
    if (kind.kind == kControlKindStaticText)
        GetControlData(c, 0, kControlStaticTextCFStringTag, sizeof s, &s, nullptr);
    else
        CopyControlTitleAsCFString(c, &s);
    return Take(s);
}

inline std::string WindowTitle(WindowRef w) {
    CFStringRef s = nullptr;
    CopyWindowTitleAsCFString(w, &s);
    return Take(s);
}

/// What a window looked like when a person answered it.
struct SeenWindow {
    std::string title, alertText, secondText;
    WindowClass windowClass = 0;
    WindowRef sheetParent = nullptr;
    SInt16 secondTextSize = 0;
    bool cancelVisible = false;
};

/// Queues a person's actions on whatever window is in front when the action's turn comes
/// (a dialog opened by the action before it, running its own modal loop). Actions run in the
/// order queued, interleaved with the simulation's own (HISimulate...).
class FrontWindowPerson {
public:
    FrontWindowPerson() {
        const EventTypeSpec type{kClass, kKind};
        InstallApplicationEventHandler(Handle, 1, &type, this, &mHandler);
    }
    ~FrontWindowPerson() { RemoveEventHandler(mHandler); }
    FrontWindowPerson(const FrontWindowPerson&) = delete;
    FrontWindowPerson& operator=(const FrontWindowPerson&) = delete;

    /// Runs `action` on the front window (null when none).
    void act(std::function<void(WindowRef front)> action, EventPriority priority = kEventPriorityStandard) {
        mActions.push_back(std::move(action));
        EventRef e = nullptr;
        CreateEvent(nullptr, kClass, kKind, 0, 0, &e);
        PostEventToQueue(GetMainEventQueue(), e, priority);
        ReleaseEvent(e);
    }
    /// Clicks the front window's OK ('ok  ') or Cancel ('not!') button, noting the window.
    void press(UInt32 command) {
        act([this, command](WindowRef w) {
            if (w)
                Answer(w, command);
        });
    }
    /// Types `text` (ASCII; "\b" deletes) into the front window's address field 'paed' 0.
    void type(const std::string& text) {
        act([text](WindowRef w) {
            ControlRef field = Find(w, 'paed', 0);
            if (field == nullptr)
                return;
            SetKeyboardFocus(w, field, kControlEditTextPart);
            for (char ch : text) {
                const char one[2] = {ch, '\0'};
                HIPerformKey(w, field, one);
            }
        });
    }
    /// Answers the next alert with OK whenever it appears; until then looks again after the
    /// other events.
    void answerAlert(int tries = 200000) {
        act([this, tries](WindowRef w) {
            if (Find(w, 'alrt', 1) && Find(w, 'ok  ', 0))
                Answer(w, kHICommandOK);
            else if (tries > 0)
                answerAlert(tries - 1);
        }, kEventPriorityLow);
    }

    /// Every window answered, in order.
    std::vector<SeenWindow> seen;

private:
    enum : UInt32 { kClass = 'tst!', kKind = 1 };
    static std::string Text(WindowRef w, SInt32 id, SInt16* size = nullptr) {
        ControlRef c = Find(w, 'alrt', id);
        if (c == nullptr)
            return "";
        if (size) {
            ControlFontStyleRec style{};
            GetControlData(c, 0, kControlFontStyleTag, sizeof style, &style, nullptr);
            *size = (style.flags & kControlUseSizeMask) ? style.size : 13;
        }
        return TitleOf(c);
    }
    void Answer(WindowRef w, UInt32 command) {
        SeenWindow s;
        s.title = WindowTitle(w);
        s.alertText = Text(w, 1);
        s.secondText = Text(w, 2, &s.secondTextSize);
        GetWindowClass(w, &s.windowClass);
        GetSheetWindowParent(w, &s.sheetParent);
        ControlRef cancel = Find(w, 'canc', 0);
        s.cancelVisible = cancel && IsControlVisible(cancel);
        seen.push_back(s);
        if (ControlRef button = Find(w, command == kHICommandOK ? OSType('ok  ') : OSType('canc'), 0))
            HIPerformClick(button);
    }
    static OSStatus Handle(EventHandlerCallRef, EventRef, void* data) {
        auto* self = static_cast<FrontWindowPerson*>(data);
        if (self->mActions.empty())
            return noErr;
        auto action = std::move(self->mActions.front());
        self->mActions.pop_front();
        action(FrontWindow());
        return noErr;
    }
    EventHandlerRef mHandler = nullptr;
    std::deque<std::function<void(WindowRef)>> mActions;
};

/// A copy of the built bundle in `scratch` without its resource `leaf`; the copy's path.
inline std::string BundleWithout(const Scratch& scratch, const std::string& leaf) {
    const std::string copy = scratch / "Pigmentor.plugin";
    std::filesystem::copy(PIGMENTOR_BUNDLE_DIR, copy, std::filesystem::copy_options::recursive);
    std::filesystem::remove(copy + "/Contents/Resources/" + leaf);
    return copy;
}

/// The localised text of `key` in `table` of the default bundle.
inline std::string Localized(const char* key, const char* table) {
    Owned<CFStringRef> k(PMCFStringCreateWithUTF8(key)), t(PMCFStringCreateWithUTF8(table));
    return Take(PDEBundle::GetLocalizedCFStringFromFile(k, t));
}

#endif // PIGMENTOR_TESTS_UI_DIALOGTESTSUPPORT_H
