#include "modules/burn/CdrdaoRecorder.h"

#include <fcntl.h>
#include <glob.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "modules/log/Log.h"

extern char** environ;

namespace pictavo::burn {
namespace {

// Starts `args` with standard input from `in` (or /dev/null) and output to /dev/null.
pid_t Spawn(const std::vector<std::string>& args, const char* in) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in ? in : "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int WaitExit(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Msf(uint32_t sectors) {
  char text[16];
  std::snprintf(text, sizeof(text), "%02u:%02u:%02u", sectors / 4500, sectors / 75 % 60, sectors % 75);
  return text;
}

}  // namespace

std::vector<std::string> FindCdrdaoDrives(const std::string& program) {
  std::vector<std::string> drives;
  glob_t found{};
  if (::glob("/dev/sr*", 0, nullptr, &found) == 0) {
    for (size_t i = 0; i < found.gl_pathc; ++i) {
      const pid_t pid = Spawn({program, "drive-info", "--device", found.gl_pathv[i]}, nullptr);
      if (pid > 0 && WaitExit(pid) == 0) drives.emplace_back(found.gl_pathv[i]);
    }
  }
  ::globfree(&found);
  return drives;
}

CdrdaoRecorder::CdrdaoRecorder(std::string program, std::string device)
    : m_program(std::move(program)), m_device(std::move(device)) {}

CdrdaoRecorder::~CdrdaoRecorder() {
  Abort();
}

void CdrdaoRecorder::SetCueSheet(std::span<const uint8_t> cueSheet) {
  m_cueSheet.assign(cueSheet.begin(), cueSheet.end());
}

std::string CdrdaoRecorder::TocFromCueSheet(std::span<const uint8_t> cue) {
  // Entries: control, track, index, form, SCMS, M, S, F (absolute addresses).
  struct Track {
    uint32_t pregap = 0, start = 0;
    bool hasPregap = false;
  };
  std::vector<Track> tracks;
  uint32_t leadout = 0;
  bool ended = false;
  for (size_t at = 0; at + 8 <= cue.size(); at += 8) {
    const uint8_t* e = &cue[at];
    const uint32_t address = (e[5] * 60u + e[6]) * 75u + e[7];
    if (e[1] == 0xAA) {
      leadout = address;
      ended = true;
    } else if (e[1] >= 1 && e[1] <= 99) {
      if (tracks.size() < e[1]) tracks.resize(e[1]);
      Track& t = tracks[e[1] - 1];
      // Track 1's index 0 is the two seconds before the image, which the stream does not hold.
      if (e[2] == 0 && e[1] != 1) {
        t.pregap = address;
        t.hasPregap = true;
      } else if (e[2] == 1) {
        t.start = address;
      }
    }
  }
  if (!ended || tracks.empty()) return {};
  std::string toc = "CD_ROM_XA\n";
  uint32_t offset = 150;  // the stream begins at track 1's first sector
  for (size_t i = 0; i < tracks.size(); ++i) {
    const Track& t = tracks[i];
    const uint32_t begin = t.hasPregap ? t.pregap : t.start;
    const uint32_t end = i + 1 < tracks.size()
                             ? (tracks[i + 1].hasPregap ? tracks[i + 1].pregap : tracks[i + 1].start)
                             : leadout;
    if (begin != offset || end < begin || (t.hasPregap && t.start < t.pregap)) return {};
    toc += "\nTRACK MODE2_RAW\nDATAFILE \"-\" " + Msf(end - begin) + "\n";
    if (t.hasPregap && t.start > t.pregap) toc += "START " + Msf(t.start - t.pregap) + "\n";
    offset = end;
  }
  return toc;
}

bool CdrdaoRecorder::Prepare(std::string& error) {
  const pid_t pid = Spawn({m_program, "drive-info", "--device", m_device}, nullptr);
  if (pid < 0 || WaitExit(pid) != 0) {
    error = "The recorder " + m_device + " does not answer.";
    return false;
  }
  if (TocFromCueSheet(m_cueSheet).empty()) {
    error = "The disc layout cannot be written in one session.";
    return false;
  }
  return true;
}

bool CdrdaoRecorder::Start(std::string& error) {
  char folder[] = "/tmp/pictavo-burn-XXXXXX";
  if (!::mkdtemp(folder)) {
    error = "No room for the recorder's work files.";
    return false;
  }
  m_folder = folder;
  const std::string toc = m_folder + "/image.toc", fifo = m_folder + "/sectors";
  std::ofstream(toc) << TocFromCueSheet(m_cueSheet);
  if (::mkfifo(fifo.c_str(), 0600) != 0) {
    error = "No room for the recorder's work files.";
    return false;
  }
  // Writing mode 1 lets cdrdao choose; mode 2 asks for the raw driver.
  std::vector<std::string> args = {m_program, "write", "--device", m_device, "-n"};
  if (m_mode == 2) args.insert(args.end(), {"--driver", "generic-mmc-raw"});
  args.push_back(toc);
  m_child = Spawn(args, fifo.c_str());
  if (m_child > 0) m_fifo = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
  if (m_child <= 0 || m_fifo < 0) {
    error = "cdrdao could not be started.";
    Abort();
    return false;
  }
  WriteLog("cdrdao writes to %s", m_device.c_str());
  return true;
}

bool CdrdaoRecorder::Write(uint32_t, std::span<const uint8_t> data, std::string& error) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(m_fifo, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = "cdrdao stopped taking data.";
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool CdrdaoRecorder::Finish(std::string& error) {
  if (m_fifo >= 0) ::close(m_fifo);
  m_fifo = -1;
  const int rc = m_child > 0 ? WaitExit(m_child) : -1;
  m_child = -1;
  std::error_code ignored;
  std::filesystem::remove_all(m_folder, ignored);
  if (rc != 0) error = "cdrdao could not finish the disc.";
  return rc == 0;
}

void CdrdaoRecorder::Abort() {
  if (m_fifo >= 0) ::close(m_fifo);
  m_fifo = -1;
  if (m_child > 0) {
    ::kill(m_child, SIGTERM);
    WaitExit(m_child);
  }
  m_child = -1;
  if (!m_folder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
    m_folder.clear();
  }
}

}  // namespace pictavo::burn
