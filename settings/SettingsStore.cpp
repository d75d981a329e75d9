// SPDX-License-Identifier: MIT
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/ConfigHome.h"
#include "platform/QtText.h"
#include "platform/RegularFile.h"

namespace kuvell {

Q_LOGGING_CATEGORY(storeLog, "kuvell.store")

namespace {

using namespace std::chrono_literals;

// A save holds the lock for milliseconds; a lock older than this, or one whose
// process is gone, is left over from a crash.
constexpr auto kStaleLockAge = 10000ms;
constexpr auto kLockWait = 2000ms;

using Values = QHash<QString, QString>;

// A name QSettings would read as a path, or as its catch-all "General" section,
// never names a section or key of Kuvell's.
bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) &&
           name.compare(QLatin1String("General"), Qt::CaseInsensitive) != 0;
}

QString valueKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

// The value of the last "key=" line in [section], as the file spells it, or a null string.
QString valueAsWritten(const QByteArray& bytes, const QString& section, const QString& key)
{
    QString written;
    bool inSection = false;
    for (const QByteArray& rawLine : bytes.split('\n')) {
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
QString storedText(const QVariant& value, const QByteArray& bytes, const QString& sectionAndKey)
{
    if (value.userType() != QMetaType::QStringList)
        return value.toString();  // types with no text form (a hand-edited "@Rect(...)") read as ""
    const QStringList list = value.toStringList();
    const qsizetype slash = sectionAndKey.indexOf(QLatin1Char('/'));
    const QString asWritten =
        valueAsWritten(bytes, sectionAndKey.left(slash), sectionAndKey.mid(slash + 1));
    QStringList parts = asWritten.split(QLatin1Char(','));
    for (QString& part : parts) part = part.trimmed();
    return parts == list ? asWritten : list.join(QLatin1Char(','));
}

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// QSettings is only the INI codec here: it works on a private copy, so the
// real file is opened, locked and replaced by Kuvell's own rules (it would
// follow links, block on a FIFO, read a device without end and wait for ever
// on a lock). Each copy has a fresh name, so QSettings' cache never mistakes
// it for an earlier one.
class WorkingCopy
{
  public:
    explicit WorkingCopy(const QByteArray& bytes)
        : folder_(QDir::tempPath() + QStringLiteral("/kuvell-store-XXXXXX")),
          path_(folder_.filePath(QStringLiteral("kuvell.ini")))
    {
        QFile file(path_);
        valid_ = folder_.isValid() && file.open(QIODevice::WriteOnly) &&
                 file.write(bytes) == bytes.size() && file.flush();
        if (!valid_) {
            problem_ = QStringLiteral("no working copy could be made in %1: %2")
                           .arg(QDir::tempPath(),
                                folder_.isValid() ? file.errorString() : folder_.errorString());
        }
    }

    bool isValid() const { return valid_; }
    const QString& path() const { return path_; }
    const QString& problem() const { return problem_; }

    QByteArray bytes() const
    {
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private:
    QTemporaryDir folder_;
    QString path_;
    bool valid_ = false;
    QString problem_;
};

std::optional<Values> parseIni(const QByteArray& bytes, QString& problem)
{
    const WorkingCopy copy(bytes);
    if (!copy.isValid()) {
        problem = copy.problem();
        return std::nullopt;
    }
    const QSettings ini(copy.path(), QSettings::IniFormat);
    Values values;
    for (const QString& key : ini.allKeys())
        values.insert(key, storedText(ini.value(key), bytes, key));
    return values;
}

// The file's new contents with the changes made, checked by reading them back.
std::optional<QByteArray> withChanges(const QByteArray& bytes, const QList<SettingChange>& changes,
                                      Values& values, QString& problem)
{
    const WorkingCopy copy(bytes);
    if (!copy.isValid()) {
        problem = copy.problem();
        return std::nullopt;
    }
    {
        QSettings ini(copy.path(), QSettings::IniFormat);
        for (const SettingChange& change : changes) {
            ini.beginGroup(change.section);
            ini.setValue(change.key, change.text);
            ini.endGroup();
        }
        ini.sync();
    }
    QByteArray changed = copy.bytes();
    std::optional<Values> readBack = parseIni(changed, problem);
    if (!readBack) return std::nullopt;
    for (const SettingChange& change : changes) {
        if (readBack->value(valueKey(change.section, change.key)) != change.text) {
            problem = QStringLiteral("the new contents could not be composed in %1")
                          .arg(QDir::tempPath());
            return std::nullopt;
        }
    }
    values = std::move(*readBack);
    return changed;
}

SaveResult failed(QString reason) { return {false, std::move(reason)}; }

// The lock keeps two copies of Kuvell from interleaving their read and replace.
// It is waited for briefly; a lock left by a crash is taken over at once.
SaveResult takeLock(QLockFile& lock, const QString& lockPath)
{
    const QFileInfo existing(lockPath);
    if (existing.isSymLink() || (existing.exists() && !existing.isFile())) {
        return failed(QStringLiteral("the lock file %1 is not a regular file").arg(lockPath));
    }
    lock.setStaleLockTime(kStaleLockAge);
    if (lock.tryLock(kLockWait)) return {true, {}};
    switch (lock.error()) {
        case QLockFile::LockFailedError:
            return failed(
                QStringLiteral("the lock file %1 is held by another program").arg(lockPath));
        case QLockFile::PermissionError:
            return failed(QStringLiteral("the lock file %1 cannot be created: %2")
                              .arg(lockPath, QString::fromStdString(
                                                 std::generic_category().message(EACCES))));
        default:
            return failed(QStringLiteral("the lock file %1 cannot be created").arg(lockPath));
    }
}

SaveResult makeFolder(const QString& filePath)
{
    std::error_code error;
    std::filesystem::create_directories(localPath(QFileInfo(filePath).absolutePath()), error);
    if (error) return failed(QString::fromStdString(error.message()));
    return {true, {}};
}

QString changedNames(const QList<SettingChange>& changes)
{
    QStringList names;
    for (const SettingChange& change : changes) names.append(valueKey(change.section, change.key));
    return names.join(QStringLiteral(", "));
}

}  // namespace

SettingsStore::SettingsStore(QString filePath) : filePath_(std::move(filePath)) {}

const QHash<QString, QString>& SettingsStore::currentValues() const
{
    FileRead file = readRegularFile(localPath(filePath_), kMaxFileBytes);
    QString problem = QString::fromStdString(file.reason);
    if (file.outcome != FileReadOutcome::Read) file.bytes.clear();
    const QByteArray bytes = QByteArray::fromStdString(file.bytes);
    if (!parsed_ || bytes != parsedBytes_) {
        const std::optional<Values> values = parseIni(bytes, problem);
        parsed_ = values.has_value();
        parsedBytes_ = bytes;
        parsedValues_ = values.value_or(Values());
    }
    if (problem != lastReadProblem_ && !problem.isEmpty()) {
        qCWarning(storeLog, "cannot read %s: %s; the defaults are used", qUtf8Printable(filePath_),
                  qUtf8Printable(problem));
    }
    lastReadProblem_ = problem;
    return parsedValues_;
}

QString SettingsStore::readSetting(const QString& section, const QString& key,
                                   const QString& defaultText) const
{
    if (!isPlainName(section) || !isPlainName(key)) return defaultText;
    const Values& values = currentValues();
    const auto found = values.constFind(valueKey(section, key));
    return found != values.constEnd() ? *found : defaultText;
}

SaveResult SettingsStore::writeSetting(const QString& section, const QString& key,
                                       const QString& text)
{
    return writeSettings({SettingChange{section, key, text}});
}

SaveResult SettingsStore::writeSettings(const QList<SettingChange>& changes)
{
    const auto save = [&]() -> SaveResult {
        for (const SettingChange& change : changes) {
            if (!isPlainName(change.section) || !isPlainName(change.key)) {
                return failed(QStringLiteral("not a valid section or key name"));
            }
        }
        if (SaveResult folder = makeFolder(filePath_); !folder) return folder;
        // Not even a lock file goes where another user could have planted a link.
        if (const std::string untrusted = untrustedFolderReason(localPath(filePath_));
            !untrusted.empty()) {
            return failed(QString::fromStdString(untrusted));
        }
        QLockFile lock(filePath_ + QStringLiteral(".lock"));
        if (SaveResult locked = takeLock(lock, lock.fileName()); !locked) return locked;

        // Whatever cannot be read is not rewritten from nothing.
        FileRead current = readRegularFile(localPath(filePath_), kMaxFileBytes);
        if (current.outcome != FileReadOutcome::Read &&
            current.outcome != FileReadOutcome::Absent) {
            return failed(QString::fromStdString(current.reason));
        }
        QString problem;
        Values values;
        const std::optional<QByteArray> changed =
            withChanges(QByteArray::fromStdString(current.bytes), changes, values, problem);
        if (!changed) return failed(problem);
        const FileWrite written = replaceRegularFile(localPath(filePath_), changed->toStdString());
        if (!written.written) return failed(QString::fromStdString(written.reason));
        parsedBytes_ = *changed;
        parsedValues_ = std::move(values);
        parsed_ = true;
        return {true, {}};
    };
    SaveResult result = save();
    if (!result) {
        qCWarning(storeLog, "could not save %s to %s: %s", qUtf8Printable(changedNames(changes)),
                  qUtf8Printable(filePath_), qUtf8Printable(result.reason));
    }
    return result;
}

std::optional<std::string> SettingsStore::readText(KeyName key) const
{
    const QString section = qText(key.section);
    const QString name = qText(key.name);
    if (!isPlainName(section) || !isPlainName(name)) return std::nullopt;
    const Values& values = currentValues();
    const auto found = values.constFind(valueKey(section, name));
    if (found == values.constEnd()) return std::nullopt;
    return found->toStdString();
}

Result SettingsStore::writeTexts(std::span<const StoreChange> changes)
{
    QList<SettingChange> settingChanges;
    for (const StoreChange& change : changes) {
        settingChanges.append(
            {qText(change.key.section), qText(change.key.name), qText(change.text)});
    }
    SaveResult saved = writeSettings(settingChanges);
    return saved ? Result::success() : Result::failure(saved.reason.toStdString());
}

QString defaultSettingsFilePath() { return configHome() + QStringLiteral("/kuvell/kuvell.ini"); }

}  // namespace kuvell
