// The photo editor's "Text" tab (template 300): the face, size, flags, shadow, brush and effect
// style of the dialog's working text style; every change goes to the canvas, which applies it to
// the selected text. Its buttons add a text, insert macros, make the selected object album-wide and
// delete it. CTextEffectListBox shows the styles of texteffect/effect_list.xml as samples of "A".
#pragma once

#include "controls/ColorPicker.h"
#include "controls/FontPreviewCombo.h"
#include "editing/TextBrushDlg.h"
#include "modules/data/TextRecords.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"

#define IDD_PHOTO_EDIT_TEXT 300
#define IDR_TEXT_MACRO_MENU 237

// Sent between the canvas and the text page; wParam a _DVDImageTextFont pointer.
#ifndef WM_TEXT_FONT_CHANGED
#define WM_TEXT_FONT_CHANGED 0x06B4
#endif

#define IDC_TEXT_EFFECT_LIST 1021
#define IDC_TEXT_SHADOW 1179
#define IDC_TEXT_FACE 1210
#define IDC_TEXT_COLOR 1218
#define IDC_TEXT_SHADOW_COLOR 1220
#define IDC_TEXT_SIZE 1223
#define IDC_TEXT_SHADOW_Y_SPIN 1224
#define IDC_TEXT_SHADOW_Y 1225
#define IDC_TEXT_SHADOW_X_SPIN 1226
#define IDC_TEXT_SHADOW_X 1227
#define IDC_TEXT_SIZE_SPIN 1228
#define IDC_TEXT_BOLD 1229
#define IDC_TEXT_ITALIC 1230
#define IDC_TEXT_UNDERLINE 1231
#define IDC_TEXT_ALIGN_LEFT 1232
#define IDC_TEXT_ALIGN_CENTER 1233
#define IDC_TEXT_ALIGN_RIGHT 1234
#define IDC_TEXT_ADD 1258
#define IDC_TEXT_ADD_MACRO 1259
#define IDC_TEXT_APPLY_ALL 1358
#define IDC_TEXT_DELETE 1385
#define IDC_TEXT_BRUSH 1454
#define IDC_TEXT_FACE_LABEL 1608

class CPhotoEditCanvas;

class CTextEffectListBox : public CListBox {
 public:
  void SetItemSize(int nHeight, int nWidth) { m_nItemHeight = nHeight, m_nItemWidth = nWidth; }
  // The style an item shows, or null.
  _TextEffect* GetStyle(int nIndex) const;

  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  int m_nItemHeight = 60;
  int m_nItemWidth = 90;
};

class CPhotoEditOperTextPage : public CPropertyPage {
 public:
  // `pTextFont`: the dialog's working text style, filled with the default style here.
  explicit CPhotoEditOperTextPage(_DVDImageTextFont* pTextFont);
  ~CPhotoEditOperTextPage() override;

  // The canvas the page posts style changes to (set by the dialog after creating the page).
  void SetCanvas(CPhotoEditCanvas* pCanvas) { m_pCanvas = pCanvas; }
  CPhotoEditCanvas* GetCanvas() const { return m_pCanvas; }
  _DVDImageTextFont* GetTextFont() const { return m_pTextFont; }

  // Shows a record in the controls, then sends the dialog's record to the canvas.
  afx_msg LRESULT OnTextFontChanged(WPARAM wParam, LPARAM lParam);
  // The controls into the record (sizes and offsets clamped to their spins' ranges), then to the
  // canvas.
  void ReadControls();
  // Copies style n of the list into the record; an index outside the list does nothing.
  void ApplyEffectStyle(int nIndex);
  // Lists the styles of the effect list file (every style present, whatever its count says) and
  // selects the fourth, or the last when there are fewer.
  void LoadEffectList(const CString& path = GetEffectListPath());
  // Shows a face in the combo, the first face when it is not listed.
  void SelectFace(LPCTSTR lpszFace);

  // The effect list file, "texteffect/effect_list.xml" beside the executable.
  static CString GetEffectListPath();

  CTextEffectListBox& GetEffectList() { return m_listEffects; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnControlChanged();
  afx_msg void OnEditLeft();
  afx_msg LRESULT OnColorPicked(WPARAM wParam, LPARAM lParam);
  afx_msg void OnAddText();
  afx_msg void OnAddMacroText();
  afx_msg void OnApplyToAll();
  afx_msg void OnDeleteSelected();
  afx_msg void OnBrush();
  afx_msg void OnEffectSelChange();
  afx_msg void OnEffectDblClk();
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  // Runs the brush dialog on the record's effect brush; IDOK or IDCANCEL. Tests replace it.
  virtual INT_PTR RunBrushDialog(_TextBrushStyle* pStyle);

 private:
  BOOL CanvasExists() const;
  HWND CanvasWindow() const;
  BOOL IsCanvasTextSelected() const;
  BOOL CanvasHasSelection() const;
  void CanvasAddText();
  void PostToCanvas();
  void FreeEffectList();
  // The members into the controls without reading them back.
  void ShowValues();

  CColorPickerButton m_btnTextColor;
  CColorPickerButton m_btnShadowColor;
  CFontPreviewCombo m_comboFace;
  CString m_strFace;
  CTextBrushButton m_btnBrush;
  CTextEffectListBox m_listEffects;
  CSpinButtonCtrl m_spinShadowX;
  CSpinButtonCtrl m_spinShadowY;
  CSpinButtonCtrl m_spinSize;
  int m_bShadow = 0;
  int m_nSize = 0;
  int m_nShadowX = 0;
  int m_nShadowY = 0;
  int m_bBold = 0;
  int m_bItalic = 0;
  int m_bUnderline = 0;
  int m_nAlign = -1;
  COLORREF* m_pTextColor;
  COLORREF* m_pShadowColor;
  CPhotoEditCanvas* m_pCanvas = nullptr;
  _DVDImageTextFont* m_pTextFont;
  BOOL m_bUpdating = TRUE;  // set until OnInitDialog: the page's own initialisation is ignored
  CBrush m_brushBackground;
};
