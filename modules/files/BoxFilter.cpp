#include "modules/files/BoxFilter.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kChannels = 3;
constexpr long long kMaxMaskArea = 1LL << 24;  // 255 x area stays within 32 bits

const Ipp8u* RowAt(const Ipp8u* origin, int step, int row) {
  return origin + static_cast<ptrdiff_t>(row) * step;
}

Ipp8u* RowAt(Ipp8u* origin, int step, int row) {
  return origin + static_cast<ptrdiff_t>(row) * step;
}

bool StepCovers(int step, int width) {
  return std::llabs(static_cast<long long>(step)) >= static_cast<long long>(width) * kChannels;
}

}  // namespace

IppStatus Zorv_ippiFilterBox_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                    IppiSize dstRoiSize, IppiSize maskSize, IppiPoint anchor) {
  if (!pSrc || !pDst) return ippStsNullPtrErr;
  const int width = dstRoiSize.width, height = dstRoiSize.height;
  if (width <= 0 || height <= 0) return ippStsSizeErr;
  if (maskSize.width <= 0 || maskSize.height <= 0 ||
      static_cast<long long>(maskSize.width) * maskSize.height > kMaxMaskArea)
    return ippStsMaskSizeErr;
  if (anchor.x < 0 || anchor.y < 0 || anchor.x >= maskSize.width || anchor.y >= maskSize.height)
    return ippStsAnchorErr;
  if (!StepCovers(dstStep, width) || !StepCovers(srcStep, width + maskSize.width - 1)) return ippStsStepErr;

  // Column sums over the mask's rows, for every source column the region reads; they slide down
  // one row per destination row, and a window of them slides across each row.
  const int columns = width + maskSize.width - 1;
  std::vector<uint32_t> sums(static_cast<size_t>(columns) * kChannels, 0);
  const Ipp8u* left = pSrc - static_cast<ptrdiff_t>(anchor.x) * kChannels;  // source column -anchor.x
  auto addRow = [&](int row, int sign) {
    const Ipp8u* p = RowAt(left, srcStep, row);
    for (size_t i = 0; i < sums.size(); ++i) sums[i] += static_cast<uint32_t>(sign * p[i]);
  };
  for (int j = 0; j < maskSize.height; ++j) addRow(j - anchor.y, +1);

  const uint32_t area = static_cast<uint32_t>(maskSize.width) * static_cast<uint32_t>(maskSize.height);
  const uint32_t half = area / 2;
  const size_t span = static_cast<size_t>(maskSize.width) * kChannels;
  for (int y = 0; y < height; ++y) {
    Ipp8u* out = RowAt(pDst, dstStep, y);
    uint32_t window[kChannels] = {0, 0, 0};
    for (size_t i = 0; i < span; ++i) window[i % kChannels] += sums[i];
    for (int x = 0;; ++x) {
      for (int c = 0; c < kChannels; ++c)
        out[x * kChannels + c] = static_cast<Ipp8u>((window[c] + half) / area);
      if (x + 1 == width) break;
      const size_t leaving = static_cast<size_t>(x) * kChannels, entering = leaving + span;
      for (int c = 0; c < kChannels; ++c) window[c] += sums[entering + c] - sums[leaving + c];
    }
    if (y + 1 < height) {
      addRow(y - anchor.y, -1);
      addRow(y - anchor.y + maskSize.height, +1);
    }
  }
  return ippStsNoErr;
}

IppStatus Zorv_ippiCopyReplicateBorder_8u_C3R(const Ipp8u* pSrc, int srcStep, IppiSize srcRoiSize,
                                              Ipp8u* pDst, int dstStep, IppiSize dstRoiSize,
                                              int topBorderHeight, int leftBorderWidth) {
  if (!pSrc || !pDst) return ippStsNullPtrErr;
  const int srcW = srcRoiSize.width, srcH = srcRoiSize.height;
  const int dstW = dstRoiSize.width, dstH = dstRoiSize.height;
  if (srcW <= 0 || srcH <= 0 || topBorderHeight < 0 || leftBorderWidth < 0 ||
      static_cast<long long>(srcW) + leftBorderWidth > dstW ||
      static_cast<long long>(srcH) + topBorderHeight > dstH)
    return ippStsSizeErr;
  if (!StepCovers(srcStep, srcW) || !StepCovers(dstStep, dstW)) return ippStsStepErr;

  const size_t rowBytes = static_cast<size_t>(srcW) * kChannels;
  const int rightBorder = dstW - srcW - leftBorderWidth;
  for (int y = 0; y < dstH; ++y) {
    const Ipp8u* in = RowAt(pSrc, srcStep, std::clamp(y - topBorderHeight, 0, srcH - 1));
    Ipp8u* out = RowAt(pDst, dstStep, y);
    for (int x = 0; x < leftBorderWidth; ++x, out += kChannels) std::memcpy(out, in, kChannels);
    std::memcpy(out, in, rowBytes);
    out += rowBytes;
    const Ipp8u* last = in + rowBytes - kChannels;
    for (int x = 0; x < rightBorder; ++x, out += kChannels) std::memcpy(out, last, kChannels);
  }
  return ippStsNoErr;
}
