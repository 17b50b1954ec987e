// Fonts as objects, text metrics and single-line text output.
#include <algorithm>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/TextCharset.h"
#include "platform/gdi/TextRender.h"

namespace pictavo::gdi {
namespace {

// Quarter turns of an escapement in tenths of a degree, counter-clockwise.
int QuarterTurns(LONG escapement) {
  int e = static_cast<int>(((escapement % 3600) + 3600) % 3600);
  return ((e + 450) / 900) % 4;
}

// Text space (u along the baseline, v downwards) to device offsets and back.
POINT Forward(int turns, int u, int v) {
  switch (turns) {
    case 1:
      return POINT{v, -u};
    case 2:
      return POINT{-u, -v};
    case 3:
      return POINT{-v, u};
  }
  return POINT{u, v};
}
POINT Backward(int turns, int dx, int dy) {
  switch (turns) {
    case 1:
      return POINT{-dy, dx};
    case 2:
      return POINT{-dx, -dy};
    case 3:
      return POINT{dy, -dx};
  }
  return POINT{dx, dy};
}

// Device rectangle covered by the text-space rectangle [u0, u1) x [v0, v1).
RECT DeviceBox(int turns, int x, int y, int u0, int v0, int u1, int v1) {
  POINT a = Forward(turns, u0, v0), b = Forward(turns, u1 - 1, v1 - 1);
  return RECT{x + std::min(a.x, b.x), y + std::min(a.y, b.y), x + std::max(a.x, b.x) + 1,
              y + std::max(a.y, b.y) + 1};
}

inline uint32_t Blend(uint32_t d, uint32_t c, uint32_t a) {
  uint32_t out = d & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    int dc = static_cast<int>((d >> shift) & 0xFF), cc = static_cast<int>((c >> shift) & 0xFF);
    int v = dc + ((cc - dc) * static_cast<int>(a) + (cc >= dc ? 127 : -127)) / 255;
    out |= static_cast<uint32_t>(v) << shift;
  }
  return out;
}

}  // namespace

std::shared_ptr<RealizedFont> FontOf(DeviceContext& dc) {
  if (dc.state.font) return RealizeFont(dc.state.font->logFont);
  LOGFONTA lf{};
  lf.lfHeight = 16;
  return RealizeFont(lf);
}

TextRun LayoutRun(RealizedFont& font, std::u32string chars, int charExtra, const std::vector<int>* dx) {
  TextRun run;
  run.chars = std::move(chars);
  run.advances.reserve(run.chars.size());
  for (size_t i = 0; i < run.chars.size(); ++i) {
    int advance = dx && i < dx->size() ? (*dx)[i] : font.Advance(run.chars[i]) + charExtra;
    run.advances.push_back(advance);
    run.width += advance;
  }
  return run;
}

void DrawRun(DeviceContext& dc, DrawScope& scope, RealizedFont& font, const TextRun& run, int x, int y,
             const RunOptions& options) {
  if (!scope) return;
  const TEXTMETRICA& tm = font.Metrics();
  int turns = QuarterTurns(font.LogFont().lfEscapement);
  // Reference point in text space: u from the run's start, v from the cell's top.
  int u0 = 0;
  if ((options.align & TA_CENTER) == TA_CENTER)
    u0 = -run.width / 2;
  else if (options.align & TA_RIGHT)
    u0 = -run.width;
  int cellTop = 0;
  if ((options.align & TA_BASELINE) == TA_BASELINE)
    cellTop = -tm.tmAscent;
  else if (options.align & TA_BOTTOM)
    cellTop = -tm.tmHeight;
  int baseline = cellTop + tm.tmAscent;

  RegionData clip = options.clip ? scope.Clip().Intersected(*options.clip) : scope.Clip();
  bool mono = dc.IsMonochrome();
  uint32_t color = PixelFromColor(dc.state.textColor);
  if (mono) color = ToMono(color);

  if (options.fillCells && run.width > 0) {
    uint32_t bk = PixelFromColor(dc.state.bkColor);
    RECT cells = DeviceBox(turns, x, y, u0, cellTop, u0 + run.width, cellTop + tm.tmHeight);
    RegionData area = clip.Intersected(cells);
    Surface& s = scope.Target();
    for (const Band& band : area.Bands())
      for (const Span& span : band.spans)
        for (int yy = band.top; yy < band.bottom; ++yy)
          std::fill(s.Row(yy).data() + span.left, s.Row(yy).data() + span.right, mono ? ToMono(bk) : bk);
    scope.Touch(cells);
  }

  // Coverage mask in text space, covering every glyph's bitmap and the cells.
  std::vector<const Glyph*> glyphs;  // kept by the font, which outlives this call
  glyphs.reserve(run.chars.size());
  int minU = u0, maxU = u0 + run.width, minV = cellTop, maxV = cellTop + tm.tmHeight;
  int pen = u0;
  for (size_t i = 0; i < run.chars.size(); ++i) {
    glyphs.push_back(&font.GlyphOf(run.chars[i]));
    const Glyph& g = *glyphs.back();
    if (g.width > 0 && g.height > 0) {
      minU = std::min(minU, pen + g.left);
      maxU = std::max(maxU, pen + g.left + g.width);
      minV = std::min(minV, baseline - g.top);
      maxV = std::max(maxV, baseline - g.top + g.height);
    }
    pen += run.advances[i];
  }
  int mw = maxU - minU, mh = maxV - minV;
  if (mw <= 0 || mh <= 0) return;
  std::vector<uint8_t> mask(static_cast<size_t>(mw) * static_cast<size_t>(mh), 0);
  auto maskAt = [&](int u, int v) -> uint8_t& {
    return mask[static_cast<size_t>(v - minV) * mw + (u - minU)];
  };
  pen = u0;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const Glyph& g = *glyphs[i];
    for (int gy = 0; gy < g.height; ++gy)
      for (int gx = 0; gx < g.width; ++gx) {
        uint8_t c = g.coverage[static_cast<size_t>(gy) * g.width + gx];
        if (!c) continue;
        uint8_t& m = maskAt(pen + g.left + gx, baseline - g.top + gy);
        m = std::max(m, c);
      }
    pen += run.advances[i];
  }
  auto line = [&](int from, int to, int top, int thickness) {
    for (int v = top; v < top + thickness; ++v)
      if (v >= minV && v < maxV)
        for (int u = std::max(from, minU); u < std::min(to, maxU); ++u) maskAt(u, v) = 255;
  };
  const LOGFONTA& lf = font.LogFont();
  if (lf.lfUnderline)
    line(u0, u0 + run.width, baseline + font.UnderlinePosition(), font.UnderlineThickness());
  if (lf.lfStrikeOut)
    line(u0, u0 + run.width, baseline - font.StrikeoutPosition(), font.UnderlineThickness());
  if (options.underlineFrom >= 0 && options.underlineTo > options.underlineFrom) {
    int from = u0, to = u0;
    for (int i = 0; i < static_cast<int>(run.advances.size()) && i < options.underlineTo; ++i) {
      if (i < options.underlineFrom) from += run.advances[static_cast<size_t>(i)];
      to += run.advances[static_cast<size_t>(i)];
    }
    line(from, to, baseline + font.UnderlinePosition(), font.UnderlineThickness());
  }

  RECT box = DeviceBox(turns, x, y, minU, minV, maxU, maxV);
  Surface& s = scope.Target();
  ForEachClipped(clip, box, [&](int left, int top, int right, int bottom) {
    for (int yy = top; yy < bottom; ++yy) {
      uint32_t* row = s.Row(yy).data();
      for (int xx = left; xx < right; ++xx) {
        POINT t = Backward(turns, xx - x, yy - y);
        if (t.x < minU || t.x >= maxU || t.y < minV || t.y >= maxV) continue;
        uint8_t a = maskAt(t.x, t.y);
        if (!a) continue;
        if (mono)
          row[xx] = a >= 128 ? color : row[xx];
        else
          row[xx] = a == 255 ? (color | (row[xx] & 0xFF000000u)) : Blend(row[xx], color, a);
      }
    }
    scope.Touch(RECT{left, top, right, bottom});
  });
}

}  // namespace pictavo::gdi

using namespace pictavo::gdi;

namespace {

std::vector<int> SpacingPerCodePoint(const INT* dx, const std::vector<size_t>& offsets, size_t byteCount) {
  // The spacing array has one entry per byte; a multi-byte character advances by their sum.
  std::vector<int> out;
  for (size_t i = 0; i < offsets.size(); ++i) {
    size_t end = i + 1 < offsets.size() ? offsets[i + 1] : byteCount;
    int sum = 0;
    for (size_t b = offsets[i]; b < end; ++b) sum += dx[b];
    out.push_back(sum);
  }
  return out;
}

BOOL ExtTextOutUtf8(HDC hdc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                    const INT* dx) {
  if (count > 0 && !text) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DcLock dc(hdc);
  if (!dc) return FALSE;
  std::shared_ptr<RealizedFont> font = FontOf(*dc);
  if (!font) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  DrawScope scope(*dc);
  RECT clipRect{};
  if (rect) clipRect = dc->ToSurface(*rect);
  if (rect && (options & ETO_OPAQUE)) {
    uint32_t bk = PixelFromColor(dc->state.bkColor);
    FillRectRop(scope, clipRect, SolidPaint(dc->IsMonochrome() ? ToMono(bk) : bk), 0xF0);
  }
  std::vector<size_t> offsets;
  std::u32string chars = DecodeUtf8(text ? text : "", count, &offsets);
  std::vector<int> spacing;
  if (dx) spacing = SpacingPerCodePoint(dx, offsets, count);
  TextRun run = LayoutRun(*font, std::move(chars), dc->state.charExtra, dx ? &spacing : nullptr);
  UINT align = dc->state.textAlign;
  POINT origin{x, y};
  if (align & TA_UPDATECP) origin = dc->state.position;
  RunOptions o;
  o.align = align;
  o.fillCells = dc->state.bkMode == OPAQUE && !(options & ETO_OPAQUE);
  o.clip = rect && (options & ETO_CLIPPED) ? &clipRect : nullptr;
  DrawRun(*dc, scope, *font, run, dc->SurfaceX(origin.x), dc->SurfaceY(origin.y), o);
  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) == TA_CENTER) {
      // The current position stays put for centred text.
    } else if (align & TA_RIGHT) {
      dc->state.position.x -= run.width;
    } else {
      dc->state.position.x += run.width;
    }
  }
  return TRUE;
}

BOOL ExtentUtf8(HDC hdc, const char* text, int count, SIZE* size) {
  if (!size || count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DcLock dc(hdc);
  if (!dc) return FALSE;
  std::shared_ptr<RealizedFont> font = FontOf(*dc);
  if (!font) return FALSE;
  TextRun run =
      LayoutRun(*font, DecodeUtf8(text ? text : "", static_cast<size_t>(count)), dc->state.charExtra);
  size->cx = run.width;
  size->cy = font->Metrics().tmHeight;
  return TRUE;
}

}  // namespace

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LOGFONTA lf = *font;
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(InsertObject(std::make_shared<FontObject>(lf)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic != 0);
  lf.lfUnderline = static_cast<BYTE>(underline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  if (count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ExtTextOutUtf8(dc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
  if (count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string utf8 = EncodeUtf8(text, static_cast<size_t>(count));
  return ExtTextOutUtf8(dc, x, y, 0, nullptr, utf8.data(), static_cast<UINT>(utf8.size()), nullptr);
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* dx) {
  return ExtTextOutUtf8(dc, x, y, options, rect, text, count, dx);
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* dx) {
  if (count > 0 && !text) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string utf8 = EncodeUtf8(text, count);
  if (!dx)
    return ExtTextOutUtf8(dc, x, y, options, rect, utf8.data(), static_cast<UINT>(utf8.size()), nullptr);
  // Spread each wide character's spacing over its first UTF-8 byte.
  std::vector<INT> bytes;
  for (UINT i = 0; i < count; ++i) {
    std::string one = EncodeUtf8(text + i, 1);
    bytes.push_back(dx[i]);
    bytes.insert(bytes.end(), one.size() - 1, 0);
  }
  return ExtTextOutUtf8(dc, x, y, options, rect, utf8.data(), static_cast<UINT>(utf8.size()), bytes.data());
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size) {
  return ExtentUtf8(dc, text, count, size);
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size) {
  if (count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string utf8 = EncodeUtf8(text, static_cast<size_t>(count));
  return ExtentUtf8(dc, utf8.data(), static_cast<int>(utf8.size()), size);
}

BOOL GetTextExtentExPointA(HDC hdc, LPCSTR text, int count, int maxExtent, int* fit, int* dx, SIZE* size) {
  if (!size || count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DcLock dc(hdc);
  if (!dc) return FALSE;
  std::shared_ptr<RealizedFont> font = FontOf(*dc);
  if (!font) return FALSE;
  std::vector<size_t> offsets;
  TextRun run = LayoutRun(*font, DecodeUtf8(text ? text : "", static_cast<size_t>(count), &offsets),
                          dc->state.charExtra);
  // Partial extents per byte: every byte of a character reports the extent after it.
  int total = 0, fitting = 0;
  for (size_t i = 0; i < run.advances.size(); ++i) {
    total += run.advances[i];
    size_t end = i + 1 < offsets.size() ? offsets[i + 1] : static_cast<size_t>(count);
    for (size_t b = offsets[i]; b < end; ++b)
      if (dx) dx[b] = total;
    if (total <= maxExtent) fitting = static_cast<int>(end);
  }
  if (fit) *fit = fitting;
  size->cx = run.width;
  size->cy = font->Metrics().tmHeight;
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics) {
  if (!metrics) return FALSE;
  DcLock dc(hdc);
  if (!dc) return FALSE;
  std::shared_ptr<RealizedFont> font = FontOf(*dc);
  if (!font) return FALSE;
  *metrics = font->Metrics();
  return TRUE;
}

int GetTextFaceA(HDC hdc, int count, LPSTR face) {
  DcLock dc(hdc);
  if (!dc) return 0;
  std::string name = dc->state.font ? dc->state.font->logFont.lfFaceName : "";
  if (!face) return static_cast<int>(name.size()) + 1;
  if (count <= 0) return 0;
  size_t n = std::min(name.size(), static_cast<size_t>(count - 1));
  std::memcpy(face, name.data(), n);
  face[n] = 0;
  return static_cast<int>(n);
}

int GetTextCharsetInfo(HDC hdc, FONTSIGNATURE* signature, DWORD /*flags*/) {
  if (signature) *signature = FONTSIGNATURE{};
  DcLock dc(hdc);
  if (!dc) return DEFAULT_CHARSET;
  const bool symbol = dc->state.font && dc->state.font->logFont.lfCharSet == SYMBOL_CHARSET;
  if (signature) {
    signature->fsUsb[0] = symbol ? 0 : 1u;            // Basic Latin
    signature->fsCsb[0] = symbol ? 0x80000000u : 1u;  // symbol or Latin 1 code page
  }
  return symbol ? SYMBOL_CHARSET : ANSI_CHARSET;
}

int GetTextCharset(HDC hdc) {
  return GetTextCharsetInfo(hdc, nullptr, 0);
}

BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, INT* widths) {
  if (!widths || last < first) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DcLock dc(hdc);
  if (!dc) return FALSE;
  std::shared_ptr<RealizedFont> font = FontOf(*dc);
  if (!font) return FALSE;
  for (UINT c = first; c <= last; ++c) widths[c - first] = font->Advance(static_cast<char32_t>(c));
  return TRUE;
}

namespace {

int Enumerate(const char* onlyFace, FONTENUMPROCA proc, LPARAM data, BYTE charSet) {
  if (!proc) return 0;
  int result = 1;
  for (const FamilyInfo& family : FontFamilies()) {
    if (onlyFace && *onlyFace && strcasecmp(onlyFace, family.name.c_str()) != 0) continue;
    ENUMLOGFONTEXA elf{};
    LOGFONTA& lf = elf.elfLogFont;
    lf.lfHeight = -11;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = OUT_STROKE_PRECIS;
    lf.lfClipPrecision = CLIP_STROKE_PRECIS;
    lf.lfQuality = DRAFT_QUALITY;
    lf.lfPitchAndFamily =
        static_cast<BYTE>((family.fixedPitch ? FIXED_PITCH : VARIABLE_PITCH) | family.family);
    std::strncpy(lf.lfFaceName, family.name.c_str(), LF_FACESIZE - 1);
    // A platform name's full name is the installed family that stands in for it.
    const std::string& fullName = family.standsFor.empty() ? family.name : family.standsFor;
    std::strncpy(reinterpret_cast<char*>(elf.elfFullName), fullName.c_str(), LF_FULLFACESIZE - 1);
    std::strncpy(reinterpret_cast<char*>(elf.elfStyle), "Regular", LF_FACESIZE - 1);
    std::strncpy(reinterpret_cast<char*>(elf.elfScript), "Western", LF_FACESIZE - 1);
    NEWTEXTMETRICEXA ntm{};
    if (std::shared_ptr<RealizedFont> font = RealizeFont(lf)) {
      static_cast<TEXTMETRICA&>(ntm.ntmTm) = font->Metrics();
      ntm.ntmTm.ntmSizeEM = 2048;
      ntm.ntmTm.ntmCellHeight = static_cast<UINT>(font->Metrics().tmHeight);
      ntm.ntmTm.ntmAvgWidth = static_cast<UINT>(font->Metrics().tmAveCharWidth);
    }
    ntm.ntmTm.ntmFlags = NTM_REGULAR;
    ntm.ntmTm.tmCharSet = charSet;
    ntm.ntmFontSig.fsCsb[0] = 1;  // Latin 1
    // Outlines of other formats (Type 1 ...) are listed as neither raster nor TrueType faces.
    result = proc(&lf, &ntm.ntmTm, family.trueType ? TRUETYPE_FONTTYPE : 0, data);
    if (!result) break;
  }
  return result;
}

}  // namespace

int EnumFontsA(HDC dc, LPCSTR face, FONTENUMPROCA proc, LPARAM data) {
  return Enumerate(face, proc, data, ANSI_CHARSET);
}

int EnumFontFamiliesA(HDC dc, LPCSTR face, FONTENUMPROCA proc, LPARAM data) {
  return Enumerate(face, proc, data, ANSI_CHARSET);
}

int EnumFontFamiliesExA(HDC dc, LOGFONTA* font, FONTENUMPROCA proc, LPARAM data, DWORD) {
  if (!font) return 0;
  BYTE charSet = font->lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : font->lfCharSet;
  if (charSet != ANSI_CHARSET && charSet != SYMBOL_CHARSET)
    return 1;  // no faces for other scripts are listed
  return Enumerate(font->lfFaceName, proc, data, charSet);
}

namespace pictavo::gdi {

HFONT CreatePointFontIndirect(const LOGFONTA& font, HDC dc) {
  LOGFONTA lf = font;
  // Tenths of a point to pixels at the screen's 96 dpi.
  lf.lfHeight = -std::abs(MulDiv(GetDeviceCaps(dc, LOGPIXELSY), font.lfHeight, 720));
  return CreateFontIndirectA(&lf);
}

HFONT CreatePointFont(int pointSizeTenths, LPCSTR face, HDC dc) {
  LOGFONTA lf{};
  lf.lfHeight = pointSizeTenths;
  lf.lfCharSet = DEFAULT_CHARSET;
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreatePointFontIndirect(lf, dc);
}

std::string ResolvedFaceName(const char* requestedFace) {
  LOGFONTA lf{};
  lf.lfHeight = -11;
  if (requestedFace) std::strncpy(lf.lfFaceName, requestedFace, LF_FACESIZE - 1);
  std::shared_ptr<RealizedFont> font = RealizeFont(lf);
  return font ? font->Family() : std::string{};
}

}  // namespace pictavo::gdi
