// SPDX-License-Identifier: MIT
#include "frontends/qt/BannerPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>

#include "frontends/qt/BannerView.h"

namespace kuvell {

namespace {

// Bar heights of the little graph: two waves, so the picture is never flat.
int barHeight(int bar, double phase, int maxHeight)
{
    const double wave = 0.55 + 0.45 * std::sin(bar * 0.45 + phase) * std::cos(bar * 0.13);
    return static_cast<int>(std::nearbyint(wave * maxHeight));
}

void drawGraph(QPainter& painter, const QRect& area)
{
    constexpr int kBarStep = 4;
    const int bars = area.width() / kBarStep;
    for (int bar = 0; bar < bars; ++bar) {
        const int x = area.left() + bar * kBarStep;
        const int download = barHeight(bar, 0.0, area.height());
        const int upload = barHeight(bar, 2.1, area.height() / 2);
        painter.fillRect(x, area.bottom() - download + 1, kBarStep - 1, download,
                         QColor(230, 60, 50));
        painter.fillRect(x, area.bottom() - upload + 1, kBarStep - 1, upload, QColor(70, 200, 90));
    }
}

}  // namespace

QImage drawBanner()
{
    QImage picture(BannerView::kDrawableWidth, BannerView::kDrawableHeight, QImage::Format_RGB888);
    QPainter painter(&picture);

    // Diagonal, so that every row changes colour along its length.
    QLinearGradient sky(0, 0, picture.width(), picture.height());
    sky.setColorAt(0.0, QColor(16, 36, 60));
    sky.setColorAt(1.0, QColor(27, 94, 110));
    painter.fillRect(picture.rect(), sky);

    drawGraph(painter, QRect(10, 70, picture.width() - 20, 48));

    QFont title(QStringLiteral("Tahoma"));
    title.setPixelSize(34);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(12, 8, picture.width() - 24, 44), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Kuvell"));

    QFont subtitle(QStringLiteral("Tahoma"));
    subtitle.setPixelSize(12);
    painter.setFont(subtitle);
    painter.setPen(QColor(190, 220, 230));
    painter.drawText(QRect(14, 48, picture.width() - 28, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("DL / UL kb/s"));
    return picture;
}

}  // namespace kuvell
