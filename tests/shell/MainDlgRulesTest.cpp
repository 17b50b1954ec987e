// The main window's decisions: title names, the save question answered each way, the progress
// popup's arithmetic, the Create items and the menu's enabling rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/MessageBox.h"
#include "shell/MainDlgRules.h"

TEST(MainDlgRules, TitleNameIsTheFileNameWithoutItsExtension) {
  const struct {
    const char* path;
    const char* name;
  } cases[] = {
      {"", ""},
      {"/home/me/Trip.r7m", "Trip"},
      {"C:\\shows\\Trip.r7m", "Trip"},
      {"/a/b.c.r7m", "b.c"},
      {"/a/noext", "noext"},
      {"Trip.r7m", "Trip.r7m"},  // no folder: shown whole
  };
  for (const auto& c : cases) EXPECT_STREQ(ProjectTitleName(c.path).GetString(), c.name) << c.path;
}

namespace {

// What the save question did, in order.
struct Recorder {
  int answer = IDYES;
  bool chooserGivesPath = true;
  bool saveWorks = true;
  std::vector<std::string> steps;

  SaveQuestionActions Actions() {
    SaveQuestionActions a;
    a.askToSave = [this] {
      steps.push_back("ask");
      return answer;
    };
    a.choosePath = [this](CString& path) {
      steps.push_back("choose");
      if (chooserGivesPath) path = "/new/Show.r7m";
      return chooserGivesPath;
    };
    a.saveTo = [this](const CString& path) {
      steps.push_back(std::string("save ") + path.GetString());
      return saveWorks;
    };
    a.adopt = [this](const CString& path) { steps.push_back(std::string("adopt ") + path.GetString()); };
    return a;
  }
};

std::string Join(const std::vector<std::string>& steps) {
  std::string text;
  for (const auto& s : steps) text += (text.empty() ? "" : ", ") + s;
  return text;
}

}  // namespace

TEST(MainDlgRules, SaveQuestionAnsweredEachWay) {
  const struct {
    const char* what;
    BOOL check, ask, dirty;
    const char* path;
    const char* temp;
    int images;
    int answer;
    bool chooser, saves;
    int result;
    const char* steps;
  } cases[] = {
      {"yes saves a titled project", 1, 1, 1, "/p/Trip.r7m", "", 3, IDYES, true, true, IDYES,
       "ask, save /p/Trip.r7m, adopt /p/Trip.r7m"},
      {"no leaves it", 1, 1, 1, "/p/Trip.r7m", "", 3, IDNO, true, true, IDNO, "ask"},
      {"cancel stops", 1, 1, 1, "/p/Trip.r7m", "", 3, IDCANCEL, true, true, IDCANCEL, "ask"},
      {"yes on an untitled project asks for a file", 1, 1, 1, "", "", 3, IDYES, true, true, IDYES,
       "ask, choose, save /new/Show.r7m, adopt /new/Show.r7m"},
      {"yes, then the file dialog cancelled", 1, 1, 1, "", "", 3, IDYES, false, true, IDCANCEL,
       "ask, choose"},
      {"a failed save cancels and keeps the old path", 1, 1, 1, "/p/Trip.r7m", "", 3, IDYES, true, false,
       IDCANCEL, "ask, save /p/Trip.r7m"},
      {"clean titled: nothing asked", 1, 1, 0, "/p/Trip.r7m", "", 3, IDCANCEL, true, true, IDYES, ""},
      {"clean untitled never saved: nothing asked", 1, 1, 0, "", "", 3, IDCANCEL, true, true, IDYES, ""},
      {"clean untitled with a temporary file still asks", 1, 1, 0, "", "/t/1.r7m", 3, IDNO, true, true, IDNO,
       "ask"},
      {"no photos: never asked however dirty", 1, 1, 1, "", "", 0, IDCANCEL, true, true, IDYES, ""},
      {"save without check asks nothing", 0, 1, 0, "/p/Trip.r7m", "", 0, IDCANCEL, true, true, IDYES,
       "save /p/Trip.r7m, adopt /p/Trip.r7m"},
      {"save of an untitled project asks for a name only", 0, 1, 0, "", "", 0, IDCANCEL, true, true, IDYES,
       "choose, save /new/Show.r7m, adopt /new/Show.r7m"},
      {"saving without asking", 1, 0, 1, "/p/Trip.r7m", "", 3, IDCANCEL, true, true, IDYES,
       "save /p/Trip.r7m, adopt /p/Trip.r7m"},
  };
  for (const auto& c : cases) {
    Recorder r;
    r.answer = c.answer;
    r.chooserGivesPath = c.chooser;
    r.saveWorks = c.saves;
    SaveQuestionFacts facts;
    facts.check = c.check;
    facts.ask = c.ask;
    facts.dirty = c.dirty;
    facts.path = c.path;
    facts.tempPath = c.temp;
    facts.images = c.images;
    EXPECT_EQ(RunSaveQuestion(facts, r.Actions()), c.result) << c.what;
    EXPECT_EQ(Join(r.steps), c.steps) << c.what;
  }
}

TEST(MainDlgRules, ProgressPositionAndEnd) {
  const struct {
    float fraction;
    int position;
    bool finished;
  } cases[] = {
      {0.0f, 1, false}, {0.25f, 251, false}, {0.5f, 501, false}, {0.75f, 751, false}, {1.0f, 1001, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(ProjectProgressPosition(c.fraction), c.position) << c.fraction;
    EXPECT_EQ(ProjectProgressFinished(c.fraction), c.finished) << c.fraction;
  }
}

TEST(MainDlgRules, TemporaryProjectFileSitsBesideTheRunFolder) {
  EXPECT_STREQ(TempProjectFileName("/tmp/b/Temp/230101120000/").GetString(), "/tmp/b/Temp/230101120000.r7m");
  EXPECT_STREQ(TempProjectFileName("C:\\b\\Temp\\230101120000\\").GetString(),
               "C:\\b\\Temp\\230101120000.r7m");
}

TEST(MainDlgRules, CreateItemsTextsAndIds) {
  EXPECT_STREQ(CreateItemText("Create", "MP4", "lang_eng.ini").GetString(), "Create MP4");
  EXPECT_STREQ(CreateItemText("作成", "MP4", "LANG_JPN.INI").GetString(), "MP4作成");
  const struct {
    UINT id;
    int groups;
    int index;
  } cases[] = {
      {33951, 3, 0},
      {33952, 3, 1},
      {33953, 3, 2},
      {33954, 3, -1},  // beyond the groups: nothing, never
                       // another group by wrapping
      {33951, 0, -1},
      {33978, 28, 27},
      {33978, 40, 27},
      {33950, 9, -1},
      {33979, 40, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(CreateGroupIndex(c.id, c.groups), c.index) << c.id << "/" << c.groups;
  // However many groups there are, the items' ids stay in their range.
  EXPECT_EQ(CreateItemCount(40), 28);
  EXPECT_EQ(CreateItemCount(9), 9);
  EXPECT_EQ(CreateItemCount(-1), 0);
}

TEST(MainDlgRules, OutputCaptionByType) {
  const struct {
    int type;
    UINT id;
  } cases[] = {{0, 192}, {1, 193}, {2, 194}, {3, 289}, {4, 270}, {5, 0}, {9, 192}, {-1, 192}};
  for (const auto& c : cases) EXPECT_EQ(OutputTypeCaptionId(c.type), c.id) << c.type;
}

TEST(MainDlgRules, MenuEnablingRules) {
  // Facts of a few situations a user meets.
  MenuFacts none;  // no album pages at all
  MenuFacts photoPage;
  photoPage.photoPageVisible = photoPage.photoListWindow = true;
  photoPage.photoCount = 5;
  photoPage.organizePageVisible = photoPage.albumListWindow = photoPage.albumSelected = true;
  photoPage.selectedAlbumHasPhotos = true;
  photoPage.albumEditorWindow = true;
  MenuFacts oneSelected = photoPage;
  oneSelected.photosSelected = 1;
  MenuFacts twoSelected = photoPage;
  twoSelected.photosSelected = 2;
  MenuFacts optionsPage;  // the photo page hidden, the album options page shown
  optionsPage.albumEditorWindow = optionsPage.optionsPageVisible = optionsPage.currentAlbumHasSlide = true;
  MenuFacts optionsEmpty = optionsPage;
  optionsEmpty.currentAlbumHasSlide = false;
  MenuFacts playing = photoPage;
  playing.previewPlaying = true;
  MenuFacts menuPlaying;
  menuPlaying.menuPreviewPlaying = true;
  MenuFacts emptyAlbum = photoPage;
  emptyAlbum.selectedAlbumHasPhotos = false;

  const struct {
    const char* situation;
    const MenuFacts& facts;
    UINT id;
    bool enabled;
  } cases[] = {
      {"none", none, ID_REMOVE_PHOTOS, false},
      {"photos, none selected", photoPage, ID_REMOVE_PHOTOS, false},
      {"photos, one selected", oneSelected, ID_REMOVE_PHOTOS, true},
      {"photos, none selected", photoPage, ID_REMOVE_ALL_PHOTOS, true},
      {"none", none, ID_REMOVE_ALL_PHOTOS, false},
      {"photos, none selected", photoPage, ID_SELECT_ALL_PHOTOS, false},
      {"photos, none selected", photoPage, ID_RANDOMIZE_ORDER, true},
      {"photos, none selected", photoPage, ID_ROTATE_CW, false},
      {"photos, two selected", twoSelected, ID_ROTATE_CCW, true},
      {"photos, two selected", twoSelected, ID_ADD_TEXT_ARTCLIP, true},
      {"options page with a slide", optionsPage, ID_ADD_TEXT_ARTCLIP, true},
      {"options page, empty album", optionsEmpty, ID_ADD_TEXT_ARTCLIP, false},
      {"options page with a slide", optionsPage, ID_CUSTOM_TRANSITION, true},
      {"options page with a slide", optionsPage, ID_SET_THUMBNAIL, true},
      {"photos, one selected", oneSelected, ID_SET_THUMBNAIL, true},
      {"photos, two selected", twoSelected, ID_SET_THUMBNAIL, false},
      {"photos, one selected", oneSelected, ID_AUTO_EXPOSURE, true},
      {"album with photos", photoPage, ID_ALBUM_PREVIEW, true},
      {"album with photos", photoPage, ID_FULL_SCREEN, true},
      {"empty album", emptyAlbum, ID_ALBUM_PREVIEW, false},
      {"none", none, ID_FULL_SCREEN, false},
      {"empty album", emptyAlbum, ID_ADD_MUSIC, true},
      {"none", none, ID_ADD_MUSIC, false},
      {"none", none, ID_PHOTO_SCALE_FIT, true},
      {"preview plays", playing, ID_PHOTO_SCALE_FIT, false},
      {"preview plays", playing, ID_PHOTO_SCALE_FILL, false},
      {"menu preview plays", menuPlaying, ID_TV_ASPECT_16_9, false},
      {"preview plays", playing, ID_ADD_PHOTOS, true},
      {"none", none, ID_FILE_SAVE_PROJECT, true},
      {"none", none, ID_BLANK_IMAGE_FIRST, true},
      {"none", none, ID_DELETE_ALBUM, false},
      {"album selected", photoPage, ID_DELETE_ALBUM, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MenuCommandEnabled(c.id, c.facts), c.enabled) << c.situation << ", command " << c.id;
}
