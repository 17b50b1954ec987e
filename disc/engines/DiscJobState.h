// State shared by the disc workers, their progress dialogs, the burn page and the image sink, and
// the two waits they all use.
#pragma once

#include "platform/base/WinTypes.h"

class CBurnEngine;

extern HANDLE g_hEncodeCancelEvent;
extern HANDLE g_hEncodeDoneEvents[4];
extern int g_bEncodeCancelled;
extern int g_nEncodeWaitEvents;
extern HWND g_hEncodeNotifyWnd;
extern unsigned g_nTotalFrames;
extern unsigned g_nDoneFrames;
extern unsigned g_nTaskFrames;
extern unsigned g_nLastFrame;
extern CBurnEngine* g_pBurnEngine;
extern int g_bSimulateBurn;

extern CBurnEngine* g_pActiveBurnEngine;
extern int g_bNeroEngineInUse;
extern HANDLE g_hVideoCDStopEvent;

// One Video-CD or Super-Video-CD run: allocated zero-filled by the burn page, read by the
// worker, the image builders and the image sink.
struct VideoCDJob {
  HWND window;
  unsigned int totalSectors;
  HANDLE stopEvent;
  int albumsPerMenuPage;
  int albumCount;
  char cuePath[260];
  char binPath[260];
  int neroFlag;
};

// Copies `path` into a job record's 260-byte path field; false (field left empty) when the path
// does not fit, so that a long path is refused instead of cut into another file's name.
bool SetJobPath(char (&field)[260], const char* path);

// Flags the job cancelled, signals the cancel event and, when done events are to be waited for,
// waits for them while dispatching the calling thread's messages. Returns 1.
int CancelEncodeWorker();
// Waits until all `n` events are signalled, dispatching the calling thread's messages meanwhile.
// 0 when the job was cancelled by then, else 1.
int WaitEventsPumpMessages(int n, HANDLE* events);
