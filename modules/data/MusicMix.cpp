#include "modules/data/MusicMix.h"

#include <algorithm>
#include <limits>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/MediaProbe.h"
#include "modules/log/Log.h"
#include "platform/base/Array.h"

namespace pictavo::data {
namespace {

// A piece cut to this or less by the track's end is left out when pieces fade: it would be
// nothing but its fades.
constexpr int64_t kShortestCutPieceMs = 6000;
constexpr int64_t kLongestFadeMs = 3000;

}  // namespace

int64_t MusicPlan::SoundEndMs() const {
  int64_t end = 0;
  for (const MusicPiece& piece : pieces) end = std::max(end, piece.startMs + piece.lengthMs);
  return std::min(end, totalMs);
}

int64_t FadeForLength(int64_t lengthMs) {
  const int64_t half = lengthMs / 2 - 1000;
  return std::clamp<int64_t>(half, 0, kLongestFadeMs);
}

MusicPlan PlanAlbumMusic(const CDVDAlbumImage& album, int64_t totalMs) {
  MusicPlan plan;
  plan.totalMs = std::max<int64_t>(0, totalMs);
  const int64_t total = plan.totalMs;
  const bool loop = album.Get_dwTransDurationType() == 0;
  const bool fade = album.Get_bMusicFadeInOut() != FALSE;

  std::vector<const _AUDIO_SOURCE*> clips;
  for (int i = 0; i < album.GetMusicCount(); ++i) {
    const _AUDIO_SOURCE* clip = album.GetMusic(i);
    if (clip != nullptr && clip->GetClipLength() > 0 && !clip->strPathName.IsEmpty()) clips.push_back(clip);
  }

  int64_t offset = 0;
  bool more = !clips.empty();
  while (more) {
    int64_t passEnd = offset;
    bool placed = false;
    bool full = false;
    for (const _AUDIO_SOURCE* clip : clips) {
      const int64_t start = offset + std::max(0, clip->nStartPos);
      if (start >= total) {
        full = true;
        break;
      }
      int64_t end = start + clip->GetClipLength();
      if (end > total) {
        if (fade && total - start <= kShortestCutPieceMs) {
          full = true;
          break;
        }
        end = total;
      }
      MusicPiece piece;
      piece.path = clip->strPathName.View();
      piece.mediaStartMs = std::max(0, clip->nTrimStart);
      piece.startMs = start;
      piece.lengthMs = end - start;
      piece.fadeMs = fade ? FadeForLength(piece.lengthMs) : 0;
      plan.pieces.push_back(std::move(piece));
      passEnd = std::max(passEnd, end);
      placed = true;
      if (end >= total) {
        full = true;
        break;
      }
    }
    // A pass that places nothing or does not move on would repeat for ever.
    more = loop && !full && placed && passEnd > offset;
    offset = passEnd;
  }

  const int64_t titleMs = 1000LL * album.Get_nTitleDuration();
  for (int i = 0; i < album.GetImageCount(); ++i) {
    const CDVDImage* slide = album.GetImage(i);
    const _AUDIO_SOURCE* note = slide != nullptr ? slide->GetAnnotation() : nullptr;
    if (note == nullptr || note->GetClipLength() <= 0 || note->strPathName.IsEmpty()) continue;
    const int64_t start = titleMs + 1000LL * album.Get_nSlideshowTimePos(i) + std::max(0, note->nStartPos);
    if (start >= total) continue;
    MusicPiece piece;
    piece.path = note->strPathName.View();
    piece.mediaStartMs = std::max(0, note->nTrimStart);
    piece.startMs = start;
    piece.lengthMs = std::min<int64_t>(note->GetClipLength(), total - start);
    plan.pieces.push_back(std::move(piece));
  }
  return plan;
}

MusicPlan PlanMusicFiles(const CStringArray& files) {
  MusicPlan plan;
  int64_t at = 0;
  for (INT_PTR i = 0; i < files.GetSize(); ++i) {
    const std::string path(files[i].View());
    const auto facts = ProbeMedia(path);
    if (!facts || !facts->hasAudio || facts->durationMs <= 0) {
      WriteErrorLog("Music: %s has no sound that can be played; skipped", path.c_str());
      continue;
    }
    plan.pieces.push_back(MusicPiece{path, 0, at, facts->durationMs, 0});
    at += facts->durationMs;
  }
  plan.totalMs = at;
  return plan;
}

// One piece being played: its frame range on the track and, while it sounds, its reader.
struct MusicRenderer::Voice {
  MusicPiece piece;
  int64_t first = 0;  // frames on the track, [first, end)
  int64_t end = 0;
  int64_t fade = 0;  // frames
  std::unique_ptr<media::AudioReader> reader;
  int64_t readerAt = -1;  // the track frame the reader delivers next
  bool failed = false;
};

MusicRenderer::MusicRenderer(MusicPlan plan, media::AudioFormat format) : m_format(format) {
  const auto frames = [&](int64_t ms) {
    return media::FramesForLength(media::FromMilliseconds(ms), format.sampleRate);
  };
  m_totalFrames = frames(plan.totalMs);
  for (MusicPiece& piece : plan.pieces) {
    auto voice = std::make_unique<Voice>();
    voice->first = frames(piece.startMs);
    voice->end = std::min(frames(piece.startMs + piece.lengthMs), m_totalFrames);
    voice->fade = frames(piece.fadeMs);
    voice->piece = std::move(piece);
    if (voice->end > voice->first) m_voices.push_back(std::move(voice));
  }
}

MusicRenderer::~MusicRenderer() = default;

void MusicRenderer::Seek(int64_t frame) {
  m_position = std::clamp<int64_t>(frame, 0, m_totalFrames);
}

void MusicRenderer::Fail(Voice& voice, const std::string& why) {
  voice.failed = true;
  voice.reader.reset();
  if (std::find(m_failed.begin(), m_failed.end(), voice.piece.path) == m_failed.end()) {
    m_failed.push_back(voice.piece.path);
    WriteErrorLog("Music: %s plays as silence: %s", voice.piece.path.c_str(), why.c_str());
  }
}

void MusicRenderer::MixPiece(Voice& voice, int64_t from, int64_t to, std::span<int32_t> mix) {
  const int channels = m_format.channels;
  if (voice.failed) return;
  if (!voice.reader) {
    media::MediaError error;
    voice.reader = media::AudioReader::Open(voice.piece.path, m_format, &error);
    if (!voice.reader) return Fail(voice, error.message);
    voice.readerAt = -1;
  }
  if (voice.readerAt != from) {
    const media::MediaTime at = media::FromMilliseconds(voice.piece.mediaStartMs) +
                                media::LengthOfFrames(from - voice.first, m_format.sampleRate);
    if (!voice.reader->Seek(at)) return Fail(voice, voice.reader->Error().message);
    voice.readerAt = from;
  }
  const size_t frames = static_cast<size_t>(to - from);
  m_scratch.assign(frames * static_cast<size_t>(channels), 0);
  const size_t got = voice.reader->Read(m_scratch);  // what the file lacks stays silence
  if (got < frames && voice.reader->Error()) Fail(voice, voice.reader->Error().message);
  voice.readerAt = to;

  const int64_t length = voice.end - voice.first;
  for (size_t f = 0; f < frames; ++f) {
    const int64_t index = from + static_cast<int64_t>(f) - voice.first;
    // Linear ramps: frame i of the fade-in sounds at i / fade, the last frame of the fade-out at
    // 1 / fade.
    int64_t gain = voice.fade;
    if (voice.fade > 0) gain = std::min({index, length - index, voice.fade});
    for (int c = 0; c < channels; ++c) {
      const size_t at = f * static_cast<size_t>(channels) + static_cast<size_t>(c);
      int64_t value = m_scratch[at];
      if (voice.fade > 0 && gain < voice.fade) {
        const int64_t scaled = value * gain;
        value = (scaled >= 0 ? scaled + voice.fade / 2 : scaled - voice.fade / 2) / voice.fade;
      }
      mix[at] += static_cast<int32_t>(value);
    }
  }
}

size_t MusicRenderer::Render(std::span<int16_t> out) {
  const int channels = m_format.channels;
  const int64_t wanted = static_cast<int64_t>(out.size() / static_cast<size_t>(channels));
  const int64_t from = m_position;
  const int64_t to = std::min(m_totalFrames, from + wanted);
  if (to <= from) return 0;
  const size_t samples = static_cast<size_t>(to - from) * static_cast<size_t>(channels);
  m_mix.assign(samples, 0);
  for (auto& voice : m_voices) {
    if (voice->end <= from || voice->first >= to) {
      // Past its end: let the file go.
      if (voice->end <= from && voice->reader) voice->reader.reset();
      continue;
    }
    const int64_t a = std::max(from, voice->first);
    const int64_t b = std::min(to, voice->end);
    const size_t offset = static_cast<size_t>(a - from) * static_cast<size_t>(channels);
    MixPiece(*voice, a, b, std::span<int32_t>(m_mix).subspan(offset));
  }
  for (size_t i = 0; i < samples; ++i)
    out[i] = static_cast<int16_t>(std::clamp<int32_t>(m_mix[i], std::numeric_limits<int16_t>::min(),
                                                      std::numeric_limits<int16_t>::max()));
  m_position = to;
  return static_cast<size_t>(to - from);
}

}  // namespace pictavo::data
