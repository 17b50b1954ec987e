// The output page's arithmetic and checks, kept apart from its windows: where the embedded page
// sits, which folder the shell opens after an output, whether the output folder can take the
// video files, and how an edited option value is taken into a profile.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

struct _AV_OUTPUT_OPTION;

namespace output_page {

// Where the container puts the output page: centred, raised by 20 when it would sit lower than
// that, never above the top; x is not clamped.
// (page 100 lower than the client) -> y 30; (30 lower) -> y 15; (page taller) -> y 0.
POINT EmbeddedPagePos(SIZE client, SIZE page);

// The folder opened after a successful output: for the Blu-ray output "<temp>/Bluray_Folder/",
// else the output folder with a separator, then the active group's folder (when there is a
// group) with a separator. ("/v", "MP4", type 5) -> "/v/MP4/"; ("/v/", "", no group) -> "/v/".
CString OutputFolderOf(int nOutputType, LPCTSTR lpszTempPath, LPCTSTR lpszOutputPath,
                       LPCTSTR lpszGroupFolder);

// Whether video files can be written below `lpszFolder`: it is made with its parents and a
// scratch file is created and removed in it. "" when it can, else why not in the user's words
// ("Permission denied", "A file of that name is in the way", ...).
CString OutputFolderProblem(LPCTSTR lpszFolder);

// Takes an edited value into an option: a text that differs from the current value other than
// in letter case becomes the value, trimmed of blanks on both sides and cut to the option's
// maximum length (whole characters) when it has one. TRUE when the value changed.
// ("1200 " over "800", max 0) -> "1200"; ("LIBX264" over "libx264") -> unchanged.
BOOL TakeOptionText(_AV_OUTPUT_OPTION& option, const CString& strText);

}  // namespace output_page
