#include "platform/kernel/Ini.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileErrors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/Unicode.h"

namespace {

using pictavo::unicode::FoldCase;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

struct IniKey {
  std::string name;
  std::optional<std::string> value;  // a line without '=' names a key without a value
  size_t line;
};

struct IniSection {
  std::string name;
  size_t headerLine;
  size_t lastLine;  // the last key line, or the header when there is none
  std::vector<IniKey> keys;
  std::unordered_map<std::string, size_t> keyIndex;  // folded name -> first key of that name
};

// A parsed file: its lines as they were, and the sections found in them.
struct IniDocument {
  std::vector<std::string> lines;
  bool bom = false;
  bool crlf = false;
  bool finalNewline = true;
  std::vector<IniSection> sections;
  std::unordered_map<std::string, size_t> sectionIndex;  // folded name -> first section

  const IniSection* FindSection(std::string_view name) const {
    const auto it = sectionIndex.find(FoldCase(Trim(name)));
    return it == sectionIndex.end() ? nullptr : &sections[it->second];
  }
  static const IniKey* FindKey(const IniSection& section, std::string_view name) {
    const auto it = section.keyIndex.find(FoldCase(Trim(name)));
    return it == section.keyIndex.end() ? nullptr : &section.keys[it->second];
  }
};

IniDocument Parse(std::string_view text) {
  IniDocument doc;
  if (text.substr(0, kBom.size()) == kBom) {
    doc.bom = true;
    text.remove_prefix(kBom.size());
  }
  doc.crlf = text.find("\r\n") != std::string_view::npos;
  doc.finalNewline = text.empty() || text.back() == '\n';
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    doc.lines.emplace_back(line);
    pos = end + 1;
  }

  IniSection* current = nullptr;
  for (size_t i = 0; i < doc.lines.size(); ++i) {
    const std::string_view line = Trim(doc.lines[i]);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      const std::string_view name =
          Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
      doc.sections.push_back(IniSection{std::string(name), i, i, {}, {}});
      doc.sectionIndex.emplace(FoldCase(name), doc.sections.size() - 1);
      current = &doc.sections.back();
      continue;
    }
    if (current == nullptr) continue;  // lines before the first section belong to none
    const size_t equals = line.find('=');
    IniKey key{std::string(Trim(line.substr(0, equals))), std::nullopt, i};
    if (equals != std::string_view::npos) {
      std::string_view value = Trim(line.substr(equals + 1));
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
          value.back() == value.front())
        value = value.substr(1, value.size() - 2);
      key.value = std::string(value);
    }
    current->keyIndex.emplace(FoldCase(key.name), current->keys.size());
    current->keys.push_back(std::move(key));
    current->lastLine = i;
  }
  return doc;
}

std::string Serialize(const IniDocument& doc) {
  std::string out;
  if (doc.bom) out += kBom;
  const char* newline = doc.crlf ? "\r\n" : "\n";
  for (size_t i = 0; i < doc.lines.size(); ++i) {
    out += doc.lines[i];
    if (i + 1 < doc.lines.size() || doc.finalNewline) out += newline;
  }
  return out;
}

struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t modified = 0;
  bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return FileStamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

bool ReadWhole(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = std::move(buffer).str();
  return !in.bad();
}

class IniCache {
 public:
  static IniCache& Instance() {
    static IniCache* const cache = new IniCache;  // never destroyed: usable from exit code
    return *cache;
  }

  // The parsed file, or null when it cannot be read.
  std::shared_ptr<const IniDocument> Get(const std::string& path) {
    const auto stamp = StampOf(path);
    if (!stamp) return nullptr;
    {
      std::lock_guard lock(m_lock);
      const auto it = m_entries.find(path);
      if (it != m_entries.end() && it->second.stamp == *stamp) return it->second.document;
    }
    std::string text;
    if (!ReadWhole(path, text)) return nullptr;
    auto document = std::make_shared<const IniDocument>(Parse(text));
    // The file may have changed while it was read; then the next call reads it again.
    const auto after = StampOf(path);
    if (after && *after == *stamp) {
      std::lock_guard lock(m_lock);
      m_entries[path] = Entry{*stamp, document};
    }
    return document;
  }

  void Clear() {
    std::lock_guard lock(m_lock);
    m_entries.clear();
  }

  // Writers of the same process take turns, so no change of another thread is lost.
  std::mutex& WriteLock() { return m_writeLock; }

 private:
  struct Entry {
    FileStamp stamp;
    std::shared_ptr<const IniDocument> document;
  };
  std::mutex m_lock;
  std::unordered_map<std::string, Entry> m_entries;  // guarded by m_lock
  std::mutex m_writeLock;
};

std::string IniPath(LPCSTR fileName) {
  const std::string_view name(fileName);
  if (pictavo::path::LastSeparator(name) == std::string_view::npos) {
    char folder[MAX_PATH];
    GetWindowsDirectory(folder, MAX_PATH);
    return pictavo::path::Join(folder, name);
  }
  return pictavo::path::ResolveDataPath(name);
}

DWORD CopyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  std::string list;
  for (const std::string& name : names) {
    list += name;
    list += '\0';
  }
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

DWORD CopyValue(std::string_view value, LPSTR buffer, DWORD size) {
  const size_t n = std::min<size_t>(value.size(), size - 1);
  if (n > 0) std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

}  // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                              LPCSTR fileName) {
  if (buffer == nullptr || size == 0) return 0;
  if (fileName == nullptr || *fileName == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    buffer[0] = '\0';
    return 0;
  }
  const std::string path = IniPath(fileName);
  const auto doc = IniCache::Instance().Get(path);

  if (section == nullptr || key == nullptr) {
    std::vector<std::string> names;
    if (doc && section == nullptr) {
      for (size_t i = 0; i < doc->sections.size(); ++i)
        if (doc->sectionIndex.at(FoldCase(doc->sections[i].name)) == i)
          names.push_back(doc->sections[i].name);
    } else if (doc) {
      if (const IniSection* found = doc->FindSection(section))
        for (size_t i = 0; i < found->keys.size(); ++i)
          if (found->keyIndex.at(FoldCase(found->keys[i].name)) == i) names.push_back(found->keys[i].name);
    }
    if (!doc) SetLastError(ERROR_FILE_NOT_FOUND);
    return CopyList(names, buffer, size);
  }

  if (doc) {
    if (const IniSection* found = doc->FindSection(section))
      if (const IniKey* entry = IniDocument::FindKey(*found, key); entry != nullptr && entry->value)
        return CopyValue(*entry->value, buffer, size);
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  std::string_view fallback(defaultValue != nullptr ? defaultValue : "");
  const size_t end = fallback.find_last_not_of(' ');
  fallback = end == std::string_view::npos ? std::string_view() : fallback.substr(0, end + 1);
  return CopyValue(fallback, buffer, size);
}

UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  if (section == nullptr || key == nullptr) return static_cast<UINT>(defaultValue);
  char value[64];
  const DWORD length = GetPrivateProfileString(section, key, "", value, sizeof value, fileName);
  if (length == 0) return static_cast<UINT>(defaultValue);
  const char* p = value;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int64_t number = 0;
  while (*p >= '0' && *p <= '9') {
    number = number * 10 + (*p++ - '0');
    if (number > 0xFFFFFFFFLL) break;
  }
  return static_cast<UINT>(negative ? -number : number);
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (section == nullptr && key == nullptr && value == nullptr) {
    IniCache::Instance().Clear();
    return FALSE;
  }
  if (section == nullptr || fileName == nullptr || *fileName == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string path = IniPath(fileName);
  std::lock_guard lock(IniCache::Instance().WriteLock());

  std::string text;
  if (!ReadWhole(path, text)) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (key == nullptr || value == nullptr) return TRUE;  // nothing to remove from a missing file
    text.clear();
  }
  IniDocument doc = Parse(text);
  const IniSection* found = doc.FindSection(section);
  const std::string sectionName(Trim(section));

  if (key == nullptr) {
    if (found == nullptr) return TRUE;
    // The section runs from its header to the next section's header.
    size_t end = doc.lines.size();
    for (const IniSection& other : doc.sections)
      if (other.headerLine > found->headerLine) {
        end = other.headerLine;
        break;
      }
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(found->headerLine),
                    doc.lines.begin() + static_cast<std::ptrdiff_t>(end));
  } else {
    const IniKey* entry = found != nullptr ? IniDocument::FindKey(*found, key) : nullptr;
    const std::string keyName(Trim(key));
    if (value == nullptr) {
      if (entry == nullptr) return TRUE;
      doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(entry->line));
    } else if (entry != nullptr) {
      doc.lines[entry->line] = entry->name + "=" + value;
    } else if (found != nullptr) {
      doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(found->lastLine + 1),
                       keyName + "=" + value);
    } else {
      if (!doc.lines.empty() && !Trim(doc.lines.back()).empty()) doc.lines.emplace_back();
      doc.lines.push_back("[" + sectionName + "]");
      doc.lines.push_back(keyName + "=" + value);
      doc.finalNewline = true;
    }
  }

  const DWORD error = pictavo::WriteFileAtomically(path, Serialize(doc));
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}
