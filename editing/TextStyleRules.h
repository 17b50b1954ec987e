// The text page's arithmetic and the effect list, kept apart from the windows so that tables can
// check them.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "modules/data/TextRecords.h"
#include "platform/base/CString.h"

namespace textstyle {

// The spins' ranges: sizes 5 to 500 points, shadow offsets -500 to 500.
inline constexpr int kMinSize = 5;
inline constexpr int kMaxSize = 500;
inline constexpr int kMaxOffset = 500;
// The style the list starts on when the record remembers none.
inline constexpr int kInitialStyle = 3;
// More styles than any list will hold: a damaged file never makes the list grow past it.
inline constexpr int kMaxStyles = 1000;

// 500 -> 500, 520 -> 500, 4 -> 5, -5 -> 5.
int ClampSize(int nSize);
// 520 -> 500, -5 -> -5, -700 -> -500.
int ClampOffset(int nOffset);

// Parses an edit's text as a whole decimal integer: "12" -> 12, " -5 " -> -5; "", "-", "1x" and
// numbers past int give FALSE (typing is under way: the value stays as it was).
BOOL ParseEditInt(std::string_view text, int& nValue);

// The text of a record's fixed field, which may lack its terminator.
template <size_t N>
std::string_view FieldText(const char (&field)[N]) {
  size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string_view(field, length);
}

// The styles of an effect list file, in id order from 0: every "data" element present with the
// next id, whatever the "count" attribute says, at most kMaxStyles. Empty for a missing or
// unreadable file. `pnCount` (optional) receives the count the file claims, -1 without one.
std::vector<_TextEffect> ReadEffectList(const CString& path, int* pnCount = nullptr);

// The item selected when the list is filled: the fourth, or the last of a shorter list; -1 for
// an empty one. 0 -> -1, 3 -> 2, 9 -> 3.
int InitialStyleIndex(int nCount);
// A remembered index, when it names an item: (2, 3) -> 2, (3, 3) -> -1, (-1, 5) -> -1.
int StoredStyleIndex(int nStored, int nCount);

}  // namespace textstyle
