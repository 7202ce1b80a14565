//===- CFStringFormat.cpp - printf-style formatting with %@ ---------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// Formatting runs in two passes: the conversions are parsed first, so that the type of every
// argument is known (positional arguments such as %2$@ may come in any order), then the
// arguments are fetched in order and each conversion is rendered. Format strings may come from
// localised resources, so nothing in them can make us read an argument of the wrong type,
// write through %n, or allocate without bound.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace {

constexpr int kMaxArguments = 64;
constexpr int kMaxWidth = 4096; // bound for widths and numeric precisions

enum class Kind : unsigned char {
    None,
    Int,
    UInt,
    Long,
    ULong,
    LongLong,
    ULongLong,
    SSize,
    Size,
    PtrDiff,
    IntMax,
    UIntMax,
    Double,
    LongDouble,
    Pointer
};

struct Value {
    Kind kind = Kind::None;
    long long i = 0;
    unsigned long long u = 0;
    double d = 0;
    long double ld = 0;
    const void* p = nullptr;
};

struct Directive {
    size_t begin = 0, end = 0; // the conversion's units in the format
    char conversion = 0;
    char length = 0; // 0, 'H' (hh), 'h', 'l', 'q' (ll), 'L', 'z', 't', 'j'
    std::string flags;
    int width = -1, widthArg = -1;
    int precision = -1, precisionArg = -1;
    int arg = -1;
};

bool IsDigit(char16_t c) {
    return c >= '0' && c <= '9';
}

bool IsOneOf(char16_t c, const char* set) {
    return c != 0 && c < 0x80 && std::strchr(set, static_cast<char>(c)) != nullptr;
}

// Reads a decimal number at f[i]; values past kMaxWidth are clamped.
int ReadNumber(std::u16string_view f, size_t& i) {
    int n = 0;
    for (; i < f.size() && IsDigit(f[i]); ++i)
        n = n > kMaxWidth ? n : n * 10 + (f[i] - '0');
    return n;
}

// Reads "n$" at f[i] if present: a 1-based position, returned 0-based; -1 otherwise.
int ReadPosition(std::u16string_view f, size_t& i) {
    size_t j = i;
    int n = ReadNumber(f, j);
    if (j == i || j >= f.size() || f[j] != '$' || n < 1 || n > kMaxArguments)
        return -1;
    i = j + 1;
    return n - 1;
}

// Reads the width or precision "*" forms; `value` gets a literal number.
void ReadStar(std::u16string_view f, size_t& i, int& value, int& arg, int& next) {
    if (i < f.size() && f[i] == '*') {
        ++i;
        int position = ReadPosition(f, i);
        arg = position >= 0 ? position : next++;
    } else {
        value = ReadNumber(f, i);
    }
}

Kind KindOf(const Directive& s) {
    static const char* const kSigned = "di";
    static const char* const kUnsigned = "ouxX";
    char c = s.conversion;
    if (std::strchr(kSigned, c) || std::strchr(kUnsigned, c)) {
        bool u = std::strchr(kUnsigned, c) != nullptr;
        switch (s.length) {
        case 'l':
            return u ? Kind::ULong : Kind::Long;
        case 'q':
        case 'L':
            return u ? Kind::ULongLong : Kind::LongLong;
        case 'z':
            return u ? Kind::Size : Kind::SSize;
        case 't':
            return Kind::PtrDiff;
        case 'j':
            return u ? Kind::UIntMax : Kind::IntMax;
        default:
            return u ? Kind::UInt : Kind::Int;
        }
    }
    if (std::strchr("eEfFgGaA", c))
        return s.length == 'L' ? Kind::LongDouble : Kind::Double;
    if (c == 'c' || c == 'C')
        return Kind::Int;
    return Kind::Pointer; // s S p @ n
}

// Parses the conversion at f[i] == '%'. False for anything malformed or unknown.
bool Parse(std::u16string_view f, size_t& i, Directive& s, int& next) {
    s.begin = i++;
    s.arg = ReadPosition(f, i);
    while (i < f.size() && IsOneOf(f[i], "-+ #0'"))
        s.flags.push_back(static_cast<char>(f[i++]));
    ReadStar(f, i, s.width, s.widthArg, next);
    if (i < f.size() && f[i] == '.') {
        ++i;
        s.precision = 0;
        ReadStar(f, i, s.precision, s.precisionArg, next);
    }
    if (f.substr(i, 2) == u"hh" || f.substr(i, 2) == u"ll") {
        s.length = f[i] == 'h' ? 'H' : 'q';
        i += 2;
    } else if (i < f.size() && IsOneOf(f[i], "hlqLztj")) {
        s.length = static_cast<char>(f[i++]);
    }
    if (i >= f.size() || !IsOneOf(f[i], "diouxXeEfFgGaAcCsSp@n%"))
        return false;
    s.conversion = static_cast<char>(f[i++]);
    s.end = i;
    if (s.conversion != '%' && s.arg < 0)
        s.arg = next++;
    return s.arg < kMaxArguments && s.widthArg < kMaxArguments && s.precisionArg < kMaxArguments;
}

// Records that argument `arg` has type `kind`; false when it already has another.
bool Claim(std::vector<Kind>& kinds, int arg, Kind kind) {
    if (arg < 0)
        return true;
    if (kinds[arg] != Kind::None && kinds[arg] != kind)
        return false;
    kinds[arg] = kind;
    return true;
}

void Fetch(Value& v, va_list& ap) {
    switch (v.kind) {
    case Kind::Int:
        v.i = va_arg(ap, int);
        break;
    case Kind::UInt:
        v.u = va_arg(ap, unsigned);
        break;
    case Kind::Long:
        v.i = va_arg(ap, long);
        break;
    case Kind::ULong:
        v.u = va_arg(ap, unsigned long);
        break;
    case Kind::LongLong:
        v.i = va_arg(ap, long long);
        break;
    case Kind::ULongLong:
        v.u = va_arg(ap, unsigned long long);
        break;
    case Kind::SSize:
        v.i = va_arg(ap, std::make_signed_t<size_t>);
        break;
    case Kind::Size:
        v.u = va_arg(ap, size_t);
        break;
    case Kind::PtrDiff:
        v.i = va_arg(ap, ptrdiff_t);
        break;
    case Kind::IntMax:
        v.i = va_arg(ap, intmax_t);
        break;
    case Kind::UIntMax:
        v.u = va_arg(ap, uintmax_t);
        break;
    case Kind::Double:
        v.d = va_arg(ap, double);
        break;
    case Kind::LongDouble:
        v.ld = va_arg(ap, long double);
        break;
    case Kind::Pointer:
        v.p = va_arg(ap, const void*);
        break;
    case Kind::None:
        break;
    }
}

locale_t CLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

// snprintf in the "C" locale, so that numbers always use '.'.
template <class T> std::string Print(const std::string& format, T value) {
    locale_t c = CLocale();
    locale_t previous = c ? uselocale(c) : nullptr;
    std::string text(64, '\0');
    int n = std::snprintf(&text[0], text.size(), format.c_str(), value);
    if (n >= static_cast<int>(text.size())) {
        text.resize(static_cast<size_t>(n) + 1);
        n = std::snprintf(&text[0], text.size(), format.c_str(), value);
    }
    if (previous)
        uselocale(previous);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

std::string Number(const Directive& s, const Value& v, int width, int precision, bool left) {
    std::string format = "%";
    for (char flag : s.flags)
        if (flag != '\'' && flag != '-')
            format.push_back(flag);
    if (left)
        format.push_back('-');
    if (width >= 0)
        format += std::to_string(width);
    if (precision >= 0)
        format += "." + std::to_string(precision);
    switch (v.kind) {
    case Kind::Double:
        return Print(format + s.conversion, v.d);
    case Kind::LongDouble:
        return Print(format + "L" + s.conversion, v.ld);
    default:
        break;
    }
    format += "ll";
    format.push_back(s.conversion);
    bool isUnsigned = std::strchr("ouxX", s.conversion) != nullptr;
    // Narrow to the argument's declared size before printing, as printf's hh and h do.
    if (isUnsigned) {
        unsigned long long u = v.kind == Kind::PtrDiff ? v.i : v.u; // %tu is fetched signed
        if (s.length == 'H')
            u = static_cast<unsigned char>(u);
        else if (s.length == 'h')
            u = static_cast<unsigned short>(u);
        return Print(format, u);
    }
    long long i = v.i;
    if (s.length == 'H')
        i = static_cast<signed char>(i);
    else if (s.length == 'h')
        i = static_cast<short>(i);
    return Print(format, i);
}

void Pad(std::u16string& out, std::u16string text, int width, bool left) {
    if (width > 0 && text.size() < static_cast<size_t>(width))
        text.insert(left ? text.size() : 0, static_cast<size_t>(width) - text.size(), u' ');
    out += text;
}

void Render(const Directive& s, const std::vector<Value>& values, std::u16string& out) {
    int width = s.widthArg >= 0 ? static_cast<int>(values[s.widthArg].i) : s.width;
    int precision = s.precisionArg >= 0 ? static_cast<int>(values[s.precisionArg].i) : s.precision;
    bool left = s.flags.find('-') != std::string::npos;
    if (width < 0 && s.widthArg >= 0) {
        left = true;
        width = width == INT32_MIN ? kMaxWidth : -width;
    }
    if (width > kMaxWidth)
        width = kMaxWidth;
    if (precision < -1)
        precision = -1;
    const Value none;
    const Value& v = s.arg >= 0 ? values[s.arg] : none;
    std::u16string text;
    switch (s.conversion) {
    case '%':
        out.push_back(u'%');
        return;
    case 'n':
        return;
    case 'c': {
        char byte = static_cast<char>(v.i);
        text = byte ? pmcf::DecodeCString(std::string_view(&byte, 1)) : u"";
        break;
    }
    case 'C':
        text.assign(1, static_cast<char16_t>(v.i));
        break;
    case 's':
        if (v.p == nullptr) {
            text = u"(null)";
        } else {
            const char* p = static_cast<const char*>(v.p);
            size_t n = precision >= 0 ? strnlen(p, precision) : std::strlen(p);
            text = pmcf::DecodeCString(std::string_view(p, n));
        }
        break;
    case 'S':
        if (v.p == nullptr) {
            text = u"(null)";
        } else {
            const UniChar* p = static_cast<const UniChar*>(v.p);
            for (size_t k = 0; (precision < 0 || k < size_t(precision)) && p[k] != 0; ++k)
                text.push_back(p[k]);
        }
        break;
    case '@':
        text = v.p ? static_cast<const pmcf::Object*>(v.p)->describe() : u"(null)";
        if (precision >= 0 && text.size() > static_cast<size_t>(precision))
            text.resize(precision);
        break;
    case 'p':
        text = pmcf::Widen(Print("%p", v.p));
        break;
    default:
        // Numbers take width, precision and flags through printf itself.
        out +=
            pmcf::Widen(Number(s, v, width, precision > kMaxWidth ? kMaxWidth : precision, left));
        return;
    }
    Pad(out, std::move(text), width, left);
}

} // namespace

namespace pmcf {

void AppendFormat(std::u16string& out, std::u16string_view format, va_list arguments) {
    std::vector<Directive> directives;
    std::vector<Kind> kinds(kMaxArguments, Kind::None);
    int next = 0;
    for (size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            ++i;
            continue;
        }
        // A conversion that cannot be used ends the parsing; the rest is copied as it is.
        Directive s;
        if (!Parse(format, i, s, next))
            break;
        Kind kind = s.conversion == '%' ? Kind::None : KindOf(s);
        if (!Claim(kinds, s.arg, kind) || !Claim(kinds, s.widthArg, Kind::Int) ||
            !Claim(kinds, s.precisionArg, Kind::Int))
            break;
        directives.push_back(s);
    }

    // Arguments can only be fetched up to the first one whose type is unknown.
    int available = 0;
    while (available < kMaxArguments && kinds[available] != Kind::None)
        ++available;
    std::vector<Value> values(available);
    va_list ap;
    va_copy(ap, arguments);
    for (int k = 0; k < available; ++k) {
        values[k].kind = kinds[k];
        Fetch(values[k], ap);
    }
    va_end(ap);

    size_t at = 0;
    for (const Directive& s : directives) {
        if (s.arg >= available || s.widthArg >= available || s.precisionArg >= available)
            break;
        out.append(format.substr(at, s.begin - at));
        Render(s, values, out);
        at = s.end;
    }
    out.append(format.substr(at));
}

} // namespace pmcf

extern "C" {

CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef, CFDictionaryRef,
                                                 CFStringRef format, va_list arguments) {
    if (pmcf::Cast<__CFString>(format) == nullptr)
        return nullptr;
    std::u16string out;
    pmcf::AppendFormat(out, pmcf::Units(format), arguments);
    return pmcf::CreateString(std::move(out));
}

CFStringRef CFStringCreateWithFormat(CFAllocatorRef alloc, CFDictionaryRef formatOptions,
                                     CFStringRef format, ...) {
    va_list arguments;
    va_start(arguments, format);
    CFStringRef result =
        CFStringCreateWithFormatAndArguments(alloc, formatOptions, format, arguments);
    va_end(arguments);
    return result;
}

void CFStringAppendFormatAndArguments(CFMutableStringRef theString, CFDictionaryRef,
                                      CFStringRef format, va_list arguments) {
    __CFString* s = pmcf::MutableString(theString);
    if (s == nullptr || pmcf::Cast<__CFString>(format) == nullptr)
        return;
    std::u16string more;
    pmcf::AppendFormat(more, pmcf::Units(format), arguments);
    if (s->canHold(s->units.size() + more.size()))
        s->units += more;
}

void CFStringAppendFormat(CFMutableStringRef theString, CFDictionaryRef formatOptions,
                          CFStringRef format, ...) {
    va_list arguments;
    va_start(arguments, format);
    CFStringAppendFormatAndArguments(theString, formatOptions, format, arguments);
    va_end(arguments);
}

} // extern "C"
