#include <gtest/gtest.h>

#include "disc/engines/WebTemplateManager.h"
#include "tests/disc/engines/EngineFixtures.h"

namespace {

using enginetest::ScratchDir;
using enginetest::WriteText;

// Points the manager at a scratch template root for one test.
class TemplateRoot {
 public:
  TemplateRoot() { CWebTemplateManager::SetTemplateRootOverride(m_dir.Path().c_str()); }
  ~TemplateRoot() { CWebTemplateManager::SetTemplateRootOverride(nullptr); }
  std::string operator/(const std::string& name) const { return m_dir / name; }
  std::string Root() const { return m_dir.Path() + "/"; }

 private:
  ScratchDir m_dir;
};

TEST(WebTemplateManager, NoTemplateFolder) {
  CWebTemplateManager::SetTemplateRootOverride("/nonexistent/pictavo/web_template");
  CWebTemplateManager manager;
  EXPECT_EQ(manager.ScanTemplates(), 1);
  EXPECT_EQ(manager.GetStyleCount(), 0);
  EXPECT_EQ(manager.GetStyleDisplayName(0), "");
  EXPECT_EQ(manager.GetPreviewImagePath(0), "");
  EXPECT_EQ(manager.SelectStyle(0), 0);
  EXPECT_EQ(manager.GetSelectedTemplate(), nullptr);
  WebAlbumSettings settings;
  settings.strAlbumTitle = "kept?";
  EXPECT_EQ(manager.LoadTemplateSettings(&settings), 1);
  EXPECT_EQ(settings.strAlbumTitle, "My Web Album");
  EXPECT_EQ(settings.nSlideWidth, 640);
  CWebTemplateManager::SetTemplateRootOverride(nullptr);
}

TEST(WebTemplateManager, FlatStyleList) {
  TemplateRoot root;
  WriteText(root / "A/styles/blue.css", "");
  WriteText(root / "A/styles/red.css", "");
  WriteText(root / "A/styles/notes.txt", "");
  WriteText(root / "B/index.htt", "");
  WriteText(root / ".hidden/index.htt", "");
  WriteText(root / "plain-file", "");
  CWebTemplateManager manager;
  manager.ScanTemplates();

  struct Case {
    int index;
    const char* name;
    std::string preview;
    int found;
  };
  const Case kCases[] = {
      {0, "A(blue)", root.Root() + "A/preview-blue.jpg", 1},
      {1, "A(red)", root.Root() + "A/preview-red.jpg", 1},
      {2, "B", root.Root() + "B/preview.jpg", 1},
      {3, "A(blue)", root.Root() + "A/preview-blue.jpg", 0},  // not found: template 0, style read as 0
      {-1, "A(blue)", root.Root() + "A/preview-blue.jpg", 0},
  };
  EXPECT_EQ(manager.GetStyleCount(), 3);
  for (const Case& c : kCases) {
    EXPECT_EQ(manager.GetStyleDisplayName(c.index), c.name) << c.index;
    EXPECT_EQ(manager.GetPreviewImagePath(c.index), CString(c.preview)) << c.index;
    EXPECT_EQ(manager.SelectStyle(c.index), c.found) << c.index;
  }
}

TEST(WebTemplateManager, SettingsFromDefaultIni) {
  TemplateRoot root;
  WriteText(root / "A/styles/first.css", "");
  WriteText(root / "A/styles/second.css", "");
  WriteText(root / "A/default.ini", "[default]\nSlide=800x600\nSize=3x4\nFlash=0\nBlack=1\n");
  WriteText(root / "B/default.ini", "[default]\nThumb=bad\nSlide=100\n");
  WriteText(root / "C/index.htt", "");
  CWebTemplateManager manager;
  manager.ScanTemplates();

  WebAlbumSettings s;
  // Before any selection a template with styles uses its first style.
  manager.LoadTemplateSettings(&s);
  EXPECT_EQ(s.strStyleFile, "first.css");
  EXPECT_EQ(s.strTemplateFolder, CString(root.Root() + "A"));
  EXPECT_EQ(s.nSlideWidth, 800);
  EXPECT_EQ(s.nSlideHeight, 600);
  EXPECT_EQ(s.nThumbnailWidth, 120);
  EXPECT_EQ(s.nThumbnailHeight, 90);
  EXPECT_EQ(s.nRows, 3);
  EXPECT_EQ(s.nColumns, 4);
  EXPECT_EQ(s.nBlack, 1);

  ASSERT_EQ(manager.SelectStyle(1), 1);
  manager.LoadTemplateSettings(&s);
  EXPECT_EQ(s.strStyleFile, "second.css");

  // Values that do not scan leave the defaults; a missing Black reads 0.
  ASSERT_EQ(manager.SelectStyle(2), 1);
  manager.LoadTemplateSettings(&s);
  EXPECT_EQ(s.strStyleFile, "");
  EXPECT_EQ(s.nSlideWidth, 640);
  EXPECT_EQ(s.nThumbnailWidth, 120);
  EXPECT_EQ(s.nRows, 0);
  EXPECT_EQ(s.nBlack, 0);

  // Without default.ini every field keeps its default.
  ASSERT_EQ(manager.SelectStyle(3), 1);
  manager.LoadTemplateSettings(&s);
  EXPECT_EQ(s.strTemplateFolder, CString(root.Root() + "C"));
  EXPECT_EQ(s.nBlack, 1);
  EXPECT_EQ(s.nColumns, 0);
}

TEST(WebTemplateManager, OutputFolder) {
  CWebTemplateManager manager;
  EXPECT_TRUE(manager.GetOutputFolder().View().ends_with("/WebSlideshow"));
  manager.SetOutputFolder("/tmp/albums");
  EXPECT_EQ(manager.GetOutputFolder(), "/tmp/albums");
}

TEST(WebTemplateManager, ShippedTemplates) {
  CWebTemplateManager::SetTemplateRootOverride(
      (std::string(getenv("PICTAVO_SOURCE_DIR")) + "/data/web_template").c_str());
  CWebTemplateManager manager;
  manager.ScanTemplates();
  CWebTemplateManager::SetTemplateRootOverride(nullptr);
  std::vector<std::string> names;
  for (int i = 0; i < manager.GetStyleCount(); ++i) names.push_back(manager.GetStyleDisplayName(i).Str());
  const std::vector<std::string> expected = {"Dark(Night)", "Gallery(Light)", "Gallery(Sand)",
                                             "Slideshow(Classic)"};
  EXPECT_EQ(names, expected);
}

}  // namespace
