// Output profiles: the group files of data/profile_en load, describe what the program needs, and
// every profile is something Debian's ffmpeg can encode.
#include <cstdlib>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "tests/modules/data/DataFixtures.h"

using namespace datatest;

namespace {

std::string SourceProfiles() {
  return std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data/profile_en";
}

CAVOutputProfileManager& LoadedManager(const std::string& folder = SourceProfiles()) {
  CAVOutputProfileManager& manager = *CDVDProject::GetAVOutputProfileManager();
  manager.SetProfileFolder(folder.c_str());
  EXPECT_TRUE(manager.InitProfileManager(0, nullptr, nullptr)) << folder;
  return manager;
}

CString Upper(LPCTSTR word) {
  CString text(word);
  return text.MakeUpper();
}

}  // namespace

TEST(OutputProfiles, EveryGroupFileLoadsWithUsableProfiles) {
  CAVOutputProfileManager& manager = LoadedManager();
  EXPECT_EQ(manager.GetLoadErrors().GetSize(), 0)
      << (manager.GetLoadErrors().GetSize() ? manager.GetLoadErrors()[0].GetString() : "");
  ASSERT_GE(manager.GetGroupCount(), 8);
  EXPECT_EQ(manager.m_nGroupCount, manager.GetGroupCount());
  std::set<std::string> folders;
  for (int g = 0; g < manager.GetGroupCount(); ++g) {
    const CAVOutputProfileGroup* group = manager.Get_pProfileGroupArray(g);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->m_nGroupID, g);
    EXPECT_FALSE(group->Get_strGroupDesc().IsEmpty());
    EXPECT_TRUE(folders.insert(std::string(group->Get_strGroupFolderName().View())).second)
        << "folder used twice";
    ASSERT_GT(group->Get_nProfileCount(), 0) << group->Get_strGroupDesc().GetString();
    EXPECT_NE(group->Get_pActiveAVOutputProfile(), nullptr);
    for (int p = 0; p < group->Get_nProfileCount(); ++p) {
      const CAVOutputProfile* profile = group->Get_pProfileArray(p);
      const std::string what = std::string(profile->Get_strFormatDescLong().View());
      EXPECT_EQ(profile->Get_nVideoWidth() % 4, 0) << what;
      EXPECT_EQ(profile->Get_nVideoHeight() % 2, 0) << what;
      EXPECT_GT(profile->Get_dblVideoFrameRate(), 0) << what;
      EXPECT_GT(profile->Get_nAudioSampleRate(), 0) << what;
      EXPECT_GT(profile->Get_nAudioChannel(), 0) << what;
      for (int o = 0; o < AVOPT_COUNT; ++o) {
        const _AV_OUTPUT_OPTION* option = profile->m_pOptions[o];
        EXPECT_TRUE(option->dwFlags & AVOPT_SHOWN) << what << " option " << o;
        EXPECT_FALSE(option->strName.IsEmpty()) << what << " option " << o;
        EXPECT_GT(option->arrChoices.GetSize(), 0) << what << " option " << o;
      }
    }
  }
}

TEST(OutputProfiles, GroupSevenIsActiveAndMakesH264Mp4) {
  CAVOutputProfileManager& manager = LoadedManager();
  CAVOutputProfileGroup* group = manager.Get_pActiveProfileGroup();
  ASSERT_EQ(group, manager.Get_pProfileGroupArray(CAVOutputProfileManager::kDefaultActiveGroup));
  const CAVOutputProfile* profile = manager.Get_pActiveAVOutputProfile();
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(profile->Get_strVideoCodenc(), "libx264");
  EXPECT_EQ(profile->Get_strAudioCodenc(), "aac");
  EXPECT_EQ(profile->Get_strOutputFormat(), "mp4");
  EXPECT_EQ(profile->Get_strOutputFileExtName(), "mp4");
  EXPECT_EQ(group->Get_strGroupFolderName(), "MP4");
  // The project's frames follow the active profile: 25 frames per second.
  CDVDProject project;
  EXPECT_EQ(project.Get_nFramesPerSecond(), static_cast<int>(profile->Get_dblVideoFrameRate() + 0.5));
}

TEST(OutputProfiles, FoundBesideTheProgramWithoutRegardToCase) {
  CAVOutputProfileManager& manager =
      LoadedManager(std::string(std::getenv("PICTAVO_BIN_DIR")) + "/Profile_EN");
  EXPECT_GE(manager.GetGroupCount(), 8);
}

TEST(OutputProfiles, EditedOptionsDriveTheGettersAndResetRestoresTheFile) {
  CAVOutputProfile* profile = LoadedManager().Get_pActiveAVOutputProfile();
  ASSERT_NE(profile, nullptr);
  const int width = profile->Get_nVideoWidth();
  const CString bitrate = profile->Get_strVideoBitRate();
  struct Case {
    int option;
    const char* value;
    int width, height;  // expected, 0: the file's
  } cases[] = {
      {AVOPT_VIDEO_SIZE, "702x401", 704, 402},  // frames are widened to a multiple of 4 and an even height
      {AVOPT_VIDEO_SIZE, "wide", 0, 0},         // not a size: the file's
      {AVOPT_VIDEO_SIZE, "640x360", 640, 360},
  };
  for (const Case& c : cases) {
    profile->GetOption(c.option)->strValue = c.value;
    EXPECT_EQ(profile->Get_nVideoWidth(), c.width ? c.width : width) << c.value;
    if (c.height) EXPECT_EQ(profile->Get_nVideoHeight(), c.height) << c.value;
  }
  profile->GetOption(AVOPT_VIDEO_BITRATE)->strValue = "1234";
  EXPECT_EQ(profile->Get_strVideoBitRate(), "1234");
  profile->GetOption(AVOPT_VIDEO_BITRATE)->strValue = "fast";
  EXPECT_EQ(profile->Get_strVideoBitRate(), bitrate);
  profile->GetOption(AVOPT_AUDIO_CHANNELS)->strValue = "1";
  EXPECT_EQ(profile->Get_nAudioChannel(), 1);
  int marker = 0;
  profile->GetOption(AVOPT_AUDIO_CHANNELS)->pProperty = &marker;
  profile->Reset();
  EXPECT_EQ(profile->Get_nVideoWidth(), width);
  EXPECT_EQ(profile->Get_strVideoBitRate(), bitrate);
  EXPECT_EQ(profile->Get_nAudioChannel(), 2);
  EXPECT_EQ(profile->GetOption(AVOPT_AUDIO_CHANNELS)->pProperty, &marker)
      << "the page's link survives a reset";
}

TEST(OutputProfiles, DescriptionsGoThroughTheTranslation) {
  CAVOutputProfileManager& manager = LoadedManager();
  CAVOutputProfile::SetProcProfileTranslateDictionary(&Upper);
  EXPECT_EQ(manager.Get_pActiveProfileGroup()->Get_strGroupDesc(), "MP4 VIDEO (H.264, AAC)");
  CAVOutputProfile::SetProcProfileTranslateDictionary(nullptr);
  EXPECT_EQ(manager.Get_pActiveProfileGroup()->Get_strGroupDesc(), "MP4 Video (H.264, AAC)");
}

TEST(OutputProfiles, BrokenGroupFilesAreRefusedWithAReason) {
  ScratchDir dir;
  const std::string good = ReadWholeFile(SourceProfiles() + "/07_mp4.xml");
  WriteWholeFile(dir / "good.xml", good);
  std::string oddWidth = good;
  oddWidth.replace(oddWidth.find("value=\"1280x720\""), 16, "value=\"1278x720\"");
  WriteWholeFile(dir / "odd.xml", oddWidth);
  WriteWholeFile(dir / "cut.xml", good.substr(0, good.size() / 3));
  WriteWholeFile(dir / "notes.txt", "not a group");
  CAVOutputProfileManager& manager = LoadedManager(dir.Path());
  EXPECT_EQ(manager.GetGroupCount(), 1);
  ASSERT_EQ(manager.GetLoadErrors().GetSize(), 2);
  EXPECT_NE(manager.GetLoadErrors()[1].Find("multiple of 4"), -1) << manager.GetLoadErrors()[1].GetString();
  // With fewer than eight groups the last one is active.
  EXPECT_EQ(manager.Get_pActiveProfileGroup(), manager.Get_pProfileGroupArray(0));
}

TEST(OutputProfiles, EveryProfileEncodesWithFfmpeg) {
  CAVOutputProfileManager& manager = LoadedManager();
  ScratchDir dir;
  for (int g = 0; g < manager.GetGroupCount(); ++g) {
    const CAVOutputProfileGroup* group = manager.Get_pProfileGroupArray(g);
    for (int p = 0; p < group->Get_nProfileCount(); ++p) {
      const CAVOutputProfile* profile = group->Get_pProfileArray(p);
      const std::string size =
          std::to_string(profile->Get_nVideoWidth()) + "x" + std::to_string(profile->Get_nVideoHeight());
      const std::string rate = std::to_string(profile->Get_dblVideoFrameRate());
      // The worker names MP3 by its encoder; AAC is ffmpeg's own encoder today.
      std::string audio(profile->Get_strAudioCodenc().View());
      if (audio == "mp3") audio = "libmp3lame";
      const std::string out = dir / ("g" + std::to_string(g) + "p" + std::to_string(p) + "." +
                                     std::string(profile->Get_strOutputFileExtName().View()));
      EXPECT_TRUE(datatest::Run(
          {"ffmpeg",
           "-nostdin",
           "-v",
           "error",
           "-y",
           "-f",
           "lavfi",
           "-i",
           "testsrc=size=" + size + ":rate=" + rate + ":duration=0.4",
           "-f",
           "lavfi",
           "-i",
           "sine=sample_rate=" + std::string(profile->Get_strAudioSampleRate().View()) + ":duration=0.4",
           "-c:v",
           std::string(profile->Get_strVideoCodenc().View()),
           "-b:v",
           std::string(profile->Get_strVideoBitRate().View()) + "k",
           "-r",
           rate,
           "-s",
           size,
           "-c:a",
           audio,
           "-b:a",
           std::string(profile->Get_strAudioBitRate().View()) + "k",
           "-ar",
           std::string(profile->Get_strAudioSampleRate().View()),
           "-ac",
           std::to_string(profile->Get_nAudioChannel()),
           "-f",
           std::string(profile->Get_strOutputFormat().View()),
           out}))
          << profile->Get_strFormatDescLong().GetString();
      EXPECT_GT(fs::exists(out) ? fs::file_size(out) : 0, 0u) << out;
    }
  }
}
