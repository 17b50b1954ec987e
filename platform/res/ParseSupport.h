// Reading the values of a resource file's elements. Every helper that meets a bad value throws
// ParseError at the element, which the file reader reports with the element's line.
#pragma once

#include <pugixml.hpp>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/res/ResourceSet.h"

namespace pictavo::res {

struct ParseError {
  ptrdiff_t offset;  // of the element in the file
  std::string message;
};

[[noreturn]] void Fail(const pugi::xml_node& node, std::string message);

// Fails unless every attribute of the node is one of `allowed`.
void CheckAttributes(const pugi::xml_node& node, std::initializer_list<std::string_view> allowed);
// Fails unless the node has only element children, all named one of `allowed`.
void CheckChildren(const pugi::xml_node& node, std::initializer_list<std::string_view> allowed);
std::string_view Required(const pugi::xml_node& node, const char* attribute);
std::optional<std::string_view> Optional(const pugi::xml_node& node, const char* attribute);

// Decimal (with an optional minus) or 0x hexadecimal, within [min, max].
long long Integer(const pugi::xml_node& node, const char* attribute, long long min, long long max);
long long IntegerText(const pugi::xml_node& node, const char* attribute, std::string_view text, long long min,
                      long long max);
// "1"/"true" or "0"/"false"; `fallback` when the attribute is missing.
bool Boolean(const pugi::xml_node& node, const char* attribute, bool fallback);
// A style expression: names and numbers joined by "|", "NOT name" clearing, applied in order to
// `initial`.
DWORD Flags(const pugi::xml_node& node, const char* attribute, DWORD initial);
// A resource's name: a number from 1 to 65535, or a name of letters, digits and "_" (upper-cased).
ResourceName Name(const pugi::xml_node& node, const char* attribute);
// Text with the escapes \n, \t, \r, \\ and \" resolved; a null attribute names the element's
// own text in messages.
std::string Text(const pugi::xml_node& node, const char* attribute, std::string_view raw);
// "x, y, cx, cy" in dialog units.
std::array<short, 4> DialogRect(const pugi::xml_node& node, const char* attribute);
// The file an attribute names, relative to the folder of the resource file (case ignored); it
// must exist.
std::string ReferencedFile(const pugi::xml_node& node, const char* attribute, const std::string& folder);

// Element readers (ParseDialog.cpp, ParseMenu.cpp, ParseFile.cpp).
std::unique_ptr<Entry> ParseDialog(const pugi::xml_node& node);
std::unique_ptr<Entry> ParseMenu(const pugi::xml_node& node);
std::unique_ptr<Entry> ParseAccelerators(const pugi::xml_node& node);

// "dialog 100", "resource 295 of type \"JPG\"" ..., for messages.
std::string DescribeEntry(const Entry& entry);
// Reads one resource file; false with "line N: message" (or the reading problem) in `error`.
bool ParseResourceFile(const std::string& path, FileResources& out, std::string& error);

}  // namespace pictavo::res
