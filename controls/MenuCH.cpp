#include "controls/MenuCH.h"

#include <cstdlib>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/res/Resources.h"

IMPLEMENT_DYNAMIC(CMenuCH, CMenu)

namespace {

constexpr COLORREF kFrameColor = RGB(64, 64, 128);     // 0x804040
constexpr COLORREF kTintColor = RGB(216, 216, 235);    // 0xEBD8D8
constexpr COLORREF kPaperColor = RGB(255, 255, 240);   // 0xF0FFFF
constexpr COLORREF kSwatchFrame = RGB(128, 128, 128);  // 0x808080

void FrameSolid(CDC* pDC, const RECT& rc, COLORREF color) {
  CBrush brush(color);
  pDC->FrameRect(&rc, &brush);
}

// Copies at most 127 bytes of `text`, never splitting a UTF-8 character.
void CopyLabel(char (&label)[128], const char* text, size_t length) {
  if (length > sizeof(label) - 1) {
    length = sizeof(label) - 1;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  std::memcpy(label, text, length);
  label[length] = '\0';
}

}  // namespace

int FindCharFrom(LPCSTR text, char c, int start) {
  if (text == nullptr || start < 0) return -1;
  const int length = static_cast<int>(std::strlen(text));
  for (int i = start; i < length; ++i)
    if (text[i] == c) return i;
  return -1;
}

CMenuCH::CMenuCH() = default;

CMenuCH::~CMenuCH() {
  POSITION pos = m_items.GetHeadPosition();
  while (pos != nullptr) {
    auto* item = static_cast<CMenuCHItem*>(m_items.GetNext(pos));
    delete[] item->shortcut;
    delete item->bitmap;
    delete item;
  }
  m_items.RemoveAll();
  DestroyMenu();
}

const CMenuCHItem* CMenuCH::GetItemRecord(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetItemCount()) return nullptr;
  POSITION pos = m_items.FindIndex(nIndex);
  return pos != nullptr ? static_cast<const CMenuCHItem*>(m_items.GetAt(pos)) : nullptr;
}

BOOL CMenuCH::AppendItem(UINT nFlags, UINT nID, LPCSTR lpszText, UINT nBitmapID, int nValue,
                         BOOL bOwnerDraw) {
  auto* item = new CMenuCHItem;
  if (nBitmapID != 0) {
    item->bitmap = new CBitmap;
    LPCSTR name = MAKEINTRESOURCE(nBitmapID);
    // A missing resource leaves the bitmap without a handle; the painter then copies nothing.
    item->bitmap->Attach(::LoadBitmap(AfxFindResourceHandle(name, RT_BITMAP), name));
  }
  item->value = nValue;
  item->width = m_nItemWidth;
  item->height = m_nItemHeight;
  m_items.AddTail(item);

  if ((nFlags & MF_POPUP) == 0 && bOwnerDraw) nFlags |= MF_OWNERDRAW;

  const char* text = lpszText != nullptr ? lpszText : "";
  const int tab = FindCharFrom(text, '\t', 0);
  if (tab < 0) {
    CopyLabel(item->label, text, std::strlen(text));
  } else {
    CopyLabel(item->label, text, static_cast<size_t>(tab));
    const char* after = text + tab + 1;
    item->shortcut = new char[std::strlen(after) + 1];
    std::strcpy(item->shortcut, after);
  }
  // The label is the record's first field: an owner-drawn item's data is the record itself.
  return AppendMenu(nFlags, nID, item->label);
}

BOOL CMenuCH::IsSeparator(UINT nID) const {
  const UINT state = GetMenuState(nID, MF_BYCOMMAND);
  return state != 0xFFFFFFFF && (state & MF_SEPARATOR) != 0;
}

void CMenuCH::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  const auto* item = reinterpret_cast<const CMenuCHItem*>(lpMIS->itemData);
  if (item == nullptr) return;
  lpMIS->itemWidth = static_cast<UINT>(item->width);
  lpMIS->itemHeight = static_cast<UINT>(IsSeparator(lpMIS->itemID) ? 6 : item->height);
}

void CMenuCH::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  switch (m_nStyle) {
    case MENUCH_STYLE_ICON:
      DrawIconItem(lpDIS);
      break;
    case MENUCH_STYLE_COLOR:
      DrawColorItem(lpDIS);
      break;
    case MENUCH_STYLE_BITMAP:
      DrawBitmapItem(lpDIS);
      break;
    default:
      CMenu::DrawItem(lpDIS);
      break;
  }
}

void CMenuCH::DrawColorItem(LPDRAWITEMSTRUCT lpDIS) {
  const auto* item = reinterpret_cast<const CMenuCHItem*>(lpDIS->itemData);
  if (item == nullptr) return;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect whole(lpDIS->rcItem);
  const COLORREF swatch = static_cast<COLORREF>(std::atol(item->label));
  const bool entire = (lpDIS->itemAction & ODA_DRAWENTIRE) != 0;
  const bool select = (lpDIS->itemAction & ODA_SELECT) != 0;
  if (entire) {
    CRect r = whole;
    FrameSolid(pDC, r, ::GetSysColor(COLOR_BTNFACE));
    r.DeflateRect(3, 3);
    FrameSolid(pDC, r, kSwatchFrame);
    r.DeflateRect(1, 1);
    pDC->FillSolidRect(&r, swatch);
  }
  if ((lpDIS->itemState & ODS_SELECTED) != 0 && (entire || select)) {
    // Round the whole item, where the deselection below wipes it again.
    CRect r = whole;
    pDC->DrawEdge(&r, EDGE_RAISED, BF_RECT);
    m_crLastColor = swatch;
    m_nLastSelectedId = lpDIS->itemID;
    return;
  }
  if (select) {
    CRect r = whole;
    FrameSolid(pDC, r, ::GetSysColor(COLOR_BTNFACE));
    r.DeflateRect(1, 1);
    FrameSolid(pDC, r, ::GetSysColor(COLOR_BTNFACE));
  }
}

void CMenuCH::DrawIconItem(LPDRAWITEMSTRUCT lpDIS) {
  const auto* item = reinterpret_cast<const CMenuCHItem*>(lpDIS->itemData);
  if (item == nullptr) return;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect whole(lpDIS->rcItem);
  const bool entire = (lpDIS->itemAction & ODA_DRAWENTIRE) != 0;
  const bool select = (lpDIS->itemAction & ODA_SELECT) != 0;
  if (entire) {
    if (IsSeparator(lpDIS->itemID)) {
      for (int x = 0; x < whole.Width(); ++x) {
        const int c = ((216 - x) % 256 + 256) % 256;
        pDC->FillSolidRect(whole.left + x, whole.top, 1, whole.Height(), RGB(c, c, 235));
      }
    } else if (item->value != 0) {
      pDC->DrawIcon(whole.left + 2, whole.top, reinterpret_cast<HICON>(static_cast<intptr_t>(item->value)));
    } else {
      CRect r = whole;
      r.left += 20;
      pDC->SetBkMode(TRANSPARENT);
      pDC->DrawText(item->label, -1, &r, DT_SINGLELINE | DT_VCENTER);
    }
  }
  if ((lpDIS->itemState & ODS_SELECTED) != 0 && (entire || select)) {
    CRect r = whole;
    FrameSolid(pDC, r, kFrameColor);
    r.DeflateRect(1, 1);
    FrameSolid(pDC, r, kFrameColor);
    m_nLastSelectedId = lpDIS->itemID;
    return;
  }
  if (select) {
    CRect r = whole;
    FrameSolid(pDC, r, ::GetSysColor(COLOR_BTNFACE));
    r.DeflateRect(1, 1);
    FrameSolid(pDC, r, ::GetSysColor(COLOR_BTNFACE));
  }
}

void CMenuCH::DrawCheckMark(CDC* pDC, int x, int y, COLORREF color) {
  static constexpr int kStarts[7] = {2, 3, 4, 3, 2, 1, 0};
  CPen pen(PS_SOLID, 1, color);
  CPen* old = pDC->SelectObject(&pen);
  for (int i = 0; i < 7; ++i) {
    pDC->MoveTo(x + i, y + kStarts[i]);
    pDC->LineTo(x + i, y + kStarts[i] + 3);
  }
  pDC->SelectObject(old);
}

void CMenuCH::DrawBitmapItem(LPDRAWITEMSTRUCT lpDIS) {
  const auto* item = reinterpret_cast<const CMenuCHItem*>(lpDIS->itemData);
  if (item == nullptr) return;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect whole(lpDIS->rcItem);
  const CRect iconBox(whole.left, whole.top, whole.left + 20, whole.top + 20);
  const CRect textBox(whole.left + 20, whole.top, whole.right, whole.bottom);
  CRect labelRect = textBox;
  labelRect.DeflateRect(2, 2);
  labelRect.OffsetRect(6, 2);
  const CRect shortcutRect(labelRect.right - 60, labelRect.top, labelRect.right, labelRect.bottom);
  const UINT state = GetMenuState(lpDIS->itemID, MF_BYCOMMAND);
  const bool known = state != 0xFFFFFFFF;
  const bool grayed = (lpDIS->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const bool checked = known && (state & MF_CHECKED) != 0;
  const bool separator = known && (state & MF_SEPARATOR) != 0;
  const bool hasBitmap = item->bitmap != nullptr && item->bitmap->GetSafeHandle() != nullptr;
  const bool entire = (lpDIS->itemAction & ODA_DRAWENTIRE) != 0;
  const bool select = (lpDIS->itemAction & ODA_SELECT) != 0;

  auto drawBitmap = [&] {
    if (!hasBitmap) return;
    CDC source;
    source.CreateCompatibleDC(pDC);
    CBitmap* old = source.SelectObject(item->bitmap);
    pDC->BitBlt(whole.left + 2, whole.top + 2, 16, 16, &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
  };
  auto drawTexts = [&] {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(grayed ? COLOR_BTNFACE : COLOR_MENUTEXT));
    CRect r = labelRect;
    pDC->DrawText(item->label, -1, &r, DT_SINGLELINE);
    if (item->shortcut != nullptr) {
      r = shortcutRect;
      pDC->DrawText(item->shortcut, -1, &r, DT_SINGLELINE);
    }
  };

  if (entire) {
    pDC->FillSolidRect(&whole, kPaperColor);
    pDC->FillSolidRect(&iconBox, ::GetSysColor(COLOR_BTNFACE));
    if (separator) {
      CRect line = textBox;
      line.OffsetRect(5, 3);
      pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    }
    if (checked) {
      CRect box = iconBox;
      box.DeflateRect(1, 1);
      FrameSolid(pDC, box, kFrameColor);
      CRect inner = box;
      inner.DeflateRect(1, 1);
      pDC->FillSolidRect(&inner, kTintColor);
      DrawCheckMark(pDC, box.left + 5, box.top + 5, kFrameColor);
    }
    drawBitmap();
    if (!separator) drawTexts();
  }
  if ((lpDIS->itemState & ODS_SELECTED) != 0 && (entire || select)) {
    if (grayed) return;
    if (hasBitmap && !checked) {
      CRect box = iconBox;
      pDC->DrawEdge(&box, EDGE_RAISED, BF_RECT);
    }
    CRect frame = textBox;
    frame.left += 2;
    FrameSolid(pDC, frame, kFrameColor);
    frame.DeflateRect(1, 1);
    pDC->FillSolidRect(&frame, kTintColor);
    drawTexts();
    m_nLastSelectedId = lpDIS->itemID;
    return;
  }
  if (select) {
    if (hasBitmap) {
      pDC->FillSolidRect(&iconBox, ::GetSysColor(COLOR_BTNFACE));
      drawBitmap();
    }
    pDC->FillSolidRect(&textBox, kPaperColor);
    drawTexts();
  }
}
