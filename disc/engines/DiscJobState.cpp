#include "disc/engines/DiscJobState.h"

#include <cstring>

#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/user/Message.h"

HANDLE g_hEncodeCancelEvent = nullptr;
HANDLE g_hEncodeDoneEvents[4] = {};
int g_bEncodeCancelled = 0;
int g_nEncodeWaitEvents = 0;
HWND g_hEncodeNotifyWnd = nullptr;
unsigned g_nTotalFrames = 0;
unsigned g_nDoneFrames = 0;
unsigned g_nTaskFrames = 0;
unsigned g_nLastFrame = 0;
CBurnEngine* g_pBurnEngine = nullptr;
int g_bSimulateBurn = 0;

CBurnEngine* g_pActiveBurnEngine = nullptr;
int g_bNeroEngineInUse = 0;
HANDLE g_hVideoCDStopEvent = nullptr;

bool SetJobPath(char (&field)[260], const char* path) {
  const size_t length = path ? std::strlen(path) : 0;
  if (!path || length >= sizeof(field)) {
    field[0] = '\0';
    return false;
  }
  std::memcpy(field, path, length + 1);
  return true;
}

int CancelEncodeWorker() {
  g_bEncodeCancelled = 1;
  if (g_hEncodeCancelEvent) SetEvent(g_hEncodeCancelEvent);
  if (g_nEncodeWaitEvents) WaitEventsPumpMessages(g_nEncodeWaitEvents, g_hEncodeDoneEvents);
  return 1;
}

int WaitEventsPumpMessages(int n, HANDLE* events) {
  const DWORD count = n > 0 ? static_cast<DWORD>(n) : 0;
  for (;;) {
    MSG msg;
    bool allSet = false;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessage(&msg);
      if (count == 0 || WaitForMultipleObjects(count, events, TRUE, 0) == WAIT_OBJECT_0) {
        allSet = true;
        break;
      }
    }
    if (allSet || count == 0 || WaitForMultipleObjects(count, events, TRUE, 200) == WAIT_OBJECT_0) break;
  }
  const bool cancelled =
      g_bEncodeCancelled ||
      (g_hEncodeCancelEvent && WaitForSingleObject(g_hEncodeCancelEvent, 0) == WAIT_OBJECT_0);
  return cancelled ? 0 : 1;
}
