#include "platform/gdi/RegionData.h"

#include <algorithm>
#include <climits>

#include "platform/gdi/GdiTypes.h"

namespace pictavo::gdi {
namespace {

bool Apply(int mode, bool a, bool b) {
  switch (mode) {
    case RGN_AND:
      return a && b;
    case RGN_OR:
      return a || b;
    case RGN_XOR:
      return a != b;
    case RGN_DIFF:
      return a && !b;
  }
  return false;
}

// Combines two sorted span lists by sweeping their edges.
std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, int mode) {
  std::vector<Span> out;
  size_t ia = 0, ib = 0;
  bool inA = false, inB = false;
  bool inOut = false;
  int start = 0;
  while (ia < a.size() * 2 || ib < b.size() * 2) {
    int xa = ia < a.size() * 2 ? (ia % 2 ? a[ia / 2].right : a[ia / 2].left) : INT_MAX;
    int xb = ib < b.size() * 2 ? (ib % 2 ? b[ib / 2].right : b[ib / 2].left) : INT_MAX;
    int x = std::min(xa, xb);
    if (xa == x) {
      inA = !(ia % 2);
      ++ia;
    }
    if (xb == x) {
      inB = !(ib % 2);
      ++ib;
    }
    bool now = Apply(mode, inA, inB);
    if (now && !inOut) {
      start = x;
    } else if (!now && inOut && x > start) {
      if (!out.empty() && out.back().right == start)
        out.back().right = x;
      else
        out.push_back({start, x});
    }
    inOut = now;
  }
  return out;
}

const std::vector<Span>& SpansAt(const std::vector<Band>& bands, size_t& cursor, int y) {
  static const std::vector<Span> kNone;
  while (cursor < bands.size() && bands[cursor].bottom <= y) ++cursor;
  if (cursor < bands.size() && bands[cursor].top <= y) return bands[cursor].spans;
  return kNone;
}

}  // namespace

void RegionData::SetRect(const RECT& rect) {
  m_bands.clear();
  if (rect.left < rect.right && rect.top < rect.bottom)
    m_bands.push_back(Band{rect.top, rect.bottom, {Span{rect.left, rect.right}}});
}

int RegionData::Kind() const {
  if (IsEmpty()) return NULLREGION;
  return IsRect() ? SIMPLEREGION : COMPLEXREGION;
}

RECT RegionData::Box() const {
  if (m_bands.empty()) return RECT{0, 0, 0, 0};
  RECT box{INT_MAX, m_bands.front().top, INT_MIN, m_bands.back().bottom};
  for (const Band& band : m_bands) {
    box.left = std::min<LONG>(box.left, band.spans.front().left);
    box.right = std::max<LONG>(box.right, band.spans.back().right);
  }
  return box;
}

std::vector<RECT> RegionData::Rects() const {
  std::vector<RECT> rects;
  for (const Band& band : m_bands)
    for (const Span& span : band.spans) rects.push_back(RECT{span.left, band.top, span.right, band.bottom});
  return rects;
}

bool RegionData::Contains(int x, int y) const {
  for (const Band& band : m_bands) {
    if (y >= band.bottom) continue;
    if (y < band.top) return false;
    for (const Span& span : band.spans)
      if (x >= span.left && x < span.right) return true;
    return false;
  }
  return false;
}

bool RegionData::Intersects(const RECT& rect) const {
  bool any = false;
  ForEachClipped(*this, rect, [&](int, int, int, int) { any = true; });
  return any;
}

void RegionData::Offset(int dx, int dy) {
  for (Band& band : m_bands) {
    band.top += dy;
    band.bottom += dy;
    for (Span& span : band.spans) {
      span.left += dx;
      span.right += dx;
    }
  }
}

void RegionData::AppendBand(int top, int bottom, std::vector<Span>&& spans) {
  if (spans.empty() || top >= bottom) return;
  if (!m_bands.empty() && m_bands.back().bottom == top && m_bands.back().spans == spans) {
    m_bands.back().bottom = bottom;
    return;
  }
  m_bands.push_back(Band{top, bottom, std::move(spans)});
}

RegionData RegionData::Combine(const RegionData& a, const RegionData& b, int mode) {
  std::vector<int> edges;
  edges.reserve((a.m_bands.size() + b.m_bands.size()) * 2);
  for (const Band& band : a.m_bands) edges.insert(edges.end(), {band.top, band.bottom});
  for (const Band& band : b.m_bands) edges.insert(edges.end(), {band.top, band.bottom});
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

  RegionData out;
  size_t ca = 0, cb = 0;
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    int top = edges[i];
    const std::vector<Span>& sa = SpansAt(a.m_bands, ca, top);
    const std::vector<Span>& sb = SpansAt(b.m_bands, cb, top);
    if (sa.empty() && sb.empty()) continue;
    out.AppendBand(top, edges[i + 1], CombineSpans(sa, sb, mode));
  }
  return out;
}

RegionData RegionData::Intersected(const RECT& rect) const {
  RegionData out;
  for (const Band& band : m_bands) {
    int top = std::max<int>(band.top, rect.top);
    int bottom = std::min<int>(band.bottom, rect.bottom);
    if (top >= bottom) continue;
    std::vector<Span> spans;
    for (const Span& span : band.spans) {
      int left = std::max<int>(span.left, rect.left);
      int right = std::min<int>(span.right, rect.right);
      if (left < right) spans.push_back({left, right});
    }
    out.AppendBand(top, bottom, std::move(spans));
  }
  return out;
}

RegionData RegionData::FromRows(int top, const std::vector<std::vector<Span>>& rows) {
  RegionData out;
  for (size_t i = 0; i < rows.size(); ++i) {
    std::vector<Span> spans = rows[i];
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    std::vector<Span> merged;
    for (const Span& span : spans) {
      if (span.left >= span.right) continue;
      if (!merged.empty() && span.left <= merged.back().right)
        merged.back().right = std::max(merged.back().right, span.right);
      else
        merged.push_back(span);
    }
    spans = std::move(merged);
    out.AppendBand(top + static_cast<int>(i), top + static_cast<int>(i) + 1, std::move(spans));
  }
  return out;
}

bool RegionData::operator==(const RegionData& other) const {
  if (m_bands.size() != other.m_bands.size()) return false;
  for (size_t i = 0; i < m_bands.size(); ++i) {
    const Band& x = m_bands[i];
    const Band& y = other.m_bands[i];
    if (x.top != y.top || x.bottom != y.bottom || x.spans != y.spans) return false;
  }
  return true;
}

}  // namespace pictavo::gdi
