#include "controls/DiscCapacityGauge.h"

#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "shell/UIHelpers.h"

namespace {

constexpr COLORREF kFrameLight = 0x780000;
constexpr COLORREF kFrameDark = 0x320000;
constexpr COLORREF kLimitRed = 0x0000FF;
constexpr COLORREF kDvdGreen = 0x32A03C;
constexpr COLORREF kCdGreen = 0x00DE00;

int Rounded(double value) {
  return static_cast<int>(value + 0.5);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDiscCapacityGauge, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDiscCapacityGauge::CDiscCapacityGauge() = default;
CDiscCapacityGauge::~CDiscCapacityGauge() = default;

CString CDiscCapacityGauge::ScaleLabel(BOOL bDvd, int i) {
  CString text;
  if (i == 0) {
    text.Format("%d MB", 0);
  } else if (bDvd) {
    const int v = i * 600;
    text.Format("%d.%d G", v / 1000, (v % 1000) / 100);
  } else {
    text.Format("%d M", i * 100);
  }
  return text;
}

int CDiscCapacityGauge::MajorTickX(const DiscGaugeGeometry& g, int i) {
  return i == 8 ? g.scale.right - 1 : g.scale.left + i * g.majorStep;
}

DiscGaugeGeometry CDiscCapacityGauge::Measure(const CRect& client, BOOL bDvd, int nValue) {
  DiscGaugeGeometry g;
  g.scale = CRect(client.left + 2, client.top, client.right - 2, client.bottom - 12);
  const int w = g.scale.Width();
  g.majorStep = Rounded(w / 8.0);
  g.labelEvery = w <= 160 ? 4 : (w <= 320 ? 2 : 1);
  g.limitX = g.scale.left + (bDvd ? Rounded(w * 47.0 / 48.0) : Rounded(w * 0.925));
  g.greenLeft = g.scale.left + 1;
  if (bDvd) {
    const int e = nValue > 4800 ? 4800 : nValue;
    if (e <= 0) return g;
    if (e <= 4700) {
      g.greenRight = g.scale.left + Rounded(static_cast<double>(e) * w / 4800.0);
    } else {
      g.greenRight = g.limitX;
      g.redLeft = g.limitX;
      g.redRight = g.scale.left + (w * e) / 4800 - 2;
    }
  } else {
    const int f = nValue > 800 ? 4800 : nValue * 6;
    if (f <= 0) return g;
    if (f <= 4440) {
      g.greenRight = g.scale.left + (w * f) / 4800;
    } else {
      g.greenRight = g.scale.left + (w * 74) / 80;
      g.redLeft = g.greenRight;
      g.redRight = g.scale.left + (w * f) / 4800 - 2;
    }
  }
  return g;
}

void CDiscCapacityGauge::DrawDvdScale(CDC* pDC) {
  DrawScale(pDC, TRUE);
}

void CDiscCapacityGauge::DrawCdScale(CDC* pDC) {
  DrawScale(pDC, FALSE);
}

void CDiscCapacityGauge::DrawScale(CDC* pDC, BOOL bDvd) {
  CRect client;
  GetClientRect(&client);
  const DiscGaugeGeometry g = Measure(client, bDvd, m_nValue);
  CRect r = g.scale;

  pDC->FillSolidRect(&r, bDvd ? GetSkinColor(SKIN_COLOR_MAIN_DLG) : ::GetSysColor(COLOR_BTNFACE));
  pDC->Draw3dRect(&r, kFrameLight, kFrameDark);
  pDC->DrawEdge(&r, BDR_SUNKENINNER, BF_RECT);

  pDC->SetBkMode(TRANSPARENT);
  CFont font;
  font.CreateFont(14, 0, 0, 0, 300, FALSE, FALSE, FALSE, 0, 0, 0, 0, FF_SWISS, "Arial");
  CFont* oldFont = pDC->SelectObject(&font);
  CPen tickPen(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* oldPen = pDC->SelectObject(&tickPen);

  pDC->MoveTo(r.left, r.bottom);
  pDC->LineTo(r.right, r.bottom);
  for (int i = 0; i <= 8; ++i) {
    const int x = MajorTickX(g, i);
    pDC->MoveTo(x, r.bottom);
    pDC->LineTo(x, r.bottom + 6);
    if (i % g.labelEvery == 0 && i % 2 == 0) {
      const int labelX = i == 8 ? r.right - (bDvd ? 25 : 30) : r.left + i * g.majorStep + 2;
      pDC->TextOut(labelX, r.bottom + 1, ScaleLabel(bDvd, i));
    }
    if (i < 8) {
      const int minor = r.left + i * g.majorStep + g.majorStep / 2;
      pDC->MoveTo(minor, r.bottom);
      pDC->LineTo(minor, r.bottom + 3);
    }
  }
  CPen limitPen(PS_SOLID, 1, kLimitRed);
  pDC->SelectObject(&limitPen);
  pDC->MoveTo(g.limitX, r.top);
  pDC->LineTo(g.limitX, r.bottom);
  pDC->SelectObject(oldFont);
  pDC->SelectObject(oldPen);

  const COLORREF green = bDvd ? kDvdGreen : kCdGreen;
  if (g.greenRight > g.greenLeft)
    pDC->FillSolidRect(CRect(g.greenLeft, r.top + 1, g.greenRight, r.bottom - 1), green);
  // Just above the limit the red part's end can fall left of the line: nothing red is drawn then.
  if (g.redRight > g.redLeft)
    pDC->FillSolidRect(CRect(g.redLeft, r.top + 1, g.redRight, r.bottom - 1), kLimitRed);
}

void CDiscCapacityGauge::OnPaint() {
  CPaintDC dc(this);
  if (m_bDvd)
    DrawDvdScale(&dc);
  else
    DrawCdScale(&dc);
}

BOOL CDiscCapacityGauge::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_MAIN_DLG));
  return FALSE;
}
