//===- JsonEventLog.h - JSON events written down, for comparisons -----------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_COMMON_JSONEVENTLOG_H
#define TOVRANE_COMMON_JSONEVENTLOG_H

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>
#include <string_view>

namespace tovrane {

/// Writes every event it receives into `log`, one line each, so that two readers of the
/// same text can be compared event for event (the tests and the reply fuzzer do). A float is
/// written with all its digits; a parse error is one line too. Optionally answers false at
/// event number `stopAt` (counted from 1), to compare how both readers stop.
class JsonEventLog : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit JsonEventLog(std::string& log, size_t stopAt = 0) : log_(log), stopAt_(stopAt) {}

    bool null() override { return Add("null"); }
    bool boolean(bool value) override { return Add(value ? "true" : "false"); }
    bool number_integer(number_integer_t value) override {
        return Add("int " + std::to_string(value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return Add("uint " + std::to_string(value));
    }
    bool number_float(number_float_t value, const string_t&) override {
        char text[64];
        std::snprintf(text, sizeof text, "float %.17g", value);
        return Add(text);
    }
    bool string(string_t& value) override { return Add("string " + Escaped(value)); }
    bool binary(binary_t&) override { return Add("binary"); }
    bool start_object(size_t) override { return Add("{"); }
    bool end_object() override { return Add("}"); }
    bool start_array(size_t) override { return Add("["); }
    bool end_array() override { return Add("]"); }
    bool key(string_t& value) override { return Add("key " + Escaped(value)); }
    bool parse_error(size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false; // not logged: the event reader never sends it, and false says enough
    }

private:
    bool Add(const std::string& line) {
        log_.append(line).push_back('\n');
        return ++count_ != stopAt_;
    }
    /// Every byte outside printable ASCII as \xNN, so that the log shows exact bytes.
    static std::string Escaped(std::string_view text) {
        std::string out;
        for (unsigned char c : text) {
            if (c >= 0x20 && c < 0x7F && c != '\\') {
                out.push_back(static_cast<char>(c));
            } else {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out.append(hex);
            }
        }
        return out;
    }

    std::string& log_;
    size_t stopAt_;
    size_t count_ = 0;
};

} // namespace tovrane

#endif // TOVRANE_COMMON_JSONEVENTLOG_H
