// SPDX-License-Identifier: MIT
#include "frontends/qt/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>
#include <optional>

#include "frontends/qt/QtText.h"
#include "platform/ConfigHome.h"

namespace kuvell {

Q_LOGGING_CATEGORY(storeLog, "kuvell.store")

namespace {

// The file's own spelling of each value: the text after "=" on the last "key="
// line of [section], by "section/key". Built in one pass over the file.
using WrittenTexts = QHash<QString, QString>;

WrittenTexts textsAsWritten(std::string_view bytes)
{
    WrittenTexts written;
    QString section;
    bool inSection = false;
    std::size_t start = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (start <= bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        const QString line = qText(bytes.substr(start, end - start)).trimmed();
        start = end + 1;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            inSection = true;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inSection && equals > 0)
            written.insert(section + QLatin1Char('/') + line.left(equals).trimmed(),
                           line.mid(equals + 1).trimmed());
    }
    return written;
}

// QSettings reads an unquoted, hand-edited "a, b" as a list and drops the blanks
// after its commas; the file's own spelling is the text whenever it splits into the
// same list (quotes, escapes or comments in the line leave the list joined back).
// The spellings are gathered only once a list turns up, and then only once.
QString storedText(const QVariant& value, std::string_view bytes, const QString& sectionAndKey,
                   std::optional<WrittenTexts>& written)
{
    if (value.userType() != QMetaType::QStringList)
        return value.toString();  // types with no text form (a hand-edited "@Rect(...)") read as ""
    const QStringList list = value.toStringList();
    if (!written) written = textsAsWritten(bytes);
    const QString asWritten = written->value(sectionAndKey);
    QStringList parts = asWritten.split(QLatin1Char(','));
    for (QString& part : parts) part = part.trimmed();
    return parts == list ? asWritten : list.join(QLatin1Char(','));
}

// QSettings works on a private copy, so the real file is opened, locked and
// replaced by the store's own rules (it would follow links, block on a FIFO,
// read a device without end and wait for ever on a lock). Each copy has a fresh
// name, so QSettings' cache never mistakes it for an earlier one.
class WorkingCopy
{
  public:
    WorkingCopy(std::string_view bytes, std::string& problem)
    {
        QFile file(path());
        const auto size = static_cast<qsizetype>(bytes.size());
        if (folder_.isValid() && file.open(QIODevice::WriteOnly) &&
            file.write(bytes.data(), size) == size && file.flush()) {
            return;
        }
        valid_ = false;
        problem = QStringLiteral("no working copy could be made in %1: %2")
                      .arg(QDir::tempPath(),
                           folder_.isValid() ? file.errorString() : folder_.errorString())
                      .toStdString();
    }

    bool isValid() const { return valid_; }
    QString path() const { return folder_.filePath(QStringLiteral("kuvell.ini")); }

  private:
    QTemporaryDir folder_{QDir::tempPath() + QStringLiteral("/kuvell-store-XXXXXX")};
    bool valid_ = true;
};

class QSettingsCodec : public IniCodec
{
  public:
    std::optional<Values> decode(std::string_view bytes, std::string& problem) const override
    {
        const WorkingCopy copy(bytes, problem);
        if (!copy.isValid()) return std::nullopt;
        const QSettings ini(copy.path(), QSettings::IniFormat);
        Values values;
        std::optional<WrittenTexts> written;
        for (const QString& key : ini.allKeys())
            values[key.toStdString()] =
                storedText(ini.value(key), bytes, key, written).toStdString();
        return values;
    }

    std::optional<std::string> encode(std::string_view bytes, std::span<const StoreChange> changes,
                                      std::string& problem) const override
    {
        const WorkingCopy copy(bytes, problem);
        if (!copy.isValid()) return std::nullopt;
        {
            QSettings ini(copy.path(), QSettings::IniFormat);
            for (const StoreChange& change : changes) {
                ini.beginGroup(qText(change.key.section));
                ini.setValue(qText(change.key.name), qText(change.text));
                ini.endGroup();
            }
        }
        return readBack(copy, problem);
    }

    std::optional<std::string> encodeRemoval(std::string_view bytes, KeyName key,
                                             std::string& problem) const override
    {
        const WorkingCopy copy(bytes, problem);
        if (!copy.isValid()) return std::nullopt;
        {
            QSettings ini(copy.path(), QSettings::IniFormat);
            ini.beginGroup(qText(key.section));
            ini.remove(qText(key.name));
            ini.endGroup();
        }
        return readBack(copy, problem);
    }

  private:
    static std::optional<std::string> readBack(const WorkingCopy& copy, std::string& problem)
    {
        QFile file(copy.path());
        if (!file.open(QIODevice::ReadOnly)) {
            problem = QStringLiteral("the working copy in %1 could not be read back: %2")
                          .arg(QDir::tempPath(), file.errorString())
                          .toStdString();
            return std::nullopt;
        }
        return file.readAll().toStdString();
    }
};

const QSettingsCodec kCodec;

void warnInStoreLog(std::string_view message)
{
    qCWarning(storeLog, "%s", std::string(message).c_str());
}

}  // namespace

SettingsStore::SettingsStore(const QString& filePath)
    : IniFileStore(QFile::encodeName(filePath).toStdString(), kCodec, warnInStoreLog)
{
}

QString defaultSettingsFilePath()
{
    return QFile::decodeName(configHome().c_str()) + QStringLiteral("/kuvell/kuvell.ini");
}

}  // namespace kuvell
