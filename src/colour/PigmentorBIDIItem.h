//===- PigmentorBIDIItem.h - A colour item the print server offers -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORBIDIITEM_H
#define PIGMENTOR_COLOUR_PIGMENTORBIDIITEM_H

#include "PigmentorPPDItem.h"

/// A colour item over a two-way popup control: one that the server's colour keywords put
/// into the model, whose keyword is the server keyword with "Bidi" appended. The item answers
/// the base keyword (without "Bidi") as its feature keyword and owns a copy of it.
///
/// The four special features ("*QVRGBOverride", "*QVColorRendDict", "*QVSimulation",
/// "*QVOutProfile") write their value as a dynamic option that the server's procset
/// resolves; the others write the popup's own code.
class PigmentorBIDIItem : public PigmentorPPDItem {
public:
    /// Size of the buffer the dynamic-option text is built in.
    static constexpr int kWorkBufferSize = 1140;
    /// Size of the buffer the escaped value is built in.
    static constexpr int kEscapeBufferSize = 512;

    /// Wraps `control` (a popup) and keeps its keyword without a trailing "Bidi".
    explicit PigmentorBIDIItem(PPDXControl* control);
    ~PigmentorBIDIItem() override;
    using PigmentorItem::getFeatureDisplayName;
    using PigmentorItem::getFeatureKeyword;

    /// The base keyword (without "Bidi"), or null.
    const char* getFeatureKeyword() override;
    /// Special features: getBidiPostScript; others the popup item's form.
    int getFeaturePostScript(unsigned char* buf, int size) override;

    /// The control's full keyword (with "Bidi"), or null.
    const char* getBidiFeatureKeyword();
    /// Whether the base keyword has index 1 to 4 in the keyword table.
    bool isSpecialBidiKeyword();
    /// The dynamic-option feature block for the base keyword K and value keyword V:
    ///   %%BeginFeature: K V
    ///    /XJXsetDynamicOption where
    ///           { pop (K) (V escaped) XJXsetDynamicOption } if
    ///   %%EndFeature
    /// V escaped as a PostScript string body (CR and LF as a backslash and three octal
    /// digits; "(", ")" and "\" behind a backslash). L = its length: a non-null `buf` with
    /// `size` >= L receives the L bytes (unterminated) and L is answered; otherwise -L.
    /// 0 when K or V is missing or the text does not fit the work buffers.
    int getBidiPostScript(unsigned char* buf, int size);

private:
    char* mBaseKeyword;
    unsigned long mSpare;
};

#endif // PIGMENTOR_COLOUR_PIGMENTORBIDIITEM_H
