// The button appearance dialog: what it shows for a button, what OK writes back, what it refuses,
// and the new-image path (a refused image, no bitmap to draw on).
#include "toolkit/customize/PlxButtonAppearanceDlg.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/ScratchDir.h"
#include "tests/toolkit/customize/ImageEditHost.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxButtonImages.h"

using imgedit_test::EditFixture;

namespace {

constexpr UINT kCmd = 16580;  // a command with a standard image
constexpr UINT kImageOnly = 16505, kTextOnly = 16506, kImageAndText = 16507;
constexpr UINT kUserRadio = 16529, kGridId = 16508, kNewImage = 16509;

// Records its messages and the editor runs instead of showing boxes and opening the editor.
class CTestAppearanceDlg : public CPlxButtonAppearanceDlg {
 public:
  using CPlxButtonAppearanceDlg::CPlxButtonAppearanceDlg;
  std::vector<UINT> messages;
  int editorRuns = 0;

 protected:
  void ShowMessage(UINT id) override { messages.push_back(id); }
  BOOL EditBitmap(CBitmap& bitmap) override {
    ++editorRuns;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    given = dc.GetPixel(15, 14);
    dc.SetPixel(0, 0, RGB(255, 0, 0));
    dc.SelectObject(old);
    return TRUE;
  }

 public:
  COLORREF given = CLR_INVALID;  // a corner of the bitmap the editor was given
};

class Appearance : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    CPlxToolBar::m_mapDefaultImages.SetAt(kCmd, 0);
    userImages.SetImageSize(CSize(16, 15));
  }
  void TearDown() override {
    CPlxToolBar::m_mapDefaultImages.RemoveKey(kCmd);
    if (CPlxCommandManager* commands = GetCommandManager()) commands->EnableMenuItemImage(kCmd, TRUE);
    EditFixture::TearDown();
  }
  void Open(CTestAppearanceDlg& dialog) { ASSERT_TRUE(dialog.Create(CTestAppearanceDlg::IDD, &host)); }
  static BOOL Enabled(CWnd& dialog, UINT id) { return ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, id)); }
  static CString Text(CWnd& dialog) {
    CString s;
    dialog.GetDlgItemText(16500, s);
    return s;
  }
  CPlxButtonImages userImages;
};

TEST_F(Appearance, TheShortcutAfterATabStaysOutOfTheEditAndComesBack) {
  CPlxToolbarButton button(kCmd, 0, "&Save\tCtrl+S");
  button.m_bText = TRUE;
  CTestAppearanceDlg dialog(&button, &userImages, &host);
  Open(dialog);
  EXPECT_EQ(Text(dialog), "&Save");
  EXPECT_EQ(dialog.GetAccelText(), "Ctrl+S");
  dialog.SetDlgItemText(16500, "&Store");
  EXPECT_TRUE(dialog.ApplyChoices());
  EXPECT_EQ(button.m_strText, "&Store\tCtrl+S");
  EXPECT_TRUE(dialog.messages.empty());
  dialog.DestroyWindow();
}

TEST_F(Appearance, RefusalsLeaveTheButtonAsItWas) {
  struct Case {
    const char* name;
    UINT display;
    const char* text;
    BOOL userImage;
    UINT message;
  };
  const Case cases[] = {
      {"text only, empty text", kTextOnly, "", FALSE, 16002},
      {"image and text, empty text", kImageAndText, "", FALSE, 16002},
      {"user image, none chosen", kImageOnly, "Go", TRUE, 16001},
  };
  for (const Case& c : cases) {
    CPlxToolbarButton button(kCmd, 0, "Go");
    CTestAppearanceDlg dialog(&button, &userImages, &host);
    Open(dialog);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(c.display, BN_CLICKED));
    if (c.userImage) dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kUserRadio, BN_CLICKED));
    dialog.SetDlgItemText(16500, c.text);
    EXPECT_FALSE(dialog.ApplyChoices()) << c.name;
    EXPECT_EQ(dialog.messages, std::vector<UINT>{c.message}) << c.name;
    EXPECT_EQ(button.m_strText, "Go") << c.name;
    EXPECT_EQ(button.m_bUserImage, FALSE) << c.name;
    dialog.DestroyWindow();
  }
}

TEST_F(Appearance, InMenuModeTheImageChoiceGoesToTheCommandManager) {
  CPlxToolbarButton button(kCmd, 0, "Go");
  button.m_bImage = TRUE;
  CTestAppearanceDlg dialog(&button, &userImages, &host, 0, TRUE);
  Open(dialog);
  EXPECT_FALSE(Enabled(dialog, kImageOnly));
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kTextOnly, BN_CLICKED));
  ASSERT_TRUE(dialog.ApplyChoices());
  ASSERT_NE(GetCommandManager(), nullptr);
  EXPECT_TRUE(GetCommandManager()->IsMenuItemWithoutImage(kCmd));
  EXPECT_TRUE(button.m_bImage);  // the button's own flag is not the menu's
  dialog.DestroyWindow();
}

TEST_F(Appearance, ALockedButtonCannotTakeAUserImage) {
  CPlxToolbarButton button(kCmd, 0, "Go");
  button.m_bLocked = TRUE;
  CTestAppearanceDlg dialog(&button, &userImages, &host);
  Open(dialog);
  EXPECT_FALSE(Enabled(dialog, kUserRadio));
  EXPECT_FALSE(Enabled(dialog, kGridId));
  EXPECT_FALSE(Enabled(dialog, kNewImage));
  dialog.DestroyWindow();
}

TEST_F(Appearance, ANewImageIsDrawnAddedAndChosen) {
  CPlxToolbarButton button(kCmd, 0, "Go");
  CTestAppearanceDlg dialog(&button, &userImages, &host);
  Open(dialog);
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kUserRadio, BN_CLICKED));
  dialog.OnNewImage();
  EXPECT_EQ(dialog.editorRuns, 1);
  EXPECT_EQ(userImages.GetCount(), 1);
  EXPECT_EQ(dialog.GetCurrentImage(), 0);
  EXPECT_EQ(dialog.Grid().GetButtons().GetCount(), 1);
  ASSERT_TRUE(dialog.ApplyChoices());
  EXPECT_TRUE(button.m_bUserImage);
  EXPECT_EQ(button.GetImage(), 0);
  dialog.DestroyWindow();
}

TEST_F(Appearance, ANewImageTheUserImagesRefuseChangesNothing) {
  CPlxButtonImages readOnly;
  userImages.CopyTemplate(readOnly);  // a read-only view: it takes no image
  CPlxToolbarButton button(kCmd, 0, "Go");
  CTestAppearanceDlg dialog(&button, &readOnly, &host);
  Open(dialog);
  dialog.OnNewImage();
  EXPECT_EQ(dialog.messages, std::vector<UINT>{16003});
  EXPECT_EQ(readOnly.GetCount(), 0);
  EXPECT_EQ(dialog.GetCurrentImage(), 0);
  dialog.DestroyWindow();
}

TEST_F(Appearance, WithoutABitmapToDrawOnTheEditorDoesNotOpen) {
  CPlxButtonImages empty;
  empty.SetImageSize(CSize(0, 0));  // no bitmap can be made for cells of no size
  CPlxToolbarButton button(kCmd, 0, "Go");
  CTestAppearanceDlg dialog(&button, &empty, &host);
  Open(dialog);
  dialog.OnNewImage();
  EXPECT_EQ(dialog.messages, std::vector<UINT>{16003});
  EXPECT_EQ(dialog.editorRuns, 0);
  dialog.DestroyWindow();
}

// Editing a user image hands its cell to the editor and stores the result in that cell; the
// images keep their transparent colour.
TEST_F(Appearance, EditingAUserImageStoresTheDrawingInItsCell) {
  pictavo::test::ScratchDir scratch;
  const std::string path = scratch.Path() + "/user.bmp";
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  std::filesystem::copy_file(std::string(source ? source : ".") + "/resources/bitmaps/sample_toolbar.bmp",
                             path);
  CPlxButtonImages fromFile;
  ASSERT_TRUE(fromFile.LoadFromFile(path.c_str()));
  ASSERT_EQ(fromFile.GetCount(), 4);
  const COLORREF transparent = fromFile.GetTransparentColor();
  CPlxToolbarButton button(kCmd, 0, "Go", TRUE);
  button.m_bUserImage = TRUE;
  button.m_iUserImage = 2;
  CTestAppearanceDlg dialog(&button, &fromFile, &host);
  Open(dialog);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, 16510)));
  dialog.OnEditImage();
  EXPECT_EQ(dialog.editorRuns, 1);
  EXPECT_NE(dialog.given, CLR_INVALID);  // the cell was drawn into the editor's bitmap
  EXPECT_TRUE(fromFile.IsModified());
  EXPECT_EQ(fromFile.GetTransparentColor(), transparent);
  // The stored cell has the red pixel the editor drew.
  CClientDC screen(nullptr);
  CBitmap canvas;
  ASSERT_TRUE(canvas.CreateCompatibleBitmap(&screen, 16, 15));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&canvas);
  dc.FillSolidRect(0, 0, 16, 15, RGB(255, 255, 255));
  PlxImageDrawState ds;
  ASSERT_TRUE(fromFile.PrepareDrawImage(ds));
  fromFile.Draw(&dc, 0, 0, 2);
  fromFile.EndDrawImage(ds);
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));
  dc.SelectObject(old);
  dialog.DestroyWindow();
}

}  // namespace
