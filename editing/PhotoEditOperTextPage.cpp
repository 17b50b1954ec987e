#include "editing/PhotoEditOperTextPage.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "editing/PhotoEditCanvas.h"
#include "editing/PhotoEditPagePaint.h"
#include "editing/TextStyleRules.h"
#include "modules/data/DVDProject.h"
#include "modules/data/ImageSprite.h"
#include "modules/data/PhotoTextEffect.h"
#include "platform/base/Utf8.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Menu.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT kFirstMacroCommand = 32823;
constexpr UINT kLastMacroCommand = 32831;

// An integer edit: shown as it is; read only when its text is a whole number, so a half-typed
// value ("", "-") neither interrupts the typing with a message nor reaches the style.
void DDX_IntEdit(CDataExchange* pDX, int nIDC, int& value) {
  const HWND edit = pDX->PrepareEditCtrl(nIDC);
  if (!pDX->m_bSaveAndValidate) {
    CString text;
    text.Format("%d", value);
    ::SetWindowText(edit, text);
    return;
  }
  char text[32] = {};
  ::GetWindowText(edit, text, sizeof text);
  textstyle::ParseEditInt(text, value);
}

// The sample font of a style: 120 points at the DC's resolution, bold and italic as the style.
LOGFONT MakeSampleLogFont(HDC hdc, const _TextEffect& style) {
  LOGFONT font{};
  font.lfHeight = -MulDiv(120, ::GetDeviceCaps(hdc, LOGPIXELSY), 72);
  font.lfCharSet = 1;
  font.lfWeight = style.bBold ? 700 : 400;
  font.lfItalic = style.bItalic ? 1 : 0;
  font.lfUnderline = style.bUnderline ? 1 : 0;
  pictavo::utf8::CopyToField(font.lfFaceName, textstyle::FieldText(style.szFaceName));
  return font;
}

}  // namespace

// ---- the style list ----

_TextEffect* CTextEffectListBox::GetStyle(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
  const DWORD_PTR data = GetItemData(nIndex);
  return data == static_cast<DWORD_PTR>(LB_ERR) ? nullptr : reinterpret_cast<_TextEffect*>(data);
}

void CTextEffectListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(m_nItemHeight);
  lpMeasureItemStruct->itemWidth = static_cast<UINT>(m_nItemWidth);
}

void CTextEffectListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct == nullptr || static_cast<int>(lpDrawItemStruct->itemID) < 0) return;
  const RECT& rc = lpDrawItemStruct->rcItem;
  const float left = static_cast<float>(rc.left - 1), top = static_cast<float>(rc.top - 1);
  const float width = static_cast<float>(rc.right - rc.left), height = static_cast<float>(rc.bottom - rc.top);
  Gdiplus::Graphics graphics(lpDrawItemStruct->hDC);
  const Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
  graphics.FillRectangle(&white, Gdiplus::RectF(left, top, width, height));
  const auto* record = reinterpret_cast<const _TextEffect*>(lpDrawItemStruct->itemData);
  if (record == nullptr || lpDrawItemStruct->itemData == static_cast<ULONG_PTR>(LB_ERR)) return;
  // The sample is drawn from a copy: painting a cell never changes the style it shows.
  _TextEffect style = *record;
  style.nFontSize = 36;
  const LOGFONT logFont = MakeSampleLogFont(lpDrawItemStruct->hDC, style);
  const Gdiplus::Font font(lpDrawItemStruct->hDC, &logFont);
  Gdiplus::RectF box;
  graphics.MeasureString(L"A", 1, &font, Gdiplus::PointF(0, 0), &box);
  if (box.Width > 0 && box.Height > 0) {
    const float ratio = box.Height / box.Width;
    Gdiplus::Bitmap sample(static_cast<INT>(box.Width * 1.5f), static_cast<INT>(box.Height * 1.5f),
                           Gdiplus::PixelFormat32bppARGB);
    {
      Gdiplus::Graphics painter(&sample);
      painter.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
      painter.ScaleTransform(0.26666668f, 0.26666668f);
      const CString folder = CTextBrushDlg::GetTextureFolder();
      CPhotoTextEffect::DrawText(&painter, L"A", &font, Gdiplus::PointF(10, 10), folder, &style);
      painter.ResetTransform();
    }
    const float x = ratio >= 1.0f ? (width - height / ratio) * 0.5f + left : left;
    graphics.DrawImage(&sample, x, top);
  }
  const Gdiplus::RectF inner(static_cast<float>(rc.left + 1), static_cast<float>(rc.top + 1), width - 4,
                             height - 4);
  if (lpDrawItemStruct->itemState & ODS_SELECTED) {
    const Gdiplus::SolidBrush fill(Gdiplus::Color(0x78C0C0FFu));
    graphics.FillRectangle(&fill, inner);
    const Gdiplus::Pen pen(Gdiplus::Color(0xDC8080FFu), 1.0f);
    graphics.DrawRectangle(&pen, inner);
  } else {
    const Gdiplus::Pen pen(Gdiplus::Color(0x96C0C0C0u), 1.0f);
    graphics.DrawRectangle(&pen, inner);
  }
}

// ---- the page ----

BEGIN_MESSAGE_MAP(CPhotoEditOperTextPage, CPropertyPage)
ON_CBN_SELCHANGE(IDC_TEXT_FACE, OnControlChanged)
ON_BN_CLICKED(IDC_TEXT_SHADOW, OnControlChanged)
ON_BN_CLICKED(IDC_TEXT_BOLD, OnControlChanged)
ON_BN_CLICKED(IDC_TEXT_ITALIC, OnControlChanged)
ON_BN_CLICKED(IDC_TEXT_UNDERLINE, OnControlChanged)
ON_BN_CLICKED(IDC_TEXT_ALIGN_LEFT, OnControlChanged)
ON_EN_CHANGE(IDC_TEXT_SIZE, OnControlChanged)
ON_EN_CHANGE(IDC_TEXT_SHADOW_X, OnControlChanged)
ON_EN_CHANGE(IDC_TEXT_SHADOW_Y, OnControlChanged)
ON_EN_KILLFOCUS(IDC_TEXT_SIZE, OnEditLeft)
ON_EN_KILLFOCUS(IDC_TEXT_SHADOW_X, OnEditLeft)
ON_EN_KILLFOCUS(IDC_TEXT_SHADOW_Y, OnEditLeft)
ON_MESSAGE(WM_COLOR_PICKED, OnColorPicked)
ON_BN_CLICKED(IDC_TEXT_ADD, OnAddText)
ON_BN_CLICKED(IDC_TEXT_ADD_MACRO, OnAddMacroText)
ON_BN_CLICKED(IDC_TEXT_APPLY_ALL, OnApplyToAll)
ON_BN_CLICKED(IDC_TEXT_DELETE, OnDeleteSelected)
ON_BN_CLICKED(IDC_TEXT_BRUSH, OnBrush)
ON_LBN_SELCHANGE(IDC_TEXT_EFFECT_LIST, OnEffectSelChange)
ON_LBN_DBLCLK(IDC_TEXT_EFFECT_LIST, OnEffectDblClk)
ON_MESSAGE(WM_TEXT_FONT_CHANGED, OnTextFontChanged)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_WM_CTLCOLOR()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CPhotoEditOperTextPage::CPhotoEditOperTextPage(_DVDImageTextFont* pTextFont)
    : CPropertyPage(IDD_PHOTO_EDIT_TEXT),
      m_pTextColor(&m_btnTextColor.m_crColor),
      m_pShadowColor(&m_btnShadowColor.m_crColor),
      m_pTextFont(pTextFont) {
  if (m_pTextFont != nullptr) CDVDImageText::SetDefaultTextFontData(m_pTextFont);
}

CPhotoEditOperTextPage::~CPhotoEditOperTextPage() = default;

CString CPhotoEditOperTextPage::GetEffectListPath() {
  const std::string exe(CDVDProject::GetExeFilePath().GetString());
  return CString(pictavo::path::Join(exe, "texteffect/effect_list.xml").c_str());
}

void CPhotoEditOperTextPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TEXT_COLOR, m_btnTextColor);
  DDX_Control(pDX, IDC_TEXT_SHADOW_COLOR, m_btnShadowColor);
  DDX_Control(pDX, IDC_TEXT_BRUSH, m_btnBrush);
  DDX_Control(pDX, IDC_TEXT_EFFECT_LIST, m_listEffects);
  DDX_Control(pDX, IDC_TEXT_SHADOW_X_SPIN, m_spinShadowX);
  DDX_Control(pDX, IDC_TEXT_SHADOW_Y_SPIN, m_spinShadowY);
  DDX_Control(pDX, IDC_TEXT_SIZE_SPIN, m_spinSize);
  DDX_Check(pDX, IDC_TEXT_SHADOW, m_bShadow);
  DDX_IntEdit(pDX, IDC_TEXT_SIZE, m_nSize);
  DDX_IntEdit(pDX, IDC_TEXT_SHADOW_X, m_nShadowX);
  DDX_IntEdit(pDX, IDC_TEXT_SHADOW_Y, m_nShadowY);
  DDX_Check(pDX, IDC_TEXT_BOLD, m_bBold);
  DDX_Check(pDX, IDC_TEXT_ITALIC, m_bItalic);
  DDX_Check(pDX, IDC_TEXT_UNDERLINE, m_bUnderline);
  DDX_Radio(pDX, IDC_TEXT_ALIGN_LEFT, m_nAlign);
}

BOOL CPhotoEditOperTextPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_EDIT_TEXT);
  m_brushBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  m_btnTextColor.SetColor(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  m_btnShadowColor.SetColor(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));

  m_bUpdating = TRUE;
  m_comboFace.SubclassDlgItem(IDC_TEXT_FACE, this);
  m_comboFace.m_strSample = "Sample";
  m_comboFace.SetFontHeight(15, FALSE);
  m_comboFace.SetPreviewMode(2, FALSE);
  m_comboFace.FillFonts();
  m_spinSize.SetRange32(textstyle::kMinSize, textstyle::kMaxSize);
  m_spinShadowY.SetRange32(-textstyle::kMaxOffset, textstyle::kMaxOffset);
  m_spinShadowX.SetRange32(-textstyle::kMaxOffset, textstyle::kMaxOffset);
  m_bUpdating = FALSE;
  if (m_pTextFont == nullptr) return TRUE;

  CTextFontSettings& settings = GetAppSettings()->TextFont;
  settings.Load();
  std::memcpy(m_pTextFont, &settings.Font, sizeof(_DVDImageTextFont));
  m_btnBrush.SetBrushStyle(&m_pTextFont->effect.brush);
  m_btnBrush.SetTextureFolder(CTextBrushDlg::GetTextureFolder());

  OnTextFontChanged(reinterpret_cast<WPARAM>(m_pTextFont), 0);
  LoadEffectList();

  // The remembered face and size win over the style's; the remembered style is chosen again when
  // the list still has it.
  const _DVDImageTextFont& saved = settings.Font;
  const int savedSize = textstyle::ClampSize(saved.nFontSize);
  pictavo::utf8::CopyToField(m_pTextFont->effect.szFaceName, textstyle::FieldText(saved.szFaceName));
  m_pTextFont->effect.nFontSize = savedSize;
  const int stored = textstyle::StoredStyleIndex(m_pTextFont->nEffectIndex, m_listEffects.GetCount());
  if (stored >= 0) {
    m_listEffects.SetCurSel(stored);
    ApplyEffectStyle(stored);
  }
  pictavo::utf8::CopyToField(m_pTextFont->szFaceName, textstyle::FieldText(saved.szFaceName));
  pictavo::utf8::CopyToField(m_pTextFont->effect.szFaceName, textstyle::FieldText(saved.szFaceName));
  m_pTextFont->nFontSize = savedSize;
  m_pTextFont->effect.nFontSize = savedSize;
  m_nSize = savedSize;
  SelectFace(CString(textstyle::FieldText(saved.szFaceName)));
  ShowValues();
  return TRUE;
}

void CPhotoEditOperTextPage::ShowValues() {
  const BOOL updating = m_bUpdating;
  // Filling the edits raises EN_CHANGE; reading the half-filled controls back would undo the rest.
  m_bUpdating = TRUE;
  UpdateData(FALSE);
  m_bUpdating = updating;
}

void CPhotoEditOperTextPage::SelectFace(LPCTSTR lpszFace) {
  const std::string face = lpszFace != nullptr ? lpszFace : "";
  int found = m_comboFace.FindStringExact(-1, face.c_str());
  // The combo lists installed faces; a platform name (Arial) shows the face that draws it.
  if (found < 0)
    for (const pictavo::gdi::FamilyInfo& family : pictavo::gdi::FontFamilies())
      if (!family.standsFor.empty() && pictavo::unicode::EqualsNoCase(family.name, face)) {
        found = m_comboFace.FindStringExact(-1, family.standsFor.c_str());
        break;
      }
  m_comboFace.SetCurSel(found >= 0 ? found : 0);
  m_strFace.Empty();
  const int sel = m_comboFace.GetCurSel();
  if (sel >= 0) m_comboFace.GetLBText(sel, m_strFace);
}

BOOL CPhotoEditOperTextPage::CanvasExists() const {
  return m_pCanvas != nullptr && ::IsWindow(CanvasWindow());
}

void CPhotoEditOperTextPage::PostToCanvas() {
  if (CanvasExists())
    ::PostMessage(CanvasWindow(), WM_TEXT_FONT_CHANGED, reinterpret_cast<WPARAM>(m_pTextFont), 0);
}

LRESULT CPhotoEditOperTextPage::OnTextFontChanged(WPARAM wParam, LPARAM /*lParam*/) {
  const auto* record = reinterpret_cast<const _DVDImageTextFont*>(wParam);
  if (m_bUpdating || record == nullptr || GetSafeHwnd() == nullptr) return 0;
  m_bShadow = record->effect.bShadow;
  m_nSize = textstyle::ClampSize(record->effect.nFontSize);
  m_nShadowX = m_nShadowY = textstyle::ClampOffset(record->effect.nShadowOffset);
  m_bBold = record->effect.bBold;
  m_bItalic = record->effect.bItalic;
  m_bUnderline = record->effect.bUnderline;
  *m_pTextColor = record->clrText;
  *m_pShadowColor = record->clrShadow;
  m_btnTextColor.Invalidate();
  m_btnShadowColor.Invalidate();
  SelectFace(CString(textstyle::FieldText(record->effect.szFaceName)));
  ShowValues();
  PostToCanvas();
  m_btnBrush.Invalidate();
  return 0;
}

void CPhotoEditOperTextPage::ReadControls() {
  if (m_bUpdating || m_pTextFont == nullptr || GetSafeHwnd() == nullptr) return;
  UpdateData(TRUE);
  CString face;
  const int sel = m_comboFace.GetCurSel();
  if (sel >= 0) m_comboFace.GetLBText(sel, face);
  m_strFace = face;
  _DVDImageTextFont& r = *m_pTextFont;
  pictavo::utf8::CopyToField(r.szFaceName, static_cast<LPCTSTR>(face));
  pictavo::utf8::CopyToField(r.effect.szFaceName, static_cast<LPCTSTR>(face));
  r.clrText = *m_pTextColor;
  r.clrShadow = *m_pShadowColor;
  const int size = textstyle::ClampSize(m_nSize);
  r.effect.bShadow = m_bShadow;
  r.effect.nShadowOffset = textstyle::ClampOffset(m_nShadowX);
  r.effect.bBold = m_bBold;
  r.effect.bItalic = m_bItalic;
  r.effect.bUnderline = m_bUnderline;
  r.effect.nFontSize = size;
  r.bShadow = m_bShadow;
  r.bBold = m_bBold;
  r.bItalic = m_bItalic;
  r.bUnderline = m_bUnderline;
  r.nAlign = m_nAlign;
  r.nFontSize = size;
  r.nShadowXOffset = textstyle::ClampOffset(m_nShadowX);
  r.nShadowYOffset = textstyle::ClampOffset(m_nShadowY);
  PostToCanvas();
}

void CPhotoEditOperTextPage::OnControlChanged() {
  ReadControls();
}

void CPhotoEditOperTextPage::OnEditLeft() {
  // Leaving an edit shows the value the style took.
  if (m_bUpdating || GetSafeHwnd() == nullptr) return;
  m_nSize = textstyle::ClampSize(m_nSize);
  m_nShadowX = textstyle::ClampOffset(m_nShadowX);
  m_nShadowY = textstyle::ClampOffset(m_nShadowY);
  ShowValues();
}

LRESULT CPhotoEditOperTextPage::OnColorPicked(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  ReadControls();
  return 0;
}

void CPhotoEditOperTextPage::LoadEffectList(const CString& path) {
  FreeEffectList();
  m_listEffects.SetItemSize(90, 75);
  m_listEffects.SetColumnWidth(90);
  const std::vector<_TextEffect> styles = textstyle::ReadEffectList(path);
  for (size_t k = 0; k < styles.size(); ++k) {
    CString name;
    name.Format("Style %d", static_cast<int>(k) + 1);
    const int item = m_listEffects.AddString(name);
    if (item < 0) break;
    auto record = std::make_unique<_TextEffect>(styles[k]);
    m_listEffects.SetItemData(item, reinterpret_cast<DWORD_PTR>(record.release()));
    m_listEffects.SetItemHeight(item, 75);
  }
  const int initial = textstyle::InitialStyleIndex(m_listEffects.GetCount());
  if (initial < 0) return;
  m_listEffects.SetCurSel(initial);
  ApplyEffectStyle(initial);
}

void CPhotoEditOperTextPage::ApplyEffectStyle(int nIndex) {
  const _TextEffect* style = m_listEffects.GetStyle(nIndex);
  if (style == nullptr || m_pTextFont == nullptr) return;
  _DVDImageTextFont& r = *m_pTextFont;
  const _DVDImageTextFont before = r;
  r.effect = *style;
  r.bShadow = m_bShadow = style->bShadow;
  r.bBold = m_bBold = style->bBold;
  r.bItalic = m_bItalic = style->bItalic;
  r.bUnderline = m_bUnderline = style->bUnderline;
  if (CanvasExists() && IsCanvasTextSelected()) {
    // A style never changes the face or size of an existing text.
    std::memcpy(r.szFaceName, before.szFaceName, sizeof r.szFaceName);
    std::memcpy(r.effect.szFaceName, before.szFaceName, sizeof r.effect.szFaceName);
    r.nFontSize = before.nFontSize;
    r.effect.nFontSize = before.nFontSize;
  } else {
    std::memcpy(r.szFaceName, r.effect.szFaceName, sizeof r.szFaceName);
    r.szFaceName[sizeof r.szFaceName - 1] = '\0';
    r.nFontSize = textstyle::ClampSize(r.effect.nFontSize);
  }
  m_nSize = textstyle::ClampSize(r.nFontSize);
  SelectFace(CString(textstyle::FieldText(r.szFaceName)));
  ShowValues();
  PostToCanvas();
  m_btnBrush.Invalidate();
}

void CPhotoEditOperTextPage::OnEffectSelChange() {
  const int sel = m_listEffects.GetCurSel();
  if (m_listEffects.GetStyle(sel) == nullptr) return;
  ApplyEffectStyle(sel);
  if (m_pTextFont != nullptr) m_pTextFont->nEffectIndex = sel;
}

void CPhotoEditOperTextPage::OnEffectDblClk() {
  OnEffectSelChange();
  if (CanvasExists() && !IsCanvasTextSelected()) OnAddText();
}

void CPhotoEditOperTextPage::OnAddText() {
  if (CanvasExists()) CanvasAddText();
}

void CPhotoEditOperTextPage::OnAddMacroText() {
  CMenu menu;
  if (!menu.LoadMenu(IDR_TEXT_MACRO_MENU)) return;
  TranslateMenu(menu.GetSafeHmenu());
  CMenu* popup = menu.GetSubMenu(0);
  CWnd* button = GetDlgItem(IDC_TEXT_ADD_MACRO);
  if (popup != nullptr && button != nullptr) {
    CRect rect;
    button->GetWindowRect(&rect);
    const UINT command =
        static_cast<UINT>(popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, rect.left, rect.bottom, this));
    // The dialog inserts the macro into the canvas.
    CWnd* dialog = GetParentOwner();
    if (command >= kFirstMacroCommand && command <= kLastMacroCommand && dialog != nullptr && dialog != this)
      dialog->SendMessage(WM_COMMAND, command, 0);
  }
  menu.DestroyMenu();
}

void CPhotoEditOperTextPage::OnApplyToAll() {
  if (CanvasExists()) ::PostMessage(CanvasWindow(), WM_COMMAND, ID_SPRITE_APPLY_TO_ALL, 0);
}

void CPhotoEditOperTextPage::OnDeleteSelected() {
  if (CanvasExists()) ::PostMessage(CanvasWindow(), WM_COMMAND, ID_SPRITE_DELETE, 0);
}

INT_PTR CPhotoEditOperTextPage::RunBrushDialog(_TextBrushStyle* pStyle) {
  CTextBrushDlg dialog(nullptr);
  dialog.m_pStyle = pStyle;
  return dialog.DoModal();
}

void CPhotoEditOperTextPage::OnBrush() {
  if (m_pTextFont == nullptr) return;
  if (RunBrushDialog(&m_pTextFont->effect.brush) == IDOK) ReadControls();
  m_btnBrush.Invalidate();
}

LRESULT CPhotoEditOperTextPage::OnIdleUpdateCmdUI(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  const BOOL selected = CanvasExists() && CanvasHasSelection();
  for (const int id : {IDC_TEXT_APPLY_ALL, IDC_TEXT_DELETE})
    if (CWnd* button = GetDlgItem(id)) button->EnableWindow(selected);
  return 0;
}

HBRUSH CPhotoEditOperTextPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  // The hidden colour pickers are painted on the page's colour whatever they ask.
  const int id = pWnd != nullptr ? pWnd->GetDlgCtrlID() : 0;
  if (HBRUSH brush = PhotoEditPageCtlColor(m_brushBackground, pDC, pWnd, nCtlColor,
                                           id == IDC_TEXT_COLOR || id == IDC_TEXT_SHADOW_COLOR))
    return brush;
  return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}

BOOL CPhotoEditOperTextPage::OnEraseBkgnd(CDC* pDC) {
  return PhotoEditPageEraseBkgnd(*this, pDC);
}

void CPhotoEditOperTextPage::FreeEffectList() {
  if (m_listEffects.GetSafeHwnd() == nullptr) return;
  for (int i = 0; i < m_listEffects.GetCount(); ++i) {
    delete m_listEffects.GetStyle(i);
    m_listEffects.SetItemData(i, 0);
  }
  m_listEffects.ResetContent();
}

void CPhotoEditOperTextPage::OnDestroy() {
  FreeEffectList();
  CPropertyPage::OnDestroy();
}

// ---- the canvas ----

HWND CPhotoEditOperTextPage::CanvasWindow() const {
  return m_pCanvas != nullptr ? m_pCanvas->GetSafeHwnd() : nullptr;
}

BOOL CPhotoEditOperTextPage::IsCanvasTextSelected() const {
  return m_pCanvas->IsTextSelected();
}

BOOL CPhotoEditOperTextPage::CanvasHasSelection() const {
  return m_pCanvas->GetSelectedSprite() != nullptr;
}

void CPhotoEditOperTextPage::CanvasAddText() {
  m_pCanvas->AddText();
}
