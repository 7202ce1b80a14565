//===- PigmentorPPDItem.h - A colour item over a popup control --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORPPDITEM_H
#define PIGMENTOR_COLOUR_PIGMENTORPPDITEM_H

#include "PigmentorItem.h"

class PPDXPopupControl;

/// A colour item over a popup control of the model (not owned). Values are the control's
/// item positions (from 1); names and keywords are its items' display names and option
/// keywords. Built over a control that is not a popup, the item has no control: values and
/// counts are 0, texts and code null or empty.
class PigmentorPPDItem : public PigmentorItem {
public:
    /// Wraps `control` when it is a popup.
    explicit PigmentorPPDItem(PPDXControl* control);
    ~PigmentorPPDItem() override;
    using PigmentorItem::getFeatureDisplayName;
    using PigmentorItem::getFeatureKeyword;

    long getValue() override;
    long getDefaultValue() override;
    void setDefaultValue() override;
    const char* getFeatureDisplayName() override;
    const char* getFeatureKeyword() override;
    void setValue(unsigned long value) override;
    /// The control's feature block for its current item (measure-then-write, see base).
    int getFeaturePostScript(unsigned char* buf, int size) override;
    const char* getFirstItem() override;
    const char* getNextItem() override;
    PPDXControl* getPPDXControl() override;
    const char* getFirstKeyword(char* keyword, char* name) override;
    const char* getNextKeyword(char* keyword, char* name) override;
    long itemCount() override;

    /// The popup control, or null.
    PPDXPopupControl* getPopupControl() const { return mControl; }

protected:
    PPDXPopupControl* mControl;
};

/// Measure-then-write through a control's PostScript: null `buf` answers -L; a buffer answers
/// L and receives the code when `size` >= L. 0 without a control or code; code too long for
/// an int is refused (0).
int ControlFeaturePostScript(PPDXControl* control, unsigned char* buf, int size);

#endif // PIGMENTOR_COLOUR_PIGMENTORPPDITEM_H
