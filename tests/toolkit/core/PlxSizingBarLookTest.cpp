// What sizing bars look like in a frame, pixel for pixel: splitter edges, caption bands and caption
// buttons (hot, pushed, disabled when alone), docked top, left and right to left, through the
// classic and the Office-XP managers, compared with checked-in pictures.
// PICTAVO_WRITE_REFERENCES=1 writes them anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/mfc/StdControls.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "tests/toolkit/core/SizingBarFrame.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManagerXP.h"

namespace {

using pictavo::test::Canvas;

bool WriteReferences() {
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  return flag != nullptr && std::string(flag) == "1";
}

class PlxSizingBarLook : public pictavo::test::SizingBarFrame {
 protected:
  void TearDown() override {
    SizingBarFrame::TearDown();
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }

  // A list filling the bar's client area, as a bar's content would.
  void Fill(CPlxSizingControlBar* bar, const char* item) {
    auto list = std::make_unique<CListBox>();
    CRect client;
    bar->GetClientRect(&client);
    ASSERT_TRUE(list->Create(WS_CHILD | WS_VISIBLE | WS_BORDER, client, bar, 1));
    list->SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    m_lists.push_back(std::move(list));
  }

  // The frame as it is on the screen, against its reference.
  void Check(const std::string& name) {
    m_frame.RedrawWindow(nullptr, nullptr,
                         RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pictavo::test::PumpPending();
    const CRect rect = ScreenRect(&m_frame);
    const std::string path = pictavo::test::SaveDesktopArea(rect, name);
    ASSERT_FALSE(path.empty());
    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
    Canvas canvas(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        const COLORREF c = picture.At(x, y);
        canvas.Pixel(x, y) = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
    const std::string reference = pictavo::test::ReferencePath(name);
    if (WriteReferences()) ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
    EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
  }

  // A new frame with two bars in its top row, each holding a list.
  void MakeRow(CRuntimeClass* manager, DWORD exStyle, CPlxSizingControlBar*& a, CPlxSizingControlBar*& b) {
    CPlxVisualManager::SetDefaultManager(manager);
    MakeFrame(CRect(20, 20, 340, 200), exStyle);
    m_bars.clear();
    m_lists.clear();
    a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(150, 110));
    b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(150, 110), a);
    ASSERT_TRUE(a && b);
    Fill(a, "Photos");
    Fill(b, "Music");
  }

  std::vector<std::unique_ptr<CListBox>> m_lists;
};

const struct {
  const char* name;
  CRuntimeClass* manager;
} kManagers[] = {{"classic", nullptr}, {"officexp", RUNTIME_CLASS(CPlxVisualManagerXP)}};

TEST_F(PlxSizingBarLook, ARowOfTwoAtTheTopWithAHotCloseButton) {
  for (const auto& m : kManagers) {
    CPlxSizingControlBar *a = nullptr, *b = nullptr;
    MakeRow(m.manager, 0, a, b);
    ASSERT_TRUE(a && b);
    MoveTo(ButtonCentre(a, CPlxSizingControlBar::kCloseButton));
    ASSERT_TRUE(a->m_Buttons[CPlxSizingControlBar::kCloseButton].m_bFocused);
    Check(std::string("sizing-row-top-") + m.name + ".png");
    MoveTo(CPoint(5, 5));
  }
}

TEST_F(PlxSizingBarLook, OneBarAtTheLeftDrawsItsExpandButtonDisabled) {
  for (const auto& m : kManagers) {
    CPlxVisualManager::SetDefaultManager(m.manager);
    MakeFrame(CRect(20, 20, 340, 200), 0);
    m_bars.clear();
    m_lists.clear();
    CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_LEFT, CSize(140, 150));
    ASSERT_TRUE(a);
    Fill(a, "Folders");
    Check(std::string("sizing-left-") + m.name + ".png");
  }
}

TEST_F(PlxSizingBarLook, RightToLeftMirrorsTheRowWithAPushedExpandButton) {
  for (const auto& m : kManagers) {
    CPlxSizingControlBar *a = nullptr, *b = nullptr;
    MakeRow(m.manager, WS_EX_LAYOUTRTL, a, b);
    ASSERT_TRUE(a && b);
    ForgetLastClick();
    MoveTo(ButtonCentre(a, CPlxSizingControlBar::kExpandButton));
    Button(true);
    ASSERT_TRUE(a->m_Buttons[CPlxSizingControlBar::kExpandButton].m_bPushed);
    Check(std::string("sizing-row-rtl-") + m.name + ".png");
    // Released away from it: nothing happens.
    MoveTo(CPoint(5, 5));
    Button(false);
    EXPECT_FALSE(a->m_bMaximized);
  }
}

}  // namespace
