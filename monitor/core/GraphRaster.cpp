// SPDX-License-Identifier: MIT
#include "monitor/core/GraphRaster.h"

#include <algorithm>
#include <cstring>

namespace kuvell {

namespace {

constexpr uint8_t kClearIndex = 0;
constexpr uint8_t kDownloadIndex = 1;
constexpr uint8_t kUploadIndex = 2;

// Columns first..last of a row; empty when last < first.
struct ColumnSpan
{
    int first = 0;
    int last = -1;
    bool empty() const { return last < first; }
};

// Where `a` and `b` differ within columns 0..count-1, to the nearest whole
// cache line (16 pixels) on each side, found with memcmp.
ColumnSpan differingColumns(const uint32_t* a, const uint32_t* b, int count)
{
    constexpr int kBlock = 16;
    const auto blockDiffers = [&](int start) {
        const int length = std::min(kBlock, count - start);
        return std::memcmp(a + start, b + start,
                           static_cast<std::size_t>(length) * sizeof(uint32_t)) != 0;
    };
    int first = 0;
    while (first < count && !blockDiffers(first)) {
        first += kBlock;
    }
    if (first >= count) {
        return {};
    }
    int last = (count - 1) / kBlock * kBlock;
    while (!blockDiffers(last)) {
        last -= kBlock;
    }
    return {first, std::min(count, last + kBlock) - 1};
}

// The first and last columns in from..to-1 that are not `colour`.
ColumnSpan columnsNotIn(const uint32_t* row, int from, int to, uint32_t colour)
{
    const auto isOther = [colour](uint32_t pixel) { return pixel != colour; };
    const uint32_t* first = std::find_if(row + from, row + to, isOther);
    if (first == row + to) {
        return {};
    }
    const auto last = std::find_if(std::make_reverse_iterator(row + to),
                                   std::make_reverse_iterator(first), isOther);
    return {static_cast<int>(first - row), static_cast<int>(last.base() - row) - 1};
}

}  // namespace

GraphBuffer::GraphBuffer(int outerWidth, int outerHeight)
{
    colours_.fill(rgbFromBgr(kDesignBackground));
    setOuterSize(outerWidth, outerHeight);
}

void GraphBuffer::setOuterSize(int outerWidth, int outerHeight, int dpi)
{
    dpi_ = dpi;
    border_ = scaledPixels(kBorder, dpi);
    const int width = std::max(0, outerWidth - 2 * border_);
    const int height = std::max(0, outerHeight - 2 * border_);
    if (width == width_ && height == height_) {
        return;
    }
    std::vector<uint8_t> next(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                              kClearIndex);
    const int sharedRows = std::min(height, height_);
    const int sharedColumns = std::min(width, width_);
    for (int y = 0; y < sharedRows; ++y) {
        std::copy_n(row(y), sharedColumns, next.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    indices_ = std::move(next);
    width_ = width;
    height_ = height;
    rowColours_.assign(static_cast<std::size_t>(width_), colours_[kClearIndex]);
}

PixelSize GraphBuffer::outerSize() const { return {width_ + 2 * border_, height_ + 2 * border_}; }

void GraphBuffer::setBackground(int32_t bgr)
{
    colours_[kClearIndex] = rgbFromBgr(bgr);
    std::fill(indices_.begin(), indices_.end(), kClearIndex);
    lastDisplayClearRows_ = 0;  // cleared to another colour
}

uint32_t GraphBuffer::pixel(int x, int y) const
{
    if (x < 0 || x >= width_ || y < 0 || y >= height_) {
        return 0;
    }
    return colours_[row(y)[x]];
}

PixelRect GraphBuffer::paintFrame(const RateHistories& histories, int32_t graphScale,
                                  int32_t downloadColour, int32_t uploadColour, PixelImage& display)
{
    colours_[kDownloadIndex] = rgbFromBgr(downloadColour);
    colours_[kUploadIndex] = rgbFromBgr(uploadColour);
    int topDrawn = height_;  // rows above it were not touched and are still clear
    for (std::size_t slot = 0; slot < kHistorySlots; ++slot) {
        const int first = std::max(0, barColumn(width_, static_cast<int>(slot), dpi_));
        const int end = std::min(width_, barColumn(width_, static_cast<int>(slot) - 1, dpi_));
        if (first >= end) {
            continue;
        }
        for (const Bar& bar :
             barsInDrawOrder(histories.downloadHistory[slot], histories.uploadHistory[slot],
                             downloadColour, uploadColour)) {
            if (const auto rows = barRows(bar.value, graphScale, display.height(), height_)) {
                drawBar(first, end, *rows,
                        bar.colour == downloadColour ? kDownloadIndex : kUploadIndex);
                topDrawn = std::min(topDrawn, rows->first);
            }
        }
    }
    const int clearInBoth =
        display.contentKey() == lastDisplayKey_ ? std::min(lastDisplayClearRows_, topDrawn) : 0;
    const PixelRect changed = copyTo(display, clearInBoth);
    lastDisplayKey_ = display.contentKey();
    lastDisplayClearRows_ = std::min(topDrawn, display.height());
    for (int y = topDrawn; y < height_; ++y) {
        std::memset(row(y), kClearIndex, static_cast<std::size_t>(width_));
    }
    return changed;
}

void GraphBuffer::drawBar(int firstColumn, int endColumn, RowSpan rows, uint8_t colourIndex)
{
    for (int y = rows.first; y <= rows.last; ++y) {
        std::fill(row(y) + firstColumn, row(y) + endColumn, colourIndex);
    }
}

PixelRect GraphBuffer::copyTo(PixelImage& display, int firstRow)
{
    // Only pixels that differ are written, and their bounding box is what the
    // screen needs: from one second to the next much of the graph stays the
    // same (the background above the bars, and everything left of the oldest
    // bar until the history is full).
    const uint32_t background = colours_[kClearIndex];
    const int width = display.width();
    const int sharedRows = std::min(display.height(), height_);
    const int sharedColumns = std::min(width, width_);
    PixelRect changed;
    for (int y = firstRow; y < display.height(); ++y) {
        const uint32_t* current = display.row(y);
        const bool inBuffer = y < sharedRows;
        const int copied = inBuffer ? sharedColumns : 0;
        if (inBuffer) {
            const uint8_t* indices = row(y);
            std::transform(indices, indices + copied, rowColours_.begin(),
                           [this](uint8_t index) { return colours_[index]; });
        }
        const uint32_t* source = rowColours_.data();
        const ColumnSpan fromBuffer = differingColumns(current, source, copied);
        const ColumnSpan beyond = columnsNotIn(current, copied, width, background);
        if (fromBuffer.empty() && beyond.empty()) {
            continue;
        }
        uint32_t* target = display.editRow(y);
        if (!fromBuffer.empty()) {
            std::copy(source + fromBuffer.first, source + fromBuffer.last + 1,
                      target + fromBuffer.first);
        }
        if (!beyond.empty()) {
            std::fill(target + beyond.first, target + beyond.last + 1, background);
        }
        const int first = fromBuffer.empty() ? beyond.first : fromBuffer.first;
        const int last = beyond.empty() ? fromBuffer.last : beyond.last;
        changed = changed.united({first, y, last - first + 1, 1});
    }
    return changed;
}

}  // namespace kuvell
