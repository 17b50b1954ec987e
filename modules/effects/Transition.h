// Slide transitions: the CTransition interface shared by the built-in set and by plug-ins.
//
// A transition turns two pictures of the frame size into a sequence of frames: frame 0 shows
// the outgoing picture, the last frame (work parameter nFrames - 1) the incoming one, and every
// frame in between is a function of the frame number only, so asking for a frame twice gives
// the same bytes.
//
// Plug-in ABI. A plug-in is a shared object in the program's "Transition" folder exporting
//   extern "C" int Mossen_GetExTransitionLibInfo(_tagTransitionLibInfo*, TransitionEntryFactory*)
// with the same contract as Mossen_GetTransitionLibInfo below. Its factories return objects of
// classes derived from CTransition, built against this header. Everything a plug-in needs from
// CTransition is inline here (the virtual operations' defaults, the constructor, the
// destructor), so a plug-in links against nothing of ours; the non-virtual operations
// (SetTransWorkParam, StepIt) run in the caller's module and call the plug-in back through
// Compose. The order of the virtual operations below is part of the ABI: never reorder them,
// only append, and raise kTransitionAbiVersion when the layout changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/base/WinTypes.h"

class CxImage;
class CTransition;

// Work parameters of SetTransWorkParam: seven 32-bit fields.
struct _tagTransWorkParam {
  int32_t nSize;           // sizeof(_tagTransWorkParam), 28
  int32_t nReserved1;      // accepted and not used (callers pass 0 or 1)
  int32_t nWidth;          // frame width in pixels
  int32_t nHeight;         // frame height in pixels
  int32_t nFrames;         // number of frames of the transition
  int32_t nReserved2;      // accepted and not used (callers pass 0 or 10)
  COLORREF clrBackground;  // stands in for a missing picture
};
static_assert(sizeof(_tagTransWorkParam) == 28);
static_assert(offsetof(_tagTransWorkParam, nWidth) == 8);
static_assert(offsetof(_tagTransWorkParam, nHeight) == 12);
static_assert(offsetof(_tagTransWorkParam, nFrames) == 16);
static_assert(offsetof(_tagTransWorkParam, clrBackground) == 24);

inline constexpr uint32_t kTransitionAbiVersion = 1;

// What a library says about itself; the caller zeroes it and the library fills it.
struct _tagTransitionLibInfo {
  uint32_t dwAbiVersion;  // kTransitionAbiVersion the library was built with
  int32_t nCount;         // number of transitions
  char szLibName[64];     // the library's own name, NUL-terminated
  BYTE reserved[84];
};
static_assert(sizeof(_tagTransitionLibInfo) == 156);

// Makes a new transition object (deleted with delete), or returns null.
using TransitionEntryFactory = CTransition* (*)();
// Mossen_GetTransitionLibInfo and the plug-ins' Mossen_GetExTransitionLibInfo: with a null array
// it returns the number of transitions; with an array of that many entries it fills it with
// their factories and returns the number written. `info` may be null.
using TransitionLibInfoProc = int (*)(_tagTransitionLibInfo* info, TransitionEntryFactory* factories);
inline constexpr char kTransitionPluginEntry[] = "Mossen_GetExTransitionLibInfo";

// The built-in set; entry 0 is "None", the cut.
int Mossen_GetTransitionLibInfo(_tagTransitionLibInfo* info, TransitionEntryFactory* factories);

// Progress of a frame as a fraction of kProgressOne: 0 at the first frame, kProgressOne at the
// last.
inline constexpr int32_t kProgressOne = 1 << 16;

// One frame to compose. The three pictures are width x height, 24-bit BGR, stored bottom row
// first with `stride` bytes from one stored row to the next (the CxImage layout). `out` never
// overlaps `from` or `to`.
struct TransitionFrame {
  const BYTE* from;  // first stored (bottom) row of the outgoing picture
  const BYTE* to;    // first stored (bottom) row of the incoming picture
  BYTE* out;         // first stored (bottom) row of the frame
  int32_t width;
  int32_t height;
  int32_t stride;
  int32_t frame;     // 0 .. frames - 1
  int32_t frames;    // at least 1
  int32_t progress;  // 0 .. kProgressOne
  COLORREF background;

  // Rows by position on screen: y = 0 is the top row.
  const BYTE* FromRow(int y) const { return from + static_cast<ptrdiff_t>(height - 1 - y) * stride; }
  const BYTE* ToRow(int y) const { return to + static_cast<ptrdiff_t>(height - 1 - y) * stride; }
  BYTE* OutRow(int y) const { return out + static_cast<ptrdiff_t>(height - 1 - y) * stride; }
};

class CTransition {
 public:
  CTransition() = default;
  CTransition(const CTransition&) = delete;
  CTransition& operator=(const CTransition&) = delete;

  // --- Virtual operations, in ABI order ------------------------------------------------------
  // 1. The transition's name into `buffer` of `size` characters (the program passes 100),
  //    cut to fit and always terminated when size > 0.
  virtual void GetName(char* buffer, int size) const = 0;
  // 2. The pictures the following frames go from and to. Not owned; they must stay valid (and
  //    may change between frames, e.g. when they are pan-and-zoom frames) while frames are asked
  //    for. A picture of another size is resampled to the frame size; a missing or empty one
  //    counts as a picture in the background colour.
  virtual void SetImages(CxImage* from, CxImage* to) {
    m_from = from;
    m_to = to;
  }
  // 3. The transition's cell in the icon strip and its identifier: built-ins use their place in
  //    the built-in list; plug-ins use 1000 and above (their icon is then cell 0).
  virtual int GetBitmapTag() const = 0;

 protected:
  // 4. Writes every pixel of frame.out from frame.from and frame.to.
  virtual void Compose(const TransitionFrame& frame) = 0;

 public:
  // 5. Deleting destructor.
  virtual ~CTransition() = default;

  // --- Non-virtual operations (run in the caller's module) ----------------------------------
  void SetTransWorkParam(const _tagTransWorkParam& param) { m_param = param; }
  const _tagTransWorkParam& GetTransWorkParam() const { return m_param; }
  int GetFrameCount() const { return m_param.nFrames > 1 ? m_param.nFrames : 1; }
  // Progress of a frame (clamped to the transition), 0 .. kProgressOne.
  int32_t ProgressOf(int frame) const;

  // Composes a frame. The picture belongs to the transition and stays valid until the next
  // StepIt or the transition's deletion. Null (with the last error set) when the work
  // parameters give no frame size or the frame cannot be allocated.
  CxImage* StepIt(int frame);
  // Composes a frame and draws it into (0, 0, width, height) of the DC, stretched with the DC's
  // stretch mode when the sizes differ.
  BOOL StepIt(int frame, HDC dc, int width, int height);
  // The last composed frame, null before the first.
  CxImage* StepIt() { return m_current; }

 private:
  struct FrameStore;  // the frame and resampled inputs, owned by the caller's module
  using StoreDeleter = void (*)(FrameStore*);
  static void FreeStoreFunction(FrameStore* store);

  _tagTransWorkParam m_param{static_cast<int32_t>(sizeof(_tagTransWorkParam)), 0, 0, 0, 0, 0, 0};
  CxImage* m_from = nullptr;
  CxImage* m_to = nullptr;
  // Allocated by StepIt and freed through the function it stored, so that deleting a plug-in's
  // object frees memory with the code that allocated it.
  std::unique_ptr<FrameStore, StoreDeleter> m_store{nullptr, nullptr};
  CxImage* m_current = nullptr;
};
