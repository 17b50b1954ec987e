#include "shell/SkinMain.h"

#include "modules/xml/XMLParse.h"
#include "shell/SkinFile.h"

using namespace pictavo::skin;

CSkinMain g_skinMain;

namespace {

void ReadColor(const CXMLParse& parser, LPCTSTR lpszPath, LPCTSTR lpszAttribute, COLORREF& color) {
  DWORD value = color;
  if (parser.GetElementAttributeColor(lpszPath, lpszAttribute, value)) color = value;
}

}  // namespace

void CSkinMain::Load(LPCTSTR lpszProgramFolder, LPCTSTR lpszSkinFileName, BOOL bReload) {
  const CString programFolder(lpszProgramFolder);
  CXMLParse parser;
  if (!ParseSkinFile(parser, programFolder, lpszSkinFileName)) return;

  m_strSkinFolderPath = SkinsPath(programFolder, ReadSkinFolder(parser));

  ReadColor(parser, "//skins/window_color", "main_dlg", m_clrMainDlg);
  ReadColor(parser, "//skins/window_color", "organize_page", m_clrOrganizePage);
  ReadColor(parser, "//skins/window_color", "menu_page", m_clrMenuPage);
  ReadColor(parser, "//skins/window_color", "burn_page", m_clrBurnPage);
  ReadColor(parser, "//skins/window_color", "photo_configure", m_clrPhotoConfigure);
  ReadColor(parser, "//skins/window_color", "tab_page", m_clrTabPage);

  LoadButtonBar(parser, "main_button_bar", m_mainButtonBar, bReload);
  LoadTabLook(parser);
  LoadButtonBar(parser, "album_button", m_albumButtonBar, bReload);
  parser.GetElementAttribute("//skins/album_button", "button_height", m_nAlbumButtonHeight);
  LoadButtonBar(parser, "edit_button", m_editButtonBar, bReload);
  LoadButtonBar(parser, "transition_button", m_transitionButtonBar, bReload);
  LoadButtonBar(parser, "burn_button", m_burnButtonBar, bReload);
}

void CSkinMain::LoadButtonBar(const CXMLParse& parser, LPCTSTR lpszElement, CCoolButtonBar& bar,
                              BOOL bReload) {
  CString path;
  path.Format("//skins/%s", lpszElement);
  pictavo::skin::LoadButtonBar(parser, path, m_strSkinFolderPath, SKIN_MAIN_MAX_BUTTONS, bar, bReload);
}

void CSkinMain::LoadTabLook(const CXMLParse& parser) {
  CString path;
  path.Format("//skins/%s", "general_tab_control");
  ReadColor(parser, path, "color_normal", m_tabLook.clrNormal);
  ReadColor(parser, path, "color_select", m_tabLook.clrSelect);
  // The two heights are plain numbers, read through the colour reader.
  parser.GetElementAttributeColor(path, "height_off", m_tabLook.dwHeightOff);
  parser.GetElementAttributeColor(path, "height_delta", m_tabLook.dwHeightDelta);

  CString folder;
  parser.GetElementAttribute(path, "folder", folder);
  const struct {
    LPCTSTR attribute;
    CString* target;
  } pictures[] = {
      {"background", &m_tabLook.strBackground}, {"left", &m_tabLook.strLeft},
      {"middle", &m_tabLook.strMiddle},         {"right", &m_tabLook.strRight},
      {"separator", &m_tabLook.strSeparator},
  };
  for (const auto& picture : pictures) {
    CString name;
    if (parser.GetElementAttribute(path, picture.attribute, name) && !name.IsEmpty())
      *picture.target = PartPath(m_strSkinFolderPath, folder, name);
  }
}
