// Pan and zoom: a picture moving, zooming and turning smoothly across a sequence of frames.
//
// A position is pan X / pan Y (percent of the frame: +100 moves the picture one frame width
// right or one frame height down), zoom (percent: 100 shows the picture fitted into the frame,
// 200 twice as large) and rotation (degrees, clockwise), each about the frame's centre.
// Frame 0 shows the start position, frame nFrames - 1 the end position; in between, the part of
// the picture the frame shows (its centre, size and turn) moves in equal steps. Positions are
// kept to 1/65536 of a source pixel, so a slow motion advances by sub-pixel steps without
// jumping between frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/base/WinTypes.h"

class CxImage;

// The pan-and-zoom work record, 120 bytes. The constructor gives a still, fitted picture.
struct _tagPanZoomWorkParamEx {
  _tagPanZoomWorkParamEx();

  int32_t nSize;           // 120
  int32_t nOption1;        // accepted and not used
  int32_t nOption2;        // accepted and not used
  int32_t nAntiFlicker;    // non-zero: soften lines vertically (1-2-1) against interlace flicker
  int32_t nWidth;          // frame width in pixels
  int32_t nHeight;         // frame height in pixels
  int32_t nFrames;         // frames the motion spans
  COLORREF clrBackground;  // around the picture
  int32_t nReserved1[2];
  double fStartPanX;  // percent, -100 .. 100
  double fStartPanY;
  double fStartZoom;    // percent, 20 .. 500
  double fStartRotate;  // degrees, -360 .. 360
  double fEndPanX;
  double fEndPanY;
  double fEndZoom;
  double fEndRotate;
  CxImage* pSrcImage;  // the picture; not owned
  int32_t nReserved2[2];
};
static_assert(sizeof(_tagPanZoomWorkParamEx) == 120);
static_assert(offsetof(_tagPanZoomWorkParamEx, nOption1) == 4);
static_assert(offsetof(_tagPanZoomWorkParamEx, nOption2) == 8);
static_assert(offsetof(_tagPanZoomWorkParamEx, nAntiFlicker) == 12);
static_assert(offsetof(_tagPanZoomWorkParamEx, nWidth) == 16);
static_assert(offsetof(_tagPanZoomWorkParamEx, nHeight) == 20);
static_assert(offsetof(_tagPanZoomWorkParamEx, nFrames) == 24);
static_assert(offsetof(_tagPanZoomWorkParamEx, clrBackground) == 28);
static_assert(offsetof(_tagPanZoomWorkParamEx, fStartPanX) == 40);
static_assert(offsetof(_tagPanZoomWorkParamEx, fStartPanY) == 48);
static_assert(offsetof(_tagPanZoomWorkParamEx, fStartZoom) == 56);
static_assert(offsetof(_tagPanZoomWorkParamEx, fStartRotate) == 64);
static_assert(offsetof(_tagPanZoomWorkParamEx, fEndPanX) == 72);
static_assert(offsetof(_tagPanZoomWorkParamEx, fEndPanY) == 80);
static_assert(offsetof(_tagPanZoomWorkParamEx, fEndZoom) == 88);
static_assert(offsetof(_tagPanZoomWorkParamEx, fEndRotate) == 96);
static_assert(offsetof(_tagPanZoomWorkParamEx, pSrcImage) == 104);

// A named motion.
struct _tagPanZoomType_Preset {
  int32_t nIndex;
  char szName[60];  // display name
  double fStartPanX, fStartPanY, fStartZoom, fStartRotate;
  double fEndPanX, fEndPanY, fEndZoom, fEndRotate;
};
static_assert(offsetof(_tagPanZoomType_Preset, szName) == 4);

// What happens after the end of a motion, for the whole process. With bounce enabled (the
// default) a picture shown longer than its motion spans keeps moving: the motion runs back to
// its start and forth again. Without it, the picture holds its end position. Frames within the
// span are the same either way.
class CZoomPan {
 public:
  static void EnableBounce(BOOL enable);
  static BOOL IsBounceEnabled();
};

// The engine interface (virtual operations in this order) and the presets.
class CPanZoomEx {
 public:
  CPanZoomEx() = default;
  CPanZoomEx(const CPanZoomEx&) = delete;
  CPanZoomEx& operator=(const CPanZoomEx&) = delete;

  virtual ~CPanZoomEx() = default;
  // Takes the record for the following frames (the picture is read when frames are made and
  // must not change meanwhile). FALSE when it gives no frame size or picture.
  virtual BOOL SetPanZoomExWorkParam(const _tagPanZoomWorkParamEx& param) = 0;
  // Makes a frame and draws it into (0, 0, width, height) of the DC, stretched when the sizes
  // differ.
  virtual BOOL StepIt(int frame, HDC dc, int width, int height) = 0;
  // Makes a frame and draws it at the DC's origin at the frame size.
  virtual BOOL StepIt(int frame, HDC dc) = 0;
  // The last frame made, or null.
  virtual CxImage* StepIt() = 0;
  // Makes a frame: a picture of the frame size owned by the engine and valid until its next
  // frame. Null without a usable record; an empty picture gives frames of the background.
  virtual CxImage* StepIt(int frame) = 0;
  // TRUE when the frame picture exists at the record's frame size.
  virtual BOOL VerifyOutputXImageValid() = 0;
  // (Re)creates the frame picture at the record's frame size; only 24 bits per pixel.
  virtual BOOL CreateOutputXImage(int bitsPerPixel) = 0;

  // Presets: index 0 is the still picture; the others move.
  static int GetPanZoomType_PresetCount();
  // Null for an index out of range.
  static const _tagPanZoomType_Preset* GetPanZoomType_Preset(int index);
  // Writes the preset's start and end positions into the record (nothing else); FALSE and
  // nothing written for an index out of range.
  static BOOL GetPanZoomType_PresetValue(int index, _tagPanZoomWorkParamEx& param);
  // Takes any index modulo the preset count; `used` receives the preset applied.
  static BOOL GetPanZoomType_PresetValue(int index, int& used, _tagPanZoomWorkParamEx& param);
  // One of the moving presets, chosen with rand() (so the caller's srand decides); `index`
  // receives it.
  static BOOL GetRandomPanZoom_PresetValue(int& index, _tagPanZoomWorkParamEx& param);
};

// The engine: frame timing, the frame picture and drawing. The pixels come from RenderFrame.
class CPanZoomExGDIPlus : public CPanZoomEx {
 public:
  CPanZoomExGDIPlus();
  ~CPanZoomExGDIPlus() override;

  BOOL SetPanZoomExWorkParam(const _tagPanZoomWorkParamEx& param) override;
  BOOL StepIt(int frame, HDC dc, int width, int height) override;
  BOOL StepIt(int frame, HDC dc) override;
  CxImage* StepIt() override;
  CxImage* StepIt(int frame) override;
  BOOL VerifyOutputXImageValid() override;
  BOOL CreateOutputXImage(int bitsPerPixel) override;

  // The motion's position at a frame, 0 (start) .. 1 (end), after bounce or hold.
  double MotionPosition(int frame) const;

 protected:
  // Draws the picture at motion position t (0..1) into `out`, the frame picture.
  virtual void RenderFrame(double t, CxImage& out) = 0;
  const _tagPanZoomWorkParamEx& Param() const { return m_param; }

 private:
  _tagPanZoomWorkParamEx m_param;
  std::unique_ptr<CxImage> m_output;
  CxImage* m_current = nullptr;  // m_output once a frame was made
};

// The engine the program uses: fixed-point bilinear sampling of whole rows.
class CPanZoomExIPP : public CPanZoomExGDIPlus {
 public:
  CPanZoomExIPP();
  ~CPanZoomExIPP() override;

 protected:
  void RenderFrame(double t, CxImage& out) override;

 private:
  struct Reduced;  // a smaller copy for motions that show the picture small
  std::unique_ptr<Reduced> m_reduced;
};
