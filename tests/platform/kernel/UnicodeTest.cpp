#include <gtest/gtest.h>

#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Unicode.h"

TEST(MultiByteToWideChar, SizeQueryAndConversionWithTheTerminatingNul) {
  const char* text = "h\xC3\xA9llo \xF0\x9F\x98\x80";  // "héllo 😀"
  for (UINT codePage : {CP_ACP, CP_UTF8}) {
    EXPECT_EQ(MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0), 8) << codePage;
    wchar_t wide[8];
    ASSERT_EQ(MultiByteToWideChar(codePage, 0, text, -1, wide, 8), 8);
    EXPECT_EQ(std::wstring(wide), L"h\u00e9llo \U0001F600");
  }
  // An explicit length converts only those bytes, without a NUL.
  wchar_t two[2];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 3, two, 2), 2);
  EXPECT_EQ(two[1], L'\u00e9');
}

TEST(MultiByteToWideChar, ErrorsAndInvalidInput) {
  struct Case {
    UINT codePage;
    DWORD flags;
    const char* text;
    int length;
    int capacity;
    DWORD error;
  };
  const Case kFailures[] = {
      {CP_UTF8, 0, "abc", -1, 2, ERROR_INSUFFICIENT_BUFFER},
      {CP_UTF8, 0, "abc", 0, 8, ERROR_INVALID_PARAMETER},
      {1252, 0, "abc", -1, 8, ERROR_INVALID_PARAMETER},
      {CP_UTF8, MB_ERR_INVALID_CHARS,
       "a\xFF"
       "b",
       -1, 8, ERROR_NO_UNICODE_TRANSLATION},
      {CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3", -1, 8, ERROR_NO_UNICODE_TRANSLATION},
      {CP_UTF8, MB_PRECOMPOSED, "abc", -1, 8, ERROR_INVALID_FLAGS},
  };
  for (const Case& c : kFailures) {
    wchar_t out[8];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(c.codePage, c.flags, c.text, c.length, out, c.capacity), 0) << c.text;
    EXPECT_EQ(GetLastError(), c.error) << c.text;
  }
  // Without the flag every invalid byte becomes U+FFFD.
  wchar_t out[8];
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED,
                                "a\xFF\xC3"
                                "b",
                                4, out, 8),
            4);
  EXPECT_EQ(std::wstring(out, 4), L"a\uFFFD\uFFFDb");
  // Surrogates and overlong forms are invalid UTF-8.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xED\xA0\x80", 3, out, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC0\xAF", 2, out, 8), 0);
}

TEST(WideCharToMultiByte, SizeQueryConversionAndErrors) {
  const wchar_t* wide = L"Gr\u00fc\u00dfe \u65e5";
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr), 12);
  char out[12];
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, out, 12, nullptr, nullptr), 12);
  EXPECT_STREQ(out,
               "Gr\xC3\xBC\xC3\x9F"
               "e \xE6\x97\xA5");

  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, 11, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  BOOL used = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, 12, nullptr, &used), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(WideCharToMultiByte, SurrogatesAndTheDefaultCharacter) {
  // A UTF-16 pair is one character; a lone surrogate is replaced.
  const wchar_t pair[] = {0xD83D, 0xDE00, 0};
  char out[16];
  ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, pair, -1, out, 16, nullptr, nullptr), 5);
  EXPECT_STREQ(out, "\xF0\x9F\x98\x80");

  const wchar_t lone[] = {L'a', 0xDC00, L'b'};
  BOOL used = FALSE;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, lone, 3, out, 16, "?", &used), 3);
  EXPECT_EQ(std::string(out, 3), "a?b");
  EXPECT_TRUE(used);
  ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, lone, 3, out, 16, nullptr, nullptr), 5);
  EXPECT_EQ(std::string(out, 5),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, 3, out, 16, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(Unicode, NamesCompareWithoutRegardToCase) {
  using namespace pictavo::unicode;
  struct Case {
    const char* a;
    const char* b;
    int order;
  };
  const Case kCases[] = {
      {"Skins", "SKINS", 0},
      {"\xC3\x84rger", "\xC3\xA4RGER", 0},  // Ärger
      {"\xD0\x96", "\xD0\xB6", 0},          // Ж ж
      {"a", "B", -1},
      {"b", "A", 1},
      {"abc", "ab", 1},
      {"", "", 0},
  };
  for (const Case& c : kCases) {
    const int order = CompareNoCase(c.a, c.b);
    EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " / " << c.b;
    EXPECT_EQ(EqualsNoCase(c.a, c.b), c.order == 0) << c.a << " / " << c.b;
  }
  EXPECT_EQ(FoldCase("Talvane PICTAVO"), "talvane pictavo");
  EXPECT_FALSE(IsValidUtf8("\xFF"));
  EXPECT_TRUE(IsValidUtf8("\xE6\x97\xA5"));
}
