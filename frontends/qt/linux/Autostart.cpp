// SPDX-License-Identifier: MIT
#include "frontends/qt/Autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>
#include <optional>

#include "frontends/qt/ConfigHome.h"
#include "platform/RegularFile.h"

namespace kuvell {
namespace {

// The Exec value for one program path without arguments: the path quoted as a
// whole (quoting is always allowed and spares a list of reserved characters),
// '%' doubled so it is no field code, then the string escapes of the file
// format on top, since readers undo those first. Control characters other than
// tab, newline and carriage return cannot be written at all.
std::optional<QString> execValue(const QString& program)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
            quoted += u'\\';
        }
        quoted += c;
    }
    quoted += u'"';
    quoted.replace(u'%', QStringLiteral("%%"));

    QString escaped;
    for (const QChar c : quoted) {
        switch (c.unicode()) {
            case u'\\':
                escaped += QStringLiteral("\\\\");
                break;
            case u'\n':
                escaped += QStringLiteral("\\n");
                break;
            case u'\t':
                escaped += QStringLiteral("\\t");
                break;
            case u'\r':
                escaped += QStringLiteral("\\r");
                break;
            default:
                if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
                    return std::nullopt;
                }
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace

QString defaultAutostartEntryPath()
{
    return configHome() + QStringLiteral("/autostart/kuvell.desktop");
}

QString runningExecutablePath()
{
    // Qt caches applicationFilePath() at start; the kernel's link does not go stale.
    const QString linked = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (!linked.isEmpty() && QFileInfo::exists(linked)) {
        return linked;
    }
    return QCoreApplication::applicationFilePath();
}

Result writeRunValue(const QString& entryPath, const QString& executablePath)
{
    if (entryPath.isEmpty() || executablePath.isEmpty()) {
        return Result::failure("no autostart entry or no program to start");
    }
    const std::optional<QString> exec = execValue(QFileInfo(executablePath).absoluteFilePath());
    if (!exec) {
        return Result::failure("the program's path cannot be written into an autostart entry");
    }
    if (!QDir().mkpath(QFileInfo(entryPath).absolutePath())) {
        return Result::failure("the autostart folder cannot be made");
    }
    const QString entry = QStringLiteral(
                              "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Kuvell\n"
                              "Exec=") +
                          *exec +
                          QStringLiteral(
                              "\n"
                              "Terminal=false\n"
                              "X-GNOME-Autostart-enabled=true\n");
    // Replaced in one step, so a reader never sees half an entry and a failed
    // write leaves the old one; and, like the store, never through a link
    // another user planted.
    const Result written = replaceRegularFile(QFile::encodeName(entryPath).toStdString(),
                                              entry.toUtf8().toStdString());
    if (!written) {
        qWarning("kuvell: could not write the autostart entry %s: %s", qUtf8Printable(entryPath),
                 written.reason.c_str());
    }
    return written;
}

Result deleteRunValue(const QString& entryPath)
{
    if (entryPath.isEmpty() || QFile::remove(entryPath) || !QFileInfo::exists(entryPath)) {
        return Result::success();
    }
    return Result::failure("the autostart entry cannot be removed");
}

}  // namespace kuvell
