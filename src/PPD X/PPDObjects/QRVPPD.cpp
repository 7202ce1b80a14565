//===- QRVPPD.cpp - The PPD model and its parse driver --------------------===//
//
// Construction, destruction, the line loop and the dispatch of each line by its main keyword.
// The handlers of the keyword families live beside this file: QRVPPDOptionBlocks.cpp (popup,
// boolean and range blocks), QRVPPDGroups.cpp (pages, group names, parents, groups),
// QRVPPDShortcuts.cpp (shortcuts, special options), QRVPPDJobNotes.cpp (job notes) and
// QRVPPDConstraints.cpp (UI constraints and their queries).
//
//===----------------------------------------------------------------------===//
#include "QRVPPD.h"

#include "ConstraintForest.h"
#include "CStringSoup.h"
#include "GroupName.h"
#include "KeywordTo_PPDControl.h"
#include "PPDFileStream.h"
#include "PPDKeyword.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXGroups.h"
#include "PPDXPopupControl.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXRollDown.h"
#include "PPDXShortcuts.h"
#include "TextConverter.h"

#include <cstring>
#include <new>
#include <string_view>
#include <unordered_set>
#include <vector>

_EXTENSIONS_SUPPORT_ QRVPPD::sExtensionsSupport = 0;

namespace {

const char kInstallableOptions[] = "InstallableOptions";

bool equals(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

/// The keywords of the controls that the parse running on this thread has put into its model's
/// control list (views of the controls' own keywords, which outlive the parse). Each new control
/// is checked against that whole list, a walk over every control; a keyword that was never put
/// in cannot be found by it, so the walk is made only for one that was.
class ParsedKeywords {
public:
    explicit ParsedKeywords(const QRVPPD* model) : mModel(model), mOuter(sCurrent) {
        sCurrent = this;
    }
    ~ParsedKeywords() { sCurrent = mOuter; }
    ParsedKeywords(const ParsedKeywords&) = delete;
    ParsedKeywords& operator=(const ParsedKeywords&) = delete;

    /// The record of `model`'s parse, or null when none is running on this thread.
    static ParsedKeywords* Of(const QRVPPD* model) {
        return sCurrent && sCurrent->mModel == model ? sCurrent : nullptr;
    }
    void Add(const char* keyword) {
        if (!keyword)
            return;
        try {
            mKeywords.emplace(keyword);
        } catch (...) {
            mComplete = false; // out of memory: every keyword is looked for the long way
        }
    }
    /// False only when no control with `keyword` was put in.
    bool MayHold(const char* keyword) const {
        return !mComplete || mKeywords.count(std::string_view(keyword)) != 0;
    }

private:
    static thread_local ParsedKeywords* sCurrent;
    const QRVPPD* mModel;
    ParsedKeywords* mOuter;
    std::unordered_set<std::string_view> mKeywords;
    bool mComplete = true;
};

thread_local ParsedKeywords* ParsedKeywords::sCurrent = nullptr;

} // namespace

QRVPPD::QRVPPD(CFURLRef url, const _PARSE_OPTIONS_& options, CFArrayRef acceptedNames)
    : PPDX(url, acceptedNames), mParseOptions(options) {
    if (IsValidPrinterName())
        Build();
}

QRVPPD::QRVPPD(const FSSpec& fsSpec, const _PARSE_OPTIONS_& options, CFArrayRef acceptedNames)
    : PPDX(fsSpec, acceptedNames), mParseOptions(options) {
    if (IsValidPrinterName())
        Build();
}

QRVPPD::QRVPPD(const _PARSE_OPTIONS_& options) : mParseOptions(options) { Build(); }

QRVPPD::~QRVPPD() {
    DeleteConstraintMaps();
    delete mKeywordIndex;
    delete mRequires;
    {
        ScopedDisplayOptions seeEverything(kShowAll);
        DeleteElements();
        delete mExtensionFileVersion;
        delete mExtensionVersion;
        delete mShortcuts;
    }
    ClearStringList(mShortcutKeywords);
    ClearGroupNameList();
}

void QRVPPD::DeleteElements() {
    // Collect first: the containers are walked with their own cursors while elements go.
    std::vector<PPDXElement*> doomed;
    if (mProperties)
        for (PPDXProperty* p = mProperties->First(); p; p = mProperties->Next())
            doomed.push_back(p);
    if (mGroups)
        for (PPDXGroup* g = mGroups->First(); g; g = mGroups->Next())
            doomed.push_back(g);
    if (mControls) {
        CNTL_TYPE type;
        for (PPDXControl* c = mControls->First(type); c; c = mControls->Next(type))
            doomed.push_back(c);
    }
    delete mProperties;
    delete mGroups;
    delete mControls;
    mProperties = nullptr;
    mGroups = nullptr;
    mControls = nullptr;
    for (PPDXElement* element : doomed)
        delete element;
}

_DISPLAY_OPTIONS_ QRVPPD::Options() { return PPDXDisplay::Get(); }

void QRVPPD::Options(_DISPLAY_OPTIONS_ options) { PPDXDisplay::Set(options); }

void QRVPPD::Build() {
    mProperties = new (std::nothrow) PPDXProperties;
    mGroups = new (std::nothrow) PPDXGroups;
    mControls = new (std::nothrow) PPDXControls;
    // The newest model's string set is the process-wide one; every model keeps its own, so
    // that its maps' ids keep naming its own strings whatever models come and go after it.
    mConstraintStrings = new (std::nothrow) CStringSoup;
    gConstraintStrings = mConstraintStrings;
    mKeywordIndex = new (std::nothrow) KeywordTo_PPDControl;
    mConstraints = new (std::nothrow) ConstraintForest;
    mRequires = new (std::nothrow) ConstraintForest;
    gProcessedConstraints = 0;
    gProcessedRequires = 0;
    if (!mFile)
        return;
    Parse();
    // A container that holds elements is not empty, whatever the display options hide.
    ScopedDisplayOptions seeEverything(kShowAll);
    if (!mProperties || mProperties->Empty())
        AddError(new (std::nothrow) PPDXErrorObj(25, false));
    if (!mGroups || mGroups->Empty())
        AddError(new (std::nothrow) PPDXErrorObj(26, false));
    if (!mControls || mControls->Empty())
        AddError(new (std::nothrow) PPDXErrorObj(27, false));
}

void QRVPPD::Parse() {
    if (!mGroups || !mControls || !mProperties) {
        AddError(new (std::nothrow) PPDXErrorObj(1, true));
        return;
    }
    if (!mFile) {
        if (mKeywordIndex)
            mKeywordIndex->EndInsertion();
        return;
    }
    PPDXErrorObj* signatureError = nullptr;
    {
        ParsedKeywords parsedKeywords(this);
        PPDFileStream stream(mFile, true);
        if (stream.Bad()) {
            AddError(new (std::nothrow) PPDXErrorObj(18, true));
            if (mKeywordIndex)
                mKeywordIndex->EndInsertion();
            return;
        }
        mStream = &stream;
        mHasPendingLine = false;
        char token[PPDStream::kLineBufferSize];
        if (NextToken(stream, token, kKeywordDelimiters, true))
            signatureError = TestPPDFile(stream, token);

        char line[PPDStream::kLineBufferSize];
        while (!signatureError && ReadBlockLine(line)) {
            PPDStream lineStream(line, static_cast<long>(std::strlen(line)));
            if (!NextToken(lineStream, token, kKeywordDelimiters, true) || token[0] == '\0')
                continue;
            PPDXErrorObj* error = Dispatch(lineStream, token);
            if (!error)
                continue;
            AddError(error);
            if (error->IsFatal() || mAllErrorsFatal)
                break;
        }
        ResolveShortcuts();
        ClearStringList(mShortcutKeywords);
        CollectOrphanGroups();
        ClearGroupNameList();
        mStream = nullptr;
        mHasPendingLine = false;
    }
    AddError(signatureError);
    if (mKeywordIndex)
        mKeywordIndex->EndInsertion();
}

PPDXErrorObj* QRVPPD::Dispatch(PPDStream& line, const char* keyword) {
    const PPDKeyword key(keyword);
    if (key.Is("*UIConstraints") || key.Is("*%QRVUIConstraints"))
        return ParseUIConstraint(line, false);
    if (key.Is("*%QRVPropPage"))
        return ParsePropertyPage(line);
    if (key.Is("*%QRVGroupName"))
        return ParseGroupName(line);
    if (key.Is("*%QRVParent"))
        return ParseParent(line);
    if (key.Is("*%QRVFlags"))
        return ParseControl(line);
    if (key.Is("*%QVShortcut"))
        return ParseShortcut(line);
    if (key.Is("*%QRVSpecialOption"))
        return ParseSpecialOption(line);
    if (key.Is("*%QRVJobNote"))
        return ParseJobNote(line);
    if (key.Is("*%QRVUIRequires"))
        return ParseUIConstraint(line, true);
    ParsePSKeywords(line, keyword);
    return nullptr;
}

PPDXErrorObj* QRVPPD::TestPPDFile(PPDStream& stream, const char* firstToken) {
    return TestSignature(stream, firstToken);
}

long QRVPPD::ParsePSKeywords(PPDStream& line, const char* keyword) {
    char value[PPDStream::kLineBufferSize];
    const PPDKeyword key(keyword);
    if (key.Is("*%QVFileVersion")) {
        if (NextToken(line, value, kLineEndDelimiters, true))
            Store(mExtensionFileVersion, value);
    } else if (key.Is("*%QVVersion")) {
        if (NextToken(line, value, kLineEndDelimiters, true))
            Store(mExtensionVersion, value);
    } else if (key.Is("*OpenGroup")) {
        if (!NextToken(line, value, kOptionDelimiters, true) || !equals(value, kInstallableOptions))
            return 0;
        mInInstallableOptions = true;
        char translation[PPDStream::kLineBufferSize] = "";
        NextToken(line, translation, kOptionDelimiters, true);
        if (!mInstallableRollDown && mGroups) {
            CFStringRef name = CreateTranslation(translation);
            mInstallableRollDown = new (std::nothrow) PPDXRollDown(kInstallableOptions, name, true);
            CFRelease(name);
            if (mInstallableRollDown)
                mGroups->Add(mInstallableRollDown);
        }
    } else if (key.Is("*CloseGroup")) {
        if (NextToken(line, value, kOptionDelimiters, true) && equals(value, kInstallableOptions))
            mInInstallableOptions = false;
    } else {
        PPDX::ParsePSKeywords(line, keyword);
    }
    return 0;
}

PPDXErrorObj* QRVPPD::ParseControl(PPDStream& line) {
    char controlKeyword[PPDStream::kLineBufferSize];
    if (!NextToken(line, controlKeyword, kKeywordDelimiters, true) || controlKeyword[0] == '\0')
        return new (std::nothrow) PPDXErrorObj(16, CString(""), false);
    CNTL_TYPE type;
    const ParsedKeywords* parsed = ParsedKeywords::Of(this);
    if ((!parsed || parsed->MayHold(controlKeyword)) && mControls->Find(controlKeyword, type, true))
        return new (std::nothrow) PPDXErrorObj(23, CString(controlKeyword), false);

    PointerList flags;
    char flag[PPDStream::kLineBufferSize];
    while (NextToken(line, flag, kFlagDelimiters, true))
        if (flag[0])
            flags.PushBack(new (std::nothrow) CString(flag));

    PPDXErrorObj* result = nullptr;
    char next[PPDStream::kLineBufferSize];
    if (ReadBlockLine(next)) {
        PPDStream nextLine(next, static_cast<long>(std::strlen(next)));
        char keyword[PPDStream::kLineBufferSize];
        if (NextToken(nextLine, keyword, kKeywordDelimiters, true) && keyword[0]) {
            if (std::strcmp(keyword, "*%QRVGroup") == 0)
                result = ParseGroup(nextLine, controlKeyword, flags);
            else if (std::strcmp(keyword, "*OpenUI") == 0 || std::strcmp(keyword, "*QVOpenUI") == 0 ||
                     std::strcmp(keyword, "*OpenUIQRV") == 0 || std::strcmp(keyword, "*BeginUI") == 0)
                result = ParseOpenUI(nextLine, controlKeyword, flags, nullptr);
            else
                result = new (std::nothrow) PPDXErrorObj(16, CString(controlKeyword), false);
        }
    }
    // A control that was made took the flag words over and emptied the list; what is left
    // belongs to no one.
    ClearStringList(flags);
    return result;
}

bool QRVPPD::ReadBlockLine(char* line) {
    if (mHasPendingLine) {
        mHasPendingLine = false;
        std::memcpy(line, mPendingLine, sizeof mPendingLine);
        return mPendingLineEnded;
    }
    return mStream && mStream->GetLine(line);
}

void QRVPPD::UnreadLine(const char* line, bool ended) {
    // One line of look-ahead is all a handler takes; the file stream itself cannot step back.
    size_t length = strnlen(line, PPDStream::kMaxLineLength);
    std::memcpy(mPendingLine, line, length);
    mPendingLine[length] = '\0';
    mPendingLineEnded = ended;
    mHasPendingLine = true;
}

void QRVPPD::SetupControl(PPDXGroup* group, PPDXControl* control, bool report) {
    if (!control || !mControls)
        return;
    // Every branch below puts the control into mControls.
    if (ParsedKeywords* parsed = ParsedKeywords::Of(this))
        parsed->Add(control->Keyword());
    if (!group) {
        if (mInInstallableOptions && mInstallableRollDown)
            group = mInstallableRollDown;
        else if (!ParseOrphans()) {
            mControls->Add(control);
            return;
        }
    }
    if (PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(group)) {
        if (PPDXControls* list = rollDown->Controls()) {
            control->SetParent(rollDown);
            list->Add(control);
        }
        mControls->Add(control);
        return;
    }
    if (report)
        AddError(new (std::nothrow) PPDXErrorObj(29, CString(control->Keyword()), false));
    mControls->Add(control);
}

CFStringRef QRVPPD::CreateTranslation(const char* text) {
    if (mTextConverter)
        return mTextConverter->ConvertToCFString(text, 0);
    // Translations met before *LanguageEncoding are still shown: read as UTF-8 when they are,
    // else byte for byte as Mac Roman, hex groups decoded either way.
    unsigned long unknown = TextConverter::kUnknownEncoding;
    TextConverter plain(unknown, TextConverter::kUnknownEncoding);
    return plain.ConvertToCFString(text, 0);
}

PPDXControl* QRVPPD::PPDCreatePopupMenu(const char* groupKeyword, const char* controlKeyword,
                                        const char* translation, PointerList& items,
                                        CString* defaultKeyword) {
    if (!groupKeyword || !translation || !mTextConverter || !mGroups || !mControls)
        return nullptr;
    // The translation is the caller's text in the system encoding (a print server's name for
    // its feature, in any language), not PPD text: read as PPD bytes it would lose every
    // character outside the PPD's encoding. Only bytes the system encoding rejects fall back
    // to the PPD's reading.
    CFStringRef name = CFStringCreateWithCString(kCFAllocatorDefault, translation,
                                                 CFStringGetSystemEncoding());
    if (!name)
        name = mTextConverter->ConvertToCFString(translation, 0);
    PPDXControl* popup =
        PPDCreatePopupMenuNamed(groupKeyword, controlKeyword, name, items, defaultKeyword);
    if (name)
        CFRelease(name);
    return popup;
}

PPDXControl* QRVPPD::PPDCreatePopupMenuNamed(const char* groupKeyword,
                                             const char* controlKeyword, CFStringRef name,
                                             PointerList& items, CString* defaultKeyword) {
    if (!groupKeyword || !mTextConverter || !mGroups || !mControls)
        return nullptr;
    // Popups come in runs for one group: its name is only made while the group is missing.
    PPDXGroup* group = mGroups->Find(groupKeyword, true);
    if (!group) {
        CFStringRef groupName = CFStringCreateWithCString(kCFAllocatorDefault, groupKeyword,
                                                          kCFStringEncodingMacRoman);
        if (groupName) {
            AddGroupNameToList(groupKeyword, groupName, true);
            CFRelease(groupName);
        }
        group = mGroups->Find(groupKeyword, true);
    }
    // The control only reads the flags it is given; one empty list serves every popup (and
    // every thread: reading an empty list changes nothing).
    static PointerList noFlags;
    PPDXPopupControl* popup = new (std::nothrow)
        PPDXPopupControl(controlKeyword, name, noFlags, true, false, items, defaultKeyword);
    if (popup)
        SetupControl(group, popup, true);
    return popup;
}

bool QRVPPD::PPDReconcilePopupMenu(const char* controlKeyword, const char* userName,
                                   PointerList& items, CString* defaultKeyword) {
    if (!mControls)
        return false;
    CNTL_TYPE type;
    PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(mControls->Find(controlKeyword, type, true));
    return popup && popup->Rebuild(userName, items, defaultKeyword);
}

void QRVPPD::ClearStringList(PointerList& list) {
    while (!list.Empty()) {
        delete static_cast<CString*>(list.Back());
        list.PopBack();
    }
}

bool QRVPPD::operator==(const QRVPPD& other) const {
    FSSpec mine, theirs;
    if (!GetFileSpec(mine) || !other.GetFileSpec(theirs))
        return false;
    return mine.vRefNum == theirs.vRefNum && mine.parID == theirs.parID &&
           mine.name[0] == theirs.name[0] &&
           std::memcmp(mine.name + 1, theirs.name + 1, mine.name[0]) == 0 &&
           equals(PCFileName() ? PCFileName() : "", other.PCFileName() ? other.PCFileName() : "");
}

bool QRVPPD::GetFileSpec(FSSpec& fsSpec) const {
    if (!mFile)
        return false;
    mFile->getFileInfo(&fsSpec);
    return true;
}
