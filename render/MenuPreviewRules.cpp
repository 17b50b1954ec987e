#include "render/MenuPreviewRules.h"

namespace pictavo::render {

int MenuFocusAfterNext(int focus, const MenuPage& page) {
  const int total = page.albums + (page.previous ? 1 : 0) + (page.next ? 1 : 0);
  if (focus + 1 >= total) return focus;
  if (focus < page.albums - 1) return focus + 1;
  return page.previous ? focus + 1 : focus + 2;
}

int MenuFocusAfterPrevious(int focus, const MenuPage& page) {
  if (focus <= 0) return focus;
  if (focus > page.albums && !page.previous) return focus - 2;
  return focus - 1;
}

MenuActivation MenuActivate(int focus, const MenuPage& page, int perPage, int currentPage) {
  if (focus >= 0 && focus < page.albums) return {MenuActivation::kPlayAlbum, perPage * currentPage + focus};
  if (focus == page.albums && page.previous) return {MenuActivation::kPreviousPage, -1};
  if (focus == page.albums + 1 && page.next) return {MenuActivation::kNextPage, -1};
  return {MenuActivation::kNothing, -1};
}

int MenuFocusOfAlbum(int albumIndex, int perPage) {
  return perPage < 1 ? 0 : albumIndex % perPage;
}

RECT MenuToClient(const RECT& menu, int cx, int cy) {
  return RECT{menu.left * cx / kMenuWidth, menu.top * cy / kMenuHeight, menu.right * cx / kMenuWidth,
              menu.bottom * cy / kMenuHeight};
}

int MenuPassTicks(int totalFrames, int framesPerSecond) {
  if (framesPerSecond <= 0 || totalFrames <= 0) return 0;
  return totalFrames / framesPerSecond * 20;
}

}  // namespace pictavo::render
