// What the name edit of the file dialogs holds and what the dialogs hand back: typed names, the
// default extension, and the chosen files written into the caller's record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/comdlg/CommDlg.h"

namespace pictavo::comdlg {

// The names in the edit: one name (quotes around it dropped), or several, each in double quotes
// ("a.jpg" "b.jpg"). An unclosed quote runs to the end. Blank text gives none.
std::vector<std::string> SplitTypedNames(std::string_view text);
// How the edit shows a selection: one name as it is, several each in quotes.
std::string JoinTypedNames(const std::vector<std::string>& names);

// The default extension without the "*." or "." written before it ("*.iso" -> "iso").
std::string DefaultExtension(LPCSTR defExt);
// True when the name (without folder) has a dot: "notes." has an empty extension and keeps it.
bool HasExtension(std::string_view name);

struct Choice {
  std::string folder;              // absolute
  std::vector<std::string> names;  // one or more, without folder
};

// Writes the choice into lpstrFile (one path, or the multiple-selection form the flags ask for),
// lpstrFileTitle, nFileOffset, nFileExtension and OFN_EXTENSIONDIFFERENT. Returns 0, or
// FNERR_BUFFERTOOSMALL with the size needed in lpstrFile's first two bytes, or
// FNERR_INVALIDFILENAME for a name with a blank in the form without OFN_EXPLORER (where blanks
// separate the names).
DWORD WriteChoice(OPENFILENAMEA& ofn, const Choice& choice);

}  // namespace pictavo::comdlg
