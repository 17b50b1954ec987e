// SHBrowseForFolder: a tree of folders filled as it opens, the selected folder in an edit, and
// the callback protocol (BFFM_*) the caller drives the dialog with.
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Utf8.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/comctl/TreeView.h"
#include "platform/comdlg/BrowseForFolder.h"
#include "platform/comdlg/DialogIds.h"
#include "platform/comdlg/FolderListing.h"
#include "platform/kernel/Path.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"
#include "platform/shellapi/FileInfo.h"
#include "platform/shellapi/KnownFolders.h"
#include "platform/shellapi/UserFolders.h"
#include "platform/user/Dialog.h"
#include "platform/user/MessageBox.h"
#include "platform/user/User.h"

namespace pictavo::comdlg {

namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The path of an id list this shell made; empty for anything else (virtual folders included).
std::string PathOfList(LPCITEMIDLIST pidl) {
  char path[MAX_PATH] = {};
  return pidl && SHGetPathFromIDList(pidl, path) ? std::string(path) : std::string();
}

// The shell's name of a folder ("Home", "File System (/)", a folder's own name).
std::string DisplayNameOf(const std::string& path) {
  SHFILEINFO info{};
  if (SHGetFileInfo(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) && info.szDisplayName[0])
    return info.szDisplayName;
  return path == "/" ? path : std::string(path::FileName(path));
}

struct ListFreer {
  void operator()(LPITEMIDLIST pidl) const { ILFree(pidl); }
};
using OwnedList = std::unique_ptr<ITEMIDLIST, ListFreer>;

// A folder in the tree; an item's lParam is its index in FolderBrowser::m_folders.
struct FolderItem {
  std::string path;
  HTREEITEM item = nullptr;
  bool filled = false;  // its folders were inserted
};

// One run of the dialog. Lives on the caller's stack; touched by the dialog's thread only.
class FolderBrowser {
 public:
  explicit FolderBrowser(BROWSEINFOA& info) : m_info(info) {}

  LPITEMIDLIST Run();

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Init();
  void Notify(const NMHDR& header);

  HWND Tree() const { return GetDlgItem(m_dialog, kBrowseTree); }
  HTREEITEM AddItem(HTREEITEM parent, const std::string& path, const std::string& text);
  FolderItem* ItemOf(HTREEITEM item);
  // Inserts the folders of an item once.
  void Fill(FolderItem& folder);
  // The item of a folder inside one of the roots, filling and opening the items on the way;
  // null for a folder outside them or one that does not exist.
  HTREEITEM FindItem(const std::string& path);
  // The tree selects the folder (the item opened too with `expand`); false when it cannot.
  bool SetSelection(const std::string& path, bool expand);
  // The selection became `path`: the edit shows it and the callback hears of it.
  void Selected(const std::string& path);
  void Ok();
  int Callback(UINT message, LPARAM lParam);
  void Tell(const std::string& text);

  BROWSEINFOA& m_info;  // the caller's record
  HWND m_dialog = nullptr;
  // The tree's top folders and their items; a folder belongs to the last one that holds it.
  std::vector<std::pair<std::string, HTREEITEM>> m_roots;
  std::deque<FolderItem> m_folders;  // every item's folder, by the item's lParam
  std::string m_selection;           // what OK chooses when the edit holds it
  std::string m_chosen;              // set on OK
  bool m_initialized = false;        // BFFM_INITIALIZED was sent: selections are reported
  int m_reported = 0;                // BFFM_SELCHANGED calls so far
};

LPITEMIDLIST FolderBrowser::Run() {
  InitCommonControls();
  const res::DialogTemplate* dialogTemplate =
      res::FindDialog(nullptr, MAKEINTRESOURCE(kBrowseFolderTemplate));
  if (!dialogTemplate) {
    std::fprintf(stderr, "pictavo: the folder dialog's template %d is missing (resources/comdlg.xml)\n",
                 kBrowseFolderTemplate);
    return nullptr;
  }
  const INT_PTR result =
      DialogBoxIndirectParam(nullptr, dialogTemplate, m_info.hwndOwner, Proc, reinterpret_cast<LPARAM>(this));
  if (result != IDOK) return nullptr;
  LPITEMIDLIST pidl = ILCreateFromPath(m_chosen.c_str());
  if (!pidl) {
    std::fprintf(stderr, "pictavo: the chosen folder %s has no shell id list\n", m_chosen.c_str());
    return nullptr;
  }
  SHFILEINFO info{};
  const bool known =
      SHGetFileInfo(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info,
                    SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON) != 0;
  if (m_info.pszDisplayName) {
    const std::string name = known ? std::string(info.szDisplayName) : std::string(path::FileName(m_chosen));
    std::strncpy(m_info.pszDisplayName, name.c_str(), MAX_PATH - 1);
    m_info.pszDisplayName[MAX_PATH - 1] = '\0';
  }
  m_info.iImage = known ? info.iIcon : 0;
  return pidl;
}

INT_PTR CALLBACK FolderBrowser::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<FolderBrowser*>(lParam);
    self->m_dialog = dialog;
    self->Init();
    return FALSE;  // Init chose the focus
  }
  auto* self = reinterpret_cast<FolderBrowser*>(GetWindowLongPtr(dialog, DWLP_USER));
  return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR FolderBrowser::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) Ok();
      if (LOWORD(wParam) == IDCANCEL) EndDialog(m_dialog, IDCANCEL);
      return TRUE;
    case WM_NOTIFY:
      if (lParam && reinterpret_cast<const NMHDR*>(lParam)->idFrom == static_cast<UINT_PTR>(kBrowseTree))
        Notify(*reinterpret_cast<const NMHDR*>(lParam));
      break;
    case BFFM_SETSTATUSTEXTA:
      SetDlgItemText(m_dialog, kBrowseStatus, lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
      break;
    case BFFM_SETSTATUSTEXTW:
      SetDlgItemText(m_dialog, kBrowseStatus,
                     lParam ? utf8::FromWide(reinterpret_cast<LPCWSTR>(lParam)).c_str() : "");
      break;
    case BFFM_ENABLEOK:
      EnableWindow(GetDlgItem(m_dialog, IDOK), lParam != 0);
      break;
    case BFFM_SETOKTEXT:
      SetDlgItemText(m_dialog, IDOK,
                     lParam ? utf8::FromWide(reinterpret_cast<LPCWSTR>(lParam)).c_str() : "OK");
      break;
    case BFFM_SETSELECTIONA:
    case BFFM_SETSELECTIONW:
    case BFFM_SETEXPANDED: {
      std::string path;
      if (!wParam) {
        path = PathOfList(reinterpret_cast<LPCITEMIDLIST>(lParam));
      } else if (lParam && message == BFFM_SETSELECTIONA) {
        path = reinterpret_cast<LPCSTR>(lParam);
      } else if (lParam) {
        path = utf8::FromWide(reinterpret_cast<LPCWSTR>(lParam));
      }
      result = !path.empty() && SetSelection(ResolvePath(m_selection, path), message == BFFM_SETEXPANDED);
      break;
    }
    default:
      return FALSE;
  }
  SetWindowLongPtr(m_dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

void FolderBrowser::Init() {
  std::string root = "/";
  if (m_info.pidlRoot && !ILIsEmpty(m_info.pidlRoot)) {
    const std::string path = PathOfList(m_info.pidlRoot);
    if (!path.empty() && IsFolder(path)) root = ResolvePath("/", path);
  }
  const std::string home = ResolvePath("/", shell::HomeFolder());
  // Without a root of the caller's the tree starts with the home folder, then the whole file
  // system, as the shell's desktop shows them.
  const bool withHome = root == "/" && home != "/" && IsFolder(home);
  HTREEITEM homeItem = withHome ? AddItem(TVI_ROOT, home, DisplayNameOf(home)) : nullptr;
  m_roots.emplace_back(root, AddItem(TVI_ROOT, root, DisplayNameOf(root)));
  if (homeItem) m_roots.emplace_back(home, homeItem);
  SetDlgItemText(m_dialog, kBrowseTitle, m_info.lpszTitle ? m_info.lpszTitle : "");
  if (!(m_info.ulFlags & BIF_STATUSTEXT)) ShowWindow(GetDlgItem(m_dialog, kBrowseStatus), SW_HIDE);
  if (!SetSelection(m_roots.back().first, true)) Selected(m_roots.back().first);
  SetFocus(GetDlgItem(m_dialog, kBrowsePath));
  m_initialized = true;
  Callback(BFFM_INITIALIZED, 0);
  if (m_reported == 0) Selected(m_selection);  // the callback chose nothing itself
}

void FolderBrowser::Notify(const NMHDR& header) {
  switch (header.code) {
    case TVN_ITEMEXPANDINGA: {
      const auto& nm = reinterpret_cast<const NMTREEVIEWA&>(header);
      if ((nm.action & TVE_ACTIONMASK) == TVE_EXPAND)
        if (FolderItem* folder = ItemOf(nm.itemNew.hItem)) Fill(*folder);
      break;
    }
    case TVN_SELCHANGEDA: {
      const auto& nm = reinterpret_cast<const NMTREEVIEWA&>(header);
      if (FolderItem* folder = ItemOf(nm.itemNew.hItem)) Selected(folder->path);
      break;
    }
    case TVN_GETDISPINFOA: {
      // Whether an item gets an expand button: asked only for the items on screen.
      auto& nm = const_cast<NMTVDISPINFOA&>(reinterpret_cast<const NMTVDISPINFOA&>(header));
      if (nm.item.mask & TVIF_CHILDREN) {
        FolderItem* folder = ItemOf(nm.item.hItem);
        nm.item.cChildren = folder && HasSubfolder(folder->path, false) ? 1 : 0;
        nm.item.mask |= TVIF_DI_SETITEM;
      }
      break;
    }
    default:
      break;
  }
}

HTREEITEM FolderBrowser::AddItem(HTREEITEM parent, const std::string& path, const std::string& text) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<LPSTR>(text.c_str());
  insert.item.cChildren = I_CHILDRENCALLBACK;
  insert.item.lParam = static_cast<LPARAM>(m_folders.size());
  m_folders.push_back({path, nullptr, false});
  const auto item =
      reinterpret_cast<HTREEITEM>(SendMessage(Tree(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!item) {
    m_folders.pop_back();
    return nullptr;
  }
  m_folders.back().item = item;
  return item;
}

FolderItem* FolderBrowser::ItemOf(HTREEITEM item) {
  if (!item) return nullptr;
  TVITEMA query{};
  query.mask = TVIF_PARAM | TVIF_HANDLE;
  query.hItem = item;
  if (!SendMessage(Tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return nullptr;
  const auto index = static_cast<size_t>(query.lParam);
  return index < m_folders.size() ? &m_folders[index] : nullptr;
}

void FolderBrowser::Fill(FolderItem& folder) {
  if (folder.filled) return;
  folder.filled = true;
  ListingOptions options;
  options.files = false;
  std::vector<FolderEntry> entries;
  DWORD error = 0;
  if (!ListFolder(folder.path, options, &entries, &error)) {
    Tell(folder.path + "\nThe folder cannot be opened.");
    entries.clear();
  }
  // `folder` lives in a deque, which keeps it in place while items are added.
  for (const FolderEntry& entry : entries)
    AddItem(folder.item, path::Join(folder.path, entry.name), entry.name);
}

HTREEITEM FolderBrowser::FindItem(const std::string& path) {
  const std::pair<std::string, HTREEITEM>* root = nullptr;
  for (const auto& candidate : m_roots)
    if (IsWithin(path, candidate.first)) root = &candidate;
  if (!root || !root->second || !IsFolder(path)) return nullptr;
  HTREEITEM item = root->second;
  // Down one folder at a time; a hidden folder the listing leaves out gets its item here.
  const std::vector<std::string> chain = FolderChain(path);
  for (const std::string& step : chain) {
    if (step.size() <= root->first.size()) continue;
    FolderItem* parent = ItemOf(item);
    if (!parent) return nullptr;
    Fill(*parent);
    HTREEITEM child = reinterpret_cast<HTREEITEM>(
        SendMessage(Tree(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    while (child) {
      const FolderItem* folder = ItemOf(child);
      if (folder && folder->path == step) break;
      child = reinterpret_cast<HTREEITEM>(
          SendMessage(Tree(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    }
    if (!child) child = AddItem(item, step, std::string(path::FileName(step)));
    if (!child) return nullptr;
    SendMessage(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    item = child;
  }
  return item;
}

bool FolderBrowser::SetSelection(const std::string& path, bool expand) {
  HTREEITEM item = FindItem(path);
  if (!item) return false;
  if (expand) SendMessage(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  if (!SendMessage(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))) return false;
  SendMessage(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  if (m_selection != path) Selected(path);  // the item was selected already: no notification came
  return true;
}

void FolderBrowser::Selected(const std::string& path) {
  m_selection = path;
  HWND edit = GetDlgItem(m_dialog, kBrowsePath);
  SetWindowText(edit, path.c_str());
  // Whatever the user types next replaces the path shown.
  if (GetFocus() == edit) SendMessage(edit, EM_SETSEL, 0, -1);
  if (!m_initialized) return;
  OwnedList pidl(ILCreateFromPath(path.c_str()));
  ++m_reported;
  Callback(BFFM_SELCHANGED, reinterpret_cast<LPARAM>(pidl.get()));
}

void FolderBrowser::Ok() {
  const std::string typed = Trimmed(pictavo::user::WindowText(GetDlgItem(m_dialog, kBrowsePath)));
  const std::string path = typed.empty() ? m_selection : ResolvePath(m_selection, typed);
  bool within = false;
  for (const auto& root : m_roots) within = within || IsWithin(path, root.first);
  if (IsFolder(path) && within) {
    m_chosen = path;
    EndDialog(m_dialog, IDOK);
    return;
  }
  if ((m_info.ulFlags & BIF_VALIDATE) && m_info.lpfn) {
    if (Callback(BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(typed.c_str())) == 0)
      EndDialog(m_dialog, IDCANCEL);
    return;
  }
  if (IsFile(path)) {
    Tell(path + "\nThis is a file, not a folder.");
  } else if (!within) {
    Tell(path + "\nOnly folders inside " + m_roots.front().first + " can be chosen here.");
  } else {
    Tell(path + "\nThe folder does not exist.");
  }
}

int FolderBrowser::Callback(UINT message, LPARAM lParam) {
  return m_info.lpfn ? m_info.lpfn(m_dialog, message, lParam, m_info.lParam) : 0;
}

void FolderBrowser::Tell(const std::string& text) {
  if (!IsWindowVisible(m_dialog)) return;  // nothing to tell before the user sees the dialog
  MessageBox(m_dialog, text.c_str(), pictavo::user::WindowText(m_dialog).c_str(), MB_OK | MB_ICONWARNING);
  HWND edit = GetDlgItem(m_dialog, kBrowsePath);
  SetFocus(edit);
  SendMessage(edit, EM_SETSEL, 0, -1);
}

}  // namespace

}  // namespace pictavo::comdlg

LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFOA info) {
  if (!info) return nullptr;
  pictavo::comdlg::FolderBrowser browser(*info);
  return browser.Run();
}
