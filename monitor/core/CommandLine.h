// SPDX-License-Identifier: MIT
#pragma once
// Kuvell's own command line, decided before Qt is started, so that --help and
// --version answer at once without a display and without touching the settings.
#include <span>
#include <string>
#include <string_view>

namespace kuvell {

enum class CommandLineAction {
    RunWindow,     // no argument of Kuvell's own: start as usual, Qt takes its options
    PrintHelp,     // text to stdout, exit 0
    PrintVersion,  // text to stdout, exit 0
    RejectUsage,   // text to stderr, exit 2
};

struct CommandLineDecision
{
    CommandLineAction action = CommandLineAction::RunWindow;
    std::string text;
};

inline constexpr int kUsageErrorExitCode = 2;

// arguments: argv without the program name. Qt's own options, with their
// values, are left for QApplication; anything else is a usage error. Like
// getopt programs, the first --help, --version or unknown argument decides.
CommandLineDecision decideCommandLine(std::span<const char* const> arguments);

// "<program> <version>" and the copyright line, as both programs' --version print it.
std::string versionText(std::string_view program);

}  // namespace kuvell
