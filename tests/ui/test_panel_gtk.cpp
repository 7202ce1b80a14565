// The colour pane in GTK under Xvfb: a person's clicks (real X input from xdotool) on a
// print-mode radio button, a pane popup and a check box change the model exactly as the
// headless simulation of the same actions does, and the pane is photographed.
// Run by CTest through xvfb-run (see CMakeLists.txt).
#include "PanelTestSupport.h"

#include <HIToolbox/HIGtkBackend.h>

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

bool StartGtk() {
    static bool started = [] {
        int argc = 1;
        char name[] = "test_ui_panel_gtk";
        char* args[] = {name, nullptr};
        char** argv = args;
        return HIGtkInstall(&argc, &argv);
    }();
    return started;
}

/// Runs xdotool with `args` and lets GTK handle what it sent.
void Xdo(const std::string& args) {
    const std::string command = "xdotool " + args;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    HIGtkRunFor(0.4);
}

/// The screen point `dx` pixels into the control (its middle when negative), half-way down.
std::string ScreenPoint(WindowRef w, ControlRef c, int dx = -1) {
    unsigned long xid = 0;
    int x = 0, y = 0;
    HIGtkWindowGeometry(w, &xid, &x, &y);
    Rect r;
    GetControlBounds(c, &r);
    const int h = dx >= 0 ? r.left + dx : (r.left + r.right) / 2;
    return std::to_string(x + h) + " " + std::to_string(y + (r.top + r.bottom) / 2);
}

/// What the actions under test change in the model.
struct ModelState {
    int printMode;
    std::string colorMode, brightness;
    bool compositeOverprint, blackDetection;
    bool operator==(const ModelState& o) const {
        return printMode == o.printMode && colorMode == o.colorMode && brightness == o.brightness &&
               compositeOverprint == o.compositeOverprint && blackDetection == o.blackDetection;
    }
};

ModelState StateOf(const PanelHarness& h) {
    return {h.PrintModeValue(), h.PopupKeyword("*QVColorMode"), h.PopupKeyword("*QVBrightness"),
            h.BooleanOn("*QVCompOverprint"), h.BooleanOn("*QVHPBlack")};
}

} // namespace

TEST(PanelGtk, APersonsClicksChangeTheModelAsTheSimulationDoes) {
    ASSERT_TRUE(StartGtk()) << "no display: run under xvfb-run";
    // The simulation, in a pane that is never shown: Black Detection on, Grayscale, then the
    // brightness one step darker.
    ModelState expected{};
    {
        PanelHarness simulated;
        ASSERT_TRUE(simulated.Build().Valid());
        simulated.ShowAndWait();
        const ControlID black{'Cntl', 307}, grey{'sRd1', 303}, bright{'Cntl', 103};
        HISimulateClick(simulated.Window(), &black);
        HISimulateClick(simulated.Window(), &grey);
        HISimulateChoosePopupItem(simulated.Window(), &bright, 5);
        HIProcessPendingEvents();
        expected = StateOf(simulated);
    }
    ASSERT_EQ(expected.printMode, UI_Panel::kModeGrayscale);
    ASSERT_EQ(expected.brightness, "105");
    ASSERT_TRUE(expected.blackDetection);

    // A person, through the X server.
    PanelHarness real;
    UI_Panel& panel = real.Build();
    ASSERT_TRUE(panel.Valid());
    ShowWindow(real.Window());
    ASSERT_TRUE(HIGtkWaitUntilShown(real.Window(), 10));
    panel.Show();
    ASSERT_TRUE(RunUntil([&] {
        HIGtkRunFor(0.02);
        return panel.CanHandle() && panel.getProgressHandler() == nullptr;
    }));
    HIGtkRunFor(0.3);
    ASSERT_NE(StateOf(real).printMode, expected.printMode);
    Xdo("mousemove " + ScreenPoint(real.Window(), real.Control('Cntl', 307), 8) + " click 1");
    Xdo("mousemove " + ScreenPoint(real.Window(), real.Control('sRd1', 303), 8) + " click 1");
    Xdo("mousemove " + ScreenPoint(real.Window(), real.Control('Cntl', 103), 200) + " click 1");
    Xdo("key Down");
    Xdo("key Return");
    EXPECT_EQ(StateOf(real), expected);
    EXPECT_EQ(GetControl32BitValue(panel.getRadioButton(UI_Panel::kModeGrayscale)), 1);
    EXPECT_FALSE(IsControlEnabled(real.Control('Cntl', 308)));

    // The picture: the pane's size, with text and widgets in it.
    const std::string png = testing::TempDir() + "ui_panel.png";
    ASSERT_EQ(HIGtkWriteScreenshot(real.Window(), png.c_str()), noErr);
    cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), PanelHarness::kPaneWidth);
    EXPECT_EQ(cairo_image_surface_get_height(image), PanelHarness::kPaneHeight);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    std::set<uint32_t> colours;
    for (int y = 0; y < PanelHarness::kPaneHeight; y += 2)
        for (int x = 0; x < PanelHarness::kPaneWidth; x += 2)
            colours.insert(reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF);
    EXPECT_GT(colours.size(), 20u);
    cairo_surface_destroy(image);
    panel.Hide();
    HideWindow(real.Window());
    HIGtkRunFor(0.05);
}
