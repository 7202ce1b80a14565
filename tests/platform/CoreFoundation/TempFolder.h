//===- TempFolder.h - A scratch folder for file-based tests ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_TESTS_CF_TEMPFOLDER_H
#define PIGMENTOR_TESTS_CF_TEMPFOLDER_H

#include <CoreFoundation/CoreFoundation.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

/// A new folder under /tmp, removed with everything in it at scope exit.
class TempFolder {
public:
    TempFolder() {
        char name[] = "/tmp/pigmentor-test-XXXXXX";
        path_ = mkdtemp(name) ? name : "";
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// The folder's path, or `relative` inside it.
    std::string path(const std::string& relative = "") const {
        return relative.empty() ? path_ : path_ + "/" + relative;
    }
    /// Writes `text` to `relative`, making the folders on the way.
    void write(const std::string& relative, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(path(relative)).parent_path());
        std::ofstream(path(relative), std::ios::binary) << text;
    }
    /// A file URL of `relative` (the caller releases it).
    CFURLRef url(const std::string& relative = "", bool isDirectory = false) const {
        std::string p = path(relative);
        return CFURLCreateFromFileSystemRepresentation(nullptr,
                                                       reinterpret_cast<const UInt8*>(p.data()),
                                                       static_cast<CFIndex>(p.size()), isDirectory);
    }

private:
    std::string path_;
};

#endif
