// CInternetSession against a local server: what the update check does (open, read in blocks,
// catch what is thrown), the bounds of a download, and the online test.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <memory>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/net/InternetSession.h"
#include "tests/support/LocalHttpServer.h"

namespace {

using net_test::Answer;
using net_test::LocalServer;

// The update check's loop: 512-byte blocks until a read gives nothing.
std::string ReadAllBlocks(CFile& file) {
  std::string out;
  char block[512];
  while (const UINT got = file.Read(block, sizeof block)) out.append(block, got);
  return out;
}

// OpenURL's failure as the caller's CATCH_ALL sees it: the error code and the message text.
struct Failure {
  DWORD error = 0;
  std::string message;
};
Failure OpenFails(CInternetSession& session, const std::string& url) {
  Failure failure;
  TRY {
    std::unique_ptr<CInternetFile> file(
        session.OpenURL(url.c_str(), 1, INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY));
    ADD_FAILURE() << url << " opened";
  }
  CATCH_ALL(e) {
    char text[254];
    EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
    failure.message = text;
    if (e->IsKindOf(RUNTIME_CLASS(CInternetException)))
      failure.error = static_cast<CInternetException*>(e)->m_dwError;
  }
  END_CATCH_ALL
  return failure;
}

TEST(Download, ReadsTheAnswerInBlocksAndLines) {
  std::string body = "[Gerneral]\r\nversion=806\r\nbuild=1806\n";
  body += std::string(1500, 'x');  // several blocks
  body += "\nlast line without break";
  LocalServer server({Answer("200 OK", body)});
  CInternetSession session;
  std::unique_ptr<CInternetFile> file(session.OpenURL(server.Url("/ver_pictavo.ini").c_str(), 1,
                                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->GetFileName(), CString("ver_pictavo.ini"));
  EXPECT_EQ(ReadAllBlocks(*file), body);
  EXPECT_EQ(file->Read(nullptr, 0), 0u);

  file->SeekToBegin();
  CString line;
  ASSERT_TRUE(file->ReadString(line));
  EXPECT_EQ(line, CString("[Gerneral]"));
  char raw[64];
  ASSERT_NE(file->ReadString(raw, sizeof raw), nullptr);
  EXPECT_STREQ(raw, "version=806\n") << "the line break kept, its CR dropped";
  ASSERT_TRUE(file->ReadString(line));
  EXPECT_EQ(line, CString("build=1806"));
  file->Seek(-23, CFile::end);
  ASSERT_TRUE(file->ReadString(line));
  EXPECT_EQ(line, CString("last line without break"));
  EXPECT_FALSE(file->ReadString(line));

  auto* http = dynamic_cast<CHttpFile*>(file.get());
  ASSERT_NE(http, nullptr);
  DWORD status = 0;
  EXPECT_TRUE(http->QueryInfoStatusCode(status));
  EXPECT_EQ(status, HTTP_STATUS_OK);

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].rfind("GET /ver_pictavo.ini HTTP/1.1\r\n", 0), 0u) << requests[0];
  EXPECT_NE(requests[0].find("User-Agent: Pictavo\r\n"), std::string::npos) << requests[0];
}

TEST(Download, AnErrorPageIsAnAnswerAndRedirectsAreFollowed) {
  LocalServer server(
      {Answer("302 Found", "", "Location: /moved\r\n"), Answer("404 Not Found", "no such file")});
  CInternetSession session("Checker/1.0");
  std::unique_ptr<CInternetFile> file(session.OpenURL(server.Url("/ver.ini").c_str()));
  EXPECT_EQ(ReadAllBlocks(*file), "no such file");
  DWORD status = 0;
  static_cast<CHttpFile*>(file.get())->QueryInfoStatusCode(status);
  EXPECT_EQ(status, HTTP_STATUS_NOT_FOUND);
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].rfind("GET /moved ", 0), 0u);
  EXPECT_NE(requests[1].find("User-Agent: Checker/1.0\r\n"), std::string::npos);
}

TEST(Download, FailuresThrowWithAMessage) {
  CInternetSession session;
  struct Case {
    std::string url;
    DWORD error;
    const char* message;
  };
  const Case cases[] = {
      {"http://127.0.0.1:" + std::to_string(LocalServer::ClosedPort()) + "/ver.ini",
       ERROR_INTERNET_CANNOT_CONNECT, "A connection with the server could not be established"},
      {"ftp://127.0.0.1/ver.ini", ERROR_INTERNET_UNRECOGNIZED_SCHEME,
       "The URL does not use a recognized protocol"},
      {"", ERROR_INTERNET_INVALID_URL, "The URL is invalid"},
      {"http://exa mple.invalid:99999/", ERROR_INTERNET_INVALID_URL, "The URL is invalid"},
  };
  for (const Case& c : cases) {
    const Failure failure = OpenFails(session, c.url);
    EXPECT_EQ(failure.error, c.error) << c.url;
    EXPECT_EQ(failure.message.rfind(c.message, 0), 0u) << failure.message;
    EXPECT_EQ(failure.message.back(), '\n') << "a line of its own inside the caller's text";
  }
  session.Close();
  LocalServer server({Answer("200 OK", "fine")});
  EXPECT_EQ(OpenFails(session, server.Url("/")).error,
            static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_STATE));
}

TEST(Download, ASilentServerTimesOut) {
  LocalServer server({std::nullopt});
  CInternetSession session;
  ASSERT_TRUE(session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, 300));
  DWORD value = 0;
  ASSERT_TRUE(session.QueryOption(INTERNET_OPTION_RECEIVE_TIMEOUT, value));
  EXPECT_EQ(value, 300u);
  const Failure failure = OpenFails(session, server.Url("/ver.ini"));
  EXPECT_EQ(failure.error, static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
  EXPECT_EQ(failure.message.rfind("The operation timed out", 0), 0u) << failure.message;
}

TEST(Download, AnOversizeAnswerIsRefused) {
  const std::string big(kMaxDownloadBytes + 1, 'b');
  const std::string exact(kMaxDownloadBytes, 'e');
  // Announced by its length, and sent without one (ended by closing the connection).
  const std::string unannounced = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + big;
  LocalServer server({Answer("200 OK", big), unannounced, Answer("200 OK", exact)});
  CInternetSession session;
  for (int i = 0; i < 2; ++i) {
    const Failure failure = OpenFails(session, server.Url("/big"));
    EXPECT_EQ(failure.error, static_cast<DWORD>(ERROR_BUFFER_OVERFLOW)) << i;
    EXPECT_NE(failure.message.find("larger than the program accepts"), std::string::npos) << failure.message;
  }
  std::unique_ptr<CInternetFile> file(session.OpenURL(server.Url("/exact").c_str()));
  EXPECT_EQ(file->GetLength(), kMaxDownloadBytes) << "the limit itself is allowed";
}

TEST(Download, TheAnswerCannotBeWritten) {
  LocalServer server({Answer("200 OK", "abc")});
  CInternetSession session;
  std::unique_ptr<CInternetFile> file(session.OpenURL(server.Url("/").c_str()));
  bool refused = false;
  try {
    file->Write("x", 1);
  } catch (CNotSupportedException* e) {
    refused = true;
    e->Delete();
  }
  EXPECT_TRUE(refused);
}

}  // namespace
