#include "toolkit/bars/PlxTearOffIdPool.h"

#include <cstdlib>
#include <vector>

#include "platform/user/Menu.h"

CPlxTearOffIdPool* g_pTearOffIdPool = nullptr;

namespace {

constexpr char kMark = '\x01';

CString MenuText(HMENU hMenu, int i) {
  const int length = ::GetMenuString(hMenu, i, nullptr, 0, MF_BYPOSITION);
  std::vector<char> text(2 * std::max(length, 0) + 2, '\0');
  ::GetMenuString(hMenu, i, text.data(), static_cast<int>(text.size()), MF_BYPOSITION);
  return CString(text.data());
}

}  // namespace

CPlxTearOffIdPool::CPlxTearOffIdPool(UINT uiFirst, UINT uiLast) : m_uiFirst(uiFirst), m_uiLast(uiLast) {
  if (uiFirst != 0 && uiLast != 0 && uiLast >= uiFirst) m_arUseCount.assign(uiLast - uiFirst + 1, 0);
  g_pTearOffIdPool = this;
}

CPlxTearOffIdPool::~CPlxTearOffIdPool() {
  if (g_pTearOffIdPool == this) g_pTearOffIdPool = nullptr;
}

UINT CPlxTearOffIdPool::Allocate() {
  for (size_t i = 0; i < m_arUseCount.size(); ++i) {
    if (m_arUseCount[i] == 0) {
      m_arUseCount[i] = 1;
      return m_uiFirst + static_cast<UINT>(i);
    }
  }
  return 0;
}

void CPlxTearOffIdPool::SetUsed(UINT uiID, BOOL bUsed) {
  if (m_arUseCount.empty() || uiID < m_uiFirst || uiID > m_uiLast) return;
  int& count = m_arUseCount[uiID - m_uiFirst];
  if (bUsed)
    ++count;
  else if (count > 0)
    --count;
}

int CPlxTearOffIdPool::GetUseCount(UINT uiID) const {
  if (m_arUseCount.empty() || uiID < m_uiFirst || uiID > m_uiLast) return 0;
  return m_arUseCount[uiID - m_uiFirst];
}

void CPlxTearOffIdPool::Build(HMENU hMenu) {
  if (!::IsMenu(hMenu)) return;
  const int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    if (::GetMenuItemID(hMenu, i) != (UINT)-1) continue;
    HMENU sub = ::GetSubMenu(hMenu, i);
    const UINT state = ::GetMenuState(hMenu, i, MF_BYPOSITION);
    CString text = MenuText(hMenu, i);
    if ((state & MF_MENUBARBREAK) && (text.IsEmpty() || text[0] != kMark)) {
      const UINT id = Allocate();
      if (id == 0) return;  // no id left: the rest of this level stays ordinary
      BuildTearOffText(id, text);
      // The new text keeps the item's break and its greyed or disabled state.
      const UINT kept = state & (MF_MENUBARBREAK | MF_MENUBREAK | MF_GRAYED | MF_DISABLED);
      ::ModifyMenu(hMenu, i, MF_BYPOSITION | MF_POPUP | kept, reinterpret_cast<UINT_PTR>(sub), text);
    }
    Build(sub);
  }
}

void CPlxTearOffIdPool::Reset(HMENU hMenu) {
  if (hMenu == nullptr) {
    for (int& count : m_arUseCount) count = 0;
    return;
  }
  if (!::IsMenu(hMenu)) return;
  const int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    CString text = MenuText(hMenu, i);
    const UINT id = ParseTearOffId(text);
    if (id != 0 && id >= m_uiFirst && id <= m_uiLast && !m_arUseCount.empty())
      m_arUseCount[id - m_uiFirst] = 0;
    if (::GetMenuItemID(hMenu, i) == (UINT)-1) Reset(::GetSubMenu(hMenu, i));
  }
}

UINT CPlxTearOffIdPool::ParseTearOffId(CString& str) {
  if (str.IsEmpty() || str[0] != kMark) return 0;
  const UINT id = static_cast<UINT>(atol(static_cast<LPCTSTR>(str) + 1));
  const int last = str.ReverseFind(kMark);
  str = str.Mid(last + 1);
  return id;
}

void CPlxTearOffIdPool::BuildTearOffText(UINT uiID, CString& str) {
  CString text;
  text.Format("%c%d%c%s", kMark, static_cast<int>(uiID), kMark, static_cast<LPCTSTR>(str));
  str = text;
}
