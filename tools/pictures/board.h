// SPDX-License-Identifier: MIT
// The board picture: pale snowy cells and candy-cane grid bars lying exactly in the gaps
// between the three bands of cells on each axis.
#pragma once

#include "pictures/canvas.h"

namespace pictures {

constexpr int kPictureSize = 651;

// One grid bar: the pixel columns (or rows) first..last, both included.
struct GridGap {
  int first, last;
};
constexpr GridGap kGridGaps[] = {{209, 220}, {430, 441}};

// Whether pixel column (or row) v lies in a grid bar.
bool InGridGap(int v);

Canvas RenderBoard();

}  // namespace pictures
