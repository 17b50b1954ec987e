// <dialog> elements: dialog templates in dialog units.
#include <climits>

#include "platform/base/Styles.h"
#include "platform/res/ParseSupport.h"
#include "platform/res/Symbols.h"

namespace pictavo::res {

namespace {

// Controls are children, visible unless their style says NOT WS_VISIBLE.
constexpr DWORD kControlStyle = WS_CHILD | WS_VISIBLE;
// What a dialog without a style gets.
constexpr DWORD kDialogStyle = WS_POPUP | WS_BORDER | WS_SYSMENU;

DWORD ControlId(const pugi::xml_node& node, bool extended) {
  const std::string_view text = Required(node, "id");
  long long value = 0;
  if (!text.empty() && (std::isalpha(static_cast<unsigned char>(text.front())) || text.front() == '_')) {
    const std::optional<int> named = ControlIdValue(text);
    if (!named) Fail(node, "<control>: unknown id name \"" + std::string(text) + "\" (give the number)");
    value = *named;
  } else if (extended) {
    value = IntegerText(node, "id", text, INT32_MIN, INT32_MAX);
  } else {
    // A plain template keeps 16 bits: -1 becomes 65535.
    value = IntegerText(node, "id", text, -1, 0xFFFF);
  }
  return extended ? static_cast<DWORD>(static_cast<int32_t>(value))
                  : static_cast<DWORD>(static_cast<WORD>(value));
}

DialogControl ParseControl(const pugi::xml_node& node, bool extended) {
  CheckAttributes(node, {"id", "name", "class", "text", "rect", "style", "exstyle"});
  CheckChildren(node, {});
  DialogControl control;
  control.id = ControlId(node, extended);
  control.symbol = Optional(node, "name").value_or("");
  control.className = CanonicalClassName(Required(node, "class"));
  if (control.className.empty()) Fail(node, "<control>: the class is empty");
  control.text = Text(node, "text", Optional(node, "text").value_or(""));
  const std::array<short, 4> rect = DialogRect(node, "rect");
  control.x = rect[0], control.y = rect[1], control.cx = rect[2], control.cy = rect[3];
  control.style = node.attribute("style") ? Flags(node, "style", kControlStyle) : kControlStyle;
  control.exStyle = node.attribute("exstyle") ? Flags(node, "exstyle", 0) : 0;
  return control;
}

}  // namespace

std::unique_ptr<Entry> ParseDialog(const pugi::xml_node& node) {
  CheckAttributes(node, {"id", "name", "caption", "rect", "style", "exstyle", "font", "font-size",
                         "font-weight", "font-italic", "font-charset", "menu", "class", "extended"});
  CheckChildren(node, {"control"});
  DialogTemplate dialog;
  dialog.name = Name(node, "id");
  dialog.symbol = Optional(node, "name").value_or("");
  dialog.extended = Boolean(node, "extended", false);
  const std::array<short, 4> rect = DialogRect(node, "rect");
  dialog.x = rect[0], dialog.y = rect[1], dialog.cx = rect[2], dialog.cy = rect[3];
  dialog.style = node.attribute("style") ? Flags(node, "style", 0) : kDialogStyle;
  dialog.exStyle = node.attribute("exstyle") ? Flags(node, "exstyle", 0) : 0;
  dialog.caption = Text(node, "caption", Optional(node, "caption").value_or(""));

  if (node.attribute("font")) {
    dialog.fontFace = Required(node, "font");
    if (dialog.fontFace.empty()) Fail(node, "<dialog>: the font name is empty");
    dialog.pointSize = static_cast<WORD>(Integer(node, "font-size", 1, 0x7FFF));
    dialog.style |= DS_SETFONT;
  } else if (node.attribute("font-size") || node.attribute("font-weight") || node.attribute("font-italic") ||
             node.attribute("font-charset")) {
    Fail(node, "<dialog>: font attributes without \"font\"");
  } else if (dialog.style & DS_SETFONT) {
    Fail(node, "<dialog>: DS_SETFONT needs \"font\" and \"font-size\"");
  }
  if (!dialog.extended &&
      (node.attribute("font-weight") || node.attribute("font-italic") || node.attribute("font-charset")))
    Fail(node, "<dialog>: font weight, italic and character set need extended=\"1\"");
  if (node.attribute("font-weight")) dialog.weight = static_cast<WORD>(Integer(node, "font-weight", 0, 1000));
  dialog.italic = Boolean(node, "font-italic", false);
  if (node.attribute("font-charset"))
    dialog.charset = static_cast<BYTE>(Integer(node, "font-charset", 0, 255));

  if (node.attribute("menu")) dialog.menu = Name(node, "menu");
  if (node.attribute("class")) {
    dialog.className = Required(node, "class");
    if (dialog.className.empty()) Fail(node, "<dialog>: the class is empty");
  }
  for (const pugi::xml_node& child : node.children("control"))
    dialog.controls.push_back(ParseControl(child, dialog.extended));

  auto entry = std::make_unique<Entry>();
  entry->kind = EntryKind::Dialog;
  entry->type = IdName(kTypeDialog);
  entry->name = dialog.name;
  entry->parsed = std::move(dialog);
  return entry;
}

}  // namespace pictavo::res
