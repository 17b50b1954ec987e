#include "platform/net/Download.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <mutex>

#include "platform/base/ErrorCodes.h"
#include "platform/net/Internet.h"

namespace pictavo::net {

namespace {

using Clock = std::chrono::steady_clock;

struct Transfer {
  std::string body;
  size_t maxBytes = 0;
  bool tooLarge = false;
  long receiveTimeoutMs = 0;
  curl_off_t lastBytes = -1;
  Clock::time_point lastArrival = Clock::now();
  bool stalled = false;
};

size_t Write(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (transfer->body.size() + bytes > transfer->maxBytes) {
    transfer->tooLarge = true;
    return 0;  // ends the transfer with CURLE_WRITE_ERROR
  }
  transfer->body.append(data, bytes);
  return bytes;
}

// Gives up on a server that sends nothing for the receive time-out.
int Progress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t) {
  auto* transfer = static_cast<Transfer*>(user);
  const Clock::time_point now = Clock::now();
  if (downloaded != transfer->lastBytes) {
    transfer->lastBytes = downloaded;
    transfer->lastArrival = now;
    return 0;
  }
  if (now - transfer->lastArrival > std::chrono::milliseconds(transfer->receiveTimeoutMs)) {
    transfer->stalled = true;
    return 1;
  }
  return 0;
}

DWORD ErrorOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
      return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
      return ERROR_INTERNET_TIMEOUT;
    case CURLE_URL_MALFORMAT:
      return ERROR_INTERNET_INVALID_URL;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
      return ERROR_INTERNET_INVALID_CA;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_USE_SSL_FAILED:
      return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
      return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
      return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_PARTIAL_FILE:
      return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_TOO_MANY_REDIRECTS:
      return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_FILESIZE_EXCEEDED:
      return ERROR_BUFFER_OVERFLOW;
    default:
      return ERROR_INTERNET_INTERNAL_ERROR;
  }
}

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

DownloadResult Download(const DownloadRequest& request) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  DownloadResult result;
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) {
    result.error = ERROR_INTERNET_INTERNAL_ERROR;
    return result;
  }
  Transfer transfer;
  transfer.maxBytes = request.maxBytes;
  transfer.receiveTimeoutMs = request.receiveTimeoutMs;
  char message[CURL_ERROR_SIZE] = "";

  std::unique_ptr<curl_slist, ListDeleter> headers;
  for (const std::string& header : request.headers) {
    curl_slist* longer = curl_slist_append(headers.get(), header.c_str());
    if (!longer) break;
    headers.release();
    headers.reset(longer);
  }

  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // time-outs without signals: we run on worker threads
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, request.totalTimeoutMs);
  curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.maxBytes));
  curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(c, CURLOPT_USERAGENT, request.agent.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Write);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, message);
  switch (request.proxy) {
    case DownloadRequest::Proxy::kEnvironment:
      break;
    case DownloadRequest::Proxy::kNone:
      curl_easy_setopt(c, CURLOPT_PROXY, "");
      break;
    case DownloadRequest::Proxy::kGiven:
      curl_easy_setopt(c, CURLOPT_PROXY, request.proxyName.c_str());
      if (!request.proxyBypass.empty()) curl_easy_setopt(c, CURLOPT_NOPROXY, request.proxyBypass.c_str());
      break;
  }

  const CURLcode code = curl_easy_perform(c);
  if (code != CURLE_OK) {
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
      result.error = ERROR_BUFFER_OVERFLOW;
    else if (transfer.stalled)
      result.error = ERROR_INTERNET_TIMEOUT;
    else
      result.error = ErrorOf(code);
    result.detail = message[0] ? message : curl_easy_strerror(code);
    return result;
  }
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.status);
  const char* type = nullptr;
  if (curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) result.contentType = type;
  result.body = std::move(transfer.body);
  return result;
}

}  // namespace pictavo::net
