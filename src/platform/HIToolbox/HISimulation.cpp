// Simulated input: queued actions and the event sequences a person's input produces.
#include "HIEvent.h"
#include "HIObjects.h"
#include <HIToolbox/HISimulation.h>

#include <atomic>
#include <cstring>

namespace {

enum : UInt32 { kSimulationClass = 'pgsm', kSimulationKind = 1 };
enum : OSType { kParamAction = 'actn', kParamWindow = 'wind', kParamID = 'cid ', kParamItem = 'item',
                kParamText = 'text', kParamCommand = 'cmd ' };
enum Action : UInt32 { kClick = 1, kChoose, kType, kKey, kPress };

std::atomic<UInt32> gFailures{0};

OSStatus Queue(Action action, WindowRef window, const ControlID* id, UInt32 number,
               const std::string& text) {
    if (window == nullptr || (id == nullptr && (action == kClick || action == kChoose || action == kType)))
        return paramErr;
    EventRef e = nullptr;
    CreateEvent(nullptr, kSimulationClass, kSimulationKind, 0, 0, &e);
    UInt32 a = action;
    SetEventParameter(e, kParamAction, typeUInt32, sizeof a, &a);
    SetEventParameter(e, kParamWindow, typeWindowRef, sizeof window, &window);
    if (id)
        SetEventParameter(e, kParamID, 'cid ', sizeof *id, id);
    SetEventParameter(e, kParamItem, typeUInt32, sizeof number, &number);
    SetEventParameter(e, kParamText, typeChar, static_cast<UInt32>(text.size()), text.data());
    OSStatus err = PostEventToQueue(GetMainEventQueue(), e, kEventPriorityStandard);
    ReleaseEvent(e);
    return err;
}

ControlPartCode PartOf(ControlRef c) {
    switch (c->kind) {
    case kControlKindPushButton:
        return kControlButtonPart;
    case kControlKindCheckBox:
        return kControlCheckBoxPart;
    case kControlKindRadioButton:
        return kControlRadioButtonPart;
    case kControlKindPopupButton:
        return kControlMenuPart;
    case kControlKindEditUnicodeText:
        return kControlEditTextPart;
    default:
        return kControlLabelPart;
    }
}

bool Usable(ControlRef c) { return IsControlVisible(c) && IsControlEnabled(c); }

/// Length of the UTF-8 sequence starting with `lead` (1 for stray bytes).
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

void DeleteLastCharacter(ControlRef c) {
    std::string text = hi::UTF8(c->text);
    if (text.empty())
        return;
    size_t end = text.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.erase(end);
    CFStringRef s = hi::NewString(text);
    hi::SetString(c->text, s);
    if (s)
        CFRelease(s);
    hi::ControlChanged(c);
}

void Insert(ControlRef c, const char* utf8) {
    CFStringRef s = hi::NewString(hi::UTF8(c->text) + utf8);
    if (s == nullptr)
        return; // not UTF-8: a keyboard never sends it
    hi::SetString(c->text, s);
    CFRelease(s);
    hi::ControlChanged(c);
}

ControlRef ButtonWithCommand(WindowRef window, UInt32 command) {
    ControlRef found = nullptr;
    hi::Walk(window->root, [&](ControlRef c) {
        if (found == nullptr && c->kind == kControlKindPushButton && c->command == command && Usable(c))
            found = c;
    });
    return found;
}

ControlRef ByID(WindowRef window, EventRef e) {
    ControlID id{};
    if (GetEventParameter(e, kParamID, 'cid ', nullptr, sizeof id, nullptr, &id) != noErr)
        return nullptr;
    ControlRef c = nullptr;
    GetControlByID(window, &id, &c);
    return c;
}

} // namespace

namespace hi {
/// Runs a queued simulated action (called by the queue's dispatch).
bool PerformSimulated(EventRef e) {
    if (e->eventClass != kSimulationClass || e->kind != kSimulationKind)
        return false;
    UInt32 action = 0, number = 0;
    WindowRef window = nullptr;
    GetEventParameter(e, kParamAction, typeUInt32, nullptr, sizeof action, nullptr, &action);
    GetEventParameter(e, kParamWindow, typeWindowRef, nullptr, sizeof window, nullptr, &window);
    GetEventParameter(e, kParamItem, typeUInt32, nullptr, sizeof number, nullptr, &number);
    UInt32 size = 0;
    GetEventParameter(e, kParamText, typeChar, nullptr, 0, &size, nullptr);
    std::string text(size, '\0');
    GetEventParameter(e, kParamText, typeChar, nullptr, size, nullptr, text.data());
    OSStatus err = errUnknownControl;
    if (IsLiveWindow(window)) {
        ControlRef c = ByID(window, e);
        switch (action) {
        case kClick:
            err = c ? HIPerformClick(c) : errUnknownControl;
            break;
        case kChoose:
            err = c ? HIPerformChoosePopupItem(c, static_cast<MenuItemIndex>(number)) : errUnknownControl;
            break;
        case kType:
            if (c == nullptr || c->kind != kControlKindEditUnicodeText || !Usable(c)) {
                err = errUnknownControl;
                break;
            }
            SetKeyboardFocus(window, c, kControlEditTextPart);
            err = noErr;
            for (size_t i = 0; i < text.size() && err == noErr && IsLiveWindow(window);) {
                size_t n = std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
                std::string one = text.substr(i, n);
                i += n;
                err = HIPerformKey(window, window->focus, one.c_str());
            }
            break;
        case kKey:
            err = HIPerformKey(window, window->focus, std::string(1, static_cast<char>(number)).c_str());
            break;
        case kPress: {
            ControlRef button = ButtonWithCommand(window, number);
            err = button ? HIPerformClick(button) : errUnknownControl;
            break;
        }
        }
    }
    if (err != noErr)
        gFailures.fetch_add(1);
    return true;
}
} // namespace hi

extern "C" {

OSStatus HISimulateClick(WindowRef window, const ControlID* id) { return Queue(kClick, window, id, 0, ""); }
OSStatus HISimulateChoosePopupItem(WindowRef window, const ControlID* id, MenuItemIndex item) {
    return Queue(kChoose, window, id, item, "");
}
OSStatus HISimulateTypeText(WindowRef window, const ControlID* id, const char* text) {
    if (text == nullptr)
        return paramErr;
    return Queue(kType, window, id, 0, text);
}
OSStatus HISimulateKey(WindowRef window, UInt8 charCode) {
    return Queue(kKey, window, nullptr, charCode, "");
}
OSStatus HISimulatePressButton(WindowRef window, UInt32 command) {
    return Queue(kPress, window, nullptr, command, "");
}
void HIProcessPendingEvents(void) { RunCurrentEventLoop(kEventDurationNoWait); }
UInt32 HISimulationFailures(void) { return gFailures.load(); }

OSStatus HIPerformClick(ControlRef control) {
    if (!hi::IsLiveControl(control))
        return controlHandleInvalidErr;
    if (!Usable(control))
        return errControlHiddenOrDisabled;
    const ControlPartCode part = PartOf(control);
    if (hi::SendControlEvent(control, kEventControlClick, part) != eventNotHandledErr ||
        !hi::IsLiveControl(control))
        return noErr; // a handler tracked the click itself
    switch (control->kind) {
    case kControlKindCheckBox:
        if (control->autoToggle)
            SetControl32BitValue(control, control->value ? 0 : 1);
        break;
    case kControlKindRadioButton:
        if (control->autoToggle)
            SetControl32BitValue(control, 1);
        break;
    case kControlKindEditUnicodeText:
        SetKeyboardFocus(control->window, control, kControlEditTextPart);
        break;
    default:
        break;
    }
    hi::SendControlEvent(control, kEventControlHit, part);
    return noErr;
}

OSStatus HIPerformChoosePopupItem(ControlRef control, MenuItemIndex item) {
    if (!hi::IsLiveControl(control))
        return controlHandleInvalidErr;
    if (control->kind != kControlKindPopupButton)
        return errDataNotSupported;
    if (!Usable(control))
        return errControlHiddenOrDisabled;
    if (item < 1 || item > CountMenuItems(control->menu))
        return menuItemNotFoundErr;
    if (!IsMenuItemEnabled(control->menu, item))
        return errControlHiddenOrDisabled;
    if (hi::SendControlEvent(control, kEventControlClick, kControlMenuPart) != eventNotHandledErr ||
        !hi::IsLiveControl(control))
        return noErr;
    SetControl32BitValue(control, item);
    hi::SendControlEvent(control, kEventControlHit, kControlMenuPart);
    return noErr;
}

OSStatus HIPerformKey(WindowRef window, ControlRef focus, const char* utf8Char) {
    if (!hi::IsLiveWindow(window) || utf8Char == nullptr || *utf8Char == '\0')
        return paramErr;
    if (focus != nullptr && (!hi::IsLiveControl(focus) || focus->window != window))
        focus = nullptr;
    EventRef e = nullptr;
    CreateEvent(nullptr, kEventClassKeyboard, kEventRawKeyDown, 0, 0, &e);
    SetEventParameter(e, kEventParamKeyMacCharCodes, typeChar,
                      static_cast<UInt32>(std::strlen(utf8Char)), utf8Char);
    OSStatus result = SendEventToEventTarget(
        e, focus ? GetControlEventTarget(focus) : GetWindowEventTarget(window));
    ReleaseEvent(e);
    if (result != eventNotHandledErr || !hi::IsLiveWindow(window))
        return noErr;
    const unsigned char c = static_cast<unsigned char>(utf8Char[0]);
    if (c == 0x0D || c == 0x03) {
        if (ControlRef ok = ButtonWithCommand(window, kHICommandOK))
            return HIPerformClick(ok);
        return noErr;
    }
    if (c == 0x1B) {
        if (ControlRef cancel = ButtonWithCommand(window, kHICommandCancel))
            return HIPerformClick(cancel);
        return noErr;
    }
    if (focus == nullptr || !hi::IsLiveControl(focus) || focus->kind != kControlKindEditUnicodeText)
        return noErr;
    if (c == 0x08 || c == 0x7F)
        DeleteLastCharacter(focus);
    else if (c >= 0x20)
        Insert(focus, utf8Char);
    return noErr;
}

} // extern "C"
