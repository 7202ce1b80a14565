#pragma once
/// QuickDraw's ports, text settings and pen, as far as controls and user panes use them.
///
/// Every window has one port. The current port is process-wide (main thread only). Text
/// settings (font, size, face) are kept by the port for text measurement. Pen and drawing calls
/// made while a user pane's draw procedure runs are recorded as drawing commands of that pane
/// (the back ends replay them); made at any other time they only move the pen. Coordinates are
/// the window's (local) coordinates.

#include <CarbonCore/MacTypes.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueGrafPtr* GrafPtr;
typedef GrafPtr CGrafPtr;
typedef struct OpaqueWindowPtr* WindowRef;

/// 16-bit-per-channel colour.
typedef struct RGBColor {
    UInt16 red;
    UInt16 green;
    UInt16 blue;
} RGBColor;

/// An 8-by-8 pen pattern, one byte per row (bit 7 is the leftmost pixel).
typedef struct Pattern {
    UInt8 pat[8];
} Pattern;

/// Text faces (combinable).
typedef unsigned char Style;
enum { normal = 0, bold = 1, italic = 2, underline = 4, outline = 8, shadow = 0x10,
       condense = 0x20, extend = 0x40 };

/// The system font's number and the application font's.
enum { systemFont = 0, applFont = 1 };

/// Transfer modes of the pen.
enum { patCopy = 8, patOr = 9, patXor = 10, patBic = 11, notPatCopy = 12 };

/// The current port (NULL before any window exists).
void GetPort(GrafPtr* port);
/// Makes `port` current (NULL is allowed).
void SetPort(GrafPtr port);
/// The window's port.
CGrafPtr GetWindowPort(WindowRef window);
/// Makes the window's port current.
void SetPortWindowPort(WindowRef window);
/// The window that owns `port`, or NULL.
WindowRef GetWindowFromPort(CGrafPtr port);
/// The port's bounds: its window's content (0, 0, height, width).
Rect* GetPortBounds(CGrafPtr port, Rect* rect);

/// Text settings of the current port.
void TextFont(short font);
void TextSize(short size);
void TextFace(short face);
short GetPortTextFont(CGrafPtr port);
short GetPortTextSize(CGrafPtr port);
Style GetPortTextFace(CGrafPtr port);

/// Pen of the current port (recorded inside a user pane's draw procedure).
void MoveTo(short h, short v);
void Move(short dh, short dv);
void LineTo(short h, short v);
void Line(short dh, short dv);
void PenSize(short width, short height);
void PenPat(const Pattern* pat);
void PenMode(short mode);
void PenNormal(void);
void RGBForeColor(const RGBColor* color);
void RGBBackColor(const RGBColor* color);
/// The classic eight colours (blackColor 33, whiteColor 30, redColor 205, greenColor 341,
/// blueColor 409, cyanColor 273, magentaColor 137, yellowColor 69), recorded as RGB colours.
enum { whiteColor = 30, blackColor = 33, yellowColor = 69, magentaColor = 137, redColor = 205,
       cyanColor = 273, greenColor = 341, blueColor = 409 };
void ForeColor(long color);
void BackColor(long color);
/// Fills with `pat` (in the fore colour) without changing the pen.
void FillRect(const Rect* r, const Pattern* pat);
void FrameRect(const Rect* r);
void PaintRect(const Rect* r);
void EraseRect(const Rect* r);
void InvertRect(const Rect* r);
void FrameOval(const Rect* r);
void PaintOval(const Rect* r);
/// The pen's location in the current port.
void GetPen(Point* pt);

/// The standard patterns.
Pattern* GetQDGlobalsBlack(Pattern* result);
Pattern* GetQDGlobalsWhite(Pattern* result);
Pattern* GetQDGlobalsGray(Pattern* result);
Pattern* GetQDGlobalsLightGray(Pattern* result);
Pattern* GetQDGlobalsDarkGray(Pattern* result);

/// Rectangle helpers.
void SetRect(Rect* r, short left, short top, short right, short bottom);
void OffsetRect(Rect* r, short dh, short dv);
void InsetRect(Rect* r, short dh, short dv);
Boolean PtInRect(Point pt, const Rect* r);
void UnionRect(const Rect* a, const Rect* b, Rect* result);
Boolean EmptyRect(const Rect* r);

#ifdef __cplusplus
}
#endif
