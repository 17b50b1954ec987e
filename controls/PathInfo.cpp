#include "controls/PathInfo.h"

#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/shellapi/FileInfo.h"

namespace {

// Whether FindFirstFile finds the path. A search never lists a mount point itself ("/",
// "C:"), which exists all the same.
BOOL Found(const CString& path) {
  WIN32_FIND_DATA data{};
  HANDLE find = ::FindFirstFile(path, &data);
  if (find == INVALID_HANDLE_VALUE)
    return !path.IsEmpty() && ::GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
  ::FindClose(find);
  return TRUE;
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

}  // namespace

CPathInfo::CPathInfo(LPCTSTR lpszPath) : m_strPath(lpszPath ? lpszPath : "") {
  Split();
}

CPathInfo::CPathInfo(CFileFind* pFind) : m_pFind(pFind) {
  if (pFind) m_strPath = pFind->GetFilePath();
  Split();
}

CPathInfo::~CPathInfo() = default;

void CPathInfo::Split() {
  // The parts of a long path are not cut to the C runtime's fixed sizes: split by hand.
  const std::string& path = m_strPath.Str();
  size_t slash = path.find_last_of("/\\");
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  m_strDir = path.substr(0, nameStart);
  const std::string name = path.substr(nameStart);
  const size_t dot = name.rfind('.');
  m_strFileName = dot == std::string::npos ? name : name.substr(0, dot);
  m_strExt = dot == std::string::npos ? std::string() : name.substr(dot);
}

CString CPathInfo::GetFileName() const {
  CString name;
  name.Format("%s%s", m_strFileName.GetString(), m_strExt.GetString());
  return name;
}

CString CPathInfo::GetTypeName() const {
  SHFILEINFO info{};
  if (!SHGetFileInfo(m_strPath, 0, &info, sizeof info, SHGFI_TYPENAME)) return CString();
  return info.szTypeName;
}

int CPathInfo::GetIconIndex() const {
  SHFILEINFO info{};
  SHGetFileInfo(m_strPath, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return info.iIcon;
}

BOOL CPathInfo::Exists() const {
  CString path = m_strPath;
  if (path.GetLength() == 3 && IsSeparator(path[2])) {
    if (path[1] == ':') return TRUE;  // a drive root
    path = path.Left(2);
  }
  return Found(path);
}

CFilePathCheck::CFilePathCheck(LPCTSTR lpszPath) : m_strPath(lpszPath ? lpszPath : "") {}

CFilePathCheck::~CFilePathCheck() = default;

BOOL CFilePathCheck::Exists() const {
  CString path = m_strPath;
  if (path.IsEmpty()) return FALSE;
  if (IsSeparator(path[path.GetLength() - 1])) path = path.Left(path.GetLength() - 1);
  // The root folder loses its only separator: it is still the root.
  if (path.IsEmpty()) path = "/";
  return Found(path);
}
