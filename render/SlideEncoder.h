// CSlideEncoder: renders one photo album into video frames at the project frame rate and writes
// them through the frame writer (CYUVLib) to a handle the caller opened: for the video-file
// output, the server end of the YUV pipe that ffmpeg reads. The frames are the album's titles,
// then every slide (its transition, then its pan and zoom, under the album's theme), then the
// credits. An album without photos shows 15 seconds of a picture saying so.
//
// Every second of the album gives exactly fps frames, so the video is exactly as long as the
// sound the music decoder writes for it: a photo that cannot be read shows a placeholder, and a
// frame an effect cannot make repeats the background; nothing is left out.
//
// The caller constructs the encoder, sets the sizes, calls Start once and waits for the done
// event; only then may it destroy the encoder. Setting the cancel event stops the run within a
// frame. The thread reads the album while it runs; nothing may change it meanwhile.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "modules/effects/PanZoom.h"
#include "modules/effects/Transition.h"
#include "modules/image/CxImage.h"
#include "modules/yuv/YUVLib.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/WinTypes.h"
#include "platform/user/Message.h"

class CDVDAlbumImage;
struct _PROJECT_OPTIONS_DATA;
namespace pictavo::render {
struct SlideFrameJob;
struct SlidePlanRules;
}  // namespace pictavo::render

// Posted to the progress window: wParam frames of the slides done, lParam frames of the slides
// in all.
#define WM_SLIDE_ENCODE_PROGRESS (WM_USER + 1321)

// The start record of CSlideEncoder::Start.
struct _tagSlideEncodeParam {
  CDVDAlbumImage* pAlbum;
  HWND hProgressWnd;    // may be null
  HANDLE hCancelEvent;  // manual reset, the caller's; signalled means stop
  HANDLE hDoneEvent;    // manual reset, the caller's; set when the run has ended; may be null
  HANDLE hOutput;       // written by the frame writer; closed by the run when it ends
  int32_t nReserved;    // 0
  int32_t nMode;        // the project's output type
  BOOL bFlush;          // flush and disconnect the pipe before closing it
};

class CSlideEncoder {
 public:
  // The flag goes to the frame writer.
  explicit CSlideEncoder(int nSinkFlag);
  virtual ~CSlideEncoder();
  CSlideEncoder(const CSlideEncoder&) = delete;
  CSlideEncoder& operator=(const CSlideEncoder&) = delete;

  // The size of the frames the writer puts out; the TV value (1 PAL, 0 NTSC) is used in the
  // DVD and Super-Video-CD modes.
  void SetOutputSize(int nWidth, int nHeight, int nTVValue, int nReserved);
  // The size the photos are loaded at.
  void SetRenderSize(int nWidth, int nHeight);
  // A display for a status view; the frame threads do not use it. Returns 1.
  BOOL SetDrawTarget(HWND hWnd, HDC hDC, const RECT* pRect);
  // Frames of the slides made so far, and the milliseconds the slides took (up to now while
  // they are made).
  void GetProgress(int* pFrames, int* pMilliseconds) const;

  // Starts the run on a thread of its own and returns at once: full-motion video, or one still
  // frame per slide in the Video-CD mode. From here on the output handle is the run's. FALSE
  // when the thread cannot start; the handle is then closed and the done event set.
  BOOL Start(const _tagSlideEncodeParam& param);
  // How the run ended: NO_ERROR, ERROR_OPERATION_ABORTED when it was cancelled, or the frame
  // writer's error (ERROR_NO_DATA: the reader went away). ERROR_IO_PENDING while it runs.
  DWORD GetResult() const { return m_dwResult.load(); }
  // Frames the run wrote.
  DWORD GetFramesWritten() const { return m_dwFramesWritten.load(); }

  // The frames' size: the output size, cut by the crop ratio in the DVD and Super-Video-CD modes
  // when the options ask for it, the width then brought down to a multiple of 4 (frames never
  // get wider than the output).
  static SIZE CalcFrameSize(int nMode, int nOutputWidth, int nOutputHeight,
                            const _PROJECT_OPTIONS_DATA& options);

 private:
  static UINT EncodeSlideshowThread(LPVOID pParam);
  static UINT EncodeStillSlidesThread(LPVOID pParam);
  UINT RunSlideshow();
  UINT RunStillSlides();

  // Shared steps of both runs.
  bool BeginRun(const char* logFormat);
  void RenderTextFrames(bool credits);
  void FinishRun(bool slidesCompleted, WPARAM finalFrames);
  bool Cancelled() const;
  // Writes a frame of the frame size; false once the writer has failed (the run then ends).
  bool Append(CxImage* frame);
  bool AppendBits(const BYTE* bits);
  void PostProgress(WPARAM done, LPARAM expected) const;
  void PlanSlides(pictavo::render::SlideFrameJob& job);
  pictavo::render::SlidePlanRules PlanRules() const;
  // A pan-and-zoom record of the frame size with the slide's motion over `frames` frames.
  _tagPanZoomWorkParamEx MakePanZoom(int index, int frames, bool applySlide) const;

  // What Start and the setters store.
  CDVDAlbumImage* m_pAlbum = nullptr;
  HWND m_hProgressWnd = nullptr;
  HANDLE m_hCancelEvent = nullptr;
  HANDLE m_hDoneEvent = nullptr;
  HANDLE m_hOutput = nullptr;
  int m_nOutputWidth = 720;
  int m_nOutputHeight = 480;
  int m_nRenderWidth = 640;
  int m_nRenderHeight = 480;
  // The slides' frames are made by SlideFramePipeline, whose workers each hold their own pair of
  // pan-and-zoom engines and transition; the still mode uses this one with picture 1.
  std::unique_ptr<CPanZoomEx> m_pPanZoomA;
  CxImage m_picture1;
  std::vector<TransitionEntryFactory> m_arrFactories;
  CYUVLib m_sink;
  std::atomic<int> m_nFrameCounter{0};
  HWND m_hDrawWnd = nullptr;
  HDC m_hDrawDC = nullptr;
  RECT m_rcDraw{};
  std::atomic<DWORD> m_dwStartTick{0};
  std::atomic<DWORD> m_dwEndTick{0};
  int m_nTVValue = 0;
  int m_nReserved = 0;
  int m_nMode = 0;
  BOOL m_bFlush = FALSE;

  // The run's own (its thread only, between Start and the done event).
  CxImage m_background;  // a frame of the background colour
  CxImage m_fallback;    // a frame standing in for one an effect could not make
  int m_nFrameWidth = 0;
  int m_nFrameHeight = 0;
  int m_nFps = 25;
  COLORREF m_clrBackground = 0;
  bool m_bSinkReady = false;
  HANDLE m_hThread = nullptr;
  std::atomic<DWORD> m_dwResult{ERROR_IO_PENDING};
  std::atomic<DWORD> m_dwFramesWritten{0};
};
