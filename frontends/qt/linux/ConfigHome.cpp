// SPDX-License-Identifier: MIT
#include "frontends/qt/ConfigHome.h"

#include <QDir>

namespace kuvell {

QString configHome()
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configHome)) {
        return QDir::cleanPath(configHome);
    }
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.config"));
}

}  // namespace kuvell
