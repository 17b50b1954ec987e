// The filters of the file dialogs: descriptions with their pattern lists, and matching names
// against them without regard to case (a camera's IMG_0001.JPG is a "*.jpg").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::comdlg {

struct FilterEntry {
  std::string description;  // as shown: blanks and tabs around it trimmed
  std::vector<std::string> patterns;
};

// The pairs of a filter list "Desc\0*.a;*.b\0...\0\0". A description without a pattern list after
// it ends the list; a description of blanks only shows its patterns instead. Null gives no
// entries.
std::vector<FilterEntry> ParseFilter(LPCSTR filter);
// "*.jpg; *.jpeg" -> {"*.jpg", "*.jpeg"}: split at ';', blanks trimmed, empty parts dropped.
std::vector<std::string> SplitPatterns(std::string_view text);
// True when one of the patterns matches the name; an empty list matches every name.
bool MatchesAny(std::string_view name, const std::vector<std::string>& patterns);

}  // namespace pictavo::comdlg
