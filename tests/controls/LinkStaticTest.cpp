// The hyperlink static: it fits itself to its text the way its alignment says, shows its target
// when it has no text, underlines its font, takes the system highlight for hovering when asked,
// and builds the ".htm" fallback command and the error texts as a user reads them.
#include <gtest/gtest.h>

#include "controls/LinkStatic.h"
#include "platform/display/Display.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Display.h"
#include "platform/user/Metrics.h"
#include "platform/user/User.h"
#include "tests/support/HostWindow.h"

namespace {

class LinkStaticTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    m_host = pictavo::test::CreateHostWindow(500, 200);
    ASSERT_NE(m_host, nullptr);
    LOGFONT lf{};
    lf.lfHeight = -12;
    strcpy(lf.lfFaceName, "Tahoma");
    m_font = CreateFontIndirect(&lf);
  }
  void TearDown() override {
    DestroyWindow(m_host);
    DeleteObject(m_font);
  }

  // A static of the given style and text at (100, 20, 400, 60) of the host, made a link.
  void Make(CLinkStatic& link, DWORD style, const char* text) {
    HWND wnd = CreateWindowEx(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, 100, 20, 300, 40, m_host,
                              reinterpret_cast<HMENU>(1253), nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    ::SendMessage(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    ASSERT_TRUE(link.SubclassWindow(wnd));
  }
  CRect Placed(CLinkStatic& link) const {
    CRect rc;
    link.GetWindowRect(&rc);
    ::ScreenToClient(m_host, reinterpret_cast<POINT*>(&rc.left));
    ::ScreenToClient(m_host, reinterpret_cast<POINT*>(&rc.right));
    return rc;
  }
  int TextWidth(const char* text) const {
    HDC dc = GetDC(m_host);
    HGDIOBJ old = SelectObject(dc, m_font);
    SIZE size{};
    GetTextExtentPoint32(dc, text, static_cast<int>(strlen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(m_host, dc);
    return size.cx;
  }

  HWND m_host = nullptr;
  HFONT m_font = nullptr;
};

}  // namespace

TEST_F(LinkStaticTest, FitsItsTextTheWayItIsAligned) {
  const char* text = "https://example.org/upgrade";
  const int width = TextWidth(text);
  ASSERT_GT(width, 50);
  struct Case {
    DWORD style;
    int left;
  };
  const Case kCases[] = {
      {SS_LEFT, 100},
      {SS_CENTER, 100 + (300 - width) / 2},
      {SS_RIGHT, 400 - width},
  };
  for (const Case& c : kCases) {
    CLinkStatic link;
    Make(link, c.style, text);
    const CRect rc = Placed(link);
    EXPECT_EQ(rc.left, c.left) << c.style;
    EXPECT_NEAR(rc.Width(), width, 1) << c.style;
    EXPECT_EQ(rc.top, 20) << c.style;
    EXPECT_LT(rc.Height(), 40) << c.style;
    link.DestroyWindow();
  }
}

TEST_F(LinkStaticTest, WithoutTextItShowsItsTargetUnderlined) {
  CLinkStatic link;
  link.SetURL("https://example.org/");
  Make(link, SS_LEFT, "");
  CString text;
  link.GetWindowText(text);
  EXPECT_STREQ(text, "https://example.org/");
  LOGFONT lf{};
  ASSERT_NE(link.GetFont(), nullptr);
  link.GetFont()->GetLogFont(&lf);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_NE(link.GetStyle() & SS_NOTIFY, 0u);
  link.SetUnderline(FALSE);
  link.GetFont()->GetLogFont(&lf);
  EXPECT_EQ(lf.lfUnderline, 0);
  link.DestroyWindow();
}

TEST_F(LinkStaticTest, ColoursForLinkVisitedAndHover) {
  CLinkStatic link;
  EXPECT_EQ(link.CurrentColour(), RGB(230, 238, 28));
  link.SetColors(RGB(100, 0, 0), RGB(20, 20, 255));
  EXPECT_EQ(link.GetHoverColour(), ::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(link.CurrentColour(), RGB(100, 0, 0));
  link.SetVisited(TRUE);
  EXPECT_EQ(link.CurrentColour(), RGB(20, 20, 255));
}

TEST_F(LinkStaticTest, TheHtmlFallbackRunsTheRegisteredProgramWithTheAddress) {
  struct Case {
    const char* registered;
    const char* command;
  };
  const Case kCases[] = {
      {"\"/usr/bin/browser\" \"%1\"", "\"/usr/bin/browser\"  https://e.org/"},
      {"/usr/bin/browser %1 -new", "/usr/bin/browser  https://e.org/"},
      {"/usr/bin/browser", "/usr/bin/browser https://e.org/"},
  };
  for (const Case& c : kCases)
    EXPECT_STREQ(CLinkStatic::FallbackCommand(c.registered, "https://e.org/"), c.command) << c.registered;
  // A command that would not fit the buffer is not run cut short.
  EXPECT_TRUE(CLinkStatic::FallbackCommand(CString(std::string(600, 'x')), "https://e.org/").IsEmpty());
}

TEST_F(LinkStaticTest, ErrorTextsNameTheReason) {
  EXPECT_STREQ(CLinkStatic::ErrorText(2), "Unable to open hyperlink:\n\nThe specified file was not found.");
  EXPECT_STREQ(
      CLinkStatic::ErrorText(31),
      "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
  EXPECT_STREQ(CLinkStatic::ErrorText(99), "Unable to open hyperlink:\n\nUnknown Error (99) occurred.");
}
