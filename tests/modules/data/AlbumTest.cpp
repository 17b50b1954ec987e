// Albums, slides, objects and the project's album list: what the pages change through the data
// model and rely on afterwards.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/data/TextMacro.h"
#include "modules/image/CxImage.h"
#include "tests/modules/data/DataFixtures.h"

using namespace datatest;

namespace {

// Slides named by letters, so orders read as words.
struct Lettered {
  CDVDAlbumImage album;
  explicit Lettered(const char* letters) {
    for (const char* c = letters; *c; ++c) AddSlide(album, std::string(1, *c));
  }
  CDVDImage* operator[](char letter) const {
    for (int i = 0; i < album.GetImageCount(); ++i)
      if (album.GetImage(i)->Get_strPathName() == std::string(1, letter).c_str()) return album.GetImage(i);
    return nullptr;
  }
  const CDVDImageArray& Pick(const char* letters) {
    picked.RemoveAll();
    for (const char* c = letters; *c; ++c) picked.Add((*this)[*c]);
    return picked;
  }
  CDVDImageArray picked;
  std::string Order() const {
    std::string order;
    for (int i = 0; i < album.GetImageCount(); ++i) order += album.GetImage(i)->Get_strPathName().GetString();
    return order;
  }
};

std::string AlbumOrder(const CDVDProject& project) {
  std::string order;
  for (int i = 0; i < project.GetAlbumCount(); ++i)
    order += project.GetAlbum(i)->Get_strAlbumName().GetString();
  return order;
}

}  // namespace

TEST(PhotoAlbum, MoveSlidesBeforeATarget) {
  struct Case {
    const char* moved;
    char target;  // 0: to the end
    const char* order;
  } cases[] = {
      {"d", 'a', "dabce"},  {"ae", 'c', "baecd"},
      {"b", 0, "acdeb"},    {"bc", 'c', "abcde"},  // a target that moves stands for the next slide that stays
      {"ea", 'b', "eabcd"},                        // in the order given
  };
  for (const Case& c : cases) {
    Lettered slides("abcde");
    EXPECT_TRUE(slides.album.MoveDVDImagePos(c.target ? slides[c.target] : nullptr, slides.Pick(c.moved)))
        << c.moved;
    EXPECT_EQ(slides.Order(), c.order) << c.moved << " before " << (c.target ? c.target : '$');
  }
}

TEST(PhotoAlbum, DuplicatesGoBeforeThePositionAndAreReported) {
  Lettered slides("abc");
  slides['b']->Put_nRotateAngle(90);
  CDVDImageArray copies;
  EXPECT_EQ(slides.album.DuplicateDVDImageToPos(slides.Pick("bc"), slides['a'], &copies), 2);
  EXPECT_EQ(slides.Order(), "bcabc");
  ASSERT_EQ(copies.GetSize(), 2);
  EXPECT_EQ(copies[0], slides.album.GetImage(0));
  EXPECT_EQ(copies[0]->Get_nRotateAngle(), 90);
  EXPECT_EQ(copies[0]->GetAlbum(), &slides.album);
  EXPECT_EQ(slides.album.DuplicateDVDImageToPos(slides['a'], nullptr, nullptr), 1);
  EXPECT_EQ(slides.Order(), "bcabca");
}

TEST(PhotoAlbum, RemovingTheCoverFallsBackToTheFirstSlide) {
  Lettered slides("abc");
  slides.album.Set_pAlbumImage(slides['b']);
  slides.album.m_pCurImage = slides['b'];
  CDVDImage* removed = slides['b'];
  EXPECT_TRUE(slides.album.RemoveDVDImage(removed));
  EXPECT_EQ(slides.album.Get_pAlbumImage(), slides['a']);
  EXPECT_EQ(slides.album.m_pCurImage, nullptr);
  EXPECT_EQ(removed->GetAlbum(), nullptr);
  EXPECT_FALSE(slides.album.RemoveDVDImage(removed));
  delete removed;
}

TEST(PhotoAlbum, ChangesMarkTheAlbumAndTheProjectDirty) {
  CDVDProject project;
  CDVDAlbumImage* album = AddPhotoAlbum(project, "A");
  project.ClearAllDirty();
  EXPECT_FALSE(project.Get_bDirty());
  AddSlide(*album, "x.jpg");
  EXPECT_TRUE(album->Get_bDirty());
  EXPECT_TRUE(project.Get_bDirty());
  project.ClearAllDirty();
  album->GetImage(0)->Put_nRotateAngle(270);
  EXPECT_TRUE(project.Get_bDirty());
  EXPECT_TRUE(album->GetImage(0)->IsChanged());
  album->GetImage(0)->UpdateCookie();
  EXPECT_FALSE(album->GetImage(0)->IsChanged());
}

TEST(PhotoAlbum, MusicClipsFollowEachOtherAndPointAtSlides) {
  ScratchDir dir;
  CDVDAlbumImage album;
  album.Set_nOneDuration(-1, 1);
  album.Set_nTwoDuration(-1, 1);
  for (int i = 0; i < 3; ++i) AddSlide(album, "s" + std::to_string(i));
  const std::string music = MakeMusic(dir, "two.mp3", 2);
  ASSERT_TRUE(album.AddBackgroundMusic(music.c_str()));
  ASSERT_TRUE(album.AddBackgroundMusic(music.c_str()));
  EXPECT_FALSE(album.AddBackgroundMusic(MakePhoto(dir, "photo.jpg").c_str()));
  EXPECT_FALSE(album.AddBackgroundMusic((dir / "nothing.mp3").c_str()));
  ASSERT_EQ(album.GetMusicCount(), 2);
  const _AUDIO_SOURCE& first = *album.GetMusic(0);
  const _AUDIO_SOURCE& second = *album.GetMusic(1);
  EXPECT_NEAR(first.nSourceLength, 2000, 100);
  EXPECT_EQ(first.nTrimStart, 0);
  EXPECT_EQ(first.nTrimEnd, first.nSourceLength);
  EXPECT_EQ(second.nStartPos, first.nStartPos + first.GetClipLength());
  EXPECT_EQ(album.GetMusicTimeLen(), (second.nStartPos + second.GetClipLength()) / 1000);
  EXPECT_EQ(album.GetDVDImageForAudio(&first), album.GetImage(0));
  EXPECT_EQ(album.GetDVDImageForAudio(&second), album.GetImage(second.nStartPos / 2000));
  EXPECT_TRUE(album.RemoveBackgroundMusic(album.GetMusic(0)));
  EXPECT_EQ(album.GetMusicCount(), 1);
  EXPECT_EQ(CDVDProject::GetMusicDuration(music.c_str()), 2);
}

TEST(PhotoAlbum, NewSlidesTakeTheirTransitionFromTheSubset) {
  CDVDImage::ClearTransIDCache();
  for (const char* name : {"No Transition", "Fade", "Wipe", "Spin"})
    CDVDImage::AddTransID2Cache(name, static_cast<int>(std::strlen(name)));
  CDVDImage::SetNoTransitionName("No Transition");
  EXPECT_EQ(CDVDImage::GetTransID("wipe", 0), 2);
  EXPECT_EQ(CDVDImage::GetTransID("Wipe", 1), 4);
  EXPECT_EQ(CDVDImage::GetTransID("Melt", 0), -1);
  CStringArray subset;
  subset.Add("Spin");
  CDVDImage::SetTransitionSubset(subset);
  EXPECT_EQ(CDVDImage(nullptr).Get_strTransName(), "Spin");
  CDVDImage::SetTransitionSubset(CStringArray());
  CDVDImage::SetEmptyTransitionSubsetIsValid(TRUE);
  CDVDImage none(nullptr);
  EXPECT_EQ(none.Get_strTransName(), "No Transition");
  EXPECT_EQ(none.Get_nTransID(), 0);
  CDVDImage::SetEmptyTransitionSubsetIsValid(FALSE);
  for (int i = 0; i < 20; ++i) EXPECT_NE(CDVDImage(nullptr).Get_strTransName(), "No Transition");
  CDVDImage::ClearTransIDCache();
}

TEST(PhotoAlbum, PictureIsTurnedAndFittedIntoTheFrame) {
  ScratchDir dir;
  CDVDAlbumImage album;
  CDVDImage* slide = AddSlide(album, MakePhoto(dir, "p.jpg", 64, 32, RGB(250, 250, 250)));
  CxImage picture;
  ASSERT_TRUE(slide->LoadToCxImage(&picture, nullptr, 0, 1));
  EXPECT_EQ(picture.GetWidth(), 64u);
  slide->Put_nRotateAngle(450);  // 90 degrees, not reduced by the caller
  ASSERT_TRUE(slide->LoadToCxImage(&picture, nullptr, 0, 1));
  EXPECT_EQ(picture.GetWidth(), 32u);
  EXPECT_EQ(picture.GetHeight(), 64u);
  // Fitted into 100 x 100 on red: a 50 x 100 picture in the middle, red bars left and right.
  const CSize frame(100, 100);
  ASSERT_TRUE(slide->LoadToCxImage(&picture, &frame, RGB(255, 0, 0), 1));
  ASSERT_EQ(picture.GetWidth(), 100u);
  ASSERT_EQ(picture.GetHeight(), 100u);
  EXPECT_EQ(picture.GetPixelColor(5, 50).rgbRed, 255);
  EXPECT_LT(picture.GetPixelColor(5, 50).rgbGreen, 10);
  EXPECT_GT(picture.GetPixelColor(50, 50).rgbGreen, 200);
  // Adjustments apply only when asked.
  _tagPhotoIntensityParam darker;
  darker.nBrightness = -200;
  slide->Set_pPhotoIntensityParam(&darker);
  ASSERT_TRUE(slide->LoadToCxImage(&picture, &frame, RGB(255, 0, 0), 1));
  EXPECT_LT(picture.GetPixelColor(50, 50).rgbGreen, 80);
  ASSERT_TRUE(slide->LoadToCxImage(&picture, &frame, RGB(255, 0, 0), 0));
  EXPECT_GT(picture.GetPixelColor(50, 50).rgbGreen, 200);
  // A missing photo gives the frame in the background colour and FALSE.
  slide->Put_strPathName((dir / "gone.jpg").c_str());
  EXPECT_FALSE(slide->LoadToCxImage(&picture, &frame, RGB(0, 0, 255), 1));
  EXPECT_EQ(picture.GetPixelColor(50, 50).rgbBlue, 255);
  // Any picture fitted the same way: a wide one gets bars above and below.
  CxImage wide;
  wide.Create(64, 32, 24);
  wide.Fill(RGB(255, 255, 255));
  CxImage fitted;
  ASSERT_TRUE(CDVDImage::ResizeXImage(&wide, RGB(0, 0, 255), 100, 100, &fitted, 0, 0, 0));
  ASSERT_EQ(fitted.GetWidth(), 100u);
  EXPECT_EQ(fitted.GetPixelColor(50, 5).rgbRed, 0);
  EXPECT_EQ(fitted.GetPixelColor(50, 50).rgbRed, 255);
}

TEST(Project, AlbumsGoToTheActivePositionAndMove) {
  CDVDProject project;
  for (const char* name : {"A", "B", "C"}) {
    CDVDAlbumImage* album = project.AllocImageAlbum(nullptr);
    album->Set_strAlbumName(name);
    project.AddAlbum(album);
  }
  EXPECT_EQ(AlbumOrder(project), "ABC");
  project.Put_nActiveAlbumIndex(1);
  CDVDAlbumImage* d = project.AllocImageAlbum(nullptr);
  d->Set_strAlbumName("D");
  EXPECT_EQ(project.AddAlbum(d), 1);
  EXPECT_EQ(AlbumOrder(project), "ADBC");
  struct Case {
    int album, target;  // indexes; target -1 moves to the end
    const char* order;
  } moves[] = {{3, 0, "CADB"}, {1, -1, "CDBA"}, {0, 2, "DCBA"}};
  for (const Case& c : moves) {
    CDVDAlbumBase* album = project.GetAlbum(c.album);
    CDVDAlbumBase* target = c.target >= 0 ? project.GetAlbum(c.target) : nullptr;
    EXPECT_TRUE(project.MoveAlbumPos(target, album));
    EXPECT_EQ(AlbumOrder(project), c.order);
  }
  EXPECT_TRUE(project.DeleteAlbum(project.GetAlbum(0)));
  EXPECT_EQ(AlbumOrder(project), "CBA");
  project.NewProject();
  EXPECT_EQ(project.GetAlbumCount(), 0);
}

TEST(Project, AllocatedAlbumsAreIndependentCopies) {
  CDVDProject project;
  CDVDAlbumImage templ;
  templ.Set_nTwoDuration(-1, 9);
  templ.Set_clrBackground(RGB(1, 2, 3));
  AddSlide(templ, "a.jpg")->Put_nRotateAngle(180);
  CDVDAlbumImage* copy = project.AllocImageAlbum(&templ);
  EXPECT_EQ(copy->GetProject(), &project);
  EXPECT_EQ(copy->Get_nTwoDuration(-1), 9);
  EXPECT_EQ(copy->Get_clrBackground(), RGB(1, 2, 3));
  ASSERT_EQ(copy->GetImageCount(), 1);
  EXPECT_NE(copy->GetImage(0), templ.GetImage(0));
  copy->GetImage(0)->Put_nRotateAngle(0);
  EXPECT_EQ(templ.GetImage(0)->Get_nRotateAngle(), 180);
  delete copy;
}

TEST(Project, EmptyAlbumsAreInvalid) {
  CDVDProject project;
  AddPhotoAlbum(project, "Empty");
  project.AddAlbum(project.AllocMovieAlbum(nullptr));
  CDVDAlbumArray invalid;
  CAlbumBreakLinkInfoArray broken;
  EXPECT_FALSE(project.FindInvalidObject(invalid, broken));
  EXPECT_EQ(invalid.GetSize(), 2);
  EXPECT_EQ(broken.GetSize(), 0);
}

TEST(VideoAlbum, ClipsAreReadAndPicturesRefused) {
  ScratchDir dir;
  CDVDAlbumMovie album;
  const std::string clip = MakeClip(dir, "c.mp4", 1.0);
  _DV_LIST_ITEM_DATA* item = album.InsertVideoFile(clip.c_str(), clip.c_str(), nullptr, 0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->nWidth, 160);
  EXPECT_EQ(item->nHeight, 120);
  EXPECT_NEAR(item->dblFrameRate, 25.0, 0.01);
  EXPECT_NEAR(static_cast<double>(item->pSource->dwDuration), 1000.0, 100.0);
  EXPECT_EQ(item->pSource->dwEnd, item->pSource->dwDuration);
  EXPECT_EQ(album.InsertVideoFile(MakePhoto(dir, "p.jpg").c_str(), nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(album.InsertVideoFile((dir / "none.mp4").c_str(), nullptr, nullptr, 0), nullptr);
  CPtrArray copies;
  CPtrArray one;
  one.Add(item);
  EXPECT_EQ(album.DuplicateVideoItemToPos(one, item, &copies), 1);
  EXPECT_EQ(album.Get_pVideoItemData(0), copies[0]);
  EXPECT_EQ(album.GetAlbumDuration(), 2 * item->GetPlayLength());
}

TEST(SlideObjects, StackingOrder) {
  struct Case {
    int object;
    BOOL (CDVDImageSpriteArray::*move)(CDVDImageSprite*);
    const char* order;
  } cases[] = {
      {0, &CDVDImageSpriteArray::Forward, "bac"},
      {2, &CDVDImageSpriteArray::Backward, "acb"},
      {0, &CDVDImageSpriteArray::Front, "bca"},
      {2, &CDVDImageSpriteArray::Back, "cab"},
  };
  for (const Case& c : cases) {
    CDVDImage slide(nullptr);
    const char* names = "abc";
    for (int i = 0; i < 3; ++i) {
      auto* text = new CDVDImageText(&slide);
      text->Set_strText(std::string(1, names[i]).c_str());
      slide.AddImageSprite(text, 0);
    }
    CDVDImageSprite* moved = slide.m_arrSprites[c.object];
    EXPECT_TRUE((slide.m_arrSprites.*c.move)(moved));
    std::string order;
    for (INT_PTR i = 0; i < slide.m_arrSprites.GetSize(); ++i)
      order += static_cast<CDVDImageText*>(slide.m_arrSprites[i])->Get_strText().GetString();
    EXPECT_EQ(order, c.order);
    EXPECT_TRUE(slide.m_arrSprites.IsFront(slide.m_arrSprites[2]));
    EXPECT_TRUE(slide.m_arrSprites.IsBack(slide.m_arrSprites[0]));
  }
}

TEST(SlideObjects, HitCodesAtTheEditorsScale) {
  CDVDImageProps art;
  art.Set_ptPosition(POINT{100, 50});
  art.Set_szSize(SIZE{200, 100});
  art.Set_fFactor(0.5f);  // shown at half size: client rectangle (110, 35)-(210, 85) from origin (60, 10)
  const POINT origin{60, 10};
  EXPECT_TRUE(art.GetBoundRect(origin) == CRect(110, 35, 210, 85));
  struct Case {
    POINT at;
    BOOL handles;
    int code;
  } cases[] = {{{110, 35}, TRUE, 1},  {{160, 35}, TRUE, 2},   {{210, 35}, TRUE, 3}, {{210, 60}, TRUE, 4},
               {{208, 83}, TRUE, 5},  {{160, 85}, TRUE, 6},   {{110, 85}, TRUE, 7}, {{110, 60}, TRUE, 8},
               {{150, 60}, TRUE, -1}, {{110, 35}, FALSE, -1}, {{300, 60}, TRUE, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(art.HitTest(origin, c.at, c.handles), c.code) << c.at.x << "," << c.at.y;
  EXPECT_TRUE(art.HiTest(POINT{60, 30}));
  EXPECT_FALSE(art.HiTest(POINT{10, 10}));
}

TEST(SlideObjects, TextSizeGrowsWithItsLines) {
  CDVDImageText text;
  text.Set_strText("Hello");
  text.SetTextSize();
  const CSize one = text.Get_szSize();
  EXPECT_GT(one.cx, 0);
  EXPECT_GT(one.cy, 0);
  text.Set_strText("Hello\r\nHello");
  text.SetTextSize();
  EXPECT_EQ(text.Get_szSize().cx, one.cx);
  EXPECT_GT(text.Get_szSize().cy, one.cy);
  LOGFONT lf;
  CDVDImageText::FillLogFont(&text.GetDVDImageTextFont(), &lf, 0.5f);
  EXPECT_EQ(lf.lfHeight, text.GetFontSize() * 5);
}

TEST(TextMacros, ExpandForTheSlide) {
  CDVDImage slide(nullptr);
  slide.Put_strPathName("/photos/Rome/colosseum.jpg");
  CTextMacro macro;
  macro.Put_pDVDImage(&slide);
  macro.Put_nSlideCount(12);
  macro.Put_nSlideIndex(4);
  struct Case {
    const char* text;
    const char* expanded;
  } cases[] = {{"$[F]", "colosseum.jpg"},
               {"$[f]", "colosseum"},
               {"$[e]", "jpg"},
               {"$[o]", "Rome"},
               {"$[D]", "/photos/Rome/colosseum.jpg"},
               {"Slide $[p] of $[P]", "Slide 5 of 12"},
               {"$[x] and $", "$[x] and $"}};
  for (const Case& c : cases) EXPECT_EQ(macro.ConvertNormalOutput(c.text), c.expanded) << c.text;
  for (int i = 0; i < CTextMacro::kMacroCount; ++i) EXPECT_FALSE(CTextMacro::GetMacroString(i).IsEmpty());
  EXPECT_TRUE(CTextMacro::GetMacroString(9).IsEmpty());
}

TEST(ProjectHelpers, LineEndsRoundTrip) {
  CString text("one\r\ntwo\nthree");
  CDVDProject::Dos2Unix(text);
  EXPECT_EQ(text, "one\ntwo\nthree");
  CDVDProject::Unix2Dos(text);
  EXPECT_EQ(text, "one\r\ntwo\r\nthree");
  EXPECT_EQ(CDVDProject::FilterFileNameIllegalChar("a/b:c?.mp4"), "a_b_c_.mp4");
  EXPECT_EQ(CDVDProject::FilterPathIllegalChar("/out/a:b"), "/out/a_b");
}

TEST(ProjectHelpers, TemporaryFolderOfThisRun) {
  ScratchDir dir;
  CDVDProject project;
  project.Put_strTempFilePathBase(dir.Path().c_str());
  const std::string folder(project.Get_strTempFilePath().View());
  ASSERT_EQ(folder.back(), '/');
  const fs::path made = fs::path(folder).parent_path();
  EXPECT_TRUE(fs::is_directory(made));
  EXPECT_EQ(made.parent_path(), fs::path(dir / "Temp"));
  EXPECT_EQ(made.filename().string().size(), 12u);
  EXPECT_EQ(made.filename().string().find_first_not_of("0123456789"), std::string::npos);
  EXPECT_EQ(project.Get_strTempFilePath(), folder.c_str());
  EXPECT_TRUE(CDVDProject::RemoveAllDirectories(made.c_str()));
  EXPECT_FALSE(fs::exists(made));
  EXPECT_FALSE(CDVDProject::RemoveAllDirectories("/"));
}
