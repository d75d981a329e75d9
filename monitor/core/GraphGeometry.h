// SPDX-License-Identifier: MIT
#pragma once
// Where the graph's bars fall, in the pixel coordinates of the buffer's drawing
// area (origin top-left, y downwards).
#include <array>
#include <cstdint>
#include <optional>

#include "platform/core/Twips.h"

namespace kuvell {

// Kilobytes per tick that fill the whole graph height:
// connectionSpeed * 1.3 / 10000, rounded ties-to-even. 0 for |speed| <= 3846.
int32_t graphScale(int32_t connectionSpeed);

// Inclusive range of rows a bar paints.
struct RowSpan
{
    int first = 0;
    int last = 0;
};

// The rows of the bar for `value`: from yTop = Hd - Hd * value / graphScale
// (single precision, rounded ties-to-even) down to Hb - 1, clipped to the
// buffer's rows 0..Hb-1. No rows when the bar lies wholly outside the buffer or
// when graphScale is 0 (the bar height is undefined then).
std::optional<RowSpan> barRows(double value, int32_t graphScale, int displayHeight,
                               int bufferHeight);

// The first column of history slot i; its columns run up to the first column
// of slot i - 1. The newest slot sits at the buffer's right edge, and at 96
// dpi a slot is one column wide. At other display scales (dpi, see Twips.h) a
// slot's edges lie at rint(i * dpi / 96) from the right edge: whole pixels, no
// gap and no overlap between slots, dpi / 96 columns a slot on average.
int barColumn(int bufferWidth, int slot, int dpi = kBaseDpi);

struct Bar
{
    double value = 0;
    int32_t colour = 0;  // 0x00BBGGRR
};

// The larger value's bar first, so the shorter one stays in front; on a tie the
// download bar is drawn last and is the one that shows.
std::array<Bar, 2> barsInDrawOrder(double download, double upload, int32_t downloadColour,
                                   int32_t uploadColour);

}  // namespace kuvell
