// File URLs and device URIs.
#include "CFTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

std::string Text(CFURLRef url) {
    return PMCFStringCopyUTF8(CFURLGetString(url));
}

std::string FileSystemPath(CFURLRef url) {
    UInt8 buffer[512];
    return CFURLGetFileSystemRepresentation(url, true, buffer, sizeof buffer)
               ? std::string(reinterpret_cast<char*>(buffer))
               : "<false>";
}

CFURLRef FromPath(const char* utf8, bool isDirectory = false) {
    CFOwned<CFStringRef> path(Str(utf8));
    return CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, isDirectory);
}

CFURLRef FromString(const char* text, CFURLRef base = nullptr) {
    CFOwned<CFStringRef> s(Str(text));
    return CFURLCreateWithString(nullptr, s, base);
}

TEST(CFURL, PathWithSpacesAndNonASCIIRoundTrips) {
    CFOwned<CFURLRef> url(FromPath("/tmp/My Folder/Grüße;1.txt"));
    EXPECT_EQ(Text(url), "file:///tmp/My%20Folder/Gr%C3%BC%C3%9Fe%3B1.txt");
    EXPECT_EQ(Take(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle)),
              "/tmp/My Folder/Grüße;1.txt");
    EXPECT_EQ(FileSystemPath(url), "/tmp/My Folder/Grüße;1.txt");
    EXPECT_EQ(Take(CFURLCopyScheme(url)), "file");
    EXPECT_EQ(CFURLCopyHostName(url), nullptr);
    EXPECT_FALSE(CFURLHasDirectoryPath(url));
    // Characters that mean something in a URL stay part of the name.
    CFOwned<CFURLRef> reserved(FromPath("/tmp/a#b?c%20d"));
    EXPECT_EQ(Text(reserved), "file:///tmp/a%23b%3Fc%2520d");
    EXPECT_EQ(FileSystemPath(reserved), "/tmp/a#b?c%20d");
}

TEST(CFURL, DirectoriesGetATrailingSlashThatPathsDrop) {
    CFOwned<CFURLRef> dir(FromPath("/opt/pig", true));
    EXPECT_EQ(Text(dir), "file:///opt/pig/");
    EXPECT_TRUE(CFURLHasDirectoryPath(dir));
    EXPECT_EQ(Take(CFURLCopyFileSystemPath(dir, kCFURLPOSIXPathStyle)), "/opt/pig");
    EXPECT_EQ(FileSystemPath(dir), "/opt/pig");
    CFOwned<CFURLRef> root(FromPath("/", true));
    EXPECT_EQ(FileSystemPath(root), "/");
}

TEST(CFURL, RelativePathsAreMadeAbsolute) {
    char cwd[1024];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    CFOwned<CFURLRef> url(FromPath("sub/file"));
    EXPECT_EQ(FileSystemPath(url), std::string(cwd) + (cwd[1] ? "/" : "") + "sub/file");
}

TEST(CFURL, BadPathsGiveNull) {
    EXPECT_EQ(FromPath(""), nullptr);
    const UniChar withNul[] = {'/', 'a', 0, 'b'};
    CFOwned<CFStringRef> nul(CFStringCreateWithCharacters(nullptr, withNul, 4));
    EXPECT_EQ(CFURLCreateWithFileSystemPath(nullptr, nul, kCFURLPOSIXPathStyle, false), nullptr);
    EXPECT_EQ(CFURLCreateWithFileSystemPath(nullptr, CFSTR("a:b"), kCFURLHFSPathStyle, false),
              nullptr);
    EXPECT_EQ(CFURLCreateFromFileSystemRepresentation(nullptr, nullptr, 3, false), nullptr);
}

TEST(CFURL, FileSystemRepresentationBytesRoundTrip) {
    const UInt8 bytes[] = {'/', 't', 'm', 'p', '/', 0xFF, 'x'}; // not UTF-8
    CFOwned<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(nullptr, bytes, 7, false));
    EXPECT_EQ(Text(url), "file:///tmp/%FFx");
    UInt8 out[8];
    ASSERT_TRUE(CFURLGetFileSystemRepresentation(url, true, out, 8));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), std::string(bytes, bytes + 7));
    EXPECT_EQ(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle), nullptr); // no UTF-8 text
}

TEST(CFURL, FileSystemRepresentationNeedsRoomAndALocalFile) {
    CFOwned<CFURLRef> url(FromPath("/abc"));
    UInt8 out[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_FALSE(CFURLGetFileSystemRepresentation(url, true, out, 4)); // no room for the NUL
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 'x');
    EXPECT_TRUE(CFURLGetFileSystemRepresentation(url, true, out, 5));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), "/abc");
    CFOwned<CFURLRef> remote(FromString("file://server/share/x"));
    EXPECT_EQ(FileSystemPath(remote), "<false>");
    CFOwned<CFURLRef> local(FromString("file://localhost/tmp/a%20b"));
    EXPECT_EQ(FileSystemPath(local), "/tmp/a b");
    CFOwned<CFURLRef> device(FromString("ipp://host/printers/x"));
    EXPECT_EQ(FileSystemPath(device), "<false>");
}

TEST(CFURL, DeviceURIsKeepTheirTextAndParts) {
    CFOwned<CFURLRef> ipp(FromString("ipp://user@Host.local:631/printers/Colour_1?waitjob=false"));
    EXPECT_EQ(Text(ipp), "ipp://user@Host.local:631/printers/Colour_1?waitjob=false");
    EXPECT_EQ(Take(CFURLCopyScheme(ipp)), "ipp");
    EXPECT_EQ(Take(CFURLCopyHostName(ipp)), "Host.local");
    EXPECT_EQ(Take(CFURLCopyLastPathComponent(ipp)), "Colour_1");
    EXPECT_EQ(Take(CFURLCopyFileSystemPath(ipp, kCFURLPOSIXPathStyle)), "/printers/Colour_1");
    CFOwned<CFURLRef> socket(FromString("socket://1.2.3.4"));
    EXPECT_EQ(Take(CFURLCopyHostName(socket)), "1.2.3.4");
    EXPECT_EQ(Take(CFURLCopyLastPathComponent(socket)), "");
    EXPECT_FALSE(CFURLHasDirectoryPath(socket));
    CFOwned<CFURLRef> v6(FromString("ipp://[fe80::1]:631/ipp"));
    EXPECT_EQ(Take(CFURLCopyHostName(v6)), "fe80::1");
}

TEST(CFURL, TextThatIsNoURLGivesNull) {
    EXPECT_EQ(FromString("file:///a b"), nullptr);
    EXPECT_EQ(FromString("ipp://h/%zz"), nullptr);
    EXPECT_EQ(FromString("ipp://h/%4"), nullptr);
    EXPECT_EQ(FromString("ipp://h/\xC3\xA4"), nullptr);
    EXPECT_EQ(FromString("a#b#c"), nullptr);
    EXPECT_EQ(FromString(""), nullptr);
    EXPECT_EQ(CFURLCreateWithString(nullptr, nullptr, nullptr), nullptr);
}

TEST(CFURL, RelativeReferencesResolveAgainstTheBase) {
    CFOwned<CFURLRef> base(FromString("http://h/a/b/c?q"));
    const char* cases[][2] = {{"d", "http://h/a/b/d"},    {"../d", "http://h/a/d"},
                              {"./", "http://h/a/b/"},    {"/x/./y/../z", "http://h/x/z"},
                              {"?r", "http://h/a/b/c?r"}, {"#f", "http://h/a/b/c?q#f"},
                              {"//g/p", "http://g/p"},    {"../../../../e", "http://h/e"},
                              {"ipp://o/p", "ipp://o/p"}};
    for (auto& c : cases) {
        CFOwned<CFURLRef> url(FromString(c[0], base));
        EXPECT_EQ(Text(url), c[1]) << c[0];
    }
}

TEST(CFURL, LastComponentAndExtension) {
    CFOwned<CFURLRef> file(FromPath("/a/b/archive.tar.gz"));
    EXPECT_EQ(Take(CFURLCopyLastPathComponent(file)), "archive.tar.gz");
    EXPECT_EQ(Take(CFURLCopyPathExtension(file)), "gz");
    CFOwned<CFURLRef> dir(FromPath("/a/My Dir.plugin", true));
    EXPECT_EQ(Take(CFURLCopyLastPathComponent(dir)), "My Dir.plugin");
    EXPECT_EQ(Take(CFURLCopyPathExtension(dir)), "plugin");
    CFOwned<CFURLRef> dot(FromPath("/home/.profile"));
    EXPECT_EQ(CFURLCopyPathExtension(dot), nullptr);
    CFOwned<CFURLRef> trailing(FromPath("/home/name."));
    EXPECT_EQ(CFURLCopyPathExtension(trailing), nullptr);
    CFOwned<CFURLRef> root(FromPath("/"));
    EXPECT_EQ(Take(CFURLCopyLastPathComponent(root)), "/");
}

TEST(CFURL, AppendAndDeleteComponents) {
    CFOwned<CFURLRef> dir(FromPath("/opt/pig", true));
    CFOwned<CFURLRef> added(
        CFURLCreateCopyAppendingPathComponent(nullptr, dir, CFSTR("Über uns/x.txt"), false));
    EXPECT_EQ(Text(added), "file:///opt/pig/%C3%9Cber%20uns/x.txt");
    CFOwned<CFURLRef> addedDir(
        CFURLCreateCopyAppendingPathComponent(nullptr, added, CFSTR("sub"), true));
    EXPECT_EQ(Text(addedDir), "file:///opt/pig/%C3%9Cber%20uns/x.txt/sub/");
    CFOwned<CFURLRef> up(CFURLCreateCopyDeletingLastPathComponent(nullptr, added));
    EXPECT_EQ(Text(up), "file:///opt/pig/%C3%9Cber%20uns/");
    CFOwned<CFURLRef> upDir(CFURLCreateCopyDeletingLastPathComponent(nullptr, dir));
    EXPECT_EQ(Text(upDir), "file:///opt/");
    CFOwned<CFURLRef> root(FromPath("/", true));
    CFOwned<CFURLRef> stillRoot(CFURLCreateCopyDeletingLastPathComponent(nullptr, root));
    EXPECT_EQ(Text(stillRoot), "file:///");
    CFOwned<CFURLRef> host(FromString("socket://1.2.3.4"));
    CFOwned<CFURLRef> hostPath(
        CFURLCreateCopyAppendingPathComponent(nullptr, host, CFSTR("p"), false));
    EXPECT_EQ(Text(hostPath), "socket://1.2.3.4/p");
}

TEST(CFURL, EqualityIsByText) {
    CFOwned<CFURLRef> a(FromPath("/x y"));
    CFOwned<CFURLRef> b(FromString("file:///x%20y"));
    CFOwned<CFURLRef> c(FromString("file://localhost/x%20y"));
    EXPECT_TRUE(CFEqual(a, b));
    EXPECT_EQ(CFHash(a), CFHash(b));
    EXPECT_FALSE(CFEqual(a, c));
}

} // namespace
