#include "albums/FileTreeRules.h"

#include <algorithm>
#include <cstring>

#include "platform/kernel/Unicode.h"

namespace filetree {

int KindRank(int nKind) {
  switch (nKind) {
    case 4:
      return 0;
    case 2:
      return 1;
    case 3:
      return 2;
    case 1:
      return 3;
    case 5:
      return 5;
    default:
      return 4;
  }
}

int CompareRecords(int nKindA, const CString& strNameA, int nKindB, const CString& strNameB) {
  const int rankA = KindRank(nKindA), rankB = KindRank(nKindB);
  if (rankA != rankB) return rankA < rankB ? -1 : 1;
  const int noCase = pictavo::unicode::CompareNoCase(strNameA.GetString(), strNameB.GetString());
  if (noCase != 0) return noCase;
  return std::strcmp(strNameA.GetString(), strNameB.GetString());
}

std::string NormalizePath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    const char sep = c == '\\' ? '/' : c;
    if (sep == '/' && !out.empty() && out.back() == '/') continue;
    out.push_back(sep);
  }
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

bool HasPathPrefix(std::string_view path, std::string_view prefix, bool bNoCase, std::string* rest) {
  if (prefix.empty() || path.size() < prefix.size()) return false;
  const std::string_view head = path.substr(0, prefix.size());
  if (bNoCase ? !pictavo::unicode::EqualsNoCase(head, prefix) : head != prefix) return false;
  std::string_view tail = path.substr(prefix.size());
  if (prefix.back() != '/') {
    // Only whole components: "/home/me2" does not lie below "/home/me".
    if (!tail.empty() && tail.front() != '/') return false;
    if (!tail.empty()) tail.remove_prefix(1);
  }
  if (rest) *rest = std::string(tail);
  return true;
}

std::vector<std::string> SplitComponents(std::string_view rest) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = rest.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = rest.size();
    if (end > start) parts.emplace_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty() || (out.back() != '/' && out.back() != '\\')) out.push_back('/');
  out.append(name);
  return out;
}

bool IsAcceptableNewName(const CString& strName) {
  const std::string_view name(strName.GetString(), strName.GetLength());
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

CString NewFolderCandidate(const CString& strFolder, int n) {
  std::string folder = NormalizePath(strFolder.GetString());
  std::string name = n <= 1 ? "New Folder" : "New Folder (" + std::to_string(n) + ")";
  return CString(JoinPath(folder, name).c_str());
}

void History::SetLimit(int n) {
  m_nLimit = std::max(0, n);
  const size_t limit = static_cast<size_t>(m_nLimit);
  if (m_back.size() > limit) m_back.resize(limit);
  if (m_forward.size() > limit) m_forward.resize(limit);
}

void History::PushSelection(const HistoryEntry& left) {
  if (m_back.size() > static_cast<size_t>(m_nLimit)) m_back.erase(m_back.begin());
  m_back.push_back(left);
}

namespace {
bool PopNewest(std::vector<HistoryEntry>& list, HistoryEntry* entry) {
  if (list.empty()) return false;
  if (entry) *entry = list.back();
  list.pop_back();
  return true;
}
}  // namespace

bool History::PopBack(HistoryEntry* entry) {
  return PopNewest(m_back, entry);
}

bool History::PopForward(HistoryEntry* entry) {
  return PopNewest(m_forward, entry);
}

void History::ForgetItem(HTREEITEM hItem) {
  if (!hItem) return;
  for (auto* list : {&m_back, &m_forward})
    for (HistoryEntry& e : *list)
      if (e.hItem == hItem) e.hItem = nullptr;
}

void History::Clear() {
  m_back.clear();
  m_forward.clear();
}

}  // namespace filetree
