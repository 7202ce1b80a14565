#pragma once
// Helpers shared by the CarbonCore tests: Pascal strings and a scratch directory.

#include <CarbonCore/Files.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

// A Pascal string built from a C++ one (cut at 255 bytes).
struct PStr {
    Str255 bytes;
    explicit PStr(const std::string& s) {
        size_t n = s.size() < 255 ? s.size() : 255;
        bytes[0] = static_cast<unsigned char>(n);
        std::memcpy(bytes + 1, s.data(), n);
    }
    operator const unsigned char*() const { return bytes; }
};

inline std::string FromPStr(const unsigned char* p) {
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

// A fresh directory, removed with everything in it at the end; `id` is its directory id.
struct ScratchDir {
    std::string path;
    long id = 0;
    ScratchDir() {
        char pattern[] = "/tmp/carboncore-XXXXXX";
        char* made = mkdtemp(pattern);
        path = std::filesystem::canonical(made != nullptr ? made : "/nonexistent").string();
        FSRef ref;
        FSCatalogInfo info;
        if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) == noErr &&
            FSGetCatalogInfo(&ref, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr) == noErr)
            id = long(info.nodeID);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string operator/(const std::string& leaf) const { return path + "/" + leaf; }
};
