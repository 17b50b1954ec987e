// CPlxImageEditorDlg: the modal dialog in which the user draws a toolbar button image pixel by
// pixel. It edits the caller's bitmap in place: the pixel grid, a tool palette, a colour bar, a
// real-size preview, and copy, paste and clear. IDOK means the bitmap holds the drawing.
#pragma once

#include "platform/base/Array.h"
#include "platform/mfc/Dialog.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxColorBar.h"
#include "toolkit/customize/PlxPixelEditCtrl.h"

// The tool palette: a toolbar that takes no extra button border from the visual manager.
class CPlxImageEditorToolBar : public CPlxToolBar {
 public:
  BOOL IsButtonExtraSizeAvailable() const override { return FALSE; }
};

namespace plx_image_editor {

// Where a pasted bitmap lands along one axis: centred, a larger one at 0. (16, 8) -> 4; (16, 32) -> 0.
int PasteOffset(int image, int source);
// How much of a source of `source` pixels fits from `offset` into `image` pixels: the overlap.
int PasteExtent(int image, int source, int offset);
// The drawing colour for a colour chosen in the bar: the standard light grey stands for the
// button face.
COLORREF DrawingColor(COLORREF chosen);
// The 16 colours an 8-bit image offers: default palette entries 0 to 7 and 12 to 19.
void BuildDefaultPalette(CArray<COLORREF, COLORREF>& colors);

}  // namespace plx_image_editor

class CPlxImageEditorDlg : public CDialog {
 public:
  enum { IDD = 16133 };
  CPlxImageEditorDlg(CBitmap* pBitmap, CWnd* pParent = nullptr, int nBitsPixel = -1);
  ~CPlxImageEditorDlg() override;

  // From the pixel grid after the pick-colour tool.
  void OnColorPicked(COLORREF color);

  // Commands (public so that the tests and the host can reach them as a menu would).
  void OnColorBarPick();
  void OnClearImage();
  void OnCopyImage();
  BOOL OnPasteImage();

  CPlxPixelEditCtrl& PixelGrid() { return m_wndLargeDrawArea; }
  CPlxColorBar& ColorBar() { return m_wndPaletteBar; }
  CPlxImageEditorToolBar& ToolBar() { return m_wndToolbar; }
  int GetBitsPixel() const { return m_nBitsPixel; }
  const CRect& GetPreviewImageRect() const { return m_rectPreviewImage; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint();

 public:
  // The update pass of the tool palette and the paste button (the modal loop's idle time).
  void OnKickIdle();

 protected:
  virtual void Message(UINT idString);

  CStatic m_wndColorPickerLocation;
  CStatic m_wndPaletteBarLocation;
  CStatic m_wndPreviewArea;
  CPlxPixelEditCtrl m_wndLargeDrawArea;
  CBitmap* m_pBitmap;  // the caller's
  int m_nWidth = 0;
  int m_nHeight = 0;
  int m_nBitsPixel;
  CRect m_rectPreviewFrame;
  CRect m_rectPreviewImage;
  CPlxImageEditorToolBar m_wndToolbar;
  CPlxColorBar m_wndPaletteBar;
};
