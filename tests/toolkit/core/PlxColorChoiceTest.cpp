// Where a chosen colour goes: from a colour menu button's popup back to the button and its
// command, from a stand-alone bar to every button of its command and the owner, from a push
// button's popup to the push button and its parent; the other-colour dialog, cancelled, chosen or
// outliving the popup; customize mode; and the colour push button's keys and palette.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/user/Input.h"
#include "tests/toolkit/core/ColorBarFixture.h"
#include "toolkit/core/PlxColorButton.h"
#include "toolkit/customize/PlxColorDialog.h"

using namespace colortest;

namespace {

constexpr COLORREF kNone = (COLORREF)-1;

class PlxColorChoice : public ColorBarFixture {
 protected:
  // A colour menu button of command 3000 with the automatic, other and document rows.
  CScriptedColorButton* MenuButton(UINT id = 3000) {
    auto* button = new CScriptedColorButton(id, "Colour");
    button->EnableAutomaticButton("Automatic", RGB(0, 0, 0));
    button->EnableOtherButton("More Colors...");
    button->EnableDocumentColors("Document's Colors");
    return AddButton(button);
  }
  static int PaletteCell(CPlxColorBar* bar, COLORREF color) {
    return FindCell(bar,
                    [&](auto& c) { return c.IsColorCell() && !c.m_bDocumentCell && c.m_clrCell == color; });
  }
};

TEST_F(PlxColorChoice, ACellOfAMenuButtonsPopupColoursTheButtonAndRunsItsCommand) {
  frame.documentColors = {RGB(11, 22, 33)};
  const struct {
    const char* what;
    std::function<int(CPlxColorBar*)> cell;
    COLORREF want;
  } cases[] = {
      {"a palette cell", [](CPlxColorBar* bar) { return PaletteCell(bar, RGB(255, 0, 0)); }, RGB(255, 0, 0)},
      {"the automatic row",
       [](CPlxColorBar* bar) { return FindCell(bar, [](auto& c) { return c.m_bAutomaticRow; }); }, kNone},
      {"a document cell",
       [](CPlxColorBar* bar) {
         return FindCell(bar, [](auto& c) { return c.m_bDocumentCell && !c.m_bCaptionRow; });
       },
       RGB(11, 22, 33)},
  };
  CScriptedColorButton* button = MenuButton();
  for (const auto& c : cases) {
    button->SetColor(RGB(1, 1, 1), FALSE);
    frame.commands.clear();
    CPlxColorBar* bar = Open(button, &toolbar);
    ASSERT_NE(bar, nullptr) << c.what;
    const int index = c.cell(bar);
    ASSERT_GE(index, 0) << c.what;
    Click(bar, index);
    EXPECT_EQ(button->GetColor(), c.want) << c.what;
    EXPECT_EQ(CPlxColorMenuButton::GetColorByCmdID(3000), c.want) << c.what;
    EXPECT_EQ(button->GetPopupMenu(), nullptr) << c.what << ": the popup closes";
    EXPECT_EQ(frame.commands, std::vector<UINT>{3000}) << c.what;
  }
}

TEST_F(PlxColorChoice, TheDocumentCaptionDoesNothingAndTheMenuStaysOpen) {
  frame.documentColors = {RGB(11, 22, 33)};
  CScriptedColorButton* button = MenuButton();
  CPlxColorBar* bar = Open(button, &toolbar);
  ASSERT_NE(bar, nullptr);
  const int caption = FindCell(bar, [](auto& c) { return c.m_bCaptionRow; });
  ASSERT_GE(caption, 0);
  Click(bar, caption);
  EXPECT_NE(button->GetPopupMenu(), nullptr);
  EXPECT_TRUE(frame.commands.empty());
  button->GetPopupMenu()->CloseMenu();
}

TEST_F(PlxColorChoice, TheOtherRowsDialogDecidesCancelledChosenOrWithThePopupGone) {
  const struct {
    const char* what;
    BOOL answer;
    BOOL destroyPopup;
    COLORREF wantColor;
    std::vector<UINT> wantCommands;
  } cases[] = {
      {"cancelled: the chain closes without a command", FALSE, FALSE, RGB(1, 1, 1), {}},
      {"chosen: the colour and the command", TRUE, FALSE, RGB(12, 34, 56), {3000}},
      // The dialog's own loop may take the popup (and the bar in it) away; nothing of it is read.
      {"chosen after the popup went", TRUE, TRUE, RGB(1, 1, 1), {}},
      {"cancelled after the popup went", FALSE, TRUE, RGB(1, 1, 1), {}},
  };
  CScriptedColorButton* button = MenuButton();
  for (const auto& c : cases) {
    button->SetColor(RGB(1, 1, 1), FALSE);
    button->answer = c.answer;
    button->chosen = RGB(12, 34, 56);
    button->destroyPopup = c.destroyPopup;
    button->dialogs = 0;
    frame.commands.clear();
    CPlxColorBar* bar = Open(button, &toolbar);
    ASSERT_NE(bar, nullptr) << c.what;
    Click(bar, FindCell(bar, [](auto& cell) { return cell.m_bMoreColorsRow; }));
    pictavo::test::PumpPending();
    EXPECT_EQ(button->dialogs, 1) << c.what;
    EXPECT_EQ(button->dialogInitial, RGB(1, 1, 1)) << c.what << ": the dialog starts at the selection";
    EXPECT_EQ(button->GetColor(), c.wantColor) << c.what;
    EXPECT_EQ(frame.commands, c.wantCommands) << c.what;
    EXPECT_EQ(button->GetPopupMenu(), nullptr) << c.what;
    EXPECT_FALSE(button->tipShown) << c.what << ": the Other row's tip went with the popup";
  }
}

TEST_F(PlxColorChoice, AStandAloneBarColoursEveryButtonOfItsCommandAndTellsItsOwnerOnce) {
  CScriptedColorButton* first = MenuButton(3000);
  CScriptedColorButton* twin = MenuButton(3000);
  CScriptedColorButton* other = MenuButton(3001);
  other->SetColor(RGB(2, 2, 2), FALSE);

  CArray<COLORREF, COLORREF> colors;
  CList<COLORREF, COLORREF> none;
  CPlxColorBar source(Ramp(colors, 20), kNone, nullptr, nullptr, nullptr, none, 0, 0, 0, kNone, 0, nullptr);
  CPlxColorBar bar(source, 3000);  // the copy a tear-off makes
  ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_GRIPPER, 2100));
  bar.MoveWindow(CRect(CPoint(10, 60), bar.CalcSize(FALSE) + CSize(12, 12)));
  bar.AdjustLocations();
  EXPECT_TRUE(bar.IsStandalone());

  const COLORREF picked = Ramp(colors, 20)[3];
  Click(&bar, PaletteCell(&bar, picked));
  EXPECT_EQ(first->GetColor(), picked);
  EXPECT_EQ(twin->GetColor(), picked);
  EXPECT_EQ(other->GetColor(), RGB(2, 2, 2));
  EXPECT_EQ(CPlxColorMenuButton::GetColorByCmdID(3000), picked);
  EXPECT_EQ(bar.GetColor(), picked);
  EXPECT_EQ(frame.commands, std::vector<UINT>{3000});
  bar.DestroyWindow();
}

TEST_F(PlxColorChoice, CustomizeModeKeepsThePopupShutAndTheBarDeaf) {
  CScriptedColorButton* button = MenuButton();
  CPlxToolBar::m_bCustomizeMode = TRUE;
  EXPECT_FALSE(button->OpenPopupMenu(&toolbar));
  EXPECT_EQ(button->GetPopupMenu(), nullptr);

  CArray<COLORREF, COLORREF> colors;
  CList<COLORREF, COLORREF> none;
  CPlxColorBar source(Ramp(colors, 20), kNone, nullptr, nullptr, nullptr, none, 0, 0, 0, kNone, 0, nullptr);
  CPlxColorBar bar(source, 3000);
  ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 2101));
  bar.MoveWindow(CRect(CPoint(10, 60), bar.CalcSize(FALSE) + CSize(12, 12)));
  bar.AdjustLocations();
  Click(&bar, 2);
  EXPECT_EQ(bar.GetColor(), kNone);
  EXPECT_TRUE(frame.commands.empty());
  CPlxToolBar::m_bCustomizeMode = FALSE;
  bar.DestroyWindow();
}

TEST_F(PlxColorChoice, ADisabledCommandDisablesEveryCell) {
  CArray<COLORREF, COLORREF> colors;
  CList<COLORREF, COLORREF> none;
  CPlxColorBar source(Ramp(colors, 6), kNone, nullptr, nullptr, nullptr, none, 0, 0, 0, kNone, 0, nullptr);
  CPlxColorBar bar(source, 3999);  // no handler anywhere for 3999
  ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 2102));
  bar.OnUpdateCmdUI(&frame, TRUE);
  for (int i = 0; i < bar.GetCount(); ++i) EXPECT_TRUE(bar.GetButton(i)->m_nStyle & TBBS_DISABLED) << i;
  bar.OnUpdateCmdUI(&frame, FALSE);
  for (int i = 0; i < bar.GetCount(); ++i) EXPECT_TRUE(bar.GetButton(i)->m_nStyle & TBBS_DISABLED) << i;
  bar.DestroyWindow();
}

// ---- the colour push button ----

class CNotedParent : public CWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    notes.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
    return TRUE;
  }
  struct Note {
    UINT id, code;
    HWND from;
    bool operator==(const Note&) const = default;
  };
  std::vector<Note> notes;
};

class PlxColorPushButton : public ColorBarFixture {
 protected:
  void SetUp() override {
    ColorBarFixture::SetUp();
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "Parent", WS_CHILD | WS_VISIBLE,
                                CRect(0, 30, 400, 300), &frame, 77));
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 32), &parent, 501));
    button.m_strOtherText = "More Colors...";
  }
  void TearDown() override {
    if (button.GetPopup() != nullptr) button.GetPopup()->SendMessage(WM_CLOSE);
    pictavo::test::PumpPending();
    button.DestroyWindow();
    parent.DestroyWindow();
    ColorBarFixture::TearDown();
  }
  CNotedParent parent;
  CPlxColorButton button;
};

TEST_F(PlxColorPushButton, DownAndSpaceOpenThePopupOtherKeysDoNot) {
  const struct {
    UINT key;
    bool opens;
  } cases[] = {{VK_DOWN, true}, {VK_SPACE, true}, {VK_LEFT, false}, {VK_RETURN, false}};
  for (const auto& c : cases) {
    button.SendMessage(WM_KEYDOWN, c.key, 0);
    pictavo::test::PumpPending();
    EXPECT_EQ(button.GetPopup() != nullptr, c.opens) << c.key;
    if (button.GetPopup() != nullptr) button.GetPopup()->SendMessage(WM_CLOSE);
    pictavo::test::PumpPending();
    EXPECT_EQ(button.GetPopup(), nullptr);
  }
  EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTARROWS));
}

TEST_F(PlxColorPushButton, ACellReachesTheButtonWhichTellsItsParentAndThePopupCloses) {
  button.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  pictavo::test::PumpPending();
  ASSERT_NE(button.GetPopup(), nullptr);
  CPlxColorBar* bar = &button.GetPopup()->m_colorBar;
  EXPECT_EQ(bar->m_pOwnerColorButton, &button);
  const int red = FindCell(bar, [](auto& c) { return c.IsColorCell() && c.m_clrCell == RGB(255, 0, 0); });
  ASSERT_GE(red, 0);
  Click(bar, red);
  EXPECT_EQ(button.GetColor(), RGB(255, 0, 0));
  EXPECT_EQ(parent.notes, (std::vector<CNotedParent::Note>{{501, BN_CLICKED, button.GetSafeHwnd()}}));
  EXPECT_EQ(button.GetPopup(), nullptr);
}

TEST_F(PlxColorPushButton, EscapeOrAClickOutsideClosesThePopupWithoutAColour) {
  const struct {
    const char* what;
    UINT message;
    WPARAM wParam;
    CPoint point;
  } cases[] = {{"Escape", WM_KEYDOWN, VK_ESCAPE, {}},
               {"a click outside", WM_LBUTTONDOWN, MK_LBUTTON, CPoint(-30, -30)},
               {"a right click outside", WM_RBUTTONDOWN, MK_RBUTTON, CPoint(-5, 400)}};
  for (const auto& c : cases) {
    button.SetColor(RGB(4, 4, 4));
    button.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    pictavo::test::PumpPending();
    ASSERT_NE(button.GetPopup(), nullptr) << c.what;
    CPlxColorBar* bar = &button.GetPopup()->m_colorBar;
    MSG msg{bar->GetSafeHwnd(), c.message, c.wParam, MAKELPARAM(c.point.x, c.point.y)};
    EXPECT_TRUE(bar->PreTranslateMessage(&msg)) << c.what;
    pictavo::test::PumpPending();
    EXPECT_EQ(button.GetPopup(), nullptr) << c.what;
    EXPECT_EQ(button.GetColor(), RGB(4, 4, 4)) << c.what;
  }
  EXPECT_TRUE(parent.notes.empty());
}

TEST_F(PlxColorPushButton, UpdateColorWithoutAParentOnlyRepaints) {
  CPlxColorButton alone;
  alone.UpdateColor(RGB(9, 8, 7));
  EXPECT_EQ(alone.GetColor(), RGB(9, 8, 7));
  button.UpdateColor(RGB(1, 2, 3));
  EXPECT_EQ(parent.notes.size(), 1u);
}

TEST_F(PlxColorPushButton, APaletteDisplayLessScreenRebuildsFromTheDefaultPalette) {
  // The display is true colour: its hardware palette is empty, so the twenty default colours
  // stand in rather than 256 entries nobody wrote.
  button.RebuildPalette(nullptr);
  ASSERT_NE(button.GetPalette(), nullptr);
  ASSERT_EQ(button.GetPalette()->GetEntryCount(), 20);
  PALETTEENTRY entries[20] = {};
  button.GetPalette()->GetPaletteEntries(0, 20, entries);
  EXPECT_EQ(RGB(entries[13].peRed, entries[13].peGreen, entries[13].peBlue), RGB(255, 0, 0));

  CPalette given;
  std::vector<BYTE> block(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = 3;
  log->palPalEntry[0] = {1, 2, 3, 0};
  log->palPalEntry[1] = {4, 5, 6, 0};
  log->palPalEntry[2] = {7, 8, 9, 0};
  ASSERT_TRUE(given.CreatePalette(log));
  button.RebuildPalette(&given);
  EXPECT_EQ(button.GetPalette()->GetEntryCount(), 3);
}

TEST(PlxButtonImagesSize, TheDrawnSizeDiffersFromTheSourceWhileAStripDrawsScaled) {
  CPlxButtonImages images;
  images.SetImageSize(CSize(16, 15));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 32;
  info.bmiHeader.biHeight = 15;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP strip = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_GE(images.AddImage(strip), 0);
  EXPECT_EQ(images.GetImageSize(TRUE), CSize(16, 15)) << "outside a drawing series both agree";
  PlxImageDrawState state;
  ASSERT_TRUE(images.PrepareDrawImage(state, CSize(32, 30)));
  EXPECT_EQ(images.GetImageSize(FALSE), CSize(16, 15));
  EXPECT_EQ(images.GetImageSize(TRUE), CSize(32, 30));
  images.EndDrawImage(state);
  ::DeleteObject(strip);
}

}  // namespace

namespace {

class PlxColorTearOff : public ColorBarFixture {};

TEST_F(PlxColorTearOff, ATornOffBarKeepsItsCopyAndDockedAtASideShowsNoDocumentColours) {
  frame.documentColors = {RGB(11, 22, 33), RGB(44, 55, 66)};
  auto* button = AddButton(new CScriptedColorButton(3000, "Colour"));
  button->EnableDocumentColors("Document's Colors");
  button->m_nVertDockColumns = 2;
  CPlxColorBar* inPopup = Open(button, &toolbar);
  ASSERT_NE(inPopup, nullptr);
  auto* popup = dynamic_cast<CColorPopup*>(button->GetPopupMenu());
  frame.EnableDocking(CBRS_ALIGN_ANY);
  auto* torn = dynamic_cast<CPlxColorBar*>(popup->CreateTearOffBar(&frame, 0xE900 + 0x180, "Colours"));
  ASSERT_NE(torn, nullptr);
  popup->CloseMenu();
  pictavo::test::PumpPending();

  EXPECT_TRUE(torn->IsStandalone());
  EXPECT_EQ(torn->GetCommandID(), 3000u);
  EXPECT_EQ(torn->GetPaletteColors().GetSize(), 20);
  EXPECT_EQ(torn->m_lstDocumentColors.GetCount(), 2);
  const int firstDocument = FindCell(torn, [](auto& c) { return c.m_bDocumentCell && !c.m_bCaptionRow; });
  ASSERT_GE(firstDocument, 0);

  frame.DockControlBar(torn, AFX_IDW_DOCKBAR_LEFT);
  frame.RecalcLayout();
  pictavo::test::PumpPending();
  torn->AdjustLocations();
  EXPECT_TRUE(torn->GetButton(firstDocument)->m_rect.IsRectEmpty()) << "docked: no document colours";
  int columns = 0, rows = 0;
  torn->CalcGrid(TRUE, columns, rows);
  EXPECT_EQ(columns, 2) << "docked at a side: the vertical column count";
  const CSize docked = torn->CalcSize(TRUE);
  EXPECT_EQ(docked.cy, rows * torn->GetCellSize().cy + 2 * torn->GetVertMargin());
  torn->DestroyWindow();
  delete torn;
}

TEST_F(PlxColorTearOff, EnterOnTheHotCellChoosesIt) {
  auto* button = AddButton(new CScriptedColorButton(3000, "Colour"));
  CPlxColorBar* bar = Open(button, &toolbar);
  ASSERT_NE(bar, nullptr);
  const int red = FindCell(bar, [](auto& c) { return c.IsColorCell() && c.m_clrCell == RGB(255, 0, 0); });
  bar->m_iHot = red;
  EXPECT_TRUE(bar->OnKey(VK_RETURN));
  pictavo::test::PumpPending();
  EXPECT_EQ(button->GetColor(), RGB(255, 0, 0));
  EXPECT_EQ(frame.commands, std::vector<UINT>{3000});
}

}  // namespace

namespace {

// What the next colour dialog gets, once its loop runs: a click on a cell of the toolkit dialog's
// hexagon (when asked for) and then OK; the caption of the dialog that came.
struct DialogAnswer {
  COLORREF cell = (COLORREF)-1;
  std::string caption;
} g_answer;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = ::GetActiveWindow();
  char caption[64] = {};
  if (dialog == nullptr || ::GetWindowText(dialog, caption, sizeof caption) == 0) return;
  ::KillTimer(nullptr, id);
  g_answer.caption = caption;
  if (auto* toolkit = dynamic_cast<CPlxColorDialog*>(CWnd::FromHandlePermanent(dialog));
      toolkit != nullptr && toolkit->m_pPage1 != nullptr && g_answer.cell != (COLORREF)-1) {
    CPlxColorChooserCtrl& hexagon = toolkit->m_pPage1->m_hexagon;
    hexagon.EnsureCells();
    for (int i = 0; i < hexagon.GetCells().GetSize(); ++i) {
      if (hexagon.GetCell(i)->m_color != g_answer.cell) continue;
      const LPARAM at = MAKELPARAM(hexagon.GetCell(i)->m_x, hexagon.GetCell(i)->m_y);
      hexagon.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
      hexagon.SendMessage(WM_LBUTTONUP, 0, at);
      break;
    }
  }
  ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
}

class PlxColorDialogs : public ColorBarFixture {};

TEST_F(PlxColorDialogs, TheOtherRowOpensTheToolkitDialogOrTheSystemOne) {
  const struct {
    BOOL system;
    COLORREF click;
    const char* caption;
    COLORREF want;
  } cases[] = {
      {FALSE, RGB(255, 0, 0), "Colors", RGB(255, 0, 0)},  // the toolkit's hexagon: the cell clicked
      {TRUE, (COLORREF)-1, "Color", RGB(1, 2, 3)},        // the system's, answered at once: as it began
  };
  for (const auto& c : cases) {
    CArray<COLORREF, COLORREF> colors;
    CList<COLORREF, COLORREF> none;
    CPlxColorBar source(Ramp(colors, 20), RGB(1, 2, 3), nullptr, "More Colors...", nullptr, none, 0, 0, 0,
                        (COLORREF)-1, 0, nullptr);
    source.m_bSystemColorDialog = c.system;
    CPlxColorBar bar(source, 3000);
    ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 2103));
    bar.MoveWindow(CRect(CPoint(10, 60), bar.CalcSize(FALSE) + CSize(12, 12)));
    bar.AdjustLocations();
    g_answer = DialogAnswer{c.click, {}};
    ::SetTimer(nullptr, 0, 1, AnswerDialog);
    frame.commands.clear();
    Click(&bar, FindCell(&bar, [](auto& cell) { return cell.m_bMoreColorsRow; }));
    EXPECT_EQ(g_answer.caption, c.caption);
    EXPECT_EQ(bar.GetColor(), c.want) << c.caption;
    EXPECT_EQ(frame.commands, std::vector<UINT>{3000}) << c.caption;
    bar.DestroyWindow();
  }
}

}  // namespace

namespace {

class PlxColorPrompt : public ColorBarFixture {};

TEST_F(PlxColorPrompt, TheBarAlwaysShowsItsOwnCommandsPrompt) {
  const struct {
    UINT command;
    UINT asked;
    UINT want;
  } cases[] = {{3000, 57600, 3000}, {3000, 0, 3000}, {(UINT)-1, 3000, AFX_IDS_IDLEMESSAGE}};
  for (const auto& c : cases) {
    CArray<COLORREF, COLORREF> colors;
    CList<COLORREF, COLORREF> none;
    CPlxColorBar source(Ramp(colors, 4), kNone, nullptr, nullptr, nullptr, none, 0, 0, 0, kNone, 0, nullptr);
    CPlxColorBar bar(source, c.command);
    ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 2104));
    frame.prompts.clear();
    bar.ShowCommandMessageString(c.asked);
    EXPECT_EQ(frame.prompts, std::vector<UINT>{c.want}) << c.command << "/" << c.asked;
    bar.DestroyWindow();
  }
}

}  // namespace
