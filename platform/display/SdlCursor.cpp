// The sdl display's pointer: the standard cursors as the system's own, the program's cursors
// from their images.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/display/SdlInternal.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/User.h"

namespace pictavo::display {
namespace {

struct StandardCursor {
  UINT id;
  SDL_SystemCursor system;
};

// Standard cursors the system draws; the rest (up arrow, help, icon) are drawn from their images.
constexpr StandardCursor kSystemCursors[] = {
    {32512, SDL_SYSTEM_CURSOR_ARROW},     {32513, SDL_SYSTEM_CURSOR_IBEAM},
    {32514, SDL_SYSTEM_CURSOR_WAIT},      {32515, SDL_SYSTEM_CURSOR_CROSSHAIR},
    {32640, SDL_SYSTEM_CURSOR_SIZEALL},   {32642, SDL_SYSTEM_CURSOR_SIZENWSE},
    {32643, SDL_SYSTEM_CURSOR_SIZENESW},  {32644, SDL_SYSTEM_CURSOR_SIZEWE},
    {32645, SDL_SYSTEM_CURSOR_SIZENS},    {32646, SDL_SYSTEM_CURSOR_SIZEALL},
    {32648, SDL_SYSTEM_CURSOR_NO},        {32649, SDL_SYSTEM_CURSOR_HAND},
    {32650, SDL_SYSTEM_CURSOR_WAITARROW},
};

struct DeleteDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteBitmap {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using DcPtr = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDc>;
using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteBitmap>;

// The cursor drawn over one background colour, as 0xXXRRGGBB pixels.
std::vector<uint32_t> DrawnOver(HCURSOR cursor, int width, int height, DWORD background) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  DcPtr dc(CreateCompatibleDC(nullptr));
  BitmapPtr bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc || !bitmap || !bits) return {};
  HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
  PatBlt(dc.get(), 0, 0, width, height, background);
  DrawIconEx(dc.get(), 0, 0, cursor, width, height, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
  SelectObject(dc.get(), old);
  return pixels;
}

int Channel(uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFF);
}

}  // namespace

// The image is drawn over black and over white: where the two differ the cursor lets the
// background through, which gives its alpha whatever way the cursor was made (mask or alpha).
SdlCursorPtr MakeColorCursor(HCURSOR cursor) {
  ICONINFO icon{};
  if (!GetIconInfo(cursor, &icon)) return nullptr;
  BitmapPtr color(icon.hbmColor);
  BitmapPtr mask(icon.hbmMask);
  BITMAP size{};
  if (!GetObject(color ? color.get() : mask.get(), sizeof(size), &size)) return nullptr;
  const int width = size.bmWidth;
  const int height = color ? size.bmHeight : size.bmHeight / 2;
  if (width < 1 || height < 1) return nullptr;
  const std::vector<uint32_t> black = DrawnOver(cursor, width, height, BLACKNESS);
  const std::vector<uint32_t> white = DrawnOver(cursor, width, height, WHITENESS);
  if (black.empty() || white.empty()) return nullptr;
  SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!image) return nullptr;
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(image->pixels) + y * image->pitch);
    for (int x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * width + x;
      int alpha = 255;
      for (int shift : {0, 8, 16})
        alpha = std::min(alpha, 255 - (Channel(white[i], shift) - Channel(black[i], shift)));
      alpha = std::clamp(alpha, 0, 255);
      uint32_t pixel = static_cast<uint32_t>(alpha) << 24;
      for (int shift : {0, 8, 16}) {
        // Over black the colour is premultiplied by alpha.
        const int c = alpha ? std::min(255, Channel(black[i], shift) * 255 / alpha) : 0;
        pixel |= static_cast<uint32_t>(c) << shift;
      }
      row[x] = pixel;
    }
  }
  SdlCursorPtr made(
      SDL_CreateColorCursor(image, static_cast<int>(icon.xHotspot), static_cast<int>(icon.yHotspot)));
  SDL_FreeSurface(image);
  return made;
}

void SdlDisplay::ApplyCursor(HCURSOR cursor, bool visible) {
  if (!cursor || !visible) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  const UINT id = user::StandardCursorId(cursor);
  const auto system = std::find_if(std::begin(kSystemCursors), std::end(kSystemCursors),
                                   [id](const StandardCursor& c) { return c.id == id; });
  SDL_Cursor* shown = nullptr;
  SdlCursorPtr custom;
  if (id && system != std::end(kSystemCursors)) {
    SdlCursorPtr& slot = m_cursors->system[system->system];
    if (!slot) slot.reset(SDL_CreateSystemCursor(system->system));
    shown = slot.get();
  }
  if (!shown) {
    custom = MakeColorCursor(cursor);
    shown = custom.get();
  }
  if (!shown) return;  // an image we cannot read: the pointer keeps its shape
  SDL_SetCursor(shown);
  SDL_ShowCursor(SDL_ENABLE);
  // The previous cursor of our own goes only once another one is shown.
  if (custom) m_cursors->custom = std::move(custom);
}

}  // namespace pictavo::display
