// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace kuvell {
namespace {

struct Finished
{
    bool exited = false;  // normally, not killed by a signal
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs kuvell-ifstat with the given arguments and extra environment entries;
// signalAfterFirstLine (when not 0) is sent to it once its first line is out.
// Gives up after 20 s.
Finished runIfstat(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& extraEnvironment = {},
                   int signalAfterFirstLine = 0)
{
    std::vector<std::string> argvText{KUVELL_IFSTAT_PATH};
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envText(extraEnvironment);
    for (char** e = environ; *e != nullptr; ++e) {
        envText.emplace_back(*e);  // earlier entries win with getenv
    }
    const auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> out;
        for (auto& t : texts) {
            out.push_back(t.data());
        }
        out.push_back(nullptr);
        return out;
    };
    std::vector<char*> argv = pointers(argvText);
    std::vector<char*> envp = pointers(envText);

    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    Finished result;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0] << ": " << std::strerror(spawned);
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int open = 2;
    while (open > 0 && std::chrono::steady_clock::now() < giveUp) {
        if (poll(fds, 2, 500) <= 0) {
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP)) != 0) {
                char buffer[4096];
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    sinks[i]->append(buffer, static_cast<std::size_t>(n));
                    if (signalAfterFirstLine != 0 && result.out.find('\n') != std::string::npos) {
                        kill(pid, signalAfterFirstLine);
                        signalAfterFirstLine = 0;
                    }
                } else {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
    if (open > 0) {
        ADD_FAILURE() << "kuvell-ifstat did not finish within 20 s";
        kill(pid, SIGKILL);
        for (const pollfd& p : fds) {
            if (p.fd >= 0) {
                close(p.fd);
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    return fields;
}

// The closing line a marked row gives: its octets as the 32-bit signed counters.
std::string countersLine(const std::vector<std::string>& row)
{
    const auto counter = [](const std::string& octets) {
        return std::to_string(static_cast<int32_t>(std::stoul(octets)));
    };
    return "BytesReceived " + counter(row[9]) + " BytesSent " + counter(row[10]);
}

TEST(KuvellIfstat, HelpExplainsTheOptions)
{
    const Finished run = runIfstat({"--help"});
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Usage: kuvell-ifstat"), std::string::npos);
    EXPECT_NE(run.out.find("--watch"), std::string::npos);
    EXPECT_NE(run.out.find("--count N"), std::string::npos);
    EXPECT_NE(run.out.find("--version"), std::string::npos);
    EXPECT_EQ(run.err, "");
}

TEST(KuvellIfstat, VersionIsTheProjects)
{
    const Finished run = runIfstat({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with("kuvell-ifstat " KUVELL_VERSION "\n")) << run.out;
    EXPECT_EQ(run.err, "");
}

TEST(KuvellIfstat, BadArgumentsGiveAClearMessageAndExitCode2)
{
    const std::vector<std::vector<std::string>> bad{
        {"--bogus"},
        {"-"},
        {""},
        {"--watch", "extra"},
        {"--count", "2"},
        {"--watch", "--count"},
        {"--watch", "--count", "0"},
        {"--watch", "--count", "-1"},
        {"--watch", "--count=1x"},
        {"--watch", "--count", "99999999999999999999999"}};
    for (const auto& arguments : bad) {
        const Finished run = runIfstat(arguments);
        const std::string shown = arguments.back();
        EXPECT_EQ(run.exitCode, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_NE(run.err.find("kuvell-ifstat: "), std::string::npos) << shown;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << shown;
    }
}

TEST(KuvellIfstat, PrintsOneLinePerInterfaceAndThePickedCounters)
{
    const Finished run = runIfstat({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_GE(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines.front(),
              "index\tname\tdescription\ttype\tmtu\tspeed\taddress\tadmin\toper\tin-octets\tout-"
              "octets\tcounters");
    const std::size_t interfaces = static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/sys/class/net"),
                      std::filesystem::directory_iterator{}));
    EXPECT_EQ(lines.size(), interfaces + 2) << run.out;

    const std::regex number("[0-9]+");
    const std::regex address("-|[0-9A-F]{1,2}(-[0-9A-F]{1,2}){0,7}");
    bool sawLoopback = false;
    std::string lastAddressed;
    std::string taken;
    std::string takenCounters;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::vector<std::string> f = fields(lines[i]);
        ASSERT_EQ(f.size(), 12u) << lines[i];
        EXPECT_TRUE(f[11] == "taken" || f[11] == "-") << lines[i];
        lastAddressed = f[6] == "-" ? lastAddressed : f[1];
        if (f[11] == "taken") {
            EXPECT_EQ(taken, "") << "a second row marked: " << lines[i];
            taken = f[1];
            takenCounters = countersLine(f);
        }
        for (const std::size_t numeric : {0, 3, 4, 5, 7, 8, 9, 10}) {
            EXPECT_TRUE(std::regex_match(f[numeric], number)) << lines[i];
        }
        EXPECT_TRUE(std::regex_match(f[6], address)) << lines[i];
        EXPECT_EQ(f[1].find('\0'), std::string::npos) << "name without its UTF-16 padding";
        EXPECT_EQ(f[2].find('\0'), std::string::npos) << "description without its NUL";
        EXPECT_TRUE(std::filesystem::exists("/sys/class/net/" + f[1])) << f[1];
        if (f[1] == "lo") {
            sawLoopback = true;
            EXPECT_EQ(f[2], "lo");
            EXPECT_EQ(f[3], "24") << "software loopback";
            EXPECT_EQ(f[6], "-") << "no hardware address";
        }
    }
    EXPECT_TRUE(sawLoopback) << run.out;
    EXPECT_TRUE(
        std::regex_match(lines.back(), std::regex("BytesReceived -?[0-9]+ BytesSent -?[0-9]+")))
        << lines.back();
    EXPECT_EQ(taken, lastAddressed) << "the last row with a hardware address is marked";
    if (!taken.empty()) {
        EXPECT_EQ(lines.back(), takenCounters) << "the counters are the marked row's";
    }
}

TEST(KuvellIfstat, AChosenInterfaceIsMarkedAndAnUnknownOneListsTheInterfaces)
{
    const Finished chosen = runIfstat({"--interface", "lo"});
    ASSERT_EQ(chosen.exitCode, 0) << chosen.err;
    const std::vector<std::string> lines = splitLines(chosen.out);
    ASSERT_GE(lines.size(), 3u) << chosen.out;
    std::vector<std::string> marked;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::vector<std::string> f = fields(lines[i]);
        ASSERT_EQ(f.size(), 12u) << lines[i];
        if (f[11] == "taken") {
            marked.push_back(f[1]);
            EXPECT_EQ(lines.back(), countersLine(f));
        }
    }
    EXPECT_EQ(marked, std::vector<std::string>{"lo"}) << chosen.out;

    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--interface=no-such-if0"},
          std::vector<std::string>{"--watch", "--count", "1", "--interface", "no-such-if0"}}) {
        const Finished unknown = runIfstat(arguments);
        EXPECT_EQ(unknown.exitCode, 2) << arguments.front();
        EXPECT_EQ(unknown.out, "") << arguments.front();
        EXPECT_TRUE(
            std::regex_search(unknown.err, std::regex("\"no-such-if0\".*: (.*, )?lo(,|\n)")))
            << unknown.err;
    }

    const Finished watched =
        runIfstat({"--watch", "--count=1", "--interface=lo", "--jump-limit=2147483647"});
    EXPECT_EQ(watched.exitCode, 0) << watched.err;
    // Loopback has carried bytes since boot, all within the limit: the first
    // line still shows 0, as its counters are only the starting point.
    EXPECT_EQ(watched.out, "DL: 0 kb/s - UL: 0 kb/s\n");
}

TEST(KuvellIfstat, BadInterfaceOrJumpLimitArgumentsGiveExitCode2)
{
    const std::vector<std::vector<std::string>> bad{{"--interface"},
                                                    {"--interface="},
                                                    {"--watch", "--jump-limit"},
                                                    {"--watch", "--jump-limit", "0"},
                                                    {"--watch", "--jump-limit", "2147483648"},
                                                    {"--watch", "--jump-limit=-5"},
                                                    {"--watch", "--jump-limit", "1.5"},
                                                    {"--watch", "--jump-limit", "lots"},
                                                    {"--jump-limit", "5000000"}};
    for (const auto& arguments : bad) {
        const Finished run = runIfstat(arguments);
        const std::string shown = arguments.back();
        EXPECT_EQ(run.exitCode, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_NE(run.err.find("kuvell-ifstat: --"), std::string::npos) << shown << ": " << run.err;
    }
}

TEST(KuvellIfstat, WatchPrintsWellFormedRateLinesAndLeavesTheSettingsAlone)
{
    const auto home =
        std::filesystem::temp_directory_path() / ("kuvell-ifstat-home-" + std::to_string(getpid()));
    std::filesystem::create_directories(home / "config");
    const Finished run = runIfstat(
        {"--watch", "--count", "2"},
        {"LC_ALL=C", "HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / "config").string()});
    const bool untouched = std::filesystem::is_empty(home / "config") &&
                           std::distance(std::filesystem::directory_iterator(home),
                                         std::filesystem::directory_iterator{}) == 1;
    std::filesystem::remove_all(home);

    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::regex label("DL: -?[0-9]+(\\.[0-9])? kb/s - UL: -?[0-9]+(\\.[0-9])? kb/s");
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_match(line, label)) << line;
    }
    EXPECT_EQ(run.out.back(), '\n');
    EXPECT_TRUE(untouched) << "no settings file is read or written";
}

TEST(KuvellIfstat, WatchEndsCleanlyOnSigintAndSigterm)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        // Sent once the first line is out, so it meets the running loop and not start-up.
        const Finished run = runIfstat({"--watch"}, {}, signal);
        EXPECT_TRUE(run.exited) << "ended by its own exit, not killed by signal " << signal;
        EXPECT_EQ(run.exitCode, 0) << signal;
        EXPECT_EQ(run.err, "") << signal;
        EXPECT_EQ(splitLines(run.out).size(), 1u) << run.out;
    }
}

}  // namespace
}  // namespace kuvell
