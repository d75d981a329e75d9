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

    // readText and a one-key writeTexts for Qt's strings: the stored text when
    // the key exists (also when empty), else defaultText.
    QString readSetting(const QString& section, const QString& key,
                        const QString& defaultText) const;
    [[nodiscard]] Result writeSetting(const QString& section, const QString& key,
                                      const QString& text);
    QString filePath() const;
};

// configHome() (platform/ConfigHome.h) + "/kuvell/kuvell.ini".
QString defaultSettingsFilePath();

}  // namespace kuvell
