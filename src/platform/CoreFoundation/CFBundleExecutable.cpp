//===- CFBundleExecutable.cpp - Loading a bundle's shared object -----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFBundleInternal.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

namespace {

// The executable's path, or "" (with the reason in `why`) when the bundle names none usable.
std::string ExecutablePath(const __CFBundle& bundle, std::string* why) {
    CFTypeRef name = CFDictionaryGetValue(bundle.info, kCFBundleExecutableKey);
    if (CFGetTypeID(name) != CFStringGetTypeID()) {
        if (why)
            *why = "the bundle " + bundle.path + " names no CFBundleExecutable string";
        return "";
    }
    std::string text = PMCFStringCopyUTF8(static_cast<CFStringRef>(name));
    // A name of 250 bytes and ".so" still fit one file name; longer ones are not ours.
    if (!pmcf::IsPlainName(text) || text.size() > 250) {
        if (why)
            *why = "CFBundleExecutable \"" + text.substr(0, 64) + "\" is not a plain file name";
        return "";
    }
    return bundle.path + "/Contents/Linux/" + text + ".so";
}

CFErrorRef MakeError(const std::string& reason) {
    CFStringRef text = PMCFStringCreateWithUTF8(reason);
    if (text == nullptr)
        text = CFSTR("the executable could not be loaded");
    const void* keys[] = {kCFErrorDescriptionKey};
    const void* values[] = {text};
    CFDictionaryRef info = CFDictionaryCreate(nullptr, keys, values, 1,
                                              &kCFTypeDictionaryKeyCallBacks,
                                              &kCFTypeDictionaryValueCallBacks);
    // 3587 is the platform's "executable not loadable" code.
    CFErrorRef error = CFErrorCreate(nullptr, kCFErrorDomainCocoa, 3587, info);
    CFRelease(info);
    CFRelease(text);
    return error;
}

// The address of `name` when the loaded executable itself defines it.
void* OwnSymbol(CFBundleRef bundle, CFStringRef symbolName) {
    __CFBundle* b = pmcf::CastMutable<__CFBundle>(bundle);
    if (b == nullptr || CFGetTypeID(symbolName) != CFStringGetTypeID())
        return nullptr;
    std::string name = PMCFStringCopyUTF8(symbolName);
    if (name.empty() || name.find('\0') != std::string::npos)
        return nullptr;
    std::lock_guard<std::mutex> guard(b->executableLock);
    if (b->executable == nullptr)
        return nullptr;
    // dlsym of a handle also searches the libraries the executable depends on: a name such as
    // "free" would be found in libc. Only symbols defined by the executable itself count.
    void* symbol = dlsym(b->executable, name.c_str());
    struct link_map* own = nullptr;
    struct link_map* holder = nullptr;
    Dl_info where;
    if (symbol == nullptr || dlinfo(b->executable, RTLD_DI_LINKMAP, &own) != 0 ||
        dladdr1(symbol, &where, reinterpret_cast<void**>(&holder), RTLD_DL_LINKMAP) == 0 ||
        holder != own)
        return nullptr;
    return symbol;
}

} // namespace

namespace pmcf {

void CloseExecutable(__CFBundle& bundle) {
    void* handle = nullptr;
    {
        std::lock_guard<std::mutex> guard(bundle.executableLock);
        handle = bundle.executable;
        bundle.executable = nullptr;
    }
    if (handle)
        dlclose(handle);
}

} // namespace pmcf

extern "C" {

CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle) {
    const __CFBundle* b = pmcf::Cast<__CFBundle>(bundle);
    if (b == nullptr)
        return nullptr;
    std::string path = ExecutablePath(*b, nullptr);
    if (path.empty())
        return nullptr;
    return CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        false);
}

Boolean CFBundleLoadExecutableAndReturnError(CFBundleRef bundle, CFErrorRef* error) {
    if (error)
        *error = nullptr;
    __CFBundle* b = pmcf::CastMutable<__CFBundle>(bundle);
    if (b == nullptr)
        return false;
    std::lock_guard<std::mutex> guard(b->executableLock);
    if (b->executable)
        return true;
    std::string reason;
    std::string path = ExecutablePath(*b, &reason);
    struct stat info;
    if (!path.empty() && (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)))
        reason = "the executable " + path + " is missing or not a regular file";
    else if (!path.empty()) {
        // Lazy binding would turn a missing symbol into a crash at its first call; binding
        // everything now turns it into this refusal.
        b->executable = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (b->executable)
            return true;
        const char* text = dlerror();
        reason = "the executable " + path + " does not load: " + (text ? text : "unknown error");
    }
    pmcf::NotePlugInError(reason);
    if (error)
        *error = MakeError(reason);
    return false;
}

Boolean CFBundleLoadExecutable(CFBundleRef bundle) {
    return CFBundleLoadExecutableAndReturnError(bundle, nullptr);
}

Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle) {
    __CFBundle* b = pmcf::CastMutable<__CFBundle>(bundle);
    if (b == nullptr)
        return false;
    std::lock_guard<std::mutex> guard(b->executableLock);
    return b->executable != nullptr;
}

void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName) {
    return OwnSymbol(bundle, functionName);
}

void* CFBundleGetDataPointerForName(CFBundleRef bundle, CFStringRef symbolName) {
    return OwnSymbol(bundle, symbolName);
}

void CFBundleUnloadExecutable(CFBundleRef bundle) {
    __CFBundle* b = pmcf::CastMutable<__CFBundle>(bundle);
    if (b && !pmcf::PlugInHasInstances(b))
        pmcf::CloseExecutable(*b);
}

} // extern "C"
