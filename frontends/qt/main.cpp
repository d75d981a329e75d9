// SPDX-License-Identifier: MIT
// Kuvell: a small network-traffic monitor window.
#include <QApplication>
#include <QFile>
#include <QSessionManager>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <span>

#include "frontends/qt/DisplayPlatform.h"
#include "frontends/qt/MonitorWindow.h"
#include "frontends/qt/SettingsStore.h"
#include "frontends/qt/TerminationNotifier.h"
#include "frontends/qt/TrayHost.h"
#include "monitor/core/CommandLine.h"
#include "platform/Autostart.h"
#include "settings/core/ProgramVariables.h"
#include "stats/SystemIfTableSource.h"

namespace {

// Answers --help, --version and usage errors before anything else starts:
// nullopt when the window should run.
std::optional<int> answerCommandLine(int argc, char** argv)
{
    const std::span<char* const> all(argv, argc > 0 ? static_cast<std::size_t>(argc) : 0);
    const auto decision = kuvell::decideCommandLine(all.empty() ? all : all.subspan(1));
    switch (decision.action) {
        case kuvell::CommandLineAction::RunWindow:
            return std::nullopt;
        case kuvell::CommandLineAction::RejectUsage:
            std::cerr << decision.text;
            return kuvell::kUsageErrorExitCode;
        case kuvell::CommandLineAction::PrintHelp:
        case kuvell::CommandLineAction::PrintVersion:
            std::cout << decision.text << std::flush;
            break;
    }
    // A help text that could not be written (a full disk, a closed pipe) is a failure.
    return std::cout ? EXIT_SUCCESS : EXIT_FAILURE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (const auto exitCode = answerCommandLine(argc, argv)) {
        return *exitCode;
    }
    kuvell::prepareDisplayPlatform(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kuvell"));
    // Kuvell lives on in the notification area; closing the settings dialog,
    // or the window hidden from the tray, must not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    kuvell::ProgramVariables vars;
    kuvell::SettingsStore store(kuvell::defaultSettingsFilePath());
    kuvell::TerminationSignals terminationSignals;

    kuvell::MonitorWindowServices services;
    services.tableSource = kuvell::makeSystemIfTableSource();
    // No fixed program path: the dialog asks for the running executable at each
    // click, so an entry written after Kuvell was moved names its new place.
    services.autostart = {QFile::decodeName(kuvell::defaultAutostartEntryPath().c_str()),
                          QString()};
    // Before the event loop runs, exit() does nothing: an end during start-up
    // is kept and returned instead.
    std::optional<int> endedDuringStartUp;
    services.exitProgram = [&endedDuringStartUp](int status) {
        endedDuringStartUp = status;
        QCoreApplication::exit(status);
    };
    services.terminationRequested = [] { return kuvell::TerminationSignals::arrived(); };
    services.singleActivationToggles = kuvell::statusNotifierHostRegistered();

    kuvell::MonitorWindow window(vars, store, std::move(services));
    kuvell::callOnTerminationSignals(terminationSignals, window,
                                     [&window] { window.endWithoutSaving(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.endWithoutSaving(); });
    window.startUp();
    if (endedDuringStartUp) {
        return *endedDuringStartUp;
    }
    return QApplication::exec();
}
