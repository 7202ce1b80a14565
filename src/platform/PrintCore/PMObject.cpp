/// The registry of live sessions and printers, and PMRetain/PMRelease.

#include "PMInternal.h"

#include <unordered_set>

namespace pmprint {

namespace {

// Never freed: objects may be released from static destructors.
std::mutex& RegistryLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}
std::unordered_set<const void*>& Live() {
    static auto* live = new std::unordered_set<const void*>;
    return *live;
}

// The live object at `p` (lock held). Only addresses are compared until one is found.
Object* Lookup(const void* p) {
    return Live().count(p) ? static_cast<Object*>(const_cast<void*>(p)) : nullptr;
}

} // namespace

// The registry holds the address the public handles carry: that of the Object base, which
// is also the derived object's address since Object is the only base.
Object::Object(Kind k) : kind(k) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Live().insert(this);
}

Object::~Object() {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Live().erase(this);
}

Object* Find(const void* object, Object::Kind kind) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Object* o = Lookup(object);
    return o && o->kind == kind && o->refs > 0 ? o : nullptr;
}

bool Retain(const void* object) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Object* o = Lookup(object);
    if (o == nullptr || o->refs <= 0)
        return false;
    ++o->refs;
    return true;
}

bool Release(const void* object) {
    Object* dead = nullptr;
    {
        std::lock_guard<std::mutex> guard(RegistryLock());
        Object* o = Lookup(object);
        if (o == nullptr || o->refs <= 0)
            return false;
        if (--o->refs == 0)
            dead = o;
    }
    // Deleted outside the lock: a session's destructor releases its printer.
    delete dead;
    return true;
}

std::u16string TextOf(CFStringRef string) {
    std::u16string text(static_cast<size_t>(CFStringGetLength(string)), u'\0');
    if (!text.empty())
        CFStringGetCharacters(string, CFRangeMake(0, CFStringGetLength(string)),
                              reinterpret_cast<UniChar*>(&text[0]));
    return text;
}

} // namespace pmprint

extern "C" {

OSStatus PMRetain(PMObject object) {
    return pmprint::Retain(object) ? noErr : OSStatus(kPMInvalidParameter);
}

OSStatus PMRelease(PMObject object) {
    return pmprint::Release(object) ? noErr : OSStatus(kPMInvalidParameter);
}

} // extern "C"
