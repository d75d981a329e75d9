// Kuvell: a small network-traffic monitor window. It takes no arguments.
#include <QApplication>
#include <QSessionManager>
#include <memory>

#include "monitor/MonitorWindow.h"
#include "platform/Autostart.h"
#include "platform/DisplayPlatform.h"
#include "platform/TerminationSignals.h"
#include "platform/TrayHost.h"
#include "settings/SettingsStore.h"
#include "settings/core/ProgramVariables.h"
#include "stats/SystemIfTableSource.h"

int main(int argc, char** argv)
{
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
    services.autostart = {kuvell::defaultAutostartEntryPath(), QString()};
    services.exitProgram = [](int status) { QCoreApplication::exit(status); };
    services.singleActivationToggles = kuvell::statusNotifierHostRegistered();

    kuvell::MonitorWindow window(vars, store, std::move(services));
    QObject::connect(&terminationSignals, &kuvell::TerminationSignals::received, &window,
                     &kuvell::MonitorWindow::endWithoutSaving);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.endWithoutSaving(); });
    window.startUp();
    return QApplication::exec();
}
