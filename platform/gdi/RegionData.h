// A region as y-x bands: horizontal bands, each a sorted list of disjoint x spans shared by all
// its rows. Exact for any pixel set, and cheap for the rectangles most regions are.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::gdi {

struct Span {
  int left;
  int right;  // exclusive
  bool operator==(const Span&) const = default;
};

struct Band {
  int top;
  int bottom;  // exclusive
  std::vector<Span> spans;
};

class RegionData {
 public:
  RegionData() = default;
  explicit RegionData(const RECT& rect) { SetRect(rect); }

  void SetRect(const RECT& rect);
  void Clear() { m_bands.clear(); }
  bool IsEmpty() const { return m_bands.empty(); }
  bool IsRect() const { return m_bands.size() == 1 && m_bands[0].spans.size() == 1; }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Kind() const;
  RECT Box() const;
  const std::vector<Band>& Bands() const { return m_bands; }
  std::vector<RECT> Rects() const;

  bool Contains(int x, int y) const;
  bool Intersects(const RECT& rect) const;
  void Offset(int dx, int dy);

  // mode is RGN_AND, RGN_OR, RGN_XOR or RGN_DIFF.
  static RegionData Combine(const RegionData& a, const RegionData& b, int mode);
  RegionData Intersected(const RECT& rect) const;

  // Builds a region from rows of spans, one list per row starting at `top` (spans of a row sorted
  // and disjoint); equal neighbouring rows are merged into one band.
  static RegionData FromRows(int top, const std::vector<std::vector<Span>>& rows);

  bool operator==(const RegionData& other) const;

 private:
  void AppendBand(int top, int bottom, std::vector<Span>&& spans);

  std::vector<Band> m_bands;  // sorted by top, non-overlapping, no empty bands
};

// Visits each rectangle of `clip` that intersects `rect`, clipped to it, as fn(left, top, right,
// bottom) — in band order, so row-wise drawing touches memory top to bottom.
template <class Fn>
void ForEachClipped(const RegionData& clip, const RECT& rect, Fn&& fn) {
  if (rect.left >= rect.right || rect.top >= rect.bottom) return;
  for (const Band& band : clip.Bands()) {
    if (band.bottom <= rect.top) continue;
    if (band.top >= rect.bottom) break;
    int top = band.top > rect.top ? band.top : rect.top;
    int bottom = band.bottom < rect.bottom ? band.bottom : rect.bottom;
    for (const Span& span : band.spans) {
      if (span.right <= rect.left) continue;
      if (span.left >= rect.right) break;
      int left = span.left > rect.left ? span.left : rect.left;
      int right = span.right < rect.right ? span.right : rect.right;
      fn(left, top, right, bottom);
    }
  }
}

}  // namespace pictavo::gdi
