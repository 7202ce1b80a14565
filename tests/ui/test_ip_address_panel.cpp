// The two-way address panel in a window whose handler routes events to it, as the colour pane
// does, driven by simulated clicks; the two-way dialog it opens is answered by a person.
#include "DialogTestSupport.h"
#include "UI_IPAddressPanel.h"

#include <gtest/gtest.h>

namespace {

/// A window hosting a panel: control events go to the panel first, commands are recorded.
struct Host {
    WindowRef w = nullptr;
    UI_IPAddressPanel* panel = nullptr;
    std::vector<UInt32> commands;
    EventHandlerRef handler = nullptr;

    Host() {
        Rect r{100, 100, 400, 700};
        CreateNewWindow(kDocumentWindowClass, 0, &r, &w);
        const EventTypeSpec types[] = {{kEventClassCommand, kEventCommandProcess},
                                       {kEventClassControl, kEventControlClick},
                                       {kEventClassControl, kEventControlHit}};
        InstallWindowEventHandler(w, Route, 3, types, this, &handler);
        ShowWindow(w);
    }
    ~Host() {
        delete panel;
        DisposeWindow(w);
    }
    static OSStatus Route(EventHandlerCallRef call, EventRef e, void* data) {
        auto* host = static_cast<Host*>(data);
        if (GetEventClass(e) == kEventClassCommand) {
            HICommand command{};
            GetEventParameter(e, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr, &command);
            host->commands.push_back(command.commandID);
            return eventNotHandledErr;
        }
        return host->panel ? host->panel->HandleIPAddressPanelEvent(call, e) : eventNotHandledErr;
    }
    void make(const char* address, bool twoWayOn, Rect bounds = Rect{20, 20, 70, 520},
              bool withCheckBox = true) {
        panel = new UI_IPAddressPanel(w, nullptr, bounds, address, CFSTR("Tarvo C5000"), twoWayOn,
                                      true, withCheckBox);
    }
    /// Queues a click (answers to the dialog it opens are queued after it), or clicks now.
    void queueClick(OSType signature) {
        const ControlID id{signature, 10};
        HISimulateClick(w, &id);
    }
    void click(OSType signature) {
        queueClick(signature);
        HIProcessPendingEvents();
        HIProcessPendingEvents(); // what the click posted
    }
};

} // namespace

// The rows: the check box over half the width, the label over a third, the button in the last
// 140 pixels, the address between; all inside a pane inset by 2. Below 250 by 50 pixels, or
// without the bundle, nothing is built.
TEST(IPAddressPanel, LaysOutItsRowsAndNeedsRoomAndBundle) {
    BundleScope bundle;
    {
        Host host;
        host.make("10.0.0.1", true, Rect{20, 20, 70, 270});
        UI_IPAddressPanel& p = *host.panel;
        ASSERT_TRUE(p.isInitialized());
        const Rect pane = Bounds(p.getUserPane());
        EXPECT_EQ(pane.left, 22);
        EXPECT_EQ(pane.right, 268);
        EXPECT_EQ(pane.top, 22);
        EXPECT_EQ(Bounds(p.getCheckBox()).right - Bounds(p.getCheckBox()).left, 246 / 2);
        EXPECT_EQ(Bounds(p.getCheckBox()).bottom - Bounds(p.getCheckBox()).top, 20);
        EXPECT_EQ(Bounds(p.getAddressLabel()).right, 22 + 246 / 3);
        EXPECT_EQ(Bounds(p.getConfigureButton()).left, 268 - 140);
        EXPECT_EQ(Bounds(p.getConfigureButton()).right, 268);
        EXPECT_LE(Bounds(p.getAddressText()).right, Bounds(p.getConfigureButton()).left);
        EXPECT_GE(Bounds(p.getAddressText()).left, Bounds(p.getAddressLabel()).right);
        EXPECT_LE(Bounds(p.getConfigureButton()).bottom, pane.bottom);
        EXPECT_EQ(TitleOf(p.getAddressText()), "10.0.0.1");
        UInt16 count = 0;
        CountSubControls(p.getUserPane(), &count);
        EXPECT_EQ(count, 5);
        EXPECT_TRUE(IsControlVisible(p.getConfigureButton()));
    }
    for (Rect small : {Rect{20, 20, 70, 269}, Rect{20, 20, 69, 270}}) {
        Host host;
        host.make("10.0.0.1", true, small);
        EXPECT_FALSE(host.panel->isInitialized());
        EXPECT_EQ(host.panel->getCheckBox(), nullptr);
        EXPECT_EQ(host.panel->getConfigureButton(), nullptr);
        UInt16 count = 0;
        if (host.panel->getUserPane())
            CountSubControls(host.panel->getUserPane(), &count);
        EXPECT_EQ(count, 0);
        host.click('bidi');
        EXPECT_TRUE(host.commands.empty());
    }
    PDEBundle::InitBundle(nullptr);
    Host host;
    host.make("10.0.0.1", true);
    EXPECT_FALSE(host.panel->isInitialized());
    EXPECT_EQ(host.panel->getCheckBox(), nullptr);
}

// Switching two-way on without an address asks for one: Cancel leaves the box unchecked and
// two-way off, with nothing posted; OK with an address turns two-way on, shows the address,
// sets both change bits and posts 'IPcm' and 'IPcb'. Address and label follow the mode.
TEST(IPAddressPanel, SwitchingOnWithoutAnAddressAsksForOne) {
    BundleScope bundle;
    Host host;
    FrontWindowPerson person;
    host.make(nullptr, true);
    UI_IPAddressPanel& p = *host.panel;
    ASSERT_TRUE(p.isInitialized());
    EXPECT_FALSE(p.isBidiMode()) << "two-way needs an address";
    EXPECT_EQ(GetControl32BitValue(p.getCheckBox()), 0);
    EXPECT_FALSE(IsControlEnabled(p.getAddressText()));
    HIProcessPendingEvents();
    host.commands.clear();

    host.queueClick('bidi');
    person.press(kHICommandCancel);
    HIProcessPendingEvents();
    HIProcessPendingEvents();
    ASSERT_EQ(person.seen.size(), 1u);
    EXPECT_EQ(person.seen[0].title, Localized("TWO_WAY_TITLE", "BidiStrings"));
    EXPECT_EQ(GetControl32BitValue(p.getCheckBox()), 0);
    EXPECT_FALSE(p.isBidiMode());
    EXPECT_FALSE(IsControlEnabled(p.getAddressLabel()));
    EXPECT_EQ(p.ChangedState(), 0u);
    EXPECT_TRUE(host.commands.empty());

    // OK with nothing typed is refused there (an address is needed to switch on).
    host.queueClick('bidi');
    person.press(kHICommandOK);
    person.press(kHICommandOK);          // the "IP_NOT_CONFIG" alert
    person.type("print-01");
    person.press(kHICommandOK);
    HIProcessPendingEvents();
    ASSERT_EQ(person.seen.size(), 4u);
    EXPECT_EQ(person.seen[2].alertText, Localized("IP_NOT_CONFIG", "BidiStrings"));
    EXPECT_EQ(GetControl32BitValue(p.getCheckBox()), 1);
    EXPECT_TRUE(p.isBidiMode());
    EXPECT_STREQ(p.getIPAddress(), "print-01");
    EXPECT_EQ(TitleOf(p.getAddressText()), "print-01");
    EXPECT_TRUE(IsControlEnabled(p.getAddressText()));
    EXPECT_EQ(p.ChangedState(), unsigned(UI_IPAddressPanel::kAddressChanged | UI_IPAddressPanel::kBidiModeChanged));
    EXPECT_EQ(host.commands, (std::vector<UInt32>{'IPcm', 'IPcb'}));
    char out[256] = {};
    EXPECT_TRUE(p.IPAddressHasChanged(out));
    EXPECT_STREQ(out, "print-01");
    EXPECT_FALSE(p.IPAddressHasChanged(out));
    EXPECT_EQ(p.ChangedState(), 0u);

    // Off again: no dialog, the address stays, 'IPcb' only.
    host.commands.clear();
    host.click('bidi');
    EXPECT_FALSE(p.isBidiMode());
    EXPECT_EQ(person.seen.size(), 4u);
    EXPECT_STREQ(p.getIPAddress(), "print-01");
    EXPECT_EQ(p.ChangedState(), unsigned(UI_IPAddressPanel::kBidiModeChanged));
    EXPECT_EQ(host.commands, (std::vector<UInt32>{'IPcb'}));
}

// The button opens the dialog with the current address; OK stores the edited one and posts
// 'IPcm', Cancel changes nothing. While hidden the panel handles no events; without the check
// box two-way is always on.
TEST(IPAddressPanel, ConfigureButtonEditsTheAddress) {
    BundleScope bundle("de");
    Host host;
    FrontWindowPerson person;
    host.make("10.0.0.1", true);
    UI_IPAddressPanel& p = *host.panel;
    EXPECT_TRUE(p.isBidiMode());
    EXPECT_EQ(GetControl32BitValue(p.getCheckBox()), 1);
    HIProcessPendingEvents();
    host.commands.clear();

    host.queueClick('conf');
    person.type("\b2");
    person.press(kHICommandOK);
    HIProcessPendingEvents();
    EXPECT_STREQ(p.getIPAddress(), "10.0.0.2");
    EXPECT_EQ(TitleOf(p.getAddressText()), "10.0.0.2");
    EXPECT_EQ(host.commands, (std::vector<UInt32>{'IPcm'}));
    EXPECT_EQ(p.ChangedState(), unsigned(UI_IPAddressPanel::kAddressChanged));
    p.ResetState();

    host.queueClick('conf');
    person.type("\b\b\b");
    person.press(kHICommandCancel);
    HIProcessPendingEvents();
    EXPECT_STREQ(p.getIPAddress(), "10.0.0.2");
    EXPECT_EQ(p.ChangedState(), 0u);
    EXPECT_EQ(person.seen.size(), 2u);

    p.hide();
    host.click('conf'); // hidden controls take no clicks, and the panel ignores the events
    EXPECT_EQ(person.seen.size(), 2u);
    p.show();

    p.setIPAddress("");
    EXPECT_STREQ(p.getIPAddress(), "10.0.0.2") << "an empty text keeps the address";

    Host bare;
    bare.make(nullptr, false, Rect{20, 20, 70, 520}, false);
    EXPECT_TRUE(bare.panel->isBidiMode());
    ControlKind kind{};
    GetControlKind(bare.panel->getCheckBox(), &kind);
    EXPECT_EQ(kind.kind, OSType(kControlKindStaticText));
}
