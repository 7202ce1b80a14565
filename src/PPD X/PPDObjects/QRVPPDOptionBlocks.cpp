//===- QRVPPDOptionBlocks.cpp - Popup, boolean and range blocks -----------===//
//
// The option blocks that become controls: the "*OpenUI" block of a popup or boolean control and
// the one-line range declaration. Each parser reads its block's further lines from the parse's
// file stream, makes the control, places it and enters it in the keyword index; a block that
// ends in an error leaves no control and frees everything made for it.
//
//===----------------------------------------------------------------------===//
#include "QRVPPD.h"

#include "KeywordTo_PPDControl.h"
#include "PPDKeyword.h"
#include "PPDXBooleanControl.h"
#include "PPDXControls.h"
#include "PPDXPopupControl.h"
#include "PPDXRangeControl.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

/// Capacity of an option's PostScript code, read into a stack buffer and then copied once into a
/// block of its exact size.
const unsigned long kCodeCapacity = 4096;

template <size_t N> bool startsWith(const char* text, const char (&prefix)[N]) {
    return std::strncmp(text, prefix, N - 1) == 0;
}

/// A malloc copy of `length` bytes of code, or null for none.
unsigned char* copyCode(const char* code, long length) {
    if (length <= 0)
        return nullptr;
    unsigned char* block = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(length)));
    if (block)
        std::memcpy(block, code, static_cast<size_t>(length));
    return block;
}

/// A decimal number filling the whole token (blanks around it allowed).
bool parseNumber(const char* token, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(token, &end, 10);
    if (end == token || errno == ERANGE)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0';
}

void deleteItems(PointerList& items) {
    for (PointerListItr it = items.Begin(); it != items.End(); ++it)
        delete static_cast<_PopupItem*>(*it);
    items.MakeEmpty();
}

} // namespace

bool QRVPPD::IsCloseKeyword(const char* mainPart) const {
    const PPDKeyword key(mainPart);
    return key.Is("*CloseUI") || key.Is("*QVCloseUI") || key.Is("*CloseUIQRV") || key.Is("*EndUI");
}

PPDXErrorObj* QRVPPD::ParseOpenUI(PPDStream& line, const char* controlKeyword, PointerList& flags,
                                  PPDXGroup* group) {
    char optionKeyword[PPDStream::kLineBufferSize];
    if (!NextToken(line, optionKeyword, kOptionDelimiters, true) || optionKeyword[0] == '\0')
        return new (std::nothrow) PPDXErrorObj(8, CString(controlKeyword), false);
    char text[PPDStream::kLineBufferSize] = "";
    NextToken(line, text, kColonDelimiters, true);
    CFStringRef translation = CreateTranslation(text);
    char uiType[PPDStream::kLineBufferSize] = "";
    NextToken(line, uiType, kUITypeDelimiters, true);

    PPDXErrorObj* result;
    if (std::strcmp(uiType, "Boolean") == 0)
        result = ParseBooleanControl(controlKeyword, translation, flags, group);
    else if (std::strcmp(uiType, "PickOne") == 0)
        result = ParsePopupControl(controlKeyword, translation, flags, group, false);
    else if (std::strcmp(uiType, "PickMany") == 0)
        result = ParsePopupControl(controlKeyword, translation, flags, group, true);
    else
        result = new (std::nothrow) PPDXErrorObj(31, CString(controlKeyword), false);
    CFRelease(translation);
    return result;
}

PPDXErrorObj* QRVPPD::ParsePopupControl(const char* controlKeyword, CFStringRef translation,
                                        PointerList& flags, PPDXGroup* group, const bool& pickMany) {
    PointerList items;
    CString* defaultKeyword = nullptr;
    PPDXErrorObj* pending = nullptr;
    auto dropParts = [&]() {
        deleteItems(items);
        delete defaultKeyword;
        defaultKeyword = nullptr;
    };
    auto takeDefault = [&](const char* value) {
        if (defaultKeyword) {
            if (!pending)
                pending = new (std::nothrow) PPDXErrorObj(11, CString(controlKeyword), true);
            return;
        }
        defaultKeyword = new (std::nothrow) CString(value);
    };

    const size_t keywordLength = std::strlen(controlKeyword);
    char text[PPDStream::kLineBufferSize];
    char mainPart[PPDStream::kLineBufferSize];
    char value[PPDStream::kLineBufferSize];
    for (;;) {
        if (!ReadBlockLine(text)) {
            // The file ended inside the block.
            dropParts();
            delete pending;
            return new (std::nothrow) PPDXErrorObj(11, CString(controlKeyword), true);
        }
        PPDStream rest(text, static_cast<long>(std::strlen(text)));
        if (!NextToken(rest, mainPart, kColonDelimiters, true))
            continue;
        if (IsCloseKeyword(mainPart))
            break;
        const PPDKeyword key(mainPart);
        if (key.Is("*OrderDependency"))
            continue;
        if (key.Is("*Default")) {
            if (NextToken(rest, value, kOptionDelimiters, true) &&
                std::strcmp(value, controlKeyword) == 0 &&
                NextToken(rest, value, kFlagDelimiters, true))
                takeDefault(value);
            continue;
        }
        if (startsWith(mainPart, "*Default")) {
            if (NextToken(rest, value, kOptionDelimiters, true))
                takeDefault(value);
            continue;
        }
        if (std::strncmp(mainPart, controlKeyword, keywordLength) != 0)
            continue;

        // An option line: keyword, option keyword, translation; then the code.
        PPDStream main(mainPart, static_cast<long>(std::strlen(mainPart)));
        char option[PPDStream::kLineBufferSize];
        char optionText[PPDStream::kLineBufferSize] = "";
        if (!NextToken(main, value, kKeywordDelimiters, true) ||
            !NextToken(main, option, kOptionDelimiters, true) || option[0] == '\0')
            continue;
        NextToken(main, optionText, kColonDelimiters, true);
        char code[kCodeCapacity];
        long codeLength = GetPostscriptString(rest, code, kCodeCapacity);
        unsigned char* block = copyCode(code, codeLength);
        _PopupItem* item = new (std::nothrow)
            _PopupItem(option, CreateTranslation(optionText), block, block ? codeLength : 0);
        if (item)
            items.PushBack(item);
    }

    if (pending) {
        dropParts();
        return pending;
    }
    if (!defaultKeyword)
        AddError(new (std::nothrow) PPDXErrorObj(33, CString(controlKeyword), false));
    if (!group && !ParseOrphans()) {
        dropParts();
        return new (std::nothrow) PPDXErrorObj(21, CString(controlKeyword), false);
    }
    PPDXPopupControl* popup = new (std::nothrow)
        PPDXPopupControl(controlKeyword, translation, flags, true, pickMany, items, defaultKeyword);
    if (!popup) {
        dropParts();
        return new (std::nothrow) PPDXErrorObj(1, CString(controlKeyword), false);
    }
    // The control took the flags, the items and the default over.
    flags.MakeEmpty();
    items.MakeEmpty();
    SetupControl(group, popup, true);
    if (mKeywordIndex)
        mKeywordIndex->insert(controlKeyword, popup);
    return nullptr;
}

PPDXErrorObj* QRVPPD::ParseBooleanControl(const char* controlKeyword, CFStringRef translation,
                                          PointerList& flags, PPDXGroup* group) {
    struct Side {
        CString* text = nullptr;
        unsigned char* code = nullptr;
        long length = 0;
        void Drop() {
            delete text;
            std::free(code);
            text = nullptr;
            code = nullptr;
            length = 0;
        }
    } trueSide, falseSide;
    bool defaultValue = false;
    bool sawDefault = false;
    PPDXErrorObj* error = nullptr;

    const size_t keywordLength = std::strlen(controlKeyword);
    char text[PPDStream::kLineBufferSize];
    char mainPart[PPDStream::kLineBufferSize];
    char value[PPDStream::kLineBufferSize];
    for (;;) {
        if (!ReadBlockLine(text)) {
            // The file ended inside the block: nothing is made, and that is not an error.
            trueSide.Drop();
            falseSide.Drop();
            return error;
        }
        PPDStream rest(text, static_cast<long>(std::strlen(text)));
        if (!NextToken(rest, mainPart, kColonDelimiters, true))
            continue;
        if (IsCloseKeyword(mainPart))
            break;
        // After a bad option the block is still read to its close keyword, so that none of
        // its lines is taken for another keyword; nothing more is made of it.
        if (error || PPDKeyword(mainPart).Is("*OrderDependency"))
            continue;
        if (startsWith(mainPart, "*Default")) {
            sawDefault = true;
            if (NextToken(rest, value, kOptionDelimiters, true) && std::strcmp(value, "True") == 0)
                defaultValue = true;
            continue;
        }
        if (std::strncmp(mainPart, controlKeyword, keywordLength) != 0)
            continue;

        PPDStream main(mainPart, static_cast<long>(std::strlen(mainPart)));
        char option[PPDStream::kLineBufferSize] = "";
        NextToken(main, value, kKeywordDelimiters, true);
        NextToken(main, option, kOptionDelimiters, true);
        Side* side = std::strcmp(option, "True") == 0    ? &trueSide
                     : std::strcmp(option, "False") == 0 ? &falseSide
                                                         : nullptr;
        if (!side) {
            error = new (std::nothrow) PPDXErrorObj(9, CString(controlKeyword), false);
            continue;
        }
        side->Drop();
        char optionText[PPDStream::kLineBufferSize];
        if (NextToken(main, optionText, kColonDelimiters, true))
            side->text = new (std::nothrow) CString(optionText);
        char code[kCodeCapacity];
        long codeLength = GetPostscriptString(rest, code, kCodeCapacity);
        side->code = copyCode(code, codeLength);
        side->length = side->code ? codeLength : 0;
    }

    auto dropAll = [&]() {
        trueSide.Drop();
        falseSide.Drop();
    };
    if (error) {
        dropAll();
        return error;
    }
    if (!sawDefault)
        AddError(new (std::nothrow) PPDXErrorObj(33, CString(controlKeyword), false));
    if (!group && !ParseOrphans()) {
        dropAll();
        return new (std::nothrow) PPDXErrorObj(21, CString(controlKeyword), false);
    }
    PPDXBooleanControl* control = new (std::nothrow) PPDXBooleanControl(
        controlKeyword, translation, flags, true, trueSide.text, trueSide.code, trueSide.length,
        falseSide.text, falseSide.code, falseSide.length, defaultValue);
    if (!control) {
        dropAll();
        return new (std::nothrow) PPDXErrorObj(1, CString(controlKeyword), true);
    }
    flags.MakeEmpty();
    SetupControl(group, control, true);
    if (mKeywordIndex)
        mKeywordIndex->insert(controlKeyword, control);
    return nullptr;
}

PPDXErrorObj* QRVPPD::ParseRange(PPDStream& line, const char* controlKeyword, PointerList& flags,
                                 PPDXGroup* group) {
    char keyword[PPDStream::kLineBufferSize] = "";
    auto malformed = [&]() { return new (std::nothrow) PPDXErrorObj(7, CString(keyword), false); };
    if (!NextToken(line, keyword, kOptionDelimiters, true) ||
        std::strcmp(keyword, controlKeyword) != 0)
        return malformed();
    char text[PPDStream::kLineBufferSize];
    if (!NextToken(line, text, kColonDelimiters, false))
        return nullptr;
    CFStringRef translation = CreateTranslation(text);

    long numbers[4];
    line.SkipWhiteSpace();
    char c;
    bool wellFormed = line.GetChar(c) && c == '(';
    for (long& number : numbers) {
        char token[PPDStream::kLineBufferSize];
        wellFormed = wellFormed && NextToken(line, token, kUITypeDelimiters, true) &&
                     parseNumber(token, number);
    }
    if (!wellFormed) {
        CFRelease(translation);
        return malformed();
    }

    char code[kCodeCapacity];
    long codeLength = GetPostscriptString(line, code, kCodeCapacity);
    unsigned char* block = copyCode(code, codeLength);
    if (!block) {
        codeLength = 0;
        AddError(new (std::nothrow) PPDXErrorObj(35, CString(controlKeyword), false));
    }

    PPDXErrorObj* result = nullptr;
    if (!group && !ParseOrphans()) {
        std::free(block);
        result = new (std::nothrow) PPDXErrorObj(21, CString(controlKeyword), false);
    } else if (PPDXRangeControl* range = new (std::nothrow) PPDXRangeControl(
                   controlKeyword, translation, flags, block, codeLength, numbers[0], numbers[1],
                   numbers[2], numbers[3], true)) {
        flags.MakeEmpty();
        SetupControl(group, range, true);
        if (mKeywordIndex)
            mKeywordIndex->insert(controlKeyword, range);
    } else {
        std::free(block);
        result = new (std::nothrow) PPDXErrorObj(1, CString(controlKeyword), false);
    }
    CFRelease(translation);
    return result;
}
