//===- HostReport.cpp - What pde-host tells at the end ---------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostReport.h"

#include <CoreFoundation/PMCFUtilities.h>

namespace {

using nlohmann::json;

CFStringRef Key(const std::string& text) {
    return PMCFStringCreateWithUTF8(text);
}

std::string Dump(const json& value, int indent) {
    return value.dump(indent, ' ', false, json::error_handler_t::replace);
}

std::string Indented(const std::string& text, const std::string& prefix) {
    std::string out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        out += prefix + text.substr(start, end == std::string::npos ? end : end - start) + "\n";
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

} // namespace

PaneSettings ReadPaneSettings(PMTicketRef settings, const std::string& bundleID) {
    PaneSettings found;
    CFStringRef modeKey = Key(bundleID + ".ColorMode"), archiveKey = Key(bundleID),
                pathKey = Key("QRV.PSData." + bundleID);
    CFTypeRef item = nullptr;
    if (modeKey && PMTicketGetItem(settings, kPMTopLevel, kPMTopLevel, modeKey, &item) == noErr) {
        SInt64 number = 0;
        if (CFGetTypeID(item) == CFStringGetTypeID())
            found.colorMode = PMCFStringCopyUTF8(static_cast<CFStringRef>(item));
        else if (CFGetTypeID(item) == CFNumberGetTypeID() &&
                 CFNumberGetValue(static_cast<CFNumberRef>(item), kCFNumberSInt64Type, &number))
            found.colorMode = number;
    }
    CFDataRef archive = nullptr;
    if (archiveKey &&
        PMTicketGetCFData(settings, kPMTopLevel, kPMTopLevel, archiveKey, &archive) == noErr)
        found.archiveSize = CFDataGetLength(archive);
    CFStringRef path = nullptr;
    if (pathKey && PMTicketGetCFString(settings, kPMTopLevel, kPMTopLevel, pathKey, &path) == noErr)
        found.jobTicketPath = PMCFStringCopyUTF8(path);
    for (CFStringRef key : {modeKey, archiveKey, pathKey})
        if (key)
            CFRelease(key);
    return found;
}

std::string ReportJSON(const json& report) {
    return Dump(report, 2) + "\n";
}

std::string ReportText(const json& report) {
    std::string out;
    auto text = [](const json& value) {
        return value.is_string() ? value.get<std::string>() : Dump(value, -1);
    };
    out += "Printer: " + text(report.value("printer", json())) + "\n";
    const json ppd = report.value("ppd", json::object());
    out += "PPD: " + text(ppd.value("path", json())) + " (" + text(ppd.value("modelName", json())) +
           ")\n";
    out += "Pane: " + text(report.value("title", json())) + " (" +
           text(report.value("bundle", json())) + ")\n";
    out += "Calls:";
    for (const json& call : report.value("status", json::array()))
        out += " " + text(call["call"]) + "=" + text(call["status"]);
    out += "\n";
    for (const json& entry : report.value("actions", json::array())) {
        if (entry["action"] == "summary") {
            out += "Summary (action):\n";
            for (const json& line : entry["summary"])
                out += "  " + text(line["title"]) + ": " + text(line["value"]) + "\n";
        } else {
            out += "Windows (dump):\n" + Indented(Dump(entry["windows"], 2), "  ");
        }
    }
    out += "Summary:\n";
    for (const json& line : report.value("summary", json::array()))
        out += "  " + text(line["title"]) + ": " + text(line["value"]) + "\n";
    const json settings = report.value("printSettings", json::object());
    out += "Print settings: print mode " + text(settings.value("colorMode", json())) +
           ", archive " + text(settings.value("archiveSize", json())) + " bytes\n";
    const json file = report.value("jobTicketFile", json());
    if (file.is_object()) {
        out += "Job-ticket file: " + text(file["path"]) + "\n";
        for (const json& e : file.value("entries", json::array()))
            out += "  site " + text(e["site"]) + ":\n" + Indented(text(e["data"]), "    ");
    } else {
        out += "Job-ticket file: none\n";
    }
    if (report.contains("job"))
        out += "Job: " + Dump(report["job"], -1) + "\n";
    for (const json& e : report.value("errors", json::array()))
        out += "Error: " + text(e) + "\n";
    return out;
}
