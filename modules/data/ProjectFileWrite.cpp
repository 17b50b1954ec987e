// Writing the r7m project file.
#include <cstring>
#include <filesystem>
#include <string>

#include <pugixml.hpp>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/data/ProjectFile.h"
#include "modules/data/ProjectFileFields.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"

namespace pictavo::data::projectfile {
namespace {

class Writer {
 public:
  Writer(const CDVDProject& project, std::string folder) : m_project(project), m_folder(std::move(folder)) {
    for (int i = 0; i < project.GetAlbumCount(); ++i) {
      const CDVDAlbumBase* album = project.GetAlbum(i);
      if (album->IsImageAlbum()) m_total += static_cast<const CDVDAlbumImage*>(album)->GetImageCount();
      if (album->IsMovieAlbum()) m_total += static_cast<const CDVDAlbumMovie*>(album)->Get_nVideoItemCount();
    }
  }

  std::string Build() {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child(kRootName);
    root.append_attribute("format") = kFormatVersion;
    root.append_attribute("generator") = "Pictavo";
    WriteFields(root.append_child("options"), m_project.GetOptionsData(), kOptionFields);
    pugi::xml_node menu = root.append_child("disc_menu");
    menu.append_attribute("template") = m_project.GetMenuTemplateName().GetString();
    const CStringArray& music = *m_project.GetDiscMenuBackgroundMusic();
    for (INT_PTR i = 0; i < music.GetSize(); ++i) WritePath(menu.append_child("music"), music[i]);
    for (int i = 0; i < m_project.GetAlbumCount(); ++i) {
      const CDVDAlbumBase* album = m_project.GetAlbum(i);
      if (album->IsImageAlbum())
        WritePhotoAlbum(root.append_child("album"), *static_cast<const CDVDAlbumImage*>(album));
      if (album->IsMovieAlbum())
        WriteVideoAlbum(root.append_child("album"), *static_cast<const CDVDAlbumMovie*>(album));
    }
    std::string text;
    struct Sink : pugi::xml_writer {
      std::string* out;
      void write(const void* data, size_t size) override {
        out->append(static_cast<const char*>(data), size);
      }
    } sink;
    sink.out = &text;
    doc.save(sink, "  ", pugi::format_default, pugi::encoding_utf8);
    return text;
  }

 private:
  void Step() {
    m_progress.Report(m_total > 0 ? 0.9f * static_cast<float>(++m_done) / static_cast<float>(m_total) : 0.9f);
  }

  void WritePath(pugi::xml_node node, const CString& path, const char* relName = "path",
                 const char* absName = "abs") {
    const StoredPath stored = StorePath(path, m_folder);
    node.append_attribute(relName) =
        stored.relative.empty() ? stored.absolute.c_str() : stored.relative.c_str();
    node.append_attribute(absName) = stored.absolute.c_str();
  }

  void WriteBase(pugi::xml_node node, const CDVDAlbumBase& album) {
    node.append_attribute("name") = album.Get_strAlbumName().GetString();
    const CAlbumEffect& effect = *album.GetAlbumEffect();
    if (!effect.GetThemeName().IsEmpty())
      node.append_child("theme").append_attribute("name") = effect.GetThemeName().GetString();
    pugi::xml_node font = node.append_child("subtitle_font");
    const CDVDSubtitleFont& subtitle = album.GetDVDSubtitleFont();
    font.append_attribute("file") = subtitle.Get_strFontFileName().GetString();
    font.append_attribute("charset") = subtitle.Get_strCharset().GetString();
    font.append_attribute("size") = subtitle.Get_nFontSize();
    WriteAlbumText(node.append_child("title"), *effect.GetTitleSettings());
    WriteAlbumText(node.append_child("theme_text"), *effect.GetThemeTextSettings());
    WriteAlbumText(node.append_child("credits"), *effect.GetCreditSettings());
  }

  void WriteAlbumText(pugi::xml_node node, const _ALBUM_TEXT_SETTINGS& text) {
    WriteFields(node, &text, kAlbumTextFields);
    if (text.szEffectFile[0] != '\0') WritePath(node, CString(text.szEffectFile), "effect", "effect_abs");
    node.text().set(std::string(text.szText, strnlen(text.szText, sizeof text.szText)).c_str());
  }

  void WriteSound(pugi::xml_node node, const _AUDIO_SOURCE& sound) {
    WritePath(node, sound.strPathName);
    node.append_attribute("length") = sound.nSourceLength;
    node.append_attribute("trim_start") = sound.nTrimStart;
    node.append_attribute("trim_end") = sound.nTrimEnd;
    node.append_attribute("start") = sound.nStartPos;
  }

  void WriteSprites(pugi::xml_node parent, const CDVDImageSpriteArray& sprites) {
    for (INT_PTR i = 0; i < sprites.GetSize(); ++i) {
      const CDVDImageSprite* sprite = sprites[i];
      pugi::xml_node node;
      if (sprite->GetSpriteType() == DVD_SPRITE_TEXT) {
        const auto* text = static_cast<const CDVDImageText*>(sprite);
        node = parent.append_child("text");
        WritePlacement(node, *sprite);
        WriteTextFont(node.append_child("style"), text->GetDVDImageTextFont());
        node.append_child("content").text().set(text->Get_strText().GetString());
      } else if (sprite->GetSpriteType() == DVD_SPRITE_PROPS) {
        node = parent.append_child("clipart");
        WritePlacement(node, *sprite);
        WritePath(node, static_cast<const CDVDImageProps*>(sprite)->Get_strPathName());
      }
    }
  }

  static void WritePlacement(pugi::xml_node node, const CDVDImageSprite& sprite) {
    node.append_attribute("x") = sprite.Get_ptPosition().x;
    node.append_attribute("y") = sprite.Get_ptPosition().y;
    node.append_attribute("width") = sprite.Get_szSize().cx;
    node.append_attribute("height") = sprite.Get_szSize().cy;
    node.append_attribute("range") = sprite.Get_srRange();
  }

  static void WriteColour(pugi::xml_node node, const char* name, COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    node.append_attribute(name) = text;
  }

  void WritePhotoAlbum(pugi::xml_node node, const CDVDAlbumImage& album) {
    node.append_attribute("kind") = "photo";
    WriteBase(node, album);
    node.append_attribute("one") = album.m_nOneDuration;
    node.append_attribute("two") = album.m_nTwoDuration;
    node.append_attribute("duration_type") = static_cast<unsigned>(album.Get_dwTransDurationType());
    node.append_attribute("auto_panzoom") = album.Get_bAutoPanZoom() ? 1 : 0;
    node.append_attribute("music_fade") = album.Get_bMusicFadeInOut() ? 1 : 0;
    WriteColour(node, "background", album.Get_clrBackground());
    node.append_attribute("cover") = album.IndexOf(album.Get_pAlbumImage());
    node.append_attribute("current") = album.IndexOf(album.m_pCurImage);
    for (int i = 0; i < album.GetMusicCount(); ++i)
      WriteSound(node.append_child("music"), *album.GetMusic(i));
    if (album.m_arrSprites.GetSize() > 0) WriteSprites(node.append_child("objects"), album.m_arrSprites);
    for (int i = 0; i < album.GetImageCount(); ++i) {
      WriteSlide(node.append_child("slide"), *album.GetImage(i));
      Step();
    }
  }

  void WriteSlide(pugi::xml_node node, const CDVDImage& slide) {
    WritePath(node, slide.Get_strPathName());
    if (slide.Get_nImageType() != DVD_IMAGE_PHOTO) node.append_attribute("type") = slide.Get_nImageType();
    if (slide.Get_nImageType() != DVD_IMAGE_PHOTO) WriteColour(node, "background", slide.Get_clrBackground());
    if (!slide.Get_strLabel().IsEmpty()) node.append_attribute("label") = slide.Get_strLabel().GetString();
    node.append_attribute("one") = slide.Get_nOneDuration();
    node.append_attribute("two") = slide.Get_nTwoDuration();
    node.append_attribute("transition") = slide.Get_strTransName().GetString();
    node.append_attribute("panzoom") = slide.Get_nPanZoom();
    if (slide.Get_nRotateAngle() != 0) node.append_attribute("rotate") = slide.Get_nRotateAngle();
    if (slide.Get_bAutoExposure()) node.append_attribute("auto_exposure") = 1;
    if (const _tagPhotoPanZoomSaveParam* saved = slide.GetpPhotoPanZoomSaveParam()) {
      pugi::xml_node positions = node.append_child("panzoom_positions");
      const double values[8] = {saved->fStartPanX, saved->fStartPanY, saved->fStartZoom, saved->fStartRotate,
                                saved->fEndPanX,   saved->fEndPanY,   saved->fEndZoom,   saved->fEndRotate};
      static constexpr const char* kNames[8] = {"start_x", "start_y", "start_zoom", "start_rotate",
                                                "end_x",   "end_y",   "end_zoom",   "end_rotate"};
      for (int i = 0; i < 8; ++i) positions.append_attribute(kNames[i]) = values[i];
    }
    if (const _tagPhotoIntensityParam* p = slide.Get_pPhotoIntensityParam()) {
      pugi::xml_node intensity = node.append_child("intensity");
      intensity.append_attribute("brightness") = p->nBrightness;
      intensity.append_attribute("contrast") = p->nContrast;
      intensity.append_attribute("gamma") = p->nGamma;
      intensity.append_attribute("cyan_red") = p->nCyanRed;
      intensity.append_attribute("magenta_green") = p->nMagentaGreen;
      intensity.append_attribute("yellow_blue") = p->nYellowBlue;
    }
    if (!slide.Get_strOrgSubtilte().IsEmpty())
      node.append_child("subtitle").text().set(slide.Get_strOrgSubtilte().GetString());
    if (const _AUDIO_SOURCE* sound = slide.GetAnnotation())
      WriteSound(node.append_child("annotation"), *sound);
    WriteSprites(node, slide.m_arrSprites);
  }

  void WriteVideoAlbum(pugi::xml_node node, const CDVDAlbumMovie& album) {
    node.append_attribute("kind") = "video";
    WriteBase(node, album);
    node.append_attribute("field_order") = album.m_nFieldOrder;
    for (int i = 0; i < album.Get_nVideoItemCount(); ++i) {
      const _DV_LIST_ITEM_DATA& item = *album.Get_pVideoItemData(i);
      pugi::xml_node clip = node.append_child("clip");
      WritePath(clip, item.strPathName);
      clip.append_attribute("width") = item.nWidth;
      clip.append_attribute("height") = item.nHeight;
      clip.append_attribute("height_is_tv") = item.bHeightIsTVSystem ? 1 : 0;
      clip.append_attribute("fps") = item.dblFrameRate;
      clip.append_attribute("dv") = item.bDVVideo ? 1 : 0;
      clip.append_attribute("pal") = item.bPAL ? 1 : 0;
      clip.append_attribute("audio") = item.bHasAudio ? 1 : 0;
      if (item.pSource != nullptr) {
        clip.append_attribute("duration") = static_cast<unsigned>(item.pSource->dwDuration);
        clip.append_attribute("start") = static_cast<unsigned>(item.pSource->dwStart);
        clip.append_attribute("end") = static_cast<unsigned>(item.pSource->dwEnd);
      }
      Step();
    }
  }

  const CDVDProject& m_project;
  const std::string m_folder;
  Progress m_progress;
  int m_total = 0;
  int m_done = 0;
};

CString DescribeWriteError(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
      return "the disk is full";
    case ERROR_ACCESS_DENIED:
      return "there is no permission to write there";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
      return "the folder does not exist";
    default: {
      CString text;
      text.Format("error %lu", static_cast<unsigned long>(error));
      return text;
    }
  }
}

}  // namespace
}  // namespace pictavo::data::projectfile

BOOL CDVDProject::SaveToFile(LPCTSTR path) {
  namespace pf = pictavo::data::projectfile;
  if (path == nullptr || *path == '\0') {
    pf::SetLastFileError("No project file name was given.");
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string native =
      std::filesystem::absolute(pictavo::path::ToNative(path)).lexically_normal().string();
  const std::string folder(pictavo::path::Folder(native));
  pf::Progress progress;
  progress.Report(0.0f);
  pf::Writer writer(*this, folder);
  const std::string text = writer.Build();
  const DWORD error = pictavo::WriteFileAtomically(native, text);
  if (error != ERROR_SUCCESS) {
    CString message;
    message.Format("The project could not be saved to %s: %s. The file there was left as it was.",
                   native.c_str(), pf::DescribeWriteError(error).GetString());
    pf::SetLastFileError(message);
    SetLastError(error);
    progress.Report(1.0f);
    return FALSE;
  }
  ClearAllDirty();
  m_strProjectFile = native.c_str();
  pf::SetLastFileError(CString());
  progress.Report(1.0f);
  return TRUE;
}
