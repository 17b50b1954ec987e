// Albums in the album list: the cover slide of a photo album, the first clip of a video album,
// and the clips' thumbnails.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/Thumbnail.h"
#include "modules/log/Log.h"
#include "platform/gdi/Gdi.h"
#include "platform/media/VideoReader.h"

BOOL CDVDAlbumImage::DrawThumbnail(HDC dc, const RECT& rect, POINT offset, SIZE size, int fillBox, int fit) {
  CDVDImage* cover = m_pAlbumImage != nullptr ? m_pAlbumImage : GetImage(0);
  if (cover == nullptr) return FALSE;
  // The album list asks for one picture per album: made here when the photo list never did.
  if (cover->GetThumbnail(0, 0) == nullptr) cover->UpdateThumbnail();
  return cover->DrawThumbnail(dc, rect, offset, size, fillBox, fit);
}

BOOL CDVDAlbumMovie::DrawThumbnail(HDC dc, const RECT& rect, POINT offset, SIZE size, int fillBox, int fit) {
  const _DV_LIST_ITEM_DATA* item = Get_pVideoItemData(0);
  if (dc == nullptr || item == nullptr || item->pThumbBits == nullptr || size.cx <= 0 || size.cy <= 0)
    return FALSE;
  const RECT box{rect.left + offset.x, rect.top + offset.y, rect.left + offset.x + size.cx,
                 rect.top + offset.y + size.cy};
  if (fillBox) pictavo::gdi::FillSolidRect(dc, box, RGB(0, 0, 0));
  RECT place{};
  if (!CDVDImage::CalcZoomRect(box, SIZE{item->nThumbWidth, item->nThumbHeight}, &place, fit ? 1 : 2))
    return FALSE;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
  SetStretchBltMode(dc, HALFTONE);
  StretchDIBits(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, 0, 0,
                item->nThumbWidth, item->nThumbHeight, item->pThumbBits, &item->bmiThumb, DIB_RGB_COLORS,
                SRCCOPY);
  RestoreDC(dc, saved);
  return TRUE;
}

BOOL CDVDAlbumMovie::MakeVideoItemThumbnail(_DV_LIST_ITEM_DATA* item) {
  if (item == nullptr) return FALSE;
  const CString& path = item->pSource != nullptr && !item->pSource->strPathName.IsEmpty()
                            ? item->pSource->strPathName
                            : item->strPathName;
  pictavo::media::MediaError error;
  auto reader = pictavo::media::VideoReader::Open(path.View(), &error);
  if (!reader) {
    WriteErrorLog("Clip thumbnail of %s: %s", static_cast<LPCTSTR>(path), error.message.c_str());
    return FALSE;
  }
  const pictavo::media::MediaInfo& info = reader->Info();
  if (info.width <= 0 || info.height <= 0) return FALSE;
  const double scale = std::min({1.0, static_cast<double>(pictavo::data::kThumbnailWidth) / info.width,
                                 static_cast<double>(pictavo::data::kThumbnailHeight) / info.height});
  const int w = std::max(1, static_cast<int>(std::lround(info.width * scale)));
  const int h = std::max(1, static_cast<int>(std::lround(info.height * scale)));
  const DWORD start = item->pSource != nullptr ? item->pSource->dwStart : 0;
  const DWORD length = item->GetPlayLength();
  const DWORD at = start + (length > 0 && length < 2000 ? length / 2 : 1000);
  pictavo::media::VideoFrame frame;
  if (reader->FrameAt(pictavo::media::FromMilliseconds(at), frame, w, h) !=
      pictavo::media::VideoResult::kFrame) {
    WriteErrorLog("Clip thumbnail of %s: %s", static_cast<LPCTSTR>(path), reader->Error().message.c_str());
    return FALSE;
  }
  // 32-bit top-down frames become 24-bit bottom-up DIB rows.
  const size_t stride = static_cast<size_t>((w * 3 + 3) & ~3);
  auto* bits = new BYTE[stride * static_cast<size_t>(h)]();
  for (int y = 0; y < h; ++y) {
    BYTE* row = bits + stride * static_cast<size_t>(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const uint32_t p = frame.Pixel(x, y);
      row[x * 3] = static_cast<BYTE>(p);
      row[x * 3 + 1] = static_cast<BYTE>(p >> 8);
      row[x * 3 + 2] = static_cast<BYTE>(p >> 16);
    }
  }
  delete[] item->pThumbBits;
  item->pThumbBits = bits;
  item->nThumbWidth = w;
  item->nThumbHeight = h;
  std::memset(&item->bmiThumb, 0, sizeof item->bmiThumb);
  BITMAPINFOHEADER& header = item->bmiThumb.bmiHeader;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = w;
  header.biHeight = h;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(stride * static_cast<size_t>(h));
  return TRUE;
}
