#include "toolkit/bars/PlxCommandUsage.h"

#include "platform/base/Archive.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxUserTools.h"

UINT CPlxCommandUsage::s_nRarePercent = 5;
UINT CPlxCommandUsage::s_nMinTotalUses = 0;

void CPlxCommandUsage::AddCmd(UINT uiCmd) {
  if (CPlxToolBar::m_bCustomizeMode || uiCmd == 0 || uiCmd == (UINT)-1) return;
  if (CPlxToolBar::m_lstBasicCommands.Find(uiCmd) != nullptr) return;
  if ((uiCmd >= 0xE110 && uiCmd <= 0xE11F) || (uiCmd >= 0xF000 && uiCmd <= 0xF1EF) || uiCmd > 0xFEFF ||
      (uiCmd >= 0xE210 && uiCmd <= 0xE21F))
    return;
  if (g_pUserToolsManager != nullptr && uiCmd == g_pUserToolsManager->GetToolsEntryCmd()) return;
  UINT count = 0;
  m_CommandsUsage.Lookup(uiCmd, count);
  m_CommandsUsage.SetAt(uiCmd, count + 1);
  ++m_nTotalUsage;
}

void CPlxCommandUsage::Reset() {
  m_CommandsUsage.RemoveAll();
  m_nTotalUsage = 0;
}

UINT CPlxCommandUsage::GetCount(UINT uiCmd) const {
  UINT count = 0;
  m_CommandsUsage.Lookup(uiCmd, count);
  return count;
}

BOOL CPlxCommandUsage::IsFrequentlyUsed(UINT uiCmd) const {
  if (m_nTotalUsage == 0) return FALSE;
  return GetCount(uiCmd) * 100 / m_nTotalUsage > s_nRarePercent;
}

void CPlxCommandUsage::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_nTotalUsage;
    ar.WriteCount(m_CommandsUsage.GetCount());
    for (POSITION pos = m_CommandsUsage.GetStartPosition(); pos != nullptr;) {
      UINT cmd = 0, count = 0;
      m_CommandsUsage.GetNextAssoc(pos, cmd, count);
      ar << cmd << count;
    }
    return;
  }
  // Read whole before anything changes: a short record leaves the counts as they were.
  UINT total = 0;
  ar >> total;
  const DWORD_PTR n = ar.ReadCount();
  CMap<UINT, UINT, UINT, UINT> counts;
  for (DWORD_PTR i = 0; i < n; ++i) {
    UINT cmd = 0, count = 0;
    ar >> cmd >> count;
    counts.SetAt(cmd, count);
  }
  m_CommandsUsage.RemoveAll();
  for (POSITION pos = counts.GetStartPosition(); pos != nullptr;) {
    UINT cmd = 0, count = 0;
    counts.GetNextAssoc(pos, cmd, count);
    m_CommandsUsage.SetAt(cmd, count);
  }
  m_nTotalUsage = total;
}
