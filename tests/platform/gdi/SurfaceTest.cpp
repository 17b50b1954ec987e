#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"

namespace {

using pictavo::gdi::Surface;

uint32_t At(const Surface& s, int x, int y) {
  return s.Row(y)[static_cast<size_t>(x)] & 0xFFFFFF;
}

TEST(Surface, DcDrawsAtItsOriginInsideItsClip) {
  auto surface = std::make_shared<Surface>(20, 10);
  surface->Fill(0);
  // A child window at (5, 2) of its top-level window, partly covered: only x < 12 visible.
  HDC dc = pictavo::gdi::CreateSurfaceDC(surface, POINT{5, 2}, RECT{5, 2, 12, 10});
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{0, 0, 100, 100};
  FillRect(dc, &r, red);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      bool in = x >= 5 && x < 12 && y >= 2;
      EXPECT_EQ(At(*surface, x, y), in ? 0xFF0000u : 0u) << x << "," << y;
    }
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 7);
  EXPECT_EQ(pictavo::gdi::SurfaceOfDC(dc), surface);
  EXPECT_TRUE(pictavo::gdi::DeleteSurfaceDC(dc));
  EXPECT_FALSE(pictavo::gdi::DeleteSurfaceDC(dc));
  DeleteObject(red);
}

TEST(Surface, SystemClipAndProgramClipCombine) {
  auto surface = std::make_shared<Surface>(10, 10);
  HDC dc = pictavo::gdi::CreateSurfaceDC(surface, POINT{0, 0}, RECT{0, 0, 10, 10});
  HRGN update = CreateRectRgn(0, 0, 6, 10);  // device coordinates
  pictavo::gdi::SetSystemClip(dc, update);
  IntersectClipRect(dc, 4, 0, 10, 10);
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RECT all{0, 0, 10, 10};
  FillRect(dc, &all, white);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(At(*surface, x, 5), x >= 4 && x < 6 ? 0xFFFFFFu : 0u) << x;
  // Removing the system clip leaves the program's own.
  pictavo::gdi::SetSystemClip(dc, nullptr);
  FillRect(dc, &all, white);
  EXPECT_EQ(At(*surface, 9, 5), 0xFFFFFFu);
  EXPECT_EQ(At(*surface, 3, 5), 0u);
  // Moving the DC keeps its state.
  SetTextColor(dc, RGB(1, 2, 3));
  pictavo::gdi::SetSurfaceOrigin(dc, POINT{2, 2}, RECT{0, 0, 10, 10});
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  DeleteObject(update);
  pictavo::gdi::DeleteSurfaceDC(dc);
}

TEST(Surface, WrapsBottomUpMemory) {
  std::vector<uint32_t> memory(4 * 3, 0);
  Surface s(memory.data(), 4, 3, 16, true, nullptr);
  s.Row(0)[0] = 7;
  EXPECT_EQ(memory[8], 7u);  // the top row is the last in memory
  EXPECT_EQ(s.Stride(), -16);
}

TEST(Surface, DcsOnOneSurfaceDrawFromSeveralThreads) {
  auto surface = std::make_shared<Surface>(64, 64);
  surface->Fill(0);
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([surface, i] {
      // Each thread owns a quarter, as child windows drawn by a render thread and the UI thread.
      HDC dc = pictavo::gdi::CreateSurfaceDC(surface, POINT{i * 16, 0}, RECT{i * 16, 0, i * 16 + 16, 64});
      HBRUSH brush = CreateSolidBrush(RGB(i * 60 + 10, 0, 0));
      HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
      SelectObject(dc, font);
      for (int round = 0; round < 50; ++round) {
        RECT r{0, 0, 16, 64};
        FillRect(dc, &r, brush);
        SetBkMode(dc, TRANSPARENT);
        TextOut(dc, 0, 40, "Ab", 2);
        FillRect(dc, &r, brush);
      }
      pictavo::gdi::DeleteSurfaceDC(dc);
      DeleteObject(brush);
      DeleteObject(font);
    });
  for (auto& t : threads) t.join();
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(At(*surface, i * 16 + 8, 50), static_cast<uint32_t>(i * 60 + 10) << 16) << i;
}

}  // namespace
