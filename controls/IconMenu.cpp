// The icon menu's model: loading a menu resource into owner-drawn items, the item records, images
// from toolbar resources in the class-wide image list, re-reading a popup before it opens,
// shortcut alignment, measuring and mnemonics. Painting is in IconMenuPaint.cpp.
#include "controls/IconMenu.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/comctl/ImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Registry.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/Unicode.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/Resources.h"
#include "platform/user/Metrics.h"
#include "platform/user/User.h"

IMPLEMENT_DYNAMIC(CIconMenu, CMenu)

namespace {

constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;
constexpr int kDrawStyleThemed = 1;  // 1 flat painter, 0 classic painter
constexpr int kDrawStyleOther = 1;
constexpr BOOL kImageVariants = TRUE;  // faded, shadow and grey copies of every image
constexpr int kColumnExtra = 7;        // icon column beyond the image, with variants (4 without)
constexpr UINT kSeparatorFlags = MF_SEPARATOR | MF_OWNERDRAW;  // 0x900
constexpr UINT kUnknownItem = 0xFFFFFFFF;

// Class-wide state; UI thread only, lives for the whole process.
struct ClassState {
  CImageList images;                 // 16 x 15, created on first use
  CArray<UINT, UINT> imageCommands;  // command id of each image slot
  CPtrArray popups;                  // every popup HMENU created by any icon menu
  int osType = 1;
  int classicTheme = -1;  // -1 not asked yet
  BOOL bitmapWithoutColorMapping = FALSE;
};
ClassState& State() {
  static ClassState* state = new ClassState;  // never destroyed: menus may outlive static objects
  return *state;
}

// Start-up: the OS type is read once, before any menu is drawn.
const bool g_osTypeInitialised = (InitOSType(), true);

std::wstring WideOf(const wchar_t* text) {
  return text != nullptr ? std::wstring(text) : std::wstring();
}

std::wstring WideFromAnsi(LPCSTR text) {
  if (text == nullptr) return {};
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

CString AnsiFromWide(const wchar_t* text) {
  if (text == nullptr) return CString();
  const int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return CString();
  std::string ansi(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, ansi.data(), length, nullptr, nullptr);
  return CString(ansi.c_str());
}

wchar_t* CopyWide(const std::wstring& text) {
  auto* copy = new wchar_t[text.size() + 1];
  std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// The menu font, for measuring as the menu draws.
class MenuFontDC {
 public:
  MenuFontDC() {
    CWnd* main = AfxGetMainWnd();
    m_hwnd = main != nullptr ? main->GetSafeHwnd() : nullptr;
    if (m_hwnd == nullptr) m_hwnd = ::GetDesktopWindow();
    m_dc = ::GetDC(m_hwnd);
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    m_font = ::CreateFontIndirect(&metrics.lfMenuFont);
    m_old = ::SelectObject(m_dc, m_font);
  }
  ~MenuFontDC() {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_font);
    ::ReleaseDC(m_hwnd, m_dc);
  }
  MenuFontDC(const MenuFontDC&) = delete;
  MenuFontDC& operator=(const MenuFontDC&) = delete;
  int Width(const std::wstring& text) const {
    SIZE size{};
    ::GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

 private:
  HWND m_hwnd = nullptr;
  HDC m_dc = nullptr;
  HFONT m_font = nullptr;
  HGDIOBJ m_old = nullptr;
};

// A toolbar resource's buttons (0 = separator), read from its RT_TOOLBAR words.
bool ReadToolbar(UINT toolbarId, std::vector<WORD>& commands) {
  LPCSTR name = MAKEINTRESOURCE(toolbarId);
  HINSTANCE module = AfxFindResourceHandle(name, RT_TOOLBAR);
  HRSRC resource = ::FindResource(module, name, RT_TOOLBAR);
  if (resource == nullptr) {
    module = ::GetModuleHandle(nullptr);
    resource = ::FindResource(module, name, RT_TOOLBAR);
  }
  if (resource == nullptr) return false;
  const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(module, resource)));
  const DWORD size = ::SizeofResource(module, resource);
  if (words == nullptr || size < 8 || words[0] != 1) return false;
  const size_t count = std::min<size_t>(words[3], size / 2 - 4);
  commands.assign(words + 4, words + 4 + count);
  return true;
}

// A button's image: toolbar bitmaps hold one image per button, separators left out.
int ToolbarImageOf(const std::vector<WORD>& commands, size_t position) {
  int image = 0;
  for (size_t i = 0; i < position; ++i) image += commands[i] != 0;
  return image;
}

// The packed DIB of a bitmap resource (the executable's when the resource handle lacks it).
const BITMAPINFOHEADER* FindDib(LPCSTR name, HINSTANCE* moduleOut) {
  HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
  HRSRC resource = ::FindResource(module, name, RT_BITMAP);
  if (resource == nullptr) {
    module = ::GetModuleHandle(nullptr);
    resource = ::FindResource(module, name, RT_BITMAP);
  }
  if (resource == nullptr) return nullptr;
  if (moduleOut != nullptr) *moduleOut = module;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(module, resource)));
  if (header == nullptr || ::SizeofResource(module, resource) < sizeof(BITMAPINFOHEADER)) return nullptr;
  return header;
}

// Decodes a NUL-terminated UTF-16 text of a menu template; false when it runs past `end`.
bool ReadUtf16(const BYTE*& p, const BYTE* end, std::wstring& out) {
  out.clear();
  while (p + 2 <= end) {
    char32_t unit = static_cast<char32_t>(p[0] | (p[1] << 8));
    p += 2;
    if (unit == 0) return true;
    if (unit >= 0xD800 && unit < 0xDC00 && p + 2 <= end) {
      const char32_t low = static_cast<char32_t>(p[0] | (p[1] << 8));
      if (low >= 0xDC00 && low < 0xE000) {
        p += 2;
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      }
    }
    out.push_back(static_cast<wchar_t>(unit));
  }
  return false;
}

bool ReadWord(const BYTE*& p, const BYTE* end, WORD& out) {
  if (p + 2 > end) return false;
  out = static_cast<WORD>(p[0] | (p[1] << 8));
  p += 2;
  return true;
}

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return text;
}

void RemovePopup(HMENU menu) {
  CPtrArray& popups = State().popups;
  for (INT_PTR i = popups.GetSize() - 1; i >= 0; --i)
    if (popups[i] == menu) popups.RemoveAt(i);
}

CIconMenu* IconMenuOf(HMENU menu) {
  CMenu* object = CMenu::FromHandle(menu);
  return object != nullptr && object->IsKindOf(RUNTIME_CLASS(CIconMenu)) ? static_cast<CIconMenu*>(object)
                                                                         : nullptr;
}

}  // namespace

// ---- records

CIconMenuItem::CIconMenuItem() = default;

CIconMenuItem::~CIconMenuItem() {
  delete[] text;
  delete ownImages;
}

void CIconMenuItem::SetAnsiText(LPCSTR value) {
  delete[] text;
  text = CopyWide(WideFromAnsi(value));
}

CString CIconMenuItem::GetAnsiText() const {
  return AnsiFromWide(text);
}

void CIconMenuItem::SetWideText(const wchar_t* value) {
  delete[] text;
  text = CopyWide(WideOf(value));
}

// ---- OS type and theme

int DetectOSType() {
  const DWORD version = ::GetVersion();
  if ((version & 0x80000000u) != 0) {
    const int major = LOBYTE(LOWORD(version));
    const int minor = HIBYTE(LOWORD(version));
    if (major < 4) return 0;
    if (major == 4 && minor == 10) return 3;
    if (major == 4 && minor == 90) return 4;
    return 2;
  }
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionEx(&info)) return 1;
  if (info.dwMajorVersion == 4) return 5;
  if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0) return 6;
  if (info.dwMajorVersion == 5 && info.dwMinorVersion == 1) return 7;
  return 1;
}

void InitOSType() {
  State().osType = DetectOSType();
}

int GetOSType() {
  return State().osType;
}

BOOL IsWin32OSType() {
  return GetOSType() > 1;
}

BOOL IsClassicTheme() {
  ClassState& state = State();
  if (state.classicTheme >= 0) return state.classicTheme;
  state.classicTheme = FALSE;
  HKEY key = nullptr;
  if (::RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return FALSE;
  char value[260] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  if (::RegQueryValueEx(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(value), &size) ==
      ERROR_SUCCESS) {
    static constexpr char kClassic[] = "Windows Classic.theme";
    const size_t length = std::strlen(value);
    const size_t suffix = sizeof kClassic - 1;
    state.classicTheme = length >= suffix && ::strcasecmp(value + length - suffix, kClassic) == 0;
  }
  ::RegCloseKey(key);
  return state.classicTheme;
}

BOOL IsThemedXP() {
  return GetOSType() == 7 && !IsClassicTheme();
}

BOOL IsFlatStyle() {
  return (IsThemedXP() ? kDrawStyleThemed : kDrawStyleOther) == 1;
}

int GetDibColorCount(const BITMAPINFOHEADER& header) {
  if (header.biClrUsed != 0) return static_cast<int>(header.biClrUsed);
  switch (header.biBitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

HBITMAP LoadSysColorBitmapResource(HINSTANCE instance, LPCSTR name) {
  HRSRC resource = ::FindResource(instance, name, RT_BITMAP);
  if (resource == nullptr) return nullptr;
  const DWORD size = ::SizeofResource(instance, resource);
  const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(instance, resource)));
  if (data == nullptr || size < sizeof(BITMAPINFOHEADER)) return nullptr;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
  const int colors = GetDibColorCount(*header);
  const size_t tableBytes = static_cast<size_t>(colors) * sizeof(RGBQUAD);
  if (colors == 0 || header->biSize + tableBytes > size) return nullptr;
  std::vector<BYTE> copy(data, data + size);
  auto* table = reinterpret_cast<RGBQUAD*>(copy.data() + header->biSize);
  struct Mapping {
    COLORREF from;
    int sysColor;
  };
  static constexpr Mapping kMappings[] = {{RGB(0, 0, 0), COLOR_BTNTEXT},
                                          {RGB(128, 128, 128), COLOR_BTNSHADOW},
                                          {RGB(192, 192, 192), COLOR_BTNFACE},
                                          {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT}};
  for (int i = 0; i < colors; ++i) {
    RGBQUAD& entry = table[i];
    const COLORREF color = RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
    for (const auto& m : kMappings) {
      if (color != m.from) continue;
      const COLORREF to = ::GetSysColor(m.sysColor);
      entry.rgbRed = GetRValue(to), entry.rgbGreen = GetGValue(to), entry.rgbBlue = GetBValue(to);
      break;
    }
  }
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(copy.data()), CBM_INIT,
                                    copy.data() + header->biSize + tableBytes,
                                    reinterpret_cast<const BITMAPINFO*>(copy.data()), DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  return bitmap;
}

// ---- construction

CIconMenu::CIconMenu() = default;

CIconMenu::~CIconMenu() {
  DestroyMenu();
}

CIconMenuItem* CIconMenu::GetRecord(int nPos) const {
  if (nPos < 0 || nPos >= m_items.GetSize()) return nullptr;
  return static_cast<CIconMenuItem*>(m_items[nPos]);
}

BOOL CIconMenu::DestroyMenu() {
  RemovePopup(m_hMenu);
  for (INT_PTR i = 0; i < m_subMenus.GetSize(); ++i) {
    HMENU sub = static_cast<HMENU>(m_subMenus[i]);
    RemovePopup(sub);
    if (CIconMenu* object = IconMenuOf(sub)) {
      // The popup handles go with this menu's handle below, once; the objects go now.
      object->Detach();
      object->DestroyMenu();
      delete object;
    }
  }
  m_subMenus.RemoveAll();
  for (INT_PTR i = 0; i < m_items.GetSize(); ++i) delete static_cast<CIconMenuItem*>(m_items[i]);
  m_items.RemoveAll();
  if (!m_bCheckmarksShared) delete m_pCheckmarks;
  m_pCheckmarks = nullptr;
  m_bLoadedFromResource = FALSE;
  return CMenu::DestroyMenu();
}

BOOL CIconMenu::LoadMenu(UINT nIDResource) {
  return LoadMenu(MAKEINTRESOURCE(nIDResource));
}

BOOL CIconMenu::LoadMenu(LPCTSTR lpszResourceName) {
  HINSTANCE module = AfxFindResourceHandle(lpszResourceName, RT_MENU);
  HRSRC resource = ::FindResource(module, lpszResourceName, RT_MENU);
  if (resource == nullptr) {
    module = ::GetModuleHandle(nullptr);
    resource = ::FindResource(module, lpszResourceName, RT_MENU);
  }
  if (resource == nullptr) return FALSE;
  const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, resource)));
  const DWORD size = ::SizeofResource(module, resource);
  if (data == nullptr || size < 4) return FALSE;

  DestroyMenu();
  if (!CreateMenu()) return FALSE;

  const BYTE* end = data + size;
  const BYTE* p = data + 4 + (data[2] | (data[3] << 8));
  struct Level {
    CIconMenu* menu;
    bool ended;
  };
  std::vector<Level> stack{{this, false}};
  std::wstring text;
  while (!stack.empty()) {
    WORD flags = 0, id = 0;
    // A damaged template ends the walk; what was read so far stays.
    if (!ReadWord(p, end, flags)) break;
    if ((flags & MF_POPUP) == 0 && !ReadWord(p, end, id)) break;
    if (!ReadUtf16(p, end, text)) break;
    const UINT passed = flags & ~static_cast<UINT>(MF_END);
    CIconMenu* current = stack.back().menu;
    if ((flags & MF_POPUP) != 0) {
      if ((flags & MF_END) != 0) stack.back().ended = true;
      auto* sub = new CIconMenu;
      sub->m_pCheckmarks = m_pCheckmarks;
      sub->m_bCheckmarksShared = TRUE;
      sub->m_nSelectedCheckmark = m_nSelectedCheckmark;
      sub->m_nUnselectedCheckmark = m_nUnselectedCheckmark;
      sub->m_crBitmapBackground = m_crBitmapBackground;
      sub->m_bBitmapBackground = m_bBitmapBackground;
      sub->CreatePopupMenu();
      current->AppendItem(text.c_str(), passed, reinterpret_cast<UINT_PTR>(sub->m_hMenu), -1);
      stack.push_back({sub, false});
      continue;
    }
    current->AppendItem(text.c_str(), passed, id, -1);
    if ((flags & MF_END) != 0) stack.back().ended = true;
    while (!stack.empty() && stack.back().ended) {
      stack.back().menu->AlignShortcuts();
      stack.pop_back();
    }
  }

  // The menu bar keeps plain text items; only popup items are owner-drawn.
  for (INT_PTR i = 0; i < m_items.GetSize(); ++i) {
    CIconMenuItem* item = GetRecord(static_cast<int>(i));
    const CString ansi = item->GetAnsiText();
    const UINT position = static_cast<UINT>(i);
    if ((item->flags & MF_POPUP) != 0) {
      ModifyMenu(position, MF_BYPOSITION | MF_POPUP, item->commandId, ansi);
      item->flags = MF_BYPOSITION | MF_POPUP;
    } else {
      ModifyMenu(position, MF_BYPOSITION | MF_STRING, item->commandId, ansi);
      item->flags = MF_BYPOSITION | MF_STRING;
    }
  }
  m_bLoadedFromResource = TRUE;
  return TRUE;
}

// ---- items

BOOL CIconMenu::AppendItem(const wchar_t* lpszText, UINT nFlags, UINT_PTR nID, int nImageResource) {
  if (nID != 0)
    nFlags |= MF_OWNERDRAW;
  else
    nFlags = (nFlags & MF_BYPOSITION) != 0 ? (kSeparatorFlags | MF_BYPOSITION) : kSeparatorFlags;
  if ((nFlags & MF_POPUP) != 0) {
    State().popups.Add(reinterpret_cast<void*>(nID));
    m_subMenus.Add(reinterpret_cast<void*>(nID));
  }
  auto* item = new CIconMenuItem;
  item->SetWideText(lpszText);
  m_items.Add(item);

  const UINT command = static_cast<UINT>(nID);
  if (nImageResource < 0) {
    item->globalImageIndex = FindGlobalImage(command);
  } else {
    int image = 0;
    GetToolbarImageIndex(static_cast<UINT>(nImageResource), command, image);
    CImageList list;
    list.Create(kImageWidth, kImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
    if (AddImages(list, static_cast<UINT>(nImageResource)))
      item->globalImageIndex = AddGlobalImage(&list, image, command);
  }
  item->commandId = nID;
  item->flags = nFlags;
  const BOOL appended = AppendMenu(nFlags, nID, reinterpret_cast<LPCSTR>(item));
  if (m_bLoadedFromResource) SyncBarItems();
  return appended;
}

CIconMenu::ItemPlace CIconMenu::FindCommand(UINT nID) {
  CArray<ItemPlace, const ItemPlace&> none;
  return FindCommandExcluding(nID, none);
}

CIconMenu::ItemPlace CIconMenu::FindCommandExcluding(UINT nID,
                                                     const CArray<ItemPlace, const ItemPlace&>& exclude) {
  const int count = static_cast<int>(GetMenuItemCount());
  for (int pos = 0; pos < count; ++pos) {
    if (HMENU sub = ::GetSubMenu(m_hMenu, pos)) {
      if (CIconMenu* object = IconMenuOf(sub)) {
        const ItemPlace found = object->FindCommandExcluding(nID, exclude);
        if (found.menu != nullptr) return found;
      }
      continue;
    }
    if (GetMenuItemID(pos) != nID) continue;
    bool excluded = false;
    for (INT_PTR i = 0; i < exclude.GetSize() && !excluded; ++i)
      excluded = exclude[i].menu == this && exclude[i].position == pos;
    if (!excluded) return ItemPlace{this, pos};
  }
  return ItemPlace{};
}

BOOL CIconMenu::ModifyItem(LPCSTR lpszText, UINT nID, CImageList* pImages, int nImage) {
  if (lpszText == nullptr) return ModifyItem(static_cast<const wchar_t*>(nullptr), nID, pImages, nImage);
  const std::wstring wide = WideFromAnsi(lpszText);
  return ModifyItem(wide.c_str(), nID, pImages, nImage);
}

BOOL CIconMenu::ModifyItem(const wchar_t* lpszText, UINT nID, CImageList* pImages, int nImage) {
  CArray<ItemPlace, const ItemPlace&> handled;
  ItemPlace place = FindCommand(nID);
  if (place.menu == nullptr) return FALSE;
  int slot = -1;
  bool slotKnown = false;
  while (place.menu != nullptr) {
    CIconMenu* menu = place.menu;
    CIconMenuItem* item = menu->GetRecord(place.position);
    if (item == nullptr) {
      item = new CIconMenuItem;
      item->SetWideText(L"");
      menu->m_items.Add(item);
    }
    if (lpszText != nullptr) item->SetWideText(lpszText);
    item->ownImageIndex = item->ownImageOffset = -1;
    delete item->ownImages;
    item->ownImages = nullptr;
    if (pImages != nullptr) {
      // One command, one set of slots: the first item's slot serves the others.
      if (!slotKnown) slot = AddGlobalImage(pImages, nImage, nID), slotKnown = true;
      item->globalImageIndex = slot;
    }
    item->commandId = nID;
    item->flags = (item->flags | MF_OWNERDRAW) & ~static_cast<UINT>(MF_BYPOSITION);
    // Each item is re-applied by position so that every copy of the command shows its record.
    const UINT state = menu->GetMenuState(static_cast<UINT>(place.position), MF_BYPOSITION);
    const UINT keep = state == kUnknownItem ? 0 : (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED));
    ::ModifyMenu(menu->m_hMenu, static_cast<UINT>(place.position), MF_BYPOSITION | MF_OWNERDRAW | keep, nID,
                 reinterpret_cast<LPCSTR>(item));
    handled.Add(place);
    place = FindCommandExcluding(nID, handled);
  }
  return TRUE;
}

void CIconMenu::SetBitmapBackground(COLORREF color) {
  m_crBitmapBackground = color;
  m_bBitmapBackground = TRUE;
}

BOOL CIconMenu::GetMenuText(UINT nIDOrPos, CString& text, UINT nFlags) {
  CIconMenu* menu = this;
  int position = static_cast<int>(nIDOrPos);
  if ((nFlags & MF_BYPOSITION) == 0) {
    const ItemPlace place = FindCommand(nIDOrPos);
    menu = place.menu, position = place.position;
  }
  CIconMenuItem* item = menu != nullptr ? menu->GetRecord(position) : nullptr;
  if (item == nullptr) return FALSE;
  text = item->GetAnsiText();
  return TRUE;
}

BOOL CIconMenu::SetMenuText(UINT nIDOrPos, LPCSTR lpszText, UINT nFlags) {
  CIconMenu* menu = this;
  int position = static_cast<int>(nIDOrPos);
  if ((nFlags & MF_BYPOSITION) == 0) {
    const ItemPlace place = FindCommand(nIDOrPos);
    menu = place.menu, position = place.position;
  }
  CIconMenuItem* item = menu != nullptr ? menu->GetRecord(position) : nullptr;
  if (item == nullptr) return FALSE;
  item->SetAnsiText(lpszText);
  // Plain items (the menu bar's) show their text themselves.
  if ((item->flags & MF_OWNERDRAW) == 0) {
    const UINT state = menu->GetMenuState(static_cast<UINT>(position), MF_BYPOSITION);
    const UINT keep = state == kUnknownItem ? 0 : (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED));
    menu->ModifyMenu(static_cast<UINT>(position), MF_BYPOSITION | (item->flags & MF_POPUP) | keep,
                     item->commandId, lpszText);
  }
  return TRUE;
}

CMenu* CIconMenu::GetSubMenu(int nPos) const {
  return CMenu::FromHandle(::GetSubMenu(m_hMenu, nPos));
}

BOOL CIconMenu::IsOwnMenuHandle(HMENU hMenu) {
  if (hMenu == nullptr) return FALSE;
  const CPtrArray& popups = State().popups;
  for (INT_PTR i = 0; i < popups.GetSize(); ++i)
    if (popups[i] == hMenu) return TRUE;
  return FALSE;
}

BOOL CIconMenu::IsOwnMenu(CMenu* pMenu) {
  return pMenu != nullptr && IsOwnMenuHandle(pMenu->m_hMenu);
}

void CIconMenu::UpdateMenu(CIconMenu* pMenu) {
  if (pMenu != nullptr && pMenu->IsKindOf(RUNTIME_CLASS(CIconMenu))) pMenu->SyncPopup();
}

LRESULT CIconMenu::FindKeyboardShortcut(UINT nChar, UINT nFlags, CIconMenu* pMenu) {
  if (pMenu == nullptr || (nFlags & MF_POPUP) == 0 || !pMenu->IsKindOf(RUNTIME_CLASS(CIconMenu))) return 0;
  std::wstring key = L"&";
  key.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(nChar))));
  if (static_cast<INT_PTR>(pMenu->GetMenuItemCount()) != pMenu->m_items.GetSize()) pMenu->SyncPopup();
  for (INT_PTR i = 0; i < pMenu->m_items.GetSize(); ++i) {
    const CIconMenuItem* item = pMenu->GetRecord(static_cast<int>(i));
    if (Lower(WideOf(item->text)).find(key) != std::wstring::npos) return MAKELRESULT(i, MNC_EXECUTE);
  }
  return 0;
}

// ---- re-reading a popup

CIconMenuItem* CIconMenu::TakeUnusedRecord(UINT_PTR nID) {
  for (INT_PTR i = 0; i < m_items.GetSize(); ++i) {
    CIconMenuItem* item = GetRecord(static_cast<int>(i));
    if (!item->sync && item->commandId == nID) {
      item->sync = TRUE;
      return item;
    }
  }
  return nullptr;
}

void CIconMenu::DeleteUnusedRecords() {
  for (INT_PTR i = m_items.GetSize() - 1; i >= 0; --i) {
    CIconMenuItem* item = GetRecord(static_cast<int>(i));
    if (item->sync) continue;
    delete item;
    m_items.RemoveAt(i);
  }
}

CIconMenuItem* CIconMenu::CreateItemAt(int nPos, const wchar_t* lpszText, UINT nFlags, UINT_PTR nID) {
  auto* item = new CIconMenuItem;
  item->SetWideText(lpszText);
  item->flags = nFlags;
  item->commandId = nID;
  item->sync = TRUE;
  if ((nFlags & (MF_POPUP | MF_SEPARATOR)) == 0)
    item->globalImageIndex = FindGlobalImage(static_cast<UINT>(nID));
  m_items.Add(item);
  if ((nFlags & MF_OWNERDRAW) != 0) {
    ModifyMenu(static_cast<UINT>(nPos), nFlags | MF_BYPOSITION, nID, reinterpret_cast<LPCSTR>(item));
  } else {
    const CString ansi = item->GetAnsiText();
    ModifyMenu(static_cast<UINT>(nPos), nFlags | MF_BYPOSITION, nID, ansi);
  }
  return item;
}

void CIconMenu::SyncPopup() {
  for (INT_PTR i = 0; i < m_items.GetSize(); ++i) GetRecord(static_cast<int>(i))->sync = FALSE;
  const int count = static_cast<int>(GetMenuItemCount());
  std::vector<CIconMenuItem*> ordered;
  ordered.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int pos = 0; pos < count; ++pos) {
    const UINT position = static_cast<UINT>(pos);
    const UINT state = GetMenuState(position, MF_BYPOSITION);
    const int length = GetMenuString(position, nullptr, 0, MF_BYPOSITION);
    std::string buffer(static_cast<size_t>(2 * std::max(length, 0) + 2), '\0');
    GetMenuString(position, buffer.data(), static_cast<int>(buffer.size()), MF_BYPOSITION);
    // Owner-drawn items have no text of their own: their record keeps the one it has.
    const std::wstring text = WideFromAnsi(buffer.c_str());
    const bool hasText = length > 0;
    CIconMenuItem* item = nullptr;
    if (HMENU sub = ::GetSubMenu(m_hMenu, pos)) {
      item = TakeUnusedRecord(reinterpret_cast<UINT_PTR>(sub));
      if (item != nullptr) {
        if (hasText) item->SetWideText(text.c_str());
      } else {
        const UINT flags =
            ((state & 0xFF) & ~static_cast<UINT>(MF_POPUP)) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP;
        item = CreateItemAt(pos, text.c_str(), flags, reinterpret_cast<UINT_PTR>(sub));
      }
    } else if ((state & MF_SEPARATOR) != 0) {
      item = TakeUnusedRecord(0);
      if (item != nullptr)
        ModifyMenu(position, MF_BYPOSITION | kSeparatorFlags, 0, reinterpret_cast<LPCSTR>(item));
      else
        item = CreateItemAt(pos, L"", state | MF_BYPOSITION | kSeparatorFlags, 0);
    } else {
      const UINT id = GetMenuItemID(pos);
      const UINT flags = state | MF_BYPOSITION | MF_OWNERDRAW;
      item = TakeUnusedRecord(id);
      if (item != nullptr) {
        item->flags = flags;
        if (hasText) item->SetWideText(text.c_str());
        ModifyMenu(position, flags, id, reinterpret_cast<LPCSTR>(item));
      } else {
        item = CreateItemAt(pos, text.c_str(), flags, id);
      }
    }
    ordered.push_back(item);
  }
  DeleteUnusedRecords();
  m_items.RemoveAll();
  for (CIconMenuItem* item : ordered) m_items.Add(item);
}

int CIconMenu::GetBarItemOffset() {
  const int count = static_cast<int>(GetMenuItemCount());
  for (int pos = 0; pos < count; ++pos) {
    CString text;
    GetMenuString(static_cast<UINT>(pos), text, MF_BYPOSITION);
    if (text.IsEmpty()) continue;
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i) {
      if (std::strcmp(GetRecord(static_cast<int>(i))->GetAnsiText(), text) != 0) continue;
      const int offset = pos - static_cast<int>(i);
      return offset >= 0 ? offset : 0;
    }
  }
  return 0;
}

void CIconMenu::SyncBarItems() {
  const int offset = GetBarItemOffset();
  const int count = static_cast<int>(GetMenuItemCount());
  for (int pos = offset; pos < count; ++pos) {
    HMENU sub = ::GetSubMenu(m_hMenu, pos);
    CIconMenuItem* item = GetRecord(pos - offset);
    if (sub == nullptr || item == nullptr) continue;
    const CString ansi = item->GetAnsiText();
    ModifyMenu(static_cast<UINT>(pos), MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), ansi);
    item->flags = MF_BYPOSITION | MF_POPUP;
  }
}

void CIconMenu::AlignShortcuts() {
  MenuFontDC dc;
  int widest = 0;
  for (INT_PTR i = 0; i < m_items.GetSize(); ++i) {
    const std::wstring text = WideOf(GetRecord(static_cast<int>(i))->text);
    widest = std::max(widest, dc.Width(text.substr(0, text.find(L'\t')) + L" "));
  }
  for (INT_PTR i = 0; i < m_items.GetSize(); ++i) {
    CIconMenuItem* item = GetRecord(static_cast<int>(i));
    const std::wstring text = WideOf(item->text);
    const size_t tab = text.find(L'\t');
    if (tab == std::wstring::npos) continue;
    std::wstring label = text.substr(0, tab);
    while (dc.Width(label) < widest) label.push_back(L' ');
    item->SetWideText((label + text.substr(tab)).c_str());
  }
}

// ---- measuring

void CIconMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  const auto* item = reinterpret_cast<const CIconMenuItem*>(lpMIS->itemData);
  if (item == nullptr) return;
  const int extra = IsFlatStyle() && kImageVariants ? kColumnExtra : 4;
  if ((item->flags & MF_SEPARATOR) != 0) {
    lpMIS->itemWidth = 0;
    lpMIS->itemHeight =
        IsFlatStyle()
            ? 3
            : static_cast<UINT>(std::max((kImageHeight + extra) / 2, ::GetSystemMetrics(SM_CYMENU) / 2));
    return;
  }
  // Measured with the font the menu draws with, whatever the system's version.
  MenuFontDC dc;
  const int width = dc.Width(WideOf(item->text));
  lpMIS->itemWidth =
      static_cast<UINT>(IsFlatStyle() ? width + kImageWidth + extra + 8 : width + 2 * kImageWidth + 1);
  lpMIS->itemHeight = static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU), kImageHeight + extra));
}

// ---- images

int CIconMenu::FindGlobalImage(UINT nID) {
  const auto& commands = State().imageCommands;
  for (INT_PTR i = 0; i < commands.GetSize(); ++i)
    if (commands[i] == nID) return static_cast<int>(i);
  return -1;
}

CImageList* CIconMenu::GetGlobalImages() {
  return &State().images;
}

int CIconMenu::GetGlobalImageCount() {
  return static_cast<int>(State().imageCommands.GetSize());
}

UINT CIconMenu::GetGlobalImageCommand(int nSlot) {
  const auto& commands = State().imageCommands;
  return nSlot >= 0 && nSlot < commands.GetSize() ? commands[nSlot] : 0;
}

BOOL CIconMenu::HasImageVariants(int nSlot) {
  const auto& commands = State().imageCommands;
  return nSlot >= 0 && nSlot + 2 < commands.GetSize() && commands[nSlot + 1] == commands[nSlot] &&
         commands[nSlot + 2] == commands[nSlot];
}

BOOL CIconMenu::GetToolbarImageIndex(UINT nToolbarID, UINT nID, int& nImage) {
  std::vector<WORD> commands;
  if (!ReadToolbar(nToolbarID, commands)) return FALSE;
  for (size_t i = 0; i < commands.size(); ++i) {
    if (commands[i] == 0 || commands[i] != nID) continue;
    nImage = ToolbarImageOf(commands, i);
    return TRUE;
  }
  return FALSE;
}

namespace {

// The faded, shadow and grey copies of image `index`, rendered over the button face.
struct Variants {
  CBitmap faded, shadow, grey;
};
void MakeVariants(CImageList* list, int index, Variants& out) {
  HDC screen = ::GetDC(nullptr);
  CDC* dc = CDC::FromHandle(screen);
  CIconMenu::RenderImage(dc, list, index, out.faded);
  CIconMenu::RenderImage(dc, list, index, out.shadow);
  CIconMenu::RenderImage(dc, list, index, out.grey);
  ::ReleaseDC(nullptr, screen);
  CIconMenu::FadeBitmap(out.faded);
  CIconMenu::ShadowBitmap(out.shadow);
  CIconMenu::GreyBitmap(out.grey, 0);
}

}  // namespace

int CIconMenu::AddGlobalImage(CImageList* pImages, int nImage, UINT nID) {
  ClassState& state = State();
  if (state.images.GetSafeHandle() == nullptr)
    state.images.Create(kImageWidth, kImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
  HICON icon = ::ImageList_GetIcon(pImages->GetSafeHandle(), nImage, ILD_NORMAL);
  if (icon == nullptr) return -1;
  const bool variants = IsFlatStyle() && kImageVariants;
  Variants copies;
  if (variants) MakeVariants(pImages, nImage, copies);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  HIMAGELIST global = state.images.GetSafeHandle();

  int slot = FindGlobalImage(nID);
  if (slot >= 0) {
    ::ImageList_ReplaceIcon(global, slot, icon);
    if (variants && HasImageVariants(slot)) {
      CImageList temporary;
      temporary.Create(kImageWidth, kImageHeight, ILC_COLORDDB | ILC_MASK, 3, 1);
      CBitmap* bitmaps[3] = {&copies.faded, &copies.shadow, &copies.grey};
      for (int k = 0; k < 3; ++k) {
        ::ImageList_AddMasked(temporary.GetSafeHandle(), *bitmaps[k], face);
        HICON variant = ::ImageList_GetIcon(temporary.GetSafeHandle(), k, ILD_NORMAL);
        ::ImageList_ReplaceIcon(global, slot + 1 + k, variant);
        ::DestroyIcon(variant);
      }
    }
  } else {
    slot = static_cast<int>(state.imageCommands.GetSize());
    ::ImageList_ReplaceIcon(global, -1, icon);
    state.imageCommands.Add(nID);
    if (variants) {
      for (CBitmap* bitmap : {&copies.faded, &copies.shadow, &copies.grey}) {
        ::ImageList_AddMasked(global, *bitmap, face);
        state.imageCommands.Add(nID);
      }
    }
  }
  ::DestroyIcon(icon);
  return slot;
}

BOOL CIconMenu::AddImages(CImageList& list, UINT nResource) {
  LPCSTR name = MAKEINTRESOURCE(nResource);
  if (m_bIconMode) {
    HICON icon = reinterpret_cast<HICON>(static_cast<UINT_PTR>(nResource));
    return ::ImageList_ReplaceIcon(list.GetSafeHandle(), -1, icon) >= 0;
  }
  HINSTANCE module = nullptr;
  const BITMAPINFOHEADER* header = FindDib(name, &module);
  if (header == nullptr) return FALSE;
  HBITMAP handle = nullptr;
  if (GetDibColorCount(*header) == 16) {
    handle = LoadSysColorBitmapResource(module, name);
  } else {
    handle = ::LoadBitmap(module, name);
    State().bitmapWithoutColorMapping = TRUE;
  }
  if (handle == nullptr) return FALSE;
  CBitmap bitmap;
  bitmap.Attach(handle);
  if (GetDibColorCount(*header) != 16) ReplaceGreyBackground(bitmap);
  const COLORREF mask = m_bBitmapBackground ? m_crBitmapBackground : ::GetSysColor(COLOR_BTNFACE);
  if (::ImageList_AddMasked(list.GetSafeHandle(), bitmap, mask) < 0) return FALSE;
  if (IsFlatStyle() && kImageVariants) {
    Variants copies;
    MakeVariants(&list, 0, copies);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (CBitmap* variant : {&copies.faded, &copies.shadow, &copies.grey})
      ::ImageList_AddMasked(list.GetSafeHandle(), *variant, face);
  }
  return TRUE;
}

BOOL CIconMenu::LoadToolbar(UINT nToolbarID) {
  std::vector<WORD> commands;
  if (!ReadToolbar(nToolbarID, commands)) return FALSE;
  CImageList list;
  if (!list.Create(kImageWidth, kImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1)) return FALSE;
  if (!AddImages(list, nToolbarID)) return FALSE;
  for (size_t i = 0; i < commands.size(); ++i) {
    const UINT command = commands[i];
    if (command == 0 || GetMenuState(command, MF_BYCOMMAND) == kUnknownItem) continue;
    ModifyItem(static_cast<const wchar_t*>(nullptr), command, &list, ToolbarImageOf(commands, i));
  }
  return TRUE;
}

// Access for the painters in IconMenuPaint.cpp.
BOOL IconMenuBitmapWithoutColorMapping() {
  return State().bitmapWithoutColorMapping;
}
