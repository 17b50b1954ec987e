// Text-effect styles of the effect list file (texteffect/effect_list.xml). Reading a style is here;
// drawing text with a style is not part of this class yet.
#pragma once

#include "modules/data/TextRecords.h"
#include "platform/base/WinTypes.h"

class CXMLParse;

class CPhotoTextEffect {
 public:
  // Reads the style at `path` (an element of a parsed effect list, as "//TEXT_EFFECT/data[@id=\"8\"]")
  // into a zero-filled record. Values the element lacks keep their defaults; FALSE when the
  // element does not exist.
  static BOOL ReadEffectFromXML(CXMLParse& parser, LPCTSTR path, _TextEffect* effect);
};
