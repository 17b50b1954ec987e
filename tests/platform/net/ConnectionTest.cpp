// Whether the computer is online, from its routing tables.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/net/Internet.h"

namespace {

const char* const kIpv4Header =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::string Route(const std::string& name, const char* destination, const char* flags, const char* mask) {
  return name + "\t" + destination + "\t0100A8C0\t" + flags + "\t0\t0\t100\t" + mask + "\t0\t0\t0\n";
}
std::string Route6(const std::string& name, const char* flags) {
  return "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
         "fe800000000000000000000000000001 00000400 00000001 00000000 " +
         std::string(flags) + " " + name + "\n";
}

TEST(Connection, ADefaultRouteOnAnInterfaceThatIsUp) {
  struct Case {
    const char* what;
    std::string ipv4;
    std::string ipv6;
    std::set<std::string> up;
    bool proxy;
    std::optional<DWORD> flags;
  };
  const std::string header = kIpv4Header;
  const Case cases[] = {
      {"wired",
       header + Route("eth0", "00000000", "0003", "00000000"),
       "",
       {"eth0"},
       false,
       INTERNET_CONNECTION_LAN},
      {"through a proxy",
       header + Route("wlan0", "00000000", "0003", "00000000"),
       "",
       {"wlan0"},
       true,
       INTERNET_CONNECTION_LAN | INTERNET_CONNECTION_PROXY},
      {"dial-up",
       header + Route("ppp0", "00000000", "0001", "00000000"),
       "",
       {"ppp0"},
       false,
       INTERNET_CONNECTION_MODEM},
      {"only the local network",
       header + Route("eth0", "0000A8C0", "0001", "00FFFFFF"),
       "",
       {"eth0"},
       false,
       std::nullopt},
      {"interface down", header + Route("eth0", "00000000", "0003", "00000000"), "", {}, false, std::nullopt},
      {"route not up",
       header + Route("eth0", "00000000", "0002", "00000000"),
       "",
       {"eth0"},
       false,
       std::nullopt},
      {"IPv6 only", header, Route6("wlan0", "00000003"), {"wlan0"}, false, INTERNET_CONNECTION_LAN},
      {"unreachable default on loopback", header, Route6("lo", "00200200"), {"lo"}, false, std::nullopt},
      {"no tables", "", "", {"eth0"}, false, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto flags = pictavo::net::ConnectionFrom(
        c.ipv4, c.ipv6, [&](const std::string& name) { return c.up.count(name) > 0; }, c.proxy);
    EXPECT_EQ(flags, c.flags) << c.what;
  }
}

TEST(Connection, TheRealAnswerIsABoolWithMatchingFlags) {
  DWORD flags = 0xDEAD;
  const BOOL online = InternetGetConnectedState(&flags, 0);
  EXPECT_TRUE(online == TRUE || online == FALSE);
  EXPECT_EQ(online == TRUE, flags != 0);
  EXPECT_EQ(InternetGetConnectedState(nullptr, 0), online);
}

}  // namespace
