#include "controls/FontPreviewCombo.h"

#include <algorithm>
#include <cstring>

#include "modules/log/Log.h"
#include "platform/mfc/Dc.h"
#include "platform/user/Metrics.h"

namespace {

constexpr UINT kTrueTypeMarkBitmap = 180;
constexpr int kMarkWidth = 15;
constexpr DWORD kTrueTypeItem = 4;  // item data bit: the face is TrueType

CFont* MakeFont(int height, LPCTSTR face, BYTE quality) {
  auto* font = new CFont;
  if (!font->CreateFont(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, quality, 0,
                        face)) {
    delete font;
    return nullptr;
  }
  return font;
}

}  // namespace

BEGIN_MESSAGE_MAP(CFontPreviewCombo, CComboBox)
ON_CONTROL_REFLECT(CBN_DROPDOWN, OnDropdown)
END_MESSAGE_MAP()

CFontPreviewCombo::CFontPreviewCombo() : m_clrSample(::GetSysColor(COLOR_WINDOWTEXT)) {}

CFontPreviewCombo::~CFontPreviewCombo() {
  FreeFonts();
}

void CFontPreviewCombo::FillFonts() {
  m_imgTrueType.DeleteImageList();
  m_imgTrueType.Create(kTrueTypeMarkBitmap, kMarkWidth, 1, RGB(255, 255, 255));
  if (GetSafeHwnd()) ResetContent();
  FreeFonts();
  m_nFontCount = 0;
  HDC screen = ::GetDC(nullptr);
  ::EnumFonts(screen, nullptr, EnumFontProc, reinterpret_cast<LPARAM>(this));
  ::ReleaseDC(nullptr, screen);
  WriteLog("EnumFont Count=%d", m_nFontCount);
  if (GetSafeHwnd()) SetCurSel(0);
}

int CALLBACK CFontPreviewCombo::EnumFontProc(const LOGFONTA* lplf, const TEXTMETRICA*, DWORD dwType,
                                             LPARAM lpData) {
  auto* self = reinterpret_cast<CFontPreviewCombo*>(lpData);
  if (!lplf || !self || dwType != TRUETYPE_FONTTYPE) return 1;
  const CString face = lplf->lfFaceName;
  if (face.CompareNoCase("Bookshelf Symbol 7") == 0) return 1;
  // A platform name that only stands in for an installed family ("Arial" drawn by Liberation
  // Sans) is no font of its own: the list shows what is installed.
  const auto* full = reinterpret_cast<const ENUMLOGFONTEXA*>(lplf);
  if (full->elfFullName[0] && face.Compare(reinterpret_cast<const char*>(full->elfFullName)) != 0) return 1;
  ++self->m_nFontCount;
  if (self->GetSafeHwnd()) {
    self->m_strAdding = face;
    const int index = self->AddString(face);
    self->m_strAdding.Empty();
    if (index >= 0) self->SetItemData(index, kTrueTypeItem);
  }
  self->AddFont(face);
  return 1;
}

void CFontPreviewCombo::SetFontHeight(int nHeight, BOOL bRefill) {
  if (nHeight == m_nFontHeight) return;
  m_nFontHeight = nHeight;
  if (bRefill) FillFonts();
}

void CFontPreviewCombo::SetPreviewMode(int nMode, BOOL bRefill) {
  if (nMode == m_nPreviewMode) return;
  m_nPreviewMode = nMode;
  if (bRefill) FillFonts();
}

void CFontPreviewCombo::AddFont(const CString& strFace) {
  if (m_nPreviewMode == 1) return;
  CFont* font = MakeFont(m_nFontHeight, strFace, DEFAULT_QUALITY);
  if (!font) return;
  void* old = nullptr;
  if (m_mapFonts.Lookup(strFace, old)) delete static_cast<CFont*>(old);
  m_mapFonts.SetAt(strFace, font);
}

void CFontPreviewCombo::FreeFonts() {
  POSITION pos = m_mapFonts.GetStartPosition();
  while (pos) {
    CString face;
    void* font = nullptr;
    m_mapFonts.GetNextAssoc(pos, face, font);
    delete static_cast<CFont*>(font);
  }
  m_mapFonts.RemoveAll();
}

CFont* CFontPreviewCombo::GetSampleFont(LPCTSTR lpszFace) const {
  void* font = nullptr;
  return m_mapFonts.Lookup(lpszFace, font) ? static_cast<CFont*>(font) : nullptr;
}

void CFontPreviewCombo::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  CString face = m_strAdding;
  if (face.IsEmpty() && static_cast<int>(lpMeasureItemStruct->itemID) < GetCount())
    GetLBText(static_cast<int>(lpMeasureItemStruct->itemID), face);
  CFont itemFont;
  if (!itemFont.CreateFont(m_nFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                           ANTIALIASED_QUALITY, 0, face))
    return;
  if (m_nPreviewMode == 2 || m_nPreviewMode == 3) {
    CClientDC dc(this);
    CGdiObject* old = dc.SelectStockObject(DEFAULT_GUI_FONT);
    m_nMaxNameWidth = std::max<int>(m_nMaxNameWidth, dc.GetTextExtent(face).cx);
    dc.SelectObject(&itemFont);
    m_nMaxSampleWidth = std::max<int>(m_nMaxSampleWidth, dc.GetTextExtent(m_strSample).cx);
    dc.SelectObject(old);
  } else {
    m_nMaxNameWidth = 0;
    m_nMaxSampleWidth = 0;
  }
  LOGFONT lf{};
  itemFont.GetLogFont(&lf);
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(std::abs(lf.lfHeight) + 4);
}

void CFontPreviewCombo::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  CRect rc(lpDrawItemStruct->rcItem);
  const UINT state = lpDrawItemStruct->itemState;
  if (state & ODS_FOCUS) dc->DrawFocusRect(&rc);
  if (lpDrawItemStruct->itemID == static_cast<UINT>(-1)) return;

  const int saved = dc->SaveDC();
  COLORREF sampleColor = m_clrSample;
  if (state & ODS_SELECTED) {
    dc->FillSolidRect(&rc, ::GetSysColor(COLOR_HIGHLIGHT));
    dc->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    sampleColor = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  } else {
    dc->FillSolidRect(&rc, dc->GetBkColor());
  }
  dc->SetBkMode(TRANSPARENT);

  if (lpDrawItemStruct->itemData & kTrueTypeItem)
    m_imgTrueType.Draw(dc, 0, CPoint(rc.left + 5, rc.top + 4), ILD_TRANSPARENT);
  rc.left += kMarkWidth;

  CString face;
  GetLBText(static_cast<int>(lpDrawItemStruct->itemID), face);
  CFont* faceFont = GetSampleFont(face);
  CFont* dcFont = dc->GetCurrentFont();
  const bool edit = (state & ODS_COMBOBOXEDIT) != 0;
  const int x0 = rc.left + 10;
  // Text in a font, vertically centred in the item; its width.
  const auto out = [&](int x, const CString& text, CFont* font, const COLORREF* color) {
    dc->SelectObject(font ? font : dcFont);
    const COLORREF oldColor = color ? dc->SetTextColor(*color) : 0;
    const CSize size = dc->GetTextExtent(text);
    dc->TextOut(x, rc.top + (rc.Height() - size.cy) / 2, text);
    if (color) dc->SetTextColor(oldColor);
    return static_cast<int>(size.cx);
  };
  switch (m_nPreviewMode) {
    case 0:
      out(x0, face, faceFont, nullptr);
      break;
    case 1:
      out(x0, face, dcFont, nullptr);
      break;
    case 2: {
      const int name = out(x0, face, dcFont, nullptr);
      out(rc.left + 20 + (edit ? name : m_nMaxNameWidth), m_strSample, faceFont, &sampleColor);
      break;
    }
    case 3: {
      const int sample = out(x0, m_strSample, faceFont, &sampleColor);
      out(rc.left + 20 + (edit ? sample : m_nMaxSampleWidth), face, dcFont, nullptr);
      break;
    }
    case 4:
      out(x0, m_strSample, faceFont, nullptr);
      break;
    default:
      break;
  }
  dc->RestoreDC(saved);
}

int CFontPreviewCombo::CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  return CComboBox::CompareItem(lpCompareItemStruct);
}

void CFontPreviewCombo::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  CComboBox::DeleteItem(lpDeleteItemStruct);
}

void CFontPreviewCombo::OnDropdown() {
  int width = ::GetSystemMetrics(SM_CXVSCROLL) + kMarkWidth;
  switch (m_nPreviewMode) {
    case 0:
    case 1:
      width += m_nMaxNameWidth;
      break;
    case 2:
    case 3:
      width += m_nMaxNameWidth + m_nMaxSampleWidth + 20;
      break;
    case 4:
      width += m_nMaxSampleWidth;
      break;
    default:
      break;
  }
  SetDroppedWidth(static_cast<UINT>(width));
}
