// Small PPDs for the parse driver's tests: a header and dialog layout that every test shares,
// the body that a test is about, and helpers to read the errors back.
#ifndef PIGMENTOR_TESTS_PARSETESTSUPPORT_H
#define PIGMENTOR_TESTS_PARSETESTSUPPORT_H

#include "TestPPD.h"

#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "QRVPPD.h"

#include <string>
#include <vector>

/// Signature and header of every small PPD.
inline std::string ppdHeader() {
    return "*PPD-Adobe: \"4.3\"\n"
           "*FormatVersion: \"4.3\"\n"
           "*PCFileName: \"TEST.PPD\"\n"
           "*LanguageVersion: English\n"
           "*LanguageEncoding: ISOLatin1\n"
           "*ModelName: \"Test\"\n";
}

/// A page with a scroll pane and a roll-down "TPColor" in it.
inline std::string ppdLayout() {
    return "*%QRVPropPage PPColor/Color: True\n"
           "*%QRVGroupName TPSColor/Color Pane: True\n"
           "*%QRVGroupName TPColor/Color: True\n"
           "*%QRVParent TPSColor/PPColor: True|Scrollpane\n"
           "*%QRVParent TPColor/TPSColor: True|Rolldown\n";
}

/// A popup block placed in the roll-down "TPColor".
inline std::string popupBlock(const std::string& keyword = "*QVColorMode") {
    return "*%QRVFlags " + keyword + ": \"Command|Setup\"\n"
           "*%QRVGroup " + keyword + ": TPColor/Color\n"
           "*OpenUI " + keyword + "/Print Mode: PickOne\n"
           "*Default" + keyword.substr(1) + ": CMYK\n" +
           keyword + " CMYK/Standard Color: \"/CMYK setmode\"\n" +
           keyword + " Grayscale/Grayscale: \"/Gray setmode\"\n"
           "*CloseUI: " + keyword + "\n";
}

/// A boolean block (default False) placed in the roll-down "TPColor".
inline std::string booleanBlock(const std::string& keyword) {
    return "*%QRVFlags " + keyword + ": Setup\n*%QRVGroup " + keyword + ": TPColor/Color\n" +
           "*OpenUI " + keyword + "/B: Boolean\n*Default" + keyword.substr(1) + ": False\n" +
           keyword + " True/On: \"true\"\n" + keyword + " False/Off: \"false\"\n" +
           "*CloseUI: " + keyword + "\n";
}

/// Parses header + `body` with the given parse options; the caller releases the model.
inline QRVPPD* parsePPD(const std::string& body, _PARSE_OPTIONS_ options = kShowAll,
                        bool withHeader = true) {
    TempFile file((withHeader ? ppdHeader() : std::string()) + body);
    CFURLRef url = file.CreateURL();
    QRVPPD* ppd = new QRVPPD(url, options, nullptr);
    CFRelease(url);
    return ppd;
}

/// Parses the PPD file at `path`, checked against `accepted` names (null: any); the caller
/// releases the model.
inline QRVPPD* parseFile(const std::string& path, _PARSE_OPTIONS_ options = kShowAll,
                         CFArrayRef accepted = nullptr) {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.c_str()),
        static_cast<CFIndex>(path.size()), false);
    QRVPPD* ppd = new QRVPPD(url, options, accepted);
    CFRelease(url);
    return ppd;
}

/// Parses the example PPD `name` of examples/; the caller releases the model.
inline QRVPPD* openExample(const std::string& name, _PARSE_OPTIONS_ options = kShowAll) {
    return parseFile(std::string(PIGMENTOR_SOURCE_DIR) + "/examples/" + name, options);
}

/// The codes of the model's errors, in order.
inline std::vector<int> errorCodes(QRVPPD* ppd) {
    std::vector<int> codes;
    for (ConstPointerListItr it = ppd->GetErrors()->List().Begin();
         it != ppd->GetErrors()->List().End(); ++it)
        codes.push_back(static_cast<const PPDXErrorObj*>(*it)->Code());
    return codes;
}

/// The error with `code`, or null.
inline const PPDXErrorObj* findError(QRVPPD* ppd, int code) {
    for (ConstPointerListItr it = ppd->GetErrors()->List().Begin();
         it != ppd->GetErrors()->List().End(); ++it)
        if (static_cast<const PPDXErrorObj*>(*it)->Code() == code)
            return static_cast<const PPDXErrorObj*>(*it);
    return nullptr;
}

/// The control `keyword`, whatever the display options.
inline PPDXControl* control(QRVPPD* ppd, const char* keyword) {
    ScopedDisplayOptions all(kShowAll);
    CNTL_TYPE type;
    return ppd->GetControls()->Find(keyword, type, true);
}

#endif // PIGMENTOR_TESTS_PARSETESTSUPPORT_H
