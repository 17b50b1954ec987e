// CMemFile: a file in a memory block. The block is allocated with malloc, so a detached block
// is released with free(). A file made on a caller's block with nGrowBytes 0 has that block's
// size as its length and cannot grow; writing past it throws CMemoryException.
#pragma once

#include "platform/base/File.h"

class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)

 public:
  explicit CMemFile(UINT nGrowBytes = 1024);
  CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  ~CMemFile() override;

  // Uses the caller's block: with nGrowBytes 0 its content is the file, otherwise it is empty
  // room that grows with realloc (so it must come from malloc). The caller keeps ownership.
  void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  // Hands the block to the caller (free() it) and leaves the file empty.
  BYTE* Detach();

  BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override { return m_nPosition; }
  ULONGLONG GetLength() const override { return m_nFileSize; }
  void SetLength(ULONGLONG dwNewLen) override;
  void Flush() override {}
  void Close() override;
  void Abort() override { Close(); }

 private:
  void GrowFile(SIZE_T dwNewLen);
  void FreeBlock();

  BYTE* m_lpBuffer = nullptr;
  SIZE_T m_nBufferSize = 0;
  SIZE_T m_nFileSize = 0;
  SIZE_T m_nPosition = 0;
  UINT m_nGrowBytes;
  BOOL m_bAutoDelete = TRUE;  // the block is ours to free
};
