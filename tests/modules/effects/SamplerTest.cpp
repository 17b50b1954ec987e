// The row sampler against a plain model of its arithmetic: every pixel is the source's four
// neighbours weighed with 7-bit row and 8-bit column weights and rounded once, neighbours outside
// the picture taken from the pixel beneath. The vector paths (four pixels at a time, the rows
// weighed once for a level row) must give the same bytes for any row, never read past the
// picture and never write past the row.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "modules/effects/Sampler.h"

namespace {

using pictavo::effects::AffineRow;
using pictavo::effects::SampleRow;
using pictavo::effects::SourceView;

// A picture whose last byte in memory sits just before an inaccessible page, so a read past it
// crashes the test.
class GuardedPicture {
 public:
  GuardedPicture(int width, int height, bool bottomUp, uint32_t seed) : m_width(width), m_height(height) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    m_bytes = static_cast<size_t>(width) * height * 3;
    m_mapped = (m_bytes + page - 1) / page * page + page;
    m_base = static_cast<BYTE*>(
        mmap(nullptr, m_mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    mprotect(m_base + m_mapped - page, page, PROT_NONE);
    m_bits = m_base + (m_mapped - page - m_bytes);
    std::mt19937 random(seed);
    for (size_t i = 0; i < m_bytes; ++i) m_bits[i] = static_cast<BYTE>(random());
    const ptrdiff_t stride = static_cast<ptrdiff_t>(width) * 3;
    m_view = bottomUp ? SourceView{m_bits + (height - 1) * stride, -stride, width, height}
                      : SourceView{m_bits, stride, width, height};
  }
  ~GuardedPicture() { munmap(m_base, m_mapped); }
  GuardedPicture(const GuardedPicture&) = delete;
  GuardedPicture& operator=(const GuardedPicture&) = delete;

  const SourceView& View() const { return m_view; }

 private:
  int m_width, m_height;
  size_t m_bytes = 0, m_mapped = 0;
  BYTE* m_base = nullptr;
  BYTE* m_bits = nullptr;
  SourceView m_view{};
};

std::vector<BYTE> Model(const SourceView& s, const AffineRow& row, const std::vector<BYTE>& under, int n) {
  std::vector<BYTE> out(static_cast<size_t>(n) * 3);
  for (int x = 0; x < n; ++x) {
    const int64_t u = row.u + x * row.du;
    const int64_t v = row.v + x * row.dv;
    const int64_t ix = u >> 16, iy = v >> 16;
    const int fx = static_cast<int>((u >> 8) & 255), fy = static_cast<int>((v >> 9) & 127);
    const BYTE* beneath = &under[static_cast<size_t>(x) * 3];
    const auto at = [&](int64_t px, int64_t py) {
      return px >= 0 && py >= 0 && px < s.width && py < s.height ? s.top + py * s.step + px * 3 : beneath;
    };
    const bool outside = ix < -1 || iy < -1 || ix >= s.width || iy >= s.height;
    for (int c = 0; c < 3; ++c) {
      if (outside) {
        out[static_cast<size_t>(x) * 3 + c] = beneath[c];
        continue;
      }
      const int left = at(ix, iy)[c] * (128 - fy) + at(ix, iy + 1)[c] * fy;
      const int right = at(ix + 1, iy)[c] * (128 - fy) + at(ix + 1, iy + 1)[c] * fy;
      out[static_cast<size_t>(x) * 3 + c] = static_cast<BYTE>((left * (256 - fx) + right * fx + 16384) >> 15);
    }
  }
  return out;
}

// Samples the row into a buffer with guard bytes after it; the row in place over `under` too.
void ExpectLikeTheModel(const SourceView& s, const AffineRow& row, int n, const char* what) {
  std::vector<BYTE> under(static_cast<size_t>(n) * 3);
  for (size_t i = 0; i < under.size(); ++i) under[i] = static_cast<BYTE>(i * 37 + 11);
  const std::vector<BYTE> expected = Model(s, row, under, n);
  std::vector<BYTE> out(under.size() + 16, 0xA5);
  SampleRow(s, row, under.data(), out.data(), n);
  ASSERT_EQ(std::memcmp(out.data(), expected.data(), expected.size()), 0) << what;
  for (size_t i = expected.size(); i < out.size(); ++i)
    ASSERT_EQ(out[i], 0xA5) << what << ": wrote past the row";
  std::vector<BYTE> inPlace(under);
  inPlace.resize(under.size() + 16, 0xA5);
  SampleRow(s, row, inPlace.data(), inPlace.data(), n);
  ASSERT_EQ(std::memcmp(inPlace.data(), expected.data(), expected.size()), 0) << what << " (in place)";
}

constexpr int64_t Fixed(double value) {
  return static_cast<int64_t>(value * 65536 + (value < 0 ? -0.5 : 0.5));
}

TEST(Sampler, RowsGiveTheModelsBytes) {
  struct Case {
    const char* what;
    int width, height;
    double u, du, v, dv;
    int n;
  };
  const Case kCases[] = {
      {"reduced level row", 300, 200, 3.3, 1.6, 50.7, 0, 150},
      {"magnified level row", 300, 200, 10.1, 0.37, 20.25, 0, 301},
      {"mirrored level row", 300, 200, 290.6, -1.3, 10.5, 0, 200},
      {"whole pixels (a copy)", 300, 200, 4, 1, 7, 0, 250},
      {"level row over both edges", 60, 40, -5.5, 1.3, 12.2, 0, 70},
      {"level row ending at the right edge", 60, 40, 0.2, 1.0, 38.9, 0, 59},
      {"level row along the last rows", 61, 41, 0.7, 0.99, 39.5, 0, 61},
      {"turned row", 300, 200, 5.1, 1.55, 20.3, 0.11, 180},
      {"steeply turned row", 300, 200, 20.1, 0.4, 2.3, 1.3, 140},
      {"turned row out of the right edge", 80, 60, 40.3, 0.9, 30.6, -0.2, 60},
      {"turned row in from the left edge", 80, 60, -20.3, 1.2, 50.6, 0.3, 60},
      {"turned row along the bottom", 80, 60, 1.3, 1.1, 58.4, 0.01, 70},
      {"one-pixel picture", 1, 1, -1.5, 0.2, -0.6, 0.01, 20},
      {"two-pixel picture", 2, 2, -0.9, 0.15, -0.2, 0.05, 25},
      {"one-row picture", 40, 1, 0.5, 0.7, -0.5, 0, 60},
      {"row wholly outside", 40, 30, 50, 1, 10, 0, 20},
  };
  for (const bool bottomUp : {false, true}) {
    for (const Case& c : kCases) {
      const GuardedPicture picture(c.width, c.height, bottomUp, 5);
      ExpectLikeTheModel(picture.View(), {Fixed(c.u), Fixed(c.v), Fixed(c.du), Fixed(c.dv)}, c.n, c.what);
      // Every short length, so each tail after the runs of four is met.
      for (int n = 1; n <= 9 && n < c.n; ++n)
        ExpectLikeTheModel(picture.View(), {Fixed(c.u), Fixed(c.v), Fixed(c.du), Fixed(c.dv)}, n, c.what);
    }
  }
}

TEST(Sampler, RandomRowsGiveTheModelsBytes) {
  std::mt19937 random(20);
  const auto between = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  for (int picture = 0; picture < 12; ++picture) {
    const int width = 2 + static_cast<int>(random() % 90);
    const int height = 2 + static_cast<int>(random() % 60);
    const GuardedPicture source(width, height, picture % 2 == 1, static_cast<uint32_t>(picture));
    for (int i = 0; i < 300; ++i) {
      const bool level = i % 2 == 0;
      const AffineRow row{Fixed(between(-10, width + 5)), Fixed(between(-3, height + 2)),
                          Fixed(between(-2.5, 2.5)), level ? 0 : Fixed(between(-1.5, 1.5))};
      const int n = 1 + static_cast<int>(random() % 120);
      ExpectLikeTheModel(source.View(), row, n, level ? "random level row" : "random turned row");
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
