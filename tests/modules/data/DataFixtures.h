// Fixtures for the data-model tests: a scratch folder, small generated photos, music and video
// made with ffmpeg, and a project built through the API.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"

extern char** environ;

namespace datatest {

namespace fs = std::filesystem;

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "pictavo-data-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
  }
  std::string operator/(const std::string& name) const { return (m_path / name).string(); }
  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// Runs a program with an argument vector; true when it exits with 0.
inline bool Run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A small JPEG of one colour.
inline std::string MakePhoto(const ScratchDir& dir, const std::string& name, int w = 64, int h = 48,
                             COLORREF colour = RGB(200, 40, 40)) {
  const std::string path = dir / name;
  fs::create_directories(fs::path(path).parent_path());
  CxImage photo;
  photo.Create(w, h, 24);
  photo.Fill(colour);
  EXPECT_TRUE(photo.Save(path.c_str(), CXIMAGE_FORMAT_JPG)) << path;
  return path;
}

// Seconds of a sine tone as MP3.
inline std::string MakeMusic(const ScratchDir& dir, const std::string& name, int seconds) {
  const std::string path = dir / name;
  fs::create_directories(fs::path(path).parent_path());
  EXPECT_TRUE(Run({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                   "sine=frequency=440:duration=" + std::to_string(seconds), "-ac", "2", path}))
      << path;
  return path;
}

// A short clip with picture and sound.
inline std::string MakeClip(const ScratchDir& dir, const std::string& name, double seconds) {
  const std::string path = dir / name;
  fs::create_directories(fs::path(path).parent_path());
  const std::string d = std::to_string(seconds);
  EXPECT_TRUE(Run({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                   "testsrc=size=160x120:rate=25:duration=" + d, "-f", "lavfi", "-i", "sine=duration=" + d,
                   "-c:v", "mpeg4", "-c:a", "aac", "-shortest", path}))
      << path;
  return path;
}

inline CDVDAlbumImage* AddPhotoAlbum(CDVDProject& project, const char* name) {
  CDVDAlbumImage* album = project.AllocImageAlbum(nullptr);
  album->Set_strAlbumName(name);
  project.Put_nActiveAlbumIndex(-1);
  project.AddAlbum(album);
  return album;
}

inline CDVDImage* AddSlide(CDVDAlbumImage& album, const std::string& path) {
  auto* slide = new CDVDImage(&album);
  slide->Put_strPathName(path.c_str());
  album.AddDVDImage(slide);
  return slide;
}

}  // namespace datatest
