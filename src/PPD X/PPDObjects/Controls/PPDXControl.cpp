//===- PPDXControl.cpp - Abstract base of the model's controls ------------===//
#include "PPDXControl.h"

#include "PPDXArchiveItems.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include <CarbonCore/MacErrors.h>

namespace {

const char kBeginFeature[] = "%%BeginFeature: ";
const char kEndFeature[] = "%%EndFeature\n";

// Keywords of the colour pane's own options; a PPD must not route them through shortcuts.
const char* const kReservedKeywords[] = {
    "*QVPigmentor",
    "*QV_PROP_COLORMODE",
    "*QV_PROP_PG_PURE_BLACK",
    "*QV_PROP_PG_OVER_PRINT",
    "*QV_PROP_PG_RGB_SEPARATION",
    "*QV_PROP_PG_SOURCE_PROFILES",
    "*QV_PROP_PG_SIMULATION",
    "*QV_PROP_PG_SPOTCOLORS",
    "*QV_PROP_PG_OUTPUT_PROFILE",
    "*QV_PROP_PG_SIM_SPEED",
    "*QV_PROP_PG_COLOR_SMART",
    "*QV_PROP_PG_GAMMA",
    "*QV_PROP_PG_WHITEPOINT",
    "*QV_PROP_PG_PHOSPHORS",
    "*QV_PROP_PG_CRD",
    "*QV_PROP_PG_CRD_IMAGES",
    "*QV_PROP_PG_CRD_GRAPHICS",
    "*QV_PROP_PG_CRD_TEXT",
    "*QV_PROP_PG_CRD_IMAGES_HT",
    "*QV_PROP_PG_CRD_GRAPHICS_HT",
    "*QV_PROP_PG_CRD_TEXT_HT",
    "*QV_LOCAL_PROP_FIRSTPAGESOURCE",
    "*QV_LOCAL_PROP_FIRSTPAGEMEDIA",
    "*QV_LOCAL_PROP_BACKPAGESOURCE",
    "*QV_LOCAL_PROP_BACKPAGEMEDIA",
    "*QV_PROP_WATERMARK_FIRSTPAGEONLY",
    "*QV_PROP_WATERMARK_FOREGROUND",
    "*QV_PROP_WATERMARK_OUTLINE",
    "*QV_PROP_WATERMARK",
    "*QV_PROP_LOCAL_QVLANDSCAPE",
};

/// The text of the CString* at `itr`, skipping entries that hold no string.
const char* textAt(PointerListItr& itr) {
    while (itr.mNode && itr.mNode->mNext) { // the tail sentinel has no successor
        if (const CString* s = static_cast<const CString*>(*itr))
            if (static_cast<const char*>(*s))
                return *s;
        ++itr;
    }
    return nullptr;
}

/// The text of a flag list entry (a CString*), or null.
const char* textOf(const void* entry) {
    const CString* s = static_cast<const CString*>(entry);
    return s ? static_cast<const char*>(*s) : nullptr;
}

/// A new CString of the first `length` bytes of `text`, or null when memory runs out.
CString* copyWord(const char* text, size_t length) {
    char* block = static_cast<char*>(std::malloc(length + 1));
    if (!block)
        return nullptr;
    std::memcpy(block, text, length);
    block[length] = '\0';
    CString* word = new (std::nothrow) CString(block);
    std::free(block);
    if (word && !static_cast<const char*>(*word)) {
        delete word;
        word = nullptr;
    }
    return word;
}

/// Case-insensitive comparison of `length` bytes, ASCII letters only.
bool equalIgnoringCase(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

PPDXControl::PPDXControl(const char* keyword, CFStringRef localName, PointerList& flags,
                         unsigned char* psData, const long& psLength, const bool& visible)
    : PPDXElement(keyword, localName, visible), mPSData(psData), mPSLength(psLength) {
    // The strings are ours from here on: one whose node cannot be allocated has no other owner.
    for (PointerListItr it = flags.Begin(); it != flags.End(); ++it)
        if (!mFlags.PushBack(*it).mNode)
            delete static_cast<CString*>(*it);
}

PPDXControl::PPDXControl(Settings& settings, const long& id) : PPDXElement(settings, id) {
    using namespace PPDXArchive;
    GetShort(settings, kOrderTag, id, mOrder);
    mPSData = CopyBytes(settings, kCodeTag, id, mPSLength);
    CString* flags = GetText(settings, kFlagsTag, id);
    if (!flags)
        return;
    // Words are stored each followed by a bar; empty words (doubled bars) carry nothing.
    const char* text = *flags;
    while (text && *text) {
        const char* bar = std::strchr(text, '|');
        size_t length = bar ? static_cast<size_t>(bar - text) : std::strlen(text);
        if (length > 0) {
            CString* word = copyWord(text, length);
            // A word whose copy failed, or that cannot be linked in, is dropped.
            if (word && !mFlags.PushBack(word).mNode)
                delete word;
        }
        text = bar ? bar + 1 : nullptr;
    }
    delete flags;
}

PPDXControl::~PPDXControl() {
    for (PointerListItr it = mFlags.Begin(); it != mFlags.End(); ++it)
        delete static_cast<CString*>(*it);
    mFlags.MakeEmpty();
    std::free(mPSData);
}

short PPDXControl::Save(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    if (short error = PPDXElement::Save(settings, id))
        return error;
    if (short error = PutShort(settings, kOrderTag, id, mOrder))
        return error;
    if (short error = PutBytes(settings, kCodeTag, id, mPSData, PSLength()))
        return error;
    size_t total = 0;
    for (ConstPointerListItr it = mFlags.Begin(); it != mFlags.End(); ++it)
        if (const char* word = textOf(*it))
            total += std::strlen(word) + 1;
    if (total == 0)
        return 0;
    char* words = static_cast<char*>(std::malloc(total + 1));
    if (!words)
        return memFullErr;
    char* p = words;
    for (ConstPointerListItr it = mFlags.Begin(); it != mFlags.End(); ++it)
        if (const char* word = textOf(*it)) {
            size_t length = std::strlen(word);
            std::memcpy(p, word, length);
            p += length;
            *p++ = '|';
        }
    *p = '\0';
    short error = PutText(settings, kFlagsTag, id, words);
    std::free(words);
    return error;
}

short PPDXControl::Restore(Settings& /*settings*/, const long& /*id*/) {
    return 0;
}

long PPDXControl::PostScript(unsigned char* out) {
    long length = PSLength();
    if (out && length > 0)
        std::memcpy(out, mPSData, static_cast<size_t>(length));
    return length;
}

const char* PPDXControl::FirstControlFlag() {
    return FirstString(mFlagItr, mFlags);
}

const char* PPDXControl::NextControlFlag() {
    return NextString(mFlagItr, mFlags);
}

bool PPDXControl::FindControlFlag(const char* flag) const {
    if (!flag)
        return false;
    for (ConstPointerListItr it = mFlags.Begin(); it != mFlags.End(); ++it) {
        const CString* s = static_cast<const CString*>(*it);
        if (s && static_cast<const char*>(*s) && std::strcmp(*s, flag) == 0)
            return true;
    }
    return false;
}

bool PPDXControl::ValidKeyword(const char* keyword) {
    if (!keyword)
        return false;
    for (const char* reserved : kReservedKeywords)
        if (std::strcmp(keyword, reserved) == 0)
            return false;
    return true;
}

const char* PPDXControl::FirstString(PointerListItr& itr, PointerList& list) {
    itr = list.Begin();
    return textAt(itr);
}

const char* PPDXControl::NextString(PointerListItr& itr, PointerList& list) {
    if (!itr.mNode || itr == list.End())
        return nullptr;
    ++itr;
    return textAt(itr);
}

long PPDXControl::GeneratePSOutputData(unsigned char* out, unsigned char* code,
                                       const long& codeLength, const char* option, bool framed) {
    const char* keyword = Keyword() ? Keyword() : "";
    if (!option)
        option = "";
    bool hasCode = code && codeLength > 0;
    size_t keywordLength = std::strlen(keyword);
    size_t optionLength = std::strlen(option);
    size_t total = hasCode ? static_cast<size_t>(codeLength) : 1;
    if (framed)
        total += (sizeof kBeginFeature - 1) + keywordLength + 1 + optionLength + 1 +
                 (sizeof kEndFeature - 1);
    if (!out)
        return static_cast<long>(total);

    unsigned char* p = out;
    auto put = [&p](const void* bytes, size_t length) {
        std::memcpy(p, bytes, length);
        p += length;
    };
    if (framed) {
        put(kBeginFeature, sizeof kBeginFeature - 1);
        put(keyword, keywordLength);
        put(" ", 1);
        put(option, optionLength);
        put("\n", 1);
    }
    if (hasCode)
        put(code, static_cast<size_t>(codeLength));
    else
        put("\n", 1);
    if (framed)
        put(kEndFeature, sizeof kEndFeature - 1);
    return static_cast<long>(p - out);
}

// A PPD may write any number into a 32-bit field; saturating keeps its sign and order
// where wrapping would not.
int32_t PPDXControl::Saturate32(long value) {
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

void PPDXControl::BuildValueCache(const char* value, PSValueCache& cache) {
    if (!cache.Empty() || !Keyword())
        return;
    // Through the base PostScript so that the code is read the way every kind reads it.
    long length = PPDXControl::PostScript(nullptr);
    if (length <= 0)
        return;
    unsigned char* code = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(length)));
    if (!code)
        return;
    PPDXControl::PostScript(code);
    unsigned char* result = nullptr;
    long resultLength = Inject(Keyword(), code, length, value, result);
    std::free(code);
    if (result)
        cache.Adopt(result, resultLength);
}

long PPDXControl::Inject(const char* placeholderName, const unsigned char* code, long codeLength,
                         const char* value, unsigned char*& result) {
    result = nullptr;
    if (!placeholderName)
        placeholderName = "";
    if (!value)
        value = "";

    size_t nameLength = std::strlen(placeholderName);
    if (nameLength > SIZE_MAX - 3)
        return -1;
    char* placeholder = static_cast<char*>(std::malloc(nameLength + 3));
    if (!placeholder)
        return -1;
    placeholder[0] = '<';
    std::memcpy(placeholder + 1, placeholderName, nameLength);
    placeholder[nameLength + 1] = '>';
    placeholder[nameLength + 2] = '\0';
    size_t placeholderLength = nameLength + 2;

    size_t backslashes = 0;
    size_t valueLength = std::strlen(value);
    for (size_t i = 0; i < valueLength; ++i)
        backslashes += value[i] == '\\';

    // The code is text: it ends at its length or at the first NUL, whichever comes first.
    const char* text = reinterpret_cast<const char*>(code);
    size_t textLength = code && codeLength > 0 ? strnlen(text, static_cast<size_t>(codeLength)) : 0;

    size_t occurrences = 0;
    for (size_t i = 0; i + placeholderLength <= textLength;) {
        if (equalIgnoringCase(text + i, placeholder, placeholderLength)) {
            ++occurrences;
            i += placeholderLength;
        } else {
            ++i;
        }
    }

    // Measure first, refusing sizes that would wrap or not fit the signed result.
    size_t escapedLength = valueLength + backslashes;
    size_t kept = textLength - occurrences * placeholderLength;
    bool tooBig = escapedLength < valueLength ||
                  (occurrences && escapedLength > (SIZE_MAX - 1 - kept) / occurrences);
    size_t total = tooBig ? 0 : kept + occurrences * escapedLength;
    if (tooBig || total > static_cast<size_t>(LONG_MAX)) {
        std::free(placeholder);
        return -1;
    }
    unsigned char* block = static_cast<unsigned char*>(std::malloc(total + 1));
    if (!block) {
        std::free(placeholder);
        return -1;
    }

    unsigned char* p = block;
    for (size_t i = 0; i < textLength;) {
        if (i + placeholderLength <= textLength &&
            equalIgnoringCase(text + i, placeholder, placeholderLength)) {
            for (size_t k = 0; k < valueLength; ++k) {
                *p++ = static_cast<unsigned char>(value[k]);
                if (value[k] == '\\')
                    *p++ = '\\';
            }
            i += placeholderLength;
        } else {
            *p++ = static_cast<unsigned char>(text[i++]);
        }
    }
    *p = '\0';
    std::free(placeholder);
    result = block;
    return static_cast<long>(total);
}
