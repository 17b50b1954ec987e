// What the image editing tests share: a small bitmap to edit, its pixels read back, and the
// headless display with the program's resources.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/WinApp.h"
#include "tests/support/MessagePump.h"
#include "tests/toolkit/customize/CustomizeHost.h"

namespace imgedit_test {

// A screen-compatible bitmap of w x h filled with one colour.
inline void MakeBitmap(CBitmap& bitmap, int w, int h, COLORREF fill) {
  CClientDC screen(nullptr);
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, w, h));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  dc.FillSolidRect(0, 0, w, h, fill);
  dc.SelectObject(old);
}

inline COLORREF PixelOf(CBitmap& bitmap, int x, int y) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  const COLORREF c = dc.GetPixel(x, y);
  dc.SelectObject(old);
  return c;
}

inline void SetPixelOf(CBitmap& bitmap, int x, int y, COLORREF color) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  dc.SetPixel(x, y, color);
  dc.SelectObject(old);
}

class EditFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { customize_test::StartDisplay(); }
  void SetUp() override {
    if (AfxGetApp() == nullptr) app = std::make_unique<CWinApp>("ImageEditTest");
    ASSERT_TRUE(host.Make(CRect(0, 0, 640, 480)));
  }
  void TearDown() override {
    host.DestroyWindow();
    pictavo::test::PumpPending();
    app.reset();
  }
  customize_test::CHostWnd host;
  std::unique_ptr<CWinApp> app;
};

}  // namespace imgedit_test
