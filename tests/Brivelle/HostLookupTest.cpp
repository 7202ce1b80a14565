// Host look-up: only dotted addresses, the hosts file's "localhost" and names that the
// resolver refuses without asking the network are used, so no packet leaves the machine.
#include <HostAddress.h>

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>

TEST(HostLookup, DottedAddressesAreTakenAsTheyAre) {
    EXPECT_EQ(InetToAddr("127.0.0.1"), htonl(INADDR_LOOPBACK));
    EXPECT_EQ(InetToAddr("printserver"), INADDR_NONE);
    EXPECT_EQ(InetToAddr(nullptr), INADDR_NONE);

    sockaddr_in address;
    std::memset(&address, 0xAB, sizeof address);
    ASSERT_EQ(LookupHostAddress("127.1.2.3", &address), 0);
    EXPECT_EQ(address.sin_family, AF_INET);
    EXPECT_EQ(address.sin_port, 0);
    EXPECT_EQ(address.sin_addr.s_addr, htonl(0x7F010203)); // network order
    for (unsigned char padding : address.sin_zero)
        EXPECT_EQ(padding, 0); // the whole record was cleared

    unsigned long number = 0;
    ASSERT_TRUE(ResolveHostToAddr("127.1.2.3", &number));
    EXPECT_EQ(static_cast<uint32_t>(number), htonl(0x7F010203));

    char text[16] = "junk";
    ASSERT_TRUE(ResolveHostToAddrString("10.20.30.40", text));
    EXPECT_STREQ(text, "10.20.30.40");
}

TEST(HostLookup, NamesGoThroughTheResolver) {
    char text[16] = "";
    ASSERT_TRUE(ResolveHostToAddrString("localhost", text));
    EXPECT_STREQ(text, "127.0.0.1");
    sockaddr_in address;
    ASSERT_EQ(LookupHostAddress("localhost", &address), 0);
    EXPECT_EQ(address.sin_family, AF_INET);
    EXPECT_EQ(address.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
}

TEST(HostLookup, FailuresGiveTheirStatus) {
    sockaddr_in address;
    EXPECT_EQ(LookupHostAddress(nullptr, &address), kHostLookupParamErr);
    EXPECT_EQ(LookupHostAddress("127.0.0.1", nullptr), kHostLookupParamErr);
    // All digits and dots but no address: the resolver answers "not found" by itself.
    EXPECT_EQ(InetToAddr("300.1.1.1"), INADDR_NONE);
    EXPECT_EQ(LookupHostAddress("300.1.1.1", &address), kHostLookupNotFound);
    char text[16] = "unchanged";
    EXPECT_FALSE(ResolveHostToAddrString("300.1.1.1", text));
    EXPECT_STREQ(text, "unchanged");
    unsigned long number = 7;
    EXPECT_FALSE(ResolveHostToAddr("300.1.1.1", &number));
    EXPECT_EQ(number, 7u);
    EXPECT_FALSE(ResolveHostToAddr("127.0.0.1", nullptr));
}
