// The GTK back end under Xvfb: a window with every control kind is shown and photographed, and
// real X input from xdotool reaches the toolbox as the same events as the simulation gives.
// Run by CTest through xvfb-run (see CMakeLists.txt).
#include "HIToolboxTestSupport.h"
#include "GtkTestSupport.h"

#include <HIToolbox/HIDump.h>
#include <HIToolbox/HIGtkBackend.h>

#include <CarbonCore/SysBeep.h>

#include <cairo.h>
#include <nlohmann/json.hpp>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void DrawRedBlock(ControlRef pane, ControlPartCode) {
    Rect r;
    GetControlBounds(pane, &r);
    RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    Rect block{static_cast<short>(r.top + 10), static_cast<short>(r.left + 10),
               static_cast<short>(r.top + 40), static_cast<short>(r.left + 60)};
    PaintRect(&block);
    MoveTo(r.left, r.bottom - 2);
    LineTo(r.right - 1, r.bottom - 2);
}

const EventTypeSpec kTypes[] = {{kEventClassCommand, kEventCommandProcess},
                                {kEventClassControl, kEventControlHit},
                                {kEventClassControl, kEventControlClick},
                                {kEventClassKeyboard, kEventRawKeyDown}};

OSStatus Record(EventHandlerCallRef, EventRef e, void* data) {
    auto* log = static_cast<std::vector<std::string>*>(data);
    std::string line = HIFourCharCodeText(GetEventClass(e)) + "/" + std::to_string(GetEventKind(e));
    ControlRef c = nullptr;
    if (GetEventParameter(e, kEventParamDirectObject, typeControlRef, nullptr, sizeof c, nullptr, &c) == noErr) {
        ControlID id{};
        GetControlID(c, &id);
        line += ":" + HIFourCharCodeText(id.signature) + std::to_string(id.id);
    }
    HICommand command{};
    if (GetEventParameter(e, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr, &command) == noErr) {
        line += ":" + HIFourCharCodeText(command.commandID);
        if (command.attributes & kHICommandFromMenu)
            line += "#" + std::to_string(command.menu.menuItemIndex);
    }
    char key[8] = {};
    if (GetEventParameter(e, kEventParamKeyMacCharCodes, typeChar, nullptr, sizeof key - 1, nullptr, key) == noErr)
        line += ":key=" + std::string(key);
    log->push_back(line);
    return eventNotHandledErr;
}

} // namespace

TEST(Gtk, APaneWithEveryControlKindIsShownAndPhotographed) {
    ASSERT_TRUE(StartGtk("test_hitoolbox_gtk")) << "no display: run under xvfb-run";
    NibWindow pane("Pane");
    ControlRef line = pane.get('Line', 14);
    ControlUserPaneDrawUPP draw = NewControlUserPaneDrawUPP(DrawRedBlock);
    SetControlData(line, 0, kControlUserPaneDrawProcTag, sizeof draw, &draw);
    ShowWindow(pane.window);
    ASSERT_TRUE(HIGtkWaitUntilShown(pane.window, 10));
    std::string png = testing::TempDir() + "hitoolbox_pane.png";
    ASSERT_EQ(HIGtkWriteScreenshot(pane.window, png.c_str()), noErr);
    cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), 525);
    EXPECT_EQ(cairo_image_surface_get_height(image), 200);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    auto pixel = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF; };
    std::set<uint32_t> colours;
    for (int y = 0; y < 200; y += 2)
        for (int x = 0; x < 525; x += 2)
            colours.insert(pixel(x, y));
    EXPECT_GT(colours.size(), 20u); // text, frames and widgets, not a blank picture
    // The user pane's red block, replayed with cairo at its window coordinates.
    EXPECT_EQ(pixel(430 + 30, 128 + 25), 0xFF0000u);
    // The check box's label has dark text pixels in its bounds.
    int dark = 0;
    for (int y = 60; y < 78; ++y)
        for (int x = 296; x < 420; ++x)
            if ((pixel(x, y) & 0xFF) < 0x60)
                ++dark;
    EXPECT_GT(dark, 30);
    cairo_surface_destroy(image);
    // The desktop's beep is installed for SysBeep.
    const UInt32 beeps = GetSysBeepCount();
    SysBeep(1);
    EXPECT_EQ(GetSysBeepCount(), beeps + 1);
}

TEST(Gtk, RealInputGivesTheSameEventsAsTheSimulation) {
    ASSERT_TRUE(StartGtk("test_hitoolbox_gtk")) << "no display: run under xvfb-run";
    // The simulation, on a window that is never shown.
    NibWindow simulated("Pane");
    std::vector<std::string> expected;
    InstallWindowEventHandler(simulated.window, Record, 4, kTypes, &expected, nullptr);
    ControlID smooth{'Cntl', 303}, grey{'sRd1', 303}, bright{'Cntl', 103}, field{'paed', 0};
    Str emptyText("");
    CFStringRef empty = emptyText;
    SetControlData(simulated.get('paed', 0), 0, kControlEditTextCFStringTag, sizeof empty, &empty);
    HISimulateClick(simulated.window, &smooth);
    HISimulateClick(simulated.window, &grey);
    HISimulateChoosePopupItem(simulated.window, &bright, 4);
    HISimulateTypeText(simulated.window, &field, "ab\x08z");
    HIProcessPendingEvents();
    ASSERT_EQ(expected.size(), 3u * 3 + 4);

    // A person, through the X server.
    NibWindow real("Pane");
    std::vector<std::string> seen;
    InstallWindowEventHandler(real.window, Record, 4, kTypes, &seen, nullptr);
    ControlRef edit = real.get('paed', 0);
    SetControlData(edit, 0, kControlEditTextCFStringTag, sizeof empty, &empty);
    ShowWindow(real.window);
    ASSERT_TRUE(HIGtkWaitUntilShown(real.window, 10));
    HIGtkRunFor(0.3);
    Xdo("mousemove " + ScreenPoint(real.window, real.get('Cntl', 303), 8) + " click 1");
    Xdo("mousemove " + ScreenPoint(real.window, real.get('sRd1', 303), 8) + " click 1");
    Xdo("mousemove " + ScreenPoint(real.window, real.get('Cntl', 103), 130) + " click 1");
    Xdo("key Down");
    Xdo("key Return");
    Xdo("mousemove " + ScreenPoint(real.window, edit) + " click 1");
    Xdo("type ab");
    Xdo("key BackSpace");
    Xdo("type z");
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(GetControl32BitValue(real.get('Cntl', 303)), 0);
    EXPECT_EQ(GetControl32BitValue(real.get('sRdG', 300)), 3);
    EXPECT_EQ(GetControl32BitValue(real.get('Cntl', 103)), 4);
    EXPECT_EQ(Text(edit), "az");
    // The two trees end in the same state.
    EXPECT_EQ(nlohmann::json::parse(HICopyWindowJSON(real.window))["controls"],
              nlohmann::json::parse(HICopyWindowJSON(simulated.window))["controls"]);
}
