// CPlxHotKeyEdit: an edit control that records a key combination instead of text. Modifiers
// build up while held; the first other key completes the combination, which the edit shows as
// "Ctrl+Shift+K". Any new key after that starts over. Tab (no modifier) still moves the focus,
// Escape empties the edit. The keyboard page reads m_Accel and m_bKeyDefined directly.
#pragma once

#include "platform/mfc/StdControls.h"
#include "platform/user/Accel.h"
#include "toolkit/core/PlxShortcutText.h"

class CPlxHotKeyEdit : public CEdit {
 public:
  CPlxHotKeyEdit();

  // Forgets the recorded key and empties the text.
  void ResetKey();
  BOOL PreTranslateMessage(MSG* pMsg) override;

  ACCEL m_Accel{};              // all zero when empty
  CPlxShortcutText m_Helper;    // bound to m_Accel
  BOOL m_bKeyDefined = FALSE;   // a non-modifier key has been recorded
  BOOL m_bIsFocused = FALSE;    // the edit owns the focus for recording
  BOOL m_bIsFirstPass = FALSE;  // set on the first key message the edit ever sees

 protected:
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowKey();
};
