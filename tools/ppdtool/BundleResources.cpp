//===- BundleResources.cpp - The plug-in's resource file for a tool -------===//
#include "BundleResources.h"

#include <CarbonCore/Files.h>
#include <CarbonCore/Resources.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <unistd.h>

std::string PluginBundleDirectory() {
    if (const char* fromEnvironment = std::getenv("PIGMENTOR_BUNDLE"))
        return fromEnvironment;
    char self[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return std::string();
    std::string path(self, static_cast<size_t>(length));
    path.erase(path.find_last_of('/')); // the tool's folder, build/bin
    path.erase(path.find_last_of('/') + 1);
    return path + "Pigmentor.plugin";
}

BundleResources::BundleResources() {
    std::string path = PluginBundleDirectory() + "/Contents/Resources/en.lproj/Pigmentor.rsrc";
    FSRef ref;
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) != noErr)
        return;
    mPrevious = CurResFile();
    mFile = FSOpenResFile(&ref, fsRdPerm);
    if (mFile != -1)
        UseResFile(mFile);
}

BundleResources::~BundleResources() {
    if (mFile == -1)
        return;
    CloseResFile(mFile);
    UseResFile(mPrevious);
}
