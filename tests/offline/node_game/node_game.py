#!/usr/bin/env python3
"""Installs steamworks.js from the committed package.json and package-lock.json
into a folder of the build tree (npm ci), then runs game.js on it under
`steambridge-offline run` through offline_run.py and holds the run to its
scenario:

  node_game.py --tool TOOL --scenario FILE --work DIR --node NODE --npm NPM

npm ci needs the npm registry (or npm's cache): when it fails the test fails
with one line that says so.
"""
import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    parser = argparse.ArgumentParser()
    for option in ("--tool", "--scenario", "--work", "--node", "--npm"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()

    app = os.path.join(os.path.abspath(args.work), "app")
    os.makedirs(app, exist_ok=True)
    for name in ("package.json", "package-lock.json", "game.js"):
        shutil.copyfile(os.path.join(HERE, name), os.path.join(app, name))
    npm = subprocess.run([args.npm, "ci", "--no-audit", "--no-fund"], cwd=app,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if npm.returncode != 0:
        last = (npm.stdout.strip().splitlines() or ["no output"])[-1]
        print("FAILED: npm ci could not install steamworks.js (no network to the npm registry?): " + last)
        return 1

    # steamworks.js has no shutdown: Steam is still up when the game exits,
    # and the client stores what is left then.
    return subprocess.run([
        sys.executable, os.path.join(os.path.dirname(HERE), "offline_run.py"),
        "--tool", args.tool, "--scenario", args.scenario, "--work", os.path.join(os.path.abspath(args.work), "run"),
        "--check", "started=true", "--check", "shutdown=\"missing\"", "--warning", "no-shutdown",
        "--check", "achievements.ACH_WIN.unlocked=true", "--check", "stats.STAT_DISTANCE=120",
        "--output", r"user: 76561197960287930 Tester app 2000\n(.|\n)*ip country: DE\n(.|\n)*"
                    r"cloud: account (true|false) app (true|false)\n(.|\n)*stat STAT_DISTANCE: 0 -> 120\nstored",
        "--", args.node, os.path.join(app, "game.js"), "2000", "ACH_WIN", "STAT_DISTANCE", "120"]).returncode


if __name__ == "__main__":
    sys.exit(main())
