#include "platform/comdlg/FileSelection.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Utf8.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"

namespace pictavo::comdlg {

namespace {

// The number a WORD offset field can hold.
WORD ClampedOffset(size_t offset) {
  return static_cast<WORD>(std::min<size_t>(offset, 0xFFFF));
}

// `text` cut to at most `limit` bytes without splitting a character.
std::string_view CutToFit(std::string_view text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = end + std::max<size_t>(1, utf8::CharLength(text.substr(end)));
    if (next > limit) break;
    end = next;
  }
  return text.substr(0, end);
}

void WriteTitle(OPENFILENAMEA& ofn, std::string_view title) {
  if (!ofn.lpstrFileTitle || ofn.nMaxFileTitle == 0) return;
  const std::string_view fitted = CutToFit(title, ofn.nMaxFileTitle - 1);
  std::memcpy(ofn.lpstrFileTitle, fitted.data(), fitted.size());
  ofn.lpstrFileTitle[fitted.size()] = '\0';
}

}  // namespace

std::vector<std::string> SplitTypedNames(std::string_view text) {
  std::vector<std::string> names;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t i = 0;
  while (i < text.size() && blank(text[i])) ++i;
  if (i == text.size()) return names;
  if (text[i] != '"') {
    size_t end = text.size();
    while (end > i && blank(text[end - 1])) --end;
    names.emplace_back(text.substr(i, end - i));
    return names;
  }
  while (i < text.size()) {
    if (blank(text[i])) {
      ++i;
    } else if (text[i] == '"') {
      const size_t close = text.find('"', i + 1);
      const size_t end = close == std::string_view::npos ? text.size() : close;
      if (end > i + 1) names.emplace_back(text.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      // A bare word between quoted names is a name too.
      size_t end = i;
      while (end < text.size() && !blank(text[end]) && text[end] != '"') ++end;
      names.emplace_back(text.substr(i, end - i));
      i = end;
    }
  }
  return names;
}

std::string JoinTypedNames(const std::vector<std::string>& names) {
  if (names.size() == 1) return names.front();
  std::string text;
  for (const std::string& name : names) {
    if (!text.empty()) text += ' ';
    text += '"' + name + '"';
  }
  return text;
}

std::string DefaultExtension(LPCSTR defExt) {
  std::string_view ext = defExt ? std::string_view(defExt) : std::string_view();
  if (ext.starts_with("*")) ext.remove_prefix(1);
  if (ext.starts_with(".")) ext.remove_prefix(1);
  if (ext.find_first_of("*?") != std::string_view::npos) return {};
  return std::string(ext);
}

bool HasExtension(std::string_view name) {
  return name.find('.') != std::string_view::npos;
}

DWORD WriteChoice(OPENFILENAMEA& ofn, const Choice& choice) {
  const bool several = choice.names.size() > 1;
  const bool explorer = (ofn.Flags & OFN_EXPLORER) != 0;
  std::string buffer;  // what goes into lpstrFile, its final terminator excluded
  if (!several) {
    const std::string& name = choice.names.front();
    buffer = path::Join(choice.folder, name);
    const size_t nameOffset = buffer.size() - name.size();
    ofn.nFileOffset = ClampedOffset(nameOffset);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
      ofn.nFileExtension = ClampedOffset(buffer.size());
    } else {
      ofn.nFileExtension = dot + 1 == name.size() ? 0 : ClampedOffset(nameOffset + dot + 1);
    }
    const std::string defExt = DefaultExtension(ofn.lpstrDefExt);
    const std::string_view ext =
        dot == std::string::npos ? std::string_view() : std::string_view(name).substr(dot + 1);
    if (!defExt.empty() && !unicode::EqualsNoCase(ext, defExt)) {
      ofn.Flags |= OFN_EXTENSIONDIFFERENT;
    } else {
      ofn.Flags &= ~OFN_EXTENSIONDIFFERENT;
    }
  } else {
    buffer = choice.folder;
    ofn.nFileOffset = ClampedOffset(buffer.size() + 1);
    ofn.nFileExtension = 0;
    ofn.Flags &= ~OFN_EXTENSIONDIFFERENT;
    for (const std::string& name : choice.names) {
      if (!explorer && name.find(' ') != std::string::npos) return FNERR_INVALIDFILENAME;
      buffer += explorer ? '\0' : ' ';
      buffer += name;
    }
    if (explorer) buffer += '\0';  // the list ends with an empty name
  }
  const size_t needed = buffer.size() + 1;
  if (needed > ofn.nMaxFile) {
    if (ofn.nMaxFile >= 2) {
      const WORD size = ClampedOffset(needed);
      ofn.lpstrFile[0] = static_cast<char>(size & 0xFF);
      ofn.lpstrFile[1] = static_cast<char>(size >> 8);
    }
    return FNERR_BUFFERTOOSMALL;
  }
  std::memcpy(ofn.lpstrFile, buffer.data(), buffer.size());
  ofn.lpstrFile[buffer.size()] = '\0';
  WriteTitle(ofn, several ? std::string_view() : std::string_view(choice.names.front()));
  return 0;
}

}  // namespace pictavo::comdlg
