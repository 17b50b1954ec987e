#include "platform/res/ResourceSet.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/res/Binary.h"
#include "platform/res/IconDirectory.h"
#include "platform/res/ParseSupport.h"
#include "platform/res/Resources.h"

namespace pictavo::res {

namespace fs = std::filesystem;

ResourceName IdName(WORD id) {
  ResourceName name;
  name.id = id;
  return name;
}

LPCSTR ResourceName::Pointer() const {
  return IsId() ? MAKEINTRESOURCE(id) : text.c_str();
}

std::optional<ResourceName> NameFromPointer(LPCSTR pointer) {
  if (pointer == nullptr) return std::nullopt;
  if (IS_INTRESOURCE(pointer)) {
    const auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(pointer) & 0xFFFF);
    if (id == 0) return std::nullopt;
    return IdName(id);
  }
  const std::string_view text(pointer);
  if (text.empty()) return std::nullopt;
  if (text.size() > 1 && text[0] == '#') {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size() && value >= 1 && value <= 0xFFFF)
      return IdName(static_cast<WORD>(value));
  }
  ResourceName name;
  name.text.assign(text);
  for (char& c : name.text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

namespace {

bool IsXmlFile(const fs::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".xml";
}

std::vector<std::string> ResourceFiles(const std::string& folder, const std::string& skip,
                                       std::string& error) {
  std::vector<std::string> files;
  std::error_code ec;
  const fs::path skipPath = skip.empty() ? fs::path() : fs::path(skip).lexically_normal();
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code statusError;
    if (it->is_directory(statusError)) {
      if (!skipPath.empty() && it->path().lexically_normal() == skipPath) it.disable_recursion_pending();
    } else if (it->is_regular_file(statusError) && IsXmlFile(it->path())) {
      files.push_back(it->path().string());
    }
  }
  if (ec) error = "the folder " + folder + " cannot be read: " + ec.message();
  std::sort(files.begin(), files.end());
  return files;
}

std::optional<std::vector<BYTE>> ReadWholeFile(const std::string& path, DWORD& error, std::string& reason) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = ErrorFromErrno(errno);
    reason = std::string("cannot be opened: ") + std::strerror(errno);
    return std::nullopt;
  }
  std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = ERROR_READ_FAULT;
    reason = "cannot be read";
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

std::unique_ptr<ResourceSet> ResourceSet::Load(const std::string& folder, const std::string& skip) {
  auto set = std::make_unique<ResourceSet>();
  std::string folderError;
  for (const std::string& path : ResourceFiles(folder, skip, folderError)) {
    FileResources file;
    std::string error;
    if (!ParseResourceFile(path, file, error)) {
      set->ReportError("the resource file " + path + " is damaged (" + error +
                       "); its resources are not loaded");
      continue;
    }
    set->Add(path, std::move(file));
  }
  if (!folderError.empty()) set->ReportError(folderError);
  set->AddStringBlocks();
  return set;
}

void ResourceSet::ReportError(std::string message) {
  std::fprintf(stderr, "pictavo: %s\n", message.c_str());
  m_errors.push_back(std::move(message));
}

bool ResourceSet::Add(const std::string& path, FileResources&& file) {
  for (const auto& entry : file.entries) {
    const auto existing = m_entries.find(Key(entry->type, entry->name));
    if (existing != m_entries.end()) {
      ReportError("the resource file " + path + " defines " + DescribeEntry(*entry) + " again (first at " +
                  existing->second->origin + "); its resources are not loaded");
      return false;
    }
  }
  for (const auto& [id, text] : file.strings) {
    if (m_strings.contains(id)) {
      ReportError("the resource file " + path + " defines string " + std::to_string(id) +
                  " again; its resources are not loaded");
      return false;
    }
  }
  for (auto& entry : file.entries) {
    m_owned.insert(entry.get());
    m_entries.emplace(Key(entry->type, entry->name), std::move(entry));
  }
  m_strings.merge(file.strings);
  return true;
}

void ResourceSet::AddStringBlocks() {
  std::map<WORD, std::array<const std::string*, 16>> blocks;
  for (const auto& [id, text] : m_strings) {
    auto& block = blocks.try_emplace(static_cast<WORD>(id / 16 + 1)).first->second;
    block[id % 16] = &text;
  }
  for (const auto& [block, strings] : blocks) {
    auto entry = std::make_unique<Entry>();
    entry->kind = EntryKind::StringBlock;
    entry->type = IdName(kTypeString);
    entry->name = IdName(block);
    entry->data = StringBlockData(strings);
    entry->dataState = Entry::DataState::Ready;
    m_owned.insert(entry.get());
    m_entries.emplace(Key(entry->type, entry->name), std::move(entry));
  }
}

const Entry* ResourceSet::Find(const ResourceName& type, const ResourceName& name, DWORD& error) const {
  const auto found = m_entries.find(Key(type, name));
  if (found != m_entries.end()) return found->second.get();
  const auto first = m_entries.lower_bound(Key(type, ResourceName()));
  error = first != m_entries.end() && first->first.first == type ? ERROR_RESOURCE_NAME_NOT_FOUND
                                                                 : ERROR_RESOURCE_TYPE_NOT_FOUND;
  return nullptr;
}

const std::string* ResourceSet::FindString(UINT id, DWORD& error) const {
  const auto found = m_strings.find(id);
  if (found != m_strings.end()) return &found->second;
  error = m_strings.empty() ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_RESOURCE_NAME_NOT_FOUND;
  return nullptr;
}

std::optional<std::span<const BYTE>> ResourceSet::Data(const Entry& entry, DWORD& error) const {
  if (entry.kind == EntryKind::Dialog) {
    error = ERROR_NOT_SUPPORTED;
    return std::nullopt;
  }
  std::lock_guard lock(m_dataLock);
  if (entry.dataState == Entry::DataState::Pending) {
    std::string problem;
    DWORD readError = 0;
    std::optional<std::vector<BYTE>> bytes = ReadWholeFile(entry.file, readError, problem);
    if (bytes && entry.kind == EntryKind::Bitmap) {
      bytes = PackedDibFromBmp(*bytes, problem);
      readError = ERROR_INVALID_DATA;
    } else if (bytes && (entry.kind == EntryKind::Icon || entry.kind == EntryKind::Cursor)) {
      if (!ReadIconDirectory(*bytes, entry.kind == EntryKind::Cursor, problem)) bytes.reset();
      readError = ERROR_INVALID_DATA;
    }
    if (bytes) {
      entry.data = std::move(*bytes);
      entry.dataState = Entry::DataState::Ready;
    } else {
      std::fprintf(stderr, "pictavo: %s (%s): the file %s is damaged or missing (%s)\n",
                   DescribeEntry(entry).c_str(), entry.origin.c_str(), entry.file.c_str(), problem.c_str());
      entry.dataError = readError;
      entry.dataState = Entry::DataState::Failed;
    }
  }
  if (entry.dataState == Entry::DataState::Failed) {
    error = entry.dataError;
    return std::nullopt;
  }
  return std::span<const BYTE>(entry.data);
}

}  // namespace pictavo::res
