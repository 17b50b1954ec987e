// The toolbar's registry state ("Buttons", "Name", "OriginalItems", "OrigResetItems") and the
// class-wide toolbar parameters.
#include "toolkit/bars/PlxToolBar.h"

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/MessageBox.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

namespace {

constexpr UINT kMemGrowth = 1024;
constexpr UINT kArchiveBuffer = 4096;
constexpr UINT kDefaultToolbarName = 16104;
constexpr UINT kResetQuestion = 16111;

CString StateKey(LPCTSTR lpszProfileName, int nIndex, UINT uiID) {
  const CString path = PlxGetRegPath(CPlxToolBar::m_strRegSection, lpszProfileName);
  CString key;
  if (uiID == (UINT)-1)
    key.Format("%sPlxToolBar-%d", static_cast<LPCTSTR>(path), nIndex);
  else
    key.Format("%sPlxToolBar-%d%x", static_cast<LPCTSTR>(path), nIndex, uiID);
  return key;
}

void DeleteAll(CObList& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
}

// Reads "OriginalItems" or "OrigResetItems": only button kinds, nothing of another class.
BOOL ReadButtonList(CPlxRegistry& reg, LPCTSTR lpszValue, CObList& list) {
  if (!reg.ReadObList(lpszValue, list)) return FALSE;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    CObject* ob = list.GetNext(pos);
    if (ob == nullptr || !ob->IsKindOf(RUNTIME_CLASS(CPlxToolbarButton))) {
      DeleteAll(list);
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace

BOOL CPlxToolBar::ReadButtonsFrom(CArchive& ar, BOOL bInsideObject) {
  // Everything is read into a temporary list first; the bar changes only when the whole record
  // is sound, so a corrupt value (the registry is the user's to edit) leaves the bar as it was.
  CObList read(10);
  BOOL textLabels = FALSE;
  CString name;
  try {
    const DWORD_PTR count = ar.ReadCount();
    for (DWORD_PTR i = 0; i < count; ++i) {
      CObject* ob = ar.ReadObject(RUNTIME_CLASS(CPlxToolbarButton));
      if (ob == nullptr) AfxThrowArchiveException(CArchiveException::genericException);
      read.AddTail(ob);
    }
    ar >> textLabels;
    ar >> name;
  } catch (CException* e) {
    if (bInsideObject) {
      // The archive deletes every object it made for the bar when the bar fails to load;
      // deleting the buttons here as well would free them twice.
      read.RemoveAll();
      throw;
    }
    e->Delete();
    DeleteAll(read);
    return FALSE;
  }
  CPlxToolbarButton* chevron = TakeChevronCopy();
  RemoveAllButtons();
  while (!read.IsEmpty()) {
    auto* button = static_cast<CPlxToolbarButton*>(read.RemoveHead());
    button->m_nStyle &= ~(TBBS_CHECKED | TBBS_PRESSED);
    m_lstButtons.AddTail(button);
    button->OnChangeParentWnd(this);
  }
  if (AllowChangeTextLabels()) m_bTextLabels = textLabels;
  PutChevronBack(chevron);
  AdjustLocations();
  if (GetSafeHwnd() != nullptr) SetWindowText(name);
  // Every button of a forbidden command goes, not only the first.
  for (POSITION pos = m_lstForbiddenCommands.GetHeadPosition(); pos != nullptr;) {
    const UINT cmd = m_lstForbiddenCommands.GetNext(pos);
    for (int i = CommandToIndex(cmd); i >= 0; i = CommandToIndex(cmd)) {
      if (!RemoveButton(i)) break;
    }
  }
  return TRUE;
}

void CPlxToolBar::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    CObList storable(10);
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
      auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
      if (button != nullptr && button->CanBeStored()) storable.AddTail(button);
    }
    storable.Serialize(ar);
    ar << m_bTextLabels;
    CString name;
    if (GetSafeHwnd() != nullptr) GetWindowText(name);
    ar << name;
    return;
  }
  ReadButtonsFrom(ar, TRUE);
}

BOOL CPlxToolBar::SaveState(LPCTSTR lpszProfileName, int nIndex, UINT uiID) {
  if (nIndex == -1) nIndex = GetSafeHwnd() != nullptr ? GetDlgCtrlID() : 0;
  const CString key = StateKey(lpszProfileName, nIndex, uiID);
  std::vector<BYTE> bytes;
  try {
    CMemFile file(kMemGrowth);
    {
      CArchive ar(&file, CArchive::store, kArchiveBuffer);
      Serialize(ar);
      ar.Close();
    }
    const UINT size = static_cast<UINT>(file.GetLength());
    BYTE* data = file.Detach();
    bytes.assign(data, data + size);
    free(data);
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  CPlxRegistryHolder holder;
  CPlxRegistry& reg = holder.Create(FALSE, FALSE);
  if (!reg.CreateKey(key)) return FALSE;
  // TRUE only when every value is written; values that now hold nothing are deleted, so no
  // stale snapshot is read back at the next start.
  BOOL ok = TRUE;
  if (GetSafeHwnd() != nullptr) {
    CString name;
    GetWindowText(name);
    ok = reg.WriteString("Name", name) && ok;
  }
  ok = reg.WriteBinary("Buttons", bytes.data(), static_cast<UINT>(bytes.size())) && ok;
  if (!ok) return FALSE;
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  if (workspace != nullptr && workspace->m_bResetState) {
    if (!m_lstDefaultButtons.IsEmpty())
      ok = SaveOriginalItems(reg);
    else if (reg.VerifyValue("OriginalItems"))
      ok = reg.DeleteValue("OriginalItems");
  }
  if (!ok) return FALSE;
  if (!m_lstResetButtons.IsEmpty())
    ok = SaveResetItems(reg);
  else if (reg.VerifyValue("OrigResetItems"))
    ok = reg.DeleteValue("OrigResetItems");
  return ok;
}

BOOL CPlxToolBar::LoadState(LPCTSTR lpszProfileName, int nIndex, UINT uiID) {
  if (nIndex == -1) nIndex = GetSafeHwnd() != nullptr ? GetDlgCtrlID() : 0;
  const CString key = StateKey(lpszProfileName, nIndex, uiID);
  CPlxRegistryHolder holder;
  CPlxRegistry& reg = holder.Create(FALSE, TRUE);
  if (!reg.Open(key)) return FALSE;
  BYTE* data = nullptr;
  UINT size = 0;
  if (!reg.ReadBinary("Buttons", &data, &size)) return FALSE;
  BOOL result = FALSE;
  if (data != nullptr && size > 0) {
    try {
      CMemFile file(data, size);
      CArchive ar(&file, CArchive::load, kArchiveBuffer);
      result = ReadStoredState(ar);
    } catch (CException* e) {
      e->Delete();
      result = FALSE;
    }
  }
  delete[] data;
  CPlxWorkspace* workspace = CPlxWorkspace::GetWorkspace();
  if (result && workspace != nullptr && workspace->m_bResetState) LoadOriginalItems(reg);
  LoadResetItems(reg);
  AdjustLayout();
  return result;
}

BOOL CPlxToolBar::RemoveStateFromRegistry(LPCTSTR lpszProfileName, int nIndex, UINT uiID) {
  if (nIndex == -1) nIndex = GetSafeHwnd() != nullptr ? GetDlgCtrlID() : 0;
  CPlxRegistryHolder holder;
  return holder.Create(FALSE, FALSE).DeleteKey(StateKey(lpszProfileName, nIndex, uiID), FALSE);
}

BOOL CPlxToolBar::SaveOriginalItems(CPlxRegistry& reg) {
  if (m_lstDefaultButtons.IsEmpty()) return FALSE;
  return reg.WriteObList("OriginalItems", m_lstDefaultButtons);
}

BOOL CPlxToolBar::LoadOriginalItems(CPlxRegistry& reg) {
  CObList previous(10);
  BOOL result = FALSE;
  if (ReadButtonList(reg, "OriginalItems", previous)) result = SmartUpdate(previous);
  DeleteAll(previous);
  return result;
}

BOOL CPlxToolBar::SaveResetItems(CPlxRegistry& reg) {
  if (m_lstResetButtons.IsEmpty()) return TRUE;
  return reg.WriteObList("OrigResetItems", m_lstResetButtons);
}

BOOL CPlxToolBar::LoadResetItems(CPlxRegistry& reg) {
  CObList read(10);
  if (ReadButtonList(reg, "OrigResetItems", read) && !read.IsEmpty()) {
    DeleteAll(m_lstResetButtons);
    while (!read.IsEmpty()) m_lstResetButtons.AddTail(read.RemoveHead());
  }
  DeleteAll(read);
  return TRUE;
}

BOOL CPlxToolBar::SmartUpdate(const CObList& lstPrevButtons) {
  BOOL changed = FALSE;
  const auto contains = [](const CObList& list, const CPlxToolbarButton* b) {
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
      if (static_cast<CPlxToolbarButton*>(list.GetNext(pos))->CompareWith(*b)) return true;
    return false;
  };
  for (POSITION pos = lstPrevButtons.GetHeadPosition(); pos != nullptr;) {
    auto* previous = static_cast<CPlxToolbarButton*>(lstPrevButtons.GetNext(pos));
    if (contains(m_lstDefaultButtons, previous)) continue;
    changed = TRUE;
    const int i = CommandToIndex(previous->m_nID);
    if (i >= 0) RemoveButton(i);
  }
  int i = 0;
  for (POSITION pos = m_lstDefaultButtons.GetHeadPosition(); pos != nullptr; ++i) {
    auto* current = static_cast<CPlxToolbarButton*>(m_lstDefaultButtons.GetNext(pos));
    if (contains(lstPrevButtons, current)) continue;
    changed = TRUE;
    const int at = std::min(i, GetCount());
    if (current->m_nID == 0) {
      InsertSeparator(at);
    } else {
      int image = -1;
      m_mapDefaultImages.Lookup(current->m_nID, image);
      InsertButton(CPlxToolbarButton(current->m_nID, image, nullptr, FALSE, m_bLocked), at);
    }
  }
  BOOL same = lstPrevButtons.GetCount() == m_lstDefaultButtons.GetCount();
  for (POSITION a = lstPrevButtons.GetHeadPosition(), b = m_lstDefaultButtons.GetHeadPosition();
       same && a != nullptr && b != nullptr;)
    same = static_cast<CPlxToolbarButton*>(lstPrevButtons.GetNext(a))
               ->CompareWith(*static_cast<CPlxToolbarButton*>(m_lstDefaultButtons.GetNext(b)));
  m_bDefaultsChanged = same ? changed : TRUE;
  return m_bDefaultsChanged;
}

BOOL CPlxToolBar::RestoreOriginalState() {
  if (m_uiDefaultResId == 0) return FALSE;
  PlxToolBarLoadParams params;
  const BOOL ok = LoadToolBarEx(m_uiDefaultResId, params, m_bLocked);
  AdjustLayout();
  if (GetSafeHwnd() != nullptr)
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  return ok;
}

LRESULT CPlxToolBar::OnResetPrompt(WPARAM wParam, LPARAM lParam) {
  return OnPromptReset(wParam, lParam);
}

LRESULT CPlxToolBar::OnPromptReset(WPARAM, LPARAM) {
  CString name;
  if (GetSafeHwnd() != nullptr) GetWindowText(name);
  name.Trim();
  if (name.IsEmpty()) name.LoadString(kDefaultToolbarName);
  CString format, question;
  format.LoadString(kResetQuestion);
  question.Format(format, static_cast<LPCTSTR>(name));
  if (AfxMessageBox(question, MB_OKCANCEL | MB_ICONWARNING) == IDOK) RestoreOriginalState();
  return 0;
}

BOOL CPlxToolBar::SaveParameters(LPCTSTR lpszProfileName) {
  CString key;
  key.Format("%sPlxToolbarParameters", static_cast<LPCTSTR>(PlxGetRegPath(m_strRegSection, lpszProfileName)));
  CPlxRegistryHolder holder;
  CPlxRegistry& reg = holder.Create(FALSE, FALSE);
  if (!reg.CreateKey(key)) return FALSE;
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  return reg.WriteInt("Tooltips", m_bShowTooltips) && reg.WriteInt("ShortcutKeys", m_bShowShortcutKeys) &&
         reg.WriteInt("LargeIcons", m_bLargeIcons) &&
         reg.WriteInt("MenuAnimation", CPlxPopupMenu::m_AnimationType) &&
         reg.WriteInt("RecentlyUsedMenus", CPlxMenuBar::m_bRecentlyUsedMenus) &&
         reg.WriteInt("MenuShadows", CPlxMenuBar::m_bMenuShadows) &&
         reg.WriteInt("ShowAllMenusAfterDelay", CPlxMenuBar::m_bShowAllMenusAfterDelay) &&
         reg.WriteInt("Look2000", manager->m_bLook2000) &&
         reg.WriteSerialized("CommandsUsage", m_commandUsage);
}

BOOL CPlxToolBar::LoadParameters(LPCTSTR lpszProfileName) {
  CString key;
  key.Format("%sPlxToolbarParameters", static_cast<LPCTSTR>(PlxGetRegPath(m_strRegSection, lpszProfileName)));
  CPlxRegistryHolder holder;
  CPlxRegistry& reg = holder.Create(FALSE, TRUE);
  if (!reg.Open(key)) return FALSE;
  int animation = 0, look2000 = 0;
  const BOOL ok = reg.ReadInt("Tooltips", m_bShowTooltips) &&
                  reg.ReadInt("ShortcutKeys", m_bShowShortcutKeys) &&
                  reg.ReadInt("LargeIcons", m_bLargeIcons) && reg.ReadInt("MenuAnimation", animation) &&
                  reg.ReadInt("RecentlyUsedMenus", CPlxMenuBar::m_bRecentlyUsedMenus) &&
                  reg.ReadInt("MenuShadows", CPlxMenuBar::m_bMenuShadows) &&
                  reg.ReadInt("ShowAllMenusAfterDelay", CPlxMenuBar::m_bShowAllMenusAfterDelay) &&
                  reg.ReadInt("Look2000", look2000) && reg.ReadSerialized("CommandsUsage", m_commandUsage);
  CPlxPopupMenu::m_AnimationType = animation;
  SetLargeIcons(m_bLargeIcons);
  CPlxVisualManager::GetInstance()->SetLook2000(look2000);
  return ok;
}
