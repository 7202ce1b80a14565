// Controls: creation, the tree, values, titles, visibility and embedding.
#include "HIObjects.h"
#include <HIToolbox/HIBackend.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

bool Live(ControlRef c) { return hi::IsLiveControl(c); }

// Sets one of a control's own state flags (enabled, active) and tells the back end.
OSStatus SetStateFlag(ControlRef control, bool OpaqueControlRef::*flag, bool value) {
    if (!Live(control))
        return controlHandleInvalidErr;
    control->*flag = value;
    hi::ControlChanged(control);
    return noErr;
}

// Whether a flag holds for the control and every control it is embedded in: a hidden or
// disabled embedder hides or disables what it holds.
bool FlagAlongEmbedders(ControlRef control, bool OpaqueControlRef::*flag) {
    if (!Live(control))
        return false;
    for (ControlRef c = control; c != nullptr; c = c->parent)
        if (!(c->*flag))
            return false;
    return true;
}

bool CanEmbed(ControlRef c) {
    switch (c->kind) {
    case kControlKindRoot:
    case kControlKindUserPane:
    case kControlKindGroupBox:
    case kControlKindRadioGroup:
        return true;
    default:
        return false;
    }
}

/// Index (from 1) of `child` among its parent's children.
SInt32 IndexInParent(ControlRef child) {
    ControlRef parent = child->parent;
    if (parent == nullptr)
        return 0;
    auto found = std::find(parent->children.begin(), parent->children.end(), child);
    return static_cast<SInt32>(found - parent->children.begin()) + 1;
}

/// Makes the radio buttons of `group` show the group's value.
void SyncRadioButtons(ControlRef group) {
    SInt32 index = 0;
    for (ControlRef child : group->children) {
        ++index;
        if (child->kind != kControlKindRadioButton)
            continue;
        SInt32 on = index == group->value ? 1 : 0;
        if (child->value != on) {
            child->value = on;
            hi::ControlChanged(child);
        }
    }
}

void SetValue(ControlRef c, SInt32 value) {
    // A control whose maximum lies below its minimum has no range yet: any value is kept.
    if (c->maximum >= c->minimum)
        value = std::clamp(value, c->minimum, c->maximum);
    c->value = value;
    if (c->kind == kControlKindRadioGroup) {
        SyncRadioButtons(c);
    } else if (c->kind == kControlKindRadioButton && c->parent &&
               c->parent->kind == kControlKindRadioGroup) {
        ControlRef group = c->parent;
        if (value != 0) {
            group->value = IndexInParent(c);
            SyncRadioButtons(group);
            hi::ControlChanged(group);
        } else if (group->value == IndexInParent(c)) {
            group->value = 0;
            hi::ControlChanged(group);
        }
    } else if (c->kind == kControlKindPopupButton && c->menu) {
        for (size_t i = 0; i < c->menu->items.size(); ++i)
            c->menu->items[i].checked = static_cast<SInt32>(i + 1) == value;
    }
    hi::ControlChanged(c);
}

void UpdateGroupRange(ControlRef group) {
    if (group->kind != kControlKindRadioGroup)
        return;
    group->maximum = static_cast<SInt32>(group->children.size());
    group->value = 0;
    SInt32 index = 0;
    for (ControlRef child : group->children) {
        ++index;
        if (child->kind == kControlKindRadioButton && child->value != 0 && group->value == 0)
            group->value = index;
    }
    SyncRadioButtons(group);
}

void Detach(ControlRef c) {
    if (ControlRef parent = c->parent) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), c), siblings.end());
        c->parent = nullptr;
        UpdateGroupRange(parent);
        hi::ControlChanged(parent);
    }
}

OSStatus Make(WindowRef window, const Rect* bounds, OSType kind, CFStringRef title,
              ControlRef* out) {
    if (out == nullptr)
        return paramErr;
    *out = nullptr;
    OSStatus err = hi::NewControl(window, bounds, kind, out);
    if (err == noErr && title)
        hi::SetString((*out)->title, title);
    return err;
}

void Created(ControlRef c) {
    HICurrentBackend().controlCreated(c);
}

// A control embedded in another window's control takes its sub-controls along: the old
// window's back end lets go of them (deepest first, as on disposal) and forgets its focus if
// it was among them; the new one makes them again in tree order. Handlers, values and queued
// events stay with the controls.
void LeaveWindow(ControlRef control) {
    std::vector<ControlRef> tree;
    hi::Walk(control, [&tree](ControlRef c) { tree.push_back(c); });
    for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        HICurrentBackend().controlDisposing(*it);
        if ((*it)->window && (*it)->window->focus == *it)
            (*it)->window->focus = nullptr;
    }
}

void EnterWindow(ControlRef control, WindowRef window) {
    hi::Walk(control, [window](ControlRef c) { c->window = window; });
    hi::Walk(control, [](ControlRef c) { Created(c); });
}

bool HasText(ControlRef c) {
    return c->kind == kControlKindStaticText || c->kind == kControlKindEditUnicodeText ||
           c->kind == kControlKindRadioGroup;
}

} // namespace

namespace hi {

OSStatus NewControl(WindowRef window, const Rect* bounds, OSType kind, ControlRef* out) {
    if (!IsLiveWindow(window))
        return errInvalidWindowRef;
    if (bounds == nullptr || out == nullptr)
        return paramErr;
    auto* c = new OpaqueControlRef;
    c->window = window;
    c->kind = kind;
    c->bounds = *bounds;
    c->target.kind = TargetKind::control;
    c->target.owner = c;
    RegisterControl(c, true);
    if (kind != kControlKindRoot && window->root != nullptr) {
        c->parent = window->root;
        window->root->children.push_back(c);
    }
    *out = c;
    return noErr;
}

} // namespace hi

extern "C" {

OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                 ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindPushButton, title, outControl);
    if (err == noErr)
        Created(*outControl);
    return err;
}

OSStatus CreateCheckBoxControl(WindowRef window, const Rect* bounds, CFStringRef title,
                               SInt32 initialValue, Boolean autoToggle, ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindCheckBox, title, outControl);
    if (err == noErr) {
        ControlRef c = *outControl;
        c->maximum = kControlCheckBoxMixedValue;
        c->value = std::clamp<SInt32>(initialValue, 0, kControlCheckBoxMixedValue);
        c->autoToggle = autoToggle;
        Created(c);
    }
    return err;
}

OSStatus CreateRadioGroupControl(WindowRef window, const Rect* bounds, ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindRadioGroup, nullptr, outControl);
    if (err == noErr)
        Created(*outControl);
    return err;
}

OSStatus CreateRadioButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                  SInt32 initialValue, Boolean autoToggle, ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindRadioButton, title, outControl);
    if (err == noErr) {
        ControlRef c = *outControl;
        c->maximum = 1;
        c->value = initialValue ? 1 : 0;
        c->autoToggle = autoToggle;
        Created(c);
    }
    return err;
}

OSStatus CreatePopupButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                  SInt16 menuID, Boolean, SInt16, SInt16, Style,
                                  ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindPopupButton, title, outControl);
    if (err == noErr) {
        ControlRef c = *outControl;
        MenuRef menu = nullptr;
        CreateNewMenu(menuID, 0, &menu);
        c->menu = menu;
        menu->owners.push_back(c);
        c->minimum = 1;
        c->maximum = 0;
        c->value = 1;
        Created(c);
    }
    return err;
}

OSStatus CreateStaticTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                 const ControlFontStyleRec* style, ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindStaticText, nullptr, outControl);
    if (err == noErr) {
        hi::SetString((*outControl)->text, text);
        if (style)
            (*outControl)->font = *style;
        Created(*outControl);
    }
    return err;
}

OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                      Boolean, const ControlFontStyleRec* style,
                                      ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindEditUnicodeText, nullptr, outControl);
    if (err == noErr) {
        hi::SetString((*outControl)->text, text);
        if (style)
            (*outControl)->font = *style;
        Created(*outControl);
    }
    return err;
}

OSStatus CreateGroupBoxControl(WindowRef window, const Rect* bounds, CFStringRef title, Boolean,
                               ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindGroupBox, title, outControl);
    if (err == noErr)
        Created(*outControl);
    return err;
}

OSStatus CreateSeparatorControl(WindowRef window, const Rect* bounds, ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindSeparator, nullptr, outControl);
    if (err == noErr)
        Created(*outControl);
    return err;
}

OSStatus CreateChasingArrowsControl(WindowRef window, const Rect* bounds, ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindChasingArrows, nullptr, outControl);
    if (err == noErr)
        Created(*outControl);
    return err;
}

OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, UInt32,
                               ControlRef* outControl) {
    OSStatus err = Make(window, bounds, kControlKindUserPane, nullptr, outControl);
    if (err == noErr)
        Created(*outControl);
    return err;
}

void DisposeControl(ControlRef control) {
    if (!Live(control))
        return;
    for (ControlRef child : std::vector<ControlRef>(control->children))
        DisposeControl(child);
    HICurrentBackend().controlDisposing(control);
    hi::ControlGoing(control);
    Detach(control);
    if (control->window && control->window->focus == control)
        control->window->focus = nullptr;
    if (hi::RecordingPane() == control)
        hi::RecordingPane() = nullptr;
    hi::ClearTarget(control->target);
    hi::SetString(control->title, nullptr);
    hi::SetString(control->text, nullptr);
    if (control->menu) {
        auto& owners = control->menu->owners;
        owners.erase(std::remove(owners.begin(), owners.end(), control), owners.end());
        ReleaseMenu(control->menu);
    }
    hi::RegisterControl(control, false);
    delete control;
}

Boolean IsValidControlHandle(ControlRef control) { return Live(control); }

OSStatus GetControlByID(WindowRef window, const ControlID* id, ControlRef* outControl) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (id == nullptr || outControl == nullptr)
        return paramErr;
    *outControl = nullptr;
    ControlRef found = nullptr;
    hi::Walk(window->root, [&](ControlRef c) {
        if (found == nullptr && c != window->root && c->id.signature == id->signature &&
            c->id.id == id->id)
            found = c;
    });
    if (found == nullptr)
        return errUnknownControl;
    *outControl = found;
    return noErr;
}

OSStatus SetControlID(ControlRef control, const ControlID* id) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (id == nullptr)
        return paramErr;
    control->id = *id;
    hi::ControlChanged(control);
    return noErr;
}

OSStatus GetControlID(ControlRef control, ControlID* outID) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (outID == nullptr)
        return paramErr;
    *outID = control->id;
    return noErr;
}

OSStatus GetControlKind(ControlRef control, ControlKind* outKind) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (outKind == nullptr)
        return paramErr;
    *outKind = ControlKind{kControlKindSignatureApple, control->kind};
    return noErr;
}

WindowRef GetControlOwner(ControlRef control) { return Live(control) ? control->window : nullptr; }

OSStatus GetRootControl(WindowRef window, ControlRef* outControl) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (outControl == nullptr)
        return paramErr;
    *outControl = window->root;
    return noErr;
}

Rect* GetControlBounds(ControlRef control, Rect* bounds) {
    if (bounds)
        *bounds = Live(control) ? control->bounds : Rect{0, 0, 0, 0};
    return bounds;
}

void SetControlBounds(ControlRef control, const Rect* bounds) {
    if (!Live(control) || bounds == nullptr)
        return;
    control->bounds = *bounds;
    hi::ControlChanged(control);
}

void MoveControl(ControlRef control, SInt16 h, SInt16 v) {
    if (!Live(control))
        return;
    const short dh = static_cast<short>(h - control->bounds.left);
    const short dv = static_cast<short>(v - control->bounds.top);
    hi::Walk(control, [&](ControlRef c) {
        OffsetRect(&c->bounds, dh, dv);
        hi::ControlChanged(c);
    });
}

void SizeControl(ControlRef control, SInt16 w, SInt16 h) {
    if (!Live(control) || w < 0 || h < 0)
        return;
    control->bounds.right = static_cast<short>(control->bounds.left + w);
    control->bounds.bottom = static_cast<short>(control->bounds.top + h);
    hi::ControlChanged(control);
}

SInt32 GetControl32BitValue(ControlRef control) { return Live(control) ? control->value : 0; }
void SetControl32BitValue(ControlRef control, SInt32 value) {
    if (Live(control))
        SetValue(control, value);
}
SInt32 GetControl32BitMinimum(ControlRef control) { return Live(control) ? control->minimum : 0; }
void SetControl32BitMinimum(ControlRef control, SInt32 minimum) {
    if (!Live(control))
        return;
    control->minimum = minimum;
    SetValue(control, control->value);
}
SInt32 GetControl32BitMaximum(ControlRef control) { return Live(control) ? control->maximum : 0; }
void SetControl32BitMaximum(ControlRef control, SInt32 maximum) {
    if (!Live(control))
        return;
    control->maximum = maximum;
    SetValue(control, control->value);
}

static SInt16 Clamp16(SInt32 v) { return static_cast<SInt16>(std::clamp<SInt32>(v, SHRT_MIN, SHRT_MAX)); }
SInt16 GetControlValue(ControlRef control) { return Clamp16(GetControl32BitValue(control)); }
void SetControlValue(ControlRef control, SInt16 value) { SetControl32BitValue(control, value); }
SInt16 GetControlMinimum(ControlRef control) { return Clamp16(GetControl32BitMinimum(control)); }
void SetControlMinimum(ControlRef control, SInt16 minimum) { SetControl32BitMinimum(control, minimum); }
SInt16 GetControlMaximum(ControlRef control) { return Clamp16(GetControl32BitMaximum(control)); }
void SetControlMaximum(ControlRef control, SInt16 maximum) { SetControl32BitMaximum(control, maximum); }

OSStatus SetControlTitleWithCFString(ControlRef control, CFStringRef title) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (title == nullptr)
        return paramErr;
    hi::SetString(control->title, title);
    hi::ControlChanged(control);
    return noErr;
}

OSStatus CopyControlTitleAsCFString(ControlRef control, CFStringRef* outTitle) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (outTitle == nullptr)
        return paramErr;
    *outTitle = control->title ? static_cast<CFStringRef>(CFRetain(control->title))
                               : CFStringCreateWithCString(nullptr, "", kCFStringEncodingUTF8);
    return noErr;
}

OSErr SetControlData(ControlRef control, ControlPartCode, ResType tag, Size size, const void* data) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (data == nullptr || size < 0)
        return paramErr;
    switch (tag) {
    case kControlFontStyleTag:
        if (size != sizeof(ControlFontStyleRec))
            return paramErr;
        return SetControlFontStyle(control, static_cast<const ControlFontStyleRec*>(data));
    case kControlStaticTextCFStringTag:
        if (!HasText(control))
            return errDataNotSupported;
        if (size != sizeof(CFStringRef))
            return paramErr;
        hi::SetString(control->text, *static_cast<const CFStringRef*>(data));
        hi::ControlChanged(control);
        return noErr;
    case kControlStaticTextTextTag: {
        if (!HasText(control))
            return errDataNotSupported;
        CFStringRef s = CFStringCreateWithBytes(nullptr, static_cast<const UInt8*>(data), size,
                                                kCFStringEncodingUTF8, false);
        if (s == nullptr)
            return paramErr;
        hi::SetString(control->text, s);
        CFRelease(s);
        hi::ControlChanged(control);
        return noErr;
    }
    case kControlPopupButtonMenuRefTag:
        if (control->kind != kControlKindPopupButton)
            return errDataNotSupported;
        if (size != sizeof(MenuRef))
            return paramErr;
        SetControlPopupMenuRef(control, *static_cast<const MenuRef*>(data));
        return noErr;
    case kControlUserPaneDrawProcTag:
        if (control->kind != kControlKindUserPane)
            return errDataNotSupported;
        if (size != sizeof(ControlUserPaneDrawUPP))
            return paramErr;
        control->drawProc = *static_cast<const ControlUserPaneDrawUPP*>(data);
        hi::ControlChanged(control);
        return noErr;
    default:
        return errDataNotSupported;
    }
}

OSErr GetControlData(ControlRef control, ControlPartCode, ResType tag, Size bufferSize,
                     void* buffer, Size* actualSize) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (bufferSize < 0 || (buffer == nullptr && bufferSize > 0))
        return paramErr;
    auto give = [&](const void* bytes, Size size) -> OSErr {
        if (actualSize)
            *actualSize = size;
        if (buffer == nullptr)
            return noErr;
        if (bufferSize < size && tag != kControlStaticTextTextTag)
            return paramErr;
        std::memcpy(buffer, bytes, static_cast<size_t>(std::min(size, bufferSize)));
        return noErr;
    };
    switch (tag) {
    case kControlFontStyleTag:
        return give(&control->font, sizeof control->font);
    case kControlStaticTextCFStringTag: {
        if (!HasText(control))
            return errDataNotSupported;
        if (buffer != nullptr && bufferSize < static_cast<Size>(sizeof(CFStringRef)))
            return paramErr;
        CFStringRef copy = control->text ? static_cast<CFStringRef>(CFRetain(control->text))
                                         : CFStringCreateWithCString(nullptr, "", kCFStringEncodingUTF8);
        if (buffer == nullptr) {
            CFRelease(copy);
            if (actualSize)
                *actualSize = sizeof(CFStringRef);
            return noErr;
        }
        return give(&copy, sizeof copy);
    }
    case kControlStaticTextTextTag: {
        if (!HasText(control))
            return errDataNotSupported;
        std::string text = hi::UTF8(control->text);
        return give(text.data(), static_cast<Size>(text.size()));
    }
    case kControlPopupButtonMenuRefTag:
        if (control->kind != kControlKindPopupButton)
            return errDataNotSupported;
        return give(&control->menu, sizeof control->menu);
    case kControlUserPaneDrawProcTag:
        if (control->kind != kControlKindUserPane)
            return errDataNotSupported;
        return give(&control->drawProc, sizeof control->drawProc);
    default:
        return errDataNotSupported;
    }
}

OSErr GetControlDataSize(ControlRef control, ControlPartCode part, ResType tag, Size* size) {
    if (size == nullptr)
        return paramErr;
    return GetControlData(control, part, tag, 0, nullptr, size);
}

OSErr SetControlFontStyle(ControlRef control, const ControlFontStyleRec* style) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (style == nullptr)
        return paramErr;
    control->font = *style;
    hi::ControlChanged(control);
    return noErr;
}

OSErr SetControlVisibility(ControlRef control, Boolean visible, Boolean draw) {
    if (!Live(control))
        return controlHandleInvalidErr;
    control->visible = visible;
    hi::ControlChanged(control);
    if (visible && draw)
        Draw1Control(control);
    return noErr;
}
void ShowControl(ControlRef control) { SetControlVisibility(control, true, true); }
void HideControl(ControlRef control) { SetControlVisibility(control, false, true); }

Boolean IsControlVisible(ControlRef control) {
    return FlagAlongEmbedders(control, &OpaqueControlRef::visible);
}

OSStatus EnableControl(ControlRef control) {
    return SetStateFlag(control, &OpaqueControlRef::enabled, true);
}
OSStatus DisableControl(ControlRef control) {
    return SetStateFlag(control, &OpaqueControlRef::enabled, false);
}
Boolean IsControlEnabled(ControlRef control) {
    return FlagAlongEmbedders(control, &OpaqueControlRef::enabled);
}
OSStatus ActivateControl(ControlRef control) {
    return SetStateFlag(control, &OpaqueControlRef::active, true);
}
OSStatus DeactivateControl(ControlRef control) {
    return SetStateFlag(control, &OpaqueControlRef::active, false);
}
Boolean IsControlActive(ControlRef control) { return Live(control) && control->active; }

void HiliteControl(ControlRef control, ControlPartCode part) {
    if (!Live(control))
        return;
    control->hilite = part;
    hi::ControlChanged(control);
}

void Draw1Control(ControlRef control) {
    if (!Live(control))
        return;
    hi::Walk(control, [](ControlRef c) {
        if (c->kind == kControlKindUserPane && IsControlVisible(c))
            hi::DrawUserPane(c);
        else
            hi::ControlChanged(c);
    });
}

OSErr EmbedControl(ControlRef control, ControlRef container) {
    if (!Live(control) || !Live(container))
        return controlHandleInvalidErr;
    if (control->kind == kControlKindRoot)
        return errCantEmbedRoot;
    if (!CanEmbed(container))
        return errControlIsNotEmbedder;
    for (ControlRef c = container; c != nullptr; c = c->parent)
        if (c == control)
            return errCantEmbedIntoSelf;
    const bool otherWindow = control->window != container->window;
    if (otherWindow)
        LeaveWindow(control);
    Detach(control);
    control->parent = container;
    container->children.push_back(control);
    UpdateGroupRange(container);
    if (otherWindow)
        EnterWindow(control, container->window);
    hi::ControlChanged(container);
    hi::ControlChanged(control);
    return noErr;
}

OSErr GetSuperControl(ControlRef control, ControlRef* outParent) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (outParent == nullptr)
        return paramErr;
    *outParent = control->parent;
    return control->parent ? OSStatus(noErr) : errNoRootControl;
}

OSErr CountSubControls(ControlRef control, UInt16* outNumChildren) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (outNumChildren == nullptr)
        return paramErr;
    *outNumChildren = static_cast<UInt16>(std::min<size_t>(control->children.size(), 0xFFFF));
    return CanEmbed(control) ? OSStatus(noErr) : errControlIsNotEmbedder;
}

OSErr GetIndexedSubControl(ControlRef control, UInt16 index, ControlRef* outSubControl) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (outSubControl == nullptr)
        return paramErr;
    *outSubControl = nullptr;
    if (index < 1 || index > control->children.size())
        return errUnknownControl;
    *outSubControl = control->children[index - 1];
    return noErr;
}

void SetControlReference(ControlRef control, SRefCon data) {
    if (Live(control))
        control->reference = data;
}
SRefCon GetControlReference(ControlRef control) { return Live(control) ? control->reference : nullptr; }

ControlPartCode TrackControl(ControlRef control, Point, ControlActionUPP action) {
    if (!Live(control) || !IsControlVisible(control) || !IsControlEnabled(control))
        return kControlNoPart;
    ControlPartCode part = kControlLabelPart;
    switch (control->kind) {
    case kControlKindPushButton: part = kControlButtonPart; break;
    case kControlKindCheckBox: part = kControlCheckBoxPart; break;
    case kControlKindRadioButton: part = kControlRadioButtonPart; break;
    case kControlKindPopupButton: part = kControlMenuPart; break;
    case kControlKindEditUnicodeText: part = kControlEditTextPart; break;
    default: break;
    }
    // Highlighted while "pressed", as a person's press shows, then released inside.
    HiliteControl(control, part);
    if (action)
        action(control, part);
    if (Live(control))
        HiliteControl(control, kControlNoPart);
    return part;
}

ControlPartCode HandleControlClick(ControlRef control, Point where, UInt32, ControlActionUPP action) {
    return TrackControl(control, where, action);
}

OSStatus SetControlCommandID(ControlRef control, UInt32 commandID) {
    if (!Live(control))
        return controlHandleInvalidErr;
    control->command = commandID;
    hi::ControlChanged(control);
    return noErr;
}
OSStatus GetControlCommandID(ControlRef control, UInt32* outCommandID) {
    if (!Live(control))
        return controlHandleInvalidErr;
    if (outCommandID == nullptr)
        return paramErr;
    *outCommandID = control->command;
    return noErr;
}

MenuRef GetControlPopupMenuRef(ControlRef control) {
    return (Live(control) && control->kind == kControlKindPopupButton) ? control->menu : nullptr;
}
MenuRef GetControlPopupMenuHandle(ControlRef control) { return GetControlPopupMenuRef(control); }

void SetControlPopupMenuRef(ControlRef control, MenuRef menu) {
    if (!Live(control) || control->kind != kControlKindPopupButton || !hi::IsLiveMenu(menu))
        return;
    if (menu == control->menu)
        return;
    RetainMenu(menu);
    if (control->menu) {
        auto& owners = control->menu->owners;
        owners.erase(std::remove(owners.begin(), owners.end(), control), owners.end());
        ReleaseMenu(control->menu);
    }
    control->menu = menu;
    menu->owners.push_back(control);
    control->maximum = CountMenuItems(menu);
    SetValue(control, control->value);
}
void SetControlPopupMenuHandle(ControlRef control, MenuRef menu) { SetControlPopupMenuRef(control, menu); }

OSErr SetKeyboardFocus(WindowRef window, ControlRef control, ControlPartCode part) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (control == nullptr || part == kControlFocusNoPart) {
        window->focus = nullptr;
        return noErr;
    }
    if (!Live(control) || control->window != window)
        return controlHandleInvalidErr;
    if (control->kind != kControlKindEditUnicodeText)
        return errControlDoesntSupportFocus;
    window->focus = control;
    hi::ControlChanged(control);
    return noErr;
}

OSErr GetKeyboardFocus(WindowRef window, ControlRef* outControl) {
    if (!hi::IsLiveWindow(window))
        return errInvalidWindowRef;
    if (outControl == nullptr)
        return paramErr;
    *outControl = window->focus;
    return noErr;
}

OSErr ClearKeyboardFocus(WindowRef window) { return SetKeyboardFocus(window, nullptr, 0); }

ControlUserPaneDrawUPP NewControlUserPaneDrawUPP(ControlUserPaneDrawProcPtr proc) { return proc; }
void DisposeControlUserPaneDrawUPP(ControlUserPaneDrawUPP) {}
OSStatus InvokeControlUserPaneDrawUPP(ControlRef control, ControlPartCode part,
                                      ControlUserPaneDrawUPP upp) {
    if (upp == nullptr)
        return paramErr;
    upp(control, part);
    return noErr;
}

} // extern "C"
