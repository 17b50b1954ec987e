#include "editing/PanZoomPreviewStatic.h"

#include <algorithm>
#include <cmath>

#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/DrawSupport.h"
#include "modules/image/CxImage.h"
#include "platform/gdiplus/GdiPlusFlat.h"
#include "shell/ProcessObjects.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr ARGB kVeilColour = 0xA0FFFFFF;
constexpr ARGB kFieldColour = 0xFFA0A0A0;
constexpr int kMaxFitMultiple = 256;

bool WideAspect() {
  return GetProject()->GetOptionsData()->nAspectCorrection == 2;
}

struct GdipBitmapDeleter {
  void operator()(GpBitmap* bitmap) const {
    if (bitmap != nullptr) GdipDisposeImage(bitmap);
  }
};
using BitmapPtr = std::unique_ptr<GpBitmap, GdipBitmapDeleter>;

struct GraphicsDeleter {
  void operator()(GpGraphics* graphics) const {
    if (graphics != nullptr) GdipDeleteGraphics(graphics);
  }
};
using GraphicsPtr = std::unique_ptr<GpGraphics, GraphicsDeleter>;

BitmapPtr NewBitmap(int width, int height, PixelFormat format) {
  GpBitmap* bitmap = nullptr;
  GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &bitmap);
  return BitmapPtr(bitmap);
}

GraphicsPtr GraphicsOf(GpBitmap* bitmap) {
  GpGraphics* graphics = nullptr;
  if (bitmap != nullptr) GdipGetImageGraphicsContext(bitmap, &graphics);
  return GraphicsPtr(graphics);
}

void FillRect(GpGraphics* graphics, ARGB colour, int x, int y, int width, int height) {
  GpSolidFill* brush = nullptr;
  if (GdipCreateSolidFill(colour, &brush) != Ok) return;
  GdipFillRectangleI(graphics, brush, x, y, width, height);
  GdipDeleteBrush(brush);
}

// A bitmap over the picture's own pixels (bottom-up rows, so the stride runs backwards).
BitmapPtr WrapPicture(CxImage& picture) {
  if (!picture.IsValid()) return nullptr;
  BYTE* top = picture.GetBits(picture.GetHeight() - 1);
  GpBitmap* bitmap = nullptr;
  GdipCreateBitmapFromScan0(static_cast<INT>(picture.GetWidth()), static_cast<INT>(picture.GetHeight()),
                            -static_cast<INT>(picture.GetEffWidth()), PixelFormat24bppRGB, top, &bitmap);
  return BitmapPtr(bitmap);
}

}  // namespace

struct CPanZoomPreviewStatic::Surfaces {
  BitmapPtr veil;
  BitmapPtr back;
  CSize size;
};

BEGIN_MESSAGE_MAP(CPanZoomPreviewStatic, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CPanZoomPreviewStatic::CPanZoomPreviewStatic(CxImage* pSource, CDVDImage** ppImage)
    : m_pSource(pSource),
      m_ppImage(ppImage),
      m_frame(std::make_unique<CxImage>()),
      m_fitted(std::make_unique<CxImage>()),
      m_surfaces(std::make_unique<Surfaces>()) {}

CPanZoomPreviewStatic::~CPanZoomPreviewStatic() = default;

const CxImage& CPanZoomPreviewStatic::GetFramePicture() const {
  return *m_frame;
}

int CPanZoomPreviewStatic::FitMultiple(int nWidth, int nHeight, int nAspectWidth, int nAspectHeight) {
  if (nAspectWidth <= 0 || nAspectHeight <= 0) return 0;
  if (nWidth > 0 && nHeight > 0 &&
      static_cast<long long>(nHeight) * nAspectWidth == static_cast<long long>(nWidth) * nAspectHeight)
    return 0;
  const int n = std::max(std::max(nWidth, 0) / nAspectWidth, std::max(nHeight, 0) / nAspectHeight);
  return std::clamp(n, 1, kMaxFitMultiple);
}

double CPanZoomPreviewStatic::DragPan(double value, int nDelta, int nExtent) {
  if (nExtent <= 0) return value;
  double pan = std::clamp(value + static_cast<double>(nDelta) / nExtent * 100.0, -100.0, 100.0);
  RoundToHundredths(pan);
  return pan;
}

COLORREF CPanZoomPreviewStatic::AlbumBackground() const {
  const CDVDImage* image = m_ppImage != nullptr ? *m_ppImage : nullptr;
  return image != nullptr ? image->Get_clrAlbumBG() : 0;
}

CRect CPanZoomPreviewStatic::FrameRect() const {
  CRect client;
  GetClientRect(&client);
  const int aw = WideAspect() ? 16 : 4, ah = WideAspect() ? 9 : 3;
  int width = client.Width(), height = width * ah / aw;
  if (height > client.Height()) height = client.Height(), width = height * aw / ah;
  const int left = client.left + (client.Width() - width) / 2,
            top = client.top + (client.Height() - height) / 2;
  return CRect(left, top, left + width, top + height);
}

BOOL CPanZoomPreviewStatic::PrepareSource() {
  const int aw = WideAspect() ? 16 : 4, ah = WideAspect() ? 9 : 3;
  m_pEffective = nullptr;
  m_fitted->Destroy();
  if (m_pSource != nullptr) {
    const int n = FitMultiple(static_cast<int>(m_pSource->GetWidth()),
                              static_cast<int>(m_pSource->GetHeight()), aw, ah);
    if (n == 0) {
      m_pEffective = m_pSource;
    } else {
      // An unreadable or empty picture still gets its canvas, so the frame shows the background.
      if (!CDVDImage::ResizeXImage(m_pSource, AlbumBackground(), aw * n, ah * n, m_fitted.get(), 0, 0, 0) &&
          m_fitted->Create(aw * n, ah * n, 24) != nullptr)
        m_fitted->Fill(AlbumBackground());
      m_pEffective = m_fitted.get();
    }
  }
  Render();
  return TRUE;
}

BOOL CPanZoomPreviewStatic::Render() {
  if (m_pEffective == nullptr) return FALSE;
  const CRect frame = FrameRect();
  m_workParam.nOption1 = 1;
  m_workParam.nAntiFlicker = 0;
  m_workParam.clrBackground = AlbumBackground();
  m_workParam.nFrames = 120;
  m_workParam.pSrcImage = m_pEffective;
  m_workParam.nWidth = frame.Width();
  m_workParam.nHeight = frame.Height();
  {
    CPanZoomExIPP engine;
    engine.SetPanZoomExWorkParam(m_workParam);
    if (CxImage* picture = engine.StepIt(0)) m_frame->Copy(*picture);
  }
  if (GetSafeHwnd() != nullptr) Invalidate(FALSE);
  return TRUE;
}

BOOL CPanZoomPreviewStatic::SetEditable(BOOL bEditable) {
  m_bEditable = bEditable;
  if (GetSafeHwnd() != nullptr) Invalidate(FALSE);
  return TRUE;
}

BOOL CPanZoomPreviewStatic::OnEraseBkgnd(CDC*) {
  return TRUE;
}

void CPanZoomPreviewStatic::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  const CRect frame = FrameRect();
  pictavo::data::EnsureGdiplus();  // the data model starts it for its own drawing as well
  Surfaces& s = *m_surfaces;
  if (!s.veil || !s.back || s.size != client.Size()) {
    s.size = client.Size();
    s.veil = NewBitmap(client.Width(), client.Height(), PixelFormat32bppARGB);
    s.back = NewBitmap(client.Width(), client.Height(), PixelFormat24bppRGB);
    if (GraphicsPtr veil = GraphicsOf(s.veil.get())) GdipGraphicsClear(veil.get(), kVeilColour);
  }
  GraphicsPtr back = GraphicsOf(s.back.get());
  if (!back) return;
  FillRect(back.get(), kFieldColour, 0, 0, client.Width(), client.Height());
  if (m_frame->IsValid()) {
    RECT placed{};
    const SIZE size{static_cast<LONG>(m_frame->GetWidth()), static_cast<LONG>(m_frame->GetHeight())};
    if (CDVDImage::CalcZoomRect(frame, size, &placed, 0)) {
      const CRect rect(placed);
      CxImage resampled;
      CxImage* shown = m_frame.get();
      if (size.cx != rect.Width() || size.cy != rect.Height()) {
        m_frame->Resample(rect.Width(), rect.Height(), 2, &resampled);
        shown = &resampled;
      }
      if (BitmapPtr picture = WrapPicture(*shown)) {
        GdipSetClipRectI(back.get(), frame.left, frame.top, frame.Width(), frame.Height(),
                         CombineModeReplace);
        GdipSetInterpolationMode(back.get(), InterpolationModeNearestNeighbor);
        GdipDrawImageRectI(back.get(), picture.get(), rect.left, rect.top, rect.Width(), rect.Height());
        GdipResetClip(back.get());
      }
    }
  }
  if (!m_bEditable && s.veil) GdipDrawImageI(back.get(), s.veil.get(), 0, 0);
  back.reset();
  GpGraphics* screen = nullptr;
  if (GdipCreateFromHDC(dc.GetSafeHdc(), &screen) == Ok) {
    GdipDrawImageI(screen, s.back.get(), 0, 0);
    GdipDeleteGraphics(screen);
  }
}

void CPanZoomPreviewStatic::OnLButtonDown(UINT, CPoint point) {
  if (!m_bEditable) return;
  m_bDragging = TRUE;
  SetCapture();
  m_ptLast = point;
}

void CPanZoomPreviewStatic::OnLButtonDblClk(UINT nFlags, CPoint point) {
  // A quick second press starts a drag like any other.
  OnLButtonDown(nFlags, point);
}

void CPanZoomPreviewStatic::OnMouseMove(UINT, CPoint point) {
  if (!m_bDragging) return;
  CRect client;
  GetClientRect(&client);
  m_workParam.fStartPanX = DragPan(m_workParam.fStartPanX, point.x - m_ptLast.x, client.Width());
  m_workParam.fStartPanY = DragPan(m_workParam.fStartPanY, point.y - m_ptLast.y, client.Height());
  m_ptLast = point;
  if (CWnd* parent = GetParent())
    parent->SendMessage(WM_PANZOOM_PREVIEW_DRAGGED, static_cast<WPARAM>(GetDlgCtrlID()),
                        reinterpret_cast<LPARAM>(&m_workParam));
  Render();
}

void CPanZoomPreviewStatic::OnLButtonUp(UINT, CPoint) {
  if (!m_bDragging) return;
  m_bDragging = FALSE;
  ReleaseCapture();
}

void CPanZoomPreviewStatic::OnCaptureChanged(CWnd*) {
  // Losing the capture to another window ends the drag as the button's release would.
  m_bDragging = FALSE;
}
