// Accelerator entries as the user reads them: modifiers in a fixed order, virtual keys by their
// keyboard names with only the first letter in capitals, other codes as their character.
#include <gtest/gtest.h>

#include "platform/base/VirtualKeys.h"
#include "toolkit/core/PlxShortcutText.h"

namespace {

TEST(PlxShortcutText, FormatsModifiersThenTheKey) {
  struct Case {
    BYTE fVirt;
    WORD key;
    const char* text;
  };
  const Case cases[] = {
      {FVIRTKEY | FCONTROL | FSHIFT, VK_F5, "Ctrl+Shift+F5"},
      {FVIRTKEY | FALT | FCONTROL | FSHIFT, 'K', "Ctrl+Shift+Alt+K"},  // the order never follows the bits
      {FVIRTKEY, VK_PAUSE, "Pause"},
      {FVIRTKEY, VK_PRIOR, "Page up"},
      {FVIRTKEY | FALT, VK_NEXT, "Alt+Page down"},
      {FVIRTKEY, VK_INSERT, "Insert"},  // extended keys are not their keypad twins
      {FVIRTKEY, VK_DELETE, "Delete"},
      {FVIRTKEY | FALT, VK_UP, "Alt+Up"},
      {FVIRTKEY, VK_NUMPAD7, "Num 7"},
      {FVIRTKEY, VK_F12, "F12"},
      {FVIRTKEY, VK_ESCAPE, "Esc"},
      {FVIRTKEY, VK_OEM_COMMA, ","},
      {0, 'q', "q"},  // a character, not a key
      {FCONTROL, 'a', "Ctrl+a"},
      {0, 27, ""},                        // Escape as a character writes nothing ...
      {FSHIFT | FALT, 27, "Shift+Alt+"},  // ... its modifiers stay
  };
  for (const Case& c : cases) {
    const ACCEL accel{c.fVirt, c.key, 100};
    CString text("stale");
    CPlxShortcutText(&accel).Format(text);
    EXPECT_EQ(text, CString(c.text)) << "key " << c.key << " modifiers " << int(c.fVirt);
  }
}

TEST(PlxShortcutText, NoEntryWritesNothing) {
  CString text("stale");
  CPlxShortcutText(nullptr).Format(text);
  EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
