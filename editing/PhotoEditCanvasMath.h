// The canvas's arithmetic, kept apart from the window so that every rule can be checked on its own:
// frames, reference units, the cascade of new texts, the cached photo's size and the resize steps.
#pragma once

#include "platform/base/Geometry.h"

namespace pictavo::canvas {

// Smallest width or height of a clip-art object on screen, in pixels.
constexpr int kMinClipArtPixels = 10;
// Font sizes a text resize stays within.
constexpr int kMinTextSize = 8;
constexpr int kMaxTextSize = 180;
// The longest side a portrait's cached photo is made with.
constexpr int kMaxCachedSide = 4096;
// The scale factor per pixel of frame width (1 / 768).
constexpr float kFactorPerPixel = 0.0013020834f;

// The largest centred rectangle of the ratio (16:9 or 4:3) inside `rect`.
CRect FrameRect(const RECT& rect, bool widescreen);

// A client coordinate relative to the frame origin in reference units, and a length; a factor of
// 0 or less (no frame) leaves the value unscaled.
int ToReference(int pixels, float factor);

// Where the next text added without a position goes: +20 in each axis, an axis restarting at 50
// when its old value + 70 passes the 768 x 576 frame.
POINT NextCascade(POINT current);

// The size the photo is cached at for a placement of `placement`: portraits are cached at the
// placement's height across (so a custom pan and zoom has pixels to spare). A degenerate
// placement keeps the picture's own size, and a sliver its placement size.
CSize CachedPhotoSize(CSize placement, CSize picture);

// One step of resizing a text with handle `hit` (1..8): the new font size (the old one when the
// mouse has not moved far enough or the step would leave 8..180).
int TextResizeStep(const RECT& box, int fontSize, int hit, POINT mouse);

// Where a text of the new pixel size `size` goes so that the side opposite handle `hit` stays put.
POINT TextResizeAnchor(const RECT& box, CSize size, int hit);

// The rectangle of a clip-art object being resized with handle `hit` to the mouse, kept inside
// `frame` and never under 10 pixels; corner handles keep the ratios grabbed at mouse-down.
CRect ClipArtResizeRect(const RECT& box, const RECT& frame, int hit, POINT mouse, float widthPerHeight,
                        float heightPerWidth);

}  // namespace pictavo::canvas
