// What the frame core keeps across runs: the main window placement, the user's toolbars and the
// bars torn off menus.
#include <gtest/gtest.h>

#include <memory>

#include "platform/mfc/DockState.h"
#include "platform/user/Hooks.h"
#include "platform/user/MessageBox.h"
#include "tests/toolkit/core/FrameFixture.h"
#include "toolkit/core/PlxFrameCore.h"
#include "toolkit/core/PlxRegistry.h"

using namespace frametest;

namespace {

std::vector<std::string> g_boxTexts;
HHOOK g_hook = nullptr;

// Answers every message box with OK and keeps its text.
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (HWND text = ::GetDlgItem(window, pictavo::user::kMessageBoxTextId)) {
      char buffer[256] = {};
      ::GetWindowText(text, buffer, sizeof buffer);
      g_boxTexts.emplace_back(buffer);
      ::PostMessage(window, WM_COMMAND, IDOK, 0);
    }
  }
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

class FrameCoreState : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    g_boxTexts.clear();
    g_hook = ::SetWindowsHookEx(WH_CBT, AnswerBoxes, nullptr, ::GetCurrentThreadId());
  }
  void TearDown() override {
    ::UnhookWindowsHookEx(g_hook);
    FrameFixture::TearDown();
  }

  // A second frame, as the next run of the program makes it.
  std::unique_ptr<CTestFrame> NextRun() {
    auto next = std::make_unique<CTestFrame>();
    EXPECT_TRUE(next->Create(nullptr, "Next", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 400)));
    next->EnableDocking(CBRS_ALIGN_ANY);
    return next;
  }

  // A bar as a menu tears off: created on the frame, named, with two commands.
  static CPlxToolBar* TornOff(CFrameWnd* pFrame, UINT id, LPCTSTR name) {
    auto* torn = new CPlxToolBar;
    EXPECT_TRUE(torn->Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, id));
    torn->SetWindowText(name);
    torn->InsertButton(CPlxToolbarButton(id + 1, -1, "One"));
    torn->InsertButton(CPlxToolbarButton(id + 2, -1, "Two"));
    return torn;
  }

  static std::vector<std::string> Names(const CObList& bars) {
    std::vector<std::string> names;
    for (POSITION pos = bars.GetHeadPosition(); pos != nullptr;) {
      auto* bar = static_cast<CControlBar*>(bars.GetNext(pos));
      CString text;
      bar->GetWindowText(text);
      names.emplace_back(std::string(text) + "#" + std::to_string(bar->GetDlgCtrlID()));
    }
    return names;
  }

  static bool KeyExists(const CString& key) {
    CPlxRegistryHolder holder;
    return holder.Create(FALSE, TRUE).Open(key) != FALSE;
  }

  CString TearOffKey(int n) const {
    CString key;
    key.Format("%sControlBars-TearOff-%d", static_cast<LPCTSTR>(workspace.GetRegSectionPath("")), n);
    return key;
  }
};

CRect WorkArea() {
  CRect work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

}  // namespace

TEST_F(FrameCoreState, StoredPlacementComesBackOntoTheWorkArea) {
  const CRect work = WorkArea();
  ASSERT_GT(work.Width(), 700);
  struct Case {
    const char* name;
    bool stored;
    CRect rect;
    int showCmd;
    int pending;  // the application's show command before
    CRect want;   // x, y, x + cx, y + cy of the creation parameters after
    int wantShow;
  };
  const CRect start(10, 20, 310, 220);
  const Case cases[] = {
      {"nothing stored", false, {}, 0, SW_SHOWNORMAL, start, SW_SHOWNORMAL},
      {"stored inside", true, CRect(100, 100, 700, 500), SW_SHOWNORMAL, SW_SHOWNORMAL,
       CRect(100, 100, 700, 500), SW_SHOWNORMAL},
      {"stored maximized", true, CRect(100, 100, 700, 500), SW_SHOWMAXIMIZED, SW_SHOWNORMAL,
       CRect(100, 100, 700, 500), SW_SHOWMAXIMIZED},
      {"stored minimized comes back normal", true, CRect(100, 100, 700, 500), SW_SHOWMINIMIZED, SW_SHOW,
       CRect(100, 100, 700, 500), SW_SHOWNORMAL},
      {"sticking out left and above: moved in, same size", true, CRect(-200, -100, 400, 300), SW_SHOWNORMAL,
       SW_SHOWNORMAL, CRect(0, 0, 600, 400), SW_SHOWNORMAL},
      {"entirely off the work area: left alone", true,
       CRect(work.right + 100, work.bottom + 100, work.right + 500, work.bottom + 400), SW_SHOWNORMAL,
       SW_SHOWNORMAL, start, SW_SHOWNORMAL},
      {"the program asked for maximized: kept", true, CRect(100, 100, 700, 500), SW_SHOWNORMAL,
       SW_SHOWMAXIMIZED, CRect(100, 100, 700, 500), SW_SHOWMAXIMIZED},
  };
  for (const Case& c : cases) {
    workspace.CleanState();
    if (c.stored) ASSERT_TRUE(workspace.StoreWindowPlacement(c.rect, 0, c.showCmd));
    workspace.m_nCmdShow = c.pending;
    CREATESTRUCT cs{};
    cs.hInstance = reinterpret_cast<HINSTANCE>(1);
    cs.x = start.left, cs.y = start.top, cs.cx = start.Width(), cs.cy = start.Height();
    frame.m_Impl.RestorePosition(cs);
    EXPECT_EQ(CRect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy), c.want) << c.name;
    EXPECT_EQ(workspace.m_nCmdShow, c.wantShow) << c.name;
  }
  // A frame not made from a module (no instance) keeps its creation parameters.
  ASSERT_TRUE(workspace.StoreWindowPlacement(CRect(100, 100, 700, 500), 0, SW_SHOWNORMAL));
  CREATESTRUCT cs{};
  cs.x = 5, cs.y = 6, cs.cx = 7, cs.cy = 8;
  frame.m_Impl.RestorePosition(cs);
  EXPECT_EQ(cs.x, 5);
  EXPECT_EQ(cs.cx, 7);
}

TEST_F(FrameCoreState, ClosingStoresThePlacementNormalOrMaximized) {
  CTestFrame main;
  ASSERT_TRUE(main.Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(30, 40, 530, 440)));
  for (int show : {SW_SHOWNORMAL, SW_SHOWMAXIMIZED}) {
    main.ShowWindow(show);
    main.m_Impl.OnCloseFrame();
    CRect rect;
    int flags = -1, showCmd = -1;
    ASSERT_TRUE(workspace.LoadWindowPlacement(rect, flags, showCmd)) << show;
    EXPECT_EQ(rect, CRect(30, 40, 530, 440)) << "the normal rectangle, also while maximized";
    EXPECT_EQ(showCmd, show);
  }
  main.DestroyWindow();
}

TEST_F(FrameCoreState, FreeIdsOfTheUserRange) {
  CPlxToolBar a, b;
  ASSERT_TRUE(a.Create(&frame, WS_CHILD, 2000));
  ASSERT_TRUE(b.Create(&frame, WS_CHILD, 2002));
  CObList none, one, both;
  one.AddTail(&a);
  both.AddTail(&a);
  both.AddTail(&b);
  struct Case {
    UINT first, last;
    const CObList* bars;
    UINT want;
  };
  const Case cases[] = {
      {2000, 2002, &none, 2000},      {2000, 2002, &one, 2001},   {2000, 2002, &both, 2001},
      {2000, 2001, &both, 0},         {(UINT)-1, 2002, &none, 0}, {2000, (UINT)-1, &none, 0},
      {2001, 2001, &one, 0},  // as many bars as ids: full, whatever their ids
      {(UINT)-1, (UINT)-1, &none, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CPlxFrameCore::GetFreeCtrlBarID(c.first, c.last, *c.bars), c.want)
        << c.first << ".." << c.last << " with " << c.bars->GetCount();
  a.DestroyWindow();
  b.DestroyWindow();
}

TEST_F(FrameCoreState, UserToolbarsAreMadeDeletedAndComeBackWithTheirNames) {
  EXPECT_EQ(frame.m_Impl.CreateNewToolBar("None"), nullptr) << "no range configured";
  ASSERT_EQ(g_boxTexts.size(), 1u);
  EXPECT_NE(g_boxTexts[0].find('1'), std::string::npos) << g_boxTexts[0];

  ASSERT_TRUE(frame.m_Impl.EnableUserDefinedToolbars(2000, 2002));
  CPlxToolBar* first = frame.m_Impl.CreateNewToolBar("Mine 1");
  CPlxToolBar* second = frame.m_Impl.CreateNewToolBar("Mine 2");
  CPlxToolBar* third = frame.m_Impl.CreateNewToolBar("Mine 3");
  ASSERT_TRUE(first && second && third);
  EXPECT_TRUE(first->IsFloating());
  EXPECT_EQ(frame.m_Impl.CreateNewToolBar("Mine 4"), nullptr);
  ASSERT_EQ(g_boxTexts.size(), 2u);
  EXPECT_NE(g_boxTexts[1].find('3'), std::string::npos) << "the range holds three: " << g_boxTexts[1];
  first->InsertButton(CPlxToolbarButton(57600, -1, "New"));
  third->InsertButton(CPlxToolbarButton(57603, -1, "Save"));
  EXPECT_TRUE(frame.m_Impl.IsUserDefinedToolbar(second));
  EXPECT_FALSE(frame.m_Impl.IsUserDefinedToolbar(&bar));

  ASSERT_TRUE(frame.m_Impl.SaveUserToolbars(FALSE));
  EXPECT_FALSE(frame.m_Impl.DeleteToolBar(&bar)) << "not one of the user's";
  EXPECT_TRUE(frame.m_Impl.DeleteToolBar(second));
  EXPECT_EQ(Names(frame.m_Impl.GetUserToolbars()), (std::vector<std::string>{"Mine 1#2000", "Mine 3#2002"}));

  auto next = NextRun();
  next->m_Impl.EnableUserDefinedToolbars(2000, 2002);
  next->m_Impl.LoadUserToolbars();
  EXPECT_EQ(Names(next->m_Impl.GetUserToolbars()), (std::vector<std::string>{"Mine 1#2000", "Mine 3#2002"}))
      << "the deleted bar's state went with it";
  auto* back = static_cast<CPlxToolBar*>(next->m_Impl.GetUserToolbars().GetTail());
  ASSERT_EQ(back->GetCount(), 1);
  EXPECT_EQ(back->GetButton(0)->m_nID, 57603u);
  next->DestroyWindow();
}

// Bars of another frame are skipped when only this frame's are saved; the keys still run 0, 1, 2
// without a gap, so loading (which stops at the first missing number) gets every saved bar.
TEST_F(FrameCoreState, TearOffBarsAreNumberedInARow) {
  auto other = NextRun();
  frame.m_Impl.AddTearOffToolbar(TornOff(&frame, 0x7001, "Edit"));
  frame.m_Impl.AddTearOffToolbar(TornOff(other.get(), 0x7002, "Other"));
  frame.m_Impl.AddTearOffToolbar(TornOff(&frame, 0x7003, "View"));
  frame.m_Impl.AddTearOffToolbar(TornOff(&frame, 0x7004, "Tools"));
  ASSERT_TRUE(frame.m_Impl.SaveTearOffMenus(TRUE));
  EXPECT_TRUE(KeyExists(TearOffKey(0)));
  EXPECT_TRUE(KeyExists(TearOffKey(2)));
  EXPECT_FALSE(KeyExists(TearOffKey(3)));

  auto next = NextRun();
  next->m_Impl.LoadTearOffMenus();
  EXPECT_EQ(Names(next->m_Impl.GetTearOffToolbars()),
            (std::vector<std::string>{"Edit#28673", "View#28675", "Tools#28676"}));
  auto* view = static_cast<CPlxToolBar*>(
      next->m_Impl.GetTearOffToolbars().GetAt(next->m_Impl.GetTearOffToolbars().FindIndex(1)));
  ASSERT_EQ(view->GetCount(), 2);
  EXPECT_EQ(view->GetButton(1)->m_nID, 0x7005u);

  // Saving fewer bars leaves no stale key behind.
  frame.m_Impl.RemoveTearOffToolbar(static_cast<CControlBar*>(frame.m_Impl.GetTearOffToolbars().GetTail()));
  ASSERT_TRUE(frame.m_Impl.SaveTearOffMenus(TRUE));
  EXPECT_FALSE(KeyExists(TearOffKey(2)));
  next->m_Impl.LoadTearOffMenus();
  EXPECT_EQ(next->m_Impl.GetTearOffToolbars().GetCount(), 2);
  next->DestroyWindow();
  other->DestroyWindow();
}

// A stored "State" of any class but a toolbar's is refused before it is made; loading stops there.
TEST_F(FrameCoreState, TearOffStateOfAnotherClassIsRefused) {
  {
    CPlxRegistryHolder holder;
    CPlxRegistry& reg = holder.Create(FALSE, FALSE);
    ASSERT_TRUE(reg.CreateKey(TearOffKey(0)));
    CDockState notABar;
    ASSERT_TRUE(reg.WriteDword("ID", 0x7001) && reg.WriteString("Name", "Fake") &&
                reg.WriteObject("State", &notABar));
  }
  CPlxToolBar* real = TornOff(&frame, 0x7003, "Real");
  {
    CPlxRegistryHolder holder;
    CPlxRegistry& reg = holder.Create(FALSE, FALSE);
    ASSERT_TRUE(reg.CreateKey(TearOffKey(1)));
    ASSERT_TRUE(reg.WriteDword("ID", 0x7003) && reg.WriteString("Name", "Real") &&
                reg.WriteObject("State", real));
  }
  real->DestroyWindow();
  delete real;
  auto next = NextRun();
  next->m_Impl.LoadTearOffMenus();
  EXPECT_EQ(next->m_Impl.GetTearOffToolbars().GetCount(), 0);
  EXPECT_EQ(next->GetDlgItem(0x7001), nullptr);
  next->DestroyWindow();
}

// Closing the frame lets hidden tear-off bars go; shown ones stay for the next run.
TEST_F(FrameCoreState, ClosingDropsHiddenTearOffBars) {
  CPlxToolBar* shown = TornOff(&frame, 0x7001, "Shown");
  CPlxToolBar* hidden = TornOff(&frame, 0x7003, "Hidden");
  hidden->ShowWindow(SW_HIDE);
  frame.m_Impl.AddTearOffToolbar(shown);
  frame.m_Impl.AddTearOffToolbar(hidden);
  frame.m_Impl.OnCloseFrame();
  EXPECT_EQ(Names(frame.m_Impl.GetTearOffToolbars()), (std::vector<std::string>{"Shown#28673"}));
  EXPECT_TRUE(KeyExists(TearOffKey(0)));
  EXPECT_FALSE(KeyExists(TearOffKey(1)));
}

// A damaged record (cut short, as a crash during a write or a user's edit leaves it) loads no bar
// and does not bring the program down.
TEST_F(FrameCoreState, ADamagedTearOffRecordLoadsNothing) {
  frame.m_Impl.AddTearOffToolbar(TornOff(&frame, 0x7001, "Edit"));
  ASSERT_TRUE(frame.m_Impl.SaveTearOffMenus(FALSE));
  {
    CPlxRegistryHolder holder;
    CPlxRegistry& reg = holder.Create(FALSE, FALSE);
    ASSERT_TRUE(reg.Open(TearOffKey(0)));
    BYTE* data = nullptr;
    UINT size = 0;
    ASSERT_TRUE(reg.ReadBinary("State", &data, &size));
    ASSERT_GT(size, 12u);
    ASSERT_TRUE(reg.WriteBinary("State", data, size - 6));
    delete[] data;
  }
  auto next = NextRun();
  next->m_Impl.LoadTearOffMenus();
  EXPECT_EQ(next->m_Impl.GetTearOffToolbars().GetCount(), 0);
  EXPECT_EQ(next->GetDlgItem(0x7001), nullptr);
  next->DestroyWindow();
}

// A frame made after a run that stored its placement opens where the last one closed.
TEST_F(FrameCoreState, ANewFrameOpensAtTheStoredPlace) {
  ASSERT_TRUE(workspace.StoreWindowPlacement(CRect(120, 90, 620, 450), 0, SW_SHOWNORMAL));
  CTestFrame next;
  ASSERT_TRUE(next.Create(nullptr, "Next", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
  CRect rect;
  next.GetWindowRect(rect);
  EXPECT_EQ(rect, CRect(120, 90, 620, 450));
  next.DestroyWindow();
}
