// The video output's files and commands: where an album is written, the partial file ffmpeg
// writes until it has succeeded, and ffmpeg's argument vector for an album.
#include <string>

#include "modules/data/DVDAlbumBase.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/files/Files.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileOperations.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "render/EncodeVideoDlg.h"
#include "render/VideoStreamOptions.h"
#include "shell/SlideshowApp.h"
#include "shell/UIHelpers.h"

namespace {

// The most bytes of an album name a file name takes.
constexpr size_t kMaxAlbumNameBytes = 260;
constexpr char kPartialSuffix[] = ".partial";

CString WithSeparator(CString folder) {
  if (!folder.IsEmpty() && !pictavo::path::EndsWithSeparator(folder.View())) folder += "/";
  return folder;
}

// The first `limit` bytes of UTF-8 text, never ending inside a character.
std::string CutUtf8(std::string_view text, size_t limit) {
  if (text.size() <= limit) return std::string(text);
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

bool Exists(const CString& path) {
  CFileStatus status;
  return Zorv_CFileGetStatus(path, status, 0) != FALSE;
}

// The audio codec names of the profiles that mean an encoder by another name.
CString AudioEncoderOf(const CString& codec) {
  if (codec.CompareNoCase("mp3") == 0) return "libmp3lame";
  if (codec.CompareNoCase("aac") == 0) return "libfaac";  // the command builder passes today's name
  return codec;
}

}  // namespace

CString CEncodeVideoDlg::MakeOutputFileName(CDVDAlbumBase* pAlbum) {
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  const CAVOutputProfileGroup* group = manager->Get_pActiveProfileGroup();
  const CAVOutputProfile* profile = manager->Get_pActiveAVOutputProfile();
  CString folder = WithSeparator(manager->Get_strOutputPath());
  if (group != nullptr) folder = WithSeparator(folder + group->Get_strGroupFolderName());
  CDVDProject::CreateAllDirectories(folder);

  std::string albumPart =
      CutUtf8(pAlbum != nullptr ? pAlbum->Get_strAlbumName().View() : "", kMaxAlbumNameBytes);
  SanitizeFileName(albumPart.data(), '_');
  // The application's path is the project the user named; the data model's may be the temporary
  // copy an untitled project was last written to.
  const CString appProjectPath = theApp.GetProjectPath();
  const std::string projectPath(appProjectPath.View());
  std::string projectPart;
  if (pictavo::path::LastSeparator(projectPath) != std::string_view::npos)
    projectPart = std::string(pictavo::path::FileTitle(projectPath));
  const CString extension = profile != nullptr ? profile->Get_strOutputFileExtName() : CString();

  CString name;
  for (int counter = 0; counter < 100000; ++counter) {
    if (projectPart.empty()) {
      if (counter == 0)
        name.Format("%s%s.%s", static_cast<LPCTSTR>(folder), albumPart.c_str(),
                    static_cast<LPCTSTR>(extension));
      else
        name.Format("%s%s_%04d.%s", static_cast<LPCTSTR>(folder), albumPart.c_str(), counter,
                    static_cast<LPCTSTR>(extension));
    } else if (counter == 0) {
      name.Format("%s%s_%s.%s", static_cast<LPCTSTR>(folder), projectPart.c_str(), albumPart.c_str(),
                  static_cast<LPCTSTR>(extension));
    } else {
      name.Format("%s%s_%s_%04d.%s", static_cast<LPCTSTR>(folder), projectPart.c_str(), albumPart.c_str(),
                  counter, static_cast<LPCTSTR>(extension));
    }
    if (!Exists(name)) break;
  }
  return name;
}

std::vector<std::string> CEncodeVideoDlg::BuildFfmpegCommand(const CAVOutputProfile& profile,
                                                             LPCTSTR lpszAlbumName, BOOL bImageAlbum,
                                                             LPCTSTR lpszOutput) {
  CFFMpegOpts opts;
  opts.Add(CMDOPT_COMMAND, "-y");
  const CString title = CString("title=") + (lpszAlbumName != nullptr ? lpszAlbumName : "");
  opts.Add(CMDOPT_COMMAND, "-metadata", static_cast<LPCTSTR>(title));
  opts.Add(CMDOPT_IN_PLACE, "-f", "s16le");
  if (bImageAlbum) {
    opts.Add(CMDOPT_IN_PLACE, "-ac", "%d", profile.Get_nAudioChannel());
    opts.Add(CMDOPT_IN_PLACE, "-ar", static_cast<LPCTSTR>(profile.Get_strAudioSampleRate()));
  } else {
    opts.Add(CMDOPT_IN_PLACE, "-ac", "2");
    opts.Add(CMDOPT_IN_PLACE, "-ar", "44100");
  }
  opts.Add(CMDOPT_IN_PLACE, "-i", static_cast<LPCTSTR>(CDVDProject::g_m_strPCMDumpPipeName));
  opts.Add(CMDOPT_IN_PLACE, "-f", "yuv4mpegpipe");
  opts.Add(CMDOPT_IN_PLACE, "-i", static_cast<LPCTSTR>(CDVDProject::g_m_strYUVDumpPipeName));
  opts.Add(CMDOPT_IN_PLACE, "-r", "%.3lf", profile.Get_dblVideoFrameRate());
  opts.Add(CMDOPT_IN_PLACE, "-b", "%skb", profile.Get_strVideoBitRate());
  opts.Add(CMDOPT_IN_PLACE, "-s", "%dx%d", profile.Get_nVideoWidth(), profile.Get_nVideoHeight());
  opts.Add(CMDOPT_IN_PLACE, "-aspect", "%d:%d", profile.Get_nVideoWidth(), profile.Get_nVideoHeight());
  opts.Add(CMDOPT_IN_PLACE, "-vcodec", static_cast<LPCTSTR>(profile.Get_strVideoCodenc()));
  pictavo::render::AddVideoStreamOptions(opts, profile);
  opts.Add(CMDOPT_IN_PLACE, "-ac", "%d", profile.Get_nAudioChannel());
  opts.Add(CMDOPT_IN_PLACE, "-ar", static_cast<LPCTSTR>(profile.Get_strAudioSampleRate()));
  opts.Add(CMDOPT_IN_PLACE, "-ab", "%skb", profile.Get_strAudioBitRate());
  opts.Add(CMDOPT_IN_PLACE, "-acodec", static_cast<LPCTSTR>(AudioEncoderOf(profile.Get_strAudioCodenc())));
  opts.Add(CMDOPT_IN_PLACE, "-f", static_cast<LPCTSTR>(profile.Get_strOutputFormat()));
  opts.SetSourceFile(lpszOutput);
  return opts.GetArguments();
}

bool CEncodeVideoDlg::PrepareOutput(CDVDAlbumBase* pAlbum, AlbumOutput& output) {
  output.strFinal = MakeOutputFileName(pAlbum);
  const std::string folder(pictavo::path::Folder(output.strFinal.View()));
  const DWORD attributes = GetFileAttributes(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    Fail("The output folder %s cannot be made (error %u)", folder.c_str(),
         static_cast<unsigned>(GetLastError()));
    return false;
  }
  // ffmpeg writes a file of our own beside the output; taking it here shows at once whether the
  // folder can be written.
  output.strPartial = output.strFinal + kPartialSuffix;
  HANDLE file = CreateFile(output.strPartial, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) {
    Fail("The output folder %s cannot be written (error %u)", folder.c_str(),
         static_cast<unsigned>(GetLastError()));
    return false;
  }
  CloseHandle(file);
  return true;
}

bool CEncodeVideoDlg::CompleteOutput(CDVDAlbumBase* pAlbum, AlbumOutput& output) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (MoveFileEx(output.strPartial, output.strFinal, 0)) {
      std::lock_guard guard(m_lock);
      m_strLastOutput = output.strFinal;
      return true;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    // Another file of that name appeared meanwhile: the next free number.
    output.strFinal = MakeOutputFileName(pAlbum);
  }
  Fail("The video file %s cannot be put in place (error %u)", static_cast<LPCTSTR>(output.strFinal),
       static_cast<unsigned>(GetLastError()));
  DeleteFile(output.strPartial);
  return false;
}
