// CPlxColorChooserCtrl: one owner-drawn button that is, by its type, the colour dialog's two-colour
// sample, its luminance bar, its hue/saturation plane, its colour hexagon or its grey row. It
// keeps a colour with its hue, luminance and saturation and tells its parent of every change with
// WM_COMMAND (BN_CLICKED; BN_DOUBLECLICKED from the plane, hexagon and greys).
#pragma once

#include "platform/base/Array.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StdControls.h"

// One hexagonal cell of the hexagon or the grey row.
class CPlxColorCell : public CObject {
 public:
  CPlxColorCell(int x, int y, int nSize, COLORREF color, COLORREF displayColor);

  // The hexagon of size s centred on (cx, cy), a point at top and bottom.
  static void SetHexagon(POINT* points, int cx, int cy, int s);
  BOOL HitTest(CPoint point) const;
  void DrawSelection(CDC* pDC) const;

  POINT m_points[6];
  COLORREF m_color;         // the value a click selects
  COLORREF m_displayColor;  // what is painted (a palette index on 8-bit displays)
  int m_x, m_y, m_nSize;
};

class CPlxColorChooserCtrl : public CButton {
  DECLARE_DYNAMIC(CPlxColorChooserCtrl)

 public:
  enum { Sample = 0, LuminanceBar = 1, Plane = 2, Hexagon = 3, Greys = 4 };

  CPlxColorChooserCtrl();
  ~CPlxColorChooserCtrl() override;

  void SetChooserType(int nType) { m_nType = nType; }
  int GetChooserType() const { return m_nType; }
  void SetPalette(CPalette* pPalette);
  void SetColor(COLORREF color);
  void SelectColor(COLORREF color);
  void SelectColor(int r, int g, int b) { SelectColor(RGB(r, g, b)); }
  void SetInitialColor(COLORREF color) { m_colorInitial = color; }
  COLORREF GetColor() const { return m_colorCurrent; }
  COLORREF GetInitialColor() const { return m_colorInitial; }
  // A value of -1 keeps the stored one.
  void SetHueLumSat(double hue, double lum, double sat, BOOL bRedraw = TRUE);
  void GetHueLumSat(double& hue, double& lum, double& sat) const;
  void SetBarWidth(int n);
  int GetBarWidth() const { return m_nBarWidth; }

  // The cells, built on the first paint (or by the Build calls).
  const CObArray& GetCells() const { return m_cells; }
  CPlxColorCell* GetCell(int i) const { return static_cast<CPlxColorCell*>(m_cells[i]); }
  // Builds the hexagon's or grey row's cells from the client area when there are none yet.
  void EnsureCells();
  void BuildHexagonCells(CRect rect);
  void BuildGreyCells(CRect rect);
  // The cell a click at the point selects (first in array order), or -1.
  int HitTestCell(CPoint point) const;
  // The cell drawn with the selection frame (the last one of the current colour), or -1.
  int GetSelectedCell() const;

  CPoint GetMarkerPoint() const;
  CRect GetMarkerRect() const;
  double LuminanceFromY(int y) const;
  int YFromLuminance(double lum) const;

  // Component snapping of cell colours: ends and the middle values 128 and 192 within tol.
  static int SnapColorComponent(int v, int tol);
  static COLORREF SnapColor(COLORREF color, int tol);
  // On an 8-bit display with a palette: the palette entry nearest to the colour (drawing here takes
  // plain colours, so the entry's own colour stands for its index); otherwise the colour.
  static COLORREF DisplayColor(COLORREF color, CPalette* palette);
  // The angle of (dx, dy) in whole degrees, screen y downward.
  static int HueAngle(int dx, int dy);

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  virtual void DrawMarker(CDC* pDC);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PreSubclassWindow() override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  void OnMouse(CPoint point, UINT nFlags);
  BOOL OnKey(UINT nChar);
  void NotifyParent(UINT code = BN_CLICKED);
  void DrawLuminanceBar(CDC* pDC);
  void DrawPlane(CDC* pDC);
  void DrawCells(CDC* pDC);
  void AddCell(int x, int y, int s, COLORREF color, int tol);
  CRect ClientRect() const;

  int m_nType = Plane;
  double m_dblLum = 0.5;
  double m_dblSat = 0;
  double m_dblHue = 0;
  COLORREF m_colorCurrent = 0;
  COLORREF m_colorInitial = 0;
  int m_nBarWidth = 20;
  CPalette* m_pPalette = nullptr;  // the caller's
  CBitmap m_bmpPicture;
  CObArray m_cells;  // owned CPlxColorCell
  BOOL m_bPaletteOwnChange = FALSE;
};
