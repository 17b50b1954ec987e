#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "modules/xml/XMLParse.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "tests/modules/xml/XmlFixtures.h"

namespace {

// A skin, effect lists and a text-effect list in the shapes the program reads them.
constexpr char kDocument[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<root>
  <skins>
    <skin folder="default"/>
    <window_color main_dlg="#D6E4F2" organize_page="EAF1F8" menu_page="12, 34, 56" burn_page="255"/>
    <general_tab_control color_normal="#000000" height_off="3" height_delta="24"/>
    <album_button button_height="28" button_count="2">
      <button id="0" x="4" y="5" width="40" height="30" tips="Add album"/>
      <button id="1" x="48" y="5" width="40" height="30" tips="Remove &amp; delete"/>
    </album_button>
    <skin_minor>
      <output_format_group folder="formats" bk_color="#E8E8E8">
        <bitmap id="0" file="avi.bmp"/>
        <bitmap id="15" file="mp4.bmp"/>
      </output_format_group>
    </skin_minor>
  </skins>
  <effect count="2">
    <item id="0" name="Fade in" duration="6">fade.avi</item>
    <item id="1" name="Roll" duration="oops"><![CDATA[roll & spin.avi]]></item>
  </effect>
  <TEXT_EFFECT count="9">
    <data id="8" font="Sans"/>
  </TEXT_EFFECT>
  <menu folder="19basic">Basic</menu>
</root>
)";

class ParsedDocument : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_xml.InitXMLParseFromText(kDocument)); }
  CXMLParse m_xml;
};

// Every path form the program builds, with the text attribute it reads.
struct TextCase {
  const char* path;
  const char* attribute;
  const char* expected;
};
const TextCase kTextCases[] = {
    {"//skins/skin", "folder", "default"},
    {"//skins/album_button/button[@id=\"1\"]", "tips", "Remove & delete"},
    {"//skins/skin_minor/output_format_group", "folder", "formats"},
    {"//skins/skin_minor/output_format_group/bitmap[@id=\"15\"]", "file", "mp4.bmp"},
    {"//effect/item[@id=\"0\"]", "name", "Fade in"},
    {"//TEXT_EFFECT/data[@id=\"8\"]", "font", "Sans"},
    {"//menu", "folder", "19basic"},
    {"/root/skins/skin", "folder", "default"},
};

TEST_F(ParsedDocument, TextAttributesOfEveryPathForm) {
  for (const auto& c : kTextCases) {
    CString value = "preset";
    EXPECT_TRUE(m_xml.GetElementAttribute(c.path, c.attribute, value)) << c.path;
    EXPECT_EQ(value, c.expected) << c.path;
  }
}

TEST_F(ParsedDocument, PathsBuiltWithFormatLikeTheCallers) {
  CString path;
  path.Format("//skins/%s/%s", "skin_minor", "output_format_group");
  path += "/bitmap[@id=";
  path.AppendFormat("\"%d\"]", 0);
  CString file;
  EXPECT_TRUE(m_xml.GetElementAttribute(path, "file", file));
  EXPECT_EQ(file, "avi.bmp");

  path.Format("//skins/%s", "album_button");
  int height = 0;
  EXPECT_TRUE(m_xml.GetElementAttribute(path, "button_height", height));
  EXPECT_EQ(height, 28);
}

// Whatever is missing or unreadable leaves the caller's preset value in place.
struct MissCase {
  const char* path;
  const char* attribute;
};
const MissCase kMisses[] = {
    {"//skins/nothing", "folder"},                    // no such element
    {"//skins/skin", "colour"},                       // no such attribute
    {"//skins/album_button/button[@id=\"7\"]", "x"},  // no such id
    {"//skins/skin_minor/misc_bitmap/bitmap[@id=\"0\"]", "file"},
    {"//skins/[", "folder"},  // not an expression
    {"", "folder"},
    {nullptr, "folder"},
    {"//skins/skin", nullptr},
    {"//skins/skin/@folder", "folder"},  // selects an attribute, not an element
};

TEST_F(ParsedDocument, MissingElementOrAttributeLeavesTheVariable) {
  for (const auto& c : kMisses) {
    CString text = "preset";
    int number = -7;
    DWORD color = 0x123456;
    const std::string what = c.path ? c.path : "(null)";
    EXPECT_FALSE(m_xml.GetElementAttribute(c.path, c.attribute, text)) << what;
    EXPECT_FALSE(m_xml.GetElementAttribute(c.path, c.attribute, number)) << what;
    EXPECT_FALSE(m_xml.GetElementAttributeColor(c.path, c.attribute, color)) << what;
    EXPECT_EQ(text, "preset") << what;
    EXPECT_EQ(number, -7) << what;
    EXPECT_EQ(color, 0x123456u) << what;
  }
  CString text = "preset";
  EXPECT_FALSE(m_xml.GetElementText("//skins/nothing", text));
  EXPECT_EQ(text, "preset");
}

TEST_F(ParsedDocument, IntegersAreWholeDecimalsOnly) {
  struct Case {
    const char* path;
    const char* attribute;
    bool read;
    int value;
  };
  const Case cases[] = {
      {"//skins/album_button", "button_count", true, 2},
      {"//skins/album_button/button[@id=\"1\"]", "x", true, 48},
      {"//effect", "count", true, 2},
      {"//effect/item[@id=\"0\"]", "duration", true, 6},
      {"//effect/item[@id=\"1\"]", "duration", false, -1},  // "oops"
      {"//skins/skin", "folder", false, -1},
      {"//skins/window_color", "main_dlg", false, -1},
  };
  for (const auto& c : cases) {
    int value = -1;
    EXPECT_EQ(m_xml.GetElementAttribute(c.path, c.attribute, value), c.read ? TRUE : FALSE) << c.attribute;
    EXPECT_EQ(value, c.value) << c.path << " " << c.attribute;
  }
}

TEST_F(ParsedDocument, ColoursInEveryNotationAndHeightsAsNumbers) {
  struct Case {
    const char* attribute;
    const char* path;
    DWORD value;
  };
  const Case cases[] = {
      {"main_dlg", "//skins/window_color", RGB(0xD6, 0xE4, 0xF2)},
      {"organize_page", "//skins/window_color", RGB(0xEA, 0xF1, 0xF8)},
      {"menu_page", "//skins/window_color", RGB(12, 34, 56)},
      {"burn_page", "//skins/window_color", 255},  // a decimal is the value itself
      {"color_normal", "//skins/general_tab_control", RGB(0, 0, 0)},
      {"height_off", "//skins/general_tab_control", 3},
      {"height_delta", "//skins/general_tab_control", 24},
  };
  for (const auto& c : cases) {
    DWORD value = 0xFFFFFFFF;
    EXPECT_TRUE(m_xml.GetElementAttributeColor(c.path, c.attribute, value)) << c.attribute;
    EXPECT_EQ(value, c.value) << c.attribute;
  }
}

TEST_F(ParsedDocument, ElementTextIncludesCdataAndEntities) {
  struct Case {
    const char* path;
    const char* text;
  };
  const Case cases[] = {
      {"//effect/item[@id=\"0\"]", "fade.avi"},
      {"//effect/item[@id=\"1\"]", "roll & spin.avi"},
      {"//menu", "Basic"},
      {"//skins/skin", ""},  // present but empty: read as empty
  };
  for (const auto& c : cases) {
    CString text = "preset";
    EXPECT_TRUE(m_xml.GetElementText(c.path, text)) << c.path;
    EXPECT_EQ(text, c.text) << c.path;
  }
}

TEST(XMLParseFile, ReadsFilesWithEitherSeparator) {
  const std::string path = xmltest::WriteTemp("sep/skin.xml", R"(<skins><skin folder="blue"/></skins>)");
  std::string windowsStyle = path;
  for (char& ch : windowsStyle)
    if (ch == '/') ch = '\\';
  for (const std::string& p : {path, windowsStyle}) {
    CXMLParse xml;
    ASSERT_TRUE(xml.InitXMLParse(CString(p))) << p;
    CString folder;
    EXPECT_TRUE(xml.GetElementAttribute("//skins/skin", "folder", folder));
    EXPECT_EQ(folder, "blue");
  }
}

// Damaged, empty and missing files fail cleanly, and a reader that failed holds nothing (even
// if it held a good document before).
TEST(XMLParseFile, BadFilesGiveZeroAndAnEmptyReader) {
  struct Case {
    const char* name;
    const char* bytes;  // null: no file at all
    DWORD error;
  };
  const Case cases[] = {
      {"truncated.xml", "<skins><skin folder=\"blue\"/>", ERROR_INVALID_DATA},
      {"garbage.xml", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR", ERROR_INVALID_DATA},
      {"empty.xml", "", ERROR_INVALID_DATA},
      {"blank.xml", "  \n\t ", ERROR_INVALID_DATA},
      {"twoRoots.xml", "<a/><b/>", ERROR_INVALID_DATA},
      {"missing.xml", nullptr, ERROR_FILE_NOT_FOUND},
  };
  const std::string good = xmltest::WriteTemp("good.xml", R"(<skins><skin folder="blue"/></skins>)");
  for (const auto& c : cases) {
    const std::string path =
        c.bytes ? xmltest::WriteTemp(c.name, c.bytes) : (xmltest::TempFolder() / c.name).string();
    CXMLParse xml;
    ASSERT_TRUE(xml.InitXMLParse(CString(good)));
    SetLastError(0);
    EXPECT_FALSE(xml.InitXMLParse(CString(path))) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
    CString folder = "preset";
    EXPECT_FALSE(xml.GetElementAttribute("//skins/skin", "folder", folder)) << c.name;
    EXPECT_EQ(folder, "preset");
  }
  CXMLParse xml;
  EXPECT_FALSE(xml.InitXMLParse(CString("")));
  EXPECT_FALSE(xml.InitXMLParse(CString(xmltest::TempFolder().string())));  // a folder
  CString text = "preset";
  EXPECT_FALSE(xml.GetElementText("//skins", text));  // never parsed
  EXPECT_EQ(text, "preset");
}

TEST(XMLParseFile, UnreadableFileFails) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const std::string path = xmltest::WriteTemp("locked.xml", "<a/>");
  std::filesystem::permissions(path, std::filesystem::perms::none);
  CXMLParse xml;
  EXPECT_FALSE(xml.InitXMLParse(CString(path)));
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

}  // namespace
