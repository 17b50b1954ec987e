#include "disc/engines/WebTemplateManager.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "disc/engines/WebAlbumGenerator.h"
#include "modules/data/DVDProject.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Ini.h"
#include "platform/kernel/Path.h"

namespace {

CString g_templateRootOverride;  // UI thread

CString WithSeparator(const CString& folder) {
  if (folder.IsEmpty() || pictavo::path::EndsWithSeparator(folder.View())) return folder;
  return folder + "/";
}

bool IsFile(const CString& path) {
  const DWORD attributes = GetFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Every entry of a listing pattern, "." and ".." left out.
template <typename Visit>
void ListFolder(const CString& pattern, Visit visit) {
  WIN32_FIND_DATA data{};
  HANDLE find = FindFirstFile(pattern, &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0) visit(data);
  } while (FindNextFile(find, &data));
  FindClose(find);
}

// A "%dx%d" value of the template's settings; fields stay as they were when it does not scan.
void ReadSizePair(const CString& ini, LPCSTR key, int* first, int* second) {
  char buffer[260] = {};
  GetPrivateProfileString("default", key, "", buffer, sizeof(buffer), ini);
  int a = 0;
  int b = 0;
  if (std::sscanf(buffer, "%dx%d", &a, &b) == 2) {
    *first = a;
    *second = b;
  }
}

}  // namespace

void CWebTemplateManager::SetTemplateRootOverride(LPCTSTR folder) {
  g_templateRootOverride = folder != nullptr ? folder : "";
}

CWebTemplateManager::CWebTemplateManager() : m_strTemplateRoot(GetTemplateRoot()) {}

CWebTemplateManager::~CWebTemplateManager() {
  ClearTemplates();
}

CString CWebTemplateManager::GetTemplateRoot() const {
  if (!g_templateRootOverride.IsEmpty()) return WithSeparator(g_templateRootOverride);
  return WithSeparator(CDVDProject::GetExeFilePath()) + "web_template/";
}

void CWebTemplateManager::ClearTemplates() {
  for (INT_PTR i = 0; i < m_arrTemplates.GetSize(); ++i) delete m_arrTemplates[i];
  m_arrTemplates.RemoveAll();
}

int CWebTemplateManager::ScanTemplates() {
  ClearTemplates();
  m_strTemplateRoot = GetTemplateRoot();
  ListFolder(m_strTemplateRoot + "*", [this](const WIN32_FIND_DATA& folder) {
    if ((folder.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return;
    if ((folder.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0) return;
    auto* entry = new WebTemplateEntry;
    entry->strName = folder.cFileName;
    ListFolder(m_strTemplateRoot + folder.cFileName + "/styles/*.css", [entry](const WIN32_FIND_DATA& style) {
      if ((style.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
      entry->arrStyles.Add(CString(pictavo::path::FileTitle(style.cFileName)));
    });
    m_arrTemplates.Add(entry);
  });
  return 1;
}

WebTemplateEntry* CWebTemplateManager::EntryAt(int templateIndex) const {
  if (templateIndex < 0 || templateIndex >= m_arrTemplates.GetSize()) return nullptr;
  return m_arrTemplates[templateIndex];
}

int CWebTemplateManager::GetStyleCount() const {
  int count = 0;
  for (INT_PTR i = 0; i < m_arrTemplates.GetSize(); ++i)
    count += std::max<int>(1, static_cast<int>(m_arrTemplates[i]->arrStyles.GetSize()));
  return count;
}

BOOL CWebTemplateManager::LocateStyle(int index, int* templateIndex, int* styleIndex) const {
  *templateIndex = 0;
  *styleIndex = -1;
  if (index < 0) return FALSE;
  int first = 0;
  for (INT_PTR i = 0; i < m_arrTemplates.GetSize(); ++i) {
    const int width = std::max<int>(1, static_cast<int>(m_arrTemplates[i]->arrStyles.GetSize()));
    if (index < first + width) {
      *templateIndex = static_cast<int>(i);
      *styleIndex = index - first;
      return TRUE;
    }
    first += width;
  }
  return FALSE;
}

CString CWebTemplateManager::GetStyleDisplayNameAt(int templateIndex, int styleIndex) const {
  const WebTemplateEntry* entry = EntryAt(templateIndex);
  if (entry == nullptr) return CString();
  const int count = static_cast<int>(entry->arrStyles.GetSize());
  if (count == 0) return entry->strName;
  const int style = std::clamp(styleIndex, 0, count - 1);
  return entry->strName + "(" + entry->arrStyles[style] + ")";
}

CString CWebTemplateManager::GetStyleDisplayName(int index) const {
  int t = 0;
  int s = -1;
  LocateStyle(index, &t, &s);
  return GetStyleDisplayNameAt(t, s);
}

CString CWebTemplateManager::GetPreviewImagePathAt(int templateIndex, int styleIndex) {
  if (m_strTemplateRoot.IsEmpty()) m_strTemplateRoot = GetTemplateRoot();
  const WebTemplateEntry* entry = EntryAt(templateIndex);
  if (entry == nullptr) return CString();
  const int count = static_cast<int>(entry->arrStyles.GetSize());
  if (count == 0) return m_strTemplateRoot + entry->strName + "/preview.jpg";
  const int style = std::clamp(styleIndex, 0, count - 1);
  return m_strTemplateRoot + entry->strName + "/preview-" + entry->arrStyles[style] + ".jpg";
}

CString CWebTemplateManager::GetPreviewImagePath(int index) {
  int t = 0;
  int s = -1;
  LocateStyle(index, &t, &s);
  return GetPreviewImagePathAt(t, s);
}

int CWebTemplateManager::SelectStyle(int index) {
  int t = 0;
  int s = -1;
  const BOOL found = LocateStyle(index, &t, &s);
  m_nSelectedTemplate = t;
  m_nSelectedStyle = s;
  return found ? 1 : 0;
}

WebTemplateEntry* CWebTemplateManager::GetSelectedTemplate() const {
  return EntryAt(m_nSelectedTemplate);
}

CString CWebTemplateManager::GetOutputFolder() {
  if (m_strOutputFolder.IsEmpty()) {
    CString base = CDVDProject::g_m_strAppTempPathBase;
    if (base.IsEmpty()) base = CDVDProject::GetZvCacheFolderBase();
    m_strOutputFolder = CString(pictavo::path::WithoutTrailingSeparator(base.View())) + "/WebSlideshow";
  }
  return m_strOutputFolder;
}

void CWebTemplateManager::SetOutputFolder(LPCTSTR folder) {
  m_strOutputFolder = folder != nullptr ? folder : "";
}

int CWebTemplateManager::LoadTemplateSettings(WebAlbumSettings* out) {
  WebAlbumSettings settings;
  if (m_strTemplateRoot.IsEmpty()) m_strTemplateRoot = GetTemplateRoot();
  const WebTemplateEntry* entry = GetSelectedTemplate();
  if (entry != nullptr) {
    if (entry->arrStyles.GetSize() > 0) {
      const int style =
          m_nSelectedStyle >= 0 && m_nSelectedStyle < entry->arrStyles.GetSize() ? m_nSelectedStyle : 0;
      settings.strStyleFile = entry->arrStyles[style] + ".css";
    }
    settings.strTemplateFolder = m_strTemplateRoot + entry->strName;
    const CString ini = settings.strTemplateFolder + "/default.ini";
    if (IsFile(ini)) {
      settings.nFlash = static_cast<int>(GetPrivateProfileInt("default", "Flash", 0, ini));
      settings.nBlack = static_cast<int>(GetPrivateProfileInt("default", "Black", 0, ini));
      ReadSizePair(ini, "Size", &settings.nRows, &settings.nColumns);
      ReadSizePair(ini, "Thumb", &settings.nThumbnailWidth, &settings.nThumbnailHeight);
      ReadSizePair(ini, "Slide", &settings.nSlideWidth, &settings.nSlideHeight);
    }
  }
  if (out != nullptr) *out = settings;
  return 1;
}

int CWebTemplateManager::Generate(const WebAlbumSettings& settings) {
  m_settings = settings;
  return GenerateWebAlbum(&m_settings) == 0 ? 1 : 0;
}
