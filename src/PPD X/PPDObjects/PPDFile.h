//===- PPDFile.h - The PPD file on disk -------------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDFILE_H
#define PIGMENTOR_PPDX_PPDFILE_H

#include "FileMac.h"

#include <CoreFoundation/CFURL.h>

/// The PPD file: a FileMac over the file's data fork. Made from a FSSpec or from a file
/// URL; a URL that names no existing file gives an empty FSSpec that never opens.
class PPDFile : public FileMac {
public:
    PPDFile(short volume, long directory, const char* name);
    explicit PPDFile(const FSSpec& fsSpec);
    explicit PPDFile(CFURLRef url);

    /// The FSSpec of the file a URL names, or an empty one (volume 0, directory 0, no
    /// name) when it names none.
    static FSSpec SpecFromURL(CFURLRef url);

private:
    unsigned char mFlags[2] = {0, 0};
};

#endif // PIGMENTOR_PPDX_PPDFILE_H
