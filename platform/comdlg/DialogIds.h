// The templates of the common dialogs (resources/comdlg.xml, ids 63000 to 63099) and the ids of
// their controls. The ids are fixed: input scripts click them and tests look them up. OK and
// Cancel are IDOK and IDCANCEL in every dialog.
#pragma once

namespace pictavo::comdlg {

inline constexpr int kFileDialogTemplate = 63000;
inline constexpr int kBrowseFolderTemplate = 63001;
inline constexpr int kColorDialogTemplate = 63002;

// Open and save. Focus starts in the name edit: a name, a path, a folder (opened) or a pattern
// such as "*.png" (filters the list) followed by Enter; several names as "a.jpg" "b.jpg".
inline constexpr int kFileReadOnly = 1040;   // "Open as read-only" (hidden by OFN_HIDEREADONLY)
inline constexpr int kFileTypeLabel = 1089;  // "Files of type:" / "Save as type:"
inline constexpr int kFileList = 1120;       // folders ("name/") then files; Enter or a double
                                             // click opens a folder, Backspace goes up
inline constexpr int kFileTypes = 1136;      // the filter combo box
inline constexpr int kFileFolders = 1137;    // "Look in:": the folder and those above it
inline constexpr int kFileName = 1152;       // the name edit
inline constexpr int kFileUp = 63010;        // "Up": the folder above

// Folder browsing.
inline constexpr int kBrowseTitle = 63020;   // BROWSEINFO::lpszTitle
inline constexpr int kBrowseStatus = 63021;  // BIF_STATUSTEXT's line
inline constexpr int kBrowseTree = 63022;    // the folders: the home folder, then the file system
inline constexpr int kBrowsePath = 63023;    // the selected folder; a typed path and Enter choose it

// Colours. The grids take the arrow keys; the edits take numbers (red, green, blue 0 to 255; hue,
// saturation, luminance 0 to 240).
inline constexpr int kColorLumBar = 702;
inline constexpr int kColorHue = 703;
inline constexpr int kColorSat = 704;
inline constexpr int kColorLum = 705;
inline constexpr int kColorRed = 706;
inline constexpr int kColorGreen = 707;
inline constexpr int kColorBlue = 708;
inline constexpr int kColorCurrent = 709;   // the preview
inline constexpr int kColorSpectrum = 710;  // hue across, saturation up
inline constexpr int kColorAdd = 712;       // "Add to Custom Colors"
inline constexpr int kColorDefine = 719;    // "Define Custom Colors >>"
inline constexpr int kColorBasic = 720;     // the 48 basic colours
inline constexpr int kColorCustom = 721;    // the 16 custom colours

}  // namespace pictavo::comdlg
