#include "shell/MainDlgRules.h"

#include <strings.h>

#include "platform/kernel/Path.h"
#include "platform/user/MessageBox.h"

CString ProjectTitleName(const CString& path) {
  if (path.IsEmpty()) return CString();
  // A bare file name is shown whole, extension included.
  if (pictavo::path::LastSeparator(path.View()) == std::string_view::npos) return path;
  const std::string_view name = pictavo::path::FileName(path.View());
  const size_t dot = name.rfind('.');
  return CString(std::string(dot == std::string_view::npos ? name : name.substr(0, dot)).c_str());
}

int RunSaveQuestion(const SaveQuestionFacts& facts, const SaveQuestionActions& actions) {
  int result = IDYES;
  if (facts.check) {
    // An untitled project saved to its temporary file still counts as modified.
    if (!facts.dirty && !(facts.path.IsEmpty() && !facts.tempPath.IsEmpty())) return IDYES;
    if (facts.images == 0 && facts.clips == 0) return IDYES;
    if (facts.ask) {
      result = actions.askToSave();
      if (result == IDNO || result == IDCANCEL) return result;
    }
  }
  CString path = facts.path;
  if (path.IsEmpty() && !actions.choosePath(path)) return IDCANCEL;
  // A failed save keeps the project's old path, so a later save never lands on a stray file.
  if (!actions.saveTo(path)) return IDCANCEL;
  actions.adopt(path);
  return result;
}

int ProjectProgressPosition(float fraction) {
  return 1 - static_cast<int>(fraction * -1000.0f);
}

bool ProjectProgressFinished(float fraction) {
  return static_cast<int>(fraction * 1000.0f) >= 1000;
}

CString TempProjectFileName(const CString& tempFolder) {
  const std::string_view folder = pictavo::path::WithoutTrailingSeparator(tempFolder.View());
  return CString((std::string(folder) + ".r7m").c_str());
}

int CreateItemCount(int groupCount) {
  return groupCount < 0 ? 0 : (groupCount > kMaxCreateItems ? kMaxCreateItems : groupCount);
}

CString CreateItemText(const CString& prefix, const CString& description, const CString& langFile) {
  if (strcasecmp(langFile.GetString(), "lang_jpn.ini") == 0) return description + prefix;
  return prefix + " " + description;
}

int CreateGroupIndex(UINT id, int groupCount) {
  if (id < ID_CREATE_GROUP_FIRST || id > ID_CREATE_GROUP_LAST) return -1;
  const int index = static_cast<int>(id - ID_CREATE_GROUP_FIRST);
  return index < CreateItemCount(groupCount) ? index : -1;
}

UINT OutputTypeCaptionId(int outputType) {
  switch (outputType) {
    case 1:
      return 193;
    case 2:
      return 194;
    case 3:
      return 289;
    case 4:
      return 270;
    case 5:
      return 0;
    default:
      return 192;
  }
}

namespace {

// Rule A (B with exactly one selected photo): on the photo page by the list's selection,
// on the album options page by the current album's current slide.
bool PhotoEditRule(const MenuFacts& f, bool exactlyOne) {
  if (f.photoPageVisible)
    return f.photoListWindow && (exactlyOne ? f.photosSelected == 1 : f.photosSelected > 0);
  return f.albumEditorWindow && f.optionsPageVisible && f.currentAlbumHasSlide;
}

}  // namespace

bool MenuCommandEnabled(UINT id, const MenuFacts& f) {
  switch (id) {
    case ID_REMOVE_PHOTOS:
    case ID_SELECT_ALL_PHOTOS:  // P1
      return f.photoPageVisible && f.photoListWindow && f.photosSelected > 0;
    case ID_REMOVE_ALL_PHOTOS:
    case ID_RANDOMIZE_ORDER:  // P2
      return f.photoPageVisible && f.photoListWindow && f.photoCount > 0;
    case ID_ADD_TEXT_ARTCLIP:
    case ID_CUSTOM_TRANSITION:
    case ID_AUTO_EXPOSURE:
    case ID_ROTATE_CW:
    case ID_ROTATE_CCW:  // A
      return PhotoEditRule(f, false);
    case ID_SET_THUMBNAIL:  // B
      return PhotoEditRule(f, true);
    case ID_ALBUM_PREVIEW:
    case ID_FULL_SCREEN:  // C
      return f.organizePageVisible && f.albumListWindow && f.albumSelected && f.selectedAlbumHasPhotos;
    case ID_ADD_MUSIC:  // L
      return f.albumListWindow && f.albumSelected;
    case ID_DELETE_ALBUM:
    case ID_ALBUM_PROPERTIES:
      return f.organizePageVisible && f.albumSelected;
    case ID_PHOTO_SCALE_FIT:
    case ID_PHOTO_SCALE_FILL:
    case ID_TV_ASPECT_4_3:
    case ID_TV_ASPECT_16_9:
    case ID_TV_ASPECT_NONE:  // V
      return !f.previewPlaying && !f.menuPreviewPlaying;
    default:
      return true;
  }
}
