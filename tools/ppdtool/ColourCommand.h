//===- ColourCommand.h - ppdtool colour ----------------------------*- C++ -*-===//
#ifndef PIGMENTOR_TOOLS_COLOURCOMMAND_H
#define PIGMENTOR_TOOLS_COLOURCOMMAND_H

/// "ppdtool colour FILE [--server ADDR] [--mode standard|expert|grayscale]
/// [--set KEYWORD=VALUE]... [--accept NAME]...": builds what the colour pane builds, without a
/// window (a print session whose printer has the PPD FILE, the model, the colour data
/// controller, two-way on ADDR with --server, the background fetch waited for), applies the
/// mode as the pane's print-mode buttons do and each value to the colour item of that feature
/// keyword, and prints one JSON object: validity and status, the print mode, the pane and
/// expert items, the device links, the summary lines and the job-ticket entries of the colour
/// output. Exit 0 for a valid controller, 1 for an invalid one, 2 for a usage or file error
/// (after a message on standard error; `usage` is the tool's usage text).
int ColourCommand(int argc, char** argv, const char* usage);

#endif // PIGMENTOR_TOOLS_COLOURCOMMAND_H
