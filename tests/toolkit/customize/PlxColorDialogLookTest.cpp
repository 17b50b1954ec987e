// What the colour dialog looks like, pixel for pixel: the standard page (hexagon with the chosen
// cell framed, grey row) and the custom page (plane with its marker, luminance bar with its
// arrow, the edits).
#include <functional>

#include "tests/toolkit/customize/ColorHost.h"
#include "tests/toolkit/customize/ColourPicture.h"
#include "toolkit/customize/PlxColorDialog.h"

using colourtest::ColourFixture;

namespace {

std::function<void(CPlxColorDialog&)> g_look;

void CALLBACK RunLook(HWND, UINT, UINT_PTR id, DWORD) {
  auto* dialog = dynamic_cast<CPlxColorDialog*>(CWnd::FromHandlePermanent(::GetActiveWindow()));
  // A modal dialog is active before it shows: the pictures wait for it on screen.
  if (dialog == nullptr || !g_look || !dialog->IsWindowVisible()) return;
  ::KillTimer(nullptr, id);
  auto look = std::move(g_look);
  g_look = nullptr;
  look(*dialog);
  dialog->SendMessage(WM_COMMAND, IDCANCEL);
}

// The focus goes to OK first: a blinking caret in an edit would make the picture depend on time.
void Shoot(CWnd& wnd, const std::string& name) {
  ::SetFocus(::GetDlgItem(wnd.m_hWnd, IDOK));
  wnd.RedrawWindow(nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pictavo::test::PumpPending();
  CRect rect;
  wnd.GetWindowRect(&rect);
  colourtest::CheckPicture(rect, name);
}

using PlxColorDialogLook = ColourFixture;

TEST_F(PlxColorDialogLook, TheStandardAndCustomPages) {
  host.ShowWindow(SW_HIDE);
  CPlxColorDialog dialog(RGB(255, 0, 0));
  g_look = [](CPlxColorDialog& d) {
    d.SetChosenColor(RGB(0, 128, 255));
    d.SyncStandardPage(0, 128, 255);
    d.SyncCustomPage(0, 128, 255);
    Shoot(d, "color-dialog-standard.png");
    d.m_pPropSheet->SetActivePage(1);
    Shoot(d, "color-dialog-custom.png");
  };
  ::SetTimer(nullptr, 0, 1, RunLook);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

}  // namespace
