// The object behind HICON (and HCURSOR): images never change after creation.
#pragma once

#include <memory>

#include "platform/gdi/DeviceContext.h"

namespace pictavo::gdi {

class IconObject : public GdiObject {
 public:
  IconObject() : GdiObject(ObjectKind::Icon) {}

  // Copies the bitmaps. Without a colour bitmap the mask is twice the icon's height: the AND
  // mask above the XOR image.
  static std::shared_ptr<IconObject> Create(const BitmapObject* color, const BitmapObject& mask, bool isIcon,
                                            POINT hotspot);
  bool HasAlpha() const;

  std::shared_ptr<BitmapObject> color;  // may be null
  std::shared_ptr<BitmapObject> mask;
  int width = 0;
  int height = 0;
  POINT hotspot{0, 0};
  bool isIcon = true;
  bool alpha = false;  // a 32-bit colour image with an alpha channel in use
};

// Draws with DI_* flags at (x, y) logical, cx x cy (0 = the icon's size); the DC is locked.
void DrawIconInto(DeviceContext& dc, const IconObject& icon, int x, int y, int cx, int cy, UINT flags);

}  // namespace pictavo::gdi
