// A project written as video files by the real ffmpeg: profiles from the program's profile
// folder, small frames, and the worker driven the way the encoding dialog drives it.
#pragma once

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "shell/SlideshowApp.h"
#include "modules/data/ImageSprite.h"
#include "modules/data/OutputProfile.h"
#include "platform/kernel/Wait.h"
#include "render/EncodeVideoDlg.h"
#include "tests/render/RenderFixtures.h"

namespace rendertest {

class VideoOutputTest : public ::testing::Test {
 protected:
  VideoOutputTest() {
    LoadTransitions();
    CDVDProject::g_m_strAppTempPathBase = (m_dir / "base").c_str();
    CDVDProject::g_m_strYUVDumpPipeName = R"(\\.\pipe\zorv_vqrtz_yuv420_pp)";
    CDVDProject::g_m_strPCMDumpPipeName = R"(\\.\pipe\zorv_vqrtz_pcm_pp)";
    m_manager = CDVDProject::GetAVOutputProfileManager();
    m_manager->SetProfileFolder((ProgramFolder() + "/profile_en").c_str());
    EXPECT_TRUE(m_manager->InitProfileManager(0, nullptr, nullptr));
    m_manager->Set_strOutputPath((m_dir / "out").c_str());
    GetProject()->NewProject();
    theApp.SetProjectPath("");  // untitled, whatever the test before saved
    UseGroup("MP4");
  }
  ~VideoOutputTest() override { GetProject()->NewProject(); }

  // Makes the group of `folder` active with small frames at 25 per second.
  CAVOutputProfile* UseGroup(const char* folder) {
    for (int g = 0; g < m_manager->GetGroupCount(); ++g) {
      CAVOutputProfileGroup* group = m_manager->Get_pProfileGroupArray(g);
      if (group->Get_strGroupFolderName() != folder) continue;
      m_manager->Set_pActiveProfileGroup(group);
      CAVOutputProfile* profile = group->Get_pActiveAVOutputProfile();
      profile->GetOption(AVOPT_VIDEO_SIZE)->strValue = "320x240";
      profile->GetOption(AVOPT_VIDEO_FRAMERATE)->strValue = "25";
      profile->GetOption(AVOPT_VIDEO_BITRATE)->strValue = "600";
      return profile;
    }
    ADD_FAILURE() << "no group " << folder;
    return nullptr;
  }

  std::string Photo(const std::string& name, int w, int h, COLORREF colour) {
    return MakePhoto(m_dir / ("photos/" + name), w, h, colour);
  }

  // "Summer": titles, music, landscape and portrait photos, a text object, a transition per
  // slide. "Winter": no music. Saved as Trip.r7m so that the files are named after it.
  void MakeTwoAlbumProject() {
    CDVDProject& project = *GetProject();
    CDVDAlbumImage* summer = AddPhotoAlbum(project, "Summer");
    _ALBUM_TEXT_SETTINGS* title = summer->GetAlbumEffect()->GetTitleSettings();
    title->bEnabled = 1;
    title->nDuration = 1;
    ASSERT_TRUE(summer->AddBackgroundMusic(MakeMusic(m_dir / "music/tune.mp3", 5).c_str()));
    AddSlide(*summer, Photo("beach.jpg", 640, 480, RGB(230, 180, 40)), 1, 1, "Fade[TransitionLib]");
    AddSlide(*summer, Photo("tower.jpg", 360, 640, RGB(40, 120, 200)), 1, 1, "Wipe Right[TransitionLib]");
    CDVDImage* last =
        AddSlide(*summer, Photo("sea.jpg", 800, 450, RGB(20, 160, 90)), 1, 2, "Push Left[TransitionLib]");
    auto* text = new CDVDImageText(last);
    text->Set_strText("Goodbye");
    text->Set_ptPosition(POINT{200, 300});
    text->SetTextSize();
    last->AddImageSprite(text, 0);
    CDVDAlbumImage* winter = AddPhotoAlbum(project, "Winter");
    AddSlide(*winter, Photo("snow.jpg", 480, 640, RGB(220, 220, 240)), 1, 1, "Dissolve[TransitionLib]");
    AddSlide(*winter, Photo("hut.jpg", 1024, 576, RGB(120, 60, 30)), 1, 1, "Circle In[TransitionLib]");
    ASSERT_TRUE(project.SaveToFile((m_dir / "Trip.r7m").c_str()));
    theApp.SetProjectPath((m_dir / "Trip.r7m").c_str());  // as saving under a name does
  }

  // An album long enough to be interrupted.
  void MakeLongAlbum(const char* name) {
    CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), name);
    for (int i = 0; i < 20; ++i)
      AddSlide(*album, Photo("long" + std::to_string(i) + ".jpg", 640, 480, RGB(10 * i, 100, 200 - 5 * i)), 1,
               2, "Fade[TransitionLib]");
  }

  struct Run {
    bool finished = false;
    WPARAM result = 0;
    std::vector<WPARAM> albumsStarted;
    int progressReports = 0;
  };
  // Runs the worker to its end. `onProgress` is called on the first ffmpeg progress report.
  template <class OnProgress>
  Run Encode(CEncodeVideoDlg& dlg, OnProgress&& onProgress) {
    Run run;
    MessageWindow window;
    EXPECT_TRUE(dlg.StartWorker(window.Handle()));
    MSG msg;
    run.finished = window.WaitFor(WM_VIDEO_ENCODE_FINISHED, msg, kGuardMs, [&](const MSG& seen) {
      if (seen.message == WM_ENCODE_ALBUM_STARTED) run.albumsStarted.push_back(seen.wParam);
      if (seen.message == WM_FFMPEG_PROGRESS && run.progressReports++ == 0) onProgress();
    });
    run.result = msg.wParam;
    EXPECT_EQ(WaitForSingleObject(dlg.GetWorkerThread(), kGuardMs), WAIT_OBJECT_0);
    return run;
  }
  Run Encode(CEncodeVideoDlg& dlg) {
    return Encode(dlg, [] {});
  }

  // Every file below the output folder.
  std::vector<std::string> OutputFiles() const {
    std::vector<std::string> files;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(m_dir / "out", ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      if (it->is_regular_file()) files.push_back(it->path().string());
    return files;
  }

  // The ffmpeg this process started, killed by its id.
  static bool KillOwnFfmpeg() {
    bool killed = false;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return false;
    while (dirent* entry = ::readdir(proc)) {
      const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
      if (pid <= 0) continue;
      std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
      std::string line;
      std::getline(stat, line);
      const size_t close = line.rfind(')');
      if (close == std::string::npos || line.find("(ffmpeg)") == std::string::npos) continue;
      int parent = 0;
      char state = 0;
      if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 && parent == ::getpid())
        killed = ::kill(pid, SIGKILL) == 0 || killed;
    }
    ::closedir(proc);
    return killed;
  }

  ScratchDir m_dir;
  CAVOutputProfileManager* m_manager = nullptr;
};

}  // namespace rendertest
