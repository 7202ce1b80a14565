//===- PigmentorPPDItemList.h - Colour items of a PPD model -----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORPPDITEMLIST_H
#define PIGMENTOR_COLOUR_PIGMENTORPPDITEMLIST_H

#include "PigmentorItemList.h"

class PPDXControls;
class ProgressHandler;

/// The expert colour features of a PPD model: one PigmentorPPDItem for every popup control of
/// the colour roll-down ("TPPigmentor", else "TPColor") whose keyword is an expert keyword,
/// in the roll-down's order, each with its keyword index. Subclasses build other kinds.
///
/// The model and the progress handler are not owned: both must outlive the list. The list
/// records the last status code (PigmentorErrorCode) and forwards progress reports to the
/// handler, answering the handler's status (non-zero: stop). The list changes the model's
/// controls only through its items; it may be built on the background fetch thread, while
/// no other thread uses the model.
class PigmentorPPDItemList : public PigmentorItemList {
public:
    /// Keeps `model` and `handler`; with a model fills the keyword index, and with `buildNow`
    /// builds the items at once (valid = that result).
    PigmentorPPDItemList(QRVPPD* model, bool buildNow, ProgressHandler* handler);
    ~PigmentorPPDItemList() override;

    unsigned long getPigmentorErr() override;
    /// setValue(getDefaultValue()) for every item; true.
    bool setToDefaults() override;
    /// Replaces the items with one for each expert popup of the colour controls; true when
    /// at least one was made (else error 6).
    bool initialize() override;
    /// Takes `model` and deletes the items.
    void setPPD(QRVPPD* model) override;
    /// Deletes the items; the feature cursor goes back to its start.
    void resetFeatureList() override;
    int initializeProgress() override;
    int updateProgress(unsigned long state, const char* text) override;
    int startProgress(unsigned long state, const char* text) override;
    int endProgress(unsigned long state, const char* text) override;
    int reportError(unsigned long error, unsigned long state, const char* text) override;
    /// Records any code.
    void setPigmentorErr(unsigned long code) override;

    /// The controls of the colour roll-down (clears the error first): null with error 2
    /// without a model, 16 when the model has no groups, 6 when there is no colour roll-down.
    PPDXControls* getPPDControlList();
    /// What initialize() would answer, and the error it would leave, without making items.
    bool hasExpertControls();
    /// Cursor walk over the items: the first (restarting), then the next; null at the end.
    PigmentorItem* getFirstFeature();
    PigmentorItem* getNextFeature();
    /// The model (not owned), or null.
    QRVPPD* getPPD() const { return mModel; }
    /// Whether the last build made at least one item.
    bool hasItems() const { return mHasItems; }
    ProgressHandler* getProgressHandler() const { return mHandler; }

    /// The colour roll-down's group keyword found by the last getPPDControlList, or null.
    const char* getColourGroupKeyword() const { return mColourGroup; }

protected:
    QRVPPD* mModel;
    bool mHasItems;
    unsigned long mError;
    ProgressHandler* mHandler;
    PigmentorItem* mCursor;
    const char* mColourGroup;
};

#endif // PIGMENTOR_COLOUR_PIGMENTORPPDITEMLIST_H
