// The process-wide system image lists: generic icons of shell items, drawn here, shared by every
// window that shows files (SHGetFileInfo hands out their indexes). They are never destroyed.
#pragma once

#include "platform/base/WinTypes.h"

namespace pictavo::comctl {

enum class SystemIcon {
  kFile,
  kFolder,
  kOpenFolder,
  kImageFile,
  kAudioFile,
  kVideoFile,
  kDrive,
};

// The 16 x 16 list (small) or the 32 x 32 one; both hold the same icons at the same indexes.
HIMAGELIST SystemImageList(bool small);
// The index of an icon in both lists.
int SystemIconIndex(SystemIcon icon);
// Whether `himl` is one of the two lists (which ImageList_Destroy refuses).
bool IsSystemImageList(HIMAGELIST himl);

}  // namespace pictavo::comctl
