// The records the music decoder and player (CDSTLAudio) are started with. They live in memory
// only; handles and pointers have the platform's width.
#pragma once

#include <cstdint>

#include "platform/base/WinTypes.h"

class CDVDAlbumImage;
class CStringArray;

// Decodes a photo album's music into a pipe as signed 16-bit little-endian PCM.
struct _DSTLAUDIO_DECODE_IMAGEALBUM_PARAM {
  CDVDAlbumImage* pAlbum;
  HWND hNotifyWnd;
  HANDLE hCancelEvent;
  HANDLE hDoneEvent;   // set when the decoder ends, cancelled or not
  int32_t nReserved1;  // 0
  HANDLE hPipe;
  int32_t nSampleRate;
  uint32_t dwMusicLength;  // milliseconds to produce (CDVDAlbumImage::GetEncodeMusicLength)
  int32_t nChannels;
  int32_t nReserved2;  // 1
  int32_t nReserved3;  // 1
};

// Plays a photo album's music from a position; WM_MUSIC_PLAY_END goes to hNotifyWnd at the end.
struct _DSTLAUDIO_PLAY_IMAGEALBUM_PARAM {
  CDVDAlbumImage* pAlbum;
  HWND hNotifyWnd;
  HANDLE hStopEvent;
  HANDLE hDoneEvent;
  uint32_t dwStartPos;  // milliseconds
  int32_t nReserved;    // 0
};

// Plays a list of music files one after the other.
struct _DSTLAUDIO_PLAY_FILES_PARAM {
  CStringArray* pFiles;
  HWND hNotifyWnd;
  HANDLE hStopEvent;
  HANDLE hDoneEvent;
  uint32_t dwStartPos;
  int32_t nReserved;
};

// Sent to the window of a play record when its music has ended.
#define WM_MUSIC_PLAY_END 0x0A30
