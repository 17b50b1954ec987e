#include "controls/SkinTabStrip.h"

#include <algorithm>

#include "shell/LanguageFile.h"

namespace {

constexpr UINT kFirstToolID = 100;
constexpr int kBackgroundCap = 6;  // columns at each end of the background that are never stretched

CSize BitmapSize(const CBitmap& bitmap) {
  BITMAP info{};
  if (bitmap.GetSafeHandle() == nullptr || bitmap.GetObject(sizeof info, &info) == 0) return CSize(0, 0);
  return CSize(info.bmWidth, info.bmHeight);
}

// Caption extents come from the DC's own font, not the fonts the captions are drawn with; the
// layout depends on exactly that.
CSize MeasureCaption(CDC& dc, const CString& caption) {
  return dc.GetTextExtent(caption);
}

BOOL CreateCaptionFont(CFont& font, int height, int weight, int escapement, BOOL underline) {
  return font.CreateFont(height, 0, escapement, 0, weight, FALSE, static_cast<BYTE>(underline), FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, nullptr);
}

// Copies the bitmap (unscaled, cut to cx x cy) through the memory DC; an unloaded picture draws
// nothing.
void DrawBitmap(CDC& dc, CDC& memory, CBitmap& bitmap, int x, int y, int cx, int cy, int xSrc = 0) {
  if (bitmap.GetSafeHandle() == nullptr || cx <= 0 || cy <= 0) return;
  CBitmap* old = memory.SelectObject(&bitmap);
  dc.BitBlt(x, y, cx, cy, &memory, xSrc, 0, SRCCOPY);
  memory.SelectObject(old);
}

void StretchBitmap(CDC& dc, CDC& memory, CBitmap& bitmap, int x, int y, int cx, int cy, int xSrc, int cxSrc,
                   int cySrc) {
  if (bitmap.GetSafeHandle() == nullptr || cx <= 0 || cy <= 0 || cxSrc <= 0 || cySrc <= 0) return;
  CBitmap* old = memory.SelectObject(&bitmap);
  dc.StretchBlt(x, y, cx, cy, &memory, xSrc, 0, cxSrc, cySrc, SRCCOPY);
  memory.SelectObject(old);
}

void ReplaceFromFile(CBitmap& bitmap, const CString& path) {
  HANDLE image = ::LoadImage(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
  if (image == nullptr) return;  // a picture the skin lacks keeps the one we have
  bitmap.DeleteObject();
  bitmap.Attach(image);
}

}  // namespace

BEGIN_MESSAGE_MAP(CSkinTabStrip, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CREATE()
END_MESSAGE_MAP()

CSkinTabStrip::CSkinTabStrip() = default;

CSkinTabStrip::~CSkinTabStrip() {
  if (m_pToolTip) m_pToolTip->DestroyWindow();
}

int CSkinTabStrip::TabCount() const {
  return static_cast<int>(m_captions.GetSize());
}

void CSkinTabStrip::InvalidateIfCreated() {
  if (::IsWindow(GetSafeHwnd())) Invalidate(TRUE);
}

BOOL CSkinTabStrip::SetSkin(const _tagTabSkin& skin) {
  ReplaceFromFile(m_bmpBackground, skin.strBackground);
  ReplaceFromFile(m_bmpLeft, skin.strLeft);
  ReplaceFromFile(m_bmpMiddle, skin.strMiddle);
  ReplaceFromFile(m_bmpRight, skin.strRight);
  ReplaceFromFile(m_bmpSeparator, skin.strSeparator);
  m_clrNormal = skin.clrNormal;
  m_clrSelect = skin.clrSelect;
  m_nTextOffset = static_cast<int>(skin.dwHeightOff);
  m_nSelectOffset = static_cast<int>(skin.dwHeightDelta);
  return TRUE;
}

void CSkinTabStrip::RemoveAllTabs() {
  if (m_pToolTip) {
    for (int i = 0; i < TabCount(); ++i) m_pToolTip->DelTool(this, kFirstToolID + i);
    m_pToolTip->DestroyWindow();
    m_pToolTip.reset();
  }
  m_captions.RemoveAll();
}

void CSkinTabStrip::AddTab(CString strCaption, DWORD dwData) {
  const int index = TabCount();
  if (index >= kMaxTabs) return;
  m_captions.SetAtGrow(index, strCaption);
  m_dwData[index] = dwData;
}

void CSkinTabStrip::AddTabFromString(UINT nStringID, DWORD dwData) {
  AddTab(LoadLangString(nStringID), dwData);
}

void CSkinTabStrip::RecalcTabs() {
  CRect client;
  GetClientRect(&client);
  const CSize left = BitmapSize(m_bmpLeft);
  const CSize right = BitmapSize(m_bmpRight);
  {
    CClientDC desktop(CWnd::GetDesktopWindow());
    int x = client.left;
    for (int i = 0; i < TabCount(); ++i) {
      const CSize extent = MeasureCaption(desktop, m_captions[i]);
      RECT& tip = m_rcTip[i];
      tip.left = x + left.cx + 10;
      tip.top = client.top + 4;
      tip.right = tip.left + extent.cx + 20;
      tip.bottom = tip.top + extent.cy + 3;
      x += left.cx + right.cx + extent.cx + 2;
    }
  }

  // A second call without RemoveAllTabs replaces the tooltips instead of stacking a second control.
  if (m_pToolTip) {
    m_pToolTip->DestroyWindow();
    m_pToolTip.reset();
  }
  auto toolTip = std::make_unique<CToolTipCtrl>();
  if (!toolTip->Create(this)) return;
  for (int i = 0; i < TabCount(); ++i)
    toolTip->AddTool(this, LoadLangString(m_dwData[i]), &m_rcTip[i], kFirstToolID + i);
  toolTip->SendMessage(TTM_ACTIVATE, TRUE);
  m_pToolTip = std::move(toolTip);
}

void CSkinTabStrip::SetCurSel(int nIndex) {
  const int count = TabCount();
  if (count == 0) return;  // nothing to wrap onto; the selection survives a rebuild of the tabs
  m_nCurSel = ((nIndex % count) + count) % count;
  InvalidateIfCreated();
}

void CSkinTabStrip::SetCurSelNoWrap(int nIndex) {
  m_nCurSel = nIndex;
  InvalidateIfCreated();
}

BOOL CSkinTabStrip::PreTranslateMessage(MSG* pMsg) {
  if (m_pToolTip && m_pToolTip->GetSafeHwnd() != nullptr)
    m_pToolTip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
  return CStatic::PreTranslateMessage(pMsg);
}

int CSkinTabStrip::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  return CStatic::OnCreate(lpCreateStruct);
}

BOOL CSkinTabStrip::OnEraseBkgnd(CDC* pDC) {
  return TRUE;  // the background picture covers the strip
}

void CSkinTabStrip::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  CDC memory;
  if (!memory.CreateCompatibleDC(&dc)) return;
  if (m_nLayout == layoutVertical)
    PaintVertical(dc, memory, client);
  else
    PaintHorizontal(dc, memory, client);
}

void CSkinTabStrip::PaintHorizontal(CDC& dc, CDC& memory, const CRect& client) {
  CFont plain;
  CFont underlined;
  CreateCaptionFont(plain, -12, FW_NORMAL, 0, FALSE);
  CreateCaptionFont(underlined, -12, FW_NORMAL, 0, TRUE);
  const int saved = dc.SaveDC();  // restored before the fonts go
  dc.SetBkMode(TRANSPARENT);
  dc.SetStretchBltMode(HALFTONE);

  const CSize back = BitmapSize(m_bmpBackground);
  DrawBitmap(dc, memory, m_bmpBackground, client.left, client.top, kBackgroundCap, back.cy);
  StretchBitmap(dc, memory, m_bmpBackground, client.left + kBackgroundCap, client.top,
                client.Width() - 2 * kBackgroundCap, back.cy, kBackgroundCap, back.cx - 2 * kBackgroundCap,
                back.cy);
  DrawBitmap(dc, memory, m_bmpBackground, client.right - kBackgroundCap, client.top, kBackgroundCap, back.cy,
             back.cx - kBackgroundCap);

  const CSize left = BitmapSize(m_bmpLeft);
  const CSize right = BitmapSize(m_bmpRight);
  const CSize separator = BitmapSize(m_bmpSeparator);
  const int count = std::min(TabCount(), kMaxTabs);
  int x = client.left + 3;
  int selX = x;
  for (int i = 0; i < count; ++i) {
    const CSize extent = MeasureCaption(memory, m_captions[i]);
    int advance;
    if (i == m_nCurSel) {
      selX = x;
      advance = extent.cx + 18;
    } else {
      advance = extent.cx + 2;
      RECT& hit = m_rcHit[i];
      hit.left = x + left.cx + 10;
      hit.top = client.top + 4;
      hit.right = hit.left + extent.cx;
      hit.bottom = hit.top + extent.cy + 3;
      const bool hovered = i == m_nHover;
      dc.SelectObject(hovered ? &underlined : &plain);
      dc.SetTextColor(hovered ? m_clrSelect : m_clrNormal);
      dc.TextOut(hit.left, hit.top + m_nTextOffset, m_captions[i]);
    }
    x += left.cx + right.cx + advance;
    if (i != count - 1 && i != m_nCurSel)
      DrawBitmap(dc, memory, m_bmpSeparator, x, client.top + m_nTextOffset, separator.cx, separator.cy);
  }

  if (m_nCurSel >= 0 && m_nCurSel < count) {
    const CSize extent = MeasureCaption(memory, m_captions[m_nCurSel]);
    const CSize middle = BitmapSize(m_bmpMiddle);
    const int width = extent.cx + 18;
    const int y = client.top + m_nSelectOffset;
    DrawBitmap(dc, memory, m_bmpLeft, selX, y, left.cx, left.cy);
    StretchBitmap(dc, memory, m_bmpMiddle, selX + left.cx, y, width, left.cy, 0, middle.cx, middle.cy);
    DrawBitmap(dc, memory, m_bmpRight, selX + left.cx + width, y, std::min(right.cx, width),
               std::min(right.cy, static_cast<int>(left.cy)));
    RECT& hit = m_rcHit[m_nCurSel];
    hit.left = selX + left.cx + 12;
    hit.top = client.top + 2;
    hit.right = hit.left + extent.cx;
    hit.bottom = hit.top + extent.cy + 4;
    dc.SelectObject(&plain);
    dc.SetTextColor(m_clrSelect);
    dc.TextOut(hit.left, hit.top + m_nTextOffset + 2, m_captions[m_nCurSel]);
  }
  dc.RestoreDC(saved);
}

void CSkinTabStrip::PaintVertical(CDC& dc, CDC& memory, const CRect& client) {
  CFont plain;
  CFont underlined;
  CreateCaptionFont(plain, -11, FW_BOLD, 900, FALSE);
  CreateCaptionFont(underlined, -11, FW_BOLD, 900, TRUE);
  const int saved = dc.SaveDC();  // restored before the fonts go
  dc.SetBkMode(TRANSPARENT);
  dc.SetStretchBltMode(HALFTONE);

  const CSize back = BitmapSize(m_bmpBackground);
  StretchBitmap(dc, memory, m_bmpBackground, client.left, client.top, back.cx, client.Height(), 0, back.cx,
                back.cy);

  const CSize left = BitmapSize(m_bmpLeft);
  const CSize right = BitmapSize(m_bmpRight);
  const CSize separator = BitmapSize(m_bmpSeparator);
  const int count = std::min(TabCount(), kMaxTabs);
  const int x0 = client.left + 3;
  int y = client.top;
  int selY = y;
  for (int i = 0; i < count; ++i) {
    const CSize extent = MeasureCaption(memory, m_captions[i]);
    int advance;
    if (i == m_nCurSel) {
      selY = y;
      advance = extent.cy + 18;
    } else {
      advance = extent.cy + 2;
      RECT& hit = m_rcHit[i];
      hit.left = x0;
      hit.top = y + 10;
      hit.right = x0 + extent.cx + 3;
      hit.bottom = hit.top + extent.cy;
      dc.SelectObject(i == m_nHover ? &underlined : &plain);
      dc.SetTextColor(RGB(255, 255, 255));
      dc.TextOut(hit.left + 3, hit.bottom, m_captions[i]);
    }
    y += left.cy + right.cy + advance;
    if (i != count - 1 && i != m_nCurSel)
      DrawBitmap(dc, memory, m_bmpSeparator, client.left + 4, y, separator.cx, separator.cy);
  }

  if (m_nCurSel >= 0 && m_nCurSel < count) {
    const CSize extent = MeasureCaption(memory, m_captions[m_nCurSel]);
    const CSize middle = BitmapSize(m_bmpMiddle);
    const int height = extent.cy + 18;
    const int x = client.left + 3;
    DrawBitmap(dc, memory, m_bmpLeft, x, selY, left.cx, left.cy);
    StretchBitmap(dc, memory, m_bmpMiddle, x, selY + left.cy, left.cx, height, 0, middle.cx, middle.cy);
    DrawBitmap(dc, memory, m_bmpRight, x, selY + left.cy + height, right.cx, right.cy);
    RECT& hit = m_rcHit[m_nCurSel];
    hit.left = client.left + 5;
    hit.top = selY + 12;
    hit.right = hit.left + extent.cx + 4;
    hit.bottom = hit.top + extent.cy;
    dc.SelectObject(&plain);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.TextOut(hit.left + 4, hit.bottom, m_captions[m_nCurSel]);
  }
  dc.RestoreDC(saved);
}

void CSkinTabStrip::OnMouseMove(UINT nFlags, CPoint point) {
  if (point.x == m_nLastMouseX && point.y == m_nLastMouseY) return;
  m_nLastMouseX = point.x;
  m_nLastMouseY = point.y;

  const int count = std::min(TabCount(), kMaxTabs);
  int hit = -1;
  for (int i = 0; i < count && hit < 0; ++i)
    if (::PtInRect(&m_rcHit[i], point)) hit = i;

  if (hit >= 0) {
    if (hit != m_nHover) {
      m_nHover = hit;
      Invalidate(TRUE);
    }
    SetCapture();  // so that leaving the strip is seen
  } else if (m_nHover != -1) {
    m_nHover = -1;
    Invalidate(TRUE);
    ::ReleaseCapture();
  }
}

void CSkinTabStrip::OnLButtonDown(UINT nFlags, CPoint point) {
  // Swallowed: the static itself never sees the press.
}

void CSkinTabStrip::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_nHover == -1 || m_nHover == m_nCurSel) return;
  m_nCurSel = m_nHover;
  Invalidate(TRUE);
  if (m_nNotifyMessage != 0) {
    if (CWnd* parent = GetParent()) parent->PostMessage(m_nNotifyMessage, static_cast<WPARAM>(m_nCurSel), 0);
  }
}
