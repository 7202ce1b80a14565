#include "PrintCoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Points libcups at a server socket that cannot exist, so nothing leaves the machine and the
// answer does not depend on whether a CUPS server runs here.
struct NoCUPSServer : ::testing::Test {
    void SetUp() override { setenv("CUPS_SERVER", "/nonexistent/pigmentor/cups.sock", 1); }
    void TearDown() override { unsetenv("CUPS_SERVER"); }
};

TEST_F(NoCUPSServer, QueuesGiveAStatusNotACrash) {
    PMPrinter printer = reinterpret_cast<PMPrinter>(1);
    EXPECT_EQ(PMHostCreatePrinterFromQueue(CFSTR("colour_q"), &printer), kPMServerNotFound);
    EXPECT_EQ(printer, nullptr);
    EXPECT_EQ(PMHostCreatePrinterFromQueue(nullptr, &printer), kPMServerNotFound);
    EXPECT_EQ(PMPrinterCreateFromPrinterID(CFSTR("colour_q")), nullptr);
    EXPECT_EQ(PMHostCreatePrinterFromQueue(CFSTR(""), &printer), kPMInvalidParameter);
    EXPECT_EQ(PMHostCreatePrinterFromQueue(CFSTR("q"), nullptr), kPMInvalidParameter);
}

} // namespace
