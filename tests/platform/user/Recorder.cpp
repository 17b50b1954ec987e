#include "Recorder.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/kernel/Thread.h"
#include "platform/user/Display.h"
#include "tests/support/ThreadWindows.h"

namespace testing_user {

Recorder& Recorder::Get() {
  static Recorder* recorder = new Recorder;
  return *recorder;
}

void Recorder::Clear() {
  std::lock_guard lock(m_lock);
  m_entries.clear();
}

std::vector<Entry> Recorder::Entries() const {
  std::lock_guard lock(m_lock);
  return m_entries;
}

std::vector<UINT> Recorder::Messages(HWND hwnd, std::initializer_list<UINT> only) const {
  std::lock_guard lock(m_lock);
  std::vector<UINT> out;
  for (const Entry& e : m_entries) {
    if (e.hwnd != hwnd) continue;
    if (only.size() && std::find(only.begin(), only.end(), e.message) == only.end()) continue;
    out.push_back(e.message);
  }
  return out;
}

std::vector<std::pair<HWND, UINT>> Recorder::Sequence(std::initializer_list<UINT> only) const {
  std::lock_guard lock(m_lock);
  std::vector<std::pair<HWND, UINT>> out;
  for (const Entry& e : m_entries)
    if (std::find(only.begin(), only.end(), e.message) != only.end()) out.emplace_back(e.hwnd, e.message);
  return out;
}

int Recorder::Count(HWND hwnd, UINT message) const {
  std::lock_guard lock(m_lock);
  return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
    return e.hwnd == hwnd && e.message == message;
  }));
}

bool Recorder::Last(HWND hwnd, UINT message, Entry* entry) const {
  std::lock_guard lock(m_lock);
  for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
    if ((hwnd && it->hwnd != hwnd) || it->message != message) continue;
    *entry = *it;
    return true;
  }
  return false;
}

void Recorder::Handle(HWND hwnd, UINT message, Handler handler) {
  std::lock_guard lock(m_lock);
  m_handlers[{hwnd, message}] = std::move(handler);
}

void Recorder::ClearHandlers() {
  std::lock_guard lock(m_lock);
  m_handlers.clear();
}

LRESULT Recorder::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Handler handler;
  {
    std::lock_guard lock(m_lock);
    m_entries.push_back(Entry{hwnd, message, wParam, lParam});
    auto it = m_handlers.find({hwnd, message});
    if (it == m_handlers.end()) it = m_handlers.find({nullptr, message});
    if (it != m_handlers.end()) handler = it->second;
  }
  if (handler) return handler(hwnd, wParam, lParam);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

namespace {

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Recorder::Get().Dispatch(hwnd, message, wParam, lParam);
}

const char* Register(const char* name, UINT style) {
  WNDCLASS wc{};
  if (GetClassInfo(nullptr, name, &wc)) return name;
  wc.style = style;
  wc.lpfnWndProc = RecordingProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
  wc.lpszClassName = name;
  RegisterClass(&wc);
  return name;
}

}  // namespace

const char* RecorderClass() {
  return Register("Recorder", CS_DBLCLKS);
}
const char* PlainRecorderClass() {
  return Register("PlainRecorder", 0);
}

HWND MakeWindow(DWORD style, const RECT& rect, HWND parent, DWORD exStyle, UINT id, const char* className,
                const char* text) {
  return CreateWindowEx(exStyle, className ? className : RecorderClass(), text, style, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, parent,
                        reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
}

void UserTest::SetUp() {
  Recorder::Get().Clear();
  Recorder::Get().ClearHandlers();
}

void UserTest::TearDown() {
  Recorder::Get().ClearHandlers();
  ReleaseCapture();
  pictavo::test::DestroyThreadWindows();
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  Recorder::Get().Clear();
}

COLORREF SurfacePixel(HWND topLevel, int x, int y) {
  pictavo::user::TopLevelWindow window;
  if (!pictavo::user::DescribeTopLevelWindow(topLevel, &window) || !window.surface) return CLR_INVALID;
  if (x < 0 || y < 0 || x >= window.surface->Width() || y >= window.surface->Height()) return CLR_INVALID;
  return pictavo::gdi::ColorFromPixel(window.surface->Row(y)[static_cast<size_t>(x)]);
}

}  // namespace testing_user
