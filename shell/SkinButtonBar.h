// A bitmap button bar as the skin defines it: how many buttons, where each one lies in the bar,
// the four pictures of the whole bar (one per button state) and a tooltip per button. The skin
// objects own one per bar for the whole process; a reload hands the bar new pictures and
// rectangles without replacing the object, so a window that holds a bar keeps a valid one.
#pragma once

#include <vector>

#include "platform/base/CString.h"
#include "platform/base/Geometry.h"

// The bar's pictures, in the order the skin lists them.
enum SkinButtonState {
  SKIN_BUTTON_NORMAL = 0,
  SKIN_BUTTON_HIGHLIGHTED = 1,
  SKIN_BUTTON_CLICKED = 2,
  SKIN_BUTTON_DISABLED = 3,
  SKIN_BUTTON_STATE_COUNT = 4,
};

class CSkinButtonBar {
 public:
  CSkinButtonBar() = default;
  CSkinButtonBar(const CSkinButtonBar&) = delete;
  CSkinButtonBar& operator=(const CSkinButtonBar&) = delete;

  // The first definition of the bar: nCount buttons with their rectangles, the four state
  // pictures (full paths, SKIN_BUTTON_STATE_COUNT of them) and the tooltips. FALSE, with the
  // bar unchanged, for a negative count or missing arrays.
  BOOL Init(int nCount, const RECT* pRects, const CString* pStatePaths, const CString* pTips);
  // A new definition from a reloaded skin, with the same arguments.
  BOOL OnBitmapChanged(int nCount, const RECT* pRects, const CString* pStatePaths, const CString* pTips);

  BOOL IsInitialized() const { return m_bInitialized; }
  int GetButtonCount() const { return static_cast<int>(m_rects.size()); }
  // The button's rectangle in the bar's pictures; empty for an index outside the bar.
  CRect GetButtonRect(int nButton) const;
  // The tooltip of a button (already translated); empty for an index outside the bar.
  CString GetButtonTip(int nButton) const;
  // The path of the picture of a state; empty when the skin gives none.
  CString GetStatePath(int nState) const;
  // The smallest size that holds every button.
  CSize GetSize() const;
  // How many times the bar was given new pictures since it was first defined.
  int GetReloadCount() const { return m_nReloads; }

 private:
  BOOL Define(int nCount, const RECT* pRects, const CString* pStatePaths, const CString* pTips);

  BOOL m_bInitialized = FALSE;
  int m_nReloads = 0;
  std::vector<CRect> m_rects;
  std::vector<CString> m_tips;
  CString m_statePaths[SKIN_BUTTON_STATE_COUNT];
};
