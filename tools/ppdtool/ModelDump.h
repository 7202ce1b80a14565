//===- ModelDump.h - A PPD model as JSON ------------------------*- C++ -*-===//
#ifndef PIGMENTOR_TOOLS_MODELDUMP_H
#define PIGMENTOR_TOOLS_MODELDUMP_H

#include <cstdio>

class QRVPPD;

/// Writes the whole model to `out` as one JSON object: validity, header, errors in order,
/// property pages, groups and controls in insertion order with every field of their kind, the
/// shortcuts' keywords and the numbers of constraint and requires lines stored. A model without
/// error list or containers (one not built) shows them empty.
/// Names are UTF-8; PostScript code is its bytes as text. The walk sees every element (display
/// options 3) and leaves the display options as it found them.
void DumpModel(QRVPPD& ppd, FILE* out);

#endif // PIGMENTOR_TOOLS_MODELDUMP_H
