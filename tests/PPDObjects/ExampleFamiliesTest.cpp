// The example PPDs read their job notes, special options, shortcuts and constraint lines
// without a single error, with the counts and values their README gives.
#include "ControlTestSupport.h"
#include "ParseTestSupport.h"

#include "ConstraintForest.h"
#include "PPDXJobNote.h"
#include "PPDXPopupControl.h"
#include "PPDXShortcuts.h"
#include "PPDXSpecialOption.h"
#include "SharedConstraintRec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Expected {
    const char* file;
    uint32_t jobNotes, specialOptions;
    std::vector<std::string> shortcuts;
    unsigned long constraints, requires;
    const char* notes1Default;
};

const std::vector<std::string> kC5000Shortcuts = {
    "*PageSize", "*InputSlot", "*MediaType", "*QVDuplex", "*QV_PAPER_ORIENTATION", "*QVColorMode"};

const Expected kExamples[] = {
    {"Tarvo-C5000.ppd", 5, 3, kC5000Shortcuts, 16, 5, "Draft"},
    {"Tarvo-C5000-de.ppd", 5, 3, kC5000Shortcuts, 16, 5, "Entwurf"},
    {"Tarvo-C5000-pl.ppd", 5, 3, kC5000Shortcuts, 16, 5, "Szkic"},
    {"Tarvo-C5000-ja.ppd", 5, 3, kC5000Shortcuts, 16, 5, "Draft"},
    {"Tarvo-M200.ppd", 1, 1, {"*PageSize", "*InputSlot", "*QVDuplex"}, 5, 1, nullptr},
    {"Tarvo-M210.ppd", 1, 2, {"*PageSize", "*InputSlot", "*QVDuplex"}, 5, 1, nullptr},
};

std::vector<std::string> shortcutKeywords(PPDXShortcuts* shortcuts) {
    std::vector<std::string> keywords;
    for (PPDXPopupControl* p = shortcuts->First(); p; p = shortcuts->Next())
        keywords.push_back(p->Keyword());
    return keywords;
}

std::string groupOf(PPDXControl* control) {
    return control && control->GetParent() && control->GetParent()->Keyword()
               ? control->GetParent()->Keyword()
               : "(none)";
}

} // namespace

TEST(examples, EveryFileReadsItsExtensionFamiliesWithoutErrors) {
    for (const Expected& e : kExamples) {
        SCOPED_TRACE(e.file);
        QRVPPD* ppd = openExample(e.file);
        EXPECT_EQ(errorCodes(ppd), std::vector<int>{});
        EXPECT_TRUE(ppd->IsValidPPD());
        EXPECT_EQ(ppd->GetControls()->JobNoteCount(), e.jobNotes);
        EXPECT_EQ(ppd->GetControls()->SpecialOptionsCount(), e.specialOptions);
        ASSERT_NE(ppd->GetShortcuts(), nullptr);
        EXPECT_EQ(ppd->GetShortcuts()->Count(), e.shortcuts.size());
        EXPECT_EQ(shortcutKeywords(ppd->GetShortcuts()), e.shortcuts);
        EXPECT_EQ(ppd->GetConstraints()->Count(), e.constraints);
        EXPECT_EQ(ppd->GetRequires()->Count(), e.requires);
        EXPECT_EQ(gProcessedConstraints, e.constraints);
        EXPECT_EQ(gProcessedRequires, e.requires);
        if (e.notes1Default) {
            PPDXJobNote* notes1 = ppd->GetControls()->FindJobNote("*Notes1", true);
            ASSERT_NE(notes1, nullptr);
            EXPECT_STREQ(notes1->GetDefaultNotes(), e.notes1Default);
            EXPECT_STREQ(notes1->GetNotes(), e.notes1Default);
        }
        ppd->Release();
    }
}

TEST(examples, C5000JobNotesAndSpecialOptions) {
    QRVPPD* ppd = openExample("Tarvo-C5000.ppd");
    PPDXControls* controls = ppd->GetControls();
    std::vector<std::string> notes;
    for (PPDXJobNote* n = controls->FirstJobNote(); n; n = controls->NextJobNote())
        notes.push_back(std::string(n->Keyword()) + "@" + groupOf(n));
    EXPECT_EQ(notes, (std::vector<std::string>{"*QVAccount@TPJob", "*QVPassword@TPJob",
                                               "*Notes1@TPQVNotes", "*Notes2@TPQVNotes",
                                               "*Instruc@TPQVNotes"}));

    PPDXJobNote* account = controls->FindJobNote("*QVAccount", true);
    EXPECT_EQ(account->MaxLength(), 16);
    EXPECT_EQ(account->MinLength(), 4);
    EXPECT_EQ(account->Flags(), kJobNoteNumeric | kJobNoteMember | kJobNoteRequired);
    EXPECT_TRUE(account->IsMacTJN());
    account->SetNotes("1234");
    EXPECT_EQ(WrittenPostScript(*account),
              "%%BeginFeature: *QVAccount 1234\n%%DeptPassword: 1234\n%%EndFeature\n");
    PPDXJobNote* password = controls->FindJobNote("*QVPassword", true);
    EXPECT_EQ(password->MinLength(), 4);
    EXPECT_TRUE(password->Resume());
    PPDXJobNote* notes2 = controls->FindJobNote("*Notes2", true);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(notes2->PSData()),
                          static_cast<size_t>(notes2->PSLength())),
              "userdict /XJXsetjobnote known { (Notes2) (<*Notes2>) XJXsetjobnote } if\n");
    notes2->SetNotes("Room 5");
    EXPECT_EQ(WrittenPostScript(*notes2),
              "%%BeginFeature: *Notes2 Room 5\nuserdict /XJXsetjobnote known "
              "{ (Notes2) (Room 5) XJXsetjobnote } if\n%%EndFeature\n");
    PPDXJobNote* instruc = controls->FindJobNote("*Instruc", true);
    EXPECT_EQ(instruc->MaxLength(), 127);
    instruc->SetNotes("Use blue paper");
    EXPECT_EQ(WrittenPostScript(*instruc),
              "%%BeginFeature: *Instruc Use blue paper\n"
              "%%QRVCustom3: Use blue paper\n%%EndFeature\n");

    std::vector<std::string> specials;
    for (PPDXSpecialOption* s = controls->FirstSpecialOption(); s;
         s = controls->NextSpecialOption()) {
        specials.push_back(std::string(s->Keyword()) + "=" +
                           static_cast<const char*>(*s->GetValue()));
        EXPECT_FALSE(s->IsVisible());
        EXPECT_TRUE(s->IsOrphan());
    }
    EXPECT_EQ(specials, (std::vector<std::string>{"*DeviceLink=True", "*QVHideClrCstm=False",
                                                  "*QVColorServer=Tovrane CS-50"}));
    ppd->Release();
}

TEST(examples, C5000ConstraintQueries) {
    QRVPPD* ppd = openExample("Tarvo-C5000.ppd");
    PPDXPopupControl* colorMode = ppd->GetControls()->FindPopup("*QVColorMode", true);
    ASSERT_NE(colorMode, nullptr);
    SharedConstraintRec* records = nullptr;
    // Grayscale (item 2) constrains the separations and trapping check boxes being on.
    ASSERT_EQ(ppd->GetConstraintList(colorMode, 2, &records), 4);
    PPDXControl* separations = control(ppd, "*QVSeparations");
    PPDXControl* trapping = control(ppd, "*QVTrapping");
    PPDXControl* controls[4] = {separations, trapping, separations, trapping};
    for (int i = 0; i < 4; ++i) {
        SharedConstraintRec r = records[i];
        EXPECT_EQ(r.control, controls[i]) << i;
        EXPECT_EQ(r.item, 1) << i;
    }
    QRVPPD::ReleaseConstraintList(records);
    EXPECT_EQ(records, nullptr);

    // The proofing profile needs the expert print mode.
    PPDXControl* proof = control(ppd, "*QVProofProfile");
    ASSERT_EQ(ppd->GetRequiresList(proof, &records), 1);
    SharedConstraintRec r = records[0];
    EXPECT_EQ(r.control, colorMode);
    EXPECT_EQ(r.item, 3); // Expert
    QRVPPD::ReleaseRequiresList(records);
    ppd->Release();
}
