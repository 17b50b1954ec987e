// The r7m project file: a full round trip, damaged, newer and foreign files, missing media, failed
// saves that keep the old file, and projects moved with their photos.
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "tests/modules/data/DataFixtures.h"

using namespace datatest;

namespace {

void SetText(_ALBUM_TEXT_SETTINGS& text, int enabled, int seconds, const char* body) {
  text.bEnabled = enabled;
  text.nDuration = seconds;
  text.nFontSize = 40 + seconds;
  text.clrFont = RGB(10, 20, 30 + seconds);
  text.clrBackground = RGB(1, 2, 3);
  std::strncpy(text.szText, body, sizeof text.szText - 1);
}

// Two photo albums with slides, objects, per-slide transitions and durations and two trimmed music
// clips each, and a video album.
struct Sample {
  ScratchDir dir;
  CDVDProject project;
  std::string clip;

  Sample() {
    project.GetOptionsData()->nTVSystem = 1;
    project.GetOptionsData()->nAspectCorrection = 1;
    project.GetOptionsData()->bAntiFlicker = 1;
    project.SetMenuTemplateName("19basic.xml");
    for (int a = 0; a < 2; ++a) {
      CDVDAlbumImage* album = AddPhotoAlbum(project, a == 0 ? "Summer \"Rome\" & <Paris>" : "Winter");
      album->Set_nOneDuration(-1, 1 + a);
      album->Set_nTwoDuration(-1, 4 + a);
      album->Set_clrBackground(RGB(12, 34, 56 + a));
      album->Set_bAutoPanZoom(a == 0);
      album->Set_bMusicFadeInOut(a == 1);
      album->Set_dwTransDurationType(static_cast<DWORD>(a));
      album->GetAlbumEffect()->SetThemeName("Holiday");
      SetText(*album->GetAlbumEffect()->GetTitleSettings(), 1, 5 + a, "Line one\nLine two");
      SetText(*album->GetAlbumEffect()->GetCreditSettings(), a, 3, "The end");
      CDVDSubtitleFont font;
      font.Set_strCharset("Greek");
      font.Set_nFontSize(30 + a);
      font.Set_strFontFileName("/usr/share/fonts/x.ttf");
      album->SetDVDSubtitleFont(font);
      for (int s = 0; s < 3; ++s) {
        CDVDImage* slide = AddSlide(
            *album, MakePhoto(dir, "photos/a" + std::to_string(a) + "_" + std::to_string(s) + ".jpg"));
        slide->Set_strTransName(("Wipe " + std::to_string(s)).c_str());
        slide->Put_nOneDuration(s == 1 ? 3 : -1);
        slide->Put_nTwoDuration(s == 2 ? 7 : -1);
        slide->Put_nRotateAngle(90 * s);
        slide->Set_strSubtitle("$[F] on $[t]");
        if (s == 1) {
          _tagPhotoPanZoomSaveParam saved;
          saved.fEndZoom = 150;
          saved.fStartPanX = -12.5;
          slide->Set_nPanZoom(DVD_PANZOOM_CUSTOM, &saved);
          _tagPhotoIntensityParam intensity;
          intensity.nBrightness = -30;
          intensity.nGamma = 70;
          slide->Set_pPhotoIntensityParam(&intensity);
          slide->ToggleAutoAdjustExposure(nullptr);
          _AUDIO_SOURCE note;
          note.strPathName = MakeMusic(dir, "sound/note.mp3", 1).c_str();
          note.nSourceLength = 1000;
          note.nTrimEnd = 800;
          slide->SetAnnotation(&note);
        }
        if (s == 2) slide->Set_nPanZoom(4, nullptr);
        auto* text = new CDVDImageText(slide);
        text->Set_strText("Hello\nworld");
        text->Set_ptPosition(POINT{100 + s, 200});
        text->Set_szSize(SIZE{300, 80});
        _DVDImageTextFont style = text->GetDVDImageTextFont();
        style.bBold = 1;
        style.effect.brush.nBrushType = 1;
        style.effect.brush.clrGradient2 = RGB(9, 8, 7);
        std::strcpy(style.effect.brush.szTextureFile, "wood.jpg");
        text->SetDVDImageTextFont(&style);
        slide->AddImageSprite(text, 0);
        auto* art = new CDVDImageProps(slide);
        art->Set_strPathName(MakePhoto(dir, "art/star.jpg", 16, 16).c_str());
        art->Set_ptPosition(POINT{5, 6});
        art->Set_szSize(SIZE{70, 80});
        slide->AddImageSprite(art, 0);
      }
      album->Set_pAlbumImage(album->GetImage(1));
      album->m_pCurImage = album->GetImage(2);
      auto* banner = new CDVDImageText();
      banner->Set_strText("Album-wide");
      album->AddImageSprite(banner, 0);
      for (int m = 0; m < 2; ++m) {
        _AUDIO_SOURCE music;
        music.strPathName = MakeMusic(dir, "music/track" + std::to_string(m) + ".mp3", 2).c_str();
        music.nSourceLength = 2000;
        music.nTrimStart = 250 * m;
        music.nTrimEnd = 1500;
        music.nStartPos = m * 1500;
        album->AddBackgroundMusic(music);
      }
    }
    CDVDAlbumMovie* video = project.AllocMovieAlbum(nullptr);
    video->Set_strAlbumName("Clips");
    project.AddAlbum(video);
    clip = MakeClip(dir, "video/clip.mp4", 1.0);
    _DV_LIST_ITEM_DATA* item = video->InsertVideoFile(clip.c_str(), clip.c_str(), nullptr, 0);
    EXPECT_NE(item, nullptr);
    if (item != nullptr) item->pSource->dwStart = 100;
  }
};

void ExpectSameText(const _ALBUM_TEXT_SETTINGS& a, const _ALBUM_TEXT_SETTINGS& b, const std::string& what) {
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << what;
}

void ExpectSameSprites(const CDVDImageSpriteArray& a, const CDVDImageSpriteArray& b,
                       const std::string& what) {
  ASSERT_EQ(a.GetSize(), b.GetSize()) << what;
  for (INT_PTR i = 0; i < a.GetSize(); ++i) {
    const CDVDImageSprite& x = *a[i];
    const CDVDImageSprite& y = *b[i];
    EXPECT_EQ(x.GetSpriteType(), y.GetSpriteType()) << what;
    EXPECT_TRUE(x.Get_ptPosition() == y.Get_ptPosition()) << what;
    EXPECT_TRUE(x.Get_szSize() == y.Get_szSize()) << what;
    EXPECT_EQ(x.Get_srRange(), y.Get_srRange()) << what;
    if (x.GetSpriteType() == DVD_SPRITE_TEXT) {
      const auto& tx = static_cast<const CDVDImageText&>(x);
      const auto& ty = static_cast<const CDVDImageText&>(y);
      EXPECT_EQ(tx.Get_strText(), ty.Get_strText()) << what;
      EXPECT_EQ(std::memcmp(&tx.GetDVDImageTextFont(), &ty.GetDVDImageTextFont(), sizeof(_DVDImageTextFont)),
                0)
          << what;
    } else {
      EXPECT_EQ(static_cast<const CDVDImageProps&>(x).Get_strPathName(),
                static_cast<const CDVDImageProps&>(y).Get_strPathName())
          << what;
    }
  }
}

void ExpectSameSlide(const CDVDImage& a, const CDVDImage& b, const std::string& what) {
  EXPECT_EQ(a.Get_strPathName(), b.Get_strPathName()) << what;
  EXPECT_EQ(a.Get_nImageType(), b.Get_nImageType()) << what;
  EXPECT_EQ(a.Get_nOneDuration(), b.Get_nOneDuration()) << what;
  EXPECT_EQ(a.Get_nTwoDuration(), b.Get_nTwoDuration()) << what;
  EXPECT_EQ(a.Get_strTransName(), b.Get_strTransName()) << what;
  EXPECT_EQ(a.Get_nPanZoom(), b.Get_nPanZoom()) << what;
  EXPECT_EQ(a.Get_nRotateAngle(), b.Get_nRotateAngle()) << what;
  EXPECT_EQ(a.Get_bAutoExposure(), b.Get_bAutoExposure()) << what;
  EXPECT_EQ(a.Get_strOrgSubtilte(), b.Get_strOrgSubtilte()) << what;
  ASSERT_EQ(a.GetpPhotoPanZoomSaveParam() != nullptr, b.GetpPhotoPanZoomSaveParam() != nullptr) << what;
  if (a.GetpPhotoPanZoomSaveParam())
    EXPECT_TRUE(*a.GetpPhotoPanZoomSaveParam() == *b.GetpPhotoPanZoomSaveParam()) << what;
  ASSERT_EQ(a.Get_pPhotoIntensityParam() != nullptr, b.Get_pPhotoIntensityParam() != nullptr) << what;
  if (a.Get_pPhotoIntensityParam())
    EXPECT_TRUE(a.Get_pPhotoIntensityParam()->IsEqual(*b.Get_pPhotoIntensityParam())) << what;
  ASSERT_EQ(a.GetAnnotation() != nullptr, b.GetAnnotation() != nullptr) << what;
  if (a.GetAnnotation()) EXPECT_TRUE(*a.GetAnnotation() == *b.GetAnnotation()) << what;
  ExpectSameSprites(a.m_arrSprites, b.m_arrSprites, what + " objects");
}

void ExpectSameProject(const CDVDProject& a, const CDVDProject& b) {
  EXPECT_EQ(std::memcmp(a.GetOptionsData(), b.GetOptionsData(), sizeof(_PROJECT_OPTIONS_DATA)), 0);
  EXPECT_EQ(a.GetMenuTemplateName(), b.GetMenuTemplateName());
  ASSERT_EQ(a.GetAlbumCount(), b.GetAlbumCount());
  for (int i = 0; i < a.GetAlbumCount(); ++i) {
    const CDVDAlbumBase& x = *a.GetAlbum(i);
    const CDVDAlbumBase& y = *b.GetAlbum(i);
    const std::string what = "album " + std::to_string(i);
    EXPECT_EQ(x.Get_strAlbumName(), y.Get_strAlbumName()) << what;
    EXPECT_EQ(x.IsImageAlbum(), y.IsImageAlbum()) << what;
    EXPECT_EQ(x.GetAlbumEffect()->GetThemeName(), y.GetAlbumEffect()->GetThemeName()) << what;
    EXPECT_TRUE(x.GetDVDSubtitleFont() == y.GetDVDSubtitleFont()) << what;
    ExpectSameText(*x.GetAlbumEffect()->GetTitleSettings(), *y.GetAlbumEffect()->GetTitleSettings(),
                   what + " title");
    ExpectSameText(*x.GetAlbumEffect()->GetThemeTextSettings(), *y.GetAlbumEffect()->GetThemeTextSettings(),
                   what + " theme");
    ExpectSameText(*x.GetAlbumEffect()->GetCreditSettings(), *y.GetAlbumEffect()->GetCreditSettings(),
                   what + " credits");
    if (x.IsImageAlbum()) {
      const auto& p = static_cast<const CDVDAlbumImage&>(x);
      const auto& q = static_cast<const CDVDAlbumImage&>(y);
      EXPECT_EQ(p.Get_nOneDuration(-1), q.Get_nOneDuration(-1)) << what;
      EXPECT_EQ(p.Get_nTwoDuration(-1), q.Get_nTwoDuration(-1)) << what;
      EXPECT_EQ(p.Get_clrBackground(), q.Get_clrBackground()) << what;
      EXPECT_EQ(p.Get_bAutoPanZoom(), q.Get_bAutoPanZoom()) << what;
      EXPECT_EQ(p.Get_bMusicFadeInOut(), q.Get_bMusicFadeInOut()) << what;
      EXPECT_EQ(p.Get_dwTransDurationType(), q.Get_dwTransDurationType()) << what;
      EXPECT_EQ(p.IndexOf(p.Get_pAlbumImage()), q.IndexOf(q.Get_pAlbumImage())) << what;
      EXPECT_EQ(p.IndexOf(p.m_pCurImage), q.IndexOf(q.m_pCurImage)) << what;
      ASSERT_EQ(p.GetMusicCount(), q.GetMusicCount()) << what;
      for (int m = 0; m < p.GetMusicCount(); ++m)
        EXPECT_TRUE(*p.GetMusic(m) == *q.GetMusic(m)) << what << " music " << m;
      ExpectSameSprites(p.m_arrSprites, q.m_arrSprites, what + " album objects");
      ASSERT_EQ(p.GetImageCount(), q.GetImageCount()) << what;
      for (int s = 0; s < p.GetImageCount(); ++s)
        ExpectSameSlide(*p.GetImage(s), *q.GetImage(s), what + " slide " + std::to_string(s));
    } else {
      const auto& p = static_cast<const CDVDAlbumMovie&>(x);
      const auto& q = static_cast<const CDVDAlbumMovie&>(y);
      ASSERT_EQ(p.Get_nVideoItemCount(), q.Get_nVideoItemCount()) << what;
      for (int c = 0; c < p.Get_nVideoItemCount(); ++c) {
        const _DV_LIST_ITEM_DATA& u = *p.Get_pVideoItemData(c);
        const _DV_LIST_ITEM_DATA& v = *q.Get_pVideoItemData(c);
        EXPECT_EQ(u.strPathName, v.strPathName) << what;
        EXPECT_EQ(u.nWidth, v.nWidth) << what;
        EXPECT_EQ(u.nHeight, v.nHeight) << what;
        EXPECT_DOUBLE_EQ(u.dblFrameRate, v.dblFrameRate) << what;
        EXPECT_EQ(u.pSource->dwDuration, v.pSource->dwDuration) << what;
        EXPECT_EQ(u.pSource->dwStart, v.pSource->dwStart) << what;
        EXPECT_EQ(u.pSource->dwEnd, v.pSource->dwEnd) << what;
      }
    }
  }
}

struct ProgressLog {
  std::vector<float> fractions;
  static int Hook(void* self, float fraction) {
    static_cast<ProgressLog*>(self)->fractions.push_back(fraction);
    return 0;
  }
};

BOOL Open(CDVDProject& project, const std::string& path, CStringArray& missing) {
  int count = -1;
  const BOOL ok = project.OpenFromFile(path.c_str(), count, missing, 0, -1);
  if (ok) EXPECT_EQ(count, missing.GetSize());
  return ok;
}

}  // namespace

TEST(ProjectFile, RoundTripKeepsEveryField) {
  Sample sample;
  ASSERT_EQ(sample.project.GetAlbumCount(), 3);
  ASSERT_EQ(static_cast<CDVDAlbumMovie*>(sample.project.GetAlbum(2))->Get_nVideoItemCount(), 1);
  const std::string file = sample.dir / "trip.r7m";
  ProgressLog log;
  CDVDProject::g_m_readwrite_callback = &ProgressLog::Hook;
  CDVDProject::g_m_readwrite_callback_userdata = &log;
  ASSERT_TRUE(sample.project.SaveToFile(file.c_str())) << CDVDProject::GetLastFileError().GetString();
  EXPECT_FALSE(sample.project.Get_bDirty());
  CDVDProject reopened;
  CStringArray missing;
  ASSERT_TRUE(Open(reopened, file, missing)) << CDVDProject::GetLastFileError().GetString();
  CDVDProject::g_m_readwrite_callback = nullptr;
  EXPECT_EQ(missing.GetSize(), 0);
  EXPECT_FALSE(reopened.Get_bDirty());
  ExpectSameProject(sample.project, reopened);
  // Progress runs from 0 to 1 for the save and again for the open, never backwards within one.
  ASSERT_GE(log.fractions.size(), 4u);
  EXPECT_EQ(log.fractions.front(), 0.0f);
  EXPECT_EQ(log.fractions.back(), 1.0f);
}

TEST(ProjectFile, ReplacesTheProjectAndFindsItsThemeAgain) {
  Sample sample;
  const std::string file = sample.dir / "trip.r7m";
  ASSERT_TRUE(sample.project.SaveToFile(file.c_str()));
  CDVDProject current;
  _ALBUM_THEME holiday{};
  std::strcpy(holiday.szThemeName, "Holiday");
  current.AddThemeToList(&holiday);
  AddPhotoAlbum(current, "Old");
  CStringArray missing;
  ASSERT_TRUE(Open(current, file, missing));
  ASSERT_EQ(current.GetAlbumCount(), 3);
  EXPECT_EQ(current.GetAlbum(0)->GetProject(), &current);
  EXPECT_EQ(current.GetAlbum(0)->GetAlbumEffect()->GetTheme(), &holiday);
  EXPECT_EQ(current.Get_nActiveAlbumIndex(), -1);
}

TEST(ProjectFile, BadFilesLeaveTheProjectUntouched) {
  ScratchDir dir;
  const std::string good =
      "<?xml version=\"1.0\"?>\n<pictavo_project format=\"1\"><album kind=\"photo\" "
      "name=\"A\"/></pictavo_project>\n";
  struct Case {
    const char* what;
    const char* name;
    std::string text;  // "" for a file that is not there
    DWORD error;
  } cases[] = {
      {"missing file", "gone.r7m", "", ERROR_FILE_NOT_FOUND},
      {"cut short", "short.r7m", good.substr(0, good.size() / 2), ERROR_INVALID_DATA},
      {"not XML", "noise.r7m", std::string("\x01\x02garbage", 9), ERROR_INVALID_DATA},
      {"another document", "other.r7m", "<?xml version=\"1.0\"?><skins/>", ERROR_INVALID_DATA},
      {"no format", "plain.r7m", "<pictavo_project><album kind=\"photo\"/></pictavo_project>",
       ERROR_INVALID_DATA},
      {"unknown album kind", "kind.r7m",
       "<pictavo_project format=\"1\"><album kind=\"hologram\"/></pictavo_project>", ERROR_INVALID_DATA},
      {"newer format", "newer.r7m", "<pictavo_project format=\"2\"><album kind=\"photo\"/></pictavo_project>",
       ERROR_NOT_SUPPORTED},
      {"foreign project kind", "old.jvk", "JVK\x00\x01binary", ERROR_NOT_SUPPORTED},
  };
  for (const Case& c : cases) {
    CDVDProject project;
    AddPhotoAlbum(project, "Keep me");
    project.Put_bDirty(TRUE);
    const std::string path = dir / c.name;
    if (!c.text.empty()) WriteWholeFile(path, c.text);
    CStringArray missing;
    missing.Add("already listed");
    int count = 7;
    EXPECT_FALSE(project.OpenFromFile(path.c_str(), count, missing, 0, -1)) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
    EXPECT_FALSE(CDVDProject::GetLastFileError().IsEmpty()) << c.what;
    EXPECT_NE(CDVDProject::GetLastFileError().Find(c.name), -1)
        << c.what << ": " << CDVDProject::GetLastFileError().GetString();
    ASSERT_EQ(project.GetAlbumCount(), 1) << c.what;
    EXPECT_EQ(project.GetAlbum(0)->Get_strAlbumName(), "Keep me") << c.what;
    EXPECT_TRUE(project.Get_bDirty()) << c.what;
    EXPECT_EQ(missing.GetSize(), 1) << c.what;
    EXPECT_EQ(count, 7) << c.what;
  }
}

TEST(ProjectFile, SlideDurationsOutOfTheAlbumsBoundsTakeTheAlbums) {
  ScratchDir dir;
  struct Case {
    const char* stored;  // the slide's "one" and "two"
    int read;            // what the slide keeps: -1 takes the album's
  } cases[] = {{"0", 0},     {"3600", 3600},    {"-1", -1},         {"-5", -1},
               {"3601", -1}, {"260819701", -1}, {"2147483647", -1}, {"x", -1}};
  std::string text =
      "<?xml version=\"1.0\"?>\n<pictavo_project format=\"1\"><album kind=\"photo\" one=\"2\" two=\"4\">";
  for (const Case& c : cases)
    text += std::string("<slide path=\"a.jpg\" one=\"") + c.stored + "\" two=\"" + c.stored + "\"/>";
  text += "</album></pictavo_project>\n";
  const std::string path = dir / "durations.r7m";
  WriteWholeFile(path, text);
  CDVDProject project;
  CStringArray missing;
  ASSERT_TRUE(Open(project, path, missing));
  const auto* album = static_cast<CDVDAlbumImage*>(project.GetAlbum(0));
  ASSERT_EQ(album->GetImageCount(), static_cast<int>(std::size(cases)));
  for (int i = 0; i < album->GetImageCount(); ++i) {
    EXPECT_EQ(album->GetImage(i)->Get_nOneDuration(), cases[i].read) << cases[i].stored;
    EXPECT_EQ(album->GetImage(i)->Get_nTwoDuration(), cases[i].read) << cases[i].stored;
  }
  EXPECT_EQ(album->Get_nSlideshowLen(-1), 3600 * 2 + 6 * 6);
}

TEST(ProjectFile, OurFormatUnderAForeignExtensionIsRead) {
  Sample sample;
  const std::string file = sample.dir / "renamed.qvn";
  ASSERT_TRUE(sample.project.SaveToFile(file.c_str()));
  CDVDProject reopened;
  CStringArray missing;
  EXPECT_TRUE(Open(reopened, file, missing));
  EXPECT_EQ(reopened.GetAlbumCount(), 3);
}

TEST(ProjectFile, MissingMediaAreListedOnceAndTheProjectStillOpens) {
  Sample sample;
  const std::string file = sample.dir / "trip.r7m";
  ASSERT_TRUE(sample.project.SaveToFile(file.c_str()));
  const std::string photo(
      static_cast<CDVDAlbumImage*>(sample.project.GetAlbum(0))->GetImage(1)->Get_strPathName());
  const std::string music(static_cast<CDVDAlbumImage*>(sample.project.GetAlbum(0))->GetMusic(0)->strPathName);
  const std::string art = sample.dir / "art/star.jpg";  // named by every slide
  for (const std::string& gone : {photo, music, art, sample.clip}) fs::remove(gone);
  CDVDProject reopened;
  CStringArray missing;
  ASSERT_TRUE(Open(reopened, file, missing));
  std::vector<std::string> listed;
  for (INT_PTR i = 0; i < missing.GetSize(); ++i) listed.emplace_back(missing[i].View());
  // In file order: album music, then slide by slide, each file once.
  EXPECT_EQ(listed, (std::vector<std::string>{music, art, photo, sample.clip}));
  ASSERT_EQ(reopened.GetAlbumCount(), 3);
  EXPECT_EQ(static_cast<CDVDAlbumImage*>(reopened.GetAlbum(0))->GetImageCount(), 3);
  // The same files make the project check refuse to encode.
  CDVDAlbumArray invalid;
  CAlbumBreakLinkInfoArray broken;
  EXPECT_FALSE(reopened.FindInvalidObject(invalid, broken));
  EXPECT_EQ(invalid.GetSize(), 0);
  ASSERT_EQ(broken.GetSize(), 3);
  EXPECT_EQ(broken[0]->m_arrImages.GetSize(), 1);
  EXPECT_EQ(broken[0]->m_arrFiles.GetSize(), 4);  // the clip art of its three slides and a music file
  EXPECT_EQ(broken[1]->m_arrImages.GetSize(), 0);
  EXPECT_EQ(broken[2]->m_arrFiles.GetSize(), 1);  // the video clip
}

TEST(ProjectFile, ProjectMovedWithItsPhotosFindsThem) {
  Sample sample;
  const std::string file = sample.dir / "trip.r7m";
  ASSERT_TRUE(sample.project.SaveToFile(file.c_str()));
  ScratchDir elsewhere;
  const fs::path moved = elsewhere / "moved";
  fs::rename(sample.dir.Path(), moved);
  fs::create_directories(sample.dir.Path());  // the scratch folder removes itself later
  CDVDProject reopened;
  CStringArray missing;
  ASSERT_TRUE(Open(reopened, (moved / "trip.r7m").string(), missing))
      << CDVDProject::GetLastFileError().GetString();
  EXPECT_EQ(missing.GetSize(), 0);
  const auto* album = static_cast<CDVDAlbumImage*>(reopened.GetAlbum(0));
  EXPECT_EQ(std::string(album->GetImage(0)->Get_strPathName().View()), (moved / "photos/a0_0.jpg").string());
  EXPECT_EQ(std::string(album->GetMusic(1)->strPathName.View()), (moved / "music/track1.mp3").string());
}

TEST(ProjectFile, PhotosOutsideTheProjectFolderKeepTheirAbsolutePath) {
  ScratchDir photos;
  ScratchDir projects;
  CDVDProject project;
  CDVDAlbumImage* album = AddPhotoAlbum(project, "Far");
  const std::string photo = MakePhoto(photos, "far.jpg");
  AddSlide(*album, photo);
  const std::string file = projects / "far.r7m";
  ASSERT_TRUE(project.SaveToFile(file.c_str()));
  ScratchDir elsewhere;
  const std::string moved = elsewhere / "far.r7m";
  fs::copy_file(file, moved);
  CDVDProject reopened;
  CStringArray missing;
  ASSERT_TRUE(Open(reopened, moved, missing));
  EXPECT_EQ(missing.GetSize(), 0);
  EXPECT_EQ(
      std::string(static_cast<CDVDAlbumImage*>(reopened.GetAlbum(0))->GetImage(0)->Get_strPathName().View()),
      photo);
}

TEST(ProjectFile, SaveIntoReadOnlyFolderFailsAndKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not hold for root; the write-failure test covers this";
  Sample sample;
  const std::string folder = sample.dir / "locked";
  fs::create_directories(folder);
  const std::string file = folder + "/trip.r7m";
  WriteWholeFile(file, "old contents");
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(sample.project.SaveToFile(file.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(CDVDProject::GetLastFileError().IsEmpty());
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(ReadWholeFile(file), "old contents");
  EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "trip.r7m");
}

TEST(ProjectFile, WriteFailureKeepsTheOldFileAndTheProjectDirty) {
  Sample sample;
  const std::string file = sample.dir / "trip.r7m";
  WriteWholeFile(file, "old contents");
  sample.project.Put_bDirty(TRUE);
  // A file-size limit below the project's size makes the write fail as a full disk does.
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 512;
  setrlimit(RLIMIT_FSIZE, &small);
  const BOOL saved_ok = sample.project.SaveToFile(file.c_str());
  const DWORD error = GetLastError();
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_FALSE(saved_ok);
  EXPECT_NE(error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_NE(CDVDProject::GetLastFileError().Find("left as it was"), -1);
  EXPECT_EQ(ReadWholeFile(file), "old contents");
  EXPECT_TRUE(sample.project.Get_bDirty());
  // Nothing but the old file is left in the folder.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(sample.dir.Path()))
    if (entry.is_regular_file()) ++files;
  EXPECT_EQ(files, 1);
}

TEST(ProjectFile, SampleProjectOpensWithItsMedia) {
  const std::string samples = std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/samples";
  if (!fs::exists(samples + "/media/music.mp3"))
    GTEST_SKIP() << "samples/make-samples.sh makes the sample media";
  CDVDProject project;
  CStringArray missing;
  ASSERT_TRUE(Open(project, samples + "/sample.r7m", missing)) << CDVDProject::GetLastFileError().GetString();
  EXPECT_EQ(missing.GetSize(), 0) << (missing.GetSize() ? missing[0].GetString() : "");
  ASSERT_EQ(project.GetAlbumCount(), 1);
  const auto* album = static_cast<CDVDAlbumImage*>(project.GetAlbum(0));
  EXPECT_EQ(album->Get_strAlbumName(), "Sample");
  EXPECT_EQ(album->GetImageCount(), 5);
  EXPECT_EQ(album->GetMusicCount(), 1);
  EXPECT_EQ(album->Get_nTitleDuration(), 5);
  EXPECT_EQ(album->GetTotalLength(), 42);
  EXPECT_EQ(album->GetImage(1)->Get_strTransName(), "Dissolve[TransitionLib]");
  // The measured music agrees with what the file says of it.
  EXPECT_EQ(CDVDProject::GetMusicDuration(album->GetMusic(0)->strPathName),
            album->GetMusic(0)->nSourceLength / 1000);
}
