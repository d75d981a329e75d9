// SPDX-License-Identifier: MIT
#pragma once
// The INI file store with QSettings as its codec: Qt reads the lines that are
// not literal and spells what is written. What the store cannot read or save
// goes to the "kuvell.store" log category.
#include <QLoggingCategory>
#include <QString>

#include "settings/linux/IniFileStore.h"

namespace kuvell {

Q_DECLARE_LOGGING_CATEGORY(storeLog)

class SettingsStore : public IniFileStore
{
  public:
    explicit SettingsStore(const QString& filePath);
};

// configHome() (platform/ConfigHome.h) + "/kuvell/kuvell.ini".
QString defaultSettingsFilePath();

}  // namespace kuvell
