#include "editing/RecordSoundNames.h"

#include <string>

#include "modules/data/DVDProject.h"
#include "modules/files/Files.h"
#include "platform/kernel/Path.h"

namespace record_names {
namespace {

CString WithSeparator(const CString& folder) {
  if (folder.IsEmpty() || pictavo::path::EndsWithSeparator(folder.View())) return folder;
  return folder + "/";
}

bool Exists(const CString& path) {
  CFileStatus status{};
  return Zorv_CFileGetStatus(path, status, 0) != FALSE;
}

}  // namespace

CString AudioFolder(const CString& tempBase) {
  return WithSeparator(tempBase) + "Audio/";
}

CString DefaultFolder(const CString& saved, const CString& tempBase) {
  return saved.IsEmpty() ? AudioFolder(tempBase) : WithSeparator(saved);
}

CString AutomaticName(const CString& folder) {
  const CString base = WithSeparator(folder);
  CString name;
  for (int n = 1;; ++n) {
    name.Format("%srecord_%05d.wav", base.GetString(), n);
    if (!Exists(name) || n == 99999) return name;
  }
}

bool HasWavEnding(const CString& name) {
  return name.GetLength() >= 4 && name.Right(4).CompareNoCase(".wav") == 0;
}

Output Resolve(const CString& typed, const CString& tempBase) {
  CString text = typed;
  text.Trim();
  const std::string_view view = text.View();
  CString folder(std::string(pictavo::path::FolderWithSeparator(view)).c_str());
  CString name(std::string(pictavo::path::FileName(view)).c_str());
  if (folder.IsEmpty()) folder = AudioFolder(tempBase);
  Output out;
  out.folder = CDVDProject::FilterPathIllegalChar(folder, '_');
  if (!name.IsEmpty()) {
    if (!HasWavEnding(name)) name += ".wav";
    out.path = out.folder + CDVDProject::FilterFileNameIllegalChar(name, '_');
  }
  return out;
}

CString FormatTime(DWORD elapsedMs) {
  CString text;
  text.Format("%02u:%02u:%02u.%03u", elapsedMs / 3600000u, elapsedMs / 60000u % 60u, elapsedMs / 1000u % 60u,
              elapsedMs % 1000u);
  return text;
}

DWORD Elapsed(DWORD start, DWORD now) {
  return now >= start ? now - start : 0xFFFFFFFFu - start + now;
}

}  // namespace record_names
