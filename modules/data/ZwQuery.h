// Removing files that may still be open elsewhere. On this system an open file never keeps its
// name from being removed, so there are no handles to close first.
#pragma once

#include "platform/base/WinTypes.h"

class CZwQuery {
 public:
  // Deletes the file; the flag is accepted and not used. TRUE when the file is gone (also when it
  // did not exist).
  static BOOL DeleteFileFromFileName(LPCTSTR path, int flag);
  // Nothing to close; TRUE.
  static BOOL CloseFileHandleFromFileName(LPCTSTR path);
};
