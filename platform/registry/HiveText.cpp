#include "platform/registry/HiveText.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/base/Utf8.h"

namespace pictavo::registry {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// Bytes that are not part of a valid UTF-8 character, and control characters, are escaped so
// the file stays readable text and every byte survives.
bool IsPlainCharacter(std::string_view text, size_t pos, size_t& length) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  length = utf8::CharLength(text.substr(pos));
  if (lead < 0x20 || lead == 0x7F) return false;
  return lead < 0x80 || length > 1;
}

void AppendHexByte(std::string& out, unsigned char byte) {
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 15];
}

std::string Quote(std::string_view bytes) {
  std::string out = "\"";
  for (size_t pos = 0; pos < bytes.size();) {
    const char c = bytes[pos];
    size_t length = 1;
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\0') {
      out += "\\0";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (IsPlainCharacter(bytes, pos, length)) {
      out.append(bytes.substr(pos, length));
    } else {
      length = 1;
      out += "\\x";
      AppendHexByte(out, static_cast<unsigned char>(c));
    }
    pos += length;
  }
  out += '"';
  return out;
}

std::string_view AsText(const std::vector<uint8_t>& data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data.data()), size);
}

std::string Hex(const std::vector<uint8_t>& data) {
  std::string out;
  out.reserve(data.size() * 2);
  for (uint8_t byte : data) AppendHexByte(out, byte);
  return out;
}

// The strings of a REG_MULTI_SZ in its usual layout (each string and its NUL, then one more NUL;
// a lone NUL for no strings), or nullopt for any other layout.
std::optional<std::vector<std::string_view>> MultiStrings(const std::vector<uint8_t>& data) {
  if (data.size() == 1 && data[0] == 0) return std::vector<std::string_view>{};
  const size_t n = data.size();
  if (n < 3 || data[n - 1] != 0 || data[n - 2] != 0) return std::nullopt;
  const std::string_view body = AsText(data, n - 2);
  std::vector<std::string_view> strings;
  size_t start = 0;
  while (start <= body.size()) {
    size_t end = body.find('\0', start);
    if (end == std::string_view::npos) end = body.size();
    if (end == start) return std::nullopt;
    strings.push_back(body.substr(start, end - start));
    start = end + 1;
  }
  return strings;
}

std::string FormatData(const Value& value) {
  const std::vector<uint8_t>& data = value.data;
  switch (value.type) {
    case kTypeString:
    case kTypeExpandString: {
      const std::string kind = value.type == kTypeString ? "sz" : "expand_sz";
      if (!data.empty() && data.back() == 0) return kind + ":" + Quote(AsText(data, data.size() - 1));
      return kind + "-raw:" + Quote(AsText(data, data.size()));
    }
    case kTypeMultiString:
      if (const auto strings = MultiStrings(data)) {
        std::string out = "multi_sz:";
        for (size_t i = 0; i < strings->size(); ++i) out += (i ? "," : "") + Quote((*strings)[i]);
        return out;
      }
      break;
    case kTypeDword:
      if (data.size() == 4) {
        const uint32_t number = data[0] | (data[1] << 8) | (data[2] << 16) | (uint32_t{data[3]} << 24);
        char text[16];
        std::snprintf(text, sizeof text, "%08x", number);
        return std::string("dword:") + text;
      }
      break;
    case kTypeBinary:
      return "hex:" + Hex(data);
  }
  char kind[24];
  std::snprintf(kind, sizeof kind, "hex(%x):", value.type);
  return kind + Hex(data);
}

// Key names cannot hold `\`; control characters, '%' and bytes that are not UTF-8 are written
// as %HH.
std::string FormatKeyName(std::string_view name) {
  std::string out;
  for (size_t pos = 0; pos < name.size();) {
    size_t length = 1;
    if (name[pos] != '%' && IsPlainCharacter(name, pos, length)) {
      out.append(name.substr(pos, length));
    } else {
      length = 1;
      out += '%';
      AppendHexByte(out, static_cast<unsigned char>(name[pos]));
    }
    pos += length;
  }
  return out;
}

void FormatKey(const Key& key, const std::string& path, bool isRoot, std::string& out) {
  if (!isRoot || !key.Values().empty()) {
    out += "\n[" + path + "]\n";
    for (const Value& value : key.Values())
      out += (value.name.empty() ? std::string("@") : Quote(value.name)) + "=" + FormatData(value) + "\n";
  }
  for (size_t i = 0; i < key.ChildCount(); ++i) {
    const Key* child = key.ChildAt(i);
    const std::string name = FormatKeyName(child->Name());
    FormatKey(*child, isRoot ? name : path + "\\" + name, false, out);
  }
}

// Reading ------------------------------------------------------------------------------------

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class LineReader {
 public:
  explicit LineReader(std::string_view line) : m_line(line) {}

  bool AtEnd() const { return m_pos >= m_line.size(); }
  void SkipSpaces() {
    while (m_pos < m_line.size() && (m_line[m_pos] == ' ' || m_line[m_pos] == '\t')) ++m_pos;
  }
  bool Take(char c) {
    if (m_pos < m_line.size() && m_line[m_pos] == c) {
      ++m_pos;
      return true;
    }
    return false;
  }
  bool TakeWord(std::string_view word) {
    if (m_line.substr(m_pos, word.size()) != word) return false;
    m_pos += word.size();
    return true;
  }
  std::string_view Rest() const { return m_line.substr(m_pos); }

  bool Quoted(std::string& out) {
    if (!Take('"')) return false;
    while (m_pos < m_line.size()) {
      const char c = m_line[m_pos++];
      if (c == '"') return true;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (m_pos >= m_line.size()) return false;
      const char e = m_line[m_pos++];
      switch (e) {
        case '\\':
          out += '\\';
          break;
        case '"':
          out += '"';
          break;
        case '0':
          out += '\0';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'x': {
          if (m_pos + 2 > m_line.size()) return false;
          const int high = HexValue(m_line[m_pos]), low = HexValue(m_line[m_pos + 1]);
          if (high < 0 || low < 0) return false;
          out += static_cast<char>(high * 16 + low);
          m_pos += 2;
          break;
        }
        default:
          return false;
      }
    }
    return false;
  }

 private:
  std::string_view m_line;
  size_t m_pos = 0;
};

bool ParseHex(std::string_view text, std::vector<uint8_t>& out) {
  if (text.size() % 2 != 0) return false;
  out.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = HexValue(text[i]), low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    out.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return true;
}

std::vector<uint8_t> Bytes(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// The data part of a value line, after the '='.
bool ParseData(LineReader& in, Value& value) {
  std::string text;
  const auto quotedToEnd = [&](bool terminated) {
    if (!in.Quoted(text)) return false;
    in.SkipSpaces();
    if (!in.AtEnd()) return false;
    value.data = Bytes(text);
    if (terminated) value.data.push_back(0);
    return true;
  };
  if (in.TakeWord("sz-raw:")) return value.type = kTypeString, quotedToEnd(false);
  if (in.TakeWord("sz:")) return value.type = kTypeString, quotedToEnd(true);
  if (in.TakeWord("expand_sz-raw:")) return value.type = kTypeExpandString, quotedToEnd(false);
  if (in.TakeWord("expand_sz:")) return value.type = kTypeExpandString, quotedToEnd(true);
  if (in.TakeWord("multi_sz:")) {
    value.type = kTypeMultiString;
    in.SkipSpaces();
    bool first = true;
    while (!in.AtEnd()) {
      if (!first && !in.Take(',')) return false;
      in.SkipSpaces();
      std::string item;
      if (!in.Quoted(item) || item.empty() || item.find('\0') != std::string::npos) return false;
      value.data.insert(value.data.end(), item.begin(), item.end());
      value.data.push_back(0);
      in.SkipSpaces();
      first = false;
    }
    value.data.push_back(0);
    return true;
  }
  if (in.TakeWord("dword:")) {
    value.type = kTypeDword;
    const std::string_view digits = in.Rest();
    std::vector<uint8_t> bigEndian;
    if (digits.size() != 8 || !ParseHex(digits, bigEndian)) return false;
    value.data.assign(bigEndian.rbegin(), bigEndian.rend());
    return true;
  }
  if (in.TakeWord("hex:")) return value.type = kTypeBinary, ParseHex(in.Rest(), value.data);
  if (in.TakeWord("hex(")) {
    const std::string_view rest = in.Rest();
    const size_t close = rest.find("):");
    if (close == 0 || close == std::string_view::npos || close > 8) return false;
    uint32_t type = 0;
    for (char c : rest.substr(0, close)) {
      if (HexValue(c) < 0) return false;
      type = type * 16 + static_cast<uint32_t>(HexValue(c));
    }
    value.type = type;
    return ParseHex(rest.substr(close + 2), value.data);
  }
  return false;
}

bool ParseKeyPath(std::string_view text, KeyPath& path) {
  if (text.empty()) return true;  // the hive's root
  std::string component;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\\') {
      if (component.empty()) return false;
      path.push_back(std::move(component));
      component.clear();
    } else if (text[i] == '%') {
      if (i + 2 >= text.size()) return false;
      const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
      // A key name cannot hold `\` (the writer would split it into two keys).
      if (high < 0 || low < 0 || high * 16 + low == '\\') return false;
      component += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      component += text[i];
    }
  }
  return true;
}

std::string_view TrimLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
    line.remove_suffix(1);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  return line;
}

}  // namespace

std::string FormatHive(const Key& root, std::string_view title) {
  std::string out(kHiveSignature);
  out += "\n; ";
  out += title;
  out += " of Pictavo. The program rewrites this file; edit it only while the program is closed.\n";
  FormatKey(root, "", true, out);
  return out;
}

bool ParseHive(std::string_view text, Key& root, std::string& error) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Key parsed;
  Key* current = nullptr;
  bool sawSignature = false;
  size_t lineNumber = 0;
  const auto fail = [&](const char* why) {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return false;
  };
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimLine(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNumber;
    if (line.find('\0') != std::string_view::npos) return fail("NUL byte in the text");
    if (line.empty() || line.front() == ';') continue;
    if (!sawSignature) {
      if (line != kHiveSignature) return fail("not a hive file of this version");
      sawSignature = true;
      continue;
    }
    if (line.front() == '[') {
      KeyPath path;
      if (line.back() != ']' || !ParseKeyPath(line.substr(1, line.size() - 2), path))
        return fail("malformed key header");
      current = &parsed;
      for (const std::string& component : path) current = &current->ChildOrNew(component);
      continue;
    }
    if (current == nullptr) return fail("value outside a key");
    LineReader in(line);
    Value value;
    if (!in.Take('@') && !(in.Quoted(value.name) && !value.name.empty())) return fail("malformed value name");
    in.SkipSpaces();
    if (!in.Take('=')) return fail("missing '='");
    in.SkipSpaces();
    if (!ParseData(in, value)) return fail("malformed value data");
    current->SetValue(value.name, value.type, std::move(value.data));
  }
  if (!sawSignature) return fail("empty file");
  root = std::move(parsed);
  return true;
}

}  // namespace pictavo::registry
