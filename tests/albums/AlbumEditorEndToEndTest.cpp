// The album editor as a new user meets it: the real program, no project, Organize > Add Photos
// through the file dialog with the whole sample folder chosen; an album named after the folder
// holds the photos; one is rotated and one removed; the project is
// saved, a new one made, the saved one opened again and saved once more: both files hold the
// same slides in the same order and rotation. On the way the photo list goes to details through its
// context menu from the keyboard and back to thumbnails with the mouse. Snapshots land under
// build/bin/test-output/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "shell/GeneralSettings.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/ScriptSteps.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

struct Saved {
  std::vector<std::string> albums;
  std::vector<std::pair<std::string, int>> slides;  // file name, rotation
};

// The albums' names and the slides' files and rotations, in file order.
Saved ReadProject(const std::string& path) {
  Saved saved;
  std::ifstream in(path);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  static const std::regex element(R"(<(album|slide)\s([^>]*)>)");
  auto attribute = [](const std::string& attrs, const std::string& name) {
    std::smatch m;
    const std::regex one("(^|\\s)" + name + R"x(="([^"]*)")x");
    return std::regex_search(attrs, m, one) ? m[2].str() : std::string();
  };
  for (auto it = std::sregex_iterator(text.begin(), text.end(), element); it != std::sregex_iterator();
       ++it) {
    const std::string attrs = (*it)[2];
    if ((*it)[1] == "album") {
      saved.albums.push_back(attribute(attrs, "name"));
    } else {
      const std::string rotate = attribute(attrs, "rotate");
      saved.slides.emplace_back(fs::path(attribute(attrs, "abs")).filename().string(),
                                rotate.empty() ? 0 : std::stoi(rotate));
    }
  }
  return saved;
}

int ColourfulPixels(const pictavo::test::Picture& picture, const RECT& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF c = picture.At(x, y);
      const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      if (std::max({r, g, b}) - std::min({r, g, b}) > 80) ++count;
    }
  return count;
}

class AlbumEditorEndToEndTest : public RegistryFixture {};

}  // namespace

TEST_F(AlbumEditorEndToEndTest, AddRotateRemoveSaveAndReopen) {
  const std::string media = std::string(getenv("PICTAVO_SOURCE_DIR")) + "/samples/media";
  ASSERT_TRUE(fs::exists(media + "/beach_landscape.jpg")) << "run samples/make-samples.sh";
  const std::string saved = (fs::path(folder.Path()) / "Edited.r7m").string();
  const std::string again = (fs::path(folder.Path()) / "Again.r7m").string();
  const std::string added = pictavo::test::SnapshotPath("album-editor-added.png");
  const std::string edited = pictavo::test::SnapshotPath("album-editor-edited.png");
  const std::string reopened = pictavo::test::SnapshotPath("album-editor-reopened.png");
  const std::string details = pictavo::test::SnapshotPath("album-editor-details.png");
  const std::string thumbnails = pictavo::test::SnapshotPath("album-editor-thumbnails-again.png");
  // Thumbnail cells of the photo list in its client coordinates: 116 pixels apart, one row.
  auto cell = [](int n) { return std::to_string(56 + 116 * n) + " 45"; };
  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << pictavo::test::AddPhotoFolderSteps(media, "Untitled - Talvane Pictavo")
         << "snapshot \"" << added
         << "\"\n"
         // Rotate the second photo a quarter turn clockwise.
         << "click 1022 " << cell(1) << "\n"
         << "command 32855\n"
         // Remove the third.
         << "click 1022 " << cell(2) << "\n"
         << "command 32853\n"
         // Drag the first photo onto the third.
         << "drag 1022 " << cell(0) << " 1022 " << cell(2) << "\n"
         << "snapshot \"" << edited
         << "\"\n"
         // Details from the keyboard: the first slide, then the menu key's twin, the last item.
         << "key Home\n"
         << "key Shift+F10\n"
         << "key Up\n"
         << "key Enter\n"
         << "snapshot \"" << details
         << "\"\n"
         // Back to thumbnails with the mouse: the list's context menu, the item above Details.
         << "rclick 1022 200 40\n"
         << "key Up\n"
         << "key Up\n"
         << "key Enter\n"
         << "snapshot \"" << thumbnails << "\"\n"
         << "command 57604\n"
         << "wait-window \"Save As\"\n"
         << "type " << saved << "\n"
         << "key Enter\n"
         << "wait-file \"" << saved << "\"\n"
         << "wait-window \"Edited - Talvane Pictavo\"\n"
         << "command 57600\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "key Ctrl+O\n"
         << "wait-window Open\n"
         << "type " << saved << "\n"
         << "key Enter\n"
         << "wait-window \"Edited - Talvane Pictavo\"\n"
         << "snapshot \"" << reopened << "\"\n"
         << "command 57604\n"
         << "wait-window \"Save As\"\n"
         << "type " << again << "\n"
         << "key Enter\n"
         << "wait-file \"" << again << "\"\n"
         << "wait-window \"Again - Talvane Pictavo\"\n"
         << "command 32791\n";
  const pid_t child = StartProgram(folder.Path(), {}, script.str(), {}, {"PICTAVO_DESKTOP=1024x768"});
  ASSERT_EQ(WaitForExit(child), 0);

  const Saved first = ReadProject(saved);
  EXPECT_EQ(first.albums, std::vector<std::string>({"media"}));
  const std::vector<std::pair<std::string, int>> expected = {
      // The first photo, dropped on the third, lands before it.
      {"beach_landscape.jpg", 90},
      {"bars_small.jpg", 0},
      {"valley_large.jpg", 0},
      {"wide_panorama.jpg", 0}};
  EXPECT_EQ(first.slides, expected);
  const Saved second = ReadProject(again);
  EXPECT_EQ(second.albums, first.albums);
  EXPECT_EQ(second.slides, first.slides);
  for (const std::string& shot : {added, edited, details, thumbnails, reopened}) {
    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(shot, &picture)) << shot;
    EXPECT_EQ(picture.width, 1024);
  }
  // Where the third and fourth tiles stand the loaded thumbnails are colourful; the details rows
  // there hold only text.
  for (const auto& [shot, tiles] : {std::pair(edited, true), {details, false}, {thumbnails, true}}) {
    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(shot, &picture)) << shot;
    EXPECT_EQ(ColourfulPixels(picture, RECT{490, 300, 700, 335}) > 2000, tiles) << shot;
  }
}
