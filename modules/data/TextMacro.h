// Text macros: tokens in a text object or subtitle that stand for facts of the slide ("$[F]" the
// file name ...), expanded when the text is shown.
#pragma once

#include "platform/base/CString.h"

class CDVDImage;
class CxImage;

class CTextMacro {
 public:
  // The token of macro 0..8: $[F] file name with extension, $[f] file name only, $[e] extension
  // only, $[t] file or photo date, $[T] current date, $[P] number of slides, $[p] slide number,
  // $[o] folder name, $[D] full path. "" for any other index.
  static CString GetMacroString(int index);
  static constexpr int kMacroCount = 9;

  void Put_pDVDImage(CDVDImage* image) { m_pImage = image; }
  void Put_pXImage(CxImage* picture) { m_pXImage = picture; }
  void Put_nSlideCount(int count) { m_nSlideCount = count; }
  void Put_nSlideIndex(int index) { m_nSlideIndex = index; }  // 0-based; shown 1-based

  // The text with every token replaced; a token whose fact is unknown (no slide) becomes "".
  CString ConvertNormalOutput(LPCTSTR text) const;

 private:
  CDVDImage* m_pImage = nullptr;
  CxImage* m_pXImage = nullptr;
  int m_nSlideCount = 0;
  int m_nSlideIndex = 0;
};
