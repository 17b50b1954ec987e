// <menu> and <accelerators> elements.
#include <algorithm>
#include <cctype>

#include "platform/res/Binary.h"
#include "platform/res/ParseSupport.h"
#include "platform/res/Symbols.h"

#include "platform/base/Utf8.h"

namespace pictavo::res {

namespace {

// Words joined by "|", "+" or spaces, each looked up in `names`.
template <size_t N>
UINT Words(const pugi::xml_node& node, const char* attribute,
           const std::array<std::pair<std::string_view, UINT>, N>& names) {
  const std::optional<std::string_view> text = Optional(node, attribute);
  if (!text) return 0;
  UINT value = 0;
  size_t start = 0;
  while (start <= text->size()) {
    size_t end = text->find_first_of("|+ \t", start);
    if (end == std::string_view::npos) end = text->size();
    const std::string_view word = text->substr(start, end - start);
    if (!word.empty()) {
      const auto it =
          std::find_if(names.begin(), names.end(), [&](const auto& named) { return named.first == word; });
      if (it == names.end()) {
        std::string known;
        for (const auto& named : names) known += (known.empty() ? "" : ", ") + std::string(named.first);
        Fail(node, std::string("attribute \"") + attribute + "\" of <" + node.name() + ">: unknown word \"" +
                       std::string(word) + "\" (known: " + known + ")");
      }
      value |= it->second;
    }
    start = end + 1;
  }
  return value;
}

constexpr std::array<std::pair<std::string_view, UINT>, 7> kMenuFlagNames{{
    {"checked", kMenuChecked},
    {"grayed", kMenuGrayed},
    {"disabled", kMenuDisabled},
    {"default", kMenuDefault},
    {"break", kMenuBreak},
    {"barbreak", kMenuBarBreak},
    {"help", kMenuHelp},
}};

constexpr std::array<std::pair<std::string_view, UINT>, 3> kModifierNames{{
    {"ctrl", kAccelControl},
    {"shift", kAccelShift},
    {"alt", kAccelAlt},
}};

std::vector<MenuItem> ParseItems(const pugi::xml_node& level) {
  CheckChildren(level, {"popup", "item", "separator"});
  std::vector<MenuItem> items;
  for (const pugi::xml_node& node : level.children()) {
    if (node.type() != pugi::node_element) continue;
    const std::string_view kind = node.name();
    MenuItem item;
    if (kind == "separator") {
      CheckAttributes(node, {});
      CheckChildren(node, {});
      item.kind = MenuItem::Kind::Separator;
      item.flags = kMenuSeparator;
    } else if (kind == "popup") {
      CheckAttributes(node, {"text", "flags", "name"});
      item.kind = MenuItem::Kind::Popup;
      item.symbol = Optional(node, "name").value_or("");
      item.text = Text(node, "text", Required(node, "text"));
      item.flags = Words(node, "flags", kMenuFlagNames) | kMenuPopup;
      item.items = ParseItems(node);
      if (item.items.empty()) Fail(node, "<popup> has no items");
    } else {
      CheckAttributes(node, {"id", "text", "flags", "name"});
      CheckChildren(node, {});
      item.kind = MenuItem::Kind::Command;
      item.id = static_cast<UINT>(Integer(node, "id", 1, 0xFFFF));
      item.symbol = Optional(node, "name").value_or("");
      item.text = Text(node, "text", Required(node, "text"));
      item.flags = Words(node, "flags", kMenuFlagNames);
    }
    items.push_back(std::move(item));
  }
  return items;
}

WORD AcceleratorKey(const pugi::xml_node& node, bool ascii) {
  const std::string_view text = Required(node, "key");
  if (ascii) {
    const std::wstring wide = utf8::ToWide(text);
    if (wide.size() != 1 || utf8::CharLength(text) != text.size() || static_cast<char32_t>(wide[0]) > 0xFFFF)
      Fail(node, "<accel>: a character key is one character, not \"" + std::string(text) + "\"");
    return static_cast<WORD>(wide[0]);
  }
  if (text.starts_with("VK_")) {
    const std::optional<WORD> key = VirtualKeyValue(text);
    if (!key) Fail(node, "<accel>: unknown virtual key \"" + std::string(text) + "\"");
    return *key;
  }
  if (text.starts_with("0x")) return static_cast<WORD>(IntegerText(node, "key", text, 1, 0xFF));
  if (text.size() == 1 && std::isalnum(static_cast<unsigned char>(text[0])))
    return static_cast<WORD>(std::toupper(static_cast<unsigned char>(text[0])));
  Fail(node, "<accel>: \"" + std::string(text) +
                 "\" is not a virtual key (a letter, a digit, a VK_ name or a number); "
                 "give ascii=\"1\" for a character");
}

}  // namespace

std::unique_ptr<Entry> ParseMenu(const pugi::xml_node& node) {
  CheckAttributes(node, {"id", "name"});
  MenuTemplate menu;
  menu.name = Name(node, "id");
  menu.symbol = Optional(node, "name").value_or("");
  menu.items = ParseItems(node);
  if (menu.items.empty()) Fail(node, "<menu> has no items");

  auto entry = std::make_unique<Entry>();
  entry->kind = EntryKind::Menu;
  entry->type = IdName(kTypeMenu);
  entry->name = menu.name;
  entry->data = MenuData(menu);
  entry->dataState = Entry::DataState::Ready;
  entry->parsed = std::move(menu);
  return entry;
}

std::unique_ptr<Entry> ParseAccelerators(const pugi::xml_node& node) {
  CheckAttributes(node, {"id", "name"});
  CheckChildren(node, {"accel"});
  AcceleratorTable table;
  table.name = Name(node, "id");
  table.symbol = Optional(node, "name").value_or("");
  for (const pugi::xml_node& child : node.children("accel")) {
    CheckAttributes(child, {"key", "command", "modifiers", "ascii", "noinvert"});
    CheckChildren(child, {});
    Accelerator accel;
    const bool ascii = Boolean(child, "ascii", false);
    accel.key = AcceleratorKey(child, ascii);
    accel.command = static_cast<WORD>(Integer(child, "command", 1, 0xFFFF));
    const UINT modifiers = Words(child, "modifiers", kModifierNames);
    if (ascii && (modifiers & (kAccelControl | kAccelShift)))
      Fail(child, "<accel>: a character key takes only the alt modifier");
    accel.flags = static_cast<BYTE>(modifiers | (ascii ? 0 : kAccelVirtKey) |
                                    (Boolean(child, "noinvert", false) ? kAccelNoInvert : 0));
    table.entries.push_back(accel);
  }
  if (table.entries.empty()) Fail(node, "<accelerators> has no <accel>");

  auto entry = std::make_unique<Entry>();
  entry->kind = EntryKind::Accelerators;
  entry->type = IdName(kTypeAccelerator);
  entry->name = table.name;
  entry->data = AcceleratorData(table);
  entry->dataState = Entry::DataState::Ready;
  entry->parsed = std::move(table);
  return entry;
}

}  // namespace pictavo::res
