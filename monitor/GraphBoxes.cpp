// SPDX-License-Identifier: MIT
#include "monitor/GraphBoxes.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cstring>

#include "settings/Colours.h"

namespace kuvell {

namespace {

constexpr QImage::Format kFormat = QImage::Format_RGB32;

// The buffer's colour table: the clear colour and the two bar colours.
constexpr uchar kClearIndex = 0;
constexpr uchar kDownloadIndex = 1;
constexpr uchar kUploadIndex = 2;

QRgb rgb(int32_t bgr) { return colourFromBgr(bgr).rgb(); }

// A new image of `size` that keeps the overlapping part of `old`; the rest in `fill`.
QImage resized(const QImage& old, QSize size, QRgb fill)
{
    QImage resized(size.expandedTo(QSize(0, 0)), kFormat);
    resized.fill(fill);
    if (!old.isNull() && !resized.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, old);
    }
    return resized;
}

// Columns first..last of a row; empty when last < first.
struct ColumnSpan
{
    int first = 0;
    int last = -1;
    bool empty() const { return last < first; }
};

// Where `a` and `b` differ within columns 0..count-1, to the nearest whole
// cache line (16 pixels) on each side, found with memcmp.
ColumnSpan differingColumns(const QRgb* a, const QRgb* b, int count)
{
    constexpr int kBlock = 16;
    const auto blockDiffers = [&](int start) {
        const int length = std::min(kBlock, count - start);
        return std::memcmp(a + start, b + start, static_cast<std::size_t>(length) * sizeof(QRgb)) !=
               0;
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
ColumnSpan columnsNotIn(const QRgb* row, int from, int to, QRgb colour)
{
    const auto isOther = [colour](QRgb pixel) { return pixel != colour; };
    const QRgb* first = std::find_if(row + from, row + to, isOther);
    if (first == row + to) {
        return {};
    }
    const auto last = std::find_if(std::make_reverse_iterator(row + to),
                                   std::make_reverse_iterator(first), isOther);
    return {static_cast<int>(first - row), static_cast<int>(last.base() - row) - 1};
}

}  // namespace

GraphDisplay::GraphDisplay(QWidget* parent) : QWidget(parent)
{
    // The image covers every pixel, so Qt need not clear the widget first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphDisplay::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
}

void GraphDisplay::place(QRect geometry)
{
    setGeometry(geometry);
    if (image_.size() != size()) {
        image_ = resized(image_, size(), rgb(kDesignBackground));
    }
}

GraphBuffer::GraphBuffer(QSize outerSize) : background_(rgb(kDesignBackground))
{
    setOuterSize(outerSize);
}

void GraphBuffer::setOuterSize(QSize outerSize)
{
    const QSize area = (outerSize - QSize(2 * kBorder, 2 * kBorder)).expandedTo(QSize(0, 0));
    if (area == image_.size()) {
        return;
    }
    QImage next(area, QImage::Format_Indexed8);
    next.setColorTable({background_, background_, background_});
    next.fill(kClearIndex);
    const int sharedRows = std::min(area.height(), image_.height());
    const auto sharedBytes = static_cast<std::size_t>(std::min(area.width(), image_.width()));
    for (int row = 0; row < sharedRows; ++row) {
        std::memcpy(next.scanLine(row), image_.constScanLine(row), sharedBytes);
    }
    image_ = std::move(next);
    rowColours_.assign(static_cast<std::size_t>(image_.width()), background_);
}

QSize GraphBuffer::outerSize() const { return image_.size() + QSize(2 * kBorder, 2 * kBorder); }

void GraphBuffer::setBackground(int32_t bgr)
{
    background_ = rgb(bgr);
    if (!image_.isNull()) {
        image_.setColor(kClearIndex, background_);
        image_.fill(kClearIndex);
    }
    lastDisplayClearRows_ = 0;  // cleared to another colour
}

QRect GraphBuffer::paintFrame(const RateHistories& histories, int32_t graphScale,
                              int32_t downloadColour, int32_t uploadColour, QImage& display)
{
    const int width = image_.width();
    const int height = image_.height();
    const std::array<QRgb, 3> colours = {background_, rgb(downloadColour), rgb(uploadColour)};
    if (!image_.isNull()) {
        image_.setColor(kDownloadIndex, colours[kDownloadIndex]);
        image_.setColor(kUploadIndex, colours[kUploadIndex]);
    }
    int topDrawn = height;  // rows above it were not touched and are still clear
    for (std::size_t slot = 0; slot < kHistorySlots; ++slot) {
        const int column = barColumn(width, static_cast<int>(slot));
        if (column < 0 || column >= width) {
            continue;
        }
        for (const Bar& bar :
             barsInDrawOrder(histories.downloadHistory[slot], histories.uploadHistory[slot],
                             downloadColour, uploadColour)) {
            if (const auto rows = barRows(bar.value, graphScale, display.height(), height)) {
                drawBar(column, *rows,
                        bar.colour == downloadColour ? kDownloadIndex : kUploadIndex);
                topDrawn = std::min(topDrawn, rows->first);
            }
        }
    }
    const int clearInBoth =
        display.cacheKey() == lastDisplayKey_ ? std::min(lastDisplayClearRows_, topDrawn) : 0;
    const QRect changed = copyTo(display, clearInBoth, colours);
    lastDisplayKey_ = display.cacheKey();
    lastDisplayClearRows_ = std::min(topDrawn, display.height());
    for (int row = topDrawn; row < height; ++row) {
        std::memset(image_.scanLine(row), kClearIndex, static_cast<std::size_t>(width));
    }
    return changed;
}

void GraphBuffer::drawBar(int column, RowSpan rows, uchar colourIndex)
{
    const auto stride = static_cast<std::ptrdiff_t>(image_.bytesPerLine());
    uchar* pixel = image_.scanLine(rows.first) + column;
    for (int row = rows.first; row <= rows.last; ++row, pixel += stride) {
        *pixel = colourIndex;
    }
}

QRect GraphBuffer::copyTo(QImage& display, int firstRow, const std::array<QRgb, 3>& colours)
{
    // Only pixels that differ are written, and their bounding box is what the
    // screen needs: from one second to the next much of the graph stays the
    // same (the background above the bars, and everything left of the oldest
    // bar until the history is full).
    const int width = display.width();
    const int sharedRows = std::min(display.height(), image_.height());
    const int sharedColumns = std::min(width, image_.width());
    QRect changed;
    for (int row = firstRow; row < display.height(); ++row) {
        const auto* current = reinterpret_cast<const QRgb*>(display.constScanLine(row));
        const bool inBuffer = row < sharedRows;
        const int copied = inBuffer ? sharedColumns : 0;
        if (inBuffer) {
            const uchar* indices = image_.constScanLine(row);
            std::transform(indices, indices + copied, rowColours_.begin(),
                           [&colours](uchar index) { return colours[index]; });
        }
        const QRgb* source = rowColours_.data();
        const ColumnSpan fromBuffer = differingColumns(current, source, copied);
        const ColumnSpan beyond = columnsNotIn(current, copied, width, background_);
        if (fromBuffer.empty() && beyond.empty()) {
            continue;
        }
        auto* target = reinterpret_cast<QRgb*>(display.scanLine(row));
        if (!fromBuffer.empty()) {
            std::memcpy(
                target + fromBuffer.first, source + fromBuffer.first,
                static_cast<std::size_t>(fromBuffer.last - fromBuffer.first + 1) * sizeof(QRgb));
        }
        if (!beyond.empty()) {
            std::fill(target + beyond.first, target + beyond.last + 1, background_);
        }
        const int first = fromBuffer.empty() ? beyond.first : fromBuffer.first;
        const int last = beyond.empty() ? fromBuffer.last : beyond.last;
        changed |= QRect(first, row, last - first + 1, 1);
    }
    return changed;
}

}  // namespace kuvell
