// SPDX-License-Identifier: MIT
#pragma once
// The Qt program's INI store, read and written with Qt's strings, one key at a
// time: how the store's and the widgets' tests set up and check files.
#include <QFile>
#include <QString>
#include <span>

#include "frontends/qt/SettingsStore.h"

namespace kuvell::testsupport {

class TextStore : public SettingsStore
{
  public:
    using SettingsStore::SettingsStore;

    // The stored text when the key exists (also when empty), else defaultText.
    QString readSetting(const QString& section, const QString& key,
                        const QString& defaultText) const
    {
        const std::optional<std::string> text =
            readText({section.toStdString(), key.toStdString()});
        return text ? QString::fromStdString(*text) : defaultText;
    }

    [[nodiscard]] Result writeSetting(const QString& section, const QString& key,
                                      const QString& text)
    {
        const std::string sectionName = section.toStdString();
        const std::string keyName = key.toStdString();
        const StoreChange change{{sectionName, keyName}, text.toStdString()};
        return writeTexts(std::span<const StoreChange>(&change, 1));
    }

    QString filePath() const { return QFile::decodeName(location().c_str()); }
};

}  // namespace kuvell::testsupport
