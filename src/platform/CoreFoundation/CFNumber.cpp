//===- CFNumber.cpp - Boxed integers and floating-point values ------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFRuntime.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double kTwo63 = 9223372036854775808.0; // 2^63, exactly representable

/// Compares a double with an integer exactly (no rounding of either side).
CFComparisonResult CompareDoubleInt(double d, int64_t i) {
    if (std::isnan(d) || d < -kTwo63)
        return kCFCompareLessThan;
    if (d >= kTwo63)
        return kCFCompareGreaterThan;
    double whole = std::trunc(d);
    int64_t w = static_cast<int64_t>(whole);
    if (w != i)
        return w < i ? kCFCompareLessThan : kCFCompareGreaterThan;
    return d > whole ? kCFCompareGreaterThan : d < whole ? kCFCompareLessThan : kCFCompareEqualTo;
}

CFComparisonResult CompareDoubles(double a, double b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) ? kCFCompareEqualTo
               : std::isnan(a)                ? kCFCompareLessThan
                                              : kCFCompareGreaterThan;
    return a < b ? kCFCompareLessThan : a > b ? kCFCompareGreaterThan : kCFCompareEqualTo;
}

/// The storage type of each public type, or 0 for an unknown one.
CFNumberType StorageType(CFNumberType type) {
    switch (type) {
    case kCFNumberSInt8Type:
    case kCFNumberCharType:
        return kCFNumberSInt8Type;
    case kCFNumberSInt16Type:
    case kCFNumberShortType:
        return kCFNumberSInt16Type;
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
        return kCFNumberSInt32Type;
    case kCFNumberSInt64Type:
    case kCFNumberLongType:
    case kCFNumberLongLongType:
    case kCFNumberCFIndexType:
    case kCFNumberNSIntegerType:
        return sizeof(long) == 8 || type != kCFNumberLongType ? kCFNumberSInt64Type
                                                              : kCFNumberSInt32Type;
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
        return kCFNumberFloat32Type;
    case kCFNumberFloat64Type:
    case kCFNumberDoubleType:
    case kCFNumberCGFloatType:
        return kCFNumberFloat64Type;
    default:
        return 0;
    }
}

template <class T> T Load(const void* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

template <class T> void Store(void* p, T value) {
    std::memcpy(p, &value, sizeof value);
}

// Converts to the integer type T: integers wrap like a C cast, doubles truncate and clamp.
// Returns whether the stored value equals the original.
template <class T> bool ToInteger(bool isFloat, int64_t i, double d, void* out) {
    using Limits = std::numeric_limits<T>;
    if (!isFloat) {
        T value = static_cast<T>(i);
        Store(out, value);
        return static_cast<int64_t>(value) == i;
    }
    T value = 0;
    if (std::isnan(d))
        value = 0;
    else if (d <= static_cast<double>(Limits::min()))
        value = Limits::min();
    else if (d >= -static_cast<double>(Limits::min())) // 2^(bits-1), exact in a double
        value = Limits::max();
    else
        value = static_cast<T>(std::trunc(d));
    Store(out, value);
    return !std::isnan(d) && CompareDoubleInt(d, value) == kCFCompareEqualTo;
}

} // namespace

/// A number: its storage type and its value in `integer` or `real`.
struct __CFNumber final : pmcf::Object {
    static CFTypeID TypeID() { return CFNumberGetTypeID(); }
    __CFNumber(CFNumberType type, int64_t integer, double real)
        : Object(TypeID()), type(type), integer(integer), real(real) {}

    bool isFloat() const { return type == kCFNumberFloat32Type || type == kCFNumberFloat64Type; }
    CFComparisonResult compare(const __CFNumber& o) const {
        if (!isFloat() && !o.isFloat())
            return integer < o.integer   ? kCFCompareLessThan
                   : integer > o.integer ? kCFCompareGreaterThan
                                         : kCFCompareEqualTo;
        if (isFloat() && o.isFloat())
            return CompareDoubles(real, o.real);
        if (isFloat())
            return CompareDoubleInt(real, o.integer);
        return -CompareDoubleInt(o.real, integer);
    }

    bool equals(const Object& other) const override {
        return compare(static_cast<const __CFNumber&>(other)) == kCFCompareEqualTo;
    }
    CFHashCode hash() const override {
        // Equal numbers must hash alike across types: integral doubles hash as integers.
        if (!isFloat())
            return static_cast<CFHashCode>(integer);
        if (std::isnan(real))
            return 0x7ff8;
        if (real >= -kTwo63 && real < kTwo63 && std::trunc(real) == real)
            return static_cast<CFHashCode>(static_cast<int64_t>(real));
        return pmcf::HashBytes(&real, sizeof real);
    }
    std::u16string describe() const override {
        char text[64];
        std::to_chars_result end =
            !isFloat() ? std::to_chars(text, text + sizeof text, integer)
            : type == kCFNumberFloat32Type
                ? std::to_chars(text, text + sizeof text, static_cast<float>(real))
                : std::to_chars(text, text + sizeof text, real);
        return pmcf::Widen(std::string_view(text, end.ptr - text));
    }

    const CFNumberType type; // storage type
    const int64_t integer;
    const double real;
};

extern "C" {

CFTypeID CFNumberGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFNumber");
    return id;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType theType, const void* valuePtr) {
    CFNumberType storage = StorageType(theType);
    if (storage == 0 || valuePtr == nullptr)
        return nullptr;
    int64_t integer = 0;
    double real = 0;
    switch (theType) {
    case kCFNumberSInt8Type:
        integer = Load<int8_t>(valuePtr);
        break;
    case kCFNumberCharType:
        integer = static_cast<signed char>(Load<char>(valuePtr));
        break;
    case kCFNumberSInt16Type:
        integer = Load<int16_t>(valuePtr);
        break;
    case kCFNumberShortType:
        integer = Load<short>(valuePtr);
        break;
    case kCFNumberSInt32Type:
        integer = Load<int32_t>(valuePtr);
        break;
    case kCFNumberIntType:
        integer = Load<int>(valuePtr);
        break;
    case kCFNumberSInt64Type:
        integer = Load<int64_t>(valuePtr);
        break;
    case kCFNumberLongType:
        integer = Load<long>(valuePtr);
        break;
    case kCFNumberLongLongType:
        integer = Load<long long>(valuePtr);
        break;
    case kCFNumberCFIndexType:
    case kCFNumberNSIntegerType:
        integer = Load<CFIndex>(valuePtr);
        break;
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
        real = Load<float>(valuePtr);
        break;
    default:
        real = Load<double>(valuePtr);
        break;
    }
    return new __CFNumber(storage, integer, real);
}

CFNumberType CFNumberGetType(CFNumberRef number) {
    const __CFNumber* n = pmcf::Cast<__CFNumber>(number);
    return n ? n->type : 0;
}

CFIndex CFNumberGetByteSize(CFNumberRef number) {
    switch (CFNumberGetType(number)) {
    case kCFNumberSInt8Type:
        return 1;
    case kCFNumberSInt16Type:
        return 2;
    case kCFNumberSInt32Type:
    case kCFNumberFloat32Type:
        return 4;
    case kCFNumberSInt64Type:
    case kCFNumberFloat64Type:
        return 8;
    default:
        return 0;
    }
}

Boolean CFNumberIsFloatType(CFNumberRef number) {
    const __CFNumber* n = pmcf::Cast<__CFNumber>(number);
    return n && n->isFloat();
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr) {
    const __CFNumber* n = pmcf::Cast<__CFNumber>(number);
    CFNumberType storage = StorageType(theType);
    if (n == nullptr || valuePtr == nullptr || storage == 0)
        return false;
    bool isFloat = n->isFloat();
    int64_t i = n->integer;
    double d = n->real;
    switch (storage) {
    case kCFNumberSInt8Type:
        return ToInteger<int8_t>(isFloat, i, d, valuePtr);
    case kCFNumberSInt16Type:
        return ToInteger<int16_t>(isFloat, i, d, valuePtr);
    case kCFNumberSInt32Type:
        return ToInteger<int32_t>(isFloat, i, d, valuePtr);
    case kCFNumberSInt64Type:
        return ToInteger<int64_t>(isFloat, i, d, valuePtr);
    case kCFNumberFloat64Type: {
        double value = isFloat ? d : static_cast<double>(i);
        Store(valuePtr, value);
        return isFloat || CompareDoubleInt(value, i) == kCFCompareEqualTo;
    }
    default: {
        // Float32: finite doubles beyond float's range clamp to its largest value.
        double source = isFloat ? d : static_cast<double>(i);
        float max = std::numeric_limits<float>::max();
        float value = std::isnan(source)   ? std::numeric_limits<float>::quiet_NaN()
                      : std::isinf(source) ? static_cast<float>(source)
                      : source > max       ? max
                      : source < -max      ? -max
                                           : static_cast<float>(source);
        Store(valuePtr, value);
        if (std::isnan(source))
            return isFloat;
        return isFloat ? static_cast<double>(value) == d
                       : CompareDoubleInt(value, i) == kCFCompareEqualTo;
    }
    }
}

CFComparisonResult CFNumberCompare(CFNumberRef number, CFNumberRef otherNumber, void*) {
    const __CFNumber* a = pmcf::Cast<__CFNumber>(number);
    const __CFNumber* b = pmcf::Cast<__CFNumber>(otherNumber);
    if (a == nullptr || b == nullptr)
        return a ? kCFCompareGreaterThan : b ? kCFCompareLessThan : kCFCompareEqualTo;
    return a->compare(*b);
}

} // extern "C"
