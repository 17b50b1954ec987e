#include <gtest/gtest.h>

#include "controls/MemoryDC.h"
#include "tests/support/Canvas.h"

namespace {

using pictavo::test::Canvas;

constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kBack = RGB(10, 120, 200);
constexpr COLORREF kInk = RGB(200, 30, 30);

// A CDC over a canvas that it does not own.
struct TargetDC : CDC {
  explicit TargetDC(Canvas& canvas, BOOL printing = FALSE) {
    m_hDC = m_hAttribDC = canvas.Dc();
    m_bPrinting = printing;
  }
  ~TargetDC() override { m_hDC = m_hAttribDC = nullptr; }
};

TEST(MemoryDC, DrawingReachesTheTargetOnlyWhenThePaintEnds) {
  Canvas canvas(100, 60, kPaper);
  TargetDC target(canvas);
  target.SetBkColor(kBack);
  const RECT area{20, 10, 70, 40};
  {
    CMemoryDC dc(&target, &area);
    ASSERT_TRUE(dc.IsMemoryDC());
    dc.FillSolidRect(30, 20, 5, 5, kInk);  // logical coordinates of the target
    EXPECT_EQ(canvas.At(31, 21), kPaper);
    EXPECT_EQ(canvas.At(25, 15), kPaper);
  }
  EXPECT_EQ(canvas.At(31, 21), kInk);
  EXPECT_EQ(canvas.At(25, 15), kBack);  // the rectangle starts with the target's background colour
  EXPECT_EQ(canvas.At(69, 39), kBack);
  EXPECT_EQ(canvas.At(19, 9), kPaper);  // nothing outside it
  EXPECT_EQ(canvas.At(70, 40), kPaper);
}

TEST(MemoryDC, PlainFormNeitherFillsNorMaps) {
  Canvas canvas(40, 40, kPaper);
  TargetDC target(canvas);
  {
    CMemoryDC dc(&target, RECT{10, 10, 30, 20}, CMemoryDC::Plain{});
    dc.FillSolidRect(10, 10, 20, 10, kInk);
  }
  EXPECT_EQ(canvas.At(10, 10), kInk);
  EXPECT_EQ(canvas.At(29, 19), kInk);
  EXPECT_EQ(canvas.At(30, 20), kPaper);
}

TEST(MemoryDC, APrinterIsDrawnOnDirectlyAndKeepsItsHandles) {
  Canvas canvas(40, 40, kPaper);
  TargetDC target(canvas, /*printing*/ TRUE);
  target.SetBkColor(kBack);
  {
    CMemoryDC dc(&target, nullptr);
    EXPECT_FALSE(dc.IsMemoryDC());
    EXPECT_EQ(dc.GetSafeHdc(), canvas.Dc());
    dc.FillSolidRect(0, 0, 5, 5, kInk);
    EXPECT_EQ(canvas.At(2, 2), kInk);
  }
  // The canvas's DC still works after the stand-in went away.
  EXPECT_EQ(target.GetPixel(2, 2), kInk);
  EXPECT_EQ(canvas.At(30, 30), kBack);
}

struct BufferAccess : CCompatibleBitmapBuffer {
  CDC* OwnDC() const { return m_pMemDC; }
};

TEST(OffscreenBuffer, CompatibleBufferIsKeptWhileTheSizeStaysTheSame) {
  BufferAccess buffer;
  ASSERT_TRUE(buffer.Create(320, 240, 32, nullptr));
  const HGDIOBJ first = buffer.GetBitmap()->GetSafeHandle();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(buffer.OwnDC(), nullptr);
  EXPECT_TRUE(buffer.Create(320, 240, 32, nullptr));
  EXPECT_EQ(buffer.GetBitmap()->GetSafeHandle(), first);

  Canvas canvas(4, 4);
  TargetDC dc(canvas);
  EXPECT_TRUE(buffer.Create(321, 240, 32, &dc));
  BITMAP bm{};
  buffer.GetBitmap()->GetBitmap(&bm);
  EXPECT_EQ(bm.bmWidth, 321);
  EXPECT_EQ(buffer.OwnDC(), nullptr);  // a given DC frees the buffer's own

  EXPECT_TRUE(buffer.Release());
  EXPECT_EQ(buffer.GetBitmap()->GetSafeHandle(), nullptr);
}

TEST(OffscreenBuffer, DibSectionIsReplacedForAnotherDepth) {
  CDibSectionBuffer buffer;
  ASSERT_TRUE(buffer.Create(64, 32, 32, nullptr));
  const HGDIOBJ first = buffer.GetBitmap()->GetSafeHandle();
  ASSERT_NE(buffer.GetBits(), nullptr);
  EXPECT_EQ(buffer.GetBitmapInfo().bmiHeader.biHeight, 32);  // bottom-up
  EXPECT_TRUE(buffer.Create(64, 32, 32, nullptr));
  EXPECT_EQ(buffer.GetBitmap()->GetSafeHandle(), first);
  EXPECT_TRUE(buffer.Create(64, 32, 24, nullptr));
  BITMAP bm{};
  buffer.GetBitmap()->GetBitmap(&bm);
  EXPECT_EQ(bm.bmBitsPixel, 24);
  EXPECT_EQ(buffer.Release(), 0);
  EXPECT_EQ(buffer.GetBits(), nullptr);
  EXPECT_EQ(buffer.GetBitmapInfo().bmiHeader.biSize, 0u);
}

}  // namespace
