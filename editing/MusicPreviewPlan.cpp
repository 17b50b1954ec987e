#include "editing/MusicPreviewPlan.h"

#include <algorithm>

namespace music_preview {
namespace {

// With fading, a piece the end cuts to this or less would be little but its fades.
constexpr int64_t kShortestCutPieceMs = 6000;

// Clip times are kept as unsigned milliseconds, as the track compares them.
int64_t U(int v) {
  return static_cast<int64_t>(static_cast<unsigned>(v));
}

}  // namespace

pictavo::data::MusicPlan Plan(const std::vector<_AUDIO_SOURCE>& clips, const std::vector<Item>& items,
                              int64_t totalMs, bool loop, bool fade) {
  pictavo::data::MusicPlan plan;
  plan.totalMs = std::max<int64_t>(0, totalMs);
  const int64_t total = plan.totalMs;

  int64_t offset = 0;
  for (bool more = true; more;) {
    more = loop;
    int64_t passEnd = offset;
    bool placed = false;
    for (const _AUDIO_SOURCE& clip : clips) {
      if (clip.nTrimEnd == clip.nTrimStart) continue;
      const int64_t length = U(clip.nTrimEnd) - U(clip.nTrimStart);
      const int64_t s = offset + U(clip.nStartPos);
      if (length <= 0) continue;
      if (s >= total) {
        more = false;
        break;
      }
      int64_t z = s + length;
      if (z > total) {
        z = total;
        if (fade && total - s <= kShortestCutPieceMs) {
          more = false;
          break;
        }
      }
      pictavo::data::MusicPiece piece;
      piece.path = clip.strPathName.View();
      piece.mediaStartMs = U(clip.nTrimStart);
      piece.startMs = s;
      piece.lengthMs = z - s;
      piece.fadeMs = fade ? pictavo::data::FadeForLength(piece.lengthMs) : 0;
      plan.pieces.push_back(std::move(piece));
      placed = true;
      passEnd = z;
      if (z == total) {
        more = false;
        break;
      }
    }
    // A pass that places nothing, or ends where it began, would repeat for ever.
    if (!placed || passEnd <= offset) more = false;
    offset = passEnd;
  }

  int64_t start = 0;
  for (const Item& item : items) {
    const int64_t remaining = total - start;
    if (item.annotation && remaining > 0) {
      const _AUDIO_SOURCE& note = *item.annotation;
      const int64_t end = std::min({U(note.nTrimEnd), U(note.nTrimStart) + remaining, U(note.nSourceLength)});
      if (end > U(note.nTrimStart) && !note.strPathName.IsEmpty()) {
        pictavo::data::MusicPiece piece;
        piece.path = note.strPathName.View();
        piece.mediaStartMs = U(note.nTrimStart);
        piece.startMs = start;
        piece.lengthMs = end - U(note.nTrimStart);
        plan.pieces.push_back(std::move(piece));
      }
    }
    start += std::max(0, item.durationMs);
  }
  return plan;
}

}  // namespace music_preview
