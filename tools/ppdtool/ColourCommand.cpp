//===- ColourCommand.cpp - ppdtool colour ---------------------------------===//
#include "ColourCommand.h"

#include "BundleResources.h"
#include "ColourReport.h"
#include "ToolSupport.h"

#include "ExpertColorFeatures.h"
#include "PigmentorBooleanItem.h"
#include "PigmentorData.h"
#include "PigmentorItem.h"
#include "PigmentorPPDItemList.h"
#include "PigmentorPaneItemList.h"

#include "PDEBundle.h"
#include "PDEIdentity.h"
#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"
#include "QRVPPD.h"

#include <CoreFoundation/PMCFUtilities.h>
#include <PrintCore/PMHost.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

const int kExitValid = 0;
const int kExitInvalid = 1;
const int kExitUsage = 2;

struct Options {
    const char* path = nullptr;
    const char* server = nullptr;
    const char* mode = nullptr;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<const char*> accepted;
};

int usageError(const std::string& problem, const char* usage) {
    std::fprintf(stderr, "ppdtool: %s\n%s", problem.c_str(), usage);
    return kExitUsage;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "ppdtool: %s\n", message.c_str());
    return kExitUsage;
}

/// Fills `options` from the arguments after "colour"; an empty string, or the problem.
std::string parse(int argc, char** argv, Options& options) {
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--server") == 0 && hasValue && !options.server) {
            options.server = argv[++i];
            if (!*options.server)
                return "--server takes an address";
        } else if (std::strcmp(arg, "--mode") == 0 && hasValue && !options.mode) {
            options.mode = argv[++i];
            if (std::strcmp(options.mode, "standard") != 0 &&
                std::strcmp(options.mode, "expert") != 0 &&
                std::strcmp(options.mode, "grayscale") != 0)
                return "--mode takes standard, expert or grayscale";
        } else if (std::strcmp(arg, "--set") == 0 && hasValue) {
            const char* assignment = argv[++i];
            const char* equals = std::strchr(assignment, '=');
            if (!equals || equals == assignment)
                return "--set takes KEYWORD=VALUE";
            options.values.emplace_back(std::string(assignment, equals), std::string(equals + 1));
        } else if (std::strcmp(arg, "--accept") == 0 && hasValue) {
            options.accepted.push_back(argv[++i]);
        } else if (arg[0] != '-' && !options.path) {
            options.path = arg;
        } else {
            return std::string("unexpected argument ") + arg;
        }
    }
    return options.path ? std::string() : "colour takes a file";
}

/// The plug-in bundle, made the default bundle of the localised strings for the object's
/// lifetime (the pane's titles and the error texts come from its tables).
class DefaultBundle {
public:
    DefaultBundle() {
        std::string path = PluginBundleDirectory();
        CFURLRef url = path.empty() ? nullptr
                                    : CFURLCreateFromFileSystemRepresentation(
                                          kCFAllocatorDefault,
                                          reinterpret_cast<const UInt8*>(path.c_str()),
                                          static_cast<CFIndex>(path.size()), true);
        if (url) {
            mBundle = CFBundleCreate(kCFAllocatorDefault, url);
            CFRelease(url);
        }
        PDEBundle::InitBundle(mBundle);
    }
    ~DefaultBundle() {
        PDEBundle::InitBundle(nullptr);
        if (mBundle)
            CFRelease(mBundle);
    }
    DefaultBundle(const DefaultBundle&) = delete;
    DefaultBundle& operator=(const DefaultBundle&) = delete;

private:
    CFBundleRef mBundle = nullptr;
};

/// A print session whose current printer is named after the model and has the PPD `path`.
class PrintSession {
public:
    PrintSession(const char* path, const char* printerName) {
        CFStringRef name = PMCFStringCreateWithUTF8(printerName && *printerName ? printerName
                                                                                 : "ppdtool");
        CFStringRef ppd = PMCFStringCreateWithUTF8(path);
        PMHostPrinterDescription description = {name, nullptr, ppd, nullptr, nullptr, true};
        if (name && ppd && PMHostCreatePrinter(&description, &mPrinter) == noErr)
            PMHostCreateSession(mPrinter, &mSession);
        for (CFStringRef s : {name, ppd})
            if (s)
                CFRelease(s);
    }
    ~PrintSession() {
        if (mSession)
            PMRelease(mSession);
        if (mPrinter)
            PMRelease(mPrinter);
    }
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;
    PMPrintSession Get() const { return mSession; }

private:
    PMPrinter mPrinter = nullptr;
    PMPrintSession mSession = nullptr;
};

CFStringRef localised(const char* key) {
    CFStringRef k = PMCFStringCreateWithUTF8(key);
    CFStringRef text = k ? PDEBundle::GetLocalizedCFString(k) : nullptr;
    if (!text && k)
        return k; // no bundle: the key itself, as a missing text shows
    if (k)
        CFRelease(k);
    return text;
}

/// What the pane's print-mode buttons do: select the print-mode item, reset the expert
/// features for standard and grayscale, and record the mode with its localised title.
void applyMode(PigmentorData& data, const char* mode) {
    ColorModeValues selection = kColorModeStandard;
    int value = kPrintModeStandard;
    const char* title = "Standard Color";
    bool defaults = true;
    if (std::strcmp(mode, "expert") == 0) {
        // The expert mode prints with the standard item; its settings are the expert dialog's.
        value = kPrintModeExpert;
        title = "Expert Color";
        defaults = false;
    } else if (std::strcmp(mode, "grayscale") == 0) {
        selection = kColorModeGrayscale;
        value = kPrintModeGrayscale;
        title = "Grayscale";
    }
    data.SetColorMode(selection);
    if (PigmentorPPDItemList* expert = defaults ? data.GetExpertColorFeaturesList() : nullptr)
        expert->setToDefaults();
    CFStringRef text = localised(title);
    data.SetColorModeValue(text, value);
    if (text)
        CFRelease(text);
}

/// Sets the colour item of feature keyword `keyword` to the value of option keyword `value`
/// (a boolean item takes "True" or "False"); false after a message when either is unknown.
bool applyValue(PigmentorData& data, const std::string& keyword, const std::string& value) {
    PigmentorItem* item = nullptr;
    if (PigmentorPPDItemList* expert = data.GetExpertColorFeaturesList())
        item = expert->findByKeyword(keyword.c_str());
    if (!item)
        if (PigmentorPaneItemList* pane = data.GetPigmentorPaneItemList())
            item = pane->findByKeyword(keyword.c_str());
    if (!item) {
        failure("no colour item " + keyword);
        return false;
    }
    long position;
    if (dynamic_cast<PigmentorBooleanItem*>(item))
        position = value == "True" ? 1 : value == "False" ? 0 : -1;
    else
        position = item->getValueByKeyword(value.c_str());
    if (position < 0 || (position == 0 && !dynamic_cast<PigmentorBooleanItem*>(item))) {
        failure("colour item " + keyword + " has no value " + value);
        return false;
    }
    item->setValue(static_cast<unsigned long>(position));
    return true;
}

} // namespace

int ColourCommand(int argc, char** argv, const char* usage) {
    Options options;
    std::string problem = parse(argc, argv, options);
    if (!problem.empty())
        return usageError(problem, usage);
    CFURLRef url = createFileURL(options.path);
    if (!url)
        return failure(std::string(options.path) + ": no such file");
    CFMutableArrayRef names = options.accepted.empty() ? nullptr : createNames(options.accepted);
    QRVPPD* model;
    {
        ConsoleToStandardError quiet;
        model = new QRVPPD(url, kShowAll, names);
    }
    if (names)
        CFRelease(names);
    CFRelease(url);

    int status = kExitUsage;
    {
        DefaultBundle bundle;
        char absolute[PATH_MAX];
        const char* ppdPath = realpath(options.path, absolute) ? absolute : options.path;
        PrintSession session(ppdPath, model->ModelName());
        if (!session.Get()) {
            model->Release();
            return failure(std::string(options.path) + ": no print session for it");
        }
        PrintSettingsTicket settings(session.Get());
        CFStringRef key = CreatePostscriptDataFileKey();
        QRVJobTicket jobTicket(&settings, key);
        if (key)
            CFRelease(key);
        PigmentorData* data;
        {
            ConsoleToStandardError quiet;
            data = new PigmentorData(session.Get(), model, jobTicket, options.server != nullptr,
                                     options.server);
            // The controller fetches in the background; the pane waits for 'QVFe', we join.
            if (ExpertColorFeatures* features = data->GetExpertColorFeatures())
                features->cancelExpertColorFeaturesAsync();
        }
        CFStringRef printMode = localised("Print Mode");
        data->SetPrintModeTitle(printMode);
        if (printMode)
            CFRelease(printMode);
        if (options.mode)
            applyMode(*data, options.mode);
        bool applied = true;
        for (const auto& value : options.values)
            applied = applied && applyValue(*data, value.first, value.second);
        if (applied) {
            WriteColourReport(*data, jobTicket, stdout);
            status = data->Valid() ? kExitValid : kExitInvalid;
        }
        delete data;
    }
    model->Release();
    return status;
}
