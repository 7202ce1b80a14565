// The expert colour dialog in GTK under Xvfb: a person's real clicks (xdotool) on a popup change
// the model as the headless simulation does, and pictures of the dialog (PPD and two-way mode,
// the plate-setting window) and of the custom RGB dialog are written and checked.
// With PIGMENTOR_SCREENSHOT_DIR set, the pictures go there under their final names
// (docs/screenshots); otherwise into the test's temporary folder.
#include "ExpertTestSupport.h"
#include "GtkTestSupport.h"

#include "PigmentorBIDIItemList.h"
#include "TestServer.h"
#include "UI_CustomRGBDialog.h"

#include <HIToolbox/HIDump.h>
#include <HIToolbox/HIGtkBackend.h>

#include <cairo.h>
#include <nlohmann/json.hpp>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace colourtest;
using namespace experttest;

namespace {

std::string PicturePath(const std::string& name) {
    const char* dir = std::getenv("PIGMENTOR_SCREENSHOT_DIR");
    return (dir ? std::string(dir) + "/" : testing::TempDir()) + name + ".png";
}

/// Writes the window's picture and checks it is the window's size and not blank.
void Photograph(WindowRef w, const std::string& name) {
    ASSERT_TRUE(HIGtkWaitUntilShown(w, 10));
    HIGtkRunFor(0.3);
    const std::string png = PicturePath(name);
    ASSERT_EQ(HIGtkWriteScreenshot(w, png.c_str()), noErr);
    cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    Rect r{};
    GetWindowPortBounds(w, &r);
    EXPECT_EQ(cairo_image_surface_get_width(image), r.right);
    EXPECT_EQ(cairo_image_surface_get_height(image), r.bottom);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    int dark = 0;
    for (int y = 0; y < r.bottom; y += 2)
        for (int x = 0; x < r.right; x += 2)
            dark += (reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFF) < 0x60;
    EXPECT_GT(dark, 50) << name; // text and lines, not a blank picture
    cairo_surface_destroy(image);
}

struct Dialog {
    Model model;
    std::unique_ptr<PigmentorPPDItemList> list;
    std::unique_ptr<UI_ExpertColor> dialog;
    Dialog(const std::string& ppd, WindowRef parent, bool twoWay = false) : model(ppd, "") {
        if (twoWay)
            list = std::make_unique<PigmentorBIDIItemList>(model.get(), "127.0.0.1", nullptr, true);
        else
            list = std::make_unique<PigmentorPPDItemList>(model.get(), true, nullptr);
        dialog = std::make_unique<UI_ExpertColor>(list.get(), parent);
    }
};

} // namespace

// A person opens the CMYK simulation popup and picks "Match Copy" with the keyboard: the
// item, the locked simulation method and the whole window end as the simulation leaves them.
TEST(ExpertGtk, RealInputOnAPopupChangesTheModelAsTheSimulationDoes) {
    ASSERT_TRUE(StartGtk("test_ui_expert_gtk")) << "no display: run under xvfb-run";
    BundleScope bundle;
    ParentWindow parent;

    Dialog simulated(ExampleText(), parent.w);
    simulated.dialog->show();
    Person person(*simulated.dialog);
    person.chooseKeyword(3, "MATCHCOPY");
    ASSERT_EQ(ValueKeyword(simulated.dialog->itemAt(3)), "MATCHCOPY");

    Dialog real(ExampleText(), parent.w);
    real.dialog->show();
    WindowRef w = real.dialog->getWindow();
    ASSERT_TRUE(HIGtkWaitUntilShown(w, 10));
    HIGtkRunFor(0.3);
    const long from = real.dialog->itemAt(3)->getValue();
    const long to = real.dialog->itemAt(3)->getValueByKeyword("MATCHCOPY");
    Xdo("mousemove " + ScreenPoint(w, real.dialog->featureControl(3), 40) + " click 1");
    for (long i = from; i < to; ++i)
        Xdo("key Down");
    Xdo("key Return");
    EXPECT_EQ(ValueKeyword(real.dialog->itemAt(3)), "MATCHCOPY");
    EXPECT_EQ(ValueKeyword(real.dialog->itemAt(6)), ValueKeyword(simulated.dialog->itemAt(6)));
    EXPECT_EQ(EnabledItems(real.dialog->featureControl(6)).size(), 1u);
    EXPECT_EQ(nlohmann::json::parse(HICopyWindowJSON(w))["controls"],
              nlohmann::json::parse(HICopyWindowJSON(simulated.dialog->getWindow()))["controls"]);
}

// Pictures of the dialogs in English and German.
TEST(ExpertGtk, PicturesOfTheDialogs) {
    ASSERT_TRUE(StartGtk("test_ui_expert_gtk")) << "no display: run under xvfb-run";
    TestServer server;
    ASSERT_TRUE(server.Started());
    setenv("TOVRANE_SERVER_PORT", std::to_string(server.Port()).c_str(), 1);
    for (const char* language : {"en", "de"}) {
        BundleScope bundle(language);
        ParentWindow parent;
        const std::string suffix = std::string("-") + language;
        // A German user's printer comes with the German PPD.
        const char* ppd = std::string(language) == "de" ? "Tarvo-C5000-de.ppd" : "Tarvo-C5000.ppd";
        {
            Dialog normal(ExampleText(ppd), parent.w);
            normal.dialog->show();
            Photograph(normal.dialog->getWindow(), "expert-color" + suffix);
            // The custom RGB source's dialog, over the expert dialog.
            Person(*normal.dialog).chooseKeyword(1, "OTHER");
            IBNibRef nib = nullptr;
            ASSERT_EQ(CreateNibReferenceWithCFBundle(bundle.get(), CFSTR("Pigmentor"), &nib), noErr);
            {
                UI_CustomRGBDialog custom(nib, normal.dialog.get(), normal.dialog->getWindow());
                ASSERT_TRUE(custom.isInitialized());
                custom.UI_PigmentorDialogBase::show();
                Photograph(custom.getWindow(), "custom-rgb" + suffix);
            }
            DisposeNibReference(nib);
        }
        {
            const std::string at = "*%QRVSpecialOption *DeviceLink: True\n";
            Dialog ctp(Replace(ExampleText(ppd), at, at + "*%QRVSpecialOption *Pigmentor: CTP\n"), parent.w);
            ctp.dialog->show();
            Photograph(ctp.dialog->getWindow(), "expert-color-ctp" + suffix);
        }
        {
            Dialog twoWay(ExampleText(ppd), parent.w, true);
            ASSERT_TRUE(twoWay.list->isValid());
            ASSERT_TRUE(twoWay.dialog->isTwoWay());
            twoWay.dialog->show();
            Photograph(twoWay.dialog->getWindow(), "expert-color-two-way" + suffix);
        }
    }
}
