//===- PPDXControl.h - Abstract base of the model's controls ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXCONTROL_H
#define PIGMENTOR_PPDX_PPDXCONTROL_H

#include "PPDXElement.h"
#include "PSValueCache.h"

#include "PointerList.h"

#include <cstdint>

/// Abstract base of every option of the PPD model: its kind, its control flag words ("Setup",
/// "MacTJN", ...) and its invocation code, plus the PostScript framing shared by all kinds.
///
/// The control owns the flag strings (CString*, taken over from the list given) and the code
/// block (from malloc, released with free). Code is PPD bytes, not NUL-terminated; a length of
/// 0 or less means no code. PostScript output follows measure-then-write: a null buffer
/// returns the exact size, a buffer of at least that size receives the same bytes, never
/// NUL-terminated. Persistence: a control writes its element items and then its own under its
/// id in a Settings archive (Save), is rebuilt from them (the archive constructors), and can
/// take back only its saved value into a control parsed from the same PPD (Restore). One thread
/// at a time.
class PPDXControl : public PPDXElement {
public:
    /// Takes over the CString* pointers of `flags` (the list itself is copied, not changed)
    /// and the malloc block `psData` of `psLength` bytes (may be null).
    PPDXControl(const char* keyword, CFStringRef localName, PointerList& flags,
                unsigned char* psData, const long& psLength, const bool& visible);
    /// Rebuilds the element, the order, the invocation code and the flag words saved under
    /// `id`; the kind is set by the subclass.
    PPDXControl(Settings& settings, const long& id);
    ~PPDXControl() override;

    /// Adds the order, the invocation code and the flag words (each followed by '|').
    short Save(Settings& settings, const long& id) override;
    /// Takes back the value saved under `id`; 0 or the archive's status. A control without a
    /// value of its own (this base) has nothing to take back and answers 0.
    virtual short Restore(Settings& settings, const long& id);

    /// Puts the control back to its default value.
    virtual void ResetToDefaultValue() = 0;
    /// Measures (null `out`) or writes this control's PostScript; here the own code, unframed.
    virtual long PostScript(unsigned char* out);
    /// A new string (the caller releases it) holding the current value, or null.
    virtual CFStringRef GetCurrentControlValueString() = 0;
    /// Sets the current value from its text form.
    virtual void SetCurrentControlWithCFString(CFStringRef value) = 0;

    CNTL_TYPE Type() const { return mType; }
    /// The order number (0 unless persistence restored one).
    short Order() const { return mOrder; }
    /// The invocation code (null when none) and its length in bytes.
    const unsigned char* PSData() const { return mPSData; }
    long PSLength() const { return mPSData && mPSLength > 0 ? mPSLength : 0; }

    uint32_t ControlFlagCount() const { return mFlags.Size(); }
    /// The first flag word (resets the control's flag cursor), or null.
    const char* FirstControlFlag();
    /// The flag word after the previous one, or null at the end.
    const char* NextControlFlag();
    /// Whether one flag word equals `flag` exactly; false for null.
    bool FindControlFlag(const char* flag) const;
    bool IsCommand() const { return FindControlFlag("Command"); }
    bool IsSpooler() const { return FindControlFlag("Spooler"); }
    bool IsSetup() const { return FindControlFlag("Setup"); }
    bool IsMacTJN() const { return FindControlFlag("MacTJN"); }
    bool IsMacImgShift() const { return FindControlFlag("MacIS"); }

    /// False for null and for the reserved colour-pane keywords; true for any other keyword.
    static bool ValidKeyword(const char* keyword);
    /// Moves `itr` to the start of `list` (of CString*) and returns the first text, or null.
    static const char* FirstString(PointerListItr& itr, PointerList& list);
    /// Advances `itr` and returns the next text, or null at the end.
    static const char* NextString(PointerListItr& itr, PointerList& list);

    /// Writes (or, with null `out`, measures) one feature block: with `framed`, the line
    /// "%%BeginFeature: <keyword> <option>", then `codeLength` bytes of `code` (a single line
    /// feed when there is no code), then "%%EndFeature". Returns the byte count.
    long GeneratePSOutputData(unsigned char* out, unsigned char* code, const long& codeLength,
                              const char* option, bool framed);
    /// Replaces every "<placeholderName>" (any case) in the text of `code` (at most
    /// `codeLength` bytes, up to a NUL) by `value` with its backslashes doubled. `result`
    /// receives a new malloc block (caller frees) of the n bytes returned plus a NUL; on
    /// failure it is null and -1 is returned. Other bytes, ASCII or not, are copied unchanged.
    static long Inject(const char* placeholderName, const unsigned char* code, long codeLength,
                       const char* value, unsigned char*& result);

protected:
    /// Fills an empty `cache` with this control's code, its keyword placeholder replaced by
    /// `value` (Inject); it stays empty without keyword or code, or when memory runs out.
    void BuildValueCache(const char* value, PSValueCache& cache);
    /// `value` clamped to the 32-bit range of the controls' number fields.
    static int32_t Saturate32(long value);

    CNTL_TYPE mType = kNoControlType;
    short mOrder = 0;
    PointerList mFlags;
    PointerListItr mFlagItr;
    unsigned char* mPSData = nullptr;
    long mPSLength = 0;
};

#endif // PIGMENTOR_PPDX_PPDXCONTROL_H
