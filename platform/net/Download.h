// One bounded HTTP(S) transfer into memory, over libcurl.
#pragma once

#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::net {

struct DownloadRequest {
  std::string url;
  std::string agent;
  std::vector<std::string> headers;  // "Name: value"
  enum class Proxy { kEnvironment, kNone, kGiven } proxy = Proxy::kEnvironment;
  std::string proxyName;
  std::string proxyBypass;
  bool followRedirects = true;
  long connectTimeoutMs = 15000;
  long receiveTimeoutMs = 30000;  // the longest time without any data arriving
  long totalTimeoutMs = 120000;
  size_t maxBytes = 1024 * 1024;
};

struct DownloadResult {
  DWORD error = 0;     // ERROR_INTERNET_* (or ERROR_BUFFER_OVERFLOW for an oversize answer), 0 on success
  std::string detail;  // the transfer library's words for a failure
  long status = 0;     // the HTTP status
  std::string contentType;
  std::string body;
};

[[nodiscard]] DownloadResult Download(const DownloadRequest& request);

}  // namespace pictavo::net
