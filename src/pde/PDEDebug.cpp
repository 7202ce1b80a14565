//===- PDEDebug.cpp - Debug messages of the plug-in -----------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PDEDebug.h"

#include <cstdio>
#include <cstdlib>

void MyDebugMessage(const char* text, long value) {
    if (std::getenv("PDEDebug") == nullptr)
        return;
    // The message format prints the value as an int, as the debug console always showed it.
    std::printf("%s (%d)\n", text ? text : "", static_cast<int>(value));
    std::fflush(stdout);
}
