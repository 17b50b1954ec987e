// The input script's steps: finding their windows and controls, and acting as a user would.
#include "platform/display/ScriptSteps.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/TreeView.h"
#include "platform/display/Headless.h"
#include "platform/display/InputSynth.h"
#include "platform/shellapi/DragDrop.h"
#include "platform/user/Display.h"
#include "platform/user/Menu.h"
#include "platform/user/User.h"

namespace pictavo::display {
namespace {

using Kind = ScriptStep::Kind;

StepOutcome Done() {
  return {};
}
StepOutcome InputMade() {
  return {StepResult::kInputMade, {}, 0};
}
StepOutcome Waiting(std::string why, DWORD waitMs = 0) {
  return {StepResult::kWaiting, std::move(why), waitMs};
}
StepOutcome Failed(std::string why) {
  return {StepResult::kFailed, std::move(why), 0};
}

std::string Title(HWND hwnd) {
  const int length = GetWindowTextLength(hwnd);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  text.resize(
      static_cast<size_t>(std::max(GetWindowText(hwnd, text.data(), static_cast<int>(text.size())), 0)));
  return text;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// Handles carry a serial number that grows as windows are made: the larger, the newer.
uint32_t Serial(HWND hwnd) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)) & 0xFFFFFu;
}

// The newest visible top-level window whose title contains `text`.
HWND FindTopLevel(std::string_view text, bool enabledOnly) {
  HWND best = nullptr;
  for (const user::TopLevelWindow& w : user::TopLevelWindows()) {
    if (!IsWindowVisible(w.hwnd) || (enabledOnly && !IsWindowEnabled(w.hwnd))) continue;
    if (Title(w.hwnd).find(text) == std::string::npos) continue;
    if (!best || Serial(w.hwnd) > Serial(best)) best = w.hwnd;
  }
  return best;
}

struct ControlSearch {
  HWND target;
  int id;
  HWND found = nullptr;
  int depth = -1;
};

int DepthBelow(HWND ancestor, HWND hwnd) {
  int depth = 0;
  for (HWND h = hwnd; h && h != ancestor; h = GetParent(h)) ++depth;
  return depth;
}

BOOL CALLBACK CollectControl(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<ControlSearch*>(lParam);
  if (GetDlgCtrlID(hwnd) != search->id || !IsWindowVisible(hwnd)) return TRUE;
  const int depth = DepthBelow(search->target, hwnd);
  if (depth > search->depth) {
    search->found = hwnd;
    search->depth = depth;
  }
  return TRUE;
}

// The deepest visible control with the id (the first in z-order among equals).
HWND FindControl(HWND target, UINT id) {
  ControlSearch search{target, static_cast<int>(id)};
  EnumChildWindows(target, CollectControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool EnabledUpTo(HWND hwnd, HWND ancestor) {
  for (HWND h = hwnd; h; h = GetParent(h)) {
    if (!IsWindowEnabled(h)) return false;
    if (h == ancestor) break;
  }
  return true;
}

// The top-level window the user sees at a desktop point.
HWND TopLevelAt(POINT point) {
  const HWND desktop = GetDesktopWindow();
  const HWND top = ChildWindowFromPointEx(desktop, point, CWP_SKIPINVISIBLE);
  return top == desktop ? nullptr : top;
}

// A step that acts on the target: it must still exist and be enabled.
bool TargetReady(const StepContext& context, StepOutcome* outcome) {
  if (!context.target) {
    *outcome = Failed("no target window: a wait-window step comes first");
    return false;
  }
  if (!IsWindow(context.target)) {
    *outcome = Failed("the target window has closed");
    return false;
  }
  if (!IsWindowEnabled(context.target)) {
    *outcome = Waiting("the target window " + Quoted(Title(context.target)) + " is disabled");
    return false;
  }
  return true;
}

// The desktop point of `control` at `client` (its centre when `client` is null), where the user
// can reach it; the reason otherwise.
bool ReachablePoint(HWND control, const POINT* client, const std::string& name, POINT* out,
                    StepOutcome* outcome) {
  RECT area{};
  GetClientRect(control, &area);
  POINT point{area.right / 2, area.bottom / 2};
  if (client) {
    point = *client;
    if (point.x < 0 || point.y < 0 || point.x >= area.right || point.y >= area.bottom) {
      *outcome = Failed(std::to_string(point.x) + " " + std::to_string(point.y) + " is outside " + name +
                        ", whose client area is " + std::to_string(area.right) + " x " +
                        std::to_string(area.bottom));
      return false;
    }
  }
  ClientToScreen(control, &point);
  if (TopLevelAt(point) != GetAncestor(control, GA_ROOT)) {
    *outcome = Waiting(name + " is covered by another window");
    return false;
  }
  *out = point;
  return true;
}

// The step's control in the target when the user can act on it: visible and enabled; null, with
// the outcome to report, otherwise.
HWND ReadyControl(const ScriptStep& step, const StepContext& context, StepOutcome* outcome) {
  if (!TargetReady(context, outcome)) return nullptr;
  const std::string name = "control " + std::to_string(step.id);
  const HWND control = FindControl(context.target, step.id);
  if (!control) {
    *outcome = Waiting("no visible " + name + " in " + Quoted(Title(context.target)));
    return nullptr;
  }
  if (!EnabledUpTo(control, context.target)) {
    *outcome = Waiting(name + " is disabled");
    return nullptr;
  }
  return control;
}

StepOutcome ClickControl(const ScriptStep& step, const StepContext& context) {
  StepOutcome outcome;
  const HWND control = ReadyControl(step, context, &outcome);
  if (!control) return outcome;
  const std::string name = "control " + std::to_string(step.id);
  POINT point{};
  if (!ReachablePoint(control, step.hasPoint ? &step.point : nullptr, name, &point, &outcome)) return outcome;
  if (step.kind == Kind::kRightClick)
    Click(point, user::MouseButton::kRight);
  else
    Click(point, user::MouseButton::kLeft, step.kind == Kind::kDoubleClick ? 2 : 1);
  return InputMade();
}

// The client point of the item labelled `text` in a tree view or list view, scrolled into view;
// false when the control holds no such item.
bool ItemPoint(HWND control, const std::string& text, POINT* point) {
  char className[64] = {};
  GetClassName(control, className, sizeof className);
  const std::string_view kind(className);
  RECT rc{};
  if (kind == "SysTreeView32") {
    // The items a user reaches: the roots and the children of expanded items, in display order.
    std::vector<HTREEITEM> pending;
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessage(control, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = reinterpret_cast<HTREEITEM>(
             SendMessage(control, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
      pending.push_back(item);
    for (size_t i = 0; i < pending.size(); ++i) {
      const HTREEITEM item = pending[i];
      char label[260] = {};
      TVITEMA data{};
      data.mask = TVIF_TEXT | TVIF_STATE;
      data.hItem = item;
      data.pszText = label;
      data.cchTextMax = sizeof label;
      data.stateMask = TVIS_EXPANDED;
      if (!SendMessage(control, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) continue;
      if (text == label) {
        SendMessage(control, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        *reinterpret_cast<HTREEITEM*>(&rc) = item;
        if (!SendMessage(control, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc))) return false;
        *point = POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        return true;
      }
      if ((data.state & TVIS_EXPANDED) == 0) continue;
      std::vector<HTREEITEM> children;
      for (auto child = reinterpret_cast<HTREEITEM>(
               SendMessage(control, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
           child; child = reinterpret_cast<HTREEITEM>(
                      SendMessage(control, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        children.push_back(child);
      pending.insert(pending.begin() + static_cast<std::ptrdiff_t>(i) + 1, children.begin(), children.end());
    }
    return false;
  }
  if (kind == "SysListView32") {
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;
    find.psz = text.c_str();
    const auto row = static_cast<int>(
        SendMessage(control, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    if (row < 0) return false;
    SendMessage(control, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    rc.left = LVIR_BOUNDS;
    if (!SendMessage(control, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc)))
      return false;
    *point = POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return true;
  }
  return false;
}

StepOutcome ClickItem(const ScriptStep& step, const StepContext& context) {
  StepOutcome outcome;
  const HWND control = ReadyControl(step, context, &outcome);
  if (!control) return outcome;
  const std::string name = "control " + std::to_string(step.id);
  POINT client{};
  if (!ItemPoint(control, step.text, &client)) return Waiting("no item " + Quoted(step.text) + " in " + name);
  POINT point{};
  if (!ReachablePoint(control, &client, name, &point, &outcome)) return outcome;
  Click(point, user::MouseButton::kLeft, step.kind == Kind::kDoubleClickItem ? 2 : 1);
  return InputMade();
}

// A drag's drop control: in the target, else in the newest other top-level window holding it.
HWND FindDropControl(HWND target, UINT id) {
  if (HWND found = FindControl(target, id)) return found;
  HWND best = nullptr;
  for (const user::TopLevelWindow& w : user::TopLevelWindows()) {
    if (w.hwnd == target || !IsWindowVisible(w.hwnd)) continue;
    if (HWND found = FindControl(w.hwnd, id);
        found && (!best || Serial(w.hwnd) > Serial(GetAncestor(best, GA_ROOT))))
      best = found;
  }
  return best;
}

constexpr int kDragSteps = 8;

void HoldModifiers(UINT modifiers, bool down) {
  if (modifiers & MOD_SHIFT) user::InjectKey({VK_SHIFT, down});
  if (modifiers & MOD_CONTROL) user::InjectKey({VK_CONTROL, down});
  if (modifiers & MOD_ALT) user::InjectKey({VK_MENU, down});
}

// A drag's moves and release once the button is down (phases 1 to kDragSteps + 1).
StepOutcome DragOn(const ScriptStep& step, StepContext& context) {
  if (context.phase <= kDragSteps) {
    const POINT at{context.from.x + (context.to.x - context.from.x) * context.phase / kDragSteps,
                   context.from.y + (context.to.y - context.from.y) * context.phase / kDragSteps};
    user::InjectMouseMove(at);
    return {StepResult::kInputMore, {}, 0};
  }
  user::InjectMouseButton(user::MouseButton::kLeft, false);
  HoldModifiers(step.modifiers, false);
  return InputMade();
}

// Phase 0 presses, phases 1 to kDragSteps move, the last phase releases; each input is handled
// before the next is made, as a hand moves. A held drag looks for its drop control only once the
// button is down, and stays at phase 1, the pointer still, until it shows.
StepOutcome Drag(const ScriptStep& step, StepContext& context) {
  const std::string name2 = "control " + std::to_string(step.id2);
  if (context.phase == 0) {
    StepOutcome outcome;
    if (!TargetReady(context, &outcome)) return outcome;
    const std::string name = "control " + std::to_string(step.id);
    const HWND from = FindControl(context.target, step.id);
    if (!from) return Waiting("no visible " + name + " in " + Quoted(Title(context.target)));
    if (!EnabledUpTo(from, context.target)) return Waiting(name + " is disabled");
    if (!ReachablePoint(from, &step.point, name, &context.from, &outcome)) return outcome;
    if (!step.hold) {
      const HWND to = FindDropControl(context.target, step.id2);
      if (!to) return Waiting("no visible " + name2 + " to drop on");
      if (!ReachablePoint(to, &step.point2, name2, &context.to, &outcome)) return outcome;
    }
    HoldModifiers(step.modifiers, true);
    user::InjectMouseMove(context.from);
    user::InjectMouseButton(user::MouseButton::kLeft, true);
    return {StepResult::kInputMore, {}, 0};
  }
  if (step.hold && context.phase == 1) {
    StepOutcome outcome;
    const HWND to = FindDropControl(context.target, step.id2);
    if (!to) return Waiting("the button held, no visible " + name2 + " yet");
    if (!ReachablePoint(to, &step.point2, name2, &context.to, &outcome)) return outcome;
  }
  return DragOn(step, context);
}

// A drag between two desktop points, in the same phases.
StepOutcome DragAt(const ScriptStep& step, StepContext& context) {
  if (context.phase == 0) {
    const std::string where = std::to_string(step.point.x) + " " + std::to_string(step.point.y);
    const HWND top = TopLevelAt(step.point);
    if (!top) return Waiting("no window at " + where);
    if (!IsWindowEnabled(top)) return Waiting("the window at " + where + " is disabled");
    context.from = step.point;
    context.to = step.point2;
    HoldModifiers(step.modifiers, true);
    user::InjectMouseMove(context.from);
    user::InjectMouseButton(user::MouseButton::kLeft, true);
    return {StepResult::kInputMore, {}, 0};
  }
  return DragOn(step, context);
}

StepOutcome Wheel(const ScriptStep& step, const StepContext& context) {
  StepOutcome outcome;
  if (!TargetReady(context, &outcome)) return outcome;
  const std::string name = "control " + std::to_string(step.id);
  const HWND control = FindControl(context.target, step.id);
  if (!control) return Waiting("no visible " + name + " in " + Quoted(Title(context.target)));
  if (!EnabledUpTo(control, context.target)) return Waiting(name + " is disabled");
  POINT point{};
  if (!ReachablePoint(control, nullptr, name, &point, &outcome)) return outcome;
  user::InjectMouseMove(point);
  // One notch at a time, as a wheel turns.
  const int sign = step.notches > 0 ? 1 : -1;
  for (int i = 0; i < step.notches * sign; ++i) user::InjectMouseWheel(sign * WHEEL_DELTA);
  return InputMade();
}

StepOutcome Move(const ScriptStep& step, const StepContext& context) {
  StepOutcome outcome;
  if (!TargetReady(context, &outcome)) return outcome;
  const std::string name = "control " + std::to_string(step.id);
  const HWND control = FindControl(context.target, step.id);
  if (!control) return Waiting("no visible " + name + " in " + Quoted(Title(context.target)));
  POINT point{};
  if (!ReachablePoint(control, &step.point, name, &point, &outcome)) return outcome;
  user::InjectMouseMove(point);
  return InputMade();
}

StepOutcome MoveAt(const ScriptStep& step) {
  const std::string where = std::to_string(step.point.x) + " " + std::to_string(step.point.y);
  if (!TopLevelAt(step.point)) return Waiting("no window at " + where);
  user::InjectMouseMove(step.point);
  return InputMade();
}

// The left button goes down at a point, or up at one, as the middle of a gesture.
StepOutcome PressOrReleaseAt(const ScriptStep& step) {
  const std::string where = std::to_string(step.point.x) + " " + std::to_string(step.point.y);
  const bool press = step.kind == Kind::kPressAt;
  const HWND top = TopLevelAt(step.point);
  if (press && !top) return Waiting("no window at " + where);
  if (press && !IsWindowEnabled(top)) return Waiting("the window at " + where + " is disabled");
  user::InjectMouseMove(step.point);
  user::InjectMouseButton(user::MouseButton::kLeft, press);
  return InputMade();
}

// A click on a control of another top-level window than the target: the newest that holds it.
StepOutcome ClickPopup(const ScriptStep& step, const StepContext& context) {
  StepOutcome outcome;
  if (!TargetReady(context, &outcome)) return outcome;
  const std::string name = "control " + std::to_string(step.id);
  HWND control = nullptr;
  for (const user::TopLevelWindow& w : user::TopLevelWindows()) {
    if (w.hwnd == context.target || !IsWindowVisible(w.hwnd)) continue;
    if (HWND found = FindControl(w.hwnd, step.id);
        found && (!control || Serial(w.hwnd) > Serial(GetAncestor(control, GA_ROOT))))
      control = found;
  }
  if (!control)
    return Waiting("no visible " + name + " in a window other than " + Quoted(Title(context.target)));
  if (!EnabledUpTo(control, GetAncestor(control, GA_ROOT))) return Waiting(name + " is disabled");
  POINT point{};
  if (!ReachablePoint(control, step.hasPoint ? &step.point : nullptr, name, &point, &outcome)) return outcome;
  Click(point);
  return InputMade();
}

StepOutcome ClickAt(const ScriptStep& step) {
  const std::string where = std::to_string(step.point.x) + " " + std::to_string(step.point.y);
  const HWND top = TopLevelAt(step.point);
  if (!top) return Waiting("no window at " + where);
  if (!IsWindowEnabled(top)) return Waiting("the window at " + where + " is disabled");
  Click(step.point);
  return InputMade();
}

// The popups from `menu` down to the one holding `id`, each with its position in its parent.
bool FindMenuPath(HMENU menu, UINT id, std::vector<std::pair<HMENU, int>>* path) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU popup = GetSubMenu(menu, i)) {
      path->emplace_back(popup, i);
      if (FindMenuPath(popup, id, path)) return true;
      path->pop_back();
    } else if (GetMenuItemID(menu, i) == id) {
      return true;
    }
  }
  return false;
}

StepOutcome Command(const ScriptStep& step, const StepContext& context) {
  StepOutcome outcome;
  if (!TargetReady(context, &outcome)) return outcome;
  const HWND target = context.target;
  const std::string name = "command " + std::to_string(step.id);
  const HMENU menu = GetMenu(target);
  if (!menu) return Waiting(Quoted(Title(target)) + " has no menu");
  std::vector<std::pair<HMENU, int>> path;
  if (!FindMenuPath(menu, step.id, &path))
    return Waiting("no " + name + " in the menu of " + Quoted(Title(target)));
  // As when the user opens the menu: the window brings its items up to date first.
  SendMessage(target, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
  for (const auto& [popup, position] : path)
    SendMessage(target, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(position, FALSE));
  if (!IsWindow(target)) return Failed("the target window has closed");
  const UINT state = GetMenuState(menu, step.id, MF_BYCOMMAND);
  if (state == 0xFFFFFFFFu) return Waiting("no " + name + " in the menu of " + Quoted(Title(target)));
  if (state & (MF_GRAYED | MF_DISABLED)) return Failed(name + " is disabled");
  PostMessage(target, WM_COMMAND, MAKEWPARAM(step.id, 0), 0);
  return InputMade();
}

// Typed input goes to the program as it is: the target only has to take input.
StepOutcome Keys(const ScriptStep& step, const StepContext& context) {
  if (context.target) {
    StepOutcome outcome;
    if (!TargetReady(context, &outcome)) return outcome;
  }
  if (step.kind == Kind::kType)
    TypeText(step.text);
  else
    PressKey(step.key, step.modifiers);
  return InputMade();
}

StepOutcome Snapshot(const ScriptStep& step) {
  HWND window = nullptr;
  if (!step.text.empty()) {
    window = FindTopLevel(step.text, false);
    if (!window) return Waiting("no visible window whose title contains " + Quoted(step.text));
  }
  const auto display = user::GetDisplay();
  if (!display) return Failed("no display");
  if (!WriteSnapshot(display->DesktopSize(), step.file, window))
    return Failed("cannot write " + step.file + " (error " + std::to_string(GetLastError()) + ")");
  return Done();
}

StepOutcome WaitFile(const ScriptStep& step) {
  std::error_code error;
  if (std::filesystem::exists(step.text, error)) return Done();
  return Waiting("no file " + step.text);
}

StepOutcome DropFiles(const ScriptStep& step, const StepContext& context) {
  const HWND control = context.target ? FindControl(context.target, step.id) : nullptr;
  if (!control) return Waiting("no visible control " + std::to_string(step.id));
  POINT point = step.point;
  ClientToScreen(control, &point);
  if (!shell::DropFiles(control, point, step.files))
    return Failed("no window at the point takes dropped files");
  return InputMade();
}

StepOutcome WaitEnabled(const ScriptStep& step, const StepContext& context) {
  const bool wanted = step.kind == Kind::kWaitEnabled;
  const HWND control = context.target ? FindControl(context.target, step.id) : nullptr;
  if (!control) return Waiting("no visible control " + std::to_string(step.id));
  if (EnabledUpTo(control, context.target) == wanted) return Done();
  return Waiting("control " + std::to_string(step.id) + (wanted ? " is disabled" : " is enabled"));
}

StepOutcome SleepStep(const ScriptStep& step, const StepContext& context) {
  const auto until = context.started + std::chrono::milliseconds(step.sleepMs);
  const auto now = std::chrono::steady_clock::now();
  if (now >= until) return Done();
  return Waiting("sleeping",
                 static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(until - now).count()));
}

}  // namespace

StepOutcome PlayStep(const ScriptStep& step, StepContext& context, bool inputAllowed) {
  switch (step.kind) {
    case Kind::kWaitWindow:
      if (HWND hwnd = FindTopLevel(step.text, true)) {
        context.target = hwnd;
        return Done();
      }
      return Waiting("no visible, enabled window whose title contains " + Quoted(step.text));
    case Kind::kWaitGone:
      if (FindTopLevel(step.text, false))
        return Waiting("a window whose title contains " + Quoted(step.text) + " is shown");
      return Done();
    case Kind::kWaitFile:
      return WaitFile(step);
    case Kind::kSleep:
      return SleepStep(step, context);
    case Kind::kSnapshot:
      return Snapshot(step);
    case Kind::kWaitEnabled:
    case Kind::kWaitDisabled:
      return WaitEnabled(step, context);
    default:
      break;
  }
  // The steps that make input wait for a loop that takes messages.
  if (!inputAllowed) return Waiting("the program is busy");
  switch (step.kind) {
    case Kind::kClick:
    case Kind::kDoubleClick:
    case Kind::kRightClick:
      return ClickControl(step, context);
    case Kind::kClickItem:
    case Kind::kDoubleClickItem:
      return ClickItem(step, context);
    case Kind::kDrag:
      return Drag(step, context);
    case Kind::kWheel:
      return Wheel(step, context);
    case Kind::kMove:
      return Move(step, context);
    case Kind::kClickAt:
      return ClickAt(step);
    case Kind::kMoveAt:
      return MoveAt(step);
    case Kind::kPressAt:
    case Kind::kReleaseAt:
      return PressOrReleaseAt(step);
    case Kind::kClickPopup:
      return ClickPopup(step, context);
    case Kind::kDragAt:
      return DragAt(step, context);
    case Kind::kCommand:
      return Command(step, context);
    case Kind::kDropFiles:
      return DropFiles(step, context);
    case Kind::kType:
    case Kind::kKey:
      return Keys(step, context);
    default:
      return Failed("unknown step");
  }
}

}  // namespace pictavo::display
