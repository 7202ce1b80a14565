//===- JsonEvents.cpp - A strict JSON reader that only reports events -----===//
#include "JsonEvents.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace tovrane {

namespace {


/// Bytes a string may hold as they are: printable ASCII and DEL, but no quote or backslash.
struct PlainTable {
    bool plain[256] = {};
    constexpr PlainTable() {
        for (int c = 0x20; c < 0x80; ++c)
            plain[c] = c != '"' && c != '\\';
    }
};
constexpr PlainTable kPlain;

/// The "C" locale, so that a number's decimal point reads the same whatever the process's
/// locale is (the library swaps in the locale's point for the same reason). Made once and
/// kept for the process's life.
locale_t CLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class Reader {
public:
    Reader(std::string_view text, JsonEventReceiver& events)
        : p_(reinterpret_cast<const unsigned char*>(text.data())), end_(p_ + text.size()),
          events_(events) {}

    bool Run() {
        if (p_ < end_ && *p_ == 0xEF) {
            if (end_ - p_ < 3 || p_[1] != 0xBB || p_[2] != 0xBF)
                return false;
            p_ += 3;
        }
        for (;;) {
            Step step = Value();
            if (step == Step::Fault)
                return false;
            if (step == Step::Opened)
                continue; // the container's first value comes next
            // Close what the value ended, then find the next value or the end.
            for (;;) {
                SkipSpace();
                if (open_.empty())
                    return p_ == end_ || *p_ == '\0';
                if (p_ == end_)
                    return false;
                if (*p_ == ',') {
                    ++p_;
                    if (open_.back() == kObject && !Key())
                        return false;
                    break;
                }
                if (*p_ != (open_.back() == kArray ? ']' : '}'))
                    return false;
                ++p_;
                bool array = open_.back() == kArray;
                open_.pop_back();
                if (!(array ? events_.EndArray() : events_.EndObject()))
                    return false;
            }
        }
    }

private:
    void SkipSpace() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t'))
            ++p_;
    }

    /// What reading one value did.
    enum class Step { Fault, Done, Opened };
    static Step Check(bool ok) { return ok ? Step::Done : Step::Fault; }

    /// One value. A non-empty container is only opened (an object's first key read too) and
    /// left for Run to fill, so that nesting never recurses.
    Step Value() {
        SkipSpace();
        if (p_ == end_)
            return Step::Fault;
        switch (*p_) {
        case '{':
            return Open(false);
        case '[':
            return Open(true);
        case '"':
            return Check(String() && events_.String(string_));
        case 't':
            return Check(Literal("true", 4) && events_.Boolean(true));
        case 'f':
            return Check(Literal("false", 5) && events_.Boolean(false));
        case 'n':
            return Check(Literal("null", 4) && events_.Null());
        default:
            return Check(Number());
        }
    }

    /// A container whose opening bracket the reader stands on: an empty one is opened and
    /// closed at once; otherwise it is left open (with an object's first key read).
    Step Open(bool array) {
        ++p_;
        if (!(array ? events_.StartArray() : events_.StartObject()))
            return Step::Fault;
        SkipSpace();
        if (p_ < end_ && *p_ == (array ? ']' : '}')) {
            ++p_;
            return Check(array ? events_.EndArray() : events_.EndObject());
        }
        open_.push_back(array ? kArray : kObject);
        return array || Key() ? Step::Opened : Step::Fault;
    }

    /// A member's key and its colon, the reader standing before the key's quote (after
    /// whitespace).
    bool Key() {
        SkipSpace();
        if (p_ == end_ || *p_ != '"' || !String() || !events_.Key(string_))
            return false;
        SkipSpace();
        if (p_ == end_ || *p_ != ':')
            return false;
        ++p_;
        return true;
    }

    bool Literal(const char* word, std::size_t length) {
        if (static_cast<std::size_t>(end_ - p_) < length)
            return false;
        for (std::size_t i = 0; i < length; ++i)
            if (p_[i] != static_cast<unsigned char>(word[i]))
                return false;
        p_ += length;
        return true;
    }

    bool Digit() const { return p_ < end_ && *p_ >= '0' && *p_ <= '9'; }

    bool Number() {
        const unsigned char* start = p_;
        bool negative = *p_ == '-';
        if (negative)
            ++p_;
        if (!Digit())
            return false;
        if (*p_ == '0')
            ++p_;
        else
            while (Digit())
                ++p_;
        bool fraction = false;
        if (p_ < end_ && *p_ == '.') {
            ++p_;
            if (!Digit())
                return false;
            while (Digit())
                ++p_;
            fraction = true;
        }
        if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            if (p_ < end_ && (*p_ == '+' || *p_ == '-'))
                ++p_;
            if (!Digit())
                return false;
            while (Digit())
                ++p_;
            fraction = true;
        }
        if (!fraction) {
            // An integer that fits 64 bits stays one (unsigned when not negative, as the
            // library keeps it); a longer one becomes a double, as there.
            std::uint64_t magnitude = 0;
            bool fits = true;
            for (const unsigned char* d = start + negative; d < p_; ++d) {
                unsigned digit = *d - '0';
                if (magnitude > (UINT64_MAX - digit) / 10) {
                    fits = false;
                    break;
                }
                magnitude = magnitude * 10 + digit;
            }
            if (fits && !negative)
                return events_.Unsigned(magnitude);
            constexpr std::uint64_t kMostNegative = static_cast<std::uint64_t>(INT64_MAX) + 1;
            if (fits && magnitude <= kMostNegative)
                return events_.Integer(magnitude == kMostNegative
                                                  ? INT64_MIN
                                                  : -static_cast<std::int64_t>(magnitude));
        }
        text_.assign(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p_ - start));
        locale_t c = CLocale();
        double value = c ? strtod_l(text_.c_str(), nullptr, c) : std::strtod(text_.c_str(), nullptr);
        // The library refuses a number too large for a double.
        return std::isfinite(value) && events_.Float(value, text_);
    }

    /// The string at the reader (standing on its quote) into string_, checked as the library
    /// checks it. Without escapes string_ is a view of the text itself; the first escape
    /// switches to building the string in text_.
    bool String() {
        ++p_;
        const unsigned char* const start = p_;
        const unsigned char* run = p_; // bytes not yet copied, once building
        bool building = false;
        for (;;) {
            SkipPlain();
            if (p_ == end_)
                return false;
            unsigned char c = *p_;
            if (c == '"') {
                if (building) {
                    Append(run);
                    string_ = text_;
                } else {
                    string_ = std::string_view(reinterpret_cast<const char*>(start),
                                               static_cast<std::size_t>(p_ - start));
                }
                ++p_;
                return true;
            }
            if (c == '\\') {
                if (!building) {
                    text_.clear();
                    building = true;
                }
                Append(run);
                if (!Escape())
                    return false;
                run = p_;
            } else if (c < 0x20) {
                return false;
            } else if (!MultiByte()) {
                return false;
            }
        }
    }

    /// Copies the bytes from `run` to the reader into text_.
    void Append(const unsigned char* run) {
        text_.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p_ - run));
    }

    /// Moves the reader past the bytes a string holds as they are, eight at a time where
    /// it can: strings are most of a reply, and most of their bytes are plain.
    void SkipPlain() {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
        while (end_ - p_ >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p_, sizeof word);
            const std::uint64_t quote = word ^ (kOnes * '"');
            const std::uint64_t backslash = word ^ (kOnes * '\\');
            // The lowest byte flagged by each term is exact (a borrow only runs upwards from
            // a byte that is itself flagged): a quote, a backslash, a control byte, or a byte
            // of 0x80 and above.
            const std::uint64_t special = ((quote - kOnes) & ~quote) |
                                          ((backslash - kOnes) & ~backslash) |
                                          ((word - kOnes * 0x20) & ~word) | word;
            const std::uint64_t flagged = special & kHighs;
            if (flagged != 0) {
                p_ += __builtin_ctzll(flagged) / 8;
                return;
            }
            p_ += 8;
        }
#endif
        while (p_ < end_ && kPlain.plain[*p_])
            ++p_;
    }

    /// Four hex digits at the reader, or -1.
    int Hex4() {
        if (end_ - p_ < 4)
            return -1;
        int value = 0;
        for (int i = 0; i < 4; ++i) {
            int digit = HexValue(p_[i]);
            if (digit < 0)
                return -1;
            value = value * 16 + digit;
        }
        p_ += 4;
        return value;
    }

    bool Escape() {
        ++p_;
        if (p_ == end_)
            return false;
        char plain = 0;
        switch (*p_++) {
        case '"': plain = '"'; break;
        case '\\': plain = '\\'; break;
        case '/': plain = '/'; break;
        case 'b': plain = '\b'; break;
        case 'f': plain = '\f'; break;
        case 'n': plain = '\n'; break;
        case 'r': plain = '\r'; break;
        case 't': plain = '\t'; break;
        case 'u': return Unicode();
        default: return false;
        }
        text_.push_back(plain);
        return true;
    }

    /// The code point of a \u escape (the reader past the "u"), joined with its low
    /// surrogate when it is a high one, written as UTF-8.
    bool Unicode() {
        int point = Hex4();
        if (point < 0)
            return false;
        if (point >= 0xD800 && point <= 0xDBFF) {
            if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u')
                return false;
            p_ += 2;
            int low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF)
                return false;
            point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
        } else if (point >= 0xDC00 && point <= 0xDFFF) {
            return false;
        }
        unsigned u = static_cast<unsigned>(point);
        if (u < 0x80) {
            text_.push_back(static_cast<char>(u));
        } else if (u < 0x800) {
            text_.push_back(static_cast<char>(0xC0 | (u >> 6)));
            text_.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else if (u < 0x10000) {
            text_.push_back(static_cast<char>(0xE0 | (u >> 12)));
            text_.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            text_.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            text_.push_back(static_cast<char>(0xF0 | (u >> 18)));
            text_.push_back(static_cast<char>(0x80 | ((u >> 12) & 0x3F)));
            text_.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            text_.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
        return true;
    }

    /// One UTF-8 sequence of two to four bytes: no overlong forms, no surrogates, nothing
    /// past U+10FFFF.
    bool MultiByte() {
        unsigned char lead = *p_;
        int trail;
        unsigned char low = 0x80, high = 0xBF; // the range of the first trailing byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end_ - p_ <= trail || p_[1] < low || p_[1] > high)
            return false;
        for (int i = 2; i <= trail; ++i)
            if (p_[i] < 0x80 || p_[i] > 0xBF)
                return false;
        p_ += trail + 1;
        return true;
    }

    const unsigned char* p_;
    const unsigned char* end_;
    JsonEventReceiver& events_;
    std::string text_;        // a string with escapes, or a number, being built
    std::string_view string_; // the string just read: a view of the text or of text_
    // The open containers, innermost last, one byte each: a usual reply's few levels fit
    // the string's own room, so reading one allocates nothing for them.
    static constexpr char kArray = 'a', kObject = 'o';
    std::string open_;
};

/// Hands the events on to one of the JSON library's receivers, each text in one buffer the
/// receiver may move from.
class SaxForwarder final : public JsonEventReceiver {
public:
    explicit SaxForwarder(nlohmann::json_sax<nlohmann::json>& sax) : sax_(sax) {}

    bool Null() override { return sax_.null(); }
    bool Boolean(bool value) override { return sax_.boolean(value); }
    bool Integer(std::int64_t value) override { return sax_.number_integer(value); }
    bool Unsigned(std::uint64_t value) override { return sax_.number_unsigned(value); }
    bool Float(double value, std::string_view text) override {
        buffer_.assign(text);
        return sax_.number_float(value, buffer_);
    }
    bool String(std::string_view value) override {
        buffer_.assign(value);
        return sax_.string(buffer_);
    }
    bool Key(std::string_view name) override {
        buffer_.assign(name);
        return sax_.key(buffer_);
    }
    // The library's own parser reports an unknown size as -1.
    bool StartObject() override { return sax_.start_object(static_cast<std::size_t>(-1)); }
    bool StartArray() override { return sax_.start_array(static_cast<std::size_t>(-1)); }
    bool EndObject() override { return sax_.end_object(); }
    bool EndArray() override { return sax_.end_array(); }

private:
    nlohmann::json_sax<nlohmann::json>& sax_;
    std::string buffer_;
};

} // namespace

bool ParseJsonEvents(std::string_view text, JsonEventReceiver& events) {
    return Reader(text, events).Run();
}

bool ParseJsonEvents(std::string_view text, nlohmann::json_sax<nlohmann::json>& events) {
    SaxForwarder forwarder(events);
    return Reader(text, forwarder).Run();
}

} // namespace tovrane
