#include <CarbonCore/Files.h>

#include "CarbonCoreTestSupport.h"

#include <CarbonCore/TextCommon.h>

#include <CoreFoundation/CFURL.h>
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string refPath(const FSRef& ref) {
    UInt8 path[PATH_MAX];
    return FSRefMakePath(&ref, path, sizeof path) == noErr ? reinterpret_cast<char*>(path) : "";
}

struct CarbonCoreFiles : ::testing::Test {
    ScratchDir dir;
    FSSpec fsSpec(const std::string& leaf, OSErr expected = fnfErr) {
        FSSpec s;
        EXPECT_EQ(FSMakeFSSpec(kPigmentorVolumeRefNum, dir.id, PStr(leaf), &s), expected);
        return s;
    }
    short open(const FSSpec& s, SInt8 permission) {
        short ref = 0;
        EXPECT_EQ(FSpOpenDF(&s, permission, &ref), noErr);
        return ref;
    }
};

TEST_F(CarbonCoreFiles, CreateWriteReadWithShortReadAtEnd) {
    ASSERT_GT(dir.id, fsRtDirID);
    FSSpec s = fsSpec("data");
    EXPECT_EQ(s.vRefNum, kPigmentorVolumeRefNum);
    EXPECT_EQ(s.parID, dir.id);
    EXPECT_EQ(FromPStr(s.name), "data");
    short none = 7;
    EXPECT_EQ(FSpOpenDF(&s, fsRdPerm, &none), fnfErr);
    EXPECT_EQ(none, 0);

    ASSERT_EQ(FSpCreate(&s, 0x50476573, 0x54455854, smRoman), noErr);
    EXPECT_EQ(FSpCreate(&s, 0x50476573, 0x54455854, smRoman), dupFNErr);
    fsSpec("data", noErr);
    short ref = open(s, fsRdWrPerm);
    long count = 10;
    EXPECT_EQ(FSWrite(ref, &count, "0123456789"), noErr);
    EXPECT_EQ(count, 10);
    long value = 0;
    EXPECT_EQ(GetEOF(ref, &value), noErr);
    EXPECT_EQ(value, 10);
    EXPECT_EQ(GetFPos(ref, &value), noErr);
    EXPECT_EQ(value, 10);

    char buffer[16] = {};
    EXPECT_EQ(SetFPos(ref, fsFromStart, 0), noErr);
    count = 4;
    EXPECT_EQ(FSRead(ref, &count, buffer), noErr);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    count = 10;
    EXPECT_EQ(FSRead(ref, &count, buffer), eofErr);
    EXPECT_EQ(count, 6);
    EXPECT_EQ(std::string(buffer, 6), "456789");
    count = 1;
    EXPECT_EQ(FSRead(ref, &count, buffer), eofErr);
    EXPECT_EQ(count, 0);
    count = -1;
    EXPECT_EQ(FSRead(ref, &count, buffer), paramErr);
    EXPECT_EQ(FSClose(ref), noErr);
    EXPECT_EQ(FSClose(ref), rfNumErr);
    EXPECT_EQ(FSRead(ref, &count, buffer), rfNumErr);
    EXPECT_EQ(FSClose(0), rfNumErr);
    EXPECT_EQ(FSClose(-5), rfNumErr);
    EXPECT_EQ(slurp(dir / "data"), "0123456789");
}

TEST_F(CarbonCoreFiles, MarkAndEndOfFile) {
    FSSpec s = fsSpec("pos");
    ASSERT_EQ(FSpCreate(&s, 0, 0, smRoman), noErr);
    short ref = open(s, fsRdWrPerm);
    long count = 10, mark = -1;
    FSWrite(ref, &count, "abcdefghij");
    // Each move in turn from where the last one left the mark; past the end stops at it.
    const struct {
        short mode;
        long offset;
        OSErr status;
        long mark;
    } moves[] = {{fsFromLEOF, -3, noErr, 7},   {fsFromMark, 1, noErr, 8},
                 {fsAtMark, 5, noErr, 8},      {fsFromStart, -1, posErr, 8},
                 {fsFromMark, LONG_MAX, posErr, 8}, {fsFromStart, 100, eofErr, 10}};
    for (const auto& m : moves) {
        EXPECT_EQ(SetFPos(ref, m.mode, m.offset), m.status) << m.mode << " " << m.offset;
        GetFPos(ref, &mark);
        EXPECT_EQ(mark, m.mark) << m.mode << " " << m.offset;
    }

    EXPECT_EQ(SetEOF(ref, 4), noErr);
    long eof = 0;
    GetEOF(ref, &eof);
    GetFPos(ref, &mark);
    EXPECT_EQ(eof, 4);
    EXPECT_EQ(mark, 4);
    EXPECT_EQ(SetEOF(ref, -1), paramErr);
    FSClose(ref);
    EXPECT_EQ(slurp(dir / "pos"), "abcd");
}

TEST_F(CarbonCoreFiles, PermissionsAndSharing) {
    FSSpec s = fsSpec("shared");
    ASSERT_EQ(FSpCreate(&s, 0, 0, smRoman), noErr);
    short reader = open(s, fsRdPerm);
    long count = 1;
    EXPECT_EQ(FSWrite(reader, &count, "x"), wrPermErr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(SetEOF(reader, 0), wrPermErr);

    short writer = open(s, fsWrPerm);
    char c;
    count = 1;
    EXPECT_EQ(FSRead(writer, &count, &c), permErr);
    short second = 0;
    EXPECT_EQ(FSpOpenDF(&s, fsRdWrPerm, &second), opWrErr);
    EXPECT_EQ(second, writer);
    EXPECT_EQ(FSpOpenDF(&s, 7, &second), paramErr);
    EXPECT_EQ(FSpDelete(&s), fBsyErr);

    FSClose(reader);
    FSClose(writer);
    EXPECT_EQ(FSpDelete(&s), noErr);
    EXPECT_EQ(FSpDelete(&s), fnfErr);
    EXPECT_FALSE(std::filesystem::exists(dir / "shared"));
}

TEST_F(CarbonCoreFiles, ForkTableIsBounded) {
    FSSpec s = fsSpec("many");
    ASSERT_EQ(FSpCreate(&s, 0, 0, smRoman), noErr);
    std::vector<short> refs;
    short ref = 0;
    OSErr err = noErr;
    while ((err = FSpOpenDF(&s, fsRdPerm, &ref)) == noErr && refs.size() < 1000)
        refs.push_back(ref);
    EXPECT_EQ(err, tmfoErr);
    EXPECT_EQ(refs.size(), 64u);
    for (short r : refs)
        EXPECT_EQ(FSClose(r), noErr);
    EXPECT_EQ(FSpOpenDF(&s, fsRdPerm, &ref), noErr);
    FSClose(ref);
}

TEST_F(CarbonCoreFiles, BadNamesVolumesAndDirectories) {
    fsSpec(std::string(255, 'n')); // as Linux allows: carried in a short form
    fsSpec("a/b", bdNamErr);
    fsSpec("..", bdNamErr);
    fsSpec(std::string("nul\0x", 5), bdNamErr);
    FSSpec s;
    EXPECT_EQ(FSMakeFSSpec(5, dir.id, PStr("x"), &s), nsvErr);
    EXPECT_EQ(FSMakeFSSpec(kPigmentorVolumeRefNum, 0x7FFFFFF0, PStr("x"), &s), dirNFErr);
    EXPECT_EQ(FSMakeFSSpec(kPigmentorVolumeRefNum, dir.id, PStr("x"), nullptr), paramErr);

    FSSpec forged = fsSpec("x");
    forged.name[0] = 200; // longer than any fsSpec name
    short ref = 0;
    EXPECT_EQ(FSpOpenDF(&forged, fsRdPerm, &ref), bdNamErr);
    forged = fsSpec("x");
    forged.parID = -7;
    EXPECT_EQ(FSpCreate(&forged, 0, 0, smRoman), dirNFErr);
    forged.parID = fsRtDirID + 1000000;
    EXPECT_EQ(FSpCreate(&forged, 0, 0, smRoman), dirNFErr);

    std::filesystem::create_directory(dir / "sub");
    FSSpec sub = fsSpec("sub", noErr);
    EXPECT_EQ(FSpOpenDF(&sub, fsRdPerm, &ref), notAFileErr);
    EXPECT_EQ(FSpOpenDF(&sub, fsCurPerm, &ref), notAFileErr);
    std::ofstream(dir / "sub/inside") << "x";
    EXPECT_EQ(FSpDelete(&sub), fBsyErr);
    std::filesystem::remove(dir / "sub/inside");
    EXPECT_EQ(FSpDelete(&sub), noErr);
}

TEST_F(CarbonCoreFiles, SymbolicLinksAreNeverWrittenThrough) {
    std::string target = dir / "target";
    std::ofstream(target) << "keep";
    ASSERT_EQ(symlink(target.c_str(), (dir / "planted").c_str()), 0);
    ASSERT_EQ(symlink((dir / "absent").c_str(), (dir / "dangling").c_str()), 0);

    FSSpec dangling = fsSpec("dangling", noErr);
    EXPECT_EQ(FSpCreate(&dangling, 0, 0, smRoman), dupFNErr);
    EXPECT_FALSE(std::filesystem::exists(dir / "absent"));

    FSSpec planted = fsSpec("planted", noErr);
    short ref = 0;
    EXPECT_EQ(FSpOpenDF(&planted, fsWrPerm, &ref), permErr);
    EXPECT_EQ(FSpOpenDF(&planted, fsRdWrPerm, &ref), permErr);
    ASSERT_EQ(FSpOpenDF(&planted, fsCurPerm, &ref), noErr); // falls back to reading
    long count = 1;
    EXPECT_EQ(FSWrite(ref, &count, "X"), wrPermErr);
    char buffer[4];
    count = 4;
    EXPECT_EQ(FSRead(ref, &count, buffer), noErr);
    EXPECT_EQ(std::string(buffer, 4), "keep");
    FSClose(ref);
    EXPECT_EQ(slurp(target), "keep");
}

TEST_F(CarbonCoreFiles, SpecRefPathAndURLRoundTrip) {
    FSSpec s = fsSpec("round");
    ASSERT_EQ(FSpCreate(&s, 0, 0, smRoman), noErr);
    std::ofstream(dir / "round") << "12345";
    std::string path = dir / "round";

    FSRef ref, fromSpec;
    Boolean isDirectory = true;
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, &isDirectory),
              noErr);
    EXPECT_FALSE(isDirectory);
    EXPECT_EQ(refPath(ref), path);
    ASSERT_EQ(FSpMakeFSRef(&s, &fromSpec), noErr);
    EXPECT_EQ(std::memcmp(&ref, &fromSpec, sizeof ref), 0);

    FSCatalogInfo info;
    HFSUniStr255 name;
    FSSpec back;
    FSRef parent;
    ASSERT_EQ(FSGetCatalogInfo(&ref,
                               kFSCatInfoNodeFlags | kFSCatInfoVolume | kFSCatInfoParentDirID |
                                   kFSCatInfoNodeID | kFSCatInfoDataSizes,
                               &info, &name, &back, &parent),
              noErr);
    EXPECT_EQ(info.nodeFlags, 0);
    EXPECT_EQ(info.volume, kPigmentorVolumeRefNum);
    EXPECT_EQ(long(info.parentDirID), dir.id);
    EXPECT_GT(info.nodeID, UInt32(dir.id));
    EXPECT_EQ(info.dataLogicalSize, 5u);
    EXPECT_EQ(info.rsrcLogicalSize, 0u);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(name.unicode), name.length), u"round");
    EXPECT_EQ(back.vRefNum, s.vRefNum);
    EXPECT_EQ(back.parID, s.parID);
    EXPECT_EQ(FromPStr(back.name), "round");
    EXPECT_EQ(refPath(parent), dir.path);

    CFURLRef url = CFURLCreateFromFSRef(kCFAllocatorDefault, &ref);
    ASSERT_NE(url, nullptr);
    UInt8 urlPath[PATH_MAX];
    ASSERT_TRUE(CFURLGetFileSystemRepresentation(url, true, urlPath, sizeof urlPath));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(urlPath)), path);
    FSRef fromURL;
    ASSERT_TRUE(CFURLGetFSRef(url, &fromURL));
    EXPECT_EQ(std::memcmp(&ref, &fromURL, sizeof ref), 0);
    CFRelease(url);

    FSSpec dirSpec;
    ASSERT_EQ(FSMakeFSSpec(kPigmentorVolumeRefNum, dir.id, nullptr, &dirSpec), noErr);
    FSRef dirRef;
    ASSERT_EQ(FSpMakeFSRef(&dirSpec, &dirRef), noErr);
    EXPECT_EQ(std::memcmp(&dirRef, &parent, sizeof parent), 0);
    ASSERT_EQ(FSGetCatalogInfo(&dirRef, kFSCatInfoNodeFlags | kFSCatInfoNodeID, &info, nullptr,
                               nullptr, nullptr),
              noErr);
    EXPECT_EQ(info.nodeFlags & kFSNodeIsDirectoryMask, kFSNodeIsDirectoryMask);
    EXPECT_EQ(long(info.nodeID), dir.id);
}

// Linux names run to 255 bytes; an FSSpec holds 63. The long name travels as a short one that
// every call resolves, cut on a character boundary, and a short name with '#' stays itself.
TEST_F(CarbonCoreFiles, LongNamesTravelInTheirShortForm) {
    std::string leaf;
    for (int i = 0; i < 40; ++i)
        leaf += "\xE8\x89\xB2"; // a 3-byte character, 120 bytes in all
    leaf += "-Tarvo-C5000-queue.ppd";
    FSSpec s = fsSpec(leaf);
    ASSERT_LE(s.name[0], 63);
    const std::string shortName = FromPStr(s.name);
    const size_t mark = shortName.rfind('#');
    ASSERT_NE(mark, std::string::npos);
    EXPECT_EQ(mark % 3, 0u); // no character cut in two
    EXPECT_EQ(leaf.compare(0, mark, shortName, 0, mark), 0);

    ASSERT_EQ(FSpCreate(&s, 0, 0, smRoman), noErr);
    EXPECT_TRUE(std::filesystem::exists(dir / leaf));
    short ref = open(s, fsWrPerm);
    long count = 4;
    EXPECT_EQ(FSWrite(ref, &count, "long"), noErr);
    FSClose(ref);
    EXPECT_EQ(slurp(dir / leaf), "long");

    // From a path, as a CUPS queue's PPD arrives, and back.
    FSRef fromPath, fromSpec;
    const std::string path = dir / leaf;
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &fromPath, nullptr),
              noErr);
    FSSpec back;
    ASSERT_EQ(FSGetCatalogInfo(&fromPath, kFSCatInfoNone, nullptr, nullptr, &back, nullptr),
              noErr);
    EXPECT_EQ(FromPStr(back.name), shortName);
    ASSERT_EQ(FSpMakeFSRef(&back, &fromSpec), noErr);
    EXPECT_EQ(refPath(fromSpec), path);

    std::ofstream(dir / ("ab#" + shortName.substr(mark + 1))) << "plain";
    FSSpec plain = fsSpec("ab#" + shortName.substr(mark + 1), noErr);
    ref = open(plain, fsRdPerm);
    char buffer[5];
    count = 5;
    EXPECT_EQ(FSRead(ref, &count, buffer), noErr);
    EXPECT_EQ(std::string(buffer, 5), "plain");
    FSClose(ref);
    EXPECT_EQ(FSpDelete(&s), noErr);
    EXPECT_FALSE(std::filesystem::exists(dir / leaf));
}

TEST_F(CarbonCoreFiles, RootAndInvalidRefs) {
    FSRef root;
    Boolean isDirectory = false;
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>("/"), &root, &isDirectory), noErr);
    EXPECT_TRUE(isDirectory);
    FSCatalogInfo info;
    FSSpec fsSpec;
    FSRef parent;
    std::memset(&parent, 0xAA, sizeof parent);
    ASSERT_EQ(FSGetCatalogInfo(&root, kFSCatInfoNodeID | kFSCatInfoParentDirID, &info, nullptr,
                               &fsSpec, &parent),
              noErr);
    EXPECT_EQ(info.nodeID, UInt32(fsRtDirID));
    EXPECT_EQ(info.parentDirID, UInt32(fsRtParID));
    EXPECT_EQ(fsSpec.parID, fsRtParID);
    EXPECT_EQ(fsSpec.name[0], 0);
    EXPECT_EQ(parent.hidden[0], 0);
    EXPECT_EQ(refPath(parent), "");

    FSRef zero{};
    UInt8 path[8];
    EXPECT_EQ(FSRefMakePath(&zero, path, sizeof path), errFSBadFSRef);
    EXPECT_EQ(FSGetCatalogInfo(&zero, 0, nullptr, nullptr, nullptr, nullptr), errFSBadFSRef);
    EXPECT_EQ(FSRefMakePath(&root, path, 1), buffersTooSmall);
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>("/no/such/thing"), &zero, nullptr),
              fnfErr);
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(""), &zero, nullptr), fnfErr);

    std::ofstream(dir / "gone") << "x";
    FSRef gone;
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>((dir / "gone").c_str()), &gone, nullptr),
              noErr);
    std::filesystem::remove(dir / "gone");
    EXPECT_EQ(FSRefMakePath(&gone, path, sizeof path), fnfErr);
    EXPECT_EQ(CFURLCreateFromFSRef(kCFAllocatorDefault, &gone), nullptr);
    FSSpec missing = this->fsSpec("gone");
    EXPECT_EQ(FSpMakeFSRef(&missing, &gone), fnfErr);
}

} // namespace
