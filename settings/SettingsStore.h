#pragma once
// Kuvell's per-user store: application "kuvell", sections "options" and
// "setting", every value text. Backed by an INI file whose path main computes.
#include <QString>

namespace kuvell {

class SettingsStore
{
public:
    explicit SettingsStore(QString filePath);

    // The stored text when the key exists (also when empty), else defaultText.
    // Reading never creates a file, group or key.
    QString readSetting(const QString& section, const QString& key,
                        const QString& defaultText) const;

    // Stores text exactly; the file is replaced atomically. Returns false (and
    // says so on stderr) when the write did not reach the disk; the previous
    // file is then left intact.
    bool writeSetting(const QString& section, const QString& key, const QString& text);

    const QString& filePath() const { return filePath_; }

private:
    QString filePath_;
};

// configHome() (platform/configHome.h) + "/kuvell/kuvell.ini".
QString defaultSettingsFilePath();

}  // namespace kuvell
