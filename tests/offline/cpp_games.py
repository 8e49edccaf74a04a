#!/usr/bin/env python3
"""Runs the C++ game (tests/offline/cpp_game/cpp_game.cpp), built on the SDK's
own headers of each release, under `steambridge-offline run`, one release
after another in this one process, and holds each run to its scenario:

  cpp_games.py --tool TOOL --scenario FILE --work DIR [--emulator CMD]
               RELEASE=GAME...

Each run must exit 0 (the game ran every step, every expectation held). Its
report must say Steam started, was shut down cleanly, the achievement was
unlocked, the stat stored and the score posted. The game's own lines must
show what the scenario gives: the user, the DLC, the friends and the global
achievement percentages, most achieved first, each with whether the user
has it now (as the report says). With --emulator (Wine) the launcher runs
under it and is given Windows paths.
"""
import argparse
import json
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from offline_run import field, game_path, run  # noqa: E402


def expected_lines(scenario, report):
    """The lines the game must print, from the scenario and the run's report."""
    app = scenario.get("app", {})
    user = scenario.get("user", {})
    account = int(user.get("steamId", "76561197960287930")) & 0xFFFFFFFF
    lines = ["started",
             "user: account %d persona %s app %d" % (account, user.get("personaName", ""), app.get("id", 480))]
    percents = sorted((a for a in scenario.get("achievements", []) if "globalPercent" in a),
                      key=lambda a: -a["globalPercent"])
    for achievement in percents:
        tenths = int(achievement["globalPercent"] * 10 + 0.5)
        unlocked = field(report, "achievements.%s.unlocked" % achievement["name"]) is True
        lines.append("global: %s %d.%d achieved %s" % (
            achievement["name"], tenths // 10, tenths % 10, "true" if unlocked else "false"))
    for dlc in app.get("dlc", []):
        owned = dlc.get("owned", True)
        installed = dlc.get("installed", owned)
        # Every DLC Steam lists has a store page: available, owned or not.
        lines.append("dlc: %d %s available true owned %s installed %s" % (
            dlc["id"], dlc["name"], json.dumps(owned), json.dumps(installed)))
    lines.append("dlc count: %d" % len(app.get("dlc", [])))
    for friend in scenario.get("friends", []):
        lines.append("friend: %d %s" % (int(friend["steamId"]) & 0xFFFFFFFF, friend["personaName"]))
    lines.append("friend count: %d" % len(scenario.get("friends", [])))
    lines.append("shut down")
    return lines


def check_run(scenario, status, output, report):
    """What is wrong with one run, as lines."""
    failures = []
    if status != 0:
        failures.append("exited with %d, not 0" % status)
    checks = [("started", True), ("shutdown", "clean"), ("achievements.ACH_WIN.unlocked", True),
              ("achievements.ACH_TRAVEL.unlocked", True), ("stats.STAT_DISTANCE", 120),
              ("leaderboards.Offline Board.score", 1234)]
    for path, wanted in checks:
        found = field(report, path)
        if found != wanted:
            failures.append("report: %s is %s, not %s" % (
                path, "missing" if found is KeyError else json.dumps(found), json.dumps(wanted)))
    lines = output.splitlines()
    # In order: the game prints the global percentages, DLC and friends in
    # the order Steam gives them.
    position = 0
    for wanted in expected_lines(scenario, report):
        try:
            position = lines.index(wanted, position) + 1
        except ValueError:
            failures.append("the game did not print %r (in its order)" % wanted)
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--scenario", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--emulator", default="")
    parser.add_argument("games", nargs="+", metavar="RELEASE=GAME")
    args = parser.parse_args()

    emulated = bool(args.emulator)
    with open(args.scenario, encoding="utf-8") as file:
        scenario = json.load(file)
    failed = []
    for entry in args.games:
        release, _, game = entry.partition("=")
        work = os.path.abspath(os.path.join(args.work, release))
        shutil.rmtree(work, ignore_errors=True)
        os.makedirs(work)
        report_file = os.path.join(work, "report.json")
        command = ([args.emulator] if emulated else []) + [
            args.tool, "run", "--scenario", game_path(args.scenario, emulated),
            "--report", game_path(report_file, emulated),
            "--junit", game_path(os.path.join(work, "junit.xml"), emulated),
            "--", game_path(game, emulated)]
        status, output, errors = run(command, work)
        report = {}
        if os.path.exists(report_file):
            with open(report_file, encoding="utf-8") as file:
                report = json.load(file)
        failures = check_run(scenario, status, output, report)
        print("%s: %s" % (release, "ok" if not failures else "FAILED"))
        if failures:
            failed.append(release)
            sys.stdout.write(output)
            sys.stdout.write(errors)
            for failure in failures:
                print("FAILED %s: %s" % (release, failure))
    print("%d of %d releases ran the C++ game as its scenario says%s" % (
        len(args.games) - len(failed), len(args.games),
        "; failed: " + " ".join(failed) if failed else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
