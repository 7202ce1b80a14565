// The alert, progress and two-way dialogs over the built bundle, driven by simulated input on
// the headless toolbox (its text metrics are exact: 8 pixels a character at size 13, 7 at 11).
#include "DialogTestSupport.h"
#include "PigmentorErrors.h"
#include "UI_ProgressDialog.h"
#include "UI_QRVAlert.h"
#include "UI_TwoWayCommDialog.h"

#include <CarbonCore/SysBeep.h>

#include <gtest/gtest.h>


namespace {

/// The lines `c`'s text takes when wrapped to its width, in its font size.
int WrappedHeight(ControlRef c, CFStringRef text) {
    ControlFontStyleRec style{};
    GetControlData(c, 0, kControlFontStyleTag, sizeof style, &style, nullptr);
    const bool small = (style.flags & kControlUseSizeMask) && style.size == 11;
    Point size{0, static_cast<SInt16>(Bounds(c).right - Bounds(c).left)};
    GetThemeTextDimensions(text, small ? kThemeSmallSystemFont : kThemeSystemFont, kThemeStateActive,
                           true, &size, nullptr);
    return size.v;
}

} // namespace

// Without a bundle, without the NIB or without a first text there is no alert: 'canc' at once,
// nothing shown, nothing waited for.
TEST(Alert, AnswersCancWhenItCannotBeBuilt) {
    TestWindow parent;
    EXPECT_EQ(UI_QRVAlert::TellUser("Message", 0, nullptr), 'canc');
    {
        BundleScope bundle;
        EXPECT_EQ(UI_QRVAlert::TellUser(static_cast<const char*>(nullptr), 0, parent.w), 'canc');
    }
    Scratch scratch;
    BundleScope bundle("en", BundleWithout(scratch, "AlertUI.nib"));
    EXPECT_EQ(UI_QRVAlert::TellUser("Message", "More", 0, parent.w), 'canc');
    EXPECT_EQ(FrontWindow(), nullptr);
}

// With a parent the alert is a sheet over it ("... Sheet"), without one a dialog; OK and
// Cancel answer 'ok  ' and 'not!'; flag bit 0 hides Cancel, 0x200 makes the second text small;
// given titles replace the standard ones.
TEST(Alert, ShowsSheetOrDialogAndAnswersTheButtonPressed) {
    BundleScope bundle("de");
    TestWindow parent;
    FrontWindowPerson person;
    person.press(kHICommandOK);
    EXPECT_EQ(UI_QRVAlert::TellUser("Erste", "Zweite", 0x201, parent.w), kHICommandOK);
    person.press(kHICommandCancel);
    EXPECT_EQ(UI_QRVAlert::TellUser("Nur eine", 0, nullptr, nullptr, "Verwerfen"), kHICommandCancel);
    ASSERT_EQ(person.seen.size(), 2u);
    const SeenWindow& sheet = person.seen[0];
    EXPECT_EQ(sheet.windowClass, kSheetWindowClass);
    EXPECT_EQ(sheet.sheetParent, parent.w);
    EXPECT_EQ(sheet.alertText, "Erste");
    EXPECT_EQ(sheet.secondText, "Zweite");
    EXPECT_EQ(sheet.secondTextSize, 11);
    EXPECT_FALSE(sheet.cancelVisible);
    const SeenWindow& dialog = person.seen[1];
    EXPECT_EQ(dialog.windowClass, kMovableModalWindowClass);
    EXPECT_EQ(dialog.alertText, "Nur eine");
    EXPECT_TRUE(dialog.cancelVisible);
    EXPECT_EQ(FrontWindow(), nullptr) << "an alert stayed on screen";

    // The given title on Cancel, the standard German one on OK; the keys answer as the buttons.
    UI_QRVAlert alert("Nur eine", nullptr, 0, nullptr, nullptr, "Verwerfen");
    ASSERT_TRUE(alert.isInitialized());
    EXPECT_EQ(TitleOf(alert.findControl('ok  ', 0)), "OK");
    EXPECT_EQ(TitleOf(alert.findControl('canc', 0)), "Verwerfen");
    alert.show();
    HISimulateKey(alert.getWindow(), 0x1B);
    alert.waitForUser();
    EXPECT_EQ(alert.getResult(), kHICommandCancel);
}

// Each text keeps its width and takes the lines it needs; the second text and the buttons stay
// 8 and 20 pixels below, and the window ends 20 below the buttons: a long German message in
// three lines, a short one in one.
TEST(Alert, FitsItsHeightToTheWrappedTexts) {
    BundleScope bundle("de");
    Owned<CFStringRef> longText(PMCFStringCreateWithUTF8(Localized("kPigmentorBidiPPDErr", "PigmentorErr")));
    Owned<CFStringRef> shortText(PMCFStringCreateWithUTF8("Kurz."));
    for (CFStringRef first : {longText.get(), shortText.get()}) {
        UI_QRVAlert alert(first, shortText, kQRVAlertSmallSecondText, nullptr);
        ASSERT_TRUE(alert.isInitialized());
        ControlRef text1 = alert.findControl('alrt', 1), text2 = alert.findControl('alrt', 2);
        const Rect r1 = Bounds(text1), r2 = Bounds(text2), ok = Bounds(alert.findControl('ok  ', 0));
        EXPECT_EQ(r1.bottom - r1.top, WrappedHeight(text1, first));
        EXPECT_EQ(r1.bottom - r1.top, first == longText.get() ? 3 * 17 : 17);
        EXPECT_EQ(r2.bottom - r2.top, 14);
        EXPECT_EQ(r2.top, r1.bottom + 8);
        EXPECT_EQ(ok.top, r2.bottom + 20);
        Rect content{};
        GetWindowPortBounds(alert.getWindow(), &content);
        EXPECT_EQ(content.bottom, ok.bottom + 20);
    }
}

// The caption and title take what update gives and keep what it leaves null; Cancel hides the
// window with 'not!'. No bundle, no dialog.
TEST(ProgressDialog, UpdatesCaptionAndTitle) {
    {
        UI_ProgressDialog none(CFSTR("Title"), CFSTR("Caption"));
        EXPECT_FALSE(none.isInitialized());
        none.update(CFSTR("Title"), CFSTR("Caption")); // harmless
    }
    BundleScope bundle;
    Owned<CFStringRef> title(PMCFStringCreateWithUTF8(Localized("TWO_WAY_TITLE", "BidiStrings")));
    Owned<CFStringRef> connecting(PMCFStringCreateWithUTF8(Localized("kProgressConnecting", "BidiStrings")));
    UI_ProgressDialog progress(title, connecting);
    ASSERT_TRUE(progress.isInitialized());
    ControlRef caption = progress.findControl('capt', 1);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(WindowTitle(progress.getWindow()), "Two-Way Communication");
    EXPECT_EQ(TitleOf(caption), "Contacting server ...");
    progress.update(nullptr, CFSTR("Getting features..."));
    EXPECT_EQ(TitleOf(caption), "Getting features...");
    EXPECT_EQ(WindowTitle(progress.getWindow()), "Two-Way Communication");
    progress.update(CFSTR("Server"), nullptr);
    EXPECT_EQ(WindowTitle(progress.getWindow()), "Server");
    EXPECT_EQ(TitleOf(caption), "Getting features...");

    progress.show();
    EXPECT_TRUE(IsWindowVisible(progress.getWindow()));
    HISimulatePressButton(progress.getWindow(), kHICommandCancel);
    progress.waitForUser();
    EXPECT_EQ(progress.getResult(), kHICommandCancel);
    EXPECT_FALSE(IsWindowVisible(progress.getWindow()));
}

// Host names and dotted addresses: ASCII letters, digits, hyphens and dots, nothing else.
TEST(TwoWayDialog, ValidateAddressAcceptsOnlyHostNameCharacters) {
    for (const char* good : {"192.168.1.20", "print-server.example.com", "TARVO01", "a", "", "-.-"})
        EXPECT_TRUE(UI_TwoWayCommDialog::validateAddress(good)) << good;
    for (const char* bad : {"print server", "print_server", " 10.0.0.1", "10.0.0.1\t", "host:631",
                            "a/b", "dr\xC3\xBC" "cker", "\xE2\x80\x8B", "[::1]"})
        EXPECT_FALSE(UI_TwoWayCommDialog::validateAddress(bad)) << bad;
    EXPECT_FALSE(UI_TwoWayCommDialog::validateAddress(nullptr));
}

// An address with a space or an underscore brings the "INVALID_IP_ADDRESS" alert (flags 514:
// a sheet over the dialog, small second text, Cancel shown). OK on the alert keeps the dialog
// open for a correction; Cancel on it cancels the dialog.
TEST(TwoWayDialog, RejectsBadAddressesWithTheInvalidAddressAlert) {
    BundleScope bundle;
    TestWindow parent;
    FrontWindowPerson person;
    UI_TwoWayCommDialog dialog(parent.w, "", CFSTR("Tarvo C5000"), false);
    ASSERT_TRUE(dialog.isValid());
    const ControlID field{'paed', 0};
    HISimulateTypeText(dialog.getWindow(), &field, "print server");
    HISimulatePressButton(dialog.getWindow(), kHICommandOK);
    person.press(kHICommandOK);                       // the alert: correct it
    person.type(std::string(12, '\b') + "print_server");
    HISimulatePressButton(dialog.getWindow(), kHICommandOK);
    person.press(kHICommandOK);                       // the alert again
    person.type(std::string(12, '\b') + "print-01.example.com");
    HISimulatePressButton(dialog.getWindow(), kHICommandOK);
    char out[256] = "unchanged";
    EXPECT_EQ(dialog.waitforResults(out), kHICommandOK);
    EXPECT_STREQ(out, "print-01.example.com");
    EXPECT_STREQ(dialog.getServerName(), "print-01.example.com");
    ASSERT_EQ(person.seen.size(), 2u);
    for (const SeenWindow& alert : person.seen) {
        EXPECT_EQ(alert.alertText, Localized("INVALID_IP_ADDRESS", "BidiStrings"));
        EXPECT_EQ(alert.secondText, Localized("PRESS_OKAY", "BidiStrings"));
        EXPECT_EQ(alert.secondTextSize, 11);
        EXPECT_EQ(alert.windowClass, kSheetWindowClass);
        EXPECT_EQ(alert.sheetParent, dialog.getWindow());
        EXPECT_TRUE(alert.cancelVisible);
    }

    // Cancel on the alert ends the dialog: 'not!', the output untouched.
    UI_TwoWayCommDialog again(parent.w, "old.example.com", nullptr, false);
    HISimulateTypeText(again.getWindow(), &field, "_");
    HISimulatePressButton(again.getWindow(), kHICommandOK);
    person.press(kHICommandCancel);
    char kept[256] = "kept";
    EXPECT_EQ(again.waitforResults(kept), kHICommandCancel);
    EXPECT_STREQ(kept, "kept");
    EXPECT_EQ(person.seen.size(), 3u);
}

// An empty address passes with accept-empty; without it the user hears a beep and sees
// "IP_NOT_CONFIG". The class function answers true only for OK.
TEST(TwoWayDialog, EmptyAddressOnlyWithAcceptEmpty) {
    BundleScope bundle("de");
    TestWindow parent;
    FrontWindowPerson person;
    char out[256] = "x";
    HIProcessPendingEvents();
    UInt32 beeps = GetSysBeepCount();
    person.press(kHICommandOK);
    EXPECT_TRUE(UI_TwoWayCommDialog::ShowTwoWayCommDialog("", nullptr, out, parent.w, true));
    EXPECT_STREQ(out, "");
    EXPECT_EQ(GetSysBeepCount(), beeps);

    person.press(kHICommandOK);     // the dialog: OK with nothing typed
    person.press(kHICommandOK);     // the alert: correct it
    person.type("10.0.0.7");
    person.press(kHICommandOK);
    EXPECT_TRUE(UI_TwoWayCommDialog::ShowTwoWayCommDialog(nullptr, nullptr, out, parent.w, false));
    EXPECT_STREQ(out, "10.0.0.7");
    EXPECT_EQ(GetSysBeepCount(), beeps + 1);
    ASSERT_EQ(person.seen.size(), 4u);
    EXPECT_EQ(person.seen[1].title, Localized("TWO_WAY_TITLE", "BidiStrings"));
    EXPECT_EQ(person.seen[2].alertText, Localized("IP_NOT_CONFIG", "BidiStrings"));
    EXPECT_EQ(person.seen[2].alertText, "Es wurde keine Serveradresse eingegeben.");

    person.press(kHICommandCancel);
    EXPECT_FALSE(UI_TwoWayCommDialog::ShowTwoWayCommDialog("a.b", nullptr, out, parent.w, false));
    EXPECT_STREQ(out, "10.0.0.7");
}

// Shown, the dialog holds the printer's name and the current address, focused for typing;
// texts come from "BidiStrings" and fit their controls in both languages. Without the bundle
// the dialog is not valid and the class function answers false at once.
TEST(TwoWayDialog, ShowsNamesAndTextsThatFit) {
    {
        char out[256] = "x";
        EXPECT_FALSE(UI_TwoWayCommDialog::ShowTwoWayCommDialog("a", nullptr, out, nullptr, true));
        EXPECT_STREQ(out, "x");
    }
    for (const char* language : {"en", "de"}) {
        BundleScope bundle(language);
        UI_TwoWayCommDialog dialog(nullptr, "10.1.2.3", CFSTR("Tarvo C5000"), true);
        ASSERT_TRUE(dialog.isValid());
        dialog.show();
        WindowRef w = dialog.getWindow();
        EXPECT_EQ(TitleOf(Find(w, 'pnam', 0)), "Tarvo C5000");
        ControlRef field = Find(w, 'paed', 0);
        CFStringRef address = nullptr;
        GetControlData(field, 0, kControlEditTextCFStringTag, sizeof address, &address, nullptr);
        EXPECT_EQ(Take(address), "10.1.2.3");
        ControlRef focus = nullptr;
        GetKeyboardFocus(w, &focus);
        EXPECT_EQ(focus, field);
        EXPECT_EQ(WindowTitle(w), Localized("TWO_WAY_TITLE", "BidiStrings"));
        const struct {
            OSType signature;
            const char* key;
        } texts[] = {{'pncp', "PRINTER_NAME"}, {'pacp', "PRINTER_ADDR"}, {'pdcp', "IP_OR_DNS_NAME"},
                     {'ptit', "ENTER_TWO_WAY"}, {'pres', "NO_IP_ADDRESS"}};
        for (const auto& t : texts) {
            ControlRef c = Find(w, t.signature, 0);
            ASSERT_NE(c, nullptr);
            const std::string text = TitleOf(c);
            EXPECT_EQ(text, Localized(t.key, "BidiStrings"));
            Owned<CFStringRef> s(PMCFStringCreateWithUTF8(text));
            EXPECT_LE(WrappedHeight(c, s), Bounds(c).bottom - Bounds(c).top) << language << " " << t.key;
        }
        // Fitted to the wrapped texts: the groups keep their spacing, the window its margin.
        const Rect title = Bounds(Find(w, 'ptit', 0)), note = Bounds(Find(w, 'pres', 0));
        const Rect printer = Bounds(Find(w, 'pncp', 0)), ok = Bounds(Find(w, 'ok  ', 0));
        EXPECT_EQ(printer.top, title.bottom + 16) << language;
        EXPECT_EQ(ok.top, note.bottom + 20) << language;
        Rect content{};
        GetWindowPortBounds(w, &content);
        EXPECT_EQ(content.bottom, ok.bottom + 20) << language;
        for (OSType button : {OSType('ok  '), OSType('canc')}) {
            ControlRef c = Find(w, button, 0);
            Owned<CFStringRef> title(PMCFStringCreateWithUTF8(TitleOf(c)));
            EXPECT_LE(HIThemeTextWidth(title, 13) + 28, Bounds(c).right - Bounds(c).left) << language;
        }
        dialog.hide();
    }
}

// A status code is reported with its localised text, OK alone, as a sheet over the window; a
// code without a key (the fallback 101 has none either) shows nothing; no bundle, no alert.
TEST(ReportPigmentorError, ShowsTheCodesTextOrNothing) {
    TestWindow parent;
    EXPECT_EQ(PigmentorErrors::ReportPigmentorError(kPigmentorConnErr, parent.w), 0u);
    BundleScope bundle("de");
    FrontWindowPerson person;
    person.press(kHICommandOK);
    EXPECT_EQ(PigmentorErrors::ReportPigmentorError(kPigmentorConnErr, parent.w), kHICommandOK);
    for (unsigned long unknown : {25ul, 101ul, 1000ul})
        EXPECT_EQ(PigmentorErrors::ReportPigmentorError(unknown, parent.w), 0u) << unknown;
    ASSERT_EQ(person.seen.size(), 1u);
    EXPECT_EQ(person.seen[0].alertText, Localized("kPigmentorConnErr", "PigmentorErr"));
    EXPECT_NE(person.seen[0].alertText, "kPigmentorConnErr");
    EXPECT_EQ(person.seen[0].windowClass, kSheetWindowClass);
    EXPECT_FALSE(person.seen[0].cancelVisible);
}
