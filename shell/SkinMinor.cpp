#include "shell/SkinMinor.h"

#include "modules/image/CxImage.h"
#include "modules/xml/XMLParse.h"
#include "platform/comctl/ImageList.h"
#include "platform/gdi/Gdi.h"
#include "shell/SkinFile.h"

using namespace pictavo::skin;

CSkinMinor g_skinMinor;

CSkinMinor* GetSkinMinor() {
  return &g_skinMinor;
}

namespace {

constexpr char kMinorElement[] = "skin_minor";
constexpr char kMiscElement[] = "misc_bitmap";
constexpr char kOutputFormatElement[] = "output_format_group";
constexpr char kDialogHintElement[] = "dialog_hint_bitmap";
constexpr int kMiscBitmapCount = 19;
// The slide badges take the size of their first picture, this without one.
constexpr int kDefaultBadgeSize = 11;

struct BarPlace {
  CCoolButtonBar* CSkinMinor::*member;
  const char* element;
};

// The 19 bars in load order; two elements feed two bars each.
const BarPlace kBars[SKIN_MINOR_BAR_COUNT] = {
    {&CSkinMinor::m_pAlbumPreviewPlayBeginButton, "album_preview_play_begin_button"},
    {&CSkinMinor::m_pAlbumPreviewPlayCurrentButton, "album_preview_play_current_button"},
    {&CSkinMinor::m_pAlbumPreviewStopButton, "album_preview_stop_button"},
    {&CSkinMinor::m_pPhotoEditNavigatorButton, "photo_edit_navigator_button"},
    {&CSkinMinor::m_pTransMusicAudioMatchButton, "trans_music_audio_match_button"},
    {&CSkinMinor::m_pTransMusicSlideDurationResetButton, "trans_music_slide_duration_reset_button"},
    {&CSkinMinor::m_pTransMusicTransOperButton, "trans_music_trans_oper_button"},
    {&CSkinMinor::m_pBurnPageBrowserButton, "burn_page_browser_button"},
    {&CSkinMinor::m_pBurnPageLoadEjectButton, "burn_page_load_eject_button"},
    {&CSkinMinor::m_pAudioTrimButton, "audio_trim_button"},
    {&CSkinMinor::m_pEncodeButton, "encode_button"},
    {&CSkinMinor::m_pBrowseMenuTemplateButton, "browse_menu_template_button"},
    {&CSkinMinor::m_pPhotoEditPreviewPlayButton, "photo_edit_preview_play_button"},
    {&CSkinMinor::m_pPhotoEditPreviewStopButton, "photo_edit_preview_stop_button"},
    {&CSkinMinor::m_pPhotoEditResetButton, "photo_edit_reset_button"},
    {&CSkinMinor::m_pPhotoEditResetButton2, "photo_edit_reset_button"},
    {&CSkinMinor::m_pVideoClipsToolbar, "video_clips_toolbar"},
    {&CSkinMinor::m_pVideoPreviewPlayBeginButton, "album_preview_play_begin_button"},
    {&CSkinMinor::m_pVideoPreviewStopButton, "album_preview_stop_button"},
};

CString MinorPath(LPCTSTR element) {
  CString path;
  path.Format("//skins/%s/%s", kMinorElement, element);
  return path;
}

CString ChildPath(const CString& parent, LPCTSTR child, int id) {
  CString path;
  path.Format("%s/%s[@id=\"%d\"]", parent.GetString(), child, id);
  return path;
}

void DeleteBitmap(HBITMAP& bitmap) {
  if (bitmap != nullptr) DeleteObject(bitmap);
  bitmap = nullptr;
}

void ReplaceImageList(HIMAGELIST& list, int cx, int cy, UINT flags, int initial, int grow) {
  if (list != nullptr) ImageList_Destroy(list);
  list = ImageList_Create(cx, cy, flags, initial, grow);
}

// Adds a picture to an image list and frees the picture; nothing for a picture that did not load.
void AddToImageList(HIMAGELIST list, HBITMAP bitmap, bool masked, COLORREF maskColor) {
  if (bitmap == nullptr) return;
  if (list != nullptr) {
    if (masked)
      ImageList_AddMasked(list, bitmap, maskColor);
    else
      ImageList_Add(list, bitmap, nullptr);
  }
  DeleteObject(bitmap);
}

// The 37 x 24 copy of an output-format picture.
HBITMAP MakeSmallCopy(HBITMAP bitmap) {
  CxImage image;
  if (!image.CreateFromHBITMAP(bitmap)) return nullptr;
  if (!image.Resample(SKIN_OUTPUT_FORMAT_SMALL_WIDTH, SKIN_OUTPUT_FORMAT_SMALL_HEIGHT,
                      CXIMAGE_RESAMPLE_BICUBIC))
    return nullptr;
  return image.MakeBitmap(nullptr);
}

int Slot(int index, int count) {
  // Indexes are never negative in the program; a negative one takes the first slot.
  return index < 0 ? 0 : index % count;
}

}  // namespace

CSkinMinor::CSkinMinor() {
  for (const BarPlace& place : kBars) this->*place.member = new CCoolButtonBar;
}

CSkinMinor::~CSkinMinor() {
  for (const BarPlace& place : kBars) delete (this->*place.member);
  DeleteDialogHints();
  DeleteOutputFormats();
  DeleteBitmap(m_misc.m_hSortAscending);
  DeleteBitmap(m_misc.m_hSortDescending);
  for (HIMAGELIST list :
       {m_misc.m_hThumbnailFrames, m_misc.m_hPlaceholders, m_misc.m_hSlideBadges, m_misc.m_hBrowserTiles,
        m_misc.m_hSoundBadges, m_misc.m_hAlbumMarks, m_misc.m_hMusicListIcons})
    if (list != nullptr) ImageList_Destroy(list);
}

CCoolButtonBar* CSkinMinor::GetBar(int nIndex) const {
  if (nIndex < 0 || nIndex >= SKIN_MINOR_BAR_COUNT) return nullptr;
  return this->*kBars[nIndex].member;
}

LPCTSTR CSkinMinor::GetBarElement(int nIndex) {
  if (nIndex < 0 || nIndex >= SKIN_MINOR_BAR_COUNT) return nullptr;
  return kBars[nIndex].element;
}

void CSkinMinor::Load(LPCTSTR lpszProgramFolder, LPCTSTR lpszSkinFileName, BOOL bReload) {
  CXMLParse parser;
  if (!ParseSkinFile(parser, lpszProgramFolder, lpszSkinFileName)) return;
  m_strProgramFolder = lpszProgramFolder;
  m_strSkinFileName = lpszSkinFileName;

  LoadMiscBitmaps(parser);
  DeleteDialogHints();
  DeleteOutputFormats();
  for (int slot = 0; slot < SKIN_OUTPUT_FORMAT_COUNT; ++slot) LoadOutputFormat(parser, slot);
  LoadAlbumList(parser);
  m_strSkinFolderPath = SkinsPath(m_strProgramFolder, ReadSkinFolder(parser));
  LoadBars(parser, bReload);
}

void CSkinMinor::LoadMiscBitmaps(const CXMLParse& parser) {
  const CString element = MinorPath(kMiscElement);
  CString partFolder;
  parser.GetElementAttribute(element, "folder", partFolder);
  const CString skinFolder = SkinsPath(m_strProgramFolder, ReadSkinFolder(parser));
  auto load = [&](int id, UINT flags) -> HBITMAP {
    CString file;
    if (!parser.GetElementAttribute(ChildPath(element, "bitmap", id), "file", file) || file.IsEmpty())
      return nullptr;
    return LoadSkinBitmap(PartPath(skinFolder, partFolder, file), flags);
  };

  DeleteBitmap(m_misc.m_hSortAscending);
  DeleteBitmap(m_misc.m_hSortDescending);
  m_misc.m_hSortAscending = load(0, SKIN_LOAD_FLAGS_3D);
  m_misc.m_hSortDescending = load(1, SKIN_LOAD_FLAGS_3D);

  ReplaceImageList(m_misc.m_hThumbnailFrames, 112, 86, ILC_COLOR32, 0, 1);
  for (int id = 2; id <= 4; ++id)
    AddToImageList(m_misc.m_hThumbnailFrames, load(id, SKIN_LOAD_FLAGS), false, 0);

  ReplaceImageList(m_misc.m_hPlaceholders, 32, 32, ILC_COLOR32, 0, 1);
  AddToImageList(m_misc.m_hPlaceholders, load(5, SKIN_LOAD_FLAGS), false, 0);

  HBITMAP firstBadge = load(6, SKIN_LOAD_FLAGS);
  BITMAP badge{};
  const bool sized = firstBadge != nullptr && GetObject(firstBadge, sizeof(badge), &badge) != 0 &&
                     badge.bmWidth > 0 && badge.bmHeight > 0;
  ReplaceImageList(m_misc.m_hSlideBadges, sized ? badge.bmWidth : kDefaultBadgeSize,
                   sized ? badge.bmHeight : kDefaultBadgeSize, ILC_COLOR24, 0, 1);
  AddToImageList(m_misc.m_hSlideBadges, firstBadge, false, 0);
  for (int id = 7; id <= 9; ++id) AddToImageList(m_misc.m_hSlideBadges, load(id, SKIN_LOAD_FLAGS), false, 0);

  ReplaceImageList(m_misc.m_hBrowserTiles, 78, 78, ILC_COLOR32, 0, 1);
  for (int id = 10; id <= 12; ++id)
    AddToImageList(m_misc.m_hBrowserTiles, load(id, SKIN_LOAD_FLAGS), false, 0);

  ReplaceImageList(m_misc.m_hSoundBadges, 13, 13, ILC_COLOR24 | ILC_MASK, 1, 1);
  AddToImageList(m_misc.m_hSoundBadges, load(13, SKIN_LOAD_FLAGS), true, RGB(255, 255, 255));
  ReplaceImageList(m_misc.m_hAlbumMarks, 16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
  AddToImageList(m_misc.m_hAlbumMarks, load(14, SKIN_LOAD_FLAGS), true, RGB(255, 0, 0));
  ReplaceImageList(m_misc.m_hMusicListIcons, 16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
  AddToImageList(m_misc.m_hMusicListIcons, load(15, SKIN_LOAD_FLAGS), true, RGB(255, 0, 0));

  CBitmap* const objects[] = {&m_misc.m_bmpSeekTrack, &m_misc.m_bmpSeekRange, &m_misc.m_bmpSeekThumb};
  for (int i = 0; i < 3; ++i) {
    objects[i]->DeleteObject();
    if (HBITMAP bitmap = load(16 + i, SKIN_LOAD_FLAGS)) objects[i]->Attach(bitmap);
  }
  static_assert(16 + 3 == kMiscBitmapCount);
}

void CSkinMinor::DeleteDialogHints() {
  for (HBITMAP& bitmap : m_dialogHints.m_hBitmaps) DeleteBitmap(bitmap);
}

void CSkinMinor::DeleteOutputFormats() {
  for (int i = 0; i < SKIN_OUTPUT_FORMAT_COUNT; ++i) {
    DeleteBitmap(m_outputFormats.m_hBitmaps[i]);
    DeleteBitmap(m_outputFormats.m_hSmallBitmaps[i]);
  }
}

void CSkinMinor::LoadOutputFormat(const CXMLParse& parser, int nSlot) {
  const CString element = MinorPath(kOutputFormatElement);
  const CString skinFolder = SkinsPath(m_strProgramFolder, ReadSkinFolder(parser));
  CString partFolder;
  parser.GetElementAttribute(element, "folder", partFolder);
  if (m_outputFormats.m_bColorsToRead) {
    auto read = [&](LPCTSTR attribute, COLORREF& color) {
      DWORD value = color;
      if (parser.GetElementAttributeColor(element, attribute, value)) color = value;
    };
    read("bk_color", m_outputFormats.m_clrBk);
    read("bk_select_color", m_outputFormats.m_clrBkSelect);
    read("text_color", m_outputFormats.m_clrText);
    read("text_select_color", m_outputFormats.m_clrTextSelect);
    m_outputFormats.m_bColorsToRead = FALSE;
  }
  CString file;
  if (!parser.GetElementAttribute(ChildPath(element, "bitmap", nSlot), "file", file) || file.IsEmpty())
    return;
  HBITMAP bitmap = LoadSkinBitmap(PartPath(skinFolder, partFolder, file), SKIN_LOAD_FLAGS);
  if (bitmap == nullptr) return;
  m_outputFormats.m_hBitmaps[nSlot] = bitmap;
  m_outputFormats.m_hSmallBitmaps[nSlot] = MakeSmallCopy(bitmap);
}

void CSkinMinor::GetOutputFormatGroupBitmaps(int nGroup, HBITMAP* phBitmap, HBITMAP* phSmallBitmap) {
  const int slot = Slot(nGroup, SKIN_OUTPUT_FORMAT_COUNT);
  if (m_outputFormats.m_hBitmaps[slot] == nullptr && !m_strSkinFileName.IsEmpty()) {
    CXMLParse parser;
    if (ParseSkinFile(parser, m_strProgramFolder, m_strSkinFileName)) LoadOutputFormat(parser, slot);
  }
  if (phBitmap != nullptr) *phBitmap = m_outputFormats.m_hBitmaps[slot];
  if (phSmallBitmap != nullptr) *phSmallBitmap = m_outputFormats.m_hSmallBitmaps[slot];
}

HBITMAP CSkinMinor::GetDialogHintBitmap(int nIndex) {
  const int slot = Slot(nIndex, SKIN_DIALOG_HINT_COUNT);
  HBITMAP& bitmap = m_dialogHints.m_hBitmaps[slot];
  if (bitmap != nullptr || m_strSkinFileName.IsEmpty()) return bitmap;
  CXMLParse parser;
  if (!ParseSkinFile(parser, m_strProgramFolder, m_strSkinFileName)) return nullptr;
  const CString element = MinorPath(kDialogHintElement);
  CString partFolder, file;
  parser.GetElementAttribute(element, "folder", partFolder);
  if (!parser.GetElementAttribute(ChildPath(element, "bitmap", slot), "background", file) || file.IsEmpty())
    return nullptr;
  bitmap = LoadSkinBitmap(PartPath(SkinsPath(m_strProgramFolder, ReadSkinFolder(parser)), partFolder, file),
                          SKIN_LOAD_FLAGS);
  return bitmap;
}

void CSkinMinor::LoadAlbumList(const CXMLParse& parser) {
  const struct {
    LPCTSTR attribute;
    CString CSkinAlbumList::*path;
  } cards[] = {
      {"normal", &CSkinAlbumList::m_strNormal},
      {"selected", &CSkinAlbumList::m_strSelected},
      {"grayed", &CSkinAlbumList::m_strGrayed},
      {"normal_video", &CSkinAlbumList::m_strNormalVideo},
      {"selected_video", &CSkinAlbumList::m_strSelectedVideo},
      {"grayed_video", &CSkinAlbumList::m_strGrayedVideo},
  };
  for (const auto& card : cards) (m_albumList.*card.path).Empty();
  const CString skinFolder = ReadSkinFolder(parser);
  CString partFolder;
  parser.GetElementAttribute("//skins/album_list", "folder", partFolder);
  if (skinFolder.IsEmpty() || partFolder.IsEmpty()) return;
  const CString skinFolderPath = SkinsPath(m_strProgramFolder, skinFolder);
  for (const auto& card : cards) {
    CString file;
    if (parser.GetElementAttribute("//skins/album_list", card.attribute, file) && !file.IsEmpty())
      m_albumList.*card.path = PartPath(skinFolderPath, partFolder, file);
  }
}

void CSkinMinor::LoadBars(const CXMLParse& parser, BOOL bReload) {
  for (const BarPlace& place : kBars)
    LoadButtonBar(parser, MinorPath(place.element), m_strSkinFolderPath, SKIN_MINOR_MAX_BUTTONS,
                  *(this->*place.member), bReload);
}
