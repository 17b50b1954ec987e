// CPlxShortcutText: one accelerator entry as the user reads it ("Ctrl+Shift+F5", "Page up").
// Menus, tooltips, the keyboard manager and the editable list's button tips all write keys so.
#pragma once

#include "platform/base/CString.h"
#include "platform/user/Accel.h"

class CPlxShortcutText {
 public:
  // The entry is not owned and may be null (nothing to write).
  explicit CPlxShortcutText(const ACCEL* pAccel) : m_pAccel(pAccel) {}
  virtual ~CPlxShortcutText() = default;

  // Modifiers in the order Ctrl, Shift, Alt, each followed by '+', then the key: a virtual key by
  // its keyboard name, any other code as its character (27, Escape, writes nothing).
  void Format(CString& str) const;

  // A virtual key's name with only its first letter in capitals; "Pause" for the Pause key.
  static CString KeyName(UINT nKey);

 private:
  const ACCEL* m_pAccel;
};
