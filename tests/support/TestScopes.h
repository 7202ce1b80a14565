// Shared by the tests: an owned Core Foundation reference, an environment variable set for a
// scope, a scratch folder, file URLs and the UTF-8 text of strings.
#ifndef PIGMENTOR_TESTS_TESTSCOPES_H
#define PIGMENTOR_TESTS_TESTSCOPES_H

#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

/// Sets (nullopt: unsets) an environment variable for the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : mName(name) {
        if (const char* old = std::getenv(name))
            mOld = old;
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~ScopedEnv() { mOld ? setenv(mName.c_str(), mOld->c_str(), 1) : unsetenv(mName.c_str()); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string mName;
    std::optional<std::string> mOld;
};

/// Releases one CF reference at scope exit.
template <class T> struct Owned {
    T ref;
    explicit Owned(T r = nullptr) : ref(r) {}
    ~Owned() {
        if (ref)
            CFRelease(ref);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T get() const { return ref; }
    operator T() const { return ref; }
};

/// A new file URL of `path` (the caller releases it).
inline CFURLRef FileURL(const std::string& path, bool directory = false) {
    return CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), CFIndex(path.size()), directory);
}

/// The UTF-8 text of a string that is not released here; "<null>" for null.
inline std::string UTF8(CFStringRef s) {
    return s ? PMCFStringCopyUTF8(s) : "<null>";
}

/// The UTF-8 text of a string the caller owned, which is released here; "<null>" for null.
inline std::string Take(CFStringRef s) {
    std::string text = UTF8(s);
    if (s)
        CFRelease(s);
    return text;
}

/// A new folder under /tmp, removed with everything in it at scope exit.
struct Scratch {
    std::string path;
    Scratch() {
        char name[] = "/tmp/pigmentor-test-XXXXXX";
        path = mkdtemp(name) ? name : "";
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    std::string operator/(const std::string& leaf) const { return path + "/" + leaf; }
    /// A new file URL of `leaf`, or of the folder itself for "" (the caller releases it).
    CFURLRef URL(const std::string& leaf = "", bool directory = false) const {
        return FileURL(leaf.empty() ? path : *this / leaf, directory);
    }
    /// Writes `text` to `leaf`, making the folders on the way.
    void Write(const std::string& leaf, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(*this / leaf).parent_path());
        std::ofstream(*this / leaf, std::ios::binary) << text;
    }
};

#endif // PIGMENTOR_TESTS_TESTSCOPES_H
