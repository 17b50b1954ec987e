#include <ifaddrs.h>
#include <net/if.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/net/Internet.h"

namespace pictavo::net {

namespace {

constexpr unsigned kRouteUp = 0x0001;      // RTF_UP
constexpr unsigned kRouteReject = 0x0200;  // RTF_REJECT: an "unreachable" default

std::string ReadAll(const char* path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsModem(const std::string& name) {
  return name.rfind("ppp", 0) == 0 || name.rfind("wwan", 0) == 0;
}

// The interfaces default routes leave through, in table order.
std::vector<std::string> DefaultRoutes(std::string_view ipv4Routes, std::string_view ipv6Routes) {
  std::vector<std::string> out;
  std::istringstream v4{std::string(ipv4Routes)};
  std::string line;
  std::getline(v4, line);  // the column titles
  while (std::getline(v4, line)) {
    std::istringstream fields(line);
    std::string name, destination, gateway, flags, refs, use, metric, mask;
    if (!(fields >> name >> destination >> gateway >> flags >> refs >> use >> metric >> mask)) continue;
    const unsigned bits = static_cast<unsigned>(std::strtoul(flags.c_str(), nullptr, 16));
    if (destination == "00000000" && mask == "00000000" && (bits & kRouteUp) && !(bits & kRouteReject))
      out.push_back(name);
  }
  std::istringstream v6{std::string(ipv6Routes)};
  while (std::getline(v6, line)) {
    std::istringstream fields(line);
    std::string destination, prefix, source, sourcePrefix, next, metric, refs, use, flags, name;
    if (!(fields >> destination >> prefix >> source >> sourcePrefix >> next >> metric >> refs >> use >>
          flags >> name))
      continue;
    const unsigned bits = static_cast<unsigned>(std::strtoul(flags.c_str(), nullptr, 16));
    if (destination == std::string(32, '0') && prefix == "00" && (bits & kRouteUp) && !(bits & kRouteReject))
      out.push_back(name);
  }
  return out;
}

bool InterfaceIsUp(const std::string& name) {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return false;
  bool up = false;
  for (ifaddrs* at = list; at && !up; at = at->ifa_next)
    up = at->ifa_name && name == at->ifa_name && (at->ifa_flags & IFF_UP) && (at->ifa_flags & IFF_RUNNING) &&
         !(at->ifa_flags & IFF_LOOPBACK);
  ::freeifaddrs(list);
  return up;
}

bool ProxyConfigured() {
  for (const char* name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

std::optional<DWORD> ConnectionFrom(std::string_view ipv4Routes, std::string_view ipv6Routes,
                                    const std::function<bool(const std::string&)>& isUp, bool proxy) {
  for (const std::string& name : DefaultRoutes(ipv4Routes, ipv6Routes)) {
    if (name == "lo" || !isUp(name)) continue;
    DWORD flags = IsModem(name) ? INTERNET_CONNECTION_MODEM : INTERNET_CONNECTION_LAN;
    if (proxy) flags |= INTERNET_CONNECTION_PROXY;
    return flags;
  }
  return std::nullopt;
}

}  // namespace pictavo::net

BOOL InternetGetConnectedState(LPDWORD flags, DWORD reserved) {
  const auto state = pictavo::net::ConnectionFrom(
      pictavo::net::ReadAll("/proc/net/route"), pictavo::net::ReadAll("/proc/net/ipv6_route"),
      pictavo::net::InterfaceIsUp, pictavo::net::ProxyConfigured());
  if (flags) *flags = state.value_or(0);
  return state ? TRUE : FALSE;
}
