#include "monitor/GraphBoxes.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "platform/Colours.h"

namespace kuvell {

namespace {

constexpr QImage::Format kFormat = QImage::Format_RGB32;

QRgb Rgb(int32_t bgr) { return ColourFromBgr(bgr).rgb(); }

// A new image of `size` that keeps the overlapping part of `old`; the rest in `fill`.
QImage Resized(const QImage& old, QSize size, QRgb fill)
{
    QImage resized(size.expandedTo(QSize(0, 0)), kFormat);
    resized.fill(fill);
    if (!old.isNull() && !resized.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, old);
    }
    return resized;
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

void GraphDisplay::Place(QRect geometry)
{
    setGeometry(geometry);
    if (image_.size() != size()) {
        image_ = Resized(image_, size(), Rgb(kDesignBackground));
    }
}

GraphBuffer::GraphBuffer(QSize outerSize) : background_(Rgb(kDesignBackground))
{
    SetOuterSize(outerSize);
}

void GraphBuffer::SetOuterSize(QSize outerSize)
{
    const QSize area = outerSize - QSize(2 * kBorder, 2 * kBorder);
    if (area.expandedTo(QSize(0, 0)) != image_.size()) {
        image_ = Resized(image_, area, background_);
    }
}

QSize GraphBuffer::outerSize() const { return image_.size() + QSize(2 * kBorder, 2 * kBorder); }

void GraphBuffer::SetBackground(int32_t bgr)
{
    background_ = Rgb(bgr);
    image_.fill(background_);
}

void GraphBuffer::PaintFrame(const RateHistories& histories, int32_t graphScale, int32_t DLColor,
                             int32_t ULColor, QImage& display)
{
    const int width = image_.width();
    const int height = image_.height();
    const QRgb download = Rgb(DLColor);
    const QRgb upload = Rgb(ULColor);
    for (std::size_t slot = 0; slot < kHistorySlots; ++slot) {
        const int column = BarColumn(width, static_cast<int>(slot));
        if (column < 0 || column >= width) {
            continue;
        }
        for (const Bar& bar : BarsInDrawOrder(histories.DownloadHistory[slot],
                                              histories.UploadHistory[slot], DLColor, ULColor)) {
            if (const auto rows = BarRows(bar.value, graphScale, display.height(), height)) {
                DrawBar(column, *rows, bar.colour == DLColor ? download : upload);
            }
        }
    }
    CopyTo(display);
    image_.fill(background_);
}

void GraphBuffer::DrawBar(int column, RowSpan rows, QRgb colour)
{
    const auto stride = static_cast<std::ptrdiff_t>(image_.bytesPerLine() / sizeof(QRgb));
    QRgb* pixel = reinterpret_cast<QRgb*>(image_.scanLine(rows.first)) + column;
    for (int row = rows.first; row <= rows.last; ++row, pixel += stride) {
        *pixel = colour;
    }
}

void GraphBuffer::CopyTo(QImage& display) const
{
    const int sharedRows = std::min(display.height(), image_.height());
    const int sharedColumns = std::min(display.width(), image_.width());
    for (int row = 0; row < display.height(); ++row) {
        auto* target = reinterpret_cast<QRgb*>(display.scanLine(row));
        int copied = 0;
        if (row < sharedRows) {
            const auto* source = reinterpret_cast<const QRgb*>(image_.constScanLine(row));
            std::memcpy(target, source, static_cast<std::size_t>(sharedColumns) * sizeof(QRgb));
            copied = sharedColumns;
        }
        std::fill(target + copied, target + display.width(), background_);
    }
}

}  // namespace kuvell
