#include "albums/ThemePreview.h"

#include <algorithm>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"

namespace {

constexpr int kSourceWidth = 768;
constexpr int kSourceHeight = 576;
constexpr char kMakerWebAddress[] = "www.pictavo.example";

// The renderers' frames are a multiple of 4 wide.
int FrameWidth(int w) {
  return std::max(4, w & ~3);
}

}  // namespace

CThemePreviewFrames::CThemePreviewFrames() = default;
CThemePreviewFrames::~CThemePreviewFrames() {
  Stop();
}

void CThemePreviewFrames::StartTheme(const CDVDAlbumImage& album, _ALBUM_THEME* theme) {
  Stop();
  m_effect = *album.GetAlbumEffect();
  m_effect.SetTheme(theme);
  m_effect.SetDefaultText(album.Get_strAlbumName(), CDVDProject::GetMainProgramName(), kMakerWebAddress);
  m_source.Destroy();
  const CSize size(kSourceWidth, kSourceHeight);
  if (const CDVDImage* first = album.GetImage(0))
    first->LoadToCxImage(&m_source, &size, album.Get_clrBackground(), 1);
  if (!m_source.IsValid() && theme != nullptr && theme->pThumbnail != nullptr && theme->pThumbnail->IsValid())
    theme->pThumbnail->Resample(kSourceWidth, kSourceHeight, CXIMAGE_RESAMPLE_BILINEAR, &m_source);
  if (!m_source.IsValid()) {
    m_source.Create(kSourceWidth, kSourceHeight, 24);
    m_source.Clear(0);
  }
  m_kind = Kind::kTheme;
}

void CThemePreviewFrames::StartText(bool credits, const _ALBUM_TEXT_SETTINGS& text, int seconds,
                                    const CString& albumName) {
  Stop();
  m_effect = CAlbumEffect();
  _ALBUM_TEXT_SETTINGS* target = credits ? m_effect.GetCreditSettings() : m_effect.GetTitleSettings();
  *target = text;
  // The page previews what it edits, switched on or not.
  target->bEnabled = 1;
  target->nDuration = std::max(1, seconds);
  m_effect.SetDefaultText(albumName, CDVDProject::GetMainProgramName(), kMakerWebAddress);
  m_kind = credits ? Kind::kCredit : Kind::kTitle;
}

void CThemePreviewFrames::Stop() {
  if (m_kind == Kind::kTitle && m_nCount > 0) m_effect.StopTitleEffect();
  if (m_kind == Kind::kCredit && m_nCount > 0) m_effect.StopCreditEffect();
  m_kind = Kind::kNone;
  m_nWidth = m_nHeight = m_nCount = m_nNext = 0;
  m_frame.Destroy();
}

CxImage* CThemePreviewFrames::Frame(DWORD elapsedMs, int w, int h) {
  if (w <= 0 || h <= 0) return nullptr;
  switch (m_kind) {
    case Kind::kTheme:
      return ThemeFrame(FrameWidth(w), h);
    case Kind::kTitle:
    case Kind::kCredit:
      return TextFrame(elapsedMs, FrameWidth(w), h);
    case Kind::kNone:
      break;
  }
  return nullptr;
}

CxImage* CThemePreviewFrames::ThemeFrame(int w, int h) {
  if (m_frame.IsValid() && m_nWidth == w && m_nHeight == h) return &m_frame;
  m_source.Resample(w, h, CXIMAGE_RESAMPLE_BILINEAR, &m_frame);
  m_effect.Init(w, h, kFps);
  if (m_effect.HasAlbumTheme() && m_effect.StartEffect()) {
    m_effect.AddEffect(&m_frame, 0);
    m_effect.StopEffect();
  }
  m_nWidth = w;
  m_nHeight = h;
  return &m_frame;
}

CxImage* CThemePreviewFrames::TextFrame(DWORD elapsedMs, int w, int h) {
  const bool credits = m_kind == Kind::kCredit;
  if (m_nCount == 0) {
    m_effect.Init(w, h, kFps);
    if (!(credits ? m_effect.StartCreditEffect() : m_effect.StartTitleEffect())) return nullptr;
    m_nCount = credits ? m_effect.GetCreditFrameCount() : m_effect.GetTitleFrameCount();
    m_nWidth = w;
    m_nHeight = h;
  }
  // The frames due by now; late ones are made (each follows the one before) but only the last shows.
  const int due = std::min(m_nCount - 1, static_cast<int>(elapsedMs * kFps / 1000));
  const BYTE* bits = nullptr;
  while (m_nNext <= due) {
    bits = credits ? m_effect.GetOneCreditFrame() : m_effect.GetOneTitleFrame();
    ++m_nNext;
    if (bits == nullptr) break;
  }
  if (bits != nullptr) m_frame.CreateFromArray(bits, m_nWidth, m_nHeight, 24, m_nWidth * 3, false);
  return m_frame.IsValid() ? &m_frame : nullptr;
}
