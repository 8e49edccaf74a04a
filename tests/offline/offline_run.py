#!/usr/bin/env python3
"""Runs a game under `steambridge-offline run`, as a game developer's CI does,
and holds its exit status and report to expectations:

  offline_run.py --tool TOOL --scenario FILE --work DIR
                 [--state] [--runs N] [--emulator CMD] [--game-exit N]
                 [--report-exit N] [--check PATH=JSON]... [--warning CODE]...
                 [--output REGEX] [--error-has TEXT]... [--state-content TEXT]
                 [--state-kept] [--junit-failure TEXT] -- GAME [ARGS...]

The launcher runs once or more (--runs, one --state file across them) and
finds its offline client beside itself. Each run must exit as the launcher
promises: the game's status when the game fails (--game-exit), else 100 +
the report's (--report-exit: 0, 1 an expectation not met, 5 Steam never
started, 3 the scenario or state file refused before the game starts). When
the game's status hides the report's, the report file says it.

PATH names a field of the last run's report by dots
(achievements.ACH_WIN.unlocked); JSON is the value it must have (true, 3,
"clean"); REGEX must match the last run's output, TEXT its error output.
--state-content writes the state file before the first run, and
--state-kept asks that it is left as it was. --junit-failure TEXT: the JUnit
test case "Steam started" fails with a message holding TEXT. With --emulator (Wine) the
launcher runs under it and is given Windows paths.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree


def game_path(path, emulated):
    """A path as a program under Wine sees it: Wine maps the Unix root to Z:."""
    path = os.path.abspath(path)
    return "Z:" + path.replace("/", "\\") if emulated else path


def field(report, path):
    value = report
    for key in path.split("."):
        if isinstance(value, dict) and key in value:
            value = value[key]
        elif isinstance(value, list) and key.isdigit() and int(key) < len(value):
            value = value[int(key)]
        else:
            return KeyError
    return value


def report_status(report):
    """The status `steambridge-offline report` gives this report."""
    if not report.get("started"):
        return 5
    return 1 if any(not e.get("met") for e in report.get("expectations", [])) else 0


def run(command, work):
    """Output through files: under Wine a console host the program's start
    brings up may hold pipes open after it ends."""
    out_path = os.path.join(work, "stdout.txt")
    err_path = os.path.join(work, "stderr.txt")
    with open(out_path, "w") as out, open(err_path, "w") as err:
        status = subprocess.run(command, stdout=out, stderr=err).returncode
    with open(out_path, errors="replace") as out, open(err_path, errors="replace") as err:
        return status, out.read(), err.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--scenario", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--state", action="store_true")
    parser.add_argument("--runs", type=int, default=1)
    parser.add_argument("--emulator", default="")
    parser.add_argument("--game-exit", type=int, default=0)
    parser.add_argument("--report-exit", type=int, default=0)
    parser.add_argument("--check", action="append", default=[])
    parser.add_argument("--warning", action="append", default=[])
    parser.add_argument("--output", default="")
    parser.add_argument("--error-has", action="append", default=[])
    parser.add_argument("--state-content")
    parser.add_argument("--state-kept", action="store_true")
    parser.add_argument("--junit-failure")
    parser.add_argument("game", nargs="+")
    args = parser.parse_args()

    emulated = bool(args.emulator)
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    state = os.path.join(args.work, "state.json")
    report_file = os.path.join(args.work, "report.json")
    junit_file = os.path.join(args.work, "junit.xml")
    if args.state_content is not None:
        with open(state, "w") as file:
            file.write(args.state_content)
    command = ([args.emulator] if emulated else []) + [
        args.tool, "run", "--scenario", game_path(args.scenario, emulated),
        "--report", game_path(report_file, emulated), "--junit", game_path(junit_file, emulated)]
    if args.state:
        command += ["--state", game_path(state, emulated)]
    command += ["--", game_path(args.game[0], emulated)] + args.game[1:]
    expected = args.game_exit or (100 + args.report_exit if args.report_exit else 0)

    failures = []
    for number in range(1, args.runs + 1):
        if os.path.exists(report_file):
            os.remove(report_file)
        status, output, errors = run(command, args.work)
        sys.stdout.write(output)
        sys.stdout.write(errors)
        if status != expected:
            failures.append("run %d exited with %d, not %d" % (number, status, expected))

    report = {}
    if os.path.exists(report_file):
        with open(report_file, encoding="utf-8") as file:
            report = json.load(file)
        if report_status(report) != args.report_exit:
            failures.append("the report holds status %d, not %d"
                            % (report_status(report), args.report_exit))
    elif args.report_exit in (0, 1, 5):
        failures.append("no report was written")
    if not os.path.exists(junit_file) and args.report_exit in (0, 1, 5):
        failures.append("no JUnit file was written")
    if args.junit_failure is not None and os.path.exists(junit_file):
        cases = ElementTree.parse(junit_file).getroot().findall("testcase")
        started = [case for case in cases if case.get("name") == "Steam started"]
        failure = started[0].find("failure") if started else None
        if failure is None or args.junit_failure not in failure.get("message", ""):
            failures.append("the JUnit case Steam started does not fail with %s"
                            % args.junit_failure)
    for check in args.check:
        path, _, wanted = check.partition("=")
        found = field(report, path)
        if found is KeyError or found != json.loads(wanted):
            failures.append("%s is %s, not %s" % (
                path, "missing" if found is KeyError else json.dumps(found), wanted))
    codes = [warning.get("code") for warning in report.get("warnings", [])]
    for code in args.warning:
        if code not in codes:
            failures.append("no %s warning (warnings: %s)" % (code, ", ".join(codes) or "none"))
    for text in args.error_has:
        if text not in errors:
            failures.append("the error output does not hold %s" % text)
    if args.state_kept:
        with open(state) as file:
            if file.read() != args.state_content:
                failures.append("the state file was changed")
    if args.output and not re.search(args.output, output):
        failures.append("the last run's output does not match %s" % args.output)
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
