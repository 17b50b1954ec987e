#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "modules/xml/DVDMenu.h"
#include "modules/xml/MenuTemplate.h"
#include "modules/xml/XMLParse.h"
#include "tests/modules/xml/MenuFixtures.h"
#include "tests/modules/xml/XmlFixtures.h"

namespace {

using pictavo::menu::ParseMenuTemplate;

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return IntersectRect(&both, &a, &b) != FALSE;
}

// The template catalogue reads four things through the XML reader; each shipped template has
// them, and its preview picture is where they say.
TEST(ShippedTemplates, CatalogueFieldsAndPreviewPicture) {
  for (const char* name : menutest::kShippedTemplates) {
    const std::string path = menutest::TemplateFolder() + "/" + name;
    CXMLParse xml;
    ASSERT_TRUE(xml.InitXMLParse(CString(path))) << name;
    CString title, folder, preview, description;
    EXPECT_TRUE(xml.GetElementText("//menu", title)) << name;
    EXPECT_TRUE(xml.GetElementAttribute("//menu", "folder", folder)) << name;
    EXPECT_TRUE(xml.GetElementText("//preview_image", preview)) << name;
    EXPECT_TRUE(xml.GetElementText("//description", description)) << name;
    EXPECT_FALSE(title.IsEmpty()) << name;
    EXPECT_LT(title.GetLength(), 100) << name;
    EXPECT_LT(description.GetLength(), 1024) << name;
    EXPECT_TRUE(std::filesystem::is_regular_file(menutest::TemplateFolder() + "/" + folder.Str() + "/" +
                                                 preview.Str()))
        << name;
  }
}

// Every entry lies on the screen and no two things a viewer picks overlap.
TEST(ShippedTemplates, LayoutsAreSane) {
  const RECT screen{0, 0, 768, 576};
  for (const char* name : menutest::kShippedTemplates) {
    std::string error;
    const auto t = pictavo::menu::ReadMenuTemplate(menutest::TemplateFolder() + "/" + name, error);
    ASSERT_TRUE(t) << name << ": " << error;
    EXPECT_GE(t->slots.size(), 4u) << name;
    EXPECT_LE(t->slots.size(), 8u) << name;
    std::vector<RECT> picked = {t->title.rect, t->buttons[0].rect, t->buttons[1].rect};
    for (const auto& slot : t->slots) {
      picked.push_back(slot.thumbnail);
      picked.push_back(slot.text);
      EXPECT_TRUE(PtInRect(&slot.thumbnail, slot.index)) << name << ": the number sits on the thumbnail";
    }
    if (t->pageIndex) picked.push_back(t->pageIndex->rect);
    for (size_t i = 0; i < picked.size(); ++i) {
      EXPECT_TRUE(Inside(picked[i], screen)) << name << " #" << i;
      for (size_t j = i + 1; j < picked.size(); ++j)
        EXPECT_FALSE(Overlap(picked[i], picked[j])) << name << " #" << i << "/" << j;
    }
  }
}

TEST(ShippedTemplates, AreDistinct) {
  std::vector<std::string> names, folders;
  for (const char* name : menutest::kShippedTemplates) {
    std::string error;
    const auto t = pictavo::menu::ReadMenuTemplate(menutest::TemplateFolder() + "/" + name, error);
    ASSERT_TRUE(t) << error;
    for (const auto& seen : names) EXPECT_NE(seen, t->name);
    for (const auto& seen : folders) EXPECT_NE(seen, t->folder);
    names.push_back(t->name);
    folders.push_back(t->folder);
  }
}

// A minimal valid template; the cases below break one thing each.
constexpr char kMinimal[] = R"(<dvd_menu version="1">
  <menu folder="m">Minimal</menu>
  <title x="10" y="10" width="300" height="40"/>
  <albums><album><thumbnail x="10" y="100" width="80" height="60"/><text x="100" y="110" width="200" height="30"/><index x="12" y="102"/></album></albums>
  <button id="0" x="10" y="500" width="40" height="40"/>
  <button id="1" x="700" y="500" width="40" height="40"/>
</dvd_menu>)";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(MenuTemplate, MinimalTemplateTakesDefaults) {
  std::string error;
  const auto t = ParseMenuTemplate(kMinimal, error);
  ASSERT_TRUE(t) << error;
  EXPECT_EQ(t->name, "Minimal");
  EXPECT_EQ(t->seconds, 10);
  EXPECT_EQ(t->slots.size(), 1u);
  EXPECT_FALSE(t->pageIndex);
  EXPECT_EQ(t->title.align, pictavo::menu::Align::kCenter);
  EXPECT_TRUE(t->shapes.empty());
}

TEST(MenuTemplate, DamagedTemplatesSayWhatIsWrong) {
  const std::string good = kMinimal;
  struct Case {
    std::string text;
    const char* mentions;
  };
  const Case cases[] = {
      {"", "not readable XML"},
      {good.substr(0, good.size() / 2), "not readable XML"},
      {Replace(Replace(good, "<dvd_menu ", "<menu_template "), "</dvd_menu>", "</menu_template>"),
       "root element"},
      {Replace(good, "version=\"1\"", "version=\"2\""), "version 2"},
      {Replace(good, "version=\"1\"", ""), "missing version"},
      {Replace(good, "<menu folder=\"m\">Minimal</menu>", ""), "missing <menu>"},
      {Replace(good, ">Minimal<", "><"), "no name"},
      {Replace(good, "<title x=\"10\"", "<title x=\"ten\""), "x is not a whole number"},
      {Replace(good, "width=\"300\"", "width=\"0\""), "width 0"},
      {Replace(good, "<thumbnail x=\"10\"", "<thumbnail x=\"740\""), "within the 768 x 576 screen"},
      {Replace(good, "<album><thumbnail", "<album><thumb"), "missing <thumbnail>"},
      {Replace(good, "<button id=\"1\"", "<button id=\"0\""), "given twice"},
      {Replace(good, "<button id=\"1\" x=\"700\" y=\"500\" width=\"40\" height=\"40\"/>", ""),
       "button id=\"1\""},
      {Replace(good, "<button id=\"1\"", "<button id=\"2\""), "id 2"},
      {Replace(good, "<albums>", "<albums><text size=\"0\"/>"), "size 0"},
      {Replace(good, "<albums>", "<albums><text color=\"#12345\"/>"), "not a colour"},
      {Replace(good, "<albums>", "<albums><text align=\"middle\"/>"), "align"},
      {Replace(good, "<albums>", "<albums><text shadow=\"maybe\"/>"), "shadow"},
      {Replace(good, "</dvd_menu>", "<background gradient=\"diagonal\"/></dvd_menu>"), "gradient"},
      {Replace(good, "</dvd_menu>",
               "<decoration><shape kind=\"hexagon\" x=\"0\" y=\"0\" width=\"5\" "
               "height=\"5\"/></decoration></dvd_menu>"),
       "kind"},
      {Replace(good, "</dvd_menu>",
               "<decoration><shape kind=\"rect\" x=\"900\" y=\"0\" width=\"5\" "
               "height=\"5\"/></decoration></dvd_menu>"),
       "wholly outside"},
      {Replace(good, "</dvd_menu>", "<highlight color=\"#000000\"/></dvd_menu>"), "black"},
      {Replace(good, "</dvd_menu>", "<motion seconds=\"0\"/></dvd_menu>"), "seconds 0"},
      {Replace(good,
               "<album><thumbnail x=\"10\" y=\"100\" width=\"80\" height=\"60\"/><text x=\"100\" y=\"110\" "
               "width=\"200\" height=\"30\"/><index x=\"12\" y=\"102\"/></album>",
               ""),
       "no <album>"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseMenuTemplate(c.text, error)) << c.mentions;
    EXPECT_NE(error.find(c.mentions), std::string::npos) << "wanted \"" << c.mentions << "\" in: " << error;
  }
}

// A template that cannot be used leaves the menu on the one it had.
TEST(MenuTemplate, DamagedFileKeepsThePreviousTemplate) {
  CDVDMenu menu;
  const std::string basic = menutest::TemplateFolder() + "/19basic.xml";
  ASSERT_TRUE(menu.SetTemplateXMLFile(basic.c_str()));
  menu.SetMenuContent(menutest::Albums(8));
  ASSERT_TRUE(menu.ParseMenu(0));
  const int pages = menu.GetPageCount();

  const std::string broken = xmltest::WriteTemp("broken/menu.xml", std::string(kMinimal).substr(0, 120));
  const std::string noPicture = xmltest::WriteTemp(
      "nopicture/menu.xml", Replace(kMinimal, "</dvd_menu>", "<background image=\"sky.bmp\"/></dvd_menu>"));
  for (const std::string& path : {broken, noPicture, xmltest::TempFolder().string() + "/absent.xml"}) {
    EXPECT_FALSE(menu.SetTemplateXMLFile(path.c_str())) << path;
    EXPECT_NE(menu.GetTemplateError().Find(path.c_str()), -1) << menu.GetTemplateError().GetString();
    menu.ChangeTemplate(path.c_str());
    EXPECT_EQ(menu.GetXMLFile(), CString(basic));
    EXPECT_EQ(menu.GetPageCount(), pages);
    EXPECT_NE(menu.GetObjectPtrList(), nullptr);
  }
}

TEST(MenuTemplate, BackgroundPictureFoundBesideTheFileOrBelowTheBasePath) {
  // A 2 x 2 picture, red on top, blue below.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const uint32_t pixels[] = {0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF};
  std::memcpy(bits, pixels, sizeof(pixels));
  const std::string text = Replace(kMinimal, "</dvd_menu>", "<background image=\"sky.bmp\"/></dvd_menu>");

  const std::string beside = xmltest::WriteTemp("beside/menu.xml", text);
  std::filesystem::create_directories(xmltest::TempFolder() / "beside/m");
  ASSERT_TRUE(pictavo::gdi::SaveBmpFile(picture, (xmltest::TempFolder() / "beside/m/sky.bmp").c_str()));
  const std::string elsewhere = xmltest::WriteTemp("elsewhere/menu.xml", text);
  std::filesystem::create_directories(xmltest::TempFolder() / "base/m");
  ASSERT_TRUE(pictavo::gdi::SaveBmpFile(picture, (xmltest::TempFolder() / "base/m/sky.bmp").c_str()));
  DeleteObject(picture);

  for (const std::string& path : {beside, elsewhere}) {
    CDVDMenu menu;
    menu.SetBasePath(CString((xmltest::TempFolder() / "base").string()));
    ASSERT_TRUE(menu.SetTemplateXMLFile(path.c_str())) << menu.GetTemplateError().GetString();
    menutest::TestCanvas canvas(768, 576);
    ASSERT_TRUE(menu.Draw(canvas.Dc(), 0));
    EXPECT_EQ(GetRValue(canvas.At(384, 20)) > 200 && GetBValue(canvas.At(384, 20)) < 60, true);
    EXPECT_EQ(GetBValue(canvas.At(384, 560)) > 200 && GetRValue(canvas.At(384, 560)) < 60, true);
  }
}

}  // namespace
