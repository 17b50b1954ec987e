#include "platform/net/InternetSession.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/base/ErrorCodes.h"
#include "platform/kernel/Unicode.h"
#include "platform/net/Download.h"

IMPLEMENT_DYNAMIC(CInternetException, CException)
IMPLEMENT_DYNAMIC(CInternetFile, CFile)
IMPLEMENT_DYNAMIC(CHttpFile, CInternetFile)
IMPLEMENT_DYNAMIC(CInternetSession, CObject)

namespace {

const char* MessageOf(DWORD error) {
  switch (error) {
    case ERROR_INTERNET_TIMEOUT:
      return "The operation timed out";
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
      return "The server name or address could not be resolved";
    case ERROR_INTERNET_CANNOT_CONNECT:
      return "A connection with the server could not be established";
    case ERROR_INTERNET_CONNECTION_ABORTED:
      return "The connection with the server was terminated abnormally";
    case ERROR_INTERNET_CONNECTION_RESET:
      return "The connection with the server was reset";
    case ERROR_INTERNET_INVALID_URL:
      return "The URL is invalid";
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
      return "The URL does not use a recognized protocol";
    case ERROR_INTERNET_INVALID_CA:
      return "The certificate authority is invalid or incorrect";
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
      return "An error occurred in the secure channel support";
    case ERROR_HTTP_INVALID_SERVER_RESPONSE:
      return "The server returned an invalid or unrecognized response";
    case ERROR_HTTP_REDIRECT_FAILED:
      return "The redirection failed";
    case ERROR_INTERNET_OPERATION_CANCELLED:
      return "The operation was canceled";
    case ERROR_INTERNET_INCORRECT_HANDLE_STATE:
      return "The internet session is closed";
    case ERROR_BUFFER_OVERFLOW:
      return "The server's answer is larger than the program accepts";
    default:
      return "An internal error occurred while downloading";
  }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         pictavo::unicode::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::vector<std::string> SplitHeaders(std::string_view text) {
  std::vector<std::string> out;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (!line.empty()) out.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return out;
}

}  // namespace

BOOL CInternetException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  if (!lpszError || nMaxError == 0) return FALSE;
  std::string text = MessageOf(m_dwError);
  if (!m_strDetail.IsEmpty()) text += std::string(": ") + m_strDetail.GetString();
  text += '\n';
  const size_t length = std::min<size_t>(text.size(), nMaxError - 1);
  std::memcpy(lpszError, text.data(), length);
  lpszError[length] = '\0';
  return TRUE;
}

void AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError) {
  auto* exception = new CInternetException(dwError);
  exception->m_dwContext = dwContext;
  throw exception;
}

// CInternetFile

CInternetFile::CInternetFile(CString url, std::string body, DWORD_PTR context)
    : m_url(std::move(url)), m_body(std::move(body)), m_context(context) {}

UINT CInternetFile::Read(void* lpBuf, UINT nCount) {
  const size_t count = std::min<size_t>(nCount, m_body.size() - m_position);
  if (count) std::memcpy(lpBuf, m_body.data() + m_position, count);
  m_position += count;
  return static_cast<UINT>(count);
}

BOOL CInternetFile::ReadString(CString& rString) {
  rString.Empty();
  if (m_position >= m_body.size()) return FALSE;
  const size_t start = m_position;
  const size_t end = m_body.find('\n', start);
  size_t stop = end == std::string::npos ? m_body.size() : end;
  m_position = end == std::string::npos ? m_body.size() : end + 1;
  if (stop > start && m_body[stop - 1] == '\r') --stop;
  rString = CString(std::string_view(m_body).substr(start, stop - start));
  return TRUE;
}

LPTSTR CInternetFile::ReadString(LPTSTR pstr, UINT nMax) {
  if (!pstr || nMax == 0 || m_position >= m_body.size()) return nullptr;
  UINT used = 0;
  while (used + 1 < nMax && m_position < m_body.size()) {
    const char c = m_body[m_position++];
    if (c == '\r' && m_position < m_body.size() && m_body[m_position] == '\n') continue;
    pstr[used++] = c;
    if (c == '\n') break;
  }
  pstr[used] = '\0';
  return pstr;
}

void CInternetFile::Write(const void*, UINT) {
  AfxThrowNotSupportedException();
}

ULONGLONG CInternetFile::Seek(LONGLONG lOff, UINT nFrom) {
  const LONGLONG base = nFrom == begin     ? 0
                        : nFrom == current ? static_cast<LONGLONG>(m_position)
                                           : static_cast<LONGLONG>(m_body.size());
  const LONGLONG target = base + lOff;
  if (target < 0) AfxThrowFileException(CFileException::badSeek, -1, m_url);
  m_position = std::min<size_t>(static_cast<size_t>(target), m_body.size());
  return m_position;
}

void CInternetFile::SetLength(ULONGLONG) {
  AfxThrowNotSupportedException();
}

void CInternetFile::Close() {
  m_body.clear();
  m_body.shrink_to_fit();
  m_position = 0;
}

CString CInternetFile::GetFileName() const {
  std::string_view url = m_url.GetString();
  url = url.substr(0, url.find_first_of("?#"));
  const size_t slash = url.rfind('/');
  return CString(std::string(slash == std::string_view::npos ? url : url.substr(slash + 1)));
}

// CHttpFile

CHttpFile::CHttpFile(CString url, std::string body, DWORD_PTR context, DWORD status, CString contentType)
    : CInternetFile(std::move(url), std::move(body), context),
      m_status(status),
      m_contentType(std::move(contentType)) {}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& dwStatusCode) const {
  dwStatusCode = m_status;
  return m_status != 0;
}

// CInternetSession

CInternetSession::CInternetSession(LPCTSTR agent, DWORD_PTR context, DWORD accessType, LPCTSTR proxyName,
                                   LPCTSTR proxyBypass, DWORD flags)
    : m_agent(agent && *agent ? agent : "Pictavo"),
      m_context(context),
      m_accessType(accessType),
      m_proxy(proxyName),
      m_proxyBypass(proxyBypass) {}

CInternetSession::~CInternetSession() {
  Close();
}

void CInternetSession::Close() {
  m_open = false;
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value, DWORD flags) {
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
      m_connectTimeoutMs = value;
      return TRUE;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
      m_receiveTimeoutMs = value;
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CInternetSession::QueryOption(DWORD option, DWORD& value) const {
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
      value = m_connectTimeoutMs;
      return TRUE;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
      value = m_receiveTimeoutMs;
      return TRUE;
    default:
      return FALSE;
  }
}

CInternetFile* CInternetSession::OpenURL(LPCTSTR url, DWORD_PTR context, DWORD flags, LPCTSTR headers,
                                         DWORD headersLength) {
  if (!m_open) AfxThrowInternetException(context, ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  const std::string_view address = url ? url : "";
  if (address.empty()) AfxThrowInternetException(context, ERROR_INTERNET_INVALID_URL);
  if (!StartsWithNoCase(address, "http://") && !StartsWithNoCase(address, "https://"))
    AfxThrowInternetException(context, ERROR_INTERNET_UNRECOGNIZED_SCHEME);

  pictavo::net::DownloadRequest request;
  request.url = std::string(address);
  request.agent = m_agent.GetString();
  if (headers) {
    const size_t length =
        headersLength == 0 || headersLength == 0xFFFFFFFFu ? std::strlen(headers) : headersLength;
    request.headers = SplitHeaders(std::string_view(headers, length));
  }
  if (m_accessType == INTERNET_OPEN_TYPE_DIRECT) {
    request.proxy = pictavo::net::DownloadRequest::Proxy::kNone;
  } else if (m_accessType == INTERNET_OPEN_TYPE_PROXY) {
    request.proxy = pictavo::net::DownloadRequest::Proxy::kGiven;
    request.proxyName = m_proxy.GetString();
    request.proxyBypass = m_proxyBypass.GetString();
  }
  request.followRedirects = !(flags & INTERNET_FLAG_NO_AUTO_REDIRECT);
  request.connectTimeoutMs = m_connectTimeoutMs;
  request.receiveTimeoutMs = m_receiveTimeoutMs;
  request.maxBytes = kMaxDownloadBytes;

  pictavo::net::DownloadResult result = pictavo::net::Download(request);
  if (result.error) {
    auto* exception = new CInternetException(result.error);
    exception->m_dwContext = context;
    exception->m_strDetail = CString(result.detail);
    throw exception;
  }
  return new CHttpFile(CString(std::string(address)), std::move(result.body), context,
                       static_cast<DWORD>(result.status), CString(result.contentType));
}
