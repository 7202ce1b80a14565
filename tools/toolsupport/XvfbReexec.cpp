//===- XvfbReexec.cpp - Run a GTK tool again under a virtual display ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "XvfbReexec.h"

#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace toolsupport {

void ReexecUnderXvfb(char** argv, const char* guard) {
    // The guard stops a child that still finds no display from starting xvfb-run again.
    if (std::getenv(guard) != nullptr)
        return;
    setenv(guard, "1", 1);
    std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"),
                               const_cast<char*>("-s"), const_cast<char*>("-screen 0 1280x1024x24")};
    for (char** a = argv; *a; ++a)
        args.push_back(*a);
    args.push_back(nullptr);
    execvp("xvfb-run", args.data());
}

} // namespace toolsupport
