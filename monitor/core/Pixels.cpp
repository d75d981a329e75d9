// SPDX-License-Identifier: MIT
#include "monitor/core/Pixels.h"

#include <algorithm>
#include <atomic>
#include <ostream>

namespace kuvell {

namespace {

uint64_t freshContentKey()
{
    static std::atomic<uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const PixelRect& rect)
{
    return out << rect.x << "," << rect.y << " " << rect.width << "x" << rect.height;
}

PixelImage::PixelImage(int width, int height, uint32_t fill) { resize(width, height, fill); }

uint32_t PixelImage::pixel(int x, int y) const
{
    if (x < 0 || x >= width_ || y < 0 || y >= height_) {
        return 0;
    }
    return pixels_[index(x, y)];
}

uint32_t* PixelImage::editRow(int y)
{
    touch();
    return pixels_.data() + index(0, y);
}

void PixelImage::setPixel(int x, int y, uint32_t colour)
{
    if (x >= 0 && x < width_ && y >= 0 && y < height_) {
        touch();
        pixels_[index(x, y)] = colour;
    }
}

void PixelImage::fill(uint32_t colour)
{
    touch();
    std::fill(pixels_.begin(), pixels_.end(), colour);
}

void PixelImage::resize(int width, int height, uint32_t fill)
{
    width = std::max(0, width);
    height = std::max(0, height);
    touch();
    if (width == width_ && height == height_) {
        return;
    }
    std::vector<uint32_t> next(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                               fill);
    const int sharedRows = std::min(height, height_);
    const int sharedColumns = std::min(width, width_);
    for (int y = 0; y < sharedRows; ++y) {
        const uint32_t* from = row(y);
        std::copy(from, from + sharedColumns,
                  next.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    pixels_ = std::move(next);
    width_ = width;
    height_ = height;
}

void PixelImage::touch() { contentKey_ = freshContentKey(); }

}  // namespace kuvell
