// How an icon menu item is painted: the flat look (a tinted icon column, a light selection) and
// the classic 3-D look, the two colour functions they derive their colours with, the check marks,
// and the filters that make the faded, shadow and grey copies of an image.
#include <algorithm>
#include <optional>
#include <string>

#include "controls/IconMenu.h"
#include "controls/MemoryDC.h"
#include "platform/comctl/ImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"
#include "platform/user/Menu.h"

BOOL IconMenuBitmapWithoutColorMapping();

namespace {

constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;
constexpr int kFlatColumn = kImageWidth + 7;  // 23

COLORREF Sys(int index) {
  return static_cast<COLORREF>(::GetSysColor(index));
}

void Fill(CDC* pDC, const RECT& rc, COLORREF color) {
  pDC->FillSolidRect(&rc, color);
}

void Frame(CDC* pDC, const RECT& rc, COLORREF color) {
  CBrush brush(color);
  pDC->FrameRect(&rc, &brush);
}

// Sunken (top-left dark) or raised (top-left light) one-pixel frame.
void Frame3d(CDC* pDC, const RECT& rc, bool sunken) {
  const COLORREF shadow = Sys(COLOR_BTNSHADOW), light = Sys(COLOR_BTNHIGHLIGHT);
  pDC->Draw3dRect(&rc, sunken ? shadow : light, sunken ? light : shadow);
}

const CIconMenuItem* RecordOf(const DRAWITEMSTRUCT* lpDIS) {
  return reinterpret_cast<const CIconMenuItem*>(lpDIS->itemData);
}

// The class-wide slot of the item's image, or -1.
int ImageSlot(const CIconMenuItem* item) {
  if (item->ownImageOffset >= 0 || item->ownImageIndex >= 0) return -1;
  return item->globalImageIndex >= 0 && item->globalImageIndex < CIconMenu::GetGlobalImageCount()
             ? item->globalImageIndex
             : -1;
}

void DrawImage(CDC* pDC, int slot, int x, int y) {
  ::ImageList_Draw(CIconMenu::GetGlobalImages()->GetSafeHandle(), slot, pDC->GetSafeHdc(), x, y,
                   ILD_TRANSPARENT);
}

// A radio item: the command-UI update marks it with MFT_RADIOCHECK or a checked bitmap.
bool IsRadio(const DRAWITEMSTRUCT* lpDIS) {
  MENUITEMINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
  if (!::GetMenuItemInfo(reinterpret_cast<HMENU>(lpDIS->hwndItem), lpDIS->itemID, FALSE, &info)) return false;
  return info.hbmpChecked != nullptr || (info.fType & MFT_RADIOCHECK) != 0;
}

struct TextParts {
  std::wstring label;     // before the first TAB
  std::wstring shortcut;  // after the last TAB
  bool hasShortcut = false;
};
TextParts SplitText(const wchar_t* text) {
  TextParts parts;
  const std::wstring whole = text != nullptr ? text : L"";
  const size_t first = whole.find(L'\t');
  parts.label = whole.substr(0, first);
  if (first != std::wstring::npos) {
    parts.shortcut = whole.substr(whole.rfind(L'\t') + 1);
    parts.hasShortcut = true;
  }
  return parts;
}

void DrawTexts(CDC* pDC, const TextParts& parts, RECT rc, COLORREF color) {
  pDC->SetTextColor(color);
  ::DrawTextW(pDC->GetSafeHdc(), parts.label.c_str(), static_cast<int>(parts.label.size()), &rc,
              DT_SINGLELINE | DT_VCENTER);
  if (parts.hasShortcut)
    ::DrawTextW(pDC->GetSafeHdc(), parts.shortcut.c_str(), static_cast<int>(parts.shortcut.size()), &rc,
                DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

// Runs `change` over every pixel of the bitmap that is not of the colour `reference` takes on it.
template <class Change>
void ForEachPixel(CBitmap& bitmap, COLORREF reference, Change&& change, bool backgroundToo = false) {
  BITMAP bm{};
  if (bitmap.GetSafeHandle() == nullptr || !bitmap.GetBitmap(&bm)) return;
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  // The background as the bitmap stores it: fill a scratch bitmap of its kind and read it back.
  CBitmap scratch;
  scratch.CreateCompatibleBitmap(&dc, bm.bmWidth, bm.bmHeight);
  CDC scratchDC;
  scratchDC.CreateCompatibleDC(&dc);
  CBitmap* oldScratch = scratchDC.SelectObject(&scratch);
  scratchDC.FillSolidRect(0, 0, bm.bmWidth, bm.bmHeight, reference);
  const COLORREF background = scratchDC.GetPixel(std::min(1, bm.bmWidth - 1), std::min(1, bm.bmHeight - 1));
  scratchDC.SelectObject(oldScratch);
  for (int x = 0; x < bm.bmWidth; ++x)
    for (int y = 0; y < bm.bmHeight; ++y) {
      const COLORREF pixel = dc.GetPixel(x, y);
      if (pixel == background && !backgroundToo) continue;
      dc.SetPixel(x, y, change(pixel, pixel == background));
    }
  dc.SelectObject(old);
}

}  // namespace

COLORREF LightenColor(COLORREF c, double f) {
  if (!(f > 0.0 && f <= 1.0)) return c;
  auto channel = [f](int x) { return static_cast<int>(x + f * (255 - x)); };
  return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

COLORREF DarkenColor(COLORREF c, double f) {
  if (!(f > 0.0 && f <= 1.0)) return c;
  auto channel = [f](int x) { return static_cast<int>(x - f * x); };
  return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

// ---- image filters

void CIconMenu::RenderImage(CDC* pDC, CImageList* pImages, int nImage, CBitmap& out) {
  out.DeleteObject();
  out.CreateCompatibleBitmap(pDC, kImageWidth, kImageHeight);
  CDC dc;
  dc.CreateCompatibleDC(pDC);
  CBitmap* old = dc.SelectObject(&out);
  dc.FillSolidRect(0, 0, kImageWidth, kImageHeight, Sys(COLOR_BTNFACE));
  if (HICON icon = ::ImageList_GetIcon(pImages->GetSafeHandle(), nImage, ILD_NORMAL)) {
    ::DrawIconEx(dc.GetSafeHdc(), 0, 0, icon, kImageWidth, kImageHeight, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(icon);
  }
  dc.SelectObject(old);
}

void CIconMenu::FadeBitmap(CBitmap& bitmap) {
  ForEachPixel(bitmap, Sys(COLOR_BTNFACE), [](COLORREF pixel, bool) { return LightenColor(pixel, 0.3); });
}

void CIconMenu::ShadowBitmap(CBitmap& bitmap) {
  const COLORREF shadow = IsThemedXP() ? Sys(COLOR_BTNSHADOW) : LightenColor(Sys(COLOR_BTNSHADOW), 0.49);
  ForEachPixel(bitmap, Sys(COLOR_BTNFACE), [shadow](COLORREF, bool) { return shadow; });
}

void CIconMenu::GreyBitmap(CBitmap& bitmap, COLORREF background) {
  const COLORREF shadow = Sys(COLOR_BTNSHADOW);
  ForEachPixel(
      bitmap, Sys(COLOR_BTNFACE),
      [background, shadow](COLORREF pixel, bool isBackground) {
        if (isBackground) return background != 0 ? background : pixel;
        const int g = (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3;
        return LightenColor(shadow, g * 0.00392156862745098);
      },
      /*backgroundToo*/ true);
}

void CIconMenu::ReplaceGreyBackground(CBitmap& bitmap) {
  const COLORREF face = Sys(COLOR_BTNFACE);
  ForEachPixel(
      bitmap, RGB(192, 192, 192),
      [face](COLORREF pixel, bool isBackground) { return isBackground ? face : pixel; },
      /*backgroundToo*/ true);
}

namespace {

// The shape of a rendered image: everything that is neither the face nor the highlight colour.
bool InShape(CDC& source, int x, int y, int cx, int cy) {
  if (x < 0 || y < 0 || x >= cx || y >= cy) return false;
  const COLORREF pixel = source.GetPixel(x, y);
  return pixel != Sys(COLOR_BTNFACE) && pixel != Sys(COLOR_BTNHIGHLIGHT);
}

}  // namespace

void CIconMenu::DrawEmbossed(CDC* pDC, int x, int y, int cx, int cy, CBitmap* pBitmap, COLORREF background) {
  CDC source;
  source.CreateCompatibleDC(pDC);
  CBitmap* old = source.SelectObject(pBitmap);
  const COLORREF light = Sys(COLOR_BTNHIGHLIGHT), dark = Sys(COLOR_BTNSHADOW);
  // The shape in the shadow colour with its highlight one pixel below and right.
  for (int dx = 0; dx <= cx; ++dx)
    for (int dy = 0; dy <= cy; ++dy) {
      COLORREF color = background;
      if (InShape(source, dx, dy, cx, cy))
        color = dark;
      else if (InShape(source, dx - 1, dy - 1, cx, cy))
        color = light;
      else if (dx == cx || dy == cy)
        continue;
      pDC->SetPixel(x + dx, y + dy, color);
    }
  source.SelectObject(old);
}

void CIconMenu::DrawGreyed(CDC* pDC, int x, int y, int cx, int cy, CBitmap* pBitmap, COLORREF background) {
  GreyBitmap(*pBitmap, background);
  CDC source;
  source.CreateCompatibleDC(pDC);
  CBitmap* old = source.SelectObject(pBitmap);
  pDC->BitBlt(x, y, cx, cy, &source, 0, 0, SRCCOPY);
  source.SelectObject(old);
}

void CIconMenu::DrawDisabledMono(HDC hDC, int x, int y, int cx, int cy, HBITMAP hBitmap, int xSrc, int ySrc,
                                 COLORREF background) {
  CDC* pDC = CDC::FromHandle(hDC);
  CDC source;
  source.CreateCompatibleDC(pDC);
  HGDIOBJ old = ::SelectObject(source.GetSafeHdc(), hBitmap);
  auto dark = [&](int px, int py) {
    if (px < 0 || py < 0 || px >= cx || py >= cy) return false;
    const COLORREF pixel = source.GetPixel(xSrc + px, ySrc + py);
    return GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 128;
  };
  pDC->FillSolidRect(x, y, cx, cy, background);
  const COLORREF light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
  for (int px = 0; px <= cx; ++px)
    for (int py = 0; py <= cy; ++py) {
      if (dark(px, py))
        pDC->SetPixel(x + px, y + py, shadow);
      else if (dark(px - 1, py - 1))
        pDC->SetPixel(x + px, y + py, light);
    }
  ::SelectObject(source.GetSafeHdc(), old);
}

// ---- check marks

void CIconMenu::DrawRadioDot(CDC* pDC, int x, int y, COLORREF color) {
  CPen pen(PS_SOLID, 1, color);
  CBrush brush(color);
  CPen* oldPen = pDC->SelectObject(&pen);
  CBrush* oldBrush = pDC->SelectObject(&brush);
  pDC->Ellipse(x, y, x + 6, y + 6);
  pDC->SelectObject(oldBrush);
  pDC->SelectObject(oldPen);
}

void CIconMenu::DrawCheckMark(CDC* pDC, int x, int y, COLORREF color, BOOL bThin) {
  static constexpr int kStarts[7] = {2, 3, 4, 3, 2, 1, 0};
  CPen pen(PS_SOLID, 1, color);
  CPen* old = pDC->SelectObject(&pen);
  for (int i = 0; i < 7; ++i) {
    pDC->MoveTo(x + i, y + kStarts[i]);
    pDC->LineTo(x + i, y + kStarts[i] + 3 - (bThin ? 1 : 0));
  }
  pDC->SelectObject(old);
}

void CIconMenu::DrawClassicCheck(CDC* pDC, RECT rc, BOOL bSelected, BOOL bRadio) {
  COLORREF color = Sys(IsThemedXP() ? COLOR_BTNFACE : COLOR_MENU);
  if (!bSelected) color = LightenColor(color, 0.6);
  Fill(pDC, rc, color);
  if (IsWin32OSType()) pDC->DrawEdge(&rc, BDR_SUNKENOUTER, BF_RECT);
  if (bRadio)
    DrawRadioDot(pDC, rc.left + 5, rc.top + 4, Sys(COLOR_MENUTEXT));
  else
    DrawCheckMark(pDC, rc.left + 4, rc.top + 4, Sys(COLOR_MENUTEXT), FALSE);
}

void CIconMenu::DrawFlatCheck(CDC* pDC, RECT rc, BOOL bRadio, COLORREF highlight, BOOL bSelected) {
  Fill(pDC, rc, LightenColor(highlight, bSelected ? 0.55 : 0.85));
  Frame(pDC, rc, highlight);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int x = rc.left + (w < 6 ? 0 : w / 2 - 3);
  const int y = rc.top + (h < 6 ? 0 : h / 2 - 3);
  if (bRadio)
    DrawRadioDot(pDC, x, y, Sys(COLOR_MENUTEXT));
  else
    DrawCheckMark(pDC, x, y, Sys(COLOR_MENUTEXT), TRUE);
}

// ---- painters

void CIconMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  if (lpDIS == nullptr || lpDIS->itemData == 0) return;
  const bool palette = (::GetDeviceCaps(lpDIS->hDC, RASTERCAPS) & RC_PALETTE) != 0;
  if (palette || !IsFlatStyle())
    DrawItemClassic(lpDIS);
  else
    DrawItemFlat(lpDIS);
}

void CIconMenu::DrawItemFlat(LPDRAWITEMSTRUCT lpDIS) {
  const CIconMenuItem* item = RecordOf(lpDIS);
  if (item == nullptr) return;
  const bool themed = IsThemedXP();
  const COLORREF menuBack = DarkenColor(Sys(COLOR_WINDOW), 0.02);
  const COLORREF columnColor = themed ? Sys(COLOR_BTNFACE) : LightenColor(Sys(COLOR_BTNFACE), 0.25);
  const COLORREF highlight = Sys(COLOR_HIGHLIGHT);
  const COLORREF selection = LightenColor(highlight, themed ? 0.7 : 0.85);
  const bool grayed = (lpDIS->itemState & ODS_GRAYED) != 0;
  const bool selected = (lpDIS->itemState & ODS_SELECTED) != 0 && !grayed;
  const bool checked = (lpDIS->itemState & ODS_CHECKED) != 0;
  const CRect rc(lpDIS->rcItem);

  // Grayed items are composed off-screen with the menu font and copied in one go.
  CDC* target = CDC::FromHandle(lpDIS->hDC);
  CFont menuFont;  // outlives the memory DC it is selected into
  std::optional<CMemoryDC> memory;
  CDC* pDC = target;
  if (grayed) {
    memory.emplace(target, rc, CMemoryDC::Plain{});
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    menuFont.CreateFontIndirect(&metrics.lfMenuFont);
    memory->SelectObject(&menuFont);
    pDC = &*memory;
  }

  const CRect column(rc.left, rc.top, rc.left + kFlatColumn, rc.bottom);
  if ((item->flags & MF_SEPARATOR) != 0) {
    Fill(pDC, rc, menuBack);
    Fill(pDC, column, columnColor);
    Frame(pDC, column, columnColor);
    CRect line(rc.left + kFlatColumn + 7, rc.top + rc.Height() / 2, rc.right, rc.bottom);
    pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    return;
  }

  if (!selected) {
    Fill(pDC, rc, menuBack);
    Fill(pDC, column, columnColor);
    Frame(pDC, rc, menuBack);
    Frame(pDC, column, columnColor);
  } else {
    Fill(pDC, rc, selection);
    Frame(pDC, rc, highlight);
  }

  const CRect iconBox(rc.left + 1, rc.top + 1, rc.left + 21, rc.bottom - 1);
  const int x = rc.left + (kFlatColumn - kImageWidth + 1) / 2;
  const int y = rc.top + std::max(0, (rc.Height() - kImageHeight + 1) / 2);
  const int slot = ImageSlot(item);
  const bool variants = slot >= 0 && HasImageVariants(slot);
  const bool checkImage = checked && slot < 0 && m_pCheckmarks != nullptr &&
                          ((selected && m_nSelectedCheckmark > 0) || m_nUnselectedCheckmark > 0);

  if (checkImage) {
    Fill(pDC, iconBox, columnColor);
    m_pCheckmarks->Draw(pDC, selected ? 1 : 0, CPoint(x, y), ILD_TRANSPARENT);
  } else if (slot >= 0) {
    if (grayed) {
      if (variants) {
        DrawImage(pDC, slot + 3, x, y);
      } else {
        CBitmap rendered;
        RenderImage(pDC, GetGlobalImages(), slot, rendered);
        if (m_bEmbossedDisabled)
          DrawDisabledMono(pDC->GetSafeHdc(), x, y, kImageWidth, kImageHeight, rendered, 0, 0, columnColor);
        else
          DrawEmbossed(pDC, x, y, kImageWidth, kImageHeight, &rendered, columnColor);
      }
    } else if (selected) {
      if (checked) {
        Fill(pDC, iconBox, LightenColor(highlight, 0.55));
        Frame(pDC, iconBox, highlight);
        DrawImage(pDC, slot, x - 1, y - 1);
      } else {
        Fill(pDC, iconBox, selection);
        if (variants) {
          DrawImage(pDC, slot + 2, x + 1, y + 1);
          DrawImage(pDC, slot, x - 1, y - 1);
        } else {
          DrawImage(pDC, slot, x, y);
        }
      }
    } else if (checked) {
      Fill(pDC, iconBox, LightenColor(highlight, 0.85));
      Frame(pDC, iconBox, highlight);
      DrawImage(pDC, slot, x - 1, y - 1);
    } else {
      Fill(pDC, iconBox, columnColor);
      Frame(pDC, iconBox, columnColor);
      DrawImage(pDC, variants ? slot + 1 : slot, x, y);
    }
  } else if (checked) {
    DrawFlatCheck(pDC, iconBox, IsRadio(lpDIS), highlight, selected);
  }

  if (item->text != nullptr && item->text[0] != L'\0') {
    const TextParts parts = SplitText(item->text);
    CRect text(rc.left + kFlatColumn + 8, rc.top - 1, rc.right, rc.bottom - 1);
    if (parts.hasShortcut) text.right -= 16;
    pDC->SetBkMode(TRANSPARENT);
    COLORREF color = Sys(COLOR_MENUTEXT);
    if (grayed) color = themed ? Sys(COLOR_GRAYTEXT) : LightenColor(Sys(COLOR_GRAYTEXT), 0.4);
    DrawTexts(pDC, parts, text, color);
  }
}

void CIconMenu::DrawItemClassic(LPDRAWITEMSTRUCT lpDIS) {
  const CIconMenuItem* item = RecordOf(lpDIS);
  if (item == nullptr) return;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const COLORREF menuColor = Sys(IsThemedXP() ? COLOR_BTNFACE : COLOR_MENU);
  const CRect rc(lpDIS->rcItem);
  if ((item->flags & MF_SEPARATOR) != 0) {
    Fill(pDC, rc, menuColor);
    CRect line = rc;
    line.top += rc.Height() / 2;
    pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    return;
  }
  // Disabled items keep their selection in this look.
  const bool grayed = (lpDIS->itemState & ODS_GRAYED) != 0;
  const bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
  const bool checked = (lpDIS->itemState & ODS_CHECKED) != 0;
  const int slot = ImageSlot(item);
  const bool checkImage = checked && slot < 0 && m_pCheckmarks != nullptr &&
                          ((selected && m_nSelectedCheckmark > 0) || m_nUnselectedCheckmark > 0);
  COLORREF textColor = Sys(COLOR_MENUTEXT);
  if (!selected) {
    Fill(pDC, rc, menuColor);
    Frame(pDC, rc, menuColor);
  } else {
    CRect band = rc;
    if (slot >= 0 || checkImage || checked) band.left += 21;
    Fill(pDC, band, Sys(COLOR_HIGHLIGHT));
    textColor = Sys(COLOR_HIGHLIGHTTEXT);
  }

  const int dy = std::max(0, (rc.Height() - kImageHeight - 4) / 2);
  const CRect imageBox(rc.left, rc.top + dy, rc.left + 20, rc.top + dy + 19);
  const CRect inner(rc.left + 1, rc.top + dy + 1, rc.left + 19, rc.top + dy + 18);
  const int x = rc.left + 2, y = rc.top + dy + 2;
  if (slot >= 0 || checkImage) Frame(pDC, inner, menuColor);

  if (checkImage) {
    Fill(pDC, inner, menuColor);
    Frame(pDC, imageBox, menuColor);
    m_pCheckmarks->Draw(pDC, selected ? 1 : 0, CPoint(x, y), ILD_TRANSPARENT);
  } else if (slot >= 0) {
    if (grayed) {
      CBitmap rendered;
      RenderImage(pDC, GetGlobalImages(), slot, rendered);
      Frame(pDC, imageBox, menuColor);
      if (IconMenuBitmapWithoutColorMapping())
        DrawGreyed(pDC, x, y, kImageWidth, kImageHeight, &rendered, menuColor);
      else if (m_bEmbossedDisabled)
        DrawDisabledMono(pDC->GetSafeHdc(), x, y, kImageWidth, kImageHeight, rendered, 0, 0, menuColor);
      else
        DrawEmbossed(pDC, x, y, kImageWidth, kImageHeight, &rendered, menuColor);
    } else if (selected) {
      Fill(pDC, inner, menuColor);
      if (IsWin32OSType()) Frame3d(pDC, imageBox, checked);
      DrawImage(pDC, slot, x, y);
    } else {
      if (checked) {
        Fill(pDC, inner, LightenColor(menuColor, 0.6));
        if (IsWin32OSType()) Frame3d(pDC, imageBox, true);
      } else {
        Fill(pDC, inner, menuColor);
        Frame(pDC, inner, menuColor);
      }
      DrawImage(pDC, slot, x, y);
    }
  } else if (checked) {
    DrawClassicCheck(pDC, CRect(rc.left + 1, rc.top + dy + 2, rc.left + 17, rc.top + dy + 17), selected,
                     IsRadio(lpDIS));
  }

  if (item->text == nullptr || item->text[0] == L'\0') return;
  const TextParts parts = SplitText(item->text);
  CRect text(rc.left + kImageWidth + 9, rc.top - 1, rc.right, rc.bottom - 1);
  if (parts.hasShortcut) text.right -= 16;
  pDC->SetBkMode(TRANSPARENT);
  if (!grayed) {
    DrawTexts(pDC, parts, text, textColor);
  } else if (selected) {
    DrawTexts(pDC, parts, text, menuColor);
  } else {
    CRect embossed = text;
    embossed.OffsetRect(1, 1);
    DrawTexts(pDC, parts, embossed, Sys(COLOR_BTNHIGHLIGHT));
    DrawTexts(pDC, parts, text, Sys(COLOR_GRAYTEXT));
  }
}
