// A drag inside the process, driven by injected pointer and key input played while the drag's
// loops wait: which target hears what, where the drop lands and which effect comes back.
#include <cstring>
#include <string>
#include <vector>

#include "MfcTestSupport.h"
#include "platform/kernel/GlobalMemory.h"
#include "platform/mfc/OleDragDrop.h"
#include "platform/user/Clipboard.h"
#include "tests/support/MessagePump.h"

using namespace testing_mfc;
using pictavo::user::InjectKey;
using pictavo::user::InjectMouseButton;
using pictavo::user::InjectMouseMove;
using pictavo::user::MouseButton;

namespace {

HWND MakeWindow(int x, int y) {
  constexpr const char* kClass = "PictavoDragTestWindow";
  WNDCLASS wc{};
  if (!GetClassInfo(nullptr, kClass, &wc)) {
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = kClass;
    RegisterClass(&wc);
  }
  return CreateWindowEx(0, kClass, "", WS_POPUP | WS_VISIBLE, x, y, 200, 100, nullptr, nullptr, nullptr,
                        nullptr);
}

HGLOBAL Block(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size());
  std::memcpy(GlobalLock(block), text.data(), text.size());
  GlobalUnlock(block);
  return block;
}

// Copy with Ctrl, move otherwise; remembers what it heard.
class RecordingTarget : public COleDropTarget {
 public:
  explicit RecordingTarget(CLIPFORMAT format) : m_format(format) {}
  DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* data, DWORD keys, CPoint point) override {
    events += "enter ";
    return OnDragOver(pWnd, data, keys, point);
  }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keys, CPoint) override {
    if (!data->IsDataAvailable(m_format)) return DROPEFFECT_NONE;
    return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  }
  void OnDragLeave(CWnd*) override { events += "leave "; }
  BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint point) override {
    events += "drop ";
    dropPoint = point;
    dropEffect = effect;
    CFile* file = data->GetFileData(m_format);
    if (!file) return FALSE;
    dropped.resize(static_cast<size_t>(file->GetLength()));
    file->Read(dropped.data(), static_cast<UINT>(dropped.size()));
    delete file;
    return TRUE;
  }

  std::string events;
  std::string dropped;
  CPoint dropPoint{-1, -1};
  DROPEFFECT dropEffect = 0;

 private:
  CLIPFORMAT m_format;
};

class OleDragDropTest : public MfcTest {
 protected:
  void SetUp() override {
    source = MakeWindow(0, 0);
    target = MakeWindow(300, 0);
    ASSERT_TRUE(source && target);
    SetFocus(source);
    format = static_cast<CLIPFORMAT>(RegisterClipboardFormat("PictavoDragTest"));
  }
  // Presses the left button at (50, 50) on the source and takes the press off the queue, as the
  // source's button-down handler would be running when it starts the drag.
  void PressOnSource() {
    InjectMouseMove({50, 50});
    InjectMouseButton(MouseButton::kLeft, true);
    MSG msg{};
    for (int waits = 0; msg.message != WM_LBUTTONDOWN;) {
      if (PeekMessage(&msg, source, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) continue;
      ASSERT_LT(++waits, 100) << "the press never arrived";
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
  }

  // What a case left held (the drag ended before its steps let go) is let go.
  void ReleaseAll() {
    if (GetAsyncKeyState(VK_CONTROL) < 0) InjectKey({VK_CONTROL, false});
    if (GetAsyncKeyState(VK_ESCAPE) < 0) InjectKey({VK_ESCAPE, false});
    if (GetAsyncKeyState(VK_RBUTTON) < 0) InjectMouseButton(MouseButton::kRight, false);
    if (GetAsyncKeyState(VK_LBUTTON) < 0) InjectMouseButton(MouseButton::kLeft, false);
    pictavo::test::PumpUntil([] { return false; }, 0);
  }

  HWND source = nullptr;
  HWND target = nullptr;
  CLIPFORMAT format = 0;
};

}  // namespace

TEST_F(OleDragDropTest, DataRoundTripsByFormatAndCopiesForTheTarget) {
  COleDataSource data;
  CSharedFile file;
  file.Write("button", 6);
  HGLOBAL block = file.Detach();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(file.GetLength(), 0u);
  data.CacheGlobalData(format, block);

  COleDataObject object;
  EXPECT_FALSE(object.IsDataAvailable(format));  // attached to nothing
  object.Attach(&data);
  EXPECT_TRUE(object.IsDataAvailable(format));
  EXPECT_FALSE(object.IsDataAvailable(static_cast<CLIPFORMAT>(format + 1)));
  EXPECT_EQ(object.GetFileData(static_cast<CLIPFORMAT>(format + 1)), nullptr);

  HGLOBAL copy = object.GetGlobalData(format);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, block);  // the target owns its copy; the source keeps its block
  EXPECT_EQ(GlobalSize(copy), 6u);
  GlobalFree(copy);
  CFile* read = object.GetFileData(format);
  ASSERT_NE(read, nullptr);
  char text[7] = {};
  EXPECT_EQ(read->Read(text, 6), 6u);
  EXPECT_STREQ(text, "button");
  delete read;

  // Caching the format again frees the old block and serves the new one.
  data.CacheGlobalData(format, Block("other!!"));
  copy = object.GetGlobalData(format);
  EXPECT_EQ(GlobalSize(copy), 7u);
  GlobalFree(copy);
}

TEST_F(OleDragDropTest, OneTargetPerWindowAndDestroyedWindowsForgotten) {
  RecordingTarget first(format), second(format);
  CWnd* wnd = CWnd::FromHandle(target);
  EXPECT_FALSE(first.Register(nullptr));
  EXPECT_TRUE(first.Register(wnd));
  EXPECT_FALSE(second.Register(wnd));
  EXPECT_EQ(COleDropTarget::FromWindow(target), &first);
  first.Revoke();
  EXPECT_EQ(COleDropTarget::FromWindow(target), nullptr);
  EXPECT_TRUE(second.Register(wnd));
  DestroyWindow(target);
  EXPECT_EQ(COleDropTarget::FromWindow(target), nullptr);
}

struct DragCase {
  const char* name;
  std::vector<IdleScript::Step> steps;  // after the press on the source
  DROPEFFECT effect;
  const char* events;
  bool started;
};

TEST_F(OleDragDropTest, PointerAndKeysDecideTheDrop) {
  const auto move = [](int x, int y) { return [=] { InjectMouseMove({x, y}); }; };
  const auto release = [] { InjectMouseButton(MouseButton::kLeft, false); };
  const auto key = [](UINT vk, bool down) { return [=] { InjectKey({vk, down}); }; };
  const DragCase cases[] = {
      {"move to the target",
       {move(120, 50), move(350, 40), move(360, 50), release},
       DROPEFFECT_MOVE,
       "enter drop ",
       true},
      {"copy with Ctrl",
       {move(120, 50), key(VK_CONTROL, true), move(360, 50), release},
       DROPEFFECT_COPY,
       "enter drop ",
       true},
      {"escape over the target",
       {move(120, 50), move(360, 50), key(VK_ESCAPE, true)},
       DROPEFFECT_NONE,
       "enter leave ",
       true},
      {"released over no target",
       {move(360, 50), move(250, 50), release},
       DROPEFFECT_NONE,
       "enter leave ",
       true},
      {"the other button cancels",
       {move(360, 50), [] { InjectMouseButton(MouseButton::kRight, true); }},
       DROPEFFECT_NONE,
       "enter leave ",
       true},
      {"released inside the start rectangle", {move(52, 51), release}, DROPEFFECT_NONE, "", false},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingTarget drop(format);
    ASSERT_TRUE(drop.Register(CWnd::FromHandle(target)));
    COleDataSource data;
    data.CacheGlobalData(format, Block("Cut"));
    COleDropSource dropSource;
    PressOnSource();
    IdleScript script;
    for (const auto& step : c.steps) script.Then(step);
    const CRect start(40, 40, 60, 60);
    EXPECT_EQ(data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &start, &dropSource), c.effect);
    EXPECT_EQ(drop.events, c.events);
    EXPECT_EQ(dropSource.m_bDragStarted, c.started);
    EXPECT_EQ(GetCapture(), nullptr);
    if (c.effect != DROPEFFECT_NONE) {
      EXPECT_EQ(drop.dropPoint, CPoint(60, 50));  // target client coordinates
      EXPECT_EQ(drop.dropEffect, c.effect);
      EXPECT_EQ(drop.dropped, "Cut");
    }
    ReleaseAll();
  }
}

TEST_F(OleDragDropTest, EffectsOutsideTheSourcesListAreRefused) {
  RecordingTarget drop(format);
  ASSERT_TRUE(drop.Register(CWnd::FromHandle(target)));
  COleDataSource data;
  data.CacheGlobalData(format, Block("Cut"));
  PressOnSource();
  IdleScript script;
  script.Then([] { InjectMouseMove({360, 50}); }).Then([] { InjectMouseButton(MouseButton::kLeft, false); });
  // The target answers move; the source allows copy only: no drop.
  COleDropSource dropSource;
  EXPECT_EQ(data.DoDragDrop(DROPEFFECT_COPY, nullptr, &dropSource), DROPEFFECT_NONE);
  EXPECT_TRUE(dropSource.m_bDragStarted);
  EXPECT_EQ(drop.events, "enter leave ");
  ReleaseAll();
}
