// A slide in lists: its cached thumbnail, drawing it into a box, its file name under a tile.
#include <algorithm>
#include <string_view>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/Thumbnail.h"
#include "modules/image/CxImage.h"
#include "modules/log/Log.h"
#include "platform/gdi/Gdi.h"

void CDVDImage::SetThumbnail(std::unique_ptr<CxImage> thumbnail, DWORD look) {
  if (!thumbnail || !thumbnail->IsValid()) return;
  m_pThumbnail = std::move(thumbnail);
  m_dwThumbnailLook = look;
}

void CDVDImage::SetFileFacts(int width, int height, LPCTSTR dateTime) {
  if (width > 0 && height > 0) {
    m_nWidth = width;
    m_nHeight = height;
  }
  if (dateTime != nullptr && *dateTime != '\0') {
    m_strPhotoDateTime = dateTime;
    m_bDateRead = TRUE;
  }
}

BOOL CDVDImage::UpdateThumbnail() {
  if (IsThumbnailCurrent()) return TRUE;
  const pictavo::data::ThumbnailRecipe recipe = pictavo::data::RecipeOf(*this);
  pictavo::data::ThumbnailResult made = pictavo::data::MakeThumbnail(recipe);
  if (!made.picture) {
    WriteErrorLog("Thumbnail of %s: %s", recipe.path.c_str(), made.error.c_str());
    return FALSE;
  }
  SetThumbnail(std::move(made.picture), recipe.look);
  SetFileFacts(made.width, made.height, made.dateTime);
  return TRUE;
}

BOOL CDVDImage::DrawThumbnail(HDC dc, const RECT& rect, POINT offset, SIZE size, int fillBox, int fit) const {
  if (dc == nullptr || size.cx <= 0 || size.cy <= 0) return FALSE;
  RECT box{rect.left + offset.x, rect.top + offset.y, rect.left + offset.x + size.cx,
           rect.top + offset.y + size.cy};
  if (m_nImageType == DVD_IMAGE_BLANK_COLOR) {
    pictavo::gdi::FillSolidRect(dc, box, m_clrBackground);
    return TRUE;
  }
  if (!m_pThumbnail || !m_pThumbnail->IsValid()) return FALSE;
  if (fillBox) pictavo::gdi::FillSolidRect(dc, box, Get_clrAlbumBG());
  const SIZE picture{static_cast<LONG>(m_pThumbnail->GetWidth()),
                     static_cast<LONG>(m_pThumbnail->GetHeight())};
  RECT place{};
  if (!CalcZoomRect(box, picture, &place, fit ? 1 : 2)) return FALSE;
  return m_pThumbnail->Draw(dc, place, &box, true) != 0;
}

BOOL CDVDImage::DrawFileDesc(HDC dc, POINT origin) const {
  if (dc == nullptr) return FALSE;
  std::string_view path = m_strPathName.View();
  const size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  RECT line{origin.x, origin.y + 78, origin.x + 78, origin.y + 94};
  DrawText(dc, name.data(), static_cast<int>(name.size()), &line,
           DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  return TRUE;
}

BOOL CDVDImage::DrawImageFrame(CxImage* picture) const {
  if (picture == nullptr || !picture->IsValid()) return FALSE;
  const long w = static_cast<long>(picture->GetWidth());
  const long h = static_cast<long>(picture->GetHeight());
  const RGBQUAD grey{128, 128, 128, 0};
  for (long x = 0; x < w; ++x) {
    picture->SetPixelColor(x, 0, grey);
    picture->SetPixelColor(x, h - 1, grey);
  }
  for (long y = 0; y < h; ++y) {
    picture->SetPixelColor(0, y, grey);
    picture->SetPixelColor(w - 1, y, grey);
  }
  return TRUE;
}
