#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Probe.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/InputSynth.h"
#include "platform/display/ScriptPlayer.h"

namespace {

using pictavo::display::ParseScript;
using pictavo::display::PlayScript;
using pictavo::display::ScriptError;
using pictavo::display::ScriptOptions;
using pictavo::display::ScriptStep;

constexpr COLORREF kGrey = RGB(200, 200, 200);
constexpr UINT kMarker = WM_APP;

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / ("script-" + std::to_string(getpid()) + "-" + name))
      .string();
}

// The width and height a PNG file's header gives.
bool PngSize(const std::string& path, int* width, int* height) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[24] = {};
  if (!file.read(reinterpret_cast<char*>(header), sizeof(header))) return false;
  if (header[0] != 0x89 || header[1] != 'P' || header[2] != 'N' || header[3] != 'G') return false;
  *width = (header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19];
  *height = (header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23];
  return true;
}

class ScriptPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("PICTAVO_DISPLAY", "headless", 1);
    setenv("PICTAVO_DESKTOP", "800x600", 1);
    ASSERT_TRUE(pictavo::display::Initialize());
    unsetenv("PICTAVO_DESKTOP");
    probe::Log().clear();
    probe::Handlers().clear();
  }
  void TearDown() override {
    pictavo::display::StopScript();
    for (HWND h : m_windows)
      if (IsWindow(h)) DestroyWindow(h);
    probe::PumpPending();
    probe::Handlers().clear();
    for (const std::string& path : m_files) std::remove(path.c_str());
  }

  HWND TopLevel(const char* title, const RECT& r, DWORD style = WS_POPUP) {
    m_windows.push_back(probe::TopLevel(title, r, kGrey, style));
    return m_windows.back();
  }
  std::string File(const char* name) {
    m_files.push_back(TempPath(name));
    return m_files.back();
  }

  // Plays the script in a message loop on this thread; "" when it ran to its end, otherwise the
  // failure message. `timeoutMs` replaces every step's time-out when given.
  std::string Play(const std::string& script, DWORD timeoutMs = 0) {
    std::vector<ScriptStep> steps;
    ScriptError error;
    EXPECT_TRUE(ParseScript(script, &steps, &error)) << error.message;
    if (timeoutMs)
      for (ScriptStep& step : steps)
        if (step.kind != ScriptStep::Kind::kSleep) step.timeoutMs = timeoutMs;
    std::string failure;
    ScriptOptions options;
    options.name = "test";
    options.onFailure = [&failure](const std::string& message) {
      failure = message;
      PostQuitMessage(1);
    };
    options.onFinished = [] { PostQuitMessage(0); };
    EXPECT_TRUE(PlayScript(std::move(steps), std::move(options)));
    probe::RunLoop();
    return failure;
  }

  std::vector<HWND> m_windows;
  std::vector<std::string> m_files;
};

// A window with a control 101, and a panel holding another control 101 and a control 300.
struct Sample {
  HWND window, shallow, panel, deep, field;
};
Sample MakeSample(HWND window) {
  Sample s{window};
  s.shallow = probe::Child(window, 101, RECT{10, 10, 110, 60}, kGrey);
  s.panel = probe::Child(window, 200, RECT{120, 10, 320, 110}, kGrey);
  s.deep = probe::Child(s.panel, 101, RECT{10, 10, 90, 50}, kGrey);
  s.field = probe::Child(window, 300, RECT{10, 200, 110, 240}, kGrey);
  return s;
}

TEST_F(ScriptPlayer, ClicksTheDeepestControlWithTheIdAtItsCentreOrAtAPoint) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  EXPECT_EQ(Play("wait-window Probe\nclick 101\nclick 300 5 7\nclick-at 113 304\n"), "");
  const auto clicks = probe::Only({WM_LBUTTONDOWN});
  ASSERT_EQ(clicks.size(), 3u);
  EXPECT_EQ(clicks[0].hwnd, s.deep);
  EXPECT_EQ(clicks[0].lParam, MAKELPARAM(40, 20));
  EXPECT_EQ(clicks[1].hwnd, s.field);
  EXPECT_EQ(clicks[1].lParam, MAKELPARAM(5, 7));
  EXPECT_EQ(clicks[2].hwnd, s.field);  // desktop (113, 304) is (3, 4) in the field
  EXPECT_EQ(clicks[2].lParam, MAKELPARAM(3, 4));
}

TEST_F(ScriptPlayer, RightClicksAndTurnsTheWheelOverAControl) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  EXPECT_EQ(Play("wait-window Probe\nrclick 300 5 7\nrclick 101\nwheel 300 -2\nwheel 300 1\n"), "");
  const auto clicks = probe::Only({WM_RBUTTONDOWN, WM_RBUTTONUP});
  ASSERT_EQ(clicks.size(), 4u);
  EXPECT_EQ(clicks[0].message, static_cast<UINT>(WM_RBUTTONDOWN));
  EXPECT_EQ(clicks[0].hwnd, s.field);
  EXPECT_EQ(clicks[0].lParam, MAKELPARAM(5, 7));
  EXPECT_EQ(clicks[1].message, static_cast<UINT>(WM_RBUTTONUP));
  EXPECT_EQ(clicks[2].hwnd, s.deep);
  EXPECT_EQ(clicks[2].lParam, MAKELPARAM(40, 20));
  EXPECT_TRUE(probe::Only({WM_LBUTTONDOWN}).empty());

  std::vector<int> notches;
  for (const auto& e : probe::Only({WM_MOUSEWHEEL})) {
    // Screen coordinates of the pointer: the field's centre.
    EXPECT_EQ(e.lParam, MAKELPARAM(100 + 10 + 50, 100 + 200 + 20));
    notches.push_back(static_cast<short>(HIWORD(e.wParam)) / WHEEL_DELTA);
  }
  EXPECT_EQ(notches, (std::vector<int>{-1, -1, 1}));
}

TEST_F(ScriptPlayer, DragsInStepsToAControlOfThisOrAnotherWindow) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  const HWND other = TopLevel("Other", RECT{550, 100, 750, 300});
  const HWND drop = probe::Child(other, 400, RECT{20, 20, 120, 120}, kGrey);
  EXPECT_EQ(Play("wait-window Probe\ndrag 300 5 5 101 10 12\ndrag 300 2 3 400 50 60\n"), "");

  const auto events = probe::Only({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP});
  struct Expect {
    HWND down;
    LPARAM downAt;
    HWND up;
    LPARAM upAt;  // in the client coordinates of `up`
  };
  const Expect kDrags[] = {{s.field, MAKELPARAM(5, 5), s.deep, MAKELPARAM(10, 12)},
                           {s.field, MAKELPARAM(2, 3), drop, MAKELPARAM(50, 60)}};
  size_t at = 0;
  for (const Expect& drag : kDrags) {
    while (at < events.size() && events[at].message != WM_LBUTTONDOWN) ++at;
    ASSERT_LT(at, events.size());
    EXPECT_EQ(events[at].hwnd, drag.down);
    EXPECT_EQ(events[at].lParam, drag.downAt);
    // The moves between press and release: each one arrives on its own, a hand's path.
    int moves = 0;
    for (++at; at < events.size() && events[at].message == WM_MOUSEMOVE; ++at) ++moves;
    EXPECT_GE(moves, 7);
    ASSERT_LT(at, events.size());
    EXPECT_EQ(events[at].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(events[at].hwnd, drag.up);
    EXPECT_EQ(events[at].lParam, drag.upAt);
  }
}

TEST_F(ScriptPlayer, DragsAndHoversBetweenDesktopPointsOutsideControls) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  // From the window's own area (no control there) to the field's (3, 4).
  EXPECT_EQ(Play("wait-window Probe\ndrag-at 105 105 113 304\nmove-at 240 130\n"), "");
  const auto events = probe::Only({WM_LBUTTONDOWN, WM_LBUTTONUP});
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].hwnd, s.window);
  EXPECT_EQ(events[0].lParam, MAKELPARAM(5, 5));
  EXPECT_EQ(events[1].hwnd, s.field);
  EXPECT_EQ(events[1].lParam, MAKELPARAM(3, 4));
  const auto hovers = probe::Only({WM_MOUSEMOVE});
  EXPECT_GE(hovers.size(), 8u) << "the drag's moves and the hover";
  ASSERT_FALSE(hovers.empty());
  // The deep control lies at desktop (230, 120): the hover's (240, 130) is its (10, 10).
  EXPECT_EQ(hovers.back().hwnd, s.deep);
  EXPECT_EQ(hovers.back().lParam, MAKELPARAM(10, 10));
}

TEST_F(ScriptPlayer, PressesAndReleasesApartWithKeysBetweenAndClicksInPopups) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  const HWND popup = TopLevel("", RECT{550, 100, 750, 300});
  const HWND item = probe::Child(popup, 101, RECT{20, 20, 120, 120}, kGrey);
  EXPECT_EQ(
      Play("wait-window Probe\npress-at 113 304\nkey Escape\nrelease-at 240 130\nclick-popup 101 4 5\n"), "");
  const auto events = probe::Only({WM_LBUTTONDOWN, WM_KEYDOWN, WM_LBUTTONUP});
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].hwnd, s.field);  // desktop (113, 304)
  EXPECT_EQ(events[0].lParam, MAKELPARAM(3, 4));
  EXPECT_EQ(events[1].message, static_cast<UINT>(WM_KEYDOWN)) << "the key comes with the button down";
  EXPECT_EQ(events[2].message, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(events[2].hwnd, s.deep);  // desktop (240, 130)
  EXPECT_EQ(events[2].lParam, MAKELPARAM(10, 10));
  // The target has a control 101 too: click-popup takes the other window's.
  EXPECT_EQ(events[3].hwnd, item);
  EXPECT_EQ(events[3].lParam, MAKELPARAM(4, 5));
}

TEST_F(ScriptPlayer, AHeldDragWaitsWithTheButtonDownForItsDropControl) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  HWND drop = nullptr;
  bool heldWhenShown = false;
  // The drop control comes only once the button has been down a while, as a drop-down bar does.
  probe::On(s.field, WM_LBUTTONDOWN, [](HWND hwnd, WPARAM, LPARAM) { SetTimer(hwnd, 1, 50, nullptr); });
  probe::On(s.field, WM_TIMER, [&](HWND hwnd, WPARAM, LPARAM) {
    KillTimer(hwnd, 1);
    heldWhenShown = GetKeyState(VK_LBUTTON) < 0;
    m_windows.push_back(probe::TopLevel("Popup", RECT{550, 100, 750, 300}, kGrey));
    drop = probe::Child(m_windows.back(), 400, RECT{20, 20, 120, 120}, kGrey);
  });
  EXPECT_EQ(Play("wait-window Probe\ndrag 300 5 5 400 50 60 hold\n"), "");
  ASSERT_NE(drop, nullptr);
  EXPECT_TRUE(heldWhenShown) << "the button stays down until the bar shows";
  const auto events = probe::Only({WM_LBUTTONDOWN, WM_LBUTTONUP});
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].hwnd, s.field);
  EXPECT_EQ(events[1].hwnd, drop);
  EXPECT_EQ(events[1].lParam, MAKELPARAM(50, 60));
}

TEST_F(ScriptPlayer, ADragWithTheCaptureEndsInThePressedControl) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  probe::On(s.field, WM_LBUTTONDOWN, [](HWND hwnd, WPARAM, LPARAM) { SetCapture(hwnd); });
  probe::On(s.field, WM_LBUTTONUP, [](HWND, WPARAM, LPARAM) { ReleaseCapture(); });
  EXPECT_EQ(Play("wait-window Probe\ndrag 300 5 5 101 10 12\n"), "");
  const auto ups = probe::Only({WM_LBUTTONUP});
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(ups[0].hwnd, s.field);
  // The deep control's (10, 12) is desktop (100+120+10+10, 100+10+10+12); the field lies at (110, 300).
  EXPECT_EQ(ups[0].lParam, MAKELPARAM(240 - 110, 132 - 300));
}

TEST_F(ScriptPlayer, DoubleClicksTypesAndPressesKeys) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  EXPECT_EQ(
      Play("wait-window Probe\ndblclick 300\ntype Hé y\nkey Enter\nkey Ctrl+S\nkey Shift+F5\nkey Alt+X\n"),
      "");
  const auto clicks = probe::Only({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK});
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[1].message, static_cast<UINT>(WM_LBUTTONDBLCLK));
  EXPECT_EQ(clicks[1].hwnd, s.field);
  std::u32string typed;
  for (const auto& e : probe::Only({WM_CHAR}))
    if (e.wParam >= 0x20) typed += static_cast<char32_t>(e.wParam);
  EXPECT_EQ(typed, U"Hé y");
  struct Key {
    UINT message;
    WPARAM key;
    UINT modifiers;
  };
  std::vector<Key> keys;
  for (const auto& e : probe::Only({WM_KEYDOWN, WM_SYSKEYDOWN})) {
    EXPECT_EQ(e.hwnd, s.field);  // the click gave it the focus
    if (e.wParam == VK_SHIFT || e.wParam == VK_CONTROL || e.wParam == VK_MENU) continue;
    if (e.wParam == 'H' || e.wParam == 'Y' || e.wParam == VK_SPACE || e.wParam == VK_PACKET) continue;
    keys.push_back(Key{e.message, e.wParam, e.modifiers});
  }
  const Key expected[] = {{WM_KEYDOWN, VK_RETURN, 0},
                          {WM_KEYDOWN, 'S', MOD_CONTROL},
                          {WM_KEYDOWN, VK_F5, MOD_SHIFT},
                          {WM_SYSKEYDOWN, 'X', MOD_ALT}};
  ASSERT_EQ(keys.size(), std::size(expected));
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].message, expected[i].message) << i;
    EXPECT_EQ(keys[i].key, expected[i].key) << i;
    EXPECT_EQ(keys[i].modifiers, expected[i].modifiers) << i;
  }
}

TEST_F(ScriptPlayer, WaitWindowTargetsTheNewestEnabledMatch) {
  const Sample older = MakeSample(TopLevel("Probe one", RECT{0, 0, 400, 300}));
  const Sample newer = MakeSample(TopLevel("Probe two", RECT{400, 0, 800, 300}));
  const HWND disabled = TopLevel("Probe three", RECT{0, 300, 400, 600});
  probe::Child(disabled, 101, RECT{10, 10, 110, 60}, kGrey);
  EnableWindow(disabled, FALSE);
  EXPECT_EQ(Play("wait-window Probe\nclick 101\n"), "");
  const auto clicks = probe::Only({WM_LBUTTONDOWN});
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].hwnd, newer.deep);
  EXPECT_NE(clicks[0].hwnd, older.deep);
}

TEST_F(ScriptPlayer, WaitsForWindowsToComeAndGoAndForFiles) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  const std::string file = File("made.txt");
  std::thread writer;
  // A click shows a window, and the program writes a file meanwhile; the window goes on a timer.
  probe::On(s.deep, WM_LBUTTONDOWN, [&](HWND, WPARAM, LPARAM) {
    const HWND later = TopLevel("Later", RECT{600, 400, 700, 500});
    SetTimer(later, 1, 30, nullptr);
    probe::On(later, WM_TIMER, [](HWND hwnd, WPARAM, LPARAM) { DestroyWindow(hwnd); });
    writer = std::thread([file] { std::ofstream(file) << "done"; });
  });
  EXPECT_EQ(Play("wait-window Probe\nclick 101\nwait-window Later 5\nwait-gone Later 5\nwait-file " + file +
                 " 5\n"),
            "");
  if (writer.joinable()) writer.join();
  EXPECT_FALSE(FindWindow(nullptr, "Later"));
  EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(ScriptPlayer, SnapshotsTheDesktopOrOneWindow) {
  MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  const std::string desktop = File("desktop.png");
  const std::string window = File("window.png");
  EXPECT_EQ(Play("snapshot " + desktop + "\nsnapshot " + window + " Probe\n"), "");
  int width = 0;
  int height = 0;
  ASSERT_TRUE(PngSize(desktop, &width, &height));
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  ASSERT_TRUE(PngSize(window, &width, &height));
  EXPECT_EQ(width, 400);
  EXPECT_EQ(height, 300);
}

TEST_F(ScriptPlayer, PicksMenuCommandsAfterTheMenuIsInitialised) {
  const HWND window = TopLevel("Menu probe", RECT{100, 100, 500, 400}, WS_POPUP | WS_CAPTION);
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU recent = CreatePopupMenu();
  AppendMenu(file, MF_STRING, 501, "&New");
  AppendMenu(file, MF_STRING | MF_GRAYED, 502, "&Save");
  AppendMenu(recent, MF_STRING | MF_GRAYED, 503, "&Clear");
  AppendMenu(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  SetMenu(window, bar);
  // Save is enabled only when its popup is being opened.
  probe::On(window, WM_INITMENUPOPUP, [file](HWND, WPARAM popup, LPARAM) {
    if (reinterpret_cast<HMENU>(popup) == file) EnableMenuItem(file, 502, MF_BYCOMMAND | MF_ENABLED);
  });
  EXPECT_EQ(Play("wait-window Menu probe\ncommand 501\ncommand 502\n"), "");
  std::vector<std::pair<UINT, WPARAM>> seen;
  for (const auto& e : probe::Only({WM_INITMENU, WM_INITMENUPOPUP, WM_COMMAND}))
    seen.emplace_back(e.message, e.wParam);
  const std::vector<std::pair<UINT, WPARAM>> expected{{WM_INITMENU, reinterpret_cast<WPARAM>(bar)},
                                                      {WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file)},
                                                      {WM_COMMAND, 501},
                                                      {WM_INITMENU, reinterpret_cast<WPARAM>(bar)},
                                                      {WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file)},
                                                      {WM_COMMAND, 502}};
  EXPECT_EQ(seen, expected);

  probe::Log().clear();
  const std::string failure = Play("wait-window Menu probe\n\ncommand 503\n");
  EXPECT_NE(failure.find("line 3 (command 503): command 503 is disabled"), std::string::npos) << failure;
  // The popups on the way to it were opened first, and nothing was posted.
  EXPECT_EQ(probe::Only({WM_INITMENUPOPUP}).size(), 2u);
  EXPECT_TRUE(probe::Only({WM_COMMAND}).empty());
}

// A step waits while the program only pumps (a wait on something else), and plays inside the
// modal loop that runs next.
TEST_F(ScriptPlayer, InputGoesOnlyToLoopsThatTakeMessages) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  bool fieldClicked = false;
  probe::On(s.field, WM_LBUTTONDOWN, [&](HWND, WPARAM, LPARAM) { fieldClicked = true; });
  probe::On(s.deep, WM_LBUTTONDOWN, [&](HWND hwnd, WPARAM, LPARAM) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    for (bool quit = false; !quit && std::chrono::steady_clock::now() < until;) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      MSG msg;
      while (!quit && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        quit = msg.message == WM_QUIT;
        if (quit)
          PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
        else
          DispatchMessage(&msg);
      }
    }
    SendMessage(hwnd, kMarker, 1, 0);  // the pumping wait is over
    pictavo::user::ModalLoop loop;
    loop.done = [&] { return fieldClicked; };
    pictavo::user::RunModalLoop(loop);
    SendMessage(hwnd, kMarker, 2, 0);  // the modal loop is over
  });
  EXPECT_EQ(Play("wait-window Probe\nclick 101\nclick 300\n"), "");
  std::vector<std::pair<HWND, UINT>> order;
  for (const auto& e : probe::Only({WM_LBUTTONDOWN, kMarker})) order.emplace_back(e.hwnd, e.message);
  const std::vector<std::pair<HWND, UINT>> expected{
      {s.deep, WM_LBUTTONDOWN}, {s.deep, kMarker}, {s.field, WM_LBUTTONDOWN}, {s.deep, kMarker}};
  EXPECT_EQ(order, expected);
}

TEST_F(ScriptPlayer, AStepThatCannotActNamesItselfAndWhy) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  const HWND disabled = probe::Child(s.window, 400, RECT{200, 200, 300, 240}, kGrey);
  EnableWindow(disabled, FALSE);
  const HWND covered = probe::Child(s.window, 500, RECT{300, 250, 390, 290}, kGrey);
  TopLevel("Cover", RECT{390, 340, 500, 400});
  (void)covered;
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"click 101\n", "line 1 (click 101): no target window"},
      {"wait-window Nobody\n",
       "line 1 (wait-window Nobody): not done within 0.2 s: no visible, enabled window whose "
       "title contains \"Nobody\""},
      {"wait-window Probe\nclick 777\n",
       "line 2 (click 777): not done within 0.2 s: no visible control 777 in \"Probe\""},
      {"wait-window Probe\nclick 400\n",
       "line 2 (click 400): not done within 0.2 s: control 400 is disabled"},
      {"wait-window Probe\nclick 500\n", "line 2 (click 500): not done within 0.2 s: control 500 is covered"},
      {"wait-window Probe\nclick 300 100 5\n", "line 2 (click 300 100 5): 100 5 is outside control 300"},
      {"wait-window Probe\nwait-gone Probe\n", "line 2 (wait-gone Probe): not done within 0.2 s"},
      {"wait-file /nonexistent/file\n",
       "line 1 (wait-file /nonexistent/file): not done within 0.2 s: no file"},
      {"wait-window Probe\ncommand 5\n", "line 2 (command 5): not done within 0.2 s: \"Probe\" has no menu"},
      {"snapshot /nonexistent/folder/x.png\n", "line 1 (snapshot /nonexistent/folder/x.png): cannot write"},
  };
  for (const Case& c : cases) {
    probe::Log().clear();
    const std::string failure = Play(c.script, 200);
    EXPECT_NE(failure.find("pictavo: script test " + std::string(c.message)), std::string::npos)
        << c.script << " gave: " << failure;
    EXPECT_TRUE(probe::Only({WM_LBUTTONDOWN}).empty()) << c.script;
  }
}

TEST_F(ScriptPlayer, TheTargetClosingEndsTheScript) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  probe::On(s.deep, WM_LBUTTONDOWN, [&](HWND, WPARAM, LPARAM) { DestroyWindow(s.window); });
  const std::string failure = Play("wait-window Probe\nclick 101\nkey Enter\n");
  EXPECT_NE(failure.find("line 3 (key Enter): the target window has closed"), std::string::npos) << failure;
}

}  // namespace

TEST_F(ScriptPlayer, ADragHoldsItsKeysFromPressToRelease) {
  const Sample s = MakeSample(TopLevel("Probe", RECT{100, 100, 500, 400}));
  EXPECT_EQ(Play("wait-window Probe\ndrag 300 5 5 101 10 12 Ctrl\n"), "");
  const auto events = probe::Only({WM_LBUTTONDOWN, WM_LBUTTONUP});
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].wParam & MK_CONTROL) << "held at the press";
  EXPECT_TRUE(events[1].wParam & MK_CONTROL) << "still held at the release";
  EXPECT_EQ(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0) << "let go afterwards";
}
