//===- BundleResources.h - The plug-in's resource file for a tool -*- C++ -*-===//
#ifndef PIGMENTOR_TOOLS_BUNDLERESOURCES_H
#define PIGMENTOR_TOOLS_BUNDLERESOURCES_H

/// Opens the plug-in bundle's resource file and makes it current for the object's lifetime, so
/// that a command-line tool shows the same error descriptions as the plug-in. The bundle is
/// found from $PIGMENTOR_BUNDLE, else beside the tool's own folder (build/Pigmentor.plugin);
/// without one, descriptions are simply empty.
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
