//===- PPDXRangeControl.cpp - An integer within bounds --------------------===//
#include "PPDXRangeControl.h"

#include "PPDXArchiveItems.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

PPDXRangeControl::PPDXRangeControl(const char* keyword, CFStringRef localName, PointerList& flags,
                                   unsigned char* psData, const long& psLength, const long& minimum,
                                   const long& maximum, const long& increment,
                                   const long& defaultValue, const bool& visible)
    : PPDXControl(keyword, localName, flags, psData, psLength, visible),
      mValue(Saturate32(defaultValue)), mMin(Saturate32(minimum)), mMax(Saturate32(maximum)),
      mIncrement(Saturate32(increment)), mDefault(Saturate32(defaultValue)) {
    mType = kRangeType;
}

PPDXRangeControl::PPDXRangeControl(Settings& settings, const long& id) : PPDXControl(settings, id) {
    using namespace PPDXArchive;
    mType = kRangeType;
    GetNumber(settings, kRangeValueTag, id, mValue);
    GetNumber(settings, kRangeMinTag, id, mMin);
    GetNumber(settings, kRangeMaxTag, id, mMax);
    GetNumber(settings, kRangeIncrementTag, id, mIncrement);
    GetNumber(settings, kRangeDefaultTag, id, mDefault);
}

PPDXRangeControl::~PPDXRangeControl() = default;

short PPDXRangeControl::Save(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    short error = PPDXControl::Save(settings, id);
    if (!error)
        error = PutMarker(settings, kRangeMarker, id);
    if (!error)
        error = PutNumber(settings, kRangeValueTag, id, mValue);
    if (!error)
        error = PutNumber(settings, kRangeMinTag, id, mMin);
    if (!error)
        error = PutNumber(settings, kRangeMaxTag, id, mMax);
    if (!error)
        error = PutNumber(settings, kRangeIncrementTag, id, mIncrement);
    if (!error)
        error = PutNumber(settings, kRangeDefaultTag, id, mDefault);
    return error;
}

short PPDXRangeControl::Restore(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    short error = 0;
    if (!PPDXArchive::Has(settings, kRangeValueTag, id, &error))
        return error;
    // The value went into the archive as the user left it; it comes back the same way.
    if (GetNumber(settings, kRangeValueTag, id, mValue))
        mPSCache.Drop();
    return 0;
}

void PPDXRangeControl::SetValue(const long& value) {
    // 64-bit arithmetic: INT32_MIN / -1 must not overflow.
    int64_t v = value;
    if (v < mMin)
        v = mMin;
    if (v > mMax)
        v = mMax;
    // An increment of 0 cannot step anything: the clamped value is kept as it is.
    if (mIncrement != 0 && v % mIncrement != 0)
        v = mIncrement * (v / mIncrement);
    mValue = static_cast<int32_t>(v);
    mPSCache.Drop();
}

long PPDXRangeControl::PostScript(unsigned char* out) {
    if (!Keyword())
        return 0;
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(mValue));
    BuildValueCache(text, mPSCache);
    return GeneratePSOutputData(out, mPSCache.Bytes(), mPSCache.Length(), text, true);
}

CFStringRef PPDXRangeControl::GetCurrentControlValueString() {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(mValue));
    return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII);
}

void PPDXRangeControl::SetCurrentControlWithCFString(CFStringRef value) {
    if (!value)
        return;
    mValue = CFStringGetIntValue(value);
    mPSCache.Drop();
}
