// One resource file: the <resources> root, strings, toolbars and the file-backed kinds.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/base/Utf8.h"
#include "platform/kernel/Path.h"
#include "platform/res/Binary.h"
#include "platform/res/ParseSupport.h"
#include "platform/res/Symbols.h"

namespace pictavo::res {

namespace {

constexpr std::string_view kVersion = "1";

std::unique_ptr<Entry> ParseImage(const pugi::xml_node& node, EntryKind kind, WORD type,
                                  const std::string& folder) {
  CheckAttributes(node, {"id", "name", "file"});
  CheckChildren(node, {});
  auto entry = std::make_unique<Entry>();
  entry->kind = kind;
  entry->type = IdName(type);
  entry->name = Name(node, "id");
  entry->file = ReferencedFile(node, "file", folder);
  return entry;
}

ResourceName RawType(const pugi::xml_node& node) {
  const std::string_view text = Required(node, "type");
  ResourceName type;
  if (text.starts_with("RT_")) {
    const std::optional<WORD> id = ResourceTypeValue(text);
    if (!id) Fail(node, "<raw>: unknown resource type \"" + std::string(text) + "\"");
    type = IdName(*id);
  } else {
    type = Name(node, "type");
  }
  // These types have elements of their own, which give their data its binary form.
  static constexpr std::array<WORD, 10> kOwnElements{1, 2, 3, 4, 5, 6, 9, 12, 14, kTypeToolbar};
  if (type.IsId() && std::find(kOwnElements.begin(), kOwnElements.end(), type.id) != kOwnElements.end())
    Fail(node,
         "<raw>: type " + std::string(text) + " is written with its own element (<bitmap>, <menu> ...)");
  return type;
}

std::unique_ptr<Entry> ParseRaw(const pugi::xml_node& node, const std::string& folder) {
  CheckAttributes(node, {"type", "id", "name", "file"});
  CheckChildren(node, {});
  auto entry = std::make_unique<Entry>();
  entry->kind = EntryKind::Raw;
  entry->type = RawType(node);
  entry->name = Name(node, "id");
  entry->file = ReferencedFile(node, "file", folder);
  return entry;
}

// The toolbar, and its bitmap when the element names the file.
std::vector<std::unique_ptr<Entry>> ParseToolbar(const pugi::xml_node& node, const std::string& folder) {
  CheckAttributes(node, {"id", "name", "width", "height", "bitmap"});
  CheckChildren(node, {"button", "separator"});
  ToolbarTemplate toolbar;
  toolbar.name = Name(node, "id");
  toolbar.symbol = Optional(node, "name").value_or("");
  toolbar.imageWidth = static_cast<int>(Integer(node, "width", 1, 1024));
  toolbar.imageHeight = static_cast<int>(Integer(node, "height", 1, 1024));
  for (const pugi::xml_node& child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    CheckChildren(child, {});
    if (std::string_view(child.name()) == "separator") {
      CheckAttributes(child, {});
      toolbar.commands.push_back(0);
    } else {
      CheckAttributes(child, {"id"});
      toolbar.commands.push_back(static_cast<WORD>(Integer(child, "id", 1, 0xFFFF)));
    }
  }

  std::vector<std::unique_ptr<Entry>> entries;
  auto entry = std::make_unique<Entry>();
  entry->kind = EntryKind::Toolbar;
  entry->type = IdName(kTypeToolbar);
  entry->name = toolbar.name;
  entry->data = ToolbarData(toolbar);
  entry->dataState = Entry::DataState::Ready;
  if (node.attribute("bitmap")) {
    auto bitmap = std::make_unique<Entry>();
    bitmap->kind = EntryKind::Bitmap;
    bitmap->type = IdName(kTypeBitmap);
    bitmap->name = toolbar.name;
    bitmap->file = ReferencedFile(node, "bitmap", folder);
    entries.push_back(std::move(bitmap));
  }
  entry->parsed = std::move(toolbar);
  entries.insert(entries.begin(), std::move(entry));
  return entries;
}

void ParseStrings(const pugi::xml_node& node, std::map<UINT, std::string>& strings) {
  CheckAttributes(node, {});
  CheckChildren(node, {"string"});
  for (const pugi::xml_node& child : node.children("string")) {
    CheckAttributes(child, {"id", "name"});
    for (const pugi::xml_node& part : child.children())
      if (part.type() == pugi::node_element) Fail(part, "<string> holds text only");
    const auto id = static_cast<UINT>(Integer(child, "id", 0, 0xFFFF));
    std::string text = Text(child, nullptr, child.text().get());
    // The string block stores a 16-bit length.
    if (utf8::ToWide(text).size() > 0x7FFF) Fail(child, "<string> is longer than 32767 characters");
    if (!strings.emplace(id, std::move(text)).second)
      Fail(child, "string " + std::to_string(id) + " is defined twice");
  }
}

std::string Describe(const Entry& entry) {
  const std::string name = entry.name.IsId() ? std::to_string(entry.name.id) : "\"" + entry.name.text + "\"";
  switch (entry.kind) {
    case EntryKind::Dialog:
      return "dialog " + name;
    case EntryKind::Menu:
      return "menu " + name;
    case EntryKind::Accelerators:
      return "accelerators " + name;
    case EntryKind::Toolbar:
      return "toolbar " + name;
    case EntryKind::Bitmap:
      return "bitmap " + name;
    case EntryKind::Icon:
      return "icon " + name;
    case EntryKind::Cursor:
      return "cursor " + name;
    case EntryKind::Raw:
      return "resource " + name + " of type " +
             (entry.type.IsId() ? std::to_string(entry.type.id) : "\"" + entry.type.text + "\"");
    case EntryKind::StringBlock:
      return "string block " + name;
  }
  return name;
}

int LineOf(std::string_view text, ptrdiff_t offset) {
  if (offset < 0) return 0;
  const size_t end = std::min(static_cast<size_t>(offset), text.size());
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<ptrdiff_t>(end), '\n'));
}

void ParseRoot(const pugi::xml_node& root, const std::string& path, std::string_view text,
               FileResources& out) {
  if (std::string_view(root.name()) != "resources") Fail(root, "the root element is not <resources>");
  CheckAttributes(root, {"version"});
  if (Required(root, "version") != kVersion)
    Fail(root, "<resources> version " + std::string(Required(root, "version")) + " is not supported (only " +
                   std::string(kVersion) + ")");
  CheckChildren(root,
                {"dialog", "menu", "accelerators", "toolbar", "strings", "bitmap", "icon", "cursor", "raw"});
  const std::string folder(path::Folder(path));
  std::set<std::pair<ResourceName, ResourceName>> seen;
  for (const pugi::xml_node& node : root.children()) {
    if (node.type() != pugi::node_element) continue;
    const std::string_view kind = node.name();
    std::vector<std::unique_ptr<Entry>> entries;
    if (kind == "strings") {
      ParseStrings(node, out.strings);
      continue;
    } else if (kind == "dialog") {
      entries.push_back(ParseDialog(node));
    } else if (kind == "menu") {
      entries.push_back(ParseMenu(node));
    } else if (kind == "accelerators") {
      entries.push_back(ParseAccelerators(node));
    } else if (kind == "toolbar") {
      entries = ParseToolbar(node, folder);
    } else if (kind == "bitmap") {
      entries.push_back(ParseImage(node, EntryKind::Bitmap, kTypeBitmap, folder));
    } else if (kind == "icon") {
      entries.push_back(ParseImage(node, EntryKind::Icon, kTypeIconGroup, folder));
    } else if (kind == "cursor") {
      entries.push_back(ParseImage(node, EntryKind::Cursor, kTypeCursorGroup, folder));
    } else {
      entries.push_back(ParseRaw(node, folder));
    }
    for (auto& entry : entries) {
      if (!seen.emplace(entry->type, entry->name).second) Fail(node, Describe(*entry) + " is defined twice");
      entry->origin = path + ":" + std::to_string(LineOf(text, node.offset_debug()));
      out.entries.push_back(std::move(entry));
    }
  }
}

}  // namespace

std::string DescribeEntry(const Entry& entry) {
  return Describe(entry);
}

bool ParseResourceFile(const std::string& path, FileResources& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::string("cannot be read: ") + std::strerror(errno);
    return false;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot be read";
    return false;
  }
  pugi::xml_document document;
  const pugi::xml_parse_result result =
      document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!result) {
    error = "line " + std::to_string(LineOf(text, result.offset)) + ": " + result.description();
    return false;
  }
  try {
    ParseRoot(document.document_element(), path, text, out);
  } catch (const ParseError& problem) {
    error = "line " + std::to_string(LineOf(text, problem.offset)) + ": " + problem.message;
    out = FileResources();
    return false;
  }
  return true;
}

}  // namespace pictavo::res
