//===- StPigmentorToPPDManager.h - Server colour keywords into the model -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_STPIGMENTORTOPPDMANAGER_H
#define PIGMENTOR_COLOUR_STPIGMENTORTOPPDMANAGER_H

class PigmentorSession;
class QRVPPD;

/// Puts the print server's colour keywords into the PPD model, all in the constructor: for
/// every keyword the colour-defaults session read, a new popup control "<keyword>Bidi" in the
/// colour roll-down, named with the keyword's localised name and holding the server's values
/// (option keyword and localised name each) with the server's default selected; then the
/// resynchroniser's reconcile runs over the same session and model, except for the popups
/// just made when each is the first of its keyword in the model (reconciling those with the
/// same data would leave them as they are).
///
/// Neither argument is owned; the model owns the controls made. Runs on the thread that
/// builds the two-way list while no other thread uses the model. Server texts are UTF-8 and
/// reach the controls unchanged (names longer than 255 bytes are cut at a character).
class StPigmentorToPPDManager {
public:
    /// `group` is the colour roll-down's keyword ("TPPigmentor", or "TPColor" in PPDs that
    /// use that name), so that the controls land where the two-way list looks for them.
    StPigmentorToPPDManager(PigmentorSession* session, QRVPPD* model,
                            const char* group = "TPPigmentor");
    virtual ~StPigmentorToPPDManager();
};

/// Brings the model's two-way popups up to date with the server, all in the constructor: for
/// every keyword of the session, the popup "<keyword>Bidi" gets the server's current values,
/// name and default (PPDReconcilePopupMenu); the selected option stays when the server still
/// offers it. Keywords without such a popup change nothing. Ownership and threads as above.
class StResyncPigmentorToPPDManager {
public:
    StResyncPigmentorToPPDManager(PigmentorSession* session, QRVPPD* model);
    virtual ~StResyncPigmentorToPPDManager();
};

#endif // PIGMENTOR_COLOUR_STPIGMENTORTOPPDMANAGER_H
