#include "modules/xml/MenuObjects.h"

#include <algorithm>
#include <cmath>

#include "modules/xml/MenuFonts.h"

namespace pictavo::menu {

int MenuScreen::ToTvX(int x) const {
  return static_cast<int>(std::lround(static_cast<double>(x) * width / kDesignWidth));
}
int MenuScreen::ToTvY(int y) const {
  return static_cast<int>(std::lround(static_cast<double>(y) * height / kDesignHeight));
}
int MenuScreen::FromTvX(int x) const {
  return static_cast<int>(std::lround(static_cast<double>(x) * kDesignWidth / width));
}
int MenuScreen::FromTvY(int y) const {
  return static_cast<int>(std::lround(static_cast<double>(y) * kDesignHeight / height));
}
CRect MenuScreen::ToTv(const RECT& design) const {
  return CRect(ToTvX(design.left), ToTvY(design.top), ToTvX(design.right), ToTvY(design.bottom));
}

}  // namespace pictavo::menu

using pictavo::menu::Align;

IMPLEMENT_DYNAMIC(CMenuObject, CObject)
IMPLEMENT_DYNAMIC(CMenuText, CMenuObject)
IMPLEMENT_DYNAMIC(CMenuTitleText, CMenuText)
IMPLEMENT_DYNAMIC(CMenuAlbumText, CMenuText)
IMPLEMENT_DYNAMIC(CMenuThumbnail, CMenuObject)
IMPLEMENT_DYNAMIC(CMenuButton, CMenuObject)

CMenuText::CMenuText(const pictavo::menu::MenuScreen& screen, const CString& text,
                     const pictavo::menu::TextStyle& style, const RECT& box, Align align,
                     const POINT* position)
    : CMenuObject(screen),
      m_text(text),
      m_style(style),
      m_box(box),
      m_align(align),
      m_placed(position != nullptr) {
  if (position) m_position = *position;
  Relayout();
}

void CMenuText::Relayout() {
  const int shadow = m_style.shadow ? m_style.shadowSize : 0;
  m_shown = pictavo::menu::FitText(m_style, m_text.View(), m_box.right - m_box.left - shadow);
  SIZE size = pictavo::menu::MeasureText(m_style, m_shown);
  size.cx += shadow;
  size.cy += shadow;
  m_size = size;
  if (m_placed) return;
  const int boxWidth = m_box.right - m_box.left, boxHeight = m_box.bottom - m_box.top;
  switch (m_align) {
    case Align::kLeft:
      m_position.x = m_box.left;
      break;
    case Align::kCenter:
      m_position.x = m_box.left + (boxWidth - size.cx) / 2;
      break;
    case Align::kRight:
      m_position.x = m_box.right - size.cx;
      break;
  }
  m_position.y = m_box.top + (boxHeight - size.cy) / 2;
}

CRect CMenuText::GetTextRect() const {
  std::lock_guard lock(m_screen.lock);
  return m_screen.ToTv(RECT{m_position.x, m_position.y, m_position.x + m_size.cx, m_position.y + m_size.cy});
}

CPoint CMenuText::GetTextPosition() const {
  std::lock_guard lock(m_screen.lock);
  return CPoint(m_screen.ToTvX(m_position.x), m_screen.ToTvY(m_position.y));
}

void CMenuText::SetTextPosition(POINT point) {
  std::lock_guard lock(m_screen.lock);
  m_position = POINT{m_screen.FromTvX(point.x), m_screen.FromTvY(point.y)};
  m_placed = true;
}

CString CMenuText::GetText() const {
  std::lock_guard lock(m_screen.lock);
  return m_text;
}

void CMenuText::SetText(LPCTSTR lpszText) {
  std::lock_guard lock(m_screen.lock);
  m_text = lpszText;
  Relayout();
}

CString CMenuText::GetFontFaceName() const {
  std::lock_guard lock(m_screen.lock);
  return CString(m_style.face);
}

int CMenuText::GetFontSize() const {
  std::lock_guard lock(m_screen.lock);
  return m_style.size;
}

COLORREF CMenuText::GetFontColor() const {
  std::lock_guard lock(m_screen.lock);
  return m_style.color;
}

BOOL CMenuText::HasShadow() const {
  std::lock_guard lock(m_screen.lock);
  return m_style.shadow;
}

int CMenuText::GetShadowSize() const {
  std::lock_guard lock(m_screen.lock);
  return m_style.shadowSize;
}

COLORREF CMenuText::GetShadowColor() const {
  std::lock_guard lock(m_screen.lock);
  return m_style.shadowColor;
}

void CMenuText::SetFont(LPCTSTR lpszFace, int nSize, COLORREF color) {
  std::lock_guard lock(m_screen.lock);
  if (lpszFace && *lpszFace) m_style.face = lpszFace;
  m_style.size = std::clamp(nSize, 1, 500);
  m_style.color = color & 0xFFFFFF;
  Relayout();
}

void CMenuText::SetShadow(BOOL bShadow) {
  std::lock_guard lock(m_screen.lock);
  m_style.shadow = bShadow != FALSE;
  Relayout();
}

void CMenuText::SetShadowFont(COLORREF color, int nSize) {
  std::lock_guard lock(m_screen.lock);
  m_style.shadowColor = color & 0xFFFFFF;
  m_style.shadowSize = std::clamp(nSize, 1, 100);
  Relayout();
}

CRect CMenuThumbnail::GetRect() const {
  std::lock_guard lock(m_screen.lock);
  return m_screen.ToTv(m_rect);
}

CRect CMenuButton::GetRect() const {
  std::lock_guard lock(m_screen.lock);
  return m_screen.ToTv(m_rect);
}
