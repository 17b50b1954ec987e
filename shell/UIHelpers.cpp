#include "shell/UIHelpers.h"

#include <cstring>

#include "modules/data/DVDProject.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/Resources.h"
#include "platform/user/MessageBox.h"
#include "shell/SkinMain.h"

namespace {

constexpr char kProductTitle[] = "Talvane Pictavo";

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// Replaces every byte of `set` in the path by `replace`. UTF-8 trail bytes are never ASCII, so a
// byte-wise scan never takes part of a multibyte character for one of these.
void ReplaceAll(char* path, const char* set, char replace) {
  for (char* p = path; *p != '\0'; ++p)
    if (std::strchr(set, *p) != nullptr) *p = replace;
}

void ReplaceControlBytes(char* text, char replace) {
  for (char* p = text; *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte >= 1 && byte <= 25) *p = replace;
  }
}

}  // namespace

CString GetProductTitle() {
  return CString(kProductTitle);
}

int LoadResourceBitmap(CGdiObject* pObject, UINT nIDResource) {
  if (pObject == nullptr) return 0;
  HMODULE module = LoadLibraryA(RESOURCE_DLL_NAME);
  if (module == nullptr) {
    MessageBox(nullptr, "Couldn't load qvnres.dll", "Error", MB_ICONERROR);
    return 0;
  }
  HBITMAP bitmap = LoadBitmapA(reinterpret_cast<HINSTANCE>(module), MAKEINTRESOURCE(LOWORD(nIDResource)));
  FreeLibrary(module);  // the bitmap stays valid without the module
  if (bitmap == nullptr) return 0;
  pObject->DeleteObject();
  pObject->Attach(bitmap);
  return 1;
}

DWORD GetOpenFileNameSize() {
  return (GetVersion() & 0x80000000u) != 0 ? 76 : 88;
}

COLORREF GetSkinColor(UINT nKind) {
  switch (nKind) {
    case SKIN_COLOR_MAIN_DLG:
      return g_skinMain.GetMainDlgColor();
    case SKIN_COLOR_ORGANIZE_PAGE:
    case SKIN_COLOR_ORGANIZE_PAGE_2:
      return g_skinMain.GetOrganizePageColor();
    case SKIN_COLOR_MENU_PAGE:
      return g_skinMain.GetMenuPageColor();
    case SKIN_COLOR_BURN_PAGE:
      return g_skinMain.GetBurnPageColor();
    case SKIN_COLOR_PHOTO_CONFIGURE:
      return g_skinMain.GetPhotoConfigureColor();
    case SKIN_COLOR_TAB_PAGE:
      return g_skinMain.GetTabPageColor();
    default:
      return SKIN_COLOR_DEFAULT;
  }
}

int SanitizePath(LPSTR lpszPath, char chReplace, BOOL bAbsolute, size_t nBufferSize) {
  if (lpszPath == nullptr) return 0;
  ReplaceAll(lpszPath, "*?\"<>|", chReplace);
  for (char* p = lpszPath; *p != '\0'; ++p)
    if (*p == ':' && p - lpszPath != 1) *p = chReplace;
  // Doubled separators: the first of each pair becomes the replacement, except at the start.
  for (char* p = lpszPath; p[0] != '\0' && p[1] != '\0'; ++p)
    if (IsSeparator(p[0]) && IsSeparator(p[1]) && p != lpszPath) p[0] = chReplace;

  size_t length = std::strlen(lpszPath);
  const bool driveColon = length >= 2 && lpszPath[1] == ':';
  if (bAbsolute && !driveColon && !IsSeparator(lpszPath[0]) && length + 2 <= nBufferSize) {
    // The root of the file system the system lives on.
    std::memmove(lpszPath + 1, lpszPath, length + 1);
    lpszPath[0] = '/';
    ++length;
  }
  for (char* p = lpszPath; *p != '\0'; ++p)
    if (*p == '\\') *p = '/';
  ReplaceControlBytes(lpszPath, chReplace);
  return static_cast<int>(length);
}

void SanitizeFileName(LPSTR lpszName, char chReplace) {
  if (lpszName == nullptr) return;
  ReplaceAll(lpszName, ":/\\*?\"<>|", chReplace);
  ReplaceControlBytes(lpszName, chReplace);
}

DWORD GetFileSizeSafe(LPCTSTR lpszPath, int nFlag) {
  return CDVDProject::TryGetFileSize(lpszPath, nFlag);
}

CString GetExeFolderPath() {
  return CDVDProject::GetExeFilePath();
}

int GetComCtlVersion() {
  static const int version = [] {
    struct DllVersionInfo {
      DWORD cbSize;
      DWORD dwMajorVersion;
      DWORD dwMinorVersion;
      DWORD dwBuildNumber;
      DWORD dwPlatformID;
    };
    static_assert(sizeof(DllVersionInfo) == 20);
    using DllGetVersionProc = HRESULT (*)(DllVersionInfo*);
    HMODULE module = GetModuleHandle("COMCTL32");
    FARPROC entry = module ? GetProcAddress(module, "DllGetVersion") : nullptr;
    auto proc = reinterpret_cast<DllGetVersionProc>(reinterpret_cast<void*>(entry));
    DllVersionInfo info{};
    info.cbSize = sizeof(info);
    if (proc == nullptr || proc(&info) < 0) return 0x40000;
    return static_cast<int>((info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF));
  }();
  return version;
}

void FillAroundChildren(CWnd* pWnd, CDC* pDC, std::initializer_list<int> ids) {
  for (int id : ids) {
    CWnd* child = pWnd->GetDlgItem(id);
    if (child == nullptr || !child->IsWindowVisible()) continue;
    CRect rc;
    child->GetWindowRect(&rc);
    pWnd->ScreenToClient(&rc);
    pDC->ExcludeClipRect(&rc);
  }
  CRect client;
  pWnd->GetClientRect(&client);
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_MAIN_DLG));
}
