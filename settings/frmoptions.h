#pragma once
// The settings dialog "设置". Create it, exec() it, delete it after exec() returns.
#include <QDialog>
#include <QString>

namespace kuvell {

class SettingsStore;
class MainWindowAccess;
struct ProgramVariables;

struct AutostartTarget {
    QString entryPath;       // the autostart entry to write or remove
    QString executablePath;  // what the entry starts
};

class frmoptions : public QDialog
{
    Q_OBJECT
public:
    // Runs the load sequence (every step guarded) before returning.
    frmoptions(ProgramVariables& vars, SettingsStore& store, MainWindowAccess& mainWindow,
               AutostartTarget autostart, QWidget* parent = nullptr);
    ~frmoptions() override;
};

}  // namespace kuvell
