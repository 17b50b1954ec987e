// The folder tree's arithmetic apart from the window: the order of children, the paths it walks,
// the names it accepts for a rename, the new-folder names and the back/forward history.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/CString.h"
#include "platform/comctl/TreeView.h"

namespace filetree {

// Rank of an item kind in a parent's children: the user profile (4) 0, documents (2) 1, computer
// (3) 2, network (1) 3, files (5) 5, anything else (desktop, folder, drive) 4.
int KindRank(int nKind);
// Negative when the first record comes first: lower rank first, then the name without regard to
// case; names that differ only by case keep a fixed order (the exact comparison decides).
// ("Home", 4) before ("Zoo", 2) before ("b", 6) before ("a.jpg", 5); ("Photos", 6) before ("photos", 6).
int CompareRecords(int nKindA, const CString& strNameA, int nKindB, const CString& strNameB);

// A path as the tree stores it: `\` becomes `/`, repeated separators become one, a trailing
// separator goes unless the path is "/". "" stays "".
// "/home//me/" -> "/home/me"; "\\srv\\x" -> "/srv/x"; "/" -> "/".
std::string NormalizePath(std::string_view path);
// Whether `path` is `prefix` or lies below it (whole components only). With bNoCase the names are
// compared without regard to case. `rest` receives the part after the prefix and its separator.
// ("/home/me/a", "/home/me") -> true, "a"; ("/home/me2", "/home/me") -> false; ("/x", "/") -> "x".
bool HasPathPrefix(std::string_view path, std::string_view prefix, bool bNoCase, std::string* rest);
// The components of a relative rest, in order: "a/b/c" -> {"a", "b", "c"}; "" -> {}.
std::vector<std::string> SplitComponents(std::string_view rest);
// A child's path: Join("/", "home") -> "/home"; Join("/home", "me") -> "/home/me".
std::string JoinPath(std::string_view folder, std::string_view name);

// Whether a label typed for a rename may become a file name in the same folder: not empty, not
// "." or "..", without `/` or `\` (which would move the item elsewhere) and without NUL.
bool IsAcceptableNewName(const CString& strName);

// The n-th candidate for a new folder in `folder` (trailing separator dropped): 1 ->
// "<folder>/New Folder", n > 1 -> "<folder>/New Folder (n)".
CString NewFolderCandidate(const CString& strFolder, int n);

// One remembered selection: the item and its path, so that an entry whose item was rebuilt (by
// a refresh or a collapse) is found again by its path; an item that went away has a null handle.
struct HistoryEntry {
  HTREEITEM hItem = nullptr;
  CString strPath;
  BYTE nKind = 8;  // the item's kind, which finds a rebuilt special root (Computer has no path)
};

// The back and forward lists of selections. A new selection pushes the one it leaves on the back
// list (whose oldest entries go once it holds more than the limit, so it keeps at most limit + 1
// after the push); Back and Forward move one entry across.
class History {
 public:
  int GetLimit() const { return m_nLimit; }
  // Shortens both lists to `n` entries, dropping their newest ones.
  void SetLimit(int n);
  void PushSelection(const HistoryEntry& left);
  bool CanGoBack() const { return !m_back.empty(); }
  bool CanGoForward() const { return !m_forward.empty(); }
  // The newest entry of the list, removed; false when it is empty.
  bool PopBack(HistoryEntry* entry);
  bool PopForward(HistoryEntry* entry);
  void AppendBack(const HistoryEntry& entry) { m_back.push_back(entry); }
  void AppendForward(const HistoryEntry& entry) { m_forward.push_back(entry); }
  // An item that was deleted: its entries keep their paths but lose the handle.
  void ForgetItem(HTREEITEM hItem);
  void Clear();
  const std::vector<HistoryEntry>& Back() const { return m_back; }
  const std::vector<HistoryEntry>& Forward() const { return m_forward; }

 private:
  std::vector<HistoryEntry> m_back, m_forward;  // oldest first
  int m_nLimit = 20;
};

}  // namespace filetree
