#!/usr/bin/env python3
"""steambridge-offline run and doctor as a game developer uses them.

  launcher_tests.py TOOL STAGE SCENARIOS SDK_FOLDER_OR_EMPTY

TOOL is the built steambridge-offline (the offline client in linux64/ beside
it), STAGE a folder holding Valve's libsteam_api.so with the flat game and
the example host beside it, SCENARIOS tests/offline/scenarios.
"""
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

TOOL, STAGE, SCENARIOS, SDK = sys.argv[1:5]
GAME = os.path.join(STAGE, "flat_game")
GAME_ARGS = ["--achievement", "ACH_WIN", "--stat", "STAT_DISTANCE=120", "--score", "1234"]


class Launcher(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="launcher-tests-")
        # Sandboxes go here, so a test sees whether one was left behind.
        self.tmp = os.path.join(self.work, "tmp")
        os.mkdir(self.tmp)

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def run_tool(self, *arguments, env=None):
        environment = dict(os.environ, TMPDIR=self.tmp)
        environment.update(env or {})
        return subprocess.run([TOOL, *arguments], capture_output=True, text=True,
                              errors="replace", env=environment, cwd=self.work)

    def scenario(self, name):
        return os.path.join(SCENARIOS, name)

    def path(self, name):
        return os.path.join(self.work, name)

    def assertNothingLeft(self):
        self.assertEqual(os.listdir(self.tmp), [], "a sandbox was left behind")


class Run(Launcher):
    def test_what_holds_exits_zero_with_the_events_and_the_report(self):
        done = self.run_tool("run", "--scenario", self.scenario("holds.json"),
                             "--report", self.path("report.json"), "--junit", self.path("junit.xml"),
                             "--", GAME, *GAME_ARGS)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        for line in ["steam: started (app 2000)", "steam: store 1 answered 1 (OK)",
                     "steam: achievement ACH_TRAVEL unlocked", "steam: score 1234 on Offline Board",
                     "steam: shut down"]:
            self.assertIn(line, done.stderr)
        self.assertIn("all expectations met", done.stdout)
        with open(self.path("report.json")) as file:
            report = json.load(file)
        self.assertTrue(report["achievements"]["ACH_WIN"]["unlocked"])
        self.assertEqual(report["shutdown"], "clean")
        self.assertTrue(os.path.exists(self.path("junit.xml")))
        self.assertNothingLeft()

    def test_quiet_tells_no_events(self):
        done = self.run_tool("run", "--quiet", "--scenario", self.scenario("holds.json"), "--",
                             GAME, *GAME_ARGS)
        self.assertEqual(done.returncode, 0)
        self.assertNotIn("steam: ", done.stderr)

    def test_a_failed_expectation_and_a_game_that_never_starts_steam_have_their_codes(self):
        done = self.run_tool("run", "--scenario", self.scenario("fails.json"), "--", GAME, *GAME_ARGS)
        self.assertEqual(done.returncode, 101, done.stdout)
        self.assertIn("FAILED", done.stdout)
        done = self.run_tool("run", "--", "/bin/true")
        self.assertEqual(done.returncode, 105)

    def test_steambridges_trace_is_in_the_report(self):
        # Without a client library beside it, only steambridge can say why.
        game = self.path("game")
        os.mkdir(game)
        for name in ["example_host", "libsteambridge.so"]:
            shutil.copy(os.path.join(STAGE, name), game)
        done = self.run_tool("run", "--report", self.path("report.json"), "--",
                             os.path.join(game, "example_host"))
        self.assertEqual(done.returncode, 1, "the host's own code: " + done.stdout + done.stderr)
        self.assertIn("steambridge traced:\n  Steam client library not found; looked for:\n  "
                      + os.path.join(game, "libsteam_api.so") + ": no such file\n", done.stdout)
        with open(self.path("report.json")) as file:
            self.assertEqual(json.load(file)["bridgeTrace"][0],
                             "Steam client library not found; looked for:")
        # A start that works: the trace is kept, the summary stays short.
        done = self.run_tool("run", "--report", self.path("report.json"), "--",
                             os.path.join(STAGE, "example_host"))
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertNotIn("steambridge traced", done.stdout)
        with open(self.path("report.json")) as file:
            self.assertIn("Received stats and achievements from Steam", json.load(file)["bridgeTrace"])
        self.assertNothingLeft()

    def test_the_games_own_failure_is_its_exit_code(self):
        done = self.run_tool("run", "--scenario", self.scenario("store-refused.json"), "--",
                             GAME, *GAME_ARGS)
        self.assertEqual(done.returncode, 11, "the flat game's own code: it waited in vain")
        self.assertIn("store 1 answered 2 (Fail)", done.stderr)
        done = self.run_tool("run", "--", "/bin/sh", "-c", "exit 3")
        self.assertEqual(done.returncode, 3)

    def test_a_state_file_carries_the_unlocks_into_the_next_run(self):
        state = self.path("state.json")
        for run in (1, 2):
            done = self.run_tool("run", "--scenario", self.scenario("holds.json"), "--state", state,
                                 "--", GAME, *GAME_ARGS)
            self.assertEqual(done.returncode, 0, done.stdout)
        self.assertIn("achievement ACH_WIN: unlocked", done.stdout)
        with open(state) as file:
            self.assertIn("ACH_WIN", json.load(file)["achievements"])

    def test_the_game_keeps_the_users_own_folders(self):
        done = self.run_tool("run", "--quiet", "--", "/bin/sh", "-c",
                             'echo "home=$HOME data=$XDG_DATA_HOME config=$XDG_CONFIG_HOME"',
                             env={"HOME": "/home/player", "XDG_CONFIG_HOME": "/elsewhere/config"})
        self.assertIn("data=/home/player/.local/share config=/elsewhere/config", done.stdout)
        self.assertNotIn("home=/home/player ", done.stdout)
        self.assertNothingLeft()

    def test_an_interrupt_reaches_the_game_and_nothing_is_left(self):
        environment = dict(os.environ, TMPDIR=self.tmp)
        launcher = subprocess.Popen([TOOL, "run", "--quiet", "--", "/bin/sleep", "30"],
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=environment)
        time.sleep(0.5)
        launcher.send_signal(signal.SIGINT)
        launcher.communicate(timeout=20)
        self.assertEqual(launcher.returncode, 128 + signal.SIGINT)
        self.assertNothingLeft()

    def test_a_hangup_or_quit_reaches_the_game_and_the_report_is_written(self):
        for sent in (signal.SIGHUP, signal.SIGQUIT):
            with self.subTest(signal=sent):
                report = self.path("report-%d.json" % sent)
                launcher = subprocess.Popen(
                    [TOOL, "run", "--quiet", "--report", report, "--", "/bin/sleep", "30"],
                    stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                    env=dict(os.environ, TMPDIR=self.tmp))
                time.sleep(0.5)
                launcher.send_signal(sent)
                launcher.communicate(timeout=20)
                self.assertEqual(launcher.returncode, 128 + sent)
                self.assertTrue(os.path.exists(report))
                self.assertNothingLeft()

    def test_a_game_a_wrapper_put_in_the_background_is_waited_for(self):
        wrapper = self.path("wrapper.sh")
        with open(wrapper, "w") as file:
            file.write('#!/bin/sh\n"$@" &\nexit 0\n')
        os.chmod(wrapper, 0o755)
        done = self.run_tool("run", "--quiet", "--scenario", self.scenario("holds.json"),
                             "--report", self.path("report.json"), "--", wrapper, GAME, *GAME_ARGS)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        with open(self.path("report.json")) as file:
            report = json.load(file)
        self.assertTrue(report["achievements"]["ACH_WIN"]["unlocked"])
        self.assertEqual(report["shutdown"], "clean")
        self.assertNothingLeft()

    def test_bad_input_is_refused_before_anything_is_made(self):
        unwritable = os.path.join(self.work, "no-such-folder", "report.json")
        windows_game = ""
        if SDK:
            # A Windows program copied with its executable bit, as unzipping may leave it.
            windows_game = self.path("game.exe")
            shutil.copy(os.path.join(SDK, "1.63", "redistributable_bin", "steam_api.dll"), windows_game)
            os.chmod(windows_game, 0o755)
        cases = [
            (["run", "--", "/no/such/game"], 107, "no such program"),
            (["run", self.path("x")], 102, "run takes the game after --"),
            (["run", "--bogus", "--", "/bin/true"], 102, "unknown option --bogus"),
            (["run", "--"], 102, "run needs -- and then the game"),
            (["run", "--report", unwritable, "--", "/bin/true"], 106, "cannot be written"),
            (["run", "--scenario", self.scenario("unknown-key.json"), "--", "/bin/true"], 103,
             "storeRateLimt: unknown key"),
        ]
        if windows_game:
            cases.append((["run", "--", windows_game], 108, "serves x86-64 Linux games"))
        for arguments, status, message in cases:
            with self.subTest(arguments=arguments):
                done = self.run_tool(*arguments)
                self.assertEqual(done.returncode, status, done.stderr)
                self.assertIn(message, done.stderr)
                self.assertEqual(len(done.stderr.strip().splitlines()) <= 2, True, done.stderr)
                self.assertFalse(os.path.exists(unwritable))
                self.assertNothingLeft()
        corrupt = self.path("state.json")
        with open(corrupt, "w") as file:
            file.write("{ not json")
        done = self.run_tool("run", "--state", corrupt, "--", GAME)
        self.assertEqual(done.returncode, 103)
        with open(corrupt) as file:
            self.assertEqual(file.read(), "{ not json")


class Home(Launcher):
    """What the game writes under HOME is the user's; the user's own files stay."""

    def setUp(self):
        super().setUp()
        self.home = self.path("home")
        os.makedirs(os.path.join(self.home, ".mygame"))
        with open(os.path.join(self.home, ".mygame", "old-save"), "w") as file:
            file.write("level 3")
        with open(os.path.join(self.home, "notes"), "w") as file:
            file.write("the user's")

    def play(self, script, tmp=None):
        return self.run_tool("run", "--quiet", "--report", self.path("report.json"), "--",
                             "/bin/sh", "-c", script, env={"HOME": self.home, "TMPDIR": tmp or self.tmp})

    def read(self, *parts):
        with open(os.path.join(self.home, *parts)) as file:
            return file.read()

    def test_the_games_new_files_reach_the_users_home(self):
        # The sandbox beside HOME (moved), and on another file system (copied) when there is one.
        sandboxes = [self.tmp]
        if os.path.isdir("/dev/shm") and os.stat("/dev/shm").st_dev != os.stat(self.work).st_dev:
            sandboxes.append(tempfile.mkdtemp(dir="/dev/shm"))
            self.addCleanup(shutil.rmtree, sandboxes[-1], True)
        for number, tmp in enumerate(sandboxes):
            with self.subTest(sandboxes=tmp):
                game = ".newgame%d" % number
                done = self.play("mkdir -p ~/%s/saves && echo slot1 > ~/%s/saves/1 && "
                                 "chmod 640 ~/%s/saves/1 && ln -s saves/1 ~/%s/last && "
                                 "cat ~/.mygame/old-save > ~/.mygame/copy" % ((game,) * 4), tmp)
                self.assertEqual(done.returncode, 105, "a shell never starts Steam: " + done.stderr)
                self.assertEqual(self.read(game, "saves", "1"), "slot1\n")
                self.assertEqual(os.stat(os.path.join(self.home, game, "saves", "1")).st_mode & 0o777,
                                 0o640)
                self.assertEqual(os.readlink(os.path.join(self.home, game, "last")), "saves/1")
                self.assertEqual(self.read(".mygame", "copy"), "level 3",
                                 "the game read the user's save")
                self.assertFalse(os.path.exists(os.path.join(self.home, ".steam")))
                self.assertEqual(os.listdir(tmp), [], "a sandbox was left behind")

    def test_a_file_that_would_replace_the_users_is_put_beside_and_named(self):
        # A game that saves by writing a new file and renaming it over the old one.
        done = self.play("echo the game\\'s > ~/notes.new && mv ~/notes.new ~/notes")
        self.assertEqual(done.returncode, 105, "a shell never starts Steam: " + done.stderr)
        self.assertEqual(self.read("notes"), "the user's")
        self.assertEqual(self.read("notes.steambridge-offline"), "the game's\n")
        self.assertIn("warning home-file-kept: " + os.path.join(self.home, "notes"), done.stdout)
        with open(self.path("report.json")) as file:
            self.assertIn("home-file-kept", [w["code"] for w in json.load(file)["warnings"]])
        self.assertNothingLeft()


class Doctor(Launcher):
    def game_folder(self, files):
        folder = self.path("game")
        os.makedirs(folder, exist_ok=True)
        for name, source in files.items():
            if isinstance(source, bytes):
                with open(os.path.join(folder, name), "wb") as file:
                    file.write(source)
            else:
                shutil.copy(source, os.path.join(folder, name))
        return folder

    def test_a_game_that_starts_steam(self):
        folder = self.game_folder({"libsteam_api.so": os.path.join(STAGE, "libsteam_api.so"),
                                   "libsteambridge.so": os.path.join(STAGE, "libsteambridge.so"),
                                   "steam_appid.txt": b"480\n"})
        done = self.run_tool("doctor", folder)
        self.assertEqual(done.returncode, 0, done.stdout)
        self.assertIn("ok    client library: libsteam_api.so, x86-64, SDK 1.63", done.stdout)
        self.assertIn("ok    steam_appid.txt: app ID 480", done.stdout)
        self.assertIn("ok    trial start: Valve's libsteam_api.so started", done.stdout)
        self.assertNothingLeft()

    def test_libraries_below_the_folder_are_found_and_started_as_their_release(self):
        # Games keep the library in bin/ or deeper (a Node binding's dist/linux64);
        # a link back up must not make the search go round.
        folder = self.game_folder({})
        deep = os.path.join(folder, "bin", "x64")
        os.makedirs(deep)
        shutil.copy(os.path.join(STAGE, "libsteam_api.so"), deep)
        os.symlink("..", os.path.join(folder, "bin", "up"))
        expected = ["ok    client library: bin/x64/libsteam_api.so, x86-64, SDK 1.63",
                    "ok    trial start: Valve's bin/x64/libsteam_api.so started over the offline "
                    "client as a C++ game of SDK 1.63 starts (SteamInternal_SteamAPI_Init with its"]
        old = os.path.join(SDK, "1.57", "redistributable_bin", "linux64", "libsteam_api.so")
        if SDK and os.path.exists(old):
            os.makedirs(os.path.join(folder, "plugins", "old"))
            shutil.copy(old, os.path.join(folder, "plugins", "old"))
            expected.append("ok    trial start: Valve's plugins/old/libsteam_api.so started over "
                            "the offline client as a C++ game of SDK 1.57 starts (SteamAPI_Init, "
                            "then its")
        done = self.run_tool("doctor", folder)
        self.assertEqual(done.returncode, 0, done.stdout)
        for line in expected:
            self.assertIn(line, done.stdout)
        self.assertEqual(done.stdout.count("client library: bin/x64/libsteam_api.so"), 1,
                         "the link back up found it twice")
        self.assertNothingLeft()

    def test_each_finding_names_what_to_do(self):
        cases = [({}, "FAIL  client library: none in", 10),
                 ({"libsteambridge.so": os.path.join(STAGE, "libsteambridge.so")},
                  "note  steambridge: libsteambridge.so, x86-64, needs Valve's libsteam_api.so beside it", 10),
                 ({"steam_appid.txt": b"\xef\xbb\xbf480\n"}, "warn  steam_appid.txt: starts with a UTF-8 byte-order mark", None),
                 ({"steam_appid.txt": b" 480 \n"}, "warn  steam_appid.txt: whitespace around", None),
                 ({"steam_appid.txt": b"48O\n"}, 'FAIL  steam_appid.txt: "48O" is not an app ID', 10)]
        if SDK:
            cases.append(({"steam_api64.dll": os.path.join(SDK, "1.63", "redistributable_bin", "steam_api.dll")},
                          "FAIL  client library: steam_api64.dll, 32-bit x86", 10))
            cases.append(({"steam_api.dll": os.path.join(SDK, "1.57", "redistributable_bin", "steam_api.dll")},
                          "ok    client library: steam_api.dll, 32-bit x86, SDK 1.57", None))
        for files, line, status in cases:
            with self.subTest(line=line):
                shutil.rmtree(self.path("game"), ignore_errors=True)
                done = self.run_tool("doctor", self.game_folder(files))
                self.assertIn(line, done.stdout)
                if status is not None:
                    self.assertEqual(done.returncode, status)

    def test_a_broken_client_fails_the_trial_start(self):
        folder = self.game_folder({"libsteam_api.so": os.path.join(STAGE, "libsteam_api.so")})
        done = self.run_tool("doctor", folder, "--client", "/no/such/steamclient.so")
        self.assertEqual(done.returncode, 10)
        self.assertIn("did not start over the offline client: the offline client is missing", done.stdout)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
