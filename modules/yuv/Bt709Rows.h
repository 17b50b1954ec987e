// BT.709 limited-range conversion of 24-bit pixels (B, G, R in memory) into 4:2:0 planes, two
// rows at a time, read straight from the picture.
#pragma once

#include <cstdint>

namespace pictavo::yuv {

// Converts `width` pixels of the rows `above` and `below` (the same row for an odd last row):
// their luma into yAbove and yBelow (yBelow may be null), and the chroma of each 2 x 2 block
// (the mean of its pixels; the last column of an odd width counts twice) into u and v.
void Bt709RowPair(const uint8_t* above, const uint8_t* below, uint8_t* yAbove, uint8_t* yBelow, uint8_t* u,
                  uint8_t* v, int width);

}  // namespace pictavo::yuv
