#include "platform/res/ParseSupport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "platform/kernel/Path.h"
#include "platform/res/Symbols.h"

namespace pictavo::res {

namespace {

std::string_view Trim(std::string_view text) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Null names the element's own text.
std::string Where(const pugi::xml_node& node, const char* attribute) {
  if (attribute == nullptr) return std::string("the text of <") + node.name() + ">";
  return std::string("attribute \"") + attribute + "\" of <" + node.name() + ">";
}

bool IsIdentifier(std::string_view text) {
  if (text.empty() || std::isdigit(static_cast<unsigned char>(text.front()))) return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

}  // namespace

void Fail(const pugi::xml_node& node, std::string message) {
  throw ParseError{node.offset_debug(), std::move(message)};
}

void CheckAttributes(const pugi::xml_node& node, std::initializer_list<std::string_view> allowed) {
  for (const pugi::xml_attribute& attribute : node.attributes()) {
    if (std::find(allowed.begin(), allowed.end(), std::string_view(attribute.name())) == allowed.end())
      Fail(node, std::string("<") + node.name() + "> has no attribute \"" + attribute.name() + "\"");
  }
}

void CheckChildren(const pugi::xml_node& node, std::initializer_list<std::string_view> allowed) {
  for (const pugi::xml_node& child : node.children()) {
    switch (child.type()) {
      case pugi::node_element:
        if (std::find(allowed.begin(), allowed.end(), std::string_view(child.name())) == allowed.end())
          Fail(child, std::string("<") + child.name() + "> does not belong in <" + node.name() + ">");
        break;
      case pugi::node_pcdata:
      case pugi::node_cdata:
        Fail(node, std::string("<") + node.name() + "> holds text; it belongs in attributes");
      default:
        break;
    }
  }
}

std::string_view Required(const pugi::xml_node& node, const char* attribute) {
  const pugi::xml_attribute found = node.attribute(attribute);
  if (!found) Fail(node, std::string("<") + node.name() + "> needs the attribute \"" + attribute + "\"");
  return found.value();
}

std::optional<std::string_view> Optional(const pugi::xml_node& node, const char* attribute) {
  const pugi::xml_attribute found = node.attribute(attribute);
  if (!found) return std::nullopt;
  return std::string_view(found.value());
}

long long IntegerText(const pugi::xml_node& node, const char* attribute, std::string_view text, long long min,
                      long long max) {
  const std::string_view trimmed = Trim(text);
  std::string_view digits = trimmed;
  bool negative = false;
  if (!digits.empty() && digits.front() == '-') {
    negative = true;
    digits.remove_prefix(1);
  }
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.remove_prefix(2);
  }
  unsigned long long value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || ec == std::errc::invalid_argument || end != digits.data() + digits.size() ||
      (negative && base == 16))
    Fail(node, Where(node, attribute) + ": \"" + std::string(trimmed) + "\" is not a number");
  if (ec == std::errc::result_out_of_range || value > (1ull << 40))
    Fail(node, Where(node, attribute) + ": " + std::string(trimmed) + " is out of range");
  const long long signedValue = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
  if (signedValue < min || signedValue > max)
    Fail(node, Where(node, attribute) + ": " + std::string(trimmed) + " is not within " +
                   std::to_string(min) + " to " + std::to_string(max));
  return signedValue;
}

long long Integer(const pugi::xml_node& node, const char* attribute, long long min, long long max) {
  return IntegerText(node, attribute, Required(node, attribute), min, max);
}

bool Boolean(const pugi::xml_node& node, const char* attribute, bool fallback) {
  const std::optional<std::string_view> text = Optional(node, attribute);
  if (!text) return fallback;
  if (*text == "1" || *text == "true") return true;
  if (*text == "0" || *text == "false") return false;
  Fail(node, Where(node, attribute) + ": \"" + std::string(*text) + "\" is neither 1/true nor 0/false");
}

DWORD Flags(const pugi::xml_node& node, const char* attribute, DWORD initial) {
  const std::string_view expression = Required(node, attribute);
  DWORD value = initial;
  size_t start = 0;
  while (true) {
    const size_t bar = expression.find('|', start);
    std::string_view token =
        Trim(expression.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    bool clear = false;
    if (token.size() > 4 && token.substr(0, 3) == "NOT" && (token[3] == ' ' || token[3] == '\t')) {
      clear = true;
      token = Trim(token.substr(4));
    }
    if (token.empty())
      Fail(node, Where(node, attribute) + ": a flag is missing in \"" + std::string(expression) + "\"");
    DWORD flag = 0;
    if (std::isdigit(static_cast<unsigned char>(token.front()))) {
      flag = static_cast<DWORD>(IntegerText(node, attribute, token, 0, 0xFFFFFFFFll));
    } else if (const std::optional<DWORD> named = StyleFlagValue(token)) {
      flag = *named;
    } else {
      Fail(node, Where(node, attribute) + ": unknown flag \"" + std::string(token) + "\"");
    }
    value = clear ? (value & ~flag) : (value | flag);
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return value;
}

ResourceName Name(const pugi::xml_node& node, const char* attribute) {
  const std::string_view text = Trim(Required(node, attribute));
  if (!text.empty() && std::isdigit(static_cast<unsigned char>(text.front())))
    return IdName(static_cast<WORD>(IntegerText(node, attribute, text, 1, 0xFFFF)));
  if (!IsIdentifier(text))
    Fail(node, Where(node, attribute) + ": \"" + std::string(text) +
                   "\" is neither a number nor a name of letters, digits and _");
  ResourceName name;
  name.text.assign(text);
  for (char& c : name.text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string Text(const pugi::xml_node& node, const char* attribute, std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\') {
      out.push_back(raw[i]);
      continue;
    }
    if (++i == raw.size()) Fail(node, Where(node, attribute) + ": the text ends in a lone \\");
    switch (raw[i]) {
      case 'n':
        out.push_back('\n');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case '\\':
        out.push_back('\\');
        break;
      case '"':
        out.push_back('"');
        break;
      default:
        Fail(node, Where(node, attribute) + ": unknown escape \"\\" + std::string(1, raw[i]) +
                       "\" (write \\\\ for a backslash)");
    }
  }
  return out;
}

std::array<short, 4> DialogRect(const pugi::xml_node& node, const char* attribute) {
  const std::string_view text = Required(node, attribute);
  std::array<short, 4> values{};
  size_t start = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    const size_t comma = text.find(',', start);
    if ((comma == std::string_view::npos) != (i == values.size() - 1))
      Fail(node, Where(node, attribute) + ": \"" + std::string(text) + "\" is not \"x, y, width, height\"");
    const std::string_view part =
        text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    values[i] = static_cast<short>(IntegerText(node, attribute, part, i < 2 ? -32768 : 0, 32767));
    start = comma + 1;
  }
  return values;
}

std::string ReferencedFile(const pugi::xml_node& node, const char* attribute, const std::string& folder) {
  const std::string_view relative = Required(node, attribute);
  if (relative.empty() || path::IsAbsolute(relative))
    Fail(node, Where(node, attribute) + ": \"" + std::string(relative) +
                   "\" must be relative to the folder of the resource file");
  const std::string resolved = path::ResolveNoCase(path::Join(folder, path::ToNative(relative)));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(resolved, ec))
    Fail(node, Where(node, attribute) + ": \"" + std::string(relative) + "\" does not exist");
  return resolved;
}

}  // namespace pictavo::res
