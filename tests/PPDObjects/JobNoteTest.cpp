// Job notes: the control (flags, texts, display, the PostScript it writes) and the two
// declaration parsers (stand-alone lines and "*%QRVFlags" blocks) with their look-ahead.
#include "ControlTestSupport.h"
#include "ParseTestSupport.h"

#include "KeywordTo_PPDControl.h"
#include "PPDXGroups.h"
#include "PPDXJobNote.h"
#include "PPDXRollDown.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Codes = std::vector<int>;

/// A job page with the roll-downs TPJob and TPQVNotes.
std::string notesLayout() {
    return "*%QRVPropPage PPJob/Job: True\n"
           "*%QRVGroupName TPSJob/Job Pane: True\n"
           "*%QRVGroupName TPJob/Job: True\n"
           "*%QRVGroupName TPQVNotes/Notes: True\n"
           "*%QRVParent TPSJob/PPJob: True|Scrollpane\n"
           "*%QRVParent TPJob/TPSJob: True|Rolldown\n"
           "*%QRVParent TPQVNotes/TPSJob: True|Rolldown\n";
}

/// A "*%QRVFlags" block in the roll-down TPJob that ends with `declaration`.
std::string noteBlock(const std::string& keyword, const std::string& declaration) {
    return "*%QRVFlags " + keyword +
           ": MacTJN|Spooler\n"
           "*%QRVGroup " +
           keyword + " TPJob/Job\n" + declaration + "\n";
}

/// Sets the extension level for one test and puts the old one back.
class ExtensionLevel {
public:
    explicit ExtensionLevel(_EXTENSIONS_SUPPORT_ level) { QRVPPD::SetExtensions(level); }
    ~ExtensionLevel() { QRVPPD::SetExtensions(mSaved); }

private:
    _EXTENSIONS_SUPPORT_ mSaved = QRVPPD::GetExtensions();
};

PPDXJobNote* note(QRVPPD* ppd, const char* keyword) {
    return dynamic_cast<PPDXJobNote*>(control(ppd, keyword));
}

std::string parentOf(PPDXElement* element) {
    return element->GetParent() ? element->GetParent()->Keyword() : "(none)";
}

/// A note made directly: keyword, job-note flags, code (null: none), default text.
PPDXJobNote* makeNote(const char* keyword, JobNoteFlag flags, const char* code = nullptr,
                      const char* defaultText = nullptr, bool visible = true) {
    PointerList noFlags;
    return new PPDXJobNote(keyword, CFSTR("Note"), noFlags, Block(code),
                           code ? static_cast<long>(std::strlen(code)) : 0,
                           defaultText ? new CString(defaultText) : nullptr, nullptr, visible, 32,
                           flags, 0);
}

} // namespace

TEST(JobNoteParse, StandAloneNoteTakesItsDefaultLine) {
    QRVPPD* ppd = parsePPD(notesLayout() + "*%QRVJobNote *Notes1/Notes 1: 32|Alpha|Numeric\n"
                                           "*%DefaultNotes1: Draft\n"
                                           "*%QRVSpecialOption *After: Yes\n");
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXJobNote* n = note(ppd, "*Notes1");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->Type(), kJobNoteType);
    EXPECT_STREQ(n->UserName(), "Notes 1");
    EXPECT_EQ(n->MaxLength(), 32);
    EXPECT_EQ(n->MinLength(), 0);
    EXPECT_EQ(n->Flags(), kJobNoteAlpha | kJobNoteNumeric);
    EXPECT_STREQ(n->GetDefaultNotes(), "Draft");
    EXPECT_STREQ(n->GetNotes(), "Draft");
    EXPECT_EQ(n->PSLength(), 0);
    EXPECT_EQ(n->ControlFlagCount(), 0u);
    EXPECT_TRUE(n->IsVisible());
    EXPECT_FALSE(n->GetNotesOnValue());
    EXPECT_STREQ(n->LanguageEncoding(), "ISOLatin1");
    EXPECT_EQ(parentOf(n), "TPQVNotes");
    EXPECT_EQ(ppd->GetKeywordIndex()->Lookup("*Notes1"), n);
    EXPECT_EQ(ppd->GetControls()->FirstJobNote(), n);
    EXPECT_NE(control(ppd, "*After"), nullptr); // the line after the default line is read
    ppd->Release();
}

TEST(JobNoteParse, AnOrdinaryNextLineIsLeftForTheDriver) {
    QRVPPD* ppd = parsePPD(notesLayout() + "*%QRVJobNote *Notes1/Notes 1: 32|Alpha|Numeric\n"
                                           "*%QRVSpecialOption *Next: Yes\n");
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXJobNote* n = note(ppd, "*Notes1");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->GetDefaultNotes(), nullptr);
    EXPECT_EQ(n->GetNotes(), nullptr);
    EXPECT_EQ(n->PSLength(), 0);
    EXPECT_NE(control(ppd, "*Next"), nullptr);
    ppd->Release();

    // Without a notes group the note stays an orphan, and that is no error of its own (only
    // the missing pages and groups are).
    QRVPPD* bare = parsePPD("*%QRVJobNote *Instruc/Instructions: 127|AlwaysDisplay\n");
    EXPECT_EQ(errorCodes(bare), (Codes{25, 26}));
    ASSERT_NE(note(bare, "*Instruc"), nullptr);
    EXPECT_TRUE(note(bare, "*Instruc")->IsOrphan());
    EXPECT_TRUE(note(bare, "*Instruc")->AlwaysDisplay());
    bare->Release();
}

TEST(JobNoteParse, CodeLineBecomesTheInvocationCode) {
    QRVPPD* ppd = parsePPD(notesLayout() + "*%QRVJobNote *Notes2/Notes 2: 32|Remembered\n"
                                           "*%Notes2: \"(<*Notes2>) setnote\n"
                                           "*%% comment\"\n"
                                           "*End\n");
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXJobNote* n = note(ppd, "*Notes2");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(n->PSData()), static_cast<size_t>(n->PSLength())),
        "(<*Notes2>) setnote\n% comment\n");
    EXPECT_EQ(n->GetDefaultNotes(), nullptr);
    EXPECT_TRUE(n->Remember());
    n->SetNotes("Room 5");
    EXPECT_EQ(WrittenPostScript(*n),
              "%%BeginFeature: *Notes2 Room 5\n(Room 5) setnote\n% comment\n%%EndFeature\n");
    ppd->Release();
}

TEST(JobNoteParse, GroupBlockNoteTakesTheBlockFlagsAndMinimumLength) {
    QRVPPD* ppd = parsePPD(
        notesLayout() +
        noteBlock("*QVAccount", "*%QRVJobNote *QVAccount/Account: 16|Numeric|Member|MinLength=4"));
    EXPECT_EQ(errorCodes(ppd), Codes{});
    PPDXJobNote* n = note(ppd, "*QVAccount");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->MaxLength(), 16);
    EXPECT_EQ(n->MinLength(), 4);
    EXPECT_EQ(n->Flags(), kJobNoteNumeric | kJobNoteMember);
    EXPECT_EQ(n->ControlFlagCount(), 2u);
    EXPECT_TRUE(n->IsMacTJN());
    EXPECT_TRUE(n->IsSpooler());
    EXPECT_EQ(parentOf(n), "TPJob");
    EXPECT_EQ(ppd->GetKeywordIndex()->Lookup("*QVAccount"), n);
    ppd->Release();

    const struct {
        const char* word;
        long minimum;
    } cases[] = {{"MinLength=5", 5}, {"MinLength=12", 12}, {"MinLength=x", -1},
                 {"MinLength=", -1}, {"MinLength=1x", -3}, {"MinLength=123", -2},
                 {"MinLength", 0}};
    ExtensionLevel all(3); // the bare word MinLength is a flag of the highest level
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        QRVPPD* p = parsePPD(notesLayout() +
                             noteBlock("*N", std::string("*%QRVJobNote *N/N: 8|") + c.word));
        ASSERT_NE(note(p, "*N"), nullptr);
        EXPECT_EQ(note(p, "*N")->MinLength(), c.minimum);
        EXPECT_EQ(note(p, "*N")->Flags(), c.minimum == 0 ? kJobNoteMinLength : 0u);
        p->Release();
    }
    // A stand-alone note reads no minimum length.
    QRVPPD* alone = parsePPD(notesLayout() + "*%QRVJobNote *N/N: 8|MinLength=5\n");
    EXPECT_EQ(note(alone, "*N")->MinLength(), 0);
    alone->Release();
}

TEST(JobNoteParse, ANoteBlockOutsideARollDownFallsBackToTheNotesGroup) {
    QRVPPD* ppd = parsePPD(notesLayout() + "*%QRVGroupName TPPlain/Plain: True\n"
                                           "*%QRVFlags *N: Setup\n"
                                           "*%QRVGroup *N TPPlain/Plain\n"
                                           "*%QRVJobNote *N/N: 8\n");
    EXPECT_EQ(errorCodes(ppd), Codes{});
    EXPECT_EQ(parentOf(note(ppd, "*N")), "TPQVNotes");
    ppd->Release();
}

TEST(JobNoteParse, DeclarationErrors) {
    QRVPPD* ppd = parsePPD(notesLayout() + "*%QRVJobNote \n" + // 6: no keyword
                           noteBlock("*QVAccount", "*%QRVJobNote *Other/Other: 16") + // 6
                           "*%QRVJobNote *Bold/Bold: 8|Bold|Alpha\n" +  // unknown word: ignored
                           "*%QRVJobNote *Secret/Secret: 8|Encrypt\n"); // 32 at level 0
    EXPECT_EQ(errorCodes(ppd), (Codes{6, 6, 32}));
    EXPECT_EQ(ppd->GetErrors()->First()->Keyword(), nullptr);
    EXPECT_STREQ(ppd->GetErrors()->Next()->Keyword(), "*Other");
    EXPECT_STREQ(findError(ppd, 32)->Keyword(), "*Secret");
    EXPECT_FALSE(findError(ppd, 32)->IsFatal());
    EXPECT_EQ(note(ppd, "*QVAccount"), nullptr);
    EXPECT_EQ(note(ppd, "*Other"), nullptr);
    EXPECT_EQ(note(ppd, "*Secret"), nullptr);
    ASSERT_NE(note(ppd, "*Bold"), nullptr);
    EXPECT_EQ(note(ppd, "*Bold")->Flags(), kJobNoteAlpha);
    ppd->Release();
}

TEST(JobNoteParse, ExtensionLevelsBoundTheFlagWords) {
    // The last word each level accepts, and the first one it refuses.
    const struct {
        _EXTENSIONS_SUPPORT_ level;
        const char* accepted;
        const char* refused;
    } cases[] = {{0, "Member", "OnOfSwitch"},
                 {1, "SecPrint", "Command"},
                 {2, "Negative", "Encrypt"},
                 {3, "MinLength", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        ExtensionLevel level(c.level);
        std::string body = notesLayout() + "*%QRVJobNote *A/A: 8|" + c.accepted + "\n";
        if (c.refused)
            body += std::string("*%QRVJobNote *R/R: 8|") + c.refused + "\n";
        QRVPPD* ppd = parsePPD(body);
        EXPECT_EQ(errorCodes(ppd), c.refused ? Codes{32} : Codes{});
        ASSERT_NE(note(ppd, "*A"), nullptr);
        EXPECT_EQ(note(ppd, "*A")->Flags(), JobNoteFlag(1)
                                                << PPDXJobNote::FlagWordIndex(c.accepted));
        ppd->Release();
    }
    ExtensionLevel top(3);
    QRVPPD* ppd = parsePPD(notesLayout() + "*%QRVJobNote *S/S: 8|Encrypt|NoComma\n");
    EXPECT_EQ(note(ppd, "*S")->Flags(), kJobNoteEncrypt | kJobNoteNoComma);
    EXPECT_TRUE(note(ppd, "*S")->IsEncrypt());
    EXPECT_TRUE(note(ppd, "*S")->IsNoComma());
    ppd->Release();
}

TEST(JobNote, CommentLineWhenThePPDGivesNoCode) {
    const struct {
        const char* keyword;
        JobNoteFlag flags;
        const char* line;
    } cases[] = {
        {"*Notes2", 0, "%%QRVCustom2: Room 5\n"},
        {"*Notes2", kJobNoteResume | kJobNoteMember, "%%PersPassword: Room 5\n"},
        {"*Notes1", kJobNoteMember, "%%DeptPassword: Room 5\n"},
        {"*Notes1", 0, "%%QRVCustom1: Room 5\n"},
        {"*Instruc", 0, "%%QRVCustom3: Room 5\n"},
        {"*Other", 0, "%%EmptyOption\n\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        PPDXJobNote* n = makeNote(c.keyword, c.flags);
        EXPECT_EQ(WrittenPostScript(*n), "");
        n->SetNotes("Room 5");
        EXPECT_EQ(WrittenPostScript(*n), std::string("%%BeginFeature: ") + c.keyword + " Room 5\n" +
                                             c.line + "%%EndFeature\n");
        delete n;
    }
    PPDXJobNote* unnamed = makeNote(nullptr, 0, nullptr, "text");
    EXPECT_EQ(unnamed->PostScript(nullptr), 0);
    delete unnamed;
}

TEST(JobNote, TextChangesRebuildTheOutputAndOnly511BytesReachTheCode) {
    PPDXJobNote* n = makeNote("*Notes1", 0, "[<*notes1>]\n");
    n->SetNotes("a\\b");
    EXPECT_EQ(WrittenPostScript(*n), "%%BeginFeature: *Notes1 a\\b\n[a\\\\b]\n%%EndFeature\n");
    n->SetNotes("second");
    EXPECT_EQ(WrittenPostScript(*n), "%%BeginFeature: *Notes1 second\n[second]\n%%EndFeature\n");
    std::string longText(600, 'x');
    n->SetNotes(longText.c_str());
    EXPECT_EQ(WrittenPostScript(*n), "%%BeginFeature: *Notes1 " + longText + "\n[" +
                                         longText.substr(0, 511) + "]\n%%EndFeature\n");
    delete n;

    PPDXJobNote* plain = makeNote("*Notes2", 0);
    plain->SetNotes(longText.c_str());
    EXPECT_EQ(WrittenPostScript(*plain), "%%BeginFeature: *Notes2 " + longText +
                                             "\n%%QRVCustom2: " + longText.substr(0, 511) +
                                             "\n%%EndFeature\n");
    EXPECT_EQ(plain->BuildPDLString("B"), 16); // "%%QRVCustom2: B\n"
    delete plain;
}

TEST(JobNote, TextsDefaultsAndValueStrings) {
    PPDXJobNote* n = makeNote("*Notes1", 0, nullptr, "Draft");
    EXPECT_STREQ(n->GetNotes(), "Draft");
    n->SetNotes("x");
    EXPECT_STREQ(n->GetDefaultNotes(), "Draft");
    n->ResetToDefaultValue();
    EXPECT_STREQ(n->GetNotes(), "Draft");
    EXPECT_EQ(Take(n->GetCurrentControlValueString()), "Draft");
    n->SetCurrentControlWithCFString(CFSTR("Room 5"));
    EXPECT_STREQ(n->GetNotes(), "Room 5");
    n->SetCurrentControlWithCFString(nullptr);
    EXPECT_EQ(n->GetNotes(), nullptr);
    EXPECT_EQ(Take(n->GetCurrentControlValueString()), "");
    delete n;

    PPDXJobNote* none = makeNote("*Notes2", 0);
    none->SetCurrentControlWithCFString(CFSTR("new"));
    EXPECT_STREQ(none->GetNotes(), "new");
    none->ResetToDefaultValue();
    EXPECT_EQ(none->GetNotes(), nullptr);
    delete none;
}

TEST(JobNote, FlagsAndDisplay) {
    PPDXJobNote* command = makeNote("*N", kJobNoteCommand | kJobNoteRequired | kJobNoteLCD);
    EXPECT_TRUE(command->IsAnyText());
    EXPECT_TRUE(command->IsRequired());
    EXPECT_TRUE(command->IsLCD());
    EXPECT_FALSE(command->IsPassword());
    delete command;
    PPDXJobNote* spaces = makeNote("*N", kJobNoteMultiSpace);
    EXPECT_FALSE(spaces->IsAnyText());
    delete spaces;

    // An orphan is shown whenever it is visible; a hidden note only under options 2 and 3.
    PPDXJobNote* visible = makeNote("*V", 0);
    PPDXJobNote* hidden = makeNote("*H", 0, nullptr, nullptr, false);
    for (_DISPLAY_OPTIONS_ options : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(options);
        EXPECT_TRUE(visible->OkayToDisplay(options));
        EXPECT_EQ(hidden->OkayToDisplay(options), options >= 2);
    }
    delete visible;
    delete hidden;
}
