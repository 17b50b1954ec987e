// CYUVLib: the frame writer of the video outputs. It turns 24-bit pictures into a YUV4MPEG2
// stream (4:2:0, see StreamFormat.h) written with WriteFile to a handle the caller opened: the
// server end of a named pipe that ffmpeg or the MPEG encoder reads, or a file.
//
// Every appended picture becomes exactly one frame of the output size. A picture smaller than the
// output is centred on the background colour; a larger one (frames rounded up to a multiple of 4
// pixels) keeps its middle. A failed write (the reader is gone) is returned to the caller and
// every later call fails with the same error; nothing is retried and the process is not
// signalled. One object is used by one thread at a time.
#pragma once

#include <memory>

#include "platform/base/WinTypes.h"

namespace pictavo::yuv {
class FrameComposer;
}

class CYUVLib {
 public:
  // The flag is accepted for the callers' sake; every stream is YUV4MPEG2.
  explicit CYUVLib(int nFlag = 1);
  virtual ~CYUVLib();
  CYUVLib(const CYUVLib&) = delete;
  CYUVLib& operator=(const CYUVLib&) = delete;

  // Starts a stream of width x height frames at `dblFrameRate` frames per second (29.97 is sent
  // as 30000:1001) with square pixels, and writes its header. The last argument is accepted and
  // not used. Pass the rate as a double: an int goes to the television form below.
  BOOL InitYUV(HANDLE hOutput, int nWidth, int nHeight, double dblFrameRate, COLORREF clrBackground,
               int nReserved);
  // The television form: `nTVSystem` 1 is PAL (25 frames per second), 0 NTSC (30000:1001); the
  // pixels are shaped so the picture fills a 4:3 screen. Any other system value fails with
  // ERROR_INVALID_PARAMETER. The anti-flicker value is accepted and not applied here: the
  // pictures arrive already filtered (pan and zoom takes the same value, stills are smoothed
  // before they are appended).
  BOOL InitYUV(HANDLE hOutput, int nWidth, int nHeight, int nTVSystem, COLORREF clrBackground,
               int nAntiFlicker);

  // Writes one frame from a 24-bit BGR picture whose rows are padded to 4 bytes (the DIB layout
  // of CxImage::GetBits); `bBottomUp` non-zero means the first row in memory is the bottom one.
  // `pReserved` must be NULL. FALSE with the last error set: ERROR_INVALID_FUNCTION before
  // InitYUV, ERROR_INVALID_PARAMETER for a bad picture, the write's error (ERROR_NO_DATA when
  // the reader is gone) otherwise.
  BOOL AppendFrame(const BYTE* pBits, int nWidth, int nHeight, int bBottomUp, LPVOID pReserved);

  // Ends the stream and closes the handle given to InitYUV (until then the handle is the
  // caller's, and the destructor leaves it alone). FALSE when there was no stream.
  BOOL CloseFile();

  // Frames written since InitYUV.
  DWORD GetFrameCount() const { return m_frames; }

 private:
  BOOL Start(HANDLE output, int width, int height, int rateNum, int rateDen, int aspectNum, int aspectDen,
             COLORREF background);
  BOOL WriteAll(const BYTE* data, size_t size);

  std::unique_ptr<pictavo::yuv::FrameComposer> m_composer;
  HANDLE m_output = nullptr;
  DWORD m_writeError = 0;  // the first failed write's error; the stream is unusable after it
  DWORD m_frames = 0;
};
