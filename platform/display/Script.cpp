// Reading the input script.
#include "platform/display/Script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "platform/base/VirtualKeys.h"
#include "platform/display/InputSynth.h"

namespace pictavo::display {
namespace {

using Kind = ScriptStep::Kind;

constexpr std::pair<std::string_view, Kind> kVerbs[] = {
    {"wait-window", Kind::kWaitWindow},
    {"click", Kind::kClick},
    {"dblclick", Kind::kDoubleClick},
    {"rclick", Kind::kRightClick},
    {"click-item", Kind::kClickItem},
    {"dblclick-item", Kind::kDoubleClickItem},
    {"drag", Kind::kDrag},
    {"wheel", Kind::kWheel},
    {"move", Kind::kMove},
    {"click-at", Kind::kClickAt},
    {"move-at", Kind::kMoveAt},
    {"press-at", Kind::kPressAt},
    {"release-at", Kind::kReleaseAt},
    {"click-popup", Kind::kClickPopup},
    {"drag-at", Kind::kDragAt},
    {"command", Kind::kCommand},
    {"type", Kind::kType},
    {"key", Kind::kKey},
    {"snapshot", Kind::kSnapshot},
    {"wait-file", Kind::kWaitFile},
    {"wait-gone", Kind::kWaitGone},
    {"sleep", Kind::kSleep},
    {"wait-enabled", Kind::kWaitEnabled},
    {"wait-disabled", Kind::kWaitDisabled},
    {"drop", Kind::kDropFiles},
};

constexpr std::pair<std::string_view, UINT> kKeyNames[] = {
    {"enter", VK_RETURN},   {"escape", VK_ESCAPE}, {"tab", VK_TAB},       {"space", VK_SPACE},
    {"backspace", VK_BACK}, {"delete", VK_DELETE}, {"insert", VK_INSERT}, {"up", VK_UP},
    {"down", VK_DOWN},      {"left", VK_LEFT},     {"right", VK_RIGHT},   {"home", VK_HOME},
    {"end", VK_END},        {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT},
};

bool IsSpace(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The words of the arguments; a word in double quotes may hold spaces.
bool Split(std::string_view s, std::vector<std::string>* words, std::string* why) {
  s = Trim(s);
  while (!s.empty()) {
    if (s.front() == '"') {
      const size_t close = s.find('"', 1);
      if (close == std::string_view::npos) {
        *why = "a quote is not closed";
        return false;
      }
      words->emplace_back(s.substr(1, close - 1));
      s.remove_prefix(close + 1);
      if (!s.empty() && !IsSpace(s.front())) {
        *why = "a quote is followed by more text";
        return false;
      }
    } else {
      size_t end = 0;
      while (end < s.size() && !IsSpace(s[end])) ++end;
      words->emplace_back(s.substr(0, end));
      s.remove_prefix(end);
    }
    s = Trim(s);
  }
  return true;
}

std::optional<long long> Integer(std::string_view s) {
  long long value = 0;
  int base = 10;
  bool negative = false;
  if (!s.empty() && s.front() == '-') {
    negative = true;
    s.remove_prefix(1);
  }
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return negative ? -value : value;
}

std::optional<DWORD> Seconds(std::string_view s) {
  double value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || !(value > 0) || value > 86400) return std::nullopt;
  return static_cast<DWORD>(std::lround(value * 1000));
}

// TEXT [SECONDS]: a last word that reads as seconds is the time-out, unless TEXT was quoted.
bool TextAndSeconds(std::string_view rest, ScriptStep* step, std::string* why) {
  rest = Trim(rest);
  if (rest.empty()) {
    *why = "the text is missing";
    return false;
  }
  if (rest.front() == '"') {
    std::vector<std::string> words;
    if (!Split(rest, &words, why)) return false;
    if (words.size() > 2) {
      *why = "expected \"TEXT\" [SECONDS]";
      return false;
    }
    step->text = words[0];
    if (words.size() == 2) {
      const auto ms = Seconds(words[1]);
      if (!ms) {
        *why = "bad SECONDS: " + words[1];
        return false;
      }
      step->timeoutMs = *ms;
    }
    return true;
  }
  const size_t space = rest.find_last_of(" \t");
  if (space != std::string_view::npos) {
    if (const auto ms = Seconds(rest.substr(space + 1))) {
      step->text = std::string(Trim(rest.substr(0, space)));
      step->timeoutMs = *ms;
      return true;
    }
  }
  step->text = std::string(rest);
  return true;
}

// FILE [TEXT]: the file is one word (or quoted), TEXT the rest of the line (or quoted).
bool FileAndText(std::string_view rest, ScriptStep* step, std::string* why) {
  rest = Trim(rest);
  size_t after = 0;
  if (!rest.empty() && rest.front() == '"') {
    const size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) {
      *why = "a quote is not closed";
      return false;
    }
    step->file = std::string(rest.substr(1, close - 1));
    after = close + 1;
  } else {
    while (after < rest.size() && !IsSpace(rest[after])) ++after;
    step->file = std::string(rest.substr(0, after));
  }
  if (step->file.empty()) {
    *why = "expected FILE.png [TEXT]";
    return false;
  }
  std::string_view text = Trim(rest.substr(after));
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  step->text = std::string(text);
  return true;
}

bool Id(const std::string& word, UINT* id, std::string* why) {
  const auto value = Integer(word);
  if (!value || *value < 0 || *value > 0xFFFF) {
    *why = "bad ID: " + word;
    return false;
  }
  *id = static_cast<UINT>(*value);
  return true;
}

bool Point(const std::string& x, const std::string& y, POINT* point, std::string* why) {
  const auto px = Integer(x);
  const auto py = Integer(y);
  if (!px || !py || std::abs(*px) > 100000 || std::abs(*py) > 100000) {
    *why = "bad coordinates: " + x + " " + y;
    return false;
  }
  *point = POINT{static_cast<LONG>(*px), static_cast<LONG>(*py)};
  return true;
}

bool ParseArguments(Kind kind, std::string_view rest, ScriptStep* step, std::string* why) {
  std::vector<std::string> words;
  switch (kind) {
    case Kind::kWaitWindow:
    case Kind::kWaitGone:
    case Kind::kWaitFile:
      return TextAndSeconds(rest, step, why);
    case Kind::kSnapshot:
      return FileAndText(rest, step, why);
    case Kind::kType:
      // The rest of the line after the one space that ends the verb, spaces included.
      step->text = std::string(rest.empty() ? rest : rest.substr(1));
      if (step->text.empty()) {
        *why = "the text is missing";
        return false;
      }
      return true;
    default:
      break;
  }
  if (!Split(rest, &words, why)) return false;
  switch (kind) {
    case Kind::kClick:
    case Kind::kDoubleClick:
    case Kind::kRightClick:
    case Kind::kClickPopup:
      if (words.size() != 1 && words.size() != 3) {
        *why = "expected ID [X Y]";
        return false;
      }
      if (!Id(words[0], &step->id, why)) return false;
      step->hasPoint = words.size() == 3;
      return !step->hasPoint || Point(words[1], words[2], &step->point, why);
    case Kind::kClickItem:
    case Kind::kDoubleClickItem:
      if (words.size() != 2 || words[1].empty()) {
        *why = "expected ID TEXT";
        return false;
      }
      step->text = words[1];
      return Id(words[0], &step->id, why);
    case Kind::kDrag: {
      // Trailing words: the keys held and hold, in either order.
      while (words.size() > 6 && words.size() <= 8) {
        const std::string last = words.back();
        if (last == "hold" && !step->hold) {
          step->hold = true;
        } else if (step->modifiers != 0) {
          break;
        } else if (!ParseModifierNames(last, &step->modifiers)) {
          *why = "unknown keys held: " + last;
          return false;
        }
        words.pop_back();
      }
      if (words.size() != 6) {
        *why = "expected ID X Y ID2 X2 Y2 [Ctrl|Shift|Alt] [hold]";
        return false;
      }
      step->hasPoint = true;
      return Id(words[0], &step->id, why) && Point(words[1], words[2], &step->point, why) &&
             Id(words[3], &step->id2, why) && Point(words[4], words[5], &step->point2, why);
    }
    case Kind::kDragAt:
      if (words.size() != 4 && words.size() != 5) {
        *why = "expected X Y X2 Y2 [Ctrl|Shift|Alt]";
        return false;
      }
      if (words.size() == 5 && !ParseModifierNames(words[4], &step->modifiers)) {
        *why = "unknown keys held: " + std::string(words[4]);
        return false;
      }
      step->hasPoint = true;
      return Point(words[0], words[1], &step->point, why) && Point(words[2], words[3], &step->point2, why);
    case Kind::kMove:
      if (words.size() != 3) {
        *why = "expected ID X Y";
        return false;
      }
      step->hasPoint = true;
      return Id(words[0], &step->id, why) && Point(words[1], words[2], &step->point, why);
    case Kind::kWheel: {
      const auto notches = words.size() == 2 ? Integer(words[1]) : std::nullopt;
      if (words.size() != 2 || !notches || *notches == 0 || std::abs(*notches) > 100) {
        *why = "expected ID N (N from -100 to 100, not 0)";
        return false;
      }
      step->notches = static_cast<int>(*notches);
      return Id(words[0], &step->id, why);
    }
    case Kind::kClickAt:
    case Kind::kMoveAt:
    case Kind::kPressAt:
    case Kind::kReleaseAt:
      if (words.size() != 2) {
        *why = "expected X Y";
        return false;
      }
      step->hasPoint = true;
      return Point(words[0], words[1], &step->point, why);
    case Kind::kCommand:
      if (words.size() != 1) {
        *why = "expected ID";
        return false;
      }
      return Id(words[0], &step->id, why);
    case Kind::kDropFiles:
      if (words.size() < 4) {
        *why = "expected ID X Y PATH...";
        return false;
      }
      step->hasPoint = true;
      step->files.assign(words.begin() + 3, words.end());
      return Id(words[0], &step->id, why) && Point(words[1], words[2], &step->point, why);
    case Kind::kWaitEnabled:
    case Kind::kWaitDisabled: {
      if (words.size() != 1 && words.size() != 2) {
        *why = "expected ID [SECONDS]";
        return false;
      }
      if (words.size() == 2) {
        const auto ms = Seconds(words[1]);
        if (!ms) {
          *why = "bad SECONDS: " + words[1];
          return false;
        }
        step->timeoutMs = *ms;
      }
      return Id(words[0], &step->id, why);
    }
    case Kind::kKey:
      if (words.size() != 1 || !ParseKeyName(words[0], &step->key, &step->modifiers)) {
        *why = "unknown key: " + std::string(Trim(rest));
        return false;
      }
      return true;
    case Kind::kSleep: {
      const auto ms = words.size() == 1 ? Integer(words[0]) : std::nullopt;
      if (!ms || *ms < 0 || *ms > 86400000) {
        *why = "expected MS";
        return false;
      }
      step->sleepMs = static_cast<DWORD>(*ms);
      step->timeoutMs = INFINITE;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

bool ParseModifierNames(std::string_view names, UINT* modifiers) {
  const std::string lower = Lower(names);
  std::string_view rest = lower;
  UINT mods = 0;
  while (!rest.empty()) {
    const size_t plus = rest.find('+');
    const std::string_view part = rest.substr(0, plus);
    if (part == "ctrl")
      mods |= MOD_CONTROL;
    else if (part == "shift")
      mods |= MOD_SHIFT;
    else if (part == "alt")
      mods |= MOD_ALT;
    else
      return false;
    if (plus == std::string_view::npos) break;
    rest.remove_prefix(plus + 1);
    if (rest.empty()) return false;
  }
  *modifiers = mods;
  return mods != 0;
}

bool ParseKeyName(std::string_view name, UINT* virtualKey, UINT* modifiers) {
  std::string lower = Lower(name);
  std::string_view rest = lower;
  UINT mods = 0;
  constexpr std::pair<std::string_view, UINT> kPrefixes[] = {
      {"ctrl+", MOD_CONTROL}, {"shift+", MOD_SHIFT}, {"alt+", MOD_ALT}};
  for (bool found = true; found;) {
    found = false;
    for (const auto& [prefix, mod] : kPrefixes) {
      if (rest.size() > prefix.size() && rest.substr(0, prefix.size()) == prefix) {
        mods |= mod;
        rest.remove_prefix(prefix.size());
        found = true;
      }
    }
  }
  UINT vk = 0;
  if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
    vk = static_cast<UINT>(std::toupper(static_cast<unsigned char>(rest[0])));
  } else if (rest.size() >= 2 && rest.size() <= 3 && rest[0] == 'f') {
    const auto n = Integer(rest.substr(1));
    if (n && *n >= 1 && *n <= 12) vk = VK_F1 + static_cast<UINT>(*n - 1);
  } else {
    for (const auto& [keyName, key] : kKeyNames)
      if (rest == keyName) vk = key;
  }
  if (!vk) return false;
  *virtualKey = vk;
  *modifiers = mods;
  return true;
}

bool ParseScript(std::string_view script, std::vector<ScriptStep>* steps, ScriptError* error) {
  steps->clear();
  int number = 0;
  while (!script.empty()) {
    ++number;
    const size_t end = script.find('\n');
    std::string_view line = script.substr(0, end);
    script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    size_t verbEnd = 0;
    while (verbEnd < trimmed.size() && !IsSpace(trimmed[verbEnd])) ++verbEnd;
    const std::string_view verb = trimmed.substr(0, verbEnd);
    const auto known =
        std::find_if(std::begin(kVerbs), std::end(kVerbs), [&](const auto& v) { return v.first == verb; });
    ScriptStep step;
    step.line = number;
    step.source = std::string(trimmed);
    std::string why;
    if (known == std::end(kVerbs)) {
      why = "unknown step \"" + std::string(verb) + "\"";
    } else {
      step.kind = known->second;
      // `type` keeps the spaces at the end of its text; the other steps ignore them.
      const std::string_view rest =
          step.kind == Kind::kType ? line.substr(line.find(verb) + verb.size()) : trimmed.substr(verbEnd);
      ParseArguments(step.kind, rest, &step, &why);
    }
    if (!why.empty()) {
      if (error) *error = ScriptError{number, why + ": " + std::string(trimmed)};
      return false;
    }
    steps->push_back(std::move(step));
  }
  return true;
}

}  // namespace pictavo::display
