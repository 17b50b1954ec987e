// What the windows dialog looks like over an MDI frame with three children (the active one
// selected, class icons, a title longer than the list, scrolled to its end), compared pixel for pixel with
// reference/ (PICTAVO_WRITE_REFERENCES=1 writes it anew; look at it first).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/ReferencePicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/FrameFixture.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxWindowListDlg.h"

using namespace frametest;

namespace {

std::string Reference(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/core/reference/" + name;
}

int SnapshotDifferences(const CRect& area, const std::string& name) {
  return pictavo::test::DesktopAreaDifferences(area, name, Reference(name));
}

using WindowListLook = FrameFixture;

// A 16 x 16 icon of one colour with a white frame.
HICON MakeIcon(DWORD argb) {
  std::vector<DWORD> bits(16 * 16, argb);
  for (int i = 0; i < 16; ++i) bits[i] = bits[15 * 16 + i] = bits[i * 16] = bits[i * 16 + 15] = 0xFFFFFFFF;
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = ::CreateBitmap(16, 16, 1, 32, bits.data());
  info.hbmMask = ::CreateBitmap(16, 16, 1, 1, nullptr);
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return icon;
}

}  // namespace

TEST_F(WindowListLook, ThreeChildrenTheActiveOneSelected) {
  auto* mdi = new CPlxMDIFrameWnd;
  mdi->m_bAutoDelete = TRUE;
  ASSERT_TRUE(mdi->LoadFrame(61200, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
  mdi->SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOZORDER);
  mdi->ShowWindow(SW_SHOW);
  const HWND frameWindow = mdi->GetSafeHwnd();
  std::vector<HWND> children;
  for (const char* title :
       {"Holiday 2026.pvs", "Birthday slideshow with a rather long title, second cut.pvs", "Garden.pvs"}) {
    auto* child = new CPlxMDIChildWnd;
    child->m_bAutoDelete = TRUE;
    ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                              CRect(10, 10, 300, 200), mdi));
    children.push_back(child->GetSafeHwnd());
  }
  // The list draws the children's class icon.
  HICON icon = MakeIcon(0xFF2050C0);
  const LONG_PTR oldIcon = ::SetClassLongPtr(children[0], GCLP_HICONSM, reinterpret_cast<LONG_PTR>(icon));
  CPlxWindowListDlg dialog(mdi);
  ASSERT_TRUE(dialog.Create(CPlxWindowListDlg::IDD, mdi));
  dialog.SetWindowPos(&CWnd::wndTop, 60, 60, 0, 0, SWP_NOSIZE);
  dialog.ShowWindow(SW_SHOW);
  dialog.RedrawWindow(nullptr, nullptr,
                      RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pictavo::test::PumpPending();
  CRect area;
  dialog.GetWindowRect(area);
  EXPECT_EQ(SnapshotDifferences(area, "window_list_dialog.png"), 0);
  // The long title is wider than the list: scrolled to the right, its end shows.
  CWnd* list = dialog.GetDlgItem(CPlxWindowListDlg::IDC_LIST);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->GetStyle() & WS_HSCROLL);
  list->SendMessage(WM_HSCROLL, SB_RIGHT);
  list->UpdateWindow();
  pictavo::test::PumpPending();
  EXPECT_EQ(SnapshotDifferences(area, "window_list_scrolled.png"), 0);
  dialog.DestroyWindow();
  ::SetClassLongPtr(children[0], GCLP_HICONSM, oldIcon);
  ::DestroyIcon(icon);
  if (::IsWindow(frameWindow)) mdi->DestroyWindow();
  pictavo::test::PumpPending();
}
