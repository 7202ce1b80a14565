//===- HostOptions.cpp - Parsing pde-host's command line -------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostOptions.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

// Scripts larger than this are not scripts a person wrote.
constexpr off_t kMaxScript = 1 << 20;

bool ReadScript(const std::string& path, std::string& text, std::string& error) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "--script: cannot read " + path;
        return false;
    }
    if (info.st_size > kMaxScript) {
        error = "--script: " + path + " is larger than 1 MB";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        error = "--script: cannot read " + path;
        return false;
    }
    return true;
}

} // namespace

const char* HostUsage() {
    return "usage: pde-host (--ppd FILE [--printer NAME] | --queue NAME) [--bundle DIR]\n"
           "                [--settings FILE] [--do ACTION]... [--script FILE] [--json]\n"
           "                [--print IN.ps [--output OUT.ps]] [--timeout SECONDS]\n"
           "                [--gui | --window] [--screenshot PNG]\n"
           "actions: click SIG:ID | choose SIG:ID N | type SIG:ID TEXT | command CODE | ok |\n"
           "         cancel | wait-fetch | load | store | summary | dump | open | close\n";
}

bool ParseHostOptions(int argc, char** argv, const std::string& defaultBundle, HostOptions& o,
                      std::string& error) {
    o = HostOptions();
    o.bundle = defaultBundle;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            into = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--json")
            o.json = true;
        else if (arg == "--gui")
            o.gui = true;
        else if (arg == "--window")
            o.window = true;
        else if (arg == "--bundle" || arg == "--ppd" || arg == "--printer" || arg == "--queue" ||
                 arg == "--settings" || arg == "--print" || arg == "--output" ||
                 arg == "--screenshot") {
            std::string& slot = arg == "--bundle"     ? o.bundle
                                : arg == "--ppd"      ? o.ppd
                                : arg == "--printer"  ? o.printer
                                : arg == "--queue"    ? o.queue
                                : arg == "--settings" ? o.settings
                                : arg == "--print"    ? o.print
                                : arg == "--output"   ? o.output
                                                      : o.screenshot;
            if (!value(slot))
                return false;
            if (slot.empty()) {
                error = arg + " needs a non-empty value";
                return false;
            }
        } else if (arg == "--timeout") {
            if (!value(text))
                return false;
            char* end = nullptr;
            o.timeout = std::strtod(text.c_str(), &end);
            if (text.empty() || *end || !(o.timeout > 0 && o.timeout <= 3600)) {
                error = "--timeout needs a number of seconds from 0 to 3600: \"" + text + "\"";
                return false;
            }
        } else if (arg == "--do") {
            if (!value(text))
                return false;
            HostAction action;
            std::string why;
            if (!ParseHostAction(text, action, why)) {
                error = "--do: " + why;
                return false;
            }
            o.actions.push_back(action);
        } else if (arg == "--script") {
            std::string path;
            if (!value(path) || !ReadScript(path, text, error))
                return false;
            std::string why;
            if (!ParseHostScript(text, o.actions, why)) {
                error = "--script " + path + ": " + why;
                return false;
            }
        } else {
            error = "unknown argument \"" + arg + "\"";
            return false;
        }
    }
    if (o.ppd.empty() == o.queue.empty())
        error = "give either --ppd FILE or --queue NAME";
    else if (!o.printer.empty() && o.ppd.empty())
        error = "--printer goes with --ppd";
    else if (!o.output.empty() && o.print.empty())
        error = "--output goes with --print";
    else if (!o.print.empty() && o.output.empty() && o.queue.empty())
        error = "--print needs --output OUT.ps or --queue NAME";
    else if (o.gui && o.window)
        error = "--gui and --window exclude each other";
    else if (!o.screenshot.empty() && !o.gui && !o.window)
        error = "--screenshot goes with --gui or --window";
    return error.empty();
}
