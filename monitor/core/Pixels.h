// SPDX-License-Identifier: MIT
#pragma once
// Plain pixel geometry and a 32-bit image that any window system can show as
// it is: rows top to bottom, each `width` pixels of one uint32_t, the layout
// of Qt's Format_RGB32/Format_ARGB32 and of a top-down 32-bit Windows DIB.
#include <cstdint>
#include <iosfwd>
#include <vector>

#include "platform/core/PixelRect.h"

namespace kuvell {

struct PixelPoint
{
    int x = 0;
    int y = 0;
};

struct PixelSize
{
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct PixelMargins
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// "x,y widthxheight", for messages.
std::ostream& operator<<(std::ostream& out, const PixelRect& rect);

// 0xFFRRGGBB, opaque.
inline constexpr uint32_t opaqueRgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return 0xFF000000u | (red & 0xFFu) << 16 | (green & 0xFFu) << 8 | (blue & 0xFFu);
}

// A stored colour (0x00BBGGRR, red in the low byte; the high byte carries
// nothing) as an opaque pixel.
inline constexpr uint32_t rgbFromBgr(int32_t bgr)
{
    const auto bits = static_cast<uint32_t>(bgr);
    return opaqueRgb(bits, bits >> 8, bits >> 16);
}

// A pixel as a colour to store (0x00BBGGRR); its alpha byte carries nothing.
inline constexpr int32_t bgrFromRgb(uint32_t pixel)
{
    return static_cast<int32_t>((pixel >> 16 & 0xFFu) | (pixel & 0xFF00u) | (pixel & 0xFFu) << 16);
}

class PixelImage
{
  public:
    PixelImage() = default;
    // Negative sizes count as 0.
    PixelImage(int width, int height, uint32_t fill);

    int width() const { return width_; }
    int height() const { return height_; }
    PixelSize size() const { return {width_, height_}; }
    PixelRect rect() const { return {0, 0, width_, height_}; }
    bool empty() const { return pixels_.empty(); }
    // width() * height() pixels, row after row; null when empty.
    const uint32_t* pixels() const { return empty() ? nullptr : pixels_.data(); }
    const uint32_t* row(int y) const { return pixels_.data() + index(0, y); }
    // 0 outside the image.
    uint32_t pixel(int x, int y) const;

    // Every way of writing gives the image a new content key. Outside the
    // image setPixel does nothing; editRow needs a row inside it.
    uint32_t* editRow(int y);
    void setPixel(int x, int y, uint32_t colour);
    void fill(uint32_t colour);
    // Keeps the part both sizes share where it was; the rest in `fill`.
    void resize(int width, int height, uint32_t fill);

    // Differs from every earlier key whenever the pixels may have changed, so
    // that whoever wrote them last can tell that nobody else has since.
    uint64_t contentKey() const { return contentKey_; }

    // The same size and pixels; the content key is no part of the picture.
    bool operator==(const PixelImage& other) const
    {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }

  private:
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    void touch();

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
    uint64_t contentKey_ = 0;
};

}  // namespace kuvell
