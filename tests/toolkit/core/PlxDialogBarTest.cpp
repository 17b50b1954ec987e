// Dialog bars in a frame's real dock rows: sizes from the template (fixed, stretched, docked
// horizontally and vertically, floating, sizing mode), the template's controls, their command
// update and the bar's face.
#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Dc.h"
#include "tests/toolkit/core/SizingBarFrame.h"
#include "toolkit/core/PlxDialogBar.h"
#include "toolkit/core/PlxGlobalData.h"

namespace {

constexpr UINT kTemplate = 64865;
constexpr UINT kEdit = 64867, kFind = 64868;
// The template's 120 x 40 dialog units in pixels.
const CSize kTemplatePixels = CRect(pictavo::gdi::MapDialogUnits(RECT{0, 0, 120, 40})).Size();

class PlxDialogBarTest : public pictavo::test::SizingBarFrame {
 protected:
  void TearDown() override {
    SizingBarFrame::TearDown();
    m_dialogBars.clear();
  }

  CPlxDialogBar* DockDialogBar(UINT nDockBarID, BOOL bSizingMode = FALSE, BOOL bGripper = TRUE) {
    auto bar = std::make_unique<CPlxDialogBar>();
    const UINT id = 0xE900 + 0x180 + static_cast<UINT>(m_dialogBars.size());
    if (!bar->Create("Find", &m_frame, bGripper, kTemplate, WS_CHILD | WS_VISIBLE | CBRS_TOP, id,
                     bSizingMode))
      return nullptr;
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_frame.DockControlBar(bar.get(), nDockBarID);
    m_dialogBars.push_back(std::move(bar));
    Settle();
    return m_dialogBars.back().get();
  }

  static CSize ClientSize(CWnd* wnd) {
    CRect rect;
    wnd->GetClientRect(rect);
    return rect.Size();
  }

  std::vector<std::unique_ptr<CPlxDialogBar>> m_dialogBars;
};

TEST_F(PlxDialogBarTest, TheTemplateGivesTheSizeAndTheControls) {
  CPlxDialogBar* bar = DockDialogBar(AFX_IDW_DOCKBAR_TOP);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetDefaultSize(), kTemplatePixels);
  // The controls where the template puts them, in the template's font.
  CWnd* edit = bar->GetDlgItem(kEdit);
  ASSERT_NE(edit, nullptr);
  CRect rect;
  edit->GetWindowRect(rect);
  bar->ScreenToClient(rect);
  const RECT want = pictavo::gdi::MapDialogUnits(RECT{46, 4, 116, 18});
  EXPECT_EQ(rect, CRect(want));
  EXPECT_NE(edit->SendMessage(WM_GETFONT), 0);
  EXPECT_NE(bar->GetDlgItem(kFind), nullptr);
}

TEST_F(PlxDialogBarTest, SizesWhereTheBarIs) {
  struct Case {
    const char* name;
    UINT dock;  // 0: floating
    BOOL sizing;
    BOOL floatedFirst;
  } const cases[] = {
      {"docked at the top", AFX_IDW_DOCKBAR_TOP, FALSE, FALSE},
      {"docked at the bottom", AFX_IDW_DOCKBAR_BOTTOM, FALSE, FALSE},
      {"docked on the left", AFX_IDW_DOCKBAR_LEFT, FALSE, FALSE},
      {"docked on the right", AFX_IDW_DOCKBAR_RIGHT, FALSE, FALSE},
      {"floating", 0, FALSE, FALSE},
      {"floated, then docked on the left", AFX_IDW_DOCKBAR_LEFT, FALSE, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CPlxDialogBar* bar = DockDialogBar(c.dock != 0 ? c.dock : AFX_IDW_DOCKBAR_TOP, c.sizing);
    ASSERT_NE(bar, nullptr);
    if (c.floatedFirst) {
      m_frame.FloatControlBar(bar, CPoint(450, 300));
      Settle();
      m_frame.DockControlBar(bar, c.dock);
      Settle();
    }
    if (c.dock == 0) {
      m_frame.FloatControlBar(bar, CPoint(450, 300));
      Settle();
      ASSERT_TRUE(bar->IsFloating());
    }
    // The fixed bar's client area is the template, whatever the borders, band and edges take.
    EXPECT_EQ(ClientSize(bar), kTemplatePixels);

    // The fixed layout: template + 2 x border, + the band across the row, + one splitter edge.
    const BOOL horz = c.dock == AFX_IDW_DOCKBAR_TOP || c.dock == AFX_IDW_DOCKBAR_BOTTOM;
    const int border = 2 * bar->m_nBorderSize;
    CSize want = kTemplatePixels + CSize(border, border);
    if (c.dock != 0) {
      if (horz)
        want += CSize(bar->m_cyGripper, bar->m_cxEdge);
      else
        want += CSize(bar->m_cxEdge, bar->m_cyGripper);
    }
    EXPECT_EQ(bar->CalcFixedLayout(FALSE, horz), want);
    // Stretched: the whole length (the dock bar clips it) plus the same additions.
    const CSize stretched = bar->CalcFixedLayout(TRUE, horz);
    if (horz) {
      EXPECT_EQ(stretched.cx, 32767 + want.cx - kTemplatePixels.cx);
      EXPECT_EQ(stretched.cy, want.cy);
    } else {
      EXPECT_EQ(stretched.cy, 32767 + want.cy - kTemplatePixels.cy);
      EXPECT_EQ(stretched.cx, want.cx);
    }
    m_frame.ShowControlBar(bar, FALSE, FALSE);
    Settle();
  }
}

TEST_F(PlxDialogBarTest, InSizingModeTheBarSizesAsASizingBar) {
  CPlxDialogBar* bar = DockDialogBar(AFX_IDW_DOCKBAR_LEFT, TRUE);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsSizingMode());
  // The template's size is the whole bar's docked size, as a sizing bar keeps it.
  CRect window;
  bar->GetWindowRect(window);
  EXPECT_EQ(window.Width(), kTemplatePixels.cx);
  EXPECT_EQ(bar->CalcFixedLayout(FALSE, FALSE).cx, bar->m_szVert.cx);
  bar->SetSizingMode(FALSE);
  EXPECT_EQ(bar->CalcFixedLayout(FALSE, FALSE).cx,
            kTemplatePixels.cx + 2 * bar->m_nBorderSize + bar->m_cxEdge);
}

// The frame's handler for the Find button.
class CFindFrame : public pictavo::test::CMenuCountingFrame {
 public:
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (nID == kFind && nCode == CN_UPDATE_COMMAND_UI) {
      static_cast<CCmdUI*>(pExtra)->Enable(m_bFindEnabled);
      return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
  BOOL m_bFindEnabled = TRUE;
};

TEST_F(PlxDialogBarTest, ControlsFollowTheOwnersUpdateHandlers) {
  CPlxDialogBar* bar = DockDialogBar(AFX_IDW_DOCKBAR_TOP);
  ASSERT_NE(bar, nullptr);
  CFindFrame target;
  struct Case {
    BOOL handlerEnables;
    BOOL disableIfNoHandler;
    BOOL findEnabled;
    BOOL editEnabled;  // no handler, but an edit is never disabled for that
  } const cases[] = {
      {TRUE, TRUE, TRUE, TRUE},
      {FALSE, TRUE, FALSE, TRUE},
      {TRUE, FALSE, TRUE, TRUE},
  };
  for (const Case& c : cases) {
    target.m_bFindEnabled = c.handlerEnables;
    bar->GetDlgItem(kEdit)->EnableWindow(TRUE);
    bar->OnUpdateCmdUI(&target, c.disableIfNoHandler);
    EXPECT_EQ(bar->GetDlgItem(kFind)->IsWindowEnabled(), c.findEnabled);
    EXPECT_EQ(bar->GetDlgItem(kEdit)->IsWindowEnabled(), c.editEnabled);
  }
}

TEST_F(PlxDialogBarTest, TheFaceIsTheToolkitsButtonFace) {
  CPlxDialogBar* bar = DockDialogBar(AFX_IDW_DOCKBAR_TOP);
  ASSERT_NE(bar, nullptr);
  CClientDC screen(bar);
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, kTemplatePixels.cx, kTemplatePixels.cy);
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, kTemplatePixels.cx, kTemplatePixels.cy, RGB(1, 2, 3));
  EXPECT_TRUE(bar->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.GetSafeHdc())));
  EXPECT_EQ(memory.GetPixel(1, 1), g_plxGlobalData.clrBtnFace);
  EXPECT_EQ(memory.GetPixel(kTemplatePixels.cx - 2, kTemplatePixels.cy - 2), g_plxGlobalData.clrBtnFace);
  memory.SelectObject(old);
}

TEST_F(PlxDialogBarTest, AMissingTemplateMakesNoBar) {
  CPlxDialogBar bar;
  EXPECT_FALSE(bar.Create("None", &m_frame, TRUE, 64889u, WS_CHILD | CBRS_TOP, 0xEA10));
  EXPECT_EQ(bar.GetSafeHwnd(), nullptr);
  EXPECT_FALSE(
      bar.Create("None", &m_frame, TRUE, static_cast<LPCTSTR>(nullptr), WS_CHILD | CBRS_TOP, 0xEA10));
}

}  // namespace
