// SPDX-License-Identifier: MIT
#pragma once
// Kuvell's icon in the notification area, with the core's four pictures.
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <array>
#include <optional>

#include "frontends/qt/TrayImages.h"

namespace kuvell {

class TrayIcon : public QObject
{
    Q_OBJECT
  public:
    explicit TrayIcon(QObject* parent = nullptr);

    // Puts the icon into the notification area (when one exists) with image 1..4.
    void add(int image, const QString& toolTip);
    // nullopt leaves the picture or the tooltip as it is.
    void modify(std::optional<int> image, const std::optional<QString>& toolTip);
    // Right-click menu (an exported menu on StatusNotifierItem hosts); not owned.
    void setContextMenu(QMenu* menu) { icon_.setContextMenu(menu); }
    // Removes the icon; later calls (and later modifies) do nothing.
    void removeIcon();

    bool exists() const { return exists_; }
    int image() const { return image_; }
    const QString& toolTip() const { return toolTip_; }
    // The picture as the notification area is given it.
    QIcon picture() const { return icon_.icon(); }

  signals:
    void activated(QSystemTrayIcon::ActivationReason reason);

  private:
    void setImage(int image);

    std::array<QIcon, kTrayImageCount> trayImages_;
    QSystemTrayIcon icon_;
    bool exists_ = false;
    int image_ = 0;
    QString toolTip_;
};

}  // namespace kuvell
