//===- QRVPPD.h - The PPD model and its parse driver ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_QRVPPD_H
#define PIGMENTOR_PPDX_QRVPPD_H

#include "PPDX.h"
#include "PPDXTypes.h"

class GroupName;
class KeywordTo_PPDControl;
class PPDXControl;
class PPDXControls;
class PPDXGroup;
class PPDXGroups;
class PPDXProperties;
class PPDXRollDown;

/// The PPD model every other part of the system uses: a PPDX that owns the property pages,
/// groups (roll-downs, scroll panes, plain groups) and controls of a PPD, and the keyword
/// index of its controls, and that fills them by parsing the file in the maker's dialect.
///
/// Only option blocks announced by a "*%QRVFlags" line become controls. The model owns every
/// element; its containers only point at them. Walks over the containers show what the
/// class-wide display options admit (Options()); the parse options, per model, decide what is
/// kept at all. One thread at a time; the display options are process-wide and not locked.
class QRVPPD : public PPDX {
public:
    /// Parses the PPD at `url` when its *PCFileName is among `acceptedNames` (or none given).
    QRVPPD(CFURLRef url, const _PARSE_OPTIONS_& options, CFArrayRef acceptedNames);
    QRVPPD(const FSSpec& fsSpec, const _PARSE_OPTIONS_& options, CFArrayRef acceptedNames);
    /// A model without a file: containers are made, nothing is parsed.
    explicit QRVPPD(const _PARSE_OPTIONS_& options);
    ~QRVPPD() override;

    void Parse() override;
    long ParsePSKeywords(PPDStream& line, const char* keyword) override;
    /// Makes a popup control that is not in the PPD and places it in the group `groupKeyword`.
    virtual PPDXControl* PPDCreatePopupMenu(const char* groupKeyword, const char* controlKeyword,
                                            const char* translation, PointerList& items,
                                            CString* defaultKeyword);
    /// Replaces the items of the popup `controlKeyword`; false when there is no such popup.
    virtual bool PPDReconcilePopupMenu(const char* controlKeyword, const char* userName,
                                       PointerList& items, CString* defaultKeyword);

    PPDXControls* GetControls() const { return mControls; }
    PPDXProperties* GetProperties() const { return mProperties; }
    PPDXGroups* GetGroups() const { return mGroups; }
    KeywordTo_PPDControl* GetKeywordIndex() const { return mKeywordIndex; }

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
    /// A new string (the caller releases it) of PPD translation text.
    CFStringRef CreateTranslation(const char* text);
    /// The next line of the parse's file stream into `line`; false at its end.
    bool ReadBlockLine(char* line);
    /// Reads a "*OpenUI" block's lines up to its close keyword; see the .cpp.
    bool IsCloseKeyword(const char* mainPart) const;

    _PARSE_OPTIONS_ mParseOptions = 0;
    PPDXProperties* mProperties = nullptr;
    PPDXGroups* mGroups = nullptr;
    PPDXControls* mControls = nullptr;
    bool mInInstallableOptions = false;
    PPDXRollDown* mInstallableRollDown = nullptr;
    CString* mExtensionFileVersion = nullptr;
    CString* mExtensionVersion = nullptr;
    PointerList mShortcutKeywords;
    PointerList mGroupNames;
    KeywordTo_PPDControl* mKeywordIndex = nullptr;

    static _EXTENSIONS_SUPPORT_ sExtensionsSupport;

private:
    PPDXErrorObj* Dispatch(PPDStream& line, const char* keyword);
    void DeleteElements();
};

#endif // PIGMENTOR_PPDX_QRVPPD_H
