#include "modules/effects/Transition.h"

#include "modules/image/CxImage.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

struct CTransition::FrameStore {
  CxImage frame;
  CxImage from;  // the outgoing picture at the frame size, when it had another size
  CxImage to;
};

namespace {

// A picture of the frame size standing for `source`: the picture itself, a resampled copy, or
// the background colour when there is none. `frame` is the transition's own output, which must
// not be read while it is written.
const BYTE* FrameSizedBits(CxImage* source, const CxImage& frame, CxImage& scratch, long width, long height,
                           COLORREF background) {
  CxImage* picture = source;
  if (source == &frame && frame.IsValid()) {
    scratch.Copy(frame);
    picture = &scratch;
  }
  if (picture != nullptr && picture->IsValid()) {
    if (static_cast<long>(picture->GetWidth()) == width && static_cast<long>(picture->GetHeight()) == height)
      return picture->GetBits(0);
    if (picture->Resample(width, height, CXIMAGE_RESAMPLE_BILINEAR, picture == &scratch ? nullptr : &scratch))
      return scratch.GetBits(0);
  }
  if (static_cast<long>(scratch.GetWidth()) != width || static_cast<long>(scratch.GetHeight()) != height)
    if (scratch.Create(width, height, 24) == nullptr) return nullptr;
  scratch.Fill(background);
  return scratch.GetBits(0);
}

}  // namespace

void CTransition::FreeStoreFunction(FrameStore* store) {
  delete store;
}

int32_t CTransition::ProgressOf(int frame) const {
  const int last = GetFrameCount() - 1;
  if (last <= 0 || frame >= last) return kProgressOne;
  if (frame <= 0) return 0;
  return static_cast<int32_t>((static_cast<int64_t>(frame) * kProgressOne + last / 2) / last);
}

CxImage* CTransition::StepIt(int frame) {
  const long width = m_param.nWidth;
  const long height = m_param.nHeight;
  if (m_param.nSize != static_cast<int32_t>(sizeof(_tagTransWorkParam)) || width <= 0 || height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!m_store) m_store = std::unique_ptr<FrameStore, StoreDeleter>(new FrameStore, &FreeStoreFunction);
  FrameStore& store = *m_store;
  m_current = nullptr;
  const BYTE* from = FrameSizedBits(m_from, store.frame, store.from, width, height, m_param.clrBackground);
  const BYTE* to = FrameSizedBits(m_to, store.frame, store.to, width, height, m_param.clrBackground);
  if (from == nullptr || to == nullptr) return nullptr;
  if (static_cast<long>(store.frame.GetWidth()) != width ||
      static_cast<long>(store.frame.GetHeight()) != height) {
    if (store.frame.Create(width, height, 24) == nullptr) return nullptr;
  }
  TransitionFrame f{};
  f.from = from;
  f.to = to;
  f.out = store.frame.GetBits(0);
  f.width = static_cast<int32_t>(width);
  f.height = static_cast<int32_t>(height);
  f.stride = static_cast<int32_t>(store.frame.GetEffWidth());
  f.frames = GetFrameCount();
  f.frame = frame < 0 ? 0 : (frame >= f.frames ? f.frames - 1 : frame);
  f.progress = ProgressOf(frame);
  f.background = m_param.clrBackground;
  Compose(f);
  m_current = &store.frame;
  return m_current;
}

BOOL CTransition::StepIt(int frame, HDC dc, int width, int height) {
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
