#include "modules/xml/MenuTemplate.h"

#include <pugixml.hpp>

#include <stdexcept>
#include <string>

#include "modules/xml/ValueNotation.h"
#include "platform/kernel/Path.h"

namespace pictavo::menu {
namespace {

constexpr int kSupportedVersion = 1;
constexpr int kMaxSlots = 24;
constexpr int kMaxShapes = 64;
constexpr int kCoordinateLimit = 4 * kDesignWidth;

struct TemplateError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const pugi::xml_node& node, const std::string& what) {
  throw TemplateError("<" + std::string(node.name()) + ">: " + what);
}

pugi::xml_node Required(const pugi::xml_node& parent, const char* name) {
  const pugi::xml_node child = parent.child(name);
  if (!child) Fail(parent, std::string("missing <") + name + ">");
  return child;
}

int IntAttribute(const pugi::xml_node& node, const char* name, int fallback, int low, int high,
                 bool required = false) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) {
    if (required) Fail(node, std::string("missing ") + name);
    return fallback;
  }
  const auto value = xml::ParseInt(attribute.value());
  if (!value) Fail(node, std::string(name) + " is not a whole number: \"" + attribute.value() + "\"");
  if (*value < low || *value > high)
    Fail(node, std::string(name) + " " + std::to_string(*value) + " is outside " + std::to_string(low) +
                   ".." + std::to_string(high));
  return *value;
}

COLORREF ColorAttribute(const pugi::xml_node& node, const char* name, COLORREF fallback) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return fallback;
  const auto value = xml::ParseColor(attribute.value());
  if (!value || *value > 0xFFFFFF)
    Fail(node, std::string(name) + " is not a colour: \"" + attribute.value() + "\"");
  return *value;
}

bool BoolAttribute(const pugi::xml_node& node, const char* name, bool fallback) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return fallback;
  const std::string_view text = attribute.value();
  if (text == "1" || text == "true" || text == "yes") return true;
  if (text == "0" || text == "false" || text == "no") return false;
  Fail(node, std::string(name) + " is not 0 or 1: \"" + attribute.value() + "\"");
}

// x, y, width and height: a box of positive size that touches the screen.
RECT RectAttributes(const pugi::xml_node& node) {
  const int x = IntAttribute(node, "x", 0, -kCoordinateLimit, kCoordinateLimit, true);
  const int y = IntAttribute(node, "y", 0, -kCoordinateLimit, kCoordinateLimit, true);
  const int width = IntAttribute(node, "width", 0, 1, kCoordinateLimit, true);
  const int height = IntAttribute(node, "height", 0, 1, kCoordinateLimit, true);
  if (x + width <= 0 || y + height <= 0 || x >= kDesignWidth || y >= kDesignHeight)
    Fail(node, "lies wholly outside the 768 x 576 screen");
  return RECT{x, y, x + width, y + height};
}

// A box that must lie on the screen, as everything a viewer selects must.
RECT OnScreenRect(const pugi::xml_node& node) {
  const RECT rect = RectAttributes(node);
  if (rect.left < 0 || rect.top < 0 || rect.right > kDesignWidth || rect.bottom > kDesignHeight)
    Fail(node, "must lie within the 768 x 576 screen");
  return rect;
}

POINT PointAttributes(const pugi::xml_node& node) {
  return POINT{IntAttribute(node, "x", 0, 0, kDesignWidth - 1, true),
               IntAttribute(node, "y", 0, 0, kDesignHeight - 1, true)};
}

Align AlignAttribute(const pugi::xml_node& node, Align fallback) {
  const pugi::xml_attribute attribute = node.attribute("align");
  if (!attribute) return fallback;
  const std::string_view text = attribute.value();
  if (text == "left") return Align::kLeft;
  if (text == "center") return Align::kCenter;
  if (text == "right") return Align::kRight;
  Fail(node, std::string("align is not left, center or right: \"") + attribute.value() + "\"");
}

// The text style attributes of `node` over `base`.
TextStyle StyleAttributes(const pugi::xml_node& node, TextStyle style) {
  if (const pugi::xml_attribute face = node.attribute("face")) {
    if (!*face.value()) Fail(node, "face is empty");
    style.face = face.value();
  }
  style.size = IntAttribute(node, "size", style.size, 1, 500);
  style.bold = BoolAttribute(node, "bold", style.bold);
  style.color = ColorAttribute(node, "color", style.color);
  style.shadow = BoolAttribute(node, "shadow", style.shadow);
  style.shadowColor = ColorAttribute(node, "shadow_color", style.shadowColor);
  style.shadowSize = IntAttribute(node, "shadow_size", style.shadowSize, 1, 100);
  return style;
}

std::string ChildText(const pugi::xml_node& parent, const char* name, bool required) {
  const pugi::xml_node child = parent.child(name);
  if (!child) {
    if (required) Fail(parent, std::string("missing <") + name + ">");
    return {};
  }
  return child.text().get();
}

Background ReadBackground(const pugi::xml_node& node) {
  Background background;
  background.color = ColorAttribute(node, "color", background.color);
  background.color2 = ColorAttribute(node, "color2", background.color);
  const std::string_view gradient = node.attribute("gradient").as_string("none");
  if (gradient == "none")
    background.gradient = Gradient::kNone;
  else if (gradient == "vertical")
    background.gradient = Gradient::kVertical;
  else if (gradient == "horizontal")
    background.gradient = Gradient::kHorizontal;
  else if (gradient == "radial")
    background.gradient = Gradient::kRadial;
  else
    Fail(node, "gradient is not none, vertical, horizontal or radial: \"" + std::string(gradient) + "\"");
  background.image = node.attribute("image").as_string();
  return background;
}

Shape ReadShape(const pugi::xml_node& node) {
  Shape shape;
  const std::string_view kind = node.attribute("kind").as_string();
  if (kind == "rect")
    shape.kind = ShapeKind::kRectangle;
  else if (kind == "ellipse")
    shape.kind = ShapeKind::kEllipse;
  else if (kind == "ring")
    shape.kind = ShapeKind::kRing;
  else if (kind == "star")
    shape.kind = ShapeKind::kStar;
  else
    Fail(node, "kind is not rect, ellipse, ring or star: \"" + std::string(kind) + "\"");
  shape.rect = RectAttributes(node);
  shape.color = ColorAttribute(node, "color", shape.color);
  shape.opacity = IntAttribute(node, "opacity", shape.opacity, 0, 100);
  shape.thickness = IntAttribute(node, "thickness", shape.thickness, 1, 200);
  shape.driftX = IntAttribute(node, "drift_x", 0, -kDesignWidth, kDesignWidth);
  shape.driftY = IntAttribute(node, "drift_y", 0, -kDesignHeight, kDesignHeight);
  shape.phase = IntAttribute(node, "phase", 0, -360, 360);
  return shape;
}

ButtonLook ReadButton(const pugi::xml_node& node) {
  ButtonLook button;
  button.rect = OnScreenRect(node);
  button.color = ColorAttribute(node, "color", button.color);
  button.fill = ColorAttribute(node, "fill", button.fill);
  button.opacity = IntAttribute(node, "opacity", button.opacity, 0, 100);
  return button;
}

MenuTemplate ReadTemplate(const pugi::xml_document& document) {
  const pugi::xml_node root = document.document_element();
  if (std::string_view(root.name()) != "dvd_menu") Fail(root, "the root element is not <dvd_menu>");
  const int version = IntAttribute(root, "version", 0, 0, 1000000, true);
  if (version != kSupportedVersion) Fail(root, "version " + std::to_string(version) + " is not supported");

  MenuTemplate t;
  const pugi::xml_node menu = Required(root, "menu");
  t.name = menu.text().get();
  if (t.name.empty()) Fail(menu, "the template has no name");
  t.folder = menu.attribute("folder").as_string();
  t.previewImage = ChildText(root, "preview_image", false);
  t.description = ChildText(root, "description", false);
  if (const pugi::xml_node motion = root.child("motion"))
    t.seconds = IntAttribute(motion, "seconds", t.seconds, 1, 600);
  if (const pugi::xml_node background = root.child("background")) t.background = ReadBackground(background);

  if (const pugi::xml_node decoration = root.child("decoration")) {
    for (const pugi::xml_node shape : decoration.children("shape")) {
      if (static_cast<int>(t.shapes.size()) == kMaxShapes)
        Fail(decoration, "more than " + std::to_string(kMaxShapes) + " shapes");
      t.shapes.push_back(ReadShape(shape));
    }
  }

  const pugi::xml_node title = Required(root, "title");
  t.title.rect = OnScreenRect(title);
  t.title.align = AlignAttribute(title, Align::kCenter);
  t.title.style = StyleAttributes(title, TextStyle{.size = 44, .bold = true});
  t.sampleTitle = title.text().get();

  const pugi::xml_node albums = Required(root, "albums");
  if (const pugi::xml_node text = albums.child("text")) {
    t.albumAlign = AlignAttribute(text, Align::kLeft);
    t.albumText = StyleAttributes(text, t.albumText);
  }
  t.indexText = TextStyle{.face = t.albumText.face, .size = 18, .bold = true, .color = t.albumText.color};
  if (const pugi::xml_node index = albums.child("index")) t.indexText = StyleAttributes(index, t.indexText);
  if (const pugi::xml_node look = albums.child("thumbnail")) {
    t.thumbnail.frame = ColorAttribute(look, "frame_color", t.thumbnail.frame);
    t.thumbnail.frameWidth = IntAttribute(look, "frame_width", t.thumbnail.frameWidth, 0, 32);
    t.thumbnail.fill = ColorAttribute(look, "fill", t.thumbnail.fill);
  }
  for (const pugi::xml_node album : albums.children("album")) {
    if (static_cast<int>(t.slots.size()) == kMaxSlots)
      Fail(albums, "more than " + std::to_string(kMaxSlots) + " album entries");
    AlbumSlot slot;
    slot.thumbnail = OnScreenRect(Required(album, "thumbnail"));
    slot.text = OnScreenRect(Required(album, "text"));
    slot.index = PointAttributes(Required(album, "index"));
    t.slots.push_back(slot);
  }
  if (t.slots.empty()) Fail(albums, "no <album> entries");

  if (const pugi::xml_node page = root.child("page_index")) {
    TextBox box;
    box.rect = OnScreenRect(page);
    box.align = AlignAttribute(page, Align::kCenter);
    box.style = StyleAttributes(page, TextStyle{.size = 20});
    t.pageIndex = box;
  }

  bool seen[2] = {false, false};
  for (const pugi::xml_node button : root.children("button")) {
    const int id = IntAttribute(button, "id", 0, 0, 1, true);
    if (seen[id]) Fail(button, "button " + std::to_string(id) + " given twice");
    seen[id] = true;
    t.buttons[id] = ReadButton(button);
  }
  if (!seen[0] || !seen[1])
    Fail(root, "needs <button id=\"0\"> (previous page) and <button id=\"1\"> (next page)");

  if (const pugi::xml_node highlight = root.child("highlight")) {
    t.highlight = ColorAttribute(highlight, "color", t.highlight);
    // Black is the transparent key of the button masks.
    if (t.highlight == RGB(0, 0, 0)) Fail(highlight, "color must not be black");
  }
  return t;
}

std::optional<MenuTemplate> FromDocument(const pugi::xml_document& document,
                                         const pugi::xml_parse_result& result, std::string& error) {
  if (!result) {
    error = std::string("not readable XML: ") + result.description() + " at byte " +
            std::to_string(result.offset);
    return std::nullopt;
  }
  try {
    return ReadTemplate(document);
  } catch (const TemplateError& e) {
    error = e.what();
    return std::nullopt;
  }
}

}  // namespace

std::optional<MenuTemplate> ParseMenuTemplate(std::string_view text, std::string& error) {
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_buffer(text.data(), text.size());
  return FromDocument(document, result, error);
}

std::optional<MenuTemplate> ReadMenuTemplate(std::string_view path, std::string& error) {
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_file(path::ResolveDataPath(path).c_str());
  if (result.status == pugi::status_file_not_found || result.status == pugi::status_io_error) {
    error = "cannot read " + std::string(path);
    return std::nullopt;
  }
  return FromDocument(document, result, error);
}

}  // namespace pictavo::menu
