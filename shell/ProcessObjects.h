// The program's process-wide objects that belong to the shell, the window table through which the
// main windows find each other, and the small utilities many windows share.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CDVDAlbumImage;
struct _tagPanZoomWorkParamEx;

// One slot per main window; a window stores its own address (or one of its children's) in its
// OnInitDialog and clears its slots when it goes. Every slot is null before any window exists.
// Written and read on the UI thread only.
class CWindowRegistry {
 public:
  virtual ~CWindowRegistry() = default;

  void* m_pAlbumListBox = nullptr;           // 1: album list box of the album editor
  void* m_pPhotoListCtrl = nullptr;          // 2: photo list control
  void* m_pDragSourceList = nullptr;         // 3: file list of the file browser panel
  void* m_pFolderTree = nullptr;             // 4: folder tree of the file browser panel
  void* m_pExploreBar = nullptr;             // 5: file browser panel
  void* m_pAlbumEditor = nullptr;            // 6: album editor
  void* m_pAlbumPropSheet = nullptr;         // 7: album property sheet
  void* m_pAlbumPhotoDlg = nullptr;          // 8: photo page
  void* m_pUnused9 = nullptr;                // 9
  void* m_pUnused10 = nullptr;               // 10
  void* m_pAlbumOptionsOne = nullptr;        // 11: album options page
  void* m_pAlbumPreviewContainer = nullptr;  // 12: preview container
  void* m_pPageEditorNew = nullptr;          // 13: organize page
  void* m_pMainDlg = nullptr;                // 14: main dialog
  void* m_pExploreDragHelper = nullptr;      // 15: drag object of the file browser's file list
  void* m_pPhotoDragHelper = nullptr;        // 16: drag object of the photo list
  int m_nDragOrigin = 0;                     // 17: 1 from the photo or clip page, 0 from the file browser
  void* m_pBurnOptionTV = nullptr;           // 18: TV options page
  void* m_pAlbumPreviewDlg = nullptr;        // 19: preview window of the preview container
  void* m_pMenuPreviewDlg = nullptr;         // 20: preview window of the disc-menu page
  void* m_pVideoAlbumPropSheet = nullptr;    // 21: video-album property sheet
  void* m_pVideoClipPage = nullptr;          // 22: video-album clip page
  void* m_pVideoPreviewContainer = nullptr;  // 23: video-album preview container
  void* m_pVideoClipListCtrl = nullptr;      // 24: clip list of the clip page
  void* m_pVideoPreviewPage = nullptr;       // 25: video preview page
};

CWindowRegistry* GetWindowRegistry();

// The pan-and-zoom position the photo editor copies and pastes, and whether it holds one.
_tagPanZoomWorkParamEx* GetPanZoomClipboard();
extern int g_bPanZoomClipboardFilled;

// Removes the per-run temporary folders (twelve digits) below `base` and below its "Temp"
// folder. Only folders this program made are removed: they carry the marker file that
// MarkProgramTempFolder writes, so a user's own twelve-digit folder in a chosen temporary folder
// is left alone. Failures are silent; a folder that can't be removed stays.
void CleanTempFolders(LPCTSTR lpszBase);
// The name of the marker file that tells a per-run folder as the program's own.
inline constexpr const char* kProgramTempMarker = ".pictavo-run";
// Marks a per-run temporary folder as made by this program. FALSE when the marker can't be written.
BOOL MarkProgramTempFolder(LPCTSTR lpszFolder);

// Total and caller-available free bytes of the volume holding `path`; each output may be null.
// FALSE, outputs untouched, for an empty path or when the volume can't be asked.
BOOL GetDiskFreeSpaceInfo(LPCTSTR lpszPath, ULONGLONG* pTotalBytes, ULONGLONG* pFreeBytes);
// "1,234,567"; 0 gives "".
CString FormatThousands(UINT nValue);
// Whole kilobytes rounded up, grouped by thousands, then " KB".
CString FormatKiloBytes(LONG nBytes);
// Rounds the value to hundredths (half away from zero) in place; the value in hundredths.
int RoundToHundredths(double& value);

// Message boxes with the product title as caption, owned by the thread's main window; a style
// with bit 2 set (Yes/No, Retry/Cancel) gets the question icon, any other the information icon.
int MessageBoxById(UINT nStringID, UINT nType);
int MessageBoxText(LPCTSTR lpszText, UINT nType);

// Gives a new album the album defaults of the settings (durations, background colour, duration
// type, automatic pan and zoom, music fade, default music) and the default subtitle font. 1.
int ApplyDefaultSubtitleFont(CDVDAlbumImage* pAlbum);

// The black 1024 x 768 blank slide image in "<temporary base>/Images/blank.jpg", made when
// missing. The path is returned whether or not making it succeeded.
CString GetBlankImagePath();
// "<program folder>/music/default.mp3".
CString GetDefaultMusicPath();
