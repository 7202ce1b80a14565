// PPDs as printer drivers ship them (no maker's extension keywords) parse cleanly: no crash or
// leak under the sanitizers, and exactly the errors the driver records for a PPD of that kind.
#include "ParseTestSupport.h"

#include "PPDXGroups.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

/// The .ppd files of the folders that the test set-up installs (printer-driver-oki) and of
/// others that may be there.
std::vector<std::string> realWorldPPDs() {
    std::vector<std::string> files;
    for (const char* folder : {"/usr/share/ppd/okidata", "/usr/share/ppd/cupsfilters"}) {
        DIR* dir = opendir(folder);
        if (!dir)
            continue;
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".ppd") == 0)
                files.push_back(std::string(folder) + "/" + name);
        }
        closedir(dir);
    }
    return files;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(RealWorldPPDs, ParseWithoutExtensionKeywords) {
    std::vector<std::string> files = realWorldPPDs();
    ASSERT_GE(files.size(), 10u) << "printer-driver-oki is installed by scripts/setup";
    for (const std::string& path : files) {
        std::string text = contents(path);
        QRVPPD* ppd = parseFile(path);
        // No pages and no announced controls; groups only when an installable-options group
        // gave the model its roll-down.
        bool installable = text.find("*OpenGroup: InstallableOptions") != std::string::npos;
        std::vector<int> expected = installable ? std::vector<int>{25, 27} : std::vector<int>{25, 26, 27};
        EXPECT_EQ(errorCodes(ppd), expected) << path;
        EXPECT_TRUE(ppd->IsValidPPD()) << path;
        EXPECT_NE(ppd->ModelName(), nullptr) << path;
        EXPECT_EQ(ppd->GetGroups()->Find("InstallableOptions", true) != nullptr, installable) << path;
        ppd->Release();
    }
}
