//===- PPDXDisplayOptions.cpp - The model's class-wide display options ----===//
#include "PPDXDisplayOptions.h"

namespace {
// Visible elements that have a parent: what a user interface shows by default.
_DISPLAY_OPTIONS_ sDisplayOptions = 0;
} // namespace

_DISPLAY_OPTIONS_ PPDXDisplay::Get() {
    return sDisplayOptions;
}

void PPDXDisplay::Set(_DISPLAY_OPTIONS_ options) {
    sDisplayOptions = options;
}
