// The picture helpers of the still-picture path, with the argument shapes of the image-processing
// library they stand in for: 8-bit three-channel pixels (BGR), rows `step` bytes apart (a
// negative step walks a bottom-up picture from its top row), sizes in pixels.
#pragma once

#include <cstdint>

using Ipp8u = uint8_t;
using IppStatus = int;

struct IppiSize {
  int width;
  int height;
};

struct IppiPoint {
  int x;
  int y;
};

enum : IppStatus {
  ippStsNoErr = 0,
  ippStsSizeErr = -6,
  ippStsNullPtrErr = -8,
  ippStsStepErr = -14,
  ippStsMaskSizeErr = -33,
  ippStsAnchorErr = -34,
};

// Every destination pixel of `dstRoiSize` becomes the mean (rounded to nearest) of the
// `maskSize` block of source pixels whose cell `anchor` lies on it: destination (x, y) averages
// source columns x - anchor.x .. x - anchor.x + mask.width - 1 and the same for rows. The source
// must have those pixels around the region (see Zorv_ippiCopyReplicateBorder_8u_C3R), and must
// not overlap the destination. The time per pixel does not depend on the mask size (running
// sums). The mask's area may be at most 2^24 pixels.
IppStatus Zorv_ippiFilterBox_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                    IppiSize dstRoiSize, IppiSize maskSize, IppiPoint anchor);

// Copies the source into the destination with `topBorderHeight` rows above it and
// `leftBorderWidth` columns before it, and fills every pixel around it (top, bottom, left and
// right, up to the destination's size) with the nearest edge pixel of the source.
IppStatus Zorv_ippiCopyReplicateBorder_8u_C3R(const Ipp8u* pSrc, int srcStep, IppiSize srcRoiSize,
                                              Ipp8u* pDst, int dstStep, IppiSize dstRoiSize,
                                              int topBorderHeight, int leftBorderWidth);
