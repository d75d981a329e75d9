// SPDX-License-Identifier: MIT
#include "settings/StartupSettings.h"

#include <QByteArray>
#include <string_view>

#include "settings/core/TextConversions.h"

namespace kuvell {

namespace {

const QString kOptions = QStringLiteral("options");
const QString kSetting = QStringLiteral("setting");

// One guarded step: `target` changes only when the stored text converts.
template <typename Target, typename Convert>
void readInto(const SettingsStore& store, const QString& section, const char* key,
              const char* defaultText, Convert convert, Target& target)
{
    const QByteArray text =
        store.readSetting(section, QString::fromLatin1(key), QString::fromLatin1(defaultText))
            .toUtf8();
    if (const auto value = convert(std::string_view(text.constData(), text.size())))
        target = *value;
}

void readGraphOnlyLayout(const SettingsStore& store, ProgramVariables& vars)
{
    double graphics = 0;
    readInto(store, kOptions, "graphics", "0", textToNumber, graphics);
    if (graphics == 1) vars.extraGraphHeight = kGraphOnlyExtraHeight;
}

void readOrRecordInstallDate(SettingsStore& store, ProgramVariables& vars,
                             const QString& todayLongDate,
                             const std::function<bool()>& stopRequested)
{
    const QString key = QStringLiteral("installdate");
    QString installDate = store.readSetting(kOptions, key, QStringLiteral("null"));
    if (installDate == QLatin1String("null") && !(stopRequested && stopRequested())) {
        installDate = todayLongDate;
        // Start-up goes on after a failed write; the store has reported it.
        static_cast<void>(store.writeSetting(kOptions, key, installDate));
    }
    vars.installDate = installDate.toStdString();
}

std::string readOptionText(const SettingsStore& store, const char* key)
{
    return store.readSetting(kOptions, QString::fromLatin1(key), QString()).toStdString();
}

}  // namespace

StartupSettings loadStartupSettings(SettingsStore& store, ProgramVariables& vars,
                                    const QString& todayLongDate,
                                    const std::function<bool()>& stopRequested)
{
    StartupSettings result;
    readGraphOnlyLayout(store, vars);
    readOrRecordInstallDate(store, vars, todayLongDate, stopRequested);
    readInto(store, kOptions, "visibility", "9", textToInt16, result.transparencyLevel);
    result.interfaceChoice = readOptionText(store, "interface");
    result.jumpLimitText = readOptionText(store, "jumplimit");

    readInto(store, kSetting, "dlcolor", "&H0000FF", textToInt32, vars.downloadColour);
    readInto(store, kSetting, "ulcolor", "&H00FF00", textToInt32, vars.uploadColour);
    readInto(store, kSetting, "bgcolor", "&HBEAA49", textToInt32, vars.backgroundColour);
    readInto(store, kSetting, "connectionspeed", "1024000", textToInt32, vars.connectionSpeed);

    WindowPlacement& placement = result.placement;
    readInto(store, kSetting, "windowsposx", "0", textToInt32, placement.left);
    readInto(store, kSetting, "windowsposy", "0", textToInt32, placement.top);
    readInto(store, kSetting, "windowswidth", "4650", textToInt32, placement.width);
    readInto(store, kSetting, "windowsheight", "2460", textToInt32, placement.height);

    readInto(store, kSetting, "DLtot", "1", textToInt32, vars.downloadTotal);
    readInto(store, kSetting, "ULtot", "1", textToInt32, vars.uploadTotal);
    readInto(store, kSetting, "ontop", "true", textToBoolean, vars.onTop);
    return result;
}

}  // namespace kuvell
