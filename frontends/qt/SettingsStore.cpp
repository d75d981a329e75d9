// SPDX-License-Identifier: MIT
#include "frontends/qt/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

#include "frontends/qt/QtText.h"
#include "platform/ConfigHome.h"
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

const QByteArray kUtf8ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

// Why the bytes are not the UTF-8 INI text Kuvell writes, or a null string. Only
// unmistakable signs count: another encoding's byte-order mark, or a NUL byte
// (UTF-16 and UTF-32 text without a mark is full of them). Stray bytes inside a
// value are the user's text and do not make the file unreadable.
QString notIniText(const QByteArray& bytes)
{
    const auto encodedAs = [](const char* encoding) {
        return QStringLiteral(
                   "it begins with a %1 byte-order mark, so it is %1 text, not "
                   "the UTF-8 INI text Kuvell reads and writes")
            .arg(QLatin1String(encoding));
    };
    if (bytes.startsWith(QByteArrayLiteral("\xFF\xFE\0\0")) ||
        bytes.startsWith(QByteArrayLiteral("\0\0\xFE\xFF"))) {
        return encodedAs("UTF-32");
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) return encodedAs("UTF-16");
    if (bytes.contains('\0')) {
        return QStringLiteral(
            "it holds NUL bytes, which no INI text does (it may be in another encoding)");
    }
    return {};
}

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

// The file's own spelling of each value: the text after "=" on the last "key="
// line of [section], by "section/key". Built in one pass over the file.
using WrittenTexts = QHash<QString, QString>;

WrittenTexts textsAsWritten(const QByteArray& bytes)
{
    WrittenTexts written;
    QString section;
    bool inSection = false;
    qsizetype start = bytes.startsWith(kUtf8ByteOrderMark) ? qsizetype(3) : 0;
    while (start <= bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        const QString line = QString::fromUtf8(bytes.constData() + start, end - start).trimmed();
        start = end + 1;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            inSection = true;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inSection && equals > 0)
            written.insert(valueKey(section, line.left(equals).trimmed()),
                           line.mid(equals + 1).trimmed());
    }
    return written;
}

// QSettings reads an unquoted, hand-edited "a, b" as a list and drops the blanks
// after its commas; the file's own spelling is the text whenever it splits into the
// same list (quotes, escapes or comments in the line leave the list joined back).
// The spellings are gathered only once a list turns up, and then only once.
QString storedText(const QVariant& value, const QByteArray& bytes, const QString& sectionAndKey,
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

}  // namespace

// A literal line's section and key, as spelled in the file. The hash is kept:
// QHash compares keys while it probes, and comparing the hashes first spares a
// read of the file's bytes for each probe.
struct LiteralName
{
    LiteralName(QByteArrayView sectionName, QByteArrayView keyName)
        : section(sectionName), key(keyName), hash(qHashMulti(0, sectionName, keyName))
    {
    }
    QByteArrayView section;
    QByteArrayView key;
    size_t hash;
    bool operator==(const LiteralName& other) const
    {
        return hash == other.hash && section == other.section && key == other.key;
    }
};

size_t qHash(const LiteralName& name, size_t seed = 0) noexcept { return name.hash ^ seed; }

// Literal lines stay views into the file's own bytes: at the read limit a file
// holds some 700,000 of them, and a string pair for each cost more than the parse.
struct SettingsStore::Contents
{
    QByteArray bytes;  // the file as read; the views point into it
    QHash<LiteralName, QByteArrayView> literal;
    Values others;  // the values Qt's reader gave, by "section/key"
    // Some line goes on past its end (an open quote, an escaped line end), so
    // what follows it is not read on its own.
    bool linesRunOn = false;

    std::optional<QString> find(const QString& section, const QString& key) const
    {
        if (const auto other = others.constFind(valueKey(section, key)); other != others.cend())
            return *other;
        const QByteArray sectionBytes = section.toLatin1();
        const QByteArray keyBytes = key.toLatin1();
        if (const auto found = literal.constFind({sectionBytes, keyBytes}); found != literal.cend())
            return QString::fromLatin1(*found);
        return std::nullopt;
    }
};

namespace {

// Every value, as Qt's INI reader reads it and storedText() gives it back.
std::optional<Values> parseWithQSettings(const QByteArray& bytes, QString& problem)
{
    const WorkingCopy copy(bytes);
    if (!copy.isValid()) {
        problem = copy.problem();
        return std::nullopt;
    }
    const QSettings ini(copy.path(), QSettings::IniFormat);
    Values values;
    std::optional<WrittenTexts> written;
    for (const QString& key : ini.allKeys())
        values.insert(key, storedText(ini.value(key), bytes, key, written));
    return values;
}

bool isNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == '-';
}

// A name Qt's reader takes as it is spelled: nothing to unescape, not "General".
bool isLiteralName(QByteArrayView name)
{
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), isNameByte) &&
           name.compare("general", Qt::CaseInsensitive) != 0;
}

// Whether Qt's reader would go on reading the line past its end: an open quote,
// an escaped line end, or a carriage return inside it (a line end of its own).
bool runsPastItsEnd(QByteArrayView line)
{
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\r' && i + 1 < line.size()) return true;
        if (c == '\\') {
            ++i;
            if (i == line.size() || (i + 1 == line.size() && line[i] == '\r')) return true;
            if (line[i] == '\r') return true;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == ';' && !inQuotes) {
            const qsizetype carriageReturn = line.indexOf('\r', i);
            return carriageReturn >= 0 && carriageReturn + 1 < line.size();
        }
    }
    return inQuotes;
}

bool isPrintableAscii(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c <= 0x7e; });
}

// Printable ASCII with nothing Qt's reader unescapes, quotes, comments out or
// reads as a type: it reads the trimmed text, or a list that storedText() turns
// back into that same text.
bool isLiteralValueLine(QByteArrayView line)
{
    return isPrintableAscii(line) && std::none_of(line.begin(), line.end(), [](char c) {
               return c == '"' || c == '\\' || c == ';' || c == '@' || c == '%' || c == '#';
           });
}

// One pass over the file. Kuvell's own lines and nearly every hand edit are
// literal "key=text" lines under a literal [section]: their texts are taken as
// they stand. Only the other lines (with their section's header) are left to
// Qt's reader, which costs many times as much a line. Should one of those name
// a key a literal line names too, which line wins is Qt's to say: the whole
// file then goes to Qt's reader.
std::optional<SettingsStore::Contents> parseIni(const QByteArray& bytes, QString& problem)
{
    SettingsStore::Contents contents{bytes, {}, {}, false};
    auto& literal = contents.literal;
    literal.reserve(bytes.count('\n') + 1);
    QByteArray rest;
    QByteArrayView header;             // the current section's header line, empty before the first
    QByteArrayView section;            // its name, null when it is not literal
    const char* restHeader = nullptr;  // the header last copied into rest
    qsizetype start = bytes.startsWith(kUtf8ByteOrderMark) ? qsizetype(3) : 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        const QByteArrayView whole(bytes.constData() + start, end - start);
        if (runsPastItsEnd(whole)) {
            // Where Qt's lines no longer match the file's, all the rest is Qt's.
            if (!header.isEmpty() && restHeader != header.data()) rest.append(header).append('\n');
            rest.append(QByteArrayView(bytes).sliced(start));
            contents.linesRunOn = true;
            break;
        }
        start = end + 1;
        QByteArrayView unterminated = whole;
        if (unterminated.endsWith('\r')) unterminated.chop(1);
        const QByteArrayView line = unterminated.trimmed();
        if (line.isEmpty()) continue;
        if (line.startsWith('[')) {
            header = whole;
            const bool literal = isPrintableAscii(unterminated) && line.endsWith(']') &&
                                 line.count(']') == 1 &&
                                 isLiteralName(line.sliced(1, line.size() - 2).trimmed());
            section = literal ? line.sliced(1, line.size() - 2).trimmed() : QByteArrayView();
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        const QByteArrayView key = line.first(std::max<qsizetype>(equals, 0)).trimmed();
        if (!section.isNull() && equals > 0 && isLiteralName(key) &&
            isLiteralValueLine(unterminated)) {
            literal.insert({section, key}, line.sliced(equals + 1).trimmed());
            continue;
        }
        if (!header.isEmpty() && restHeader != header.data()) {
            rest.append(header).append('\n');
            restHeader = header.data();
        }
        rest.append(whole).append('\n');
    }
    if (rest.isEmpty()) return contents;
    std::optional<Values> others = parseWithQSettings(rest, problem);
    if (!others) return std::nullopt;
    for (auto other = others->cbegin(); other != others->cend(); ++other) {
        const qsizetype slash = other.key().indexOf(QLatin1Char('/'));
        if (slash < 0) continue;
        const QByteArray sectionBytes = other.key().left(slash).toLatin1();
        const QByteArray keyBytes = other.key().mid(slash + 1).toLatin1();
        if (literal.contains({sectionBytes, keyBytes})) {
            others = parseWithQSettings(bytes, problem);
            if (!others) return std::nullopt;
            literal.clear();
            break;
        }
    }
    contents.others = std::move(*others);
    return contents;
}

// The file's new contents with the changes made, checked by reading them back.
// The bytes with the changes made by Qt's writer, or nullopt.
std::optional<QByteArray> writtenByQSettings(const QByteArray& bytes,
                                             const QList<SettingChange>& changes, QString& problem)
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
    return copy.bytes();
}

// Keys the file does not hold yet (the first-start date) are added at its end
// in Qt's spelling, every byte before them as it was: the quick way for a large
// file, and a hand-edited one keeps its look. Qt's reader merges a section
// named twice. nullopt when a key exists or a line could run on into the new ones.
std::optional<QByteArray> withKeysAdded(const SettingsStore::Contents& current,
                                        const QList<SettingChange>& changes, QString& problem)
{
    if (current.linesRunOn) return std::nullopt;
    for (const SettingChange& change : changes) {
        if (current.find(change.section, change.key)) return std::nullopt;
    }
    std::optional<QByteArray> added = writtenByQSettings(QByteArray(), changes, problem);
    if (!added) return std::nullopt;
    QByteArray result = current.bytes;
    if (!result.isEmpty() && !result.endsWith('\n')) result += '\n';
    return result + *added;
}

// The file's new contents with the changes made, checked by reading them back.
std::optional<SettingsStore::Contents> withChanges(const SettingsStore::Contents& current,
                                                   const QList<SettingChange>& changes,
                                                   QString& problem)
{
    const auto readBack = [&](const QByteArray& changed) -> std::optional<SettingsStore::Contents> {
        std::optional<SettingsStore::Contents> result = parseIni(changed, problem);
        if (!result) return std::nullopt;
        for (const SettingChange& change : changes) {
            if (result->find(change.section, change.key) != change.text) return std::nullopt;
        }
        return result;
    };
    if (const std::optional<QByteArray> appended = withKeysAdded(current, changes, problem)) {
        if (std::optional<SettingsStore::Contents> result = readBack(*appended)) return result;
    }
    const std::optional<QByteArray> rewritten = writtenByQSettings(current.bytes, changes, problem);
    if (!rewritten) return std::nullopt;
    std::optional<SettingsStore::Contents> result = readBack(*rewritten);
    if (!result && problem.isEmpty()) {
        problem =
            QStringLiteral("the new contents could not be composed in %1").arg(QDir::tempPath());
    }
    return result;
}

Result failed(const QString& reason) { return Result::failure(reason.toStdString()); }

// The lock keeps two copies of Kuvell from interleaving their read and replace.
// It is waited for briefly; a lock left by a crash is taken over at once.
Result takeLock(QLockFile& lock, const QString& lockPath)
{
    const QFileInfo existing(lockPath);
    if (existing.isSymLink() || (existing.exists() && !existing.isFile())) {
        return failed(QStringLiteral("the lock file %1 is not a regular file").arg(lockPath));
    }
    lock.setStaleLockTime(kStaleLockAge);
    if (lock.tryLock(kLockWait)) return {true, {}};
    // A save killed between making the lock and writing its id into it leaves
    // an empty lock, which Qt takes for a live one until it is old. A live
    // holder writes its id at once: one still empty after the wait is left over.
    if (lock.error() == QLockFile::LockFailedError && QFileInfo(lockPath).size() == 0 &&
        QFile::remove(lockPath) && lock.tryLock(kLockWait)) {
        return {true, {}};
    }
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

Result makeFolder(const QString& filePath)
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

const SettingsStore::Contents& SettingsStore::currentContents() const
{
    FileRead file = readRegularFile(localPath(filePath_), kMaxFileBytes);
    QString problem = QString::fromStdString(file.reason);
    if (file.outcome != FileReadOutcome::Read) file.bytes.clear();
    QByteArray bytes = QByteArray::fromStdString(file.bytes);
    if (const QString notText = notIniText(bytes); !notText.isNull()) {
        problem = notText;
        bytes.clear();
    }
    if (!parsed_ || bytes != contents_->bytes) {
        std::optional<Contents> contents = parseIni(bytes, problem);
        parsed_ = contents.has_value();
        contents_ = std::make_shared<const Contents>(parsed_ ? std::move(*contents)
                                                             : Contents{bytes, {}, {}, false});
    }
    if (problem != lastReadProblem_ && !problem.isEmpty()) {
        qCWarning(storeLog, "cannot read %s: %s; the defaults are used", qUtf8Printable(filePath_),
                  qUtf8Printable(problem));
    }
    lastReadProblem_ = problem;
    return *contents_;
}

QString SettingsStore::readSetting(const QString& section, const QString& key,
                                   const QString& defaultText) const
{
    if (!isPlainName(section) || !isPlainName(key)) return defaultText;
    return currentContents().find(section, key).value_or(defaultText);
}

Result SettingsStore::writeSetting(const QString& section, const QString& key, const QString& text)
{
    return writeSettings({SettingChange{section, key, text}});
}

Result SettingsStore::writeSettings(const QList<SettingChange>& changes)
{
    const auto save = [&]() -> Result {
        for (const SettingChange& change : changes) {
            if (!isPlainName(change.section) || !isPlainName(change.key)) {
                return failed(QStringLiteral("not a valid section or key name"));
            }
        }
        if (Result folder = makeFolder(filePath_); !folder) return folder;
        // Not even a lock file goes where another user could have planted a link.
        if (const std::string untrusted = untrustedFolderReason(localPath(filePath_));
            !untrusted.empty()) {
            return failed(QString::fromStdString(untrusted));
        }
        QLockFile lock(filePath_ + QStringLiteral(".lock"));
        if (Result locked = takeLock(lock, lock.fileName()); !locked) return locked;

        // Whatever cannot be read is not rewritten from nothing.
        FileRead current = readRegularFile(localPath(filePath_), kMaxFileBytes);
        if (current.outcome != FileReadOutcome::Read &&
            current.outcome != FileReadOutcome::Absent) {
            return failed(QString::fromStdString(current.reason));
        }
        const QByteArray bytes = QByteArray::fromStdString(current.bytes);
        if (const QString notText = notIniText(bytes); !notText.isNull()) return failed(notText);
        QString problem;
        // Start-up has just parsed the same bytes, as a rule.
        std::optional<Contents> parsedNow;
        if (!parsed_ || contents_->bytes != bytes) {
            parsedNow = parseIni(bytes, problem);
            if (!parsedNow) return failed(problem);
        }
        std::optional<Contents> changed =
            withChanges(parsedNow ? *parsedNow : *contents_, changes, problem);
        if (!changed) return failed(problem);
        // The next start would refuse the file, and every later save with it.
        if (changed->bytes.size() > kMaxFileBytes) {
            return failed(QStringLiteral("the saved file would be %1 bytes, more than the %2 "
                                         "bytes Kuvell reads at start-up; it was left as it was")
                              .arg(changed->bytes.size())
                              .arg(kMaxFileBytes));
        }
        const Result written =
            replaceRegularFile(localPath(filePath_), changed->bytes.toStdString());
        if (!written) return written;
        contents_ = std::make_shared<const Contents>(std::move(*changed));
        parsed_ = true;
        return {true, {}};
    };
    Result result = save();
    if (!result) {
        qCWarning(storeLog, "could not save %s to %s: %s", qUtf8Printable(changedNames(changes)),
                  qUtf8Printable(filePath_), result.reason.c_str());
    }
    return result;
}

std::optional<std::string> SettingsStore::readText(KeyName key) const
{
    const QString section = qText(key.section);
    const QString name = qText(key.name);
    if (!isPlainName(section) || !isPlainName(name)) return std::nullopt;
    const std::optional<QString> found = currentContents().find(section, name);
    if (!found) return std::nullopt;
    return found->toStdString();
}

Result SettingsStore::writeTexts(std::span<const StoreChange> changes)
{
    QList<SettingChange> settingChanges;
    for (const StoreChange& change : changes) {
        settingChanges.append(
            {qText(change.key.section), qText(change.key.name), qText(change.text)});
    }
    return writeSettings(settingChanges);
}

QString defaultSettingsFilePath()
{
    return QFile::decodeName(configHome().c_str()) + QStringLiteral("/kuvell/kuvell.ini");
}

}  // namespace kuvell
