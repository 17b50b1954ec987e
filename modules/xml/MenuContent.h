// What a disc menu shows of a project: its title, its albums and the viewer's choices. Whoever
// owns the project fills it in and hands it to CDVDMenu::SetMenuContent; the engine never reads
// the project itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "modules/xml/MenuTemplate.h"
#include "platform/base/WinTypes.h"

namespace pictavo::menu {

// A text style chosen by the user in place of the template's, and where the user dragged it
// (menu units of the 768 x 576 screen); without a position the template places the text.
struct TextOverride {
  TextStyle style;
  std::optional<POINT> position;
};

struct AlbumEntry {
  std::string name;
  std::optional<TextOverride> text;
};

struct MenuContent {
  std::string title;  // empty: the template's sample title
  std::optional<TextOverride> titleText;
  std::vector<AlbumEntry> albums;
  // The five elements the user can switch off.
  bool showTitle = true;
  bool showAlbumTitles = true;
  bool showAlbumIndex = true;
  bool showThumbnails = true;
  bool showPageIndex = true;
};

}  // namespace pictavo::menu
