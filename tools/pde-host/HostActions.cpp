//===- HostActions.cpp - Parsing the user actions --------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostActions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

constexpr size_t kMaxLine = 4096;

const char* const kNames[] = {"click", "choose",  "type", "command", "ok",   "cancel", "wait-fetch",
                              "load",  "store",   "summary", "dump", "open", "close"};

// Splits off the next word from `rest`: up to a blank that is not inside single quotes (codes
// with blanks, such as 'ok  ', are written quoted).
std::string NextWord(std::string& rest) {
    size_t start = rest.find_first_not_of(' ');
    if (start == std::string::npos) {
        rest.clear();
        return "";
    }
    size_t end = start;
    bool quoted = false;
    for (; end < rest.size() && (quoted || rest[end] != ' '); ++end)
        if (rest[end] == '\'')
            quoted = !quoted;
    std::string word = rest.substr(start, end - start);
    rest = rest.substr(end);
    return word;
}

bool ParseCode(std::string word, UInt32& code) {
    // A code with trailing blanks ('ok  ') is written in single quotes.
    if (word.size() == 6 && word.front() == '\'' && word.back() == '\'')
        word = word.substr(1, 4);
    if (word.size() != 4)
        return false;
    code = 0;
    for (unsigned char c : word) {
        if (c < 0x20 || c > 0x7E)
            return false;
        code = code << 8 | c;
    }
    return true;
}

bool ParseNumber(const std::string& word, long minimum, long maximum, long& value) {
    if (word.empty() || word.size() > 11)
        return false;
    size_t i = word[0] == '-' ? 1 : 0;
    if (i == word.size())
        return false;
    for (; i < word.size(); ++i)
        if (word[i] < '0' || word[i] > '9')
            return false;
    errno = 0;
    value = std::strtol(word.c_str(), nullptr, 10);
    return errno == 0 && value >= minimum && value <= maximum;
}

bool ParseControl(const std::string& word, HostAction& action) {
    long id = 0;
    // The signature may itself hold a colon; the last one separates the number.
    size_t colon = word.rfind(':');
    if (colon == std::string::npos || !ParseCode(word.substr(0, colon), action.signature) ||
        !ParseNumber(word.substr(colon + 1), INT32_MIN, INT32_MAX, id))
        return false;
    action.id = static_cast<SInt32>(id);
    return true;
}

} // namespace

const char* HostActionName(HostAction::Kind kind) {
    return kNames[kind];
}

bool ParseHostAction(const std::string& line, HostAction& action, std::string& error) {
    action = HostAction();
    action.source = line;
    if (line.size() > kMaxLine) {
        error = "an action is longer than 4096 bytes";
        return false;
    }
    for (unsigned char c : line) {
        if (c < 0x20 && c != '\t') {
            error = "control characters in \"" + line.substr(0, 40) + "\"";
            return false;
        }
    }
    std::string rest = line;
    for (char& c : rest)
        if (c == '\t')
            c = ' ';
    std::string verb = NextWord(rest);
    int kind = -1;
    for (int k = 0; k <= HostAction::Close; ++k)
        if (verb == kNames[k])
            kind = k;
    if (kind < 0) {
        error = "unknown action \"" + verb.substr(0, 40) +
                "\" (click, choose, type, command, ok, cancel, wait-fetch, load, store, summary, "
                "dump, open, close)";
        return false;
    }
    action.kind = static_cast<HostAction::Kind>(kind);
    switch (action.kind) {
    case HostAction::Click:
    case HostAction::Choose:
    case HostAction::Type: {
        std::string control = NextWord(rest);
        if (!ParseControl(control, action)) {
            error = verb + " needs a control as SIG:ID (four characters, a colon, a number): \"" +
                    control.substr(0, 40) + "\"";
            return false;
        }
        if (action.kind == HostAction::Type) {
            // The text is everything after the one blank that ends the control.
            if (rest.empty()) {
                error = "type needs a text after " + control;
                return false;
            }
            action.text = rest.substr(1);
            return true;
        }
        if (action.kind == HostAction::Choose) {
            std::string item = NextWord(rest);
            long n = 0;
            if (!ParseNumber(item, 1, 32767, n)) {
                error = "choose needs an item number from 1 to 32767: \"" + item.substr(0, 40) + "\"";
                return false;
            }
            action.item = static_cast<SInt32>(n);
        }
        break;
    }
    case HostAction::Command: {
        std::string code = NextWord(rest);
        if (!ParseCode(code, action.code)) {
            error = "command needs a four-character code: \"" + code.substr(0, 40) + "\"";
            return false;
        }
        break;
    }
    default:
        break;
    }
    std::string extra = NextWord(rest);
    if (!extra.empty()) {
        error = verb + " takes nothing more than its arguments: \"" + extra.substr(0, 40) + "\"";
        return false;
    }
    return true;
}

bool ParseHostScript(const std::string& text, std::vector<HostAction>& actions, std::string& error) {
    size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        HostAction action;
        std::string why;
        if (!ParseHostAction(line.substr(first), action, why)) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        actions.push_back(action);
    }
    return true;
}
