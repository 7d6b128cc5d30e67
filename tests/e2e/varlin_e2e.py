"""Drives the built program as a user does: a private X server, session bus and folders per test,
real key presses through xdotool, and what the program writes read back from disk. Waits are
bounded polls on a window or a file, never fixed sleeps.

The build registers each test method of a scenario file (a VarlinTestCase) with ctest and passes
the programs as VARLIN and VARLIN_TESTAUDIO. By hand, from tests/e2e, with both exported:
    python3 -m unittest -v evening              (or evening.UnsavedSession, or one test)
With VARLIN_E2E_SCREENSHOTS set to a folder, scenarios write the documentation's pictures there.
"""

import os
import plistlib
import random
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path
from urllib.parse import unquote, urlparse

APP_FOLDER = "net.brenmoor.varlin"
# The last lines of the program's output shown with a failure, so that it explains itself.
OUTPUT_TAIL_LINES = 40
# How a sanitizer build's reports start: any of them in the program's output fails the test,
# whatever the scenario checked (a run that is killed never reaches its exit code).
SANITIZER_REPORTS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                     "WARNING: ThreadSanitizer")


def poll(predicate, timeout=10.0, interval=0.05, what="a condition"):
    """Calls `predicate` until it returns a true value, which is returned; fails after `timeout`
    seconds, saying `what` (a text, or a function giving the text at that moment)."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"gave up after {timeout:g} s waiting for "
                                 f"{what() if callable(what) else what}")
        time.sleep(interval)


def read_plist(path):
    """The property list at `path`, or None while it is missing or half written."""
    try:
        with open(path, "rb") as file:
            return plistlib.load(file)
    except (OSError, plistlib.InvalidFileException, ValueError):
        return None


def file_url(path):
    return Path(path).resolve().as_uri()


class Server:
    """A helper server of one test, which prints where to reach it as its first line."""

    def __init__(self, command):
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL)
        # Blocks until the line comes; a server that hangs meets the test's own timeout.
        self.address = self.process.stdout.readline().decode().strip()
        if not self.address:
            self.close()
            raise RuntimeError(f"{command[0]} did not start")

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stdout.close()


def private_display(attempts=10):
    """A private X server that a client can reach. With tests starting and stopping servers in
    parallel, the program once could not connect to the first free display it was given; a number
    drawn at random is seldom one another test's server has just given up, and the probe catches
    whatever else leaves a display unreachable."""
    for _ in range(attempts):
        number = random.randrange(100, 30000)
        try:
            # A number in use ends Xvfb before it prints, which Server reports.
            server = Server(["Xvfb", f":{number}", "-displayfd", "1", "-screen", "0",
                             "1280x800x24", "-nolisten", "tcp"])
        except RuntimeError:
            continue
        probe = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True,
                               env=dict(os.environ, DISPLAY=":" + server.address), timeout=20)
        if probe.returncode == 0:
            return server
        server.close()
    raise RuntimeError(f"no reachable X server after {attempts} attempts")


class Home:
    """A user of one test: private XDG folders, HOME and TMPDIR (which also keeps the
    single-instance socket private), and the environment the program runs with."""

    def __init__(self, display, bus):
        self.root = Path(tempfile.mkdtemp(prefix="varlin-e2e-"))
        self.music = self.root / "music"
        self.music.mkdir()
        folders = {name: self.root / name.lower() for name in
                   ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                    "TMPDIR")}
        for folder in folders.values():
            folder.mkdir(mode=0o700)
        self.env = dict(os.environ)
        self.env.update({name: str(folder) for name, folder in folders.items()})
        self.env.update(HOME=str(self.root), DISPLAY=display, DBUS_SESSION_BUS_ADDRESS=bus,
                        QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy")
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORMTHEME", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self.data = folders["XDG_DATA_HOME"] / APP_FOLDER
        self.state_file = self.data / "state.plist"

    def run_state(self):
        return read_plist(self.state_file) or {}

    def write_run_state(self, session, entry_index, time_):
        state = {"playlistURL": {"relative": file_url(session)}, "currentTime": float(time_),
                 "currentEntryIndex": entry_index}
        self.data.mkdir(parents=True, exist_ok=True)
        with open(self.state_file, "wb") as file:
            plistlib.dump(state, file, fmt=plistlib.FMT_BINARY)

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def write_session(path, tracks, current_item=-1, documents=None):
    """A session file of `tracks` ([(path, seconds)]), written as the program writes it;
    `documents` gives tracks by index their side documents ([(path, tag)])."""
    entries = [{"_url": {"relative": file_url(track)}, "prevTimeRangeSet": {"ranges": []},
                "zeros": [], "playedDates": [], "_cachedDuration": float(seconds),
                "sideDocuments": [{"url": {"relative": file_url(document)}, "tag": tag}
                                  for document, tag in (documents or {}).get(index, [])],
                "isCheckmarked": False, "inHistory": False, "playedSinceHistory": False}
               for index, (track, seconds) in enumerate(tracks)]
    with open(path, "wb") as file:
        plistlib.dump({"playlist": entries, "currentItem": current_item, "currentTime": 0.0},
                      file, fmt=plistlib.FMT_BINARY)
    return Path(path)


def session_tracks(path):
    """The local paths of a session file's entries, in order."""
    return [unquote(urlparse(entry["_url"]["relative"]).path)
            for entry in (read_plist(path) or {}).get("playlist", [])]


def make_track(path, seconds, format_="mp3cbr"):
    """A generated test track: a quiet tone."""
    subprocess.run([os.environ["VARLIN_TESTAUDIO"], "tone", str(path), "--seconds", str(seconds),
                    "--format", format_, "--amp", "0.1"], check=True, stdout=subprocess.DEVNULL)
    return Path(path)


class Varlin:
    """One run of the program, its output captured to a file."""

    def __init__(self, home, args, env=None, index=0):
        self.output_file = home.root / f"varlin-{index}.out"
        self.env = dict(home.env, **(env or {}))
        with open(self.output_file, "wb") as out:
            self.process = subprocess.Popen([os.environ["VARLIN"], *map(str, args)],
                                            env=self.env, stdout=out, stderr=subprocess.STDOUT)
        self.window_id = None

    def output(self):
        return self.output_file.read_text(errors="replace")

    def alive(self):
        return self.process.poll() is None

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                                text=True, timeout=20)
        if check and result.returncode != 0:
            raise AssertionError(f"xdotool {' '.join(map(str, args))}: {result.stderr.strip()}")
        return result.stdout.strip()

    def find_window(self, title):
        """The shown window whose whole title matches `title`, or None."""
        found = self.xdotool("search", "--onlyvisible", "--name", f"^{title}$", check=False)
        return found.split()[0] if found else None

    def wait_window(self, title, timeout=15.0):
        """Waits for a shown window whose title matches `title` and gives it the keyboard."""
        def shown():
            if not self.alive():
                raise AssertionError(f"varlin ended with {self.process.returncode} before "
                                     f"showing {title!r}\n{self.tail()}")
            return self.find_window(title)
        window = poll(shown, timeout, interval=0.1, what=f"a window named {title!r}")
        self.focus(window)
        return window

    def wait_main_window(self, session="Varlin", timeout=15.0):
        """Waits for the main window of `session` (the file's name without ".varlin"), playing
        or not, and gives it the keyboard."""
        self.window_id = self.wait_window(f"(► )?{session}( — Varlin)?", timeout)
        return self

    def size(self, window=None):
        """The window's (width, height)."""
        shell = dict(line.split("=") for line in self.xdotool(
            "getwindowgeometry", "--shell", window or self.window_id).splitlines())
        return int(shell["WIDTH"]), int(shell["HEIGHT"])

    def playing(self):
        """Whether the main window's title says that music plays."""
        return self.title().startswith("► ")

    def focus(self, window=None):
        self.xdotool("windowfocus", "--sync", window or self.window_id)

    def key(self, *keys):
        """Presses keys (xdotool names: space, ctrl+q, Escape) in the focused window."""
        self.xdotool("key", "--delay", 30, *keys)

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    def click(self, x, y, window=None):
        """A left click at (x, y) in the window's coordinates."""
        self.xdotool("mousemove", "--window", window or self.window_id, "--sync", x, y)
        self.xdotool("click", 1)

    def title(self, window=None):
        return self.xdotool("getwindowname", window or self.window_id, check=False)

    def pixels(self, box, window=None):
        """The (r, g, b) pixels of `box` (x, y, width, height in the window's coordinates)."""
        x, y, width, height = box
        rgb = subprocess.run(["import", "-window", str(window or self.window_id), "-crop",
                              f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8", "rgb:-"],
                             env=self.env, check=True, capture_output=True, timeout=20).stdout
        return [tuple(rgb[i:i + 3]) for i in range(0, len(rgb), 3)]

    def shows_ink(self, box, window=None):
        """Whether `box` holds any dark pixel (text, a symbol) of the window."""
        return any(sum(pixel) < 200 for pixel in self.pixels(box, window))

    def wait_exit(self, timeout=15.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"varlin still runs after {timeout:g} s\n{self.tail()}")

    def kill(self):
        self.process.kill()
        return self.process.wait(timeout=10)

    def close(self):
        if self.alive():
            self.kill()

    def tail(self):
        lines = self.output().splitlines()[-OUTPUT_TAIL_LINES:]
        return "varlin's output:\n" + "\n".join("  " + line for line in lines)

    def sanitizer_report(self):
        """The first sanitizer report in the output, or None."""
        output = self.output()
        starts = [output.find(marker) for marker in SANITIZER_REPORTS if marker in output]
        return output[min(starts):][:8000] if starts else None


class VarlinTestCase(unittest.TestCase):
    """A test with its own X server, session bus and user; `start` runs the program in them."""

    def setUp(self):
        # A private display and a private session bus, so that neither the program nor playerctl
        # in a scenario reaches the desktop's, and none is autolaunched.
        self.x = private_display()
        self.addCleanup(self.x.close)
        self.bus = Server(["dbus-daemon", "--session", "--nofork", "--print-address=1"])
        self.addCleanup(self.bus.close)
        self.home = Home(":" + self.x.address, self.bus.address)
        self.addCleanup(self.home.remove)
        self.runs = []

    def start(self, *args, env=None):
        app = Varlin(self.home, args, env, index=len(self.runs))
        self.runs.append(app)
        # Cleanups run last first: the output is checked once the program has ended.
        self.addCleanup(self.assertNoSanitizerReport, app)
        self.addCleanup(app.close)
        return app

    def track(self, name, seconds, **kwargs):
        return make_track(self.home.music / name, seconds, **kwargs)

    def session(self, name, tracks, current_item=-1, documents=None):
        """A session file in the music folder; `tracks` are (name, seconds) pairs, generated."""
        paths = [(self.track(track, seconds), seconds) for track, seconds in tracks]
        return write_session(self.home.music / name, paths, current_item, documents)

    def start_restored(self, session, entry_index=0, time_=0.0, env=None):
        """Starts the program as the last run on `session` left it, and waits for its window."""
        self.home.write_run_state(session, entry_index, time_)
        return self.start(env=env).wait_main_window(Path(session).stem)

    def documentation_shot(self, app, name, window=None):
        """Keeps a picture of the main window (or another of the program's windows) as
        `name`.png when VARLIN_E2E_SCREENSHOTS names a folder."""
        folder = os.environ.get("VARLIN_E2E_SCREENSHOTS")
        if folder:
            subprocess.run(["import", "-window", str(window or app.window_id),
                            str(Path(folder).resolve() / f"{name}.png")], env=app.env, check=True,
                           timeout=20)

    def assertNoSanitizerReport(self, app):
        report = app.sanitizer_report()
        if report:
            self.fail(f"varlin's output holds a sanitizer report:\n{report}")

    def assertQuits(self, app, code=0):
        """Presses Ctrl+Q and waits for the program to end with `code`."""
        app.focus()
        app.key("ctrl+q")
        self.assertEqual(app.wait_exit(), code, app.tail())
