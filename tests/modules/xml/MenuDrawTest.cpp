#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "modules/xml/DVDMenu.h"
#include "tests/modules/xml/MenuFixtures.h"

namespace {

using menutest::Albums;
using menutest::ObjectsOf;
using menutest::TestCanvas;

bool Near(COLORREF a, COLORREF b, int tolerance = 3) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class DrawnMenu : public ::testing::Test {
 protected:
  void Load(const char* name, int albums) {
    ASSERT_TRUE(m_menu.SetTemplateXMLFile((menutest::TemplateFolder() + "/" + name).c_str()));
    m_menu.SetTVScreenSize(768, 576, FALSE);
    m_menu.SetMenuContent(Albums(albums));
    ASSERT_TRUE(m_menu.ParseMenu(0));
  }
  CDVDMenu m_menu;
};

// 19basic: a navy gradient from #0E1E3A at the top to #2B5288 at the bottom, white frames.
TEST_F(DrawnMenu, PageShowsBackgroundFramesAndButtons) {
  ASSERT_NO_FATAL_FAILURE(Load("19basic.xml", 7));
  TestCanvas canvas(768, 576);
  ASSERT_TRUE(m_menu.Draw(canvas.Dc(), 0));
  EXPECT_TRUE(Near(canvas.At(300, 0), RGB(0x0E, 0x1E, 0x3A), 4));
  EXPECT_TRUE(Near(canvas.At(300, 575), RGB(0x2B, 0x52, 0x88), 4));
  const CRect thumbnail = ObjectsOf<CMenuThumbnail>(m_menu)[0]->GetRect();
  EXPECT_TRUE(Near(canvas.At(thumbnail.left + 1, thumbnail.CenterPoint().y), RGB(0xF4, 0xF7, 0xFB)));
  EXPECT_TRUE(Near(canvas.At(thumbnail.left + 30, thumbnail.top + 30), RGB(0x3A, 0x5F, 0x94)));
  // The next-page button's arrow is white at its centre.
  const CRect next = ObjectsOf<CMenuButton>(m_menu)[0]->GetRect();
  EXPECT_TRUE(Near(canvas.At(next.CenterPoint().x, next.CenterPoint().y), RGB(255, 255, 255), 8));
  // Some of the title's pixels are white text.
  const CRect title = ObjectsOf<CMenuTitleText>(m_menu)[0]->GetTextRect();
  int white = 0;
  for (int y = title.top; y < title.bottom; ++y)
    for (int x = title.left; x < title.right; ++x) white += canvas.At(x, y) == RGB(255, 255, 255);
  EXPECT_GT(white, 200);
}

// The motion loops: frame `total` is frame 0, frames in between differ, and Draw is frame 0 at rest.
TEST_F(DrawnMenu, MotionLoopsWithoutAJump) {
  for (const char* name : menutest::kShippedTemplates) {
    ASSERT_NO_FATAL_FAILURE(Load(name, 3));
    const int total = m_menu.GetTotalFrame();
    ASSERT_GT(total, 0);
    TestCanvas a(768, 576), b(768, 576);
    ASSERT_TRUE(m_menu.DrawFrame(a.Dc(), 0, 0));
    ASSERT_TRUE(m_menu.DrawFrame(b.Dc(), total, 0));
    EXPECT_EQ(a.Pixels(), b.Pixels()) << name;
    ASSERT_TRUE(m_menu.DrawFrame(b.Dc(), total / 4, 0));
    EXPECT_NE(a.Pixels(), b.Pixels()) << name << ": the decorations move";
    ASSERT_TRUE(m_menu.Draw(b.Dc(), 0));
    EXPECT_EQ(a.Pixels(), b.Pixels()) << name;
    ASSERT_TRUE(m_menu.DrawFrame(b.Dc(), total / 4, CDVDMenu::kDrawStill));
    EXPECT_EQ(a.Pixels(), b.Pixels()) << name;
  }
}

TEST_F(DrawnMenu, DrawsAtEveryTvSize) {
  ASSERT_NO_FATAL_FAILURE(Load("00party.xml", 8));
  struct Case {
    int width, height;
    BOOL pal;
  };
  const Case cases[] = {{720, 576, TRUE}, {720, 480, FALSE}, {704, 480, FALSE}, {352, 240, FALSE}};
  for (const auto& c : cases) {
    m_menu.SetTVScreenSize(c.width, c.height, c.pal);
    TestCanvas canvas(c.width, c.height);
    ASSERT_TRUE(m_menu.DrawFrame(canvas.Dc(), 5, 0)) << c.width << "x" << c.height;
    const CRect thumbnail = ObjectsOf<CMenuThumbnail>(m_menu)[0]->GetRect();
    EXPECT_TRUE(Near(canvas.At(thumbnail.left + 1, thumbnail.CenterPoint().y), RGB(255, 255, 255), 12))
        << c.width << "x" << c.height;
  }
  m_menu.StopPlaying();  // frees the canvas; drawing again builds it anew
  TestCanvas canvas(352, 240);
  EXPECT_TRUE(m_menu.DrawFrame(canvas.Dc(), 5, 0));
}

// Focus entries: the page's albums, then the previous-page and the next-page button.
TEST_F(DrawnMenu, ButtonMasksHighlightTheFocusEntry) {
  ASSERT_NO_FATAL_FAILURE(Load("19basic.xml", 14));  // pages of 6, 6, 2
  ASSERT_TRUE(m_menu.SetCurrentPage(1));
  const COLORREF highlight = RGB(0xFF, 0xC9, 0x4A);
  const auto thumbnails = ObjectsOf<CMenuThumbnail>(m_menu);
  const auto texts = ObjectsOf<CMenuAlbumText>(m_menu);
  const auto buttons = ObjectsOf<CMenuButton>(m_menu);
  ASSERT_EQ(buttons.size(), 2u);

  const auto maskAt = [](HBITMAP mask, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    const COLORREF color = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return color;
  };
  for (int focus = 0; focus < 6; ++focus) {
    HBITMAP mask = m_menu.GetButtonMaskBitmap(focus);
    ASSERT_NE(mask, nullptr) << focus;
    BITMAP info{};
    GetObject(mask, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 768);
    EXPECT_EQ(info.bmHeight, 576);
    EXPECT_EQ(maskAt(mask, 0, 0), RGB(0, 0, 0));
    const CRect t = thumbnails[focus]->GetRect();
    EXPECT_EQ(maskAt(mask, t.left - 6, t.CenterPoint().y), highlight) << focus;  // ring around the picture
    EXPECT_EQ(maskAt(mask, t.CenterPoint().x, t.CenterPoint().y), RGB(0, 0, 0)) << focus;
    const CRect r = texts[focus]->GetTextRect();
    EXPECT_EQ(maskAt(mask, r.CenterPoint().x, r.bottom + 2), highlight) << focus;  // underline
    for (int other = 0; other < 6; ++other)
      if (other != focus)
        EXPECT_EQ(
            maskAt(mask, thumbnails[other]->GetRect().left - 6, thumbnails[other]->GetRect().CenterPoint().y),
            RGB(0, 0, 0));
  }
  for (int focus : {6, 7}) {
    HBITMAP mask = m_menu.GetButtonMaskBitmap(focus);
    ASSERT_NE(mask, nullptr);
    const CRect b = buttons[focus - 6]->GetRect();
    EXPECT_EQ(buttons[focus - 6]->GetButtonID(), focus - 6);
    EXPECT_EQ(maskAt(mask, b.CenterPoint().x, b.CenterPoint().y), highlight);
  }
  EXPECT_EQ(m_menu.GetButtonMaskBitmap(8), nullptr);
  EXPECT_EQ(m_menu.GetButtonMaskBitmap(-1), nullptr);

  ASSERT_TRUE(m_menu.SetCurrentPage(0));  // no previous-page button: slot 6 is empty
  EXPECT_EQ(m_menu.GetButtonMaskBitmap(6), nullptr);
  EXPECT_NE(m_menu.GetButtonMaskBitmap(7), nullptr);
}

// The preview draws on its own thread while the user edits texts on the UI thread.
TEST_F(DrawnMenu, DrawingWhileTextsChange) {
  ASSERT_NO_FATAL_FAILURE(Load("69Vacation.xml", 5));
  const auto texts = ObjectsOf<CMenuAlbumText>(m_menu);
  ASSERT_EQ(texts.size(), 5u);
  constexpr int kFrames = 20;
  std::atomic<bool> done = false;
  std::atomic<int> drawn = 0;
  std::thread preview([&] {
    TestCanvas canvas(768, 576);
    for (int frame = 0; frame < kFrames; ++frame) {
      if (m_menu.DrawFrame(canvas.Dc(), frame, 0)) ++drawn;
      EXPECT_NE(m_menu.GetButtonMaskBitmap(frame % 5), nullptr);
    }
    done = true;
  });
  for (int i = 0; i < 200 || !done; ++i) {
    CMenuAlbumText* text = texts[i % texts.size()];
    text->SetFont("DejaVu Sans", 16 + i % 20, RGB(i % 256, 0, 0));
    text->SetText(i % 2 ? "Short" : "A rather longer album name that will not fit");
    text->SetTextPosition(CPoint(400 + i % 7, 100 + i % 11));
  }
  preview.join();
  EXPECT_EQ(drawn.load(), kFrames);
}

}  // namespace
