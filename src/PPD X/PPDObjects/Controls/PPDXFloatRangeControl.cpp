//===- PPDXFloatRangeControl.cpp - A real number within bounds ------------===//
#include "PPDXFloatRangeControl.h"

#include "PPDXArchiveItems.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// A double beyond the float range has no float value; saturate instead (NaN stays NaN).
float toFloat(double value) {
    if (value > FLT_MAX)
        return FLT_MAX;
    if (value < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(value);
}

// The integer text of the value, truncated toward zero; values no int can hold saturate,
// NaN reads as 0.
void integerText(float value, char (&text)[16]) {
    long whole = 0;
    if (value >= 2147483647.0f)
        whole = INT32_MAX;
    else if (value <= -2147483648.0f)
        whole = INT32_MIN;
    else if (value == value)
        whole = static_cast<long>(value);
    std::snprintf(text, sizeof text, "%ld", whole);
}

} // namespace

PPDXFloatRangeControl::PPDXFloatRangeControl(const char* keyword, CFStringRef localName,
                                             PointerList& flags, unsigned char* psData,
                                             const long& psLength, const long& minimum,
                                             const long& maximum, const long& increment,
                                             const long& defaultValue, const bool& visible)
    : PPDXControl(keyword, localName, flags, psData, psLength, visible),
      mValue(static_cast<float>(defaultValue)), mMin(static_cast<float>(minimum)),
      mMax(static_cast<float>(maximum)), mIncrement(static_cast<float>(increment)),
      mDefault(static_cast<float>(defaultValue)) {
    mType = kRangeType;
}

PPDXFloatRangeControl::PPDXFloatRangeControl(Settings& settings, const long& id)
    : PPDXControl(settings, id) {
    using namespace PPDXArchive;
    mType = kRangeType;
    GetFloat(settings, kRangeValueTag, id, mValue);
    GetFloat(settings, kRangeMinTag, id, mMin);
    GetFloat(settings, kRangeMaxTag, id, mMax);
    GetFloat(settings, kRangeIncrementTag, id, mIncrement);
    GetFloat(settings, kRangeDefaultTag, id, mDefault);
}

PPDXFloatRangeControl::~PPDXFloatRangeControl() = default;

short PPDXFloatRangeControl::Save(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    short error = PPDXControl::Save(settings, id);
    if (!error)
        error = PutMarker(settings, kRangeMarker, id);
    if (!error)
        error = PutMarker(settings, kFloatRangeMarker, id);
    if (!error)
        error = PutFloat(settings, kRangeValueTag, id, mValue);
    if (!error)
        error = PutFloat(settings, kRangeMinTag, id, mMin);
    if (!error)
        error = PutFloat(settings, kRangeMaxTag, id, mMax);
    if (!error)
        error = PutFloat(settings, kRangeIncrementTag, id, mIncrement);
    if (!error)
        error = PutFloat(settings, kRangeDefaultTag, id, mDefault);
    return error;
}

short PPDXFloatRangeControl::Restore(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    short error = 0;
    if (!PPDXArchive::Has(settings, kRangeValueTag, id, &error))
        return error;
    if (GetFloat(settings, kRangeValueTag, id, mValue))
        mPSCache.Drop();
    return 0;
}

void PPDXFloatRangeControl::SetValue(const float& value) {
    float v = value;
    if (v < mMin)
        v = mMin;
    if (v > mMax)
        v = mMax;
    // An increment of 0 cannot step anything: the clamped value is kept as it is.
    if (mIncrement != 0.0f) {
        float q = v / mIncrement;
        float t = std::trunc(q);
        if (q - t <= 0.01f)
            v = mIncrement * t;
    }
    mValue = v;
    mPSCache.Drop();
}

long PPDXFloatRangeControl::PostScript(unsigned char* out) {
    if (!Keyword())
        return 0;
    char text[16];
    integerText(mValue, text);
    BuildValueCache(text, mPSCache);
    return GeneratePSOutputData(out, mPSCache.Bytes(), mPSCache.Length(), text, true);
}

CFStringRef PPDXFloatRangeControl::GetCurrentControlValueString() {
    char text[64]; // the widest float in "%f" needs 48 bytes
    std::snprintf(text, sizeof text, "%f", static_cast<double>(mValue));
    return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII);
}

void PPDXFloatRangeControl::SetCurrentControlWithCFString(CFStringRef value) {
    if (!value)
        return;
    mValue = toFloat(CFStringGetDoubleValue(value));
    mPSCache.Drop();
}
