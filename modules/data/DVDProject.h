// The project: its albums in order, the options record, the output choice, the temporary folders
// of this run, and the r7m project file. One process-wide project is returned by GetProject.
//
// The project and its albums belong to the UI thread. Workers (the preview, the frame encoder, the
// music decoder, the thumbnail loader) read them while they run, and nothing changes them then:
// the pages stop those workers before they change slides or replace the project.
#pragma once

#include <memory>

#include "modules/data/AlbumTextSettings.h"
#include "modules/data/DVDAlbumBase.h"
#include "modules/data/ProjectOptions.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/base/Object.h"

class CAVOutputProfileManager;
class CDVDAlbumImage;
class CDVDAlbumMovie;
class CDVDImage;

// Output types (GetEmOutputType).
#define DVD_OUTPUT_DVD 0
#define DVD_OUTPUT_VCD 1
#define DVD_OUTPUT_SVCD 2
#define DVD_OUTPUT_BLURAY 3
#define DVD_OUTPUT_WEB_ALBUM 4
#define DVD_OUTPUT_PROFILE_GROUP 5  // video files through the active output-profile group

// What FindInvalidObject reports of one album: its slides whose photo is missing and its other
// missing files (music, sound annotations, clip art, video clips).
class CAlbumBreakLinkInfo {
 public:
  CDVDAlbumBase* m_pAlbum = nullptr;
  CDVDAlbumImage* m_pImageAlbum = nullptr;  // the album when it is a photo album
  CPtrArray m_arrImages;                    // CDVDImage* whose photo is missing
  CStringArray m_arrFiles;
};

// Owns its records.
class CAlbumBreakLinkInfoArray : public CArray<CAlbumBreakLinkInfo*, CAlbumBreakLinkInfo*> {
 public:
  ~CAlbumBreakLinkInfoArray() override { RemoveAllInfo(); }
  void RemoveAllInfo();
};

// The progress hook of reading and writing project files: called with 0.0 to 1.0.
using READWRITE_CALLBACK = int (*)(void* userData, float fraction);

class CDVDProject : public CObject {
  DECLARE_DYNAMIC(CDVDProject)

 public:
  CDVDProject();
  ~CDVDProject() override;

  // Set up at start-up.
  static CString g_m_strYUVDumpPipeName;
  static CString g_m_strPCMDumpPipeName;
  static CString g_m_strMPEG2DumpPipeName;
  static CString g_m_strMKISODumpPipeName;
  static CString g_m_strAppTempPathBase;
  static READWRITE_CALLBACK g_m_readwrite_callback;
  static void* g_m_readwrite_callback_userdata;

  static void SetRunPhotoToVideoMode(int mode);
  static int GetRunPhotoToVideoMode();
  static void SetGlobalDVDProject(CDVDProject* project);
  static CDVDProject* GetGlobalDVDProject();
  static void SetDefaultDVDMenuTemplate(LPCTSTR name);
  static CString GetDefaultDVDMenuTemplate();
  static void SetProjectExtName(LPCTSTR extension);
  static CString GetProjectExtName();
  static void SetGlobalMainHWnd(HWND window);
  static HWND GetGlobalMainHWnd();
  static void SetMainProgramName(LPCTSTR name);
  static CString GetMainProgramName();
  static void SetEmVideoEncodeEngine(int engine);
  static int GetEmVideoEncodeEngine();
  void SetMenuTemplateName(LPCTSTR name) { m_strMenuTemplateName = name; }
  const CString& GetMenuTemplateName() const { return m_strMenuTemplateName; }

  // The project as a whole.
  // Empties the project: no albums, default options, no file. The output choice stays.
  void NewProject();
  // Reads a project file. Media files the project names but that are missing are appended to
  // `missingFiles` and their number is stored in `missingCount`. On failure the project is left exactly as it
  // was, the last error says why (ERROR_FILE_NOT_FOUND, ERROR_INVALID_DATA for a damaged file,
  // ERROR_NOT_SUPPORTED for a newer format or a format that is only recognised) and
  // GetLastFileError gives a sentence for the user. The two trailing values are accepted and not
  // used; callers pass 0 and -1.
  BOOL OpenFromFile(LPCTSTR path, int& missingCount, CStringArray& missingFiles, int reserved1,
                    int reserved2);
  // Writes the project file atomically: a failure (full disk, read-only folder) leaves the old
  // file as it was. Non-zero on success; then every dirty flag is cleared.
  BOOL SaveToFile(LPCTSTR path);
  // The last open or save failure, for the user; "" after a success.
  static CString GetLastFileError();
  // The file last opened or saved, "" for a new project.
  const CString& GetProjectFilePath() const { return m_strProjectFile; }

  // Dirty flags: the project's own, or any album's.
  BOOL Get_bDirty() const;
  void Put_bDirty(BOOL dirty) { m_bDirty = dirty; }
  void ClearAllDirty();
  BOOL IsMenuEncodeDirty() const { return m_bMenuEncodeDirty; }
  void Put_bMenuEncodeDirty(BOOL dirty) { m_bMenuEncodeDirty = dirty; }
  // Every album needs a new video.
  void SetAllEncodeDirty();

  // Albums.
  int GetAlbumCount() const { return static_cast<int>(m_arrAlbums.GetSize()); }
  CDVDAlbumBase* GetAlbum(int index) const;
  int IndexOfAlbum(const CDVDAlbumBase* album) const { return m_arrAlbums.IndexOf(album); }
  BOOL IsImageAlbum(int index) const;
  BOOL IsMovieAlbum(int index) const;
  // A new album of this project with the settings (and slides, music, objects) of `templ`; a
  // settings-only template gives an empty album with its defaults. Not yet in the project.
  CDVDAlbumImage* AllocImageAlbum(const CDVDAlbumImage* templ);
  CDVDAlbumMovie* AllocMovieAlbum(const CDVDAlbumMovie* templ);
  // Adds an album made by Alloc...: at the active album's position when one is active, else at
  // the end. Returns its index.
  int AddAlbum(CDVDAlbumBase* album);
  // Removes and deletes an album.
  BOOL DeleteAlbum(CDVDAlbumBase* album);
  // Moves `album` to just before `target` (to the end for null).
  BOOL MoveAlbumPos(CDVDAlbumBase* target, CDVDAlbumBase* album);
  int Get_nActiveAlbumIndex() const { return m_nActiveAlbumIndex; }
  void Put_nActiveAlbumIndex(int index) { m_nActiveAlbumIndex = index; }
  // Counts over all albums.
  int GetTotalImages() const;
  int GetTotalVidepClips() const;
  // Frames of every album's video at the project frame rate.
  int GetTotalFrames() const;
  // Albums without slides or clips, and missing files by album. TRUE when both lists are empty.
  BOOL FindInvalidObject(CDVDAlbumArray& invalidAlbums, CAlbumBreakLinkInfoArray& brokenLinks) const;

  // Options.
  _PROJECT_OPTIONS_DATA* GetOptionsData() { return &m_options; }
  const _PROJECT_OPTIONS_DATA* GetOptionsData() const { return &m_options; }
  void SetProjectOptionsData(const _PROJECT_OPTIONS_DATA& options) { m_options = options; }
  int Get_nPhotoScaleMode() const { return m_options.nPhotoScaleMode; }
  void Set_nPhotoScaleMode(int mode) { m_options.nPhotoScaleMode = mode; }
  // The frame rate of the slideshow videos: the active output profile's, to the nearest whole
  // frame, else 25 for PAL and 30 for NTSC.
  int Get_nFramesPerSecond() const;
  int GetEmOutputType() const { return m_nOutputType; }
  void SetEmOutputType(int type) { m_nOutputType = type; }
  int GetOutputDiscFormat() const { return m_nOutputDiscFormat; }
  void SetOutputDiscFormat(int format) { m_nOutputDiscFormat = format; }
  CStringArray* GetDiscMenuBackgroundMusic() { return &m_arrMenuMusic; }
  const CStringArray* GetDiscMenuBackgroundMusic() const { return &m_arrMenuMusic; }

  // The output profiles (process-wide: they outlive project replacements).
  static CAVOutputProfileManager* GetAVOutputProfileManager();

  // Themes the theme page found; records are owned by the page.
  void AddThemeToList(_ALBUM_THEME* theme);
  // Forgets every theme record; albums keep their theme names.
  void ResetThemeList();
  _ALBUM_THEME* FindTheme(LPCTSTR name) const;
  int GetThemeCount() const { return static_cast<int>(m_arrThemes.GetSize()); }
  // A new Flash player control for the theme previews (one reference). This platform has no
  // such control: REGDB_E_CLASSNOTREG, and the theme page draws its previews itself.
  static HRESULT GetFlashInterface(struct IShockwaveFlash** flash);

  // Music length in whole seconds, 0 when the file has no readable sound.
  static int GetMusicDuration(LPCTSTR path);

  // Folders. The program folder is the executable's folder, which holds the data folders (lang,
  // skins, profile_en ...). No trailing separator.
  static CString GetExeFilePath();
  CString Get_strExeFilePath() const { return GetExeFilePath(); }
  const CString& Get_strTempFilePathBase() const { return m_strTempFilePathBase; }
  void Put_strTempFilePathBase(LPCTSTR path);
  // This run's temporary folder, "Temp/" and twelve digits below the base, with a trailing
  // separator; made when first asked for.
  CString Get_strTempFilePath();
  // Chooses this run's folder again below the current base.
  void ResetTempFilePath();
  static CString GetZvCacheFolderBase();
  // Every missing folder of the path; TRUE when the folder exists afterwards.
  static BOOL CreateAllDirectories(LPCTSTR path);
  // The folder and everything in it; TRUE when it is gone.
  static BOOL RemoveAllDirectories(LPCTSTR path);
  static BOOL RemoveAllDirectoriesZW(LPCTSTR path) { return RemoveAllDirectories(path); }
  // Open files never keep a folder from being removed here, so there is nothing to close.
  static BOOL CloseFilesAllDirectoriesZW(LPCTSTR path);
  // File size in bytes (0 when missing); the flag is accepted and not used.
  static DWORD TryGetFileSize(LPCTSTR path, int flag);
  // Line ends: CR LF to LF and back.
  static void Dos2Unix(CString& text);
  static void Unix2Dos(CString& text);
  // Replaces characters a file name or path cannot hold by `replacement`.
  static CString FilterFileNameIllegalChar(LPCTSTR name, char replacement = '_');
  static CString FilterPathIllegalChar(LPCTSTR path, char replacement = '_');

  // Fields other windows read directly.
  CDVDAlbumArray m_arrAlbums;  // owned, in order

 private:
  void DeleteAllAlbums();
  void TakeContentsOf(CDVDProject& other);

  int m_nActiveAlbumIndex = -1;
  _PROJECT_OPTIONS_DATA m_options;
  int m_nOutputType = DVD_OUTPUT_PROFILE_GROUP;
  int m_nOutputDiscFormat = 0;
  BOOL m_bDirty = FALSE;
  BOOL m_bMenuEncodeDirty = TRUE;
  CString m_strMenuTemplateName;
  CString m_strTempFilePathBase;
  CString m_strTempFilePath;  // this run's folder, "" until asked for
  CString m_strProjectFile;
  CStringArray m_arrMenuMusic;
  CArray<_ALBUM_THEME*, _ALBUM_THEME*> m_arrThemes;  // not owned
};

// The process-wide project.
CDVDProject* GetProject();
