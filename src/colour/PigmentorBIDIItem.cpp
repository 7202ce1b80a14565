//===- PigmentorBIDIItem.cpp - A colour item the print server offers ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorBIDIItem.h"

#include "ExpertColorKeywords.h"
#include "PPDXPopupControl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

PigmentorBIDIItem::PigmentorBIDIItem(PPDXControl* control)
    : PigmentorPPDItem(control), mBaseKeyword(nullptr), mSpare(0) {
    const char* keyword = mControl ? mControl->Keyword() : nullptr;
    if (!keyword)
        return;
    size_t length = std::strlen(keyword);
    if (isBidiKeyword(keyword))
        length -= 4;
    mBaseKeyword = static_cast<char*>(std::malloc(length + 1));
    if (mBaseKeyword) {
        std::memcpy(mBaseKeyword, keyword, length);
        mBaseKeyword[length] = '\0';
    }
}

PigmentorBIDIItem::~PigmentorBIDIItem() {
    std::free(mBaseKeyword);
}

const char* PigmentorBIDIItem::getFeatureKeyword() {
    return mBaseKeyword;
}

const char* PigmentorBIDIItem::getBidiFeatureKeyword() {
    return mControl ? mControl->Keyword() : nullptr;
}

bool PigmentorBIDIItem::isSpecialBidiKeyword() {
    const int index = ExpertColorKeywords::findPigmentorKeywordIdx(mBaseKeyword);
    return index >= ExpertColorKeywords::kRGBOverride && index <= ExpertColorKeywords::kOutProfile;
}

int PigmentorBIDIItem::getFeaturePostScript(unsigned char* buf, int size) {
    if (isSpecialBidiKeyword())
        return getBidiPostScript(buf, size);
    return PigmentorPPDItem::getFeaturePostScript(buf, size);
}

namespace {

/// `value` as a PostScript string body into `out` (`size` bytes, NUL included); false when
/// it does not fit.
bool EscapeValue(const char* value, char* out, size_t size) {
    size_t used = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(value); *p; ++p) {
        char piece[5];
        size_t length;
        if (*p == '\n' || *p == '\r') {
            length = static_cast<size_t>(std::snprintf(piece, sizeof piece, "\\%03o", *p));
        } else if (*p == '(' || *p == ')' || *p == '\\') {
            piece[0] = '\\';
            piece[1] = static_cast<char>(*p);
            length = 2;
        } else {
            piece[0] = static_cast<char>(*p);
            length = 1;
        }
        if (used + length >= size)
            return false;
        std::memcpy(out + used, piece, length);
        used += length;
    }
    out[used] = '\0';
    return true;
}

} // namespace

// A value too long for the work buffers gives no code at all: a cut value would name
// another option.
int PigmentorBIDIItem::getBidiPostScript(unsigned char* buf, int size) {
    const char* keyword = getFeatureKeyword();
    const char* value = getValueKeyword();
    if (!keyword || !value)
        return 0;
    char escaped[kEscapeBufferSize];
    if (!EscapeValue(value, escaped, sizeof escaped))
        return 0;
    char text[kWorkBufferSize];
    const int length = std::snprintf(text, sizeof text,
                                     "%%%%BeginFeature: %s %s\n /XJXsetDynamicOption where\n"
                                     "        { pop (%s) (%s) XJXsetDynamicOption } if\n"
                                     "%%%%EndFeature\n",
                                     keyword, value, keyword, escaped);
    if (length < 0 || length >= static_cast<int>(sizeof text))
        return 0;
    if (buf && length <= size) {
        std::memcpy(buf, text, static_cast<size_t>(length));
        return length;
    }
    return -length;
}
