// The update check against a small HTTP server on the loopback address: a newer version, the
// current one, an unreachable or silent server, an oversized or unreadable answer, each ends in
// exactly one message to the report window; and what a version file says, as a table.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "controls/UpdateCheck.h"
#include "platform/mfc/WinThread.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/MessagePump.h"
#include "tests/support/MessageWindow.h"
#include "tests/support/ScratchDir.h"

namespace {

using net_test::Answer;
using net_test::LocalServer;

struct Outcome {
  UINT message = 0;
  int version = 0;
  int build = 0;
  std::string failure;
};

class UpdateCheckTest : public ::testing::Test {
 protected:
  void TearDown() override { SetUpdateReportWindow(nullptr); }

  // Runs one check of `url` on the worker and waits for its message.
  Outcome Check(const std::string& url, DWORD timeoutMs = 5000) {
    auto* job = new UpdateCheckJob;
    job->strURL = url.c_str();
    job->strLocalPath = CString((scratch / VERSION_FILE_NAME).c_str());
    job->strFailureFormat = "Error from %s:\n%sCheck the connection.";
    job->strProductTitle = "Talvane Pictavo";
    job->dwTimeoutMs = timeoutMs;
    SetUpdateReportWindow(window.Handle());
    EXPECT_NE(AfxBeginThread(UpdateCheckThread, job), nullptr);
    MSG msg{};
    Outcome outcome;
    if (!pictavo::test::WaitForMessageInRange(window.Handle(), WM_NEW_VERSION_AVAILABLE,
                                              WM_VERSION_CHECK_FAILED, msg, 60000)) {
      ADD_FAILURE() << "no outcome for " << url;
      return outcome;
    }
    outcome.message = msg.message;
    if (msg.message == WM_VERSION_CHECK_FAILED) {
      char* text = reinterpret_cast<char*>(msg.wParam);
      outcome.failure = text;
      delete[] text;
    } else {
      outcome.version = static_cast<int>(msg.wParam);
      outcome.build = static_cast<int>(msg.lParam);
    }
    return outcome;
  }

  pictavo::test::ScratchDir scratch;
  pictavo::test::MessageWindow window;
};

std::string VersionFile(const std::string& version, const std::string& build) {
  return "[Gerneral]\r\nversion=" + version + "\r\nbuild=" + build + "\r\n";
}

}  // namespace

TEST_F(UpdateCheckTest, WhatAVersionFileSays) {
  struct Case {
    const char* text;
    VersionVerdict verdict;
    int version, build;
  };
  const Case kCases[] = {
      {"[Gerneral]\nversion=806\nbuild=1\n", VersionVerdict::kNewer, 806, 1},
      {"[Gerneral]\nversion=805\nbuild=1805\n", VersionVerdict::kCurrent, 805, 1805},
      {"[Gerneral]\nversion=900\nbuild=0\n", VersionVerdict::kNewer, 900, 0},
      {"[Gerneral]\nversion=700\nbuild=1806\n", VersionVerdict::kNewer, 700, 1806},
      {"[Gerneral]\nversion=805\nbuild=1804\n", VersionVerdict::kCurrent, 805, 1804},
      {"[Gerneral]\nversion=805\n", VersionVerdict::kUnknown, 0, 0},
      {"[General]\nversion=806\nbuild=1\n", VersionVerdict::kUnknown, 0, 0},
      {"[Gerneral]\nversion=8.6\nbuild=1\n", VersionVerdict::kUnknown, 0, 0},
      {"[Gerneral]\nversion=-806\nbuild=1\n", VersionVerdict::kUnknown, 0, 0},
      {"[Gerneral]\nversion=99999999999999999999\nbuild=1\n", VersionVerdict::kUnknown, 0, 0},
      {"<html><body>Not Found</body></html>", VersionVerdict::kUnknown, 0, 0},
      {"", VersionVerdict::kUnknown, 0, 0},
  };
  for (const Case& c : kCases) {
    const std::string path = scratch.Write("ver.ini", c.text);
    const VersionFacts facts = JudgeVersionFile(path.c_str());
    EXPECT_EQ(facts.verdict, c.verdict) << c.text;
    EXPECT_EQ(facts.nVersion, c.version) << c.text;
    EXPECT_EQ(facts.nBuild, c.build) << c.text;
  }
}

TEST_F(UpdateCheckTest, ANewerVersionIsReportedWithItsNumbers) {
  LocalServer server({Answer("200 OK", VersionFile("806", "1"))});
  const Outcome outcome = Check(server.Url("/" VERSION_FILE_NAME));
  EXPECT_EQ(outcome.message, static_cast<UINT>(WM_NEW_VERSION_AVAILABLE));
  EXPECT_EQ(outcome.version, 806);
  EXPECT_EQ(outcome.build, 1);
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].rfind("GET /" VERSION_FILE_NAME " ", 0), 0u);
  // The file is left where the check put it.
  EXPECT_EQ(pictavo::test::ReadWholeFile(scratch / VERSION_FILE_NAME), VersionFile("806", "1"));
}

TEST_F(UpdateCheckTest, TheInstalledVersionIsUpToDate) {
  LocalServer server({Answer("200 OK", VersionFile("805", "1805"))});
  const Outcome outcome = Check(server.Url("/" VERSION_FILE_NAME));
  EXPECT_EQ(outcome.message, static_cast<UINT>(WM_VERSION_UP_TO_DATE));
  EXPECT_EQ(outcome.version, 805);
  EXPECT_EQ(outcome.build, 1805);
}

TEST_F(UpdateCheckTest, EveryFailureEndsInOneMessageThatSaysWhy) {
  struct Case {
    const char* name;
    std::optional<std::string> response;  // std::nullopt: a server that never answers
    const char* reason;                   // a part of the text the user reads
  };
  const std::string oversized = VersionFile("806", "1") + std::string(kMaxVersionFileBytes, ';');
  const Case kCases[] = {
      {"unreadable", Answer("200 OK", "<html><body>Welcome</body></html>"), "could not be read"},
      {"error page", Answer("404 Not Found", "<html>gone</html>"), "HTTP status 404"},
      {"oversized", Answer("200 OK", oversized), "larger than the program accepts"},
      {"silent", std::nullopt, "timed out"},
  };
  for (const Case& c : kCases) {
    LocalServer server({c.response});
    const Outcome outcome = Check(server.Url("/" VERSION_FILE_NAME), /*timeoutMs*/ 300);
    EXPECT_EQ(outcome.message, static_cast<UINT>(WM_VERSION_CHECK_FAILED)) << c.name;
    EXPECT_EQ(outcome.failure.rfind("Error from Talvane Pictavo:\n", 0), 0u)
        << c.name << ": " << outcome.failure;
    EXPECT_NE(outcome.failure.find(c.reason), std::string::npos) << c.name << ": " << outcome.failure;
  }
}

TEST_F(UpdateCheckTest, AnUnreachableServerIsAFailure) {
  const std::string url =
      "http://127.0.0.1:" + std::to_string(LocalServer::ClosedPort()) + "/" VERSION_FILE_NAME;
  const Outcome outcome = Check(url);
  EXPECT_EQ(outcome.message, static_cast<UINT>(WM_VERSION_CHECK_FAILED));
  EXPECT_NE(outcome.failure.find("Check the connection."), std::string::npos) << outcome.failure;
}

TEST_F(UpdateCheckTest, ACheckWithoutAnAddressStartsNothing) {
  GetUpdateCheckSettings().strVersionFileURL.Empty();
  EXPECT_FALSE(CanCheckForUpdates());
  EXPECT_FALSE(StartUpdateCheck(window.Handle()));
  EXPECT_EQ(GetUpdateReportWindow(), nullptr);
}

TEST_F(UpdateCheckTest, TheResultGoesToTheReportWindowOfTheMomentItIsPosted) {
  // Only one window reports at a time: the later one set wins.
  LocalServer server({Answer("200 OK", VersionFile("806", "1"))});
  pictavo::test::MessageWindow later;
  auto* job = new UpdateCheckJob;
  job->strURL = server.Url("/" VERSION_FILE_NAME).c_str();
  job->strLocalPath = CString((scratch / VERSION_FILE_NAME).c_str());
  SetUpdateReportWindow(window.Handle());
  SetUpdateReportWindow(later.Handle());
  ASSERT_NE(AfxBeginThread(UpdateCheckThread, job), nullptr);
  MSG msg{};
  ASSERT_TRUE(later.WaitFor(WM_NEW_VERSION_AVAILABLE, msg, 60000));
  EXPECT_FALSE(window.HasPending(WM_NEW_VERSION_AVAILABLE));
}
