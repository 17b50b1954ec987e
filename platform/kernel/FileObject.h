// A kernel object over a POSIX file descriptor: files, pipe ends, mappings' backing files.
#pragma once

#include <unistd.h>

#include "platform/kernel/KernelObject.h"

namespace pictavo::kernel {

class FileObject : public KernelObject {
 public:
  explicit FileObject(int fd) : m_fd(fd) {}
  ~FileObject() override {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  int Fd() const { return m_fd; }

 protected:
  int m_fd;
};

}  // namespace pictavo::kernel
