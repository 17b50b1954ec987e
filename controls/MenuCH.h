// A small owner-drawn popup whose items are painted in one of three styles: 1 an icon or a label,
// 2 a colour swatch (the item text read as a decimal COLORREF), 3 a 16 x 16 bitmap, a label and a
// shortcut on a light background. The main window's "Add Blank Image" popup uses style 2.
//
// Use: attach CreatePopupMenu, set the item size and style, AppendItem each item, insert the popup
// into a menu; the owner forwards WM_MEASUREITEM / WM_DRAWITEM of its items (the framework calls
// MeasureItem / DrawItem of the CMenu that FromHandle finds). UI thread only.
#pragma once

#include "platform/base/List.h"
#include "platform/base/WinTypes.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Menu.h"

// Styles of CMenuCH::SetStyle.
#define MENUCH_STYLE_ICON 1
#define MENUCH_STYLE_COLOR 2
#define MENUCH_STYLE_BITMAP 3

// One appended item. Its address is the item data Windows keeps, so the label comes first.
struct CMenuCHItem {
  char label[128];            // text before the first TAB
  char* shortcut = nullptr;   // owned; text after the first TAB, or NULL
  CBitmap* bitmap = nullptr;  // owned; loaded from the resource given at append time, or NULL
  int value = 0;              // style 1: an HICON
  int width = 0;              // for WM_MEASUREITEM
  int height = 0;
};

// First index >= start at which `text` holds `c`, or -1.
int FindCharFrom(LPCSTR text, char c, int start);

class CMenuCH : public CMenu {
  DECLARE_DYNAMIC(CMenuCH)

 public:
  CMenuCH();
  ~CMenuCH() override;

  // Sizes given to the items appended from now on.
  void SetItemWidth(int nWidth) { m_nItemWidth = nWidth; }
  void SetItemHeight(int nHeight) { m_nItemHeight = nHeight; }
  void SetStyle(int nStyle) { m_nStyle = nStyle; }
  int GetStyle() const { return m_nStyle; }

  // Appends an item; owner-drawn unless MF_POPUP. The text is split at its first TAB into label and
  // shortcut; labels longer than 127 bytes are cut (at a character boundary).
  BOOL AppendItem(UINT nFlags, UINT nID, LPCSTR lpszText, UINT nBitmapID, int nValue, BOOL bOwnerDraw);

  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

  // What the painters last drew selected: the swatch colour (style 2) and the item id.
  COLORREF GetLastColor() const { return m_crLastColor; }
  UINT GetLastSelectedId() const { return m_nLastSelectedId; }
  int GetItemCount() const { return static_cast<int>(m_items.GetCount()); }
  // The record of an appended item (0-based, append order), or NULL.
  const CMenuCHItem* GetItemRecord(int nIndex) const;

 protected:
  void DrawIconItem(LPDRAWITEMSTRUCT lpDIS);
  void DrawColorItem(LPDRAWITEMSTRUCT lpDIS);
  void DrawBitmapItem(LPDRAWITEMSTRUCT lpDIS);
  // Seven vertical three-pixel strokes forming a tick at (x, y).
  static void DrawCheckMark(CDC* pDC, int x, int y, COLORREF color);

 private:
  BOOL IsSeparator(UINT nID) const;

  int m_nStyle = MENUCH_STYLE_ICON;
  int m_nItemWidth = 25;
  int m_nItemHeight = 32;
  CPtrList m_items{10};  // CMenuCHItem*, owned, in append order
  COLORREF m_crLastColor = 0;
  UINT m_nLastSelectedId = 0;
};
