// The "Text Brush" dialog (template 368): how the letters of a text are filled, a solid colour, a
// linear gradient between two colours or a texture picture of the texture folder. It edits its own
// copy of the caller's brush record; OK copies it back whole, Cancel leaves the caller's alone.
// CTextBrushButton is the owner-drawn button that shows a brush record as a filled sample (the text
// page's "Brush" and the dialog's two colour buttons).
#pragma once

#include "modules/data/TextRecords.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/StdControls.h"

#define IDD_TEXT_BRUSH 368

#define IDC_TEXT_BRUSH_TEXTURES 1243
#define IDC_TEXT_BRUSH_SOLID_RADIO 1455
#define IDC_TEXT_BRUSH_FIRST_COLOR 1456
#define IDC_TEXT_BRUSH_GRADIENT_RADIO 1457
#define IDC_TEXT_BRUSH_SECOND_COLOR 1458
#define IDC_TEXT_BRUSH_TEXTURE_RADIO 1462

class CTextBrushButton : public CButton {
 public:
  CTextBrushButton() = default;

  // The record shown (not owned; null draws nothing) and the folder its texture is read from.
  void SetBrushStyle(_TextBrushStyle* pStyle) { m_pStyle = pStyle; }
  void SetTextureFolder(LPCTSTR lpszFolder);
  _TextBrushStyle* GetBrushStyle() const { return m_pStyle; }
  LPCTSTR GetTextureFolder() const { return m_szTextureFolder; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:
  _TextBrushStyle* m_pStyle = nullptr;
  char m_szTextureFolder[260] = {};
};

class CTextBrushDlg : public CDialog {
 public:
  explicit CTextBrushDlg(CWnd* pParent = nullptr);

  // Set by the caller before DoModal; replaced whole by the working record on OK.
  _TextBrushStyle* m_pStyle = nullptr;
  // The dialog's own copy, what the buttons show.
  const _TextBrushStyle& GetWorkingStyle() const { return m_style; }

  // "texteffect/texture/" beside the executable (with the trailing separator).
  static CString GetTextureFolder();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void UpdateControls();
  afx_msg void OnFirstColor();
  afx_msg void OnSecondColor();
  DECLARE_MESSAGE_MAP()

  // The caller's record into the radio group, the colours and the texture choice.
  void LoadStyle();
  // The texture folder's files, in the order found, into the combo.
  void FillTextures();
  // Runs the colour dialog from `color`; TRUE with the colour replaced on OK. Tests replace it.
  virtual BOOL PickColor(COLORREF& color);

 private:
  _TextBrushStyle m_style{};
  CComboBox m_comboTextures;
  CTextBrushButton m_btnSecond;  // "Clr1": the gradient's second colour
  CTextBrushButton m_btnFirst;   // "Solid": the solid colour, or the gradient's first
  int m_nKind = -1;
  int m_nTexture = -1;
  char m_szTextureFolder[260] = {};
};
