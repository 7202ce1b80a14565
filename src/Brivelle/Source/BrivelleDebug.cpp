//===- BrivelleDebug.cpp - The server layer's debug console ---------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "BrivelleDebug.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

void DebugConsole(const char* format, ...) {
    if (!format)
        return;
    char line[1025];
    va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(line, sizeof line - 1, format, arguments);
    va_end(arguments);
    if (length < 0)
        return;
    size_t used = std::strlen(line);
    line[used] = '\n';
    // One write per line, unbuffered, so that a crash right after still leaves the line.
    ssize_t written = write(STDERR_FILENO, line, used + 1);
    (void)written;
}
