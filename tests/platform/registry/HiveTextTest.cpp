#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry/HiveText.h"

using namespace pictavo::registry;

namespace {

std::vector<uint8_t> B(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// The lines a single value is written as.
std::string LineOf(uint32_t type, const std::vector<uint8_t>& data, const char* name = "v") {
  Key root;
  root.ChildOrNew("K").SetValue(name, type, data);
  const std::string text = FormatHive(root, "test");
  const size_t header = text.find("[K]\n");
  return text.substr(header + 4, text.size() - header - 5);
}

}  // namespace

TEST(HiveText, ValuesAreWrittenInTheirReadableForms) {
  struct Case {
    uint32_t type;
    std::vector<uint8_t> data;
    const char* line;
  };
  const Case kCases[] = {
      {kTypeString, B(std::string_view("C:/Photos\0", 10)), "\"v\"=sz:\"C:/Photos\""},
      {kTypeString, B("auto"), "\"v\"=sz-raw:\"auto\""},
      {kTypeString, B(std::string_view("", 0)), "\"v\"=sz-raw:\"\""},
      {kTypeExpandString, B(std::string_view("%TEMP%\0", 7)), "\"v\"=expand_sz:\"%TEMP%\""},
      {kTypeString, B(std::string_view("tab\there \"q\" \\ \xC3\xA4 \xFF\x01\0", 21)),
       "\"v\"=sz:\"tab\\there \\\"q\\\" \\\\ \xC3\xA4 \\xff\\x01\""},
      {kTypeString, B(std::string_view("a\0b\0", 4)), "\"v\"=sz:\"a\\0b\""},
      {kTypeMultiString, B(std::string_view("one\0two\0\0", 9)), "\"v\"=multi_sz:\"one\",\"two\""},
      {kTypeMultiString, B(std::string_view("\0", 1)), "\"v\"=multi_sz:"},
      {kTypeMultiString, B(std::string_view("a\0\0b\0\0", 6)), "\"v\"=hex(7):610000620000"},
      {kTypeDword, {0x2A, 0, 0, 0x80}, "\"v\"=dword:8000002a"},
      {kTypeDword, {1, 2}, "\"v\"=hex(4):0102"},
      {kTypeBinary, {0x00, 0xFF, 0x10}, "\"v\"=hex:00ff10"},
      {kTypeBinary, {}, "\"v\"=hex:"},
      {11, {1, 0, 0, 0, 0, 0, 0, 0}, "\"v\"=hex(b):0100000000000000"},
  };
  for (const Case& c : kCases) EXPECT_EQ(LineOf(c.type, c.data), c.line) << c.line;
  EXPECT_EQ(LineOf(kTypeDword, {1, 0, 0, 0}, ""), "@=dword:00000001");
}

TEST(HiveText, EveryTreeReadsBackExactly) {
  Key root;
  root.SetValue("at root", kTypeBinary, {1});
  Key& app = root.ChildOrNew("Software").ChildOrNew("Talvane Pictavo");
  app.ChildOrNew("General").SetValue("LastPhotoPath", kTypeString, B(std::string_view("/home/anna\0", 11)));
  app.ChildOrNew("Empty key");
  app.ChildOrNew("100% \x01odd]").SetValue("x\\y", kTypeDword, {9, 0, 0, 0});
  Key& bar = app.ChildOrNew("PlxToolBar-1");
  bar.SetValue("Buttons", kTypeBinary, std::vector<uint8_t>(256, 0xAB));
  bar.SetValue("", kTypeString, B(std::string_view("\0", 1)));
  bar.SetValue("Weird", 0x12345, B("raw"));

  const std::string text = FormatHive(root, "HKEY_CURRENT_USER");
  Key parsed;
  std::string error;
  ASSERT_TRUE(ParseHive(text, parsed, error)) << error << "\n" << text;
  EXPECT_EQ(FormatHive(parsed, "HKEY_CURRENT_USER"), text);

  const Key* odd = parsed.Find({"software", "TALVANE PICTAVO", "100% \x01odd]"});
  ASSERT_NE(odd, nullptr);
  ASSERT_NE(odd->FindValue("X\\Y"), nullptr);
  EXPECT_NE(parsed.Find({"Software", "Talvane Pictavo", "Empty key"}), nullptr);
  const Value* weird = parsed.Find({"Software", "Talvane Pictavo", "PlxToolBar-1"})->FindValue("weird");
  ASSERT_NE(weird, nullptr);
  EXPECT_EQ(weird->type, 0x12345u);
  EXPECT_EQ(weird->data, B("raw"));
  EXPECT_EQ(parsed.FindValue("at root")->data, std::vector<uint8_t>{1});
}

TEST(HiveText, HandEditedFormsAreAccepted) {
  const char* text =
      "\xEF\xBB\xBF; a comment first\r\n"
      "PICTAVO-REGISTRY 1\r\n"
      "\r\n"
      "  [Software\\App]  \r\n"
      "\"a\" = dword:0000000A\r\n"
      "@=sz:\"x\"\r\n"
      "\"list\"=multi_sz: \"p\" , \"q\"\r\n";
  Key root;
  std::string error;
  ASSERT_TRUE(ParseHive(text, root, error)) << error;
  const Key* app = root.Find({"Software", "App"});
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->FindValue("A")->data, (std::vector<uint8_t>{10, 0, 0, 0}));
  EXPECT_EQ(app->FindValue("")->data, B(std::string_view("x\0", 2)));
  EXPECT_EQ(app->FindValue("list")->data, B(std::string_view("p\0q\0\0", 5)));
}

TEST(HiveText, DamagedTextIsRefusedWithItsLine) {
  struct Case {
    std::string text;
    const char* where;
  };
  const std::string head = "PICTAVO-REGISTRY 1\n[K]\n";
  const Case kCases[] = {
      {"", "line 0"},
      {"; only a comment\n", "line 1"},
      {"PICTAVO-REGISTRY 2\n", "line 1"},
      {"garbage\n", "line 1"},
      {"PICTAVO-REGISTRY 1\n\"v\"=dword:00000001\n", "line 2"},
      {head + "\"v\"=dword:1\n", "line 3"},
      {head + "\"v\"=hex:0g\n", "line 3"},
      {head + "\"v\"=hex:012\n", "line 3"},
      {head + "\"v\"=sz:\"open\n", "line 3"},
      {head + "\"v\"=sz:\"bad \\q escape\"\n", "line 3"},
      {head + "\"v\"=sz:\"x\" trailing\n", "line 3"},
      {head + "\"v\"=float:1.5\n", "line 3"},
      {head + "v=sz:\"unquoted name\"\n", "line 3"},
      {head + "\"v\" sz:\"no equals\"\n", "line 3"},
      {head + "[A\\\\B]\n", "line 3"},
      {head + "[A%zz]\n", "line 3"},
      {head + "[A%5cB]\n", "line 3"},  // a name holding `\` would be written back as two keys
      {head + std::string("\"v\"=hex:00\0\n", 12), "line 3"},
      {head + "\"v\"=multi_sz:\"\"\n", "line 3"},
  };
  for (const Case& c : kCases) {
    Key root;
    root.ChildOrNew("untouched");
    std::string error;
    EXPECT_FALSE(ParseHive(c.text, root, error)) << c.text;
    EXPECT_EQ(error.rfind(c.where, 0), 0u) << c.text << " -> " << error;
    EXPECT_NE(root.Child("untouched"), nullptr) << "a failed parse changed the tree";
  }
}
