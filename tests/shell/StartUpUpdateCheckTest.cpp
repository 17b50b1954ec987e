// The update check the program makes by itself after start-up: with a version-file address in
// its settings and a newer version on the server, the new-version dialog opens over the main
// window; without an address nothing is asked. The server is a small one on the loopback address.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/net/Internet.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;

namespace {

class StartUpUpdateCheckTest : public RegistryFixture {
 protected:
  void SetUp() override {
    // The program checks only when the computer is online, whatever the address.
    if (InternetGetConnectedState(nullptr, 0) != 1) GTEST_SKIP() << "this computer is offline";
  }
};

}  // namespace

TEST_F(StartUpUpdateCheckTest, ANewerVersionOpensTheNewVersionDialog) {
  net_test::LocalServer server({net_test::Answer("200 OK", "[Gerneral]\r\nversion=806\r\nbuild=1\r\n")});
  SetString(kAppKey + "\\Update", "VersionFileURL", server.Url("/ver_pictavo.ini"));
  SetString(kAppKey + "\\Update", "UpgradePageURL", "https://example.org/pictavo/upgrade");
  const std::string shot = pictavo::test::SnapshotPath("new-version-at-start-up.png");
  std::ostringstream script;
  script << "wait-window \"Check For New Version of Talvane Pictavo\" 60\n"
         << "snapshot \"" << shot << "\" \"Check For New Version\"\n"
         << "key Escape\n"
         << "wait-gone \"Check For New Version\"\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "command 32791\n";
  ASSERT_EQ(WaitForExit(StartProgram(folder.Path(), {}, script.str())), 0);
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].rfind("GET /ver_pictavo.ini ", 0), 0u);
}
