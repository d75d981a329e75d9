// SPDX-License-Identifier: MIT
#include "frontends/qt/BannerPicture.h"

#include <QFont>
#include <QPainter>

#include "frontends/qt/QtText.h"
#include "settings/core/BannerBackdrop.h"

namespace kuvell {

QImage drawBanner()
{
    const std::vector<uint32_t> backdrop = bannerBackdrop();
    QImage picture = QImage(reinterpret_cast<const uchar*>(backdrop.data()), kBannerDrawableWidth,
                            kBannerDrawableHeight, QImage::Format_RGB32)
                         .convertToFormat(QImage::Format_RGB888);
    QPainter painter(&picture);
    for (const BannerText& line : kBannerTexts) {
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(line.pixelHeight);
        font.setBold(line.bold);
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(line.colour));
        painter.drawText(QRect(line.area.x, line.area.y, line.area.width, line.area.height),
                         Qt::AlignLeft | Qt::AlignVCenter, qText(line.text));
    }
    return picture;
}

}  // namespace kuvell
