#include "albums/PhotoListRows.h"

#include <string>

#include "platform/comctl/CommCtrl.h"
#include "platform/kernel/Path.h"

CString PhotoRowNumberText(int index) {
  CString text;
  text.Format("%04d", index + 1);
  return text;
}

CString PhotoDimensionsText(int width, int height) {
  CString text;
  text.Format("%5d x %d", width, height);
  return text;
}

CString PhotoSizeText(unsigned long long bytes) {
  // 64 bits: a file near 4 GB must not wrap round to a few kilobytes.
  const std::string digits = std::to_string((bytes + 1023) / 1024);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return CString((grouped + " KB").c_str());
}

void SplitPhotoPath(const CString& path, CString* name, CString* folder) {
  const std::string_view view(path.GetString(), static_cast<size_t>(path.GetLength()));
  const size_t cut = pictavo::path::LastSeparator(view);
  if (cut == std::string_view::npos) {
    *name = "";
    *folder = path;
    return;
  }
  *name = CString(std::string(view.substr(cut + 1)).c_str());
  *folder = CString(std::string(view.substr(0, cut)).c_str());
}

PhotoDropAction DecidePhotoDrop(HWND source, HWND target, HWND photoList, HWND albumList) {
  if (source == nullptr || source != photoList || target == nullptr) return PhotoDropAction::kNone;
  if (target == photoList) return PhotoDropAction::kMoveInList;
  if (target == albumList) return PhotoDropAction::kToAlbumList;
  return PhotoDropAction::kNone;
}

CDVDImage* TrackCurrentSlide(CDVDImage* current, CDVDImage* rowSlide, UINT oldState, UINT newState) {
  const bool was = (oldState & LVIS_SELECTED) != 0, is = (newState & LVIS_SELECTED) != 0;
  if (!was && is) return rowSlide;
  if (was && !is) return nullptr;
  return current;
}

int PhotoCommandEnabled(UINT id, const PhotoMenuFacts& facts) {
  switch (id) {
    case 32783:  // Set as Album Thumbnail
      return facts.selected == 1 && facts.singleSelectionIsPhoto;
    case 32918:  // Remove, Edit, Rotate, Custom transition
    case 32834:
    case 32919:
    case 32920:
    case 33926:
      return facts.pageVisible ? facts.selected > 0 : facts.optionsHasCurrentSlide;
    case 32808:  // Auto exposure: not while thumbnails are being made
      return !facts.loaderRunning && facts.selected > 0;
    case 32922:  // Remove All, Select All, Full Screen
    case 32934:
    case 32809:
      return facts.rows > 0;
    case 32832:  // Blank slide colour
      return facts.selected > 0;
    case 32926:  // Randomize, Rearrange: pointless with fewer than three slides
    case 33925:
      return facts.rows > 2;
    default:
      return -1;
  }
}

COLORREF BlankSlidePaletteColour(int index) {
  static const COLORREF kPalette[16] = {
      RGB(0, 0, 0),       RGB(255, 255, 255), RGB(128, 0, 0),   RGB(0, 128, 0),
      RGB(128, 128, 0),   RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128),
      RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),
      RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255)};
  return index >= 1 && index <= 16 ? kPalette[index - 1] : CLR_INVALID;
}

BOOL IsBlankSlidePicture(const CString& path) {
  CString lower = path;
  lower.MakeLower();
  for (const char* ending : {".bmp", ".jpg", ".pcx", ".tif", ".png", ".jpeg", ".tiff"})
    if (lower.Right(static_cast<int>(std::char_traits<char>::length(ending))) == ending) return TRUE;
  return FALSE;
}
