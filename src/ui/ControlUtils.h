//===- ControlUtils.h - Control and menu utilities --------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_CONTROLUTILS_H
#define PIGMENTOR_UI_CONTROLUTILS_H

#include <HIToolbox/HIToolbox.h>

#include <cstddef>

class PPDXPopupControl;

/// Small functions over the platform's controls and menus shared by the panel and the dialogs:
/// titles and fonts, sizing a control to fit its text, radio-button texts, popup menus filled
/// from a PPD popup control, embedding, and a help event handler.
///
/// Everything runs on the main thread. Nothing here owns the controls, menus or strings it is
/// given. Texts given as `const char*` are in the application's text encoding (UTF-8).
class ControlUtils {
public:
    /// Puts each non-negative argument into the control's font style record and sets its
    /// flag; paramErr (-50) for a null control.
    static OSStatus setControlFontInfo(ControlRef control, short font, short size, short style,
                                       short justification);

    /// Radio groups and static texts take `text` as their string data, other controls as their
    /// title; a null text does nothing.
    static OSStatus SetControlTitle(ControlRef control, CFStringRef text);
    static OSStatus SetControlTitle(ControlRef control, const char* text);

    /// Act on the group's sub-control `index` (from 1) when it exists.
    static OSStatus SetRadioButtonText(ControlRef group, UInt16 index, CFStringRef text);
    static OSStatus SetRadioButtonText(ControlRef group, UInt16 index, const char* text);
    static void ShowRadioButton(ControlRef group, UInt16 index);
    static void HideRadioButton(ControlRef group, UInt16 index);

    /// Sizes the control to its text by kind (popup, check box, push button, static text);
    /// other kinds stay as they are. `growRight` keeps the left edge, else the right edge.
    static void SizeControl(ControlRef control, WindowRef window, bool growRight);
    /// Grows only: text + 28 wanted; growing right the width becomes min(wanted, 200) + 28,
    /// else the left edge moves to right - wanted - 28.
    static void sizePushButton(ControlRef control, WindowRef window, bool growRight);
    /// Text + 20 exactly (may shrink).
    static void sizeCheckBox(ControlRef control, WindowRef window, bool growRight);
    /// The static text's width + 28, from the left edge.
    static void sizeTextControl(ControlRef control, WindowRef window);
    /// When the menu's width differs from the control's: min(menu width + 24, 190).
    static void sizePopup(ControlRef control, WindowRef window);
    /// Width of the control's title (or static text) in the theme font its font size selects
    /// (the small system font at size 11, else the system font), measured in the window's port
    /// with the control's font, face and size; the port and its text settings are restored.
    static SInt16 measureControlText(ControlRef control, WindowRef window, bool useText);

    /// Titles the menu's items 1..n with the popup control's display names, appending items
    /// the menu lacks; items beyond n are left alone. Returns n + 1 (the position after the
    /// last item), or 0 when an item has no display name or an append fails.
    static unsigned short SetupMenuFromPPDControl(PPDXPopupControl& control, MenuRef menu);
    /// Deletes every item, last first.
    static void resetMenu(MenuRef menu);
    /// Disables every item, then enables item `index`.
    static void EnableOnly1MenuItem(MenuRef menu, MenuItemIndex index);
    /// `name` followed by ": " into `buffer` of `size` bytes (cut to fit, always terminated).
    static void PrepForPopup(const char* name, char* buffer, size_t size = 256);

    /// Centres the control's offset within `container` (as the panel's AdjustSubControl does
    /// with no vertical shift), shows it without drawing and embeds it; `out` (may be null)
    /// receives the control on success.
    static OSStatus MyEmbedControl(WindowRef window, ControlRef container, ControlRef control,
                                   ControlRef* out);
    /// The same for the window's control with `id`.
    static OSStatus MyEmbedControl(WindowRef window, ControlRef container, const ControlID& id,
                                   ControlRef* out);

    /// Installs on the window a handler of command events that reads the command and leaves
    /// the event unhandled; the handler and its procedure are returned for removal.
    static OSStatus MyInstallHelpEventHandler(WindowRef window, EventHandlerRef* handler,
                                              EventHandlerUPP* upp);
    /// Removes the handler and disposes of its procedure; both are cleared.
    static OSStatus MyRemoveHelpEventHandler(EventHandlerRef* handler, EventHandlerUPP* upp);
};

#endif
