// A recording parent window for standard controls, and input the way a user makes it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Recorder.h"
#include "platform/gdi/Gdi.h"

namespace testing_user {

// (control id, notification code) of a WM_COMMAND.
using Note = std::pair<int, int>;

class ControlTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    parent = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 500, 400});
    SetFocus(parent);
    PumpPending();
    Recorder::Get().Clear();
  }
  void TearDown() override {
    Recorder::Get().ClearHandlers();  // they may hold on to the finished test's locals
    for (UINT vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
      if (GetAsyncKeyState(static_cast<int>(vk)) < 0) pictavo::user::InjectKey({vk, false});
    if (GetAsyncKeyState(VK_LBUTTON) < 0)
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    pictavo::user::InjectMouseMove(POINT{1279, 799});
    PumpPending();
    UserTest::TearDown();
  }

  HWND Make(const char* className, DWORD style, const RECT& rect, int id = 100, const char* text = "",
            DWORD exStyle = 0) {
    return CreateWindowEx(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }

  // The WM_COMMAND notifications the parent received, in order.
  std::vector<Note> Notes() const {
    std::vector<Note> out;
    for (const Entry& e : Recorder::Get().Entries())
      if (e.hwnd == parent && e.message == WM_COMMAND)
        out.emplace_back(LOWORD(e.wParam), static_cast<int>(static_cast<SHORT>(HIWORD(e.wParam))));
    return out;
  }
  std::vector<int> Codes() const {
    std::vector<int> out;
    for (const Note& n : Notes()) out.push_back(n.second);
    return out;
  }

  static POINT ScreenOf(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    return client;
  }
  // A left click (or a double click's second press when the first came just before).
  static void Click(HWND hwnd, POINT client) {
    pictavo::user::InjectMouseMove(ScreenOf(hwnd, client));
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    PumpPending();
  }
  static void Press(UINT vk, bool down) { pictavo::user::InjectKey({vk, down}); }
  static void Key(UINT vk) {
    Press(vk, true);
    Press(vk, false);
    PumpPending();
  }
  // A key with modifiers held (VK_SHIFT, VK_CONTROL, VK_MENU).
  static void Chord(std::initializer_list<UINT> modifiers, UINT vk) {
    for (UINT m : modifiers) Press(m, true);
    Press(vk, true);
    Press(vk, false);
    for (UINT m : modifiers) Press(m, false);
    PumpPending();
  }
  static void Type(const char* utf8) {
    pictavo::user::InjectText(utf8);
    PumpPending();
  }
  static std::string TextOf(HWND hwnd) {
    std::string text(static_cast<size_t>(GetWindowTextLength(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowText(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
  }
  // Paints what is pending and returns a pixel of the parent's surface at a point of `hwnd`.
  COLORREF PixelAt(HWND hwnd, POINT client) {
    UpdateWindow(parent);
    PumpPending();
    POINT screen = ScreenOf(hwnd, client);
    RECT top;
    GetWindowRect(parent, &top);
    return SurfacePixel(parent, screen.x - top.left, screen.y - top.top);
  }

  HWND parent = nullptr;
};

}  // namespace testing_user
