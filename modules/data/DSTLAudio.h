// The music of a photo album: decoded into a pipe as PCM for the video encoder (StartDecode),
// or played through the audio output for the preview (StartPlay). Both render the same track
// (MusicMix.h): the album's music entries with their trims, start positions, fades and looping,
// the slides' sound annotations, silence where nothing plays.
//
// One object decodes one track at a time and plays one at a time; each runs on a thread of its
// own and reports through the caller's events. The album is read when a call starts, on the
// calling thread; the threads never touch it.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "modules/data/AudioParams.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/WinTypes.h"

namespace pictavo::data {
class MusicPlayback;
class MusicRenderer;
}  // namespace pictavo::data

class CDSTLAudio {
 public:
  CDSTLAudio();
  // Stops playing and decoding (a decode ends as if cancelled) and waits for both threads.
  virtual ~CDSTLAudio();
  CDSTLAudio(const CDSTLAudio&) = delete;
  CDSTLAudio& operator=(const CDSTLAudio&) = delete;

  // Writes dwMusicLength milliseconds of the album's track to hPipe with WriteFile: signed 16-bit
  // little-endian samples, nSampleRate frames per second, nChannels (1 or 2) interleaved. That is
  // exactly FramesForLength(dwMusicLength ms, rate) = round(dwMusicLength x rate / 1000) frames,
  // halves up; for the whole seconds an album lasts, seconds x rate frames, as long as the
  // seconds x fps frames of its pictures. The first byte is the track's time 0: nothing must be
  // written into the pipe before it, or the sound would lag the pictures.
  //
  // From this call on the pipe handle is the decoder's: it is closed when the decode ends, so the
  // reader sees the end of the stream, and the done event is set after that, on every way out
  // (finished, cancelled, the reader gone, a refused start). Setting hCancelEvent ends the decode
  // promptly, also while a write waits for a reader that does not read. A write that fails (the
  // reader died) ends the decode at once. GetDecodeResult tells how it ended. FALSE, with the
  // last error, when the decode could not start: a null record, album or pipe, a rate outside
  // 8000..192000, a channel count other than 1 or 2, or a decode of this object still running.
  BOOL StartDecode(const _DSTLAUDIO_DECODE_IMAGEALBUM_PARAM* param);
  BOOL StartDecode(const _DSTLAUDIO_DECODE_IMAGEALBUM_PARAM& param) { return StartDecode(&param); }
  // NO_ERROR after a finished decode, ERROR_IO_PENDING while one runs, ERROR_OPERATION_ABORTED after a
  // cancel, the write's error (ERROR_NO_DATA: the reader is gone) after a failed write, or the
  // refusal's error.
  DWORD GetDecodeResult() const { return m_decodeResult.load(); }

  // Plays the album's track from dwStartPos milliseconds to its end: the end of the video
  // (titles, slides, credits) or, earlier, the end of the last music that plays. At that natural
  // end WM_MUSIC_PLAY_END (0, 0) is posted to hNotifyWnd. Setting hStopEvent stops playing
  // without the message. hDoneEvent is set once playing has ended either way. Playing that is
  // still going on when this is called again is stopped first. Plays at 44100 Hz, stereo.
  BOOL StartPlay(const _DSTLAUDIO_PLAY_IMAGEALBUM_PARAM* param);
  // The same for a list of files played whole, one after the other, from dwStartPos
  // milliseconds into the list; files without readable sound are skipped.
  BOOL StartPlay(const _DSTLAUDIO_PLAY_FILES_PARAM* param);
  // Stops playing (the done event is set) and waits until the player has closed the output.
  void StopPlay();
  BOOL IsPlaying() const;

  // The length of a music or video file's sound in milliseconds, 0 when the file has no sound
  // that can be read.
  static DWORD GetMediaFileDuration(LPCTSTR path);
  static BOOL GetMediaFileDuration(LPCTSTR path, DWORD& milliseconds);

 private:
  void JoinDecode();
  void Play(std::unique_ptr<pictavo::data::MusicRenderer> renderer, DWORD startMs, HWND notify, HANDLE stop,
            HANDLE done);

  std::thread m_decodeThread;
  HANDLE m_decodeQuit = nullptr;  // set by the destructor: ends a decode like a cancel
  std::atomic<DWORD> m_decodeResult{NO_ERROR};
  std::atomic<bool> m_decoding{false};
  std::unique_ptr<pictavo::data::MusicPlayback> m_playback;  // the calling thread only
};
