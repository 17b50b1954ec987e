// Drawing the objects of a slide: into the editor's DC at its scale with the tracker, and into
// frames of any size from the 768-unit reference frame.
#include <algorithm>
#include <cmath>

#include "modules/data/DrawSupport.h"
#include "modules/data/EMF.h"
#include "modules/data/ImageSprite.h"
#include "modules/data/StyledText.h"
#include "modules/data/TextMacro.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdiplus/GdiPlus.h"

namespace {

Gdiplus::RectF BoxOf(const CPoint& position, const CSize& size, float factor) {
  return Gdiplus::RectF(position.x * factor, position.y * factor, size.cx * factor, size.cy * factor);
}

void DrawTracker(HDC dc, const CRect& r, int tracker) {
  if (tracker == 2) {
    // Being resized: a dotted frame that shows on any picture.
    HPEN pen = CreatePen(PS_DOT, 1, RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int oldMode = SetBkMode(dc, OPAQUE);
    const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SetBkColor(dc, oldBack);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    return;
  }
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RECT outer{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
  FrameRect(dc, &outer, white);
  RECT frame = r;
  FrameRect(dc, &frame, black);
  const int k = CDVDImageSprite::kHandleRadius;
  const int midX = (r.left + r.right) / 2;
  const int midY = (r.top + r.bottom) / 2;
  const POINT centres[8] = {{r.left, r.top},     {midX, r.top},    {r.right, r.top},   {r.right, midY},
                            {r.right, r.bottom}, {midX, r.bottom}, {r.left, r.bottom}, {r.left, midY}};
  for (const POINT& c : centres) {
    RECT handle{c.x - k, c.y - k, c.x + k + 1, c.y + k + 1};
    FillRect(dc, &handle, white);
    FrameRect(dc, &handle, black);
  }
}

}  // namespace

void CDVDImageSprite::Draw(HDC dc, const POINT& origin, int tracker) const {
  if (dc == nullptr) return;
  pictavo::data::EnsureGdiplus();
  {
    Gdiplus::Graphics graphics(dc);
    if (graphics.GetLastStatus() == Gdiplus::Ok) {
      graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
      graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
      graphics.TranslateTransform(static_cast<Gdiplus::REAL>(origin.x), static_cast<Gdiplus::REAL>(origin.y));
      DrawInto(graphics, m_fFactor, nullptr);
    }
  }
  if (tracker == 1 || tracker == 2) DrawTracker(dc, GetBoundRect(origin), tracker);
}

BOOL CDVDImageText::DrawInto(Gdiplus::Graphics& graphics, float factor, const CTextMacro* macros) const {
  CString shown;
  if (macros != nullptr)
    shown = macros->ConvertNormalOutput(m_strText);
  else
    shown = m_strConverterText.IsEmpty() ? m_strText : m_strConverterText;
  if (shown.IsEmpty() || factor <= 0) return FALSE;
  std::string text(shown.View());
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  const pictavo::data::TextLook look = pictavo::data::LookOfTextFont(m_font, factor);
  // The object's box is the text's measured size; an object never measured takes the text's.
  Gdiplus::RectF box = BoxOf(m_ptPosition, m_szSize, factor);
  if (box.Width <= 0 || box.Height <= 0) {
    const Gdiplus::RectF measured = pictavo::data::MeasureStyledText(pictavo::data::Widen(text), look);
    box.Width = measured.X + measured.Width;
    box.Height = measured.Y + measured.Height;
  }
  pictavo::data::DrawStyledText(graphics, pictavo::data::Widen(text), look, box, false);
  return TRUE;
}

BOOL CDVDImageProps::DrawInto(Gdiplus::Graphics& graphics, float factor, const CTextMacro*) const {
  if (m_strPathName.IsEmpty() || factor <= 0 || m_szSize.cx <= 0 || m_szSize.cy <= 0) return FALSE;
  CEMF art;
  if (!art.Load(m_strPathName)) return FALSE;
  return art.Draw(graphics, BoxOf(m_ptPosition, m_szSize, factor));
}
