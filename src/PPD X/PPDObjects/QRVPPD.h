//===- QRVPPD.h - The PPD model and its parse driver ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_QRVPPD_H
#define PIGMENTOR_PPDX_QRVPPD_H

#include "PPDX.h"
#include "PPDXTypes.h"

class CStringSoup;
class ConstraintForest;
class GroupName;
class ItemConstraintList;
class KeywordTo_PPDControl;
class PPDXControl;
class PPDXControls;
class PPDXGroup;
class PPDXGroups;
class PPDXProperties;
class PPDXRollDown;
class PPDXShortcuts;
class Settings;
struct SharedConstraintRec;

/// The PPD model every other part of the system uses: a PPDX that owns the property pages,
/// groups (roll-downs, scroll panes, plain groups), controls and shortcuts of a PPD, the
/// keyword index of its controls and its UI-constraint maps, and that fills them by parsing
/// the file in the maker's dialect.
///
/// Only option blocks announced by a "*%QRVFlags" line become controls. The model owns every
/// element; its containers only point at them. Walks over the containers show what the
/// class-wide display options admit (Options()); the parse options, per model, decide what is
/// kept at all. Constraint maps hold ids of a string set the model owns; gConstraintStrings
/// points at the set of the model built last. One thread at a time; the display options, the
/// extension level and gConstraintStrings are process-wide and not locked.
///
/// The whole model can be saved into a Settings archive and rebuilt from one without the PPD
/// (QRVPPDPersistence.cpp); a rebuilt model has no keyword index and no constraint maps, which
/// the archive does not keep. A model parsed from the same PPD can take back the saved values.
class QRVPPD : public PPDX {
public:
    /// Parses the PPD at `url` when its *PCFileName is among `acceptedNames` (or none given).
    QRVPPD(CFURLRef url, const _PARSE_OPTIONS_& options, CFArrayRef acceptedNames);
    QRVPPD(const FSSpec& fsSpec, const _PARSE_OPTIONS_& options, CFArrayRef acceptedNames);
    /// A model without a file: containers are made, nothing is parsed.
    explicit QRVPPD(const _PARSE_OPTIONS_& options);
    /// Rebuilds the model saved in `settings`: the header, then, when the PC file name is
    /// accepted (or no names are given), pages, groups, controls and shortcuts with their
    /// parents linked. Without an archive version the model stays empty and not valid.
    /// `ppdURL` (may be null) names the PPD when the archive's file is not found.
    QRVPPD(Settings& settings, CFURLRef ppdURL, CFArrayRef acceptedNames);
    ~QRVPPD() override;

    void Parse() override;
    long ParsePSKeywords(PPDStream& line, const char* keyword) override;
    /// Makes a popup control that is not in the PPD and places it in the group `groupKeyword`;
    /// `translation` is in the system encoding.
    virtual PPDXControl* PPDCreatePopupMenu(const char* groupKeyword, const char* controlKeyword,
                                            const char* translation, PointerList& items,
                                            CString* defaultKeyword);
    /// The same with the display name as a string (retained by the control; may be null).
    PPDXControl* PPDCreatePopupMenuNamed(const char* groupKeyword, const char* controlKeyword,
                                         CFStringRef name, PointerList& items,
                                         CString* defaultKeyword);
    /// Replaces the items of the popup `controlKeyword`; false when there is no such popup.
    virtual bool PPDReconcilePopupMenu(const char* controlKeyword, const char* userName,
                                       PointerList& items, CString* defaultKeyword);

    /// Writes the whole model (header, extension versions, pages, groups, controls with their
    /// values, shortcuts), hidden elements and orphans included, whatever the display options;
    /// false at the first item that cannot be written (what was written stays).
    bool Save(Settings& settings);
    /// Gives the controls of this (parsed) model their values saved in `settings`, matched by
    /// position; true when no control reported an error (the walk stops at the first).
    bool Restore(Settings& settings);

    PPDXControls* GetControls() const { return mControls; }
    PPDXProperties* GetProperties() const { return mProperties; }
    PPDXGroups* GetGroups() const { return mGroups; }
    /// The shortcuts, made when a parse ends; null before.
    PPDXShortcuts* GetShortcuts() const { return mShortcuts; }
    KeywordTo_PPDControl* GetKeywordIndex() const { return mKeywordIndex; }
    /// The maps of "*UIConstraints"/"*%QRVUIConstraints" and of "*%QRVUIRequires" lines.
    ConstraintForest* GetConstraints() const { return mConstraints; }
    ConstraintForest* GetRequires() const { return mRequires; }
    /// The string set whose ids the constraint maps hold (owned by the model), or null.
    CStringSoup* GetConstraintStrings() const { return mConstraintStrings; }

    /// The class-wide display options of every walk over a model's containers.
    static _DISPLAY_OPTIONS_ Options();
    static void Options(_DISPLAY_OPTIONS_ options);
    static _EXTENSIONS_SUPPORT_ GetExtensions() { return sExtensionsSupport; }
    static void SetExtensions(_EXTENSIONS_SUPPORT_ level) { sExtensionsSupport = level; }
    bool ParseOrphans() const { return (mParseOptions & kShowOrphans) != 0; }
    bool ParseHidden() const { return (mParseOptions & kShowHidden) != 0; }
    _PARSE_OPTIONS_ ParseOptions() const { return mParseOptions; }

    const char* ExtensionFileVersion() const { return Text(mExtensionFileVersion); }
    const char* ExtensionVersion() const { return Text(mExtensionVersion); }

    /// Same file (volume, directory, name) and the same PC file name.
    bool operator==(const QRVPPD& other) const;
    /// Fills `fsSpec` from the file; false when the model has none.
    bool GetFileSpec(FSSpec& fsSpec) const;
    /// Checks the signature: "*PPD-Adobe" with "4.3" sets the PPD valid; else error 28.
    PPDXErrorObj* TestPPDFile(PPDStream& stream, const char* firstToken);

    /// Deletes every CString of `list`, from the back, and empties it.
    static void ClearStringList(PointerList& list);

    // Handlers of the parse, one per keyword family. Each reads the rest of its line (and any
    // further lines of its block from the parse's file stream) and returns null or an error.

    /// "*%QRVFlags": announces an option block.
    PPDXErrorObj* ParseControl(PPDStream& line);
    /// "*%QRVPropPage": a property page.
    PPDXErrorObj* ParsePropertyPage(PPDStream& line);
    /// "*%QRVGroupName": declares a group's name and translation.
    PPDXErrorObj* ParseGroupName(PPDStream& line);
    /// "*%QRVParent": places a declared group as a scroll pane or roll-down.
    PPDXErrorObj* ParseParent(PPDStream& line);
    /// "*%QRVGroup" after a "*%QRVFlags" line: the control's group, then its block.
    PPDXErrorObj* ParseGroup(PPDStream& line, const char* controlKeyword, PointerList& flags);
    /// "*OpenUI" and its kin: a popup or boolean block.
    PPDXErrorObj* ParseOpenUI(PPDStream& line, const char* controlKeyword, PointerList& flags,
                              PPDXGroup* group);
    PPDXErrorObj* ParsePopupControl(const char* controlKeyword, CFStringRef translation,
                                    PointerList& flags, PPDXGroup* group, const bool& pickMany);
    PPDXErrorObj* ParseBooleanControl(const char* controlKeyword, CFStringRef translation,
                                      PointerList& flags, PPDXGroup* group);
    /// "*%QRVRange" and "*%QRVUnitRange": an integer range on one line.
    PPDXErrorObj* ParseRange(PPDStream& line, const char* controlKeyword, PointerList& flags,
                             PPDXGroup* group);
    /// "*%QVShortcut": keeps the control keyword until the parse ends; 19 for a reserved one.
    PPDXErrorObj* ParseShortcut(PPDStream& line);
    /// "*%QRVSpecialOption": a hidden name-value control.
    PPDXErrorObj* ParseSpecialOption(PPDStream& line);
    /// A stand-alone "*%QRVJobNote" line: a note placed in the group "TPQVNotes".
    PPDXErrorObj* ParseJobNote(PPDStream& line);
    /// A "*%QRVJobNote" line of the block `controlKeyword`, with the block's flags (taken over
    /// when a note is made) and its roll-down (null: the group "TPQVNotes").
    PPDXErrorObj* ParseJobNote(PPDStream& line, const char* controlKeyword, PointerList& flags,
                               PPDXGroup* group);
    /// "*UIConstraints", "*%QRVUIConstraints" (`requires` false) and "*%QRVUIRequires" (true).
    PPDXErrorObj* ParseUIConstraint(PPDStream& line, bool requires);
    /// Binds the shortcut keywords to controls (19 for each missing one) into a new list.
    void ResolveShortcuts();

    /// What choice `item` of `control` constrains: the count of records; with `records`, a
    /// new array of them (release it with ReleaseConstraintList), null when there are none.
    /// Specific records (of that choice) come first, then those of any choice of the keyword.
    /// Moves the item cursors of the popup controls involved.
    long GetConstraintList(PPDXControl* control, long item, SharedConstraintRec** records);
    /// What `control` requires: as GetConstraintList for item 0 over the requires map.
    long GetRequiresList(PPDXControl* control, SharedConstraintRec** records);
    /// Frees an array of GetConstraintList (or GetRequiresList) and nulls the pointer.
    static void ReleaseConstraintList(SharedConstraintRec*& records);
    static void ReleaseRequiresList(SharedConstraintRec*& records);
    /// The common body of both queries over `forest`.
    long CommonGetForestList(PPDXControl* control, long item, SharedConstraintRec** records,
                             ConstraintForest* forest);
    /// Fills records `first` to `first + count - 1` from the first `count` pairs of `list`.
    void ProcessConstraintList(const ItemConstraintList* list, SharedConstraintRec* records,
                               unsigned long first, unsigned long count);
    /// Deletes the constraints map and the model's constraint string set.
    void DeleteConstraintMaps();

    /// Places a finished control into `group` (a roll-down) or keeps it as an orphan.
    void SetupControl(PPDXGroup* group, PPDXControl* control, bool report);

    void AddGroupNameToList(const char* keyword, CFStringRef translation, bool visible);
    GroupName* FindGroupNameFromList(const char* keyword);
    void ClearGroupNameList();
    /// The group `groupKeyword`, made as a plain group from its declared name when missing.
    PPDXGroup* FindAndCreateParent(const char* groupKeyword);
    /// Declared group names that no line placed become plain groups (orphans parsed only).
    void CollectOrphanGroups();
    /// Turns the parent keywords of a restored model into links.
    void ResolveHeirarchy();

protected:
    /// Makes the containers, then parses when there is a file; records 25, 26, 27 for empty
    /// containers.
    void Build();
    /// The model's part of a rebuild after the header's: extension versions, containers,
    /// links; the model is then valid.
    void BuildFromSettings(Settings& settings);
    /// A new string (the caller releases it) of PPD translation text.
    CFStringRef CreateTranslation(const char* text);
    /// The next line of the parse into `line` (a line left by UnreadLine first, else the
    /// file stream's next); false at the end, or when the line is over-long or unended.
    bool ReadBlockLine(char* line);
    /// Leaves `line` (as read, with the result its read gave) to the next ReadBlockLine.
    void UnreadLine(const char* line, bool ended);
    /// Reads a "*OpenUI" block's lines up to its close keyword; see the .cpp.
    bool IsCloseKeyword(const char* mainPart) const;

    _PARSE_OPTIONS_ mParseOptions = 0;
    PPDXProperties* mProperties = nullptr;
    PPDXGroups* mGroups = nullptr;
    PPDXControls* mControls = nullptr;
    PPDXShortcuts* mShortcuts = nullptr;
    bool mInInstallableOptions = false;
    PPDXRollDown* mInstallableRollDown = nullptr;
    CString* mExtensionFileVersion = nullptr;
    CString* mExtensionVersion = nullptr;
    PointerList mShortcutKeywords;
    PointerList mGroupNames;
    KeywordTo_PPDControl* mKeywordIndex = nullptr;
    ConstraintForest* mConstraints = nullptr;
    ConstraintForest* mRequires = nullptr;
    CStringSoup* mConstraintStrings = nullptr;

    static _EXTENSIONS_SUPPORT_ sExtensionsSupport;

private:
    PPDXErrorObj* Dispatch(PPDStream& line, const char* keyword);
    void DeleteElements();
    /// Both job-note parsers: `blockKeyword` is null for a stand-alone line.
    PPDXErrorObj* ReadJobNote(PPDStream& line, const char* blockKeyword, PointerList& flags,
                              PPDXGroup* group);
    /// Looks at the line after a job-note declaration: a default text or the note's code
    /// consume it; any other line is left for the driver.
    void ReadJobNoteFollowUp(const char* keyword, CString*& defaultText, unsigned char*& code,
                             long& codeLength);

    /// A line read ahead and not used, waiting for the next ReadBlockLine.
    char mPendingLine[PPDStream::kLineBufferSize] = "";
    bool mHasPendingLine = false;
    bool mPendingLineEnded = false;
};

/// The constraint string set of the model built last (owned by that model), or null.
extern CStringSoup* gConstraintStrings;
/// The lines stored in the constraints and requires maps of the model built last.
extern unsigned long gProcessedConstraints;
extern unsigned long gProcessedRequires;

#endif // PIGMENTOR_PPDX_QRVPPD_H
