#include "platform/base/MemFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {
  Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
  FreeBlock();
}

void CMemFile::FreeBlock() {
  if (m_bAutoDelete) std::free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  m_bAutoDelete = TRUE;  // a block allocated from now on is ours
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
  FreeBlock();
  m_lpBuffer = lpBuffer;
  m_nBufferSize = lpBuffer != nullptr ? nBufferSize : 0;
  m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
  m_nPosition = 0;
  m_nGrowBytes = nGrowBytes;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* block = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  m_bAutoDelete = TRUE;
  return block;
}

BOOL CMemFile::Open(LPCTSTR, UINT, CFileException* pError) {
  if (pError != nullptr) pError->m_cause = CFileException::genericException;
  return FALSE;  // a memory file has no name to open
}

void CMemFile::GrowFile(SIZE_T dwNewLen) {
  if (dwNewLen <= m_nBufferSize) return;
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  // Whole steps of nGrowBytes, at least doubling so that long writes stay linear.
  SIZE_T newSize = m_nBufferSize;
  while (newSize < dwNewLen) newSize += m_nGrowBytes;
  if (newSize < m_nBufferSize * 2) newSize = m_nBufferSize * 2;
  auto* block = static_cast<BYTE*>(std::realloc(m_lpBuffer, newSize));
  if (block == nullptr) AfxThrowMemoryException();
  m_lpBuffer = block;
  m_nBufferSize = newSize;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  if (m_nPosition >= m_nFileSize || nCount == 0) return 0;
  const SIZE_T n = std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition);
  std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
  m_nPosition += n;
  return static_cast<UINT>(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  const SIZE_T end = m_nPosition + nCount;
  GrowFile(end);
  if (m_nPosition > m_nFileSize)  // a write after a seek past the end: the gap reads as zeros
    std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
  m_nPosition = end;
  if (end > m_nFileSize) m_nFileSize = end;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
  LONGLONG base = 0;
  if (nFrom == current) base = static_cast<LONGLONG>(m_nPosition);
  if (nFrom == end) base = static_cast<LONGLONG>(m_nFileSize);
  const LONGLONG pos = base + lOff;
  if (pos < 0) AfxThrowFileException(CFileException::badSeek);
  m_nPosition = static_cast<SIZE_T>(pos);
  return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
  if (dwNewLen > m_nBufferSize) GrowFile(static_cast<SIZE_T>(dwNewLen));
  if (dwNewLen > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, dwNewLen - m_nFileSize);
  m_nFileSize = static_cast<SIZE_T>(dwNewLen);
  if (m_nPosition > m_nFileSize) m_nPosition = m_nFileSize;
}

void CMemFile::Close() {
  FreeBlock();
}
