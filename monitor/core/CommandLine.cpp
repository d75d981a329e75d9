// SPDX-License-Identifier: MIT
#include "monitor/core/CommandLine.h"

#include <algorithm>
#include <array>

namespace kuvell {
namespace {

constexpr std::string_view kUsage =
    "Usage: kuvell [QT-OPTION...]\n"
    "       kuvell --help | --version\n";

constexpr std::string_view kHelp =
    "\n"
    "Shows the download and upload rate of one network interface once a second,\n"
    "in a small always-on-top window (a text line and a bar graph of the last 299\n"
    "seconds) and in the notification area. Right-click the graph for the\n"
    "settings and to quit.\n"
    "\n"
    "  -h, --help     show this text and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "Qt's own options work as in every Qt program, among them -platform NAME and,\n"
    "on X11, -display DISPLAY.\n"
    "\n"
    "Settings and running totals: $XDG_CONFIG_HOME/kuvell/kuvell.ini (usually\n"
    "~/.config/kuvell/kuvell.ini). See kuvell(1).\n";

// The options that QApplication, QGuiApplication and the xcb platform plugin
// of Qt 6 take out of argv themselves, written with one dash; Qt accepts two
// as well. -session is how a session manager restarts a program.
constexpr std::array<std::string_view, 16> kQtOptionsWithValue{"-platform",
                                                               "-platformpluginpath",
                                                               "-platformtheme",
                                                               "-plugin",
                                                               "-qwindowgeometry",
                                                               "-geometry",
                                                               "-qwindowtitle",
                                                               "-title",
                                                               "-qwindowicon",
                                                               "-icon",
                                                               "-session",
                                                               "-display",
                                                               "-name",
                                                               "-visual",
                                                               "-style",
                                                               "-stylesheet"};
constexpr std::array<std::string_view, 7> kQtFlags{
    "-reverse", "-testability", "-widgetcount", "-nograb", "-dograb", "-qdevel", "-qdebug"};
// Options Qt takes only in the form -option=value.
constexpr std::array<std::string_view, 3> kQtValueInOptions{
    "-style=", "-stylesheet=", "-qmljsdebugger="};

CommandLineDecision rejected(std::string_view problem)
{
    return {CommandLineAction::RejectUsage, "kuvell: " + std::string(problem) + "\n" +
                                                std::string(kUsage) +
                                                "Try 'kuvell --help' for more information.\n"};
}

}  // namespace

CommandLineDecision decideCommandLine(std::span<const char* const> arguments)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i] != nullptr ? arguments[i] : "";
        if (argument == "--help" || argument == "-h") {
            return {CommandLineAction::PrintHelp, std::string(kUsage) + std::string(kHelp)};
        }
        if (argument == "--version") {
            return {CommandLineAction::PrintVersion, versionText("kuvell")};
        }
        const std::string_view option = argument.starts_with("--") ? argument.substr(1) : argument;
        const auto named = [option](std::string_view name) { return name == option; };
        if (std::any_of(kQtOptionsWithValue.begin(), kQtOptionsWithValue.end(), named)) {
            if (++i == arguments.size()) {
                return rejected("option '" + std::string(argument) + "' needs a value");
            }
            continue;
        }
        if (std::any_of(kQtFlags.begin(), kQtFlags.end(), named)) {
            continue;
        }
        const bool valueIn =
            std::any_of(kQtValueInOptions.begin(), kQtValueInOptions.end(),
                        [option](std::string_view prefix) { return option.starts_with(prefix); });
        if (!valueIn) {
            return rejected("unknown argument '" + std::string(argument) + "'");
        }
    }
    return {};
}

std::string versionText(std::string_view program)
{
    constexpr std::string_view kVersion = KUVELL_VERSION;
    return std::string(program) + ' ' + std::string(kVersion) +
           "\nCopyright (c) The Kuvell developers. MIT License.\n";
}

}  // namespace kuvell
