// What the image editor and the appearance dialog look like, pixel for pixel: the editor with a
// drawn image in its grid and preview, its tools and colours; the appearance dialog with two
// user images, one chosen.
#include <memory>
#include <string>

#include "platform/user/Clipboard.h"
#include "tests/toolkit/customize/ImageEditHost.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/customize/PlxButtonAppearanceDlg.h"
#include "toolkit/customize/PlxImageEditorDlg.h"
#include "toolkit/customize/PlxPixelEditCtrl.h"

using imgedit_test::EditFixture;
using imgedit_test::MakeBitmap;

namespace {

// A little picture: a blue frame with a red diagonal on white.
void DrawPicture(CBitmap& bitmap) {
  MakeBitmap(bitmap, 16, 15, RGB(255, 255, 255));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  for (int i = 0; i < 15; ++i) {
    dc.SetPixel(i, i, RGB(255, 0, 0));
    dc.SetPixel(0, i, RGB(0, 0, 255));
    dc.SetPixel(15, i, RGB(0, 0, 255));
  }
  for (int x = 0; x < 16; ++x) {
    dc.SetPixel(x, 0, RGB(0, 0, 255));
    dc.SetPixel(x, 14, RGB(0, 0, 255));
  }
  dc.SelectObject(old);
}

void Shoot(CWnd& wnd, const std::string& name) {
  ::SetFocus(::GetDlgItem(wnd.m_hWnd, IDOK));
  wnd.RedrawWindow(nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pictavo::test::PumpPending();
  CRect rect;
  wnd.GetWindowRect(&rect);
  EXPECT_EQ(customize_test::CompareWithReference(rect, name), 0) << name;
}

using ImageEditLook = EditFixture;

TEST_F(ImageEditLook, TheEditorWithAPicture) {
  host.ShowWindow(SW_HIDE);
  CBitmap bitmap;
  DrawPicture(bitmap);
  ASSERT_TRUE(::OpenClipboard(nullptr));  // nothing to paste: Paste is off
  ::EmptyClipboard();
  ::CloseClipboard();
  CPlxImageEditorDlg dialog(&bitmap, nullptr);
  ASSERT_TRUE(dialog.Create(CPlxImageEditorDlg::IDD, nullptr));
  dialog.SetWindowPos(nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  dialog.ShowWindow(SW_SHOW);
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(16905, 0));  // the rectangle tool
  dialog.OnKickIdle();
  Shoot(dialog, "image-editor.png");
  // A rectangle being dragged from pixel (3, 4) to (9, 10): the band runs between cell centres.
  CPlxPixelEditCtrl& grid = dialog.PixelGrid();
  const CSize cell = grid.GetCellSize();
  const auto at = [&](int px, int py) {
    return MAKELPARAM(1 + px * cell.cx + cell.cx / 2, 1 + py * cell.cy + cell.cy / 2);
  };
  grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(3, 4));
  grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at(6, 7));
  grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at(9, 10));
  pictavo::test::PumpPending();
  CRect rect;
  grid.GetWindowRect(&rect);
  EXPECT_EQ(customize_test::CompareWithReference(rect, "pixel-grid-band.png"), 0);
  grid.SendMessage(WM_LBUTTONUP, 0, at(9, 10));
  dialog.DestroyWindow();
}

TEST_F(ImageEditLook, TheAppearanceDialogWithUserImages) {
  host.ShowWindow(SW_HIDE);
  CPlxButtonImages images;
  images.SetImageSize(CSize(16, 15));
  for (int i = 0; i < 2; ++i) {
    CBitmap cell;
    DrawPicture(cell);
    if (i == 1) imgedit_test::SetPixelOf(cell, 8, 3, RGB(0, 160, 0));
    images.AddImage(static_cast<HBITMAP>(cell.GetSafeHandle()));
  }
  CPlxToolbarButton button(16581, 1, "&Refresh\tF5", TRUE);
  button.m_bText = TRUE;
  CPlxButtonAppearanceDlg dialog(&button, &images, nullptr);
  ASSERT_TRUE(dialog.Create(CPlxButtonAppearanceDlg::IDD, nullptr));
  dialog.SetWindowPos(nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  dialog.ShowWindow(SW_SHOW);
  Shoot(dialog, "button-appearance.png");
  dialog.DestroyWindow();
}

}  // namespace
