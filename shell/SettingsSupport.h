// What the settings sections share: opening a section key, the default music file, the music
// filter and the user's documents folder.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "shell/ARRegistry.h"

namespace settings {

// Opens the section for writing, creating it when it is missing. FALSE when it can be neither
// opened nor created; nothing is to be written then.
BOOL OpenSectionForWrite(CARRegistry& registry, LPCTSTR lpszSection);

// The music file new albums and disc menus start with: the program folder's "music/default.mp3".
CString DefaultMusicPath();

// The entries that are files large enough to be music: at least 307200 bytes for ".wav" (any
// case), at least 30720 bytes otherwise. Order is kept.
void KeepPlayableMusic(const CStringArray& candidates, CStringArray& result);

// The user's documents folder, created when missing; "" when there is none.
CString UserDocumentsFolder();

}  // namespace settings
