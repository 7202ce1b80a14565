//===- BidiBundle.h - A plug-in bundle with a small progress table -*- C++ -*-===//
#ifndef PIGMENTOR_TESTS_BRIVELLE_BIDIBUNDLE_H
#define PIGMENTOR_TESTS_BRIVELLE_BIDIBUNDLE_H

#include "Localization.h"

#include <CoreFoundation/CoreFoundation.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

/// A bundle with the plug-in's identifier whose English "BidiStrings" table has a text for
/// the connecting state only; open, and so found by identifier, while the object lives.
class BidiBundle {
    static std::string BundleIdentifierUtf8() {
        char buffer[256];
        return CFStringGetCString(Localization::BundleIdentifier(), buffer, sizeof buffer,
                                  kCFStringEncodingUTF8)
                   ? buffer
                   : "";
    }

public:
    BidiBundle() {
        char dir[] = "/tmp/progress-bundle-XXXXXX";
        if (!mkdtemp(dir))
            return;
        mDir = dir;
        std::string lproj = mDir + "/Contents/Resources/en.lproj";
        std::filesystem::create_directories(lproj);
        const std::string head =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
        std::ofstream(mDir + "/Contents/Info.plist")
            << head << "<key>CFBundleIdentifier</key><string>"
            << BundleIdentifierUtf8()
            << "</string>\n<key>CFBundleDevelopmentRegion</key><string>English</string>\n"
               "</dict>\n</plist>\n";
        std::ofstream(lproj + "/BidiStrings.strings")
            << head << "<key>kProgressConnecting</key><string>Verbinde \xC3\xBC ...</string>\n"
            << "</dict>\n</plist>\n";
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(mDir.c_str()),
            static_cast<CFIndex>(mDir.size()), true);
        mBundle = CFBundleCreate(nullptr, url);
        CFRelease(url);
    }
    ~BidiBundle() {
        if (mBundle)
            CFRelease(mBundle);
        std::error_code ignored;
        if (!mDir.empty())
            std::filesystem::remove_all(mDir, ignored);
    }
    CFBundleRef Get() const { return mBundle; }

private:
    std::string mDir;
    CFBundleRef mBundle = nullptr;
};

#endif // PIGMENTOR_TESTS_BRIVELLE_BIDIBUNDLE_H
