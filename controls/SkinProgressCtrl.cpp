#include "controls/SkinProgressCtrl.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr COLORREF kFrameColour = RGB(127, 157, 185);
}  // namespace

BEGIN_MESSAGE_MAP(CSkinProgressCtrl, CProgressCtrl)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinProgressCtrl::CSkinProgressCtrl() = default;
CSkinProgressCtrl::~CSkinProgressCtrl() = default;

void CSkinProgressCtrl::SetRange(int nLower, int nUpper) {
  m_nLower = nLower;
  m_nUpper = nUpper;
}

int CSkinProgressCtrl::FilledWidth(int width) const {
  if (m_nUpper == m_nLower) return 0;
  const double fraction = static_cast<double>(m_nPos - m_nLower) / (m_nUpper - m_nLower);
  return static_cast<int>(fraction * width);
}

int CSkinProgressCtrl::SetPos(int nPos) {
  if (!::IsWindow(GetSafeHwnd())) return -1;
  const int previous = m_nPos;
  m_nPos = nPos;
  CRect client;
  GetClientRect(&client);
  const int filled = FilledWidth(client.Width());
  if (filled != m_nFilledWidth) {
    m_nFilledWidth = filled;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  return previous;
}

void CSkinProgressCtrl::SetText(const CString& text) {
  SetWindowText(text);
  Invalidate();
}

LRESULT CSkinProgressCtrl::OnSetText(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default();
  const auto* text = reinterpret_cast<LPCTSTR>(lParam);
  if (text == nullptr) {
    if (!m_caption.IsEmpty()) {
      m_caption.Empty();
      Invalidate();
    }
  } else if (m_caption != text) {
    m_caption = text;
    Invalidate();
  }
  return result;
}

LRESULT CSkinProgressCtrl::OnGetText(WPARAM wParam, LPARAM lParam) {
  auto* buffer = reinterpret_cast<LPTSTR>(lParam);
  const size_t length = std::min(static_cast<size_t>(wParam), static_cast<size_t>(m_caption.GetLength()));
  if (buffer != nullptr && wParam > 0) {
    std::memcpy(buffer, static_cast<LPCTSTR>(m_caption), length);
    if (length < wParam) buffer[length] = '\0';
  }
  return static_cast<LRESULT>(length);
}

void CSkinProgressCtrl::OnSize(UINT nType, int cx, int cy) {
  CProgressCtrl::OnSize(nType, cx, cy);
  m_nFilledWidth = -1;
}

BOOL CSkinProgressCtrl::OnEraseBkgnd(CDC* pDC) {
  return TRUE;  // OnPaint covers every pixel; erasing first would flicker
}

void CSkinProgressCtrl::OnPaint() {
  CPaintDC dc(this);
  if (m_nLower >= m_nUpper) return;

  CRect client;
  GetClientRect(&client);
  CDC memory;
  CBitmap bitmap;
  if (!memory.CreateCompatibleDC(&dc) || !bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height()))
    return;
  CBitmap* oldBitmap = memory.SelectObject(&bitmap);
  CFont* font = GetFont();
  CFont* oldFont = font != nullptr ? memory.SelectObject(font) : nullptr;

  memory.FillSolidRect(&client, kFrameColour);
  CRect inner = client;
  inner.DeflateRect(1, 1);
  CRect filled = inner;
  filled.right = inner.left + FilledWidth(inner.Width());
  CRect rest = inner;
  rest.left = filled.right;
  memory.FillSolidRect(&filled, m_crFilled);
  memory.FillSolidRect(&rest, m_crRest);

  if (m_bShowCaption) {
    CString text = m_caption;
    if (text.IsEmpty()) {
      const double fraction = static_cast<double>(m_nPos - m_nLower) / (m_nUpper - m_nLower);
      text.Format("%d%%", static_cast<int>(fraction * 100));
    }
    memory.SetBkMode(TRANSPARENT);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    struct Part {
      const CRect& clip;
      COLORREF colour;
    };
    for (const Part& part : {Part{filled, m_crTextOverFilled}, Part{rest, m_crTextOverRest}}) {
      const int saved = memory.SaveDC();
      memory.IntersectClipRect(&part.clip);
      memory.SetTextColor(part.colour);
      CRect box = inner;
      memory.DrawText(text, &box, format);
      memory.RestoreDC(saved);
    }
  }

  dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  if (oldFont != nullptr) memory.SelectObject(oldFont);
  memory.SelectObject(oldBitmap);
}
