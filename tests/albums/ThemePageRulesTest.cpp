#include "albums/ThemePageRules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;
using pictavo::test::ScratchDir;

namespace {

std::string List(const std::string& count, const std::string& items) {
  return "<?xml version=\"1.0\"?>\n<effect count=\"" + count + "\">\n" + items + "</effect>\n";
}
std::string Item(const std::string& id, const std::string& name, const std::string& file, int duration = 5) {
  return "  <item id=\"" + id + "\" name=\"" + name + "\" duration=\"" + std::to_string(duration) + "\">" + file +
         "</item>\n";
}

}  // namespace

// Only the items with ids 0 .. count - 1 that the file holds, first of each id, in id order.
TEST(ThemePageRules, EffectListTakesTheItemsThatExistWhateverCountSays) {
  ScratchDir folder;
  const std::string longName(300, 'x');
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> names;
    size_t refused;
  };
  const Case cases[] = {
      {"count 2 of three", List("2", Item("0", "A", "a.xml") + Item("1", "B", "b.xml") + Item("2", "C", "c.xml")),
       {"A", "B"}, 0},
      {"count larger than the file", List("5", Item("0", "A", "a.xml") + Item("1", "B", "b.xml")), {"A", "B"}, 0},
      {"ids out of order and a gap", List("3", Item("2", "C", "c.xml") + Item("0", "A", "a.xml")), {"A", "C"}, 0},
      {"a huge count", List("2147483647", Item("0", "A", "a.xml")), {"A"}, 0},
      {"an id twice: the first", List("1", Item("0", "First", "a.xml") + Item("0", "Second", "b.xml")), {"First"}, 0},
      {"\"01\" is not 1", List("2", Item("01", "Padded", "a.xml") + Item("1", "One", "b.xml")), {"One"}, 0},
      {"negative and missing ids", List("2", Item("-1", "Neg", "a.xml") + "<item name=\"NoId\">n.xml</item>" +
                                                 Item("1", "One", "b.xml")),
       {"One"}, 0},
      {"a path too long for the record", List("2", Item("0", "Long", longName) + Item("1", "B", "b.xml")), {"B"}, 1},
      {"count 0", List("0", Item("0", "A", "a.xml")), {}, 0},
      {"not XML", "<effect count=\"1\"><item id=\"0\"", {}, 0},
  };
  for (const Case& c : cases) {
    const fs::path file = folder / "list.xml";
    std::ofstream(file, std::ios::trunc) << c.text;
    std::vector<std::string> refused;
    const std::vector<_TITLE_EFFECT> entries =
        ReadTitleEffectList(file.c_str(), (folder / "effects").c_str(), &refused);
    std::vector<std::string> names;
    for (const _TITLE_EFFECT& e : entries) names.push_back(e.szName);
    EXPECT_EQ(names, c.names) << c.what;
    EXPECT_EQ(refused.size(), c.refused) << c.what;
  }
}

TEST(ThemePageRules, EffectEntriesHoldFullPathsDurationsAndShortNames) {
  ScratchDir folder;
  const std::string name(150, 'n');
  std::ofstream(folder / "list.xml") << List("1", Item("0", name, " rise.xml ", 7));
  const std::vector<_TITLE_EFFECT> entries =
      ReadTitleEffectList((folder / "list.xml").c_str(), (folder / "effects").c_str());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(std::string(entries[0].szName), name.substr(0, 99));
  EXPECT_EQ(std::string(entries[0].szEffectFile), (fs::path(folder.Path()) / "effects" / "rise.xml").string());
  EXPECT_EQ(entries[0].nDefaultDuration, 7);
}

TEST(ThemePageRules, TextFieldsAreCutOnCharacterBoundaries) {
  const std::string e = "\xC3\xA9";        // 2 bytes
  const std::string euro = "\xE2\x82\xAC";  // 3 bytes
  struct Case {
    std::string text;
    size_t size;
    std::string stored;
  };
  const Case cases[] = {
      {"abc", 10, "abc"},
      {"abcdefghij", 10, "abcdefghi"},
      {"abcdefgh" + e, 10, "abcdefgh"},
      {"abcdefg" + e, 10, "abcdefg" + e},
      {"abcdefg" + euro, 10, "abcdefg"},
      {"abcdef" + euro, 10, "abcdef" + euro},
      {euro + euro + euro + euro, 10, euro + euro + euro},
      {"", 1, ""},
  };
  for (const Case& c : cases) {
    std::vector<char> field(c.size, 'Z');
    const size_t n = CopyTextField(field.data(), field.size(), c.text.c_str());
    EXPECT_EQ(std::string(field.data()), c.stored) << c.text;
    EXPECT_EQ(n, c.stored.size()) << c.text;
  }
}

TEST(ThemePageRules, MovieVariablesAndPreviewArithmetic) {
  EXPECT_EQ(std::string(MovieColorText(RGB(255, 128, 0))), "0xff8000");
  EXPECT_EQ(std::string(MovieColorText(RGB(0, 0, 0))), "0x000000");
  struct Size {
    int size;
    BOOL sent;
  };
  for (const Size s : {Size{20, FALSE}, Size{21, TRUE}, Size{149, TRUE}, Size{150, FALSE}})
    EXPECT_EQ(SendsFontSize(s.size), s.sent) << s.size;
  struct Box {
    int w, h;
    RECT box;
  };
  for (const Box& b : {Box{400, 400, {0, 50, 400, 350}}, Box{800, 300, {200, 0, 600, 300}},
                       Box{400, 300, {0, 0, 400, 300}}, Box{474, 254, {68, 0, 406, 254}}}) {
    const RECT r = PreviewLetterbox(b.w, b.h);
    EXPECT_EQ(r.left, b.box.left) << b.w << "x" << b.h;
    EXPECT_EQ(r.top, b.box.top) << b.w << "x" << b.h;
    EXPECT_EQ(r.right, b.box.right) << b.w << "x" << b.h;
    EXPECT_EQ(r.bottom, b.box.bottom) << b.w << "x" << b.h;
  }
  EXPECT_EQ(std::string(PreviewSecondsText(0)), "0 seconds");
  EXPECT_EQ(std::string(PreviewSecondsText(2500)), "2 seconds");
  EXPECT_EQ(std::string(PreviewSecondsText(5000)), "5 seconds");
}

// The preview column and the list are centred together; the preview takes the height the two
// pages leave; the list runs beside it to the pages' bottom.
TEST(ThemePageRules, LayoutCentresThePreviewColumnAndTheList) {
  const RECT title{9, 280, 483, 380};  // d = 100
  const RECT list{515, 26, 717, 480};
  const ThemePageLayout wide = LayOutThemePage(772, 516, title, list, 26, 100);
  EXPECT_EQ(wide.preview.left, (515 + 9 + 772 - 717 - 483 - 10) / 2);
  EXPECT_EQ(wide.preview.bottom - wide.preview.top, 516 - 200 - 50);
  EXPECT_EQ(wide.titlePage.top, wide.preview.bottom + 10);
  EXPECT_EQ(wide.creditPage.top, wide.titlePage.bottom);
  EXPECT_EQ(wide.list.left, wide.preview.right + 20);
  EXPECT_EQ(wide.list.bottom - wide.list.top, 2 * 100 + 266);
  // Too low for the pages: the preview keeps its height; too narrow: the column stays put.
  const ThemePageLayout small = LayOutThemePage(500, 250, title, list, 26, 120);
  EXPECT_EQ(small.preview.bottom - small.preview.top, 120);
  EXPECT_EQ(small.preview.left, 9);
}
