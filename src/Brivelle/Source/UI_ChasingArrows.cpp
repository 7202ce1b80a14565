//===- UI_ChasingArrows.cpp - A busy indicator with a caption -------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_ChasingArrows.h"

#include <algorithm>

namespace {
constexpr short kIndicatorSize = 16;
constexpr short kCaptionFontSize = 10;

void Dispose(ControlRef control) {
    if (control && IsValidControlHandle(control))
        DisposeControl(control);
}
} // namespace

UI_ChasingArrows::UI_ChasingArrows(WindowRef window, Rect bounds, bool visible,
                                   ControlRef parent, bool withCaption, CFStringRef caption)
    : mArrows(nullptr), mCaption(nullptr), mWindow(window) {
    if (bounds.bottom - bounds.top < kIndicatorSize)
        return;
    const short top = bounds.top;
    const short bottom = static_cast<short>(top + kIndicatorSize);
    Rect arrows{top, bounds.left, bottom, bounds.right};
    if (withCaption) {
        // Bounds narrower than the indicator leave the caption empty rather than inverted.
        const short split = static_cast<short>(
            std::max<int>(bounds.left, static_cast<int>(bounds.right) - kIndicatorSize));
        arrows.left = split;
        const Rect text{top, bounds.left, bottom, split};
        ControlFontStyleRec style{};
        style.flags = kControlUseSizeMask;
        style.size = kCaptionFontSize;
        if (CreateStaticTextControl(window, &text, caption ? caption : CFSTR(""), &style,
                                    &mCaption) != noErr) {
            mCaption = nullptr;
            return;
        }
    }
    if (CreateChasingArrowsControl(window, &arrows, &mArrows) != noErr) {
        // A caption without its indicator would be a stray label: take it away again.
        mArrows = nullptr;
        Dispose(mCaption);
        mCaption = nullptr;
        return;
    }
    if (parent) {
        if (mCaption)
            EmbedControl(mCaption, parent);
        EmbedControl(mArrows, parent);
    }
    setVisible(visible, false);
}

UI_ChasingArrows::~UI_ChasingArrows() {
    if (mArrows && IsValidControlHandle(mArrows))
        SetControlVisibility(mArrows, false, true);
    if (mCaption && IsValidControlHandle(mCaption))
        SetControlVisibility(mCaption, false, true);
    Dispose(mArrows);
    Dispose(mCaption);
}

void UI_ChasingArrows::setVisible(bool visible, bool draw) {
    if (mArrows && IsValidControlHandle(mArrows))
        SetControlVisibility(mArrows, visible, draw);
    if (mCaption && IsValidControlHandle(mCaption))
        SetControlVisibility(mCaption, visible, draw);
}

void UI_ChasingArrows::show() {
    setVisible(true, true);
}

void UI_ChasingArrows::hide() {
    setVisible(false, true);
}

void UI_ChasingArrows::setCaption(CFStringRef text, bool redraw) {
    if (!mCaption || !IsValidControlHandle(mCaption))
        return;
    CFStringRef value = text ? text : CFSTR("");
    SetControlData(mCaption, kControlEntireControl, kControlStaticTextCFStringTag, sizeof value,
                   &value);
    if (redraw)
        Draw1Control(mCaption);
}
