// The photo editor's canvas on the headless display, hosted by a plain window that stands for the
// photo configuration dialog: it owns the scale factor and the text style record the canvas
// shares, counts WM_SPRITE_SELECTED, and a second window stands for the text page.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "editing/PhotoEditCanvas.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/Menu.h"
#include "platform/user/Timer.h"
#include "shell/LanguageFile.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace canvastest {

inline std::string Source(const std::string& part) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/" + part;
}

// A window that counts one message.
class CountingWnd : public CWnd {
 public:
  explicit CountingWnd(UINT message) : m_message(message) {}
  int count = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == m_message) ++count;
    return CWnd::WindowProc(message, wParam, lParam);
  }

 private:
  UINT m_message;
};

// What runs once the canvas's object menu is open; the menu is then closed. The menu's loop
// passes each message it takes through the message filter, which is how the test knows the menu
// is open; a thread timer makes sure the loop has a message to take.
inline std::function<void()> g_inMenu;
inline HHOOK g_menuHook = nullptr;
inline UINT_PTR g_menuTimer = 0;
inline LRESULT CALLBACK InMenuFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && g_menuHook != nullptr) {
    UnhookWindowsHookEx(std::exchange(g_menuHook, nullptr));
    KillTimer(nullptr, std::exchange(g_menuTimer, 0));
    const auto action = std::move(g_inMenu);
    g_inMenu = nullptr;
    if (action) action();
    EndMenu();
    return 0;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
inline void CALLBACK MenuTick(HWND, UINT, UINT_PTR, DWORD) {}

class CanvasTest : public ::testing::Test {
 public:
  static constexpr int kHostWidth = 620, kHostHeight = 480;
  static constexpr int kCanvasX = 10, kCanvasY = 10;

  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    InitCommonControls();
    pictavo::shell::SetLanguageRoot(Source("data"));
  }

  void SetUp() override {
    pictavo::user::InjectMouseMove(POINT{1020, 760});
    GetProject()->GetOptionsData()->nAspectCorrection = 1;
    GetProject()->Set_nPhotoScaleMode(0);
    ASSERT_TRUE(m_host.CreateEx(
        0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "",
        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, kHostWidth, kHostHeight), nullptr, 0));
    ASSERT_TRUE(m_textPage.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0));
    // Styled as the photo configuration dialog's template makes it.
    ASSERT_TRUE(m_canvas.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY | WS_CLIPCHILDREN,
                                CRect(kCanvasX, kCanvasY, kCanvasX + 400, kCanvasY + 300), &m_host,
                                IDC_PHOTO_EDIT_CANVAS));
    CDVDImageText::SetDefaultTextFontData(&m_style);
    m_album = GetProject()->AllocImageAlbum(nullptr);
    GetProject()->AddAlbum(m_album);
    m_canvas.SetScaleFactor(&m_factor);
    m_canvas.SetTextFontData(&m_style);
    m_canvas.SetTextPage(&m_textPage);
    m_canvas.SetAlbum(m_album);
  }

  void TearDown() override {
    m_canvas.DestroyWindow();
    m_host.DestroyWindow();
    m_textPage.DestroyWindow();
    GetProject()->DeleteAlbum(m_album);
    GetProject()->GetOptionsData()->nAspectCorrection = 1;
    pictavo::test::PumpPending();
  }

  CDVDImage* AddSlide(const std::string& photo = Source("samples/media/beach_landscape.jpg")) {
    auto* slide = new CDVDImage(m_album);
    slide->Put_strPathName(photo.c_str());
    m_album->AddDVDImage(slide);
    return slide;
  }
  // A slide shown on the canvas, painted once so that the frame origin and factor are known.
  CDVDImage* ShowSlide(const std::string& photo = Source("samples/media/beach_landscape.jpg")) {
    CDVDImage* slide = AddSlide(photo);
    m_canvas.SetImage(slide);
    Paint();
    return slide;
  }
  void Paint() {
    m_canvas.Invalidate(FALSE);
    m_canvas.UpdateWindow();
    pictavo::test::PumpPending();
  }
  void ResizeCanvas(int width, int height) {
    m_canvas.MoveWindow(kCanvasX, kCanvasY, width, height);
    Paint();
  }
  // A plain picture of `width` x `height` in the scratch folder.
  std::string Picture(int width, int height) {
    const std::string path =
        m_scratch.Path() + "/plain_" + std::to_string(width) + "x" + std::to_string(height) + ".jpg";
    CDVDImage::CreateBlankImage(path.c_str(), RGB(40, 90, 160), width, height);
    return path;
  }
  std::string ClipArt(const char* name = "Star.emf") {
    return Source(std::string("data/ArtClip/Shapes/") + name);
  }

  // A clip-art object on the slide at a rectangle in canvas client pixels.
  CDVDImageSprite* AddClipArtAt(const CRect& r) {
    EXPECT_TRUE(m_canvas.AddClipArt(ClipArt().c_str(), r.left, r.top, r.Width(), r.Height()));
    return m_canvas.GetSelectedSprite();
  }
  // An object's rectangle on screen, as the canvas draws it.
  CRect Box(const CDVDImageSprite* sprite) const { return sprite->GetBoundRect(m_canvas.GetFrameOrigin()); }

  // Mouse input through the display, in canvas client coordinates.
  POINT Screen(POINT client) const { return POINT{client.x + kCanvasX, client.y + kCanvasY}; }
  void MoveTo(POINT client) {
    pictavo::user::InjectMouseMove(Screen(client));
    pictavo::test::PumpPending();
  }
  void Button(pictavo::user::MouseButton button, bool down) {
    pictavo::user::InjectMouseButton(button, down);
    pictavo::test::PumpPending();
  }
  void Click(POINT client, pictavo::user::MouseButton button = pictavo::user::MouseButton::kLeft) {
    MoveTo(client);
    Button(button, true);
    Button(button, false);
  }
  // A right click; the menu it opens gets `inMenu` (a snapshot, say) and is closed.
  void RightClick(POINT client, std::function<void()> inMenu = {}) {
    g_inMenu = std::move(inMenu);
    g_menuHook = SetWindowsHookEx(WH_MSGFILTER, InMenuFilter, nullptr, GetCurrentThreadId());
    g_menuTimer = SetTimer(nullptr, 0, 10, MenuTick);
    Click(client, pictavo::user::MouseButton::kRight);
    // A click that opened no menu leaves nothing behind.
    if (g_menuHook != nullptr) UnhookWindowsHookEx(std::exchange(g_menuHook, nullptr));
    if (g_menuTimer != 0) KillTimer(nullptr, std::exchange(g_menuTimer, 0));
    g_inMenu = nullptr;
  }
  void DoubleClick(POINT client) {
    MoveTo(client);
    for (int i = 0; i < 2; ++i) {
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    }
    pictavo::test::PumpPending();
  }
  // Presses at `from`, moves through `steps` points to `to` and lets go.
  void Drag(POINT from, POINT to, int steps = 1) {
    MoveTo(from);
    Button(pictavo::user::MouseButton::kLeft, true);
    for (int i = 1; i <= steps; ++i)
      MoveTo(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    Button(pictavo::user::MouseButton::kLeft, false);
  }
  void Key(UINT key) {
    pictavo::user::InjectKey({key, true});
    pictavo::user::InjectKey({key, false});
    pictavo::test::PumpPending();
  }
  void Type(const char* text) {
    pictavo::user::InjectText(text);
    pictavo::test::PumpPending();
  }

  void ClearDirty() {
    m_album->Put_bDirty(FALSE);
    for (int i = 0; i < m_album->GetImageCount(); ++i) m_album->m_arrImages[i]->UpdateCookie();
  }

  std::string Snapshot(const std::string& name) {
    Paint();
    return pictavo::test::SaveDesktopArea(CRect(0, 0, kHostWidth, kHostHeight), name);
  }

  pictavo::test::ScratchDir m_scratch;
  CountingWnd m_host{WM_SPRITE_SELECTED};
  CountingWnd m_textPage{WM_TEXT_FONT_CHANGED};
  CPhotoEditCanvas m_canvas;
  CDVDAlbumImage* m_album = nullptr;
  float m_factor = 1.0f;
  _DVDImageTextFont m_style{};
};

}  // namespace canvastest
