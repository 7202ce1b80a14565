//===- HostActions.h - The user actions pde-host performs ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDEHOST_HOSTACTIONS_H
#define PIGMENTOR_PDEHOST_HOSTACTIONS_H

#include <CarbonCore/MacTypes.h>

#include <string>
#include <vector>

/// One action of a person at the print dialog, as given on the command line (--do) or in a
/// script (one a line). The forms, words separated by single or repeated blanks:
///   click SIG:ID        choose SIG:ID N        type SIG:ID TEXT        command CODE
///   ok  cancel  wait-fetch  load  store  summary  dump  open  close
/// SIG and CODE are four characters (printable ASCII; a code may end in blanks when quoted as
/// 'ok  '), ID a decimal number of 32 bits, N a menu item from 1 to 32767; TEXT is the rest of
/// the line after one blank, in UTF-8, and may hold blanks. In scripts, empty lines and lines
/// starting with '#' are skipped. Lines are at most 4096 bytes.
struct HostAction {
    enum Kind { Click, Choose, Type, Command, Ok, Cancel, WaitFetch, Load, Store, Summary, Dump,
                Open, Close };
    Kind kind = Click;
    UInt32 signature = 0; ///< click, choose, type
    SInt32 id = 0;        ///< click, choose, type
    SInt32 item = 0;      ///< choose
    UInt32 code = 0;      ///< command
    std::string text;     ///< type
    std::string source;   ///< the action as written, for messages
};

/// Parses one action; false with `error` saying what is wrong ("choose needs an item number
/// from 1 to 32767: \"0\"").
bool ParseHostAction(const std::string& line, HostAction& action, std::string& error);
/// Parses a script; false with `error` naming the line ("line 3: ...").
bool ParseHostScript(const std::string& text, std::vector<HostAction>& actions, std::string& error);
/// The name of an action kind ("wait-fetch").
const char* HostActionName(HostAction::Kind kind);

#endif
