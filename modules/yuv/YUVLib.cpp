#include "modules/yuv/YUVLib.h"

#include <string>

#include "modules/yuv/FrameComposer.h"
#include "modules/yuv/StreamFormat.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Wait.h"

using pictavo::yuv::Fraction;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

bool IsHandle(HANDLE h) {
  return h && h != INVALID_HANDLE_VALUE;
}

}  // namespace

CYUVLib::CYUVLib(int) : m_composer(std::make_unique<pictavo::yuv::FrameComposer>()) {}

CYUVLib::~CYUVLib() = default;

BOOL CYUVLib::InitYUV(HANDLE hOutput, int nWidth, int nHeight, double dblFrameRate, COLORREF clrBackground,
                      int) {
  const std::optional<Fraction> rate = pictavo::yuv::FrameRateFraction(dblFrameRate);
  if (!rate) return Fail(ERROR_INVALID_PARAMETER);
  return Start(hOutput, nWidth, nHeight, rate->num, rate->den, 1, 1, clrBackground);
}

BOOL CYUVLib::InitYUV(HANDLE hOutput, int nWidth, int nHeight, int nTVSystem, COLORREF clrBackground, int) {
  if (nTVSystem != 0 && nTVSystem != 1) return Fail(ERROR_INVALID_PARAMETER);
  const Fraction rate = nTVSystem == 1 ? Fraction{25, 1} : Fraction{30000, 1001};
  const Fraction aspect = pictavo::yuv::PixelAspectOn43Screen(nWidth, nHeight);
  return Start(hOutput, nWidth, nHeight, rate.num, rate.den, aspect.num, aspect.den, clrBackground);
}

BOOL CYUVLib::Start(HANDLE output, int width, int height, int rateNum, int rateDen, int aspectNum,
                    int aspectDen, COLORREF background) {
  m_output = nullptr;
  m_writeError = 0;
  m_frames = 0;
  if (!IsHandle(output)) return Fail(ERROR_INVALID_HANDLE);
  if (const DWORD error = m_composer->Init(width, height, background); error != NO_ERROR) return Fail(error);
  // A reader that goes away must give a write error here, not end the program.
  pictavo::kernel::IgnoreBrokenPipeSignal();
  m_output = output;
  const std::string header =
      pictavo::yuv::StreamHeader({width, height, Fraction{rateNum, rateDen}, Fraction{aspectNum, aspectDen}});
  return WriteAll(reinterpret_cast<const BYTE*>(header.data()), header.size());
}

BOOL CYUVLib::WriteAll(const BYTE* data, size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(m_output, data, chunk, &written, nullptr) || written == 0) {
      const DWORD error = GetLastError();
      m_writeError = error != NO_ERROR ? error : ERROR_WRITE_FAULT;
      return Fail(m_writeError);
    }
    data += written;
    size -= written;
  }
  return TRUE;
}

BOOL CYUVLib::AppendFrame(const BYTE* pBits, int nWidth, int nHeight, int bBottomUp, LPVOID pReserved) {
  if (!m_output) return Fail(ERROR_INVALID_FUNCTION);
  if (m_writeError != 0) return Fail(m_writeError);
  if (!pBits || pReserved || nWidth <= 0 || nHeight <= 0) return Fail(ERROR_INVALID_PARAMETER);
  const size_t stride = (static_cast<size_t>(nWidth) * 3 + 3) & ~static_cast<size_t>(3);
  if (const DWORD error = m_composer->Compose(pBits, nWidth, nHeight, stride, bBottomUp != 0);
      error != NO_ERROR)
    return Fail(error);
  const auto frame = m_composer->FrameBytes();
  if (!WriteAll(frame.data(), frame.size())) return FALSE;
  ++m_frames;
  return TRUE;
}

BOOL CYUVLib::CloseFile() {
  if (!m_output) return Fail(ERROR_INVALID_FUNCTION);
  const HANDLE output = m_output;
  m_output = nullptr;
  return CloseHandle(output);
}
