//===- HostJobTicket.h - Reading the pane's job-ticket file ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDEHOST_HOSTJOBTICKET_H
#define PIGMENTOR_PDEHOST_HOSTJOBTICKET_H

#include <string>
#include <vector>

/// One entry of a job-ticket file: the injection site and its PostScript bytes.
struct JobTicketEntry {
    long site = 0;
    std::string data;
};

/// Reads the job-ticket file at `path`, an XML property list array alternating site (integer)
/// and data. The file lies in /tmp, writable by anyone: only a regular file (no link) whose
/// name begins "/tmp/Tarvo.temp" and holds at most 16 MB is read, and it is checked entry by
/// entry. False with `error` otherwise.
bool ReadJobTicketFile(const std::string& path, std::vector<JobTicketEntry>& entries,
                       std::string& error);

/// The PostScript of the entries at `site`, in order, each ending in a newline.
std::string FeatureCode(const std::vector<JobTicketEntry>& entries, long site);

/// `job` with `feature` put into its setup section: after the "%%BeginSetup" line; without one,
/// in a new setup section before the first "%%Page:" line; without pages, after "%%EndProlog",
/// else after "%%EndComments", else after the first line.
std::string InsertFeatureCode(const std::string& job, const std::string& feature);

#endif
