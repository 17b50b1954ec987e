// The media files an album names: photos, blank-slide pictures, music, sound annotations, clip
// art and video clips.
#pragma once

#include <functional>

#include "platform/base/CString.h"

class CDVDAlbumBase;
class CDVDImage;

namespace pictavo::data {

enum class MediaKind { Photo, Music, Annotation, ClipArt, VideoClip };

// Calls `visit` for every file the album names, slides in order first. `slide` is the slide a
// photo, annotation or slide object belongs to (null otherwise). A plain-colour blank slide names
// no file.
void ForEachMediaFile(
    const CDVDAlbumBase& album,
    const std::function<void(MediaKind kind, const CString& path, const CDVDImage* slide)>& visit);

bool FileExists(const CString& path);

}  // namespace pictavo::data
