// Ports, text settings and the recording pen.
#include "HIObjects.h"

#include <algorithm>

namespace {
GrafPtr gPort = nullptr;

hi::Port* Current() {
    if (gPort == nullptr || !hi::IsLiveWindow(gPort->port.window))
        return nullptr;
    return &gPort->port;
}

void Record(hi::DrawCommand command) {
    ControlRef pane = hi::RecordingPane();
    if (pane != nullptr)
        pane->drawing.push_back(command);
}

void RecordRect(const char* op, const Rect* r) {
    if (r == nullptr)
        return;
    hi::DrawCommand c;
    c.op = op;
    c.a = r->top, c.b = r->left, c.c = r->bottom, c.d = r->right;
    Record(c);
}

Pattern Fill(UInt8 even, UInt8 odd) {
    Pattern p;
    for (int i = 0; i < 8; ++i)
        p.pat[i] = (i % 2) ? odd : even;
    return p;
}
} // namespace

namespace hi {
ControlRef& RecordingPane() {
    static ControlRef pane = nullptr;
    return pane;
}

void DrawUserPane(ControlRef pane) {
    pane->drawing.clear();
    if (pane->drawProc != nullptr && pane->window != nullptr) {
        GrafPtr saved = gPort;
        gPort = &pane->window->port;
        ControlRef outer = RecordingPane();
        RecordingPane() = pane;
        pane->drawProc(pane, kControlEntireControl);
        RecordingPane() = outer;
        gPort = saved;
    }
    ControlChanged(pane);
}
} // namespace hi

extern "C" {

void GetPort(GrafPtr* port) {
    if (port)
        *port = Current() ? gPort : nullptr;
}
void SetPort(GrafPtr port) { gPort = port; }
CGrafPtr GetWindowPort(WindowRef window) {
    return hi::IsLiveWindow(window) ? &window->port : nullptr;
}
void SetPortWindowPort(WindowRef window) {
    if (hi::IsLiveWindow(window))
        gPort = &window->port;
}
WindowRef GetWindowFromPort(CGrafPtr port) {
    return (port && hi::IsLiveWindow(port->port.window)) ? port->port.window : nullptr;
}
Rect* GetPortBounds(CGrafPtr port, Rect* rect) {
    if (rect == nullptr)
        return rect;
    *rect = Rect{0, 0, 0, 0};
    if (WindowRef w = GetWindowFromPort(port))
        GetWindowPortBounds(w, rect);
    return rect;
}

void TextFont(short font) {
    if (hi::Port* p = Current())
        p->textFont = font;
}
void TextSize(short size) {
    if (hi::Port* p = Current())
        p->textSize = size;
}
void TextFace(short face) {
    if (hi::Port* p = Current())
        p->textFace = face;
}
short GetPortTextFont(CGrafPtr port) { return GetWindowFromPort(port) ? port->port.textFont : 0; }
short GetPortTextSize(CGrafPtr port) { return GetWindowFromPort(port) ? port->port.textSize : 0; }
Style GetPortTextFace(CGrafPtr port) {
    return GetWindowFromPort(port) ? static_cast<Style>(port->port.textFace) : 0;
}

void MoveTo(short h, short v) {
    if (hi::Port* p = Current())
        p->pen = Point{v, h};
    Record({"moveTo", h, v});
}
void Move(short dh, short dv) {
    if (hi::Port* p = Current())
        MoveTo(static_cast<short>(p->pen.h + dh), static_cast<short>(p->pen.v + dv));
}
void LineTo(short h, short v) {
    if (hi::Port* p = Current())
        p->pen = Point{v, h};
    Record({"lineTo", h, v});
}
void Line(short dh, short dv) {
    if (hi::Port* p = Current())
        LineTo(static_cast<short>(p->pen.h + dh), static_cast<short>(p->pen.v + dv));
}
void GetPen(Point* pt) {
    if (pt)
        *pt = Current() ? Current()->pen : Point{0, 0};
}
void PenSize(short width, short height) { Record({"penSize", width, height}); }
void PenPat(const Pattern* pat) {
    if (pat == nullptr)
        return;
    hi::DrawCommand c;
    c.op = "penPat";
    c.pattern = *pat;
    Record(c);
}
void PenMode(short mode) { Record({"penMode", mode}); }
void PenNormal(void) { Record({"penNormal"}); }
void RGBForeColor(const RGBColor* color) {
    if (color)
        Record({"foreColor", color->red, color->green, color->blue});
}
void RGBBackColor(const RGBColor* color) {
    if (color)
        Record({"backColor", color->red, color->green, color->blue});
}
namespace {
bool ClassicColour(long color, RGBColor& out) {
    switch (color) {
    case whiteColor: out = {0xFFFF, 0xFFFF, 0xFFFF}; return true;
    case blackColor: out = {0, 0, 0}; return true;
    case yellowColor: out = {0xFC00, 0xF37D, 0x052F}; return true;
    case magentaColor: out = {0xF2D7, 0x0856, 0x84EC}; return true;
    case redColor: out = {0xDD6B, 0x08C2, 0x06A2}; return true;
    case cyanColor: out = {0x0241, 0xAB54, 0xEAFF}; return true;
    case greenColor: out = {0x0000, 0x8000, 0x11B0}; return true;
    case blueColor: out = {0x0000, 0x0000, 0xD400}; return true;
    default: return false;
    }
}
} // namespace

void ForeColor(long color) {
    RGBColor rgb;
    if (ClassicColour(color, rgb))
        RGBForeColor(&rgb);
}
void BackColor(long color) {
    RGBColor rgb;
    if (ClassicColour(color, rgb))
        RGBBackColor(&rgb);
}
void FillRect(const Rect* r, const Pattern* pat) {
    if (r == nullptr || pat == nullptr)
        return;
    hi::DrawCommand c;
    c.op = "fillRect";
    c.a = r->top, c.b = r->left, c.c = r->bottom, c.d = r->right;
    c.pattern = *pat;
    Record(c);
}
void FrameRect(const Rect* r) { RecordRect("frameRect", r); }
void PaintRect(const Rect* r) { RecordRect("paintRect", r); }
void EraseRect(const Rect* r) { RecordRect("eraseRect", r); }
void InvertRect(const Rect* r) { RecordRect("invertRect", r); }
void FrameOval(const Rect* r) { RecordRect("frameOval", r); }
void PaintOval(const Rect* r) { RecordRect("paintOval", r); }

Pattern* GetQDGlobalsBlack(Pattern* result) {
    if (result)
        *result = Fill(0xFF, 0xFF);
    return result;
}
Pattern* GetQDGlobalsWhite(Pattern* result) {
    if (result)
        *result = Fill(0x00, 0x00);
    return result;
}
Pattern* GetQDGlobalsGray(Pattern* result) {
    if (result)
        *result = Fill(0xAA, 0x55);
    return result;
}
Pattern* GetQDGlobalsLightGray(Pattern* result) {
    if (result)
        *result = Fill(0x88, 0x22);
    return result;
}
Pattern* GetQDGlobalsDarkGray(Pattern* result) {
    if (result)
        *result = Fill(0x77, 0xDD);
    return result;
}

void SetRect(Rect* r, short left, short top, short right, short bottom) {
    if (r)
        *r = Rect{top, left, bottom, right};
}
void OffsetRect(Rect* r, short dh, short dv) {
    if (r == nullptr)
        return;
    r->left = static_cast<short>(r->left + dh), r->right = static_cast<short>(r->right + dh);
    r->top = static_cast<short>(r->top + dv), r->bottom = static_cast<short>(r->bottom + dv);
}
void InsetRect(Rect* r, short dh, short dv) {
    if (r == nullptr)
        return;
    r->left = static_cast<short>(r->left + dh), r->right = static_cast<short>(r->right - dh);
    r->top = static_cast<short>(r->top + dv), r->bottom = static_cast<short>(r->bottom - dv);
}
Boolean PtInRect(Point pt, const Rect* r) {
    return r && pt.h >= r->left && pt.h < r->right && pt.v >= r->top && pt.v < r->bottom;
}
Boolean EmptyRect(const Rect* r) { return r == nullptr || r->bottom <= r->top || r->right <= r->left; }
void UnionRect(const Rect* a, const Rect* b, Rect* result) {
    if (!a || !b || !result)
        return;
    if (EmptyRect(a)) {
        *result = *b;
        return;
    }
    if (EmptyRect(b)) {
        *result = *a;
        return;
    }
    *result = Rect{std::min(a->top, b->top), std::min(a->left, b->left),
                   std::max(a->bottom, b->bottom), std::max(a->right, b->right)};
}

} // extern "C"
