// steambridge-offline: a game developer's command for the offline Steam.
//
//   steambridge-offline report JOURNAL [--scenario FILE] [--report FILE] [--junit FILE]
//       reads the journal the offline client wrote while the game ran, prints
//       a summary, and writes the report as JSON and as JUnit XML when asked.
//
// Exit status (each subcommand keeps to the same numbers):
//   0  every expectation met
//   1  an expectation was not met
//   2  usage error: unknown subcommand or option, missing argument
//   3  the scenario was refused (its one-line error on stderr)
//   4  the journal cannot be read
//   5  the game never started Steam
//   6  a report file cannot be written
// Where several hold, usage, scenario, journal and output errors come first,
// then 5, then 1.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "report.h"
#include "scenario/scenario.h"

namespace {

enum ExitStatus : int {
    kAllMet = 0,
    kExpectationFailed = 1,
    kUsage = 2,
    kScenarioRefused = 3,
    kJournalUnreadable = 4,
    kNeverStarted = 5,
    kOutputFailed = 6,
};

constexpr const char* kProgram = "steambridge-offline";

using Arguments = std::vector<std::string>;

struct Subcommand {
    const char* name;
    const char* synopsis;  // what follows the name; lines go on under it
    const char* purpose;  // indented lines
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
};

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "usage: %s COMMAND [ARGUMENTS]\n\n", kProgram);
    for (const Subcommand& command : kSubcommands) {
        std::fprintf(out, "%s %s %s\n", kProgram, command.name, command.synopsis);
        std::fprintf(out, "%s\n\n", command.purpose);
    }
    std::fprintf(out,
                 "exit status:\n"
                 "  0  every expectation met\n"
                 "  1  an expectation was not met\n"
                 "  2  usage error: unknown command or option, missing argument\n"
                 "  3  the scenario was refused\n"
                 "  4  the journal cannot be read\n"
                 "  5  the game never started Steam\n"
                 "  6  a report file cannot be written\n");
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    std::fprintf(stderr, "try '%s --help'\n", kProgram);
    return kUsage;
}

bool IsHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

// An option that takes a value: "--name VALUE" or "--name=VALUE".
struct ValueOption {
    const char* name;
    std::string* value;
    bool seen = false;
};

// Positional arguments go to `positional`; false with `error` set on a usage error.
bool ParseOptions(const Arguments& arguments, std::vector<ValueOption>& options,
                  Arguments* positional, std::string* error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            positional->push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        ValueOption* option = nullptr;
        for (ValueOption& candidate : options) {
            if (name == candidate.name) option = &candidate;
        }
        if (option == nullptr) {
            *error = "unknown option " + name;
            return false;
        }
        if (option->seen) {
            *error = name + " given twice";
            return false;
        }
        option->seen = true;
        if (equals != std::string::npos) {
            *option->value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            *option->value = arguments[++i];
        } else {
            *error = name + " needs a file";
            return false;
        }
        if (option->value->empty()) {
            *error = name + " needs a file";
            return false;
        }
    }
    return true;
}

// A reader never sees half a file: the text goes to a file beside the target,
// which then replaces it.
bool WriteAtomically(const std::string& path, const std::string& text, std::string* error) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path temporary = target;
    temporary += ".partial";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) {
            *error = path + ": cannot be written: " + std::strerror(errno);
            return false;
        }
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        if (!file) {
            *error = path + ": cannot be written";
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code failure;
    fs::rename(temporary, target, failure);
    if (failure) {
        *error = path + ": cannot be written: " + failure.message();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
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

    steam_sim::Scenario scenario;
    if (!scenarioPath.empty() && !steam_sim::LoadScenarioFile(scenarioPath, &scenario, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kScenarioRefused;
    }
    std::vector<std::string> lines;
    if (!steam_offline::ReadJournalFile(positional[0], &lines, &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        return kJournalUnreadable;
    }

    const steam_offline::Report report = steam_offline::BuildReport(lines, scenario.expect);
    std::fputs(steam_offline::ReportSummary(report).c_str(), stdout);
    std::fflush(stdout);

    bool written = true;
    if (!reportPath.empty() && !WriteAtomically(reportPath, steam_offline::ReportJson(report), &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        written = false;
    }
    if (!junitPath.empty() && !WriteAtomically(junitPath, steam_offline::ReportJUnit(report), &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        written = false;
    }
    if (!written) return kOutputFailed;
    if (!report.started) return kNeverStarted;
    return report.failedExpectations() > 0 ? kExpectationFailed : kAllMet;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    if (arguments.empty()) return UsageError("a command is needed");
    const std::string name = arguments.front();
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
