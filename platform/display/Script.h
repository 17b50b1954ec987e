// The input script: user actions written one per line, played against the program as a person
// at the keyboard and mouse would make them.
//
//   wait-window TEXT [SECONDS]  a visible, enabled top-level window whose title contains TEXT
//                               becomes the target (the newest one when several match)
//   click ID [X Y]              left click on the visible control with that id in the target
//                               (the deepest one when ids repeat), at the centre of its client
//                               area or at X, Y in its client coordinates
//   dblclick ID [X Y]           the same, double
//   rclick ID [X Y]             the same with the right button (a context menu's click)
//   click-item ID TEXT          left click on the item labelled TEXT of the tree view or list
//                               view with that id: the first such item among the tree's
//                               expanded branches, or the list's first; scrolled into view first,
//                               as a user scrolls to what they are about to click
//   dblclick-item ID TEXT       the same, double
//   drag ID X Y ID2 X2 Y2       presses the left button at X, Y in control ID of the target,
//                               moves the pointer in eight even steps, each handled before the
//                               next, to X2, Y2 in control ID2, and releases it there. ID2 is
//                               looked for in the target first, then in the other visible
//                               top-level windows of the program, newest first, so a drag may
//                               end in another window. A last word Ctrl, Shift or Alt (or
//                               several joined by +) holds those keys from before the press
//                               until after the release. A last word hold presses first and
//                               keeps the button down, the pointer still, until control ID2
//                               shows (a drop-down that opens on a held button), then moves
//   drag-at X Y X2 Y2 [KEYS]    the same between two desktop points: a window's caption, edges
//                               or any part outside a control's client area
//   move ID X Y                 moves the pointer, no button held, to X, Y in the client area of
//                               control ID of the target (a hover: tooltips, hot items)
//   click-popup ID [X Y]        left click on control ID of the newest visible top-level window
//                               other than the target that holds one (a popup, a drop-down)
//   move-at X Y                 moves the pointer, no button held, to a desktop point
//   press-at X Y                moves the pointer to a desktop point and presses the left button,
//                               which stays down for the steps that follow (keys, moves)
//   release-at X Y              moves the pointer to a desktop point and lets the button go
//   wheel ID N                  with the pointer on the centre of control ID, turns the wheel N
//                               notches: positive away from the user (scrolls up), negative
//                               towards
//   click-at X Y                left click at a desktop point
//   command ID                  the target's menu command, picked as from its menu: the menu is
//                               initialised first (WM_INITMENU, WM_INITMENUPOPUP), a disabled
//                               command fails the step, an enabled one is posted (WM_COMMAND)
//   type TEXT                   the rest of the line (after one space), typed, in UTF-8
//   key NAME                    Enter, Escape, Tab, Space, Backspace, Delete, Insert, Up, Down,
//                               Left, Right, Home, End, PageUp, PageDown, F1..F12, a letter or a
//                               digit, after any of the prefixes Ctrl+, Shift+ and Alt+
//   snapshot FILE.png [TEXT]    the desktop, or the newest visible window whose title contains
//                               TEXT, as a PNG file
//   wait-file PATH [SECONDS]    until the file exists
//   wait-gone TEXT [SECONDS]    until no visible top-level window's title contains TEXT
//   drop ID X Y PATH...         files dragged from the desktop and released at X, Y in control
//                               ID of the target (WM_DROPFILES to the window there that takes
//                               files); paths with spaces in double quotes
//   wait-enabled ID [SECONDS]   until the visible control with that id in the target is enabled
//                               (it and its parents up to the target), as a user waits for a
//                               button to come back
//   wait-disabled ID [SECONDS]  until that control is disabled
//   sleep MS                    lets the program run for MS milliseconds
//
// Blank lines and lines starting with # are skipped. Words are case-sensitive except key names.
// TEXT and paths may be written in double quotes, which keeps a trailing number from being read
// as SECONDS. Relative paths are relative to the program's working folder. Ids are decimal or
// hexadecimal (0x...). SECONDS may have a fraction; a step that waits gives up after 30 seconds
// unless it names its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::display {

struct ScriptStep {
  enum class Kind {
    kWaitWindow,
    kClick,
    kDoubleClick,
    kRightClick,
    kClickItem,
    kDoubleClickItem,
    kDrag,
    kWheel,
    kMove,
    kClickAt,
    kMoveAt,
    kPressAt,
    kReleaseAt,
    kClickPopup,
    kDragAt,
    kCommand,
    kType,
    kKey,
    kSnapshot,
    kWaitFile,
    kWaitGone,
    kSleep,
    kWaitEnabled,
    kWaitDisabled,
    kDropFiles,
  };
  static constexpr DWORD kDefaultTimeoutMs = 30000;

  Kind kind = Kind::kSleep;
  int line = 0;        // 1-based
  std::string source;  // the line as written, for messages
  std::string text;    // the title part, typed text, path, or an item's label
  std::string file;    // snapshot: the PNG file
  UINT id = 0;         // control or command id
  bool hasPoint = false;
  POINT point{};       // client coordinates of the control, or desktop coordinates
  UINT id2 = 0;        // drag: the control where the button is released
  POINT point2{};      // drag: client coordinates in that control; drag-at: a desktop point
  int notches = 0;     // wheel
  UINT key = 0;        // virtual key
  UINT modifiers = 0;  // MOD_SHIFT, MOD_CONTROL, MOD_ALT
  bool hold = false;   // drag: the button is down until control id2 shows
  DWORD timeoutMs = kDefaultTimeoutMs;
  DWORD sleepMs = 0;
  std::vector<std::string> files;  // drop: the paths
};

struct ScriptError {
  int line = 0;
  std::string message;
};

// Every step of a script; false, with the first bad line and what is wrong with it, otherwise.
bool ParseScript(std::string_view script, std::vector<ScriptStep>* steps, ScriptError* error);
// Keys held through a drag ("Ctrl", "Alt", "Ctrl+Shift") as MOD_ bits; false for anything else.
bool ParseModifierNames(std::string_view names, UINT* modifiers);
// A key name as `key` takes it ("Ctrl+Shift+F5").
bool ParseKeyName(std::string_view name, UINT* virtualKey, UINT* modifiers);

}  // namespace pictavo::display
