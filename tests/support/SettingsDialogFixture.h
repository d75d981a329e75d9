// SPDX-License-Identifier: MIT
#pragma once
// Shared set-up for the settings dialog's tests: a store in a temporary folder,
// the program-wide values loaded from it as start-up does, and a stand-in for
// the main window that records what the dialog asks of it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "frontends/qt/MainWindowAccess.h"
#include "frontends/qt/SettingsDialog.h"
#include "frontends/qt/SettingsStore.h"
#include "frontends/qt/WindowOpacity.h"
#include "frontends/qt/WindowRoutines.h"
#include "platform/core/Twips.h"
#include "settings/core/ProgramVariables.h"
#include "settings/core/StartupSettings.h"
#include "support/TextStore.h"

namespace kuvell::testsupport {

class FakeMainWindow : public MainWindowAccess
{
  public:
    FakeMainWindow()
    {
        window.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
        window.setGeometry(100, 120, 200, 150);
        window.setWindowOpacity(51 / 255.0);  // "20 %": a load that applies a level shows
    }
    QWidget* mainWindow() override { return &window; }
    void setOpacity(int16_t alpha) override { static_cast<void>(setTransparency(&window, alpha)); }
    void setGraphBackground(int32_t colour) override { bufferBackgrounds.push_back(colour); }
    void nudgeSize() override
    {
        ++nudges;
        window.resize(window.width() + 1, window.height() + 1);
    }
    void setTopMost(bool onTop) override { setTopMostWhereItIs(&window, onTop); }
    void showMessage(std::string_view text) override
    {
        messages.push_back(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

    QWidget window;
    std::vector<int32_t> bufferBackgrounds;
    std::vector<QString> messages;
    int nudges = 0;
};

class OptionsDialogTest : public ::testing::Test
{
  protected:
    static constexpr const char* kToday = "2026年12月7日";
    static inline const QString kMissing = QStringLiteral("<missing>");

    // The program-wide values as start-up leaves them for the stored texts.
    void loadVariables() { loadStartupSettings(store, vars, kToday); }

    std::unique_ptr<SettingsDialog> open()
    {
        return std::make_unique<SettingsDialog>(vars, store, fakeMain, autostart);
    }

    QString stored(const char* section, const char* key) const
    {
        return store.readSetting(QLatin1String(section), QLatin1String(key), kMissing);
    }

    QString entryText() const
    {
        QFile entry(autostart.entryPath);
        return entry.open(QIODevice::ReadOnly) ? QString::fromUtf8(entry.readAll()) : QString();
    }

    template <typename Widget>
    static Widget* find(const SettingsDialog& dialog, const char* name)
    {
        auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QTemporaryDir folder;
    testsupport::TextStore store{folder.filePath(QStringLiteral("kuvell/kuvell.ini"))};
    ProgramVariables vars;
    FakeMainWindow fakeMain;
    AutostartTarget autostart{folder.filePath(QStringLiteral("autostart/kuvell.desktop")),
                              QStringLiteral("/opt/kuvell/bin/kuvell")};
};

// Runs `answer` on the colour dialog once it is up (a modal dialog blocks the
// caller, so the answer has to come from the event loop).
inline void answerColourDialog(std::function<void(QColorDialog&)> answer)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer = std::move(answer)] {
        if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            answer(*dialog);
        }
    });
    poll->start(1);
}

inline int pixels(int twips) { return twipsToPixels(twips); }

}  // namespace kuvell::testsupport
