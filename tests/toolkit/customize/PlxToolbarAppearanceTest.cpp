// A toolbar in customize mode opens the button appearance dialog from its button commands, and
// what the user chooses there (or a cancel) reaches the button.
#include <functional>
#include <utility>

#include "tests/toolkit/customize/SheetHost.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/customize/PlxButtonAppearanceDlg.h"
#include "toolkit/customize/PlxImageEditorDlg.h"

namespace {

constexpr UINT kAppearance = 16913, kImageOnly = 16914;

// The bar's button commands, reached as its context menu reaches them.
class CEditedToolBar : public CPlxToolBar {
 public:
  using CPlxToolBar::OnCustomizeCommand;
};

std::function<void(CPlxButtonAppearanceDlg&)> g_answer;
bool g_answered = false;

// Answers the appearance dialog once it is on screen.
void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  auto* dialog = dynamic_cast<CPlxButtonAppearanceDlg*>(CWnd::FromHandlePermanent(::GetActiveWindow()));
  if (dialog == nullptr || !dialog->IsWindowVisible() || !g_answer) return;
  ::KillTimer(nullptr, id);
  auto answer = std::move(g_answer);
  g_answer = nullptr;
  g_answered = true;
  answer(*dialog);
}

class ToolbarAppearance : public sheettest::SheetHost {
 protected:
  void SetUp() override {
    SheetHost::SetUp();
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE802));
    ASSERT_TRUE(bar.LoadToolBar(sheettest::kStandardBar));
    bar.SetWindowPos(nullptr, 0, 80, 400, 26, SWP_NOZORDER);
    sheet = Open();
    ASSERT_NE(sheet, nullptr);
    g_answered = false;
  }
  void TearDown() override {
    if (timer) ::KillTimer(nullptr, timer);  // a dialog that never came leaves it behind
    g_answer = nullptr;
    if (bar.GetSafeHwnd()) bar.DestroyWindow();
    SheetHost::TearDown();
  }
  // Runs a button command on button i with the dialog answered by `answer`.
  void Run(int i, UINT command, std::function<void(CPlxButtonAppearanceDlg&)> answer) {
    bar.m_iSelected = i;
    g_answer = std::move(answer);
    timer = ::SetTimer(nullptr, 0, 1, Answer);
    bar.OnCustomizeCommand(command);
  }
  CEditedToolBar bar;
  CPlxToolbarCustomize* sheet = nullptr;
  UINT_PTR timer = 0;
};

TEST_F(ToolbarAppearance, TheAppearanceCommandAppliesTheChoices) {
  CPlxToolbarButton* button = bar.GetButton(0);
  ASSERT_NE(button, nullptr);
  Run(0, kAppearance, [](CPlxButtonAppearanceDlg& d) {
    d.CheckRadioButton(16505, 16507, 16506);
    d.SendMessage(WM_COMMAND, MAKEWPARAM(16506, BN_CLICKED));
    d.SetDlgItemText(16500, "Start");
    d.SendMessage(WM_COMMAND, IDOK);
  });
  EXPECT_TRUE(g_answered);
  EXPECT_EQ(button->m_strText, "Start");
  EXPECT_TRUE(button->m_bText);
  EXPECT_FALSE(button->m_bImage);
}

TEST_F(ToolbarAppearance, ImageOnlyWithoutAnImageAsksAndACancelRestores) {
  CPlxToolbarButton* button = bar.GetButton(1);
  ASSERT_NE(button, nullptr);
  button->m_iImage = -1;
  button->m_bImage = FALSE;
  button->m_bText = TRUE;
  button->m_strText = "Open";
  Run(1, kImageOnly, [](CPlxButtonAppearanceDlg& d) { d.SendMessage(WM_COMMAND, IDCANCEL); });
  EXPECT_TRUE(g_answered);
  EXPECT_TRUE(button->m_bText);
  EXPECT_FALSE(button->m_bImage);
  EXPECT_EQ(button->m_strText, "Open");
}

std::function<void(CPlxImageEditorDlg&)> g_draw;

// Draws in the image editor once it is on screen.
void CALLBACK Draw(HWND, UINT, UINT_PTR id, DWORD) {
  auto* editor = dynamic_cast<CPlxImageEditorDlg*>(CWnd::FromHandlePermanent(::GetActiveWindow()));
  if (editor == nullptr || !editor->IsWindowVisible() || !g_draw) return;
  ::KillTimer(nullptr, id);
  auto draw = std::move(g_draw);
  g_draw = nullptr;
  draw(*editor);
}

// Appearance, user-defined image, New: the sheet's editor opens on a new image, a pixel is drawn,
// OK, OK: the button shows the new user image.
TEST_F(ToolbarAppearance, ANewImageDrawnInTheEditorBecomesTheButtonsImage) {
  CPlxButtonImages userImages;
  userImages.SetImageSize(CSize(16, 15));
  CPlxToolBar::SetUserImages(&userImages);
  CPlxToolbarButton* button = bar.GetButton(0);
  ASSERT_NE(button, nullptr);
  bool drew = false;
  Run(0, kAppearance, [&](CPlxButtonAppearanceDlg& d) {
    d.SendMessage(WM_COMMAND, MAKEWPARAM(16529, BN_CLICKED));
    g_draw = [&](CPlxImageEditorDlg& editor) {
      CPlxPixelEditCtrl& grid = editor.PixelGrid();
      const CSize cell = grid.GetCellSize();
      const LPARAM at = MAKELPARAM(1 + 2 * cell.cx + cell.cx / 2, 1 + 3 * cell.cy + cell.cy / 2);
      grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
      grid.SendMessage(WM_LBUTTONUP, 0, at);
      drew = true;
      editor.SendMessage(WM_COMMAND, IDOK);
    };
    const UINT_PTR drawTimer = ::SetTimer(nullptr, 0, 1, Draw);
    d.SendMessage(WM_COMMAND, MAKEWPARAM(16509, BN_CLICKED));
    ::KillTimer(nullptr, drawTimer);
    d.SendMessage(WM_COMMAND, IDOK);
  });
  CPlxToolBar::SetUserImages(nullptr);
  EXPECT_TRUE(g_answered);
  EXPECT_TRUE(drew);
  ASSERT_EQ(userImages.GetCount(), 1);
  EXPECT_TRUE(button->m_bUserImage);
  EXPECT_EQ(button->GetImage(), 0);
  // The drawn pixel is in the stored image: black where the pencil went, not elsewhere.
  CClientDC screen(nullptr);
  CBitmap canvas;
  ASSERT_TRUE(canvas.CreateCompatibleBitmap(&screen, 16, 15));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&canvas);
  dc.FillSolidRect(0, 0, 16, 15, RGB(255, 255, 255));
  PlxImageDrawState ds;
  ASSERT_TRUE(userImages.PrepareDrawImage(ds));
  userImages.Draw(&dc, 0, 0, 0);
  userImages.EndDrawImage(ds);
  EXPECT_EQ(dc.GetPixel(2, 3), 0u);
  EXPECT_NE(dc.GetPixel(6, 6), 0u);
  dc.SelectObject(old);
}

}  // namespace
