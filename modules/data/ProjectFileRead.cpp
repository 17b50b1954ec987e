// Reading the r7m project file into a project of its own, which replaces the current project's
// contents only when everything was read.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/data/ProjectFile.h"
#include "modules/data/ProjectFileFields.h"
#include "modules/data/ProjectMedia.h"
#include "modules/xml/ValueNotation.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"

namespace pictavo::data::projectfile {
namespace {

// A file that cannot be represented: the reader stops with this.
struct Damaged {
  std::string why;
};

int Int(const pugi::xml_node& node, const char* name, int fallback) {
  const auto value = pictavo::xml::ParseInt(node.attribute(name).value());
  return value ? *value : fallback;
}

int IntIn(const pugi::xml_node& node, const char* name, int fallback, int low, int high) {
  return std::clamp(Int(node, name, fallback), low, high);
}

// A slide's own duration, bounded as the album's; missing or out of range, the slide uses the
// album's (-1).
int SlideDuration(const pugi::xml_node& node, const char* name) {
  const int seconds = Int(node, name, -1);
  return seconds >= 0 && seconds <= 3600 ? seconds : -1;
}

COLORREF Colour(const pugi::xml_node& node, const char* name, COLORREF fallback) {
  const auto value = pictavo::xml::ParseColor(node.attribute(name).value());
  return value ? (*value & 0xFFFFFF) : fallback;
}

class Reader {
 public:
  Reader(CDVDProject& into, std::string folder, std::vector<CString>& missing)
      : m_project(into), m_folder(std::move(folder)), m_missing(missing) {}

  void Read(const pugi::xml_node& root) {
    for (const pugi::xml_node& album : root.children("album"))
      for (const pugi::xml_node& item : album.children())
        if (std::string_view(item.name()) == "slide" || std::string_view(item.name()) == "clip") ++m_total;
    if (const pugi::xml_node options = root.child("options"))
      ReadFields(options, m_project.GetOptionsData(), kOptionFields);
    const pugi::xml_node menu = root.child("disc_menu");
    m_project.SetMenuTemplateName(menu.attribute("template").value());
    for (const pugi::xml_node& music : menu.children("music"))
      m_project.GetDiscMenuBackgroundMusic()->Add(Path(music));
    for (const pugi::xml_node& node : root.children("album")) {
      const std::string_view kind = node.attribute("kind").value();
      if (kind == "photo") {
        auto* album = new CDVDAlbumImage(&m_project);
        m_project.m_arrAlbums.Add(album);
        ReadPhotoAlbum(node, *album);
      } else if (kind == "video") {
        auto* album = new CDVDAlbumMovie(&m_project);
        m_project.m_arrAlbums.Add(album);
        ReadVideoAlbum(node, *album);
      } else {
        throw Damaged{"an album of unknown kind \"" + std::string(kind) + "\""};
      }
    }
  }

 private:
  void Step() {
    m_progress.Report(m_total > 0 ? 0.9f * static_cast<float>(++m_done) / static_cast<float>(m_total) : 0.9f);
  }

  // A media path; a file that is not there is noted for the missing-files report.
  CString Path(const pugi::xml_node& node, const char* relName = "path", const char* absName = "abs") {
    bool found = false;
    CString path =
        ResolvePath(node.attribute(relName).value(), node.attribute(absName).value(), m_folder, found);
    if (!found && !path.IsEmpty() && m_reported.insert(std::string(path.View())).second)
      m_missing.push_back(path);
    return path;
  }

  void ReadBase(const pugi::xml_node& node, CDVDAlbumBase& album) {
    album.m_strAlbumName = node.attribute("name").value();
    CAlbumEffect& effect = *album.GetAlbumEffect();
    effect.SetThemeName(node.child("theme").attribute("name").value());
    if (const pugi::xml_node font = node.child("subtitle_font")) {
      CDVDSubtitleFont& subtitle = album.GetDVDSubtitleFont();
      subtitle.Set_strFontFileName(font.attribute("file").value());
      subtitle.Set_strCharset(font.attribute("charset").as_string(subtitle.Get_strCharset()));
      subtitle.Set_nFontSize(IntIn(font, "size", subtitle.Get_nFontSize(), 1, 400));
    }
    ReadAlbumText(node.child("title"), *effect.GetTitleSettings());
    ReadAlbumText(node.child("theme_text"), *effect.GetThemeTextSettings());
    ReadAlbumText(node.child("credits"), *effect.GetCreditSettings());
  }

  void ReadAlbumText(const pugi::xml_node& node, _ALBUM_TEXT_SETTINGS& text) {
    if (!node) return;
    ReadFields(node, &text, kAlbumTextFields);
    std::memset(text.szEffectFile, 0, sizeof text.szEffectFile);
    if (node.attribute("effect") || node.attribute("effect_abs")) {
      bool found = false;
      // An effect movie belongs to the program's data, not to the user's media: not reported.
      const CString effect = ResolvePath(node.attribute("effect").value(),
                                         node.attribute("effect_abs").value(), m_folder, found);
      std::strncpy(text.szEffectFile, effect, sizeof text.szEffectFile - 1);
    }
    const char* body = node.text().get();
    std::memset(text.szText, 0, sizeof text.szText);
    std::strncpy(text.szText, body, sizeof text.szText - 1);
  }

  void ReadSound(const pugi::xml_node& node, _AUDIO_SOURCE& sound) {
    sound.strPathName = Path(node);
    sound.nSourceLength = std::max(0, Int(node, "length", 0));
    sound.nTrimStart = std::max(0, Int(node, "trim_start", 0));
    sound.nTrimEnd = std::max(sound.nTrimStart, Int(node, "trim_end", sound.nSourceLength));
    sound.nStartPos = std::max(0, Int(node, "start", 0));
  }

  static void ReadPlacement(const pugi::xml_node& node, CDVDImageSprite& sprite) {
    sprite.Set_ptPosition(POINT{Int(node, "x", 0), Int(node, "y", 0)});
    sprite.Set_szSize(SIZE{std::max(0, Int(node, "width", 0)), std::max(0, Int(node, "height", 0))});
    sprite.Set_srRange(IntIn(node, "range", DVD_SPRITE_RANGE_SLIDE, 0, 1));
  }

  void ReadSprites(const pugi::xml_node& parent, CDVDImageSpriteArray& into, CDVDImage* slide) {
    for (const pugi::xml_node& node : parent.children()) {
      const std::string_view name = node.name();
      if (name == "text") {
        auto* text = new CDVDImageText(slide);
        into.Add(text);
        ReadPlacement(node, *text);
        _DVDImageTextFont font = text->GetDVDImageTextFont();
        if (const pugi::xml_node style = node.child("style")) ReadTextFont(style, font);
        text->SetDVDImageTextFont(&font);
        text->Set_strText(node.child("content").text().get());
      } else if (name == "clipart") {
        auto* art = new CDVDImageProps(slide);
        into.Add(art);
        ReadPlacement(node, *art);
        art->Set_strPathName(Path(node));
      }
    }
  }

  void ReadPhotoAlbum(const pugi::xml_node& node, CDVDAlbumImage& album) {
    ReadBase(node, album);
    album.m_nOneDuration = IntIn(node, "one", album.m_nOneDuration, 0, 3600);
    album.m_nTwoDuration = IntIn(node, "two", album.m_nTwoDuration, 0, 3600);
    album.m_dwTransDurationType = static_cast<DWORD>(IntIn(node, "duration_type", 1, 0, 1));
    album.m_bAutoPanZoom = Int(node, "auto_panzoom", 1) != 0;
    album.m_bMusicFadeInOut = Int(node, "music_fade", 1) != 0;
    album.m_clrBackground = Colour(node, "background", 0);
    for (const pugi::xml_node& music : node.children("music")) {
      _AUDIO_SOURCE sound;
      ReadSound(music, sound);
      album.m_listAudio.AddTail(new _AUDIO_SOURCE(sound));
    }
    if (const pugi::xml_node objects = node.child("objects"))
      ReadSprites(objects, album.m_arrSprites, nullptr);
    for (const pugi::xml_node& slideNode : node.children("slide")) {
      auto* slide = new CDVDImage(&album);
      album.m_arrImages.Add(slide);
      ReadSlide(slideNode, *slide);
      Step();
    }
    album.m_pAlbumImage = album.GetImage(Int(node, "cover", -1));
    album.m_pCurImage = album.GetImage(Int(node, "current", -1));
  }

  void ReadSlide(const pugi::xml_node& node, CDVDImage& slide) {
    slide.m_nImageType = IntIn(node, "type", DVD_IMAGE_PHOTO, DVD_IMAGE_PHOTO, DVD_IMAGE_BLANK_PICTURE);
    if (slide.m_nImageType == DVD_IMAGE_BLANK_COLOR) {
      // The shared blank picture is made again when needed; it is no user file.
      bool found = false;
      slide.Put_strPathName(
          ResolvePath(node.attribute("path").value(), node.attribute("abs").value(), m_folder, found));
    } else {
      slide.Put_strPathName(Path(node));
    }
    slide.m_clrBackground = Colour(node, "background", 0);
    slide.m_strLabel = node.attribute("label").value();
    slide.m_nOneDuration = SlideDuration(node, "one");
    slide.m_nTwoDuration = SlideDuration(node, "two");
    slide.m_strTransName = node.attribute("transition").value();
    slide.m_nPanZoom = std::max(DVD_PANZOOM_CUSTOM, Int(node, "panzoom", DVD_PANZOOM_ALBUM));
    slide.m_nRotateAngle = Int(node, "rotate", 0);
    slide.m_bAutoExposure = Int(node, "auto_exposure", 0) != 0;
    if (const pugi::xml_node positions = node.child("panzoom_positions")) {
      auto saved = std::make_unique<_tagPhotoPanZoomSaveParam>();
      saved->fStartPanX = positions.attribute("start_x").as_double(0);
      saved->fStartPanY = positions.attribute("start_y").as_double(0);
      saved->fStartZoom = positions.attribute("start_zoom").as_double(100);
      saved->fStartRotate = positions.attribute("start_rotate").as_double(0);
      saved->fEndPanX = positions.attribute("end_x").as_double(0);
      saved->fEndPanY = positions.attribute("end_y").as_double(0);
      saved->fEndZoom = positions.attribute("end_zoom").as_double(100);
      saved->fEndRotate = positions.attribute("end_rotate").as_double(0);
      slide.m_pPanZoomSaveParam = std::move(saved);
    }
    if (const pugi::xml_node intensity = node.child("intensity")) {
      auto p = std::make_unique<_tagPhotoIntensityParam>();
      p->nBrightness = IntIn(intensity, "brightness", 0, -255, 255);
      p->nContrast = IntIn(intensity, "contrast", 0, -100, 100);
      p->nGamma = IntIn(intensity, "gamma", _tagPhotoIntensityParam::kNeutralGamma, 0, 100);
      p->nCyanRed = IntIn(intensity, "cyan_red", 0, -255, 255);
      p->nMagentaGreen = IntIn(intensity, "magenta_green", 0, -255, 255);
      p->nYellowBlue = IntIn(intensity, "yellow_blue", 0, -255, 255);
      slide.m_pIntensityParam = std::move(p);
    }
    slide.m_strOrgSubtitle = node.child("subtitle").text().get();
    if (const pugi::xml_node annotation = node.child("annotation")) {
      auto sound = std::make_unique<_AUDIO_SOURCE>();
      ReadSound(annotation, *sound);
      slide.m_pAnnotation = std::move(sound);
    }
    ReadSprites(node, slide.m_arrSprites, &slide);
    slide.m_bChanged = FALSE;  // nothing to refresh: no thumbnail was made yet
  }

  void ReadVideoAlbum(const pugi::xml_node& node, CDVDAlbumMovie& album) {
    ReadBase(node, album);
    album.m_nFieldOrder = Int(node, "field_order", 0);
    for (const pugi::xml_node& clip : node.children("clip")) {
      auto* item = new _DV_LIST_ITEM_DATA;
      album.m_arrItems.Add(item);
      item->strPathName = Path(clip);
      item->nWidth = std::max(0, Int(clip, "width", 0));
      item->nHeight = std::max(0, Int(clip, "height", 0));
      item->bHeightIsTVSystem = Int(clip, "height_is_tv", 0) != 0;
      item->dblFrameRate = std::max(0.0, clip.attribute("fps").as_double(0));
      item->bDVVideo = Int(clip, "dv", 0) != 0;
      item->bPAL = Int(clip, "pal", 0) != 0;
      item->bHasAudio = Int(clip, "audio", 0) != 0;
      item->pSource = new _DV_SOURCE;
      item->pSource->strPathName = item->strPathName;
      item->pSource->dwDuration = static_cast<DWORD>(std::max(0, Int(clip, "duration", 0)));
      item->pSource->dwStart = static_cast<DWORD>(std::max(0, Int(clip, "start", 0)));
      item->pSource->dwEnd =
          std::max(item->pSource->dwStart, static_cast<DWORD>(std::max(0, Int(clip, "end", 0))));
      // Thumbnails are not kept in the file: the video list shows them again.
      if (pictavo::data::FileExists(item->strPathName)) CDVDAlbumMovie::MakeVideoItemThumbnail(item);
      Step();
    }
  }

  CDVDProject& m_project;
  const std::string m_folder;
  std::vector<CString>& m_missing;
  std::set<std::string> m_reported;
  Progress m_progress;
  int m_total = 0;
  int m_done = 0;
};

bool HasForeignExtension(std::string_view path) {
  const std::string_view extension = pictavo::path::Extension(path);
  for (std::string_view foreign : kForeignExtensions)
    if (extension.size() == foreign.size() &&
        std::equal(extension.begin(), extension.end(), foreign.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; }))
      return true;
  return false;
}

BOOL Fail(DWORD error, const CString& message) {
  SetLastFileError(message);
  SetLastError(error);
  return FALSE;
}

}  // namespace
}  // namespace pictavo::data::projectfile

void CDVDProject::TakeContentsOf(CDVDProject& other) {
  CDVDAlbumArray mine;
  mine.Copy(m_arrAlbums);
  m_arrAlbums.Copy(other.m_arrAlbums);
  other.m_arrAlbums.Copy(mine);
  for (INT_PTR i = 0; i < m_arrAlbums.GetSize(); ++i) {
    CDVDAlbumBase* album = m_arrAlbums[i];
    album->SetProject(this);
    CAlbumEffect& effect = *album->GetAlbumEffect();
    if (_ALBUM_THEME* theme = FindTheme(effect.GetThemeName())) effect.SetTheme(theme);
  }
  for (INT_PTR i = 0; i < other.m_arrAlbums.GetSize(); ++i) other.m_arrAlbums[i]->SetProject(&other);
  m_options = other.m_options;
  if (!other.m_strMenuTemplateName.IsEmpty()) m_strMenuTemplateName = other.m_strMenuTemplateName;
  m_arrMenuMusic.Copy(other.m_arrMenuMusic);
  m_nActiveAlbumIndex = -1;
}

BOOL CDVDProject::OpenFromFile(LPCTSTR path, int& missingCount, CStringArray& missingFiles, int, int) {
  namespace pf = pictavo::data::projectfile;
  if (path == nullptr || *path == '\0')
    return pf::Fail(ERROR_INVALID_PARAMETER, "No project file name was given.");
  const std::string native =
      std::filesystem::absolute(pictavo::path::ToNative(path)).lexically_normal().string();
  CString message;
  struct stat st {};
  if (stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    message.Format("The project file %s does not exist.", native.c_str());
    return pf::Fail(ERROR_FILE_NOT_FOUND, message);
  }
  const bool foreign = pf::HasForeignExtension(native);
  const auto unsupported = [&] {
    message.Format("%s is a project file of a kind this program recognises but does not read.",
                   native.c_str());
    return pf::Fail(ERROR_NOT_SUPPORTED, message);
  };
  pf::Progress progress;
  progress.Report(0.0f);
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_file(native.c_str());
  if (!parsed) {
    if (foreign) return unsupported();
    message.Format(
        "%s is damaged or is not a project file (%s at byte %lld). The open project was left as it was.",
        native.c_str(), parsed.description(), static_cast<long long>(parsed.offset));
    return pf::Fail(ERROR_INVALID_DATA, message);
  }
  const pugi::xml_node root = doc.child(pf::kRootName);
  if (!root) {
    if (foreign) return unsupported();
    message.Format("%s is not a project file of this program. The open project was left as it was.",
                   native.c_str());
    return pf::Fail(ERROR_INVALID_DATA, message);
  }
  const auto format = pictavo::xml::ParseInt(root.attribute("format").value());
  if (!format || *format < 1) {
    message.Format(
        "%s is damaged: it does not say which format it is in. The open project was left as it was.",
        native.c_str());
    return pf::Fail(ERROR_INVALID_DATA, message);
  }
  if (*format > pf::kFormatVersion) {
    message.Format(
        "%s was saved by a newer version of the program (format %d; this version reads up to format %d). "
        "The open project was left as it was.",
        native.c_str(), *format, pf::kFormatVersion);
    return pf::Fail(ERROR_NOT_SUPPORTED, message);
  }
  CDVDProject loaded;
  std::vector<CString> missing;
  try {
    pf::Reader reader(loaded, std::string(pictavo::path::Folder(native)), missing);
    reader.Read(root);
  } catch (const pf::Damaged& damaged) {
    message.Format("%s is damaged: it holds %s. The open project was left as it was.", native.c_str(),
                   damaged.why.c_str());
    return pf::Fail(ERROR_INVALID_DATA, message);
  }
  TakeContentsOf(loaded);
  for (const CString& file : missing) missingFiles.Add(file);
  missingCount = static_cast<int>(missing.size());
  m_strProjectFile = native.c_str();
  ClearAllDirty();
  pf::SetLastFileError(CString());
  progress.Report(1.0f);
  return TRUE;
}
