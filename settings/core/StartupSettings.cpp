// SPDX-License-Identifier: MIT
#include "settings/core/StartupSettings.h"

namespace kuvell {

namespace {

void readOrRecordInstallDate(KeyValueStore& store, ProgramVariables& vars,
                             std::string_view todayLongDate,
                             const std::function<bool()>& stopRequested)
{
    std::string installDate = readTextOrDefault(store, settingkeys::installDate);
    if (installDate == settingkeys::installDate.defaultText &&
        !(stopRequested && stopRequested())) {
        installDate = todayLongDate;
        // Start-up goes on after a failed write; the store has reported it.
        static_cast<void>(writeText(store, settingkeys::installDate, installDate));
    }
    vars.installDate = std::move(installDate);
}

}  // namespace

StartupSettings loadStartupSettings(KeyValueStore& store, ProgramVariables& vars,
                                    std::string_view todayLongDate,
                                    const std::function<bool()>& stopRequested)
{
    namespace keys = settingkeys;
    StartupSettings result;
    if (readValue(store, keys::graphOnly).value_or(false)) {
        vars.extraGraphHeight = kGraphOnlyExtraHeight;
    }
    readOrRecordInstallDate(store, vars, todayLongDate, stopRequested);
    readInto(store, keys::transparencyLevel, result.transparencyLevel);
    result.interfaceChoice = readTextOrDefault(store, keys::measuredInterface);
    result.jumpLimitText = readTextOrDefault(store, keys::jumpLimit);

    readInto(store, keys::downloadColour, vars.downloadColour);
    readInto(store, keys::uploadColour, vars.uploadColour);
    readInto(store, keys::backgroundColour, vars.backgroundColour);
    readInto(store, keys::connectionSpeed, vars.connectionSpeed);

    WindowPlacement& placement = result.placement;
    readInto(store, keys::windowLeft, placement.left);
    readInto(store, keys::windowTop, placement.top);
    readInto(store, keys::windowWidth, placement.width);
    readInto(store, keys::windowHeight, placement.height);

    readInto(store, keys::downloadTotal, vars.downloadTotal);
    readInto(store, keys::uploadTotal, vars.uploadTotal);
    readInto(store, keys::onTop, vars.onTop);
    return result;
}

}  // namespace kuvell
