// What the combo-box and edit-box buttons look like on a bar, as the desktop shows them (the bar
// and its control windows together): normal, focused and hot, disabled, the flat look and on a
// vertical bar, compared with checked-in pictures. PICTAVO_WRITE_REFERENCES=1 writes them anew
// (look at them first).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "tests/support/Canvas.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/bars/TwinBarsFrame.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/bars/PlxToolbarComboBoxButton.h"
#include "toolkit/bars/PlxToolbarEditBoxButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using pictavo::test::Canvas;
using pictavo::test::TwinBarsFrame;

constexpr UINT kPlaces = 32821, kTitle = 32822, kCaption = 32823;

std::string Reference(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
}

// A drop-down list with its second item chosen, an editable combo with typed text, an edit box.
void FillBar(CPlxToolBar& bar) {
  CPlxToolbarComboBoxButton places(kPlaces, -1, CBS_DROPDOWNLIST, 110);
  places.m_strText = "Places";
  for (const char* item : {"Beach", "Mountains", "City"}) places.AddItem(item);
  places.SelectItem(1, FALSE);
  CPlxToolbarComboBoxButton title(kTitle, -1, CBS_DROPDOWN, 110);
  title.m_strText = "Title";
  title.AddItem("Our summer");
  CPlxToolbarEditBoxButton caption(kCaption, -1, ES_AUTOHSCROLL, 110);
  caption.m_strText = "Caption";
  caption.SetContents("Day one");
  for (CPlxToolbarButton* b : std::initializer_list<CPlxToolbarButton*>{&places, &title, &caption})
    b->m_bText = TRUE;
  bar.InsertButton(places);
  bar.InsertButton(title);
  bar.InsertButton(caption);
  if (auto* t = dynamic_cast<CPlxToolbarComboBoxButton*>(bar.GetButton(1))) {
    ::SetWindowText(t->GetHwnd(), "Sea view");
    pictavo::test::PumpPending();
  }
}

class PlxToolbarControlsLook : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    // The toolkit's glyphs (the drop arrows of the flat look) come with the program's resources.
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  }
  void TearDown() override {
    CPlxToolbarComboBoxButton::SetFlatLook(FALSE);
    CPlxToolbarEditBoxButton::SetFlatBorder(FALSE);
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }

  // Both bars as the desktop shows them after `setup`, compared with the reference.
  void Check(const std::string& name, DWORD align2, const std::function<void(TwinBarsFrame&)>& setup) {
    TwinBarsFrame host(align2);
    FillBar(host.top);
    FillBar(host.second);
    host.Layout();
    setup(host);
    host.frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pictavo::test::PumpPending();
    CRect area;
    host.frame.GetWindowRect(area);
    area.bottom = area.top + 200;
    area.right = area.left + 360;
    const auto display = pictavo::user::GetDisplay();
    ASSERT_TRUE(display);
    const auto desktop = pictavo::display::ComposeDesktop(display->DesktopSize());
    ASSERT_TRUE(desktop);
    Canvas canvas(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y)
      for (int x = 0; x < area.Width(); ++x) {
        const uint32_t p = desktop->Row(area.top + y)[static_cast<size_t>(area.left + x)];
        canvas.Pixel(x, y) = p & 0xFFFFFF;
      }
    pictavo::test::WriteCanvasPng(canvas, pictavo::test::SnapshotPath("toolbar-controls-" + name));
    const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
    if (flag != nullptr && std::string(flag) == "1")
      ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, Reference(name)));
    EXPECT_EQ(pictavo::test::CountDifferences(canvas, Reference(name)), 0) << name << " differs";
  }
};

CPlxToolbarComboBoxButton* Combo(CPlxToolBar& bar, int i) {
  return dynamic_cast<CPlxToolbarComboBoxButton*>(bar.GetButton(i));
}
CPlxToolbarEditBoxButton* Edit(CPlxToolBar& bar, int i) {
  return dynamic_cast<CPlxToolbarEditBoxButton*>(bar.GetButton(i));
}

}  // namespace

TEST_F(PlxToolbarControlsLook, NormalFocusedAndDisabled) {
  Check("controls-normal.png", CBRS_ALIGN_TOP, [](TwinBarsFrame&) {});
  // The list has the focus; the edit's border shows only while hot.
  Check("controls-focused.png", CBRS_ALIGN_TOP, [](TwinBarsFrame& host) {
    CPlxToolbarEditBoxButton::SetFlatBorder(TRUE);
    Combo(host.top, 0)->GetComboBox()->SetFocus();
    Edit(host.top, 2)->SetHotEdit(TRUE);
  });
  CPlxToolbarEditBoxButton::SetFlatBorder(FALSE);
  Check("controls-disabled.png", CBRS_ALIGN_TOP, [](TwinBarsFrame& host) {
    for (int i = 0; i < 3; ++i) host.second.SetButtonStyle(i, TBBS_DISABLED);
  });
}

TEST_F(PlxToolbarControlsLook, FlatLookAndVerticalBar) {
  CPlxToolbarComboBoxButton::SetFlatLook(TRUE);
  Check("controls-flat.png", CBRS_ALIGN_TOP, [](TwinBarsFrame& host) {
    Combo(host.second, 0)->SetHotEdit(TRUE);
    host.second.SetButtonStyle(1, TBBS_DISABLED);
  });
  CPlxToolbarComboBoxButton::SetFlatLook(FALSE);
  Check("controls-vertical.png", CBRS_ALIGN_LEFT, [](TwinBarsFrame&) {});
}

// Labels below the fields: the bar grows a row for them, hot and disabled labels take their colours.
TEST_F(PlxToolbarControlsLook, LabelsBelow) {
  Check("controls-labels.png", CBRS_ALIGN_TOP, [](TwinBarsFrame& host) {
    for (CPlxToolBar* bar : {&host.top, &host.second}) bar->EnableTextLabels(TRUE);
    host.Layout(48);
    host.second.SetButtonStyle(2, TBBS_DISABLED);
    host.second.m_iHot = 0;
    // The edit's label box lies under it, centred on the button.
    CPlxToolbarEditBoxButton* edit = Edit(host.top, 2);
    const CRect label = edit->GetRect();
    EXPECT_EQ(label.left + label.right, edit->m_rect.left + edit->m_rect.right);
    EXPECT_LT(label.Width(), edit->m_rect.Width());
    EXPECT_EQ(label.bottom, edit->m_rect.bottom);
  });
}

// The rows of the customize dialog's command list: the label, then a mock field at the right end.
TEST_F(PlxToolbarControlsLook, CommandListRows) {
  CPlxToolbarComboBoxButton combo(kPlaces, -1, CBS_DROPDOWNLIST);
  combo.m_strText = "Places";
  CPlxToolbarEditBoxButton edit(kCaption, -1);
  edit.m_strText = "Caption";
  Canvas canvas(200, 44);
  CDC dc;
  dc.Attach(canvas.Dc());
  CFont* old = dc.SelectObject(&g_plxGlobalData.fontRegular);
  EXPECT_EQ(combo.OnDrawOnCustomizeList(&dc, CRect(0, 0, 200, 22), FALSE), 200);
  EXPECT_EQ(edit.OnDrawOnCustomizeList(&dc, CRect(0, 22, 200, 44), TRUE), 200);
  dc.SelectObject(old);
  dc.Detach();
  const std::string name = "controls-command-list.png";
  pictavo::test::WriteCanvasPng(canvas, pictavo::test::SnapshotPath("toolbar-controls-" + name));
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  if (flag != nullptr && std::string(flag) == "1")
    ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, Reference(name)));
  EXPECT_EQ(pictavo::test::CountDifferences(canvas, Reference(name)), 0) << name << " differs";
}
