// SPDX-License-Identifier: MIT
#include "monitor/core/CommandLine.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

namespace kuvell {
namespace {

CommandLineDecision decide(std::vector<const char*> arguments)
{
    return decideCommandLine(arguments);
}

TEST(CommandLine, NoArgumentsAndQtsOwnOptionsRunTheWindow)
{
    const std::vector<std::vector<const char*>> runs{
        {},
        {"-platform", "offscreen"},
        {"--platform", "xcb", "-display", ":1"},
        {"-session", "10d2a3f-1", "-reverse", "-name", "meter"},
        {"-style=fusion", "--stylesheet", "a.qss", "-qmljsdebugger=port:1"},
        {"-platform", "--help"},  // the value of -platform, not an option
    };
    for (const auto& arguments : runs) {
        const CommandLineDecision decision = decide(arguments);
        EXPECT_EQ(decision.action, CommandLineAction::RunWindow) << decision.text;
        EXPECT_EQ(decision.text, "");
    }
}

TEST(CommandLine, HelpAndVersionAnswerWhereverTheyCome)
{
    for (const auto& arguments : std::vector<std::vector<const char*>>{
             {"--help"}, {"-h"}, {"-platform", "offscreen", "--help", "--bogus"}}) {
        const CommandLineDecision decision = decide(arguments);
        EXPECT_EQ(decision.action, CommandLineAction::PrintHelp);
        EXPECT_TRUE(decision.text.starts_with("Usage: kuvell ")) << decision.text;
        EXPECT_NE(decision.text.find("--version"), std::string::npos);
        EXPECT_NE(decision.text.find("kuvell.ini"), std::string::npos);
    }
    const CommandLineDecision version = decide({"-display", ":0", "--version"});
    EXPECT_EQ(version.action, CommandLineAction::PrintVersion);
    EXPECT_EQ(version.text, versionText("kuvell"));
    EXPECT_TRUE(std::regex_match(version.text,
                                 std::regex("kuvell [0-9]+\\.[0-9]+\\.[0-9]+\nCopyright .*\n")))
        << version.text;
    EXPECT_TRUE(versionText("kuvell-ifstat").starts_with("kuvell-ifstat "));
}

TEST(CommandLine, AnythingElseIsAUsageErrorThatNamesTheArgument)
{
    const std::vector<std::pair<std::vector<const char*>, std::string>> rejected{
        {{"--bogus"}, "'--bogus'"},
        {{"file.txt"}, "'file.txt'"},
        {{""}, "''"},
        {{"-"}, "'-'"},
        {{"--"}, "'--'"},
        {{"-version"}, "'-version'"},
        {{"--help=1"}, "'--help=1'"},
        {{"-platformx", "xcb"}, "'-platformx'"},
        {{"-platform", "xcb", "extra"}, "'extra'"},
        {{"--bogus", "--help"}, "'--bogus'"},
        {{"-display"}, "'-display' needs a value"},
        {{"-reverse", "--platform"}, "'--platform' needs a value"},
        {{nullptr}, "''"},
    };
    for (const auto& [arguments, named] : rejected) {
        const CommandLineDecision decision = decide(arguments);
        EXPECT_EQ(decision.action, CommandLineAction::RejectUsage) << named;
        EXPECT_TRUE(decision.text.starts_with("kuvell: ")) << decision.text;
        EXPECT_NE(decision.text.find(named), std::string::npos) << decision.text;
        EXPECT_NE(decision.text.find("Usage: kuvell "), std::string::npos) << decision.text;
    }
}

}  // namespace
}  // namespace kuvell
