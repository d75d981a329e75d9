// SPDX-License-Identifier: MIT
#pragma once
// The visible graph box. Its pixels are the core's display image, which the
// presenter paints; the widget shows them without a copy and repaints only
// what a frame changed.
#include <QImage>
#include <QWidget>

#include "monitor/core/Pixels.h"

namespace kuvell {

// graphView_: no border, so its drawing area is its whole size.
class GraphDisplay : public QWidget
{
  public:
    explicit GraphDisplay(QWidget* parent);

    // Moves and sizes the box, which shows `pixels` from now on (kept by the
    // caller until the next place()).
    void place(QRect geometry, const PixelImage& pixels);
    // Puts a frame's changed rectangle on the screen.
    void showChanged(const PixelRect& changed);

    // The pixels as Qt sees them: the same memory, read-only. A copy of it
    // shares that memory, so it shows later frames too and is valid only until
    // the next place() that changes the size; copy() keeps a picture.
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage image_;
};

}  // namespace kuvell
