#include "platform/comdlg/ExtendedError.h"

#include "platform/comdlg/CommDlg.h"

namespace {
thread_local DWORD t_lastError = 0;  // the calling thread's own
}

namespace pictavo::comdlg {

void SetExtendedError(DWORD code) {
  t_lastError = code;
}

}  // namespace pictavo::comdlg

DWORD CommDlgExtendedError() {
  return t_lastError;
}
