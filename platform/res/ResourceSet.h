// The resources of one module: everything its resource files define, parsed once.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <variant>
#include <vector>

#include "platform/res/Templates.h"

namespace pictavo::res {

// Resource type ids.
inline constexpr WORD kTypeCursorGroup = 12;
inline constexpr WORD kTypeBitmap = 2;
inline constexpr WORD kTypeMenu = 4;
inline constexpr WORD kTypeDialog = 5;
inline constexpr WORD kTypeString = 6;
inline constexpr WORD kTypeAccelerator = 9;
inline constexpr WORD kTypeIconGroup = 14;
inline constexpr WORD kTypeToolbar = 241;

// A name as FindResource takes it: an id, "#123", or a string (upper-cased). Null or "" is none.
std::optional<ResourceName> NameFromPointer(LPCSTR name);
ResourceName IdName(WORD id);

enum class EntryKind { Dialog, Menu, Accelerators, Toolbar, Bitmap, Icon, Cursor, Raw, StringBlock };

struct Entry {
  EntryKind kind = EntryKind::Raw;
  ResourceName type;
  ResourceName name;
  std::string origin;  // "file.xml:line", for messages
  std::string file;    // file-backed kinds: the file's path
  std::variant<std::monostate, DialogTemplate, MenuTemplate, AcceleratorTable, ToolbarTemplate> parsed;

  // What LoadResource gives. Built kinds have it from the start; file-backed kinds read it at
  // first use.
  enum class DataState { Pending, Ready, Failed };
  mutable DataState dataState = DataState::Pending;  // guarded by the set's data lock
  mutable std::vector<BYTE> data;                    // guarded by the set's data lock until Ready
  mutable DWORD dataError = 0;                       // guarded by the set's data lock
};

// What one resource file defines; the set takes it whole or not at all.
struct FileResources {
  std::vector<std::unique_ptr<Entry>> entries;
  std::map<UINT, std::string> strings;
};

class ResourceSet {
 public:
  // Reads every .xml file below `folder`, in path order, leaving out the folder `skip` (empty:
  // none). A file that cannot be read, fails to parse or redefines a resource of an earlier file
  // adds an error and nothing else.
  static std::unique_ptr<ResourceSet> Load(const std::string& folder, const std::string& skip);

  // Null with ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND in `error`.
  const Entry* Find(const ResourceName& type, const ResourceName& name, DWORD& error) const;
  bool Owns(const void* entry) const { return m_owned.contains(entry); }
  const std::string* FindString(UINT id, DWORD& error) const;
  // The entry's LoadResource data, read at first use; nullopt with the error otherwise.
  std::optional<std::span<const BYTE>> Data(const Entry& entry, DWORD& error) const;
  const std::vector<std::string>& Errors() const { return m_errors; }

 private:
  using Key = std::pair<ResourceName, ResourceName>;  // type, name

  // False (and an error) when `file` defines something this set already has.
  bool Add(const std::string& path, FileResources&& file);
  void AddStringBlocks();
  void ReportError(std::string message);

  std::map<Key, std::unique_ptr<Entry>> m_entries;
  std::unordered_set<const void*> m_owned;  // every Entry of m_entries
  std::map<UINT, std::string> m_strings;
  std::vector<std::string> m_errors;
  mutable std::mutex m_dataLock;
};

}  // namespace pictavo::res
