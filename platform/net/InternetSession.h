// The class library's download classes, as the program's update check uses them: a session
// opens a URL and hands back a file to read the answer from.
//
// OpenURL fetches the whole answer at once (http and https, redirects followed) and the file
// reads it from memory; the answer is bounded: a connection is given up after the connect
// time-out, a server that sends nothing for the receive time-out is given up, and the whole
// transfer after the total time-out (defaults 15, 30 and 120 seconds), and an answer larger than
// kMaxDownloadBytes is refused. Failures throw CInternetException (a CException, so the caller's
// CATCH_ALL sees it) whose GetErrorMessage says what went wrong. An answer with an HTTP error
// status (404 ...) is no failure: its body is read like any other, and QueryInfoStatusCode tells
// the status. Nothing is cached, so INTERNET_FLAG_RELOAD and the other cache flags change nothing.
#pragma once

#include <string>

#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"
#include "platform/base/File.h"
#include "platform/net/Internet.h"

#define INTERNET_OPEN_TYPE_PRECONFIG 0u
#define INTERNET_OPEN_TYPE_DIRECT 1u
#define INTERNET_OPEN_TYPE_PROXY 3u
#define PRE_CONFIG_INTERNET_ACCESS INTERNET_OPEN_TYPE_PRECONFIG
#define LOCAL_INTERNET_ACCESS INTERNET_OPEN_TYPE_DIRECT
#define CERN_PROXY_INTERNET_ACCESS INTERNET_OPEN_TYPE_PROXY

#define INTERNET_FLAG_TRANSFER_ASCII 0x00000001u
#define INTERNET_FLAG_TRANSFER_BINARY 0x00000002u
#define INTERNET_FLAG_NEED_FILE 0x00000010u
#define INTERNET_FLAG_NO_AUTO_REDIRECT 0x00200000u
#define INTERNET_FLAG_SECURE 0x00800000u
#define INTERNET_FLAG_DONT_CACHE 0x04000000u
#define INTERNET_FLAG_NO_CACHE_WRITE INTERNET_FLAG_DONT_CACHE
#define INTERNET_FLAG_PRAGMA_NOCACHE 0x00000100u
#define INTERNET_FLAG_EXISTING_CONNECT 0x20000000u
#define INTERNET_FLAG_RELOAD 0x80000000u

#define INTERNET_OPTION_CONNECT_TIMEOUT 2u
#define INTERNET_OPTION_RECEIVE_TIMEOUT 6u

#define HTTP_STATUS_OK 200u
#define HTTP_STATUS_NOT_FOUND 404u

inline constexpr size_t kMaxDownloadBytes = 1024 * 1024;

class CInternetException : public CException {
  DECLARE_DYNAMIC(CInternetException)

 public:
  explicit CInternetException(DWORD dwError) : m_dwError(dwError) {}

  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  DWORD_PTR m_dwContext = 0;
  DWORD m_dwError;
  CString m_strDetail;  // what the transfer library said, added to the message when set
};

[[noreturn]] void AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError = 0);

// The answer to OpenURL, read from memory. Write and SetLength are not supported (they throw
// CNotSupportedException); Seek moves within the answer.
class CInternetFile : public CFile {
  DECLARE_DYNAMIC(CInternetFile)

 public:
  CInternetFile(CString url, std::string body, DWORD_PTR context);

  UINT Read(void* lpBuf, UINT nCount) override;
  // The next line without its line break (CR LF or LF); FALSE at the end.
  BOOL ReadString(CString& rString);
  // The next line with its "\n" (a CR before it dropped), cut to nMax - 1 bytes; null at the end.
  LPTSTR ReadString(LPTSTR pstr, UINT nMax);
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override { return m_position; }
  ULONGLONG GetLength() const override { return m_body.size(); }
  void SetLength(ULONGLONG dwNewLen) override;
  void Flush() override {}
  void Close() override;
  void Abort() override { Close(); }
  CString GetFileName() const override;
  CString GetFilePath() const override { return m_url; }
  DWORD_PTR GetContext() const { return m_context; }

 protected:
  CString m_url;
  std::string m_body;
  size_t m_position = 0;
  DWORD_PTR m_context;
};

class CHttpFile : public CInternetFile {
  DECLARE_DYNAMIC(CHttpFile)

 public:
  CHttpFile(CString url, std::string body, DWORD_PTR context, DWORD status, CString contentType);

  BOOL QueryInfoStatusCode(DWORD& dwStatusCode) const;
  CString GetVerb() const { return "GET"; }
  CString GetContentType() const { return m_contentType; }

 private:
  DWORD m_status;
  CString m_contentType;
};

class CInternetSession : public CObject {
  DECLARE_DYNAMIC(CInternetSession)

 public:
  // A null agent is sent as "Pictavo". The access type chooses the proxy: the environment's
  // (PRE_CONFIG_INTERNET_ACCESS), none (INTERNET_OPEN_TYPE_DIRECT), or `proxyName` with
  // `proxyBypass` as the hosts that go direct (INTERNET_OPEN_TYPE_PROXY).
  explicit CInternetSession(LPCTSTR agent = nullptr, DWORD_PTR context = 1,
                            DWORD accessType = PRE_CONFIG_INTERNET_ACCESS, LPCTSTR proxyName = nullptr,
                            LPCTSTR proxyBypass = nullptr, DWORD flags = 0);
  ~CInternetSession() override;

  // The answer as a new CHttpFile (deleted by the caller); throws CInternetException. `headers`
  // are extra request headers separated by CR LF (`headersLength` -1 or 0: up to the NUL).
  CInternetFile* OpenURL(LPCTSTR url, DWORD_PTR context = 1, DWORD flags = INTERNET_FLAG_TRANSFER_ASCII,
                         LPCTSTR headers = nullptr, DWORD headersLength = 0);
  // INTERNET_OPTION_CONNECT_TIMEOUT and INTERNET_OPTION_RECEIVE_TIMEOUT in milliseconds; FALSE
  // for other options.
  BOOL SetOption(DWORD option, DWORD value, DWORD flags = 0);
  BOOL QueryOption(DWORD option, DWORD& value) const;
  virtual void Close();
  DWORD_PTR GetContext() const { return m_context; }

 private:
  CString m_agent;
  DWORD_PTR m_context;
  DWORD m_accessType;
  CString m_proxy;
  CString m_proxyBypass;
  DWORD m_connectTimeoutMs = 15000;
  DWORD m_receiveTimeoutMs = 30000;
  bool m_open = true;
};
