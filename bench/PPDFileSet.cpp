//===- PPDFileSet.cpp - The PPD files one benchmark pass reads ------------===//
#include "PPDFileSet.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::size_t AddPPDDirectory(PPDFileSet& set, const std::string& dir) {
    // The error_code overloads: a folder that is missing (a driver package not installed) is
    // an ordinary case here, not an exception.
    std::error_code error;
    fs::directory_iterator it(dir, error);
    std::vector<std::pair<std::string, std::uint64_t>> found;
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        std::error_code statError;
        if (path.extension() != ".ppd" || !it->is_regular_file(statError))
            continue;
        std::uint64_t size = it->file_size(statError);
        if (!statError)
            found.emplace_back(path.string(), size);
    }
    // Directory order is the file system's; sorting makes every run read the same sequence.
    std::sort(found.begin(), found.end());
    for (const auto& [path, size] : found) {
        set.paths.push_back(path);
        set.bytes += size;
    }
    return found.size();
}
