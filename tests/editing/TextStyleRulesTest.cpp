#include "editing/TextStyleRules.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ScratchDir.h"

namespace {

TEST(TextStyleRules, SizesAndOffsetsStayInTheSpinsRanges) {
  struct Case {
    int typed, size, offset;
  };
  // A typed 500 is the spin's own top: it is kept, not taken as 0; past the ends values stop there.
  const Case cases[] = {{500, 500, 500}, {520, 500, 500}, {-5, 5, -5},     {0, 5, 0},
                        {36, 36, 36},    {4, 5, 4},       {-700, 5, -500}, {1000000, 500, 500}};
  for (const Case& c : cases) {
    EXPECT_EQ(textstyle::ClampSize(c.typed), c.size) << c.typed;
    EXPECT_EQ(textstyle::ClampOffset(c.typed), c.offset) << c.typed;
  }
}

TEST(TextStyleRules, OnlyWholeNumbersAreReadFromAnEdit) {
  struct Case {
    const char* text;
    bool read;
    int value;
  };
  const Case cases[] = {{"12", true, 12}, {" -5 ", true, -5}, {"+7", true, 7},           {"", false, 99},
                        {"-", false, 99}, {"1x", false, 99},  {"99999999999", false, 99}};
  for (const Case& c : cases) {
    int value = 99;
    EXPECT_EQ(textstyle::ParseEditInt(c.text, value) != FALSE, c.read) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(TextStyleRules, TheListSelectsOnlyItemsItHas) {
  struct Case {
    int count, initial, stored, kept;
  };
  const Case cases[] = {{0, -1, 0, -1}, {1, 0, 0, 0},   {3, 2, 3, -1},
                        {4, 3, 3, 3},   {9, 3, -1, -1}, {9, 3, -7, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(textstyle::InitialStyleIndex(c.count), c.initial) << c.count;
    EXPECT_EQ(textstyle::StoredStyleIndex(c.stored, c.count), c.kept) << c.stored << " of " << c.count;
  }
}

std::string Style(int id, const char* face) {
  return "<data id=\"" + std::to_string(id) + "\" face=\"" + face + "\" size=\"30\"/>";
}

TEST(TextStyleRules, EffectListsGiveTheStylesTheyHoldWhateverTheirCountSays) {
  struct Case {
    const char* name;
    std::string xml;  // empty: no file
    int styles, claimed;
  };
  const std::string three = Style(0, "A") + Style(1, "B") + Style(2, "C");
  const Case cases[] = {
      {"missing", "", 0, -1},
      {"three styles", "<TEXT_EFFECT count=\"3\">" + three + "</TEXT_EFFECT>", 3, 3},
      {"count far too big", "<TEXT_EFFECT count=\"2000000000\">" + three + "</TEXT_EFFECT>", 3, 2000000000},
      {"count too small", "<TEXT_EFFECT count=\"1\">" + three + "</TEXT_EFFECT>", 3, 1},
      {"negative count", "<TEXT_EFFECT count=\"-4\">" + three + "</TEXT_EFFECT>", 3, -4},
      {"no count", "<TEXT_EFFECT>" + three + "</TEXT_EFFECT>", 3, -1},
      {"a gap ends the list", "<TEXT_EFFECT count=\"3\">" + Style(0, "A") + Style(2, "C") + "</TEXT_EFFECT>",
       1, 3},
      {"a style without a face ends it",
       "<TEXT_EFFECT count=\"2\">" + Style(0, "A") + "<data id=\"1\"/></TEXT_EFFECT>", 1, 2},
      {"not XML", "<TEXT_EFFECT count=\"3\">" + three, 0, -1},
  };
  for (const Case& c : cases) {
    pictavo::test::ScratchDir folder;
    const std::string path = folder.Path() + "/effect_list.xml";
    if (!c.xml.empty()) pictavo::test::WriteWholeFile(path, c.xml);
    int claimed = 0;
    const std::vector<_TextEffect> styles = textstyle::ReadEffectList(path.c_str(), &claimed);
    EXPECT_EQ(static_cast<int>(styles.size()), c.styles) << c.name;
    EXPECT_EQ(claimed, c.claimed) << c.name;
    if (!styles.empty()) EXPECT_STREQ(styles[0].szFaceName, "A") << c.name;
  }
}

TEST(TextStyleRules, TheShippedListHasAtLeastFourStylesWithTheirTextures) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  const std::string folder = std::string(source) + "/data/texteffect";
  int claimed = 0;
  const std::vector<_TextEffect> styles =
      textstyle::ReadEffectList((folder + "/effect_list.xml").c_str(), &claimed);
  EXPECT_GE(styles.size(), 4u);
  EXPECT_EQ(claimed, static_cast<int>(styles.size()));
  for (const _TextEffect& style : styles)
    if (style.brush.nBrushType == 2)
      EXPECT_TRUE(std::filesystem::exists(folder + "/texture/" + style.brush.szTextureFile))
          << style.brush.szTextureFile;
}

}  // namespace
