//===- PigmentorErrorsReport.cpp - Status texts shown in an alert ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
// The status texts are the colour model's, the alert is the dialogs': the one function that
// joins them lives here, so that the colour library never depends on the user interface.
#include "PigmentorErrors.h"

#include "UI_QRVAlert.h"

unsigned long PigmentorErrors::ReportPigmentorError(unsigned long code, WindowRef window) {
    // A code without a key would fall back to the text of code 101 formatted with the code,
    // but 101 has no key either (PigmentorErrorKey): such a code shows nothing.
    CFStringRef text = PigmentorErrorString(code);
    if (text == nullptr)
        return 0;
    // An error is acknowledged, not decided: OK alone.
    const unsigned long answer = UI_QRVAlert::TellUser(text, kQRVAlertNoCancel, window);
    CFRelease(text);
    return answer;
}
