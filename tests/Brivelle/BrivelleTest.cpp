//===- BrivelleTest.cpp - Shared set-up of the server-layer tests ---------===//
#include "BrivelleTest.h"

#include <Handles.h>
#include <Localization.h>
#include <Operations.h>
#include <Sessions.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

std::string Text(CFStringRef string) {
    return string ? PMCFStringCopyUTF8(string) : "(null)";
}

std::string TakeText(CFStringRef string) {
    std::string text = Text(string);
    if (string)
        CFRelease(string);
    return text;
}

std::vector<std::string> Texts(CFArrayRef array) {
    std::vector<std::string> texts;
    for (CFIndex i = 0; array && i < CFArrayGetCount(array); ++i)
        texts.push_back(Text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(array, i))));
    return texts;
}

TempFile::TempFile(const std::string& text) {
    char path[] = "/tmp/brivelle-test-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return;
    close(fd);
    mPath = path;
    std::ofstream(mPath) << text;
}

TempFile::~TempFile() {
    if (!mPath.empty())
        unlink(mPath.c_str());
}

namespace {

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

const char* const kPlistHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";

} // namespace

TempBundle::TempBundle(const char* serverLanguage) {
    char dir[] = "/tmp/brivelle-bundle-XXXXXX";
    if (!mkdtemp(dir))
        return;
    mDir = dir;
    std::string contents = mDir + "/Contents";
    std::string lproj = contents + "/Resources/en.lproj";
    std::error_code ignored;
    std::filesystem::create_directories(lproj, ignored);
    WriteFile(contents + "/Info.plist",
              std::string(kPlistHead) + "<key>CFBundleIdentifier</key><string>" +
                  PMCFStringCopyUTF8(Localization::BundleIdentifier()) +
                  "</string>\n<key>CFBundleDevelopmentRegion</key><string>English</string>\n"
                  "</dict>\n</plist>\n");
    std::string strings = std::string(kPlistHead) + "<key>Other</key><string>x</string>\n";
    if (serverLanguage)
        strings +=
            std::string("<key>ServerLanguage</key><string>") + serverLanguage + "</string>\n";
    WriteFile(lproj + "/Localizable.strings", strings + "</dict>\n</plist>\n");
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(mDir.c_str()), static_cast<CFIndex>(mDir.size()),
        true);
    mBundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
}

TempBundle::~TempBundle() {
    std::error_code ignored;
    if (mBundle)
        CFRelease(mBundle);
    if (!mDir.empty())
        std::filesystem::remove_all(mDir, ignored);
}

void ServerTest::StartServer(const std::vector<std::string>& arguments,
                             const std::string& description) {
    mServer = std::make_unique<TestServer>(arguments, description);
    ASSERT_TRUE(mServer->Started());
    setenv("TOVRANE_SERVER_PORT", std::to_string(mServer->Port()).c_str(), 1);
}

Brivelle& ServerTest::Connect(int timeout) {
    mConnection = std::make_unique<Brivelle>("127.0.0.1", timeout);
    EXPECT_TRUE(mConnection->ConnectToServer(false, false));
    return *mConnection;
}

void ServerTest::OpenLocalization() {
    Localization* localization = mConnection->GetLocalizationObject();
    ASSERT_NE(localization, nullptr);
    ASSERT_EQ(localization->OpenSession(0), 0);
}

void ServerTest::TearDown() {
    mConnection.reset();
    mServer.reset();
    ExpectAllReleased();
}
