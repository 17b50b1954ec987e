#include "controls/SeekBar.h"

#include <algorithm>

#include "controls/MemoryDC.h"
#include "platform/kernel/Wait.h"
#include "shell/LanguageFile.h"

namespace {

CSize BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || ::GetObject(bitmap, sizeof info, &info) == 0) return CSize(0, 0);
  return CSize(info.bmWidth, info.bmHeight);
}

// The bitmap stretched to `cx` at its own height, centred vertically in `height`.
void StretchCentred(CDC& dc, CDC& memory, HBITMAP bitmap, int x, int cx, int height) {
  const CSize size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0 || cx <= 0) return;
  HGDIOBJ old = ::SelectObject(memory.GetSafeHdc(), bitmap);
  dc.StretchBlt(x, (height - size.cy) / 2, cx, size.cy, &memory, 0, 0, size.cx, size.cy, SRCCOPY);
  ::SelectObject(memory.GetSafeHdc(), old);
}

}  // namespace

BEGIN_MESSAGE_MAP(CSeekBar, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CSeekBar::CSeekBar() : m_clrFace(0xD8E9EC) {}

void CSeekBar::SetPos(unsigned int percent) {
  m_nPos = percent;
  if (::IsWindow(GetSafeHwnd())) Invalidate(TRUE);
}

CSeekBar::Geometry CSeekBar::Measure(unsigned int width, unsigned int thumbWidth, unsigned int pos,
                                     unsigned int start, unsigned int end, unsigned int total) {
  Geometry g{};
  if (total == 0) total = 1;  // an owner that has not measured its clip yet paints an empty range
  g.rangeLeft = static_cast<int>(width * start / total);
  g.rangeWidth = end > start ? static_cast<int>((end - start) * width / total) : 0;
  const unsigned int room = width > thumbWidth ? width - thumbWidth : 0;
  g.thumbLeft = static_cast<int>(std::min(pos * width / 100, room));
  return g;
}

BOOL CSeekBar::OnEraseBkgnd(CDC*) {
  return TRUE;  // the paint covers every pixel
}

void CSeekBar::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CMemoryDC dc(&paint, &client);
  dc.FillSolidRect(&client, m_clrFace);
  CSeekBarBitmaps bitmaps;
  if (CWnd* parent = GetParent())
    parent->SendMessage(WM_SEEKBAR_GET_BITMAPS, 0, reinterpret_cast<LPARAM>(&bitmaps));
  if (bitmaps.hTrack == nullptr || bitmaps.hRange == nullptr || bitmaps.hThumb == nullptr) return;
  const unsigned int w = static_cast<unsigned int>(client.Width());
  const CSize thumb = BitmapSize(bitmaps.hThumb);
  const Geometry g =
      Measure(w, static_cast<unsigned int>(thumb.cx), m_nPos, m_nRangeStart, m_nRangeEnd, m_nRangeTotal);
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  StretchCentred(dc, memory, bitmaps.hTrack, 0, client.Width(), client.Height());
  StretchCentred(dc, memory, bitmaps.hRange, g.rangeLeft, g.rangeWidth, client.Height());
  StretchCentred(dc, memory, bitmaps.hThumb, g.thumbLeft, thumb.cx, client.Height());
}

void CSeekBar::OnLButtonDown(UINT, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (client.Width() <= 0) return;
  const unsigned int x = static_cast<unsigned int>(std::clamp<LONG>(point.x, 0, client.Width()));
  const unsigned int pos = x * 100 / static_cast<unsigned int>(client.Width());
  SetPos(pos);
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_SEEKBAR_CLICK, pos, 0);
}

BEGIN_MESSAGE_MAP(CPreviewStatusStatic, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CPreviewStatusStatic::CPreviewStatusStatic(HANDLE* renderDone, HANDLE* menuDone, BOOL menuMode)
    : m_phRenderDone(renderDone), m_phMenuDone(menuDone), m_bMenuMode(menuMode) {}

void CPreviewStatusStatic::OnPaint() {
  CPaintDC dc(this);
  auto isSet = [](HANDLE* event) {
    return event != nullptr && *event != nullptr && ::WaitForSingleObject(*event, 0) == WAIT_OBJECT_0;
  };
  // While a frame plays, what the preview drew stays.
  if (!isSet(m_phRenderDone) || !isSet(m_phMenuDone)) return;
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, RGB(0, 0, 0));
  if (m_bMenuMode) return;
  // Shown as it stands: a translation holding a '%' must not be read as a format.
  const CString text = LoadLangString(57532);
  const CSize extent = dc.GetTextExtent(text);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  dc.TextOut((client.Width() - extent.cx) / 2, (client.Height() - extent.cy) / 2, text);
}

BEGIN_MESSAGE_MAP(CPlaceholderStatic, CStatic)
ON_WM_PAINT()
END_MESSAGE_MAP()

void CPlaceholderStatic::OnPaint() {
  CPaintDC dc(this);
}
