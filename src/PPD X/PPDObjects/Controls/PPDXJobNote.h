//===- PPDXJobNote.h - A free-text field of the job -------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXJOBNOTE_H
#define PIGMENTOR_PPDX_PPDXJOBNOTE_H

#include "PPDXControl.h"
#include "PSValueCache.h"

/// The flag words of a job-note declaration, one bit each.
typedef uint32_t JobNoteFlag;

/// Bit of each flag word; word i of the declaration table has bit 1 << i.
enum : JobNoteFlag {
    kJobNoteAlpha = 0x1,
    kJobNoteNumeric = 0x2,
    kJobNoteDecimal = 0x4,
    kJobNoteRequired = 0x8,
    kJobNoteRemembered = 0x10,
    kJobNotePassword = 0x20,
    kJobNoteAlwaysDisplay = 0x40,
    kJobNoteResume = 0x80,
    kJobNoteMember = 0x100,
    kJobNoteOnOffSwitch = 0x200,
    kJobNoteLengthReq = 0x400,
    kJobNoteSecPrint = 0x800,
    kJobNoteCommand = 0x1000,
    kJobNoteSpace = 0x2000,
    kJobNoteNegative = 0x4000,
    kJobNoteEncrypt = 0x8000,
    kJobNoteMultiSpace = 0x10000,
    kJobNoteMultiComma = 0x20000,
    kJobNoteLCD = 0x40000,
    kJobNoteHyphen = 0x80000,
    kJobNoteTwoCharField = 0x100000,
    kJobNoteNoComma = 0x200000,
    kJobNoteMinLength = 0x400000,
    /// The words that restrict the characters of the text; none of them means any text.
    kJobNoteCharacterClasses = 0x36007,
};

/// A free-text field of the job (kind kJobNoteType) declared by "*%QRVJobNote": a note, an
/// instruction for the operator, a department or personal password. It holds the
/// declaration (maximum and minimum length, flag words, default text, code) and the current
/// text; it stores the flags and does not check a text against them.
///
/// The note owns its texts (CString*, PPD bytes: job-note texts are not converted), a copy of
/// the PPD's language-encoding name and its PostScript cache (malloc). The code, when the PPD
/// gives one, carries the placeholder "<keyword>" (any case) for the text; without code the
/// note writes one comment line (BuildPDLString). Either way at most the first 511 bytes of
/// the text reach the printer; the cache is dropped whenever the text changes.
class PPDXJobNote : public PPDXControl {
public:
    /// Bytes of the text that reach the printer at most.
    static constexpr long kMaxPDLText = 511;
    /// Number of words in the flag table (indices 0 to 22).
    static constexpr int kFlagWordCount = 23;

    /// Takes over the control flag strings of `flags`, the malloc block `psData` and
    /// `defaultText` (may be null; the current text starts as a copy of it); copies
    /// `languageEncoding` (may be null).
    PPDXJobNote(const char* keyword, CFStringRef localName, PointerList& flags,
                unsigned char* psData, const long& psLength, CString* defaultText,
                CString* languageEncoding, const bool& visible, const long& maximumLength,
                const JobNoteFlag& jobNoteFlags, const long& minimumLength);
    /// Rebuilds the note saved under `id`: text, default text, lengths, flag words and the
    /// text-enabled flag; copies `languageEncoding` (may be null) as the PPD's encoding name.
    PPDXJobNote(Settings& settings, const long& id, CString* languageEncoding);
    ~PPDXJobNote() override;

    /// Adds the marker JbNt, the text and default text (when there are), the lengths, the flag
    /// words and the text-enabled flag.
    short Save(Settings& settings, const long& id) override;
    /// Replaces the text with the saved one (no text when none was saved); never fails.
    short Restore(Settings& settings, const long& id) override;

    /// Under options 0 and 1 a visible note; under any other value every note.
    bool OkayToDisplay(const _DISPLAY_OPTIONS_& options) const override;
    /// The text becomes the default text again (none when there is no default).
    void ResetToDefaultValue() override { SetNotes(GetDefaultNotes()); }
    /// The feature block: option text the full text, code the note's code with the text put
    /// in, or the comment line; 0 bytes without text or keyword.
    long PostScript(unsigned char* out) override;
    /// A new string (the caller releases it) of the text; "" when there is none.
    CFStringRef GetCurrentControlValueString() override;
    /// Sets the text from `value` in the system encoding (null: no text).
    void SetCurrentControlWithCFString(CFStringRef value) override;

    /// The current text, or null.
    const char* GetNotes() const;
    /// The default text, or null.
    const char* GetDefaultNotes() const;
    /// Replaces the text with a copy of `text` (null: no text); drops the cached PostScript.
    void SetNotes(const char* text);
    /// The PPD's language-encoding name given at construction, or null.
    const char* LanguageEncoding() const;

    long MaxLength() const { return mMaxLength; }
    /// 0 when not given; -1, -2 or -3 for a malformed "MinLength" word.
    long MinLength() const { return mMinLength; }
    JobNoteFlag Flags() const { return mJobNoteFlags; }
    bool IsAlpha() const { return Has(kJobNoteAlpha); }
    bool IsNumeric() const { return Has(kJobNoteNumeric); }
    bool IsDecimal() const { return Has(kJobNoteDecimal); }
    bool IsRequired() const { return Has(kJobNoteRequired); }
    bool Remember() const { return Has(kJobNoteRemembered); }
    bool IsPassword() const { return Has(kJobNotePassword); }
    bool AlwaysDisplay() const { return Has(kJobNoteAlwaysDisplay); }
    bool Resume() const { return Has(kJobNoteResume); }
    bool IsMember() const { return Has(kJobNoteMember); }
    bool IsOnOffSwitch() const { return Has(kJobNoteOnOffSwitch); }
    bool IsLengthReq() const { return Has(kJobNoteLengthReq); }
    bool IsSecPrint() const { return Has(kJobNoteSecPrint); }
    bool IsSpace() const { return Has(kJobNoteSpace); }
    bool IsNegative() const { return Has(kJobNoteNegative); }
    bool IsEncrypt() const { return Has(kJobNoteEncrypt); }
    bool IsMultiSpace() const { return Has(kJobNoteMultiSpace); }
    bool IsMultiComma() const { return Has(kJobNoteMultiComma); }
    bool IsLCD() const { return Has(kJobNoteLCD); }
    bool IsHyphen() const { return Has(kJobNoteHyphen); }
    bool IsTwoCharFields() const { return Has(kJobNoteTwoCharField); }
    bool IsNoComma() const { return Has(kJobNoteNoComma); }
    /// No word restricts the characters (Alpha, Numeric, Decimal, Space, Negative,
    /// MultiSpace, MultiComma): the field takes any text.
    bool IsAnyText() const { return (mJobNoteFlags & kJobNoteCharacterClasses) == 0; }
    void SetNotesOnValue(bool enabled) { mTextEnabled = enabled; }
    bool GetNotesOnValue() const { return mTextEnabled; }

    /// Replaces the cached PostScript with the comment line that carries `text` (at most its
    /// first 511 bytes) when the PPD gives no code. Returns its length, 0 when memory runs out.
    long BuildPDLString(const char* text);

    /// The table index (0 to 22) of a declaration's flag word (exact), or -1.
    static int FlagWordIndex(const char* word);
    /// The flag words an extension level accepts: indices 0 up to the result less one.
    static int AcceptedFlagWords(uint32_t extensionLevel);

protected:
    bool Has(JobNoteFlag bit) const { return (mJobNoteFlags & bit) != 0; }

    CString* mText = nullptr;
    int32_t mMaxLength = 0;
    int32_t mMinLength = 0;
    JobNoteFlag mJobNoteFlags = 0;
    CString* mDefaultText = nullptr;
    bool mTextEnabled = false;
    PSValueCache mPSCache;
    CString* mLanguageEncoding = nullptr;
};

#endif // PIGMENTOR_PPDX_PPDXJOBNOTE_H
