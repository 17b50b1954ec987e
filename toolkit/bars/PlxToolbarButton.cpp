#include "toolkit/bars/PlxToolbarButton.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/comctl/Tooltip.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "platform/user/Clipboard.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxOleData.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

IMPLEMENT_SERIAL(CPlxToolbarButton, CObject, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CPlxDropDownToolbarButton, CPlxToolbarButton, VERSIONABLE_SCHEMA | 1)

BOOL CPlxToolbarButton::s_bWrapText = TRUE;
BOOL CPlxToolbarButton::s_bUpdateImages = TRUE;
CString CPlxToolbarButton::m_strClipboardFormatName;
CLIPFORMAT CPlxToolbarButton::s_cfButton = 0;

namespace {

constexpr int kVisibleFlagVersion = 0x60400;
constexpr UINT kDragBufferSize = 4096;

// The tooltip part of a command's string: what follows the first newline.
BOOL LoadTooltipText(UINT uiCmd, CString& text) {
  CString str;
  if (!str.LoadString(uiCmd)) return FALSE;
  const int nl = str.Find('\n');
  if (nl < 0) return FALSE;
  text = str.Mid(nl + 1);
  return TRUE;
}

BOOL WorkspaceStoresVisibility() {
  // The menu store always keeps whether an item is shown.
  if (CPlxMenuTempStore::m_bSerializing) return TRUE;
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  return workspace != nullptr && workspace->GetDataVersion() >= kVisibleFlagVersion;
}

}  // namespace

CPlxToolbarButton::CPlxToolbarButton() {
  Initialize();
}

CPlxToolbarButton::CPlxToolbarButton(UINT uiID, int iImage, LPCTSTR lpszText, BOOL bUserButton,
                                     BOOL bLocked) {
  Initialize();
  m_bLocked = bLocked;
  m_nID = uiID;
  m_bUserImage = bUserButton;
  BindImage(iImage);
  m_strText = lpszText == nullptr ? "" : lpszText;
  if (m_nID == 0 || m_bLocked) return;
  CPlxCommandManager* manager = GetCommandManager();
  int& image = m_bUserImage ? m_iUserImage : m_iImage;
  if (image != -1)
    manager->SetCmdImage(m_nID, image, m_bUserImage);
  else
    image = manager->GetCmdImage(m_nID, m_bUserImage);
}

CPlxToolbarButton::~CPlxToolbarButton() = default;

void CPlxToolbarButton::Initialize() {
  m_bUserImage = FALSE;
  m_nID = 0;
  m_nStyle = TBBS_BUTTON;
  m_strText.Empty();
  m_bText = FALSE;
  m_bImage = TRUE;
  m_bWrap = FALSE;
  m_bTextFits = TRUE;
  m_bTextBelow = FALSE;
  m_strCommandName.Empty();
  m_bDragCopy = FALSE;
  m_rect.SetRectEmpty();
  m_iImage = -1;
  m_iUserImage = -1;
  m_bLocked = FALSE;
  m_bIsHidden = FALSE;
  m_sizeTextBelow = CSize(0, 0);
  m_bDisableFill = FALSE;
  m_bExtraSize = FALSE;
  m_bHorz = TRUE;
  m_bVisible = TRUE;
}

void CPlxToolbarButton::SetImage(int iImage) {
  BindImage(iImage);
}

void CPlxToolbarButton::BindImage(int iImage) {
  if (m_nStyle & TBBS_SEPARATOR) {
    m_iImage = iImage;  // a separator's width
    return;
  }
  (m_bUserImage ? m_iUserImage : m_iImage) = iImage;
  if (!m_bLocked && m_nID != 0) {
    CPlxCommandManager* manager = GetCommandManager();
    if (iImage == -1) {
      m_iImage = manager->GetCmdImage(m_nID, FALSE);
      m_iUserImage = manager->GetCmdImage(m_nID, TRUE);
      // Only to a kind that has an image: a text-only button keeps the kind it was given, so
      // that what a store reads back is what it wrote.
      if (!m_bUserImage && m_iImage == -1 && m_iUserImage != -1)
        m_bUserImage = TRUE;
      else if (m_bUserImage && m_iUserImage == -1 && m_iImage != -1)
        m_bUserImage = FALSE;
    } else if (s_bUpdateImages || m_bUserImage) {
      manager->SetCmdImage(m_nID, iImage, m_bUserImage);
    }
  }
  if (GetImage() < 0) {
    m_bImage = FALSE;
    m_bText = TRUE;
  }
}

BOOL CPlxToolbarButton::ExportTooltipText(CPlxToolbarButton* pTarget) {
  CString tip;
  if (pTarget != nullptr && m_strText.IsEmpty() && m_nID != 0 && LoadTooltipText(m_nID, tip))
    pTarget->m_strText = tip;
  return TRUE;
}

void CPlxToolbarButton::ResetImageToDefault() {
  if (m_bUserImage || (int)m_nID <= 0) return;
  int iImage = -1;
  if (CPlxToolBar::m_mapDefaultImages.Lookup(m_nID, iImage) && iImage >= 0) {
    SetImage(iImage);
    return;
  }
  if (m_bImage) {
    m_bImage = FALSE;
    m_bText = TRUE;
    if (m_strText.IsEmpty()) LoadTooltipText(m_nID, m_strText);
  }
}

BOOL CPlxToolbarButton::IsEditable() const {
  if (m_nID >= 0xE110 && m_nID <= 0xE11F) return FALSE;  // recent files
  if (m_nID >= 0xF000 && m_nID <= 0xF1EF) return FALSE;  // system commands
  if (m_nID >= 0xFF00) return FALSE;
  if (m_nID >= 0xE210 && m_nID <= 0xE21F) return FALSE;  // OLE verbs
  return TRUE;
}

void CPlxToolbarButton::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar << m_nID << m_nStyle << GetImage();
    ar << m_strText;
    ar << m_bUserImage << m_bDragCopy << m_bText << m_bImage;
    if (WorkspaceStoresVisibility()) ar << m_bVisible;
    return;
  }
  int iImage = -1;
  ar >> m_nID >> m_nStyle >> iImage;
  ar >> m_strText;
  ar >> m_bUserImage >> m_bDragCopy >> m_bText >> m_bImage;
  if (WorkspaceStoresVisibility()) ar >> m_bVisible;
  SetImage(iImage);
}

void CPlxToolbarButton::CopyFrom(const CPlxToolbarButton& src) {
  m_nID = src.m_nID;
  m_bLocked = src.m_bLocked;
  m_bUserImage = src.m_bUserImage;
  m_nStyle = src.m_nStyle;
  SetImage(src.GetImage());
  m_strText = src.m_strText;
  m_bText = src.m_bText;
  m_bImage = src.m_bImage;
  m_bWrap = src.m_bWrap;
  m_strCommandName = src.m_strCommandName;
  m_bVisible = src.m_bVisible;
  m_bDragCopy = FALSE;
}

CLIPFORMAT CPlxToolbarButton::GetClipboardFormat() {
  if (s_cfButton == 0) {
    CString name = m_strClipboardFormatName;
    if (name.IsEmpty())
      name.Format("PlxToolbarButton%lx",
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(AfxGetInstanceHandle())));
    s_cfButton = static_cast<CLIPFORMAT>(RegisterClipboardFormat(name));
  }
  return s_cfButton;
}

BOOL CPlxToolbarButton::WriteDragBytes(std::vector<BYTE>& bytes) const {
  try {
    CMemFile file(kDragBufferSize);
    {
      CArchive ar(&file, CArchive::store, kDragBufferSize);
      ar.WriteClass(GetRuntimeClass());
      const_cast<CPlxToolbarButton*>(this)->Serialize(ar);
      ar.Close();
    }
    const UINT size = static_cast<UINT>(file.GetLength());
    BYTE* data = file.Detach();
    bytes.assign(data, data + size);
    free(data);
    return TRUE;
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
}

CPlxToolbarButton* CPlxToolbarButton::CreateFromDragBytes(const BYTE* pData, UINT nBytes) {
  if (pData == nullptr || nBytes == 0) return nullptr;
  CPlxToolbarButton* button = nullptr;
  try {
    CMemFile file(const_cast<BYTE*>(pData), nBytes);
    CArchive ar(&file, CArchive::load, kDragBufferSize);
    // Only button kinds: the class named by the data is checked before anything is made of it.
    CRuntimeClass* cls = ar.ReadClass(RUNTIME_CLASS(CPlxToolbarButton));
    if (cls == nullptr || !cls->IsDerivedFrom(RUNTIME_CLASS(CPlxToolbarButton))) return nullptr;
    button = static_cast<CPlxToolbarButton*>(cls->CreateObject());
    if (button == nullptr) return nullptr;
    button->Serialize(ar);
    ar.Close();
    return button;
  } catch (CException* e) {
    e->Delete();
    delete button;
    return nullptr;
  }
}

BOOL CPlxToolbarButton::PrepareDrag(COleDataSource& srcItem) {
  if (!CanBeStored()) return TRUE;
  std::vector<BYTE> bytes;
  if (!WriteDragBytes(bytes)) return FALSE;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes.size());
  if (block == nullptr) return FALSE;
  memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  srcItem.CacheGlobalData(GetClipboardFormat(), block);
  return TRUE;
}

CPlxToolbarButton* CPlxToolbarButton::CreateFromOleData(COleDataObject* pDataObject) {
  if (pDataObject == nullptr) return nullptr;
  HGLOBAL block = pDataObject->GetGlobalData(GetClipboardFormat());
  if (block == nullptr) return nullptr;
  const UINT size = static_cast<UINT>(GlobalSize(block));
  CPlxToolbarButton* button = CreateFromDragBytes(static_cast<const BYTE*>(GlobalLock(block)), size);
  GlobalUnlock(block);
  GlobalFree(block);
  return button;
}

CString CPlxToolbarButton::GetDisplayText() const {
  CString out;
  for (int i = 0; i < m_strText.GetLength(); ++i) {
    const char c = m_strText[i];
    if (c != '&') {
      out += c;
    } else if (i + 1 < m_strText.GetLength() && m_strText[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

void CPlxToolbarButton::OnChangeParentWnd(CWnd* pWndParent) {
  m_pWndParent = pWndParent;
  auto* bar = dynamic_cast<CPlxToolBar*>(pWndParent);
  m_bExtraSize = bar != nullptr && bar->IsButtonExtraSizeAvailable();
}

CSize CPlxToolbarButton::OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
  if (!m_bVisible) return CSize(0, 0);
  CSize size = sizeDefault;
  if (m_nStyle & TBBS_SEPARATOR) {
    if (bHorz)
      size.cx = m_iImage > 0 ? m_iImage : 8;
    else
      size.cy = 8;
    return size;
  }
  if (!m_bImage || GetImage() < 0) {
    const CSize extra = CPlxVisualManager::GetInstance()->GetButtonExtraBorder();
    if (bHorz)
      size.cx = m_bExtraSize ? extra.cx : 0;
    else
      size.cy = m_bExtraSize ? extra.cy : 0;
  }
  m_sizeTextBelow = CSize(0, 0);
  if (m_strText.IsEmpty()) return size;
  if (m_bTextBelow && bHorz) {
    CRect box(0, 0, sizeDefault.cx * 3, sizeDefault.cy);
    pDC->DrawText(m_strText, box, DT_CALCRECT | DT_CENTER | (s_bWrapText ? DT_WORDBREAK : 0));
    m_sizeTextBelow = CSize(box.Width() + 6, box.Height());
    size.cx = std::max<int>(size.cx, m_sizeTextBelow.cx) + 12;
    size.cy += box.Height() + 1;
  } else if (m_bText) {
    const CSize extent = pDC->GetTextExtent(GetDisplayText());
    const int add = extent.cx + (m_bImage && GetImage() >= 0 ? 6 : 9);
    (bHorz ? size.cx : size.cy) += add;
  }
  return size;
}

void CPlxToolbarButton::FillInterior(CDC* pDC, const CRect& rect, BOOL bHighlight) {
  if (m_bDisableFill) return;
  PlxButtonState state = PlxButtonNormal;
  if (bHighlight)
    state = PlxButtonHighlighted;
  else if (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED))
    state = PlxButtonPressed;
  if (CPlxToolBar::m_bCustomizeMode && !CPlxToolBar::m_bAltDragActive && !m_bLocked) state = PlxButtonNormal;
  CPlxVisualManager::GetInstance()->OnFillButtonInterior(pDC, this, rect, state);
}

void CPlxToolbarButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz,
                               BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                               BOOL bGrayDisabledButtons) {
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  m_bHorz = bHorz;
  FillInterior(pDC, rect, bHighlight);

  CSize sizeImage = pImages != nullptr ? pImages->GetImageSize() : CSize(0, 0);
  // A bar draws a strip at its current image size (a normal strip stretched in large-icon mode).
  if (auto* bar = dynamic_cast<CPlxToolBar*>(m_pWndParent);
      bar != nullptr && pImages != nullptr && !bar->m_bMenuMode)
    sizeImage = bar->GetImageSize();
  CRect work = rect;
  if (m_bExtraSize) {
    const CSize extra = manager->GetButtonExtraBorder();
    work.DeflateRect(extra.cx / 2, extra.cy / 2);
  }
  const CString label = GetDisplayText();
  const CSize sizeText = pDC->GetTextExtent(label);
  const BOOL textBelow = m_bTextBelow && bHorz;
  const BOOL labelBeside = m_bText && !m_strText.IsEmpty() && !textBelow;
  const BOOL imageShown = m_bImage && GetImage() >= 0;
  const int textRoom = labelBeside ? sizeText.cx + (m_bImage ? 0 : 3) : 0;

  CSize area;
  if (textBelow)
    area = CSize(work.Width(), sizeImage.cy + 6);
  else if (bHorz)
    area = CSize(work.Width() - textRoom, work.Height());
  else
    area = CSize(work.Width(), work.Height() - textRoom);
  CPoint offset((area.cx - sizeImage.cx) / 2, (area.cy - sizeImage.cy) / 2);
  CPoint margin(3, 3);
  int fontHeight = 0;
  if (labelBeside) {
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    fontHeight = tm.tmHeight;
    if (bHorz) {
      offset.x -= 3;
      margin.y = (area.cy - fontHeight - 1) / 2;
    } else {
      offset.y -= 3;
      margin.x = (area.cx - fontHeight + 1) / 2;
    }
  }
  const BOOL pressedOrChecked = (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)) != 0;
  const BOOL shadowHot = bHighlight && !bCustomizeMode && !IsDroppedDown() &&
                         manager->m_bShadowHighlightedImage && !g_plxGlobalData.bIsBlackHighContrast &&
                         !g_plxGlobalData.bIsWhiteHighContrast &&
                         (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED | TBBS_DISABLED)) == 0;
  if (pressedOrChecked && !bCustomizeMode && !manager->m_bShadowHighlightedImage &&
      manager->IsOffsetPressedButton()) {
    offset.Offset(1, 1);
    margin.y += 1;
    margin.x += bHorz ? 1 : -1;
  }
  const BOOL faded = !bHighlight && manager->m_bFadeInactiveImage;
  if (imageShown && pImages != nullptr) {
    const CPoint at(work.left + offset.x, work.top + offset.y);
    if (shadowHot) {
      const int d = CPlxToolBar::m_bLargeIcons ? 2 : 1;
      pImages->Draw(pDC, at.x + d, at.y + d, GetImage(), FALSE, FALSE, FALSE, TRUE);
      pImages->Draw(pDC, at.x - d, at.y - d, GetImage());
    } else {
      const BOOL disabled =
          (m_nStyle & TBBS_DISABLED) && !(m_nStyle & TBBS_PRESSED) && !bCustomizeMode && bGrayDisabledButtons;
      pImages->Draw(pDC, at.x, at.y, GetImage(), FALSE, disabled, (m_nStyle & TBBS_INDETERMINATE) != 0, FALSE,
                    faded);
    }
  }

  if (textBelow || (m_bText && !m_strText.IsEmpty())) {
    const PlxButtonState state = bHighlight                                   ? PlxButtonHighlighted
                                 : (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)) ? PlxButtonPressed
                                                                              : PlxButtonNormal;
    const COLORREF clrText = manager->GetToolbarButtonTextColor(this, state);
    pDC->SetTextColor(clrText);
    CRect rectText = work;
    UINT format = 0;
    if (textBelow) {
      margin.y += sizeImage.cy + 3;
      rectText.left = (work.left + work.right - m_sizeTextBelow.cx) / 2 + margin.x;
      rectText.right = (work.left + work.right + m_sizeTextBelow.cx) / 2;
      format = DT_CENTER | (s_bWrapText ? DT_WORDBREAK : 0);
    } else {
      if (imageShown) {
        const int e = CPlxToolBar::m_bLargeIcons ? 6 : 0;
        (bHorz ? margin.x : margin.y) += (bHorz ? sizeImage.cx : sizeImage.cy) + e;
        rectText.left = work.left + margin.x + 3;
      } else {
        rectText.left = work.left + 4;
      }
      format = DT_SINGLELINE;
    }
    if (bHorz) {
      rectText.top += margin.y;
      if (textBelow && m_bExtraSize) rectText.OffsetRect(0, manager->GetButtonExtraBorder().cy / 2);
      pDC->DrawText(m_strText, rectText, format);
    } else {
      DrawVerticalLabel(pDC, CRect(work.left, work.top + margin.y, work.right, work.bottom), clrText,
                        sizeText.cy);
    }
  }

  if (!bCustomizeMode && HaveHotBorder() && bDrawBorder) {
    if (pressedOrChecked)
      manager->OnDrawButtonBorder(pDC, this, rect, PlxButtonPressed);
    else if (bHighlight && !(m_nStyle & (TBBS_CHECKED | TBBS_DISABLED | TBBS_INDETERMINATE)))
      manager->OnDrawButtonBorder(pDC, this, rect, PlxButtonHighlighted);
  }
}

void CPlxToolbarButton::DrawVerticalLabel(CDC* pDC, const CRect& rectArea, COLORREF clrText, int h) {
  // The vertical font draws down the bar; the "&" marker is drawn as a line by hand.
  CString text;
  int marked = -1;
  for (int i = 0; i < m_strText.GetLength(); ++i) {
    const char c = m_strText[i];
    if (c == '&' && i + 1 < m_strText.GetLength() && m_strText[i + 1] == '&') {
      text += "&&";
      ++i;
    } else if (c == '&') {
      if (marked < 0) marked = text.GetLength();
    } else {
      text += c;
    }
  }
  const CSize extent = pDC->GetTextExtent(GetDisplayText());
  const int centre = (rectArea.left + rectArea.right) / 2;
  CRect rectText;
  rectText.left = centre - h / 2 + h;
  rectText.right = centre - h / 2;
  rectText.top = rectArea.top + std::max<int>(0, (rectArea.Height() - extent.cx) / 2);
  rectText.bottom = rectArea.bottom;
  pDC->DrawText(text, rectText, DT_SINGLELINE | DT_NOCLIP);
  if (marked < 0 || marked >= text.GetLength()) return;
  CRect measure(0, 0, 0, 0);
  pDC->DrawText(text.Left(marked + 1), measure, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
  const int w1 = measure.Width();
  measure.SetRectEmpty();
  const int w0 = marked == 0
                     ? 0
                     : (pDC->DrawText(text.Left(marked), measure, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE),
                        measure.Width());
  CPen pen(PS_SOLID, 1, clrText);
  CPen* old = clrText != 0 ? pDC->SelectObject(&pen) : nullptr;
  const int x = centre - h / 2;
  pDC->MoveTo(x, rectText.top + w1);
  pDC->LineTo(x, rectText.top + w0);
  if (old != nullptr) pDC->SelectObject(old);
}

int CPlxToolbarButton::OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) {
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  const BOOL savedText = m_bText;
  m_bText = FALSE;
  CPlxButtonImages* images = nullptr;
  if (m_bUserImage)
    images = CPlxToolBar::m_pUserImages;
  else if (CPlxToolBar::m_sharedMenuImages.GetCount() == CPlxToolBar::m_sharedImages.GetCount())
    images = &CPlxToolBar::m_sharedMenuImages;
  else
    images = &CPlxToolBar::m_sharedImages;
  const CSize menuImage = CPlxToolBar::GetMenuImageSize();
  const int column = menuImage.cx + 6;
  const BOOL hasImage = GetImage() >= 0 && images != nullptr;
  if (bSelected && hasImage && !manager->HasMenuImageStrip()) {
    const CRect imageColumn(rect.left, rect.top, rect.left + column, rect.bottom);
    manager->OnFillButtonInterior(pDC, this, imageColumn, PlxButtonHighlighted);
    manager->OnDrawButtonBorder(pDC, this, imageColumn, PlxButtonHighlighted);
  }
  const COLORREF clrText = manager->OnFillCommandsListBackground(pDC, rect, bSelected);
  if (hasImage) {
    PlxImageDrawState ds;
    if (images->PrepareDrawImage(ds)) {
      const CPoint at(rect.left + 3, rect.top + 3);
      if (bSelected && manager->m_bShadowHighlightedImage && !g_plxGlobalData.bIsBlackHighContrast &&
          !g_plxGlobalData.bIsWhiteHighContrast) {
        images->Draw(pDC, at.x + 1, at.y + 1, GetImage(), FALSE, FALSE, FALSE, TRUE);
        images->Draw(pDC, at.x - 1, at.y - 1, GetImage());
      } else {
        images->Draw(pDC, at.x, at.y, GetImage(), FALSE, FALSE, FALSE, FALSE,
                     !bSelected && manager->m_bFadeInactiveImage);
      }
      images->EndDrawImage(ds);
    }
  }
  int used = column;
  if (!m_strText.IsEmpty()) {
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    CRect rectText = rect;
    rectText.left = rect.left + menuImage.cx + 10;
    pDC->DrawText(m_strText, rectText, DT_SINGLELINE | DT_VCENTER);
    used = column + std::min<int>(pDC->GetTextExtent(GetDisplayText()).cx, rectText.Width());
  }
  m_bText = savedText;
  return used;
}

BOOL CPlxToolbarButton::OnToolHitTest(const CWnd* pWnd, TOOLINFOA* pTI) {
  return PlxFrameButtonToolTip(pWnd, this, pTI);
}

void CPlxToolbarButton::EnableWindow(BOOL bEnable) {
  if (HWND hwnd = GetHwnd()) ::EnableWindow(hwnd, bEnable);
}

BOOL CPlxToolbarButton::IsWindowVisible() {
  HWND hwnd = GetHwnd();
  return hwnd != nullptr && (GetWindowLong(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

BOOL CPlxToolbarButton::IsOwnerOf(HWND hwnd) {
  HWND own = GetHwnd();
  return own != nullptr && hwnd != nullptr && (own == hwnd || ::IsChild(own, hwnd));
}

BOOL CPlxToolbarButton::HasFocus() const {
  HWND own = const_cast<CPlxToolbarButton*>(this)->GetHwnd();
  HWND focus = ::GetFocus();
  return own != nullptr && focus != nullptr && (own == focus || ::IsChild(own, focus));
}
