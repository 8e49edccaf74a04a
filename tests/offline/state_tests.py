#!/usr/bin/env python3
"""The state file across runs, through real launchers and the flat game:

  state_tests.py --tool TOOL --scenario FILE --work DIR -- GAME

- one run at a time: a run finding the state locked is refused (111) once
  its wait is over; two launchers waiting on it both run, one after the
  other, and neither loses the other's unlock;
- a game killed right after UserStatsStored_t lost none of that store;
- what the scenario does not name is carried over untouched.
"""
import argparse
import fcntl
import json
import os
import shutil
import subprocess
import sys
import time

FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAILED: " + what)


def launcher(args, state, game, *game_args, wait=None):
    env = dict(os.environ)
    if wait is not None:
        env["STEAMBRIDGE_OFFLINE_STATE_WAIT"] = str(wait)
    command = [args.tool, "run", "--quiet", "--scenario", args.scenario, "--state", state,
               "--", game, "--achievement", "ACH_WIN", "--stat", "STAT_DISTANCE=120",
               "--score", "1234", *game_args]
    return subprocess.Popen(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            text=True)


def finish(process):
    out, err = process.communicate(timeout=120)
    return process.returncode, out, err


def saved(state):
    with open(state) as file:
        return json.load(file)


def one_run_at_a_time(args, work):
    state = os.path.join(work, "locked.json")
    with open(state + ".lock", "w") as held:
        fcntl.flock(held, fcntl.LOCK_EX)
        status, _, err = finish(launcher(args, state, args.game, wait=0))
        check(status == 111, "a locked state refuses the run with 111, not %d" % status)
        check(err.count("\n") == 1 and "in use by another run" in err,
              "the refusal is one line saying why: %r" % err)
        first = launcher(args, state, args.game, "--achievement", "ACH_WIN", wait=60)
        second = launcher(args, state, args.game, "--achievement", "ACH_NEVER",
                          "--stat", "STAT_KILLS=5", wait=60)
        time.sleep(0.5)
    for name, process in (("first", first), ("second", second)):
        status, _, err = finish(process)
        # 101: the second run's game sets less than holds.json expects.
        check(status in (0, 101), "the %s waiting run ran once the lock was let go: %d %s"
              % (name, status, err))
    kept = saved(state)
    check("ACH_WIN" in kept["achievements"] and "ACH_NEVER" in kept["achievements"],
          "neither run lost the other's unlock: %s" % kept["achievements"])


def killed_after_store(args, work):
    state = os.path.join(work, "killed.json")
    status, _, err = finish(launcher(args, state, args.game, "--kill-after-store"))
    check(status == 137, "the game was killed (137), not %d: %s" % (status, err))
    kept = saved(state) if os.path.exists(state) else {}
    check("ACH_WIN" in kept.get("achievements", {}) and
          kept.get("stats", {}).get("STAT_DISTANCE") == 120,
          "the store the game was told of is on the disk: %s" % kept)


def carried_over(args, work):
    state = os.path.join(work, "wider.json")
    older = {"version": 1, "achievements": {"ACH_OLD": 1500000000},
             "stats": {"STAT_OLD": 7.5}, "leaderboards": {"Old Board": 99},
             "boards": {"Old Board": {"sort": "ascending", "display": "seconds",
                                      "details": [4, 2]},
                        "Made Board": {"sort": "ascending", "display": "milliseconds",
                                       "details": []}}}
    with open(state, "w") as file:
        json.dump(older, file)
    status, _, err = finish(launcher(args, state, args.game))
    check(status == 0, "the run on a wider state file went well: %d %s" % (status, err))
    kept = saved(state)
    check(kept["achievements"].get("ACH_OLD") == 1500000000 and "ACH_WIN" in kept["achievements"],
          "an achievement the scenario does not name is kept: %s" % kept["achievements"])
    check(kept["stats"].get("STAT_OLD") == 7.5, "so is a stat: %s" % kept["stats"])
    check(kept["leaderboards"].get("Old Board") == 99, "and a score: %s" % kept["leaderboards"])
    check(kept["boards"].get("Old Board") == older["boards"]["Old Board"] and
          kept["boards"].get("Made Board") == older["boards"]["Made Board"],
          "boards keep their sort, display and details, with or without a score: %s"
          % kept["boards"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--scenario", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("game", nargs=1)
    args = parser.parse_args()
    args.game = args.game[0]
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    one_run_at_a_time(args, args.work)
    killed_after_store(args, args.work)
    carried_over(args, args.work)
    if FAILURES:
        sys.exit("%d failed" % len(FAILURES))
    print("all held")


if __name__ == "__main__":
    main()
