#include <gtest/gtest.h>

#include <optional>

#include "modules/xml/ValueNotation.h"

namespace {

using pictavo::xml::ParseColor;
using pictavo::xml::ParseInt;

TEST(ValueNotation, Colours) {
  struct Case {
    const char* text;
    std::optional<DWORD> value;
  };
  const Case cases[] = {
      {"#FF0000", RGB(255, 0, 0)},
      {"#00ff80", RGB(0, 255, 0x80)},
      {"  #102030 ", RGB(0x10, 0x20, 0x30)},
      {"0080FF", RGB(0, 0x80, 0xFF)},
      {"c0ffee", RGB(0xC0, 0xFF, 0xEE)},
      {"123456", RGB(0x12, 0x34, 0x56)},  // six digits are always RRGGBB
      {"255,128,0", RGB(255, 128, 0)},
      {" 1 , 2 , 3 ", RGB(1, 2, 3)},
      {"0", 0},
      {"24", 24},              // pixel heights come through the colour reader
      {"16777215", 0xFFFFFF},  // a decimal is the COLORREF value itself
      {"4294967295", 0xFFFFFFFF},
      {"", std::nullopt},
      {"#", std::nullopt},
      {"#FFF", std::nullopt},
      {"#GG0000", std::nullopt},
      {"#FF00001", std::nullopt},
      {"FF00", std::nullopt},
      {"1,2", std::nullopt},
      {"1,2,3,4", std::nullopt},
      {"256,0,0", std::nullopt},
      {"-1,0,0", std::nullopt},
      {"1,,3", std::nullopt},
      {"-5", std::nullopt},
      {"4294967296", std::nullopt},
      {"12px", std::nullopt},
      {"red", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseColor(c.text), c.value) << '"' << c.text << '"';
}

TEST(ValueNotation, Integers) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"-17", -17},
      {"+8", 8},
      {" 12 ", 12},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"2147483648", std::nullopt},
      {"12abc", std::nullopt},
      {"1.5", std::nullopt},
      {"0x10", std::nullopt},
      {"+-1", std::nullopt},
      {"- 1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInt(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
