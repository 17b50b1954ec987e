#include "platform/base/Debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/base/Object.h"
#include "platform/base/StringFormat.h"

CDumpContext afxDump;

namespace pictavo::debug {

void AssertFailed(const char* file, int line, const char* expression) {
  std::fprintf(stderr, "%s:%d: assertion failed: %s\n", file, line, expression);
  std::abort();
}

void Trace(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  std::fputs(text.c_str(), stderr);
}

void AssertValidObject(const CObject* object, const char* file, int line) {
  if (object == nullptr) AssertFailed(file, line, "object != NULL");
  object->AssertValid();
}

}  // namespace pictavo::debug
