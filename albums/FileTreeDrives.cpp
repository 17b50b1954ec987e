// The folder tree's nodes that are not plain folders: the drives under Computer (the mount
// points), their names and media, the network neighbourhood and the shared-folder overlay, and
// the image list the tree draws with.
#include <algorithm>
#include <cwchar>

#include "albums/FileTreeCtrl.h"
#include "platform/base/ErrorCodes.h"
#include "platform/comctl/ImageList.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/Unicode.h"
#include "platform/mfc/WinApp.h"
#include "platform/shellapi/FileInfo.h"
#include "platform/shellapi/KnownFolders.h"
#include "platform/shellapi/Network.h"
#include "platform/shellapi/ShellFolder.h"

namespace {

std::string Str(const CString& text) {
  return std::string(text.GetString(), text.GetLength());
}

// The system's small image list, as the shell hands it out for the drive of the temporary folder.
// Shared by every tree and never destroyed here.
HIMAGELIST SmallSystemImageList() {
  char temp[MAX_PATH] = {};
  ::GetTempPath(sizeof temp, temp);
  SHFILEINFO info{};
  auto list = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfo(temp, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!list)
    list = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfo("/", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  return list;
}

}  // namespace

// --- the share list --------------------------------------------------------------------------

CShareList& GetShareList() {
  static CShareList list;
  return list;
}

CShareList::CShareList() {
  OSVERSIONINFO version{};
  version.dwOSVersionInfoSize = sizeof version;
  m_bNT = ::GetVersionEx(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  Enumerate();
}

CShareList::~CShareList() {
  if (m_pBuffer) ::NetApiBufferFree(m_pBuffer);
}

void CShareList::Enumerate() {
  // The share calls are part of our own platform, so there is no library to load for them.
  m_nEntries = 0;
  if (m_pBuffer) ::NetApiBufferFree(m_pBuffer);
  m_pBuffer = nullptr;
  DWORD read = 0, total = 0;
  if (::NetShareEnum(nullptr, 502, &m_pBuffer, MAX_PREFERRED_LENGTH, &read, &total, nullptr) !=
      NERR_Success) {
    m_pBuffer = nullptr;
    return;
  }
  m_nEntries = m_pBuffer ? std::min(read, total) : 0;
}

BOOL CShareList::IsShared(const CString& strPath) const {
  if (!m_pBuffer || m_nEntries == 0) return FALSE;
  const auto* shares = reinterpret_cast<const SHARE_INFO_502*>(m_pBuffer);
  for (DWORD i = 0; i < m_nEntries; ++i) {
    const SHARE_INFO_502& share = shares[i];
    if (share.shi502_type != STYPE_DISKTREE && share.shi502_type != STYPE_PRINTQ) continue;
    if (!share.shi502_path) continue;
    char path[MAX_PATH * 4] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, share.shi502_path, -1, path, sizeof path, nullptr, nullptr);
    if (pictavo::unicode::EqualsNoCase(path, Str(strPath))) return TRUE;
  }
  return FALSE;
}

// --- the image list --------------------------------------------------------------------------

void CFileTreeCtrl::AttachImageList() {
  if (!GetSafeHwnd()) return;
  if (HIMAGELIST list = SmallSystemImageList())
    SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
  Refresh();
}

// --- drives ----------------------------------------------------------------------------------

void CFileTreeCtrl::RememberDrives() {
  m_drives.clear();
  char buffer[8192] = {};
  const DWORD length = ::GetLogicalDriveStrings(sizeof buffer, buffer);
  if (length > 0 && length < sizeof buffer) {
    for (const char* drive = buffer; *drive; drive += std::strlen(drive) + 1)
      m_drives.push_back(filetree::NormalizePath(drive));
  }
  m_bDrivesKnown = true;
}

BOOL CFileTreeCtrl::IsDrive(const CString& strPath) {
  if (strPath.IsEmpty()) return FALSE;
  if (!m_bDrivesKnown) RememberDrives();
  const std::string path = filetree::NormalizePath(Str(strPath));
  return std::find(m_drives.begin(), m_drives.end(), path) != m_drives.end();
}

const std::string* CFileTreeCtrl::DriveHolding(const std::string& strPath) const {
  const std::string* best = nullptr;
  for (const std::string& drive : m_drives)
    if (filetree::HasPathPrefix(strPath, drive, false, nullptr) && (!best || drive.size() > best->size()))
      best = &drive;
  return best;
}

void CFileTreeCtrl::AddDrives(HTREEITEM hParent, BOOL bRedrawOff) {
  CWaitCursor wait;
  if (bRedrawOff) SetRedraw(FALSE);
  RememberDrives();
  // The drives stay in the system's order: "/" first, then the other mount points.
  for (const std::string& drive : m_drives) {
    const CString path(drive.c_str());
    if (!IsDriveShown(path)) continue;
    auto* record = new CFileTreeItem;
    record->m_nKind = CFileTreeItem::kDrive;
    record->m_strPath = record->m_strName = path;
    InsertItem(hParent, record, m_bSharedOverlay && IsShared(path), GetPathIcon(path),
               GetPathSelectedIcon(path), TRUE);
  }
  if (bRedrawOff) SetRedraw(TRUE);
}

BOOL CFileTreeCtrl::IsDriveShown(const CString& strPath) {
  switch (::GetDriveType(strPath)) {
    case DRIVE_REMOVABLE:
      return !(m_dwHiddenDriveTypes & 0x01);
    case DRIVE_FIXED:
      return !(m_dwHiddenDriveTypes & 0x02);
    case DRIVE_REMOTE:
      return !(m_dwHiddenDriveTypes & 0x04);
    case DRIVE_CDROM:
      return !(m_dwHiddenDriveTypes & 0x10);
    case DRIVE_RAMDISK:
      return !(m_dwHiddenDriveTypes & 0x20);
    default:
      return TRUE;
  }
}

BOOL CFileTreeCtrl::IsRemovableDrive(const CString& strPath) {
  if (!IsDrive(strPath)) return FALSE;
  const UINT type = ::GetDriveType(strPath);
  return type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
}

BOOL CFileTreeCtrl::GetVolumeSerial(const CString& strPath, DWORD* pSerial) {
  DWORD serial = 0;
  const BOOL read = ::GetVolumeInformation(strPath, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
  if (read && pSerial) *pSerial = serial;
  return read;
}

BOOL CFileTreeCtrl::CheckDriveMedia(const CString& strPath) {
  // Only a removable or optical drive's root is asked about its medium.
  if (!IsDrive(strPath)) return TRUE;
  const UINT type = ::GetDriveType(strPath);
  if (type != DRIVE_REMOVABLE && type != DRIVE_CDROM) return TRUE;
  DWORD serial = 0;
  return GetVolumeSerial(strPath, &serial);
}

CString CFileTreeCtrl::GetShellDisplayName(const CString& strPath) {
  if (!m_pDesktopFolder && FAILED(::SHGetDesktopFolder(&m_pDesktopFolder))) m_pDesktopFolder = nullptr;
  if (!m_pDesktopFolder) return strPath;
  const int length = ::MultiByteToWideChar(CP_ACP, 0, strPath, -1, nullptr, 0);
  if (length <= 0) return strPath;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, strPath, -1, wide.data(), length);
  PIDLIST_RELATIVE pidl = nullptr;
  ULONG eaten = 0;
  if (FAILED(m_pDesktopFolder->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &pidl, nullptr)) ||
      !pidl)
    return strPath;
  CString name = strPath;
  SHFILEINFO info{};
  if (::SHGetFileInfo(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info,
                      SHGFI_PIDL | SHGFI_DISPLAYNAME) &&
      info.szDisplayName[0])
    name = info.szDisplayName;
  if (m_pMalloc)
    m_pMalloc->Free(pidl);
  else
    ::ILFree(pidl);
  return name;
}

// --- the network -----------------------------------------------------------------------------

BOOL CFileTreeCtrl::IsNetworkItemShown(const CFileTreeItem*) {
  return TRUE;
}

BOOL CFileTreeCtrl::AddNetworkChildren(HTREEITEM hParent) {
  const CFileTreeItem* parent = GetItemRecord(hParent);
  NETRESOURCE* resource = parent ? parent->m_pNetResource : nullptr;
  HANDLE enumeration = nullptr;
  if (::WNetOpenEnum(resource ? RESOURCE_GLOBALNET : RESOURCE_CONTEXT, m_dwNetResourceType, 0, resource,
                     &enumeration) != NO_ERROR)
    return FALSE;
  DWORD size = 16384;
  std::vector<BYTE> buffer(size);
  DWORD count = 0xFFFFFFFF;
  DWORD result = ERROR_MORE_DATA;
  for (;;) {
    count = 0xFFFFFFFF;
    DWORD bytes = size;
    result = ::WNetEnumResource(enumeration, &count, buffer.data(), &bytes);
    if (result != ERROR_MORE_DATA) break;
    size *= 2;
    buffer.assign(size, 0);
  }
  if (result != NO_ERROR) {
    ::WNetCloseEnum(enumeration);
    return FALSE;
  }
  int networkIcon = 0xFFFF, networkOpenIcon = 0xFFFF;
  LPITEMIDLIST networkPidl = nullptr;
  if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_NETWORK, &networkPidl))) {
    networkIcon = GetPidlIcon(networkPidl);
    networkOpenIcon = GetPidlSelectedIcon(networkPidl);
    ::ILFree(networkPidl);
  }
  const auto* entries = reinterpret_cast<const NETRESOURCE*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    const NETRESOURCE& entry = entries[i];
    CString name = entry.lpRemoteName && *entry.lpRemoteName ? entry.lpRemoteName
                                                             : (entry.lpComment ? entry.lpComment : "");
    auto* record = new CFileTreeItem;
    record->m_nKind = CFileTreeItem::kNetwork;
    record->SetNetResource(&entry);
    if (name.Left(2) == "\\\\") {
      record->m_strPath = name;
      name = name.Mid(2);
    }
    record->m_strName = name;
    if (!IsNetworkItemShown(record)) {
      delete record;
      continue;
    }
    if (entry.dwDisplayType == RESOURCEDISPLAYTYPE_SHARE) {
      const int slash = name.Find('\\');
      if (slash >= 0) record->m_strName = name.Mid(slash + 1);
      InsertItem(hParent, record, FALSE, GetPathIcon(record->m_strPath),
                 GetPathSelectedIcon(record->m_strPath), TRUE);
    } else if (entry.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER) {
      const bool known = m_nComputerIcon != -1 && m_nComputerOpenIcon != -1;
      const CString server = "\\\\" + name;
      InsertItem(hParent, record, FALSE, known ? m_nComputerIcon : GetPathIcon(server),
                 known ? m_nComputerOpenIcon : GetPathSelectedIcon(server), FALSE);
    } else {
      InsertItem(hParent, record, FALSE, networkIcon, networkOpenIcon, FALSE);
    }
  }
  ::WNetCloseEnum(enumeration);
  return count > 0;
}

HTREEITEM CFileTreeCtrl::FindServerContainer(HTREEITEM hItem) {
  if (!m_bShowNetwork || !hItem) return nullptr;
  for (HTREEITEM child = GetChildItem(hItem); child; child = GetNextSiblingItem(child)) {
    const CFileTreeItem* record = GetItemRecord(child);
    if (record && record->m_pNetResource &&
        record->m_pNetResource->dwDisplayType == RESOURCEDISPLAYTYPE_SERVER)
      return hItem;
  }
  for (HTREEITEM child = GetChildItem(hItem); child; child = GetNextSiblingItem(child))
    if (HTREEITEM found = FindServerContainer(child)) return found;
  return nullptr;
}
