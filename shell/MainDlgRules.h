// The main window's decisions kept apart from the window: the title's project name, the save
// question, the progress popup's arithmetic, the Create items, the output-format caption and
// the enabling rules of the menu. The window gathers the facts and carries out the result.
#pragma once

#include <functional>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// Command ids of the main menu (menu 373) and of the commands forwarded to the album pages.
#define ID_FILE_NEW_PROJECT 57600
#define ID_FILE_OPEN_PROJECT 57601
#define ID_FILE_SAVE_PROJECT 57603
#define ID_FILE_SAVE_PROJECT_AS 57604
#define ID_FILE_RECENT_FIRST 57616
#define ID_FILE_RECENT_LAST 57631
#define ID_APP_EXIT_PROJECT 32791
#define ID_RESET_RECENT_FILES 33988
#define ID_ADD_PHOTOS 32789
#define ID_REMOVE_PHOTOS 32853
#define ID_REMOVE_ALL_PHOTOS 32854
#define ID_ADD_MUSIC 32807
#define ID_SELECT_ALL_PHOTOS 32879
#define ID_ADD_TEXT_ARTCLIP 32858
#define ID_CUSTOM_TRANSITION 33926
#define ID_AUTO_EXPOSURE 32857
#define ID_ROTATE_CW 32855
#define ID_ROTATE_CCW 32856
#define ID_SET_THUMBNAIL 32860
#define ID_RANDOMIZE_ORDER 32859
#define ID_ALBUM_PREVIEW 32852
#define ID_FULL_SCREEN 32822
#define ID_PHOTO_SCALE_FIT 33997
#define ID_PHOTO_SCALE_FILL 33998
#define ID_BLANK_IMAGE_FIRST 32861
#define ID_BLANK_IMAGE_MORE 32877
#define ID_BLANK_IMAGE_CUSTOM 32878
#define ID_CREATE_GROUP_FIRST 33951
#define ID_CREATE_GROUP_LAST 33978
#define ID_CREATE_WEB_ALBUM 33980
#define ID_SOUND_RECORDER 33934
#define ID_TOGGLE_FILE_BROWSER 32803
#define ID_OPTIONS 32788
#define ID_LANGUAGE_AUTO_SELECTED 33990
#define ID_HELP_CONTENTS 32795
#define ID_HELP_WEBSITE 32799
#define ID_CHECK_UPGRADES 32801
#define ID_ABOUT_BOX 32792
#define ID_NEW_ALBUM 32790
#define ID_DELETE_ALBUM 32802
#define ID_ALBUM_PROPERTIES 32851
#define ID_BATCH_COLLECT 32821
#define ID_ADD_BLANK_IMAGE 32833
#define ID_ADD_VIDEOS 33996
#define ID_NEW_NAMED_ALBUM 33995
#define ID_OPEN_TEMP_FOLDER 33922
#define ID_HELP_CONTENTS_2 32796
#define ID_OUTPUT_DVD 33948
#define ID_OUTPUT_VCD 33947
#define ID_OUTPUT_SVCD 33949
#define ID_OUTPUT_BLURAY 34001
#define ID_TV_ASPECT_4_3 33984
#define ID_TV_ASPECT_16_9 33985
#define ID_TV_ASPECT_NONE 33986

// The photo page's own commands that the menu posts to it.
#define ID_PHOTOS_REMOVE 32918
#define ID_PHOTOS_REMOVE_ALL 32922
#define ID_PHOTOS_SELECT_ALL 32934
#define ID_PHOTOS_TEXT_ARTCLIP 32834
#define ID_PHOTOS_AUTO_EXPOSURE 32808
#define ID_PHOTOS_ROTATE_CW 32919
#define ID_PHOTOS_ROTATE_CCW 32920
#define ID_PHOTOS_THUMBNAIL 32783
#define ID_PHOTOS_RANDOMIZE 32926
// The album editor's own commands.
#define ID_EDITOR_FULL_SCREEN 32809
#define ID_EDITOR_PROPERTIES 32805
#define ID_EDITOR_BATCH_COLLECT 32820
#define ID_EDITOR_NAMED_ALBUM 33994

// The project's name in the title: the file name without its last extension; a path with no
// folder is shown whole. "" for an untitled project.
//   "/home/me/Trip.r7m" -> "Trip", "C:\\a\\b.c.r7m" -> "b.c", "Trip.r7m" -> "Trip.r7m"
CString ProjectTitleName(const CString& path);

// The save question (CMainDlg::SaveModified) over the facts of the project and the user's
// answers. Each callback is called only when the road reaches it; the result is IDYES, IDNO or
// IDCANCEL.
struct SaveQuestionFacts {
  BOOL check = TRUE;  // ask only when there is something to save
  BOOL ask = TRUE;    // ask before saving
  BOOL dirty = FALSE;
  CString path;      // the current project path, "" while untitled
  CString tempPath;  // where an untitled project was last saved
  int images = 0;
  int clips = 0;
};
struct SaveQuestionActions {
  std::function<int()> askToSave;                   // IDYES / IDNO / IDCANCEL
  std::function<bool(CString& path)> choosePath;    // false when the user cancels
  std::function<bool(const CString& path)> saveTo;  // false when the file could not be written
  std::function<void(const CString& path)> adopt;   // an untitled project takes its new path
};
int RunSaveQuestion(const SaveQuestionFacts& facts, const SaveQuestionActions& actions);

// The progress popup over a project read or write: fraction 0.0 to 1.0 from the data model.
//   0.0 -> 1, 0.5 -> 501, 1.0 -> 1001
int ProjectProgressPosition(float fraction);
// The popup closes once the fraction reaches 1.0.
bool ProjectProgressFinished(float fraction);
// No popup for work that ends within this many milliseconds.
constexpr DWORD kProjectProgressDelayMs = 600;

// The file an untitled project is saved to beside this run's temporary folder:
//   "/tmp/base/Temp/230101120000/" -> "/tmp/base/Temp/230101120000.r7m"
CString TempProjectFileName(const CString& tempFolder);

// The Create items: one per output-profile group, ids from ID_CREATE_GROUP_FIRST by position.
// Only as many groups get items as the id range holds, so no id reaches the commands after it.
constexpr int kMaxCreateItems = ID_CREATE_GROUP_LAST - ID_CREATE_GROUP_FIRST + 1;
int CreateItemCount(int groupCount);
// "Create MP4 Video"; with the Japanese language file the description comes first, unspaced.
CString CreateItemText(const CString& prefix, const CString& description, const CString& langFile);
// The group index a Create id picks, or -1 when it picks none.
int CreateGroupIndex(UINT id, int groupCount);

// The string id of the output selector's caption for an output type; 0 for the output-profile
// group, whose caption is the active group's description.
UINT OutputTypeCaptionId(int outputType);

// What the menu's enabling rules look at, gathered when a popup opens.
struct MenuFacts {
  bool photoPageVisible = false;  // the photo page has a visible window
  bool photoListWindow = false;
  int photosSelected = 0;
  int photoCount = 0;
  bool albumEditorWindow = false;
  bool optionsPageVisible = false;
  bool currentAlbumHasSlide = false;  // the editor's current photo album has a current slide
  bool organizePageVisible = false;
  bool albumListWindow = false;
  bool albumSelected = false;
  bool selectedAlbumHasPhotos = false;  // the selected album is a photo album with slides
  bool previewPlaying = false;
  bool menuPreviewPlaying = false;
};
// Whether a command of the main menu is enabled; commands without a rule are always enabled.
bool MenuCommandEnabled(UINT id, const MenuFacts& facts);
