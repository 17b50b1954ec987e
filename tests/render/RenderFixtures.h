// Fixtures for the render tests: a scratch folder, generated photos, and waits that dispatch the
// test thread's messages.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "platform/user/User.h"
#include "shell/TransitionList.h"

extern char** environ;

namespace rendertest {

namespace fs = std::filesystem;

// Far longer than any of these runs takes; only a hang reaches it.
constexpr DWORD kGuardMs = 120000;

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "pictavo-render-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~ScratchDir() {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(m_path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string operator/(const std::string& name) const { return (m_path / name).string(); }
  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
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

// Runs a program and returns what it wrote to its standard output.
inline std::string Capture(const std::vector<std::string>& args) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  std::string out;
  if (rc == 0) {
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof(buffer))) != 0;) {
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      out.append(buffer, static_cast<size_t>(n));
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  ::close(fds[0]);
  return out;
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

// A hidden window of the test's thread that workers post to.
class MessageWindow {
 public:
  MessageWindow() {
    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, kClass, &wc)) {
      wc.lpfnWndProc = DefWindowProc;
      wc.lpszClassName = kClass;
      RegisterClass(&wc);
    }
    m_hwnd = CreateWindowEx(0, kClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  ~MessageWindow() {
    if (m_hwnd) DestroyWindow(m_hwnd);
  }
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;
  HWND Handle() const { return m_hwnd; }

  // Waits up to `timeoutMs` for `message` to this window; `seen` is called for every message to
  // the window before it (and for the one awaited), everything else is dispatched.
  template <class Seen>
  bool WaitFor(UINT message, MSG& out, DWORD timeoutMs, Seen&& seen) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      MSG msg;
      while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == m_hwnd) {
          seen(msg);
          if (msg.message == message) {
            out = msg;
            return true;
          }
          continue;
        }
        DispatchMessage(&msg);
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
              .count();
      if (left <= 0) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
  }
  bool WaitFor(UINT message, MSG& out, DWORD timeoutMs) const {
    return WaitFor(message, out, timeoutMs, [](const MSG&) {});
  }

 private:
  static constexpr const char* kClass = "RenderTestMessageWindow";
  HWND m_hwnd = nullptr;
};

// A YUV4MPEG2 stream read back: its frame size and, per frame, the Y, U and V samples at a point.
struct YuvStream {
  int width = 0, height = 0;
  std::string header;
  std::vector<std::array<int, 3>> samples;  // per frame, at (x, y) counted from the top left
  size_t frames = 0;
};
inline YuvStream ReadYuvStream(const std::string& path, int x, int y) {
  YuvStream stream;
  const std::string bytes = ReadBytes(path);
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
