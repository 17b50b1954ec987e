// The two controls of the Options dialog's frame: the owner-drawn category list on the left (an
// icon and a name per page) and the painted banner that names the page shown.
#pragma once

#include "platform/comctl/AfxImageList.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StdControls.h"

// Items 60 pixels high, an icon from the image strip above the name; the selected item shows
// the selection picture. Pictures come from the program's "images" folder.
class COptionsCategoryList : public CListBox {
 public:
  static constexpr int kItemHeight = 60;
  static constexpr COLORREF kBackground = RGB(255, 250, 241);

  // The selection picture and the icon strip (square icons, magenta the transparent colour).
  // Missing files leave the list without them.
  void LoadImages();

  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  CBitmap m_bmpSelected;
  CImageList m_images;
  CBitmap m_bmpStrip;  // the icon strip while it is being loaded

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};

// The page title over a light blue gradient, in bold white with a soft shadow.
class COptionsTitleStatic : public CStatic {
 public:
  void SetTitle(LPCTSTR lpszTitle);
  const CString& GetTitle() const { return m_strTitle; }

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_strTitle;
};
