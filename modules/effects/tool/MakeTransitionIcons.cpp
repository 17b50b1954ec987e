// Writes the icon strip of the built-in transitions as a 24-bit BMP (atomically).
#include <cstdio>

#include "modules/effects/IconStrip.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.bmp>\n", argv[0]);
    return 2;
  }
  CxImage strip = pictavo::effects::RenderTransitionIconStrip();
  HBITMAP bitmap = strip.MakeBitmap();
  if (bitmap == nullptr) {
    std::fprintf(stderr, "make_transition_icons: could not make the bitmap\n");
    return 1;
  }
  const BOOL saved = pictavo::gdi::SaveBmpFile(bitmap, argv[1]);
  const DWORD error = GetLastError();
  DeleteObject(bitmap);
  if (!saved) {
    std::fprintf(stderr, "make_transition_icons: %s: error %u\n", argv[1], static_cast<unsigned>(error));
    return 1;
  }
  std::printf("%s: %u x %u\n", argv[1], static_cast<unsigned>(strip.GetWidth()),
              static_cast<unsigned>(strip.GetHeight()));
  return 0;
}
