#pragma once
/// Theme fonts and text measurement.
///
/// Both back ends measure with the same deterministic metrics, so that layouts computed in tests
/// are the ones a person sees (the GTK back end draws its text within these boxes):
/// - a font of size S advances every character (Unicode code point) by (6 * S + 5) / 10 pixels
///   (integer division): 8 at size 13, 7 at 11 and 12, 6 at 10;
/// - a line is S + (S + 3) / 4 pixels high, the baseline (S + 3) / 4 above the bottom (returned
///   negative, as the platform does);
/// - the system font is size 13, the small system font 11, the views font 12; the current port
///   font is the current port's size (12 when it has none).

#include <CoreFoundation/CFString.h>
#include <HIToolbox/QuickDraw.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef UInt16 ThemeFontID;
enum {
    kThemeSystemFont = 0,
    kThemeSmallSystemFont = 1,
    kThemeSmallEmphasizedSystemFont = 2,
    kThemeViewsFont = 3,
    kThemeEmphasizedSystemFont = 4,
    kThemeApplicationFont = 5,
    kThemeLabelFont = 6,
    kThemeCurrentPortFont = 200,
};

typedef UInt32 ThemeDrawState;
enum { kThemeStateInactive = 0, kThemeStateActive = 1, kThemeStatePressed = 2 };

/// Measures `string` in `fontID`: ioBounds.h = width, ioBounds.v = height. With wrapToWidth the
/// text is wrapped at word boundaries to the width given in ioBounds.h (lines then counted).
/// outBaseline (may be NULL) receives the negative descent. paramErr for NULL arguments.
OSStatus GetThemeTextDimensions(CFStringRef string, ThemeFontID fontID, ThemeDrawState state,
                                Boolean wrapToWidth, Point* ioBounds, SInt16* outBaseline);
/// The font size of a theme font (see above); the current port's size for kThemeCurrentPortFont.
SInt16 HIThemeFontSize(ThemeFontID fontID);
/// Width in pixels of `string` (UTF-16 units, surrogate pairs counted once) at font `size`.
SInt16 HIThemeTextWidth(CFStringRef string, SInt16 size);

#ifdef __cplusplus
}
#endif
