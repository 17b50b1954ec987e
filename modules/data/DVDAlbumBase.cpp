#include "modules/data/DVDAlbumBase.h"

#include <atomic>

#include "modules/data/DVDProject.h"

IMPLEMENT_DYNAMIC(CDVDAlbumBase, CObject)

namespace {
std::atomic<int> g_nextSerial{1};
}

CDVDAlbumBase::CDVDAlbumBase(CDVDProject* project) : m_pProject(project), m_nSerial(g_nextSerial++) {}

CDVDAlbumBase::~CDVDAlbumBase() = default;

void CDVDAlbumBase::CopyBaseFrom(const CDVDAlbumBase& other) {
  m_strAlbumName = other.m_strAlbumName;
  m_bFirstTransActive = other.m_bFirstTransActive;
  m_effect = other.m_effect;
  m_subtitleFont = other.m_subtitleFont;
}

void CDVDAlbumBase::Set_strAlbumName(LPCTSTR name) {
  if (m_strAlbumName == name) return;
  m_strAlbumName = name;
  MarkChanged();
}

void CDVDAlbumBase::SetAlbumTheme(_ALBUM_THEME* theme) {
  m_effect.SetTheme(theme);
  MarkChanged();
}

void CDVDAlbumBase::SetDVDSubtitleFont(const CDVDSubtitleFont& font) {
  if (m_subtitleFont == font) return;
  m_subtitleFont = font;
  MarkChanged();
}

CString CDVDAlbumBase::Get_strEncodeFileAllName() const {
  CString folder =
      m_pProject != nullptr ? m_pProject->Get_strTempFilePath() : ::GetProject()->Get_strTempFilePath();
  CString name;
  name.Format("%salbum_%04d", folder.GetString(), m_nSerial);
  return name;
}

int CDVDAlbumArray::IndexOf(const CDVDAlbumBase* album) const {
  for (INT_PTR i = 0; i < GetSize(); ++i)
    if (GetAt(i) == album) return static_cast<int>(i);
  return -1;
}
