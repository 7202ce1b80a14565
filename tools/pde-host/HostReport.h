//===- HostReport.h - What pde-host tells at the end -----------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDEHOST_HOSTREPORT_H
#define PIGMENTOR_PDEHOST_HOSTREPORT_H

#include "HostExtension.h"
#include "HostJobTicket.h"

#include <PrintCore/PMTicket.h>
#include <nlohmann/json.hpp>

#include <string>

/// The items the pane wrote into the print settings ticket, found under keys made of the
/// bundle identifier: the print mode ("<id>.ColorMode"), the archive (data under "<id>") and
/// the job-ticket file's path ("QRV.PSData.<id>"). Values are checked for their type.
struct PaneSettings {
    nlohmann::json colorMode;  ///< string or number; null when missing
    long archiveSize = -1;     ///< -1 when missing
    std::string jobTicketPath; ///< empty when missing
};
PaneSettings ReadPaneSettings(PMTicketRef settings, const std::string& bundleID);

/// The whole result as one JSON object: "printer", "ppd" (path and model name), "bundle", "title", "status" (each table
/// call and its status, in order), "actions" (what summary and dump actions showed),
/// "summary", "printSettings", "jobTicketFile" (path and entries as site and data), "job" and
/// "errors". Texts that are not UTF-8 are shown with U+FFFD.
std::string ReportJSON(const nlohmann::json& report);
/// The same as readable text.
std::string ReportText(const nlohmann::json& report);

#endif
