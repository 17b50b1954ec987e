// Ending the session asks the desktop, then the system, in order, and never forces programs to
// close. The commands are only recorded here: nothing ends the session of the machine running
// the tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/media/ExitWindows.h"

namespace {

using pictavo::media::SessionCommandOutcome;
using pictavo::media::SessionEndCommands;
using pictavo::media::SetSessionCommandRunner;
using Commands = std::vector<std::vector<std::string>>;

class SessionEnd : public ::testing::Test {
 protected:
  // Each command gets the next outcome of `outcomes` (the last one repeats).
  void Answer(std::vector<SessionCommandOutcome> outcomes) {
    SetSessionCommandRunner([this, outcomes](const std::vector<std::string>& argv) {
      const size_t i = std::min(m_tried.size(), outcomes.size() - 1);
      m_tried.push_back(argv);
      return outcomes[i];
    });
  }
  void TearDown() override {
    // Never the real commands in a test process.
    SetSessionCommandRunner([](const std::vector<std::string>&) { return SessionCommandOutcome::kMissing; });
  }

  Commands m_tried;
};

TEST_F(SessionEnd, EachRequestAsksTheDesktopFirst) {
  struct Case {
    UINT flags;
    std::vector<std::string> first;
    std::vector<std::string> last;
  };
  const Case cases[] = {
      {EWX_SHUTDOWN | EWX_POWEROFF, {"gnome-session-quit", "--power-off"}, {"systemctl", "poweroff"}},
      {EWX_SHUTDOWN | EWX_FORCE, {"gnome-session-quit", "--power-off"}, {"systemctl", "poweroff"}},
      {EWX_POWEROFF, {"gnome-session-quit", "--power-off"}, {"systemctl", "poweroff"}},
      {EWX_REBOOT, {"gnome-session-quit", "--reboot"}, {"systemctl", "reboot"}},
      {EWX_REBOOT | EWX_FORCEIFHUNG, {"gnome-session-quit", "--reboot"}, {"systemctl", "reboot"}},
  };
  for (const Case& c : cases) {
    const Commands commands = SessionEndCommands(c.flags);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), c.first) << c.flags;
    EXPECT_EQ(commands.back(), c.last) << c.flags;
  }
  EXPECT_EQ(SessionEndCommands(EWX_LOGOFF).front(),
            (std::vector<std::string>{"gnome-session-quit", "--logout", "--no-prompt"}));
  // Forcing changes nothing: no command forces other programs to close.
  EXPECT_EQ(SessionEndCommands(EWX_SHUTDOWN), SessionEndCommands(EWX_SHUTDOWN | EWX_FORCE));
  EXPECT_EQ(SessionEndCommands(EWX_LOGOFF), SessionEndCommands(EWX_FORCE));
}

TEST_F(SessionEnd, CommandsAreTriedInOrderUntilOneAccepts) {
  Answer(
      {SessionCommandOutcome::kMissing, SessionCommandOutcome::kRefused, SessionCommandOutcome::kAccepted});
  EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0));
  EXPECT_EQ(m_tried, SessionEndCommands(EWX_SHUTDOWN));
}

TEST_F(SessionEnd, TheFirstAcceptingCommandEndsTheSearch) {
  Answer({SessionCommandOutcome::kAccepted});
  EXPECT_TRUE(ExitWindowsEx(EWX_REBOOT, 0));
  EXPECT_EQ(m_tried.size(), 1u);
}

TEST_F(SessionEnd, WhenNoneAcceptsTheCallFailsWithAReason) {
  struct Case {
    SessionCommandOutcome outcome;
    DWORD error;
  };
  const Case cases[] = {{SessionCommandOutcome::kMissing, ERROR_NOT_SUPPORTED},
                        {SessionCommandOutcome::kRefused, ERROR_ACCESS_DENIED}};
  for (const Case& c : cases) {
    m_tried.clear();
    Answer({c.outcome});
    SetLastError(0);
    EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, 0));
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(m_tried, SessionEndCommands(EWX_POWEROFF)) << "every command was tried";
  }
}

}  // namespace
