// SPDX-License-Identifier: MIT
#pragma once
// The visible graph box. Its pixels are the core's display image, which the
// graph buffer paints; the widget shows them without a copy and repaints only
// what a frame changed.
#include <QImage>
#include <QWidget>

#include "monitor/core/GraphRaster.h"
#include "monitor/core/Pixels.h"

namespace kuvell {

// graphView_: no border, so its drawing area is its whole size.
class GraphDisplay : public QWidget
{
  public:
    explicit GraphDisplay(QWidget* parent);

    // Moves and sizes the box; its image follows at once, also while hidden
    // (Qt delays a hidden widget's resize event until it is shown).
    void place(QRect geometry);

    // What the graph buffer paints into; showChanged then puts a frame's
    // changed rectangle on the screen.
    PixelImage& pixels() { return pixels_; }
    void showChanged(const PixelRect& changed);

    // pixels() as Qt sees them: the same memory, read-only. A copy of it shares
    // that memory, so it shows later frames too and is valid only until the
    // next place() that changes the size; copy() keeps a picture.
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    PixelImage pixels_;
    QImage image_;
};

}  // namespace kuvell
