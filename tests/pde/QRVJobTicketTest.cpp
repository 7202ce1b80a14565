// The colour pane's job ticket: injections, the job-ticket file as another reader sees it, and
// the file's safe creation.
#include "PDETestSupport.h"

#include "JobTicketUtilities.h"
#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"

#include "PPDXControl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Pattern(long length) {
    std::string code;
    for (long i = 0; i < length; ++i)
        code += char('A' + i % 26);
    return code;
}

// A control whose feature code is `length` pattern bytes.
class CodeControl : public PPDXControl {
public:
    explicit CodeControl(long length)
        : PPDXControl("*QVTest", nullptr, sNoFlags, Code(length), length, true) {}
    void ResetToDefaultValue() override {}
    CFStringRef GetCurrentControlValueString() override { return nullptr; }
    void SetCurrentControlWithCFString(CFStringRef) override {}

private:
    static unsigned char* Code(long length) {
        auto* block = static_cast<unsigned char*>(std::malloc(length));
        std::memcpy(block, Pattern(length).data(), length);
        return block;
    }
    static inline PointerList sNoFlags;
};

// A session over the C5000 example, its print settings ticket and the pane's key; job-ticket
// files recorded in the ticket are removed afterwards.
class QRVJobTicketTest : public testing::Test {
protected:
    void TearDown() override {
        for (const std::string& path : mWritten)
            unlink(path.c_str());
    }
    std::string RecordedPath() {
        CFStringRef path = nullptr;
        if (mSettings.Get(mKey, path) != noErr)
            return "";
        mWritten.push_back(UTF8(path));
        return mWritten.back();
    }

    TestSession mSession{ExamplePPD("Tarvo-C5000.ppd")};
    PrintSettingsTicket mSettings{mSession};
    Owned<CFStringRef> mKey{CreatePostscriptDataFileKey()};
    std::vector<std::string> mWritten;
};

TEST_F(QRVJobTicketTest, TwoInjectionsMakeAFileOfFourElements) {
    QRVJobTicket ticket(&mSettings, mKey);
    ASSERT_TRUE(ticket.Valid());
    char suppress[] = "*QVColorMode";
    unsigned char code[] = {'/', 'C', 0, 0xFF, '\n'};
    ASSERT_TRUE(ticket.Add(-9, suppress, std::strlen(suppress)));
    ASSERT_TRUE(ticket.Add(81, code, sizeof code));
    ASSERT_TRUE(ticket.Save(GetBundleID()));
    EXPECT_FALSE(ticket.Dirty());

    std::string path = RecordedPath();
    const std::string prefix = "/tmp/Tarvo.temp";
    ASSERT_EQ(path.size(), prefix.size() + 36);
    EXPECT_EQ(path.substr(0, prefix.size()), prefix);
    Owned<CFStringRef> uuid(Str(path.substr(prefix.size())));
    EXPECT_NE(Owned<CFUUIDRef>(CFUUIDCreateFromString(nullptr, uuid)).ref, nullptr) << path;
    struct stat info;
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0666u);
    EXPECT_EQ(PlistLibDump(path), "array 4\n  int -9\n  data 2a5156436f6c6f724d6f6465\n"
                                  "  int 81\n  data 2f4300ff0a\n"); // "*QVColorMode", code
    Boolean locked = true;
    EXPECT_EQ(PMTicketIsItemLocked(mSettings.Ticket(), mKey, &locked), noErr);
    EXPECT_FALSE(locked);
    // Nothing new: a second Save writes nothing and keeps the recorded path.
    EXPECT_TRUE(ticket.Save(GetBundleID()));
    EXPECT_EQ(RecordedPath(), path);
    // Invalidate removes the path; the copies item is set for the client.
    EXPECT_TRUE(ticket.Invalidate(GetBundleID()));
    EXPECT_EQ(RecordedPath(), "");
    EXPECT_EQ(ticket.EnforceCopiesLimit(GetBundleID(), 3), noErr);
    long copies = 0;
    EXPECT_EQ(mSettings.GetInt(kPMCopiesKey, copies), noErr);
    EXPECT_EQ(copies, 3);
}

TEST_F(QRVJobTicketTest, NothingAddedWritesNothing) {
    QRVJobTicket ticket(&mSettings, mKey);
    char text[] = "x";
    EXPECT_TRUE(ticket.Add(81, text, 0));
    EXPECT_EQ(CFArrayGetCount(ticket.Injections()), 0);
    EXPECT_FALSE(ticket.Save(nullptr)); // dirty without a client
    EXPECT_TRUE(ticket.Save(GetBundleID()));
    EXPECT_TRUE(ticket.Dirty());
    EXPECT_EQ(RecordedPath(), "");
    EXPECT_FALSE(ticket.Add(81, static_cast<char*>(nullptr), 3));
    EXPECT_EQ(ticket.LastStatus(), paramErr);
    EXPECT_FALSE(ticket.Add(81, static_cast<PPDXControl*>(nullptr)));

    QRVJobTicket noTicket(nullptr, mKey), noKey(&mSettings, nullptr);
    EXPECT_FALSE(noTicket.Valid() || noKey.Valid());
    EXPECT_TRUE(noTicket.Add(81, text, 1)); // no array: nothing to do
    EXPECT_FALSE(noTicket.Save(GetBundleID()));
}

TEST_F(QRVJobTicketTest, ControlCodeAroundTheFixedBuffer) {
    QRVJobTicket ticket(&mSettings, mKey);
    CodeControl fits(1024), grows(1025), empty(0);
    ASSERT_TRUE(ticket.Add(81, &fits) && ticket.Add(81, &grows) && ticket.Add(81, &empty));
    ASSERT_EQ(CFArrayGetCount(ticket.Injections()), 4);
    for (CFIndex i : {1, 3}) {
        auto data = static_cast<CFDataRef>(CFArrayGetValueAtIndex(ticket.Injections(), i));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                              CFDataGetLength(data)),
                  Pattern(i == 1 ? 1024 : 1025));
    }
}

TEST_F(QRVJobTicketTest, AnArrayLeftBySomeoneElseIsCopied) {
    SInt32 site = 5;
    Owned<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &site));
    Owned<CFDataRef> data(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>("x"), 1));
    const void* values[] = {number.ref, data.ref};
    Owned<CFArrayRef> theirs(CFArrayCreate(nullptr, values, 2, &kCFTypeArrayCallBacks));
    ASSERT_EQ(PMSessionSetDataInSession(mSession, mKey, theirs), noErr);
    QRVJobTicket ticket(&mSettings, mKey);
    char text[] = "y";
    ASSERT_TRUE(ticket.Add(81, text, 1));
    EXPECT_EQ(CFArrayGetCount(theirs), 2);
    ASSERT_TRUE(ticket.Save(GetBundleID()));
    EXPECT_EQ(PlistLibDump(RecordedPath()), "array 4\n  int 5\n  data 78\n  int 81\n  data 79\n");
    // A number under the key designates nothing this ticket can trust: a fresh array.
    ASSERT_EQ(PMSessionSetDataInSession(mSession, mKey, number), noErr);
    QRVJobTicket fresh(&mSettings, mKey);
    EXPECT_EQ(CFArrayGetCount(fresh.Injections()), 0);
}

TEST(JobTicketFileTest, NeverFollowsALinkNorOpensAnExistingFile) {
    Scratch dir;
    dir.Write("victim", "untouched");
    dir.Write("existing", "old");
    ASSERT_EQ(symlink((dir / "victim").c_str(), (dir / "planted").c_str()), 0);
    ASSERT_EQ(symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str()), 0);
    Owned<CFDataRef> data(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>("new"), 3));
    for (const char* name : {"planted", "dangling", "existing"})
        EXPECT_EQ(WriteNewFile((dir / name).c_str(), data, 0666), dupFNErr) << name;
    EXPECT_EQ(ReadFile(dir / "victim"), "untouched");
    EXPECT_EQ(ReadFile(dir / "existing"), "old");
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));
    EXPECT_EQ(WriteNewFile((dir / "no/such/folder").c_str(), data, 0666), dirNFErr);
    // The mode is the one asked for, whatever the umask.
    mode_t old = umask(077);
    EXPECT_EQ(WriteNewFile((dir / "fresh").c_str(), data, 0666), noErr);
    umask(old);
    struct stat info;
    ASSERT_EQ(stat((dir / "fresh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u);
    EXPECT_EQ(ReadFile(dir / "fresh"), "new");
}

TEST(JobTicketFileTest, RandomFileNames) {
    char path[kJobTicketPathSize];
    Owned<CFStringRef> name(CreateRandomFileName("/tmp/Tarvo.temp", path));
    EXPECT_EQ(UTF8(name), path);
    EXPECT_EQ(std::strlen(path), 15u + 36u);
    EXPECT_NE(UTF8(Owned<CFStringRef>(CreateRandomFileName("/tmp/Tarvo.temp", nullptr))), path);
    Owned<CFStringRef> bare(CreateRandomFileName(nullptr, path));
    EXPECT_NE(Owned<CFUUIDRef>(CFUUIDCreateFromString(nullptr, bare)).ref, nullptr);
    // A name that would not fit the path buffer is refused whole.
    std::string longPrefix(kJobTicketPathSize - 36, 'p');
    EXPECT_EQ(CreateRandomFileName(longPrefix.c_str(), path), nullptr);
    EXPECT_STREQ(path, "");
    longPrefix.pop_back();
    Owned<CFStringRef> fits(CreateRandomFileName(longPrefix.c_str(), path));
    EXPECT_EQ(std::strlen(path), size_t(kJobTicketPathSize - 1));
}

} // namespace
