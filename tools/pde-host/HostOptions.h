//===- HostOptions.h - pde-host's command line -----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDEHOST_HOSTOPTIONS_H
#define PIGMENTOR_PDEHOST_HOSTOPTIONS_H

#include "HostActions.h"

#include <string>
#include <vector>

/// What the command line asks for. Exactly one printer source: `ppd` (with `printer`, default
/// the PPD's model name) or `queue`. Actions from --do and --script keep their order.
struct HostOptions {
    std::string bundle;   ///< the plug-in bundle directory
    std::string ppd;      ///< --ppd FILE
    std::string printer;  ///< --printer NAME
    std::string queue;    ///< --queue NAME
    std::string settings; ///< --settings FILE
    std::vector<HostAction> actions;
    bool json = false;
    std::string print;  ///< --print IN.ps
    std::string output; ///< --output OUT.ps
    bool gui = false, window = false;
    std::string screenshot; ///< --screenshot PNG
    double timeout = 60;    ///< --timeout SECONDS: the longest wait-fetch
};

/// Parses argv (without argv[0]); false with `error` for a usage error. `defaultBundle` is
/// used without --bundle.
bool ParseHostOptions(int argc, char** argv, const std::string& defaultBundle, HostOptions& options,
                      std::string& error);
/// The usage text.
const char* HostUsage();

#endif
