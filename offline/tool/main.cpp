// steambridge-offline: a game developer's command for the offline Steam.
//
//   steambridge-offline report JOURNAL [--scenario FILE] [--report FILE] [--junit FILE]
//       reads the journal the offline client wrote while the game ran, prints
//       a summary, and writes the report as JSON and as JUnit XML when asked.
//
// Each subcommand exits with one of the statuses in exit_statuses.h; where
// several hold, usage, scenario, journal and output errors come first, then
// kNeverStarted, then kExpectationFailed.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "command_line.h"
#include "offline_platform.h"
#include "report.h"
#include "run_command.h"
#include "scenario.h"

using namespace offline_tool;

namespace {

struct Subcommand {
    const char* name;
    const char* synopsis;  // what follows the name; lines go on under it
    const char* purpose;   // indented lines
    int (*run)(const Arguments& arguments);
};

int RunReport(const Arguments& arguments);

const Subcommand kSubcommands[] = {
    {"report",
     "JOURNAL [--scenario FILE] [--report FILE]\n"
     "                           [--junit FILE]",
     "  summarise a run from the journal the offline client wrote, and hold it\n"
     "  to the scenario's expectations\n"
     "  --scenario FILE  the scenario the game ran under (without it, no expectations)\n"
     "  --report FILE    write the report as JSON\n"
     "  --junit FILE     write one JUnit test case per expectation, for CI",
     RunReport},
    {"run",
     "[--scenario FILE] [--state FILE] [--report FILE]\n"
     "                           [--junit FILE] [--quiet] [--client FILE] -- GAME [ARGS...]",
     "  run GAME over the offline Steam, for its process alone: HOME is a sandbox\n"
     "  where Valve's library finds the offline client; the game's data, config\n"
     "  and cache folders stay the user's (XDG_*_HOME); the run's Steam events go\n"
     "  to stderr as they happen, the summary to stdout\n"
     "  --scenario FILE  the scenario (else our own game's schema)\n"
     "  --state FILE     the user's state: read at start, written after each store\n"
     "  --report FILE, --junit FILE  as for report\n"
     "  --quiet          no event lines\n"
     "  --client FILE    an offline client other than the one beside this tool\n"
     "  (Windows: HKCU\\Software\\Valve\\Steam\\ActiveProcess points at x86\\steamclient.dll\n"
     "  and x64\\steamclient64.dll beside this tool for the run, its old values put back\n"
     "  afterwards, also when the game crashes or the console is closed)",
     RunRun},
    {"doctor", "[GAME_DIR] [--client FILE]",
     "  why the game in GAME_DIR (default: here) cannot start Steam: its client\n"
     "  library, its architecture and SDK release, the steambridge beside it,\n"
     "  steam_appid.txt, a running Steam, and a trial start over the offline client",
     RunDoctor},
#if defined(_WIN32)
    {"restore", "",
     "  put HKCU\\Software\\Valve\\Steam\\ActiveProcess back as it was before a run that\n"
     "  was cut short (the launcher killed)",
     [](const Arguments& arguments) {
         return arguments.empty() ? RestoreActiveProcess()
                                  : UsageError("restore takes no arguments");
     }},
#endif
};

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "usage: %s COMMAND [ARGUMENTS]\n\n", kProgram);
    for (const Subcommand& command : kSubcommands) {
        std::fprintf(out, "%s %s %s\n", kProgram, command.name, command.synopsis);
        std::fprintf(out, "%s\n\n", command.purpose);
    }
    std::fprintf(out, "%s --version\n\n", kProgram);
    std::fprintf(out, "exit status:\n");
    for (const ExitStatusEntry& entry : kExitStatuses)
        std::fprintf(out, "  %2d  %s\n", static_cast<int>(entry.status), entry.meaning);
    std::fprintf(out,
                 "run exits with the game's own status when the game fails; otherwise with 0\n"
                 "when every expectation was met, else with %d + the status above (%d for %d).\n",
                 kRunStatusBase, kRunStatusBase + kExpectationFailed, kExpectationFailed);
}

int RunReport(const Arguments& arguments) {
    std::string scenarioPath;
    std::string reportPath;
    std::string junitPath;
    std::vector<ValueOption> options{
        {"--scenario", &scenarioPath}, {"--report", &reportPath}, {"--junit", &junitPath}};
    Arguments positional;
    std::string error;
    if (!ParseOptions(arguments, options, &positional, &error)) return UsageError(error);
    if (positional.empty()) return UsageError("report needs the journal file");
    if (positional.size() > 1) return UsageError("report takes one journal, not " + positional[1]);

    offline_steam::Scenario scenario;
    if (!scenarioPath.empty() &&
        !offline_steam::LoadScenarioFile(scenarioPath, &scenario, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kScenarioRefused;
    }
    std::vector<std::string> lines;
    if (!offline_tool::ReadJournalFile(positional[0], &lines, &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        return kJournalUnreadable;
    }

    const offline_tool::Report report = offline_tool::BuildReport(lines, scenario.expect);
    std::fputs(offline_tool::ReportSummary(report).c_str(), stdout);
    std::fflush(stdout);

    bool written = true;
    if (!reportPath.empty() &&
        !WriteAtomically(reportPath, offline_tool::ReportJson(report), &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        written = false;
    }
    if (!junitPath.empty() &&
        !WriteAtomically(junitPath, offline_tool::ReportJUnit(report), &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        written = false;
    }
    if (!written) return kOutputFailed;
    if (!report.started) return kNeverStarted;
    return report.FailedExpectations() > 0 ? kExpectationFailed : kAllMet;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    if (arguments.empty()) return UsageError("a command is needed");
    const std::string name = arguments.front();
    if (name == "--version") {
        std::printf("%s %s\n", kProgram, STEAMBRIDGE_VERSION_TEXT);
        return kAllMet;
    }
    if (IsHelp(name) || name == "help") {
        PrintHelp(stdout);
        return kAllMet;
    }
    for (const Subcommand& command : kSubcommands) {
        if (name != command.name) continue;
        arguments.erase(arguments.begin());
        for (const std::string& argument : arguments) {
            if (argument == "--") break;
            if (IsHelp(argument)) {
                PrintHelp(stdout);
                return kAllMet;
            }
        }
        return command.run(arguments);
    }
    return UsageError("unknown command " + name);
}
