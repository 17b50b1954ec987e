#include "controls/HintBitmapStatic.h"

BEGIN_MESSAGE_MAP(CHintBitmapStatic, CStatic)
ON_WM_PAINT()
END_MESSAGE_MAP()

CHintBitmapStatic::CHintBitmapStatic() = default;
CHintBitmapStatic::~CHintBitmapStatic() = default;

void CHintBitmapStatic::SetBitmap(HBITMAP hBitmap) {
  m_hBitmap = hBitmap;
  if (!::IsWindow(GetSafeHwnd())) return;
  Invalidate(TRUE);
  BITMAP info{};
  if (m_hBitmap == nullptr || ::GetObject(m_hBitmap, sizeof info, &info) == 0) return;
  CRect window;
  CRect client;
  GetWindowRect(&window);
  GetClientRect(&client);
  SetWindowPos(nullptr, 0, 0, window.Width() - client.Width() + info.bmWidth,
               window.Height() - client.Height() + info.bmHeight, SWP_NOMOVE | SWP_NOZORDER);
}

void CHintBitmapStatic::OnPaint() {
  CPaintDC dc(this);
  BITMAP info{};
  if (m_hBitmap != nullptr && ::GetObject(m_hBitmap, sizeof info, &info) != 0) {
    CDC memory;
    if (!memory.CreateCompatibleDC(&dc)) return;
    HGDIOBJ old = memory.SelectObject(static_cast<HGDIOBJ>(m_hBitmap));
    dc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    return;
  }
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
}
