#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "modules/log/Log.h"
#include "platform/kernel/ChangeNotification.h"
#include "platform/kernel/Wait.h"

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A time stamp, then the text exactly as formatted.
std::string Text(const std::string& line) {
  return line.substr(line.find(' ', line.find(' ') + 1) + 1);
}

}  // namespace

// The log is process-wide and opened once, as in the program: one test covers its life.
TEST(Log, LinesFromAnyThreadArriveWholeAndInOrderPerThread) {
  const auto dir = std::filesystem::temp_directory_path() / ("logtest-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "zel.log").string();

  WriteLog("before open %d", 1);  // kept until the file opens
  std::string windowsStyle = path;
  windowsStyle.replace(windowsStyle.rfind('/'), 1, "\\");
  ASSERT_TRUE(OpenLogFile(windowsStyle.c_str()));
  EXPECT_EQ(std::string(pictavo::log::CurrentPath()), path);

  WriteLog("Initialize...(%d)", 1);
  WriteErrorLog("CreateNamedPipe for yuv failed: %d\n", 5);
  WriteLog("Video album duration(for video_output): %lu, FPS : %.4lf", 1234ul, 29.97);
  const std::string big(5000, 'x');
  WriteLog("%s", big.c_str());

  constexpr int kThreads = 4, kLines = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) WriteLog("thread %d line %d", t, i);
    });
  for (auto& th : threads) th.join();
  pictavo::log::Flush();

  const auto lines = ReadLines(path);
  ASSERT_EQ(lines.size(), 5u + kThreads * kLines);
  EXPECT_EQ(Text(lines[0]), "before open 1");
  EXPECT_EQ(Text(lines[1]), "Initialize...(1)");
  EXPECT_EQ(Text(lines[2]), "ERROR: CreateNamedPipe for yuv failed: 5");
  EXPECT_EQ(Text(lines[3]), "Video album duration(for video_output): 1234, FPS : 29.9700");
  EXPECT_EQ(Text(lines[4]), big);
  std::vector<int> next(kThreads, 0);
  for (size_t i = 5; i < lines.size(); ++i) {
    int t = -1, n = -1;
    ASSERT_EQ(std::sscanf(Text(lines[i]).c_str(), "thread %d line %d", &t, &n), 2) << lines[i];
    EXPECT_EQ(n, next[t]++) << "lines of one thread keep their order";
  }
  std::filesystem::remove_all(dir);
}

// The viewer gets the log's path as its one argument, after everything written so far is on disk.
TEST(Log, ShowLogFileHandsTheFlushedFileToTheViewer) {
  const auto dir = std::filesystem::temp_directory_path() / ("logshow-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string seen = (dir / "seen").string();
  const std::string viewer = (dir / "viewer.sh").string();
  {
    std::ofstream script(viewer);
    // Copies what it was given, then renames into place, so the test sees a whole file.
    script << "#!/bin/sh\ncp \"$1\" '" << seen << ".tmp' && mv '" << seen << ".tmp' '" << seen << "'\n";
  }
  std::filesystem::permissions(viewer, std::filesystem::perms::owner_all);
  ASSERT_TRUE(OpenLogFile((dir / "zel.log").string().c_str()));
  WriteLog("shown line");
  pictavo::log::SetViewerProgram(viewer.c_str());
  // The viewer runs on its own: wait for its copy through the change it makes, not a sleep.
  HANDLE change = FindFirstChangeNotification(dir.string().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_TRUE(ShowLogFile());
  while (!std::filesystem::exists(seen)) {
    ASSERT_EQ(WaitForSingleObject(change, 10000), WAIT_OBJECT_0);
    FindNextChangeNotification(change);
  }
  FindCloseChangeNotification(change);
  const auto lines = ReadLines(seen);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(Text(lines.back()), "shown line");
  pictavo::log::SetViewerProgram(nullptr);
  std::filesystem::remove_all(dir);
}
