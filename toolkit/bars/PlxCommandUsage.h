// CPlxCommandUsage: how often each command was chosen, so recently-used menus can tell the
// rarely used ones. Saved with the toolbar parameters as "CommandsUsage".
#pragma once

#include "platform/base/Map.h"
#include "platform/base/Object.h"

class CPlxCommandUsage : public CObject {
 public:
  void Serialize(CArchive& ar) override;
  // Counts one use; nothing in customize mode and for commands that are never counted.
  void AddCmd(UINT uiCmd);
  void Reset();
  UINT GetCount(UINT uiCmd) const;
  UINT GetTotal() const { return m_nTotalUsage; }
  BOOL HasEnoughStatistics() const { return m_nTotalUsage >= s_nMinTotalUses; }
  BOOL IsFrequentlyUsed(UINT uiCmd) const;

  static UINT s_nRarePercent;
  static UINT s_nMinTotalUses;

 private:
  CMap<UINT, UINT, UINT, UINT> m_CommandsUsage;
  UINT m_nTotalUsage = 0;
};
