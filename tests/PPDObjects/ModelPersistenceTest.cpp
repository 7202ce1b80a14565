// The whole model in a Settings archive: what QRVPPD::Save writes, the model rebuilt from the
// flattened archive (links, counts, refusals, damage), values put back into a parsed model, and
// every example PPD through the round trip, in this machine's byte order and in the other.
#include "PersistenceTestSupport.h"

#include <CarbonCore/Collections.h>

#include <gtest/gtest.h>

#include <dirent.h>
#include <string>
#include <vector>

namespace {

using Keys_ = std::vector<std::string>;

/// A page, pane and roll-down; a hidden group never placed (a plain orphan group); a popup with
/// a shortcut; a hidden special option and a stand-alone job note without group (orphans).
std::string smallBody() {
    return ppdLayout() +
           "*%QRVGroupName TPHidden/Hidden Group\n"
           "*%QVShortcut *QVColorMode\n"
           "*%QRVSpecialOption *QVColorServer: Tovrane CS-50\n" +
           popupBlock() +
           "*%QRVJobNote *Notes1/Notes: 32|Alpha\n"
           "*%Default: Draft\n";
}

/// `ppd` saved into a new archive and flattened.
std::vector<UInt8> Saved(QRVPPD* ppd) {
    Settings settings;
    EXPECT_TRUE(ppd->Save(settings));
    return Flatten(settings);
}

/// `bytes` unflattened, changed by `change`, flattened again.
template <class Change> std::vector<UInt8> Edited(const std::vector<UInt8>& bytes, Change change) {
    Handle block = formbuilder::NewHandleWith(bytes);
    Settings settings(block);
    DisposeHandle(block);
    change(settings);
    return Flatten(settings);
}

std::vector<std::string> ExamplePPDs() {
    std::vector<std::string> paths;
    std::string dir = PIGMENTOR_SOURCE_DIR "/examples";
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name.size() > 4 && name.substr(name.size() - 4) == ".ppd")
                paths.push_back(dir + "/" + name);
        }
        closedir(d);
    }
    return paths;
}

/// Moves every kind of value away from where the PPD left it.
void ChangeValues(QRVPPD* ppd) {
    ScopedDisplayOptions all(kShowAll);
    CNTL_TYPE type;
    PPDXControls* controls = ppd->GetControls();
    for (PPDXControl* c = controls->First(type); c; c = controls->Next(type)) {
        if (auto* p = dynamic_cast<PPDXPopupControl*>(c))
            p->SetValue(static_cast<long>(p->ItemCount()));
        else if (auto* b = dynamic_cast<PPDXBooleanControl*>(c))
            b->SetValue(!b->IsTrue());
        else if (auto* r = dynamic_cast<PPDXRangeControl*>(c))
            r->SetValue(r->MaxVal());
        else if (auto* n = dynamic_cast<PPDXJobNote*>(c))
            n->SetNotes("Room 5");
    }
}

/// A parse of the small PPD whose file stays on disk while the object lives.
struct KeptPPD {
    KeptPPD() : file(ppdHeader() + smallBody()) {
        CFURLRef url = file.CreateURL();
        ppd = new QRVPPD(url, kShowAll, nullptr);
        CFRelease(url);
    }
    ~KeptPPD() { ppd->Release(); }
    TempFile file;
    QRVPPD* ppd;
};

} // namespace

TEST(PersistModel, HeaderFirstThenEachContainerWithItsCount) {
    QRVPPD* ppd = parsePPD(smallBody());
    ASSERT_EQ(errorCodes(ppd), std::vector<int>{});
    Settings s;
    ASSERT_TRUE(ppd->Save(s));
    Keys_ keys = Keys(s);
    ASSERT_GE(keys.size(), 8u);
    EXPECT_EQ(Keys_(keys.begin(), keys.begin() + 8),
              (Keys_{"1000/1001", "1000/1002", "1000/1003", "1000/1005", "1000/1006", "1000/1007",
                     "1000/1008", "3000/3002"}));
    EXPECT_EQ(Number(s, 1000, 1001), 1024);
    EXPECT_EQ(Bytes(s, 1000, 1002).size(), 70u);
    EXPECT_EQ(Bytes(s, 1000, 1005), "TEST.PPD");
    EXPECT_EQ(Number(s, 3000, 3002), 1);
    EXPECT_EQ(Number(s, 4000, 4002), 3);
    EXPECT_EQ(Number(s, 5000, 5002), 3);
    EXPECT_EQ(Number(s, 'StCt', 6000), 1);
    EXPECT_EQ(Bytes(s, 'StCt', 6001), "*QVColorMode");
    EXPECT_EQ(Bytes(s, 'KyWd', 4003), "TPHidden");
    EXPECT_EQ(Bytes(s, 'KyWd', 5001), "*QVColorServer");
    EXPECT_EQ(Bytes(s, 'PopC', 5002).size(), 1u);
    EXPECT_EQ(Bytes(s, 'JbNt', 5003).size(), 1u);
    ppd->Release();
}

TEST(PersistModel, HiddenAndOrphanElementsAreKeptWhateverTheDisplayOptions) {
    QRVPPD* ppd = parsePPD(smallBody());
    ScopedDisplayOptions none(0);
    std::vector<UInt8> bytes = Saved(ppd);
    EXPECT_EQ(PPDXDisplay::Get(), 0u);
    QRVPPD* rebuilt = Rebuild(bytes);
    EXPECT_EQ(PPDXDisplay::Get(), 0u);
    EXPECT_TRUE(rebuilt->IsValidPPD());
    EXPECT_EQ(ModelText(*rebuilt), ModelText(*ppd));
    ppd->Release();
    rebuilt->Release();
}

TEST(PersistModel, RebuiltModelIsLinkedAndCountedAsTheParsedOne) {
    KeptPPD kept;
    QRVPPD* ppd = kept.ppd;
    QRVPPD* rebuilt = Rebuild(Saved(ppd));
    EXPECT_TRUE(*rebuilt == *ppd); // same file, same PC file name

    PPDXProperty* page = rebuilt->GetProperties()->Find("PPColor", true);
    ASSERT_NE(page, nullptr);
    ASSERT_NE(page->GetScrollDown(), nullptr);
    EXPECT_STREQ(page->GetScrollDown()->Keyword(), "TPSColor");
    EXPECT_EQ(page->GetScrollDown()->GetParent(), page);
    auto* rollDown =
        dynamic_cast<PPDXRollDown*>(page->GetScrollDown()->RollDowns()->Find("TPColor", true));
    ASSERT_NE(rollDown, nullptr);
    PPDXPopupControl* mode = rollDown->Controls()->FindPopup("*QVColorMode", true);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->GetParent(), rollDown);

    for (_DISPLAY_OPTIONS_ options : {0u, 1u, 2u, 3u}) {
        ScopedDisplayOptions shown(options);
        EXPECT_EQ(rebuilt->GetGroups()->Count(), ppd->GetGroups()->Count()) << options;
        EXPECT_EQ(rebuilt->GetControls()->PopupCount(), ppd->GetControls()->PopupCount());
        EXPECT_EQ(rebuilt->GetControls()->JobNoteCount(), ppd->GetControls()->JobNoteCount());
        EXPECT_EQ(rebuilt->GetControls()->SpecialOptionsCount(),
                  ppd->GetControls()->SpecialOptionsCount());
    }
    // Nothing of the constraint maps is archived.
    EXPECT_EQ(rebuilt->GetConstraints(), nullptr);
    rebuilt->Release();
}

TEST(PersistModel, ShortcutToAControlNotInTheArchiveIsANullEntry) {
    QRVPPD* ppd = parsePPD(smallBody());
    QRVPPD* rebuilt = Rebuild(Edited(Saved(ppd), [](Settings& s) {
        PutInt(s, 'StCt', 6000, 2);
        PutText(s, 'StCt', 6002, "*Missing");
    }));
    const PointerList& entries = rebuilt->GetShortcuts()->Controls();
    ASSERT_EQ(entries.Size(), 2u);
    ConstPointerListItr it = entries.Begin();
    EXPECT_STREQ(static_cast<const PPDXControl*>(*it)->Keyword(), "*QVColorMode");
    EXPECT_EQ(*++it, nullptr);
    ppd->Release();
    rebuilt->Release();
}

TEST(PersistModel, WithoutArchiveVersionOrArchiveThereIsNoModel) {
    QRVPPD* ppd = parsePPD(smallBody());
    for (const std::vector<UInt8>& bytes :
         {Edited(Saved(ppd), [](Settings& s) { s.Remove(1000, 1001); }),
          std::vector<UInt8>{'n', 'o', 't', ' ', 'a', 'n', ' ', 'a', 'r', 'c', 'h', 'i', 'v', 'e'},
          std::vector<UInt8>{}}) {
        QRVPPD* rebuilt = Rebuild(bytes);
        EXPECT_FALSE(rebuilt->IsValidPPD());
        EXPECT_EQ(rebuilt->GetControls(), nullptr);
        EXPECT_EQ(rebuilt->GetGroups(), nullptr);
        EXPECT_EQ(rebuilt->GetProperties(), nullptr);
        EXPECT_EQ(rebuilt->PCFileName(), nullptr);
        rebuilt->Release();
    }
    ppd->Release();
}

TEST(PersistModel, UnacceptedNameKeepsOnlyTheFileAndItsName) {
    KeptPPD kept;
    std::vector<UInt8> bytes = Saved(kept.ppd);
    CFArrayRef other = CreateNames({"OTHER.PPD"});
    QRVPPD* refused = Rebuild(bytes, other);
    EXPECT_FALSE(refused->IsValidPrinterName());
    EXPECT_FALSE(refused->IsValidPPD());
    EXPECT_STREQ(refused->PCFileName(), "TEST.PPD");
    EXPECT_EQ(refused->ModelName(), nullptr);
    EXPECT_NE(refused->GetFile(), nullptr);
    EXPECT_EQ(refused->GetControls(), nullptr);
    refused->Release();
    CFRelease(other);

    CFArrayRef names = CreateNames({"OTHER.PPD", "TEST.PPD"});
    QRVPPD* accepted = Rebuild(bytes, names);
    EXPECT_TRUE(accepted->IsValidPPD());
    EXPECT_STREQ(accepted->ModelName(), "Test");
    EXPECT_NE(accepted->GetTextConverter(), nullptr);
    accepted->Release();
    CFRelease(names);
}

TEST(PersistModel, DamagedObjectsAreSkippedAndTheRestIsRead) {
    QRVPPD* ppd = parsePPD(smallBody());
    QRVPPD* rebuilt = Rebuild(Edited(Saved(ppd), [](Settings& s) {
        s.Remove('PopC', 5002);         // the popup has no marker left
        PutInt(s, 5000, 5002, 1000000); // far more controls than saved
        PutInt(s, 4000, 4002, -5);      // a negative count reads as none
        short two = 0;
        s.Add('isVs', 5001, &two, 2);  // a visibility of the wrong size
        PutText(s, 'RngC', 5004, "?"); // a marker with nothing else under it
    }));
    std::string text = ModelText(*rebuilt);
    EXPECT_EQ(text.find("control 4 "), std::string::npos);
    EXPECT_NE(text.find("control 5 '*QVColorServer' *QVColorServer visible 1"), std::string::npos);
    EXPECT_NE(text.find("control 1 '*Notes1' Notes visible 1"), std::string::npos);
    EXPECT_NE(text.find("control 2 - - visible 1"), std::string::npos);
    EXPECT_EQ(text.find("rolldown"), std::string::npos);
    EXPECT_NE(text.find("shortcuts null"), std::string::npos);
    ppd->Release();
    rebuilt->Release();
}

TEST(PersistModel, FileTheArchiveNamesFallsBackToTheGivenPPD) {
    QRVPPD* ppd = parsePPD(smallBody());
    std::vector<UInt8> bytes = Edited(Saved(ppd), [](Settings& s) {
        unsigned char savedSpec[70] = {0, 0, 0x7F, 0x7F, 0x7F, 0x7F, 200}; // a name length past 63
        std::memset(savedSpec + 7, 'x', sizeof savedSpec - 7);
        s.Add(1000, 1002, savedSpec, sizeof savedSpec);
    });
    QRVPPD* orphan = Rebuild(bytes);
    EXPECT_EQ(orphan->GetFile(), nullptr);
    EXPECT_TRUE(orphan->IsValidPPD());
    orphan->Release();

    TempFile other(ppdHeader() + smallBody(), "other.ppd");
    CFURLRef url = other.CreateURL();
    QRVPPD* named = Rebuild(bytes, nullptr, url);
    CFRelease(url);
    char name[64] = "";
    ASSERT_NE(named->GetFile(), nullptr);
    named->GetFile()->getFileName(name);
    EXPECT_STREQ(name, "other.ppd");
    named->Release();
    ppd->Release();
}

TEST(PersistModel, RestorePutsTheSavedValuesIntoAParsedModel) {
    QRVPPD* ppd = parsePPD(smallBody());
    auto* mode = dynamic_cast<PPDXPopupControl*>(control(ppd, "*QVColorMode"));
    auto* note = dynamic_cast<PPDXJobNote*>(control(ppd, "*Notes1"));
    mode->SetKeywordSelect("Grayscale", true);
    note->SetNotes("Room 5");
    Settings s;
    ASSERT_TRUE(ppd->Save(s));

    QRVPPD* fresh = parsePPD(smallBody());
    {
        ScopedDisplayOptions orphans(kShowOrphans);
        EXPECT_TRUE(fresh->Restore(s));
        EXPECT_EQ(PPDXDisplay::Get(), kShowOrphans);
    }
    auto* freshMode = dynamic_cast<PPDXPopupControl*>(control(fresh, "*QVColorMode"));
    EXPECT_STREQ(freshMode->CurrentItem()->Keyword(), "Grayscale");
    EXPECT_STREQ(dynamic_cast<PPDXJobNote*>(control(fresh, "*Notes1"))->GetNotes(), "Room 5");

    // The walk stops at the popup: the note after it keeps its text.
    s.Remove('PCIS', 500201);
    QRVPPD* cut = parsePPD(smallBody());
    EXPECT_FALSE(cut->Restore(s));
    EXPECT_STREQ(dynamic_cast<PPDXJobNote*>(control(cut, "*Notes1"))->GetNotes(), "Draft");
    ppd->Release();
    fresh->Release();
    cut->Release();
}

// A long page-size list, and more pages and groups than their first id ranges hold, must not
// make the model unsaveable; every item comes back, and the popup after the long one keeps its
// own items (no two share a key).
TEST(PersistModel, LongPopupsAndManyPagesAndGroupsRoundTrip) {
    std::string body = ppdLayout();
    for (int n = 0; n < 1005; ++n)
        body += "*%QRVGroupName G" + std::to_string(n) + "/G: True\n";
    for (int n = 0; n < 1003; ++n)
        body += "*%QRVPropPage P" + std::to_string(n) + "/P: True\n";
    body += "*%QRVFlags *PageSize: Setup\n*%QRVGroup *PageSize: TPColor/Color\n"
            "*OpenUI *PageSize/Size: PickOne\n*DefaultPageSize: S0\n";
    for (int k = 0; k < 250; ++k)
        body += "*PageSize S" + std::to_string(k) + "/Size " + std::to_string(k) + ": \"" +
                std::to_string(k) + " size\"\n";
    body += "*CloseUI: *PageSize\n" + popupBlock();
    QRVPPD* ppd = parsePPD(body);
    auto* sizes = dynamic_cast<PPDXPopupControl*>(control(ppd, "*PageSize"));
    ASSERT_NE(sizes, nullptr);
    ASSERT_EQ(sizes->ItemCount(), 250u);
    sizes->SetKeywordSelect("S201", true);
    Settings settings;
    ASSERT_TRUE(ppd->Save(settings));

    QRVPPD* rebuilt = Rebuild(Flatten(settings));
    EXPECT_EQ(ModelText(*rebuilt), ModelText(*ppd));
    auto* back = dynamic_cast<PPDXPopupControl*>(control(rebuilt, "*PageSize"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->ItemCount(), 250u);
    EXPECT_STREQ(back->CurrentItem()->Keyword(), "S201");
    {
        ScopedDisplayOptions all(kShowAll);
        EXPECT_EQ(rebuilt->GetGroups()->Count(), ppd->GetGroups()->Count());
        EXPECT_EQ(rebuilt->GetProperties()->Count(), ppd->GetProperties()->Count());
    }
    auto* mode = dynamic_cast<PPDXPopupControl*>(control(rebuilt, "*QVColorMode"));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->ItemCount(), 2u);

    QRVPPD* fresh = parsePPD(body);
    EXPECT_TRUE(fresh->Restore(settings));
    EXPECT_STREQ(dynamic_cast<PPDXPopupControl*>(control(fresh, "*PageSize"))->CurrentItem()->Keyword(),
                 "S201");
    ppd->Release();
    rebuilt->Release();
    fresh->Release();
}

TEST(PersistExamples, EveryExampleRoundTripsWithItsValuesChanged) {
    std::vector<std::string> paths = ExamplePPDs();
    ASSERT_EQ(paths.size(), 6u);
    for (const std::string& path : paths) {
        QRVPPD* ppd = parseFile(path);
        std::string asParsed = ModelText(*ppd);
        ChangeValues(ppd);
        std::string changed = ModelText(*ppd);
        EXPECT_NE(changed, asParsed) << path;
        QRVPPD* rebuilt = Rebuild(Saved(ppd));
        EXPECT_TRUE(rebuilt->IsValidPPD()) << path;
        EXPECT_EQ(ModelText(*rebuilt), changed) << path;

        // The same archive puts the changed values into a model parsed afresh.
        Settings settings;
        ASSERT_TRUE(ppd->Save(settings));
        QRVPPD* fresh = parseFile(path);
        EXPECT_TRUE(fresh->Restore(settings)) << path;
        EXPECT_EQ(ModelText(*fresh), changed) << path;
        fresh->Release();
        rebuilt->Release();
        ppd->Release();
    }
}

TEST(PersistExamples, ArchiveOfTheOtherByteOrderRebuildsTheSameModel) {
    if (!formbuilder::kHostIsLittleEndian)
        GTEST_SKIP() << "the other byte order is built for little-endian hosts";
    QRVPPD* ppd = parseFile(PIGMENTOR_SOURCE_DIR "/examples/Tarvo-C5000-ja.ppd");
    ChangeValues(ppd);
    Settings settings;
    ASSERT_TRUE(ppd->Save(settings));
    std::vector<UInt8> bigEndian = OtherByteOrder(settings);
    ASSERT_NE(bigEndian, Flatten(settings));
    QRVPPD* rebuilt = Rebuild(bigEndian);
    EXPECT_EQ(ModelText(*rebuilt), ModelText(*ppd));
    rebuilt->Release();
    ppd->Release();
}
