// Deterministic theme text metrics (documented in Appearance.h).
#include "HIObjects.h"
#include <HIToolbox/Appearance.h>

#include <CoreFoundation/CFStringInternal.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
int Advance(int size) { return (6 * size + 5) / 10; }
int LineHeight(int size) { return size + (size + 3) / 4; }

/// Code points of UTF-16 units (a surrogate pair counts once).
std::vector<char16_t> Characters(CFStringRef s) {
    std::vector<char16_t> out;
    CFIndex n = s ? CFStringGetLength(s) : 0;
    std::u16string units(static_cast<size_t>(n), u'\0');
    if (n > 0)
        CFStringGetCharacters(s, CFRange{0, n}, reinterpret_cast<UniChar*>(units.data()));
    for (size_t i = 0; i < units.size(); ++i) {
        if (units[i] >= 0xDC00 && units[i] <= 0xDFFF && i > 0 && units[i - 1] >= 0xD800 &&
            units[i - 1] <= 0xDBFF)
            continue;
        out.push_back(units[i]);
    }
    return out;
}
} // namespace

extern "C" {

SInt16 HIThemeFontSize(ThemeFontID fontID) {
    switch (fontID) {
    case kThemeSmallSystemFont:
    case kThemeSmallEmphasizedSystemFont:
        return 11;
    case kThemeViewsFont:
    case kThemeApplicationFont:
        return 12;
    case kThemeLabelFont:
        return 10;
    case kThemeCurrentPortFont: {
        GrafPtr port = nullptr;
        GetPort(&port);
        SInt16 size = port ? GetPortTextSize(port) : 0;
        return size > 0 ? size : 12;
    }
    default:
        return 13;
    }
}

SInt16 HIThemeTextWidth(CFStringRef string, SInt16 size) {
    long width = static_cast<long>(Characters(string).size()) * Advance(std::max<int>(size, 1));
    return static_cast<SInt16>(std::min<long>(width, 32767));
}

OSStatus GetThemeTextDimensions(CFStringRef string, ThemeFontID fontID, ThemeDrawState,
                                Boolean wrapToWidth, Point* ioBounds, SInt16* outBaseline) {
    if (string == nullptr || ioBounds == nullptr)
        return paramErr;
    const int size = HIThemeFontSize(fontID);
    const int advance = Advance(size);
    const std::vector<char16_t> chars = Characters(string);
    long width = 0;
    long lines = 1;
    if (wrapToWidth && ioBounds->h > 0) {
        // Greedy word wrap: a word that does not fit on a line of its own is cut by character.
        const long limit = std::max<long>(ioBounds->h / advance, 1);
        long column = 0;
        size_t i = 0;
        while (i < chars.size()) {
            if (chars[i] == u'\n') {
                ++lines, column = 0, ++i;
                continue;
            }
            size_t end = i;
            while (end < chars.size() && chars[end] != u' ' && chars[end] != u'\n')
                ++end;
            long word = static_cast<long>(end - i);
            if (column > 0 && column + 1 + word > limit) {
                ++lines, column = 0;
            } else if (column > 0) {
                ++column; // the space before the word
            }
            while (word > limit) {
                width = std::max(width, limit * advance);
                ++lines, word -= limit;
            }
            column += word;
            width = std::max(width, column * advance);
            i = end;
            if (i < chars.size() && chars[i] == u' ')
                ++i;
        }
    } else {
        long column = 0;
        for (char16_t c : chars) {
            if (c == u'\n') {
                ++lines, column = 0;
                continue;
            }
            ++column;
            width = std::max(width, column * advance);
        }
    }
    ioBounds->h = static_cast<short>(std::min<long>(width, 32767));
    ioBounds->v = static_cast<short>(std::min<long>(lines * LineHeight(size), 32767));
    if (outBaseline)
        *outBaseline = static_cast<SInt16>(-((size + 3) / 4));
    return noErr;
}

} // extern "C"
