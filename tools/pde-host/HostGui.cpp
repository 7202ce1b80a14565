//===- HostGui.cpp - pde-host on the desktop -------------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostGui.h"

#include <HIToolbox/HIGtkBackend.h>

#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>

#include <unistd.h>

namespace {

// The person closed the plain window: that is the end of the dialog, with its settings kept.
OSStatus OnClose(EventHandlerCallRef, EventRef, void* dialog) {
    static_cast<HostDialog*>(dialog)->EndByPerson(true);
    return noErr;
}

struct SummaryContext {
    HostExtension* extension;
    GtkWidget* label;
};

struct ResponseContext {
    HostDialog* dialog;
    std::string* chosenFile;
};

// The name the dialog's print-to-file printer has: GTK's own text, in the person's language.
const char* FilePrinterName() {
    return g_dgettext("gtk30", "Print to File");
}

void OnResponse(GtkDialog* widget, gint response, gpointer data) {
    auto* context = static_cast<ResponseContext*>(data);
    GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(GTK_PRINT_UNIX_DIALOG(widget));
    if (response == GTK_RESPONSE_OK && printer && gtk_printer_is_virtual(printer) &&
        g_strcmp0(gtk_printer_get_name(printer), FilePrinterName()) == 0) {
        GtkPrintSettings* settings = gtk_print_unix_dialog_get_settings(GTK_PRINT_UNIX_DIALOG(widget));
        const gchar* uri = gtk_print_settings_get(settings, GTK_PRINT_SETTINGS_OUTPUT_URI);
        gchar* path = uri ? g_filename_from_uri(uri, nullptr, nullptr) : nullptr;
        *context->chosenFile = path ? path : "";
        g_free(path);
        g_object_unref(settings);
    }
    context->dialog->EndByPerson(response == GTK_RESPONSE_OK);
}

// Refreshes the summary each time its tab is shown.
void OnSummaryMap(GtkWidget*, gpointer data) {
    auto* context = static_cast<SummaryContext*>(data);
    std::vector<HostExtension::SummaryLine> lines;
    context->extension->Summary(lines);
    std::string text;
    for (const auto& line : lines)
        text += line.title + ": " + line.value + "\n";
    gtk_label_set_text(GTK_LABEL(context->label), text.c_str());
}

// The notebook of the print dialog, searched depth first.
GtkWidget* FindNotebook(GtkWidget* widget) {
    if (GTK_IS_NOTEBOOK(widget))
        return widget;
    if (!GTK_IS_CONTAINER(widget))
        return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* c = children; c && !found; c = c->next)
        found = FindNotebook(GTK_WIDGET(c->data));
    g_list_free(children);
    return found;
}

// The title of the dialog's own summary tab in the person's language (English and German are
// the languages the pane ships in).
const char* SummaryTabTitle() {
    const gchar* const* languages = g_get_language_names();
    for (; languages && *languages; ++languages) {
        if (g_str_has_prefix(*languages, "de"))
            return "\xC3\x9C" "bersicht";
        if (g_str_has_prefix(*languages, "en") || g_str_equal(*languages, "C"))
            break;
    }
    return "Summary";
}

} // namespace

bool HostGui::Install(int* argc, char*** argv, std::string& error) {
    if (HIGtkInstall(argc, argv))
        return true;
    error = "cannot open a display (run it under xvfb-run to have one without a screen)";
    return false;
}

HostGui::HostGui(HostDialog& dialog, HostExtension& extension, PMPrintSession session)
    : mDialog(dialog), mExtension(extension), mSession(session) {}

HostGui::~HostGui() {
    if (mClose)
        RemoveEventHandler(mClose);
    if (mCloseUPP)
        DisposeEventHandlerUPP(mCloseUPP);
    // The pane's content is the window's: it leaves the dialog alive and goes with the window.
    if (mTab && mContent)
        gtk_container_remove(GTK_CONTAINER(mTab), static_cast<GtkWidget*>(mContent));
    if (mPrintDialog)
        gtk_widget_destroy(static_cast<GtkWidget*>(mPrintDialog));
}

void HostGui::Preselect(const std::string& queue, const std::string& output) {
    mQueue = queue;
    if (!queue.empty())
        return;
    // Without a queue the pane's printer is a PPD alone: the dialog prints to a file, the one
    // the job goes to (--output), else a name of its own in the temporary directory.
    std::string path = output;
    if (path.empty())
        path = std::string(g_get_tmp_dir()) + "/pde-host-" + std::to_string(getpid()) + ".ps";
    gchar* absolute = g_canonicalize_filename(path.c_str(), nullptr);
    gchar* uri = g_filename_to_uri(absolute, nullptr, nullptr);
    mOutputURI = uri ? uri : "";
    g_free(uri);
    g_free(absolute);
}

bool HostGui::Show(bool printDialog, std::string& error) {
    if (!printDialog) {
        const EventTypeSpec close = {kEventClassWindow, kEventWindowClose};
        mCloseUPP = NewEventHandlerUPP(OnClose);
        InstallEventHandler(GetWindowEventTarget(mDialog.Window()), mCloseUPP, 1, &close, &mDialog,
                            &mClose);
        ShowWindow(mDialog.Window());
        return true;
    }
    GtkWidget* content = HIGtkTakeWindowContent(mDialog.Window());
    if (content == nullptr) {
        error = "the pane's window cannot be shown in the print dialog";
        return false;
    }
    GtkWidget* dialog = gtk_print_unix_dialog_new("Print", nullptr);
    mPrintDialog = dialog;
    gtk_print_unix_dialog_set_embed_page_setup(GTK_PRINT_UNIX_DIALOG(dialog), TRUE);
    GtkWidget* tab = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(tab), content, FALSE, FALSE, 0);
    gtk_widget_show_all(tab);
    mTab = tab;
    mContent = content;
    gtk_print_unix_dialog_add_custom_tab(GTK_PRINT_UNIX_DIALOG(dialog), tab,
                                         gtk_label_new(mExtension.Title().c_str()));
    GtkWidget* summary = gtk_label_new("");
    gtk_label_set_xalign(GTK_LABEL(summary), 0);
    gtk_widget_set_valign(summary, GTK_ALIGN_START);
    gtk_widget_set_margin_start(summary, 20);
    gtk_widget_set_margin_top(summary, 20);
    mSummary = summary;
    auto* context = new SummaryContext{&mExtension, summary};
    g_signal_connect_data(summary, "map", G_CALLBACK(OnSummaryMap), context,
                          [](gpointer data, GClosure*) { delete static_cast<SummaryContext*>(data); },
                          GConnectFlags(0));
    gtk_widget_show(summary);
    gtk_print_unix_dialog_add_custom_tab(GTK_PRINT_UNIX_DIALOG(dialog), summary,
                                         gtk_label_new(SummaryTabTitle()));
    // The printer is chosen by name as GTK's printer list fills: the CUPS queue, or the
    // print-to-file printer writing where the job goes.
    GtkPrintSettings* settings = gtk_print_settings_new();
    if (!mQueue.empty()) {
        gtk_print_settings_set_printer(settings, mQueue.c_str());
    } else {
        // The file's format is left to GTK (setting it here makes GTK's option widget read a
        // freed value): the job written is ours, PostScript, whatever the dialog's choice.
        gtk_print_settings_set_printer(settings, FilePrinterName());
        if (!mOutputURI.empty())
            gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_URI, mOutputURI.c_str());
    }
    gtk_print_unix_dialog_set_settings(GTK_PRINT_UNIX_DIALOG(dialog), settings);
    g_object_unref(settings);
    auto* response = new ResponseContext{&mDialog, &mChosenFile};
    g_signal_connect_data(dialog, "response", G_CALLBACK(OnResponse), response,
                          [](gpointer data, GClosure*) { delete static_cast<ResponseContext*>(data); },
                          GConnectFlags(0));
    if (GtkWidget* notebook = FindNotebook(dialog))
        gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook),
                                      gtk_notebook_page_num(GTK_NOTEBOOK(notebook), tab));
    gtk_widget_show(dialog);
    return true;
}

bool HostGui::Screenshot(const std::string& png, std::string& error) {
    GtkWidget* shown = mPrintDialog ? static_cast<GtkWidget*>(mPrintDialog) : nullptr;
    if (!HIGtkWaitUntilShown(mDialog.Window(), 10)) {
        error = "the pane was not shown within 10 s";
        return false;
    }
    // Let GTK finish what it animates (a check box being ticked) before the picture.
    HIGtkRunFor(0.3);
    if (shown == nullptr) {
        if (HIGtkWriteScreenshot(mDialog.Window(), png.c_str()) != noErr) {
            error = "cannot write " + png;
            return false;
        }
        return true;
    }
    GdkWindow* window = gtk_widget_get_window(shown);
    GdkPixbuf* picture =
        window ? gdk_pixbuf_get_from_window(window, 0, 0, gdk_window_get_width(window),
                                            gdk_window_get_height(window))
               : nullptr;
    bool ok = picture && gdk_pixbuf_save(picture, png.c_str(), "png", nullptr, nullptr);
    if (picture)
        g_object_unref(picture);
    if (!ok)
        error = "cannot write " + png;
    return ok;
}
