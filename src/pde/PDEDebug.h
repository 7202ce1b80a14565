//===- PDEDebug.h - Debug messages of the plug-in ---------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PDEDEBUG_H
#define PIGMENTOR_PDE_PDEDEBUG_H

/// When the environment variable "PDEDebug" is set (to anything), writes "<text> (<value>)\n"
/// to standard output and flushes it; otherwise does nothing. A null text prints as empty.
/// Any thread (lines from two threads may interleave).
void MyDebugMessage(const char* text, long value);

/// Trace lines of the plug-in's inner workings: kept in the code for reading, printed nowhere.
/// The format is still checked against its arguments.
__attribute__((format(printf, 1, 2))) inline void DebugPrintf(const char*, ...) {}

#endif // PIGMENTOR_PDE_PDEDEBUG_H
