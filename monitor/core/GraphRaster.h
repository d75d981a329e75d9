// SPDX-License-Identifier: MIT
#pragma once
// The graph's pixels. The buffer is never shown: every frame is drawn into it,
// copied in one block into the display image, and the buffer is cleared again.
// The display image is a PixelImage that the window system shows as it is.
#include <array>
#include <cstdint>
#include <vector>

#include "monitor/core/GraphGeometry.h"
#include "monitor/core/Pixels.h"
#include "monitor/core/RateHistories.h"

namespace kuvell {

// Both boxes' background and pen colour at design (0x00BBGGRR).
inline constexpr int32_t kDesignBackground = 0x00BEAA49;

// A box with a 2-pixel sunken border on each side that is never shown.
class GraphBuffer
{
  public:
    static constexpr int kBorder = 2;  // at 96 dpi

    // outer size in pixels; the drawing area is 2 * kBorder smaller each way.
    GraphBuffer(int outerWidth, int outerHeight);

    // Keeps the drawing area's contents where the sizes overlap. At a display
    // scale (dpi, see Twips.h) the border grows with it and each history slot
    // takes dpi / 96 columns on average, its edges on whole pixels.
    void setOuterSize(int outerWidth, int outerHeight, int dpi = kBaseDpi);
    PixelSize outerSize() const;

    // The clear colour (0x00BBGGRR); also clears the buffer to it.
    void setBackground(int32_t bgr);

    // One frame: every bar into the buffer in draw order, the buffer's top-left
    // display-sized block copied into `display` (rows and columns outside the
    // buffer's drawing area in the clear colour), then the buffer cleared.
    // Only display pixels that differ are written. Returns a rectangle around
    // them (empty: nothing changed), so that only it goes to the screen.
    PixelRect paintFrame(const RateHistories& histories, int32_t graphScale, int32_t downloadColour,
                         int32_t uploadColour, PixelImage& display);

    // The drawing area, one byte a pixel: the buffer only ever holds the clear
    // colour and the two bar colours, so it takes a quarter of the memory of
    // a true-colour image.
    int width() const { return width_; }
    int height() const { return height_; }
    // The colour shown at a pixel of the drawing area (0 outside it).
    uint32_t pixel(int x, int y) const;

  private:
    void drawBar(int firstColumn, int endColumn, RowSpan rows, uint8_t colourIndex);
    PixelRect copyTo(PixelImage& display, int firstRow);
    uint8_t* row(int y) { return indices_.data() + static_cast<std::size_t>(y) * width_; }
    const uint8_t* row(int y) const
    {
        return indices_.data() + static_cast<std::size_t>(y) * width_;
    }

    int dpi_ = kBaseDpi;
    int border_ = kBorder;
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> indices_;
    // The true colour of each colour index: the clear colour and the two bar colours.
    std::array<uint32_t, 3> colours_;
    std::vector<uint32_t> rowColours_;  // one buffer row in true colour, for the copy
    // The display content the last frame left (by content key) and how many of
    // its top rows it left in the clear colour. Rows that both frames leave
    // clear need no comparing.
    uint64_t lastDisplayKey_ = 0;
    int lastDisplayClearRows_ = 0;
};

}  // namespace kuvell
