// The benchmark's own helpers: the file sets, the reading floor and the table of times. A
// wrong line count or a file left out would make every ratio the benchmark prints wrong.
#include "PPDFileSet.h"
#include "PhysicalFloor.h"
#include "TimeTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

/// A fresh folder under /tmp, removed with its files at the end of the test.
class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/pigmentor-bench-XXXXXX";
        if (mkdtemp(name))
            mPath = name;
    }
    ~TempDir() {
        for (const std::string& file : mFiles)
            std::remove(file.c_str());
        for (auto it = mDirs.rbegin(); it != mDirs.rend(); ++it)
            rmdir(it->c_str());
        rmdir(mPath.c_str());
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = mPath + "/" + name;
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        mFiles.push_back(path);
        return path;
    }
    void MakeDir(const std::string& name) {
        mDirs.push_back(mPath + "/" + name);
        mkdir(mDirs.back().c_str(), 0700);
    }
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
    std::vector<std::string> mFiles;
    std::vector<std::string> mDirs;
};

size_t lines(const std::string& text) {
    return PhysicalFloor::CountLines(text.data(), text.size());
}

} // namespace

TEST(PhysicalFloor, CountLinesTakesCRLFCRAndLFAsOneLineEndEach) {
    EXPECT_EQ(lines(""), 0u);
    EXPECT_EQ(lines("a"), 1u);
    EXPECT_EQ(lines("a\n"), 1u);
    EXPECT_EQ(lines("a\r\nb\rc\nd"), 4u);
    EXPECT_EQ(lines("\r\n\r\n"), 2u);
    EXPECT_EQ(lines("\n\r"), 2u);
    EXPECT_EQ(lines("\r"), 1u);
    EXPECT_EQ(PhysicalFloor::CountLines(nullptr, 5), 0u);
}

TEST(PhysicalFloor, ReadWholeFileReadsEveryByteAndReusesTheBuffer) {
    TempDir dir;
    std::string small = dir.Write("small.ppd", std::string("ab\0\xff", 4));
    std::string big = dir.Write("big.ppd", std::string(100000, 'x'));
    std::string empty = dir.Write("empty.ppd", "");
    std::vector<char> buffer;

    EXPECT_EQ(PhysicalFloor::ReadWholeFile(big.c_str(), buffer), 100000);
    EXPECT_EQ(std::string(buffer.data(), 100000), std::string(100000, 'x'));
    std::size_t grown = buffer.size();
    ASSERT_EQ(PhysicalFloor::ReadWholeFile(small.c_str(), buffer), 4);
    EXPECT_EQ(std::string(buffer.data(), 4), std::string("ab\0\xff", 4));
    EXPECT_EQ(buffer.size(), grown);
    EXPECT_EQ(PhysicalFloor::ReadWholeFile(empty.c_str(), buffer), 0);
}

TEST(PhysicalFloor, ReadWholeFileRefusesWhatIsNoRegularFile) {
    TempDir dir;
    std::vector<char> buffer;
    EXPECT_EQ(PhysicalFloor::ReadWholeFile((dir.Path() + "/missing.ppd").c_str(), buffer), -1);
    EXPECT_EQ(PhysicalFloor::ReadWholeFile(dir.Path().c_str(), buffer), -1);
}

TEST(PPDFileSet, AddsOnlyRegularPPDFilesSortedAndSumsTheirSizes) {
    TempDir dir;
    dir.Write("b.ppd", "12345");
    dir.Write("a.ppd", "123");
    dir.Write("notes.txt", "1234567");
    dir.Write("c.PPD", "1");
    dir.MakeDir("folder.ppd");
    PPDFileSet set{"s", {"/earlier.ppd"}, 10};

    EXPECT_EQ(AddPPDDirectory(set, dir.Path()), 2u);
    ASSERT_EQ(set.paths.size(), 3u);
    EXPECT_EQ(set.paths[0], "/earlier.ppd");
    EXPECT_EQ(set.paths[1], dir.Path() + "/a.ppd");
    EXPECT_EQ(set.paths[2], dir.Path() + "/b.ppd");
    EXPECT_EQ(set.bytes, 18u);
    EXPECT_EQ(set.name, "s");
}

TEST(PPDFileSet, AMissingFolderAddsNothing) {
    PPDFileSet set{"s", {}, 0};
    EXPECT_EQ(AddPPDDirectory(set, "/nonexistent/pigmentor/ppd"), 0u);
    EXPECT_TRUE(set.paths.empty());
    EXPECT_EQ(set.bytes, 0u);
}

TEST(TimeTable, SecondsAreTheMedianOfTheRecordedTimes) {
    TimeTable table;
    double seconds = -1;
    EXPECT_FALSE(table.Seconds("a", seconds));
    EXPECT_EQ(seconds, -1);

    table.Add("a", 3);
    table.Add("a", 1);
    table.Add("a", 100);
    ASSERT_TRUE(table.Seconds("a", seconds));
    EXPECT_EQ(seconds, 3);
    table.Add("a", 5);
    ASSERT_TRUE(table.Seconds("a", seconds));
    EXPECT_EQ(seconds, 4);

    table.Add("b", -1);
    table.Add("b", std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(table.Seconds("b", seconds));
}

TEST(TimeTable, RatioNeedsBothTimesAndATimeToDivideBy) {
    TimeTable table;
    table.Add("cups", 6);
    table.Add("engine", 1.5);
    table.Add("zero", 0);
    double ratio = -1;
    ASSERT_TRUE(table.Ratio("cups", "engine", ratio));
    EXPECT_EQ(ratio, 4);
    EXPECT_FALSE(table.Ratio("cups", "missing", ratio));
    EXPECT_FALSE(table.Ratio("missing", "engine", ratio));
    EXPECT_FALSE(table.Ratio("cups", "zero", ratio));
    EXPECT_EQ(ratio, 4);
}
