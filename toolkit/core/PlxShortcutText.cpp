#include "toolkit/core/PlxShortcutText.h"

#include <cctype>

#include "platform/base/VirtualKeys.h"
#include "platform/user/Input.h"

CString CPlxShortcutText::KeyName(UINT nKey) {
  if (nKey == VK_PAUSE) return "Pause";  // no scan code names it
  LONG lParam = static_cast<LONG>(MapVirtualKeyEx(nKey, 0, GetKeyboardLayout(0)) << 16) | 1;
  // Page keys, arrows, Home, End, Insert and Delete sit on the extended part of the keyboard.
  if (nKey >= 0x21 && nKey <= 0x2F) lParam |= 1 << 24;
  char name[51] = {};
  GetKeyNameText(lParam, name, 50);
  CString text(name);
  text.MakeLower();
  for (int i = 0; i < text.GetLength(); ++i)
    if (std::islower(static_cast<unsigned char>(text[i]))) {
      text.SetAt(i, static_cast<char>(std::toupper(static_cast<unsigned char>(text[i]))));
      break;
    }
  return text;
}

void CPlxShortcutText::Format(CString& str) const {
  str.Empty();
  if (!m_pAccel) return;
  if (m_pAccel->fVirt & FCONTROL) str += KeyName(VK_CONTROL) + "+";
  if (m_pAccel->fVirt & FSHIFT) str += KeyName(VK_SHIFT) + "+";
  if (m_pAccel->fVirt & FALT) str += KeyName(VK_MENU) + "+";
  if (m_pAccel->fVirt & FVIRTKEY)
    str += KeyName(m_pAccel->key);
  else if (m_pAccel->key != 27)
    str += static_cast<char>(m_pAccel->key);
}
