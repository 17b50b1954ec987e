// The sdl display's input: SDL's mouse, keyboard and text events become the user's input in
// desktop coordinates and virtual keys. Double clicks are the window layer's to find.
#include <cmath>

#include "platform/display/SdlInternal.h"
#include "platform/shellapi/DragDrop.h"
#include "platform/user/User.h"

namespace pictavo::display {
namespace {

struct ScanKey {
  SDL_Scancode scan;
  UINT vk;
};

// Keys by where they are: the codes of a United States keyboard.
constexpr ScanKey kScanKeys[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    {SDL_SCANCODE_APPLICATION, VK_APPS},
    {SDL_SCANCODE_MENU, VK_APPS},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_LGUI, VK_LWIN},
    {SDL_SCANCODE_RGUI, VK_RWIN},
};

bool IsKeypadText(SDL_Scancode scan) {
  return (scan >= SDL_SCANCODE_KP_1 && scan <= SDL_SCANCODE_KP_PERIOD) ||
         (scan >= SDL_SCANCODE_KP_DIVIDE && scan <= SDL_SCANCODE_KP_PLUS);
}

user::MouseButton ButtonOf(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_RIGHT:
      return user::MouseButton::kRight;
    case SDL_BUTTON_MIDDLE:
      return user::MouseButton::kMiddle;
    case SDL_BUTTON_X1:
      return user::MouseButton::kX1;
    case SDL_BUTTON_X2:
      return user::MouseButton::kX2;
    default:
      return user::MouseButton::kLeft;
  }
}

}  // namespace

UINT VirtualKeyOf(const SDL_Keysym& key) {
  if (key.sym >= SDLK_a && key.sym <= SDLK_z) return static_cast<UINT>('A' + (key.sym - SDLK_a));
  const SDL_Scancode scan = key.scancode;
  if (scan >= SDL_SCANCODE_A && scan <= SDL_SCANCODE_Z)
    return static_cast<UINT>('A' + (scan - SDL_SCANCODE_A));
  if (scan >= SDL_SCANCODE_1 && scan <= SDL_SCANCODE_9)
    return static_cast<UINT>('1' + (scan - SDL_SCANCODE_1));
  if (scan == SDL_SCANCODE_0) return '0';
  if (scan >= SDL_SCANCODE_F1 && scan <= SDL_SCANCODE_F12)
    return VK_F1 + static_cast<UINT>(scan - SDL_SCANCODE_F1);
  if (scan >= SDL_SCANCODE_F13 && scan <= SDL_SCANCODE_F24)
    return VK_F13 + static_cast<UINT>(scan - SDL_SCANCODE_F13);
  if (scan >= SDL_SCANCODE_KP_1 && scan <= SDL_SCANCODE_KP_9)
    return VK_NUMPAD1 + static_cast<UINT>(scan - SDL_SCANCODE_KP_1);
  if (scan == SDL_SCANCODE_KP_0) return VK_NUMPAD0;
  for (const ScanKey& k : kScanKeys)
    if (k.scan == scan) return k.vk;
  return 0;
}

bool KeyMakesText(const SDL_Keysym& key) {
  // Control and the left Alt make commands, not text; AltGr (the right Alt) makes text.
  if (key.mod & (KMOD_CTRL | KMOD_LALT | KMOD_GUI)) return false;
  if (IsKeypadText(key.scancode)) return (key.mod & KMOD_NUM) != 0;
  return key.sym >= 0x20 && key.sym != SDLK_DELETE && !(key.sym & SDLK_SCANCODE_MASK);
}

void SdlDisplay::HandleInput(const SDL_Event& event) {
  switch (event.type) {
    case SDL_MOUSEMOTION:
      if (const Native* native = FindById(event.motion.windowID)) {
        m_leavePending = false;
        user::InjectMouseMove(DesktopPoint(*native, event.motion.x, event.motion.y));
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (const Native* native = FindById(event.button.windowID)) {
        user::InjectMouseMove(DesktopPoint(*native, event.button.x, event.button.y));
        user::InjectMouseButton(ButtonOf(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
      }
      break;
    case SDL_MOUSEWHEEL: {
      const float flip = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
      const int vertical = static_cast<int>(std::lround(event.wheel.preciseY * flip * WHEEL_DELTA));
      const int horizontal = static_cast<int>(std::lround(event.wheel.preciseX * flip * WHEEL_DELTA));
      if (vertical) user::InjectMouseWheel(vertical, false);
      if (horizontal) user::InjectMouseWheel(horizontal, true);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const UINT vk = VirtualKeyOf(event.key.keysym);
      if (!vk) break;
      user::KeyInput key;
      key.virtualKey = vk;
      key.down = event.type == SDL_KEYDOWN;
      key.noCharacter = KeyMakesText(event.key.keysym);
      user::InjectKey(key);
      break;
    }
    case SDL_TEXTINPUT:
      user::InjectText(event.text.text);
      break;
    case SDL_DROPBEGIN:
      m_droppedFiles.clear();
      break;
    case SDL_DROPFILE:
      if (event.drop.file != nullptr) {
        m_droppedFiles.emplace_back(event.drop.file);
        SDL_free(event.drop.file);
      }
      break;
    case SDL_DROPCOMPLETE:
      // Files dragged from the desktop land on the window under the pointer, as WM_DROPFILES.
      if (const Native* native = FindById(event.drop.windowID); native != nullptr && !m_droppedFiles.empty()) {
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        shell::DropFiles(native->hwnd, POINT{gx - m_origin.x, gy - m_origin.y}, m_droppedFiles);
      }
      m_droppedFiles.clear();
      break;
    default:
      break;
  }
}

}  // namespace pictavo::display
