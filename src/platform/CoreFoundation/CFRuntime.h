//===- CFRuntime.h - Base class and type registry of CF objects -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// Internal to the CoreFoundation library: each CF type is a small class derived from
// pmcf::Object, named after the platform's opaque struct (struct __CFString, ...), so that a
// CFStringRef points straight at it. A new type needs: a class deriving from Object with a
// static TypeID() that returns its registered id, and overrides of the hooks it cares about.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFRUNTIME_H
#define PIGMENTOR_CF_CFRUNTIME_H

#include <CoreFoundation/CFBase.h>

#include <atomic>
#include <string>
#include <string_view>

namespace pmcf {

/// Id reserved for CFAllocator, whose instances exist before any registration can run.
constexpr CFTypeID kAllocatorTypeID = 1;
/// Id reserved for CFBoolean, whose two constants are constant-initialised like the allocators.
constexpr CFTypeID kBooleanTypeID = 2;

/// Registers a CF class and returns its new id (never 0); thread-safe, called once per class.
CFTypeID RegisterType(const char* name);
/// The name `type` was registered with, or nullptr for an unknown id.
const char* TypeName(CFTypeID type);

/// Base of every CF object: an atomic reference count, a type id and the value hooks used by
/// CFEqual, CFHash and CFCopyDescription.
///
/// Objects are created with `new` holding one reference, owned by the creator (the Create/Copy
/// rule), and delete themselves when the count drops to zero. Immortal objects (constant
/// strings, allocators) ignore retain and release and are never destroyed. A CF type derives
/// from Object and from nothing else, so a CFTypeRef and the Object* of the same object share
/// one address. Allocation failure is fatal, as it is on the platform.
class Object {
public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    /// The registered id of this object's class.
    CFTypeID typeID() const { return type_; }
    /// True for objects that retain/release leave alone.
    bool isImmortal() const { return immortal_; }
    /// Adds a reference.
    void retain() const;
    /// Drops a reference; deletes the object when it was the last.
    void release() const;
    /// Current count, LONG_MAX for immortal objects.
    CFIndex retainCount() const;

    /// Value equality with `other`, which the caller guarantees has the same type id.
    virtual bool equals(const Object& other) const { return this == &other; }
    /// Hash consistent with equals().
    virtual CFHashCode hash() const;
    /// Human-readable text (UTF-16) used by CFCopyDescription, CFShow and the %@ format.
    virtual std::u16string describe() const;

protected:
    constexpr Object(CFTypeID type, bool immortal) noexcept
        : refs_(1), type_(type), immortal_(immortal) {}
    explicit Object(CFTypeID type) noexcept : Object(type, false) {}

private:
    mutable std::atomic<CFIndex> refs_;
    CFTypeID type_;
    bool immortal_;
};

/// `ref` as a T when it is a non-NULL object of T's type id, else nullptr.
template <class T> const T* Cast(CFTypeRef ref) {
    const Object* object = static_cast<const Object*>(ref);
    if (object == nullptr || object->typeID() != T::TypeID())
        return nullptr;
    return static_cast<const T*>(object);
}

/// Like Cast, for functions that modify the object (the caller checks mutability).
template <class T> T* CastMutable(CFTypeRef ref) {
    return const_cast<T*>(Cast<T>(ref));
}

/// True when `range` lies within a sequence of `length` items: no negative parts, no overflow.
bool RangeIsValid(CFRange range, CFIndex length);

/// `ascii` widened to UTF-16 (for descriptions built from ASCII text).
std::u16string Widen(std::string_view ascii);

/// "<TypeName 0x1234>": the description of objects with nothing better to show.
std::u16string DefaultDescription(const Object& object);

/// FNV-1a over `size` bytes, the hash of byte-like contents.
CFHashCode HashBytes(const void* bytes, size_t size);

} // namespace pmcf

#endif
