#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>
#include "disc/pages/MenuTemplates.h"
#include "disc/pages/PageMenu.h"
#include "platform/base/ErrorCodes.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Registry.h"

namespace fs = std::filesystem;

namespace {

// A page whose list box is a vector of names.
class FakePage : public CPageMenu {
 public:
  CDVDProject project;
  BOOL abort = FALSE;
  std::vector<std::string> rows;
  std::vector<DVDMenuTemplateInfo*> rowData;
  int selected = -1;
  bool finished = false;

 protected:
  CDVDProject* GetProject() override { return &project; }
  BOOL IsAborting() const override { return abort; }
  int AddTemplateRow(LPCTSTR name) override {
    rows.emplace_back(name);
    rowData.push_back(nullptr);
    return static_cast<int>(rows.size()) - 1;
  }
  void SetTemplateRowData(int row, DVDMenuTemplateInfo* info) override { rowData[row] = info; }
  int GetTemplateRowCount() const override { return static_cast<int>(rows.size()); }
  void SelectTemplateRow(int row) override { selected = row; }
  void OnTemplateScanFinished() override { finished = true; }
};

std::string SourceTemplates() {
  return std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data/template";
}

class MenuTemplates : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("menu_templates_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_root);
  }
  void TearDown() override {
    FreeMenuTemplateList();
    fs::remove_all(m_root);
  }
  // A template named `title` in `folder`, its preview copied from the shipped basic template.
  std::string Write(const std::string& folder, const std::string& file, const std::string& title,
                    const std::string& description = "About it", bool preview = true) {
    const fs::path dir = m_root / folder;
    fs::create_directories(dir / "pics");
    if (preview)
      fs::copy_file(SourceTemplates() + "/19basic/preview.bmp", dir / "pics/preview.bmp",
                    fs::copy_options::overwrite_existing);
    std::ofstream(dir / file) << "<?xml version=\"1.0\"?><dvd_menu><menu folder=\"pics\">" << title
                              << "</menu><preview_image>preview.bmp</preview_image><description>"
                              << description << "</description></dvd_menu>";
    return (dir / file).string();
  }
  std::string Folder(const std::string& name) const { return (m_root / name).string(); }
  BOOL Scan(FakePage& page, const std::string& folder, int& current, int& def, CStringArray& seen,
            CString& base) {
    return CPageMenu::ScanTemplateFolder(&page, CString(folder.c_str()), current, def, seen, base);
  }

  fs::path m_root;
};

TEST_F(MenuTemplates, ScanFillsRecordsAndLoadsPreview) {
  const std::string xml = Write("a", "one.xml", "First", "A description");
  Write("a", "broken.xml", "<unclosed");
  std::ofstream(m_root / "a" / "notes.txt") << "not a template";
  FakePage page;
  int current = -1, def = -1;
  CStringArray seen;
  CString base("unchanged");
  ASSERT_TRUE(Scan(page, Folder("a"), current, def, seen, base));

  ASSERT_EQ(g_menuTemplates.GetSize(), 1);
  const DVDMenuTemplateInfo* info = g_menuTemplates[0];
  EXPECT_EQ(fs::path(info->szXMLPath), fs::path(xml));
  EXPECT_STREQ(info->szName, "First");
  EXPECT_STREQ(info->szDescription, "A description");
  EXPECT_EQ(fs::path(pictavo::path::ToNative(info->szPreviewPath)), m_root / "a" / "pics" / "preview.bmp");
  ASSERT_NE(info->pPreviewImage, nullptr);
  EXPECT_TRUE(info->pPreviewImage->IsValid());
  EXPECT_EQ(page.rows, std::vector<std::string>{"First"});
  EXPECT_EQ(page.rowData[0], info);
  // The unparsable file still counts as seen.
  EXPECT_EQ(seen.GetSize(), 2);
  EXPECT_EQ(current, -1);
  EXPECT_EQ(def, -1);
  EXPECT_STREQ(base, "unchanged");
}

TEST_F(MenuTemplates, MissingPreviewKeepsEmptyPictureAndFreesCleanly) {
  Write("a", "one.xml", "No picture", "x", /*preview*/ false);
  FakePage page;
  int current = -1, def = -1;
  CStringArray seen;
  CString base;
  ASSERT_TRUE(Scan(page, Folder("a"), current, def, seen, base));
  ASSERT_EQ(g_menuTemplates.GetSize(), 1);
  ASSERT_NE(g_menuTemplates[0]->pPreviewImage, nullptr);
  EXPECT_FALSE(g_menuTemplates[0]->pPreviewImage->IsValid());
  EXPECT_EQ(FreeMenuTemplateList(), 1);
  EXPECT_EQ(g_menuTemplates.GetSize(), 0);
  EXPECT_EQ(FreeMenuTemplateList(), 1);
  EXPECT_EQ(g_menuTemplates.GetSize(), 0);
}

TEST_F(MenuTemplates, FirstFileNameWinsAcrossFoldersAndMarksRows) {
  Write("a", "Mine.xml", "Mine A");
  Write("a", "19BASIC.XML", "Basic A");
  Write("b", "MINE.xml", "Mine B");
  Write("b", "19basic.xml", "Basic B");
  Write("b", "other.xml", "Other B");
  FakePage page;
  page.project.SetMenuTemplateName("mine.XML");
  int current = -1, def = -1;
  CStringArray seen;
  CString base;
  ASSERT_TRUE(Scan(page, Folder("a") + "\\", current, def, seen, base));
  ASSERT_TRUE(Scan(page, Folder("b"), current, def, seen, base));

  std::vector<std::string> names(page.rows.begin(), page.rows.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Basic A", "Mine A", "Other B"}));
  ASSERT_GE(current, 0);
  EXPECT_EQ(page.rows[current], "Mine A");
  ASSERT_GE(def, 0);
  EXPECT_EQ(page.rows[def], "Basic A");
  // The project's template folder, without its trailing separator.
  EXPECT_EQ(fs::path(pictavo::path::ToNative(base.View())), fs::path(Folder("a")));
}

TEST_F(MenuTemplates, AbortStopsTheScan) {
  Write("a", "one.xml", "One");
  FakePage page;
  page.abort = TRUE;
  int current = -1, def = -1;
  CStringArray seen;
  CString base;
  EXPECT_FALSE(Scan(page, Folder("a"), current, def, seen, base));
  EXPECT_EQ(g_menuTemplates.GetSize(), 0);
  EXPECT_TRUE(page.rows.empty());
}

TEST_F(MenuTemplates, ShippedTemplatesAreListed) {
  FakePage page;
  int current = -1, def = -1;
  CStringArray seen;
  CString base;
  ASSERT_TRUE(Scan(page, SourceTemplates(), current, def, seen, base));
  ASSERT_EQ(g_menuTemplates.GetSize(), 4);
  for (INT_PTR i = 0; i < g_menuTemplates.GetSize(); ++i) {
    const DVDMenuTemplateInfo* info = g_menuTemplates[i];
    EXPECT_NE(info->szName[0], '\0') << info->szXMLPath;
    EXPECT_NE(info->szDescription[0], '\0') << info->szXMLPath;
    EXPECT_TRUE(info->pPreviewImage->IsValid()) << info->szPreviewPath;
  }
  ASSERT_GE(def, 0);
  EXPECT_EQ(page.rows[def], "Basic");
}

struct CutCase {
  size_t size;
  const char* text;
  const char* expected;
};
const CutCase kCuts[] = {
    {8, "short", "short"},
    {6, "exact", "exact"},
    {5, "exact", "exac"},
    {1, "anything", ""},
    {4, "\xC3\xA9\xC3\xA9", "\xC3\xA9"},  // two-byte characters: no half character
    {5,
     "a\xE2\x82\xAC"
     "b",
     "a\xE2\x82\xAC"},  // the euro sign fits whole
    {4,
     "a\xE2\x82\xAC"
     "b",
     "a"},  // ... or not at all
    {4, nullptr, ""},
};

TEST(MenuTemplateField, CopiesCutAtWholeCharactersWithinTheField) {
  for (const auto& c : kCuts) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    CopyMenuTemplateField(buffer, c.size, c.text);
    EXPECT_STREQ(buffer, c.expected) << c.size;
    for (size_t i = c.size; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << "overrun at " << i;
  }
}

TEST_F(MenuTemplates, LongTextsAreCutToTheirFields) {
  const std::string longName(150, 'n');
  const std::string longDescription(1500, 'd');
  Write("a", "long.xml", longName, longDescription);
  FakePage page;
  int current = -1, def = -1;
  CStringArray seen;
  CString base;
  ASSERT_TRUE(Scan(page, Folder("a"), current, def, seen, base));
  ASSERT_EQ(g_menuTemplates.GetSize(), 1);
  EXPECT_EQ(std::string(g_menuTemplates[0]->szName), longName.substr(0, 99));
  EXPECT_EQ(std::string(g_menuTemplates[0]->szDescription), longDescription.substr(0, 1023));
}

TEST_F(MenuTemplates, DefaultTemplateFoundIgnoringCase) {
  EXPECT_EQ(UseDefaultMenuTemplate(), 0);  // empty catalogue
  const std::string other = Write("a", "other.xml", "Other");
  fs::copy(SourceTemplates(), m_root / "shipped", fs::copy_options::recursive);
  fs::rename(m_root / "shipped" / "19basic.xml", m_root / "shipped" / "19BASIC.XML");
  FakePage page;
  int current = -1, def = -1;
  CStringArray seen;
  CString base;
  ASSERT_TRUE(Scan(page, Folder("a"), current, def, seen, base));
  EXPECT_EQ(UseDefaultMenuTemplate(), 0);  // no default listed: the engine keeps its template
  ASSERT_TRUE(Scan(page, Folder("shipped"), current, def, seen, base));
  ASSERT_EQ(UseDefaultMenuTemplate(), 1);
  EXPECT_EQ(fs::path(g_dvdMenu.GetXMLFile().View().data()).filename(), "19BASIC.XML");
  EXPECT_TRUE(g_dvdMenu.GetTemplateError().IsEmpty()) << g_dvdMenu.GetTemplateError().View();
}

TEST_F(MenuTemplates, FullScanTakesRegisteredFoldersOnceAndSelectsProjectTemplate) {
  setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
  Write("reg", "mine.xml", "Mine");
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Talvane\\Common\\DVDMenuTemplate", 0, nullptr, 0,
                           KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string folder = Folder("reg");
  for (const char* value : {"DVDMenuTemplatePath1", "DVDMenuTemplatePath5"})
    RegSetValueEx(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                  static_cast<DWORD>(folder.size() + 1));
  RegCloseKey(key);

  FakePage page;
  page.project.SetMenuTemplateName("MINE.XML");
  EXPECT_EQ(CPageMenu::ScanMenuTemplates(nullptr), -1);
  EXPECT_EQ(CPageMenu::ScanMenuTemplates(&page), 0);
  EXPECT_TRUE(page.finished);
  EXPECT_EQ(std::count(page.rows.begin(), page.rows.end(), "Mine"), 1);
  ASSERT_GE(page.selected, 0);
  EXPECT_EQ(page.rows[page.selected], "Mine");
  EXPECT_STREQ(page.project.GetMenuTemplateName(), "MINE.XML");
}

}  // namespace
