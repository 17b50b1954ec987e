#include <gtest/gtest.h>

#include "platform/base/VirtualKeys.h"
#include "platform/display/InputSynth.h"
#include "platform/display/Script.h"

namespace {

using pictavo::display::ParseKeyName;
using pictavo::display::ParseScript;
using pictavo::display::ScriptError;
using pictavo::display::ScriptStep;
using Kind = ScriptStep::Kind;

struct LineCase {
  const char* line;
  Kind kind;
  std::string text;
  std::string file;
  UINT id;
  bool hasPoint;
  POINT point;
  DWORD timeoutMs;
  DWORD sleepMs;
};

const LineCase kLines[] = {
    {"wait-window Pictavo", Kind::kWaitWindow, "Pictavo", "", 0, false, {}, 30000, 0},
    {"wait-window Save As 5", Kind::kWaitWindow, "Save As", "", 0, false, {}, 5000, 0},
    {"wait-window \"Page 2\"", Kind::kWaitWindow, "Page 2", "", 0, false, {}, 30000, 0},
    {"wait-window \"Page 2\" 0.5", Kind::kWaitWindow, "Page 2", "", 0, false, {}, 500, 0},
    {"  click 1001  ", Kind::kClick, "", "", 1001, false, {}, 30000, 0},
    {"click 0x3E9 4 -2", Kind::kClick, "", "", 1001, true, {4, -2}, 30000, 0},
    {"dblclick 12 30 40", Kind::kDoubleClick, "", "", 12, true, {30, 40}, 30000, 0},
    {"rclick 12", Kind::kRightClick, "", "", 12, false, {}, 30000, 0},
    {"rclick 12 3 4", Kind::kRightClick, "", "", 12, true, {3, 4}, 30000, 0},
    {"click-item 1020 Home", Kind::kClickItem, "Home", "", 1020, false, {}, 30000, 0},
    {"dblclick-item 1073 \"Day two\"", Kind::kDoubleClickItem, "Day two", "", 1073, false, {}, 30000, 0},
    {"click-at 640 400", Kind::kClickAt, "", "", 0, true, {640, 400}, 30000, 0},
    {"move-at 12 -3", Kind::kMoveAt, "", "", 0, true, {12, -3}, 30000, 0},
    {"press-at 7 8", Kind::kPressAt, "", "", 0, true, {7, 8}, 30000, 0},
    {"release-at 9 10", Kind::kReleaseAt, "", "", 0, true, {9, 10}, 30000, 0},
    {"click-popup 1", Kind::kClickPopup, "", "", 1, false, {}, 30000, 0},
    {"click-popup 1 20 30", Kind::kClickPopup, "", "", 1, true, {20, 30}, 30000, 0},
    {"command 32771", Kind::kCommand, "", "", 32771, false, {}, 30000, 0},
    {"type Hello  world ", Kind::kType, "Hello  world ", "", 0, false, {}, 30000, 0},
    {"type \"quoted\" 5", Kind::kType, "\"quoted\" 5", "", 0, false, {}, 30000, 0},
    {"snapshot out/desktop.png", Kind::kSnapshot, "", "out/desktop.png", 0, false, {}, 30000, 0},
    {"snapshot main.png Pictavo Studio",
     Kind::kSnapshot,
     "Pictavo Studio",
     "main.png",
     0,
     false,
     {},
     30000,
     0},
    {"snapshot \"my shot.png\" \"Save As\"",
     Kind::kSnapshot,
     "Save As",
     "my shot.png",
     0,
     false,
     {},
     30000,
     0},
    {"wait-file /tmp/out.mp4 120", Kind::kWaitFile, "/tmp/out.mp4", "", 0, false, {}, 120000, 0},
    {"wait-gone Encoding", Kind::kWaitGone, "Encoding", "", 0, false, {}, 30000, 0},
    {"wait-enabled 1445", Kind::kWaitEnabled, "", "", 1445, false, {}, 30000, 0},
    {"wait-enabled 1445 60", Kind::kWaitEnabled, "", "", 1445, false, {}, 60000, 0},
    {"wait-disabled 0x5A5 2.5", Kind::kWaitDisabled, "", "", 1445, false, {}, 2500, 0},
    {"sleep 250", Kind::kSleep, "", "", 0, false, {}, INFINITE, 250},
};

TEST(ScriptParser, ReadsEachKindOfStep) {
  for (const LineCase& c : kLines) {
    std::vector<ScriptStep> steps;
    ScriptError error;
    ASSERT_TRUE(ParseScript(c.line, &steps, &error)) << c.line << ": " << error.message;
    ASSERT_EQ(steps.size(), 1u) << c.line;
    const ScriptStep& s = steps[0];
    EXPECT_EQ(s.kind, c.kind) << c.line;
    EXPECT_EQ(s.text, c.text) << c.line;
    EXPECT_EQ(s.file, c.file) << c.line;
    EXPECT_EQ(s.id, c.id) << c.line;
    EXPECT_EQ(s.hasPoint, c.hasPoint) << c.line;
    EXPECT_EQ(s.point.x, c.point.x) << c.line;
    EXPECT_EQ(s.point.y, c.point.y) << c.line;
    EXPECT_EQ(s.timeoutMs, c.timeoutMs) << c.line;
    EXPECT_EQ(s.sleepMs, c.sleepMs) << c.line;
    EXPECT_EQ(s.line, 1);
  }
}

TEST(ScriptParser, ReadsDragsAndWheelTurns) {
  std::vector<ScriptStep> steps;
  ScriptError error;
  ASSERT_TRUE(ParseScript("drag 1001 5 6 0x3EA 70 -8\nwheel 300 -3\nwheel 300 2\ndrag 1 0 0 2 0 0 Ctrl+alt\n",
                          &steps, &error))
      << error.message;
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].modifiers, 0u);
  EXPECT_EQ(steps[3].modifiers, static_cast<UINT>(MOD_CONTROL | MOD_ALT));
  EXPECT_EQ(steps[0].kind, Kind::kDrag);
  EXPECT_EQ(steps[0].id, 1001u);
  EXPECT_EQ(steps[0].point.x, 5);
  EXPECT_EQ(steps[0].point.y, 6);
  EXPECT_EQ(steps[0].id2, 1002u);
  EXPECT_EQ(steps[0].point2.x, 70);
  EXPECT_EQ(steps[0].point2.y, -8);
  EXPECT_EQ(steps[1].kind, Kind::kWheel);
  EXPECT_EQ(steps[1].id, 300u);
  EXPECT_EQ(steps[1].notches, -3);
  EXPECT_EQ(steps[2].notches, 2);
}

TEST(ScriptParser, ReadsHeldDragsAndDragsBetweenDesktopPoints) {
  struct Case {
    const char* line;
    Kind kind;
    bool hold;
    UINT modifiers;
    POINT from, to;
  };
  const Case cases[] = {
      {"drag 1 2 3 4 5 6 hold", Kind::kDrag, true, 0, {2, 3}, {5, 6}},
      {"drag 1 2 3 4 5 6 Shift hold", Kind::kDrag, true, MOD_SHIFT, {2, 3}, {5, 6}},
      {"drag 1 2 3 4 5 6 hold Ctrl", Kind::kDrag, true, MOD_CONTROL, {2, 3}, {5, 6}},
      {"drag 1 2 3 4 5 6 Alt", Kind::kDrag, false, MOD_ALT, {2, 3}, {5, 6}},
      {"drag-at 300 40 -20 700", Kind::kDragAt, false, 0, {300, 40}, {-20, 700}},
      {"drag-at 1 2 3 4 Ctrl+Shift", Kind::kDragAt, false, MOD_CONTROL | MOD_SHIFT, {1, 2}, {3, 4}},
  };
  for (const Case& c : cases) {
    std::vector<ScriptStep> steps;
    ScriptError error;
    ASSERT_TRUE(ParseScript(c.line, &steps, &error)) << c.line << ": " << error.message;
    ASSERT_EQ(steps.size(), 1u) << c.line;
    EXPECT_EQ(steps[0].kind, c.kind) << c.line;
    EXPECT_EQ(steps[0].hold, c.hold) << c.line;
    EXPECT_EQ(steps[0].modifiers, c.modifiers) << c.line;
    EXPECT_EQ(steps[0].point.x, c.from.x) << c.line;
    EXPECT_EQ(steps[0].point.y, c.from.y) << c.line;
    EXPECT_EQ(steps[0].point2.x, c.to.x) << c.line;
    EXPECT_EQ(steps[0].point2.y, c.to.y) << c.line;
  }
}

TEST(ScriptParser, ReadsHoversAndRefusesOnesWithoutAPoint) {
  std::vector<ScriptStep> steps;
  ScriptError error;
  ASSERT_TRUE(ParseScript("move 100 40 7\n", &steps, &error)) << error.message;
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].kind, Kind::kMove);
  EXPECT_EQ(steps[0].id, 100u);
  EXPECT_EQ(steps[0].point.x, 40);
  EXPECT_EQ(steps[0].point.y, 7);
  EXPECT_FALSE(ParseScript("move 100\n", &steps, &error));
  EXPECT_EQ(error.line, 1);
}

TEST(ScriptParser, ReadsDesktopDropsWithTheirPaths) {
  std::vector<ScriptStep> steps;
  ScriptError error;
  ASSERT_TRUE(ParseScript("drop 1072 60 20 /v/clip.mp4 \"/my photos/A B.JPG\"\n", &steps, &error))
      << error.message;
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].kind, Kind::kDropFiles);
  EXPECT_EQ(steps[0].id, 1072u);
  EXPECT_EQ(steps[0].point.x, 60);
  EXPECT_EQ(steps[0].point.y, 20);
  EXPECT_EQ(steps[0].files, (std::vector<std::string>{"/v/clip.mp4", "/my photos/A B.JPG"}));
}

TEST(ScriptParser, SkipsCommentsAndBlankLinesAndCountsEveryLine) {
  std::vector<ScriptStep> steps;
  ScriptError error;
  ASSERT_TRUE(ParseScript("# open the album\r\n\r\nwait-window Album\r\n   # indented comment\n\tkey Enter\n",
                          &steps, &error));
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].line, 3);
  EXPECT_EQ(steps[0].text, "Album");
  EXPECT_EQ(steps[0].source, "wait-window Album");
  EXPECT_EQ(steps[1].line, 5);
  EXPECT_EQ(steps[1].key, static_cast<UINT>(VK_RETURN));
}

TEST(ScriptParser, NamesTheFirstBadLine) {
  struct Case {
    const char* script;
    int line;
    const char* message;
  };
  const Case cases[] = {
      {"wait-window A\nclick\n", 2, "expected ID [X Y]: click"},
      {"click 1 2\n", 1, "expected ID [X Y]: click 1 2"},
      {"click seven\n", 1, "bad ID: seven"},
      {"rclick\n", 1, "expected ID [X Y]: rclick"},
      {"click-item 1020\n", 1, "expected ID TEXT: click-item 1020"},
      {"dblclick-item 1073 Day two\n", 1, "expected ID TEXT: dblclick-item 1073 Day two"},
      {"drag 1 2 3 4 5\n", 1, "expected ID X Y ID2 X2 Y2"},
      {"drag 1 2 3 x 5 6\n", 1, "bad ID: x"},
      {"drag 1 2 3 4 5 6 Meta\n", 1, "unknown keys held: Meta"},
      {"drag 1 2 3 4 5 6 Ctrl+\n", 1, "unknown keys held: Ctrl+"},
      {"drag 1 2 3 4 5 6 Ctrl Alt\n", 1, "expected ID X Y ID2 X2 Y2"},
      {"drag 1 2 3 4 5 6 hold hold\n", 1, "unknown keys held: hold"},
      {"drag 1 2 3 4 5 6 Ctrl hold Alt\n", 1, "expected ID X Y ID2 X2 Y2"},
      {"drag-at 1 2 3\n", 1, "expected X Y X2 Y2"},
      {"drag-at 1 2 3 4 Meta\n", 1, "unknown keys held: Meta"},
      {"drag-at 1 2 x 4\n", 1, "bad coordinates"},
      {"move-at 5\n", 1, "expected X Y"},
      {"press-at 5 6 7\n", 1, "expected X Y"},
      {"release-at\n", 1, "expected X Y"},
      {"click-popup 1 2\n", 1, "expected ID [X Y]"},
      {"wheel 5\n", 1, "expected ID N"},
      {"wheel 5 0\n", 1, "expected ID N"},
      {"wheel 5 up\n", 1, "expected ID N"},
      {"click 70000\n", 1, "bad ID: 70000"},
      {"\n\nclick-at 5\n", 3, "expected X Y"},
      {"command\n", 1, "expected ID"},
      {"key Ctrl+\n", 1, "unknown key: Ctrl+"},
      {"key F13\n", 1, "unknown key: F13"},
      {"type\n", 1, "the text is missing"},
      {"wait-window\n", 1, "the text is missing"},
      {"wait-window \"Open 4\n", 1, "a quote is not closed"},
      {"snapshot\n", 1, "expected FILE.png [TEXT]"},
      {"sleep soon\n", 1, "expected MS"},
      {"wait-enabled\n", 1, "expected ID [SECONDS]"},
      {"drop 5 1 2\n", 1, "expected ID X Y PATH..."},
      {"drop 5 x 2 /a.mp4\n", 1, "bad coordinates"},
      {"wait-enabled 5 6 7\n", 1, "expected ID [SECONDS]"},
      {"wait-disabled 5 soon\n", 1, "bad SECONDS: soon"},
      {"sleep -5\n", 1, "expected MS"},
      {"# fine\nwait-gone X\nClick 5\n", 3, "unknown step \"Click\""},
      {"press 5\n", 1, "unknown step \"press\""},
  };
  for (const Case& c : cases) {
    std::vector<ScriptStep> steps;
    ScriptError error;
    EXPECT_FALSE(ParseScript(c.script, &steps, &error)) << c.script;
    EXPECT_EQ(error.line, c.line) << c.script;
    EXPECT_NE(error.message.find(c.message), std::string::npos) << c.script << " gave: " << error.message;
  }
}

TEST(ScriptParser, ReadsKeyNamesWithModifiers) {
  struct Case {
    const char* name;
    UINT key;
    UINT modifiers;
  };
  const Case cases[] = {
      {"Enter", VK_RETURN, 0},
      {"escape", VK_ESCAPE, 0},
      {"Tab", VK_TAB, 0},
      {"Space", VK_SPACE, 0},
      {"Backspace", VK_BACK, 0},
      {"Delete", VK_DELETE, 0},
      {"Up", VK_UP, 0},
      {"Down", VK_DOWN, 0},
      {"Left", VK_LEFT, 0},
      {"Right", VK_RIGHT, 0},
      {"Home", VK_HOME, 0},
      {"End", VK_END, 0},
      {"PageUp", VK_PRIOR, 0},
      {"PageDown", VK_NEXT, 0},
      {"F1", VK_F1, 0},
      {"F12", VK_F12, 0},
      {"Ctrl+S", 'S', MOD_CONTROL},
      {"Alt+F4", VK_F4, MOD_ALT},
      {"Shift+Tab", VK_TAB, MOD_SHIFT},
      {"ctrl+shift+z", 'Z', MOD_CONTROL | MOD_SHIFT},
      {"Alt+Ctrl+Delete", VK_DELETE, MOD_ALT | MOD_CONTROL},
      {"7", '7', 0},
  };
  for (const Case& c : cases) {
    UINT key = 0;
    UINT modifiers = 0;
    ASSERT_TRUE(ParseKeyName(c.name, &key, &modifiers)) << c.name;
    EXPECT_EQ(key, c.key) << c.name;
    EXPECT_EQ(modifiers, c.modifiers) << c.name;
  }
  for (const char* bad : {"", "Ctrl", "Ctrl+", "F0", "F25", "Hyper+A", "AB", "Enter+Ctrl"}) {
    UINT key = 0;
    UINT modifiers = 0;
    EXPECT_FALSE(ParseKeyName(bad, &key, &modifiers)) << bad;
  }
}

}  // namespace
