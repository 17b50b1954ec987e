// The sample project as a web album, opened in a real browser: headless Chromium renders the
// gallery's index page to a PNG, which must show pictures, not a blank or broken page.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "disc/engines/WebAlbumGenerator.h"
#include "disc/engines/WebTemplateManager.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "tests/support/PngPicture.h"

namespace fs = std::filesystem;

namespace {

std::string FindBrowser() {
  for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
    if (access(path, X_OK) == 0) return path;
  return {};
}

// Runs argv to its end, its output silenced; the exit status.
int RunToEnd(const std::vector<std::string>& argv) {
  const pid_t pid = fork();
  if (pid == 0) {
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SampleWebAlbum, TheGalleryRendersInAHeadlessBrowser) {
  const std::string source = std::getenv("PICTAVO_SOURCE_DIR");
  const std::string sample = source + "/samples/sample.r7m";
  if (!fs::exists(source + "/samples/media/music.mp3")) GTEST_SKIP() << "run samples/make-samples.sh first";
  const std::string browser = FindBrowser();
  if (browser.empty()) GTEST_SKIP() << "no Chromium on this machine (scripts/install-deps.sh installs it)";

  CDVDProject project;
  int missingCount = 0;
  CStringArray missing;
  ASSERT_TRUE(project.OpenFromFile(sample.c_str(), missingCount, missing, 0, -1));
  ASSERT_EQ(missingCount, 0);
  auto* album = dynamic_cast<CDVDAlbumImage*>(project.GetAlbum(0));
  ASSERT_NE(album, nullptr);

  CWebTemplateManager::SetTemplateRootOverride((source + "/data/web_template").c_str());
  CWebTemplateManager manager;
  manager.ScanTemplates();
  CWebTemplateManager::SetTemplateRootOverride(nullptr);
  int gallery = -1;
  for (int i = 0; i < manager.GetStyleCount(); ++i)
    if (std::string(manager.GetStyleDisplayName(i).Str()).rfind("Gallery", 0) == 0) gallery = i;
  ASSERT_GE(gallery, 0);
  ASSERT_EQ(manager.SelectStyle(gallery), 1);
  WebAlbumSettings settings;
  manager.LoadTemplateSettings(&settings);
  settings.pAlbum = album;
  settings.strAlbumTitle = "Sample";
  const fs::path out = fs::temp_directory_path() / ("webalbum-" + std::to_string(getpid()));
  fs::remove_all(out);
  settings.strOutputFolder = out.c_str();
  ASSERT_EQ(manager.Generate(settings), 1);
  // With a cover page (frameset.htt) the gallery's first index page is index-frame.html.
  const fs::path page = fs::exists(out / "index-frame.html") ? out / "index-frame.html" : out / "index.html";
  ASSERT_TRUE(fs::exists(page));

  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  const fs::path shots = fs::path(bin ? bin : ".") / "test-output";
  fs::create_directories(shots);
  const std::string shot = (shots / "web-album-gallery.png").string();
  fs::remove(shot);
  const fs::path profile = out.string() + "-profile";
  ASSERT_EQ(RunToEnd({browser, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                      "--no-first-run", "--disable-background-networking", "--disable-component-update",
                      "--disable-sync", "--user-data-dir=" + profile.string(), "--window-size=1280,900",
                      "--screenshot=" + shot, "file://" + page.string()}),
            0);

  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(shot, &picture));
  const std::vector<png_byte>& rgb = picture.rgb;
  // The thumbnails are the sample's test pictures: a rendered gallery holds many colours.
  std::set<unsigned> colours;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3 * 7)
    colours.insert(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
  EXPECT_GT(colours.size(), 200u);
  fs::remove_all(out);
  fs::remove_all(profile);
}

}  // namespace
