// The caption bar across a frame: its height, where image, text and label go for each alignment,
// the label's command and states under the mouse, the bar's context-menu request, and what it
// looks like (compared with checked-in pictures; PICTAVO_WRITE_REFERENCES=1 writes them anew).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxCaptionBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using pictavo::test::PumpPending;

constexpr UINT kBarId = AFX_IDW_CONTROLBAR_FIRST + 40;
constexpr UINT kLabelCommand = 0x8101;
constexpr int kWidth = 400;

// An opaque square icon of one colour with a darker frame.
HICON MakeIcon(int size, DWORD argb) {
  std::vector<DWORD> bits(static_cast<size_t>(size * size), argb);
  for (int i = 0; i < size; ++i)
    for (int j : {0, size - 1})
      bits[static_cast<size_t>(i * size + j)] = bits[static_cast<size_t>(j * size + i)] = 0xFF203040;
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = CreateBitmap(size, size, 1, 32, bits.data());
  info.hbmMask = CreateBitmap(size, size, 1, 1, nullptr);
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return icon;
}

// A frame that records the label's commands (with the label's pressed state while each runs) and
// the bar's context-menu requests.
class CCaptionHost : public CFrameWnd {
 public:
  CPlxCaptionBar* m_pBar = nullptr;
  std::vector<BOOL> m_pressedDuringCommand;
  int m_nMenuRequests = 0;
  HWND m_hwndMenuBar = nullptr;
  CPoint m_ptMenu;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) == kLabelCommand) {
      m_pressedDuringCommand.push_back(m_pBar->IsButtonPressed());
      return 0;
    }
    if (message != 0 && message == PLX_WM_TOOLBARMENU) {
      ++m_nMenuRequests;
      m_hwndMenuBar = reinterpret_cast<HWND>(wParam);
      m_ptMenu = CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

class PlxCaptionBar : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    if (PLX_WM_TOOLBARMENU == 0) PlxRegisterToolbarMessages();
  }
  void SetUp() override {
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    ASSERT_TRUE(m_frame.Create(nullptr, "Caption", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                               CRect(20, 20, 20 + kWidth, 140), nullptr, nullptr, 0));
    NewBar();
  }
  void TearDown() override {
    m_bar.reset();
    if (m_frame.GetSafeHwnd() != nullptr) m_frame.DestroyWindow();
    PumpPending();
    for (HICON icon : m_icons) DestroyIcon(icon);
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }

  // A fresh bar in the frame, laid out.
  void NewBar(int nHeight = -1) {
    if (m_bar) m_bar->DestroyWindow();
    m_bar = std::make_unique<CPlxCaptionBar>();
    ASSERT_TRUE(m_bar->Create(WS_CHILD | WS_VISIBLE | CBRS_TOP, &m_frame, kBarId, nHeight));
    m_frame.m_pBar = m_bar.get();
    Settle();
  }
  void Settle() {
    m_frame.RecalcLayout();
    PumpPending();
  }
  HICON Icon(int size, DWORD argb = 0xFF3C8CDC) {
    m_icons.push_back(MakeIcon(size, argb));
    return m_icons.back();
  }
  static int TextWidth(const CString& text) {
    CClientDC dc(nullptr);
    CFont* old = dc.SelectObject(&g_plxGlobalData.fontRegular);
    const int cx = dc.GetTextExtent(text).cx;
    dc.SelectObject(old);
    return cx;
  }
  static int TextHeight(CFont* font) {
    CClientDC dc(nullptr);
    CFont* old = dc.SelectObject(font);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(old);
    return tm.tmHeight;
  }
  CPoint ScreenPoint(CPoint client) const {
    m_bar->ClientToScreen(&client);
    return client;
  }
  static void MoveTo(CPoint point) {
    pictavo::user::InjectMouseMove(point);
    PumpPending();
  }
  static void Button(pictavo::user::MouseButton button, bool down) {
    pictavo::user::InjectMouseButton(button, down);
    PumpPending();
  }

  CCaptionHost m_frame;
  std::unique_ptr<CPlxCaptionBar> m_bar;
  std::vector<HICON> m_icons;
};

TEST_F(PlxCaptionBar, HeightComesFromFontImageOrTheFixedValue) {
  const int text = TextHeight(&g_plxGlobalData.fontRegular);
  CFont big;
  big.CreateFont(-30, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
  const int bigText = TextHeight(&big);
  const struct {
    const char* name;
    int fixed;
    std::function<void(CPlxCaptionBar&)> setup;
    int height;
  } kCases[] = {
      {"text only", -1, [](CPlxCaptionBar& b) { b.SetText("Photos"); }, 4 + 2 * 4 + text + 2},
      {"a 40-pixel icon is taller than the text", -1,
       [this](CPlxCaptionBar& b) {
         b.SetText("Photos");
         b.SetIcon(Icon(40));
       },
       4 + 2 * 4 + 40 + 2},
      {"a font set by message", -1,
       [&big](CPlxCaptionBar& b) {
         b.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(big.GetSafeHandle()), 0);
       },
       4 + 2 * 4 + bigText + 2},
      {"fixed height", 30, [this](CPlxCaptionBar& b) { b.SetIcon(Icon(40)); }, 30},
  };
  for (const auto& c : kCases) {
    NewBar(c.fixed);
    c.setup(*m_bar);
    Settle();
    EXPECT_EQ(m_bar->GetCurrentHeight(), c.height) << c.name;
    CRect window;
    m_bar->GetWindowRect(window);
    EXPECT_EQ(window.Height(), c.height) << c.name << ": the frame gives the bar its height";
    CRect client;
    m_bar->GetClientRect(client);
    EXPECT_EQ(client.Height(), c.height - 2 * 4) << c.name << ": the border bands are non-client";
  }
  EXPECT_EQ(reinterpret_cast<HFONT>(m_bar->SendMessage(WM_GETFONT)), nullptr);
  m_bar->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(big.GetSafeHandle()), 0);
  EXPECT_EQ(reinterpret_cast<HFONT>(m_bar->SendMessage(WM_GETFONT)), big.GetSafeHandle());
  CString title;
  m_bar->GetWindowText(title);
  EXPECT_EQ(title, "Caption Bar");
  m_bar->DestroyWindow();  // before the font goes
}

TEST_F(PlxCaptionBar, ElementsFollowTheirAlignmentsAndKeepClearOfEachOther) {
  const CString label = "Options", text = "Slideshow";
  const int lw = TextWidth(label) + 2 * 4, tw = TextWidth(text);
  const CString longText(
      "A caption text long enough to run all the way across the bar and into the label at its right");
  const struct {
    const char* name;
    std::function<void(CPlxCaptionBar&)> setup;
    std::function<void(const CPlxCaptionBar&)> check;
  } kCases[] = {
      {"a right-aligned label first at the edge sits flush with it",
       [&](CPlxCaptionBar& b) { b.SetButton(label, 0, CPlxCaptionBar::ALIGN_RIGHT); },
       [&](const CPlxCaptionBar& b) {
         EXPECT_EQ(b.GetButtonRect().right, kWidth);
         EXPECT_EQ(b.GetButtonRect().left, kWidth - lw);
       }},
      {"a second right-aligned element goes left of it with the spacing between",
       [&](CPlxCaptionBar& b) {
         b.SetButton(label, 0, CPlxCaptionBar::ALIGN_RIGHT);
         b.SetText(text, CPlxCaptionBar::ALIGN_RIGHT);
       },
       [&](const CPlxCaptionBar& b) {
         EXPECT_EQ(b.GetTextRect().right, kWidth - lw - 4);
         EXPECT_EQ(b.GetTextRect().left, kWidth - lw - 4 - tw);
         EXPECT_EQ(b.GetTextDrawRect(), b.GetTextRect());
       }},
      {"a left-aligned label first at the edge sits flush, the text follows",
       [&](CPlxCaptionBar& b) {
         b.SetButton(label, 0, CPlxCaptionBar::ALIGN_LEFT);
         b.SetText(text, CPlxCaptionBar::ALIGN_LEFT);
       },
       [&](const CPlxCaptionBar& b) {
         EXPECT_EQ(b.GetButtonRect().left, 0);
         EXPECT_EQ(b.GetTextRect().left, lw + 4);
       }},
      {"an image at the left keeps the margin, the text follows after the spacing",
       [&](CPlxCaptionBar& b) {
         b.SetIcon(Icon(16), CPlxCaptionBar::ALIGN_LEFT);
         b.SetText(text, CPlxCaptionBar::ALIGN_LEFT);
       },
       [&](const CPlxCaptionBar& b) {
         EXPECT_EQ(b.GetImageRect().left, 4);
         EXPECT_EQ(b.GetImageRect().Width(), 16);
         EXPECT_EQ(b.GetTextDrawRect().left, 4 + 16 + 4);
       }},
      {"a centred image and text form one group, image first",
       [&](CPlxCaptionBar& b) {
         b.SetIcon(Icon(16), CPlxCaptionBar::ALIGN_CENTER);
         b.SetText(text, CPlxCaptionBar::ALIGN_CENTER);
       },
       [&](const CPlxCaptionBar& b) {
         EXPECT_EQ(b.GetImageRect().left, kWidth / 2 - 16 / 2 - tw / 2);
         EXPECT_EQ(b.GetTextRect().left, b.GetImageRect().right + 4);
         EXPECT_EQ(b.GetTextDrawRect(), b.GetTextRect());
       }},
      {"a text running into a right-aligned label stops the spacing before it",
       [&](CPlxCaptionBar& b) {
         b.SetButton(label, 0, CPlxCaptionBar::ALIGN_RIGHT);
         b.SetText(longText, CPlxCaptionBar::ALIGN_LEFT);
       },
       [&](const CPlxCaptionBar& b) {
         EXPECT_EQ(b.GetTextRect().left, 4);
         EXPECT_EQ(b.GetTextRect().right, kWidth - 4) << "laid out up to the margin";
         EXPECT_EQ(b.GetTextDrawRect().right, b.GetButtonRect().left - 4) << "drawn up to the label";
       }},
      {"a text beside a right-aligned image stops the spacing before it",
       [&](CPlxCaptionBar& b) {
         b.SetIcon(Icon(16), CPlxCaptionBar::ALIGN_RIGHT);
         b.SetText(longText, CPlxCaptionBar::ALIGN_LEFT);
       },
       [&](const CPlxCaptionBar& b) {
         EXPECT_EQ(b.GetImageRect().right, kWidth - 4);
         EXPECT_EQ(b.GetTextDrawRect().right, b.GetImageRect().left - 4);
       }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    NewBar();
    c.setup(*m_bar);
    c.check(*m_bar);
  }
}

TEST_F(PlxCaptionBar, ALabelWithACommandAndArrowIsTenPixelsWider) {
  m_bar->SetButton("Options", 0, CPlxCaptionBar::ALIGN_LEFT);
  const int plain = m_bar->GetButtonRect().Width();
  m_bar->SetButton("Options", kLabelCommand, CPlxCaptionBar::ALIGN_LEFT, TRUE);
  EXPECT_EQ(m_bar->GetButtonRect().Width(), plain + 10);
  m_bar->SetButton("Options", kLabelCommand, CPlxCaptionBar::ALIGN_LEFT, FALSE);
  EXPECT_EQ(m_bar->GetButtonRect().Width(), plain) << "no arrow: plain text";
}

TEST_F(PlxCaptionBar, AnUnknownLabelAlignmentLeavesTheTextWhereItWas) {
  m_bar->SetText("Slideshow", CPlxCaptionBar::ALIGN_LEFT);
  const CRect text = m_bar->GetTextRect(), draw = m_bar->GetTextDrawRect();
  m_bar->SetButton("Options", 0, 7);
  m_bar->SetText("A longer text than before", CPlxCaptionBar::ALIGN_RIGHT);
  EXPECT_EQ(m_bar->GetTextRect(), text);
  EXPECT_EQ(m_bar->GetTextDrawRect(), draw);
}

TEST_F(PlxCaptionBar, ClickingTheLabelSendsItsCommandWhileDrawnPressed) {
  m_bar->SetText("Slideshow");
  m_bar->SetButton("Options", kLabelCommand, CPlxCaptionBar::ALIGN_RIGHT, TRUE);
  const CPoint label = ScreenPoint(m_bar->GetButtonRect().CenterPoint());
  MoveTo(label);
  EXPECT_TRUE(m_bar->IsButtonHighlighted());
  Button(pictavo::user::MouseButton::kLeft, true);
  ASSERT_EQ(m_frame.m_pressedDuringCommand.size(), 1u);
  EXPECT_TRUE(m_frame.m_pressedDuringCommand[0]);
  Button(pictavo::user::MouseButton::kLeft, false);
  EXPECT_FALSE(m_bar->IsButtonPressed());
  EXPECT_TRUE(m_bar->IsButtonHighlighted()) << "released over it: hot again";
  // Off the label within the bar, then out of the bar.
  MoveTo(ScreenPoint(CPoint(5, 5)));
  EXPECT_FALSE(m_bar->IsButtonHighlighted());
  MoveTo(label);
  EXPECT_TRUE(m_bar->IsButtonHighlighted());
  MoveTo(CPoint(600, 600));
  EXPECT_FALSE(m_bar->IsButtonHighlighted()) << "leaving the bar clears the hot label";

  // A label without command is text: no hot state, no command.
  m_bar->SetButton("Options", 0, CPlxCaptionBar::ALIGN_RIGHT, TRUE);
  MoveTo(ScreenPoint(m_bar->GetButtonRect().CenterPoint()));
  Button(pictavo::user::MouseButton::kLeft, true);
  Button(pictavo::user::MouseButton::kLeft, false);
  EXPECT_FALSE(m_bar->IsButtonHighlighted());
  EXPECT_EQ(m_frame.m_pressedDuringCommand.size(), 1u);
}

TEST_F(PlxCaptionBar, RightClickAsksTheOwnerForTheBarMenuOutsideCustomizeMode) {
  m_bar->SetText("Slideshow");
  const CPoint point = ScreenPoint(CPoint(50, 6));
  MoveTo(point);
  Button(pictavo::user::MouseButton::kRight, true);
  Button(pictavo::user::MouseButton::kRight, false);
  EXPECT_EQ(m_frame.m_nMenuRequests, 1);
  EXPECT_EQ(m_frame.m_hwndMenuBar, m_bar->GetSafeHwnd());
  EXPECT_EQ(m_frame.m_ptMenu, point);

  CPlxToolBar::m_bCustomizeMode = TRUE;
  Button(pictavo::user::MouseButton::kRight, true);
  Button(pictavo::user::MouseButton::kRight, false);
  CPlxToolBar::m_bCustomizeMode = FALSE;
  EXPECT_EQ(m_frame.m_nMenuRequests, 1);
}

// The bar's pixels on the desktop.
std::vector<uint32_t> BarPixels(CWnd* bar) {
  CRect rect;
  bar->GetWindowRect(rect);
  const auto display = pictavo::user::GetDisplay();
  const auto desktop = pictavo::display::ComposeDesktop(display->DesktopSize());
  std::vector<uint32_t> pixels;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      pixels.push_back(desktop->Row(y)[static_cast<size_t>(x)] & 0xFFFFFF);
  return pixels;
}

TEST_F(PlxCaptionBar, ChangesShowWithoutAnyoneAskingForARedraw) {
  m_bar->SetText("Slideshow");
  m_bar->SetButton("Options", kLabelCommand, CPlxCaptionBar::ALIGN_RIGHT, TRUE);
  PumpPending();
  const auto redrawn = [this] {
    m_bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    PumpPending();
    return BarPixels(m_bar.get());
  };
  const struct {
    const char* name;
    std::function<void()> change;
  } kChanges[] = {
      {"a new text", [this] { m_bar->SetText("Another caption text"); }},
      {"a new label", [this] { m_bar->SetButton("More", kLabelCommand, CPlxCaptionBar::ALIGN_LEFT, TRUE); }},
      {"an icon", [this] { m_bar->SetIcon(Icon(16), CPlxCaptionBar::ALIGN_RIGHT); }},
      {"a wider frame",
       [this] { m_frame.SetWindowPos(nullptr, 0, 0, kWidth + 80, 120, SWP_NOMOVE | SWP_NOZORDER); }},
  };
  for (const auto& c : kChanges) {
    const auto before = BarPixels(m_bar.get());
    c.change();
    m_frame.RecalcLayout();
    PumpPending();
    const auto shown = BarPixels(m_bar.get());
    EXPECT_NE(shown, before) << c.name;
    EXPECT_EQ(shown, redrawn()) << c.name << ": what shows is what a full redraw draws";
  }
}

// A new font shows at once when the sender asks for a redraw, and waits for the next paint when
// it does not (the bold font keeps the bar's height, so no layout repaints it either).
TEST_F(PlxCaptionBar, ANewFontRedrawsOnlyWhenTheSenderAsks) {
  m_bar->SetText("Slideshow");
  PumpPending();
  for (const BOOL redraw : {FALSE, TRUE}) {
    SCOPED_TRACE(redraw ? "redraw asked" : "no redraw asked");
    m_bar->SendMessage(WM_SETFONT, 0, MAKELPARAM(TRUE, 0));  // back to the bar's own font, drawn
    PumpPending();
    const auto before = BarPixels(m_bar.get());
    m_bar->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(g_plxGlobalData.fontBold.GetSafeHandle()),
                       MAKELPARAM(redraw, 0));
    PumpPending();
    const auto shown = BarPixels(m_bar.get());
    m_bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    PumpPending();
    const auto redrawn = BarPixels(m_bar.get());
    EXPECT_NE(redrawn, before) << "the bold text";
    EXPECT_EQ(shown, redraw ? redrawn : before);
  }
}

// ---- pictures ----

bool WriteReferences() {
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  return flag != nullptr && std::string(flag) == "1";
}

class PlxCaptionBarLook : public PlxCaptionBar {
 protected:
  // The frame's top strip holding the bar, against its reference.
  void Check(const std::string& name) {
    m_frame.RedrawWindow(nullptr, nullptr,
                         RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPending();
    CRect rect;
    m_bar->GetWindowRect(rect);
    const std::string path = pictavo::test::SaveDesktopArea(rect, name);
    ASSERT_FALSE(path.empty());
    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
    pictavo::test::Canvas canvas(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        const COLORREF c = picture.At(x, y);
        canvas.Pixel(x, y) = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
    const std::string reference = pictavo::test::ReferencePath(name);
    if (WriteReferences()) ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
    EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
  }
};

TEST_F(PlxCaptionBarLook, IconTextAndAHotLabelWithItsArrow) {
  m_bar->SetIcon(Icon(16), CPlxCaptionBar::ALIGN_LEFT);
  m_bar->SetText("Three photos could not be found & were left out of the album");
  m_bar->SetButton("Find them", kLabelCommand, CPlxCaptionBar::ALIGN_RIGHT, TRUE);
  Settle();
  MoveTo(ScreenPoint(m_bar->GetButtonRect().CenterPoint()));
  ASSERT_TRUE(m_bar->IsButtonHighlighted());
  Check("caption-icon-text-label.png");
  MoveTo(CPoint(600, 600));
}

TEST_F(PlxCaptionBarLook, CentredBitmapAndTextWithAPressedLabelInOwnColours) {
  // A 24 x 16 bitmap: a green band on magenta, the magenta transparent.
  std::vector<DWORD> bits(24 * 16, 0xFFFF00FF);
  for (int y = 4; y < 12; ++y)
    for (int x = 2; x < 22; ++x) bits[static_cast<size_t>(y * 24 + x)] = 0xFF30A040;
  HBITMAP bitmap = CreateBitmap(24, 16, 1, 32, bits.data());
  ASSERT_TRUE(m_bar->SetBitmap(bitmap, RGB(255, 0, 255), FALSE, CPlxCaptionBar::ALIGN_CENTER));
  DeleteObject(bitmap);
  m_bar->SetText("Summer 2026", CPlxCaptionBar::ALIGN_CENTER);
  m_bar->SetButton("Album", kLabelCommand, CPlxCaptionBar::ALIGN_LEFT, TRUE);
  m_bar->SetButtonPressed(TRUE);
  m_bar->SetColors(RGB(255, 255, 255), RGB(40, 70, 120), RGB(200, 160, 60));
  m_bar->SetFlatBorder(TRUE);
  Settle();
  Check("caption-bitmap-centred.png");
}

}  // namespace
