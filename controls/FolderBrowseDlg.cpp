#include "controls/FolderBrowseDlg.h"

#include <cstring>
#include <string>

#include "platform/com/TaskMemory.h"
#include "platform/shellapi/KnownFolders.h"
#include "platform/shellapi/ShellFolder.h"

namespace {
constexpr int kStatusLength = 35;
}  // namespace

CFolderBrowseDlg::CFolderBrowseDlg(LPCTSTR lpszInitialFolder, UINT nFlags, CWnd* pParentWnd)
    : m_strCurrentFolder(lpszInitialFolder ? lpszInitialFolder : "") {
  m_bi.hwndOwner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
  m_bi.pidlRoot = nullptr;
  m_bi.pszDisplayName = m_szDisplayName;
  m_bi.lpszTitle = "Current Selection";
  m_bi.ulFlags = nFlags | BIF_STATUSTEXT;
  m_bi.lpfn = BrowseCallbackProc;
  m_bi.lParam = reinterpret_cast<LPARAM>(this);
  m_bi.iImage = 0;
}

CFolderBrowseDlg::~CFolderBrowseDlg() = default;

INT_PTR CFolderBrowseDlg::DoModal() {
  m_strChosenFolder = m_strCurrentFolder;
  LPITEMIDLIST pidl = SHBrowseForFolderA(&m_bi);
  m_hWnd = nullptr;
  if (!pidl) return IDCANCEL;
  // Chosen paths may be longer than the shell's fixed buffer: read them whole.
  std::string path(4096, '\0');
  const bool resolved = SHGetPathFromIDListA(pidl, path.data()) != FALSE;
  LPMALLOC malloc = nullptr;
  if (SUCCEEDED(SHGetMalloc(&malloc)) && malloc) {
    malloc->Free(pidl);
    malloc->Release();
  } else {
    ILFree(pidl);
  }
  if (!resolved) return IDCANCEL;
  m_strChosenFolder = path.c_str();
  return IDOK;
}

int CALLBACK CFolderBrowseDlg::BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData) {
  if (auto* self = reinterpret_cast<CFolderBrowseDlg*>(lpData)) self->OnBrowseCallback(hWnd, uMsg, lParam);
  return 0;
}

void CFolderBrowseDlg::OnBrowseCallback(HWND hWnd, UINT uMsg, LPARAM lParam) {
  m_hWnd = hWnd;
  if (uMsg == BFFM_INITIALIZED)
    OnInitialized();
  else if (uMsg == BFFM_SELCHANGED)
    OnSelChanged(reinterpret_cast<LPCITEMIDLIST>(lParam));
}

void CFolderBrowseDlg::OnInitialized() {
  if (!m_hWnd) return;
  if (!m_strCurrentFolder.IsEmpty())
    ::SendMessage(m_hWnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(m_strCurrentFolder.GetString()));
  const CString status = ShortenForStatus(m_strCurrentFolder);
  ::SendMessage(m_hWnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(status.GetString()));
}

void CFolderBrowseDlg::OnSelChanged(LPCITEMIDLIST pidl) {
  std::string path(4096, '\0');
  if (!pidl || !SHGetPathFromIDListA(pidl, path.data())) return;
  std::strncpy(m_szPath, path.c_str(), MAX_PATH - 1);
  m_strCurrentFolder = path.c_str();
  const CString status = ShortenForStatus(m_strCurrentFolder);
  if (m_hWnd) ::SendMessage(m_hWnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(status.GetString()));
}

CString CFolderBrowseDlg::ShortenForStatus(const CString& strText) {
  // Characters, not bytes: a folder name in UTF-8 is never cut inside a letter.
  const std::string_view text = strText.View();
  size_t end = 0;
  for (int characters = 0; end < text.size(); ++characters) {
    if (characters == kStatusLength) return CString(std::string(text.substr(0, end)) + "...");
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return strText;
}
