#include "controls/ListSortCompare.h"

#include <strings.h>
#include <time.h>

#include <cstdlib>
#include <cstring>

namespace {

int Sign(long long value) {
  return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// Bytes of UTF-8 compare in code point order, which is what a multibyte-aware compare gives.
int CompareText(const char* a, const char* b) {
  return Sign(std::strcmp(a, b));
}

int CompareTextNoCase(const char* a, const char* b) {
  return Sign(strcasecmp(a, b));
}

int CompareLength(const char* a, const char* b) {
  const size_t la = std::strlen(a), lb = std::strlen(b);
  if (la != lb) return la < lb ? -1 : 1;
  return CompareTextNoCase(a, b);
}

}  // namespace

BOOL ParseListDateTime(const char* text, long long* seconds) {
  static const char* const kForms[] = {
      "%Y-%m-%d %H:%M:%S", "%Y-%m-%d %H:%M", "%Y-%m-%d", "%Y/%m/%d %H:%M:%S", "%Y/%m/%d %H:%M", "%Y/%m/%d",
      "%m/%d/%Y %H:%M:%S", "%m/%d/%Y %H:%M", "%m/%d/%Y", "%Y:%m:%d %H:%M:%S", "%H:%M:%S"};
  if (text == nullptr) return FALSE;
  while (*text == ' ') ++text;
  if (*text == '\0') return FALSE;
  for (const char* form : kForms) {
    struct tm parts {};
    const char* end = strptime(text, form, &parts);
    if (end == nullptr) continue;
    while (*end == ' ') ++end;
    if (*end != '\0') continue;
    if (parts.tm_year == 0 && parts.tm_mday == 0) parts.tm_mday = 30, parts.tm_year = -1;  // a time alone
    *seconds = static_cast<long long>(timegm(&parts));
    return TRUE;
  }
  return FALSE;
}

int CompareListSortTexts(const char* a, const char* b, LPARAM lParamSort) {
  if (a == nullptr) a = "";
  if (b == nullptr) b = "";
  const int sign = lParamSort >= 0 ? 1 : -1;
  const long kind = lParamSort >= 0 ? static_cast<long>(lParamSort) : -static_cast<long>(lParamSort);
  int result = 0;
  switch (kind) {
    case LIST_SORT_LONG:
      result = Sign(static_cast<long long>(std::atol(a)) - std::atol(b));
      break;
    case LIST_SORT_DOUBLE: {
      const double x = std::atof(a), y = std::atof(b);
      result = x < y ? -1 : (x > y ? 1 : 0);
      break;
    }
    case LIST_SORT_TEXT:
      result = CompareText(a, b);
      break;
    case LIST_SORT_TEXT_NOCASE:
      result = CompareTextNoCase(a, b);
      break;
    case LIST_SORT_DATE: {
      long long x = 0, y = 0;
      if (ParseListDateTime(a, &x) && ParseListDateTime(b, &y))
        result = x == y ? 0 : (x < y ? -1 : 1);
      else
        result = CompareLength(a, b);
      break;
    }
    case LIST_SORT_LENGTH:
      result = CompareLength(a, b);
      break;
    default:
      return 0;
  }
  return result * sign;
}
