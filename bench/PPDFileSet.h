//===- PPDFileSet.h - The PPD files one benchmark pass reads ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BENCH_PPDFILESET_H
#define PIGMENTOR_BENCH_PPDFILESET_H

#include <cstdint>
#include <string>
#include <vector>

/// A named list of PPD files that every pass of a benchmark reads, in order, and their total
/// size in bytes. Paths are file system paths as found (no encoding assumed). The set owns its
/// strings; it does not open the files.
struct PPDFileSet {
    std::string name;
    std::vector<std::string> paths;
    std::uint64_t bytes = 0;
};

/// Appends the regular files of `dir` whose names end in ".ppd", sorted by name; a missing or
/// unreadable folder adds nothing. Returns the number of files added.
std::size_t AddPPDDirectory(PPDFileSet& set, const std::string& dir);

#endif // PIGMENTOR_BENCH_PPDFILESET_H
