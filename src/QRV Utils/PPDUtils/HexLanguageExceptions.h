//===- HexLanguageExceptions.h - Languages whose PPDs keep 8-bit text -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDUTILS_HEXLANGUAGEEXCEPTIONS_H
#define PIGMENTOR_PPDUTILS_HEXLANGUAGEEXCEPTIONS_H

#include <set>
#include <string>

/// The *LanguageVersion names whose PPDs really are in their declared *LanguageEncoding even
/// when they carry 8-bit bytes. PPDs of every other language that carry such bytes are taken
/// as Mac Roman by the in-place conversion. Names are compared exactly, case included.
class HexLanguageExceptions {
public:
    HexLanguageExceptions();
    virtual ~HexLanguageExceptions();

    bool IsException(std::string language) const;

private:
    std::set<std::string> mLanguages;
};

#endif // PIGMENTOR_PPDUTILS_HEXLANGUAGEEXCEPTIONS_H
