// Small PPDs for the colour model's tests: a header, the colour roll-down, popup and boolean
// blocks, a parsed model that is released at scope exit, two-way popups made the way the
// server's keywords are put into the model, and the job's feature code read back.
#ifndef PIGMENTOR_TESTS_COLOUR_COLOURTESTSUPPORT_H
#define PIGMENTOR_TESTS_COLOUR_COLOURTESTSUPPORT_H

#include "TestScopes.h"

#include "CString.h"
#include "ExpertColorFeatures.h"
#include "PPDXPopupControl.h"
#include "PointerList.h"
#include "QRVPPD.h"
#include "_PopupItem.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace colourtest {

/// Signature and header; `encoding` is the PPD's *LanguageEncoding.
inline std::string Header(const std::string& encoding = "ISOLatin1") {
    return "*PPD-Adobe: \"4.3\"\n"
           "*FormatVersion: \"4.3\"\n"
           "*PCFileName: \"TEST.PPD\"\n"
           "*LanguageVersion: English\n"
           "*LanguageEncoding: " + encoding + "\n"
           "*ModelName: \"Test\"\n";
}

/// A page with a scroll pane and the roll-down `group` in it.
inline std::string Layout(const std::string& group = "TPPigmentor") {
    return "*%QRVPropPage QVPPTarvoPrint/Color: True\n"
           "*%QRVGroupName TPSPrint/Print: True\n"
           "*%QRVGroupName " + group + "/Color: True\n"
           "*%QRVParent TPSPrint/QVPPTarvoPrint: True|Scrollpane\n"
           "*%QRVParent " + group + "/TPSPrint: True|Rolldown\n";
}

struct Option {
    std::string keyword;
    std::string name;
    std::string code;
};

/// A popup block in `group` with `options`, the first selected by default unless given.
inline std::string PopupBlock(const std::string& keyword, const std::string& name,
                         const std::vector<Option>& options, std::string defaultKeyword = "",
                         const std::string& group = "TPPigmentor") {
    if (defaultKeyword.empty())
        defaultKeyword = options.front().keyword;
    std::string text = "*%QRVFlags " + keyword + ": Setup\n"
                       "*%QRVGroup " + keyword + ": " + group + "/Color\n"
                       "*OpenUI " + keyword + "/" + name + ": PickOne\n"
                       "*Default" + keyword.substr(1) + ": " + defaultKeyword + "\n";
    for (const Option& option : options)
        text += keyword + " " + option.keyword + "/" + option.name + ": \"" + option.code + "\"\n";
    return text + "*CloseUI: " + keyword + "\n";
}

/// A boolean block in `group` (default False unless `on`).
inline std::string BooleanBlock(const std::string& keyword, const std::string& name, bool on = false,
                           const std::string& group = "TPPigmentor") {
    return "*%QRVFlags " + keyword + ": Setup\n"
           "*%QRVGroup " + keyword + ": " + group + "/Color\n"
           "*OpenUI " + keyword + "/" + name + ": Boolean\n"
           "*Default" + keyword.substr(1) + ": " + (on ? "True" : "False") + "\n" +
           keyword + " True/On: \"" + keyword.substr(1) + " on\"\n" +
           keyword + " False/Off: \"" + keyword.substr(1) + " off\"\n"
           "*CloseUI: " + keyword + "\n";
}

/// A model parsed (parse options 3) from header + layout + body, or from a file; released
/// at scope exit.
class Model {
public:
    explicit Model(const std::string& body, const std::string& header = Header()) {
        mFolder.Write("test.ppd", header + body);
        Open(mFolder / "test.ppd");
    }
    struct FromFile {};
    Model(FromFile, const std::string& path) { Open(path); }
    ~Model() {
        if (mPPD)
            mPPD->Release();
    }
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;
    QRVPPD* get() const { return mPPD; }
    QRVPPD* operator->() const { return mPPD; }

private:
    void Open(const std::string& path) {
        Owned<CFURLRef> url(FileURL(path));
        mPPD = new QRVPPD(url, kShowAll, nullptr);
    }
    Scratch mFolder;
    QRVPPD* mPPD = nullptr;
};

/// An example PPD of the source tree.
inline std::string Example(const char* name) {
    return std::string(PIGMENTOR_SOURCE_DIR) + "/examples/" + name;
}

/// A popup control made in `group` the way the server's keywords are added, with (keyword,
/// UTF-8 name) items and `defaultKeyword` selected.
inline PPDXPopupControl* AddServerPopup(QRVPPD* model, const char* group, const char* keyword,
                                        const char* name,
                                        std::vector<std::pair<std::string, std::string>> items,
                                        const char* defaultKeyword) {
    PointerList list;
    for (auto& item : items)
        list.PushBack(new _PopupItem(
            item.first.c_str(),
            CFStringCreateWithCString(nullptr, item.second.c_str(), kCFStringEncodingUTF8),
            nullptr, 0));
    return dynamic_cast<PPDXPopupControl*>(model->PPDCreatePopupMenu(
        group, keyword, name, list, defaultKeyword ? new CString(defaultKeyword) : nullptr));
}

/// Every expert feature's code as the job gets it: a size query, then a fetch of that size,
/// until the walk ends.
inline std::vector<std::string> JobCode(ExpertColorFeatures& features) {
    std::vector<std::string> codes;
    for (int guard = 0; guard < 100; ++guard) {
        const int query = features.getPostscriptFeatureData(nullptr, 0, false);
        if (query == 0)
            break;
        const int length = query < 0 ? -query : query;
        std::string buffer(static_cast<size_t>(length), '\0');
        EXPECT_EQ(features.getPostscriptFeatureData(reinterpret_cast<unsigned char*>(&buffer[0]),
                                                    length, true),
                  length);
        codes.push_back(buffer);
    }
    return codes;
}

} // namespace colourtest

#endif // PIGMENTOR_TESTS_COLOUR_COLOURTESTSUPPORT_H
