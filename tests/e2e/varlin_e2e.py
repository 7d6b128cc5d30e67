"""Drives the built program the way a user does: a private X server, private data, config,
runtime and temporary folders, real key presses through xdotool, and what the program writes
read back from disk.

A scenario file holds unittest.TestCase classes derived from VarlinTestCase; the build registers
each test method with ctest (tests/e2e/CMakeLists.txt), so the scenarios run in parallel. Each
test gets its own X server, session bus and folders; nothing is shared between tests but the
build.

The build passes the programs through the environment: VARLIN (the application), VARLIN_TESTAUDIO
(the test-audio generator). By hand, from tests/e2e:
    export VARLIN=../../build/src/app/varlin
    export VARLIN_TESTAUDIO=../../build/tools/testaudio/varlin-testaudio
    python3 -m unittest -v evening              (or evening.UnsavedSession, or one test)
or `ctest -L e2e` in the build folder. Waits are bounded polls on a window or a file, never fixed
sleeps. With VARLIN_E2E_SCREENSHOTS set to a folder, the pictures that scenarios take for the
documentation are written there.
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
from urllib.parse import unquote, urlparse

APP_FOLDER = "net.brenmoor.varlin"
# What the program prints through its diagnostics ends up here too; the last lines are shown
# when a scenario fails, so a failure explains itself.
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
    """A helper server started for one test, which writes where to reach it (one line) to a
    file descriptor given on its command line as {fd}."""

    def __init__(self, command):
        reader, writer = os.pipe()
        self.process = subprocess.Popen([part.format(fd=writer) for part in command],
                                        pass_fds=(writer,), stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        os.close(writer)
        try:
            line = b""
            deadline = time.monotonic() + 10
            while not line.endswith(b"\n"):
                ready, _, _ = select.select([reader], [], [], max(0, deadline - time.monotonic()))
                chunk = os.read(reader, 256) if ready else b""
                if not chunk:
                    raise RuntimeError(f"{command[0]} did not start")
                line += chunk
        finally:
            os.close(reader)
        self.address = line.decode().strip()

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)


def x_server(size="1280x800x24"):
    """A private Xvfb on the first free display; its address is the display number."""
    return Server(["Xvfb", "-displayfd", "{fd}", "-screen", "0", size, "-nolisten", "tcp"])


def session_bus():
    """A private D-Bus session bus, so the program (and playerctl or dbus-send in a scenario)
    never reaches the desktop's bus, and no bus is autolaunched and left behind."""
    return Server(["dbus-daemon", "--session", "--nofork", "--print-address={fd}"])


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

    def grab(self, box, window=None):
        """The pixels of `box` (x, y, width, height in the window's coordinates) as a list of
        (r, g, b) rows."""
        x, y, width, height = box
        ppm = subprocess.run(["import", "-window", str(window or self.window_id), "-crop",
                              f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8", "ppm:-"],
                             env=self.env, check=True, capture_output=True, timeout=20).stdout
        # P6 header: magic, width, height, maximum, then the bytes.
        fields = ppm.split(maxsplit=4)
        width, height, data = int(fields[1]), int(fields[2]), fields[4]
        return [[tuple(data[(row * width + col) * 3:(row * width + col) * 3 + 3])
                 for col in range(width)] for row in range(height)]

    def shows_ink(self, box, window=None):
        """Whether `box` holds any dark pixel (text, a symbol) of the window."""
        return any(sum(pixel) < 200 for row in self.grab(box, window) for pixel in row)

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

    def sanitizer_report(self):
        """The first sanitizer report in the output, or None."""
        output = self.output()
        starts = [output.find(marker) for marker in SANITIZER_REPORTS if marker in output]
        return output[min(starts):][:8000] if starts else None


class VarlinTestCase(unittest.TestCase):
    """A test with its own X server, session bus and user; `start` runs the program in them."""

    def setUp(self):
        self.x = x_server()
        self.addCleanup(self.x.close)
        self.bus = session_bus()
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

    def session(self, name, tracks, current_item=-1, current_time=0.0):
        """A session file in the music folder; `tracks` are (name, seconds) pairs, generated."""
        paths = [(self.track(track, seconds), seconds) for track, seconds in tracks]
        return write_session(self.home.music / name, paths, current_item, current_time)

    def documentation_shot(self, app, name, window=None):
        """Keeps a picture of the main window (or another of the program's windows) as
        `name`.png when VARLIN_E2E_SCREENSHOTS names a folder."""
        folder = os.environ.get("VARLIN_E2E_SCREENSHOTS")
        if folder:
            app.screenshot(Path(folder).resolve() / f"{name}.png", window)

    def assertNoSanitizerReport(self, app):
        report = app.sanitizer_report()
        if report:
            self.fail(f"varlin's output holds a sanitizer report:\n{report}")

    def assertQuits(self, app, code=0):
        """Presses Ctrl+Q and waits for the program to end with `code`."""
        app.focus()
        app.key("ctrl+q")
        self.assertEqual(app.wait_exit(), code, app.tail())
