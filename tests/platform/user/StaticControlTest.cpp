#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ControlFixture.h"

using namespace testing_user;

namespace {

class StaticControl : public ControlTest {
 protected:
  // The darkest channel of any pixel of the control (its text, when it has any).
  int Darkest(HWND hwnd) {
    UpdateWindow(parent);
    RECT r;
    GetClientRect(hwnd, &r);
    int darkest = 255;
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) {
        const COLORREF c = PixelAt(hwnd, POINT{x, y});
        darkest = std::min({darkest, static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)),
                            static_cast<int>(GetBValue(c))});
      }
    return darkest;
  }
  bool HasColor(HWND hwnd, COLORREF color) {
    UpdateWindow(parent);
    RECT r;
    GetClientRect(hwnd, &r);
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x)
        if (PixelAt(hwnd, POINT{x, y}) == color) return true;
    return false;
  }
};

TEST_F(StaticControl, ControlsPaintWithTheBrushTheParentGives) {
  struct Case {
    const char* className;
    DWORD style;
    UINT message;
    COLORREF color;
  };
  const Case cases[] = {
      {WC_STATIC, SS_LEFT, WM_CTLCOLORSTATIC, RGB(10, 200, 30)},
      {WC_BUTTON, BS_AUTOCHECKBOX, WM_CTLCOLORSTATIC, RGB(10, 200, 31)},
      {WC_EDIT, ES_AUTOHSCROLL, WM_CTLCOLOREDIT, RGB(200, 20, 20)},
      {WC_EDIT, ES_AUTOHSCROLL | ES_READONLY, WM_CTLCOLORSTATIC, RGB(200, 20, 21)},
      {WC_LISTBOX, 0, WM_CTLCOLORLISTBOX, RGB(20, 20, 200)},
      {WC_COMBOBOX, CBS_DROPDOWNLIST, WM_CTLCOLORLISTBOX, RGB(20, 21, 200)},
  };
  for (const Case& c : cases) {
    HBRUSH brush = CreateSolidBrush(c.color);
    Recorder::Get().Handle(parent, c.message,
                           [&](HWND, WPARAM, LPARAM) -> LRESULT { return reinterpret_cast<LRESULT>(brush); });
    HWND control = Make(c.className, c.style, RECT{10, 10, 150, 60}, 80, "");
    RECT r;
    GetClientRect(control, &r);
    // A point away from text, glyphs and borders.
    const POINT inside{r.right / 2, r.bottom - 4};
    EXPECT_EQ(PixelAt(control, inside), c.color) << c.className << " " << c.style;
    DestroyWindow(control);
    Recorder::Get().ClearHandlers();
    DeleteObject(brush);
  }
}

TEST_F(StaticControl, TransparentStaticsShowTheParentAndUseItsTextColour) {
  Recorder::Get().Handle(parent, WM_CTLCOLORSTATIC, [](HWND, WPARAM wParam, LPARAM) -> LRESULT {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 0, 0));
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  });
  HWND label = Make(WC_STATIC, SS_LEFT, RECT{10, 10, 150, 40}, 81, "Mmmm");
  EXPECT_EQ(PixelAt(label, POINT{140, 25}), GetSysColor(COLOR_WINDOW));  // the parent's own background
  EXPECT_TRUE(HasColor(label, RGB(255, 0, 0)));
}

TEST_F(StaticControl, DisabledTextIsGrey) {
  HWND enabled = Make(WC_STATIC, SS_LEFT, RECT{10, 10, 150, 40}, 82, "Mmmm");
  HWND disabled = Make(WC_STATIC, SS_LEFT | WS_DISABLED, RECT{10, 50, 150, 80}, 83, "Mmmm");
  EXPECT_LT(Darkest(enabled), 60);
  const int grey = Darkest(disabled);
  EXPECT_GE(grey, GetRValue(GetSysColor(COLOR_GRAYTEXT)) - 10);
  EXPECT_LT(grey, 200);  // but there is text
}

TEST_F(StaticControl, NotifyStyleDecidesWhoGetsTheMouse) {
  HWND quiet = Make(WC_STATIC, SS_LEFT, RECT{10, 10, 150, 40}, 84, "quiet");
  HWND link = Make(WC_STATIC, SS_LEFT | SS_NOTIFY, RECT{10, 50, 150, 80}, 85, "link");
  Click(quiet, POINT{5, 5});
  EXPECT_EQ(Recorder::Get().Count(parent, WM_LBUTTONDOWN), 1);  // straight through
  EXPECT_TRUE(Notes().empty());
  Click(link, POINT{5, 5});
  Click(link, POINT{5, 5});
  EnableWindow(link, FALSE);
  EnableWindow(link, TRUE);
  EXPECT_EQ(Notes(),
            (std::vector<Note>{{85, STN_CLICKED}, {85, STN_DBLCLK}, {85, STN_DISABLE}, {85, STN_ENABLE}}));
  EXPECT_EQ(SendMessage(link, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(StaticControl, ImagesSizeTheControlUnlessCentred) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 12);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 10, 12}, RGB(0, 128, 255));
  SelectObject(dc, old);
  DeleteDC(dc);
  struct Case {
    DWORD style;
    SIZE size;
    POINT probe;
  };
  const Case cases[] = {{SS_BITMAP, {10, 12}, {5, 6}}, {SS_BITMAP | SS_CENTERIMAGE, {60, 40}, {30, 20}}};
  for (const Case& c : cases) {
    HWND image = Make(WC_STATIC, c.style, RECT{10, 10, 70, 50}, 86);
    EXPECT_EQ(SendMessage(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
    EXPECT_EQ(SendMessage(image, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap));
    RECT r;
    GetClientRect(image, &r);
    EXPECT_EQ(r.right, c.size.cx) << c.style;
    EXPECT_EQ(r.bottom, c.size.cy) << c.style;
    EXPECT_EQ(PixelAt(image, c.probe), RGB(0, 128, 255)) << c.style;
    DestroyWindow(image);
  }
  DeleteObject(bitmap);
}

TEST_F(StaticControl, ShapesUseTheSystemColours) {
  struct Case {
    DWORD style;
    int colorIndex;
    POINT probe;
  };
  const Case cases[] = {
      {SS_BLACKRECT, COLOR_WINDOWFRAME, {20, 10}},
      {SS_GRAYRECT, COLOR_BTNSHADOW, {20, 10}},
      {SS_BLACKFRAME, COLOR_WINDOWFRAME, {0, 10}},
  };
  for (const Case& c : cases) {
    HWND shape = Make(WC_STATIC, c.style, RECT{10, 10, 60, 30}, 87);
    EXPECT_EQ(PixelAt(shape, c.probe), GetSysColor(c.colorIndex)) << c.style;
    DestroyWindow(shape);
  }
}

}  // namespace
