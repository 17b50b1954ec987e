// Draws disc-menu pages: the template's background and decorations, the album thumbnails (as
// framed placeholders), the page buttons and the texts, at the menu's TV screen size; and the
// highlight masks of the focusable entries.
#pragma once

#include <map>
#include <memory>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "modules/xml/MenuFonts.h"
#include "modules/xml/MenuObjects.h"
#include "modules/xml/MenuRaster.h"
#include "modules/xml/MenuTemplate.h"
#include "platform/base/List.h"

namespace pictavo::menu {

using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

// A 32-bit top-down DIB section of the given size with a memory DC drawing into it.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Valid() const { return m_dc && m_bitmap; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  HDC Dc() const { return m_dc; }
  PixelView Pixels() const;
  // Hands the bitmap to the caller; the canvas is empty afterwards.
  BitmapPtr DetachBitmap();

 private:
  int m_width, m_height;
  HDC m_dc = nullptr;
  BitmapPtr m_bitmap;
  HGDIOBJ m_oldBitmap = nullptr;
  uint32_t* m_bits = nullptr;
};

// One entry of the page that can take the focus, with the objects that show it.
struct FocusTarget {
  const CMenuThumbnail* thumbnail = nullptr;
  const CMenuText* text = nullptr;  // the album title, else its number
  const CMenuButton* button = nullptr;
};

class MenuRenderer {
 public:
  // Draws the page at `phase` (0..1) of the motion cycle into `dc` at (0, 0), at the screen's
  // size. `objects` may be null (nothing laid out yet): then only the background shows.
  // `backgroundImage` is the picture file to draw over the colours, or empty. With the
  // screen's lock held.
  bool DrawPage(HDC dc, const MenuTemplate& menu, const MenuScreen& screen, const CObList* objects,
                double phase, const std::string& backgroundImage);
  // Black, with the target drawn in the template's highlight colour; null when no bitmap can be
  // made.
  BitmapPtr DrawMask(const MenuTemplate& menu, const MenuScreen& screen, const FocusTarget& target);
  // Frees the canvas and every cache (fonts, the background).
  void Release();

 private:
  void PrepareBackground(const MenuTemplate& menu, const std::string& image);
  void DrawShapes(const PixelView& view, const MenuTemplate& menu, const MenuScreen& screen, double phase);
  void DrawThumbnail(const PixelView& view, const MenuTemplate& menu, const MenuScreen& screen,
                     const RECT& design);
  void DrawButton(const PixelView& view, const MenuTemplate& menu, const MenuScreen& screen,
                  const CMenuButton& button);
  void DrawMenuText(const MenuScreen& screen, const CMenuText& text);
  HFONT Font(const TextStyle& style, int height);

  std::unique_ptr<Canvas> m_canvas;
  std::vector<uint32_t> m_background;  // the canvas-sized background, without decorations
  int m_backgroundWidth = 0, m_backgroundHeight = 0;
  std::map<std::tuple<std::string, int, bool>, FontPtr> m_fonts;
};

}  // namespace pictavo::menu
