// Scope guards shared by the tests: an owned Core Foundation reference and a scratch folder.
#ifndef PIGMENTOR_TESTS_TESTSCOPES_H
#define PIGMENTOR_TESTS_TESTSCOPES_H

#include <CoreFoundation/CoreFoundation.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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
    /// Writes `text` to `leaf`, making the folders on the way.
    void Write(const std::string& leaf, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(*this / leaf).parent_path());
        std::ofstream(*this / leaf, std::ios::binary) << text;
    }
};

#endif // PIGMENTOR_TESTS_TESTSCOPES_H
