#!/usr/bin/env python3
"""steambridge-offline.exe run and restore under 64-bit Wine: the registry key
that points Valve's library at a Steam client holds its old values after a run,
after the game is killed, and, through restore, after the launcher is killed;
one launcher at a time; restore leaves what a Steam wrote since, and answers a
stale or hand-edited backup.

  windows_launcher_tests.py WINE TOOL CLIENT STAGE SCENARIOS

WINE is scripts/wine64, TOOL steambridge-offline.exe, CLIENT the offline
client steamclient64.dll, STAGE a folder with Valve's steam_api64.dll and the
flat game. Each test has a Wine prefix, and so a registry, of its own.
"""
import glob
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

WINE, TOOL, CLIENT, STAGE, SCENARIOS = sys.argv[1:6]
KEY = r"HKCU\Software\Valve\Steam\ActiveProcess"
OLD = {"SteamClientDll": ("REG_SZ", r"C:\Steam\steamclient.dll"),
       "SteamClientDll64": ("REG_SZ", r"C:\Steam\steamclient64.dll"),
       "pid": ("REG_DWORD", "0x10f2c")}


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class WindowsLauncher(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="windows-launcher-")
        self.env = dict(os.environ, WINEDEBUG="-all",
                        STEAMBRIDGE_WINE_PREFIX=os.path.join(self.work, "prefix"))
        # A mark in the game's arguments finds this test's processes among others'.
        self.mark = "Board " + os.path.basename(self.work)

    def tearDown(self):
        subprocess.run(["wineserver", "-k"], env=dict(self.env, WINEPREFIX=self.env["STEAMBRIDGE_WINE_PREFIX"]),
                       capture_output=True)
        shutil.rmtree(self.work, ignore_errors=True)

    def run_to_end(self, command):
        """Runs to the end; output through files, as a process Wine starts
        beside the program (a console host) may hold pipes open after it."""
        with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
            done = subprocess.run(command, env=self.env, stdout=out, stderr=err, timeout=120)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(command, done.returncode, out.read(), err.read())

    def wine(self, *arguments):
        return self.run_to_end([WINE, *arguments])

    def key(self):
        """The key's values, or None when there is no key."""
        done = self.wine("reg", "query", KEY)
        if done.returncode != 0:
            return None
        values = {}
        for line in done.stdout.splitlines():
            parts = line.split(None, 2)
            if len(parts) == 3 and parts[1].startswith("REG_"):
                values[parts[0]] = (parts[1], parts[2].strip())
        return values

    def write_old_values(self):
        for name, (kind, data) in OLD.items():
            self.assertEqual(self.wine("reg", "add", KEY, "/v", name, "/t", kind, "/d",
                                       str(int(data, 16)) if kind == "REG_DWORD" else data,
                                       "/f").returncode, 0)
        self.assertEqual(self.key(), OLD)

    def launcher(self, scenario, *game_arguments):
        return [WINE, TOOL, "run", "--quiet", "--client", windows_path(CLIENT),
                "--scenario", windows_path(os.path.join(SCENARIOS, scenario)), "--",
                windows_path(os.path.join(STAGE, "flat_game.exe")), "--achievement", "ACH_WIN",
                *game_arguments]

    def wait_for(self, pattern):
        """The Linux process IDs of the processes whose command line starts with
        pattern: the program itself, not a launcher or wrapper that names it."""
        for _ in range(300):
            found = subprocess.run(["pgrep", "-f", "^" + pattern], capture_output=True, text=True).stdout.split()
            if found:
                return [int(pid) for pid in found]
            time.sleep(0.1)
        self.fail("no process " + pattern)

    def long_game(self):
        # The store fails, so the game waits for an unlock notice for as long as it may.
        return subprocess.Popen(self.launcher("store-refused.json", "--frames", "100000", "--frame-ms", "20",
                                              "--leaderboard", self.mark),
                                env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def test_a_run_leaves_no_key_where_there_was_none(self):
        done = self.run_to_end(self.launcher("holds.json", "--stat", "STAT_DISTANCE=120"))
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertIn("all expectations met", done.stdout)
        self.assertIsNone(self.key())

    def test_steambridges_debug_output_is_in_the_report(self):
        # The demo beside steambridge64.dll but no steam_api64.dll: only the
        # bridge's OutputDebugStringA lines can say why Steam never started.
        game = os.path.join(self.work, "game")
        os.mkdir(game)
        for name in ["steambridge_demo.exe", "steambridge64.dll"]:
            shutil.copy(os.path.join(STAGE, name), game)
        report = os.path.join(self.work, "report.json")
        done = self.run_to_end([WINE, TOOL, "run", "--quiet", "--client", windows_path(CLIENT),
                                "--report", windows_path(report), "--",
                                windows_path(os.path.join(game, "steambridge_demo.exe"))])
        self.assertIn("steambridge traced:", done.stdout, done.stderr)
        with open(report) as file:
            trace = json.load(file)["bridgeTrace"]
        self.assertEqual(trace[:2], ["Steam client library not found; looked for:",
                                     windows_path(os.path.join(game, "steam_api64.dll")) + ": no such file"])

    def test_the_doctors_trial_start_leaves_the_old_values(self):
        self.write_old_values()
        game = os.path.join(self.work, "game")
        # A folder down, as games keep it; started as a C++ game of its release.
        os.makedirs(os.path.join(game, "bin"))
        shutil.copy(os.path.join(STAGE, "steam_api64.dll"), os.path.join(game, "bin"))
        with open(os.path.join(game, "steam_appid.txt"), "w") as file:
            file.write("480\n")
        done = self.wine(TOOL, "doctor", windows_path(game), "--client", windows_path(CLIENT))
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertIn("ok    trial start: Valve's bin/steam_api64.dll started over the offline "
                      "client as a C++ game of SDK 1.63 starts (SteamInternal_SteamAPI_Init with its",
                      done.stdout)
        self.assertEqual(self.key(), OLD)
        done = self.wine(TOOL, "doctor", windows_path(game), "--client", r"Z:\no\steamclient64.dll")
        self.assertEqual(done.returncode, 10, done.stdout)
        self.assertIn("FAIL  trial start: Valve's bin/steam_api64.dll did not start", done.stdout)
        self.assertEqual(self.key(), OLD)

    def test_a_run_puts_the_old_values_back(self):
        self.write_old_values()
        done = self.run_to_end(self.launcher("holds.json", "--stat", "STAT_DISTANCE=120"))
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertEqual(self.key(), OLD)

    def test_a_killed_game_leaves_the_old_values(self):
        self.write_old_values()
        launcher = self.long_game()
        for pid in self.wait_for(r"Z:[^ ]*flat_game\.exe .*" + self.mark):
            os.kill(pid, signal.SIGKILL)
        launcher.communicate(timeout=60)
        self.assertNotEqual(launcher.returncode, 0)
        self.assertEqual(self.key(), OLD)

    def kill_launcher(self):
        """A launcher killed during the run, then its game: the key holds the
        run's values and the backup stays."""
        launcher = self.long_game()
        game = self.wait_for(r"Z:[^ ]*flat_game\.exe .*" + self.mark)
        for pid in self.wait_for(r"[^ ]*steambridge-offline\.exe run .*" + self.mark):
            os.kill(pid, signal.SIGKILL)
        for pid in game:
            os.kill(pid, signal.SIGKILL)
        launcher.communicate(timeout=60)

    def fake_steam(self):
        """A live process that owns the key as a running Steam does: the flat
        game pointing Valve's library at the client itself, for a long run.
        The Linux process IDs of its processes."""
        mark = "Steam-" + os.path.basename(self.work)
        # Its own client, as Steam's is elsewhere than the launcher's.
        client = os.path.join(self.work, "steam", "steamclient64.dll")
        os.makedirs(os.path.dirname(client))
        shutil.copy(CLIENT, client)
        env = dict(self.env, STEAMBRIDGE_OFFLINE_SCENARIO=windows_path(os.path.join(SCENARIOS, "store-refused.json")))
        self.steam = subprocess.Popen([WINE, windows_path(os.path.join(STAGE, "flat_game.exe")),
                                       "--steam-client", windows_path(client), "--achievement", "ACH_WIN",
                                       "--frames", "100000", "--frame-ms", "20", "--leaderboard", mark],
                                      env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        pids = self.wait_for(r"Z:[^ ]*flat_game\.exe .*" + mark)
        for _ in range(100):
            key = self.key() or {}
            if key.get("SteamClientDll64", ("", ""))[1] == windows_path(client):
                return pids
            time.sleep(0.2)
        self.fail("the fake Steam never wrote the key")

    def test_restore_repairs_what_a_killed_launcher_left(self):
        self.write_old_values()
        self.kill_launcher()
        self.assertNotEqual(self.key(), OLD, "the key holds the killed run's values")
        refused = self.run_to_end(self.launcher("holds.json"))
        self.assertEqual(refused.returncode, 109)
        self.assertIn("restore", refused.stderr)
        restored = self.wine(TOOL, "restore")
        self.assertEqual(restored.returncode, 0, restored.stderr)
        self.assertEqual(self.key(), OLD)
        self.assertIn("nothing to restore", self.wine(TOOL, "restore").stdout)

    def test_a_second_launcher_is_refused_while_one_runs(self):
        self.write_old_values()
        first = self.long_game()
        game = self.wait_for(r"Z:[^ ]*flat_game\.exe .*" + self.mark)
        refused = self.run_to_end(self.launcher("holds.json"))
        self.assertEqual(refused.returncode, 112, refused.stderr)
        self.assertIn("another steambridge-offline of this user (run, doctor or restore) holds", refused.stderr)
        for pid in game:
            os.kill(pid, signal.SIGKILL)
        first.communicate(timeout=60)
        self.assertEqual(self.key(), OLD)

    def test_restore_leaves_a_key_a_steam_made_since(self):
        # No key before the run; a Steam started after the killed launcher owns it.
        self.kill_launcher()
        steam = self.fake_steam()
        refused = self.run_to_end(self.launcher("holds.json"))
        self.assertEqual(refused.returncode, 109, refused.stderr)
        self.assertIn("a running Steam (process", refused.stderr)
        refused = self.wine(TOOL, "restore")
        self.assertEqual(refused.returncode, 9, refused.stdout + refused.stderr)
        self.assertIn("a running Steam (process", refused.stderr)
        steams = {name: self.key()[name] for name in ("SteamClientDll64", "pid")}
        for pid in steam:
            os.kill(pid, signal.SIGKILL)
        self.steam.communicate(timeout=60)
        restored = self.wine(TOOL, "restore")
        self.assertEqual(restored.returncode, 0, restored.stderr)
        self.assertIn("SteamClientDll64, pid changed since the run and are left as they are", restored.stdout)
        self.assertEqual({name: self.key()[name] for name in ("SteamClientDll64", "pid")}, steams)

    def test_a_hand_edited_or_stale_backup_gets_a_way_out(self):
        self.write_old_values()
        self.kill_launcher()
        [backup] = glob.glob(os.path.join(self.env["STEAMBRIDGE_WINE_PREFIX"], "drive_c", "**",
                                          "steambridge-offline", "ActiveProcess.backup.json"), recursive=True)
        with open(backup) as file:
            saved = file.read()
        with open(backup, "w") as file:
            file.write('{"existed": true, "values": {"pid": {"type": "4", "data": [1]}}}')
        refused = self.wine(TOOL, "restore")
        self.assertEqual(refused.returncode, 6, refused.stdout + refused.stderr)
        self.assertEqual(len(refused.stderr.splitlines()), 1, refused.stderr)
        self.assertIn("ActiveProcess.backup.json: 'values.pid.type' is not a registry value type", refused.stderr)
        # The key deleted since the run: nothing of the run is left in it.
        with open(backup, "w") as file:
            file.write(saved)
        self.assertEqual(self.wine("reg", "delete", KEY, "/f").returncode, 0)
        restored = self.wine(TOOL, "restore")
        self.assertEqual(restored.returncode, 0, restored.stderr)
        self.assertIn("was deleted since the run", restored.stdout)
        self.assertIsNone(self.key())
        self.assertIn("nothing to restore", self.wine(TOOL, "restore").stdout)

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
