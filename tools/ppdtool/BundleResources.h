//===- BundleResources.h - The plug-in's resource file for a tool -*- C++ -*-===//
#ifndef PIGMENTOR_TOOLS_BUNDLERESOURCES_H
#define PIGMENTOR_TOOLS_BUNDLERESOURCES_H

#include <string>

/// The plug-in bundle's folder: $PIGMENTOR_BUNDLE, else Pigmentor.plugin beside the tool's own
/// folder (build/Pigmentor.plugin); empty when the tool's path cannot be read.
std::string PluginBundleDirectory();

/// Opens the plug-in bundle's resource file and makes it current for the object's lifetime, so
/// that a command-line tool shows the same error descriptions as the plug-in. The bundle is
/// found with PluginBundleDirectory; without one, descriptions are simply empty.
class BundleResources {
public:
    BundleResources();
    ~BundleResources();
    BundleResources(const BundleResources&) = delete;
    BundleResources& operator=(const BundleResources&) = delete;

private:
    short mFile = -1;
    short mPrevious = -1;
};

#endif // PIGMENTOR_TOOLS_BUNDLERESOURCES_H
