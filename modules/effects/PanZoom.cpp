#include "modules/effects/PanZoom.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "modules/effects/Sampler.h"
#include "modules/effects/TransitionKernel.h"
#include "modules/image/CxImage.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

_tagPanZoomWorkParamEx::_tagPanZoomWorkParamEx()
    : nSize(static_cast<int32_t>(sizeof(_tagPanZoomWorkParamEx))),
      nOption1(0),
      nOption2(0),
      nAntiFlicker(0),
      nWidth(0),
      nHeight(0),
      nFrames(0),
      clrBackground(0),
      nReserved1{0, 0},
      fStartPanX(0),
      fStartPanY(0),
      fStartZoom(100),
      fStartRotate(0),
      fEndPanX(0),
      fEndPanY(0),
      fEndZoom(100),
      fEndRotate(0),
      pSrcImage(nullptr),
      nReserved2{0, 0} {}

namespace {

std::atomic<bool> g_bounce{true};

// The part of the picture the frame shows, in source pixels: its centre, the source pixels per
// frame pixel, and its turn (radians, clockwise on screen).
struct View {
  double cx, cy, k, turn;
};

View Lerp(const View& a, const View& b, double t) {
  // (1 - t) a + t b gives a at t = 0 and b at t = 1 exactly.
  const auto mix = [t](double x, double y) { return (1 - t) * x + t * y; };
  return {mix(a.cx, b.cx), mix(a.cy, b.cy), mix(a.k, b.k), mix(a.turn, b.turn)};
}

View ViewOf(double panX, double panY, double zoom, double rotate, int sourceW, int sourceH, int frameW,
            int frameH) {
  const double fit = std::min(static_cast<double>(frameW) / sourceW, static_cast<double>(frameH) / sourceH);
  const double scale = fit * std::clamp(zoom, 1.0, 10000.0) / 100;
  const double turn = rotate * std::numbers::pi / 180;
  // The picture's centre stands (panX, panY) percent of the frame away from the frame's centre;
  // so the frame's centre is the opposite offset, turned back and scaled back, from the
  // picture's centre.
  const double ox = -panX / 100 * frameW / scale;
  const double oy = -panY / 100 * frameH / scale;
  const double c = std::cos(turn);
  const double s = std::sin(turn);
  return {sourceW / 2.0 + c * ox + s * oy, sourceH / 2.0 - s * ox + c * oy, 1 / scale, turn};
}

// Output pixel centres to source positions (pixel centres at whole numbers) of a picture that
// is `rx` x `ry` times the size the view was worked out for.
pictavo::effects::AffineMap MapOf(const View& v, int frameW, int frameH, double rx, double ry) {
  const double c = std::cos(v.turn) * v.k;
  const double s = std::sin(v.turn) * v.k;
  const double x0 = 0.5 - frameW / 2.0;
  const double y0 = 0.5 - frameH / 2.0;
  pictavo::effects::AffineMap map;
  map.dudx = rx * c;
  map.dudy = rx * s;
  map.dvdx = -ry * s;
  map.dvdy = ry * c;
  map.u0 = rx * (v.cx + c * x0 + s * y0) - 0.5;
  map.v0 = ry * (v.cy - s * x0 + c * y0) - 0.5;
  return map;
}

// One row of the vertical 1-2-1 low-pass: (below + 2 current + above + 2) / 4.
void SoftenRow(const BYTE* below, const BYTE* current, const BYTE* above, BYTE* out, size_t bytes) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i two = _mm_set1_epi16(2);
  const auto filter = [&](__m128i b, __m128i c, __m128i a) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(b, a), _mm_add_epi16(_mm_add_epi16(c, c), two)), 2);
  };
  for (; i + 16 <= bytes; i += 16) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + i));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(current + i));
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(above + i));
    const __m128i lo =
        filter(_mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(a, zero));
    const __m128i hi =
        filter(_mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(a, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; i < bytes; ++i) out[i] = static_cast<BYTE>((below[i] + 2 * current[i] + above[i] + 2) >> 2);
}

// Vertical 1-2-1 low-pass over the frame's rows (an edge row counts its one neighbour twice).
void SoftenLines(CxImage& frame) {
  const int w = static_cast<int>(frame.GetWidth());
  const int h = static_cast<int>(frame.GetHeight());
  if (h < 2) return;
  const size_t bytes = static_cast<size_t>(w) * 3;
  std::vector<BYTE> previous(frame.GetBits(0), frame.GetBits(0) + bytes);  // unfiltered row below
  std::vector<BYTE> current(bytes);
  for (int y = 0; y < h; ++y) {
    BYTE* row = frame.GetBits(static_cast<DWORD>(y));
    std::memcpy(current.data(), row, bytes);
    const BYTE* above = y + 1 < h ? frame.GetBits(static_cast<DWORD>(y + 1)) : previous.data();
    const BYTE* below = y > 0 ? previous.data() : above;
    SoftenRow(below, current.data(), above, row, bytes);
    previous.swap(current);
  }
}

}  // namespace

// --- CZoomPan ----------------------------------------------------------------------------------

void CZoomPan::EnableBounce(BOOL enable) {
  g_bounce.store(enable != FALSE);
}

BOOL CZoomPan::IsBounceEnabled() {
  return g_bounce.load() ? TRUE : FALSE;
}

// --- CPanZoomExGDIPlus ---------------------------------------------------------------------------

CPanZoomExGDIPlus::CPanZoomExGDIPlus() = default;
CPanZoomExGDIPlus::~CPanZoomExGDIPlus() = default;

BOOL CPanZoomExGDIPlus::SetPanZoomExWorkParam(const _tagPanZoomWorkParamEx& param) {
  m_param = param;
  m_current = nullptr;
  if (param.nSize != static_cast<int32_t>(sizeof(_tagPanZoomWorkParamEx)) || param.nWidth <= 0 ||
      param.nHeight <= 0 || param.pSrcImage == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

double CPanZoomExGDIPlus::MotionPosition(int frame) const {
  const int64_t last = static_cast<int64_t>(m_param.nFrames) - 1;
  if (last <= 0) return 0;
  int64_t f = frame;
  if (CZoomPan::IsBounceEnabled()) {
    const int64_t period = 2 * last;
    f %= period;
    if (f < 0) f += period;
    if (f > last) f = period - f;
  } else {
    f = std::clamp<int64_t>(f, 0, last);
  }
  return static_cast<double>(f) / static_cast<double>(last);
}

BOOL CPanZoomExGDIPlus::VerifyOutputXImageValid() {
  return m_output != nullptr && m_output->IsValid() &&
                 static_cast<int32_t>(m_output->GetWidth()) == m_param.nWidth &&
                 static_cast<int32_t>(m_output->GetHeight()) == m_param.nHeight
             ? TRUE
             : FALSE;
}

BOOL CPanZoomExGDIPlus::CreateOutputXImage(int bitsPerPixel) {
  if (bitsPerPixel != 24 || m_param.nWidth <= 0 || m_param.nHeight <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  m_current = nullptr;
  if (!m_output) m_output = std::make_unique<CxImage>();
  return m_output->Create(static_cast<DWORD>(m_param.nWidth), static_cast<DWORD>(m_param.nHeight), 24) !=
                 nullptr
             ? TRUE
             : FALSE;
}

CxImage* CPanZoomExGDIPlus::StepIt(int frame) {
  m_current = nullptr;
  if (m_param.nSize != static_cast<int32_t>(sizeof(_tagPanZoomWorkParamEx)) || m_param.nWidth <= 0 ||
      m_param.nHeight <= 0 || m_param.pSrcImage == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!VerifyOutputXImageValid() && !CreateOutputXImage(24)) return nullptr;
  RenderFrame(MotionPosition(frame), *m_output);
  if (m_param.nAntiFlicker != 0) SoftenLines(*m_output);
  m_current = m_output.get();
  return m_current;
}

CxImage* CPanZoomExGDIPlus::StepIt() {
  return m_current;
}

BOOL CPanZoomExGDIPlus::StepIt(int frame, HDC dc, int width, int height) {
  CxImage* picture = StepIt(frame);
  if (picture == nullptr) return FALSE;
  const auto* info = static_cast<const BITMAPINFO*>(picture->GetDIB());
  const int w = static_cast<int>(picture->GetWidth());
  const int h = static_cast<int>(picture->GetHeight());
  if (width == w && height == h)
    return SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, picture->GetBits(0), info, DIB_RGB_COLORS) != 0;
  return StretchDIBits(dc, 0, 0, width, height, 0, 0, w, h, picture->GetBits(0), info, DIB_RGB_COLORS,
                       SRCCOPY) != 0;
}

BOOL CPanZoomExGDIPlus::StepIt(int frame, HDC dc) {
  return StepIt(frame, dc, m_param.nWidth, m_param.nHeight);
}

// --- CPanZoomExIPP -------------------------------------------------------------------------------

// A motion that shows the picture at half its size or less all the way samples a copy reduced
// by a power of two (averaging every source pixel), which keeps fine detail from shimmering.
// The level is chosen per motion, so it never changes between frames.
struct CPanZoomExIPP::Reduced {
  const CxImage* source = nullptr;
  long sourceW = 0;
  long sourceH = 0;
  int level = 0;
  CxImage picture;
};

CPanZoomExIPP::CPanZoomExIPP() = default;
CPanZoomExIPP::~CPanZoomExIPP() = default;

void CPanZoomExIPP::RenderFrame(double t, CxImage& out) {
  const _tagPanZoomWorkParamEx& p = Param();
  const int w = p.nWidth;
  const int h = p.nHeight;
  CxImage* source = p.pSrcImage;
  std::vector<BYTE> background(static_cast<size_t>(w) * 3);
  pictavo::effects::FillPixels(background.data(), w, p.clrBackground);
  if (!source->IsValid()) {
    for (int y = 0; y < h; ++y)
      std::memcpy(out.GetBits(static_cast<DWORD>(y)), background.data(), background.size());
    return;
  }
  const int sw = static_cast<int>(source->GetWidth());
  const int sh = static_cast<int>(source->GetHeight());
  const View start = ViewOf(p.fStartPanX, p.fStartPanY, p.fStartZoom, p.fStartRotate, sw, sh, w, h);
  const View end = ViewOf(p.fEndPanX, p.fEndPanY, p.fEndZoom, p.fEndRotate, sw, sh, w, h);

  const double smallest = std::min(start.k, end.k);  // source pixels per frame pixel, at its least
  const int level = smallest >= 2 ? std::min(8, static_cast<int>(std::floor(std::log2(smallest)))) : 0;
  const CxImage* sampled = source;
  if (level > 0) {
    if (!m_reduced) m_reduced = std::make_unique<Reduced>();
    Reduced& r = *m_reduced;
    if (r.source != source || r.sourceW != sw || r.sourceH != sh || r.level != level ||
        !r.picture.IsValid()) {
      const long half = 1L << (level - 1);
      const long rw = std::max(1L, (sw + half) >> level);
      const long rh = std::max(1L, (sh + half) >> level);
      r.source = source;
      r.sourceW = sw;
      r.sourceH = sh;
      r.level = level;
      if (!source->Resample(rw, rh, CXIMAGE_RESAMPLE_BILINEAR, &r.picture)) r.picture.Destroy();
    }
    if (r.picture.IsValid()) sampled = &r.picture;
  }
  const int pw = static_cast<int>(sampled->GetWidth());
  const int ph = static_cast<int>(sampled->GetHeight());
  const auto map =
      MapOf(Lerp(start, end, t), w, h, static_cast<double>(pw) / sw, static_cast<double>(ph) / sh);
  const auto view =
      pictavo::effects::ViewOfBottomUp(static_cast<const BYTE*>(sampled->GetDIB()) + sizeof(BITMAPINFOHEADER),
                                       pw, ph, static_cast<int>(sampled->GetEffWidth()));
  for (int y = 0; y < h; ++y)
    pictavo::effects::SampleRow(view, pictavo::effects::RowOf(map, y), background.data(),
                                out.GetBits(static_cast<DWORD>(h - 1 - y)), w);
}
