//===- CupsPPD.h - libcups's PPD reader, as the benchmark calls it -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BENCH_CUPSPPD_H
#define PIGMENTOR_BENCH_CUPSPPD_H

/// libcups's PPD reader, the reference the engine's parse speed is measured against. Kept in
/// its own file so that the deprecated API is named in one place. Paths are file system paths.
/// libcups keeps its last error per thread; these calls are safe from one thread at a time.
namespace CupsPPD {

/// Opens and parses the PPD at `path` with ppdOpenFile, then closes it. True when it opened.
bool OpenAndClose(const char* path);

/// libcups's message for its last PPD error, with the line it met it on (0 when unknown).
const char* LastError(int& line);

} // namespace CupsPPD

#endif // PIGMENTOR_BENCH_CUPSPPD_H
