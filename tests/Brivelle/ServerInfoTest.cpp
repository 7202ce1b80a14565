// Server information over a real server: devices, names, trays, colorants, messages, jobs.
#include "BrivelleTest.h"

#include <Attributes.h>
#include <DeviceColorInfo.h>
#include <ServerDevice.h>
#include <ServerInfo.h>
#include <TrayInfo.h>

#include <cstring>

namespace {

struct ExpectedTray {
    const char* name;
    const char* media;
    const char* type;
    int capacity;
    int level;
};

void ExpectTray(const TrayInfo* tray, const ExpectedTray& expected) {
    ASSERT_NE(tray, nullptr);
    SCOPED_TRACE(expected.name);
    EXPECT_EQ(Text(tray->GetTrayName()), expected.name);
    EXPECT_EQ(Text(tray->GetMediaName()), expected.media);
    EXPECT_EQ(Text(tray->GetMediaType()), expected.type);
    EXPECT_EQ(tray->GetMaxCapacity(), expected.capacity);
    EXPECT_EQ(tray->GetCurrentLevel(), expected.level);
}

/// A server with one device whose trays leave things out: the file says two trays while
/// only one tray record exists; the first tray reports a level of -1 and no media at all.
const char* const kSparseServer = R"({
  "server": {"name": "Sparse"},
  "locales": {"default": "en_US", "list": ["en_US"]},
  "encodings": {"default": "UTF-8", "list": ["UTF-8"]},
  "devices": [
    {"name": "Sparse One", "attributes": {"vidInputNumOfTrays": 2},
     "trays": [{"name": "", "max_capacity": 40, "level": -1}],
     "colorants": [{"name": "Black", "capacity": 10, "level": 3}]},
    {"name": "No Trays"}
  ]
})";

} // namespace

class BrivelleServerInformation : public ServerTest {};

TEST_F(BrivelleServerInformation, CountsAndNamesTheDevices) {
    StartServer();
    Brivelle& connection = Connect();
    ServerInfo* info = connection.GetServerInfoObject();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->IsOpen());
    EXPECT_EQ(info->GetNumberOfDevices(), 2);
    EXPECT_EQ(info->CountPrettyNames(), -1);
    EXPECT_EQ(info->GetPrettyNameIndex(0), nullptr);
    ASSERT_TRUE(info->GetPrettyNames());
    EXPECT_EQ(info->GetLastError(), 0);
    ASSERT_EQ(info->CountPrettyNames(), 2);
    EXPECT_STREQ(info->GetPrettyNameIndex(0), kC5000);
    EXPECT_STREQ(info->GetPrettyNameIndex(1), "Tarvo M200");
    EXPECT_EQ(info->GetPrettyNameIndex(2), nullptr);
    EXPECT_EQ(info->GetPrettyNameIndex(-1), nullptr);
    ASSERT_TRUE(info->GetPrettyNames()); // a second fetch replaces the first
    EXPECT_EQ(info->CountPrettyNames(), 2);
    EXPECT_EQ(info->GetNumberOfJobs(), 3);
    EXPECT_EQ(info->GetNumberOfJobs(), 3);
    EXPECT_EQ(info->FetchDeviceInfo(2), nullptr);
    EXPECT_EQ(info->FetchDeviceInfo(-1), nullptr);
}

TEST_F(BrivelleServerInformation, ReadsTenTraysWithLocalisedTextsAndLimitedLevels) {
    StartServer();
    Brivelle& connection = Connect();
    OpenLocalization();
    ServerInfo* info = connection.GetServerInfoObject();
    ASSERT_NE(info, nullptr);
    testing::internal::CaptureStderr();
    ServerDevice* device = info->FetchDeviceInfo(0);
    std::string console = testing::internal::GetCapturedStderr();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->GetDeviceIndex(), 0);
    EXPECT_TRUE(device->TraysFetched());
    EXPECT_TRUE(device->ColorsFetched());
    EXPECT_FALSE(device->IsLoaded());
    ASSERT_EQ(device->GetTrayCount(), 10); // the server has 12
    ExpectTray(device->GetTrayInfo(0), {"Tray 1", "Plain Paper", "Plain Paper", 550, 320});
    ExpectTray(device->GetTrayInfo(1), {"Tray 2", "Coated Paper", "Coated Paper", 550, 550});
    // No media name of its own: the device's "vidMedia3Name" keyword.
    ExpectTray(device->GetTrayInfo(2), {"Tray 3", "Heavy Paper", "Heavy Paper", 550, 80});
    // Neither media attribute: the tray record's first media; no type; 120 sheets in 100.
    ExpectTray(device->GetTrayInfo(3), {"Bypass Tray", "Transparency", "unknown", 100, 100});
    ExpectTray(device->GetTrayInfo(9), {"Inserter Bin 4", "Cover Stock", "Heavy Paper", 250, 90});
    EXPECT_EQ(device->GetTrayInfo(10), nullptr);
    EXPECT_EQ(device->GetTrayInfo(-1), nullptr);
    // Read once, then reread by the update: the limiting shows each time.
    const std::string limiting =
        "TrayInfo::SetTrayLevel currentLevel 120 > mMaxCapacity 100, limiting\n";
    EXPECT_EQ(console, limiting + limiting);

    ASSERT_EQ(device->GetColorCount(), 4);
    const char* names[] = {"Cyan", "Magenta", "Yellow", "Black"};
    const int levels[] = {64, 71, 12, 104};
    int i = 0;
    for (auto it = device->ColorInfoBegin(); it != device->ColorInfoEnd(); ++it, ++i) {
        EXPECT_EQ(Text((*it)->GetColorName()), names[i]);
        EXPECT_EQ((*it)->GetMaxCapacity(), 100);
        EXPECT_EQ((*it)->GetCurrentLevel(), levels[i]);
    }
    EXPECT_EQ(device->GetColorInfo(4), nullptr);
    int trays = 0;
    for (auto it = device->TrayInfoBegin(); it != device->TrayInfoEnd(); ++it)
        ++trays;
    EXPECT_EQ(trays, 10);

    testing::internal::CaptureStderr();
    EXPECT_EQ(info->FetchDeviceInfo(0), device); // refreshed, not rebuilt
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(device->GetTrayCount(), 10);
    EXPECT_EQ(device->GetColorCount(), 4);
}

TEST_F(BrivelleServerInformation, WithoutALocalisationSessionTraysShowTheServersKeywords) {
    StartServer();
    Brivelle& connection = Connect();
    ServerDevice* device = connection.GetServerInfoObject()->FetchDeviceInfo(1);
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->GetTrayCount(), 2);
    ExpectTray(device->GetTrayInfo(0), {"TRAY1", "PLAIN", "PLAIN", 250, 180});
    ExpectTray(device->GetTrayInfo(1), {"BYPASS", "Plain", "PLAIN", 50, 0});
}

TEST_F(BrivelleServerInformation, MessagesAreCopiedOutWithEmptyOnesForMissing) {
    StartServer();
    Brivelle& connection = Connect();
    ServerInfo* info = connection.GetServerInfoObject();
    testing::internal::CaptureStderr(); // the bypass tray's limiting
    ServerDevice* first = info->FetchDeviceInfo(0);
    ServerDevice* second = info->FetchDeviceInfo(1);
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(first && second);
    char a[ServerDevice::kMessageSize];
    char b[ServerDevice::kMessageSize];
    ASSERT_EQ(first->GetMessages(a, b), 0);
    EXPECT_STREQ(a, "Ready to print");
    EXPECT_STREQ(b, "Yellow toner low");
    std::strcpy(b, "stale");
    ASSERT_EQ(second->GetMessages(a, b), 0);
    EXPECT_STREQ(a, "Ready to print");
    EXPECT_STREQ(b, "");
}

TEST_F(BrivelleServerInformation, MissingTrayTextsReadAsUnknown) {
    TempFile description(kSparseServer);
    StartServer({}, description.Path());
    Brivelle& connection = Connect();
    OpenLocalization();
    ServerInfo* info = connection.GetServerInfoObject();
    ASSERT_EQ(info->GetNumberOfDevices(), 2);
    ServerDevice* sparse = info->FetchDeviceInfo(0);
    ASSERT_NE(sparse, nullptr);
    ASSERT_EQ(sparse->GetTrayCount(), 2);
    // Tray 1: an empty name, no media, level -1 (left at 0).
    ExpectTray(sparse->GetTrayInfo(0), {"unknown", "unknown", "unknown", 40, 0});
    // Tray 2: no attributes and no tray record at all.
    ExpectTray(sparse->GetTrayInfo(1), {"unknown", "unknown", "unknown", 0, 0});
    ASSERT_EQ(sparse->GetColorCount(), 1);
    EXPECT_EQ(sparse->GetColorInfo(0)->GetCurrentLevel(), 3);

    ServerDevice* bare = info->FetchDeviceInfo(1);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->GetTrayCount(), 0);
    EXPECT_EQ(bare->GetColorCount(), 0);
    EXPECT_TRUE(bare->ColorsFetched());
}

TEST_F(BrivelleServerInformation, AServerWithoutDevicesHasNoNames) {
    TempFile description(R"({"server": {"name": "Empty"},
      "locales": {"default": "en_US", "list": ["en_US"]},
      "encodings": {"default": "UTF-8", "list": ["UTF-8"]}})");
    StartServer({}, description.Path());
    Brivelle& connection = Connect();
    ServerInfo* info = connection.GetServerInfoObject();
    EXPECT_EQ(info->GetNumberOfDevices(), 0);
    EXPECT_TRUE(info->GetPrettyNames());
    EXPECT_EQ(info->CountPrettyNames(), 0);
    EXPECT_EQ(info->GetPrettyNameIndex(0), nullptr);
    EXPECT_EQ(info->FetchDeviceInfo(0), nullptr);
    EXPECT_EQ(info->GetNumberOfJobs(), 0);
}

TEST_F(BrivelleServerInformation, AttributesReadTextsNumbersAndDumpScopes) {
    StartServer();
    Brivelle& connection = Connect();
    Attributes attributes(&connection);
    EXPECT_FALSE(attributes.IsOpen());
    ASSERT_EQ(attributes.OpenSession(), 0);
    EXPECT_TRUE(attributes.IsOpen());
    EXPECT_EQ(attributes.GetTrayCount(0), 12);
    EXPECT_EQ(attributes.GetTrayCount(1), 2);
    EXPECT_EQ(attributes.GetAttributeSingleAsInt("vidDeviceModel", 0), 0); // not a number
    EXPECT_EQ(attributes.GetAttributeSingleAsInt("vidNoSuchThing", 0), 0);
    EXPECT_EQ(TakeText(attributes.GetAttributeSingleAsCFString("vidDeviceModel", 0, false)),
              "Tarvo C5000");
    EXPECT_EQ(attributes.GetAttributeSingleAsCFString("vidNoSuchThing", 0, true), nullptr);
    EXPECT_EQ(TakeText(attributes.GetAttributeSingleAsCFString("vidServerState", -1, true)),
              "IDLE"); // no text for it: the value itself

    testing::internal::CaptureStderr();
    attributes.CheckScopes(1);
    std::string dump = testing::internal::GetCapturedStderr();
    EXPECT_NE(dump.find("vidDeviceModel\t\tTarvo M200\n"), std::string::npos);
    EXPECT_NE(dump.find("vidMarkerColorant4Value\t\tBlack\n"), std::string::npos);
    EXPECT_EQ(attributes.CloseSession(), 0);
    EXPECT_FALSE(attributes.IsOpen());
    EXPECT_EQ(attributes.CloseSession(), T10_ERR_BAD_SESSION); // closed whether open or not
}
