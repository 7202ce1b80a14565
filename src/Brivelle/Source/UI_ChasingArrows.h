//===- UI_ChasingArrows.h - A busy indicator with a caption -----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_UI_CHASINGARROWS_H
#define PIGMENTOR_BRIVELLE_UI_CHASINGARROWS_H

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/Controls.h>

/// A chasing-arrows control with an optional caption (a static text in font size 10 to its
/// left), laid out in the 16-pixel strip at the top of the given bounds.
///
/// The object owns the two controls and disposes of them; the window is not owned and must
/// outlive the object (or take the controls with it first: disposed controls are passed over).
/// The caption control keeps its own reference to its text. Main thread only.
class UI_ChasingArrows {
public:
    /// Makes nothing when `bounds` is less than 16 pixels high. With a caption the arrows are
    /// 16 pixels wide at the right end and the caption (`caption`, null meaning "") fills the
    /// rest of the strip; without one the arrows span the width. Both are embedded in `parent`
    /// when given, then shown or hidden as `visible` says.
    UI_ChasingArrows(WindowRef window, Rect bounds, bool visible, ControlRef parent,
                     bool withCaption, CFStringRef caption);
    UI_ChasingArrows(const UI_ChasingArrows&) = delete;
    UI_ChasingArrows& operator=(const UI_ChasingArrows&) = delete;
    /// Hides and disposes of both controls.
    virtual ~UI_ChasingArrows();

    /// Shows both controls, redrawing them.
    void show();
    /// Hides both controls, redrawing them.
    void hide();
    /// Sets the caption's text (null: ""); draws it when `redraw`. Nothing without a caption.
    void setCaption(CFStringRef text, bool redraw);

    /// True when every control asked for was made.
    bool isValid() const { return mArrows != nullptr; }
    /// The arrows and caption controls (null when not made); owned by this object.
    ControlRef getArrowsControl() const { return mArrows; }
    ControlRef getCaptionControl() const { return mCaption; }

private:
    void setVisible(bool visible, bool draw);

    ControlRef mArrows;
    ControlRef mCaption;
    WindowRef mWindow;
};

#endif // PIGMENTOR_BRIVELLE_UI_CHASINGARROWS_H
