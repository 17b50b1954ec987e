// The colour dialog and its pages, run modally with a script that acts inside the dialog's own
// loop: RGB and HLS typing, greys and hexagon in step, the luminance bar, double clicks, screen
// picking and its ends, Ctrl+C, the caller's palette and the system dialog below 8 bits.
#include <cstring>
#include <functional>
#include <string>

#include "platform/kernel/GlobalMemory.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Display.h"
#include "tests/toolkit/customize/ColorHost.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/customize/PlxColorDialog.h"

using colourtest::ColourFixture;

namespace {

std::function<void(CPlxColorDialog&)> g_script;

void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
  auto* dialog = dynamic_cast<CPlxColorDialog*>(CWnd::FromHandlePermanent(::GetActiveWindow()));
  if (dialog == nullptr || !g_script) return;  // not up yet
  ::KillTimer(nullptr, id);
  auto script = std::move(g_script);
  g_script = nullptr;
  script(*dialog);
  if (::IsWindow(dialog->m_hWnd) && dialog->ContinueModal()) dialog->SendMessage(WM_COMMAND, IDOK);
}

// Runs the dialog; the script acts once it is up; OK unless the script ended it.
INT_PTR RunDialog(CPlxColorDialog& dialog, std::function<void(CPlxColorDialog&)> script) {
  g_script = std::move(script);
  ::SetTimer(nullptr, 0, 1, RunScript);
  return dialog.DoModal();
}

std::string EditText(CWnd* page, int id) {
  char text[32] = {};
  ::GetDlgItemText(page->m_hWnd, id, text, sizeof text);
  return text;
}

void Click(CPlxColorChooserCtrl& chooser, CPoint at, UINT message = WM_LBUTTONDOWN) {
  chooser.SendMessage(message, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  chooser.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

CPoint CellCentre(const CPlxColorChooserCtrl& chooser, int index) {
  return CPoint(chooser.GetCell(index)->m_x, chooser.GetCell(index)->m_y);
}

using PlxColorPages = ColourFixture;

TEST_F(PlxColorPages, Red128ShowsHue0Luminance64Saturation255) {
  CPlxColorDialog dialog(RGB(0, 0, 0));
  struct Seen {
    COLORREF chosen = 0, sample = 0, hexagon = 0;
    std::string h, l, s;
    double hue = -1, lum = -1, sat = -1;
  } seen;
  const INT_PTR result = RunDialog(dialog, [&](CPlxColorDialog& d) {
    d.m_pPropSheet->SetActivePage(1);
    CPlxColorPage2* page = d.m_pPage2;
    ::SetDlgItemText(page->m_hWnd, CPlxColorPage2::IDC_RED, "128");
    seen.chosen = d.GetChosenColor();
    seen.sample = d.m_wndColors.GetColor();
    seen.hexagon = d.m_pPage1->m_hexagon.GetColor();
    seen.h = EditText(page, CPlxColorPage2::IDC_HUE);
    seen.l = EditText(page, CPlxColorPage2::IDC_LUM);
    seen.s = EditText(page, CPlxColorPage2::IDC_SAT);
    page->m_plane.GetHueLumSat(seen.hue, seen.lum, seen.sat);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(seen.chosen, RGB(128, 0, 0));
  EXPECT_EQ(seen.sample, RGB(128, 0, 0));
  EXPECT_EQ(seen.hexagon, RGB(128, 0, 0));
  EXPECT_EQ(seen.h, "0");
  EXPECT_EQ(seen.l, "64");
  EXPECT_EQ(seen.s, "255");
  EXPECT_DOUBLE_EQ(seen.hue, 0);
  EXPECT_DOUBLE_EQ(seen.sat, 1);
  EXPECT_EQ(dialog.GetChosenColor(), RGB(128, 0, 0));
}

// The HLS edits keep what was typed: the RGB values they produce are written back into the red,
// green and blue edits, whose notifications must not come back and rewrite them.
TEST_F(PlxColorPages, TypedHlsValuesStayAsTyped) {
  const struct {
    int edit;
    const char* typed;
  } cases[] = {{CPlxColorPage2::IDC_LUM, "3"},   {CPlxColorPage2::IDC_LUM, "17"},
               {CPlxColorPage2::IDC_LUM, "201"}, {CPlxColorPage2::IDC_HUE, "100"},
               {CPlxColorPage2::IDC_HUE, "13"},  {CPlxColorPage2::IDC_SAT, "77"}};
  for (const auto& c : cases) {
    CPlxColorDialog dialog(RGB(128, 0, 0));
    std::string after;
    COLORREF chosen = 0;
    int r = -1;
    RunDialog(dialog, [&](CPlxColorDialog& d) {
      d.m_pPropSheet->SetActivePage(1);
      ::SetDlgItemText(d.m_pPage2->m_hWnd, c.edit, c.typed);
      after = EditText(d.m_pPage2, c.edit);
      chosen = d.GetChosenColor();
      r = d.m_pPage2->m_r;
    });
    EXPECT_EQ(after, c.typed) << c.edit;
    EXPECT_EQ(GetRValue(chosen), r) << "the red edit shows the new colour";
  }
}

TEST_F(PlxColorPages, TypingBeforeThePageIsReadyChangesNothing) {
  CPlxColorDialog dialog(RGB(10, 20, 30));
  COLORREF chosen = 0;
  RunDialog(dialog, [&](CPlxColorDialog& d) {
    ASSERT_EQ(d.m_pPage2->GetSafeHwnd(), nullptr) << "the custom page was never shown";
    d.m_pPage2->m_r = 200;
    d.m_pPage2->OnRGBChanged();
    d.m_pPage2->OnHLSChanged();
    chosen = d.GetChosenColor();
  });
  EXPECT_EQ(chosen, RGB(10, 20, 30));
}

// Each grey cell gives its own value (a trip through HLS would make 240 into 239); the big white
// one also frames the hexagon's white centre.
TEST_F(PlxColorPages, GreyCellsGiveTheirOwnValues) {
  const struct {
    int cell;
    COLORREF want;
    int hexagonCell;
  } cases[] = {{1, RGB(240, 240, 240), -1},
               {4, RGB(192, 192, 192), -1},
               {8, RGB(135, 135, 135), -1},
               {0, RGB(255, 255, 255), 0}};
  for (const auto& c : cases) {
    CPlxColorDialog dialog(RGB(10, 20, 30));
    COLORREF chosen = 0;
    int framed = -2, red = -1;
    RunDialog(dialog, [&](CPlxColorDialog& d) {
      CPlxColorChooserCtrl& greys = d.m_pPage1->m_greys;
      greys.EnsureCells();
      Click(greys, CellCentre(greys, c.cell));
      chosen = d.GetChosenColor();
      framed = d.m_pPage1->m_hexagon.GetSelectedCell();
      red = d.m_pPage2->m_r;
    });
    EXPECT_EQ(chosen, c.want) << c.cell;
    EXPECT_EQ(framed, c.hexagonCell) << c.cell;
    EXPECT_EQ(red, GetRValue(c.want)) << "the custom page follows";
  }
}

TEST_F(PlxColorPages, TheLuminanceBarKeepsThePlanesHueAndSaturation) {
  CPlxColorDialog dialog(RGB(128, 0, 0));
  double hue = -1, lum = -1, sat = -1;
  COLORREF chosen = 0;
  std::string l;
  RunDialog(dialog, [&](CPlxColorDialog& d) {
    d.m_pPropSheet->SetActivePage(1);
    CPlxColorChooserCtrl& bar = d.m_pPage2->m_bar;
    CRect client;
    bar.GetClientRect(&client);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, client.Height() / 2));
    bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, client.Height() / 4));
    bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, client.Height() / 4));
    d.m_pPage2->m_plane.GetHueLumSat(hue, lum, sat);
    chosen = d.GetChosenColor();
    l = EditText(d.m_pPage2, CPlxColorPage2::IDC_LUM);
  });
  EXPECT_DOUBLE_EQ(hue, 0);
  EXPECT_DOUBLE_EQ(sat, 1);
  EXPECT_GT(lum, 0.6);
  EXPECT_EQ(chosen, CPlxDrawHelper::HLStoRGB(0, lum, 1));
  EXPECT_EQ(l, std::to_string(ColorUnitToByte(lum)));
}

TEST_F(PlxColorPages, ADoubleClickOnThePlaneAcceptsTheColourUnderThePointer) {
  CPlxColorDialog dialog(RGB(128, 0, 0));
  COLORREF plane = 0;
  const INT_PTR result = RunDialog(dialog, [&](CPlxColorDialog& d) {
    d.m_pPropSheet->SetActivePage(1);
    CPlxColorChooserCtrl& chooser = d.m_pPage2->m_plane;
    Click(chooser, CPoint(20, 10));
    chooser.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 10));
    plane = chooser.GetColor();
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_NE(plane, RGB(128, 0, 0));
  EXPECT_EQ(dialog.GetChosenColor(), plane);
}

// ---- the dialog ----

using PlxColorDialog = ColourFixture;

// A red window somewhere on the screen to pick from.
class CRedWindow : public CWnd {
 public:
  BOOL Make() {
    return CreateEx(0, AfxRegisterWndClass(0, nullptr, ::CreateSolidBrush(RGB(255, 0, 0))), "",
                    WS_POPUP | WS_VISIBLE, 20, 20, 60, 60, nullptr, nullptr);
  }
};

TEST_F(PlxColorDialog, PickingEndsByClickEnterEscapeOrAnotherButton) {
  const struct {
    const char* what;
    UINT message;
    WPARAM wParam;
    COLORREF chosen;
    bool pagesFollow;
  } cases[] = {
      {"left click", WM_LBUTTONDOWN, MK_LBUTTON, RGB(255, 0, 0), true},
      {"Enter", WM_KEYDOWN, VK_RETURN, RGB(255, 0, 0), false},
      {"Escape", WM_KEYDOWN, VK_ESCAPE, RGB(10, 20, 30), false},
      {"right button", WM_RBUTTONDOWN, MK_RBUTTON, RGB(255, 0, 0), false},
      {"middle button", WM_MBUTTONDOWN, MK_MBUTTON, RGB(255, 0, 0), false},
  };
  for (const auto& c : cases) {
    CRedWindow red;
    ASSERT_TRUE(red.Make());
    red.UpdateWindow();
    CPlxColorDialog dialog(RGB(10, 20, 30));
    COLORREF chosen = 0;
    int pageRed = -1;
    BOOL stillPicking = TRUE;
    HWND capture = nullptr;
    RunDialog(dialog, [&](CPlxColorDialog& d) {
      CPoint over(50, 50);
      d.ScreenToClient(&over);
      const LPARAM at = MAKELPARAM(over.x, over.y);
      ::PostMessage(d.m_hWnd, WM_MOUSEMOVE, 0, at);
      ::PostMessage(d.m_hWnd, WM_KEYDOWN, 'A', 0);  // swallowed
      ::PostMessage(d.m_hWnd, c.message, c.wParam, at);
      d.OnPickColor();
      chosen = d.GetChosenColor();
      pageRed = d.m_pPage2->m_r;
      stillPicking = d.IsPicking();
      capture = ::GetCapture();
    });
    EXPECT_EQ(chosen, c.chosen) << c.what;
    EXPECT_EQ(pageRed, c.pagesFollow ? 255 : 10) << c.what;
    EXPECT_FALSE(stillPicking) << c.what;
    EXPECT_EQ(capture, nullptr) << c.what;
    red.DestroyWindow();
  }
}

void CALLBACK DropCapture(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::ReleaseCapture();
}

// The picking loop gives WM_QUIT back to the loop that owns it, and stops when the dialog ends or
// loses the mouse instead of running on.
TEST_F(PlxColorDialog, PickingStopsOnQuitOnAnEndedDialogAndOnALostCapture) {
  {
    CPlxColorDialog dialog(RGB(10, 20, 30));
    bool quitKept = false;
    int code = 0;
    RunDialog(dialog, [&](CPlxColorDialog& d) {
      ::PostQuitMessage(7);
      d.OnPickColor();
      MSG msg;
      quitKept = ::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
      code = quitKept ? static_cast<int>(msg.wParam) : 0;
    });
    EXPECT_TRUE(quitKept);
    EXPECT_EQ(code, 7);
  }
  {
    CPlxColorDialog dialog(RGB(10, 20, 30));
    const INT_PTR result = RunDialog(dialog, [&](CPlxColorDialog& d) {
      ::PostMessage(d.m_hWnd, WM_COMMAND, IDCANCEL, 0);
      d.OnPickColor();
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(dialog.IsPicking());
  }
  {
    CPlxColorDialog dialog(RGB(10, 20, 30));
    BOOL picking = TRUE;
    RunDialog(dialog, [&](CPlxColorDialog& d) {
      ::SetTimer(nullptr, 0, 1, DropCapture);
      d.OnPickColor();
      picking = d.IsPicking();
    });
    EXPECT_FALSE(picking);
  }
}

std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE data = ::GetClipboardData(CF_TEXT); data != nullptr) {
    if (const auto* chars = static_cast<const char*>(::GlobalLock(data)); chars != nullptr) {
      text = chars;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

void PutClipboardText(const char* text) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::memcpy(::GlobalLock(block), text, std::strlen(text) + 1);
  ::GlobalUnlock(block);
  ::SetClipboardData(CF_TEXT, block);
  ::CloseClipboard();
}

// Ctrl pressed or released as the user does; its message read, so the key state follows.
void PressCtrl(bool down) {
  pictavo::user::InjectKey({VK_CONTROL, down});
  MSG msg;
  while (::PeekMessage(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
}

TEST_F(PlxColorDialog, CtrlCAndCtrlInsertCopyTheNewColourAsText) {
  const struct {
    bool ctrl;
    UINT key;
    const char* want;
  } cases[] = {{true, 'C', "RGB (255, 0, 0)"},
               {true, VK_INSERT, "RGB (255, 0, 0)"},
               {false, 'C', "before"},
               {true, 'V', "before"}};
  for (const auto& c : cases) {
    PutClipboardText("before");
    CPlxColorDialog dialog(RGB(0, 0, 255));
    RunDialog(dialog, [&](CPlxColorDialog& d) {
      d.SetChosenColor(RGB(255, 0, 0));
      if (c.ctrl) PressCtrl(true);
      MSG msg{};
      msg.hwnd = d.m_hWnd;
      msg.message = WM_KEYDOWN;
      msg.wParam = c.key;
      d.PreTranslateMessage(&msg);
      if (c.ctrl) PressCtrl(false);
    });
    EXPECT_EQ(ClipboardText(), c.want) << c.key << (c.ctrl ? " with Ctrl" : "");
  }
}

// Typed quickly, Ctrl is up again before the C's message is read: the key state that goes with the
// message counts.
TEST_F(PlxColorDialog, AQuickCtrlCCopiesToo) {
  PutClipboardText("before");
  CPlxColorDialog dialog(RGB(0, 0, 255));
  RunDialog(dialog, [&](CPlxColorDialog& d) {
    d.SetChosenColor(RGB(255, 0, 0));
    const std::pair<UINT, bool> presses[] = {
        {VK_CONTROL, true}, {'C', true}, {'C', false}, {VK_CONTROL, false}};
    for (const auto& [vk, down] : presses) pictavo::user::InjectKey({vk, down});
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_KEYDOWN) msg.hwnd = d.m_hWnd;
      if (!d.PreTranslateMessage(&msg)) ::DispatchMessage(&msg);
    }
  });
  EXPECT_EQ(ClipboardText(), "RGB (255, 0, 0)");
}

TEST_F(PlxColorDialog, ACallersPaletteIsUsedAndOutlivesTheDialog) {
  struct {
    LOGPALETTE head;
    PALETTEENTRY more[15];
  } logical{};
  logical.head.palVersion = 0x300;
  logical.head.palNumEntries = 16;
  for (int i = 0; i < 16; ++i)
    reinterpret_cast<PALETTEENTRY*>(logical.head.palPalEntry)[i] = {static_cast<BYTE>(i * 16), 0, 0, 0};
  CPalette palette;
  ASSERT_TRUE(palette.CreatePalette(&logical.head));
  HPALETTE used = nullptr;
  {
    CPlxColorDialog dialog(RGB(1, 2, 3), 0, nullptr, palette);
    RunDialog(dialog,
              [&](CPlxColorDialog& d) { used = static_cast<HPALETTE>(d.GetPalette()->GetSafeHandle()); });
  }
  EXPECT_EQ(used, static_cast<HPALETTE>(palette));
  EXPECT_EQ(palette.GetEntryCount(), 16) << "still alive after the dialog";

  HPALETTE own = nullptr;
  {
    CPlxColorDialog dialog(RGB(1, 2, 3));
    RunDialog(dialog,
              [&](CPlxColorDialog& d) { own = static_cast<HPALETTE>(d.GetPalette()->GetSafeHandle()); });
  }
  EXPECT_NE(own, nullptr) << "built from the system palette";
}

// On an 8-bit display the sample and the cells paint in the palette's nearest entries, while the
// chosen colour stays the plain one.
TEST_F(PlxColorDialog, AtEightBitsTheSampleShowsTheNearestPaletteEntry) {
  struct {
    LOGPALETTE head;
    PALETTEENTRY more[15];
  } logical{};
  logical.head.palVersion = 0x300;
  logical.head.palNumEntries = 16;
  for (int i = 0; i < 16; ++i)
    reinterpret_cast<PALETTEENTRY*>(logical.head.palPalEntry)[i] = {static_cast<BYTE>(i * 16), 0, 0, 0};
  CPalette palette;
  ASSERT_TRUE(palette.CreatePalette(&logical.head));
  const int bits = g_plxGlobalData.nBitsPerPixel;
  g_plxGlobalData.nBitsPerPixel = 8;
  COLORREF chosen = 0, sample = 0, centre = 0;
  {
    CPlxColorDialog dialog(RGB(1, 2, 3), 0, nullptr, palette);
    RunDialog(dialog, [&](CPlxColorDialog& d) {
      d.SetChosenColor(RGB(100, 30, 0));
      chosen = d.GetChosenColor();
      sample = d.m_wndColors.GetColor();
      d.m_pPage1->m_hexagon.EnsureCells();
      centre = d.m_pPage1->m_hexagon.GetCell(0)->m_displayColor;
    });
  }
  g_plxGlobalData.nBitsPerPixel = bits;
  EXPECT_EQ(chosen, RGB(100, 30, 0));
  EXPECT_EQ(sample, RGB(96, 0, 0));
  EXPECT_EQ(centre, RGB(240, 0, 0)) << "white's nearest entry";
}

std::string g_systemCaption;
UINT g_systemAnswer = IDOK;

void CALLBACK AnswerSystemDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND active = ::GetActiveWindow();
  char caption[64] = {};
  if (active == nullptr || ::GetWindowText(active, caption, sizeof caption) == 0) return;
  ::KillTimer(nullptr, id);
  g_systemCaption = caption;
  ::SendMessage(active, WM_COMMAND, g_systemAnswer, 0);
}

// Below 8 bits per pixel the system colour dialog stands in; cancelling it keeps the colour.
TEST_F(PlxColorDialog, BelowEightBitsTheSystemDialogStandsIn) {
  const int bits = g_plxGlobalData.nBitsPerPixel;
  g_plxGlobalData.nBitsPerPixel = 4;
  for (UINT answer : {IDOK, IDCANCEL}) {
    g_systemCaption.clear();
    g_systemAnswer = answer;
    CPlxColorDialog dialog(RGB(40, 50, 60));
    ::SetTimer(nullptr, 0, 1, AnswerSystemDialog);
    const INT_PTR result = dialog.DoModal();
    EXPECT_EQ(result, static_cast<INT_PTR>(answer));
    EXPECT_EQ(g_systemCaption, "Color");
    EXPECT_EQ(dialog.GetChosenColor(), RGB(40, 50, 60));
    EXPECT_EQ(dialog.m_pPage1, nullptr) << "no pages of ours";
  }
  g_plxGlobalData.nBitsPerPixel = bits;
}

}  // namespace
