// Fixtures for the render tests: generated photos and music, what ffprobe reads from a file, YUV
// frames read back, and an album built through the data model.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "platform/user/User.h"
#include "shell/TransitionList.h"
#include "tests/support/MessageWindow.h"
#include "tests/support/Programs.h"
#include "tests/support/ScratchDir.h"

namespace rendertest {

namespace fs = std::filesystem;

// Far longer than any of these runs takes; only a hang reaches it.
constexpr DWORD kGuardMs = 120000;

using pictavo::test::Capture;
using pictavo::test::MessageWindow;
using pictavo::test::ReadWholeFile;
using pictavo::test::Run;
using pictavo::test::ScratchDir;
using pictavo::test::WriteWholeFile;

// A JPEG of w x h: `colour` with a band of `accent` across its top quarter, so that a picture
// turned or cut shows it.
inline std::string MakePhoto(const std::string& path, int w, int h, COLORREF colour = RGB(200, 40, 40),
                             COLORREF accent = RGB(40, 40, 200)) {
  fs::create_directories(fs::path(path).parent_path());
  CxImage photo;
  photo.Create(static_cast<DWORD>(w), static_cast<DWORD>(h), 24);
  photo.Fill(colour);
  for (long y = h - h / 4; y < h; ++y)
    for (long x = 0; x < w; ++x) photo.SetPixelColor(x, y, accent);
  EXPECT_TRUE(photo.Save(path.c_str(), CXIMAGE_FORMAT_JPG)) << path;
  return path;
}

// One value ffprobe reports ("format=duration", "stream=nb_read_frames" of `stream` ...), trimmed.
inline std::string Probe(const std::string& file, const std::string& entries,
                         const std::string& stream = "") {
  std::vector<std::string> args = {"ffprobe", "-v", "error"};
  if (!stream.empty()) args.insert(args.end(), {"-select_streams", stream});
  if (entries.find("nb_read_frames") != std::string::npos) args.push_back("-count_frames");
  args.insert(args.end(), {"-show_entries", entries, "-of", "default=nw=1:nk=1", file});
  std::string out = Capture(args);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// Seconds of a tone as MP3.
inline std::string MakeMusic(const std::string& path, int seconds) {
  fs::create_directories(fs::path(path).parent_path());
  EXPECT_TRUE(Run({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                   "sine=frequency=440:duration=" + std::to_string(seconds), "-ac", "2", path}))
      << path;
  return path;
}

// The folder beside the test programs that holds the data folders (profile_en, Transition ...).
inline std::string ProgramFolder() {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  return bin != nullptr ? bin : "";
}

// The built-in transitions, as the start-up registers them.
inline void LoadTransitions() {
  if (GetTransitionList()->GetSize() == 0) LoadBuiltInTransitions(ProgramFolder().c_str());
}

// A YUV4MPEG2 stream read back: its frame size and, per frame, the Y, U and V samples at a point.
struct YuvStream {
  int width = 0, height = 0;
  std::string header;
  std::vector<std::array<int, 3>> samples;  // per frame, at (x, y) counted from the top left
  size_t frames = 0;
};
inline YuvStream ReadYuvStream(const std::string& path, int x, int y) {
  YuvStream stream;
  const std::string bytes = ReadWholeFile(path);
  const size_t end = bytes.find('\n');
  if (end == std::string::npos) return stream;
  stream.header = bytes.substr(0, end);
  const auto field = [&](char tag) {
    const size_t at = stream.header.find(std::string(" ") + tag);
    return at == std::string::npos ? 0 : std::atoi(stream.header.c_str() + at + 2);
  };
  stream.width = field('W');
  stream.height = field('H');
  const size_t luma = static_cast<size_t>(stream.width) * stream.height;
  const size_t chroma = luma / 4;
  const size_t frameBytes = 6 + luma + 2 * chroma;
  for (size_t at = end + 1; at + frameBytes <= bytes.size(); at += frameBytes) {
    EXPECT_EQ(bytes.compare(at, 6, "FRAME\n"), 0) << "frame " << stream.frames;
    const size_t planes = at + 6;
    const size_t c = static_cast<size_t>(y / 2) * (stream.width / 2) + x / 2;
    stream.samples.push_back({static_cast<uint8_t>(bytes[planes + static_cast<size_t>(y) * stream.width + x]),
                              static_cast<uint8_t>(bytes[planes + luma + c]),
                              static_cast<uint8_t>(bytes[planes + luma + chroma + c])});
    ++stream.frames;
  }
  return stream;
}

// BT.601 limited-range Y, U, V of a colour, as the frame writer makes them.
inline std::array<int, 3> YuvOf(COLORREF colour) {
  const double r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
  return {static_cast<int>(16 + (65.481 * r + 128.553 * g + 24.966 * b) / 255 + 0.5),
          static_cast<int>(128 + (-37.797 * r - 74.203 * g + 112.0 * b) / 255 + 0.5),
          static_cast<int>(128 + (112.0 * r - 93.786 * g - 18.214 * b) / 255 + 0.5)};
}
inline bool Near(const std::array<int, 3>& a, const std::array<int, 3>& b, int tolerance = 4) {
  for (int i = 0; i < 3; ++i)
    if (std::abs(a[i] - b[i]) > tolerance) return false;
  return true;
}

inline CDVDAlbumImage* AddPhotoAlbum(CDVDProject& project, const char* name) {
  CDVDAlbumImage* album = project.AllocImageAlbum(nullptr);
  album->Set_strAlbumName(name);
  album->Set_bAutoPanZoom(FALSE);
  project.Put_nActiveAlbumIndex(-1);
  project.AddAlbum(album);
  return album;
}

inline CDVDImage* AddSlide(CDVDAlbumImage& album, const std::string& path, int one, int two,
                           const char* transition) {
  auto* slide = new CDVDImage(&album);
  slide->Put_strPathName(path.c_str());
  slide->Put_nOneDuration(one);
  slide->Put_nTwoDuration(two);
  slide->Set_strTransName(transition);
  slide->Set_nPanZoom(0, nullptr);
  album.AddDVDImage(slide);
  return slide;
}

}  // namespace rendertest
