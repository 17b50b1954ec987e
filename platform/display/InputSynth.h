// User actions made of injected input, as a person at the keyboard and mouse would make them:
// what the input script and tests drive windows with on any display.
#pragma once

#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/user/Display.h"

namespace pictavo::display {

// Moves the pointer to `point` (desktop coordinates) and presses and releases the button
// `clicks` times (2: a double click).
void Click(POINT point, user::MouseButton button = user::MouseButton::kLeft, int clicks = 1);
// Presses a key with modifiers held: MOD_SHIFT, MOD_CONTROL, MOD_ALT.
void PressKey(UINT virtualKey, UINT modifiers = 0);
// Types text: characters of the keyboard as key presses (with Shift where needed), others as
// text input.
void TypeText(std::string_view utf8);

}  // namespace pictavo::display

#ifndef MOD_ALT
#define MOD_ALT 0x0001
#define MOD_CONTROL 0x0002
#define MOD_SHIFT 0x0004
#endif
