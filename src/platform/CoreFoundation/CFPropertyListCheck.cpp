//===- CFPropertyListCheck.cpp - Lexical checks before parsing ------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// libplist's XML reader recurses once per nesting level (a deep enough document overflows the
// stack), silently wraps integers that do not fit, and reads "010" as octal and "" as 0. This
// walk over the tags refuses such documents first, so that libplist only ever sees text whose
// tree is bounded and whose values it reads as the platform does. It checks; it does not
// build anything.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFPropertyListInternal.h>
#include <CoreFoundation/PMASCII.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pmcf {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Decimal without leading zeros, or 0x hexadecimal, optionally signed, within SInt64.
bool IntegerFits(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '0') {
        return false;
    }
    if (text.empty())
        return false;
    const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
    uint64_t value = 0;
    for (char c : text) {
        if (base == 10 ? !IsASCIIDigit(c) : !IsHexDigit(c))
            return false;
        uint64_t digit = uint64_t(HexDigitValue(c));
        if (value > (limit - digit) / uint64_t(base))
            return false;
        value = value * uint64_t(base) + digit;
    }
    return true;
}

bool RealIsFinite(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    if (text.empty() || (!IsASCIIDigit(text[0]) && text[0] != '-' && text[0] != '.'))
        return false; // from_chars would also take "inf" and "nan"
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

int TwoDigits(std::string_view s, size_t at) {
    return IsASCIIDigit(s[at]) && IsASCIIDigit(s[at + 1]) ? (s[at] - '0') * 10 + (s[at + 1] - '0') : -1;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// "YYYY-MM-DDTHH:MM:SSZ", a real date whose time libplist can hold.
bool DateIsValid(std::string_view text) {
    text = Trim(text);
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z')
        return false;
    for (size_t i : {0, 1, 2, 3})
        if (!IsASCIIDigit(text[i]))
            return false;
    int year = (text[0] - '0') * 1000 + (text[1] - '0') * 100 + TwoDigits(text, 2);
    int month = TwoDigits(text, 5), day = TwoDigits(text, 8);
    int hour = TwoDigits(text, 11), minute = TwoDigits(text, 14), second = TwoDigits(text, 17);
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1] || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap)
        return false;
    double seconds = double(DaysFromCivil(year, month, day)) * 86400 + hour * 3600 + minute * 60 +
                     second - 978307200.0;
    return DateFitsPropertyList(seconds);
}

bool Base64IsValid(std::string_view text) {
    for (char c : text)
        if (!(IsSpace(c) || IsASCIIDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
              c == '+' || c == '/' || c == '='))
            return false;
    return true;
}

enum class Kind { Plist, Array, Dict, Key, String, Integer, Real, Date, Data, True, False };

bool KindOf(std::string_view name, Kind& kind) {
    static const struct {
        const char* name;
        Kind kind;
    } kNames[] = {{"plist", Kind::Plist}, {"array", Kind::Array},   {"dict", Kind::Dict},
                  {"key", Kind::Key},     {"string", Kind::String}, {"integer", Kind::Integer},
                  {"real", Kind::Real},   {"date", Kind::Date},     {"data", Kind::Data},
                  {"true", Kind::True},   {"false", Kind::False}};
    for (const auto& entry : kNames) {
        if (name == entry.name) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

/// One open element: its kind, where its text starts and, for a dictionary, whether a key or
/// a value comes next.
struct Open {
    Kind kind;
    size_t textStart;
    bool expectKey;
};

class Checker {
public:
    Checker(std::string_view xml, std::string& error) : xml_(xml), error_(error) {}

    bool run() {
        size_t i = 0;
        while (i < xml_.size()) {
            size_t lt = xml_.find('<', i);
            if (lt == xml_.npos)
                break;
            if (!markup(lt, i))
                return false;
        }
        if (!stack_.empty())
            return fail("the document ends inside an element");
        return true;
    }

private:
    bool fail(const char* reason) {
        error_ = reason;
        return false;
    }

    // Skips a comment, CDATA section, processing instruction or declaration, or checks a tag;
    // `next` receives the position after it.
    bool markup(size_t lt, size_t& next) {
        std::string_view rest = xml_.substr(lt);
        if (rest.substr(0, 4) == "<!--")
            return skipTo(lt + 4, "-->", next);
        if (rest.substr(0, 9) == "<![CDATA[") {
            if (stack_.empty() ||
                (stack_.back().kind != Kind::String && stack_.back().kind != Kind::Key))
                return fail("character data outside a string");
            return skipTo(lt + 9, "]]>", next);
        }
        if (rest.substr(0, 2) == "<?")
            return skipTo(lt + 2, "?>", next);
        if (rest.substr(0, 2) == "<!")
            return declaration(lt + 2, next);
        size_t gt = xml_.find('>', lt);
        if (gt == xml_.npos)
            return fail("unterminated tag");
        next = gt + 1;
        return tag(xml_.substr(lt + 1, gt - lt - 1), lt, gt + 1);
    }

    bool skipTo(size_t from, const char* end, size_t& next) {
        size_t at = xml_.find(end, from);
        if (at == xml_.npos)
            return fail("unterminated markup");
        next = at + std::string_view(end).size();
        return true;
    }

    // <!DOCTYPE ...>, possibly with an internal subset in brackets.
    bool declaration(size_t from, size_t& next) {
        int brackets = 0;
        for (size_t i = from; i < xml_.size(); ++i) {
            if (xml_[i] == '[')
                ++brackets;
            else if (xml_[i] == ']')
                --brackets;
            else if (xml_[i] == '>' && brackets <= 0) {
                next = i + 1;
                return true;
            }
        }
        return fail("unterminated declaration");
    }

    // The text between '<' and '>' of a start, end or empty-element tag at `lt`.
    bool tag(std::string_view inside, size_t lt, size_t after) {
        // "</>" is both at once: take the leading slash first and look for a trailing one only
        // in what is left, so that nothing is cut from an empty view.
        bool closing = !inside.empty() && inside[0] == '/';
        if (closing)
            inside.remove_prefix(1);
        bool empty = !closing && !inside.empty() && inside.back() == '/';
        if (empty)
            inside.remove_suffix(1);
        size_t nameEnd = 0;
        while (nameEnd < inside.size() && !IsSpace(inside[nameEnd]))
            ++nameEnd;
        Kind kind;
        if (!KindOf(inside.substr(0, nameEnd), kind))
            return fail("unknown element");
        if (closing) {
            if (stack_.empty() || stack_.back().kind != kind)
                return fail("mismatched end tag");
            Open element = stack_.back();
            stack_.pop_back();
            return finish(element, xml_.substr(element.textStart, lt - element.textStart));
        }
        if (!open(kind))
            return false;
        Open element{kind, after, true};
        if (empty)
            return finish(element, std::string_view());
        stack_.push_back(element);
        return true;
    }

    bool open(Kind kind) {
        if (++elements_ > kPMCFPropertyListMaxElements)
            return fail("too many elements");
        if (kind == Kind::Array || kind == Kind::Dict) {
            if (++depth_ > kPMCFPropertyListMaxDepth)
                return fail("containers nested too deeply");
        }
        if (stack_.empty())
            return true;
        Open& parent = stack_.back();
        if (kind == Kind::Plist)
            return fail("nested plist element");
        if (parent.kind == Kind::Dict) {
            if (parent.expectKey != (kind == Kind::Key))
                return fail(parent.expectKey ? "dictionary value without a key"
                                             : "dictionary key without a value");
            parent.expectKey = !parent.expectKey;
            return true;
        }
        if (parent.kind != Kind::Array && parent.kind != Kind::Plist)
            return fail("element inside a value");
        return kind != Kind::Key || fail("key outside a dictionary");
    }

    // Checks an element that has just ended, given the text it held.
    bool finish(const Open& element, std::string_view text) {
        switch (element.kind) {
        case Kind::Dict:
            --depth_;
            return element.expectKey || fail("dictionary key without a value");
        case Kind::Array:
            --depth_;
            return true;
        case Kind::Integer:
            return IntegerFits(text) || fail("integer out of range or malformed");
        case Kind::Real:
            return RealIsFinite(text) || fail("real number out of range or malformed");
        case Kind::Date:
            return DateIsValid(text) || fail("date out of range or malformed");
        case Kind::Data:
            return Base64IsValid(text) || fail("data is not base64");
        case Kind::True:
        case Kind::False:
            return Trim(text).empty() || fail("boolean with content");
        default:
            return true;
        }
    }

    std::string_view xml_;
    std::string& error_;
    std::vector<Open> stack_;
    long elements_ = 0;
    int depth_ = 0;
};

} // namespace

bool DateFitsPropertyList(double absoluteTime) {
    return absoluteTime >= double(INT32_MIN) && absoluteTime < double(INT32_MAX) + 1.0;
}

bool CheckPropertyListText(std::string_view xml, std::string& error) {
    if (xml.size() > size_t(kPMCFPropertyListMaxBytes)) {
        error = "property list too large";
        return false;
    }
    return Checker(xml, error).run();
}

} // namespace pmcf
