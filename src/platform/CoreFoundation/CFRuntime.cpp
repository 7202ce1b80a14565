//===- CFRuntime.cpp - Base class and type registry of CF objects ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFRuntime.h>

#include <climits>
#include <cstdio>
#include <mutex>

namespace pmcf {

namespace {

// A fixed table keeps the registry free of static destructors: names are string literals and
// ids are handed out by the lock, so TypeName never races with a registration.
constexpr CFTypeID kMaxTypes = 128;
std::mutex gRegistryLock;
const char* gTypeNames[kMaxTypes] = {nullptr, "CFAllocator", "CFBoolean"};
CFTypeID gNextType = kBooleanTypeID + 1;

} // namespace

CFTypeID RegisterType(const char* name) {
    std::lock_guard<std::mutex> lock(gRegistryLock);
    CFTypeID id = gNextType++;
    if (id < kMaxTypes)
        gTypeNames[id] = name;
    return id;
}

const char* TypeName(CFTypeID type) {
    std::lock_guard<std::mutex> lock(gRegistryLock);
    return type < kMaxTypes ? gTypeNames[type] : nullptr;
}

void Object::retain() const {
    if (!immortal_)
        refs_.fetch_add(1, std::memory_order_relaxed);
}

void Object::release() const {
    if (immortal_)
        return;
    // acq_rel so that the deleting thread sees every write made before other releases.
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

CFIndex Object::retainCount() const {
    return immortal_ ? LONG_MAX : refs_.load(std::memory_order_relaxed);
}

CFHashCode Object::hash() const {
    return reinterpret_cast<CFHashCode>(this) >> 4;
}

std::u16string Object::describe() const {
    return DefaultDescription(*this);
}

bool RangeIsValid(CFRange range, CFIndex length) {
    return range.location >= 0 && range.length >= 0 && range.location <= length &&
           range.length <= length - range.location;
}

std::u16string Widen(std::string_view ascii) {
    // Sized once and filled by index: a push_back per byte checks the capacity every time,
    // and nearly every string made from bytes passes through here.
    std::u16string wide(ascii.size(), u'\0');
    for (size_t i = 0; i < ascii.size(); ++i)
        wide[i] = static_cast<unsigned char>(ascii[i]);
    return wide;
}

std::u16string DefaultDescription(const Object& object) {
    const char* name = TypeName(object.typeID());
    char text[96];
    std::snprintf(text, sizeof text, "<%s %p>", name ? name : "CFType",
                  static_cast<const void*>(&object));
    return Widen(text);
}

CFHashCode HashBytes(const void* bytes, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) {
        hash ^= p[i];
        hash *= 1099511628211ull;
    }
    return static_cast<CFHashCode>(hash);
}

} // namespace pmcf
