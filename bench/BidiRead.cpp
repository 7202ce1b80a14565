//===- BidiRead.cpp - The two-way colour read, end to end -----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "BidiRead.h"

#include <Brivelle.h>
#include <ColrSession.h>
#include <KeywordContainer.h>
#include <Localization.h>
#include <MenuItemsTriplet.h>
#include <PigmentorSession.h>
#include <ServerFeatures.h>
#include <ServerInfo.h>

#include <cstring>
#include <vector>

namespace {

/// The option keywords of `keyword`'s settings, in server order (none when it is absent).
std::vector<std::string> Values(PigmentorSession* defaults, const char* keyword) {
    std::vector<std::string> values;
    if (KeywordContainer* container = defaults->GetKeywordObject(keyword))
        for (auto it = container->FirstSetting(); it != container->EndSetting(); ++it)
            if (it->GetKeyword())
                values.push_back(it->GetKeyword());
    return values;
}

/// Asks for the link of every (source, output) value pair, as the list gathers its links.
void GatherLinks(ColrSession* profiles, const std::vector<std::string>& sources,
                 const std::vector<std::string>& outputs, ColourReadResult& result) {
    for (const std::string& source : sources) {
        for (const std::string& output : outputs) {
            char link[256];
            CFStringRef display = nullptr;
            ++result.pairs;
            if (profiles->GetDeviceLinkNameByKeywords(source.c_str(), output.c_str(), link,
                                                      &display))
                ++result.links;
            if (display)
                CFRelease(display);
        }
    }
}

} // namespace

ColourReadResult RunColourRead(const char* address) {
    ColourReadResult result;
    Brivelle connection(address, 0);
    if (!(result.connected = connection.ConnectToServer(false, false)))
        return result;

    // Features, then the first device's name, then encodings and languages.
    if (ServerFeatures* features = connection.GetFeaturesObject()) {
        result.features = features->GetFeatureCount();
        result.supportsColour = features->SupportsPigmentor();
    }
    ServerInfo* info = connection.GetServerInfoObject();
    if (!info || !info->GetPrettyNames() || !info->GetPrettyNameIndex(0))
        return result;
    result.device = info->GetPrettyNameIndex(0);
    if (CFArrayRef encodings = connection.GetEncodings())
        result.encodings = static_cast<int>(CFArrayGetCount(encodings));
    if (CFArrayRef languages = connection.GetLanguages())
        result.languages = static_cast<int>(CFArrayGetCount(languages));

    // The colour settings, read with the localisation session open.
    PigmentorSession* defaults = connection.GetPigmentorObject(nullptr);
    Localization* localization = connection.GetLocalizationObject();
    if (!defaults || !localization)
        return result;
    defaults->OpenSession(result.device.c_str());
    localization->OpenSession(0);
    localization->CacheStrings();
    defaults->GetColorSettings();
    localization->CloseSession();
    defaults->CloseSession();
    for (auto it = defaults->KeywordObjectBegin(); it != defaults->KeywordObjectEnd(); ++it)
        ++result.keywords;

    // Device links: RGB sources and CMYK simulations against the output profiles.
    ColrSession* profiles = connection.GetColrObject(nullptr);
    if (!profiles)
        return result;
    profiles->OpenSession(result.device.c_str());
    std::vector<std::string> outputs = Values(defaults, "*QVOutProfile");
    GatherLinks(profiles, Values(defaults, "*QVRGBOverride"), outputs, result);
    GatherLinks(profiles, Values(defaults, "*QVSimulation"), outputs, result);
    profiles->CloseSession();
    return result;
}
