#include "platform/comdlg/CommonDialogs.h"

#include <array>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/kernel/Path.h"
#include "platform/res/Resources.h"

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) {
  m_pParentWnd = pParentWnd;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD dwSize)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
  m_ofn.lStructSize = dwSize ? dwSize : sizeof(OPENFILENAME);
  m_ofn.hInstance = AfxGetResourceHandle();
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = MAX_PATH;
  m_ofn.Flags = dwFlags | OFN_EXPLORER;
  if (lpszFileName) {
    std::strncpy(m_szFileName, lpszFileName, MAX_PATH - 1);
    m_szFileName[MAX_PATH - 1] = '\0';
  }
  if (lpszDefExt) {
    m_defExt = lpszDefExt;
    m_ofn.lpstrDefExt = m_defExt.c_str();
  }
  if (lpszFilter) {
    m_filter = lpszFilter;
    for (char& c : m_filter)
      if (c == '|') c = '\0';
    m_filter.push_back('\0');  // a filter without its closing "||" still ends
    m_ofn.lpstrFilter = m_filter.c_str();
  }
}

INT_PTR CFileDialog::DoModal() {
  m_ofn.hwndOwner = PreModal();
  const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileName(&m_ofn) : ::GetSaveFileName(&m_ofn);
  PostModal();
  return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
  return CString(m_ofn.lpstrFile ? m_ofn.lpstrFile : "");
}

CString CFileDialog::GetFileName() const {
  if (!m_ofn.lpstrFile) return CString();
  if (m_ofn.nFileOffset > 0 && m_ofn.nFileOffset < m_ofn.nMaxFile)
    return CString(m_ofn.lpstrFile + m_ofn.nFileOffset);
  return CString(std::string(pictavo::path::FileName(m_ofn.lpstrFile)).c_str());
}

CString CFileDialog::GetFileExt() const {
  const CString name = GetFileName();
  const std::string_view ext = pictavo::path::Extension(static_cast<LPCTSTR>(name));
  return CString(std::string(ext.empty() ? ext : ext.substr(1)).c_str());
}

CString CFileDialog::GetFileTitle() const {
  const CString name = GetFileName();
  return CString(std::string(pictavo::path::FileTitle(static_cast<LPCTSTR>(name))).c_str());
}

BOOL CFileDialog::GetReadOnlyPref() const {
  return (m_ofn.Flags & OFN_READONLY) != 0;
}

POSITION CFileDialog::GetStartPosition() const {
  return reinterpret_cast<POSITION>(m_ofn.lpstrFile);
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
  const char* at = reinterpret_cast<const char*>(pos);
  pos = nullptr;
  if (!at || !m_ofn.lpstrFile) return CString();
  // The buffer as words: NUL-separated up to an empty one (explorer form), or blank-separated
  // within the first string (the older form). The first word is the folder when names follow.
  const char* const begin = m_ofn.lpstrFile;
  const char* const end = begin + m_ofn.nMaxFile;
  const bool explorer = (m_ofn.Flags & OFN_EXPLORER) != 0;
  std::vector<std::string_view> words;
  for (const char* p = begin; p < end && *p;) {
    const char* q = p;
    while (q < end && *q && (explorer || *q != ' ')) ++q;
    words.emplace_back(p, static_cast<size_t>(q - p));
    if (q >= end || (!explorer && *q == '\0')) break;
    p = q + 1;
  }
  if (words.size() < 2 || !(m_ofn.Flags & OFN_ALLOWMULTISELECT))
    return CString(std::string(begin, strnlen(begin, m_ofn.nMaxFile)).c_str());
  size_t index = 1;
  if (at != begin)
    while (index < words.size() && words[index].data() != at) ++index;
  if (index >= words.size()) return CString();
  if (index + 1 < words.size()) pos = reinterpret_cast<POSITION>(const_cast<char*>(words[index + 1].data()));
  return CString(pictavo::path::Join(words.front(), words[index]).c_str());
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd) {
  m_cc.lStructSize = sizeof(CHOOSECOLOR);
  m_cc.lpCustColors = GetSavedCustomColors();
  m_cc.rgbResult = clrInit;
  m_cc.Flags = dwFlags | CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() {
  m_cc.hwndOwner = PreModal();
  const BOOL chosen = ::ChooseColor(&m_cc);
  PostModal();
  return chosen ? IDOK : IDCANCEL;
}

COLORREF* CColorDialog::GetSavedCustomColors() {
  static std::array<COLORREF, 16> colors = [] {
    std::array<COLORREF, 16> white;
    white.fill(RGB(255, 255, 255));
    return white;
  }();
  return colors.data();
}
