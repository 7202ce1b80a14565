//===- CFPropertyListBinaryCheck.cpp - Structural checks of binary lists --===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// The binary form is a header, objects, a table of object offsets and a 32-byte trailer.
// Containers refer to other objects by index, so a hostile file can form cycles, nest as deep
// as it has objects, or share one object so often that the tree libplist builds from it (it
// copies every reference) grows exponentially. This walk follows the references as libplist
// would, with an explicit stack, and refuses what breaks the limits the XML form has too:
// depth, element count, integers, finite reals, dates libplist can hold, string keys. It
// checks; it does not build anything.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFPropertyListInternal.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pmcf {

namespace {

constexpr size_t kHeaderSize = 8;
constexpr size_t kTrailerSize = 32;

uint64_t BigEndian(const unsigned char* p, size_t size) {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value = value << 8 | p[i];
    return value;
}

class BinaryChecker {
public:
    BinaryChecker(std::string_view bytes, std::string& error)
        : data_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size()),
          error_(error) {}

    bool run() {
        if (size_ < kHeaderSize + kTrailerSize || std::memcmp(data_, "bplist00", 8) != 0)
            return fail("binary property list too short");
        const unsigned char* trailer = data_ + size_ - kTrailerSize;
        offsetSize_ = trailer[6];
        refSize_ = trailer[7];
        const uint64_t objects = BigEndian(trailer + 8, 8);
        const uint64_t top = BigEndian(trailer + 16, 8);
        tableStart_ = BigEndian(trailer + 24, 8);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8)
            return fail("binary property list with bad reference sizes");
        if (objects == 0 || objects > uint64_t(kPMCFPropertyListMaxElements) || top >= objects)
            return fail("binary property list with a bad object count");
        const uint64_t tableEnd = size_ - kTrailerSize;
        if (tableStart_ < kHeaderSize || tableStart_ > tableEnd ||
            objects > (tableEnd - tableStart_) / offsetSize_)
            return fail("binary property list offset table out of bounds");
        objects_ = objects;
        return walk(top);
    }

private:
    struct Pending {
        uint64_t index;
        int depth;
        bool isKey;
    };

    bool fail(const char* reason) {
        error_ = reason;
        return false;
    }

    // Where object `index` starts; false when its offset lies outside the object area.
    bool offsetOf(uint64_t index, uint64_t& offset) {
        offset = BigEndian(data_ + tableStart_ + index * offsetSize_, offsetSize_);
        return offset >= kHeaderSize && offset < tableStart_;
    }

    // The element count of the object whose marker is at `at`, and where its contents start.
    bool countOf(uint64_t at, uint64_t& count, uint64_t& contents) {
        count = data_[at] & 0x0F;
        contents = at + 1;
        if (count != 0x0F)
            return true;
        // A count of 15 or more follows as an integer object: marker 0x1n, 2^n bytes.
        if (contents >= tableStart_ || (data_[contents] & 0xF0) != 0x10)
            return fail("binary property list with a bad length");
        const uint64_t width = uint64_t(1) << (data_[contents] & 0x0F);
        if (width > 8 || tableStart_ - contents - 1 < width)
            return fail("binary property list with a bad length");
        count = BigEndian(data_ + contents + 1, width);
        contents += 1 + width;
        return true;
    }

    // Whether `length` bytes from `at` lie within the object area.
    bool fits(uint64_t at, uint64_t length) {
        return at <= tableStart_ && length <= tableStart_ - at;
    }

    bool walk(uint64_t top) {
        std::vector<Pending> stack{{top, 0, false}};
        uint64_t elements = 0;
        while (!stack.empty()) {
            Pending next = stack.back();
            stack.pop_back();
            if (++elements > uint64_t(kPMCFPropertyListMaxElements))
                return fail("too many elements");
            if (!object(next, stack))
                return false;
        }
        return true;
    }

    bool object(const Pending& item, std::vector<Pending>& stack) {
        uint64_t at = 0;
        if (!offsetOf(item.index, at))
            return fail("binary property list object out of bounds");
        const unsigned char marker = data_[at];
        const unsigned kind = marker >> 4;
        if (item.isKey && kind != 0x5 && kind != 0x6)
            return fail("dictionary key that is not a string");
        switch (kind) {
        case 0x0:
            return marker == 0x08 || marker == 0x09 || fail("unsupported element");
        case 0x1: {
            // 1, 2, 4 or 8 bytes; the 8-byte form is the signed 64-bit range.
            const uint64_t width = uint64_t(1) << (marker & 0x0F);
            return (width <= 8 && fits(at + 1, width)) || fail("integer out of range or malformed");
        }
        case 0x2: {
            const uint64_t width = uint64_t(1) << (marker & 0x0F);
            if ((width != 4 && width != 8) || !fits(at + 1, width))
                return fail("real number out of range or malformed");
            return finiteReal(at + 1, width) || fail("real number out of range or malformed");
        }
        case 0x3:
            if (marker != 0x33 || !fits(at + 1, 8))
                return fail("date out of range or malformed");
            return dateFits(at + 1) || fail("date out of range or malformed");
        case 0x4:
        case 0x5:
        case 0x6: {
            uint64_t count = 0, contents = 0;
            if (!countOf(at, count, contents))
                return false;
            const uint64_t unit = kind == 0x6 ? 2 : 1;
            if (count > tableStart_ / unit || !fits(contents, count * unit))
                return fail("binary property list object out of bounds");
            // Text holds no NUL, as in the XML form (libplist asserts that a key's length is
            // its C string's), and UTF-16 text is whole, so that libplist's UTF-8 of it is.
            if (kind == 0x4)
                return true;
            if (!noNul(contents, count, unit))
                return fail("text with a NUL character");
            return kind != 0x6 || pairedSurrogates(contents, count) ||
                   fail("text is not UTF-16");
        }
        case 0xA:
        case 0xD:
            return container(item, at, kind == 0xD, stack);
        default:
            return fail("unsupported element");
        }
    }

    bool container(const Pending& item, uint64_t at, bool dictionary, std::vector<Pending>& stack) {
        if (item.depth + 1 > kPMCFPropertyListMaxDepth)
            return fail("containers nested too deeply");
        uint64_t count = 0, contents = 0;
        if (!countOf(at, count, contents))
            return false;
        const uint64_t refs = dictionary ? count * 2 : count;
        if (count > tableStart_ || !fits(contents, refs * refSize_))
            return fail("binary property list object out of bounds");
        for (uint64_t i = 0; i < refs; ++i) {
            const uint64_t ref = BigEndian(data_ + contents + i * refSize_, refSize_);
            if (ref >= objects_)
                return fail("binary property list reference out of bounds");
            // Dictionary keys come first, then the values in the same order.
            stack.push_back({ref, item.depth + 1, dictionary && i < count});
        }
        // Every reference becomes a node of libplist's tree, so the count is bounded here too.
        if (stack.size() > size_t(kPMCFPropertyListMaxElements))
            return fail("too many elements");
        return true;
    }

    bool noNul(uint64_t at, uint64_t count, uint64_t unit) {
        for (uint64_t i = 0; i < count; ++i)
            if (BigEndian(data_ + at + i * unit, unit) == 0)
                return false;
        return true;
    }

    bool pairedSurrogates(uint64_t at, uint64_t units) {
        for (uint64_t i = 0; i < units; ++i) {
            const uint64_t unit = BigEndian(data_ + at + 2 * i, 2);
            if (unit >= 0xDC00 && unit <= 0xDFFF)
                return false; // a trail without its lead
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                const uint64_t next = i + 1 < units ? BigEndian(data_ + at + 2 * (i + 1), 2) : 0;
                if (next < 0xDC00 || next > 0xDFFF)
                    return false;
                ++i;
            }
        }
        return true;
    }

    bool finiteReal(uint64_t at, uint64_t width) {
        const uint64_t bits = BigEndian(data_ + at, width);
        if (width == 4) {
            float value;
            const uint32_t narrow = static_cast<uint32_t>(bits);
            std::memcpy(&value, &narrow, sizeof value);
            return std::isfinite(value);
        }
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value);
    }

    bool dateFits(uint64_t at) {
        const uint64_t bits = BigEndian(data_ + at, 8);
        double seconds;
        std::memcpy(&seconds, &bits, sizeof seconds);
        return std::isfinite(seconds) && DateFitsPropertyList(seconds);
    }

    const unsigned char* data_;
    const size_t size_;
    std::string& error_;
    unsigned offsetSize_ = 0;
    unsigned refSize_ = 0;
    uint64_t tableStart_ = 0;
    uint64_t objects_ = 0;
};

} // namespace

bool IsBinaryPropertyList(std::string_view bytes) {
    return bytes.size() >= kHeaderSize && bytes.substr(0, 6) == "bplist";
}

bool CheckBinaryPropertyList(std::string_view bytes, std::string& error) {
    if (bytes.size() > size_t(kPMCFPropertyListMaxBytes)) {
        error = "property list too large";
        return false;
    }
    return BinaryChecker(bytes, error).run();
}

} // namespace pmcf
