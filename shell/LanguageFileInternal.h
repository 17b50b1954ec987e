// Reading the current language file, shared by the lookups and the translators.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace langfile {
// The key's value as the file holds it ("" when missing), cut to 8191 bytes.
std::string ReadRaw(LPCTSTR lpszSection, LPCTSTR lpszKey);
// The two characters \n become a line break, and with `tabs` the two characters \t a tab.
void TurnEscapes(std::string& text, bool tabs);
}  // namespace langfile
