#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Recorder.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Controls.h"
#include "platform/user/MessageBox.h"

using namespace testing_user;

namespace {

std::string TextOf(HWND hwnd) {
  char text[256] = {};
  GetWindowText(hwnd, text, sizeof text);
  return text;
}

class MessageBoxTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    m_owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 700, 600});
  }
  HWND m_owner = nullptr;
};

TEST_F(MessageBoxTest, KeysAnswerWithTheButtonsId) {
  const struct {
    UINT type;
    std::vector<std::pair<UINT, UINT>> keys;
    int result;
  } cases[] = {
      {MB_OK, {{VK_RETURN, kNone}}, IDOK},
      {MB_OK, {{VK_ESCAPE, kNone}}, IDOK},
      {MB_OKCANCEL, {{VK_ESCAPE, kNone}}, IDCANCEL},
      {MB_OKCANCEL | MB_DEFBUTTON2, {{VK_RETURN, kNone}}, IDCANCEL},
      {MB_YESNO, {{VK_ESCAPE, kNone}, {'N', kNone}}, IDNO},  // no Cancel: Escape does nothing
      {MB_YESNO, {{'Y', kAlt}}, IDYES},
      {MB_YESNOCANCEL, {{VK_TAB, kNone}, {VK_RETURN, kNone}}, IDNO},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {{VK_RETURN, kNone}}, IDIGNORE},
      {MB_RETRYCANCEL | MB_ICONERROR, {{VK_RIGHT, kNone}, {VK_RETURN, kNone}}, IDCANCEL},
      {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, {{VK_RETURN, kNone}}, IDCONTINUE},
  };
  for (const auto& c : cases) {
    IdleSteps steps(m_owner);
    for (auto [key, modifiers] : c.keys) steps.Key(key, modifiers);
    EXPECT_EQ(MessageBox(m_owner, "Text", "Caption", c.type), c.result) << std::hex << c.type;
    EXPECT_TRUE(steps.Done()) << std::hex << c.type;
  }
}

TEST_F(MessageBoxTest, ShowsTextCaptionAndButtonsOverADisabledOwner) {
  std::string caption, text, ok, cancel;
  bool ownerDisabled = false;
  IdleSteps steps(m_owner);
  steps.Then([&](HWND box) {
    caption = TextOf(box);
    text = TextOf(GetDlgItem(box, pictavo::user::kMessageBoxTextId));
    ok = TextOf(GetDlgItem(box, IDOK));
    cancel = TextOf(GetDlgItem(box, IDCANCEL));
    ownerDisabled = !IsWindowEnabled(m_owner);
    PressKey(VK_RETURN);
  });
  EXPECT_EQ(MessageBox(m_owner, "Save the project?\nIt has changed.", nullptr, MB_OKCANCEL), IDOK);
  EXPECT_EQ(caption, "Error") << "a null caption";
  EXPECT_EQ(text, "Save the project?\nIt has changed.");
  EXPECT_EQ(ok, "OK");
  EXPECT_EQ(cancel, "Cancel");
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(m_owner));
}

TEST_F(MessageBoxTest, IconsAreDrawnBesideTheText) {
  const struct {
    UINT type;
    COLORREF color;  // inside the icon, clear of its sign
  } cases[] = {{MB_ICONERROR, RGB(204, 32, 32)},
               {MB_ICONWARNING, RGB(240, 190, 20)},
               {MB_ICONINFORMATION, RGB(32, 96, 200)},
               {MB_ICONQUESTION, RGB(32, 96, 200)}};
  for (const auto& c : cases) {
    COLORREF seen = CLR_INVALID;
    IdleSteps steps(m_owner);
    steps.Then([&](HWND box) {
      UpdateWindow(box);
      RECT window{};
      GetWindowRect(box, &window);
      POINT client{0, 0};
      ClientToScreen(box, &client);
      // The icon is 32 pixels at (12, 12) of the client area; this point is in its lower left.
      seen = SurfacePixel(box, client.x - window.left + 12 + 9, client.y - window.top + 12 + 26);
      PressKey(VK_RETURN);
    });
    EXPECT_EQ(MessageBox(m_owner, "Text", "Caption", MB_OK | c.type), IDOK);
    EXPECT_EQ(seen, c.color) << std::hex << c.type;
  }
}

}  // namespace
