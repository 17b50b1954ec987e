#include "modules/data/ImageSprite.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "platform/gdi/Gdi.h"
#include "platform/user/Cursor.h"

IMPLEMENT_DYNAMIC(CDVDImageSprite, CObject)
IMPLEMENT_DYNAMIC(CDVDImageText, CDVDImageSprite)
IMPLEMENT_DYNAMIC(CDVDImageProps, CDVDImageSprite)

namespace {

int Scale(int units, float factor) {
  return static_cast<int>(std::lround(units * static_cast<double>(factor)));
}

void CopyText(char* to, size_t size, std::string_view text) {
  const size_t n = std::min(size - 1, text.size());
  std::memcpy(to, text.data(), n);
  to[n] = '\0';
}

}  // namespace

void CDVDImageSprite::CopyPlacement(const CDVDImageSprite& other) {
  m_ptPosition = other.m_ptPosition;
  m_szSize = other.m_szSize;
  m_srRange = other.m_srRange;
  m_fFactor = other.m_fFactor;
}

CRect CDVDImageSprite::GetBoundRect(const POINT& origin) const {
  const int left = origin.x + Scale(m_ptPosition.x, m_fFactor);
  const int top = origin.y + Scale(m_ptPosition.y, m_fFactor);
  return CRect(left, top, left + Scale(m_szSize.cx, m_fFactor), top + Scale(m_szSize.cy, m_fFactor));
}

int CDVDImageSprite::HitTest(const POINT& origin, const POINT& pt, BOOL handles) const {
  const CRect r = GetBoundRect(origin);
  if (handles) {
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    const POINT centres[8] = {{r.left, r.top},     {midX, r.top},    {r.right, r.top},   {r.right, midY},
                              {r.right, r.bottom}, {midX, r.bottom}, {r.left, r.bottom}, {r.left, midY}};
    for (int i = 0; i < 8; ++i)
      if (std::abs(pt.x - centres[i].x) <= kHandleRadius && std::abs(pt.y - centres[i].y) <= kHandleRadius)
        return i + 1;
  }
  return r.PtInRect(pt) ? -1 : 0;
}

BOOL CDVDImageSprite::HiTest(const POINT& pt) const {
  return GetBoundRect(POINT{0, 0}).PtInRect(pt);
}

HCURSOR CDVDImageSprite::GetHandleCursor(int hitCode) {
  switch (hitCode) {
    case 1:
    case 5:
      return LoadCursor(nullptr, IDC_SIZENWSE);
    case 3:
    case 7:
      return LoadCursor(nullptr, IDC_SIZENESW);
    case 2:
    case 6:
      return LoadCursor(nullptr, IDC_SIZENS);
    case 4:
    case 8:
      return LoadCursor(nullptr, IDC_SIZEWE);
    case -1:
      return LoadCursor(nullptr, IDC_SIZEALL);
    default:
      return LoadCursor(nullptr, IDC_ARROW);
  }
}

CDVDImageText::CDVDImageText(CDVDImage* image) : CDVDImageSprite(DVD_SPRITE_TEXT, image) {
  SetDefaultTextFontData(&m_font);
}

CDVDImageText::CDVDImageText(const CDVDImageText& other, CDVDImage* image)
    : CDVDImageSprite(DVD_SPRITE_TEXT, image),
      m_strText(other.m_strText),
      m_strConverterText(other.m_strConverterText),
      m_font(other.m_font) {
  CopyPlacement(other);
}

void CDVDImageText::SetDVDImageTextFont(const _DVDImageTextFont* font) {
  if (font != nullptr) m_font = *font;
}

void CDVDImageText::SetDefaultTextFontData(_DVDImageTextFont* font) {
  if (font == nullptr) return;
  std::memset(font, 0, sizeof *font);
  CopyText(font->szFaceName, sizeof font->szFaceName, "Arial");
  font->clrText = RGB(255, 255, 255);
  font->nFontSize = 36;
  font->bShadow = 1;
  font->clrShadow = RGB(0, 0, 0);
  font->nShadowXOffset = 2;
  font->nShadowYOffset = 2;
  font->nAlign = 1;
  _TextEffect& effect = font->effect;
  CopyText(effect.szFaceName, sizeof effect.szFaceName, "Arial");
  effect.nFontSize = 36;
  effect.brush.clrSolid = RGB(255, 255, 255);
  effect.brush.clrGradient1 = RGB(255, 255, 255);
  effect.brush.clrGradient2 = RGB(128, 128, 128);
  effect.brush.nGradientAngle = 90;
  font->nEffectIndex = -1;
}

void CDVDImageText::FillLogFont(const _DVDImageTextFont* font, LOGFONT* logFont, float factor) {
  if (font == nullptr || logFont == nullptr) return;
  std::memset(logFont, 0, sizeof *logFont);
  logFont->lfHeight = static_cast<LONG>(std::lround(font->nFontSize * 10.0 * factor));
  logFont->lfWidth = font->nWidth > 0 ? static_cast<LONG>(std::lround(font->nWidth * factor)) : 0;
  logFont->lfWeight = font->bBold ? FW_BOLD : FW_NORMAL;
  logFont->lfItalic = font->bItalic ? 1 : 0;
  logFont->lfUnderline = font->bUnderline ? 1 : 0;
  logFont->lfCharSet = DEFAULT_CHARSET;
  CopyText(logFont->lfFaceName, sizeof logFont->lfFaceName,
           std::string_view(font->szFaceName, strnlen(font->szFaceName, sizeof font->szFaceName)));
}

void CDVDImageText::SetTextSize() {
  const CString& shown = m_strConverterText.IsEmpty() ? m_strText : m_strConverterText;
  // Points become pixels of the 768-unit frame as a 96-dpi screen of that width shows them.
  LOGFONT lf;
  FillLogFont(&m_font, &lf, 1.0f);
  lf.lfHeight = -std::max(1, static_cast<int>(std::lround(m_font.nFontSize * 96.0 / 72.0)));
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontIndirect(&lf);
  if (dc == nullptr || font == nullptr) {
    if (font != nullptr) DeleteObject(font);
    if (dc != nullptr) DeleteDC(dc);
    return;
  }
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  int width = 0;
  int lines = 0;
  std::string_view text = shown.View();
  for (size_t start = 0;;) {
    size_t end = text.find('\n', start);
    std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    SIZE extent{};
    if (!line.empty()) GetTextExtentPoint32(dc, line.data(), static_cast<int>(line.size()), &extent);
    width = std::max(width, static_cast<int>(extent.cx));
    ++lines;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  const int shadowX = m_font.bShadow ? std::abs(m_font.nShadowXOffset) : 0;
  const int shadowY = m_font.bShadow ? std::abs(m_font.nShadowYOffset) : 0;
  m_szSize = CSize(width + shadowX, lines * static_cast<int>(tm.tmHeight) + shadowY);
}

CDVDImageProps::CDVDImageProps(const CDVDImageProps& other, CDVDImage* image)
    : CDVDImageSprite(DVD_SPRITE_PROPS, image), m_strPathName(other.m_strPathName) {
  CopyPlacement(other);
}

int CDVDImageSpriteArray::IndexOf(const CDVDImageSprite* sprite) const {
  for (INT_PTR i = 0; i < GetSize(); ++i)
    if (GetAt(i) == sprite) return static_cast<int>(i);
  return -1;
}

BOOL CDVDImageSpriteArray::IsFront(const CDVDImageSprite* sprite) const {
  const int i = IndexOf(sprite);
  return i >= 0 && i == GetSize() - 1;
}

BOOL CDVDImageSpriteArray::IsBack(const CDVDImageSprite* sprite) const {
  return IndexOf(sprite) == 0;
}

BOOL CDVDImageSpriteArray::Forward(CDVDImageSprite* sprite) {
  const int i = IndexOf(sprite);
  if (i < 0 || i == GetSize() - 1) return FALSE;
  std::swap(ElementAt(i), ElementAt(i + 1));
  return TRUE;
}

BOOL CDVDImageSpriteArray::Backward(CDVDImageSprite* sprite) {
  const int i = IndexOf(sprite);
  if (i <= 0) return FALSE;
  std::swap(ElementAt(i), ElementAt(i - 1));
  return TRUE;
}

BOOL CDVDImageSpriteArray::Front(CDVDImageSprite* sprite) {
  const int i = IndexOf(sprite);
  if (i < 0 || i == GetSize() - 1) return FALSE;
  RemoveAt(i);
  Add(sprite);
  return TRUE;
}

BOOL CDVDImageSpriteArray::Back(CDVDImageSprite* sprite) {
  const int i = IndexOf(sprite);
  if (i <= 0) return FALSE;
  RemoveAt(i);
  InsertAt(0, sprite);
  return TRUE;
}

BOOL CDVDImageSpriteArray::AddNew(CDVDImageSprite* sprite) {
  if (sprite == nullptr || IndexOf(sprite) >= 0) return FALSE;
  Add(sprite);
  return TRUE;
}

BOOL CDVDImageSpriteArray::Remove(CDVDImageSprite* sprite, BOOL deleteIt) {
  const int i = IndexOf(sprite);
  if (i < 0) return FALSE;
  RemoveAt(i);
  if (deleteIt) delete sprite;
  return TRUE;
}

void CDVDImageSpriteArray::DeleteAll() {
  for (INT_PTR i = 0; i < GetSize(); ++i) delete GetAt(i);
  RemoveAll();
}
