//===- HostSubmit.h - Writing or submitting the print job ------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDEHOST_HOSTSUBMIT_H
#define PIGMENTOR_PDEHOST_HOSTSUBMIT_H

#include <string>

/// Reads the PostScript job at `path` (a regular file of at most 256 MB); false with `error`.
bool ReadJob(const std::string& path, std::string& job, std::string& error);
/// Writes `job` to `path`: a new file beside it, renamed over it, so that a link at `path` is
/// replaced and never followed. False with `error`.
bool WriteJob(const std::string& path, const std::string& job, std::string& error);
/// Submits `job` as PostScript to the CUPS queue `queue` (the server of the usual client
/// settings); `jobID` receives the job's number. False with `error`.
bool SubmitJob(const std::string& queue, const std::string& title, const std::string& job,
               int& jobID, std::string& error);

#endif
