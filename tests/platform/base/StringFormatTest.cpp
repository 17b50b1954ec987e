#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "platform/base/CString.h"
#include "platform/base/StringFormat.h"

namespace {

// Formats with CString::Format, which every printf-like entry point shares.
template <class... Args>
std::string Fmt(const char* format, Args... args) {
  CString s;
  s.Format(format, args...);
  return s.Str();
}

TEST(StringFormat, IntegersFollowThePlatformWidths) {
  const int64_t big = 0x123456789LL;
  EXPECT_EQ(Fmt("%I64d", big), "4886718345");
  EXPECT_EQ(Fmt("%I64u", static_cast<uint64_t>(-1)), "18446744073709551615");
  EXPECT_EQ(Fmt("%I64x", big), "123456789");
  EXPECT_EQ(Fmt("%lld|%llu", LLONG_MIN, ULLONG_MAX), "-9223372036854775808|18446744073709551615");
  // `l` is 32 bits, as LONG and DWORD are.
  EXPECT_EQ(Fmt("%ld %lu %lx", static_cast<LONG>(-5), static_cast<DWORD>(4000000000u), 0xBEEFu),
            "-5 4000000000 beef");
  EXPECT_EQ(Fmt("%08lx", static_cast<DWORD>(0xABC)), "00000abc");
  EXPECT_EQ(Fmt("%hd %hu", 70000, 70000), "4464 4464");
  EXPECT_EQ(Fmt("%I32d %Id", -7, static_cast<intptr_t>(-8)), "-7 -8");
  EXPECT_EQ(Fmt("[%d,%u,%x,%X,%i,%o]", -12, 12u, 255, 255, 3, 8), "[-12,12,ff,FF,3,10]");
  EXPECT_EQ(
      Fmt("WriteFile( %I64d ) failed, status %ld!!!", static_cast<int64_t>(65536), static_cast<LONG>(112)),
      "WriteFile( 65536 ) failed, status 112!!!");
}

TEST(StringFormat, PaddingAndPrecision) {
  struct Case {
    const char* format;
    int value;
    const char* expected;
  };
  const Case kCases[] = {
      {"%02d", 5, "05"},      {"%02d", 123, "123"}, {"%03d", -4, "-04"}, {"%-4d|", 7, "7   |"},
      {"%+d", 7, "+7"},       {"% d", 7, " 7"},     {"%2.2d", 3, "03"},  {"%.3d", 9, "009"},
      {"%04X", 0xAB, "00AB"}, {"%#x", 255, "0xff"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Fmt(c.format, c.value), c.expected) << c.format;
  EXPECT_EQ(Fmt("%*d|%-*d|", 4, 1, 3, 2), "   1|2  |");
  EXPECT_EQ(Fmt("%.*f", 2, 3.14159), "3.14");
  EXPECT_EQ(Fmt("%.*f", -1, 0.5), "0.500000");  // a negative precision counts as none
}

TEST(StringFormat, FloatingPoint) {
  EXPECT_EQ(Fmt("%.2f", 2.005), "2.00");  // binary rounding, as the C library does
  EXPECT_EQ(Fmt("%.1f|%f", 0.25, 1.5), "0.2|1.500000");
  EXPECT_EQ(Fmt("%.4lf %.3lf", 1.0 / 3, 2.0), "0.3333 2.000");
  EXPECT_EQ(Fmt("%g %g", 100000.0, 1e-5), "100000 1e-05");
  EXPECT_EQ(Fmt("%.*g", 3, 1234.5), "1.23e+03");
  EXPECT_EQ(Fmt("%f", static_cast<double>(1.5f)), "1.500000");
}

TEST(StringFormat, TextAndCharacters) {
  EXPECT_EQ(Fmt("%s=%s", "key", "value"), "key=value");
  EXPECT_EQ(Fmt("[%5s][%-5s][%.2s]", "ab", "ab", "abcdef"), "[   ab][ab   ][ab]");
  EXPECT_EQ(Fmt("%s", static_cast<const char*>(nullptr)), "(null)");
  EXPECT_EQ(Fmt("%S|%ls|%ws", L"wide", L"\u00e9t\u00e9", L"x"), "wide|\xc3\xa9t\xc3\xa9|x");
  EXPECT_EQ(Fmt("%S", static_cast<const wchar_t*>(nullptr)), "(null)");
  EXPECT_EQ(Fmt("%hs", "narrow"), "narrow");
  EXPECT_EQ(Fmt("%c%c", 'o', 'k'), "ok");
  EXPECT_EQ(Fmt("%C:", 'E'), "E:");
  EXPECT_EQ(Fmt("%lc", 0x20AC), "\xe2\x82\xac");
  EXPECT_EQ(Fmt("100%% done"), "100% done");
}

TEST(StringFormat, OddSpecificationsDoNotDerail) {
  int written = 0;
  EXPECT_EQ(Fmt("a%nb", &written), "ab");
  EXPECT_EQ(written, 0);
  EXPECT_EQ(Fmt("%y %d", 3), "%y 3");  // unknown conversion: kept, no argument taken
  EXPECT_EQ(Fmt("tail %"), "tail %");
  EXPECT_EQ(Fmt("%p", reinterpret_cast<void*>(0xAB)), sizeof(void*) == 8 ? "00000000000000AB" : "000000AB");
  EXPECT_EQ(pictavo::Format("%s-%d", "n", 1), "n-1");
}

TEST(StringFormat, LongResultsAndAppending) {
  const std::string word(5000, 'w');
  EXPECT_EQ(Fmt("<%s>", word.c_str()), "<" + word + ">");
  CString s("x=");
  s.AppendFormat("%d", 42);
  s.AppendFormat(",%s", "y");
  EXPECT_EQ(s, "x=42,y");
  // Formatting a string into itself reads the old text first.
  CString self("abc");
  self.Format("%s%s", self.GetString(), self.GetString());
  EXPECT_EQ(self, "abcabc");
}

}  // namespace
