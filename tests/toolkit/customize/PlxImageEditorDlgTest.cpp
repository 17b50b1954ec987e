// The button image editor: light grey stands for the button face, pasting places and clips the
// clipboard picture (and leaves the image alone when it cannot), 8-bit images get 16 colours,
// and paste is offered only when the clipboard has a picture.
#include "toolkit/customize/PlxImageEditorDlg.h"

#include <vector>

#include "platform/user/Clipboard.h"
#include "tests/toolkit/customize/ImageEditHost.h"
#include "toolkit/core/PlxGlobalData.h"

using imgedit_test::EditFixture;
using imgedit_test::MakeBitmap;
using imgedit_test::PixelOf;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);

class CTestEditorDlg : public CPlxImageEditorDlg {
 public:
  using CPlxImageEditorDlg::CPlxImageEditorDlg;
  std::vector<UINT> messages;

 protected:
  void Message(UINT id) override { messages.push_back(id); }
};

// Puts a w x h bitmap of one colour (with a black top-left pixel) on the clipboard; 0 x 0 empties it.
void ClipboardPicture(int w, int h, COLORREF fill) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  if (w > 0) {
    CBitmap picture;
    MakeBitmap(picture, w, h, fill);
    imgedit_test::SetPixelOf(picture, 0, 0, 0);
    ::SetClipboardData(CF_BITMAP, picture.Detach());
  }
  ::CloseClipboard();
}

TEST(ImageEditor, PasteOffsetsCentreSmallerAndAlignLargerPictures) {
  struct Case {
    int image, source, offset, extent;
  };
  const Case cases[] = {{16, 8, 4, 8}, {16, 16, 0, 16}, {16, 32, 0, 16}, {15, 8, 3, 8}, {16, 0, 8, 0}};
  for (const Case& c : cases) {
    const int offset = plx_image_editor::PasteOffset(c.image, c.source);
    EXPECT_EQ(offset, c.offset) << c.image << "/" << c.source;
    EXPECT_EQ(plx_image_editor::PasteExtent(c.image, c.source, offset), c.extent)
        << c.image << "/" << c.source;
  }
}

TEST(ImageEditor, LightGreyDrawsInTheButtonFace) {
  EXPECT_EQ(plx_image_editor::DrawingColor(RGB(192, 192, 192)), g_plxGlobalData.clrBtnFace);
  EXPECT_EQ(plx_image_editor::DrawingColor(kRed), kRed);
}

class Editor : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    MakeBitmap(image, 16, 15, kRed);
  }
  void Open(CTestEditorDlg& dialog) { ASSERT_TRUE(dialog.Create(CPlxImageEditorDlg::IDD, &host)); }
  CBitmap image;
};

TEST_F(Editor, ChoosingLightGreyInTheColourBarDrawsTheButtonFace) {
  CTestEditorDlg dialog(&image, &host);
  Open(dialog);
  dialog.ColorBar().SetColor(RGB(192, 192, 192));
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(16516, 0));
  EXPECT_EQ(dialog.PixelGrid().GetColor(), g_plxGlobalData.clrBtnFace);
  dialog.DestroyWindow();
}

TEST_F(Editor, ASmallerPictureIsPastedCentredOnTheButtonFace) {
  ClipboardPicture(8, 8, kBlue);
  CTestEditorDlg dialog(&image, &host);
  Open(dialog);
  EXPECT_TRUE(dialog.OnPasteImage());
  EXPECT_EQ(PixelOf(image, 4, 3), 0u);  // the picture's black corner
  EXPECT_EQ(PixelOf(image, 11, 10), kBlue);
  EXPECT_EQ(PixelOf(image, 3, 3), g_plxGlobalData.clrBtnFace);
  EXPECT_EQ(PixelOf(image, 12, 11), g_plxGlobalData.clrBtnFace);
  EXPECT_EQ(PixelOf(image, 15, 14), g_plxGlobalData.clrBtnFace);
  EXPECT_TRUE(dialog.messages.empty());
  dialog.DestroyWindow();
}

TEST_F(Editor, ALargerPictureIsPastedFromTheTopLeftCorner) {
  ClipboardPicture(32, 32, kGreen);
  CTestEditorDlg dialog(&image, &host);
  Open(dialog);
  EXPECT_TRUE(dialog.OnPasteImage());
  EXPECT_EQ(PixelOf(image, 0, 0), 0u);
  EXPECT_EQ(PixelOf(image, 15, 14), kGreen);
  dialog.DestroyWindow();
}

TEST_F(Editor, APasteWithoutAPictureLeavesTheImageAlone) {
  ClipboardPicture(0, 0, 0);
  CTestEditorDlg dialog(&image, &host);
  Open(dialog);
  EXPECT_FALSE(dialog.OnPasteImage());
  EXPECT_EQ(dialog.messages, std::vector<UINT>{16004});
  EXPECT_EQ(PixelOf(image, 0, 0), kRed);
  EXPECT_EQ(PixelOf(image, 8, 8), kRed);
  dialog.DestroyWindow();
}

TEST_F(Editor, PasteIsOfferedOnlyWithAPictureOnTheClipboard) {
  ClipboardPicture(0, 0, 0);
  CTestEditorDlg dialog(&image, &host);
  Open(dialog);
  dialog.OnKickIdle();
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, 16908)));
  ClipboardPicture(4, 4, kBlue);
  dialog.OnKickIdle();
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, 16908)));
  dialog.DestroyWindow();
}

TEST_F(Editor, CopyThenPasteGivesTheSameImage) {
  imgedit_test::SetPixelOf(image, 3, 2, kBlue);
  CTestEditorDlg dialog(&image, &host);
  Open(dialog);
  dialog.OnCopyImage();
  dialog.OnClearImage();
  EXPECT_EQ(PixelOf(image, 3, 2), g_plxGlobalData.clrBtnFace);
  EXPECT_TRUE(dialog.OnPasteImage());
  EXPECT_EQ(PixelOf(image, 3, 2), kBlue);
  EXPECT_EQ(PixelOf(image, 0, 0), kRed);
  EXPECT_TRUE(dialog.messages.empty());
  dialog.DestroyWindow();
}

TEST_F(Editor, AnEightBitImageOffersSixteenColoursInFourColumnsAndNoOther) {
  struct Case {
    int depth;
    int colours;
    int columns;
    bool other;
  };
  const Case cases[] = {{8, 16, 4, false}, {4, 16, 4, false}, {24, -1, 5, true}};
  for (const Case& c : cases) {
    CTestEditorDlg dialog(&image, &host, c.depth);
    Open(dialog);
    CPlxColorBar& bar = dialog.ColorBar();
    if (c.colours > 0) EXPECT_EQ(bar.GetPaletteColors().GetSize(), c.colours) << c.depth;
    EXPECT_EQ(bar.m_nGridColumns, c.columns) << c.depth;
    EXPECT_EQ(!bar.m_strMoreColorsText.IsEmpty(), c.other) << c.depth;
    dialog.DestroyWindow();
  }
}

TEST_F(Editor, TheToolButtonsSetTheGridsTool) {
  CTestEditorDlg dialog(&image, &host);
  Open(dialog);
  const std::pair<UINT, int> cases[] = {{16901, 1}, {16904, 2}, {16905, 3},
                                        {16906, 4}, {16903, 5}, {16902, 0}};
  for (auto [command, tool] : cases) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(command, 0));
    EXPECT_EQ(dialog.PixelGrid().GetTool(), tool) << command;
  }
  EXPECT_EQ(dialog.ToolBar().GetCount(), 6);
  // The idle update checks the current tool's button and leaves every tool enabled.
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(16904, 0));
  dialog.OnKickIdle();
  for (int i = 0; i < dialog.ToolBar().GetCount(); ++i) {
    const UINT style = dialog.ToolBar().GetButtonStyle(i);
    EXPECT_FALSE(style & TBBS_DISABLED) << i;
    EXPECT_EQ((style & TBBS_CHECKED) != 0, dialog.ToolBar().GetItemID(i) == 16904) << i;
  }
  dialog.DestroyWindow();
}

// The editor opens from the appearance dialog while the toolbars are being customized: its tool
// palette and its colour bar still answer the mouse then.
TEST_F(Editor, ToolsAndColoursAnswerClicksWhileCustomizing) {
  CTestEditorDlg dialog(&image, &host);
  Open(dialog);
  dialog.ShowWindow(SW_SHOW);
  dialog.SetForegroundWindow();
  CPlxToolBar::SetCustomizeMode(TRUE);
  const auto clickItem = [](CPlxToolBar& bar, int index) {
    CRect rect;
    bar.GetItemRect(index, &rect);
    bar.ClientToScreen(&rect);
    customize_test::Click(rect.CenterPoint());
  };
  CPlxImageEditorToolBar& tools = dialog.ToolBar();
  clickItem(tools, tools.CommandToIndex(16901));  // fill
  EXPECT_EQ(dialog.PixelGrid().GetTool(), CPlxPixelEditCtrl::Fill);
  CPlxColorBar& colours = dialog.ColorBar();
  int red = -1;
  for (int i = 0; i < colours.GetCount() && red < 0; ++i)
    if (auto* cell = dynamic_cast<CPlxToolBarColorButton*>(colours.GetButton(i));
        cell && cell->m_clrCell == kRed)
      red = i;
  ASSERT_GE(red, 0);
  clickItem(colours, red);
  EXPECT_EQ(dialog.PixelGrid().GetColor(), kRed);
  CPlxToolBar::SetCustomizeMode(FALSE);
  dialog.DestroyWindow();
}

}  // namespace
