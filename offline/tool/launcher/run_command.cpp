// steambridge-offline run: the game over the offline Steam. Everything that
// can be refused is checked before the game starts, so a refusal leaves
// nothing behind; then Valve's library is pointed at the offline client (for
// the game's process alone where the platform allows it), the run's events
// are told on stderr as the journal grows, and the report is built at the end.
#include "run_command.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "command_line.h"
#include "offline_platform.h"
#include "report.h"
#include "scenario.h"
#include "state_lock.h"
#include "warning_codes.h"

namespace offline_tool {
namespace {

int RunStatus(int status) { return kRunStatusBase + status; }

int Refuse(int status, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return RunStatus(status);
}

const char* ResultName(long long result) {
    switch (result) {
        case 1:
            return "OK";
        case 2:
            return "Fail";
        case 8:
            return "InvalidParam";
        case 84:
            return "RateLimitExceeded";
        default:
            return "an error";
    }
}

// The journal's new lines, told as they come: only the events that matter.
class EventTeller {
public:
    EventTeller(std::string path, bool quiet) : path_(std::move(path)), quiet_(quiet) {}

    void ReadNewLines() {
        std::ifstream file(path_, std::ios::binary);
        if (!file) return;
        file.seekg(static_cast<std::streamoff>(offset_));
        std::string line;
        while (std::getline(file, line)) {
            if (file.eof()) break;  // a line still being written
            offset_ += line.size() + 1;
            Tell(line);
        }
    }

private:
    void Say(const std::string& text) const {
        if (quiet_) return;
        // One write per line: the game writes to the same console meanwhile,
        // and a line written piece by piece would be cut by its output.
        WriteLineToStderr("steam: " + text);
    }

    void Tell(const std::string& line) {
        const nlohmann::json event = nlohmann::json::parse(line, nullptr, false);
        if (!event.is_object()) return;
        const std::string kind = event.value("event", "");
        if (kind == "open") {
            app_ = event.value("app", 0LL);
        } else if (kind == "start") {
            if (event.value("ok", false))
                Say("started (app " + std::to_string(app_) + ")");
            else
                Say("the start failed: " + event.value("reason", std::string("no reason given")));
        } else if (kind == "statsReceived") {
            const long long result = event.value("result", 0LL);
            Say(result == 1 ? std::string("the user's stats arrived")
                            : "the user's stats failed (result " + std::to_string(result) + ")");
        } else if (kind == "unlock") {
            Say("achievement " + event.value("name", std::string("?")) + " unlocked");
        } else if (kind == "store") {
            const long long result = event.value("result", 0LL);
            std::string text = "store " + std::to_string(event.value("call", 0LL)) + " answered " +
                               std::to_string(result) + " (" + ResultName(result) + ")";
            const std::string when = event.value("when", std::string());
            if (when == "shutdown" || when == "exit") text += ", made by Steam at " + when;
            Say(text);
        } else if (kind == "score") {
            const bool ok = event.value("result", 0LL) == 1;
            Say("score " + std::to_string(event.value("score", 0LL)) + " on " +
                event.value("board", std::string("?")) +
                (!ok                             ? ": the upload failed"
                 : event.value("changed", false) ? ": a new best"
                                                 : ": kept the better one"));
        } else if (kind == "warning") {
            Say("warning: " + event.value("text", std::string()));
        } else if (kind == "shutdown") {
            Say(event.value("how", std::string()) == "api" ? "shut down"
                                                           : "still up when the game ended");
        }
    }

    std::string path_;
    bool quiet_;
    std::size_t offset_ = 0;
    long long app_ = 0;
};

std::string Absolute(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::absolute(path, ignored).string();
}

}  // namespace

int RunRun(const Arguments& arguments) {
    Arguments options;
    Arguments game;
    bool dashes = false;
    bool quiet = false;
    for (const std::string& argument : arguments) {
        if (dashes) {
            game.push_back(argument);
        } else if (argument == "--") {
            dashes = true;
        } else if (argument == "--quiet") {
            quiet = true;
        } else {
            options.push_back(argument);
        }
    }
    std::string scenarioPath, statePath, reportPath, junitPath, clientPath;
    std::vector<ValueOption> valueOptions{{"--scenario", &scenarioPath},
                                          {"--state", &statePath},
                                          {"--report", &reportPath},
                                          {"--junit", &junitPath},
                                          {"--client", &clientPath}};
    Arguments positional;
    std::string error;
    if (!ParseOptions(options, valueOptions, &positional, &error))
        return RunStatus(UsageError(error));
    if (!positional.empty())
        return RunStatus(UsageError("run takes the game after --, not " + positional[0]));
    if (!dashes || game.empty()) return RunStatus(UsageError("run needs -- and then the game"));

    // One run at a time on a state file, held from its check to the report:
    // a second launcher waits here, before its game starts, and is refused
    // with its own status. The game's client, told so, takes no lock of its own.
    offline_steam::StateLock stateLock;
    if (!statePath.empty() &&
        !stateLock.Acquire(Absolute(statePath), offline_steam::StateLockWaitSeconds(), &error))
        return Refuse(kStateInUse, error);

    // Everything that can be refused, before anything is made.
    offline_steam::Scenario scenario;
    if (!scenarioPath.empty() &&
        !offline_steam::LoadScenarioFile(scenarioPath, &scenario, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return RunStatus(kScenarioRefused);
    }
    if (!statePath.empty() && offline_steam::StateFileExists(statePath)) {
        offline_steam::StartState state;
        if (!offline_steam::LoadStateFile(statePath, &state, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return RunStatus(kScenarioRefused);
        }
    } else if (!statePath.empty() && !CanWrite(statePath, &error)) {
        return Refuse(kOutputFailed, error);
    }
    for (const std::string* path : {&reportPath, &junitPath})
        if (!path->empty() && !CanWrite(*path, &error)) return Refuse(kOutputFailed, error);
    game[0] = ResolveGame(game[0]);
    if (!IsExecutableFile(game[0]))
        return Refuse(kGameMissing, game[0] + ": no such program, or not executable");

    const std::string sandbox = MakeSandbox(&error);
    if (sandbox.empty()) return Refuse(kOutputFailed, error);
    const std::string journalPath = sandbox + "/journal.jsonl";
    Environment environment;
    const int refusal = StandInForSteam(game[0], sandbox, clientPath, &environment, &error);
    if (refusal != 0) {
        RemoveTree(sandbox);
        return Refuse(refusal, error);
    }
    environment.emplace_back("STEAMBRIDGE_OFFLINE_JOURNAL", journalPath);
    if (!scenarioPath.empty())
        environment.emplace_back("STEAMBRIDGE_OFFLINE_SCENARIO", Absolute(scenarioPath));
    if (!statePath.empty()) {
        environment.emplace_back("STEAMBRIDGE_OFFLINE_STATE", Absolute(statePath));
        environment.emplace_back("STEAMBRIDGE_OFFLINE_STATE_HELD", "1");
    }

    if (!quiet)
        std::fprintf(stderr, "%s: %s over the offline Steam%s\n", kProgram, game[0].c_str(),
                     scenarioPath.empty() ? "" : (" (" + scenarioPath + ")").c_str());
    EventTeller teller(journalPath, quiet);
    const int gameStatus = RunGame(
        game, environment, [&teller] { teller.ReadNewLines(); }, &error);

    StopStandingIn();
    std::vector<std::string> lines;
    std::string journalError;
    ReadJournalFile(journalPath, &lines, &journalError);
    const std::vector<std::string> bridgeTrace = GameDebugOutput();
    // What the game wrote under its HOME is the user's: kept, never deleted.
    bool keepSandbox = false;
    const std::vector<std::string> keptFiles = KeepGameFiles(sandbox, &keepSandbox);
    if (!keepSandbox) RemoveTree(sandbox);
    if (gameStatus < 0) return Refuse(kGameMissing, error);

    Report report = BuildReport(lines, scenario.expect);
    report.bridgeTrace = bridgeTrace;
    for (const std::string& kept : keptFiles)
        report.warnings.push_back(
            {offline_steam::WarningCodeText(offline_steam::WarningCode::kHomeFileKept), kept});
    std::fputs(ReportSummary(report).c_str(), stdout);
    std::fflush(stdout);
    bool written = true;
    if (!reportPath.empty() && !WriteAtomically(reportPath, ReportJson(report), &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        written = false;
    }
    if (!junitPath.empty() && !WriteAtomically(junitPath, ReportJUnit(report), &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        written = false;
    }
    // A save that failed lost what the game was told is stored: never a success.
    for (const ReportWarning& warning : report.warnings) {
        if (warning.code != "state-not-saved") continue;
        std::fprintf(stderr, "%s: %s\n", kProgram, warning.text.c_str());
        written = false;
        break;
    }
    if (gameStatus != 0) {
        std::fprintf(stderr, "%s: the game exited with status %d\n", kProgram, gameStatus);
        return gameStatus;
    }
    if (!written) return RunStatus(kOutputFailed);
    if (!report.started) return RunStatus(kNeverStarted);
    return report.FailedExpectations() > 0 ? RunStatus(kExpectationFailed) : kAllMet;
}

}  // namespace offline_tool
