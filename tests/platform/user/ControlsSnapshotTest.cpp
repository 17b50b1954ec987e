#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Recorder.h"
#include "platform/base/Geometry.h"
#include "platform/display/Png.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "tests/support/PngPicture.h"

using namespace testing_user;

namespace {

using pictavo::test::ReadPng;

struct Picture : pictavo::test::Picture {
  int Darkest(const RECT& r) const {
    int darkest = 255;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const COLORREF c = At(x, y);
        darkest = std::min({darkest, static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)),
                            static_cast<int>(GetBValue(c))});
      }
    return darkest;
  }
  int Count(const RECT& r, COLORREF color) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) == color;
    return n;
  }
};

class ControlsSnapshot : public UserTest {};

TEST_F(ControlsSnapshot, EveryControlKindReadsCleanly) {
  // A dialog's background: the button face.
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
  wc.lpszClassName = "ControlsSnapshotDialog";
  if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
  HWND dialog =
      CreateWindowEx(0, wc.lpszClassName, "Controls", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 50, 50,
                     480, 340, nullptr, nullptr, nullptr, nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  struct Item {
    const char* className;
    const char* text;
    DWORD style;
    RECT rect;
    int id;
    DWORD exStyle;
  };
  const Item items[] = {
      {WC_BUTTON, "Options", BS_GROUPBOX, {10, 8, 220, 130}, 10, 0},
      {WC_BUTTON, "&Check box", BS_AUTOCHECKBOX | WS_TABSTOP, {20, 28, 200, 46}, 11, 0},
      {WC_BUTTON, "Disabled check", BS_AUTOCHECKBOX | WS_DISABLED, {20, 50, 200, 68}, 12, 0},
      {WC_BUTTON, "Radio one", BS_AUTORADIOBUTTON | WS_GROUP, {20, 72, 200, 90}, 13, 0},
      {WC_BUTTON, "Radio two", BS_AUTORADIOBUTTON, {20, 94, 200, 112}, 14, 0},
      {WC_STATIC, "Name:", SS_LEFT, {240, 12, 300, 28}, 15, 0},
      {WC_EDIT, "Holiday 2024", ES_AUTOHSCROLL | WS_TABSTOP, {300, 10, 460, 32}, 16, WS_EX_CLIENTEDGE},
      {WC_STATIC, "Disabled label", SS_LEFT | WS_DISABLED, {240, 40, 460, 56}, 17, 0},
      {WC_LISTBOX, "", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, {240, 62, 460, 140}, 18, WS_EX_CLIENTEDGE},
      {WC_COMBOBOX, "", CBS_DROPDOWNLIST | WS_TABSTOP, {10, 140, 220, 260}, 19, 0},
      {WC_COMBOBOX, "", CBS_DROPDOWN | WS_TABSTOP, {240, 150, 460, 260}, 20, 0},
      {WC_EDIT,
       "First line\r\nSecond line\r\nThird line\r\nFourth line\r\nFifth line",
       ES_MULTILINE | WS_VSCROLL,
       {10, 180, 220, 250},
       21,
       WS_EX_CLIENTEDGE},
      {WC_SCROLLBAR, "", SBS_HORZ, {240, 190, 460, 206}, 22, 0},
      {WC_STATIC, "", SS_ETCHEDHORZ, {10, 262, 460, 264}, 23, 0},
      {WC_BUTTON, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {200, 272, 280, 298}, IDOK, 0},
      {WC_BUTTON, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, {290, 272, 370, 298}, IDCANCEL, 0},
      {WC_BUTTON, "Help", BS_PUSHBUTTON | WS_DISABLED, {380, 272, 460, 298}, 24, 0},
  };
  for (const Item& item : items) {
    HWND hwnd = CreateWindowEx(item.exStyle, item.className, item.text, WS_CHILD | WS_VISIBLE | item.style,
                               item.rect.left, item.rect.top, item.rect.right - item.rect.left,
                               item.rect.bottom - item.rect.top, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr) << item.className;
    SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  SendMessage(GetDlgItem(dialog, 11), BM_SETCHECK, BST_CHECKED, 0);
  SendMessage(GetDlgItem(dialog, 13), BM_SETCHECK, BST_CHECKED, 0);
  for (const char* s : {"Spring", "Summer", "Autumn", "Winter", "Snow", "Sun", "Rain"}) {
    SendMessage(GetDlgItem(dialog, 18), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessage(GetDlgItem(dialog, 19), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  }
  SendMessage(GetDlgItem(dialog, 18), LB_SETCURSEL, 1, 0);
  SendMessage(GetDlgItem(dialog, 19), CB_SETCURSEL, 2, 0);
  SetWindowText(GetDlgItem(dialog, 20), "Editable combo");
  SetScrollRange(GetDlgItem(dialog, 22), SB_CTL, 0, 100, FALSE);
  SetScrollPos(GetDlgItem(dialog, 22), SB_CTL, 40, FALSE);
  SetFocus(GetDlgItem(dialog, IDCANCEL));  // the focus rectangle shows on Cancel
  UpdateWindow(dialog);
  PumpPending();

  pictavo::user::TopLevelWindow window;
  ASSERT_TRUE(pictavo::user::DescribeTopLevelWindow(dialog, &window));
  ASSERT_TRUE(window.surface);
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  const std::filesystem::path folder = std::filesystem::path(bin ? bin : ".") / "test-output";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "controls.png").string();
  ASSERT_TRUE(pictavo::display::WritePng(*window.surface, path));
  Picture picture;
  ASSERT_TRUE(ReadPng(path, &picture));
  ASSERT_EQ(picture.width, 480);
  ASSERT_EQ(picture.height, 340);

  // Window coordinates of a control's rectangle (the caption and border come first).
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  RECT frame;
  GetWindowRect(dialog, &frame);
  auto at = [&](int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    OffsetRect(&r, -frame.left, -frame.top);
    return r;
  };

  std::set<COLORREF> colours;
  for (int y = 0; y < picture.height; y += 2)
    for (int x = 0; x < picture.width; x += 2) colours.insert(picture.At(x, y));
  EXPECT_GT(colours.size(), 20u);  // not blank

  // Readable text, grey when disabled.
  EXPECT_LT(picture.Darkest(at(15)), 60);
  EXPECT_LT(picture.Darkest(at(11)), 60);
  const int disabledLabel = picture.Darkest(at(17));
  const int disabledCheck = picture.Darkest(at(12));
  const int grey = GetRValue(GetSysColor(COLOR_GRAYTEXT));
  for (int d : {disabledLabel, disabledCheck}) {
    EXPECT_GE(d, grey - 10);
    EXPECT_LT(d, 200);
  }
  RECT help = at(24);
  InflateRect(&help, -4, -4);
  EXPECT_GE(picture.Darkest(help), grey - 10);

  // The list's selection and the default button's frame in the highlight colour.
  EXPECT_GT(picture.Count(at(18), GetSysColor(COLOR_HIGHLIGHT)), 100);
  EXPECT_GT(picture.Count(at(IDOK), GetSysColor(COLOR_HIGHLIGHT)), 50);
  // The focus rectangle: a dotted line three pixels inside Cancel.
  const RECT cancel = at(IDCANCEL);
  const COLORREF face = picture.At(cancel.left + 2, cancel.top + 2);
  int dots = 0;
  for (int x = cancel.left + 4; x < cancel.right - 4; ++x) dots += picture.At(x, cancel.top + 3) != face;
  EXPECT_GT(dots, (cancel.right - cancel.left - 8) / 3);
  DeleteObject(font);
}

}  // namespace
