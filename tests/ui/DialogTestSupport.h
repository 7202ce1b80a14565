// Helpers of the dialog tests: the built bundle as the strings' default in a chosen language,
// and a person's answers to windows that do not exist yet when the test queues them.
#ifndef PIGMENTOR_TESTS_UI_DIALOGTESTSUPPORT_H
#define PIGMENTOR_TESTS_UI_DIALOGTESTSUPPORT_H

#include "PDEBundle.h"
#include "TestScopes.h"

#include <HIToolbox/HIToolbox.h>

#include <deque>
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

/// What a window looked like when a person answered it.
struct SeenWindow {
    std::string title, alertText, secondText;
    WindowClass windowClass = 0;
    WindowRef window = nullptr, sheetParent = nullptr;
    SInt16 secondTextSize = 0;
    bool cancelVisible = false;
};

/// Queues a person's actions on whatever window is in front when the action's turn comes
/// (a dialog opened by the action before it). Actions run in the order queued, interleaved
/// with the simulation's own (HISimulate...).
class FrontWindowPerson {
public:
    FrontWindowPerson() {
        const EventTypeSpec type{kClass, kKind};
        InstallApplicationEventHandler(Handle, 1, &type, this, &mHandler);
    }
    ~FrontWindowPerson() { RemoveEventHandler(mHandler); }
    FrontWindowPerson(const FrontWindowPerson&) = delete;
    FrontWindowPerson& operator=(const FrontWindowPerson&) = delete;

    /// Clicks the front window's OK ('ok  ') or Cancel ('not!') button.
    void press(UInt32 command) { queue({true, command, ""}); }
    /// Types `text` (ASCII; "\b" deletes) into the front window's address field 'paed' 0.
    void type(const std::string& text) { queue({false, 0, text}); }

    /// Every window answered, in order.
    std::vector<SeenWindow> seen;

private:
    enum : UInt32 { kClass = 'tst!', kKind = 1 };
    struct Action {
        bool press;
        UInt32 command;
        std::string text;
    };
    void queue(Action action) {
        mActions.push_back(action);
        EventRef e = nullptr;
        CreateEvent(nullptr, kClass, kKind, 0, 0, &e);
        PostEventToQueue(GetMainEventQueue(), e, kEventPriorityStandard);
        ReleaseEvent(e);
    }
    static std::string Text(WindowRef w, SInt32 id, SInt16* size = nullptr) {
        const ControlID cid{'alrt', id};
        ControlRef c = nullptr;
        if (GetControlByID(w, &cid, &c) != noErr)
            return "";
        CFStringRef s = nullptr;
        GetControlData(c, 0, kControlStaticTextCFStringTag, sizeof s, &s, nullptr);
        if (size) {
            ControlFontStyleRec style{};
            GetControlData(c, 0, kControlFontStyleTag, sizeof style, &style, nullptr);
            *size = (style.flags & kControlUseSizeMask) ? style.size : 13;
        }
        return Take(s);
    }
    static OSStatus Handle(EventHandlerCallRef, EventRef, void* data) {
        auto* self = static_cast<FrontWindowPerson*>(data);
        if (self->mActions.empty())
            return noErr;
        Action action = self->mActions.front();
        self->mActions.pop_front();
        WindowRef w = FrontWindow();
        if (w == nullptr)
            return noErr;
        if (action.press) {
            SeenWindow seen;
            seen.window = w;
            CFStringRef title = nullptr;
            CopyWindowTitleAsCFString(w, &title);
            seen.title = Take(title);
            seen.alertText = Text(w, 1);
            seen.secondText = Text(w, 2, &seen.secondTextSize);
            GetWindowClass(w, &seen.windowClass);
            GetSheetWindowParent(w, &seen.sheetParent);
            const ControlID cancel{'canc', 0};
            ControlRef c = nullptr;
            seen.cancelVisible = GetControlByID(w, &cancel, &c) == noErr && IsControlVisible(c);
            self->seen.push_back(seen);
            const ControlID id{action.command == kHICommandOK ? OSType('ok  ') : OSType('canc'), 0};
            ControlRef button = nullptr;
            if (GetControlByID(w, &id, &button) == noErr)
                HIPerformClick(button);
        } else {
            const ControlID id{'paed', 0};
            ControlRef field = nullptr;
            if (GetControlByID(w, &id, &field) != noErr)
                return noErr;
            SetKeyboardFocus(w, field, kControlEditTextPart);
            for (char ch : action.text) {
                const char one[2] = {ch, '\0'};
                HIPerformKey(w, field, one);
            }
        }
        return noErr;
    }
    EventHandlerRef mHandler = nullptr;
    std::deque<Action> mActions;
};

/// The localised text of `key` in `table` of the default bundle.
inline std::string Localized(const char* key, const char* table) {
    Owned<CFStringRef> k(PMCFStringCreateWithUTF8(key)), t(PMCFStringCreateWithUTF8(table));
    return Take(PDEBundle::GetLocalizedCFStringFromFile(k, t));
}

#endif // PIGMENTOR_TESTS_UI_DIALOGTESTSUPPORT_H
