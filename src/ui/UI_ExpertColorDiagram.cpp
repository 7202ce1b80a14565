//===- UI_ExpertColorDiagram.cpp - The colour-flow diagram's lines --------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_ExpertColor.h"

// The diagram is drawn by user panes 'Line' 1 to 25, 101 and 102 of the NIB; each pane's id
// says which segment it is. Geometry follows the pane's bounds, so the NIB decides where a
// segment goes and this file only how it looks:
//   RGB row: 1 heading -> source, 2 source -> rendering, 3 rendering -> separation,
//            4 separation -> join, 23 the join's RGB part (down to the output arrow);
//   RGB source none: 101 up from the source, 5, 6, 102 over the RGB row, 7 down into the join
//            (the unconverted RGB's bypass, shown only for source "NONE");
//   RGB simulation: 8 down from the separation, 9 and 22 back left, 10 down into the CMYK
//            simulation (RGB separated through the simulation);
//   CMYK row: 11 heading -> simulation, 12 simulation -> method, 13 method -> paper
//            simulation, 25 paper simulation -> join;
//   14 the output join: a vertical line with the arrow into the output profile;
//   spot: 15 heading -> spot colours, 16 spot colours round to the join;
//   black: 17 heading -> pure black, 19 pure black -> overprint, 21 overprint control ->
//            print gray as black; 18 pure black down to the overprint control, 20 overprint
//            -> overprint style (leaving black overprint, or the control without it);
//   24 output profile -> proofing profile.

namespace {

enum Shape { kHArrow, kHLine, kVLine, kVArrowDown, kJoin, kElbowUp, kElbowDownRight };

Shape ShapeOf(int id) {
    switch (id) {
    case 4: case 5: case 6: case 9: case 22: case 25: case 102:
        return kHLine;
    case 8: case 23: case 101:
        return kVLine;
    case 7: case 10: case 24:
        return kVArrowDown;
    case 14:
        return kJoin;
    case 16:
        return kElbowUp;
    case 18:
        return kElbowDownRight;
    default:
        return kHArrow;
    }
}

void ArrowRight(short x, short y) {
    MoveTo(x, y);
    LineTo(static_cast<short>(x - 6), static_cast<short>(y - 4));
    MoveTo(x, y);
    LineTo(static_cast<short>(x - 6), static_cast<short>(y + 4));
}

void ArrowDown(short x, short y) {
    MoveTo(x, y);
    LineTo(static_cast<short>(x - 4), static_cast<short>(y - 6));
    MoveTo(x, y);
    LineTo(static_cast<short>(x + 4), static_cast<short>(y - 6));
}

} // namespace

void UI_ExpertColor::installLineHandlers() {
    if (mWindow == nullptr)
        return;
    if (mLineProc == nullptr)
        mLineProc = NewControlUserPaneDrawUPP(DrawLine);
    delete[] mLineRects;
    mLineRects = new Rect[kLineCount]();
    for (int id = 1; id <= 102; ++id) {
        if (id == kLineCount)
            id = 101;
        const ControlID cid{'Line', id};
        ControlRef line = nullptr;
        if (GetControlByID(mWindow, &cid, &line) != noErr)
            continue;
        SetControlData(line, kControlEntireControl, kControlUserPaneDrawProcTag, sizeof mLineProc,
                       &mLineProc);
        if (id < kLineCount)
            GetControlBounds(line, &mLineRects[id]);
    }
}

void UI_ExpertColor::DrawLine(ControlRef control, ControlPartCode) {
    WindowRef window = GetControlOwner(control);
    auto* self = window ? static_cast<UI_ExpertColor*>(GetWRefCon(window)) : nullptr;
    ControlID id{0, 0};
    if (self == nullptr || GetControlID(control, &id) != noErr)
        return;
    self->drawLine(control, id.id);
}

UI_ExpertColor::LineStyle UI_ExpertColor::lineStyle(int id) const {
    switch (id) {
    // RGB output.
    case 1:
        return kLineSolid;
    case 2:
    case 3:
        return mRGBNone ? kLineDimmed : kLineSolid;
    case 4:
        return (mRGBNone || mSepToSimulation) ? kLineDimmed : kLineSolid;
    case 23:
        return (mSepToSimulation && !mRGBNone) ? kLineDimmed : kLineSolid;
    // RGB source none: the bypass exists only then.
    case 5:
    case 6:
    case 7:
    case 101:
    case 102:
        return mRGBNone ? kLineSolid : kLineHidden;
    // RGB simulation.
    case 8:
    case 9:
    case 10:
    case 22:
        if (mRGBNone)
            return kLineHidden;
        return mSepToSimulation ? kLineSolid : kLineDimmed;
    // CMYK simulation.
    case 11:
    case 25:
        return kLineSolid;
    case 12:
        return mSimNone ? kLineDimmed : kLineSolid;
    case 13:
        return (mSimNone || mPaperSimOff) ? kLineDimmed : kLineSolid;
    // Spot colours.
    case 15:
        return kLineSolid;
    case 16:
        return mSpotOn ? kLineSolid : kLineDimmed;
    // Pure blacks.
    case 17:
        return kLineSolid;
    case 19:
    case 21:
        return mPureBlackHandled ? kLineDimmed : kLineSolid;
    // Black overprint.
    case 18:
        return mPureBlackHandled ? kLineDimmed : kLineSolid;
    case 20:
        return (mBlackOverprintOn && !mPureBlackHandled) ? kLineSolid : kLineDimmed;
    default:
        return kLineSolid;
    }
}

void UI_ExpertColor::drawLine(ControlRef control, int id) {
    const LineStyle style = lineStyle(id);
    if (style == kLineHidden)
        return;
    Rect r{};
    GetControlBounds(control, &r);
    Pattern pattern{};
    PenNormal();
    PenSize(2, 2);
    if (style == kLineDimmed) {
        const RGBColor gray{0xB400, 0xB400, 0xB400};
        RGBForeColor(&gray);
    } else {
        const RGBColor ink{0x3000, 0x3000, 0x3000};
        RGBForeColor(&ink);
    }
    // The bypass of unconverted RGB is dotted, so that it reads as "passed through".
    if (id == 5 || id == 6 || id == 7 || id == 101 || id == 102)
        PenPat(GetQDGlobalsGray(&pattern));
    else
        PenPat(GetQDGlobalsBlack(&pattern));
    const short midY = static_cast<short>((r.top + r.bottom) / 2 - 1);
    const short midX = static_cast<short>((r.left + r.right) / 2 - 1);
    const short right = static_cast<short>(r.right - 2);
    const short bottom = static_cast<short>(r.bottom - 2);
    switch (ShapeOf(id)) {
    case kHArrow:
        MoveTo(r.left, midY);
        LineTo(right, midY);
        PenPat(GetQDGlobalsBlack(&pattern));
        ArrowRight(right, midY);
        break;
    case kHLine:
        MoveTo(r.left, midY);
        LineTo(right, midY);
        break;
    case kVLine:
        MoveTo(midX, r.top);
        LineTo(midX, bottom);
        break;
    case kVArrowDown:
        MoveTo(midX, r.top);
        LineTo(midX, bottom);
        PenPat(GetQDGlobalsBlack(&pattern));
        ArrowDown(midX, bottom);
        break;
    case kJoin: {
        const short arrowY = static_cast<short>(r.top + 5);
        MoveTo(r.left, r.top);
        LineTo(r.left, static_cast<short>(r.bottom - 7));
        MoveTo(r.left, arrowY);
        LineTo(right, arrowY);
        ArrowRight(right, arrowY);
        break;
    }
    case kElbowUp: {
        const short y = static_cast<short>(r.bottom - 7);
        MoveTo(r.left, y);
        LineTo(right, y);
        LineTo(right, r.top);
        break;
    }
    case kElbowDownRight: {
        const short y = static_cast<short>(r.bottom - 7);
        MoveTo(r.left, r.top);
        LineTo(r.left, y);
        LineTo(right, y);
        ArrowRight(right, y);
        break;
    }
    }
    PenNormal();
}

void UI_ExpertColor::setControlRect(int id) {
    if (mLineRects == nullptr || id < 1 || id >= kLineCount)
        return;
    const ControlID cid{'Line', id};
    ControlRef line = nullptr;
    if (mWindow && GetControlByID(mWindow, &cid, &line) == noErr)
        SetControlBounds(line, &mLineRects[id]);
}

void UI_ExpertColor::adjustArrowWidth(ControlRef feature, int lineId) {
    const ControlID cid{'Line', lineId};
    ControlRef line = nullptr;
    if (feature == nullptr || mWindow == nullptr || GetControlByID(mWindow, &cid, &line) != noErr)
        return;
    Rect f{}, r{};
    GetControlBounds(feature, &f);
    GetControlBounds(line, &r);
    // Line 20 leaves black overprint (its own row) when the list has it, else the control.
    if (lineId == 20) {
        ControlRef overprint = featureControl(10);
        if (feature != overprint && overprint && GetControlReference(overprint))
            return;
    }
    SInt16 left = static_cast<SInt16>(f.right + 4);
    if (left > r.right - 10)
        left = static_cast<SInt16>(r.right - 10);
    r.left = left;
    SetControlBounds(line, &r);
}
