// Key state, the keyboard layout (United States) and TranslateMessage.
#include <array>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/UserInternal.h"

namespace pictavo::user::detail {
namespace {

// The keys as they are now (GetAsyncKeyState): written by injection, read by any thread.
std::array<std::atomic<BYTE>, 256>& AsyncKeys() {
  static auto* keys = new std::array<std::atomic<BYTE>, 256>{};
  return *keys;
}

// The generic key a left/right one counts for.
UINT GenericKey(UINT vk) {
  switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
      return VK_MENU;
    default:
      return 0;
  }
}

void SetKey(BYTE* keys, UINT vk, bool down) {
  BYTE state = keys[vk & 0xFF];
  if (down && !(state & 0x80)) state ^= 0x01;  // each press toggles
  state = down ? static_cast<BYTE>(state | 0x80) : static_cast<BYTE>(state & ~0x80);
  keys[vk & 0xFF] = state;
}

// Set-1 scan codes of the keys, by virtual key.
struct ScanEntry {
  BYTE vk;
  BYTE scan;
};
constexpr ScanEntry kScans[] = {
    {VK_ESCAPE, 0x01},
    {'1', 0x02},
    {'2', 0x03},
    {'3', 0x04},
    {'4', 0x05},
    {'5', 0x06},
    {'6', 0x07},
    {'7', 0x08},
    {'8', 0x09},
    {'9', 0x0A},
    {'0', 0x0B},
    {VK_OEM_MINUS, 0x0C},
    {VK_OEM_PLUS, 0x0D},
    {VK_BACK, 0x0E},
    {VK_TAB, 0x0F},
    {'Q', 0x10},
    {'W', 0x11},
    {'E', 0x12},
    {'R', 0x13},
    {'T', 0x14},
    {'Y', 0x15},
    {'U', 0x16},
    {'I', 0x17},
    {'O', 0x18},
    {'P', 0x19},
    {VK_OEM_4, 0x1A},
    {VK_OEM_6, 0x1B},
    {VK_RETURN, 0x1C},
    {VK_CONTROL, 0x1D},
    {VK_LCONTROL, 0x1D},
    {VK_RCONTROL, 0x1D},
    {'A', 0x1E},
    {'S', 0x1F},
    {'D', 0x20},
    {'F', 0x21},
    {'G', 0x22},
    {'H', 0x23},
    {'J', 0x24},
    {'K', 0x25},
    {'L', 0x26},
    {VK_OEM_1, 0x27},
    {VK_OEM_7, 0x28},
    {VK_OEM_3, 0x29},
    {VK_SHIFT, 0x2A},
    {VK_LSHIFT, 0x2A},
    {VK_OEM_5, 0x2B},
    {'Z', 0x2C},
    {'X', 0x2D},
    {'C', 0x2E},
    {'V', 0x2F},
    {'B', 0x30},
    {'N', 0x31},
    {'M', 0x32},
    {VK_OEM_COMMA, 0x33},
    {VK_OEM_PERIOD, 0x34},
    {VK_OEM_2, 0x35},
    {VK_RSHIFT, 0x36},
    {VK_MULTIPLY, 0x37},
    {VK_MENU, 0x38},
    {VK_LMENU, 0x38},
    {VK_RMENU, 0x38},
    {VK_SPACE, 0x39},
    {VK_CAPITAL, 0x3A},
    {VK_F1, 0x3B},
    {VK_F2, 0x3C},
    {VK_F3, 0x3D},
    {VK_F4, 0x3E},
    {VK_F5, 0x3F},
    {VK_F6, 0x40},
    {VK_F7, 0x41},
    {VK_F8, 0x42},
    {VK_F9, 0x43},
    {VK_F10, 0x44},
    {VK_NUMLOCK, 0x45},
    {VK_SCROLL, 0x46},
    {VK_NUMPAD7, 0x47},
    {VK_NUMPAD8, 0x48},
    {VK_NUMPAD9, 0x49},
    {VK_SUBTRACT, 0x4A},
    {VK_NUMPAD4, 0x4B},
    {VK_NUMPAD5, 0x4C},
    {VK_NUMPAD6, 0x4D},
    {VK_ADD, 0x4E},
    {VK_NUMPAD1, 0x4F},
    {VK_NUMPAD2, 0x50},
    {VK_NUMPAD3, 0x51},
    {VK_NUMPAD0, 0x52},
    {VK_DECIMAL, 0x53},
    {VK_OEM_102, 0x56},
    {VK_F11, 0x57},
    {VK_F12, 0x58},
    // Extended keys share scan codes with the keypad.
    {VK_HOME, 0x47},
    {VK_UP, 0x48},
    {VK_PRIOR, 0x49},
    {VK_LEFT, 0x4B},
    {VK_RIGHT, 0x4D},
    {VK_END, 0x4F},
    {VK_DOWN, 0x50},
    {VK_NEXT, 0x51},
    {VK_INSERT, 0x52},
    {VK_DELETE, 0x53},
    {VK_DIVIDE, 0x35},
    {VK_LWIN, 0x5B},
    {VK_RWIN, 0x5C},
    {VK_APPS, 0x5D},
};

// Characters of the keys that make one: unshifted and shifted.
struct CharEntry {
  BYTE vk;
  char plain;
  char shifted;
};
constexpr CharEntry kChars[] = {
    {'0', '0', ')'},         {'1', '1', '!'},          {'2', '2', '@'},          {'3', '3', '#'},
    {'4', '4', '$'},         {'5', '5', '%'},          {'6', '6', '^'},          {'7', '7', '&'},
    {'8', '8', '*'},         {'9', '9', '('},          {VK_SPACE, ' ', ' '},     {VK_OEM_1, ';', ':'},
    {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'},
    {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},     {VK_OEM_5, '\\', '|'},
    {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},    {VK_OEM_102, '\\', '|'},  {VK_MULTIPLY, '*', '*'},
    {VK_ADD, '+', '+'},      {VK_SUBTRACT, '-', '-'},  {VK_DIVIDE, '/', '/'},
};

// The character a key makes with the given key state, 0 for none.
char32_t CharacterOf(UINT vk, const BYTE* keys) {
  const bool shift = keys[VK_SHIFT] & 0x80;
  const bool ctrl = keys[VK_CONTROL] & 0x80;
  const bool alt = keys[VK_MENU] & 0x80;
  const bool caps = keys[VK_CAPITAL] & 0x01;
  const bool numLock = keys[VK_NUMLOCK] & 0x01;
  if (ctrl && alt) return 0;  // AltGr makes nothing on this layout
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return vk - 'A' + 1;
    return (shift != caps) ? vk : vk - 'A' + 'a';
  }
  switch (vk) {
    case VK_RETURN:
      return ctrl ? U'\n' : U'\r';
    case VK_BACK:
      return ctrl ? 0x7F : 0x08;
    case VK_TAB:
      return ctrl ? 0 : U'\t';
    case VK_ESCAPE:
      return 0x1B;
    case VK_CANCEL:
      return ctrl ? 0x03 : 0;
    default:
      break;
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return numLock ? U'0' + (vk - VK_NUMPAD0) : 0;
  if (vk == VK_DECIMAL) return numLock ? U'.' : 0;
  if (ctrl) {
    switch (vk) {
      case VK_OEM_4:
        return 0x1B;
      case VK_OEM_5:
        return 0x1C;
      case VK_OEM_6:
        return 0x1D;
      case VK_SPACE:
        return U' ';
      default:
        return 0;
    }
  }
  for (const CharEntry& e : kChars)
    if (e.vk == vk) return static_cast<unsigned char>(shift ? e.shifted : e.plain);
  return 0;
}

}  // namespace

WORD MouseKeysNow() {
  auto& keys = AsyncKeys();
  WORD flags = 0;
  if (keys[VK_LBUTTON] & 0x80) flags |= MK_LBUTTON;
  if (keys[VK_RBUTTON] & 0x80) flags |= MK_RBUTTON;
  if (keys[VK_MBUTTON] & 0x80) flags |= MK_MBUTTON;
  if (keys[VK_XBUTTON1] & 0x80) flags |= MK_XBUTTON1;
  if (keys[VK_XBUTTON2] & 0x80) flags |= MK_XBUTTON2;
  if (keys[VK_SHIFT] & 0x80) flags |= MK_SHIFT;
  if (keys[VK_CONTROL] & 0x80) flags |= MK_CONTROL;
  return flags;
}

void SetAsyncKey(UINT vk, bool down) {
  auto& keys = AsyncKeys();
  auto set = [&](UINT key) {
    BYTE state = keys[key & 0xFF].load();
    if (down && !(state & 0x80)) state ^= 0x01;
    keys[key & 0xFF] = down ? static_cast<BYTE>(state | 0x80) : static_cast<BYTE>(state & ~0x80);
  };
  set(vk);
  if (const UINT generic = GenericKey(vk)) {
    // The generic key is down while either side is.
    const UINT other = vk == VK_LSHIFT     ? VK_RSHIFT
                       : vk == VK_RSHIFT   ? VK_LSHIFT
                       : vk == VK_LCONTROL ? VK_RCONTROL
                       : vk == VK_RCONTROL ? VK_LCONTROL
                       : vk == VK_LMENU    ? VK_RMENU
                                           : VK_LMENU;
    set(generic);
    if (!down && (keys[other] & 0x80)) keys[generic] = static_cast<BYTE>(keys[generic] | 0x80);
  } else if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) {
    set(vk == VK_SHIFT ? VK_LSHIFT : vk == VK_CONTROL ? VK_LCONTROL : VK_LMENU);
  }
}

bool AsyncKeyDown(UINT vk) {
  return (AsyncKeys()[vk & 0xFF] & 0x80) != 0;
}

void UpdateThreadKeyState(MessageQueue& queue, const RawInput& in) {
  BYTE* keys = queue.input.keys;
  if (in.kind == RawInput::Kind::kKey) {
    SetKey(keys, in.virtualKey, in.down);
    if (const UINT generic = GenericKey(in.virtualKey))
      SetKey(keys, generic, in.down);
    else if (in.virtualKey == VK_SHIFT)
      SetKey(keys, VK_LSHIFT, in.down);
    else if (in.virtualKey == VK_CONTROL)
      SetKey(keys, VK_LCONTROL, in.down);
    else if (in.virtualKey == VK_MENU)
      SetKey(keys, VK_LMENU, in.down);
    return;
  }
  // Mouse input carries the buttons and modifiers as they were.
  const WORD m = in.mouseKeys;
  SetKey(keys, VK_LBUTTON, m & MK_LBUTTON);
  SetKey(keys, VK_RBUTTON, m & MK_RBUTTON);
  SetKey(keys, VK_MBUTTON, m & MK_MBUTTON);
  SetKey(keys, VK_XBUTTON1, m & MK_XBUTTON1);
  SetKey(keys, VK_XBUTTON2, m & MK_XBUTTON2);
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

SHORT GetKeyState(int virtualKey) {
  const BYTE state = MessageQueue::Current().input.keys[virtualKey & 0xFF];
  return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) {
  return static_cast<SHORT>(AsyncKeyDown(virtualKey) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* keyState) {
  if (!keyState) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const BYTE* keys = MessageQueue::Current().input.keys;
  std::copy(keys, keys + 256, keyState);
  return TRUE;
}

BOOL SetKeyboardState(BYTE* keyState) {
  if (!keyState) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  BYTE* keys = MessageQueue::Current().input.keys;
  std::copy(keyState, keyState + 256, keys);
  return TRUE;
}

UINT MapVirtualKey(UINT code, UINT mapType) {
  switch (mapType) {
    case MAPVK_VK_TO_VSC:
      for (const ScanEntry& e : kScans)
        if (e.vk == code) return e.scan;
      return 0;
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX:
      for (const ScanEntry& e : kScans) {
        if (e.scan != code) continue;
        if (mapType == MAPVK_VSC_TO_VK && GenericKey(e.vk)) return GenericKey(e.vk);
        return e.vk;
      }
      return 0;
    case MAPVK_VK_TO_CHAR: {
      if (code >= 'A' && code <= 'Z') return code;
      BYTE none[256] = {};
      return static_cast<UINT>(CharacterOf(code, none));
    }
    default:
      return 0;
  }
}

SHORT VkKeyScan(CHAR ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<SHORT>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<SHORT>(0x100 | c);
  if (c == '\r') return VK_RETURN;
  if (c == '\t') return VK_TAB;
  if (c == 0x08) return VK_BACK;
  if (c == 0x1B) return VK_ESCAPE;
  for (const CharEntry& e : kChars) {
    if (e.vk >= VK_MULTIPLY && e.vk <= VK_DIVIDE) continue;  // the main keys are the ones typed
    if (static_cast<unsigned char>(e.plain) == c) return e.vk;
    if (static_cast<unsigned char>(e.shifted) == c) return static_cast<SHORT>(0x100 | e.vk);
  }
  return -1;
}

int ToAsciiEx(UINT virtualKey, UINT, const BYTE* keyState, LPWORD chars, UINT, HANDLE) {
  if (!keyState || !chars) return 0;
  const char32_t c = CharacterOf(virtualKey & 0xFF, keyState);
  if (!c || c > 0xFF) return 0;
  *chars = static_cast<WORD>(c);
  return 1;
}

int ToAscii(UINT virtualKey, UINT scanCode, const BYTE* keyState, LPWORD chars, UINT flags) {
  return ToAsciiEx(virtualKey, scanCode, keyState, chars, flags, nullptr);
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  MessageQueue& queue = MessageQueue::Current();
  const ThreadInput& ti = queue.input;
  const bool lastKey = ti.lastKeyMessage == msg->message && ti.lastKeyWParam == msg->wParam;
  if (lastKey && ti.lastKeyNoCharacter) return TRUE;
  char32_t c = 0;
  if (msg->wParam == VK_PACKET)
    c = lastKey ? ti.lastKeyCharacter : 0;
  else
    c = CharacterOf(static_cast<UINT>(msg->wParam & 0xFF), ti.keys);
  if (c) PostMessage(msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, c, msg->lParam);
  return TRUE;
}

HKL GetKeyboardLayout(DWORD) {
  static char usLayout;  // one layout: any non-null handle stands for it
  return &usLayout;
}

UINT MapVirtualKeyEx(UINT code, UINT mapType, HKL) {
  return MapVirtualKey(code, mapType);
}

int GetKeyNameText(LONG lParam, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  const UINT scan = (static_cast<DWORD>(lParam) >> 16) & 0xFF;
  const bool extended = (static_cast<DWORD>(lParam) & (1u << 24)) != 0;
  struct Named {
    BYTE scan;
    bool extended;
    const char* name;
  };
  static constexpr Named kNamed[] = {
      {0x01, false, "Esc"},         {0x0E, false, "Backspace"},    {0x0F, false, "Tab"},
      {0x1C, false, "Enter"},       {0x1D, false, "Ctrl"},         {0x2A, false, "Shift"},
      {0x36, false, "Right Shift"}, {0x37, false, "Num *"},        {0x38, false, "Alt"},
      {0x39, false, "Space"},       {0x3A, false, "Caps Lock"},    {0x45, false, "Pause"},
      {0x46, false, "Scroll Lock"}, {0x47, false, "Num 7"},        {0x48, false, "Num 8"},
      {0x49, false, "Num 9"},       {0x4A, false, "Num -"},        {0x4B, false, "Num 4"},
      {0x4C, false, "Num 5"},       {0x4D, false, "Num 6"},        {0x4E, false, "Num +"},
      {0x4F, false, "Num 1"},       {0x50, false, "Num 2"},        {0x51, false, "Num 3"},
      {0x52, false, "Num 0"},       {0x53, false, "Num Del"},      {0x57, false, "F11"},
      {0x58, false, "F12"},         {0x1C, true, "Num Enter"},     {0x1D, true, "Right Ctrl"},
      {0x35, true, "Num /"},        {0x38, true, "Right Alt"},     {0x45, true, "Num Lock"},
      {0x47, true, "Home"},         {0x48, true, "Up"},            {0x49, true, "Page Up"},
      {0x4B, true, "Left"},         {0x4D, true, "Right"},         {0x4F, true, "End"},
      {0x50, true, "Down"},         {0x51, true, "Page Down"},     {0x52, true, "Insert"},
      {0x53, true, "Delete"},       {0x5B, true, "Left Windows"},  {0x5C, true, "Right Windows"},
      {0x5D, true, "Application"},
  };
  std::string name;
  for (const Named& n : kNamed)
    if (n.scan == scan && n.extended == extended) name = n.name;
  if (name.empty() && !extended && scan >= 0x3B && scan <= 0x44) name = "F" + std::to_string(scan - 0x3B + 1);
  if (name.empty() && !extended) {
    // A key that types a character is named by it, as printed on the key cap.
    const UINT vk = MapVirtualKey(scan, MAPVK_VSC_TO_VK);
    BYTE none[256] = {};
    const char32_t c = vk ? CharacterOf(vk, none) : 0;
    if (c > 0x20 && c < 0x7F) name = static_cast<char>(std::toupper(static_cast<int>(c)));
  }
  const int n = std::min(static_cast<int>(name.size()), size - 1);
  std::copy_n(name.data(), n, buffer);
  buffer[n] = '\0';
  return n;
}
