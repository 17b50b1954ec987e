// Tearing a sub-menu off by its caption strip: the menu becomes a floating toolbar of the same
// commands that follows the mouse until the button is released, and every other end of the drag
// (Escape, a quit, a capture held elsewhere, a frame that refuses) leaves the menu showing and no
// bar behind.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/Menu.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMiniDockFrameWnd.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxTearOffIdPool.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

constexpr UINT kNoteMessage = WM_APP + 7;

// A toolkit frame whose tear-off hook a test decides, and which quits when it is told to.
class CTearOffFrame : public CPlxFrameWnd {
 public:
  BOOL OnTearOffMenu(CPlxPopupMenu* pMenu, CControlBar* pBar) override {
    ++tearOffs;
    return hook ? hook(pBar) : TRUE;
  }
  std::function<BOOL(CControlBar*)> hook;
  int tearOffs = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kNoteMessage) {
      ::PostQuitMessage(static_cast<int>(wParam));
      return 0;
    }
    return CPlxFrameWnd::WindowProc(message, wParam, lParam);
  }
};

class PlxTearOff : public shelltest::RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    ASSERT_TRUE(m_frame.Create(nullptr, "Tear-off", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 400)));
    m_frame.EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(m_bar.Create(&m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
    m_bar.SetWindowPos(nullptr, 0, 0, 500, 24, SWP_NOZORDER);
    m_frame.SetFocus();
  }
  void TearDown() override {
    for (auto& item : m_items) item->OnCancelMode();
    m_items.clear();
    pictavo::test::PumpPending();
    m_bar.DestroyWindow();
    m_frame.DestroyWindow();
    pictavo::test::PumpPending();
    CPlxMenuGlyphs::CleanUp();
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::DestroyInstance();
  }

  // A menu-bar item at x whose sub-menu (commands, a separator, a recent file, a sub-menu) tears
  // off as bar `id`.
  CPlxToolbarMenuButton* AddMenu(const char* text, UINT id, int x) {
    HMENU find = ::CreatePopupMenu();
    ::AppendMenu(find, MF_STRING, 0xE124, "&Replace");
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenu(menu, MF_STRING, 0xE123, "Cu&t\tCtrl+X");
    ::AppendMenu(menu, MF_STRING, 0xE122, "&Copy");
    ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenu(menu, MF_STRING, 0xE110, "1 Beach.pvs");  // a recent file: not on the bar
    ::AppendMenu(menu, MF_STRING, 0xE125, "&Paste");
    ::AppendMenu(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(find), "&Find");
    auto item = std::make_unique<CPlxToolbarMenuButton>(0, menu, -1, text);
    ::DestroyMenu(menu);
    item->OnChangeParentWnd(&m_bar);
    item->m_rect = CRect(x, 0, x + 50, 22);
    item->SetTearOff(id);
    m_items.push_back(std::move(item));
    return m_items.back().get();
  }
  CPlxPopupMenu* Open(CPlxToolbarMenuButton* item) {
    if (!item->OpenPopupMenu(&m_bar)) return nullptr;
    pictavo::test::PumpPending();
    return item->GetPopupMenu();
  }
  // The middle of the popup's tear-off strip on the screen.
  static CPoint Strip(CPlxPopupMenu* popup) {
    CRect rect;
    popup->GetWindowRect(&rect);
    for (int y = rect.top; y < rect.top + 30; ++y)
      if (popup->MenuHitTest(CPoint(rect.CenterPoint().x, y)) == CPlxPopupMenu::HT_TEAROFF)
        return CPoint(rect.CenterPoint().x, y + 2);
    return CPoint(-1, -1);
  }
  // Presses on the strip and drags out of it through `path`; the rest of the gesture follows.
  static void DragOut(CPoint strip, const std::vector<CPoint>& path) {
    using namespace pictavo::user;
    InjectMouseMove(strip);
    pictavo::test::PumpPending();
    InjectMouseButton(MouseButton::kLeft, true);
    for (CPoint at : path) InjectMouseMove(at);
  }
  // Handles everything queued; a quit met on the way is kept, not lost.
  int PumpKeepingQuit() {
    int code = -1;
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        code = static_cast<int>(msg.wParam);
        continue;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
    return code;
  }
  bool InTearOffList(UINT id) {
    const CObList& list = m_frame.m_Impl.GetTearOffToolbars();
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
      auto* bar = static_cast<CControlBar*>(list.GetNext(pos));
      if (static_cast<UINT>(bar->GetDlgCtrlID()) == id) return true;
    }
    return false;
  }

  CPlxTearOffIdPool m_pool{1000, 1020};
  CTearOffFrame m_frame;
  CPlxToolBar m_bar;
  std::vector<std::unique_ptr<CPlxToolbarMenuButton>> m_items;
};

TEST_F(PlxTearOff, TheStripTearsTheMenuOffAndEscapeCancelsASecondTry) {
  CPlxToolbarMenuButton* edit = AddMenu("&Edit", 1005, 10);
  CPlxToolbarMenuButton* view = AddMenu("&View", 1006, 70);
  CPlxPopupMenu* popup = Open(edit);
  ASSERT_NE(popup, nullptr);
  const CPoint strip = Strip(popup);
  ASSERT_GE(strip.x, 0) << "a tear-off menu shows its strip";

  // The hand goes on moving once the bar is there, and lets go.
  m_frame.hook = [](CControlBar*) {
    pictavo::user::InjectMouseMove(CPoint(250, 300));
    pictavo::user::InjectMouseMove(CPoint(260, 320));
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    return TRUE;
  };
  DragOut(strip, {strip + CSize(0, 30)});
  pictavo::test::PumpPending();
  m_frame.hook = nullptr;

  auto* torn = dynamic_cast<CPlxToolBar*>(m_frame.GetControlBar(1005));
  ASSERT_NE(torn, nullptr);
  EXPECT_TRUE(InTearOffList(1005));
  EXPECT_TRUE(torn->IsFloating());
  CString name;
  torn->GetWindowText(name);
  EXPECT_EQ(std::string(name), "Edit");
  // Cut, Copy, the separator, Paste and Find: the recent file stays off the bar.
  ASSERT_EQ(torn->GetCount(), 5);
  EXPECT_EQ(torn->GetButton(0)->m_nID, 0xE123u);
  EXPECT_EQ(std::string(torn->GetButton(0)->m_strText), "Cu&t\tCtrl+X");
  EXPECT_TRUE(torn->GetButton(2)->m_nStyle & TBBS_SEPARATOR);
  EXPECT_EQ(std::string(torn->GetButton(4)->m_strText), "&Find");
  // The frame stays where the button came up, the cursor 5 pixels into its caption.
  auto* mini = dynamic_cast<CPlxMiniDockFrameWnd*>(torn->GetParent()->GetParent());
  ASSERT_NE(mini, nullptr);
  CRect rect;
  mini->GetWindowRect(&rect);
  EXPECT_EQ(rect.TopLeft(), CPoint(260 - rect.Width() / 2, 320 - 5));
  ASSERT_NE(torn->m_pDockContext, nullptr);
  EXPECT_EQ(torn->m_pDockContext->m_dwDockStyle, static_cast<DWORD>(CBRS_ALIGN_ANY));  // docking back on
  EXPECT_EQ(edit->GetPopupMenu(), nullptr);                                            // the menu closed
  EXPECT_EQ(m_frame.m_listFloating.size(), 1u);

  // The second try, on View, ends with Escape.
  popup = Open(view);
  ASSERT_NE(popup, nullptr);
  const HWND hwndPopup = popup->m_hWnd;
  DragOut(Strip(popup), {Strip(popup) + CSize(0, 30), CPoint(300, 200)});
  pictavo::user::InjectKey({VK_ESCAPE, true});
  pictavo::user::InjectKey({VK_ESCAPE, false});
  pictavo::test::PumpPending();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  pictavo::test::PumpPending();

  EXPECT_EQ(m_frame.GetControlBar(1006), nullptr);
  EXPECT_FALSE(InTearOffList(1006));
  EXPECT_TRUE(InTearOffList(1005));
  EXPECT_EQ(m_frame.m_listFloating.size(), 1u);  // its frame went with it
  ASSERT_TRUE(::IsWindow(hwndPopup));
  EXPECT_TRUE(::IsWindowVisible(hwndPopup)) << "the menu shows again";
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(PlxTearOff, AMenuWhoseBarExistsBringsThatBarBack) {
  CPlxToolbarMenuButton* edit = AddMenu("&Edit", 1005, 10);
  CPlxPopupMenu* popup = Open(edit);
  ASSERT_NE(popup, nullptr);
  DragOut(Strip(popup), {Strip(popup) + CSize(0, 30), CPoint(250, 300)});
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  pictavo::test::PumpPending();
  CControlBar* first = m_frame.GetControlBar(1005);
  ASSERT_NE(first, nullptr);
  m_frame.ShowControlBar(first, FALSE, FALSE);

  popup = Open(edit);
  ASSERT_NE(popup, nullptr);
  DragOut(Strip(popup), {Strip(popup) + CSize(0, 30), CPoint(200, 250)});
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  pictavo::test::PumpPending();
  EXPECT_EQ(m_frame.GetControlBar(1005), first);
  EXPECT_TRUE(first->IsWindowVisible());
  EXPECT_EQ(m_frame.m_Impl.GetTearOffToolbars().GetCount(), 1);

  // Escape on a bar the frame already had leaves it, where the drag put it.
  popup = Open(edit);
  ASSERT_NE(popup, nullptr);
  DragOut(Strip(popup), {Strip(popup) + CSize(0, 30), CPoint(150, 150)});
  pictavo::user::InjectKey({VK_ESCAPE, true});
  pictavo::test::PumpPending();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  pictavo::test::PumpPending();
  EXPECT_EQ(m_frame.GetControlBar(1005), first);
  EXPECT_TRUE(InTearOffList(1005));
}

TEST_F(PlxTearOff, AHiddenTornOffBarGoesWhenTheFrameClosesAndLeavesItsFloatingFrameEmpty) {
  CPlxToolbarMenuButton* edit = AddMenu("&Edit", 1005, 10);
  CPlxPopupMenu* popup = Open(edit);
  ASSERT_NE(popup, nullptr);
  DragOut(Strip(popup), {Strip(popup) + CSize(0, 30), CPoint(250, 300)});
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  pictavo::test::PumpPending();
  CControlBar* torn = m_frame.GetControlBar(1005);
  ASSERT_NE(torn, nullptr);
  auto* mini = dynamic_cast<CPlxMiniDockFrameWnd*>(torn->GetParent()->GetParent());
  ASSERT_NE(mini, nullptr);
  m_frame.ShowControlBar(torn, FALSE, FALSE);
  m_frame.m_Impl.OnCloseFrame();  // destroys and deletes the hidden tear-off bars
  EXPECT_FALSE(InTearOffList(1005));
  EXPECT_EQ(mini->GetBar(), nullptr);  // no dead bar left in the floating frame's rows
  EXPECT_EQ(m_frame.GetControlBar(1005), nullptr);
}

// Every early end cleans up as Escape does: the menu shows again, no bar and no frame stay, and a
// quit is handed on to the application's loop.
TEST_F(PlxTearOff, EveryOtherEndLeavesTheMenuAndNoBar) {
  struct Case {
    const char* what;
    std::function<BOOL(CTearOffFrame&, CControlBar*)> hook;
    int quit;  // the exit code the loop must still see; -1 none
  } const cases[] = {
      {"a quit before tracking",
       [](CTearOffFrame&, CControlBar*) {
         ::PostQuitMessage(9);
         return TRUE;
       },
       9},
      {"a quit while tracking",
       [](CTearOffFrame& frame, CControlBar*) {
         frame.PostMessage(kNoteMessage, 7, 0);  // handled inside the tracking loop
         return TRUE;
       },
       7},
      {"a capture held elsewhere",
       [](CTearOffFrame& frame, CControlBar*) {
         frame.SetCapture();
         return TRUE;
       },
       -1},
      {"a frame that refuses", [](CTearOffFrame&, CControlBar*) { return FALSE; }, -1},
  };
  CPlxToolbarMenuButton* edit = AddMenu("&Edit", 1005, 10);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    m_frame.hook = [&](CControlBar* bar) { return c.hook(m_frame, bar); };
    CPlxPopupMenu* popup = Open(edit);
    ASSERT_NE(popup, nullptr);
    const HWND hwndPopup = popup->m_hWnd;
    const int before = m_frame.tearOffs;
    DragOut(Strip(popup), {Strip(popup) + CSize(0, 30), CPoint(250, 300)});
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    EXPECT_EQ(PumpKeepingQuit(), c.quit);
    EXPECT_EQ(m_frame.tearOffs, before + 1);
    if (::GetCapture() == m_frame.m_hWnd) ::ReleaseCapture();
    EXPECT_EQ(m_frame.GetControlBar(1005), nullptr);
    EXPECT_FALSE(InTearOffList(1005));
    EXPECT_TRUE(m_frame.m_listFloating.empty());
    ASSERT_TRUE(::IsWindow(hwndPopup));
    EXPECT_TRUE(::IsWindowVisible(hwndPopup)) << "the menu is not left hidden";
    edit->OnCancelMode();
    PumpKeepingQuit();
  }
}

}  // namespace
