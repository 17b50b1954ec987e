#include "platform/kernel/FileFind.h"

#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/kernel/Path.h"

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind() = default;

CFileFind::~CFileFind() {
  Close();
}

void CFileFind::Close() {
  if (m_hFind != nullptr) ::FindClose(m_hFind);
  m_hFind = nullptr;
  m_hasCurrent = false;
  m_hasNext = false;
}

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD) {
  Close();
  const std::string pattern = pictavo::path::ToNative(pstrName != nullptr ? pstrName : "*.*");

  // The root as FindFirstFile lists it: the pattern's folder, spelled as on disk, made absolute.
  std::string root(pictavo::path::FolderWithSeparator(pattern));
  if (!root.empty()) root = pictavo::path::ResolveDataPath(root);
  if (pictavo::path::IsRelative(root)) {
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd) != nullptr) root = pictavo::path::Join(cwd, root);
  }
  if (!pictavo::path::EndsWithSeparator(root)) root += '/';

  const HANDLE find = ::FindFirstFile(pattern.c_str(), &m_next);
  if (find == INVALID_HANDLE_VALUE) return FALSE;
  m_hFind = find;
  m_root = root;
  m_hasNext = true;
  return TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (m_hFind == nullptr || !m_hasNext) return FALSE;
  m_current = m_next;
  m_hasCurrent = true;
  m_hasNext = ::FindNextFile(m_hFind, &m_next) != FALSE;
  return m_hasNext ? TRUE : FALSE;
}

CString CFileFind::GetFileName() const {
  return m_hasCurrent ? CString(m_current.cFileName) : CString();
}

CString CFileFind::GetFilePath() const {
  if (!m_hasCurrent) return CString();
  return CString(m_root.Str() + m_current.cFileName);
}

CString CFileFind::GetFileTitle() const {
  if (!m_hasCurrent) return CString();
  return CString(pictavo::path::FileTitle(m_current.cFileName));
}

CString CFileFind::GetRoot() const {
  return m_hFind != nullptr ? m_root : CString();
}

ULONGLONG CFileFind::GetLength() const {
  if (!m_hasCurrent) return 0;
  return (ULONGLONG{m_current.nFileSizeHigh} << 32) | m_current.nFileSizeLow;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const {
  if (!m_hasCurrent || pTimeStamp == nullptr) return FALSE;
  *pTimeStamp = m_current.ftLastWriteTime;
  return TRUE;
}

BOOL CFileFind::IsDots() const {
  if (!m_hasCurrent) return FALSE;
  return std::strcmp(m_current.cFileName, ".") == 0 || std::strcmp(m_current.cFileName, "..") == 0;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const {
  return m_hasCurrent && (m_current.dwFileAttributes & dwMask) != 0 ? TRUE : FALSE;
}
