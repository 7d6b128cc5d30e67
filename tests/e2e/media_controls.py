"""The desktop's media controls driving a running Varlin over the test's private session bus:
playerctl, the client panel applets and media-key daemons are built on, and a second client
listening to what the player announces."""

import shutil
import subprocess
import unittest

from varlin_e2e import VarlinTestCase, poll

PLAYER = "varlin"
SERVICE = "org.mpris.MediaPlayer2.varlin"
OBJECT = "/org/mpris/MediaPlayer2"


class Monitor:
    """gdbus watching the player's signals, one line per signal, written as they come."""

    def __init__(self, path, env):
        self.path = path
        self.out = open(path, "w")
        self.process = subprocess.Popen(
            ["stdbuf", "-oL", "gdbus", "monitor", "--session", "--dest", SERVICE,
             "--object-path", OBJECT], stdout=self.out, stderr=subprocess.STDOUT, env=env)
        poll(lambda: "is owned by" in self.text(), what="gdbus to follow the player")

    def text(self):
        return self.path.read_text()

    def count(self, fragment):
        return sum(fragment in line for line in self.text().splitlines())

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.out.close()


@unittest.skipUnless(shutil.which("playerctl") and shutil.which("gdbus"), "needs playerctl, gdbus")
class MediaControls(VarlinTestCase):
    def setUp(self):
        super().setUp()
        # No logind here: the program must say so once and carry on.
        self.app = self.start_restored(
            self.session("Dance.varlin", [("Polka.mp3", 30)]),
            env={"DBUS_SYSTEM_BUS_ADDRESS": f"unix:path={self.home.root}/no-system-bus"})
        poll(lambda: PLAYER in self.playerctl("--list-all").split(),
             what="the player on the bus")

    def playerctl(self, *args):
        result = subprocess.run(["playerctl", "--player", PLAYER, *map(str, args)],
                                capture_output=True, text=True, timeout=20, env=self.home.env)
        return result.stdout.strip()

    def position(self):
        return float(self.playerctl("position") or "nan")

    def test_playerctlDrivesThePlayerAndEachChangeIsAnnouncedOnce(self):
        app = self.app
        self.assertEqual(self.playerctl("status"), "Paused")
        title, length, album = self.playerctl(
            "metadata", "--format", "{{xesam:title}}|{{mpris:length}}|{{xesam:album}}").split("|")
        self.assertEqual((title, album), ("Polka", "Dance"))
        self.assertAlmostEqual(int(length) / 1e6, 30, delta=0.1)

        monitor = Monitor(self.home.root / "signals.txt", self.home.env)
        self.addCleanup(monitor.close)
        self.playerctl("play")
        poll(app.playing, what="the title to say that music plays")
        self.assertEqual(self.playerctl("status"), "Playing")

        self.playerctl("position", 12)
        poll(lambda: 12 <= self.position() < 15, what="the position to reach 12 s")
        self.playerctl("volume", 0.3)
        self.playerctl("pause")
        poll(lambda: not app.playing(), what="the title to say that music stopped")
        self.assertEqual(self.playerctl("status"), "Paused")
        # The pause steps back one second for the lead-in.
        self.assertTrue(11 <= self.position() < 14, self.position())
        # Each press saves the run state before its command: the pause saved the position.
        self.assertTrue(12 <= self.home.run_state()["currentTime"] < 15,
                        self.home.run_state())

        # Quit over the bus, as the menu quits; the monitor sees the name go, after every
        # signal the program sent.
        subprocess.run(["gdbus", "call", "--session", "--dest", SERVICE, "--object-path", OBJECT,
                        "--method", "org.mpris.MediaPlayer2.Quit"], check=True,
                       stdout=subprocess.DEVNULL, timeout=20, env=self.home.env)
        self.assertEqual(app.wait_exit(), 0, app.tail())
        poll(lambda: "does not have an owner" in monitor.text(), what="the name to go")
        for fragment, times in [("'PlaybackStatus': <'Playing'>", 1),
                                ("'PlaybackStatus': <'Paused'>", 1), ("'Volume': <0.3", 1),
                                ("'Rate':", 0), ("'Metadata':", 0), (".Seeked (", 2)]:
            self.assertEqual(monitor.count(fragment), times, f"{fragment}\n{monitor.text()}")
        output = app.output().splitlines()
        for line in ("Sleep not inhibited: ", "Screen saver not inhibited: "):
            self.assertEqual(sum(text.startswith(line) for text in output), 1, app.tail())


if __name__ == "__main__":
    unittest.main()
