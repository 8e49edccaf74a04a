#!/usr/bin/env python3
"""Runs a game over the offline Steam and holds its report to expectations.

The game runs once or more (--runs, one state file across them) with the
client pointed at the scenario, the state file and a fresh journal, as the
launcher will; then `steambridge-offline report` builds the report, whose exit
code and fields are checked:

  offline_run.py --tool TOOL --client CLIENT --scenario FILE --work DIR
                 [--state] [--runs N] [--emulator CMD] [--game-exit N]
                 [--report-exit N] [--check PATH=JSON]... [--warning CODE]...
                 [--output REGEX] [--journal-has TEXT] [--state-content TEXT]
                 [--state-kept] -- GAME [ARGS...]

PATH names a field of the report by dots (achievements.ACH_WIN.unlocked);
JSON is the value it must have (true, 3, "clean"); REGEX must match the last
run's output; TEXT must be in the journal. --state-content writes the state
file before the first run, and --state-kept asks that it is left as it was.
In GAME's arguments, @CLIENT@ becomes the client's path as the
game sees it. With --emulator (Wine) the game and the report tool both run
under it.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys


def game_path(path, emulated):
    """A path as a program under Wine sees it: Wine maps the Unix root to Z:."""
    path = os.path.abspath(path)
    return "Z:" + path.replace("/", "\\") if emulated else path


def point_home_at_client(work, client):
    """Where Valve's Linux library looks for a running Steam's client."""
    home = os.path.join(work, "home")
    sdk = os.path.join(home, ".steam", "sdk64")
    os.makedirs(sdk, exist_ok=True)
    link = os.path.join(sdk, "steamclient.so")
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.path.abspath(client), link)
    with open(os.path.join(home, ".steam", "steam.pid"), "w") as pid:
        pid.write("%d\n" % os.getpid())
    return home


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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True, nargs="+")
    parser.add_argument("--client", required=True)
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
    parser.add_argument("--journal-has", action="append", default=[])
    parser.add_argument("--state-content")
    parser.add_argument("--state-kept", action="store_true")
    parser.add_argument("game", nargs="+")
    args = parser.parse_args()

    emulated = bool(args.emulator)
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    journal = os.path.join(args.work, "journal.jsonl")
    state = os.path.join(args.work, "state.json")
    env = dict(os.environ)
    env["STEAMBRIDGE_OFFLINE_SCENARIO"] = game_path(args.scenario, emulated)
    env["STEAMBRIDGE_OFFLINE_JOURNAL"] = game_path(journal, emulated)
    if args.state:
        env["STEAMBRIDGE_OFFLINE_STATE"] = game_path(state, emulated)
    if args.state_content is not None:
        with open(state, "w") as file:
            file.write(args.state_content)
    if not emulated:
        env["HOME"] = point_home_at_client(args.work, args.client)
    client = game_path(args.client, emulated)
    command = ([args.emulator] if emulated else []) + [
        part.replace("@CLIENT@", client) for part in args.game]

    failures = []
    output = ""
    for run in range(args.runs):
        if run > 0:
            os.replace(journal, journal + ".%d" % run)
        game = subprocess.run(command, env=env, capture_output=True, text=True, errors="replace")
        sys.stdout.write(game.stdout)
        sys.stderr.write(game.stderr)
        output = game.stdout
        if game.returncode != args.game_exit:
            failures.append("run %d: the game exited with %d, not %d"
                            % (run + 1, game.returncode, args.game_exit))

    report_file = os.path.join(args.work, "report.json")
    junit_file = os.path.join(args.work, "junit.xml")
    tool = ([args.emulator] if emulated else []) + args.tool + [
        "report", game_path(journal, emulated), "--scenario", game_path(args.scenario, emulated),
        "--report", game_path(report_file, emulated), "--junit", game_path(junit_file, emulated)]
    summary = subprocess.run(tool, capture_output=True, text=True, errors="replace")
    print(summary.stdout, end="")
    sys.stderr.write(summary.stderr)
    if summary.returncode != args.report_exit:
        failures.append("the report exited with %d, not %d" % (summary.returncode, args.report_exit))
    report = {}
    if os.path.exists(report_file):
        with open(report_file, encoding="utf-8") as file:
            report = json.load(file)
    elif args.report_exit in (0, 1, 5):
        failures.append("no report was written")
    for check in args.check:
        path, _, expected = check.partition("=")
        found = field(report, path)
        if found is KeyError or found != json.loads(expected):
            failures.append("%s is %s, not %s" % (
                path, "missing" if found is KeyError else json.dumps(found), expected))
    codes = [warning.get("code") for warning in report.get("warnings", [])]
    for code in args.warning:
        if code not in codes:
            failures.append("no %s warning (warnings: %s)" % (code, ", ".join(codes) or "none"))
    journal_text = ""
    if os.path.exists(journal):
        with open(journal, encoding="utf-8", errors="replace") as file:
            journal_text = file.read()
    for text in args.journal_has:
        if text not in journal_text:
            failures.append("the journal does not hold %s" % text)
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
