// The sound of a photo album as one track: which parts of which music files play when, with
// their fades (a plan), and the PCM that plan gives at a requested rate and channel count (a
// renderer). The music decoder and the music player both render the same plan, so the preview
// hears what the video file gets.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/media/AudioReader.h"
#include "platform/media/MediaTypes.h"

class CDVDAlbumImage;
class CStringArray;

namespace pictavo::data {

// A stretch of one file on the track. Times in milliseconds.
struct MusicPiece {
  std::string path;
  int64_t mediaStartMs = 0;  // where in the file the piece begins
  int64_t startMs = 0;       // where on the track it begins
  int64_t lengthMs = 0;
  int64_t fadeMs = 0;  // fade-in at the start and fade-out at the end, 0 for none

  bool operator==(const MusicPiece&) const = default;
};

struct MusicPlan {
  std::vector<MusicPiece> pieces;
  int64_t totalMs = 0;  // the track's length: silence after the last piece up to here

  // Where the last piece ends (0 without pieces), at most totalMs.
  int64_t SoundEndMs() const;
};

// The fade of a piece `lengthMs` long: 3 s, or half the piece less a second when that is
// shorter; none for pieces of two seconds or less.
int64_t FadeForLength(int64_t lengthMs);

// The album's track of `totalMs` (titles, slides and credits: the music's time axis starts with
// the titles). Its music entries play in list order from their start positions; with the
// album's loop setting (duration type 0) the list repeats, each pass starting where the previous
// one's last entry ended, until the track is full; the end of the track cuts the entry playing
// then. With the fade setting every piece fades in and out, and a piece the end would cut to six
// seconds or less is left out (and the looping stops there). The slides' sound annotations play
// from their slide's start, without fades, over the music. Reads the album: call it on the
// thread that owns the album.
MusicPlan PlanAlbumMusic(const CDVDAlbumImage& album, int64_t totalMs);

// Files one after the other, each whole, without fades; files without readable sound are
// skipped. The track ends with the last file.
MusicPlan PlanMusicFiles(const CStringArray& files);

// Renders a plan as interleaved signed 16-bit samples, sample-exact: a piece covers the frames
// from FramesForLength(start) to FramesForLength(start + length). Overlapping pieces are summed
// (clipped to the 16-bit range). A file that cannot be read plays as silence. One thread at a
// time.
class MusicRenderer {
 public:
  MusicRenderer(MusicPlan plan, media::AudioFormat format);
  ~MusicRenderer();
  MusicRenderer(const MusicRenderer&) = delete;
  MusicRenderer& operator=(const MusicRenderer&) = delete;

  const media::AudioFormat& Format() const { return m_format; }
  // Frames of the whole track.
  int64_t TotalFrames() const { return m_totalFrames; }
  // The next frame rendered.
  int64_t Position() const { return m_position; }
  void Seek(int64_t frame);

  // Fills `out` (whole frames) from the position on, never past the track's end; returns the
  // frames written.
  size_t Render(std::span<int16_t> out);

  // The files that could not be read so far, each once.
  const std::vector<std::string>& FailedFiles() const { return m_failed; }

 private:
  struct Voice;
  void MixPiece(Voice& voice, int64_t from, int64_t to, std::span<int32_t> mix);
  void Fail(Voice& voice, const std::string& why);

  const media::AudioFormat m_format;
  int64_t m_totalFrames = 0;
  int64_t m_position = 0;
  std::vector<std::unique_ptr<Voice>> m_voices;  // one per piece, in plan order
  std::vector<int16_t> m_scratch;
  std::vector<int32_t> m_mix;
  std::vector<std::string> m_failed;
};

}  // namespace pictavo::data
