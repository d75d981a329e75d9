// SPDX-License-Identifier: MIT
#pragma once
// Kuvell's per-user store: application "kuvell", sections "options" and
// "setting", every value text. Backed by an INI file whose path main computes.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QLoggingCategory>
#include <QString>
#include <memory>

#include "settings/core/KeyValueStore.h"

namespace kuvell {

// Where the store reports what it could not read or save ("kuvell.store").
Q_DECLARE_LOGGING_CATEGORY(storeLog)

struct SettingChange
{
    QString section;
    QString key;
    QString text;
};

class SettingsStore : public KeyValueStore
{
  public:
    // A store file is a few hundred bytes; one past this is not read or replaced.
    static constexpr qsizetype kMaxFileBytes = 8 * 1024 * 1024;

    explicit SettingsStore(QString filePath);

    // The stored text when the key exists (also when empty), else defaultText.
    // Reading never creates a file, group or key. A store that cannot be read
    // (not a regular file, too large, no permission) reads as empty.
    QString readSetting(const QString& section, const QString& key,
                        const QString& defaultText) const;

    // Stores the texts exactly, in one atomic replacement of the file: after a
    // crash at any moment the file holds all of the changes or none. On failure
    // (reported in storeLog) the previous file is left as it was.
    [[nodiscard]] Result writeSettings(const QList<SettingChange>& changes);
    [[nodiscard]] Result writeSetting(const QString& section, const QString& key,
                                      const QString& text);

    const QString& filePath() const { return filePath_; }

    std::optional<std::string> readText(KeyName key) const override;
    Result writeTexts(std::span<const StoreChange> changes) override;
    std::string location() const override { return filePath_.toStdString(); }
    // One rename replaces the file.
    bool batchesAreAtomic() const override { return true; }

    struct Contents;  // a file's bytes and the values they hold

  private:
    const Contents& currentContents() const;

    QString filePath_;
    // The last contents read and what they hold, so reading a dozen keys
    // parses the file once.
    mutable std::shared_ptr<const Contents> contents_;
    mutable bool parsed_ = false;
    mutable QString lastReadProblem_;  // reported once, not at every key
};

// configHome() (platform/ConfigHome.h) + "/kuvell/kuvell.ini".
QString defaultSettingsFilePath();

}  // namespace kuvell
