// A snapshot of the sample dialog on the headless display, read back from the PNG file: the
// dialog and each kind of control are drawn where the template puts them.
#include <stdlib.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "MfcTestSupport.h"
#include "tests/support/PngPicture.h"

using namespace testing_mfc;

namespace {

using pictavo::test::Picture;
using pictavo::test::ReadPng;

bool IsDark(COLORREF c) {
  return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96;
}

class DialogSnapshotTest : public MfcTest {};

TEST_F(DialogSnapshotTest, TheSampleDialogShowsItsControls) {
  CDialog dialog;
  ASSERT_TRUE(dialog.Create(60000));
  dialog.ShowWindow(SW_SHOW);
  dialog.RedrawWindow(nullptr, nullptr,
                      RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);

  char folder[] = "/tmp/pictavo-snapshot-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/sample.png";
  ASSERT_TRUE(pictavo::display::Headless()->SaveSnapshot(path, dialog.m_hWnd));
  Picture picture;
  ASSERT_TRUE(ReadPng(path, &picture));
  unlink(path.c_str());
  rmdir(folder);

  CRect window;
  dialog.GetWindowRect(&window);
  EXPECT_EQ(picture.width, window.Width());
  EXPECT_EQ(picture.height, window.Height());
  std::set<COLORREF> colors;
  for (int y = 0; y < picture.height; y += 2)
    for (int x = 0; x < picture.width; x += 2) colors.insert(picture.At(x, y));
  EXPECT_GT(colors.size(), 8u) << "not blank";

  // A control's rectangle in the picture.
  auto area = [&](int id) {
    CRect r;
    ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, id), &r);
    r.OffsetRect(-window.left, -window.top);
    return r;
  };
  auto anyDark = [&](const CRect& r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (IsDark(picture.At(x, y))) return true;
    return false;
  };
  const COLORREF window_ = ::GetSysColor(COLOR_WINDOW);
  const COLORREF face = ::GetSysColor(COLOR_3DFACE);

  CRect client;
  dialog.GetClientRect(&client);
  dialog.ClientToScreen(&client);
  client.OffsetRect(-window.left, -window.top);
  EXPECT_EQ(picture.At(client.left + 2, client.bottom - 3), face) << "the dialog's background";
  EXPECT_NE(picture.At(window.Width() / 2, 2), face) << "the frame and caption are drawn";

  const struct {
    int id;
    const char* what;
    bool text;   // dark pixels of a text or a mark
    bool white;  // a window-coloured inside
  } controls[] = {
      {60010, "label", true, false},        {60011, "edit", false, true},
      {60012, "check box", true, false},    {60013, "group box", true, false},
      {60014, "radio button", true, false}, {60016, "list box", false, true},
      {60017, "combo box", true, false},    {IDOK, "default button", true, false},
      {IDCANCEL, "button", true, false},
  };
  for (const auto& c : controls) {
    const CRect r = area(c.id);
    ASSERT_FALSE(r.IsRectEmpty()) << c.what;
    if (c.text) EXPECT_TRUE(anyDark(r)) << c.what << " shows its text";
    if (c.white) EXPECT_EQ(picture.At(r.CenterPoint().x, r.CenterPoint().y), window_) << c.what;
    EXPECT_NE(picture.At(r.left, r.top), picture.At(r.CenterPoint().x, r.CenterPoint().y) ^ 1) << c.what;
  }
  const CRect edit = area(60011);
  EXPECT_NE(picture.At(edit.left, edit.CenterPoint().y), window_) << "the edit has a border";
}

}  // namespace
