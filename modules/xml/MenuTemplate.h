// A disc-menu template as the engine uses it: the parsed form of one template file (format in
// README.md). Every coordinate is in menu units of the 768 x 576 design screen.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::menu {

inline constexpr int kDesignWidth = 768;
inline constexpr int kDesignHeight = 576;

struct TextStyle {
  std::string face = "DejaVu Sans";
  int size = 24;  // character height in menu units
  bool bold = false;
  COLORREF color = RGB(255, 255, 255);
  bool shadow = false;
  COLORREF shadowColor = RGB(0, 0, 0);
  int shadowSize = 2;  // offset of the shadow to the right and down
};

enum class Align { kLeft, kCenter, kRight };

// A text placed in a box: the box bounds it, the alignment places it inside.
struct TextBox {
  RECT rect{};
  Align align = Align::kLeft;
  TextStyle style;
};

// One album entry of a page.
struct AlbumSlot {
  RECT thumbnail{};
  RECT text{};
  POINT index{};  // top-left of the album number
};

enum class ShapeKind { kRectangle, kEllipse, kRing, kStar };

// A decoration; it moves on an ellipse of drift_x by drift_y around its place once per motion
// cycle, starting at `phase` degrees, so the menu loops without a jump.
struct Shape {
  ShapeKind kind = ShapeKind::kEllipse;
  RECT rect{};
  COLORREF color = RGB(255, 255, 255);
  int opacity = 100;  // percent
  int thickness = 4;  // rings
  int driftX = 0, driftY = 0;
  int phase = 0;  // degrees
};

enum class Gradient { kNone, kVertical, kHorizontal, kRadial };

struct Background {
  COLORREF color = RGB(0, 0, 0);
  COLORREF color2 = RGB(0, 0, 0);
  Gradient gradient = Gradient::kNone;
  std::string image;  // file in the template's picture folder; drawn over the colours
};

struct ThumbnailLook {
  COLORREF frame = RGB(255, 255, 255);
  int frameWidth = 3;
  COLORREF fill = RGB(64, 64, 64);
};

struct ButtonLook {
  RECT rect{};
  COLORREF color = RGB(255, 255, 255);  // the arrow
  COLORREF fill = RGB(0, 0, 0);         // the disc behind it
  int opacity = 60;                     // of the disc, percent
};

struct MenuTemplate {
  std::string name;          // "//menu" text
  std::string folder;        // "//menu" folder: the picture folder beside the file
  std::string previewImage;  // "//preview_image" text
  std::string description;   // "//description" text
  int seconds = 10;          // length of one motion cycle
  Background background;
  std::vector<Shape> shapes;
  TextBox title;
  std::string sampleTitle;  // shown when the project gives no title
  Align albumAlign = Align::kLeft;
  TextStyle albumText;
  TextStyle indexText;
  ThumbnailLook thumbnail;
  std::vector<AlbumSlot> slots;  // album entries per page, in focus order
  std::optional<TextBox> pageIndex;
  ButtonLook buttons[2];  // 0 previous page, 1 next page
  COLORREF highlight = RGB(255, 208, 64);
};

// Parses template text; on failure nothing, with `error` saying what is wrong and where.
[[nodiscard]] std::optional<MenuTemplate> ParseMenuTemplate(std::string_view text, std::string& error);
// Reads and parses a template file (`\` accepted).
[[nodiscard]] std::optional<MenuTemplate> ReadMenuTemplate(std::string_view path, std::string& error);

}  // namespace pictavo::menu
