// Fixtures for the data-model tests: a scratch folder, small generated photos, music and video
// made with ffmpeg, and a project built through the API.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "tests/support/Programs.h"
#include "tests/support/ScratchDir.h"

namespace datatest {

namespace fs = std::filesystem;

using pictavo::test::ReadWholeFile;
using pictavo::test::Run;
using pictavo::test::ScratchDir;
using pictavo::test::WriteWholeFile;

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
