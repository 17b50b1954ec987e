#include "controls/LedDisplay.h"

#include <algorithm>

#include "controls/MemoryDC.h"

namespace {

constexpr BYTE kSegments[] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02};

void Line(CDC& dc, POINT from, POINT to) {
  dc.MoveTo(from);
  dc.LineTo(to);
}

}  // namespace

LedGeometry LedGeometry::FromHeight(int clientHeight, BOOL applyMargin, int margin) {
  const int h = applyMargin ? clientHeight + 2 - margin : clientHeight;
  LedGeometry g;
  g.thickness = std::max(static_cast<int>(h * 0.06), 1);
  g.length = std::max(static_cast<int>(h * 0.35), 1);
  return g;
}

std::vector<int> LedGeometry::CharacterLefts(const CString& text) const {
  std::vector<int> lefts;
  const int t = thickness, L = length;
  int x = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (i > 0) {
      if (text[i] == ':')
        x += t + L;
      else if (text[i - 1] == ':')
        x += L + 1;
      else
        x += L + 4 * t;
    }
    lefts.push_back(x);
  }
  return lefts;
}

BYTE LedGeometry::SegmentMask(char c) {
  static const BYTE kDigits[] = {0xFC, 0x60, 0xDA, 0xF2, 0x66, 0xB6, 0xBE, 0xE0, 0xFE, 0xF6};
  if (c >= '0' && c <= '9') return kDigits[c - '0'];
  if (c == '-') return 0x02;
  return 0;
}

void LedGeometry::Segment(BYTE bit, int x0, POINT* from, POINT* to) const {
  const int t = thickness, L = length;
  switch (bit) {
    case 0x80:
      *from = {x0 + 2 * t, t}, *to = {x0 + L, t};
      break;
    case 0x40:
      *from = {x0 + t + L, 2 * t}, *to = {x0 + t + L, L + 2 * t};
      break;
    case 0x20:
      *from = {x0 + t + L, L + 4 * t}, *to = {x0 + t + L, 2 * L + 3 * t};
      break;
    case 0x10:
      *from = {x0 + 2 * t, 2 * L + 4 * t}, *to = {x0 + L, 2 * L + 4 * t};
      break;
    case 0x08:
      *from = {x0 + t, L + 4 * t}, *to = {x0 + t, 2 * L + 3 * t};
      break;
    case 0x04:
      *from = {x0 + t, 2 * t}, *to = {x0 + t, L + 2 * t};
      break;
    default:
      *from = {x0 + 2 * t, L + 3 * t}, *to = {x0 + L, L + 3 * t};
      break;
  }
}

BEGIN_MESSAGE_MAP(CLedDisplay, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CLedDisplay::CLedDisplay() = default;

void CLedDisplay::SetInt(int value, BOOL storeFormat, LPCTSTR format) {
  m_bFloatMode = 0;
  if (storeFormat && format != nullptr) m_strFormat = format;
  m_strText.Format(m_strFormat, value);
  if (::IsWindow(GetSafeHwnd())) Invalidate(FALSE);
}

void CLedDisplay::SetFloat(float value, BOOL storeFormat, LPCTSTR format) {
  m_bFloatMode = 1;
  if (storeFormat && format != nullptr) m_strFormat = format;
  CString text;
  text.Format(m_strFormat, static_cast<double>(value));
  m_strText = text;
  if (::IsWindow(GetSafeHwnd())) SetText(text);
}

void CLedDisplay::SetText(LPCTSTR text) {
  m_strText = text != nullptr ? text : "";
  if (::IsWindow(GetSafeHwnd())) {
    Invalidate(FALSE);
    UpdateWindow();
  }
}

void CLedDisplay::ComputeSegmentSizes() {
  CRect client;
  GetClientRect(&client);
  m_geometry = LedGeometry::FromHeight(client.Height(), m_bApplyMargin, m_nMargin);
  m_nPenWidth = m_geometry.thickness;
  m_bSizesComputed = 1;
}

void CLedDisplay::OnPaint() {
  CPaintDC paint(this);
  if (!m_bSizesComputed) ComputeSegmentSizes();
  CRect client;
  GetClientRect(&client);
  CMemoryDC dc(&paint, &client);
  dc.FillSolidRect(&client, m_clrBackground);

  CString text = m_strText;
  if (m_nMinChars > 0 && m_nMinChars > text.GetLength())
    text = CString(' ', m_nMinChars - text.GetLength()) + text;
  const COLORREF unlit = m_bCustomUnlit
                             ? m_clrUnlit
                             : RGB(GetRValue(m_clrLed) / 3, GetGValue(m_clrLed) / 3, GetBValue(m_clrLed) / 3);
  CPen unlitPen(PS_SOLID, m_nPenWidth, unlit);
  CPen litPen(PS_SOLID, m_nPenWidth, m_clrLed);
  CPen* old = dc.SelectObject(&litPen);
  const std::vector<int> lefts = m_geometry.CharacterLefts(text);
  const int t = m_geometry.thickness, L = m_geometry.length;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text[i];
    const int x0 = lefts[static_cast<size_t>(i)];
    POINT from{}, to{};
    if (c != ':' && m_bShowUnlit) {
      dc.SelectObject(&unlitPen);
      for (BYTE bit : kSegments) {
        m_geometry.Segment(bit, x0, &from, &to);
        Line(dc, from, to);
      }
    }
    dc.SelectObject(&litPen);
    if (c == '.') {
      Line(dc, POINT{x0 + 2 * t, 2 * L + 4 * t}, POINT{x0 + L / 2, 2 * L + 4 * t});
    } else if (c == ':') {
      Line(dc, POINT{x0 + 4 * t, L}, POINT{x0 + L / 2 + 2 * t, L});
      Line(dc, POINT{x0 + 4 * t, 2 * L + t}, POINT{x0 + L / 2 + 2 * t, 2 * L + t});
    } else {
      const BYTE mask = LedGeometry::SegmentMask(c);
      for (BYTE bit : kSegments) {
        if ((mask & bit) == 0) continue;
        m_geometry.Segment(bit, x0, &from, &to);
        Line(dc, from, to);
      }
    }
  }
  dc.SelectObject(old);
}

void CLedDisplay::ShowValue() {
  if (m_bFloatMode)
    SetFloat(m_fValue, FALSE, "%.2f");
  else
    SetInt(static_cast<int>(m_fValue), FALSE, "%.3d");
}

void CLedDisplay::OnLButtonDown(UINT, CPoint point) {
  if (!m_bEditable) return;
  SetCapture();
  m_bLeftDrag = 1;
  m_nLastX = point.x;
}

void CLedDisplay::OnRButtonDown(UINT, CPoint point) {
  if (!m_bEditable) return;
  SetCapture();
  m_bRightDrag = 1;
  m_nLastX = point.x;
}

void CLedDisplay::OnMouseMove(UINT, CPoint point) {
  if (!m_bEditable || (!m_bLeftDrag && !m_bRightDrag)) return;
  const int dx = point.x - m_nLastX;
  m_nLastX = point.x;
  m_nDragDelta = dx;
  m_fValue += m_bLeftDrag ? static_cast<float>(dx) : static_cast<float>(dx) * 0.01f;
  m_fValue = std::clamp(m_fValue, m_fMin, m_fMax);
  ShowValue();
}

void CLedDisplay::EndDrag(BOOL left) {
  if (!m_bEditable) return;
  if (!(left ? m_bLeftDrag : m_bRightDrag)) return;
  ::ReleaseCapture();
  if (m_nDragDelta == 0) {
    const float step = m_bFloatMode ? 0.01f : 1.0f;
    m_fValue = std::clamp(left ? m_fValue - step : m_fValue + step, m_fMin, m_fMax);
    ShowValue();
  }
  m_nDragDelta = 0;
  (left ? m_bLeftDrag : m_bRightDrag) = 0;
}

void CLedDisplay::OnLButtonUp(UINT, CPoint) {
  EndDrag(TRUE);
}

void CLedDisplay::OnRButtonUp(UINT, CPoint) {
  EndDrag(FALSE);
}
