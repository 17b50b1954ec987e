#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/comdlg/FileFilter.h"
#include "platform/comdlg/FileSelection.h"
#include "platform/comdlg/FolderListing.h"

using namespace pictavo::comdlg;
using namespace std::string_literals;

namespace {

using Names = std::vector<std::string>;

TEST(FileFilter, PairsOfDescriptionAndPatternsWithBlanksTrimmed) {
  const std::string music =
      "Music Files(*.mp3;*.WMA;*.wav)\0*.mp3;*.WMA;*.wav\0\t\tMP3 (*.mp3)\0*.mp3\0 \t\tAll Files(*.*)\0*.*\0\0"s;
  const std::vector<FilterEntry> entries = ParseFilter(music.c_str());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].description, "Music Files(*.mp3;*.WMA;*.wav)");
  EXPECT_EQ(entries[0].patterns, (Names{"*.mp3", "*.WMA", "*.wav"}));
  EXPECT_EQ(entries[1].description, "MP3 (*.mp3)");
  EXPECT_EQ(entries[2].description, "All Files(*.*)");

  EXPECT_TRUE(ParseFilter(nullptr).empty());
  const std::string dangling = "Text\0*.txt\0Orphan\0\0"s;  // a description without patterns ends it
  EXPECT_EQ(ParseFilter(dangling.c_str()).size(), 1u);
  const std::string unnamed = "\0*.png\0\0"s;
  EXPECT_TRUE(ParseFilter(unnamed.c_str()).empty()) << "an empty first description ends the list";
}

TEST(FileFilter, NamesMatchWithoutRegardToCase) {
  const struct {
    const char* name;
    Names patterns;
    bool matches;
  } cases[] = {
      {"IMG_0001.JPG", {"*.jpg", "*.jpeg"}, true},
      {"clip.Png", {"*.PNG"}, true},
      {"song.mp3", {"*.wav"}, false},
      {"README", {"*.*"}, true},
      {"anything", {}, true},
      {"a.tiff", {"*.tif"}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesAny(c.name, c.patterns), c.matches) << c.name;
  EXPECT_EQ(SplitPatterns(" *.jpg ;; *.jpeg;"), (Names{"*.jpg", "*.jpeg"}));
}

TEST(TypedNames, OneNameOrSeveralInQuotes) {
  const struct {
    const char* text;
    Names names;
  } cases[] = {
      {"photo.jpg", {"photo.jpg"}},
      {"  my photo.jpg  ", {"my photo.jpg"}},
      {"\"quoted.jpg\"", {"quoted.jpg"}},
      {"\"a.jpg\" \"b b.jpg\"", {"a.jpg", "b b.jpg"}},
      {"\"a.jpg\"\"b.jpg\"", {"a.jpg", "b.jpg"}},
      {"\"a.jpg\" \"unclosed", {"a.jpg", "unclosed"}},
      {"   ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitTypedNames(c.text), c.names) << c.text;
  EXPECT_EQ(JoinTypedNames({"a.jpg"}), "a.jpg");
  EXPECT_EQ(JoinTypedNames({"a.jpg", "b b.jpg"}), "\"a.jpg\" \"b b.jpg\"");
}

TEST(TypedNames, DefaultExtensionsWrittenAsPatterns) {
  EXPECT_EQ(DefaultExtension("txt"), "txt");
  EXPECT_EQ(DefaultExtension(".wav"), "wav");
  EXPECT_EQ(DefaultExtension("*.iso"), "iso");
  EXPECT_EQ(DefaultExtension("*.*"), "");
  EXPECT_EQ(DefaultExtension(nullptr), "");
}

TEST(TypedPaths, ResolvedAgainstTheFolderShown) {
  const struct {
    const char* base;
    const char* typed;
    const char* path;
  } cases[] = {
      {"/home/u", "a.jpg", "/home/u/a.jpg"},
      {"/home/u", "/srv/b.jpg", "/srv/b.jpg"},
      {"/home/u", "sub\\c.jpg", "/home/u/sub/c.jpg"},
      {"/home/u", "../v/./d.jpg", "/home/v/d.jpg"},
      {"/home/u", "../../../..", "/"},
      {"/home/u", "photos/", "/home/u/photos"},
      {"/", "..", "/"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolvePath(c.base, c.typed), c.path) << c.typed;
  EXPECT_EQ(FolderChain("/home/u"), (Names{"/", "/home", "/home/u"}));
  EXPECT_TRUE(IsWithin("/home/u/x", "/home/u"));
  EXPECT_FALSE(IsWithin("/home/user", "/home/u"));
}

// The record the dialog writes on OK, with the buffer sizes around the limit.
struct Written {
  std::vector<char> file;
  char title[16] = {};
  OPENFILENAME ofn{};
  DWORD error = 0;

  Written(DWORD flags, size_t size, const Choice& choice, const char* defExt = nullptr) : file(size, '#') {
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(size);
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
    ofn.lpstrDefExt = defExt;
    ofn.Flags = flags;
    error = WriteChoice(ofn, choice);
  }
  size_t Needed() const { return static_cast<BYTE>(file[0]) | (static_cast<BYTE>(file[1]) << 8); }
};

TEST(WrittenChoice, OnePathWithItsOffsets) {
  const Choice choice{"/media/card", {"IMG_0001.JPG"}};
  const Written fits(OFN_EXPLORER, 25, choice);
  EXPECT_EQ(fits.error, 0u);
  EXPECT_STREQ(fits.file.data(), "/media/card/IMG_0001.JPG");
  EXPECT_EQ(fits.ofn.nFileOffset, 12);
  EXPECT_EQ(fits.ofn.nFileExtension, 21);
  EXPECT_STREQ(fits.title, "IMG_0001.JPG");

  const Written tooSmall(OFN_EXPLORER, 24, choice);
  EXPECT_EQ(tooSmall.error, FNERR_BUFFERTOOSMALL);
  EXPECT_EQ(tooSmall.Needed(), 25u);

  const Written noExtension(0, 64, Choice{"/tmp", {"README"}}, "txt");
  EXPECT_EQ(noExtension.ofn.nFileExtension, std::string("/tmp/README").size()) << "points at the end";
  EXPECT_TRUE(noExtension.ofn.Flags & OFN_EXTENSIONDIFFERENT);

  const Written longTitle(0, 64, Choice{"/tmp", {"a-rather-long-name.jpg"}});
  EXPECT_STREQ(longTitle.title, "a-rather-long-n") << "cut to the title buffer";
}

TEST(WrittenChoice, SeveralNamesInTheFormTheFlagsAsk) {
  const Choice choice{"/music", {"a.mp3", "b.mp3"}};
  const Written explorer(OFN_EXPLORER | OFN_ALLOWMULTISELECT, 64, choice);
  EXPECT_EQ(std::string(explorer.file.data(), 20), "/music\0a.mp3\0b.mp3\0\0"s);
  EXPECT_EQ(explorer.ofn.nFileOffset, 7);
  EXPECT_EQ(explorer.ofn.nFileExtension, 0);

  const Written older(OFN_ALLOWMULTISELECT, 64, choice);
  EXPECT_STREQ(older.file.data(), "/music a.mp3 b.mp3");

  const Written tooSmall(OFN_EXPLORER | OFN_ALLOWMULTISELECT, 19, choice);
  EXPECT_EQ(tooSmall.error, FNERR_BUFFERTOOSMALL);
  EXPECT_EQ(tooSmall.Needed(), 20u);
}

}  // namespace
