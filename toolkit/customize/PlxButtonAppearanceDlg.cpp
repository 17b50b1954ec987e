// The button appearance dialog: the display choice, the image choice (default or user-defined,
// with new and edit), the text, and applying them to the button.
#include "toolkit/customize/PlxButtonAppearanceDlg.h"

#include <algorithm>

#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/customize/PlxCustomizeSheet.h"
#include "toolkit/customize/PlxImageEditorDlg.h"

namespace {

constexpr UINT kText = 16500, kGrid = 16508, kNewImage = 16509, kEditImage = 16510;
constexpr UINT kImageOnly = 16505, kTextOnly = 16506, kImageAndText = 16507;
constexpr UINT kUserImage = 16529, kDefaultImage = 16530, kPreview = 16531, kDescription = 16603;
constexpr COLORREF kLightGrey = RGB(192, 192, 192);

void EnableItem(CWnd* dialog, UINT id, BOOL enable) {
  if (HWND item = ::GetDlgItem(dialog->GetSafeHwnd(), static_cast<int>(id))) ::EnableWindow(item, enable);
}

// Sets the images' transparent colour, rebuilding their two state images when it changes.
COLORREF SwitchTransparent(CPlxButtonImages& images, COLORREF color) {
  const COLORREF old = images.SetTransparentColor(color);
  if (old != color) {
    images.CreateStateImage(FALSE);
    images.CreateStateImage(TRUE);
  }
  return old;
}

}  // namespace

CPlxButtonAppearanceDlg::CPlxButtonAppearanceDlg(CPlxToolbarButton* pButton, CPlxButtonImages* pImages,
                                                 CWnd* pParent, int iStartImage, BOOL bMenuMode)
    : CDialog(IDD, pParent),
      m_pButton(pButton),
      m_pImages(pImages),
      m_iStartImage(iStartImage),
      m_bMenuMode(bMenuMode) {
  m_rectDefaultImage.SetRectEmpty();
  if (!m_pButton) return;
  if (g_pUserToolsManager) m_pUserTool = g_pUserToolsManager->FindTool(m_pButton->m_nID);
  m_bUserButton = m_pButton->m_bUserImage || (m_pUserTool == nullptr && StandardImage() < 0);
  m_iImage = m_pButton->m_bUserImage ? m_pButton->m_iUserImage : m_pButton->m_iImage;
  m_bImage = m_pButton->m_bImage;
  if (m_bMenuMode)
    if (CPlxCommandManager* commands = GetCommandManager();
        commands && commands->IsMenuItemWithoutImage(m_pButton->m_nID))
      m_bImage = FALSE;
  m_bText = (m_bMenuMode || m_pButton->m_bTextBelow) ? TRUE : m_pButton->m_bText;
}

CPlxButtonAppearanceDlg::~CPlxButtonAppearanceDlg() {
  while (!m_Buttons.IsEmpty()) delete m_Buttons.RemoveHead();
}

int CPlxButtonAppearanceDlg::StandardImage() const {
  int image = -1;
  if (!m_pButton || !CPlxToolBar::m_mapDefaultImages.Lookup(m_pButton->m_nID, image)) return -1;
  return image < 0 ? -1 : image;
}

void CPlxButtonAppearanceDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kDefaultImage, m_wndDefaultImageRadio);
  DDX_Control(pDX, kUserImage, m_wndUserImageRadio);
  DDX_Control(pDX, kPreview, m_wndDefaultImageArea);
  DDX_Control(pDX, kText, m_wndButtonText);
  DDX_Control(pDX, kNewImage, m_wndAddImage);
  DDX_Control(pDX, kGrid, m_wndButtonList);
  DDX_Control(pDX, kEditImage, m_wndEditImage);
  DDX_Text(pDX, kText, m_strButtonText);
  DDX_Text(pDX, kDescription, m_strButtonDescr);
}

BOOL CPlxButtonAppearanceDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (!m_pButton) return TRUE;
  if (m_pImages) {
    m_wndButtonList.AttachImages(m_pImages);
    FillImageGrid();
    m_wndButtonList.SelectByImage(m_bUserButton ? m_iImage : -1);
  } else {
    m_wndButtonList.EnableWindow(FALSE);
    m_wndUserImageRadio.EnableWindow(FALSE);
    if (m_iImage < 0) {
      EnableItem(this, kImageOnly, FALSE);
      EnableItem(this, kImageAndText, FALSE);
    }
  }
  if (m_bUserButton && !m_pButton->m_bLocked)
    m_wndUserImageRadio.SetCheck(1);
  else
    m_wndDefaultImageRadio.SetCheck(1);

  if (!m_bImage) {
    CheckRadioButton(kImageOnly, kImageAndText, kTextOnly);
    m_bText = TRUE;
    m_wndButtonList.EnableWindow(FALSE);
  } else {
    CheckRadioButton(kImageOnly, kImageAndText, m_bText ? kImageAndText : kImageOnly);
  }

  // The accelerator part after a tab stays out of the edit and comes back on OK.
  const int tab = m_pButton->m_strText.Find('\t');
  if (tab >= 0) {
    m_strButtonText = m_pButton->m_strText.Left(tab);
    m_strAccel = m_pButton->m_strText.Mid(tab + 1);
  } else {
    m_strButtonText = m_pButton->m_strText;
    m_strAccel.Empty();
  }
  // The command's prompt: its string up to the first line break, as the status bar shows it.
  if (AfxGetParentFrame(this) && m_pButton->m_nID != 0 && m_strButtonDescr.LoadString(m_pButton->m_nID)) {
    const int newline = m_strButtonDescr.Find('\n');
    if (newline >= 0) m_strButtonDescr = m_strButtonDescr.Left(newline);
  }

  if (m_bMenuMode) {
    EnableItem(this, kImageOnly, FALSE);
    if (m_iImage < 0) {
      EnableItem(this, kTextOnly, FALSE);
      EnableItem(this, kImageAndText, FALSE);
    }
  }
  if (m_pButton->m_bTextBelow) EnableItem(this, kImageOnly, FALSE);

  m_wndDefaultImageArea.GetClientRect(&m_rectDefaultImage);
  m_wndDefaultImageArea.MapWindowPoints(this, &m_rectDefaultImage);
  m_rectDefaultImage.right = m_rectDefaultImage.left + std::min<LONG>(CPlxToolBar::m_sizeImage.cx, 16);
  m_rectDefaultImage.bottom = m_rectDefaultImage.top + std::min<LONG>(CPlxToolBar::m_sizeImage.cy, 16);

  UpdateControls();
  UpdateData(FALSE);
  return TRUE;
}

void CPlxButtonAppearanceDlg::FillImageGrid() {
  m_wndButtonList.ClearButtons();
  while (!m_Buttons.IsEmpty()) delete m_Buttons.RemoveHead();
  if (m_pImages) {
    for (int i = m_iStartImage; i < m_pImages->GetCount(); ++i) {
      auto* button = new CPlxToolbarButton;
      button->m_bUserImage = TRUE;
      button->SetImage(i);
      m_wndButtonList.AppendButton(button);
      m_Buttons.AddTail(button);
    }
  }
  if (m_wndButtonList.GetSafeHwnd()) m_wndButtonList.RedrawWindow();
}

void CPlxButtonAppearanceDlg::UpdateControls() {
  if (!GetSafeHwnd() || !m_pButton) return;
  const BOOL locked = m_pButton->m_bLocked;
  const BOOL userImages = m_pImages != nullptr;
  const BOOL writable = userImages && !m_pImages->IsReadOnly();
  m_wndButtonText.EnableWindow(m_bText && !(m_bMenuMode && m_pUserTool));
  const BOOL grid = m_bImage && userImages && m_bUserButton && !m_bMenuMode && !locked;
  m_wndButtonList.EnableWindow(grid);
  m_wndAddImage.EnableWindow(grid && writable);
  m_wndEditImage.EnableWindow(m_bImage && writable && m_iImage >= 0 && m_bUserButton && !locked);
  m_wndUserImageRadio.EnableWindow(m_bImage && userImages && !m_bMenuMode && !locked);
  m_wndDefaultImageRadio.EnableWindow(m_pUserTool != nullptr ||
                                      (m_bImage && StandardImage() >= 0 && !m_bMenuMode && !locked));
  InvalidateRect(&m_rectDefaultImage);
}

void CPlxButtonAppearanceDlg::OnImageOnly() {
  m_bImage = TRUE;
  m_bText = FALSE;
  UpdateControls();
}

void CPlxButtonAppearanceDlg::OnImageAndText() {
  m_bImage = m_bText = TRUE;
  UpdateControls();
}

void CPlxButtonAppearanceDlg::OnTextOnly() {
  m_bImage = FALSE;
  m_bText = TRUE;
  UpdateControls();
}

void CPlxButtonAppearanceDlg::OnUserImage() {
  m_iImage = -1;
  m_bUserButton = TRUE;
  m_wndDefaultImageRadio.SetCheck(0);
  UpdateControls();
  m_wndButtonList.SelectByImage(-1);
}

void CPlxButtonAppearanceDlg::OnDefaultImage() {
  m_iImage = m_pButton->GetImage();
  m_bUserButton = FALSE;
  m_wndUserImageRadio.SetCheck(0);
  UpdateControls();
}

void CPlxButtonAppearanceDlg::OnImageSelected() {
  CPlxToolbarButton* selected = m_wndButtonList.GetSelection();
  m_iImage = selected ? selected->GetImage() : -1;
  m_wndEditImage.EnableWindow(m_iImage >= 0 && m_pImages && !m_pImages->IsReadOnly());
}

BOOL CPlxButtonAppearanceDlg::MakeImageBitmap(CBitmap& bitmap) {
  if (!m_pImages) return FALSE;
  const CSize size = m_pImages->GetImageSize();
  CClientDC dc(&m_wndButtonList);
  if (size.cx <= 0 || size.cy <= 0 || !bitmap.CreateCompatibleBitmap(&dc, size.cx, size.cy)) return FALSE;
  CDC mem;
  mem.CreateCompatibleDC(&dc);
  CBitmap* old = mem.SelectObject(&bitmap);
  if (!old) return FALSE;
  mem.FillRect(CRect(CPoint(0, 0), size), &g_plxGlobalData.brBtnFace);
  mem.SelectObject(old);
  return TRUE;
}

BOOL CPlxButtonAppearanceDlg::EditBitmap(CBitmap& bitmap) {
  const int depth = m_pImages ? m_pImages->GetBitsPerPixel() : -1;
  if (g_pActiveCustomizeSheet) return g_pActiveCustomizeSheet->EditButtonImage(this, &bitmap, depth);
  CPlxImageEditorDlg editor(&bitmap, this, depth);
  return editor.DoModal() == IDOK;
}

void CPlxButtonAppearanceDlg::ShowMessage(UINT idString) {
  CString text;
  text.LoadString(idString);
  AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

void CPlxButtonAppearanceDlg::OnNewImage() {
  try {
    CBitmap bitmap;
    // Without a bitmap there is nothing to draw on: the editor is not opened.
    if (!MakeImageBitmap(bitmap)) {
      ShowMessage(kNoNewImage);
      return;
    }
    if (!EditBitmap(bitmap)) return;
    const int image = m_pImages->AddImage(static_cast<HBITMAP>(bitmap.GetSafeHandle()));
    if (image < 0) {
      ShowMessage(kNoNewImage);
      return;
    }
    FillImageGrid();
    m_wndButtonList.SelectByImage(image);
  } catch (...) {
    ShowMessage(kImageFailed);
  }
}

void CPlxButtonAppearanceDlg::OnEditImage() {
  if (!m_pImages || m_iImage < 0) return;
  try {
    CBitmap bitmap;
    if (!MakeImageBitmap(bitmap)) return;
    {
      const CSize size = m_pImages->GetImageSize();
      CDC mem;
      mem.CreateCompatibleDC(nullptr);
      CBitmap* old = mem.SelectObject(&bitmap);
      if (!old) return;
      mem.FillSolidRect(0, 0, size.cx, size.cy, kLightGrey);
      const COLORREF previous = SwitchTransparent(*m_pImages, kLightGrey);
      PlxImageDrawState ds;
      if (m_pImages->PrepareDrawImage(ds)) {
        m_pImages->Draw(&mem, 0, 0, m_iImage);
        m_pImages->EndDrawImage(ds);
      }
      SwitchTransparent(*m_pImages, previous);
      mem.SelectObject(old);
    }
    if (!EditBitmap(bitmap)) return;
    m_pImages->UpdateImage(m_iImage, static_cast<HBITMAP>(bitmap.GetSafeHandle()));
    if (m_wndButtonList.GetSafeHwnd()) m_wndButtonList.RedrawWindow();
  } catch (...) {
    ShowMessage(kImageFailed);
  }
}

BOOL CPlxButtonAppearanceDlg::ApplyChoices() {
  if (!m_pButton) return FALSE;
  if (GetSafeHwnd() && !UpdateData(TRUE)) return FALSE;
  int image = -1;
  if (m_bUserButton)
    image = m_iImage;
  else if (m_pUserTool)
    image = 0;
  else
    image = StandardImage();
  if (m_bImage && image < 0) {
    ShowMessage(kNoImageChosen);
    if (GetSafeHwnd()) m_wndButtonList.SetFocus();
    return FALSE;
  }
  if (m_bText && m_strButtonText.IsEmpty()) {
    ShowMessage(kNoText);
    if (GetSafeHwnd()) m_wndButtonText.SetFocus();
    return FALSE;
  }
  if (!m_pButton->m_bTextBelow) m_pButton->m_bText = m_bText;
  if (m_bMenuMode) {
    if (CPlxCommandManager* commands = GetCommandManager())
      commands->EnableMenuItemImage(m_pButton->m_nID, m_bImage);
  } else {
    m_pButton->m_bImage = m_bImage;
  }
  m_pButton->m_bUserImage = m_bUserButton;
  m_pButton->SetImage(image);
  m_pButton->m_strText = m_strButtonText;
  if (!m_strAccel.IsEmpty()) m_pButton->m_strText += "\t" + m_strAccel;
  return TRUE;
}

void CPlxButtonAppearanceDlg::OnOK() {
  if (ApplyChoices()) CDialog::OnOK();
}

BOOL CPlxButtonAppearanceDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case kImageOnly:
      OnImageOnly();
      return TRUE;
    case kTextOnly:
      OnTextOnly();
      return TRUE;
    case kImageAndText:
      OnImageAndText();
      return TRUE;
    case kUserImage:
      OnUserImage();
      return TRUE;
    case kDefaultImage:
      OnDefaultImage();
      return TRUE;
    case kGrid:
      OnImageSelected();
      return TRUE;
    case kNewImage:
      OnNewImage();
      return TRUE;
    case kEditImage:
      OnEditImage();
      return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CPlxButtonAppearanceDlg::OnPaint() {
  CPaintDC dc(this);
  if (!m_pButton) return;
  if (m_pUserTool) {
    m_pUserTool->DrawToolIcon(dc.GetSafeHdc(), m_rectDefaultImage);
    return;
  }
  if (m_pButton->m_bLocked) {
    const BOOL text = m_pButton->m_bText, image = m_pButton->m_bImage;
    m_pButton->m_bText = FALSE;
    m_pButton->m_bImage = TRUE;
    m_pButton->OnDraw(&dc, m_rectDefaultImage, nullptr, TRUE, FALSE, FALSE);
    m_pButton->m_bText = text;
    m_pButton->m_bImage = image;
    return;
  }
  const int image = StandardImage();
  if (m_bImage && image >= 0) {
    PlxImageDrawState ds;
    if (CPlxToolBar::m_sharedImages.PrepareDrawImage(ds)) {
      CPlxToolBar::m_sharedImages.Draw(&dc, m_rectDefaultImage.left, m_rectDefaultImage.top, image);
      CPlxToolBar::m_sharedImages.EndDrawImage(ds);
    }
  }
}

LRESULT CPlxButtonAppearanceDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    OnPaint();
    return 0;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
