"""Drives the built program the way a user does: a private X server, private data, config,
runtime and temporary folders, real key presses through xdotool, and what the program writes
read back from disk.

A scenario file holds unittest.TestCase classes derived from VarlinTestCase; the build registers
each test method with ctest (tests/e2e/CMakeLists.txt), so the scenarios run in parallel. Each
test gets its own X server and folders; nothing is shared between tests but the build.

The build passes the programs through the environment: VARLIN (the application), VARLIN_TESTAUDIO
(the test-audio generator). Run one scenario by hand with
    VARLIN=build/src/app/varlin VARLIN_TESTAUDIO=build/tools/testaudio/varlin-testaudio \
        python3 -m unittest -v evening.RestoredSession.test_spaceAtStartPlays
from tests/e2e. Waits are bounded polls on a window or a file, never fixed sleeps.
"""

import os
import plistlib
import select
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

APP_FOLDER = "net.brenmoor.varlin"
# What the program prints through its diagnostics ends up here too; the last lines are shown
# when a scenario fails, so a failure explains itself.
OUTPUT_TAIL_LINES = 40


def poll(predicate, timeout=10.0, interval=0.05, what="a condition"):
    """Calls `predicate` until it returns a true value, which is returned; fails after `timeout`
    seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"gave up after {timeout:g} s waiting for {what}")
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


class XServer:
    """A private Xvfb on the first free display."""

    def __init__(self, size="1280x800x24"):
        reader, writer = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(writer), "-screen", "0", size, "-nolisten", "tcp"],
            pass_fds=(writer,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(writer)
        try:
            number = b""
            deadline = time.monotonic() + 10
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([reader], [], [], max(0, deadline - time.monotonic()))
                chunk = os.read(reader, 16) if ready else b""
                if not chunk:
                    raise RuntimeError("Xvfb did not start")
                number += chunk
        finally:
            os.close(reader)
        self.display = ":" + number.decode().strip()

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)


class Home:
    """A user of one test: private XDG folders, HOME and TMPDIR (which also keeps the
    single-instance socket private), and the environment the program runs with."""

    def __init__(self, display):
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
        self.env.update(HOME=str(self.root), DISPLAY=display, QT_QPA_PLATFORM="xcb",
                        SDL_AUDIODRIVER="dummy")
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORMTHEME", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self.data = folders["XDG_DATA_HOME"] / APP_FOLDER

    @property
    def state_file(self):
        return self.data / "state.plist"

    @property
    def log_file(self):
        return self.data / "net.brenmoor.varlin.log.txt"

    def run_state(self):
        return read_plist(self.state_file)

    def write_run_state(self, session, entry_index=None, time_=0.0, zeros=None):
        state = {"playlistURL": {"relative": file_url(session)}, "currentTime": float(time_)}
        if entry_index is not None:
            state["currentEntryIndex"] = entry_index
        if zeros is not None:
            state["zeros"] = [float(z) for z in zeros]
        self.data.mkdir(parents=True, exist_ok=True)
        with open(self.state_file, "wb") as file:
            plistlib.dump(state, file, fmt=plistlib.FMT_BINARY)

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def write_session(path, tracks, current_item=-1, current_time=0.0):
    """A session file of `tracks` (paths with their lengths: [(path, seconds)]), written as the
    program writes it."""
    entries = [{"_url": {"relative": file_url(track)}, "prevTimeRangeSet": {"ranges": []},
                "zeros": [], "playedDates": [], "_cachedDuration": float(seconds),
                "sideDocuments": [], "isCheckmarked": False, "inHistory": False,
                "playedSinceHistory": False} for track, seconds in tracks]
    with open(path, "wb") as file:
        plistlib.dump({"playlist": entries, "currentItem": current_item,
                       "currentTime": float(current_time)}, file, fmt=plistlib.FMT_BINARY)
    return Path(path)


def session_tracks(path):
    """The local paths of a session file's entries, in order."""
    session = read_plist(path)
    if session is None:
        return None
    from urllib.parse import unquote, urlparse
    return [unquote(urlparse(entry["_url"]["relative"]).path) for entry in session["playlist"]]


def make_track(path, seconds, format_="mp3cbr", signal_="tone"):
    """A generated test track (a quiet tone by default)."""
    subprocess.run([os.environ["VARLIN_TESTAUDIO"], signal_, str(path), "--seconds", str(seconds),
                    "--format", format_, "--amp", "0.1"], check=True, stdout=subprocess.DEVNULL)
    return Path(path)


class Varlin:
    """One run of the program, its output captured to a file."""

    def __init__(self, home, args, env=None, index=0):
        self.home = home
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
        """The id of the shown window whose whole title is `title` (a regular expression), or
        None."""
        found = self.xdotool("search", "--onlyvisible", "--name", f"^{title}$", check=False)
        return found.split()[0] if found else None

    def wait_window(self, title, timeout=15.0):
        """Waits for a shown window named `title` (a regular expression) and gives it the
        keyboard."""
        def shown():
            if not self.alive():
                raise AssertionError(f"varlin ended with {self.process.returncode} before "
                                     f"showing {title!r}\n{self.tail()}")
            return self.find_window(title)
        window = poll(shown, timeout, interval=0.1, what=f"a window named {title!r}")
        self.focus(window)
        return window

    def wait_main_window(self, session="Varlin", timeout=15.0):
        """Waits for the main window of `session` (the session file's name without ".varlin"),
        playing or not, and gives it the keyboard."""
        self.window_id = self.wait_window(f"(► )?{session}( — Varlin)?", timeout)
        return self.window_id

    def playing(self):
        """Whether the main window's title says that music plays."""
        return self.title().startswith("► ")

    def focus(self, window=None):
        self.xdotool("windowfocus", "--sync", window or self.window_id)

    def key(self, *keys):
        """Presses keys (xdotool names: space, z, ctrl+q, Escape, Return) in the focused
        window."""
        self.xdotool("key", "--delay", 30, *keys)

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    def click(self, x, y, window=None):
        """A left click at (x, y) in the window's coordinates."""
        self.xdotool("mousemove", "--window", window or self.window_id, "--sync", x, y)
        self.xdotool("click", 1)

    def title(self, window=None):
        return self.xdotool("getwindowname", window or self.window_id, check=False)

    def geometry(self, window=None):
        """(width, height) of the window."""
        values = dict(line.split("=") for line in self.xdotool(
            "getwindowgeometry", "--shell", window or self.window_id).splitlines())
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def screenshot(self, path, window=None):
        subprocess.run(["import", "-window", str(window or self.window_id), str(path)],
                       env=self.env, check=True, timeout=20)
        return Path(path)

    def wait_exit(self, timeout=15.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"varlin still runs after {timeout:g} s\n{self.tail()}")

    def kill(self, sig=signal.SIGKILL):
        self.process.send_signal(sig)
        return self.process.wait(timeout=10)

    def close(self):
        if self.alive():
            self.kill()

    def tail(self):
        lines = self.output().splitlines()[-OUTPUT_TAIL_LINES:]
        return "varlin's output:\n" + "\n".join("  " + line for line in lines)


class VarlinTestCase(unittest.TestCase):
    """A test with its own X server and user; `start` runs the program in them."""

    def setUp(self):
        self.x = XServer()
        self.addCleanup(self.x.close)
        self.home = Home(self.x.display)
        self.addCleanup(self.home.remove)
        self.runs = []

    def start(self, *args, env=None):
        app = Varlin(self.home, args, env, index=len(self.runs))
        self.runs.append(app)
        self.addCleanup(app.close)
        return app

    def track(self, name, seconds, **kwargs):
        return make_track(self.home.music / name, seconds, **kwargs)

    def session(self, name, tracks, current_item=-1, current_time=0.0):
        """A session file in the music folder; `tracks` are (name, seconds) pairs, generated."""
        paths = [(self.track(track, seconds), seconds) for track, seconds in tracks]
        return write_session(self.home.music / name, paths, current_item, current_time)

    def assertQuits(self, app, code=0):
        """Presses Ctrl+Q and waits for the program to end with `code`."""
        app.focus()
        app.key("ctrl+q")
        self.assertEqual(app.wait_exit(), code, app.tail())
