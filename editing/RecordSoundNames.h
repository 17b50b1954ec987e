// The record dialog's file names and time text, kept apart from the window. Folders end with a
// separator; `\` and `/` both split a path.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

namespace record_names {

// The temporary base folder's "Audio" folder: "/tmp/p" -> "/tmp/p/Audio/".
CString AudioFolder(const CString& tempBase);
// Where recordings go first: the saved folder, else the temporary base's Audio folder; always
// with a trailing separator.
CString DefaultFolder(const CString& saved, const CString& tempBase);
// The first of record_00001.wav, record_00002.wav ... that does not exist in the folder.
CString AutomaticName(const CString& folder);
// Whether the name ends in ".wav", without regard to case ("a.WAV" yes, "voicewav" no).
bool HasWavEnding(const CString& name);

// What a typed output name stands for: the folder (made of what precedes the last separator,
// the temporary base's Audio folder when nothing does, illegal path characters replaced) and the
// file in it (the name with ".wav" added unless it ends so, illegal characters replaced; the
// folder's automatic name when the name is empty). Spaces around the text are ignored.
struct Output {
  CString folder;
  CString path;  // empty when the name was empty: the caller picks the automatic name
};
Output Resolve(const CString& typed, const CString& tempBase);

// "%02d:%02d:%02d.%03d": 3,723,004 ms -> "01:02:03.004".
CString FormatTime(DWORD elapsedMs);
// Milliseconds from `start` to `now` of a tick count that wraps after 49.7 days.
DWORD Elapsed(DWORD start, DWORD now);

}  // namespace record_names
