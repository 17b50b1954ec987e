#include "editing/TextBrushDlg.h"

#include <cstring>
#include <memory>

#include "editing/TextStyleRules.h"
#include "modules/data/PhotoTextEffect.h"
#include "modules/data/StyledText.h"
#include "platform/base/Utf8.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/kernel/FileFind.h"
#include "platform/kernel/Path.h"
#include "platform/mfc/DataExchange.h"
#include "shell/LanguageFile.h"

void CTextBrushButton::SetTextureFolder(LPCTSTR lpszFolder) {
  pictavo::utf8::CopyToField(m_szTextureFolder, lpszFolder != nullptr ? lpszFolder : "");
}

void CTextBrushButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct == nullptr || m_pStyle == nullptr) return;
  const RECT& rc = lpDrawItemStruct->rcItem;
  Gdiplus::Graphics graphics(lpDrawItemStruct->hDC);
  const Gdiplus::RectF rect(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                            static_cast<Gdiplus::REAL>(rc.right - rc.left),
                            static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
  std::unique_ptr<Gdiplus::Brush> brush(CPhotoTextEffect::GetBrush(rect, m_pStyle, m_szTextureFolder));
  if (!brush) return;
  graphics.FillRectangle(brush.get(), rect);
  const Gdiplus::Pen pen(
      Gdiplus::Color((lpDrawItemStruct->itemState & ODS_SELECTED) ? 0xC8640064u : 0xC8000064u), 2.0f);
  graphics.DrawRectangle(&pen, rect);
}

BEGIN_MESSAGE_MAP(CTextBrushDlg, CDialog)
ON_BN_CLICKED(IDC_TEXT_BRUSH_SOLID_RADIO, UpdateControls)
ON_BN_CLICKED(IDC_TEXT_BRUSH_GRADIENT_RADIO, UpdateControls)
ON_BN_CLICKED(IDC_TEXT_BRUSH_TEXTURE_RADIO, UpdateControls)
ON_CBN_SELCHANGE(IDC_TEXT_BRUSH_TEXTURES, UpdateControls)
ON_BN_CLICKED(IDC_TEXT_BRUSH_FIRST_COLOR, OnFirstColor)
ON_BN_CLICKED(IDC_TEXT_BRUSH_SECOND_COLOR, OnSecondColor)
END_MESSAGE_MAP()

CTextBrushDlg::CTextBrushDlg(CWnd* pParent) : CDialog(IDD_TEXT_BRUSH, pParent) {}

CString CTextBrushDlg::GetTextureFolder() {
  return CString(pictavo::path::ResolveDataPath(pictavo::data::TextureFolder()).c_str()) + "/";
}

void CTextBrushDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TEXT_BRUSH_TEXTURES, m_comboTextures);
  DDX_Control(pDX, IDC_TEXT_BRUSH_SECOND_COLOR, m_btnSecond);
  DDX_Control(pDX, IDC_TEXT_BRUSH_FIRST_COLOR, m_btnFirst);
  DDX_Radio(pDX, IDC_TEXT_BRUSH_SOLID_RADIO, m_nKind);
  DDX_CBIndex(pDX, IDC_TEXT_BRUSH_TEXTURES, m_nTexture);
}

BOOL CTextBrushDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_TEXT_BRUSH);
  pictavo::utf8::CopyToField(m_szTextureFolder, static_cast<LPCTSTR>(GetTextureFolder()));
  FillTextures();
  std::memset(&m_style, 0, sizeof m_style);
  CString texture;
  m_comboTextures.GetWindowText(texture);
  pictavo::utf8::CopyToField(m_style.szTextureFile, static_cast<LPCTSTR>(texture));
  m_style.clrGradient1 = 0xFFFFFF;
  m_style.clrGradient2 = 0x0000F0;
  m_style.nGradientAngle = 90;
  for (CTextBrushButton* button : {&m_btnFirst, &m_btnSecond}) {
    button->SetBrushStyle(&m_style);
    button->SetTextureFolder(m_szTextureFolder);
  }
  if (m_pStyle != nullptr) m_style.nTextureScale = m_pStyle->nTextureScale;
  LoadStyle();
  return TRUE;
}

void CTextBrushDlg::FillTextures() {
  CFileFind finder;
  BOOL more = finder.FindFile(CString(m_szTextureFolder) + "*.*");
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots() || finder.IsDirectory() || finder.IsSystem()) continue;
    m_comboTextures.AddString(finder.GetFileName());
  }
  m_nTexture = 0;
}

void CTextBrushDlg::LoadStyle() {
  const _TextBrushStyle caller = m_pStyle != nullptr ? *m_pStyle : _TextBrushStyle{};
  m_nKind = caller.nBrushType;
  switch (caller.nBrushType) {
    case 0:
      m_style.clrSolid = caller.clrSolid;
      break;
    case 1:
      m_style.clrGradient1 = caller.clrGradient1;
      m_style.clrGradient2 = caller.clrGradient2;
      m_style.nBrushType = 1;
      break;
    case 2: {
      const std::string name(textstyle::FieldText(caller.szTextureFile));
      pictavo::utf8::CopyToField(m_style.szTextureFile, name);
      m_style.nBrushType = 2;
      // A texture no longer in the folder shows the first one listed, and OK stores that.
      const int found = m_comboTextures.FindStringExact(-1, name.c_str());
      if (found >= 0) m_nTexture = found;
      break;
    }
    default:
      // A kind this dialog does not know opens as a solid brush of its colour.
      m_nKind = 0;
      m_style.clrSolid = caller.clrSolid;
      break;
  }
  UpdateData(FALSE);
  UpdateControls();
}

void CTextBrushDlg::UpdateControls() {
  UpdateData(TRUE);
  m_style.nBrushType = m_nKind < 0 ? 0 : m_nKind;
  if (CWnd* second = GetDlgItem(IDC_TEXT_BRUSH_SECOND_COLOR))
    second->ShowWindow(m_style.nBrushType == 1 ? SW_SHOW : SW_HIDE);
  m_comboTextures.EnableWindow(m_style.nBrushType == 2);
  if (m_style.nBrushType == 2) {
    CString texture;
    const int sel = m_comboTextures.GetCurSel();
    if (sel >= 0) m_comboTextures.GetLBText(sel, texture);
    pictavo::utf8::CopyToField(m_style.szTextureFile, static_cast<LPCTSTR>(texture));
  }
  Invalidate();
  m_btnFirst.Invalidate();
  m_btnSecond.Invalidate();
}

BOOL CTextBrushDlg::PickColor(COLORREF& color) {
  CColorDialog dialog(color, CC_FULLOPEN, this);
  if (dialog.DoModal() != IDOK) return FALSE;
  color = dialog.GetColor();
  return TRUE;
}

void CTextBrushDlg::OnFirstColor() {
  if (m_style.nBrushType == 2) return;
  COLORREF& color = m_style.nBrushType == 1 ? m_style.clrGradient1 : m_style.clrSolid;
  if (!PickColor(color)) return;
  m_btnFirst.Invalidate();
  m_btnSecond.Invalidate();
}

void CTextBrushDlg::OnSecondColor() {
  if (!PickColor(m_style.clrGradient2)) return;
  UpdateControls();
}

void CTextBrushDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (m_pStyle != nullptr) std::memcpy(m_pStyle, &m_style, sizeof m_style);
  EndDialog(IDOK);
}
