#include "modules/xml/MenuRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace pictavo::menu {
namespace {

COLORREF Lighten(COLORREF color, COLORREF toward, double amount) {
  const auto channel = [amount](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * amount)); };
  return RGB(channel(GetRValue(color), GetRValue(toward)), channel(GetGValue(color), GetGValue(toward)),
             channel(GetBValue(color), GetBValue(toward)));
}

int Alpha(int percent) {
  return std::clamp(percent, 0, 100) * 255 / 100;
}

RECT Offset(RECT r, int dx, int dy) {
  return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

RECT Deflate(RECT r, int by) {
  return RECT{r.left + by, r.top + by, std::max(r.left + by, r.right - by),
              std::max(r.top + by, r.bottom - by)};
}

}  // namespace

Canvas::Canvas(int width, int height) : m_width(width), m_height(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  m_bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  m_bits = static_cast<uint32_t*>(bits);
  m_dc = CreateCompatibleDC(nullptr);
  if (m_dc && m_bitmap) m_oldBitmap = SelectObject(m_dc, m_bitmap.get());
}

Canvas::~Canvas() {
  if (m_dc) {
    if (m_oldBitmap) SelectObject(m_dc, m_oldBitmap);
    DeleteDC(m_dc);
  }
}

PixelView Canvas::Pixels() const {
  GdiFlush();
  return PixelView{m_bits, m_width, m_height, m_width};
}

BitmapPtr Canvas::DetachBitmap() {
  if (m_dc && m_oldBitmap) SelectObject(m_dc, m_oldBitmap);
  m_oldBitmap = nullptr;
  m_bits = nullptr;
  return std::move(m_bitmap);
}

void MenuRenderer::Release() {
  m_canvas.reset();
  m_background.clear();
  m_background.shrink_to_fit();
  m_backgroundWidth = m_backgroundHeight = 0;
  m_fonts.clear();
}

HFONT MenuRenderer::Font(const TextStyle& style, int height) {
  auto key = std::make_tuple(style.face, height, style.bold);
  auto found = m_fonts.find(key);
  if (found == m_fonts.end()) {
    if (m_fonts.size() > 64) m_fonts.clear();  // a user trying many faces and sizes
    found = m_fonts.emplace(std::move(key), CreateMenuFont(style, height)).first;
  }
  return found->second.get();
}

void MenuRenderer::PrepareBackground(const MenuTemplate& menu, const std::string& image) {
  if (m_backgroundWidth == m_canvas->Width() && m_backgroundHeight == m_canvas->Height()) return;
  const PixelView view = m_canvas->Pixels();
  FillBackground(view, menu.background);
  if (!image.empty()) {
    // A picture that no longer loads leaves the colours: the menu still shows.
    if (BitmapPtr picture{pictavo::gdi::LoadBmpFile(image.c_str(), true)}) {
      BITMAP info{};
      GetObject(picture.get(), sizeof(info), &info);
      HDC source = CreateCompatibleDC(nullptr);
      HGDIOBJ old = SelectObject(source, picture.get());
      SetStretchBltMode(m_canvas->Dc(), HALFTONE);
      StretchBlt(m_canvas->Dc(), 0, 0, view.width, view.height, source, 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
    }
  }
  const PixelView drawn = m_canvas->Pixels();
  m_background.resize(static_cast<size_t>(drawn.width) * drawn.height);
  for (int y = 0; y < drawn.height; ++y)
    std::memcpy(&m_background[static_cast<size_t>(y) * drawn.width], drawn.Row(y),
                drawn.width * sizeof(uint32_t));
  m_backgroundWidth = drawn.width;
  m_backgroundHeight = drawn.height;
}

void MenuRenderer::DrawShapes(const PixelView& view, const MenuTemplate& menu, const MenuScreen& screen,
                              double phase) {
  const double sx = static_cast<double>(screen.width) / kDesignWidth;
  const double sy = static_cast<double>(screen.height) / kDesignHeight;
  for (const Shape& shape : menu.shapes) {
    const double angle = 2 * std::numbers::pi * (phase + shape.phase / 360.0);
    const double dx = shape.driftX * std::sin(angle), dy = shape.driftY * std::cos(angle);
    const double left = (shape.rect.left + dx) * sx, right = (shape.rect.right + dx) * sx;
    const double top = (shape.rect.top + dy) * sy, bottom = (shape.rect.bottom + dy) * sy;
    const int alpha = Alpha(shape.opacity);
    switch (shape.kind) {
      case ShapeKind::kRectangle:
        BlendRect(view,
                  RECT{static_cast<LONG>(std::lround(left)), static_cast<LONG>(std::lround(top)),
                       static_cast<LONG>(std::lround(right)), static_cast<LONG>(std::lround(bottom))},
                  shape.color, alpha);
        break;
      case ShapeKind::kEllipse:
        BlendEllipse(view, left, top, right, bottom, shape.color, alpha);
        break;
      case ShapeKind::kRing:
        BlendEllipse(view, left, top, right, bottom, shape.color, alpha, std::max(1.0, shape.thickness * sy));
        break;
      case ShapeKind::kStar: {
        PointF points[10];
        StarPoints(left, top, right, bottom, points);
        BlendPolygon(view, points, shape.color, alpha);
        break;
      }
    }
  }
}

void MenuRenderer::DrawThumbnail(const PixelView& view, const MenuTemplate& menu, const MenuScreen& screen,
                                 const RECT& design) {
  const CRect r = screen.ToTv(design);
  const int shadow = std::max(2, screen.ToTvX(5));
  BlendRect(view, Offset(r, shadow, shadow), RGB(0, 0, 0), 70);
  const ThumbnailLook& look = menu.thumbnail;
  BlendRect(view, r, look.frame, 255);
  const RECT inner = Deflate(r, look.frameWidth > 0 ? std::max(1, screen.ToTvX(look.frameWidth)) : 0);
  BlendRect(view, inner, look.fill, 255);
  // A small landscape marks the place of the album's picture.
  const double w = inner.right - inner.left, h = inner.bottom - inner.top;
  if (w < 12 || h < 12) return;
  const COLORREF mark = Lighten(look.fill, look.frame, 0.3);
  const double l = inner.left, t = inner.top, b = inner.bottom;
  const double sun = std::min(w, h) * 0.11;
  BlendEllipse(view, l + w * 0.72 - sun, t + h * 0.3 - sun, l + w * 0.72 + sun, t + h * 0.3 + sun, mark, 230);
  const PointF hills[] = {{l, b},
                          {l + w * 0.3, t + h * 0.48},
                          {l + w * 0.52, t + h * 0.74},
                          {l + w * 0.7, t + h * 0.56},
                          {l + w, t + h * 0.82},
                          {l + w, b}};
  BlendPolygon(view, hills, mark, 230);
}

void MenuRenderer::DrawButton(const PixelView& view, const MenuTemplate& menu, const MenuScreen& screen,
                              const CMenuButton& button) {
  const int id = button.GetButtonID() == CMenuButton::kNextPage ? 1 : 0;
  const ButtonLook& look = menu.buttons[id];
  const CRect r = screen.ToTv(button.DesignRect());
  BlendEllipse(view, r.left, r.top, r.right, r.bottom, look.fill, Alpha(look.opacity));
  BlendEllipse(view, r.left, r.top, r.right, r.bottom, look.color, 200, std::max(1.5, r.Height() * 0.05));
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  const double w = r.Width(), h = r.Height(), dir = id == 1 ? 1.0 : -1.0;
  const PointF arrow[] = {
      {cx + dir * w * 0.22, cy}, {cx - dir * w * 0.14, cy - h * 0.24}, {cx - dir * w * 0.14, cy + h * 0.24}};
  BlendPolygon(view, arrow, look.color, 255);
}

void MenuRenderer::DrawMenuText(const MenuScreen& screen, const CMenuText& text) {
  const std::string& shown = text.ShownText();
  if (shown.empty()) return;
  const TextStyle& style = text.Style();
  HDC dc = m_canvas->Dc();
  HGDIOBJ old = SelectObject(dc, Font(style, std::max(1, screen.ToTvY(style.size))));
  SetBkMode(dc, TRANSPARENT);
  const POINT at = text.DesignPosition();
  const int x = screen.ToTvX(at.x), y = screen.ToTvY(at.y);
  if (style.shadow) {
    SetTextColor(dc, style.shadowColor);
    TextOut(dc, x + std::max(1, screen.ToTvX(style.shadowSize)),
            y + std::max(1, screen.ToTvY(style.shadowSize)), shown.c_str(), static_cast<int>(shown.size()));
  }
  SetTextColor(dc, style.color);
  TextOut(dc, x, y, shown.c_str(), static_cast<int>(shown.size()));
  SelectObject(dc, old);
}

bool MenuRenderer::DrawPage(HDC dc, const MenuTemplate& menu, const MenuScreen& screen,
                            const CObList* objects, double phase, const std::string& backgroundImage) {
  if (!m_canvas || m_canvas->Width() != screen.width || m_canvas->Height() != screen.height) {
    m_canvas = std::make_unique<Canvas>(screen.width, screen.height);
    m_backgroundWidth = m_backgroundHeight = 0;
  }
  if (!m_canvas->Valid()) {
    m_canvas.reset();
    return false;
  }
  PrepareBackground(menu, backgroundImage);
  const PixelView view = m_canvas->Pixels();
  for (int y = 0; y < view.height; ++y)
    std::memcpy(view.Row(y), &m_background[static_cast<size_t>(y) * view.width],
                view.width * sizeof(uint32_t));
  DrawShapes(view, menu, screen, phase);

  if (objects) {
    // Pictures first, texts over them (an album's number sits on its thumbnail).
    for (POSITION pos = objects->GetHeadPosition(); pos;) {
      const CObject* object = objects->GetNext(pos);
      if (object->IsKindOf(RUNTIME_CLASS(CMenuThumbnail)))
        DrawThumbnail(view, menu, screen, static_cast<const CMenuThumbnail*>(object)->DesignRect());
      else if (object->IsKindOf(RUNTIME_CLASS(CMenuButton)))
        DrawButton(view, menu, screen, *static_cast<const CMenuButton*>(object));
    }
    for (POSITION pos = objects->GetHeadPosition(); pos;) {
      const CObject* object = objects->GetNext(pos);
      if (object->IsKindOf(RUNTIME_CLASS(CMenuText)))
        DrawMenuText(screen, *static_cast<const CMenuText*>(object));
    }
  }
  return BitBlt(dc, 0, 0, screen.width, screen.height, m_canvas->Dc(), 0, 0, SRCCOPY) != FALSE;
}

BitmapPtr MenuRenderer::DrawMask(const MenuTemplate& menu, const MenuScreen& screen,
                                 const FocusTarget& target) {
  Canvas mask(screen.width, screen.height);
  if (!mask.Valid()) return nullptr;
  const PixelView view = mask.Pixels();
  BlendRect(view, RECT{0, 0, view.width, view.height}, RGB(0, 0, 0), 255);
  const int band = std::max(3, screen.ToTvY(4));
  if (target.thumbnail) {
    const CRect r = screen.ToTv(target.thumbnail->DesignRect());
    const int gap = std::max(2, screen.ToTvX(4));
    const RECT outer{r.left - gap - band, r.top - gap - band, r.right + gap + band, r.bottom + gap + band};
    BlendRect(view, RECT{outer.left, outer.top, outer.right, outer.top + band}, menu.highlight, 255);
    BlendRect(view, RECT{outer.left, outer.bottom - band, outer.right, outer.bottom}, menu.highlight, 255);
    BlendRect(view, RECT{outer.left, outer.top, outer.left + band, outer.bottom}, menu.highlight, 255);
    BlendRect(view, RECT{outer.right - band, outer.top, outer.right, outer.bottom}, menu.highlight, 255);
  }
  if (target.text) {
    const CRect r = target.text->GetTextRect();
    BlendRect(view, RECT{r.left, r.bottom + band / 2, r.right, r.bottom + band / 2 + band}, menu.highlight,
              255);
  }
  if (target.button) {
    const CRect r = target.button->GetRect();
    BlendEllipse(view, r.left, r.top, r.right, r.bottom, menu.highlight, 255);
  }
  return mask.DetachBitmap();
}

}  // namespace pictavo::menu
