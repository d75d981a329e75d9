// SPDX-License-Identifier: MIT
#pragma once
// bannerView_: a sunken white box whose 250 x 127 drawable area keeps a persistent
// image, so what was drawn into it repaints after being covered.
#include <QFrame>
#include <QImage>
#include <QRgb>

namespace kuvell {

class BannerView : public QFrame
{
  public:
    explicit BannerView(QWidget* parent);

    // Paints row y from column x to the right edge in one colour; a position
    // outside the drawable area draws nothing.
    void drawRowFrom(int x, int y, QRgb colour);
    // Replaces the whole persistent image (scaled to the drawable area if needed;
    // a null picture leaves it white).
    void setPicture(const QImage& picture);
    const QImage& picture() const { return canvas_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage canvas_;
};

}  // namespace kuvell
