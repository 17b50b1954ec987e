// The keyboard manager: shortcuts saved and loaded with a frame's table, forbidden commands
// cleared on the way back, values that are no table refused, frames without a table left alone,
// shortcut texts and taken keys, and the keypad's characters.
#include "toolkit/core/PlxKeyboardManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/user/Input.h"
#include "tests/shell/ShellTestSupport.h"
#include "toolkit/bars/PlxToolBar.h"

using namespace shelltest;

namespace {

const std::string kProfile = "SOFTWARE\\Plx\\Test\\";
const std::string kKey = kProfile + "PlxKeyboard-0";

std::vector<ACCEL> Entries(HACCEL table) {
  std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTable(table, nullptr, 0)));
  CopyAcceleratorTable(table, entries.data(), static_cast<int>(entries.size()));
  return entries;
}

bool operator==(const ACCEL& a, const ACCEL& b) {
  return a.fVirt == b.fVirt && a.key == b.key && a.cmd == b.cmd;
}

class KeyboardManagerTest : public RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    ASSERT_TRUE(frame.Create(nullptr, "Keys"));
    ACCEL start[] = {{FVIRTKEY | FCONTROL, 'O', 100}, {FVIRTKEY | FCONTROL, 'S', 101}};
    frame.m_hAccelTable = CreateAcceleratorTable(start, 2);
  }
  void TearDown() override {
    frame.DestroyWindow();
    CPlxToolBar::m_lstForbiddenCommands.RemoveAll();
    CPlxKeyboardManager::CleanUp();
  }

  CFrameWnd frame;
  CPlxKeyboardManager manager;
};

}  // namespace

TEST_F(KeyboardManagerTest, SavedShortcutsComeBackWithForbiddenCommandsCleared) {
  ACCEL edited[] = {
      {FVIRTKEY | FCONTROL, 'O', 100}, {FVIRTKEY | FSHIFT, VK_F5, 102}, {FVIRTKEY, VK_DELETE, 103}};
  ASSERT_TRUE(manager.UpdateAcceleratorTable(edited, 3, &frame));
  EXPECT_TRUE(manager.SaveState(kProfile.c_str(), &frame));
  DWORD type = 0;
  Bytes stored;
  ASSERT_TRUE(QueryRaw(kKey, "Accelerators", type, stored));
  EXPECT_EQ(stored.size(), 18u);
  EXPECT_EQ(stored[6], FVIRTKEY | FSHIFT);

  ACCEL other[] = {{FVIRTKEY, 'X', 200}};
  ASSERT_TRUE(manager.UpdateAcceleratorTable(other, 1, &frame));
  CPlxToolBar::m_lstForbiddenCommands.AddTail(102);
  EXPECT_TRUE(manager.LoadState(kProfile.c_str(), &frame));
  const std::vector<ACCEL> loaded = Entries(frame.m_hAccelTable);
  ASSERT_EQ(loaded.size(), 3u);
  EXPECT_TRUE(loaded[0] == edited[0]);
  EXPECT_EQ(loaded[1].cmd, 0) << "a forbidden command comes back as 0";
  EXPECT_EQ(loaded[1].key, VK_F5);
  EXPECT_TRUE(loaded[2] == edited[2]);
}

TEST_F(KeyboardManagerTest, StoredValuesThatAreNoTableLeaveTheFramesTable) {
  const std::vector<ACCEL> before = Entries(frame.m_hAccelTable);
  const Bytes values[] = {{}, Bytes(7, 1), Bytes(13, 1)};
  for (const Bytes& value : values) {
    SetRaw(kKey, "Accelerators", REG_BINARY, value);
    EXPECT_TRUE(manager.LoadState(kProfile.c_str(), &frame));
    const std::vector<ACCEL> after = Entries(frame.m_hAccelTable);
    ASSERT_EQ(after.size(), before.size()) << value.size();
    EXPECT_TRUE(after[1] == before[1]) << value.size();
  }
}

TEST_F(KeyboardManagerTest, AFrameWithoutATableGetsNoneAndKeepsNone) {
  CFrameWnd bare;
  ASSERT_TRUE(bare.Create(nullptr, "Bare"));
  ACCEL entries[] = {{FVIRTKEY, 'A', 1}};
  EXPECT_FALSE(manager.UpdateAcceleratorTable(entries, 1, &bare));
  EXPECT_EQ(bare.m_hAccelTable, nullptr);
  EXPECT_FALSE(manager.ReplaceAccelTable(CreateAcceleratorTable(entries, 1), &bare) && bare.m_hAccelTable);
  EXPECT_EQ(bare.m_hAccelTable, nullptr);
  EXPECT_TRUE(manager.SaveState(kProfile.c_str(), &bare));
  DWORD type = 0;
  Bytes stored;
  EXPECT_FALSE(QueryRaw(kKey, "Accelerators", type, stored)) << "nothing to save";
  bare.DestroyWindow();
}

TEST_F(KeyboardManagerTest, ShortcutTextsAndTakenKeys) {
  ACCEL entries[] = {{FVIRTKEY | FCONTROL | FSHIFT, 'S', 101},
                     {FVIRTKEY | FCONTROL, 'S', 101},
                     {FVIRTKEY | FALT, VK_F4, 102},
                     {FVIRTKEY, VK_PAUSE, 103},
                     {0, 'q', 104},
                     {0, 27, 105}};
  ASSERT_TRUE(manager.UpdateAcceleratorTable(entries, 6, &frame));
  struct Case {
    UINT cmd;
    const char* text;
  };
  const Case cases[] = {{101, "Ctrl+Shift+S"}, {102, "Alt+F4"}, {103, "Pause"}, {104, "q"}, {105, ""}};
  for (const Case& c : cases) {
    CString text("stale");
    EXPECT_TRUE(CPlxKeyboardManager::FindDefaultAccelerator(c.cmd, text, &frame, TRUE)) << c.cmd;
    EXPECT_EQ(text, CString(c.text)) << c.cmd;
  }
  CString none("stale");
  EXPECT_FALSE(CPlxKeyboardManager::FindDefaultAccelerator(999, none, &frame, TRUE));
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_TRUE(CPlxKeyboardManager::IsKeyAssigned('S', FVIRTKEY | FCONTROL, &frame, TRUE));
  EXPECT_FALSE(CPlxKeyboardManager::IsKeyAssigned('S', FVIRTKEY, &frame, TRUE));
  // The cache follows a new table.
  ACCEL fewer[] = {{FVIRTKEY, 'Z', 1}};
  ASSERT_TRUE(manager.UpdateAcceleratorTable(fewer, 1, &frame));
  EXPECT_FALSE(CPlxKeyboardManager::IsKeyAssigned('S', FVIRTKEY | FCONTROL, &frame, TRUE));
  EXPECT_FALSE(CPlxKeyboardManager::IsKeyAssigned('Z', FVIRTKEY, nullptr, TRUE));
}

TEST_F(KeyboardManagerTest, KeypadKeysGiveTheirDigitUnlessAltIsHeld) {
  BYTE state[256] = {};
  state[VK_NUMLOCK] = 0x01;  // the keypad types digits
  struct Case {
    UINT key;
    bool alt;
    UINT result;
  };
  // Virtual-key codes: the key A is 0x41 (0x61 is the keypad's 1).
  const Case cases[] = {{VK_NUMPAD5, false, '5'}, {VK_NUMPAD5, true, VK_NUMPAD5}, {'A', false, 'A'},
                        {'A', true, 'A'},         {VK_NUMPAD1, false, '1'},       {VK_NUMPAD0, false, '0'}};
  for (const Case& c : cases) {
    state[VK_MENU] = c.alt ? 0x80 : 0;
    SetKeyboardState(state);
    EXPECT_EQ(CPlxKeyboardManager::TranslateCharToUpper(c.key), c.result) << c.key << (c.alt ? " Alt" : "");
  }
  std::fill(std::begin(state), std::end(state), 0);
  SetKeyboardState(state);
}
