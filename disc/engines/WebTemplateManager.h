// The web-album templates installed beside the program: one folder per template below
// "web_template", each with index.htt, slide.htt, an optional frameset.htt and default.ini, an
// optional styles folder of .css files (one selectable style each) and a res folder copied into
// every web album. The manager lists the styles of all templates as one flat list, keeps the
// chosen one and the base output folder, and starts a generation with the chosen template.
//
// One instance per process, owned by the application object. The list, the selection and the
// output folder belong to the UI thread; Generate runs on the web-album worker thread.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CDVDAlbumImage;

struct WebTemplateEntry {
  CString strName;         // the template's folder name
  CStringArray arrStyles;  // style names (.css file titles), in listing order
};

// The settings of one generation.
struct WebAlbumSettings {
  CDVDAlbumImage* pAlbum = nullptr;  // not owned
  CString strTemplateFolder;         // template root + template name, no trailing separator
  CString strStyleFile;              // style name + ".css"; empty for a template without styles
  CString strOutputFolder;           // receives this album's web album
  CString strAlbumTitle = "My Web Album";
  int nFlash = 0;               // nonzero: one index page plus slides.xml for a player
  int nBlack = 1;               // kept from default.ini; generation does not use it
  HWND hProgressWnd = nullptr;  // receives the generator's notifications
  int nRows = 0;                // index grid
  int nColumns = 0;
  int nSlideWidth = 640;  // largest slide picture
  int nSlideHeight = 480;
  int nThumbnailWidth = 120;  // largest thumbnail
  int nThumbnailHeight = 90;
  HANDLE hCancelEvent = nullptr;  // manual-reset; signalled means stop (not owned)
};

class CWebTemplateManager {
 public:
  CWebTemplateManager();
  virtual ~CWebTemplateManager();
  CWebTemplateManager(const CWebTemplateManager&) = delete;
  CWebTemplateManager& operator=(const CWebTemplateManager&) = delete;

  // Rebuilds the template list from the template root; a missing root gives an empty list.
  // Returns 1.
  int ScanTemplates();

  // Flat style index: a template with n styles takes n consecutive indexes, one without styles
  // takes one.
  int GetStyleCount() const;
  // "Template(style)", or the template's name when it has no styles; empty when not found.
  CString GetStyleDisplayName(int index) const;
  // The preview picture of the style (whether it exists is not tested); empty when not found.
  CString GetPreviewImagePath(int index);
  // Stores the selection (template 0, no style when not found); 1 when found.
  int SelectStyle(int index);
  // The selected entry; null when the list is empty.
  WebTemplateEntry* GetSelectedTemplate() const;

  // Base folder of all web albums: the temporary base + "/WebSlideshow" until set.
  CString GetOutputFolder();
  void SetOutputFolder(LPCTSTR folder);

  // The settings of the selected template and style; everything else at its default, so the
  // caller fills in the album, output folder, title, window and event afterwards. Returns 1.
  int LoadTemplateSettings(WebAlbumSettings* settings);
  // Runs one generation on a copy of the settings; nonzero when the album was written.
  int Generate(const WebAlbumSettings& settings);

  // Where templates are looked for (tests and tools): an empty folder restores the program's
  // "web_template" beside the executable. Takes effect at the next scan.
  static void SetTemplateRootOverride(LPCTSTR folder);

 private:
  CString GetTemplateRoot() const;
  void ClearTemplates();
  // The template and the style index inside it for a flat index; FALSE (template 0, style -1)
  // when not found.
  BOOL LocateStyle(int index, int* templateIndex, int* styleIndex) const;
  CString GetPreviewImagePathAt(int templateIndex, int styleIndex);
  CString GetStyleDisplayNameAt(int templateIndex, int styleIndex) const;
  WebTemplateEntry* EntryAt(int templateIndex) const;

  CString m_strOutputFolder;
  int m_nSelectedTemplate = 0;
  int m_nSelectedStyle = -1;
  WebAlbumSettings m_settings;  // the record the running generation reads
  CString m_strTemplateRoot;
  CArray<WebTemplateEntry*, WebTemplateEntry*> m_arrTemplates;  // owned
};
