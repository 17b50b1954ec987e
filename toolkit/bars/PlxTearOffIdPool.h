// CPlxTearOffIdPool: the control-bar ids an application reserves for menus torn off into bars.
// A sub-menu marked as a tear-off menu carries its id inside its item text: 0x01, the id in
// decimal, 0x01, then the visible text. The workspace owns the one pool (g_pTearOffIdPool); while
// there is none, menus carry no ids and no popup shows a tear-off caption.
#pragma once

#include <vector>

#include "platform/base/CString.h"
#include "platform/base/Object.h"

class CPlxTearOffIdPool : public CObject {
 public:
  // A pool of the ids [uiFirst, uiLast], all free; it becomes g_pTearOffIdPool.
  CPlxTearOffIdPool(UINT uiFirst, UINT uiLast);
  ~CPlxTearOffIdPool() override;

  // Gives every marked (MF_MENUBARBREAK) sub-menu of the tree an id written into its text.
  void Build(HMENU hMenu);
  // Frees the ids found in the menu tree; all ids for null.
  void Reset(HMENU hMenu);
  // A free id, now used; 0 when none.
  UINT Allocate();
  void SetUsed(UINT uiID, BOOL bUsed = TRUE);
  int GetUseCount(UINT uiID) const;

  // The id written in the text (0 when none); the text keeps only its visible part.
  static UINT ParseTearOffId(CString& str);
  // Writes the id in front of the text.
  static void BuildTearOffText(UINT uiID, CString& str);

 protected:
  UINT m_uiFirst;
  UINT m_uiLast;
  std::vector<int> m_arUseCount;
};

extern CPlxTearOffIdPool* g_pTearOffIdPool;
