// CPlxPixelEditCtrl: the enlarged pixel grid of the button image editor. It edits the caller's
// bitmap in place through its own memory DC with six tools (pencil, fill, line, rectangle,
// ellipse, pick colour) and asks the owner dialog to repaint its small preview after each change.
#pragma once

#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StdControls.h"

class CPlxImageEditorDlg;

// The grid's arithmetic, kept apart from the window so that it can be checked by tables.
namespace plx_pixel_grid {

// Size of one pixel's cell: (client - 2) / image, never below 1, so that an image larger than the
// grid still maps every point to a pixel. 16x15 in 258x242 -> 16x16; 300 wide in 258 -> 1.
int CellSize(int client, int image);
// The pixel under a client coordinate: (v - 1) / cell, clamped into [0, count - 1].
int PointToPixel(int v, int cell, int count);
// The band of a rectangle or ellipse widened to take its end pixel in: (2,2)-(5,5) -> (2,2)-(6,6).
CRect WidenBand(const CRect& band);

}  // namespace plx_pixel_grid

class CPlxPixelEditCtrl : public CButton {
  DECLARE_DYNAMIC(CPlxPixelEditCtrl)

 public:
  enum Tool { Pencil = 0, Fill = 1, Line = 2, Rect = 3, Ellipse = 4, PickColor = 5 };

  explicit CPlxPixelEditCtrl(CPlxImageEditorDlg* pOwner = nullptr);
  ~CPlxPixelEditCtrl() override;

  void SetBitmap(CBitmap* pBitmap);
  void SetColor(COLORREF color);
  void SetTool(int nTool) { m_nTool = nTool; }
  int GetTool() const { return m_nTool; }
  COLORREF GetColor() const { return m_color; }
  CSize GetCellSize() const { return CSize(m_cxCell, m_cyCell); }
  CSize GetImageSize() const { return CSize(m_nWidth, m_nHeight); }
  // The rubber band (start pixel, end pixel) while a shape is dragged; empty otherwise.
  const CRect& GetBand() const { return m_rectBand; }

  // Client point -> pixel (clamped into the image).
  CPoint PointToPixel(CPoint point) const;
  // Band pixels -> client points between cell centres.
  CRect PixelToPoint(const CRect& band) const;
  // The cell area (cursor choice), the hit area (button down) and the drawing grid (painting).
  CRect CellArea() const;
  CRect HitArea() const;
  CRect DrawingGrid() const;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  CRect m_rectPreview;  // preview in the parent's client coordinates, set by the owner

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PreSubclassWindow() override;

  void PaintPixel(CPoint point);
  void FloodFill(CPoint pixel);
  void DrawBand(CDC& dc) const;
  void OnLButtonDown(CPoint point);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonUp(CPoint point);
  BOOL OnSetCursor(UINT nHitTest);
  void InvalidatePreview();
  void RefreshAll();
  void LoadCursors();

  COLORREF m_color = 0;
  CDC m_dcMem;
  int m_nWidth = 0;
  int m_nHeight = 0;
  CBitmap* m_pBitmap = nullptr;  // the editor's caller owns it
  int m_nTool = Pencil;
  HCURSOR m_hCursors[6] = {};
  int m_cxCell = 0;
  int m_cyCell = 0;
  CPlxImageEditorDlg* m_pOwner;
  CPen m_penDraw;
  CPen m_penBand;
  CRect m_rectBand;
};
