//===- CupsPPD.cpp - libcups's PPD reader, as the benchmark calls it ------===//
#include "CupsPPD.h"

// libcups marks its whole PPD API deprecated (queues are meant to be described by IPP now),
// yet it is still the PPD parser every Linux print system ships and so the reference to beat.
// The warnings are silenced here only, around the header and the calls.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

namespace CupsPPD {

bool OpenAndClose(const char* path) {
    ppd_file_t* ppd = ppdOpenFile(path);
    if (!ppd)
        return false;
    ppdClose(ppd);
    return true;
}

const char* LastError(int& line) {
    line = 0;
    return ppdErrorString(ppdLastError(&line));
}

} // namespace CupsPPD

#pragma GCC diagnostic pop
