//===- HostGui.h - pde-host on the desktop ---------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDEHOST_HOSTGUI_H
#define PIGMENTOR_PDEHOST_HOSTGUI_H

#include "HostDialog.h"
#include "HostExtension.h"

#include <string>

/// pde-host with a display: --window shows the dialog's window itself; --gui shows the
/// desktop's own print dialog (GtkPrintUnixDialog) with the pane as a custom tab titled from
/// the extension, and a "Summary" tab with the pane's summary lines, read each time it is
/// shown. Print (or closing the plain window) ends with the final store; Cancel without it.
/// The print dialog starts with a printer selected (Preselect). Main thread.
class HostGui {
public:
    /// Starts GTK (false with `error` when there is no display).
    static bool Install(int* argc, char*** argv, std::string& error);

    HostGui(HostDialog& dialog, HostExtension& extension, PMPrintSession session);
    ~HostGui();
    HostGui(const HostGui&) = delete;
    HostGui& operator=(const HostGui&) = delete;

    /// The printer the print dialog starts with, so that Print works at once: the CUPS queue
    /// `queue` when given, else the dialog's print-to-file printer writing to `output`
    /// (absolute or relative to the working directory) or, without one, to a file in the
    /// temporary directory. Call before Show.
    void Preselect(const std::string& queue, const std::string& output);
    /// Shows the plain window (`printDialog` false) or the print dialog with the pane; the
    /// person's Print, Cancel or closing of the window ends the dialog's wait for the person.
    bool Show(bool printDialog, std::string& error);
    /// After Print with the print-to-file printer: the file the person chose in the dialog
    /// (a local path); empty for another printer or before Print.
    const std::string& ChosenFile() const { return mChosenFile; }
    /// Writes a PNG of what is shown (the print dialog at the pane's tab, or the window).
    bool Screenshot(const std::string& png, std::string& error);

private:
    HostDialog& mDialog;
    HostExtension& mExtension;
    PMPrintSession mSession;
    void* mPrintDialog = nullptr; // GtkWidget*
    void* mSummary = nullptr;     // GtkWidget* (label)
    void* mTab = nullptr;         // GtkWidget* (the pane's tab)
    void* mContent = nullptr;     // GtkWidget* (the window's content, the backend's)
    std::string mQueue, mOutputURI, mChosenFile;
    EventHandlerUPP mCloseUPP = nullptr;
    EventHandlerRef mClose = nullptr;
};

#endif
