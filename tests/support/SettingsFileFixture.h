// SPDX-License-Identifier: MIT
#pragma once
// A settings file in a fresh temporary folder, with raw byte access for
// hand-edited and hostile contents.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "frontends/qt/SettingsStore.h"

namespace kuvell::testsupport {

class SettingsFileFixture : public ::testing::Test
{
  protected:
    QString pathIn(const QString& relative) const { return folder_.filePath(relative); }
    QString iniPath() const { return pathIn(QStringLiteral("kuvell/kuvell.ini")); }

    void writeBytes(const QString& path, const QByteArray& bytes) const
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        ASSERT_TRUE(file.flush());  // else closing would set the time again
        // QSettings notices an outside edit by size and modification time; two
        // rewrites of equal size within a millisecond must still look different.
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(++rewrites_),
                                     QFileDevice::FileModificationTime));
    }

    static QByteArray readBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Permission bits do not stop root (or a process with CAP_DAC_OVERRIDE).
    bool permissionsAreEnforced() const
    {
        const QString probeFolder = pathIn(QStringLiteral("probe"));
        QDir().mkpath(probeFolder);
        QFile::setPermissions(probeFolder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QFile probe(probeFolder + QStringLiteral("/file"));
        const bool enforced = !probe.open(QIODevice::WriteOnly);
        probe.close();
        QFile::setPermissions(
            probeFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return enforced;
    }

    // Lets the temporary folder be removed after a test made parts read-only.
    void TearDown() override
    {
        for (const QString& path : readOnlyPaths_)
            QFile::setPermissions(
                path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void makeReadOnly(const QString& path)
    {
        readOnlyPaths_.append(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }

    void makeUnreadable(const QString& path)
    {
        readOnlyPaths_.append(path);
        QFile::setPermissions(path, QFileDevice::Permissions());
    }

  private:
    QTemporaryDir folder_;
    QStringList readOnlyPaths_;
    inline static int rewrites_ = 0;
};

}  // namespace kuvell::testsupport
