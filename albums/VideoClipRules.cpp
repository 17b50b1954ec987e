#include "albums/VideoClipRules.h"

#include <string>

#include "platform/kernel/Path.h"

CString ClipNumberText(int nNumber) {
  CString text;
  text.Format("%04d", nNumber);
  return text;
}

CString ClipSizeText(uint64_t nBytes) {
  const std::string digits = std::to_string((nBytes / 1024) + (nBytes % 1024 != 0 ? 1 : 0));
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return CString((grouped + " KB").c_str());
}

CString ClipTimeText(DWORD nMilliseconds) {
  const DWORD seconds = nMilliseconds / 1000;
  CString text;
  text.Format("%02d:%02d:%02d", static_cast<int>(nMilliseconds / 3600000), static_cast<int>(seconds % 3600 / 60),
              static_cast<int>(seconds % 60));
  return text;
}

CString ClipDurationText(DWORD nStart, DWORD nEnd) {
  return ClipTimeText(nEnd > nStart ? nEnd - nStart : 0);
}

CString ClipResolutionText(int nWidth, int nHeight, BOOL bTVSystem) {
  CString text;
  if (bTVSystem && nHeight == 576)
    text.Format("%d x %d (PAL)", nWidth, nHeight);
  else if (bTVSystem && nHeight == 480)
    text.Format("%d x %d (NTSC)", nWidth, nHeight);
  else
    text.Format("%d x %d", nWidth, nHeight);
  return text;
}

CString ClipRangeText(DWORD nStart, DWORD nEnd) {
  return ClipTimeText(nStart) + " ->  " + ClipTimeText(nEnd);
}

CString VideoFileDisplayName(LPCTSTR lpszPath) {
  CString name;
  SplitClipPath(lpszPath, &name, nullptr);
  return name;
}

void SplitClipPath(LPCTSTR lpszPath, CString* pName, CString* pFolder) {
  const std::string path = lpszPath != nullptr ? lpszPath : "";
  const size_t cut = path.find_last_of("/\\");
  if (pName != nullptr) *pName = CString(cut == std::string::npos ? path.c_str() : path.substr(cut + 1).c_str());
  if (pFolder != nullptr) *pFolder = CString(cut == std::string::npos ? "" : path.substr(0, cut).c_str());
}
