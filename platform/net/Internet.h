// Whether the computer is online, and the error codes of the download calls.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"

#define INTERNET_CONNECTION_MODEM 0x01u
#define INTERNET_CONNECTION_LAN 0x02u
#define INTERNET_CONNECTION_PROXY 0x04u
#define INTERNET_CONNECTION_MODEM_BUSY 0x08u
#define INTERNET_RAS_INSTALLED 0x10u
#define INTERNET_CONNECTION_OFFLINE 0x20u
#define INTERNET_CONNECTION_CONFIGURED 0x40u

#define INTERNET_ERROR_BASE 12000
#define ERROR_INTERNET_TIMEOUT 12002L
#define ERROR_INTERNET_EXTENDED_ERROR 12003L
#define ERROR_INTERNET_INTERNAL_ERROR 12004L
#define ERROR_INTERNET_INVALID_URL 12005L
#define ERROR_INTERNET_UNRECOGNIZED_SCHEME 12006L
#define ERROR_INTERNET_NAME_NOT_RESOLVED 12007L
#define ERROR_INTERNET_OPERATION_CANCELLED 12017L
#define ERROR_INTERNET_INCORRECT_HANDLE_STATE 12019L
#define ERROR_INTERNET_CANNOT_CONNECT 12029L
#define ERROR_INTERNET_CONNECTION_ABORTED 12030L
#define ERROR_INTERNET_CONNECTION_RESET 12031L
#define ERROR_INTERNET_INVALID_CA 12045L
#define ERROR_HTTP_INVALID_SERVER_RESPONSE 12152L
#define ERROR_HTTP_REDIRECT_FAILED 12156L
#define ERROR_INTERNET_SECURITY_CHANNEL_ERROR 12157L

// TRUE (exactly 1) when the computer can reach other networks: a network interface other than
// the loopback is up and running and carries a default route (IPv4 or IPv6). *flags, when given,
// gets INTERNET_CONNECTION_LAN (or INTERNET_CONNECTION_MODEM for a point-to-point or mobile
// broadband interface), plus INTERNET_CONNECTION_PROXY when a proxy is set in the environment
// (http_proxy, https_proxy and their upper-case forms); 0 when offline. Nothing is sent over the
// network to find out.
BOOL InternetGetConnectedState(LPDWORD flags, DWORD reserved);

namespace pictavo::net {

// The decision itself, from the texts of /proc/net/route and /proc/net/ipv6_route, a test of
// whether an interface is up and running, and whether a proxy is set: the flags, or nothing when
// offline.
std::optional<DWORD> ConnectionFrom(std::string_view ipv4Routes, std::string_view ipv6Routes,
                                    const std::function<bool(const std::string&)>& isUp, bool proxy);

}  // namespace pictavo::net
