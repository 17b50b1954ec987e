#include "platform/display/InputSynth.h"

#include "platform/base/VirtualKeys.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/Input.h"

namespace pictavo::display {
namespace {

void Modifiers(UINT modifiers, bool down) {
  if (modifiers & MOD_SHIFT) user::InjectKey({VK_SHIFT, down});
  if (modifiers & MOD_CONTROL) user::InjectKey({VK_CONTROL, down});
  if (modifiers & MOD_ALT) user::InjectKey({VK_MENU, down});
}

}  // namespace

void Click(POINT point, user::MouseButton button, int clicks) {
  user::InjectMouseMove(point);
  for (int i = 0; i < clicks; ++i) {
    user::InjectMouseButton(button, true);
    user::InjectMouseButton(button, false);
  }
}

void PressKey(UINT virtualKey, UINT modifiers) {
  Modifiers(modifiers, true);
  user::InjectKey({virtualKey, true});
  user::InjectKey({virtualKey, false});
  Modifiers(modifiers, false);
}

void TypeText(std::string_view utf8) {
  size_t pos = 0;
  while (pos < utf8.size()) {
    const size_t start = pos;
    const char32_t c = unicode::DecodeUtf8(utf8, pos);
    const SHORT key = c < 0x80 && c != '\n' ? VkKeyScan(static_cast<CHAR>(c)) : -1;
    if (key == -1) {
      user::InjectText(utf8.substr(start, pos - start));
      continue;
    }
    PressKey(static_cast<UINT>(key & 0xFF), (key & 0x100) ? MOD_SHIFT : 0);
  }
}

}  // namespace pictavo::display
