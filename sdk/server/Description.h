//===- Description.h - What tovrane-server serves ---------------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_SERVER_DESCRIPTION_H
#define TOVRANE_SERVER_DESCRIPTION_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// The print server a description file describes: its features, job count, locales,
/// encodings and localised strings, and per device the attributes, trays, colorants,
/// messages, colour-default keys, profiles and device links. Built once by
/// `LoadDescription`, then only read (by any number of threads). Texts are UTF-8.
namespace tovrane::server {

struct Attribute {
    std::string name;
    int32_t kind = 0;                ///< 0 text, 1 integer, 2 keyword (as the SDK numbers them)
    std::vector<std::string> values; ///< at least one
};

struct Tray {
    std::string name;
    int32_t maxCapacity = 0;
    int32_t level = 0;
    std::string mediaName; ///< "" when the tray reports none
    std::string mediaType; ///< "" when the tray reports none
    std::vector<std::string> media;
};

struct Colorant {
    std::string name;
    int32_t capacity = 0;
    int32_t level = 0;
};

struct ColourKey {
    std::string key;
    bool hasDefault = false;
    std::string defaultValue;
    std::vector<std::string> values;
};

struct Profile {
    std::string id;
    std::vector<std::string> descriptions;
};

struct DeviceLink {
    std::string source;
    std::string destination;
    std::string name;
    int32_t intents = 0;
};

struct Device {
    std::string name;                  ///< the pretty name, also what colour sessions open on
    std::vector<Attribute> attributes; ///< given ones, then those made from trays and colorants
    std::vector<Tray> trays;
    bool hasTrays = false; ///< a device without a "trays" member reports no tray count
    std::vector<Colorant> colorants;
    bool hasMessage[2] = {false, false};
    std::string messages[2];
    std::vector<ColourKey> colourDefaults;
    std::vector<Profile> profiles;
    std::vector<DeviceLink> links;
};

/// Localised strings of one locale: (context, key) to text; context "" is none.
using StringTable = std::map<std::pair<std::string, std::string>, std::string>;

struct Description {
    std::string serverName;
    std::vector<Attribute> serverAttributes;
    std::vector<std::pair<std::string, std::string>> features;
    int32_t jobCount = 0;
    std::string defaultLocale;
    std::vector<std::string> locales;
    std::string defaultEncoding;
    std::vector<std::string> encodings;
    std::map<std::string, StringTable> strings; ///< by locale
    std::vector<Device> devices;
};

/// Reads a description from JSON text. False, with `error` saying what and where, for
/// anything malformed or beyond the protocol's bounds (the default locale and encoding must
/// be in their lists; every string table must be of a listed locale).
bool LoadDescription(std::string_view text, Description& out, std::string& error);

} // namespace tovrane::server

#endif // TOVRANE_SERVER_DESCRIPTION_H
