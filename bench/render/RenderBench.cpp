// One video output measured whole: an album of 20 photos (4 s each, 1 s transitions, pan and
// zoom, music) written at 1280 x 720 by the MP4 (H.264/AAC) group's 720p profile.
//
//   frame path     CSlideEncoder alone, frames into /dev/null (photo cache copies, and the
//                  photos themselves)
//   encoder-only   ffmpeg encoding the same frames and sound from files with the same profile
//   whole output   the encode worker: ffmpeg fed by the music decoder and the frame encoder
//                  through the two pipes
//   from the window the program itself on the headless display, as a user runs it: the saved
//                  project opened, the output page's "Burn now" pressed; timed by the program's
//                  log from the create-output command to the end of the worker
//
// Prints frames per second, seconds and peak memory (this process and ffmpeg). Usage:
//   bench_render [--frame-path] [folder for the scratch files]
// --frame-path measures the frame path alone (for a profiler).
#include <dirent.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/encoders/CmdEncoder.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/ProcessHeap.h"
#include "platform/kernel/Wait.h"
#include "render/EncodeVideoDlg.h"
#include "render/PhotoCache.h"
#include "render/SlideEncoder.h"
#include "shell/TransitionList.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPhotos = 20;
constexpr int kPortraitEvery = 5;  // every fifth photo stands upright
constexpr int kDisplaySeconds = 4;
constexpr int kTransitionSeconds = 1;
constexpr int kSeconds = kPhotos * (kDisplaySeconds + kTransitionSeconds);
const char* const kTransitions[] = {"Fade",     "Wipe Right", "Push Left", "Circle Out",
                                    "Dissolve", "Zoom In",    "Page Turn", "Blinds Vertical"};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

bool Run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

// User and system CPU seconds of `who` so far.
double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double LoadAverage() {
  double load[1] = {};
  return getloadavg(load, 1) == 1 ? load[0] : 0;
}

long PeakKilobytes(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_maxrss;
}

// The highest VmHWM of this process's ffmpeg children while it runs.
class ChildPeakSampler {
 public:
  ChildPeakSampler() {
    m_thread = std::thread([this] {
      while (!m_stop) {
        Sample();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    });
  }
  ~ChildPeakSampler() {
    m_stop = true;
    m_thread.join();
  }
  long PeakKilobytes() const { return m_peak; }

 private:
  void Sample() {
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return;
    while (dirent* entry = readdir(proc)) {
      const int pid = std::atoi(entry->d_name);
      if (pid <= 0) continue;
      std::ifstream status("/proc/" + std::string(entry->d_name) + "/status");
      std::string line, name;
      int parent = 0;
      long hwm = 0;
      while (std::getline(status, line)) {
        if (line.rfind("Name:", 0) == 0) name = line.substr(5);
        if (line.rfind("PPid:", 0) == 0) parent = std::atoi(line.c_str() + 5);
        if (line.rfind("VmHWM:", 0) == 0) hwm = std::atol(line.c_str() + 6);
      }
      if (parent == getpid() && name.find("ffmpeg") != std::string::npos)
        m_peak = std::max<long>(m_peak, hwm);
    }
    closedir(proc);
  }

  std::atomic<bool> m_stop{false};
  std::atomic<long> m_peak{0};
  std::thread m_thread;
};

// Renders the album into `output` (a file or /dev/null); seconds taken. `cpu` gets the CPU
// seconds the process spent meanwhile (the frame workers', as nothing else runs).
double RenderFrames(CDVDAlbumImage* album, const std::string& output, int width, int height,
                    double* cpu = nullptr) {
  HANDLE file = CreateFile(output.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE | FILE_SHARE_READ, nullptr,
                           output == "/dev/null" ? OPEN_EXISTING : CREATE_ALWAYS, 0, nullptr);
  HANDLE done = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE cancel = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  CSlideEncoder encoder(1);
  encoder.SetOutputSize(width, height, 0, 0);
  encoder.SetRenderSize(width, height);
  const double cpuStart = CpuSeconds(RUSAGE_SELF);
  const auto start = Clock::now();
  const _tagSlideEncodeParam param{album, nullptr, cancel, done, file, 0, DVD_OUTPUT_PROFILE_GROUP, FALSE};
  encoder.Start(param);
  WaitForSingleObject(done, INFINITE);
  const double seconds = SecondsSince(start);
  if (cpu != nullptr) *cpu = CpuSeconds(RUSAGE_SELF) - cpuStart;
  if (encoder.GetResult() != NO_ERROR) std::fprintf(stderr, "frame path failed: %u\n", encoder.GetResult());
  CloseHandle(done);
  CloseHandle(cancel);
  return seconds;
}

// "hh:mm:ss.mmm" of a log line ("YYYY-MM-DD hh:mm:ss.mmm text") in seconds; -1 when it has none.
double LogLineSeconds(const std::string& line) {
  int h = 0, m = 0, sec = 0, ms = 0;
  if (line.size() < 23 || std::sscanf(line.c_str() + 11, "%d:%d:%d.%d", &h, &m, &sec, &ms) != 4) return -1;
  return h * 3600.0 + m * 60.0 + sec + ms / 1000.0;
}

// The whole output started from the window: the program opens `project` on the headless display
// and a script presses "Burn now" on the output page; the seconds from the create-output
// command's log line to the worker's last one, or -1 when the run did not get there.
double WindowOutput(const fs::path& scratch, const std::string& bin, const std::string& project) {
  const fs::path home = scratch / "window";
  for (const char* sub : {"home", "config", "tmp", "run", "bin"}) fs::create_directories(home / sub);
  // The desktop's opener, which the page starts on the output folder.
  const std::string opener = (home / "bin/xdg-open").string();
  std::ofstream(opener) << "#!/bin/sh\nexit 0\n";
  fs::permissions(opener, fs::perms::owner_all);
  const std::string script = (home / "script.txt").string();
  std::ofstream(script) << "wait-window \"Bench - Talvane Pictavo\" 60\n"
                           "wait-gone Splash 30\n"
                           "click 1139 560 13\n"  // the album sheet's Video Output tab
                           "click 1194\nkey Home\nkey Shift+End\ntype "
                        << (scratch / "out-window").string()
                        << "\n"
                           "click 1246\n"
                           "wait-window \"Encoding Photo Album\" 30\n"
                           "wait-window \"Talvane Pictavo\" 600\n"
                           "key Enter\n"
                           "wait-window \"Bench - Talvane Pictavo\"\n"
                           "command 32791\n";
  std::vector<std::string> env = {
      "HOME=" + (home / "home").string(),  "XDG_CONFIG_HOME=" + (home / "config").string(),
      "TMPDIR=" + (home / "tmp").string(), "XDG_RUNTIME_DIR=" + (home / "run").string(),
      "PICTAVO_DISPLAY=headless",          "PICTAVO_DESKTOP=1024x768",
      "PICTAVO_SCRIPT=" + script,          "PATH=" + (home / "bin").string() + ":" + std::getenv("PATH")};
  const std::string program = bin + "/pictavo";
  std::vector<std::string> args = {program, project};
  const pid_t child = fork();
  if (child == 0) {
    std::vector<char*> a, e;
    for (auto& arg : args) a.push_back(arg.data());
    a.push_back(nullptr);
    for (auto& var : env) e.push_back(var.data());
    e.push_back(nullptr);
    execve(program.c_str(), a.data(), e.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the program's run did not end well (status %d)\n", status);
    return -1;
  }
  double begin = -1, end = -1;
  for (const auto& entry : fs::recursive_directory_iterator(home))
    if (entry.path().filename() == "zel.log") {
      std::ifstream in(entry.path());
      for (std::string line; std::getline(in, line);) {
        if (line.find("###Create misc video files output.") != std::string::npos)
          begin = LogLineSeconds(line);
        if (line.find("Video output finished:") != std::string::npos) end = LogLineSeconds(line);
      }
    }
  return begin >= 0 && end >= begin ? end - begin : -1;
}

}  // namespace

int main(int argc, char** argv) {
  // As the program starts.
  pictavo::kernel::MapLargeBlocksApart();
  bool framePathOnly = false;
  int pairs = 1;
  std::string folder = fs::temp_directory_path().string();
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--frame-path")
      framePathOnly = true;
    else if (std::string(argv[i]) == "--pairs" && i + 1 < argc)
      pairs = std::clamp(std::atoi(argv[++i]), 1, 20);
    else
      folder = argv[i];
  }
  const fs::path scratch = fs::path(folder) / "pictavo-bench-render";
  fs::remove_all(scratch);
  fs::create_directories(scratch / "photos");
  const std::string bin = PICTAVO_BIN_DIR;

  // Photos like a camera's (12 megapixels), and the music.
  std::printf("making %d photos and %d s of music in %s ...\n", kPhotos, kSeconds, scratch.c_str());
  const std::string photos = (scratch / "photos").string();
  const int portraits = kPhotos / kPortraitEvery;
  if (!Run("ffmpeg -v error -y -f lavfi -i testsrc2=size=4000x3000:rate=1 -frames:v " +
           std::to_string(kPhotos - portraits) + " -q:v 3 " + photos + "/land%02d.jpg") ||
      !Run("ffmpeg -v error -y -f lavfi -i testsrc2=size=3000x4000:rate=1 -frames:v " +
           std::to_string(portraits) + " -q:v 3 " + photos + "/port%02d.jpg") ||
      !Run("ffmpeg -v error -y -f lavfi -i \"sine=frequency=330:duration=" + std::to_string(kSeconds) +
           "\" -f lavfi -i \"anoisesrc=a=0.05:d=" + std::to_string(kSeconds) +
           "\" -filter_complex amix=inputs=2 -ac 2 -b:a 192k " + (scratch / "music.mp3").string())) {
    std::fprintf(stderr, "ffmpeg could not make the inputs\n");
    return 1;
  }

  LoadBuiltInTransitions(bin.c_str());
  CDVDProject::g_m_strAppTempPathBase = (scratch / "base").c_str();
  CDVDProject::g_m_strYUVDumpPipeName = R"(\\.\pipe\zorv_vqrtz_yuv420_pp)";
  CDVDProject::g_m_strPCMDumpPipeName = R"(\\.\pipe\zorv_vqrtz_pcm_pp)";
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  manager->SetProfileFolder((bin + "/profile_en").c_str());
  manager->InitProfileManager(0, nullptr, nullptr);
  manager->Set_strOutputPath((scratch / "out").c_str());
  CAVOutputProfile* profile = nullptr;
  for (int g = 0; g < manager->GetGroupCount(); ++g) {
    CAVOutputProfileGroup* group = manager->Get_pProfileGroupArray(g);
    if (group->Get_strGroupFolderName() != "MP4") continue;
    manager->Set_pActiveProfileGroup(group);
    for (int p = 0; p < group->Get_nProfileCount(); ++p)
      if (group->Get_pProfileArray(p)->Get_strProfileName() == "mp4_720p")
        group->Set_pActiveAVOutputProfile(group->Get_pProfileArray(p));
    profile = group->Get_pActiveAVOutputProfile();
  }
  if (profile == nullptr) {
    std::fprintf(stderr, "no MP4 profile in %s/profile_en\n", bin.c_str());
    return 1;
  }
  const int width = profile->Get_nVideoWidth(), height = profile->Get_nVideoHeight();
  const int fps = GetProject()->Get_nFramesPerSecond();

  CDVDAlbumImage* album = GetProject()->AllocImageAlbum(nullptr);
  album->Set_strAlbumName("Bench");
  album->Set_bAutoPanZoom(TRUE);
  GetProject()->AddAlbum(album);
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(photos)) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  for (size_t i = 0; i < files.size(); ++i) {
    auto* slide = new CDVDImage(album);
    slide->Put_strPathName(files[i].c_str());
    slide->Put_nOneDuration(kTransitionSeconds);
    slide->Put_nTwoDuration(kDisplaySeconds);
    slide->Set_strTransName(
        (std::string(kTransitions[i % std::size(kTransitions)]) + "[TransitionLib]").c_str());
    album->AddDVDImage(slide);
  }
  album->AddBackgroundMusic((scratch / "music.mp3").c_str());
  const long frames = static_cast<long>(album->GetTotalLength()) * fps;
  std::printf("album: %d photos, %d s, %ld frames of %dx%d at %d fps\n", album->GetImageCount(),
              album->GetTotalLength(), frames, width, height, fps);

  // The cache's copies, as the album editor has them made when photos are added.
  auto start = Clock::now();
  for (const std::string& file : files) GetPhotoCache()->CacheOne(file.c_str());
  const double cacheSeconds = SecondsSince(start);

  if (framePathOnly) {
    double cpu = 0;
    const double seconds = RenderFrames(album, "/dev/null", width, height, &cpu);
    std::printf(
        "frame path: %.2f s, %.1f frames/s, CPU %.2f s (%.2f ms a frame), peak memory %ld MB, load %.1f\n",
        seconds, frames / seconds, cpu, cpu * 1000 / frames, PeakKilobytes(RUSAGE_SELF) / 1024,
        LoadAverage());
    fs::remove_all(scratch);
    return 0;
  }
  CDVDProject::SetEmVideoEncodeEngine(1);  // the photos themselves
  double uncachedCpu = 0, framePathCpu = 0;
  const double uncached = RenderFrames(album, "/dev/null", width, height, &uncachedCpu);
  CDVDProject::SetEmVideoEncodeEngine(0);
  const double framePath = RenderFrames(album, "/dev/null", width, height, &framePathCpu);

  // The encoder alone, from files holding the same frames and sound.
  const std::string y4m = (scratch / "frames.y4m").string();
  const std::string pcm = (scratch / "music.pcm").string();
  RenderFrames(album, y4m, width, height);
  Run("ffmpeg -v error -y -i " + (scratch / "music.mp3").string() + " -t " + std::to_string(kSeconds) +
      " -f s16le -ac " + std::to_string(profile->Get_nAudioChannel()) + " -ar " +
      std::string(profile->Get_strAudioSampleRate()) + " " + pcm);
  std::vector<std::string> command =
      CEncodeVideoDlg::BuildFfmpegCommand(*profile, "Bench", TRUE, (scratch / "encoder-only.mp4").c_str());
  for (std::string& arg : command) {
    if (arg == std::string(CDVDProject::g_m_strPCMDumpPipeName)) arg = pcm;
    if (arg == std::string(CDVDProject::g_m_strYUVDumpPipeName)) arg = y4m;
  }
  // Encoder-only and the whole output in turn, `pairs` times: one run of either moves by more
  // than the frame path costs, so the ratio is taken from the medians.
  long encoderPeak = 0, wholePeak = 0;
  double encoderCpu = 0, wholeCpu = 0, wholeChildCpu = 0;
  std::vector<double> encoderRuns, wholeRuns;
  bool ok = true;
  for (int pair = 0; pair < pairs; ++pair) {
    {
      ChildPeakSampler sampler;
      CCmdEncoder runner(nullptr);
      encoderCpu = CpuSeconds(RUSAGE_CHILDREN);
      start = Clock::now();
      if (!runner.Open(command, 1)) std::fprintf(stderr, "ffmpeg did not start: %s\n", runner.m_pszError);
      runner.WaitForConsoleTerminate(INFINITE);
      encoderRuns.push_back(SecondsSince(start));
      encoderCpu = CpuSeconds(RUSAGE_CHILDREN) - encoderCpu;
      DWORD code = 0;
      runner.GetExitCode(&code);
      if (code != 0) std::fprintf(stderr, "encoder-only ffmpeg failed: %s\n", runner.m_pszError);
      encoderPeak = std::max(encoderPeak, sampler.PeakKilobytes());
    }
    {
      ChildPeakSampler sampler;
      CEncodeVideoDlg dlg;
      wholeCpu = CpuSeconds(RUSAGE_SELF);
      wholeChildCpu = CpuSeconds(RUSAGE_CHILDREN);
      start = Clock::now();
      dlg.StartWorker(nullptr);
      WaitForSingleObject(dlg.GetWorkerThread(), INFINITE);
      wholeRuns.push_back(SecondsSince(start));
      wholeCpu = CpuSeconds(RUSAGE_SELF) - wholeCpu;
      wholeChildCpu = CpuSeconds(RUSAGE_CHILDREN) - wholeChildCpu;
      wholePeak = std::max(wholePeak, sampler.PeakKilobytes());
      const bool done = !dlg.GetLastOutputFile().IsEmpty() && dlg.GetLastFailure().IsEmpty();
      if (!done)
        std::fprintf(stderr, "whole output failed: %s\n", static_cast<LPCTSTR>(dlg.GetLastFailure()));
      ok = ok && done;
    }
    if (pairs > 1)
      std::printf("pair %d: encoder-only %.2f s, whole output %.2f s, ratio %.2f\n", pair + 1,
                  encoderRuns.back(), wholeRuns.back(), wholeRuns.back() / encoderRuns.back());
  }
  fs::remove(y4m);
  const auto median = [](std::vector<double> runs) {
    std::sort(runs.begin(), runs.end());
    const size_t n = runs.size();
    return n % 2 != 0 ? runs[n / 2] : (runs[n / 2 - 1] + runs[n / 2]) / 2;
  };
  const double encoderOnly = median(encoderRuns);
  const double whole = median(wholeRuns);

  // The same album, saved, written by the program from its output page.
  const std::string project = (scratch / "Bench.r7m").string();
  const double window = GetProject()->SaveToFile(project.c_str()) ? WindowOutput(scratch, bin, project) : -1;

  std::printf("\nmachine: %u cores\n", std::thread::hardware_concurrency());
  std::printf("photo cache: %d copies in %.2f s (%.0f ms each)\n", kPhotos, cacheSeconds,
              cacheSeconds * 1000 / kPhotos);
  std::printf("load average %.1f\n", LoadAverage());
  std::printf("%-36s %8s %10s %12s %12s\n", "run", "seconds", "frames/s", "CPU s", "CPU ms/frame");
  const auto row = [frames](const char* name, double seconds, double cpu) {
    std::printf("%-36s %8.2f %10.1f %12.2f %12.2f\n", name, seconds, frames / seconds, cpu,
                cpu * 1000 / frames);
  };
  row("frame path, photo cache copies", framePath, framePathCpu);
  row("frame path, photos themselves", uncached, uncachedCpu);
  row("encoder-only (ffmpeg from files)", encoderOnly, encoderCpu);
  row("whole output, this process", whole, wholeCpu);
  row("whole output, ffmpeg", whole, wholeChildCpu);
  std::printf("%-36s %8.2f %10.1f\n", "from the window (Burn now)", window, frames / window);
  std::printf("whole / encoder-only: %.2f, from the window / encoder-only: %.2f\n", whole / encoderOnly,
              window / encoderOnly);
  if (pairs > 1)
    std::printf("(medians of %d runs each; CPU figures of the last run)\n", pairs);
  std::printf("peak memory: this process %ld MB, ffmpeg %ld MB (encoder-only %ld MB)\n",
              PeakKilobytes(RUSAGE_SELF) / 1024, wholePeak / 1024, encoderPeak / 1024);
  fs::remove_all(scratch);
  return ok && window > 0 ? 0 : 1;
}
