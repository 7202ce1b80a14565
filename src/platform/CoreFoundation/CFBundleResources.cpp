//===- CFBundleResources.cpp - Finding a bundle's resources ---------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFBundleInternal.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <sys/stat.h>

namespace pmcf {

bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::string ResourcesPath(const __CFBundle& bundle) {
    return bundle.path + "/Contents/Resources";
}

} // namespace pmcf

namespace {

CFURLRef URLForPath(const std::string& path, bool isDirectory) {
    return CFURLCreateFromFileSystemRepresentation(nullptr,
                                                   reinterpret_cast<const UInt8*>(path.data()),
                                                   static_cast<CFIndex>(path.size()), isDirectory);
}

// A sub-folder given by the caller: plain segments separated by '/', nothing climbing out.
bool IsRelativeFolder(const std::string& folder) {
    size_t start = 0;
    while (start <= folder.size()) {
        size_t slash = folder.find('/', start);
        if (slash == std::string::npos)
            slash = folder.size();
        if (!pmcf::IsPlainName(std::string_view(folder).substr(start, slash - start)))
            return false;
        start = slash + 1;
    }
    return true;
}

} // namespace

extern "C" {

CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle) {
    const __CFBundle* b = pmcf::Cast<__CFBundle>(bundle);
    return b ? URLForPath(pmcf::ResourcesPath(*b), true) : nullptr;
}

CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName) {
    const __CFBundle* b = pmcf::Cast<__CFBundle>(bundle);
    if (b == nullptr || resourceName == nullptr)
        return nullptr;
    std::string file = PMCFStringCopyUTF8(resourceName);
    std::string type = resourceType ? PMCFStringCopyUTF8(resourceType) : "";
    if (!type.empty())
        file += "." + type;
    std::string sub = subDirName ? PMCFStringCopyUTF8(subDirName) : "";
    if (!pmcf::IsPlainName(file) || (!sub.empty() && !IsRelativeFolder(sub)))
        return nullptr;
    std::string resources = pmcf::ResourcesPath(*b);
    std::vector<std::string> folders = {resources};
    for (const std::string& language : pmcf::LocalizationOrder(*b))
        folders.push_back(resources + "/" + language + ".lproj");
    for (const std::string& folder : folders) {
        std::string path = folder + (sub.empty() ? "" : "/" + sub) + "/" + file;
        struct stat info;
        if (stat(path.c_str(), &info) == 0)
            return URLForPath(path, S_ISDIR(info.st_mode));
    }
    return nullptr;
}

} // extern "C"
