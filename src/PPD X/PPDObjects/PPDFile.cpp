//===- PPDFile.cpp - The PPD file on disk ---------------------------------===//
#include "PPDFile.h"

#include <cstring>

PPDFile::PPDFile(short volume, long directory, const char* name)
    : FileMac(volume, directory, name) {}

PPDFile::PPDFile(const FSSpec& fsSpec) : FileMac(fsSpec) {}

PPDFile::PPDFile(CFURLRef url) : FileMac(SpecFromURL(url)) {}

FSSpec PPDFile::SpecFromURL(CFURLRef url) {
    FSSpec fsSpec;
    std::memset(&fsSpec, 0, sizeof fsSpec);
    FSRef ref;
    if (url && CFURLGetFSRef(url, &ref))
        FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &fsSpec, nullptr);
    return fsSpec;
}
