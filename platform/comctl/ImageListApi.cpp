// The image list functions over ImageListData: creation, adding and replacing images, icons,
// copies and loading from bitmaps.
#include <algorithm>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ImageListData.h"
#include "platform/comctl/SystemImageList.h"
#include "platform/gdi/Gdi.h"

using namespace pictavo::comctl::detail;

namespace {

// The list, locked for the call; false (with the last error) for an unknown handle.
class Locked {
 public:
  explicit Locked(HIMAGELIST himl) : m_list(FindImageList(himl)) {
    if (m_list) m_guard = std::unique_lock(m_list->Lock());
  }
  explicit operator bool() const { return m_list != nullptr; }
  ImageListData* operator->() const { return m_list.get(); }
  ImageListData& operator*() const { return *m_list; }

 private:
  std::shared_ptr<ImageListData> m_list;
  std::unique_lock<std::mutex> m_guard;
};

bool CheckIndex(const ImageListData& list, int index) {
  if (index >= 0 && index < list.Count()) return true;
  SetLastError(ERROR_INVALID_INDEX);
  return false;
}

// The colour and mask pictures of an icon (a monochrome icon's mask is twice as tall, its
// image in the lower half).
bool ReadIcon(HICON icon, Picture* image, Picture* mask, bool* alpha) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  bool ok = true;
  int depth = 0;
  Picture rawMask;
  ok = info.hbmMask && ReadBitmap(info.hbmMask, &rawMask);
  if (ok && info.hbmColor) {
    ok = ReadBitmap(info.hbmColor, image, &depth);
    *mask = std::move(rawMask);
  } else if (ok) {
    // Monochrome icon: AND mask on top, XOR image below.
    const int h = rawMask.height / 2;
    *mask = Picture(rawMask.width, h);
    *image = Picture(rawMask.width, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < rawMask.width; ++x) {
        mask->At(x, y) = rawMask.At(x, y);
        image->At(x, y) = rawMask.At(x, y + h);
      }
  }
  *alpha = depth == 32;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return ok;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096 || initial < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto list = std::make_shared<ImageListData>(cx, cy, flags, initial, grow);
  if (!list->Valid()) return nullptr;
  return AddImageList(std::move(list));
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
  if (pictavo::comctl::IsSystemImageList(himl)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!RemoveImageList(himl)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl) {
  Locked list(himl);
  return list ? list->Count() : 0;
}

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT newCount) {
  Locked list(himl);
  return list && list->SetCount(static_cast<int>(newCount));
}

int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask) {
  Locked list(himl);
  if (!list) return -1;
  Picture picture;
  Picture maskPicture;
  int depth = 0;
  if (!ReadBitmap(image, &picture, &depth) || (mask && !ReadBitmap(mask, &maskPicture))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  return list->Add(picture, mask ? &maskPicture : nullptr, depth == 32);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF maskColor) {
  Locked list(himl);
  if (!list) return -1;
  Picture picture;
  if (!ReadBitmap(image, &picture)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  if (picture.Empty()) return -1;
  const uint32_t key = maskColor == CLR_DEFAULT
                           ? (picture.At(0, 0) & 0x00FFFFFF)
                           : ((maskColor & 0xFF) << 16) | (maskColor & 0xFF00) | ((maskColor >> 16) & 0xFF);
  Picture mask(picture.width, picture.height);
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    if ((picture.pixels[i] & 0x00FFFFFF) == key) {
      mask.pixels[i] = kTransparentMask;
      picture.pixels[i] = 0;
    } else {
      picture.pixels[i] &= 0x00FFFFFF;
    }
  }
  return list->Add(picture, list->Masked() ? &mask : nullptr, false);
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int index, HICON icon) {
  Locked list(himl);
  if (!list) return -1;
  if (index != -1 && !CheckIndex(*list, index)) return -1;
  Picture image;
  Picture mask;
  bool alpha = false;
  if (!ReadIcon(icon, &image, &mask, &alpha)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  // Icons carry straight alpha (when they carry any); the list keeps it premultiplied.
  alpha = alpha &&
          std::any_of(image.pixels.begin(), image.pixels.end(), [](uint32_t px) { return (px >> 24) != 0; });
  image = Scaled(alpha ? Premultiplied(std::move(image)) : image, list->Cx(), list->Cy());
  mask = Scaled(mask, list->Cx(), list->Cy());
  if (index == -1) {
    // One image even when the icon is wider than the image size.
    index = list->Add(Picture(list->Cx(), list->Cy()), nullptr, false);
    if (index < 0) return -1;
  }
  list->Store(index, image, 0, &mask, alpha);
  return index;
}

BOOL ImageList_Replace(HIMAGELIST himl, int index, HBITMAP image, HBITMAP mask) {
  Locked list(himl);
  if (!list || !CheckIndex(*list, index)) return FALSE;
  Picture picture;
  Picture maskPicture;
  int depth = 0;
  if (!ReadBitmap(image, &picture, &depth) || (mask && !ReadBitmap(mask, &maskPicture))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  list->Store(index, picture, 0, mask ? &maskPicture : nullptr, depth == 32);
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int index) {
  Locked list(himl);
  if (!list) return FALSE;
  if (!list->Remove(index)) {
    SetLastError(ERROR_INVALID_INDEX);
    return FALSE;
  }
  return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST himl, int index, IMAGEINFO* info) {
  Locked list(himl);
  if (!list || !CheckIndex(*list, index)) return FALSE;
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *info = IMAGEINFO{};
  info->hbmImage = list->ImageBitmap();
  info->hbmMask = list->Masked() ? list->MaskBitmap() : nullptr;
  info->rcImage = list->ImageRect(index);
  return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  Locked list(himl);
  if (!list) return FALSE;
  if (cx) *cx = list->Cx();
  if (cy) *cy = list->Cy();
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy) {
  if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Locked list(himl);
  if (!list) return FALSE;
  list->SetSize(cx, cy);
  return list->Valid();
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF color) {
  Locked list(himl);
  if (!list) return CLR_NONE;
  const COLORREF old = list->BkColor();
  list->SetBkColor(color);
  return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) {
  Locked list(himl);
  return list ? list->BkColor() : CLR_NONE;
}

BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int image, int overlay) {
  Locked list(himl);
  if (!list) return FALSE;
  if (overlay < 1 || overlay > 15 || !CheckIndex(*list, image)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  list->SetOverlay(overlay, image);
  return TRUE;
}

HIMAGELIST ImageList_Merge(HIMAGELIST himl1, int i1, HIMAGELIST himl2, int i2, int dx, int dy) {
  Picture a;
  Picture b;
  UINT flags = ILC_MASK | ILC_COLOR32;
  {
    Locked first(himl1);
    if (!first || !CheckIndex(*first, i1)) return nullptr;
    a = first->ImagePicture(i1);
  }
  {
    Locked second(himl2);
    if (!second || !CheckIndex(*second, i2)) return nullptr;
    b = second->ImagePicture(i2);
  }
  const int left = std::min(0, dx);
  const int top = std::min(0, dy);
  const int width = std::max(a.width, dx + b.width) - left;
  const int height = std::max(a.height, dy + b.height) - top;
  Picture merged(width, height);
  auto put = [&](const Picture& p, int ox, int oy) {
    // Source over destination, both premultiplied.
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const uint32_t px = p.At(x, y);
        const uint32_t keep = 255 - (px >> 24);
        uint32_t& out = merged.At(x + ox, y + oy);
        auto channel = [&](int shift) {
          return std::min<uint32_t>(255, ((px >> shift) & 0xFF) + ((out >> shift) & 0xFF) * keep / 255)
                 << shift;
        };
        out = channel(24) | channel(16) | channel(8) | channel(0);
      }
  };
  put(a, -left, -top);
  put(b, dx - left, dy - top);
  Picture mask(width, height);
  for (size_t i = 0; i < merged.pixels.size(); ++i)
    mask.pixels[i] = (merged.pixels[i] >> 24) ? 0 : kTransparentMask;
  auto list = std::make_shared<ImageListData>(width, height, flags, 1, 1);
  if (!list->Valid()) return nullptr;
  list->Add(merged, &mask, true);
  return AddImageList(std::move(list));
}

BOOL ImageList_Copy(HIMAGELIST himlDst, int iDst, HIMAGELIST himlSrc, int iSrc, UINT flags) {
  if (himlDst == himlSrc) {
    Locked list(himlDst);
    if (!list || !CheckIndex(*list, iDst) || !CheckIndex(*list, iSrc)) return FALSE;
    if (flags & ILCF_SWAP)
      list->SwapImages(iDst, iSrc);
    else
      list->CopyImage(iDst, *list, iSrc);
    return TRUE;
  }
  auto dst = FindImageList(himlDst);
  auto src = FindImageList(himlSrc);
  if (!dst || !src) return FALSE;
  std::scoped_lock lock(dst->Lock(), src->Lock());
  if (!CheckIndex(*dst, iDst) || !CheckIndex(*src, iSrc)) return FALSE;
  if (dst->Cx() != src->Cx() || dst->Cy() != src->Cy()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (flags & ILCF_SWAP) {
    const Picture image = dst->ImagePicture(iDst);
    const Picture mask = dst->MaskPicture(iDst);
    const bool alpha = dst->HasAlpha(iDst);
    dst->CopyImage(iDst, *src, iSrc);
    src->Store(iSrc, image, 0, &mask, alpha);
  } else {
    dst->CopyImage(iDst, *src, iSrc);
  }
  return TRUE;
}

HIMAGELIST ImageList_Duplicate(HIMAGELIST himl) {
  Locked list(himl);
  if (!list) return nullptr;
  auto copy =
      std::make_shared<ImageListData>(list->Cx(), list->Cy(), list->Flags(), list->Count(), list->Grow());
  if (!copy->Valid() || !copy->SetCount(list->Count())) return nullptr;
  for (int i = 0; i < list->Count(); ++i) copy->CopyImage(i, *list, i);
  copy->SetBkColor(list->BkColor());
  for (int overlay = 1; overlay <= 15; ++overlay) copy->SetOverlay(overlay, list->Overlay(overlay));
  return AddImageList(std::move(copy));
}

HIMAGELIST ImageList_LoadImageA(HINSTANCE instance, LPCSTR name, int cx, int grow, COLORREF maskColor,
                                UINT type, UINT flags) {
  if (type != IMAGE_BITMAP) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  auto bitmap = static_cast<HBITMAP>(LoadImage(instance, name, IMAGE_BITMAP, 0, 0, flags & ~LR_SHARED));
  if (!bitmap) return nullptr;
  BITMAP bm{};
  GetObject(bitmap, sizeof bm, &bm);
  const int height = std::abs(bm.bmHeight);
  if (cx <= 0) cx = height;
  if (cx <= 0 || bm.bmWidth < cx) {
    DeleteObject(bitmap);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const bool masked = maskColor != CLR_NONE;
  const UINT depth = bm.bmBitsPixel == 32 ? ILC_COLOR32 : ILC_COLOR24;
  HIMAGELIST himl = ImageList_Create(cx, height, depth | (masked ? ILC_MASK : 0), bm.bmWidth / cx, grow);
  if (himl) {
    const int added =
        masked ? ImageList_AddMasked(himl, bitmap, maskColor) : ImageList_Add(himl, bitmap, nullptr);
    if (added < 0) {
      ImageList_Destroy(himl);
      himl = nullptr;
    }
  }
  DeleteObject(bitmap);
  return himl;
}
