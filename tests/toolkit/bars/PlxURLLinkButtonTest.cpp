// The link button clicked as a user clicks it: what it hands the desktop's opener (a recording
// stand-in `xdg-open` early on PATH), when the parent sees the click instead, and that a link
// nothing can open beeps and is written to the log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "modules/log/Log.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "tests/support/BeepRecorder.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestInChild.h"
#include "toolkit/bars/PlxURLLinkButton.h"

namespace {

using pictavo::test::PumpPending;
using pictavo::test::PumpUntil;

constexpr UINT kLinkId = 1201;
constexpr DWORD kGuardMs = 10000;  // ends a hopeless wait only

// The frame the button sits in, counting the clicks it is told about.
class CLinkHost : public CFrameWnd {
 public:
  int m_nClicks = 0;

 protected:
  afx_msg void OnLinkClicked() { ++m_nClicks; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLinkHost, CFrameWnd)
ON_BN_CLICKED(kLinkId, OnLinkClicked)
END_MESSAGE_MAP()

// A folder with a stand-in opener that appends each argument it gets as a line to "opened".
struct Opener {
  pictavo::test::ScratchDir dir;
  std::string bin = dir / "bin";
  std::string opened = dir / "opened";

  Opener() {
    dir.Write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + opened + "'\n");
    chmod((dir / "bin/xdg-open").c_str(), 0755);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    const std::string text = pictavo::test::ReadWholeFile(opened);
    for (size_t at = 0; at < text.size();) {
      const size_t end = text.find('\n', at);
      if (end == std::string::npos) break;
      lines.push_back(text.substr(at, end - at));
      at = end + 1;
    }
    return lines;
  }
  // Waits (handling messages) until the opener has written `count` lines.
  bool WaitForLines(size_t count) const {
    return PumpUntil([&] { return Lines().size() >= count; }, kGuardMs, 20);
  }
};

std::string PathWith(const std::string& folder) {
  const char* path = std::getenv("PATH");
  return folder + ":" + (path ? path : "");
}

// A frame with one link button, and the pointer's click on it.
struct LinkWindow {
  CLinkHost frame;
  CPlxURLLinkButton button;

  explicit LinkWindow(const char* caption) {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    EXPECT_TRUE(
        frame.Create(nullptr, "Links", WS_POPUP | WS_VISIBLE, CRect(40, 40, 340, 140), nullptr, nullptr, 0));
    EXPECT_TRUE(button.Create(caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 220, 50), &frame,
                              kLinkId));
    PumpPending();
  }
  ~LinkWindow() {
    if (frame.GetSafeHwnd() != nullptr) frame.DestroyWindow();
    PumpPending();
  }
  void Click() {
    CRect rect;
    button.GetWindowRect(rect);
    pictavo::user::InjectMouseMove(rect.CenterPoint());
    PumpPending();
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    PumpPending();
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    PumpPending();
  }
  // The notification a keyboard or program click sends, which input to a disabled window never does.
  void NotifyClicked() {
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(kLinkId, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button.GetSafeHwnd()));
    PumpPending();
  }
};

TEST(PlxURLLinkButton, AClickOpensTheLinkOrLetsTheParentHaveIt) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  Opener opener;
  pictavo::test::ScopedEnv path("PATH", PathWith(opener.bin).c_str());
  // Those that open nothing come first: anything they wrongly opened would show in the lines.
  const struct {
    const char* name;
    const char* caption;
    const char* url;
    const char* prefix;
    BOOL passToParent;
    BOOL enabled;
    const char* opens;  // null: nothing
    int parentClicks;
  } kCases[] = {
      {"passed to the parent", "Help", "https://pictavo.example/help", "", TRUE, TRUE, nullptr, 1},
      {"disabled", "Help", "https://pictavo.example/help", "", FALSE, FALSE, nullptr, 0},
      {"the caption with the prefix in front", "pictavo.example/help", "", "https://", FALSE, TRUE,
       "https://pictavo.example/help", 0},
      {"the address rather than the caption", "Forum", "https://pictavo.example/forum", "", FALSE, TRUE,
       "https://pictavo.example/forum", 0},
      {"a mail address", "support@pictavo.example", "", "mailto:", FALSE, TRUE,
       "mailto:support@pictavo.example", 0},
  };
  std::vector<std::string> expected;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    LinkWindow window(c.caption);
    window.button.m_strURL = c.url;
    window.button.m_strPrefix = c.prefix;
    window.button.m_bPassClickToParent = c.passToParent;
    window.button.EnableWindow(c.enabled);
    window.Click();
    if (!c.enabled) window.NotifyClicked();
    EXPECT_EQ(window.frame.m_nClicks, c.parentClicks);
    EXPECT_FALSE(window.button.IsHighlighted()) << "the button is not left hot";
    if (c.opens != nullptr) {
      expected.push_back(c.opens);
      ASSERT_TRUE(opener.WaitForLines(expected.size()));
    }
    EXPECT_EQ(opener.Lines(), expected);
  }
}

// Run in a child: the beeps are counted by a display installed before any window.
TEST(PlxURLLinkButton, ALinkNothingCanOpenBeepsAndIsLogged) {
  if (std::getenv("PICTAVO_LINK_CHILD") == nullptr) {
    const auto result = pictavo::test::RunTestInChild("PlxURLLinkButton.ALinkNothingCanOpenBeepsAndIsLogged",
                                                      {{"PICTAVO_LINK_CHILD", "1"}});
    EXPECT_EQ(result.status, 0) << result.output;
    return;
  }
  const auto recorder = pictavo::test::BeepRecorder::Install();
  pictavo::test::ScratchDir scratch;
  const std::string log = scratch / "pictavo.log";
  ASSERT_TRUE(OpenLogFile(log.c_str()));
  Opener opener;
  LinkWindow window("pictavo.example/help");
  window.button.m_strPrefix = "https://";
  {
    pictavo::test::ScopedEnv path("PATH", PathWith(opener.bin).c_str());
    window.Click();
    ASSERT_TRUE(opener.WaitForLines(1));
  }
  EXPECT_EQ(recorder->Beeps(), 0) << "an opened link is quiet";
  {
    // No opener anywhere on the way.
    pictavo::test::ScopedEnv path("PATH", (scratch / "empty").c_str());
    window.Click();
  }
  EXPECT_EQ(recorder->Beeps(), 1);
  pictavo::log::Flush();
  const std::string text = pictavo::test::ReadWholeFile(log);
  EXPECT_NE(text.find("ERROR: Link https://pictavo.example/help could not be opened (31)"), std::string::npos)
      << text;
  EXPECT_EQ(opener.Lines().size(), 1u);
}

}  // namespace
