#include "controls/ShellFolderTree.h"

#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "platform/base/Array.h"
#include "platform/base/Utf8.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/TreeView.h"
#include "platform/kernel/FileFind.h"
#include "platform/mfc/WinApp.h"
#include "platform/shellapi/FileInfo.h"
#include "platform/shellapi/KnownFolders.h"
#include "platform/shellapi/ShellFolder.h"

namespace {

constexpr SFGAOF kAttributeMask = SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_SHARE | SFGAO_LINK;
constexpr char kComputer[] = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
constexpr char kNetwork[] = "::{208D2C60-3AEA-1069-A2D7-08002B30309D}";
constexpr char kRecycleBin[] = "::{645FF040-5081-101B-9F08-00AA002F954E}";

struct DisplayNames {
  CString normal, parsing, inFolder;
};

// A STRRET as text of any length: paths here may be far longer than a fixed buffer.
bool TextOf(STRRET& strret, LPCITEMIDLIST pidl, CString* out) {
  LPSTR text = nullptr;
  if (FAILED(StrRetToStr(&strret, pidl, &text)) || !text) return false;
  *out = text;
  CoTaskMemFree(text);
  return true;
}

DisplayNames NamesOf(IShellFolder* folder, LPCITEMIDLIST pidl) {
  DisplayNames names;
  const struct {
    SHGDNF flags;
    CString* out;
  } forms[] = {
      {SHGDN_NORMAL, &names.normal}, {SHGDN_FORPARSING, &names.parsing}, {SHGDN_INFOLDER, &names.inFolder}};
  for (const auto& form : forms) {
    STRRET strret{};
    if (SUCCEEDED(folder->GetDisplayNameOf(pidl, form.flags, &strret)) && TextOf(strret, pidl, form.out) &&
        !form.out->IsEmpty())
      continue;
    // A name without text: asked once more for the parsing form.
    STRRET again{};
    if (SUCCEEDED(folder->GetDisplayNameOf(pidl, SHGDN_FORPARSING, &again))) TextOf(again, pidl, form.out);
  }
  return names;
}

struct Released {
  void operator()(IUnknown* object) const {
    if (object) object->Release();
  }
};

IShellFolder* DesktopFolder() {
  IShellFolder* desktop = nullptr;
  return SUCCEEDED(SHGetDesktopFolder(&desktop)) ? desktop : nullptr;
}

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM) {
  return CShellFolderTree::CompareRecords(reinterpret_cast<const ShellTreeItemData*>(a),
                                          reinterpret_cast<const ShellTreeItemData*>(b));
}

// Lets the user's clicks and keys through while a long walk runs; false once cancelled.
bool DispatchWaiting(const BOOL* cancel) {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
    if (cancel && *cancel) return false;
  }
  return !(cancel && *cancel);
}

}  // namespace

// --- the shell folder tree --------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CShellFolderTree, CTreeCtrl)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_NOTIFY_REFLECT_EX(TVN_ITEMEXPANDING, OnItemExpanding)
ON_MESSAGE(WM_SHELL_TREE_REFRESH, OnRefresh)
END_MESSAGE_MAP()

CShellFolderTree::CShellFolderTree() {
  if (FAILED(SHGetMalloc(&m_pMalloc))) m_pMalloc = nullptr;
}

CShellFolderTree::~CShellFolderTree() {
  if (m_pMalloc) m_pMalloc->Release();
}

int CShellFolderTree::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CTreeCtrl::OnCreate(lpCreateStruct) == -1) return -1;
  Initialize();
  return 0;
}

void CShellFolderTree::OnDestroy() {
  for (HTREEITEM item = GetRootItem(); item; item = GetNextSiblingItem(item)) FreeSubtree(item);
  CTreeCtrl::OnDestroy();
}

void CShellFolderTree::FreeSubtree(HTREEITEM hItem) {
  for (HTREEITEM child = GetChildItem(hItem); child; child = GetNextSiblingItem(child)) FreeSubtree(child);
  FreeRecord(RecordOf(hItem));
  SetItemData(hItem, 0);
}

void CShellFolderTree::FreeRecord(ShellTreeItemData* pRecord) {
  if (!pRecord) return;
  if (pRecord->pFolder) pRecord->pFolder->Release();
  if (pRecord->pidlAbsolute) {
    if (m_pMalloc)
      m_pMalloc->Free(pRecord->pidlAbsolute);
    else
      ILFree(pRecord->pidlAbsolute);
  }
  delete pRecord;
}

ShellTreeItemData* CShellFolderTree::RecordOf(HTREEITEM hItem) const {
  return hItem ? reinterpret_cast<ShellTreeItemData*>(GetItemData(hItem)) : nullptr;
}

void CShellFolderTree::Initialize() {
  if (m_bInitialized || !GetSafeHwnd()) return;
  m_bInitialized = true;
  ModifyStyle(0, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);

  LPITEMIDLIST desktopDirectory = nullptr;
  SHFILEINFO info{};
  HIMAGELIST images = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &desktopDirectory)))
    images = reinterpret_cast<HIMAGELIST>(SHGetFileInfo(reinterpret_cast<LPCSTR>(desktopDirectory), 0, &info,
                                                        sizeof info,
                                                        SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON));
  if (!images) {
    // No desktop folder on this machine: the list is the same whichever item asks.
    images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfo("/", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  }
  ILFree(desktopDirectory);
  if (images) {
    for (int i = 0; i < 3; ++i) ImageList_SetOverlayImage(images, i, i + 1);
    SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  }

  LPITEMIDLIST desktop = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop))) return;
  HTREEITEM root = InsertChild(desktop, nullptr);
  ILFree(desktop);
  if (!root) return;
  if (ShellTreeItemData* record = RecordOf(root)) {
    char path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path))) record->strPath = path;
    record->nKind = 4;
  }
  Populate(root);
  InsertDocuments(root);
  Expand(root, TVE_EXPAND);
  SelectPath("C:\\");  // the drive that holds the system: the root file system
}

void CShellFolderTree::InsertDocuments(HTREEITEM hRoot) {
  // The documents folder sits on the desktop, where users look for it; its list is the one
  // under Home, so the folders below it are the same items and a path still selects one way.
  LPITEMIDLIST documents = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &documents)) || !documents) return;
  const LPITEMIDLIST second = ILGetNext(documents);
  if (second && !ILIsEmpty(second) && InsertChild(documents, hRoot)) {
    TVSORTCB sort{hRoot, CompareItems, 0};
    SortChildrenCB(&sort);
  }
  ILFree(documents);
}

HTREEITEM CShellFolderTree::InsertChild(LPCITEMIDLIST pidlRelative, HTREEITEM hParent) {
  ShellTreeItemData* parent = RecordOf(hParent);
  std::unique_ptr<IShellFolder, Released> desktop(DesktopFolder());
  IShellFolder* from = parent && parent->pFolder ? parent->pFolder : desktop.get();
  if (!from) return nullptr;

  DisplayNames names = NamesOf(from, pidlRelative);
  if (!parent && ILIsEmpty(pidlRelative) && names.normal.IsEmpty()) names.normal = "Desktop";
  if (IsHiddenVirtualFolder(names.parsing)) return nullptr;

  SFGAOF attributes = 0;
  if (parent) {
    SFGAOF asked = kAttributeMask;
    if (SUCCEEDED(from->GetAttributesOf(1, &pidlRelative, &asked))) attributes = asked & kAttributeMask;
  }

  auto* record = new ShellTreeItemData;
  record->pidlAbsolute = ILCombine(parent ? parent->pidlAbsolute : nullptr, pidlRelative);
  if (!record->pidlAbsolute) {
    delete record;
    return nullptr;
  }
  record->cbAbsolute = ILGetSize(record->pidlAbsolute) - 2;
  SHFILEINFO normal{}, open{};
  const auto pidl = reinterpret_cast<LPCSTR>(record->pidlAbsolute);
  SHGetFileInfo(pidl, 0, &normal, sizeof normal, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON);
  SHGetFileInfo(pidl, 0, &open, sizeof open,
                SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON | SHGFI_OPENICON);
  record->strPath = names.parsing;
  record->uAttributes = attributes;
  record->nKind = names.parsing == kComputer ? 3 : 0;
  if (ILIsEmpty(pidlRelative)) {
    record->pFolder = desktop.release();
  } else if (FAILED(from->BindToObject(pidlRelative, nullptr, IID_IShellFolder,
                                       reinterpret_cast<void**>(&record->pFolder)))) {
    record->pFolder = nullptr;
  }

  TVINSERTSTRUCT insert{};
  insert.hParent = hParent ? hParent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
  insert.item.pszText = const_cast<LPSTR>(names.normal.GetString());
  insert.item.iImage = normal.iIcon;
  insert.item.iSelectedImage = open.iIcon;
  insert.item.lParam = reinterpret_cast<LPARAM>(record);
  insert.item.stateMask = TVIS_OVERLAYMASK;
  insert.item.state = (attributes & SFGAO_SHARE)  ? INDEXTOOVERLAYMASK(1)
                      : (attributes & SFGAO_LINK) ? INDEXTOOVERLAYMASK(2)
                                                  : 0;
  // A folder with sub-folders shows its expand button until it is opened and read.
  insert.item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
  HTREEITEM item = InsertItem(&insert);
  if (!item) FreeRecord(record);
  return item;
}

void CShellFolderTree::Populate(HTREEITEM hItem) {
  ShellTreeItemData* record = RecordOf(hItem);
  if (!record) return;
  CWaitCursor wait;
  SetRedraw(FALSE);
  bool any = false;
  bool failed = true;
  IEnumIDList* items = nullptr;
  if (record->pFolder &&
      SUCCEEDED(
          record->pFolder->EnumObjects(GetSafeHwnd(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &items)) &&
      items) {
    failed = false;
    PITEMID_CHILD child = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &child, &fetched) == S_OK && fetched == 1) {
      any = InsertChild(child, hItem) != nullptr || any;
      if (m_pMalloc)
        m_pMalloc->Free(child);
      else
        ILFree(child);
    }
    items->Release();
  }
  TVITEM children{};
  children.mask = TVIF_CHILDREN | TVIF_HANDLE;
  children.hItem = hItem;
  children.cChildren = any || failed ? 1 : 0;
  SetItem(&children);
  if (record->nKind != 3) {
    TVSORTCB sort{hItem, CompareItems, 0};
    SortChildrenCB(&sort);
  }
  OnItemPopulated(hItem);
  SetRedraw(TRUE);
}

void CShellFolderTree::OnItemPopulated(HTREEITEM) {}

BOOL CShellFolderTree::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
  const auto* nm = reinterpret_cast<const NMTREEVIEW*>(pNMHDR);
  if ((nm->action & TVE_ACTIONMASK) == TVE_EXPAND && !GetChildItem(nm->itemNew.hItem))
    Populate(nm->itemNew.hItem);
  *pResult = 0;
  return FALSE;
}

void CShellFolderTree::DeleteChildren(HTREEITEM hItem) {
  while (HTREEITEM child = GetChildItem(hItem)) {
    FreeSubtree(child);
    DeleteItem(child);
  }
}

LRESULT CShellFolderTree::OnRefresh(WPARAM wParam, LPARAM) {
  const auto item = reinterpret_cast<HTREEITEM>(wParam);
  if (!item || !RecordOf(item)) return 0;
  const bool expanded = (GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  DeleteChildren(item);
  Populate(item);
  if (expanded) Expand(item, TVE_EXPAND);
  return 0;
}

CString CShellFolderTree::GetItemPath(HTREEITEM hItem) const {
  if (!hItem) hItem = GetSelectedItem();
  const ShellTreeItemData* record = RecordOf(hItem);
  return record ? record->strPath : CString();
}

BOOL CShellFolderTree::SelectPath(LPCTSTR lpszPath) {
  HTREEITEM item = GetRootItem();
  std::unique_ptr<IShellFolder, Released> desktop(DesktopFolder());
  if (!item || !desktop || !lpszPath) return FALSE;
  std::wstring wide = pictavo::utf8::ToWide(lpszPath);
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(desktop->ParseDisplayName(GetSafeHwnd(), nullptr, wide.data(), nullptr, &pidl, nullptr)) ||
      !pidl)
    return FALSE;
  const auto* bytes = reinterpret_cast<const BYTE*>(pidl);
  UINT walked = 0;
  for (LPCITEMIDLIST step = pidl; step && !ILIsEmpty(step); step = ILGetNext(step)) {
    walked += step->mkid.cb;
    if (!GetChildItem(item)) Populate(item);
    Expand(item, TVE_EXPAND);
    HTREEITEM found = nullptr;
    for (HTREEITEM child = GetChildItem(item); child && !found; child = GetNextSiblingItem(child)) {
      const ShellTreeItemData* record = RecordOf(child);
      if (record && record->cbAbsolute == walked &&
          std::equal(bytes, bytes + walked, reinterpret_cast<const BYTE*>(record->pidlAbsolute)))
        found = child;
    }
    if (!found) break;
    item = found;
  }
  ILFree(pidl);
  Select(item, TVGN_CARET);
  EnsureVisible(item);
  return TRUE;
}

int CShellFolderTree::CompareRecords(const ShellTreeItemData* a, const ShellTreeItemData* b) {
  if (!a || !b) return 0;
  const bool fsA = (a->uAttributes & SFGAO_FILESYSTEM) != 0, fsB = (b->uAttributes & SFGAO_FILESYSTEM) != 0;
  if (!fsA || !fsB) return fsA == fsB ? 0 : (fsA ? 1 : -1);
  // Bit 0x20000000 is not among the attributes the tree asks for, so this never tells two
  // folders apart today; it is kept for a tree that asks.
  const bool ancA = (a->uAttributes & 0x20000000u) != 0, ancB = (b->uAttributes & 0x20000000u) != 0;
  if (ancA != ancB) return ancA ? -1 : 1;
  return a->strPath.CompareNoCase(b->strPath);
}

BOOL CShellFolderTree::IsHiddenVirtualFolder(const CString& strPath) {
  if (strPath.Left(2) != "::") return FALSE;
  return strPath.CompareNoCase(kNetwork) == 0 || strPath.CompareNoCase(kRecycleBin) == 0;
}

// --- the check tree ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CFolderCheckTree, CShellFolderTree)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

BOOL CFolderCheckTree::IsChecked(HTREEITEM hItem) const {
  const UINT image = (GetItemState(hItem, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> 12;
  return image != 1;  // 2, or no state image at all
}

void CFolderCheckTree::SetChecked(HTREEITEM hItem, BOOL bCheck) {
  SetItemState(hItem, INDEXTOSTATEIMAGEMASK(bCheck ? 2 : 1) | (bCheck ? TVIS_BOLD : 0),
               TVIS_STATEIMAGEMASK | TVIS_BOLD);
}

void CFolderCheckTree::SetSubtree(HTREEITEM hItem, BOOL bCheck) {
  SetChecked(hItem, bCheck);
  for (HTREEITEM child = GetChildItem(hItem); child; child = GetNextSiblingItem(child))
    SetSubtree(child, bCheck);
}

void CFolderCheckTree::CheckSelected() {
  if (HTREEITEM item = GetSelectedItem()) SetChecked(item, TRUE);
}
void CFolderCheckTree::UncheckSelected() {
  if (HTREEITEM item = GetSelectedItem()) SetChecked(item, FALSE);
}
void CFolderCheckTree::CheckSelectedSubtree() {
  if (HTREEITEM item = GetSelectedItem()) SetSubtree(item, TRUE);
}
void CFolderCheckTree::UncheckSelectedSubtree() {
  if (HTREEITEM item = GetSelectedItem()) SetSubtree(item, FALSE);
}
void CFolderCheckTree::UncheckAll() {
  if (HTREEITEM root = GetRootItem()) SetSubtree(root, FALSE);
}

void CFolderCheckTree::OnItemPopulated(HTREEITEM hItem) {
  SetSubtree(hItem, IsChecked(hItem));
}

void CFolderCheckTree::UpdateAncestorsBold(HTREEITEM hItem) {
  for (HTREEITEM up = GetParentItem(hItem); up; up = GetParentItem(up)) {
    bool bold = IsChecked(up) != FALSE;
    for (HTREEITEM child = GetChildItem(up); child && !bold; child = GetNextSiblingItem(child))
      bold = (GetItemState(child, TVIS_BOLD) & TVIS_BOLD) != 0;
    SetItemState(up, bold ? TVIS_BOLD : 0, TVIS_BOLD);
  }
}

void CFolderCheckTree::OnLButtonDown(UINT nFlags, CPoint point) {
  UINT flags = 0;
  HTREEITEM item = HitTest(point, &flags);
  if (!item) return;
  Select(item, TVGN_CARET);
  SetFocus();
  if (flags & TVHT_ONITEMSTATEICON) {
    SetSubtree(item, !IsChecked(item));
    UpdateAncestorsBold(item);
    return;
  }
  CShellFolderTree::OnLButtonDown(nFlags, point);
}

int CFolderCheckTree::GetCheckedFolders(CStringArray& arrFolders, BOOL* pbCancel) {
  arrFolders.RemoveAll();
  for (HTREEITEM item = GetRootItem(); item; item = GetNextSiblingItem(item))
    if (!Collect(item, arrFolders, pbCancel)) break;
  return 1;
}

bool CFolderCheckTree::Collect(HTREEITEM hItem, CStringArray& arrFolders, BOOL* pbCancel) {
  const bool checked = IsChecked(hItem) != FALSE;
  if (checked) arrFolders.Add(GetItemPath(hItem));
  HTREEITEM child = GetChildItem(hItem);
  const bool hadChildren = child != nullptr;
  for (; child; child = GetNextSiblingItem(child)) {
    if (!DispatchWaiting(pbCancel)) return false;
    if (!Collect(child, arrFolders, pbCancel)) return false;
  }
  if (checked && !hadChildren) return CollectFromDisk(GetItemPath(hItem), arrFolders, pbCancel, 0);
  return true;
}

bool CFolderCheckTree::CollectFromDisk(const CString& strFolder, CStringArray& arrFolders, BOOL* pbCancel,
                                       int nDepth) {
  // A folder tree deeper than this is a loop of mounts, not photos.
  constexpr int kMaxDepth = 64;
  if (strFolder.IsEmpty() || strFolder.Left(2) == "::" || nDepth > kMaxDepth) return true;
  CString pattern = strFolder;
  const char last = pattern[pattern.GetLength() - 1];
  if (last != '/' && last != '\\') pattern += '/';
  CFileFind finder;
  BOOL more = finder.FindFile(pattern + "*.*");
  while (more) {
    if (!DispatchWaiting(pbCancel)) return false;
    more = finder.FindNextFile();
    if (finder.IsDots() || !finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY)) continue;
    const CString path = finder.GetFilePath();
    arrFolders.Add(path);
    // A link to a folder is collected but not walked into: it may lead back up the tree.
    struct stat info {};
    if (::lstat(path, &info) == 0 && S_ISLNK(info.st_mode)) continue;
    if (!CollectFromDisk(path, arrFolders, pbCancel, nDepth + 1)) return false;
  }
  return true;
}
