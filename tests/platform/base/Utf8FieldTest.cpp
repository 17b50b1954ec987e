#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/base/Utf8.h"

namespace {

// Fields of records hold at most size - 1 bytes and never half a character.
TEST(Utf8Field, CopiesAreCutBeforeACharacterThatWouldNotFitWhole) {
  struct Case {
    std::string text;
    size_t size;
    std::string kept;
  };
  const std::string e = "\xC3\xA9";             // é, 2 bytes
  const std::string euro = "\xE2\x82\xAC";      // €, 3 bytes
  const std::string clef = "\xF0\x9D\x84\x9E";  // 4 bytes
  const Case cases[] = {
      {"Arial", 260, "Arial"},
      {std::string(300, 'a'), 260, std::string(259, 'a')},
      {std::string(258, 'a') + e, 260,
       std::string(258, 'a')},  // 260 bytes: é would need the terminator's place
      {std::string(257, 'a') + e, 260, std::string(257, 'a') + e},
      {std::string(257, 'a') + euro, 260, std::string(257, 'a')},
      {std::string(256, 'a') + euro + "b", 260, std::string(256, 'a') + euro},
      {std::string(256, 'a') + clef, 260, std::string(256, 'a')},
      {"ab" + clef, 4, "ab"},
      {"", 260, ""},
      {"x", 1, ""},
  };
  for (const Case& c : cases) {
    char field[260];
    std::memset(field, 'Z', sizeof field);
    const size_t copied = pictavo::utf8::CopyToField(field, c.size, c.text);
    EXPECT_EQ(copied, c.kept.size()) << c.text.size() << " into " << c.size;
    EXPECT_EQ(std::string(field), c.kept) << c.text.size() << " into " << c.size;
    for (size_t i = c.kept.size(); i < c.size; ++i) EXPECT_EQ(field[i], '\0') << "byte " << i << " left over";
  }
}

}  // namespace
