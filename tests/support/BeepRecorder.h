// A display that counts the beeps the program asks for and hands everything else to another
// display (the headless one by default). Install it before the first window of the process, so
// a test that needs it runs in a child process of its own (TestInChild.h).
#pragma once

#include <atomic>
#include <memory>
#include <utility>

#include "platform/display/Headless.h"
#include "platform/user/Display.h"

namespace pictavo::test {

class BeepRecorder final : public user::Display {
 public:
  explicit BeepRecorder(std::shared_ptr<user::Display> inner) : m_inner(std::move(inner)) {}

  // A headless desktop of 1280 x 800 behind a recorder, installed as the display.
  static std::shared_ptr<BeepRecorder> Install() {
    auto recorder =
        std::make_shared<BeepRecorder>(std::make_shared<display::HeadlessDisplay>(SIZE{1280, 800}));
    user::SetDisplay(recorder);
    return recorder;
  }

  int Beeps() const { return m_nBeeps.load(); }

  SIZE DesktopSize() const override { return m_inner->DesktopSize(); }
  void WindowCreated(HWND hwnd) override { m_inner->WindowCreated(hwnd); }
  void WindowDestroyed(HWND hwnd) override { m_inner->WindowDestroyed(hwnd); }
  void WindowMoved(HWND hwnd, const RECT& rect) override { m_inner->WindowMoved(hwnd, rect); }
  void WindowShown(HWND hwnd, bool visible) override { m_inner->WindowShown(hwnd, visible); }
  void ZOrderChanged() override { m_inner->ZOrderChanged(); }
  void WindowShapeChanged(HWND hwnd) override { m_inner->WindowShapeChanged(hwnd); }
  void WindowActivated(HWND hwnd) override { m_inner->WindowActivated(hwnd); }
  void SurfaceChanged(HWND hwnd, const RECT& rect) override { m_inner->SurfaceChanged(hwnd, rect); }
  void CursorChanged(HCURSOR cursor, bool visible) override { m_inner->CursorChanged(cursor, visible); }
  void CursorMoved(POINT point) override { m_inner->CursorMoved(point); }
  void CaptureChanged(HWND hwnd) override { m_inner->CaptureChanged(hwnd); }
  void Beep(UINT type) override {
    ++m_nBeeps;
    m_inner->Beep(type);
  }
  void PumpEvents() override { m_inner->PumpEvents(); }
  DWORD IdleWait(user::IdleWait kind) override { return m_inner->IdleWait(kind); }

 private:
  std::shared_ptr<user::Display> m_inner;
  std::atomic<int> m_nBeeps{0};
};

}  // namespace pictavo::test
