// Type names and icon kinds of files by their extension, as the shell shows them in lists.
#include <algorithm>
#include <cctype>
#include <string>

#include "platform/kernel/Path.h"
#include "platform/shellapi/Namespace.h"

namespace pictavo::shell::detail {

namespace {

struct FileType {
  const char* extension;  // lower case, without the dot
  const char* name;
  FileKind kind;
};

constexpr FileType kTypes[] = {
    {"jpg", "JPEG Image", FileKind::kImage},
    {"jpeg", "JPEG Image", FileKind::kImage},
    {"jpe", "JPEG Image", FileKind::kImage},
    {"jfif", "JPEG Image", FileKind::kImage},
    {"png", "PNG Image", FileKind::kImage},
    {"bmp", "Bitmap Image", FileKind::kImage},
    {"gif", "GIF Image", FileKind::kImage},
    {"tif", "TIFF Image", FileKind::kImage},
    {"tiff", "TIFF Image", FileKind::kImage},
    {"webp", "WebP Image", FileKind::kImage},
    {"ico", "Icon", FileKind::kImage},
    {"mp3", "MP3 Audio", FileKind::kAudio},
    {"wav", "Wave Sound", FileKind::kAudio},
    {"wma", "Windows Media Audio", FileKind::kAudio},
    {"ogg", "Ogg Vorbis Audio", FileKind::kAudio},
    {"flac", "FLAC Audio", FileKind::kAudio},
    {"m4a", "MPEG-4 Audio", FileKind::kAudio},
    {"aac", "AAC Audio", FileKind::kAudio},
    {"mid", "MIDI Sequence", FileKind::kAudio},
    {"midi", "MIDI Sequence", FileKind::kAudio},
    {"avi", "Video Clip", FileKind::kVideo},
    {"mpg", "Movie Clip", FileKind::kVideo},
    {"mpeg", "Movie Clip", FileKind::kVideo},
    {"mp4", "MPEG-4 Video", FileKind::kVideo},
    {"m4v", "MPEG-4 Video", FileKind::kVideo},
    {"mov", "QuickTime Movie", FileKind::kVideo},
    {"wmv", "Windows Media Video", FileKind::kVideo},
    {"asf", "Windows Media Video", FileKind::kVideo},
    {"flv", "Flash Video", FileKind::kVideo},
    {"3gp", "3GPP Video", FileKind::kVideo},
    {"mkv", "Matroska Video", FileKind::kVideo},
    {"webm", "WebM Video", FileKind::kVideo},
    {"vob", "DVD Video Object", FileKind::kVideo},
    {"mts", "AVCHD Video", FileKind::kVideo},
    {"m2ts", "AVCHD Video", FileKind::kVideo},
    {"txt", "Text Document", FileKind::kOther},
    {"xml", "XML Document", FileKind::kOther},
    {"htm", "HTML Document", FileKind::kOther},
    {"html", "HTML Document", FileKind::kOther},
    {"ini", "Configuration Settings", FileKind::kOther},
    {"pdf", "PDF Document", FileKind::kOther},
    {"zip", "Compressed (zipped) Folder", FileKind::kOther},
    {"iso", "Disc Image File", FileKind::kOther},
    {"exe", "Application", FileKind::kOther},
};

// The extension after the last dot of the name, lower case ASCII; empty when there is none.
std::string LowerExtension(std::string_view name) {
  const std::string_view extension = path::Extension(name);
  if (extension.size() < 2) return {};
  std::string lower(extension.substr(1));
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

const FileType* Find(std::string_view name) {
  const std::string extension = LowerExtension(name);
  for (const FileType& type : kTypes)
    if (extension == type.extension) return &type;
  return nullptr;
}

}  // namespace

std::string TypeNameOfFile(std::string_view name) {
  if (const FileType* type = Find(name)) return type->name;
  const std::string_view extension = path::Extension(path::FileName(name));
  if (extension.size() < 2) return "File";
  std::string upper(extension.substr(1));
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper + " File";
}

FileKind KindOfFile(std::string_view name) {
  const FileType* type = Find(path::FileName(name));
  return type ? type->kind : FileKind::kOther;
}

}  // namespace pictavo::shell::detail
