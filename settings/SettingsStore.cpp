#include "settings/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <cstdio>
#include <memory>

#include "platform/ConfigHome.h"

namespace kuvell {

namespace {

// A name QSettings would read as a path, or as its catch-all "General" section,
// never names a section or key of Kuvell's.
bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) &&
           name.compare(QLatin1String("General"), Qt::CaseInsensitive) != 0;
}

std::unique_ptr<QSettings> openStore(const QString& filePath)
{
    auto settings = std::make_unique<QSettings>(filePath, QSettings::IniFormat);
    settings->setAtomicSyncRequired(true);  // QSaveFile: the old file survives a failed write
    return settings;
}

QByteArray fileBytes(const QString& filePath)
{
    QFile file(filePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The value of the last "key=" line in [section], as the file spells it, or a null string.
QString valueAsWritten(const QString& filePath, const QString& section, const QString& key)
{
    QString written;
    bool inSection = false;
    for (const QByteArray& rawLine : fileBytes(filePath).split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = line.mid(1, line.size() - 2).trimmed() == section;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inSection && equals > 0 && line.left(equals).trimmed() == key)
            written = line.mid(equals + 1).trimmed();
    }
    return written;
}

// QSettings reads an unquoted, hand-edited "a, b" as a list and drops the blanks
// after its commas; the file's own spelling is the text whenever it splits into the
// same list (quotes, escapes or comments in the line leave the list joined back).
QString listText(const QStringList& list, const QString& asWritten)
{
    QStringList parts = asWritten.split(QLatin1Char(','));
    for (QString& part : parts) part = part.trimmed();
    return parts == list ? asWritten : list.join(QLatin1Char(','));
}

void reportFailedWrite(const QString& filePath, const QString& section, const QString& key,
                       const char* reason)
{
    std::fprintf(stderr, "kuvell: could not save %s/%s to %s: %s\n", qUtf8Printable(section),
                 qUtf8Printable(key), qUtf8Printable(filePath), reason);
}

}  // namespace

SettingsStore::SettingsStore(QString filePath) : filePath_(std::move(filePath)) {}

QString SettingsStore::readSetting(const QString& section, const QString& key,
                                   const QString& defaultText) const
{
    if (!isPlainName(section) || !isPlainName(key)) return defaultText;
    const std::unique_ptr<QSettings> settings = openStore(filePath_);
    settings->beginGroup(section);
    if (!settings->contains(key)) return defaultText;
    const QVariant value = settings->value(key);
    if (value.userType() == QMetaType::QStringList)
        return listText(value.toStringList(), valueAsWritten(filePath_, section, key));
    return value.toString();  // types with no text form (a hand-edited "@Rect(...)") read as ""
}

bool SettingsStore::writeSetting(const QString& section, const QString& key, const QString& text)
{
    if (!isPlainName(section) || !isPlainName(key)) {
        reportFailedWrite(filePath_, section, key, "not a valid section or key name");
        return false;
    }
    const std::unique_ptr<QSettings> settings = openStore(filePath_);
    if (settings->status() == QSettings::AccessError) {
        // Unreadable, or something other than a file in its place: rewriting it
        // from what little was read would lose whatever it holds.
        reportFailedWrite(filePath_, section, key,
                          "the settings file or its folder cannot be accessed");
        return false;
    }
    const QByteArray before = fileBytes(filePath_);
    settings->beginGroup(section);
    settings->setValue(key, text);
    settings->endGroup();
    settings->sync();
    bool written = settings->status() == QSettings::NoError;
    if (settings->status() == QSettings::FormatError) {
        // A parse error hides a later access error from status(); a rewrite of a
        // malformed file always changes its bytes, a failed one leaves them.
        written = fileBytes(filePath_) != before;
    }
    if (!written)
        reportFailedWrite(filePath_, section, key, "the file or its folder is not writable");
    return written;
}

QString defaultSettingsFilePath() { return configHome() + QStringLiteral("/kuvell/kuvell.ini"); }

}  // namespace kuvell
