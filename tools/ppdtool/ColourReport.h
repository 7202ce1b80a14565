//===- ColourReport.h - The colour pane's view as JSON -------------*- C++ -*-===//
#ifndef PIGMENTOR_TOOLS_COLOURREPORT_H
#define PIGMENTOR_TOOLS_COLOURREPORT_H

#include <cstdio>

class PigmentorData;
class QRVJobTicket;

/// Writes to `out` one JSON object with what the colour pane gets from `data`: "valid" and
/// "error", "printMode", "paneItems" and "expertItems" (list order), "deviceLinks" (two-way
/// lists only), "summary" (GetSummaryLine until it answers false) and "jobTicket" (the entries
/// OutPostscriptData adds to `ticket`, which it runs once, in order). Texts are UTF-8; code
/// bytes that are not are escaped as the JSON writer does. Moves the controller's cursors.
void WriteColourReport(PigmentorData& data, QRVJobTicket& ticket, FILE* out);

#endif // PIGMENTOR_TOOLS_COLOURREPORT_H
