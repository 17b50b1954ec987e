// Device contexts and drawing objects: ownership of handles, what SelectObject gives back, and
// drawing through the wrappers.
#include "MfcTestSupport.h"

using namespace testing_mfc;

namespace {

class DcTest : public MfcTest {};

TEST_F(DcTest, SelectObjectGivesBackWhatWasSelected) {
  CClientDC screen(nullptr);
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 20, 10));  // the memory DC's own is monochrome
  CBitmap* original = memory.SelectObject(&bitmap);
  ASSERT_NE(original, nullptr) << "the DC's first bitmap, wrapped";
  EXPECT_EQ(memory.GetCurrentBitmap(), &bitmap) << "a handle with an object gives that object";
  CBrush red(RGB(255, 0, 0));
  CBrush* oldBrush = memory.SelectObject(&red);
  CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
  CPen* oldPen = memory.SelectObject(&pen);
  EXPECT_EQ(memory.GetCurrentBrush(), &red);

  memory.FillSolidRect(0, 0, 20, 10, RGB(0, 255, 0));
  memory.Rectangle(2, 2, 8, 8);
  memory.Draw3dRect(10, 0, 10, 10, RGB(1, 2, 3), RGB(4, 5, 6));
  EXPECT_EQ(memory.GetPixel(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(memory.GetPixel(5, 5), RGB(255, 0, 0)) << "inside: the brush";
  EXPECT_EQ(memory.GetPixel(2, 5), RGB(0, 0, 255)) << "the edge: the pen";
  EXPECT_EQ(memory.GetPixel(10, 0), RGB(1, 2, 3));
  EXPECT_EQ(memory.GetPixel(19, 9), RGB(4, 5, 6));

  memory.SelectObject(oldPen);
  memory.SelectObject(oldBrush);
  memory.SelectObject(original);
  BITMAP info{};
  EXPECT_EQ(bitmap.GetBitmap(&info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 20);
  EXPECT_EQ(info.bmHeight, 10);
}

TEST_F(DcTest, ObjectsOwnTheirHandlesUnlessDetached) {
  HGDIOBJ kept = nullptr;
  HGDIOBJ freed = nullptr;
  {
    CBrush detached(RGB(1, 1, 1));
    kept = detached.Detach();
    CBrush owned(RGB(2, 2, 2));
    freed = owned.m_hObject;
    EXPECT_EQ(CGdiObject::FromHandle(freed), &owned);
  }
  EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(::GetObjectType(freed), 0u) << "the object deleted its brush";
  CBrush* temporary = CBrush::FromHandle(static_cast<HBRUSH>(kept));
  ASSERT_NE(temporary, nullptr);
  EXPECT_TRUE(temporary->IsKindOf(RUNTIME_CLASS(CBrush))) << "a temporary object of the handle's kind";
  CGdiObject::DeleteTempMap();
  EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH)) << "a temporary object never deletes";
  ::DeleteObject(kept);
}

TEST_F(DcTest, FontsAndRegions) {
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(120, "Arial"));
  LOGFONT lf{};
  EXPECT_GT(font.GetLogFont(&lf), 0);
  EXPECT_EQ(lf.lfHeight, -16) << "12 points at 96 dpi";
  CRgn a, b, both;
  ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
  ASSERT_TRUE(b.CreateRectRgn(5, 5, 20, 20));
  ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
  CRect box;
  both.GetRgnBox(&box);
  EXPECT_EQ(box, CRect(0, 0, 20, 20));
  EXPECT_TRUE(both.PtInRegion(15, 15));
  EXPECT_FALSE(both.PtInRegion(15, 2));
}

TEST_F(DcTest, WindowDcsDrawIntoTheWindow) {
  CWnd window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, "Dc", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, 0));
  {
    CClientDC dc(&window);
    dc.FillSolidRect(0, 0, 50, 50, RGB(9, 8, 7));
    EXPECT_EQ(dc.GetPixel(25, 25), RGB(9, 8, 7));
    EXPECT_EQ(dc.GetWindow(), &window);
  }
  CDC* dc = window.GetDC();
  EXPECT_EQ(dc->GetPixel(1, 1), RGB(9, 8, 7));
  EXPECT_EQ(window.ReleaseDC(dc), 1);
}

}  // namespace
