#include "shell/SmallUtilities.h"

#include <memory>
#include <string>
#include <type_traits>

#include "platform/comctl/AfxImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Module.h"
#include "platform/mfc/Dc.h"
#include "platform/user/Paint.h"

namespace {

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

}  // namespace

void FormatMilliseconds(DWORD dwMilliseconds, CString& strTime) {
  const DWORD seconds = dwMilliseconds / 1000;
  if (seconds < 3600)
    strTime.Format("%02d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
  else
    strTime.Format("%02d:%02d:%02d", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                   static_cast<int>(seconds % 60));
}

BOOL LoadBitmapFromExeFolder(LPCTSTR lpszRelativePath, CBitmap& bitmap) {
  if (lpszRelativePath == nullptr) return FALSE;
  char exePath[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, exePath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return FALSE;
  std::string path(exePath, length);
  path.erase(path.find_last_of("/\\") + 1);  // keeps the folder's trailing separator
  path += lpszRelativePath;
  auto hBitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (hBitmap == nullptr) return FALSE;
  bitmap.DeleteObject();
  bitmap.Attach(hBitmap);
  return TRUE;
}

HBITMAP CutBitmapFrame(CBitmap* pStrip, int nFrameWidth, int nIndex) {
  if (pStrip == nullptr || pStrip->GetSafeHandle() == nullptr || nFrameWidth <= 0) return nullptr;
  BITMAP strip{};
  if (pStrip->GetBitmap(&strip) == 0) return nullptr;
  const int frames = strip.bmWidth / nFrameWidth;
  if (frames == 0 || nIndex < 0 || nIndex >= frames) return nullptr;

  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return nullptr;
  HBITMAP frame = CreateCompatibleBitmap(screen, nFrameWidth, strip.bmHeight);
  MemoryDc source(CreateCompatibleDC(screen));
  MemoryDc target(CreateCompatibleDC(screen));
  ReleaseDC(nullptr, screen);
  if (frame == nullptr || !source || !target) {
    if (frame != nullptr) DeleteObject(frame);
    return nullptr;
  }
  HGDIOBJ oldSource = SelectObject(source.get(), pStrip->GetSafeHandle());
  HGDIOBJ oldTarget = SelectObject(target.get(), frame);
  const BOOL copied =
      BitBlt(target.get(), 0, 0, nFrameWidth, strip.bmHeight, source.get(), nFrameWidth * nIndex, 0, SRCCOPY);
  SelectObject(source.get(), oldSource);
  SelectObject(target.get(), oldTarget);
  if (!copied) {
    DeleteObject(frame);
    return nullptr;
  }
  return frame;
}

BOOL ImageListImageToBitmap(CDC* pDC, CImageList* pImageList, int nImage, CBitmap& bitmap) {
  if (pDC == nullptr || pImageList == nullptr || pImageList->GetSafeHandle() == nullptr) return FALSE;
  // Swapping the image into place 0 of a duplicate leaves the caller's list as it was.
  CImageList copy;
  if (!copy.Attach(ImageList_Duplicate(pImageList->GetSafeHandle()))) return FALSE;
  if (nImage != 0 && !copy.Copy(0, nImage, ILCF_SWAP)) return FALSE;
  IMAGEINFO info{};
  if (!copy.GetImageInfo(0, &info)) return FALSE;
  const int width = info.rcImage.right - info.rcImage.left;
  const int height = info.rcImage.bottom - info.rcImage.top;

  HBITMAP hBitmap = CreateCompatibleBitmap(pDC->GetSafeHdc(), width, height);
  if (hBitmap == nullptr) return FALSE;
  bitmap.DeleteObject();
  bitmap.Attach(hBitmap);

  CDC memory;
  if (!memory.CreateCompatibleDC(pDC)) return FALSE;
  CBitmap* old = memory.SelectObject(&bitmap);
  const BOOL drawn = copy.DrawIndirect(&memory, 0, CPoint(0, 0), CSize(width, height), CPoint(0, 0),
                                       ILD_NORMAL, SRCCOPY, CLR_DEFAULT, CLR_DEFAULT);
  if (old != nullptr) memory.SelectObject(old);
  return drawn;
}
