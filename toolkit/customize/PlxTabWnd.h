// CPlxTabWnd as the visual managers read it: the tabs with their labels, images and colours, the
// style and location, the active and hot tabs and the strip that holds the tabs. The window's
// layout, scrolling and input come with the tab window itself.
#pragma once

#include <vector>

#include "platform/base/CString.h"
#include "platform/mfc/Wnd.h"

class CImageList;

class CPlxTabWnd : public CWnd {
  DECLARE_DYNAMIC(CPlxTabWnd)

 public:
  enum Location { LOCATION_BOTTOM = 0, LOCATION_TOP = 1 };
  // Styles: 0 flat, 1 and 2 3D, 3 flat shared scroll, 4 slanted, 5 document, 6 and 7 rounded.
  enum Style {
    STYLE_FLAT = 0,
    STYLE_3D = 1,
    STYLE_3D_SCROLLED = 2,
    STYLE_FLAT_SHARED_HORZ_SCROLL = 3,
    STYLE_3D_ONENOTE = 4,
    STYLE_3D_VS2005 = 5,
    STYLE_3D_ROUNDED = 6,
    STYLE_3D_ROUNDED_SCROLL = 7
  };

  struct Tab {
    CString strLabel;
    int iImage = -1;
    COLORREF clrBk = (COLORREF)-1;
    COLORREF clrText = (COLORREF)-1;
    BOOL bVisible = TRUE;
  };

  int AddTab(LPCTSTR lpszLabel, int iImage = -1);

  BOOL IsFlatTab() const { return m_nStyle == STYLE_FLAT || m_nStyle == STYLE_FLAT_SHARED_HORZ_SCROLL; }
  BOOL Is3DStyle() const { return m_nStyle == STYLE_3D || m_nStyle == STYLE_3D_SCROLLED; }
  BOOL IsSlantedStyle() const { return m_nStyle == STYLE_3D_ONENOTE; }
  BOOL IsDocumentStyle() const { return m_nStyle == STYLE_3D_VS2005; }
  BOOL IsRoundedStyle() const { return m_nStyle == STYLE_3D_ROUNDED || m_nStyle == STYLE_3D_ROUNDED_SCROLL; }

  int GetTabsNum() const { return static_cast<int>(m_tabs.size()); }
  int GetVisibleTabsNum() const;
  int GetFirstVisibleTabNum() const;
  virtual COLORREF GetTabBkColor(int iTab) const;
  COLORREF GetTabTextColor(int iTab) const;
  BOOL GetTabLabel(int iTab, CString& strLabel) const;
  int GetTabIcon(int iTab) const;
  BOOL HasTabImage(int iTab) const;
  BOOL IsTabColored() const;
  // The image list the tabs draw from (own or external) and the size of its images.
  CImageList* GetImageList() const { return m_pImages; }
  CSize GetImageSize() const { return m_sizeImage; }
  int GetActiveTab() const { return m_iActiveTab; }
  // Makes the tab the active one; FALSE, with nothing changed, for a tab it does not have.
  virtual BOOL SetActiveTab(int iTab);
  int GetHighlightedTab() const { return m_iHighlighted; }
  Location GetLocation() const { return m_location; }

  std::vector<Tab> m_tabs;
  int m_nStyle = STYLE_FLAT;
  Location m_location = LOCATION_BOTTOM;
  BOOL m_bScroll = FALSE;
  int m_nButtonsHeight = 0;  // the scroll buttons' height
  BOOL m_bHideSingleTab = FALSE;
  BOOL m_bHideNoTabs = FALSE;
  int m_iActiveTab = -1;
  int m_iHighlighted = -1;
  CImageList* m_pImages = nullptr;  // borrowed
  CSize m_sizeImage = CSize(0, 0);
  BOOL m_bLabelNoPrefix = FALSE;
  CRect m_rectTabsArea;          // the strip that holds the tabs
  BOOL m_bIsDlgControl = FALSE;  // dialog colours instead of bar colours
};
