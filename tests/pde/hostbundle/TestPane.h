// The pane of the host test bundle: a small but complete print-dialog extension that pde-host
// and the plug-in entry are tested with while the colour pane is built. The pane: a mode popup
// 'tpop' 1 (Fast, Fine, Draft), a check box 'tchk' 1, a status text 'stat' 1, a "Note..."
// button with command 'Note' and a "Fetch" button with command 'Ftch'; its NIB "TestPane"
// holds the dialog "Note" (an edit text 'ttxt' 1 with OK and Cancel).
//
// Initialize needs a printer information ticket with the compiled-PPD item (else 1), makes the
// controls in the parent user pane, loads the saved choices (sync true) and handles the pane
// window's commands: 'Note' runs the note dialog modally (OK keeps the text), 'Ftch' sends the
// window the event 'QVFs' 1 and starts a worker that posts 'QVFe' to the window after a short
// while; 'QVFe' joins it and shows
// "Fetched" in the status text.
// Sync false writes "<id>.ColorMode" (the mode's title), the state as an XML property list
// under "<id>" and a job ticket (site 81: the mode's feature code, site -9: the note); sync
// true reads that state back. Summary: "Mode" and "Smoothing" lines. Main thread, except the
// fetch worker, which only sleeps and posts.
#ifndef PIGMENTOR_TESTS_PDE_TESTPANE_H
#define PIGMENTOR_TESTS_PDE_TESTPANE_H

#include <HIToolbox/HIToolbox.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#include <string>
#include <thread>

class TestPane {
public:
    static CFStringRef BundleID();
    static CFStringRef CreateNIBName();
    enum : OSType { kCreator = 'QRVt' };
    enum : UInt32 { kPaneWidth = 525, kPaneHeight = 200 };

    TestPane();
    ~TestPane();
    TestPane(const TestPane&) = delete;
    TestPane& operator=(const TestPane&) = delete;

    bool Valid() const { return mTitle != nullptr; }
    CFStringRef Title() const { return mTitle; }
    OSStatus Initialize(PMPDEFlags* flags, PMPDERef ref, ControlRef parent, PMPrintSession session);
    OSStatus Sync(PMPrintSession session, Boolean reinitialize);
    OSStatus GetSummaryText(CFArrayRef* titles, CFArrayRef* values);
    OSStatus Open();
    OSStatus Close();

private:
    static OSStatus HandleCommand(EventHandlerCallRef, EventRef event, void* pane);
    void RunNoteDialog();
    std::string ModeTitle() const;
    ControlRef Control(OSType signature, SInt32 id) const;

    CFStringRef mTitle = nullptr;
    WindowRef mWindow = nullptr;
    ControlRef mParent = nullptr;
    EventHandlerUPP mUPP = nullptr;
    EventHandlerRef mHandler = nullptr;
    std::string mNote;
    std::thread mFetch;
};

#endif
