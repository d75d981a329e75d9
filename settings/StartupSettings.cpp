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
void ReadInto(const SettingsStore& store, const QString& section, const char* key,
              const char* defaultText, Convert convert, Target& target)
{
    const QByteArray text =
        store.ReadSetting(section, QString::fromLatin1(key), QString::fromLatin1(defaultText))
            .toUtf8();
    if (const auto value = convert(std::string_view(text.constData(), text.size())))
        target = *value;
}

void ReadGraphOnlyLayout(const SettingsStore& store, ProgramVariables& vars)
{
    double graphics = 0;
    ReadInto(store, kOptions, "graphics", "0", TextToNumber, graphics);
    if (graphics == 1) vars.ExtraGraphHeight = kGraphOnlyExtraHeight;
}

void ReadOrRecordInstallDate(SettingsStore& store, ProgramVariables& vars,
                             const QString& todayLongDate)
{
    const QString key = QStringLiteral("installdate");
    QString installDate = store.ReadSetting(kOptions, key, QStringLiteral("null"));
    if (installDate == QLatin1String("null")) {
        installDate = todayLongDate;
        store.WriteSetting(kOptions, key, installDate);  // a failure is already reported on stderr
    }
    vars.InstallDate = installDate.toStdString();
}

}  // namespace

StartupSettings LoadStartupSettings(SettingsStore& store, ProgramVariables& vars,
                                    const QString& todayLongDate)
{
    StartupSettings result;
    ReadGraphOnlyLayout(store, vars);
    ReadOrRecordInstallDate(store, vars, todayLongDate);
    ReadInto(store, kOptions, "visibility", "9", TextToInt16, result.TransparencyLevel);

    ReadInto(store, kSetting, "dlcolor", "&H0000FF", TextToInt32, vars.DLColor);
    ReadInto(store, kSetting, "ulcolor", "&H00FF00", TextToInt32, vars.ULColor);
    ReadInto(store, kSetting, "bgcolor", "&HBEAA49", TextToInt32, vars.BGColor);
    ReadInto(store, kSetting, "connectionspeed", "1024000", TextToInt32, vars.ConnectionSpeed);

    WindowPlacement& placement = result.placement;
    ReadInto(store, kSetting, "windowsposx", "0", TextToInt32, placement.left);
    ReadInto(store, kSetting, "windowsposy", "0", TextToInt32, placement.top);
    ReadInto(store, kSetting, "windowswidth", "4650", TextToInt32, placement.width);
    ReadInto(store, kSetting, "windowsheight", "2460", TextToInt32, placement.height);

    ReadInto(store, kSetting, "DLtot", "1", TextToInt32, vars.DLtot);
    ReadInto(store, kSetting, "ULtot", "1", TextToInt32, vars.ULtot);
    ReadInto(store, kSetting, "ontop", "true", TextToBoolean, vars.OnTop);
    return result;
}

}  // namespace kuvell
