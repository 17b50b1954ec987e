// Menus built from menu resources and from menu templates in their binary form.
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/Utf8.h"
#include "platform/res/Templates.h"
#include "platform/user/Menu.h"

namespace {

using pictavo::res::MenuItem;

// Flags a resource item carries over to AppendMenu (the res layer keeps the MF_ values).
constexpr UINT kCarried = pictavo::res::kMenuGrayed | pictavo::res::kMenuDisabled |
                          pictavo::res::kMenuChecked | pictavo::res::kMenuBreak |
                          pictavo::res::kMenuBarBreak | pictavo::res::kMenuHelp;

bool AppendItems(HMENU menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    const UINT flags = item.flags & kCarried;
    bool ok = true;
    switch (item.kind) {
      case MenuItem::Kind::Popup: {
        HMENU popup = CreatePopupMenu();
        ok = popup && AppendItems(popup, item.items) &&
             AppendMenu(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), item.text.c_str());
        if (!ok && popup) DestroyMenu(popup);
        break;
      }
      case MenuItem::Kind::Command:
        ok = AppendMenu(menu, flags | MF_STRING, item.id, item.text.c_str());
        break;
      case MenuItem::Kind::Separator:
        ok = AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
        break;
    }
    if (!ok) return false;
    if (item.flags & pictavo::res::kMenuDefault)
      SetMenuDefaultItem(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), TRUE);
  }
  return true;
}

// Reads the binary template; the data carries no size, so it is trusted as the platform trusts
// it, reading byte by byte because the words need not be aligned.
class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* data) : m_data(data) {}

  WORD Word() {
    const WORD value = static_cast<WORD>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return value;
  }
  std::string Text() {
    std::wstring wide;
    for (WORD unit = Word(); unit; unit = Word()) {
      char32_t cp = unit;
      if (unit >= 0xD800 && unit < 0xDC00) {
        const WORD low = Word();
        cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
      }
      wide.push_back(static_cast<wchar_t>(cp));
    }
    return pictavo::utf8::FromWide(wide);
  }
  void Skip(size_t bytes) { m_pos += bytes; }

 private:
  const BYTE* m_data;
  size_t m_pos = 0;
};

constexpr int kMaxDepth = 32;

bool ReadLevel(TemplateReader& in, HMENU menu, int depth) {
  if (depth > kMaxDepth) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  for (;;) {
    const WORD flags = in.Word();
    const UINT carried = flags & ~static_cast<UINT>(MF_END | MF_POPUP);
    if (flags & MF_POPUP) {
      const std::string text = in.Text();
      HMENU popup = CreatePopupMenu();
      if (!popup) return false;
      if (!ReadLevel(in, popup, depth + 1) ||
          !AppendMenu(menu, carried | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text.c_str())) {
        DestroyMenu(popup);
        return false;
      }
    } else {
      const WORD id = in.Word();
      const std::string text = in.Text();
      const bool separator = (carried & MF_SEPARATOR) || (id == 0 && text.empty() && carried == 0);
      if (!(separator ? AppendMenu(menu, MF_SEPARATOR, 0, nullptr)
                      : AppendMenu(menu, carried, id, text.c_str())))
        return false;
    }
    if (flags & MF_END) return true;
  }
}

}  // namespace

HMENU LoadMenu(HINSTANCE instance, LPCSTR name) {
  const pictavo::res::MenuTemplate* found = pictavo::res::FindMenu(instance, name);
  if (!found) return nullptr;
  HMENU menu = CreateMenu();
  if (!menu) return nullptr;
  if (!AppendItems(menu, found->items)) {
    DestroyMenu(menu);
    return nullptr;
  }
  return menu;
}

HMENU LoadMenuIndirect(LPCMENUTEMPLATE menuTemplate) {
  if (!menuTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  TemplateReader in(static_cast<const BYTE*>(menuTemplate));
  const WORD version = in.Word();
  const WORD offset = in.Word();
  if (version != 0) {
    // Only the plain form is written by our resources.
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  in.Skip(offset);
  HMENU menu = CreateMenu();
  if (!menu) return nullptr;
  if (!ReadLevel(in, menu, 0)) {
    DestroyMenu(menu);
    return nullptr;
  }
  return menu;
}
