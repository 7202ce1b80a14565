//===- CFPlugIn.cpp - Factories and types of plug-in bundles ---------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFBundleInternal.h>
#include <CoreFoundation/CFBoolean.h>
#include <CoreFoundation/CFPlugIn.h>
#include <CoreFoundation/CFRunLoop.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <climits>
#include <cstring>

namespace {

// More declarations than this in one plug-in are refused: registration is linear in them.
constexpr CFIndex kMaxDeclarations = 256;
constexpr size_t kMaxFunctionName = 255;

struct Factory {
    CFUUIDBytes id;
    __CFBundle* plugIn; // not retained: the bundle forgets its factories when destroyed
    std::string function;
    std::vector<CFUUIDBytes> types;
    CFIndex instances = 0;
};

struct PlugInState {
    __CFBundle* bundle;
    CFIndex instances = 0;
    bool held = false;          // the registry holds a reference while instances live
    bool unloadPending = false; // the last instance went; close on the next main-loop pass
};

struct Registry {
    std::mutex lock;
    std::vector<Factory> factories;
    std::vector<PlugInState> plugIns;
    CFRunLoopSourceRef unloader = nullptr;
};

// Never freed: bundles may be destroyed by static destructors.
Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

thread_local std::string tLastError;

bool SameUUID(const CFUUIDBytes& a, const CFUUIDBytes& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

Factory* FindFactory(Registry& r, const CFUUIDBytes& id) {
    for (Factory& f : r.factories)
        if (SameUUID(f.id, id))
            return &f;
    return nullptr;
}

PlugInState* FindState(Registry& r, const __CFBundle* bundle) {
    for (PlugInState& s : r.plugIns)
        if (s.bundle == bundle)
            return &s;
    return nullptr;
}

/// Runs `use(registry, factory, state)` under the registry's lock with the registered factory
/// `factoryID` names and the state of its plug-in (each null when unknown, both when
/// `factoryID` is no UUID); answers what `use` answers.
template <class Use> auto WithFactory(CFUUIDRef factoryID, Use use) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    Factory* f = CFGetTypeID(factoryID) == CFUUIDGetTypeID()
                     ? FindFactory(r, CFUUIDGetUUIDBytes(factoryID))
                     : nullptr;
    return use(r, f, f ? FindState(r, f->plugIn) : nullptr);
}

std::string Text(CFTypeRef value) {
    if (CFGetTypeID(value) != CFStringGetTypeID())
        return "<not a string>";
    std::string text = PMCFStringCopyUTF8(static_cast<CFStringRef>(value));
    return text.size() > 64 ? text.substr(0, 64) + "..." : text;
}

// The UUID written in `value` when it is a string of the standard form.
bool ParseUUID(CFTypeRef value, CFUUIDBytes& bytes) {
    if (CFGetTypeID(value) != CFStringGetTypeID())
        return false;
    CFUUIDRef uuid = CFUUIDCreateFromString(nullptr, static_cast<CFStringRef>(value));
    if (uuid == nullptr)
        return false;
    bytes = CFUUIDGetUUIDBytes(uuid);
    CFRelease(uuid);
    return true;
}

// A C identifier: what dlsym can find as a plain function name.
bool IsFunctionName(const std::string& name) {
    if (name.empty() || name.size() > kMaxFunctionName)
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

bool IsTrue(CFTypeRef value) {
    if (value == kCFBooleanTrue)
        return true;
    if (CFGetTypeID(value) != CFStringGetTypeID())
        return false;
    std::string text = PMCFStringCopyUTF8(static_cast<CFStringRef>(value));
    return text == "YES" || text == "yes" || text == "true";
}

// The dictionary entries as key and value arrays, at most kMaxDeclarations of them.
bool Entries(CFDictionaryRef dict, std::vector<const void*>& keys,
             std::vector<const void*>& values) {
    CFIndex count = CFDictionaryGetCount(dict);
    if (count > kMaxDeclarations)
        return false;
    keys.resize(static_cast<size_t>(count));
    values.resize(static_cast<size_t>(count));
    if (count > 0)
        CFDictionaryGetKeysAndValues(dict, keys.data(), values.data());
    return true;
}

// The factories that `bundle` declares, checked; refusals are noted.
std::vector<Factory> ReadFactories(__CFBundle* bundle) {
    std::vector<Factory> declared;
    const std::string where = " in " + bundle->path;
    if (IsTrue(CFDictionaryGetValue(bundle->info, CFSTR("CFPlugInDynamicRegistration")))) {
        pmcf::NotePlugInError("dynamic registration is not supported" + where);
        return declared;
    }
    CFTypeRef factories = CFDictionaryGetValue(bundle->info, CFSTR("CFPlugInFactories"));
    if (factories == nullptr)
        return declared;
    std::vector<const void*> keys, values;
    if (CFGetTypeID(factories) != CFDictionaryGetTypeID()) {
        pmcf::NotePlugInError("CFPlugInFactories is not a dictionary" + where);
        return declared;
    }
    if (!Entries(static_cast<CFDictionaryRef>(factories), keys, values)) {
        pmcf::NotePlugInError("CFPlugInFactories declares too many factories" + where);
        return declared;
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        Factory f{};
        f.plugIn = bundle;
        if (!ParseUUID(keys[i], f.id)) {
            pmcf::NotePlugInError("factory identifier \"" + Text(keys[i]) + "\" is not a UUID" +
                                  where);
            continue;
        }
        f.function = CFGetTypeID(values[i]) == CFStringGetTypeID()
                         ? PMCFStringCopyUTF8(static_cast<CFStringRef>(values[i]))
                         : std::string();
        if (!IsFunctionName(f.function)) {
            pmcf::NotePlugInError("factory function \"" + Text(values[i]) + "\" of " +
                                  Text(keys[i]) + " is not a function name" + where);
            continue;
        }
        declared.push_back(std::move(f));
    }
    return declared;
}

// Adds the types that `bundle` declares to its `declared` factories; refusals are noted.
void ReadTypes(__CFBundle* bundle, std::vector<Factory>& declared) {
    const std::string where = " in " + bundle->path;
    CFTypeRef types = CFDictionaryGetValue(bundle->info, CFSTR("CFPlugInTypes"));
    if (types == nullptr)
        return;
    std::vector<const void*> keys, values;
    if (CFGetTypeID(types) != CFDictionaryGetTypeID()) {
        pmcf::NotePlugInError("CFPlugInTypes is not a dictionary" + where);
        return;
    }
    if (!Entries(static_cast<CFDictionaryRef>(types), keys, values)) {
        pmcf::NotePlugInError("CFPlugInTypes declares too many types" + where);
        return;
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        CFUUIDBytes type;
        if (!ParseUUID(keys[i], type)) {
            pmcf::NotePlugInError("type identifier \"" + Text(keys[i]) + "\" is not a UUID" +
                                  where);
            continue;
        }
        if (CFGetTypeID(values[i]) != CFArrayGetTypeID() ||
            CFArrayGetCount(static_cast<CFArrayRef>(values[i])) > kMaxDeclarations) {
            pmcf::NotePlugInError("the factories of type " + Text(keys[i]) +
                                  " are not an array of at most 256" + where);
            continue;
        }
        CFArrayRef list = static_cast<CFArrayRef>(values[i]);
        for (CFIndex j = 0; j < CFArrayGetCount(list); ++j) {
            CFTypeRef entry = CFArrayGetValueAtIndex(list, j);
            CFUUIDBytes id;
            Factory* factory = nullptr;
            if (ParseUUID(entry, id))
                for (Factory& f : declared)
                    if (SameUUID(f.id, id))
                        factory = &f;
            if (factory == nullptr) {
                pmcf::NotePlugInError("type " + Text(keys[i]) + " names \"" + Text(entry) +
                                      "\", which is no factory of the plug-in" + where);
                continue;
            }
            bool known = false;
            for (const CFUUIDBytes& t : factory->types)
                known = known || SameUUID(t, type);
            if (!known)
                factory->types.push_back(type);
        }
    }
}

// Closes the executables of the plug-ins whose last instance went (main thread, unlocked).
void PerformUnloads(void*) {
    Registry& r = TheRegistry();
    std::vector<__CFBundle*> done;
    {
        std::lock_guard<std::mutex> guard(r.lock);
        for (PlugInState& s : r.plugIns) {
            if (s.unloadPending && s.instances == 0 && s.held) {
                s.unloadPending = false;
                s.held = false;
                done.push_back(s.bundle);
            }
        }
    }
    for (__CFBundle* bundle : done) {
        pmcf::CloseExecutable(*bundle);
        // May destroy the bundle, which then forgets its factories.
        CFRelease(bundle);
    }
}

// Asks the main run loop for a pass of PerformUnloads. Called with the registry locked.
void ScheduleUnload(Registry& r) {
    if (r.unloader == nullptr) {
        CFRunLoopSourceContext context = {};
        context.perform = PerformUnloads;
        r.unloader = CFRunLoopSourceCreate(nullptr, 0, &context);
        CFRunLoopAddSource(CFRunLoopGetMain(), r.unloader, kCFRunLoopCommonModes);
    }
    CFRunLoopSourceSignal(r.unloader);
    CFRunLoopWakeUp(CFRunLoopGetMain());
}

std::string PathOf(CFURLRef url) {
    char path[PATH_MAX];
    if (!CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path), sizeof path))
        return "";
    std::string text = path;
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

CFArrayRef FindFactories(CFUUIDRef typeUUID, const __CFBundle* only) {
    CFMutableArrayRef found = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    if (CFGetTypeID(typeUUID) != CFUUIDGetTypeID())
        return found;
    CFUUIDBytes type = CFUUIDGetUUIDBytes(typeUUID);
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const Factory& f : r.factories) {
        if (only && f.plugIn != only)
            continue;
        for (const CFUUIDBytes& t : f.types) {
            if (SameUUID(t, type)) {
                CFUUIDRef id = CFUUIDCreateFromUUIDBytes(nullptr, f.id);
                CFArrayAppendValue(found, id);
                CFRelease(id);
                break;
            }
        }
    }
    return found;
}

} // namespace

namespace pmcf {

void NotePlugInError(const std::string& reason) {
    if (!tLastError.empty())
        tLastError += "; ";
    tLastError += reason;
}

void ForgetPlugIn(__CFBundle* bundle) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    for (auto it = r.factories.begin(); it != r.factories.end();)
        it = it->plugIn == bundle ? r.factories.erase(it) : it + 1;
    for (auto it = r.plugIns.begin(); it != r.plugIns.end(); ++it) {
        if (it->bundle == bundle) {
            r.plugIns.erase(it);
            break;
        }
    }
}

bool PlugInHasInstances(__CFBundle* bundle) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    PlugInState* s = FindState(r, bundle);
    return s && s->instances > 0;
}

} // namespace pmcf

extern "C" {

CFTypeID CFPlugInGetTypeID(void) {
    return CFBundleGetTypeID();
}

CFPlugInRef CFPlugInCreate(CFAllocatorRef allocator, CFURLRef plugInURL) {
    tLastError.clear();
    std::string path = PathOf(plugInURL);
    if (path.empty()) {
        pmcf::NotePlugInError("the plug-in URL is no file-system path");
        return nullptr;
    }
    Registry& r = TheRegistry();
    {
        std::lock_guard<std::mutex> guard(r.lock);
        for (PlugInState& s : r.plugIns) {
            // A count of 0 means the last release is under way: that plug-in is gone already.
            if (s.bundle->path == path && s.bundle->retainCount() > 0)
                return static_cast<CFPlugInRef>(const_cast<void*>(CFRetain(s.bundle)));
        }
    }
    __CFBundle* bundle = pmcf::CastMutable<__CFBundle>(CFBundleCreate(allocator, plugInURL));
    if (bundle == nullptr) {
        pmcf::NotePlugInError(path + " is no bundle directory");
        return nullptr;
    }
    std::vector<Factory> declared = ReadFactories(bundle);
    ReadTypes(bundle, declared);
    std::lock_guard<std::mutex> guard(r.lock);
    for (Factory& f : declared) {
        if (Factory* other = FindFactory(r, f.id)) {
            CFUUIDRef id = CFUUIDCreateFromUUIDBytes(nullptr, f.id);
            CFStringRef text = CFUUIDCreateString(nullptr, id);
            pmcf::NotePlugInError("factory " + PMCFStringCopyUTF8(text) +
                                  " is registered already by " + other->plugIn->path);
            CFRelease(text);
            CFRelease(id);
            continue;
        }
        r.factories.push_back(std::move(f));
    }
    r.plugIns.push_back(PlugInState{bundle});
    return bundle;
}

CFBundleRef CFPlugInGetBundle(CFPlugInRef plugIn) {
    return pmcf::Cast<__CFBundle>(plugIn) ? plugIn : nullptr;
}

CFArrayRef CFPlugInFindFactoriesForPlugInType(CFUUIDRef typeUUID) {
    return FindFactories(typeUUID, nullptr);
}

CFArrayRef CFPlugInFindFactoriesForPlugInTypeInPlugIn(CFUUIDRef typeUUID, CFPlugInRef plugIn) {
    const __CFBundle* only = pmcf::Cast<__CFBundle>(plugIn);
    if (only == nullptr)
        return CFArrayCreate(nullptr, nullptr, 0, &kCFTypeArrayCallBacks);
    return FindFactories(typeUUID, only);
}

void* CFPlugInInstanceCreate(CFAllocatorRef allocator, CFUUIDRef factoryUUID,
                             CFUUIDRef typeUUID) {
    tLastError.clear();
    if (CFGetTypeID(factoryUUID) != CFUUIDGetTypeID() ||
        CFGetTypeID(typeUUID) != CFUUIDGetTypeID()) {
        pmcf::NotePlugInError("the factory and type must be UUIDs");
        return nullptr;
    }
    CFUUIDBytes id = CFUUIDGetUUIDBytes(factoryUUID);
    CFUUIDBytes type = CFUUIDGetUUIDBytes(typeUUID);
    Registry& r = TheRegistry();
    __CFBundle* bundle = nullptr;
    std::string function;
    {
        std::lock_guard<std::mutex> guard(r.lock);
        Factory* f = FindFactory(r, id);
        bool makesType = false;
        if (f)
            for (const CFUUIDBytes& t : f->types)
                makesType = makesType || SameUUID(t, type);
        if (!makesType) {
            pmcf::NotePlugInError(f ? "the factory is not declared for the type"
                                    : "no plug-in registers the factory");
            return nullptr;
        }
        // Kept alive across the unlocked call, whatever the caller does with the plug-in.
        bundle = static_cast<__CFBundle*>(const_cast<void*>(CFRetain(f->plugIn)));
        function = f->function;
        if (PlugInState* s = FindState(r, bundle))
            s->unloadPending = false;
    }
    void* instance = nullptr;
    if (CFBundleLoadExecutable(bundle)) {
        CFStringRef name = PMCFStringCreateWithUTF8(function);
        auto factory = reinterpret_cast<CFPlugInFactoryFunction>(
            CFBundleGetFunctionPointerForName(bundle, name));
        if (name)
            CFRelease(name);
        if (factory == nullptr)
            pmcf::NotePlugInError("the executable of " + bundle->path + " does not export " +
                                  function);
        else if ((instance = factory(allocator, typeUUID)) == nullptr)
            pmcf::NotePlugInError("the factory function " + function + " made no instance");
        // Called from the host, not from the executable: closing it now is safe.
        if (instance == nullptr)
            CFBundleUnloadExecutable(bundle);
    }
    CFRelease(bundle);
    return instance;
}

void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID) {
    WithFactory(factoryID, [](Registry&, Factory* f, PlugInState* s) {
        if (s == nullptr)
            return;
        ++f->instances;
        ++s->instances;
        s->unloadPending = false;
        if (!s->held) {
            CFRetain(s->bundle);
            s->held = true;
        }
    });
}

void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID) {
    WithFactory(factoryID, [](Registry& r, Factory* f, PlugInState* s) {
        if (s == nullptr || f->instances == 0)
            return;
        --f->instances;
        if (--s->instances == 0) {
            s->unloadPending = true;
            ScheduleUnload(r);
        }
    });
}

CFIndex CFPlugInGetInstanceCountForFactory(CFUUIDRef factoryID) {
    return WithFactory(factoryID, [](Registry&, Factory* f, PlugInState*) -> CFIndex {
        return f ? f->instances : 0;
    });
}

CFStringRef CFPlugInCopyLastError(void) {
    CFStringRef text = PMCFStringCreateWithUTF8(tLastError);
    return text ? text : CFSTR("");
}

} // extern "C"
