//===- BrivelleDebug.h - The server layer's debug console ------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_BRIVELLEDEBUG_H
#define PIGMENTOR_BRIVELLE_BRIVELLEDEBUG_H

/// The debug console of the server classes: attribute dumps and the tray-level limiting
/// message. Each call writes one line (the formatted text and a line feed) to standard error,
/// where the platform's console collects a plug-in's diagnostics. Any thread; one call is one
/// write, so lines of different threads do not interleave within a line.

/// Formats `format` (printf rules) and writes it as one line; text longer than 1023 bytes is
/// cut.
void DebugConsole(const char* format, ...) __attribute__((format(printf, 1, 2)));

#endif // PIGMENTOR_BRIVELLE_BRIVELLEDEBUG_H
