// The font list: a combo box of the installed TrueType faces, each item showing the face's name,
// a sample text drawn in that face, or both, with the TrueType mark in front.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Map.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/mfc/Afx.h"

class CFontPreviewCombo : public CComboBox {
 public:
  CFontPreviewCombo();
  ~CFontPreviewCombo() override;

  // Lists the installed TrueType faces (their fonts made at the sample height) and selects the
  // first; writes "EnumFont Count=%d" to the log.
  void FillFonts();
  // Store a changed value, refilling with bRefill; an unchanged one does nothing.
  void SetFontHeight(int nHeight, BOOL bRefill);
  void SetPreviewMode(int nMode, BOOL bRefill);
  // The sample font of a face (not in mode 1), replacing one stored before under that name.
  void AddFont(const CString& strFace);
  void FreeFonts();

  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override;
  void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override;

  int GetFontCount() const { return m_nFontCount; }
  int GetWidestName() const { return m_nMaxNameWidth; }
  int GetWidestSample() const { return m_nMaxSampleWidth; }
  // The face's stored sample font, or null.
  CFont* GetSampleFont(LPCTSTR lpszFace) const;

  CString m_strSample = "abcdeABCDE";
  COLORREF m_clrSample;

 protected:
  afx_msg void OnDropdown();
  DECLARE_MESSAGE_MAP()

 private:
  static int CALLBACK EnumFontProc(const LOGFONTA* lplf, const TEXTMETRICA* lptm, DWORD dwType,
                                   LPARAM lpData);

  CImageList m_imgTrueType;
  CMapStringToPtr m_mapFonts{10};
  int m_nPreviewMode = 2;
  int m_nFontHeight = 16;
  int m_nMaxNameWidth = 0;
  int m_nMaxSampleWidth = 0;
  int m_nFontCount = 0;
  CString m_strAdding;  // the face being added: measured before the list holds it
};
