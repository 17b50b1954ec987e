// Theme files, text-effect styles and subtitle fonts as the pages read them through the data
// model.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "modules/data/AlbumEffect.h"
#include "modules/data/PhotoTextEffect.h"
#include "modules/data/SubtitleFont.h"
#include "modules/xml/XMLParse.h"
#include "tests/modules/data/DataFixtures.h"

using namespace datatest;

TEST(ThemeFiles, ParsedWithFilesBesideTheTheme) {
  ScratchDir dir;
  fs::create_directories(dir / "theme");
  WriteWholeFile(dir / "theme/Frame.PNG", "overlay");
  WriteWholeFile(
      dir / "theme/holiday.xml",
      "<theme name=\"Holiday\" movie=\"holiday.swf\" thumbnail=\"/abs/thumb.jpg\" overlay=\"frame.png\">"
      "<text font=\"DejaVu Serif\" size=\"30\" color=\"#FF8000\" align=\"2\" left=\"10\" top=\"20\" "
      "right=\"30\" bottom=\"40\"/>"
      "</theme>");
  _ALBUM_THEME theme{};
  ASSERT_TRUE(CAlbumEffect::ParseAlbumTheme((dir / "theme/holiday.xml").c_str(), &theme, dir.Path().c_str()));
  EXPECT_STREQ(theme.szThemeName, "Holiday");
  EXPECT_EQ(std::string(theme.szOverlayFile), dir / "theme/Frame.PNG");  // found without regard to case
  EXPECT_EQ(std::string(theme.szMovieFile), dir / "theme/holiday.swf");
  EXPECT_STREQ(theme.szThumbnailFile, "/abs/thumb.jpg");
  EXPECT_STREQ(theme.szFontFace, "DejaVu Serif");
  EXPECT_EQ(theme.clrText, RGB(255, 128, 0));
  EXPECT_EQ(theme.nTextAlign, 2);
  EXPECT_TRUE(CRect(theme.rcText) == CRect(10, 20, 30, 40));
  EXPECT_FALSE(CAlbumEffect::IsThemeNone(&theme));

  _ALBUM_THEME broken{};
  WriteWholeFile(dir / "theme/broken.xml", "<theme");
  EXPECT_FALSE(CAlbumEffect::ParseAlbumTheme((dir / "theme/broken.xml").c_str(), &broken, nullptr));
  EXPECT_STREQ(broken.szThemeName, "broken");
  _ALBUM_THEME none{};
  std::strcpy(none.szThemeName, "_NO_THEME");
  EXPECT_TRUE(CAlbumEffect::IsThemeNone(&none));
}

TEST(ThemeFiles, AlbumKeepsItsThemeByName) {
  CAlbumEffect effect;
  _ALBUM_THEME holiday{};
  std::strcpy(holiday.szThemeName, "Holiday");
  effect.SetTheme(&holiday);
  EXPECT_TRUE(effect.HasAlbumTheme());
  effect.DetachThemeRecord();
  EXPECT_FALSE(effect.HasTheme());
  EXPECT_EQ(effect.GetThemeName(), "Holiday");
}

TEST(TextEffects, StyleReadFromTheEffectList) {
  CXMLParse parser;
  ASSERT_TRUE(parser.InitXMLParseFromText(
      "<TEXT_EFFECT count=\"2\">"
      "<data id=\"0\" face=\"DejaVu Sans\" size=\"40\" bold=\"1\" shadow=\"1\" shadow_offset=\"4\">"
      "<brush kind=\"1\" color1=\"#FF0000\" color2=\"0,0,255\" angle=\"45\"/>"
      "<shadow_brush kind=\"0\" color=\"#202020\"/></data>"
      "<data id=\"1\" size=\"20\"/></TEXT_EFFECT>"));
  _TextEffect effect{};
  ASSERT_TRUE(CPhotoTextEffect::ReadEffectFromXML(parser, "//TEXT_EFFECT/data[@id=\"0\"]", &effect));
  EXPECT_STREQ(effect.szFaceName, "DejaVu Sans");
  EXPECT_EQ(effect.nFontSize, 40);
  EXPECT_EQ(effect.bBold, 1);
  EXPECT_EQ(effect.bItalic, 0);
  EXPECT_EQ(effect.nShadowOffset, 4);
  EXPECT_EQ(effect.brush.nBrushType, 1);
  EXPECT_EQ(effect.brush.clrGradient1, RGB(255, 0, 0));
  EXPECT_EQ(effect.brush.clrGradient2, RGB(0, 0, 255));
  EXPECT_EQ(effect.brush.nGradientAngle, 45);
  EXPECT_EQ(effect.shadowBrush.clrSolid, RGB(32, 32, 32));
  // A style without a face, or no style at all, is refused.
  EXPECT_FALSE(CPhotoTextEffect::ReadEffectFromXML(parser, "//TEXT_EFFECT/data[@id=\"1\"]", &effect));
  EXPECT_FALSE(CPhotoTextEffect::ReadEffectFromXML(parser, "//TEXT_EFFECT/data[@id=\"7\"]", &effect));
}

TEST(SubtitleFonts, CharsetsByNameAndIndex) {
  const CStringArray& names = CDVDSubtitleFont::GetCharsetInfoArray();
  ASSERT_GT(names.GetSize(), 1);
  for (INT_PTR i = 0; i < names.GetSize(); ++i) {
    EXPECT_EQ(CDVDSubtitleFont::GetCharsetIndex(names[i]), i);
    EXPECT_EQ(CDVDSubtitleFont::GetCharsetNameFromIndex(static_cast<int>(i)), names[i]);
  }
  EXPECT_EQ(CDVDSubtitleFont::GetCharsetIndex("greek"), CDVDSubtitleFont::GetCharsetIndex("Greek"));
  EXPECT_EQ(CDVDSubtitleFont::GetCharsetIndex("Klingon"), -1);
  EXPECT_TRUE(CDVDSubtitleFont::GetCharsetNameFromIndex(-1).IsEmpty());
  EXPECT_TRUE(fs::is_directory(CDVDSubtitleFont::GetSystemFontDirectory().GetString()));
}
