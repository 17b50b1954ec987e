#include "modules/data/AlbumEffect.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>

#include <pugixml.hpp>

#include "modules/xml/ValueNotation.h"
#include "platform/kernel/Path.h"

namespace {

void CopyText(char* to, size_t size, std::string_view text) {
  const size_t n = std::min(size - 1, text.size());
  std::memcpy(to, text.data(), n);
  to[n] = '\0';
}

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

// A file a theme names: as written when absolute, else beside the theme file, else in the
// program folder; names are matched without regard to case.
std::string ResolveThemeFile(std::string_view name, std::string_view themeFolder,
                             std::string_view programFolder) {
  namespace path = pictavo::path;
  if (name.empty()) return {};
  if (path::IsAbsolute(name)) return path::ToNative(name);
  const std::string beside = path::ResolveNoCase(path::Join(themeFolder, name));
  if (Exists(beside) || programFolder.empty()) return beside;
  const std::string inProgram = path::ResolveNoCase(path::Join(programFolder, name));
  return Exists(inProgram) ? inProgram : beside;
}

void ClearText(_ALBUM_TEXT_SETTINGS& text) {
  std::memset(&text, 0, sizeof text);
}

}  // namespace

CAlbumEffect::CAlbumEffect() {
  ClearText(m_title);
  ClearText(m_themeText);
  ClearText(m_credit);
  // What the title and credit pages show for an album that never had them.
  for (_ALBUM_TEXT_SETTINGS* text : {&m_title, &m_credit, &m_themeText}) {
    text->clrFont = RGB(176, 80, 0);
    text->clrBackground = RGB(0, 0, 0);
    text->nFontSize = 48;
    text->nDuration = 10;
  }
}

void CAlbumEffect::SetTheme(_ALBUM_THEME* theme) {
  m_pTheme = theme;
  m_strThemeName = theme != nullptr ? CString(theme->szThemeName) : CString();
}

void CAlbumEffect::SetThemeName(LPCTSTR name) {
  m_strThemeName = name;
  if (m_pTheme != nullptr && m_strThemeName.CompareNoCase(m_pTheme->szThemeName) != 0) m_pTheme = nullptr;
}

BOOL CAlbumEffect::IsThemeNone(const _ALBUM_THEME* theme) {
  return theme == nullptr || CString(theme->szThemeName).CompareNoCase(kNoThemeName) == 0;
}

void CAlbumEffect::SetDefaultText(LPCTSTR albumName, LPCTSTR programName, LPCTSTR webAddress) {
  m_strDefaultAlbumName = albumName;
  m_strDefaultProgramName = programName;
  m_strDefaultWebAddress = webAddress;
}

BOOL CAlbumEffect::ParseAlbumTheme(LPCTSTR path, _ALBUM_THEME* theme, LPCTSTR programFolder) {
  namespace p = pictavo::path;
  if (path == nullptr || theme == nullptr) return FALSE;
  const std::string file = p::ResolveDataPath(path);
  CopyText(theme->szThemeFile, sizeof theme->szThemeFile, file);
  CopyText(theme->szThemeName, sizeof theme->szThemeName, p::FileTitle(file));
  pugi::xml_document doc;
  if (!doc.load_file(file.c_str())) return FALSE;
  const pugi::xml_node root = doc.child("theme");
  const char* name = root.attribute("name").value();
  if (!root || *name == '\0') return FALSE;
  const std::string folder(p::Folder(file));
  const std::string program = programFolder != nullptr ? p::ToNative(programFolder) : std::string();
  CopyText(theme->szThemeName, sizeof theme->szThemeName, name);
  CopyText(theme->szMovieFile, sizeof theme->szMovieFile,
           ResolveThemeFile(root.attribute("movie").value(), folder, program));
  CopyText(theme->szThumbnailFile, sizeof theme->szThumbnailFile,
           ResolveThemeFile(root.attribute("thumbnail").value(), folder, program));
  CopyText(theme->szOverlayFile, sizeof theme->szOverlayFile,
           ResolveThemeFile(root.attribute("overlay").value(), folder, program));
  const pugi::xml_node text = root.child("text");
  CopyText(theme->szFontFace, sizeof theme->szFontFace, text.attribute("font").as_string("DejaVu Sans"));
  theme->nFontSize = std::clamp(text.attribute("size").as_int(28), 4, 400);
  theme->clrText = pictavo::xml::ParseColor(text.attribute("color").value()).value_or(RGB(255, 255, 255));
  theme->nTextAlign = std::clamp(text.attribute("align").as_int(1), 0, 2);
  theme->rcText = RECT{text.attribute("left").as_int(40), text.attribute("top").as_int(496),
                       text.attribute("right").as_int(728), text.attribute("bottom").as_int(560)};
  return TRUE;
}
