// The property list as a user meets it: the demonstration program fills it from the sample MP4
// profile and the input script edits it with the mouse and the keyboard on the headless display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Programs.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace {

using pictavo::test::ScopedEnv;
using pictavo::test::ScratchDir;

struct Row {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Mid() const { return (top + bottom) / 2; }
};

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& l : lines)
    if (l == line) return true;
  return false;
}

std::string Profiles() {
  return std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data/profile_en";
}

}  // namespace

TEST(PlxPropListDemo, EditsTheEncodeOptionsAsAUserWould) {
  ScratchDir folder;
  const std::string layoutLog = (folder / "layout.log");
  ASSERT_TRUE(pictavo::test::Run({PROPLIST_DEMO, "--profiles", Profiles(), "--log", layoutLog, "--layout"}));
  std::map<std::string, Row> rows;
  int divider = 0, rowHeight = 0;
  for (const std::string& line : Lines(layoutLog)) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == "list") {
      Row list;
      in >> list.left >> list.top >> list.right >> list.bottom >> word >> rowHeight >> word >> divider;
    } else if (word == "row") {
      Row r;
      in >> r.left >> r.top >> r.right >> r.bottom;
      std::string name;
      std::getline(in >> std::ws, name);
      rows[name] = r;
    }
  }
  ASSERT_EQ(rows.size(), 10u) << "two groups of four options";
  ASSERT_GT(rowHeight, 0);
  const int value = divider + 60;  // right of every value's text
  const Row& bitRate = rows["Video Bit Rate (kbit/s)"];
  const Row& sampleRate = rows["Sample Rate (Hz)"];
  const Row& frameRate = rows["Frame Rate"];
  const Row& audioRate = rows["Audio Bit Rate (kbit/s)"];
  const Row& audio = rows["Audio Options"];
  const Row& size = rows["Video Size"];
  const auto shot = [](const char* name) {
    return "snapshot \"" + pictavo::test::SnapshotPath(std::string("proplist-demo-") + name + ".png") +
           "\" \"Property List Demo\"\n";
  };
  std::ostringstream script;
  script << "wait-window \"Property List Demo\"\n"
         << shot("1-filled")
         // A bit rate: letters are refused, digits typed, Enter commits.
         << "click 100 " << value << " " << bitRate.Mid() << "\n"
         << "key Backspace\nkey Backspace\nkey Backspace\nkey Backspace\n"
         << "type ab\n"
         << "type 2400\n"
         << shot("2-typing")
         << "key Enter\n"
         // An option that may not be typed cycles on a double click.
         << "dblclick 100 " << value << " " << sampleRate.Mid()
         << "\n"
         // Alt+Down opens the frame rate's list; Down and Enter pick the next one.
         << "click 100 30 " << frameRate.Mid() << "\n"
         << "key Alt+Down\nkey Down\n"
         << "snapshot \"" << pictavo::test::SnapshotPath("proplist-demo-3-dropdown.png") << "\"\n"
         << "key Enter\n"
         // Escape leaves the audio bit rate as it was.
         << "click 100 " << value << " " << audioRate.Mid() << "\n"
         << "key Backspace\ntype 64\nkey Escape\n"
         // The audio group collapses at its box.
         << "click 100 " << audio.left + rowHeight / 2 << " " << audio.Mid() << "\n"
         << shot("4-collapsed")
         // The divider goes far right, so values are clipped; a hover shows one whole.
         << "drag 100 " << divider << " " << size.Mid() << " 100 " << divider + 150 << " " << size.Mid()
         << "\n"
         << shot("5-divider") << "move 100 " << divider + 150 + 10 << " " << size.Mid() << "\n"
         << "snapshot \"" << pictavo::test::SnapshotPath("proplist-demo-6-tooltip.png") << "\"\n";
  const std::string scriptPath = (folder / "demo.script");
  std::ofstream(scriptPath) << script.str();
  const std::string logPath = (folder / "demo.log");
  ScopedEnv env("PICTAVO_SCRIPT", scriptPath.c_str());
  ASSERT_TRUE(pictavo::test::Run({PROPLIST_DEMO, "--profiles", Profiles(), "--log", logPath}));

  const std::vector<std::string> log = Lines(logPath);
  std::string all;
  for (const std::string& l : log) all += l + "\n";
  EXPECT_TRUE(Has(log, "PlxM_PROPERTYCHANGED 100 Video Bit Rate (kbit/s) = 2400")) << all;
  EXPECT_TRUE(Has(log, "PlxM_PROPERTYCHANGED 100 Sample Rate (Hz) = 44100")) << all;
  EXPECT_TRUE(Has(log, "PlxM_PROPERTYCHANGED 100 Frame Rate = 29.97")) << all;
  EXPECT_TRUE(Has(log, "value Audio Bit Rate (kbit/s) = 160")) << all;
  EXPECT_EQ(all.find("PlxM_PROPERTYCHANGED 100 Audio Bit Rate"), std::string::npos)
      << "Escape changes nothing";
  EXPECT_TRUE(Has(log, "group Audio Options collapsed")) << all;
  EXPECT_TRUE(Has(log, "group Video Options expanded")) << all;
  EXPECT_TRUE(Has(log, "divider " + std::to_string(divider + 150))) << all;
  EXPECT_TRUE(Has(log, "tip 1280x720")) << all;
  for (const char* name : {"1-filled", "2-typing", "3-dropdown", "4-collapsed", "5-divider", "6-tooltip"})
    EXPECT_TRUE(
        std::filesystem::exists(pictavo::test::SnapshotPath(std::string("proplist-demo-") + name + ".png")))
        << name;
}
