#pragma once
/// Controls: the nodes of a window's control tree.
///
/// Every control belongs to one window and sits in one embedder (the window's root control or
/// another control); disposing of a control disposes of its sub-controls. Bounds are in the
/// window's content coordinates whatever the embedding. A control is identified by its
/// `ControlID` (signature and number; several controls may share one, the first in tree order
/// is found). Titles, static and editable texts are CFStrings; a popup button holds a reference
/// to its menu. Values are 32-bit; the 16-bit accessors clamp. Main thread only.
///
/// Every change reaches the window's back end, which redraws (GTK) or records (headless).

#include <CoreFoundation/CFString.h>
#include <HIToolbox/Menus.h>
#include <HIToolbox/MacWindows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueControlRef* ControlRef;
typedef ControlRef ControlHandle;
typedef SInt16 ControlPartCode;
/// A value the caller keeps with a window or control.
typedef void* SRefCon;

/// A control's identity in its window.
typedef struct ControlID {
    OSType signature;
    SInt32 id;
} ControlID;

/// A control's kind: signature 'appl' and one kind code per control type.
typedef struct ControlKind {
    OSType signature;
    OSType kind;
} ControlKind;
enum {
    kControlKindSignatureApple = 'appl',
    kControlKindPushButton = 'push',
    kControlKindCheckBox = 'cbox',
    kControlKindRadioGroup = 'rgrp',
    kControlKindRadioButton = 'rdio',
    kControlKindPopupButton = 'popb',
    kControlKindStaticText = 'stxt',
    kControlKindEditUnicodeText = 'eutx',
    kControlKindGroupBox = 'grpb',
    kControlKindSeparator = 'sepa',
    kControlKindChasingArrows = 'carr',
    kControlKindUserPane = 'upan',
    kControlKindRoot = 'root',
};

/// Part codes.
enum {
    kControlNoPart = 0,
    kControlLabelPart = 1,
    kControlEditTextPart = 5,
    kControlButtonPart = 10,
    kControlCheckBoxPart = 11,
    kControlRadioButtonPart = 12,
    kControlMenuPart = 2,
    kControlFocusNoPart = 0,
    kControlFocusNextPart = -1,
};

/// Check box and radio button values.
enum { kControlCheckBoxUncheckedValue = 0, kControlCheckBoxCheckedValue = 1,
       kControlCheckBoxMixedValue = 2, kControlRadioButtonUncheckedValue = 0,
       kControlRadioButtonCheckedValue = 1 };

/// Font, face, size and colours of a control's text; `flags` says which fields apply.
typedef struct ControlFontStyleRec {
    SInt16 flags;
    SInt16 font;
    SInt16 size;
    SInt16 style;
    SInt16 mode;
    SInt16 just;
    RGBColor foreColor;
    RGBColor backColor;
} ControlFontStyleRec;
typedef ControlFontStyleRec* ControlFontStylePtr;
enum {
    kControlUseFontMask = 0x0001,
    kControlUseFaceMask = 0x0002,
    kControlUseSizeMask = 0x0004,
    kControlUseForeColorMask = 0x0008,
    kControlUseBackColorMask = 0x0010,
    kControlUseModeMask = 0x0020,
    kControlUseJustMask = 0x0040,
    kControlUseAllMask = 0x00FF,
    kControlAddFontSizeMask = 0x0100,
};
/// Justifications.
enum { teFlushDefault = 0, teCenter = 1, teFlushRight = -1, teFlushLeft = -2 };

/// Data tags (GetControlData / SetControlData).
typedef UInt32 ControlDataTag; // tags are four-character codes
enum {
    kControlEntireControl = 0,
    kControlFontStyleTag = 'font',          ///< ControlFontStyleRec, every kind
    kControlStaticTextCFStringTag = 'cfst', ///< CFStringRef (retained on set, copied out +1)
    kControlEditTextCFStringTag = 'cfst',   ///< the same tag for editable text
    kControlStaticTextTextTag = 'text',     ///< the text as bytes (UTF-8), no terminator
    kControlEditTextTextTag = 'text',
    kControlPopupButtonMenuRefTag = 'mhan', ///< MenuRef (the control keeps a reference)
    kControlUserPaneDrawProcTag = 'draw',   ///< ControlUserPaneDrawUPP
    kControlKeyFilterTag = 'fltr',
};

/// A user pane's draw procedure; pen calls made while it runs are recorded for the pane.
typedef void (*ControlUserPaneDrawProcPtr)(ControlRef control, ControlPartCode part);
typedef ControlUserPaneDrawProcPtr ControlUserPaneDrawUPP;
ControlUserPaneDrawUPP NewControlUserPaneDrawUPP(ControlUserPaneDrawProcPtr proc);
void DisposeControlUserPaneDrawUPP(ControlUserPaneDrawUPP upp);
OSStatus InvokeControlUserPaneDrawUPP(ControlRef control, ControlPartCode part,
                                      ControlUserPaneDrawUPP upp);

/// User-pane features (the only ones supported: embedding).
enum { kControlSupportsEmbedding = 1u << 1, kControlHandlesTracking = 1 };

/// Creation: each makes a visible, enabled control in `window`'s root control, with the given
/// bounds (window coordinates). NULL or bad arguments give paramErr or errInvalidWindowRef.
OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                 ControlRef* outControl);
OSStatus CreateCheckBoxControl(WindowRef window, const Rect* bounds, CFStringRef title,
                               SInt32 initialValue, Boolean autoToggle, ControlRef* outControl);
/// A radio group holds radio buttons; its value is the index of the one that is on (0: none).
OSStatus CreateRadioGroupControl(WindowRef window, const Rect* bounds, ControlRef* outControl);
OSStatus CreateRadioButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                  SInt32 initialValue, Boolean autoToggle, ControlRef* outControl);
/// A popup button over `menu` (retained; may be NULL: the popup makes an empty menu of its own);
/// titleWidth < 0 lets the title take what it needs.
OSStatus CreatePopupButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                  SInt16 menuID, Boolean variableWidth, SInt16 titleWidth,
                                  SInt16 titleJustification, Style titleStyle,
                                  ControlRef* outControl);
OSStatus CreateStaticTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                 const ControlFontStyleRec* style, ControlRef* outControl);
OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                      Boolean isPassword, const ControlFontStyleRec* style,
                                      ControlRef* outControl);
OSStatus CreateGroupBoxControl(WindowRef window, const Rect* bounds, CFStringRef title,
                               Boolean primary, ControlRef* outControl);
OSStatus CreateSeparatorControl(WindowRef window, const Rect* bounds, ControlRef* outControl);
OSStatus CreateChasingArrowsControl(WindowRef window, const Rect* bounds, ControlRef* outControl);
OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, UInt32 features,
                               ControlRef* outControl);
/// Disposes of the control and its sub-controls (handlers removed, menus released).
void DisposeControl(ControlRef control);
/// True for a live control.
Boolean IsValidControlHandle(ControlRef control);

/// The first control of the window (tree order) with that id; errUnknownControl when none.
OSStatus GetControlByID(WindowRef window, const ControlID* id, ControlRef* outControl);
OSStatus SetControlID(ControlRef control, const ControlID* id);
OSStatus GetControlID(ControlRef control, ControlID* outID);
OSStatus GetControlKind(ControlRef control, ControlKind* outKind);
WindowRef GetControlOwner(ControlRef control);
OSStatus GetRootControl(WindowRef window, ControlRef* outControl);

Rect* GetControlBounds(ControlRef control, Rect* bounds);
/// Sets the bounds; sub-controls stay where they are.
void SetControlBounds(ControlRef control, const Rect* bounds);
/// Moves the control's top left to (h, v); sub-controls move with it.
void MoveControl(ControlRef control, SInt16 h, SInt16 v);
/// Sets width and height, keeping the top left.
void SizeControl(ControlRef control, SInt16 w, SInt16 h);

SInt32 GetControl32BitValue(ControlRef control);
/// Sets the value, clamped to minimum..maximum. A radio group switches its buttons; a radio
/// button or check box in a group updates the group.
void SetControl32BitValue(ControlRef control, SInt32 value);
SInt32 GetControl32BitMinimum(ControlRef control);
void SetControl32BitMinimum(ControlRef control, SInt32 minimum);
SInt32 GetControl32BitMaximum(ControlRef control);
void SetControl32BitMaximum(ControlRef control, SInt32 maximum);
SInt16 GetControlValue(ControlRef control);
void SetControlValue(ControlRef control, SInt16 value);
SInt16 GetControlMinimum(ControlRef control);
void SetControlMinimum(ControlRef control, SInt16 minimum);
SInt16 GetControlMaximum(ControlRef control);
void SetControlMaximum(ControlRef control, SInt16 maximum);

OSStatus SetControlTitleWithCFString(ControlRef control, CFStringRef title);
/// The title (caller releases).
OSStatus CopyControlTitleAsCFString(ControlRef control, CFStringRef* outTitle);

/// Data by tag: errDataNotSupported for a tag the kind lacks, errDataSizeMismatch (paramErr
/// here) for a wrong size. GetControlData copies at most bufferSize bytes and reports the size.
OSErr SetControlData(ControlRef control, ControlPartCode part, ResType tag, Size size,
                     const void* data);
OSErr GetControlData(ControlRef control, ControlPartCode part, ResType tag, Size bufferSize,
                     void* buffer, Size* actualSize);
OSErr GetControlDataSize(ControlRef control, ControlPartCode part, ResType tag, Size* size);
/// Sets the font style record (fields not flagged are ignored).
OSErr SetControlFontStyle(ControlRef control, const ControlFontStyleRec* style);

/// Visibility; `draw` redraws at once (the back end repaints either way when shown).
OSErr SetControlVisibility(ControlRef control, Boolean visible, Boolean draw);
void ShowControl(ControlRef control);
void HideControl(ControlRef control);
/// True when the control and every embedder are visible.
Boolean IsControlVisible(ControlRef control);
OSStatus EnableControl(ControlRef control);
OSStatus DisableControl(ControlRef control);
/// True when the control and every embedder are enabled.
Boolean IsControlEnabled(ControlRef control);
OSStatus ActivateControl(ControlRef control);
OSStatus DeactivateControl(ControlRef control);
Boolean IsControlActive(ControlRef control);
/// Highlights a part (0: none); recorded for the back end.
void HiliteControl(ControlRef control, ControlPartCode part);
/// Redraws the control (user panes run their draw procedure).
void Draw1Control(ControlRef control);

/// Moves `control` into `container` as its last sub-control. A container of another window
/// takes the control and its sub-controls into that window (bounds are kept: they are the
/// new window's coordinates from then on).
OSErr EmbedControl(ControlRef control, ControlRef container);
OSErr GetSuperControl(ControlRef control, ControlRef* outParent);
OSErr CountSubControls(ControlRef control, UInt16* outNumChildren);
/// Sub-control `index` (from 1); errUnknownControl when out of range.
OSErr GetIndexedSubControl(ControlRef control, UInt16 index, ControlRef* outSubControl);

/// The caller's value kept with the control (a pointer or a number).
void SetControlReference(ControlRef control, SRefCon data);
SRefCon GetControlReference(ControlRef control);

/// Follows the mouse from `startPoint` until it is released and answers the part it was
/// released in (kControlNoPart outside). Both back ends report a click only once it has been
/// released inside the control, so a usable control answers its own part at once.
typedef void (*ControlActionProcPtr)(ControlRef control, ControlPartCode part);
typedef ControlActionProcPtr ControlActionUPP;
ControlPartCode TrackControl(ControlRef control, Point startPoint, ControlActionUPP action);
ControlPartCode HandleControlClick(ControlRef control, Point where, UInt32 modifiers,
                                   ControlActionUPP action);
OSStatus SetControlCommandID(ControlRef control, UInt32 commandID);
OSStatus GetControlCommandID(ControlRef control, UInt32* outCommandID);

/// A popup button's menu (not retained), NULL for other kinds.
MenuRef GetControlPopupMenuHandle(ControlRef control);
MenuRef GetControlPopupMenuRef(ControlRef control);
void SetControlPopupMenuHandle(ControlRef control, MenuRef menu);
void SetControlPopupMenuRef(ControlRef control, MenuRef menu);

/// Keyboard focus of the window (an editable text control, or NULL).
OSErr SetKeyboardFocus(WindowRef window, ControlRef control, ControlPartCode part);
OSErr GetKeyboardFocus(WindowRef window, ControlRef* outControl);
OSErr ClearKeyboardFocus(WindowRef window);

#ifdef __cplusplus
}
#endif
