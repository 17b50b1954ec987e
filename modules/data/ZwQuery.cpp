#include "modules/data/ZwQuery.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"

BOOL CZwQuery::DeleteFileFromFileName(LPCTSTR path, int) {
  if (path == nullptr || *path == '\0') return FALSE;
  if (std::remove(pictavo::path::ToNative(path).c_str()) == 0 || errno == ENOENT) return TRUE;
  return pictavo::FailWithErrno();
}

BOOL CZwQuery::CloseFileHandleFromFileName(LPCTSTR) {
  return TRUE;
}
