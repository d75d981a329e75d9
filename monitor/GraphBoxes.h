// SPDX-License-Identifier: MIT
#pragma once
// The two picture boxes of the graph. graphBuffer_ is never shown: every frame is
// drawn into it, copied to graphView_ in one block, and the buffer is cleared
// again. Both keep persistent images, so nothing is lost when they are covered.
#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "monitor/core/GraphGeometry.h"
#include "monitor/core/RateHistories.h"

namespace kuvell {

// Both boxes' background and pen colour at design.
inline constexpr int32_t kDesignBackground = 0x00BEAA49;

// graphView_: no border, so its drawing area is its whole size.
class GraphDisplay : public QWidget
{
  public:
    explicit GraphDisplay(QWidget* parent);

    // Moves and sizes the box; its image follows at once, also while hidden
    // (Qt delays a hidden widget's resize event until it is shown).
    void place(QRect geometry);

    const QImage& image() const { return image_; }
    QImage& image() { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage image_;
};

// graphBuffer_: a box with a 2-pixel sunken border on each side that is never shown.
class GraphBuffer
{
  public:
    static constexpr int kBorder = 2;

    // outer size in pixels; the drawing area is 2 * kBorder smaller each way.
    explicit GraphBuffer(QSize outerSize);

    // Keeps the drawing area's contents where the sizes overlap.
    void setOuterSize(QSize outerSize);
    QSize outerSize() const;

    // The clear colour (0x00BBGGRR); also clears the buffer to it.
    void setBackground(int32_t bgr);

    // One frame: every bar into the buffer in draw order, the buffer's top-left
    // display-sized block copied into `display` (rows and columns outside the
    // buffer's drawing area in the clear colour), then the buffer cleared.
    // Only display pixels that differ are written. Returns a rectangle around
    // them (empty: nothing changed), so that only it goes to the screen.
    QRect paintFrame(const RateHistories& histories, int32_t graphScale, int32_t downloadColour,
                     int32_t uploadColour, QImage& display);

    // Indexed: the buffer only ever holds the clear colour and the two bar
    // colours, so it takes a quarter of the memory of a true-colour image.
    const QImage& image() const { return image_; }

  private:
    void drawBar(int column, RowSpan rows, uchar colourIndex);
    // colours: the true colour of each of the buffer's colour indices.
    QRect copyTo(QImage& display, int firstRow, const std::array<QRgb, 3>& colours);

    QImage image_;
    QRgb background_;
    std::vector<QRgb> rowColours_;  // one buffer row in true colour, for the copy
    // The display the last frame went to (by cache key, which changes whenever
    // anything alters its pixels) and how many of its top rows it left in the
    // clear colour. Rows that both frames leave clear need no comparing.
    qint64 lastDisplayKey_ = 0;
    int lastDisplayClearRows_ = 0;
};

}  // namespace kuvell
