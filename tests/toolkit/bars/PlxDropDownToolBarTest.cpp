// The drop-down toolbar button pressed as a user presses it, on a small frame with a toolbar: the
// delay is the WM_TIMER the button sets on its bar, dispatched as the message loop would. A quick
// click runs the default command, holding opens the second bar beside the button, and a release
// on one of its buttons runs that command and makes it the default. Also what happens to the
// open bar when its source goes, to the timer when its button goes, and to a frame that failed.
// PICTAVO_WRITE_REFERENCES=1 writes the pictures anew (look at them first).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/kernel/Thread.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/Hooks.h"
#include "tests/support/Canvas.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/bars/PlxDropDownToolBar.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using pictavo::test::Canvas;
using pictavo::test::PumpPending;

constexpr UINT kMainToolbar = 64600;  // the demonstration strip: the second bar's commands
constexpr UINT kFirstCmd = 30001, kOtherCmd = 30002;

// The frame owning both bars: every command that reaches it is logged.
class CommandFrame : public CFrameWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.push_back(LOWORD(wParam));
    return TRUE;
  }
  // Every command has a handler here, so the bars keep their buttons enabled.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI) && pHandlerInfo == nullptr && pExtra != nullptr) {
      static_cast<CCmdUI*>(pExtra)->Enable(TRUE);
      return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
  std::vector<UINT> commands;
};

// A frame with a toolbar holding a plain button and the drop-down button, and the hidden second
// bar the drop-down button stands for.
class DropDownHost {
 public:
  explicit DropDownHost(CPoint at = CPoint(20, 20), DWORD align = CBRS_ALIGN_TOP) {
    frame.Create(nullptr, "Drop-down host", WS_POPUP | WS_VISIBLE, CRect(at.x, at.y, at.x + 300, at.y + 200));
    bar.Create(&frame, WS_CHILD | WS_VISIBLE | align, 1001);
    bar.m_dwStyle &= ~CBRS_GRIPPER;
    bar.SetBorders(0, 0, 0, 0);
    second = std::make_unique<CPlxDropDownToolBar>();
    second->Create(&frame, WS_CHILD | CBRS_ALIGN_TOP, 1002);
    second->LoadToolBar(kMainToolbar);
    while (second->GetCount() > 4) second->RemoveButton(second->GetCount() - 1);
    bar.InsertButton(CPlxToolbarButton(kFirstCmd, 0));
    bar.InsertButton(CPlxDropDownToolbarButton("Shapes", second.get()));
    if (align & CBRS_ORIENT_HORZ)
      bar.SetWindowPos(nullptr, 0, 0, 300, 30, SWP_NOZORDER);
    else
      bar.SetWindowPos(nullptr, 0, 0, 30, 200, SWP_NOZORDER);
    bar.CalcFixedLayout(FALSE, (align & CBRS_ORIENT_HORZ) != 0);
    bar.AdjustLayout();
    ::SetActiveWindow(frame.m_hWnd);
    PumpPending();
  }
  ~DropDownHost() {
    if (bar.GetSafeHwnd() != nullptr) bar.DestroyWindow();
    if (second && second->GetSafeHwnd() != nullptr) second->DestroyWindow();
    if (frame.GetSafeHwnd() != nullptr) frame.DestroyWindow();
    PumpPending();
  }

  CPlxDropDownToolbarButton* Button() const {
    return dynamic_cast<CPlxDropDownToolbarButton*>(bar.GetButton(1));
  }
  CPlxDropDownFrame* Popup() const { return Button() != nullptr ? Button()->GetPopupFrame() : nullptr; }

  static LPARAM Center(const CRect& r) { return MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y); }
  void Press() { bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Center(Button()->m_rect)); }
  void ReleaseOnButton() { bar.SendMessage(WM_LBUTTONUP, 0, Center(Button()->m_rect)); }
  // What the message loop does when the button's delay is up: the timer's own message, which
  // reaches its callback only while the timer exists.
  void DelayElapses() {
    MSG msg{bar.m_hWnd, WM_TIMER, 1, reinterpret_cast<LPARAM>(&CPlxDropDownToolbarButton::OnShowBarTimer)};
    ::DispatchMessage(&msg);
  }
  // The pointer moves onto a button of the open bar and the mouse is released there.
  void ReleaseOnItem(int i) {
    CPlxDropDownToolBar& inner = Popup()->GetToolBar();
    CRect r;
    inner.GetItemRect(i, &r);
    inner.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Center(r));
    inner.SendMessage(WM_LBUTTONUP, 0, Center(r));
    PumpPending();
  }
  UINT SecondCmd(int i) const { return second->GetItemID(i); }

  CommandFrame frame;
  CPlxToolBar bar;
  std::unique_ptr<CPlxDropDownToolBar> second;
};

class PlxDropDownToolBar : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    ::SetCursorPos(0, 0);  // away from every bar: the frame's end sends its bar a release there
  }
  void TearDown() override {
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }
};

// How long the button is held, and where the mouse goes up.
enum class Release { OnButton, OnItem, OnDisabledItem, Outside };

struct PressCase {
  const char* name;
  bool delayElapses;  // held past the 500 ms delay (the timer's message comes) or not (200 ms)
  Release release;
  bool commandRuns;
  bool defaultChanges;
};

TEST_F(PlxDropDownToolBar, PressAndHoldTable) {
  const PressCase cases[] = {
      {"released after 200 ms", false, Release::OnButton, true, false},
      {"held 500 ms, released on an item", true, Release::OnItem, true, true},
      {"held 500 ms, released outside the bar", true, Release::Outside, false, false},
      {"held 500 ms, released on a disabled item", true, Release::OnDisabledItem, false, false},
  };
  for (const PressCase& c : cases) {
    SCOPED_TRACE(c.name);
    DropDownHost host;
    CPlxDropDownToolbarButton* button = host.Button();
    ASSERT_NE(button, nullptr);
    const UINT firstDefault = host.SecondCmd(0);
    ASSERT_EQ(button->m_nID, firstDefault);  // the first button of the second bar, once measured
    host.Press();
    EXPECT_TRUE(button->IsTimerRunning());
    EXPECT_EQ(host.Popup(), nullptr);
    if (c.delayElapses) {
      host.DelayElapses();
      ASSERT_NE(host.Popup(), nullptr);
      EXPECT_FALSE(button->IsTimerRunning());
      // Under a horizontal bar the second bar opens vertical, one pixel left of the button's left
      // edge at its bottom.
      EXPECT_FALSE(host.Popup()->GetToolBar().IsHorizontal());
      CPoint corner(button->m_rect.left - 1, button->m_rect.bottom);
      host.bar.ClientToScreen(&corner);
      CRect popup;
      host.Popup()->GetWindowRect(&popup);
      EXPECT_EQ(popup.TopLeft(), corner);
    }
    switch (c.release) {
      case Release::OnButton:
        host.ReleaseOnButton();
        break;
      case Release::OnItem:
        host.ReleaseOnItem(2);
        break;
      case Release::OnDisabledItem:
        host.Popup()->GetToolBar().SetButtonStyle(2, TBBS_DISABLED);
        host.ReleaseOnItem(2);
        break;
      case Release::Outside:
        host.Popup()->GetToolBar().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
        PumpPending();
        break;
    }
    PumpPending();
    const UINT expected = c.release == Release::OnItem ? host.SecondCmd(2) : firstDefault;
    if (c.commandRuns)
      EXPECT_EQ(host.frame.commands, std::vector<UINT>{expected});
    else
      EXPECT_TRUE(host.frame.commands.empty());
    EXPECT_EQ(button->m_nID, c.defaultChanges ? host.SecondCmd(2) : firstDefault);
    if (c.defaultChanges) EXPECT_EQ(button->m_iDefaultImage, 2);  // its image shows on the button
    if (c.release != Release::OnDisabledItem) EXPECT_EQ(host.Popup(), nullptr);
    EXPECT_FALSE(button->IsTimerRunning());
    EXPECT_EQ(CPlxDropDownToolbarButton::m_pCurrentButton, nullptr);

    // Whatever happened, the next quick click runs the (possibly new) default.
    if (host.Popup() != nullptr) host.Popup()->DestroyWindow();
    PumpPending();
    host.frame.commands.clear();
    host.Press();
    host.ReleaseOnButton();
    PumpPending();
    EXPECT_EQ(host.frame.commands, std::vector<UINT>{button->m_nID});
  }
}

// A press that ends before the delay, released away from the button or cancelled, opens nothing
// when the delay would have run out, and runs no command.
TEST_F(PlxDropDownToolBar, EndedBeforeTheDelayOpensNothing) {
  enum class End { AwayOnTheBar, OffTheBar, CancelMode };
  const std::pair<const char*, End> cases[] = {
      {"released over the plain button", End::AwayOnTheBar},
      {"released off the bar", End::OffTheBar},
      {"cancelled", End::CancelMode},
  };
  for (const auto& [name, end] : cases) {
    SCOPED_TRACE(name);
    DropDownHost host;
    CPlxDropDownToolbarButton* button = host.Button();
    ASSERT_NE(button, nullptr);
    host.Press();
    ASSERT_TRUE(button->IsTimerRunning());
    switch (end) {
      case End::AwayOnTheBar:
        host.bar.SendMessage(WM_LBUTTONUP, 0, DropDownHost::Center(host.bar.GetButton(0)->m_rect));
        break;
      case End::OffTheBar:
        host.bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-40, -40));
        break;
      case End::CancelMode:
        host.bar.SendMessage(WM_CANCELMODE);
        break;
    }
    EXPECT_FALSE(button->IsTimerRunning());
    host.DelayElapses();
    PumpPending();
    EXPECT_EQ(host.Popup(), nullptr);
    EXPECT_TRUE(host.frame.commands.empty());
    EXPECT_EQ(CPlxDropDownToolbarButton::m_pCurrentButton, nullptr);
  }
}

// The open bar holds copies: the source's own presses do not reach it, and a source destroyed
// while it is open leaves its buttons whole; the chosen command still runs.
TEST_F(PlxDropDownToolBar, OpenBarOutlivesItsSource) {
  DropDownHost host;
  host.Press();
  host.DelayElapses();
  ASSERT_NE(host.Popup(), nullptr);
  CPlxDropDownToolBar& inner = host.Popup()->GetToolBar();
  ASSERT_EQ(inner.GetCount(), host.second->GetCount());
  for (int i = 0; i < inner.GetCount(); ++i) EXPECT_NE(inner.GetButton(i), host.second->GetButton(i));
  host.second->SetButtonStyle(1, TBBS_PRESSED);
  EXPECT_FALSE(inner.GetButtonStyle(1) & TBBS_PRESSED);

  const UINT chosen = host.SecondCmd(1);
  host.second->DestroyWindow();
  host.second.reset();
  host.ReleaseOnItem(1);
  EXPECT_EQ(host.frame.commands, std::vector<UINT>{chosen});
  EXPECT_EQ(host.Popup(), nullptr);
  EXPECT_EQ(host.Button()->m_nID, chosen);
  EXPECT_EQ(host.Button()->GetDropDownBar(), nullptr);
  // With its second bar gone the button opens nothing; a click still runs its command.
  host.frame.commands.clear();
  host.Press();
  host.DelayElapses();
  EXPECT_EQ(host.Popup(), nullptr);
  host.Press();
  host.ReleaseOnButton();
  PumpPending();
  EXPECT_EQ(host.frame.commands, std::vector<UINT>{chosen});
}

// A button removed from its bar while its delay runs takes the timer with it: the timer's message
// then finds nothing to call, and the callback itself has no button to reach.
TEST_F(PlxDropDownToolBar, DeletedButtonTakesItsTimer) {
  DropDownHost host;
  host.Press();
  ASSERT_TRUE(host.Button()->IsTimerRunning());
  ASSERT_TRUE(host.bar.RemoveButton(1));
  EXPECT_EQ(CPlxDropDownToolbarButton::m_pCurrentButton, nullptr);
  host.DelayElapses();
  CPlxDropDownToolbarButton::OnShowBarTimer(host.bar.m_hWnd, WM_TIMER, 1, 0);
  host.bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpPending();
  EXPECT_EQ(host.bar.GetCount(), 1);

  // And a button deleted with its bar open closes the bar first.
  host.bar.InsertButton(CPlxDropDownToolbarButton("Shapes", host.second.get()));
  host.bar.AdjustLayout();
  host.Press();
  host.DelayElapses();
  ASSERT_NE(host.Popup(), nullptr);
  const HWND popup = host.Popup()->m_hWnd;
  ASSERT_TRUE(host.bar.RemoveButton(1));
  PumpPending();
  EXPECT_FALSE(::IsWindow(popup));
}

// A frame whose window cannot be made opens nothing and is freed; the next hold opens afresh.
TEST_F(PlxDropDownToolBar, FailedFrameDoesNotBlockTheNextPress) {
  DropDownHost host;
  static HHOOK hook = nullptr;
  hook = ::SetWindowsHookEx(
      WH_CBT,
      [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (code == HCBT_CREATEWND) {
          const auto* cbt = reinterpret_cast<LPCBT_CREATEWND>(lParam);
          const CString& cls = CPlxDropDownFrame::m_strClassName;
          if (!cls.IsEmpty() && cbt->lpcs->lpszClass != nullptr && cls == cbt->lpcs->lpszClass) return 1;
        }
        return ::CallNextHookEx(hook, code, wParam, lParam);
      },
      nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  host.Press();
  host.DelayElapses();
  EXPECT_EQ(host.Popup(), nullptr);
  host.ReleaseOnButton();
  ::UnhookWindowsHookEx(hook);
  PumpPending();
  EXPECT_TRUE(host.frame.commands.empty());

  host.Press();
  host.DelayElapses();
  EXPECT_NE(host.Popup(), nullptr);
  host.ReleaseOnItem(0);
  EXPECT_EQ(host.frame.commands, std::vector<UINT>{host.SecondCmd(0)});
}

// Near the bottom of the screen the bar opens above the button instead.
TEST_F(PlxDropDownToolBar, OpensAboveNearTheScreenBottom) {
  const int bottom = ::GetSystemMetrics(SM_CYFULLSCREEN);
  DropDownHost host(CPoint(20, bottom - 40));
  host.Press();
  host.DelayElapses();
  ASSERT_NE(host.Popup(), nullptr);
  CRect popup, button = host.Button()->m_rect;
  host.Popup()->GetWindowRect(&popup);
  host.bar.ClientToScreen(&button);
  EXPECT_LE(popup.bottom, button.top);
  EXPECT_LE(popup.bottom, bottom);
  host.Popup()->DestroyWindow();
}

// A stored button finds its second bar again by the bar's resource id, or stays without one.
TEST_F(PlxDropDownToolBar, LoadingFindsTheSecondBarByItsResource) {
  struct Case {
    const char* name;
    UINT liveResId;  // the live second bar's resource id when the button is loaded
    bool found;
  };
  const Case cases[] = {{"same resource", kMainToolbar, true}, {"no such bar", kMainToolbar + 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DropDownHost host;
    host.second->m_uiDefaultResId = kMainToolbar;
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store);
      host.Button()->Serialize(ar);
      ar.Close();
    }
    host.second->m_uiDefaultResId = c.liveResId;
    file.SeekToBegin();
    CPlxDropDownToolbarButton loaded;
    {
      CArchive ar(&file, CArchive::load);
      loaded.Serialize(ar);
      ar.Close();
    }
    EXPECT_EQ(loaded.m_strName, "Shapes");
    EXPECT_EQ(loaded.m_iDefaultImage, host.Button()->m_iDefaultImage);
    EXPECT_EQ(loaded.m_pToolBar, c.found ? host.second.get() : nullptr);
  }
}

// The button with its corner arrow (after a new default was chosen), and the open bar beside it.
TEST_F(PlxDropDownToolBar, Look) {
  auto check = [](const std::string& name, CRect area) {
    const auto display = pictavo::user::GetDisplay();
    ASSERT_TRUE(display);
    const auto desktop = pictavo::display::ComposeDesktop(display->DesktopSize());
    ASSERT_TRUE(desktop);
    Canvas canvas(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y)
      for (int x = 0; x < area.Width(); ++x)
        canvas.Pixel(x, y) = desktop->Row(area.top + y)[static_cast<size_t>(area.left + x)] & 0xFFFFFF;
    pictavo::test::WriteCanvasPng(canvas, pictavo::test::SnapshotPath("dropdown-" + name));
    const char* source = std::getenv("PICTAVO_SOURCE_DIR");
    const std::string reference =
        std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
    const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
    if (flag != nullptr && std::string(flag) == "1")
      ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
    EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs";
  };
  DropDownHost host;
  host.Press();
  host.DelayElapses();
  host.ReleaseOnItem(3);
  host.frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpPending();
  CRect bar;
  host.bar.GetWindowRect(&bar);
  check("dropdown-button.png", CRect(bar.left, bar.top, bar.left + 80, bar.top + 30));

  host.Press();
  host.DelayElapses();
  ASSERT_NE(host.Popup(), nullptr);
  CRect r;
  host.Popup()->GetToolBar().GetItemRect(1, &r);
  host.Popup()->GetToolBar().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, DropDownHost::Center(r));
  host.Popup()->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpPending();
  check("dropdown-open.png", CRect(bar.left, bar.top, bar.left + 80, bar.top + 140));
  host.Popup()->DestroyWindow();
}

}  // namespace
