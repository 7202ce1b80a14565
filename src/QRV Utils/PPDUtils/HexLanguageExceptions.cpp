//===- HexLanguageExceptions.cpp - Languages whose PPDs keep 8-bit text ---===//
#include "HexLanguageExceptions.h"

HexLanguageExceptions::HexLanguageExceptions()
    : mLanguages{"Japanese", "ChineseTrad", "ChineseSimp", "Chinese",  "Korean",   "Czech",
                 "Russian",  "Bulg",        "Estonian",    "Greek",    "Hungarian", "Latvian",
                 "Lithuanian", "Polish",    "Romanian",    "Slovak",   "Slovenian"} {}

HexLanguageExceptions::~HexLanguageExceptions() = default;

bool HexLanguageExceptions::IsException(std::string language) const {
    return mLanguages.count(language) != 0;
}
