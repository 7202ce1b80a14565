//===- CFStringSearch.cpp - Comparing, searching and splitting strings ----===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>

#include <unicode/uchar.h>
#include <unicode/utf16.h>

using pmcf::Cast;

namespace {

// The code point at units[i] (a surrogate pair read whole, a lone surrogate as itself), and
// how many units it takes.
UChar32 CodePointAt(std::u16string_view units, size_t i, size_t& width) {
    UChar32 c = units[i];
    width = 1;
    if (U16_IS_LEAD(c) && i + 1 < units.size() && U16_IS_TRAIL(units[i + 1])) {
        c = U16_GET_SUPPLEMENTARY(c, units[i + 1]);
        width = 2;
    }
    return c;
}

// Unicode's simple case folding (one code point to one), from ICU rather than tables of our
// own, so that every script folds as Unicode says.
UChar32 Fold(UChar32 c) {
    return u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

bool IsDigit(char16_t c) {
    return c >= '0' && c <= '9';
}

// Compares the digit runs starting at a[i] and b[j] by value and moves past them.
int CompareNumbers(std::u16string_view a, size_t& i, std::u16string_view b, size_t& j) {
    while (i + 1 < a.size() && a[i] == '0' && IsDigit(a[i + 1]))
        ++i;
    while (j + 1 < b.size() && b[j] == '0' && IsDigit(b[j + 1]))
        ++j;
    size_t endA = i, endB = j;
    while (endA < a.size() && IsDigit(a[endA]))
        ++endA;
    while (endB < b.size() && IsDigit(b[endB]))
        ++endB;
    int result = 0;
    if (endA - i != endB - j)
        result = endA - i < endB - j ? -1 : 1;
    for (size_t k = 0; result == 0 && k < endA - i; ++k)
        if (a[i + k] != b[j + k])
            result = a[i + k] < b[j + k] ? -1 : 1;
    i = endA;
    j = endB;
    return result;
}

CFComparisonResult Compare(std::u16string_view a, std::u16string_view b,
                           CFStringCompareFlags options) {
    bool fold = options & kCFCompareCaseInsensitive;
    bool numeric = options & kCFCompareNumerically;
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (numeric && IsDigit(a[i]) && IsDigit(b[j])) {
            int result = CompareNumbers(a, i, b, j);
            if (result != 0)
                return result;
            continue;
        }
        size_t widthA = 1, widthB = 1;
        UChar32 x = fold ? Fold(CodePointAt(a, i, widthA)) : a[i];
        UChar32 y = fold ? Fold(CodePointAt(b, j, widthB)) : b[j];
        if (x != y)
            return x < y ? kCFCompareLessThan : kCFCompareGreaterThan;
        i += widthA;
        j += widthB;
    }
    if (i < a.size())
        return kCFCompareGreaterThan;
    return j < b.size() ? kCFCompareLessThan : kCFCompareEqualTo;
}

// Whether `pattern` stands at text[at], unit for unit or, folded, code point for code point
// (simple folding keeps a code point within its plane, so both take the same units).
bool MatchesAt(std::u16string_view text, size_t at, std::u16string_view pattern, bool fold) {
    size_t k = 0;
    while (k < pattern.size()) {
        if (!fold) {
            if (text[at + k] != pattern[k])
                return false;
            ++k;
            continue;
        }
        size_t widthText = 1, widthPattern = 1;
        std::u16string_view rest = text.substr(at, pattern.size());
        UChar32 x = Fold(CodePointAt(rest, k, widthText));
        UChar32 y = Fold(CodePointAt(pattern, k, widthPattern));
        if (x != y || widthText != widthPattern)
            return false;
        k += widthPattern;
    }
    return true;
}

} // namespace

extern "C" {

CFComparisonResult CFStringCompareWithOptions(CFStringRef theString1, CFStringRef theString2,
                                              CFRange rangeToCompare,
                                              CFStringCompareFlags compareOptions) {
    std::u16string_view a = pmcf::Units(theString1);
    if (!pmcf::RangeIsValid(rangeToCompare, static_cast<CFIndex>(a.size())))
        return kCFCompareLessThan;
    a = a.substr(rangeToCompare.location, rangeToCompare.length);
    return Compare(a, pmcf::Units(theString2), compareOptions);
}

CFComparisonResult CFStringCompare(CFStringRef theString1, CFStringRef theString2,
                                   CFStringCompareFlags compareOptions) {
    if (theString1 == nullptr || theString2 == nullptr)
        return theString1 == theString2 ? kCFCompareEqualTo
               : theString1 == nullptr  ? kCFCompareLessThan
                                        : kCFCompareGreaterThan;
    return Compare(pmcf::Units(theString1), pmcf::Units(theString2), compareOptions);
}

Boolean CFStringFindWithOptions(CFStringRef theString, CFStringRef stringToFind,
                                CFRange rangeToSearch, CFStringCompareFlags searchOptions,
                                CFRange* result) {
    std::u16string_view text = pmcf::Units(theString);
    std::u16string_view pattern = pmcf::Units(stringToFind);
    if (pattern.empty() || !pmcf::RangeIsValid(rangeToSearch, static_cast<CFIndex>(text.size())) ||
        pattern.size() > static_cast<size_t>(rangeToSearch.length))
        return false;
    bool fold = searchOptions & kCFCompareCaseInsensitive;
    bool backwards = searchOptions & kCFCompareBackwards;
    bool anchored = searchOptions & kCFCompareAnchored;
    size_t first = rangeToSearch.location;
    size_t last = first + rangeToSearch.length - pattern.size();
    size_t count = anchored ? 1 : last - first + 1;
    for (size_t n = 0; n < count; ++n) {
        size_t at = backwards ? last - n : first + n;
        if (MatchesAt(text, at, pattern, fold)) {
            if (result)
                *result = CFRangeMake(static_cast<CFIndex>(at), CFIndex(pattern.size()));
            return true;
        }
    }
    return false;
}

CFRange CFStringFind(CFStringRef theString, CFStringRef stringToFind,
                     CFStringCompareFlags compareOptions) {
    CFRange found = CFRangeMake(kCFNotFound, 0);
    CFRange all = CFRangeMake(0, CFStringGetLength(theString));
    CFStringFindWithOptions(theString, stringToFind, all, compareOptions, &found);
    return found;
}

Boolean CFStringHasPrefix(CFStringRef theString, CFStringRef prefix) {
    CFRange all = CFRangeMake(0, CFStringGetLength(theString));
    return CFStringFindWithOptions(theString, prefix, all, kCFCompareAnchored, nullptr);
}

Boolean CFStringHasSuffix(CFStringRef theString, CFStringRef suffix) {
    CFRange all = CFRangeMake(0, CFStringGetLength(theString));
    return CFStringFindWithOptions(theString, suffix, all, kCFCompareAnchored | kCFCompareBackwards,
                                   nullptr);
}

CFArrayRef CFStringCreateArrayBySeparatingStrings(CFAllocatorRef, CFStringRef theString,
                                                  CFStringRef separatorString) {
    if (Cast<__CFString>(theString) == nullptr)
        return nullptr;
    std::u16string_view text = pmcf::Units(theString);
    std::u16string_view separator = pmcf::Units(separatorString);
    CFMutableArrayRef pieces = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    size_t start = 0;
    for (;;) {
        size_t end = separator.empty() ? std::u16string_view::npos : text.find(separator, start);
        CFStringRef piece = pmcf::CreateString(std::u16string(text.substr(start, end - start)));
        CFArrayAppendValue(pieces, piece);
        CFRelease(piece);
        if (end == std::u16string_view::npos)
            break;
        start = end + separator.size();
    }
    return pieces;
}

} // extern "C"
