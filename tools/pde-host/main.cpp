//===- pde-host - the print dialog for the colour pane --------------------===//
//
// Loads a print-dialog extension bundle through CFPlugIn, gives it a print session for a
// printer (a PPD file or a CUPS queue) and drives it as the print dialog does: factory, query
// interface, retain, API version, prologue, initialize, open; then the person's actions (--do,
// --script); then close, the final store (sync false), the summary, terminate and release.
// The print settings ticket is read from --settings before initialize and written back after
// the final store; --print puts the feature code of the job ticket's site 81 into the job.
//
// Exit status: 0 done, 1 the extension or an action failed (the report says why), 2 usage.
//
//===----------------------------------------------------------------------===//
#include "HostDialog.h"
#include "HostExtension.h"
#include "HostGui.h"
#include "HostJobTicket.h"
#include "HostOptions.h"
#include "HostPrinter.h"
#include "HostReport.h"
#include "HostSubmit.h"

#include <cstdio>

namespace {

using nlohmann::json;

// The injection site whose code goes into the job's setup section.
constexpr long kSetupSite = 81;

void AddJobTicket(json& report, const std::string& path, std::vector<JobTicketEntry>& entries,
                  std::vector<std::string>& errors) {
    if (path.empty()) {
        report["jobTicketFile"] = nullptr;
        return;
    }
    std::string error;
    if (!ReadJobTicketFile(path, entries, error))
        errors.push_back(error);
    json list = json::array();
    for (const JobTicketEntry& e : entries)
        list.push_back({{"site", e.site}, {"data", e.data}});
    report["jobTicketFile"] = {{"path", path}, {"entries", list}};
}

void PrintJob(const HostOptions& options, const HostPrinter& printer,
              const std::vector<JobTicketEntry>& entries, json& report,
              std::vector<std::string>& errors) {
    std::string job, error;
    if (!ReadJob(options.print, job, error)) {
        errors.push_back(error);
        return;
    }
    std::string feature = FeatureCode(entries, kSetupSite);
    job = InsertFeatureCode(job, feature);
    if (!options.output.empty()) {
        if (WriteJob(options.output, job, error))
            report["job"] = {{"output", options.output}, {"featureBytes", feature.size()}};
        else
            errors.push_back(error);
        return;
    }
    int id = 0;
    if (SubmitJob(options.queue, printer.Name(), job, id, error))
        report["job"] = {{"queue", options.queue}, {"jobID", id}, {"featureBytes", feature.size()}};
    else
        errors.push_back(error);
}

} // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc - 1, argv + 1, PIGMENTOR_BUNDLE_DIR, options, error)) {
        std::fprintf(stderr, "pde-host: %s\n%s", error.c_str(), HostUsage());
        return 2;
    }
    if ((options.gui || options.window) && !HostGui::Install(&argc, &argv, error)) {
        std::fprintf(stderr, "pde-host: %s\n", error.c_str());
        return 1;
    }
    json report = json::object();
    std::vector<std::string> errors;
    json log = json::array();
    std::vector<JobTicketEntry> entries;
    HostPrinter printer;
    HostExtension extension;
    bool opened = options.ppd.empty() ? printer.OpenQueue(options.queue, error)
                                      : printer.OpenPPD(options.ppd, options.printer, error);
    if (opened) {
        report["printer"] = printer.Name();
        std::string ppd = printer.PPDPath();
        report["ppd"] = {{"path", ppd}, {"modelName", ppd.empty() ? "" : PPDModelName(ppd)}};
        opened = options.settings.empty() || printer.LoadSettings(options.settings, error);
    }
    if (opened && extension.Load(options.bundle, error) && extension.Start(error)) {
        report["bundle"] = extension.BundleID();
        report["title"] = extension.Title();
        HostDialog dialog(extension, printer.Session());
        HostGui gui(dialog, extension, printer.Session());
        const bool desktop = options.gui || options.window;
        OSStatus status = paramErr;
        if (!dialog.Build(extension.Title(), !desktop))
            errors.push_back("cannot make the print dialog's window");
        else if ((status = extension.Initialize(dialog.Pane(), printer.Session())) != noErr)
            errors.push_back("initialize answered " + std::to_string(status) +
                             ": the pane cannot work with this printer");
        else
            dialog.FitPaneToContent();
        if (status == noErr && desktop) {
            gui.Preselect(options.queue, options.output);
            if (!gui.Show(options.gui, error)) {
                errors.push_back(error);
                status = paramErr;
            } else if (!options.screenshot.empty()) {
                dialog.BeforeEnd([&] {
                    if (!gui.Screenshot(options.screenshot, error))
                        errors.push_back(error);
                });
            } else {
                // The actions prepare the dialog; then it is the person's.
                dialog.WaitForPerson();
            }
        }
        if (status == noErr)
            dialog.Run(options.actions, options.timeout, log, errors);
        if (status == noErr && !dialog.Printed())
            report["cancelled"] = true;
        if (status == noErr && dialog.Printed()) {
            if ((status = extension.Sync(printer.Session(), false)) != noErr)
                errors.push_back("the final store answered " + std::to_string(status));
            std::vector<HostExtension::SummaryLine> lines;
            extension.Summary(lines);
            json summary = json::array();
            for (const auto& line : lines)
                summary.push_back({{"title", line.title}, {"value", line.value}});
            report["summary"] = summary;
            PaneSettings settings = ReadPaneSettings(printer.Settings(), extension.BundleID());
            report["printSettings"] = {{"colorMode", settings.colorMode},
                                       {"archiveSize", settings.archiveSize}};
            AddJobTicket(report, settings.jobTicketPath, entries, errors);
            if (!options.settings.empty() && !printer.SaveSettings(options.settings, error))
                errors.push_back(error);
            if (!options.print.empty()) {
                // Printed to a file in the print dialog: to the file the person chose there.
                HostOptions printing = options;
                if (options.queue.empty() && !gui.ChosenFile().empty())
                    printing.output = gui.ChosenFile();
                PrintJob(printing, printer, entries, report, errors);
            }
        }
        extension.Unload();
    } else {
        errors.push_back(error);
        extension.Unload();
    }
    // The pass of the main run loop in which the plug-in's executable is unloaded.
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true);
    json calls = json::array();
    for (const auto& call : extension.Calls())
        calls.push_back({{"call", call.name}, {"status", call.status}});
    report["status"] = calls;
    report["actions"] = log;
    report["errors"] = errors;
    std::string out = options.json ? ReportJSON(report) : ReportText(report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return errors.empty() ? 0 : 1;
}
