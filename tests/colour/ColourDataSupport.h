// Helpers of the colour data controller's tests: small colour PPDs written on the fly, a
// controller over a print session with its job ticket (the background fetch joined), and the
// job ticket's entries read back.
#ifndef PIGMENTOR_TESTS_COLOURDATASUPPORT_H
#define PIGMENTOR_TESTS_COLOURDATASUPPORT_H

#include "PDETestSupport.h"

#include "ExpertColorFeatures.h"
#include "PigmentorData.h"

#include "PPDXControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"
#include "QRVPPD.h"

#include <memory>
#include <string>
#include <vector>

/// What a small colour PPD holds.
struct ColourPPD {
    std::string page = "QVPPTarvoPrint";
    std::string group = "TPPigmentor";
    /// "*%QRVParent" kind of the colour group.
    std::string groupKind = "Rolldown";
    /// Print-mode items as keyword/name pairs; none: no print-mode control.
    std::vector<std::pair<std::string, std::string>> modes = {{"CMYK", "Color"},
                                                              {"Grayscale", "Gray"}};
    std::vector<std::string> specialOptions;
    /// Expert popups: keyword and the length of its one item's code.
    std::vector<std::pair<std::string, size_t>> experts = {{"*QVRGBSep", 20}};

    std::string Text() const {
        std::string t = "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                        "*LanguageEncoding: ISOLatin1\n*LanguageVersion: English\n"
                        "*PCFileName: \"TEST.PPD\"\n*ModelName: \"Test\"\n"
                        "*ShortNickName: \"Test\"\n*NickName: \"Test\"\n";
        t += "*%QRVPropPage " + page + "/Color: True|Prop\n";
        t += "*%QRVGroupName TPSPrint/Options: True\n";
        t += "*%QRVGroupName " + group + "/Color: True\n";
        t += "*%QRVParent TPSPrint/" + page + ": True|Scrollpane\n";
        t += "*%QRVParent " + group + "/TPSPrint: True|" + groupKind + "\n";
        for (const std::string& s : specialOptions)
            t += "*%QRVSpecialOption " + s + ": True\n";
        if (!modes.empty()) {
            t += Block("*QVColorMode", "Print Mode", modes.front().first);
            for (const auto& [keyword, name] : modes)
                t += "*QVColorMode " + keyword + "/" + name + ": \"(" + keyword + ") setmode\"\n";
            t += "*CloseUI: *QVColorMode\n";
        }
        for (const auto& [keyword, length] : experts) {
            t += Block(keyword, keyword.substr(3), "A");
            t += keyword + " A/A: \"" + Code(length) + "\"\n";
            if (length > 80)
                t += "*End\n";
            t += "*CloseUI: " + keyword + "\n";
        }
        return t;
    }

    /// `length` bytes of PostScript comment lines, each under the PPD's 255-byte line limit.
    static std::string Code(size_t length) {
        std::string code;
        while (code.size() < length) {
            size_t left = length - code.size();
            code += left > 80 ? "%" + std::string(78, 'x') + "\n" : "%" + std::string(left - 1, 'x');
        }
        return code;
    }

private:
    std::string Block(const std::string& keyword, const std::string& name,
                      const std::string& choice) const {
        std::string main = keyword.substr(1);
        return "*%QRVFlags " + keyword + ": MacTJN\n*%QRVGroup " + keyword + " " + group +
               "/Color\n*OpenUI " + keyword + "/" + name + ": PickOne\n*Default" + main + ": " +
               choice + "\n";
    }
};

/// One site and fragment of a job ticket.
struct Injection {
    int site;
    std::string data;
    bool operator==(const Injection& o) const { return site == o.site && data == o.data; }
};

inline std::vector<Injection> Injections(const QRVJobTicket& ticket) {
    std::vector<Injection> entries;
    CFArrayRef array = ticket.Injections();
    for (CFIndex i = 0; array && i + 1 < CFArrayGetCount(array); i += 2) {
        SInt32 site = 0;
        CFNumberGetValue(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(array, i)),
                         kCFNumberSInt32Type, &site);
        auto data = static_cast<CFDataRef>(CFArrayGetValueAtIndex(array, i + 1));
        entries.push_back({site, std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                                             static_cast<size_t>(CFDataGetLength(data)))});
    }
    return entries;
}

/// The control `keyword` of `model`, whatever the display options.
inline PPDXControl* ControlOf(QRVPPD* model, const char* keyword) {
    ScopedDisplayOptions all(kShowAll);
    CNTL_TYPE type;
    return model->GetControls()->Find(keyword, type, true);
}

/// The feature code `control` writes, measured and then written.
inline std::string CodeOf(PPDXControl* control) {
    std::string code(static_cast<size_t>(control->PostScript(nullptr)), '\0');
    if (!code.empty())
        control->PostScript(reinterpret_cast<unsigned char*>(&code[0]));
    return code;
}

/// A controller over a print session for a PPD file, with $HOME in a scratch folder (the
/// address list lives there). Open may be called again; the old controller goes first.
class ColourDataHarness {
public:
    ColourDataHarness() : mHome("HOME", mScratch.path) {}
    ~ColourDataHarness() { Close(); }

    /// Writes `ppd` into the scratch folder and opens it.
    PigmentorData& OpenText(const std::string& ppd, bool twoWay = false,
                            const char* server = nullptr) {
        mScratch.Write("test.ppd", ppd);
        return Open(mScratch / "test.ppd", twoWay, server);
    }

    /// With `join` false the background fetch may still be running on return.
    PigmentorData& Open(const std::string& path, bool twoWay = false,
                        const char* server = nullptr, bool join = true) {
        Close();
        if (!mSession || mSessionPath != path) {
            mSession = std::make_unique<TestSession>(path);
            mSessionPath = path;
        }
        Owned<CFURLRef> url(FileURL(path));
        mModel = new QRVPPD(url, kShowAll, nullptr);
        mSettings = std::make_unique<PrintSettingsTicket>(mSession->Get());
        Owned<CFStringRef> key(CreatePostscriptDataFileKey());
        mTicket = std::make_unique<QRVJobTicket>(mSettings.get(), key);
        mData = std::make_unique<PigmentorData>(mSession->Get(), mModel, *mTicket, twoWay, server);
        // The pane waits for the fetch's 'QVFe'; here the finished fetch is joined.
        if (ExpertColorFeatures* features = mData->GetExpertColorFeatures(); features && join)
            features->cancelExpertColorFeaturesAsync();
        return *mData;
    }

    /// A fresh job ticket over the same print settings.
    QRVJobTicket& NewTicket() {
        Owned<CFStringRef> key(CreatePostscriptDataFileKey());
        mTicket = std::make_unique<QRVJobTicket>(mSettings.get(), key);
        return *mTicket;
    }

    void Close() {
        mData.reset();
        mTicket.reset();
        if (mModel)
            mModel->Release();
        mModel = nullptr;
    }

    PigmentorData& Data() { return *mData; }
    QRVPPD* Model() const { return mModel; }
    QRVJobTicket& Ticket() { return *mTicket; }
    PrintSettingsTicket& Settings() { return *mSettings; }
    PMPrintSession Session() const { return mSession->Get(); }
    const Scratch& Folder() const { return mScratch; }

private:
    Scratch mScratch;
    ScopedEnv mHome;
    std::unique_ptr<TestSession> mSession;
    std::string mSessionPath;
    QRVPPD* mModel = nullptr;
    std::unique_ptr<PrintSettingsTicket> mSettings;
    std::unique_ptr<QRVJobTicket> mTicket;
    std::unique_ptr<PigmentorData> mData;
};

#endif // PIGMENTOR_TESTS_COLOURDATASUPPORT_H
