// pde-host's parts that stand alone: the action parser, the placement of the feature code in
// the job, and the reading of job-ticket files that anyone could have written.
#include "HostActions.h"
#include "HostJobTicket.h"

#include "TestScopes.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Error(const std::string& line) {
    HostAction action;
    std::string error;
    EXPECT_FALSE(ParseHostAction(line, action, error)) << line;
    return error;
}

TEST(HostActionsTest, WellFormedActionsCarryTheirArguments) {
    HostAction a;
    std::string error;
    ASSERT_TRUE(ParseHostAction("choose  Cntl:103   3", a, error)) << error;
    EXPECT_EQ(a.kind, HostAction::Choose);
    EXPECT_EQ(a.signature, static_cast<UInt32>('Cntl'));
    EXPECT_EQ(a.id, 103);
    EXPECT_EQ(a.item, 3);
    ASSERT_TRUE(ParseHostAction("type paed:0 10.0.0.7  server one", a, error)) << error;
    EXPECT_EQ(a.text, "10.0.0.7  server one") << "the text keeps its blanks";
    ASSERT_TRUE(ParseHostAction("click 'ok  ':-1", a, error)) << error;
    EXPECT_EQ(a.signature, static_cast<UInt32>('ok  '));
    EXPECT_EQ(a.id, -1);
    ASSERT_TRUE(ParseHostAction("command 'ok  '", a, error)) << error;
    EXPECT_EQ(a.code, static_cast<UInt32>('ok  '));
    ASSERT_TRUE(ParseHostAction("wait-fetch", a, error));
    EXPECT_EQ(a.kind, HostAction::WaitFetch);

    std::vector<HostAction> script;
    ASSERT_TRUE(ParseHostScript("# a person at the dialog\n\nclick bidi:10\r\n  store\n", script, error));
    ASSERT_EQ(script.size(), 2u);
    EXPECT_EQ(script[1].kind, HostAction::Store);
}

TEST(HostActionsTest, MalformedActionsAreRefusedWithTheReason) {
    EXPECT_NE(Error("press Cntl:1").find("unknown action \"press\""), std::string::npos);
    EXPECT_NE(Error("click Cntl").find("SIG:ID"), std::string::npos);
    EXPECT_NE(Error("click Cnt:1").find("SIG:ID"), std::string::npos);
    EXPECT_NE(Error("click Cntl:x1").find("SIG:ID"), std::string::npos);
    EXPECT_NE(Error("click Cntl:99999999999").find("SIG:ID"), std::string::npos);
    EXPECT_NE(Error("choose Cntl:1 0").find("from 1 to 32767"), std::string::npos);
    EXPECT_NE(Error("choose Cntl:1 40000").find("from 1 to 32767"), std::string::npos);
    EXPECT_NE(Error("choose Cntl:1").find("from 1 to 32767"), std::string::npos);
    EXPECT_NE(Error("type Cntl:1").find("needs a text"), std::string::npos);
    EXPECT_NE(Error("command EClrX").find("four-character"), std::string::npos);
    EXPECT_NE(Error("store now").find("nothing more"), std::string::npos);
    EXPECT_NE(Error("click Cntl:1\x01").find("control characters"), std::string::npos);
    EXPECT_NE(Error("click \xc3\xa9t\xc3\xa9:1").find("SIG:ID"), std::string::npos);
    EXPECT_NE(Error(std::string(5000, 'x')).find("4096"), std::string::npos);

    std::vector<HostAction> script;
    std::string error;
    EXPECT_FALSE(ParseHostScript("load\n\nchoose Cntl:1 zero\n", script, error));
    EXPECT_EQ(error.rfind("line 3: choose needs", 0), 0u) << error;
}

TEST(HostJobTest, FeatureCodeGoesIntoTheSetupSection) {
    const std::string feature = "%%BeginFeature: *X Y\nY\n%%EndFeature\n";
    EXPECT_EQ(InsertFeatureCode("%!PS\n%%BeginSetup\nsetup\n%%EndSetup\n%%Page: 1 1\n", feature),
              "%!PS\n%%BeginSetup\n" + feature + "setup\n%%EndSetup\n%%Page: 1 1\n");
    EXPECT_EQ(InsertFeatureCode("%!PS\n%%EndComments\nprolog\n%%Page: 1 1\nshowpage\n", feature),
              "%!PS\n%%EndComments\nprolog\n%%BeginSetup\n" + feature +
                  "%%EndSetup\n%%Page: 1 1\nshowpage\n");
    // "%%Page:" inside a line is not a page.
    EXPECT_EQ(InsertFeatureCode("%!PS\n(%%Page: no) pop\n%%EndProlog\nx", feature),
              "%!PS\n(%%Page: no) pop\n%%EndProlog\n%%BeginSetup\n" + feature + "%%EndSetup\nx");
    EXPECT_EQ(InsertFeatureCode("%!PS", feature), "%!PS\n%%BeginSetup\n" + feature + "%%EndSetup\n");
    EXPECT_EQ(InsertFeatureCode("%!PS\n%%BeginSetup", feature), "%!PS\n%%BeginSetup\n" + feature);
    EXPECT_EQ(InsertFeatureCode("%!PS\n", ""), "%!PS\n");

    std::vector<JobTicketEntry> entries = {{81, "a"}, {-9, "b"}, {81, "c\n"}, {81, ""}};
    EXPECT_EQ(FeatureCode(entries, 81), "a\nc\n");
}

TEST(HostJobTest, JobTicketFilesAreReadOnlyWhenTheyAreThePanes) {
    std::vector<JobTicketEntry> entries;
    std::string error;
    auto file = [](const std::string& body) {
        char name[] = "/tmp/Tarvo.tempHostTestXXXXXX";
        int fd = mkstemp(name);
        EXPECT_EQ(write(fd, body.data(), body.size()), static_cast<ssize_t>(body.size()));
        close(fd);
        return std::string(name);
    };
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><array>";
    std::string good = file(head + "<integer>81</integer><data>JSUgeA==</data>"
                                   "<integer>-9</integer><data></data></array></plist>");
    ASSERT_TRUE(ReadJobTicketFile(good, entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].site, 81);
    EXPECT_EQ(entries[0].data, "%% x");

    const std::string bad[] = {
        head + "<integer>81</integer></array></plist>",                          // odd count
        head + "<string>81</string><data></data></array></plist>",               // site not a number
        head + "<integer>81</integer><string>x</string></array></plist>",        // code not data
        head + "<integer>99999999999</integer><data></data></array></plist>",    // site out of range
        "<plist version=\"1.0\"><dict/></plist>", "not a property list at all"};
    for (const std::string& body : bad) {
        std::string path = file(body);
        EXPECT_FALSE(ReadJobTicketFile(path, entries, error)) << body;
        EXPECT_TRUE(entries.empty());
        unlink(path.c_str());
    }
    // Not the pane's name, or a link to elsewhere: not read at all.
    EXPECT_FALSE(ReadJobTicketFile("/etc/passwd", entries, error));
    EXPECT_NE(error.find("not one of the pane's"), std::string::npos);
    EXPECT_FALSE(ReadJobTicketFile("/tmp/Tarvo.temp/../etc/passwd", entries, error));
    std::string link = good + ".link";
    ASSERT_EQ(symlink(good.c_str(), link.c_str()), 0);
    EXPECT_FALSE(ReadJobTicketFile(link, entries, error));
    unlink(link.c_str());
    unlink(good.c_str());
}

} // namespace
